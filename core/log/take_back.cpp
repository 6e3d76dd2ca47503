#include "core/log/take_back.h"

#include "core/base/text.h"
#include "core/log/log_statistics.h"
#include "core/log/recalculation.h"
#include "platform/message.h"

namespace vektrano {

namespace {

// A contact number as the grid holds it; -1 for anything else.
long long cisloRadku(const std::string& cell) {
  if (cell.empty() || cell.size() > 9) return -1;
  long long n = 0;
  for (char c : cell) {
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

int RadekPoslednihoSpojeni(const LogDocument& log) {
  const int count = log.contactCount();
  if (count < 1) return -1;
  // After a sort the grid's last row may be any contact; the one stored last
  // has the highest number.
  int radek = count;
  long long nejvyssi = -1;
  for (int r = 1; r <= count; ++r) {
    const long long n = cisloRadku(log.Denik.cell(r, kColCislo));
    if (n >= nejvyssi && n >= 0) {
      nejvyssi = n;
      radek = r;
    }
  }
  return radek;
}

std::string TextPoslednihoSpojeni(const LogDocument& log) {
  const int r = RadekPoslednihoSpojeni(log);
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
  log.Denik.removeRow(RadekPoslednihoSpojeni(log));
  log.PocetSpojeni = log.contactCount();
  SpocitejCisloSpojeni(log);
  prumer(log);
  return text;
}

}  // namespace vektrano
