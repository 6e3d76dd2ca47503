#include "core/log/azimuth_notes.h"

#include <string>

#include "core/base/geometry.h"
#include "core/base/text.h"
#include "platform/message.h"

namespace vektrano {

namespace {
constexpr const char* kAzimut = ".azimut_";
}

std::optional<int> PridejAzimuty(LogDocument& log) {
  if (log.contactCount() < 1 ||
      !platform::askYesNo("Chceš přidat azimuty do všech řádků v deníku ?", false,
                          "Přidat azimuty ?", platform::QuestionIcon::Warning))
    return std::nullopt;
  int pocet = 0;
  for (int r = 1; r < log.Denik.rowCount(); ++r) {
    const std::string& lok = log.Denik.cell(r, kColLokator);
    if (!testlok(lok)) continue;
    log.Denik.setCell(r, kColVolacka,
                      vyhoddvojmezery(log.Denik.cell(r, kColVolacka) + " " + kAzimut +
                                      std::to_string(pocitejazimut(log.lokportable, lok))));
    ++pocet;
  }
  platform::showMessage("Hotovo. Počet spočítaných azimutů = " + std::to_string(pocet));
  return pocet;
}

std::optional<int> OdeberAzimuty(LogDocument& log) {
  if (log.contactCount() < 1 ||
      !platform::askYesNo("Chceš odebrat azimuty ze všech řádků v deníku ?", false,
                          "Odebrat azimuty ?", platform::QuestionIcon::Warning))
    return std::nullopt;
  int pocet = 0;
  for (int r = 1; r < log.Denik.rowCount(); ++r) {
    std::string cell = log.Denik.cell(r, kColVolacka);
    const size_t at = cell.find(kAzimut);
    if (at == std::string::npos) continue;
    const size_t end = cell.find(' ', at);
    cell.erase(at, end == std::string::npos ? std::string::npos : end - at);
    log.Denik.setCell(r, kColVolacka, cell);
    ++pocet;
  }
  platform::showMessage("Hotovo. Počet odstraněných azimutů = " + std::to_string(pocet));
  return pocet;
}

}  // namespace vektrano
