#include "core/reference/report_table.h"

#include <charconv>

#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

const TabulkaReportu& vychoziTabulkaReportu() {
  static const TabulkaReportu t = {{
      {"0", "59"},   {"50", "59"},  {"90", "58"},  {"120", "57"}, {"150", "46"}, {"190", "47"},
      {"210", "45"}, {"230", "45"}, {"250", "44"}, {"270", "44"}, {"290", "34"}, {"320", "34"},
      {"350", "33"}, {"380", "32"}, {"400", "22"}, {"430", "11"}, {"450", "01"},
  }};
  return t;
}

std::string formatTabulkaReportu(const TabulkaReportu& tabulka) {
  std::string out;
  for (const auto& r : tabulka) out += r.km + ";" + r.report + ";\r\n";
  return out;
}

TabulkaReportu parseTabulkaReportu(std::string_view data) {
  TabulkaReportu t{};
  size_t start = 0;
  for (int i = 0; i < kRadkuReportu && start < data.size(); ++i) {
    size_t end = data.find('\n', start);
    if (end == std::string_view::npos) end = data.size();
    std::string line(data.substr(start, end - start));
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();

    const size_t semi = line.find(';');
    if (semi != std::string::npos) {
      t[static_cast<size_t>(i)].km = line.substr(0, semi);
      line.erase(0, semi + 1);
    }
    const size_t next = line.find(';');
    if (next != std::string::npos) line.erase(next, 1);
    t[static_cast<size_t>(i)].report = line;
  }
  return t;
}

std::optional<TabulkaReportu> nactiTabulkuReportu(const std::string& path) {
  const auto data = platform::readWholeFile(path);
  if (!data) {
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
    return std::nullopt;
  }
  return parseTabulkaReportu(*data);
}

std::optional<int> limitKm(const RadekReportu& radek) {
  std::string_view s = radek.km;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

std::string GenerujReport(const TabulkaReportu& tabulka, int km) {
  std::string report = "--";
  for (const auto& r : tabulka) {
    const auto limit = limitKm(r);
    if (limit && *limit < km) report = r.report;
  }
  return report;
}

}  // namespace vektrano
