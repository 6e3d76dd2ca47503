#include "core/reference/report_table_file.h"

#include <utility>

#include "core/reference/list_data.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

void sortujTabulkuReportu(TabulkaReportu& tabulka) {
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i + 1 < kRadkuReportu; ++i) {
      const auto a = limitKm(tabulka[i]);
      const auto b = limitKm(tabulka[i + 1]);
      if (a && b && *a > *b) {
        std::swap(tabulka[i], tabulka[i + 1]);
        swapped = true;
      }
    }
  }
}

std::optional<int> spatnaVzdalenost(const TabulkaReportu& tabulka) {
  for (int i = 0; i < kRadkuReportu; ++i)
    if (!limitKm(tabulka[i])) return i;
  return std::nullopt;
}

UlozeniReportu ulozTabulkuReportu(const std::string& path, const TabulkaReportu& tabulka) {
  if (const auto bad = spatnaVzdalenost(tabulka)) {
    platform::showMessage("Vzdálenost v řádku " + std::to_string(*bad + 1) + " není celé číslo : [" +
                              tabulka[*bad].km + "]\r\n\r\nTabulka reportů nebyla uložena, " +
                              "oprav prosím vzdálenost (celé číslo v km).",
                          platform::MessageKind::Warning);
    return UlozeniReportu::SpatnaVzdalenost;
  }
  TabulkaReportu clean = tabulka;
  for (auto& r : clean) {
    r.km = listCellForFile(r.km);
    r.report = listCellForFile(r.report);
  }
  if (!platform::writeFileAtomic(path, formatTabulkaReportu(clean))) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + path, platform::MessageKind::Error);
    return UlozeniReportu::ChybaZapisu;
  }
  return UlozeniReportu::Ulozeno;
}

}  // namespace vektrano
