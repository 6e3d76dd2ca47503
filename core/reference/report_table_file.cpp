#include "core/reference/report_table_file.h"

#include <limits>
#include <utility>

#include "core/reference/list_data.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

void sortujTabulkuReportu(TabulkaReportu& tabulka) {
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (int i = 0; i + 1 < kRadkuReportu; ++i) {
      // Empty rows sink to the end, so the rows written stay in order.
      auto klic = [](const RadekReportu& r) -> std::optional<long long> {
        if (prazdnyRadekReportu(r)) return std::numeric_limits<long long>::max();
        return limitKm(r);
      };
      const auto a = klic(tabulka[i]);
      const auto b = klic(tabulka[i + 1]);
      if (a && b && *a > *b) {
        std::swap(tabulka[i], tabulka[i + 1]);
        swapped = true;
      }
    }
  }
}

bool prazdnyRadekReportu(const RadekReportu& radek) {
  return radek.km.find_first_not_of(' ') == std::string::npos &&
         radek.report.find_first_not_of(' ') == std::string::npos;
}

std::optional<int> spatnaVzdalenost(const TabulkaReportu& tabulka) {
  for (int i = 0; i < kRadkuReportu; ++i)
    if (!prazdnyRadekReportu(tabulka[i]) && !limitKm(tabulka[i])) return i;
  return std::nullopt;
}

std::string zpravaSpatneVzdalenosti(const TabulkaReportu& tabulka, int radek) {
  return "Vzdálenost v řádku " + std::to_string(radek + 1) + " není celé číslo : [" +
         tabulka[static_cast<size_t>(radek)].km + "]\r\n\r\nTabulka reportů nebyla uložena, " +
         "oprav prosím vzdálenost (celé číslo v km).";
}

UlozeniReportu ulozTabulkuReportu(const std::string& path, const TabulkaReportu& tabulka) {
  if (const auto bad = spatnaVzdalenost(tabulka)) {
    platform::showMessage(zpravaSpatneVzdalenosti(tabulka, *bad), platform::MessageKind::Warning);
    return UlozeniReportu::SpatnaVzdalenost;
  }
  // Empty rows are left out; reading the shorter file gives them back empty.
  std::string data;
  for (const RadekReportu& r : tabulka)
    if (!prazdnyRadekReportu(r))
      data += listCellForFile(r.km) + ";" + listCellForFile(r.report) + ";\r\n";
  if (!platform::writeFileAtomic(path, data)) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
    return UlozeniReportu::ChybaZapisu;
  }
  return UlozeniReportu::Ulozeno;
}

}  // namespace vektrano
