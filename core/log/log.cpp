#include "core/log/log.h"

namespace vektrano {

const std::array<std::string, kLogColumns>& logTitles() {
  static const std::array<std::string, kLogColumns> titles = {
      "poř.", "čas", "RV", "Volačka", "RP", "Lokátor", "km", "pozn"};
  return titles;
}

void setLogTitles(Grid& denik) {
  if (denik.colCount() < kLogColumns) denik.setColCount(kLogColumns);
  if (denik.rowCount() < 1) denik.setRowCount(1);
  const auto& t = logTitles();
  for (int c = 0; c < kLogColumns; ++c) denik.setCell(0, c, t[static_cast<size_t>(c)]);
}

LogDocument::LogDocument() : Denik(kLogColumns, 1) { setLogTitles(Denik); }

void NulujEXP(LogDocument& log) {
  for (auto& f : log.PopisExpedice) f.clear();
}

}  // namespace vektrano
