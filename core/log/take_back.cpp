#include "core/log/take_back.h"

#include "core/base/text.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "platform/message.h"

namespace vektrano {

std::string TextPoslednihoSpojeni(const LogDocument& log) {
  const int r = log.contactCount();
  if (r < 1) return {};
  std::string text;
  for (const std::string& part :
       {vyhoddatum(log.Denik.cell(r, kColCas)), log.Denik.cell(r, kColRV),
        log.Denik.cell(r, kColVolacka), log.Denik.cell(r, kColRP), log.Denik.cell(r, kColLokator),
        log.Denik.cell(r, kColPozn)}) {
    const std::string t = vyhoddvojmezery(part);
    if (t.find_first_not_of(' ') == std::string::npos) continue;
    if (!text.empty() && text.back() != ' ') text += ' ';
    text += t.front() == ' ' ? t.substr(1) : t;
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::optional<std::string> VratPosledniSpojeni(LogDocument& log) {
  if (log.contactCount() < 1) {
    platform::showMessage("Už není co mazat, deník je prázdný!");
    return std::nullopt;
  }
  std::string text = TextPoslednihoSpojeni(log);
  log.Denik.setRowCount(log.Denik.rowCount() - 1);
  log.PocetSpojeni = log.contactCount();
  SpocitejCisloSpojeni(log);
  prumer(log);
  return text;
}

}  // namespace vektrano
