#include "core/log/log_export.h"

#include <charconv>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/log/recalculation.h"
#include "platform/files.h"
#include "platform/message.h"

namespace vektrano {

namespace {

// Where the page says it comes from: the club's site with the program on it.
constexpr const char* kProgId = "http://www.vektrano.example/program/VEKTRANO.EXE";

constexpr const char* kHr = "<hr noshade color=\"#000080\">";
constexpr const char* kV = "    <td align=\"center\"><b>";

// The km cell as a whole number. Anything else, and a negative distance
// (the recalculation's -1 for a text that is no locator), adds nothing.
int64_t kmBunky(std::string_view cell) {
  while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
  while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
  int value = 0;
  const char* end = cell.data() + cell.size();
  const auto [ptr, ec] = std::from_chars(cell.data(), end, value);
  if (cell.empty() || ec != std::errc() || ptr != end || value < 0) return 0;
  return value;
}

struct Ctverec {
  std::string text;  // first 4 characters of the locator; empty: none given
  int64_t pocet = 0;
  int64_t km = 0;
};

class Stranka {
 public:
  void line(std::string_view s) {
    text_.append(s);
    text_ += "\r\n";
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_;
};

}  // namespace

std::string escapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

DialogExportu dialogExportu(DruhExportu druh) {
  if (druh == DruhExportu::Html)
    return {"htm", "Stránka pro internet HTM|*.htm", "Stránka pro internet HTM", "*.htm"};
  return {"xls", "Soubory XLS -  EXCEL|*.xls", "Soubory XLS -  EXCEL", "*.xls"};
}

std::string doplnPriponu(const std::string& path, const std::string& pripona) {
  const size_t slash = path.find_last_of("/\\");
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  if (nameStart >= path.size() || pripona.empty()) return path;
  if (path.find('.', nameStart) != std::string::npos) return path;
  return path + "." + pripona;
}

std::string textExportu(const LogDocument& log) {
  Stranka p;
  const std::string own = escapeHtml(log.lokportable);

  p.line("<html>");
  p.line("<head>");
  p.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">");
  p.line("<meta name=\"GENERATOR\" content=\"VEKTRANO.EXE\">");
  p.line(std::string("<meta name=\"ProgId\" content=\"") + kProgId + "\">");
  p.line("<title>" + own + "</title>");
  p.line("</head>");
  p.line("<body>");
  p.line(kHr);

  // Contact table, the column titles (row 0) included.
  p.line("<table border=\"1\" cellspacing=\"0\" bordercolor=\"#000080\" width=\"100%\">");
  p.line(
      "  <tr><td colspan=\"3\" align=\"center\"><font size=\"5\" color=\"#FF0000\"><b>Spojení z "
      "lokátoru : </b></font></td><td colspan=\"3\" align=\"center\"><font size=\"6\" "
      "color=\"#FF0000\"><b>" +
      own +
      "</b></font></td><td colspan=\"2\" align=\"center\"><font size=\"5\" "
      "color=\"#FF0000\">...</font></td></tr>");
  const Grid& d = log.Denik;
  for (int r = 0; r < d.rowCount(); ++r) {
    std::string row = "<tr>";
    for (int c = 0; c < d.colCount(); ++c) {
      const std::string& cell = d.cell(r, c);
      row += "<td>";
      row += cell.empty() ? std::string("&nbsp") : escapeHtml(cell);
      row += " </td>";
    }
    row += "</tr>";
    p.line(row);
  }
  p.line("</table>");

  // Square list; entry 0 collects the contacts without a locator.
  std::vector<Ctverec> ctverce(1);
  int64_t celkemSpojeni = 0, celkemKm = 0;
  for (int r = 1; r < d.rowCount(); ++r) {
    const std::string s = d.cell(r, kColLokator).substr(0, 4);
    const int64_t k = kmBunky(d.cell(r, kColKm));
    Ctverec* hit = nullptr;
    for (Ctverec& e : ctverce)
      if (e.text == s) {
        hit = &e;
        break;
      }
    if (!hit) hit = &ctverce.emplace_back(Ctverec{s, 0, 0});
    ++hit->pocet;
    hit->km += k;
    ++celkemSpojeni;
    celkemKm += k;
  }
  const int64_t sLokatorem = celkemSpojeni - ctverce[0].pocet;
  const auto num = [](int64_t v) { return std::to_string(v); };

  p.line(kHr);
  p.line("<table border=\"1\" cellspacing=\"0\" width=\"100%\" bordercolor=\"#000080\">");
  p.line("  <tr>");
  p.line("    <td colspan=\"4\" align=\"center\"><font color=\"#FF0000\" size=\"6\"><b>Statistiky");
  p.line("      deníku - celkově</b></font></td>");
  p.line("  </tr>");
  p.line("  <tr>");
  p.line("    <td align=\"center\"><i>Velkých lokátorových čtverců</i></td>");
  p.line("    <td align=\"center\"><i>Celkem spojení (*)</i></td>");
  p.line("    <td align=\"center\"><i>Celkem km</i></td>");
  p.line("    <td align=\"center\"><i>Průměr km na 1 spojení (**)</i></td>");
  p.line("  </tr>");
  p.line("  <tr>");
  p.line(kV + num(static_cast<int64_t>(ctverce.size()) - 1) + "</b></td>");
  p.line(kV + num(celkemSpojeni) + "&nbsp;&nbsp; (" + num(sLokatorem) + ")</b></td>");
  p.line(kV + num(celkemKm) + "</b></td>");
  p.line(kV);
  p.line(sLokatorem > 0 ? num(celkemKm / sLokatorem) : "-");
  p.line(" km na jedno spojení</b></td>");
  p.line("  </tr>");
  p.line("</table>");

  p.line(kHr);
  p.line("<table border=\"1\" cellspacing=\"0\" width=\"100%\" bordercolor=\"#000080\">");
  p.line("  <tr>");
  p.line(
      "    <td colspan=\"4\" align=\"center\"><font size=\"6\" color=\"#FF0000\"><b>Statistiky "
      "deníku - Velké čtverce</b></font></td>");
  p.line("  </tr>");
  p.line("  <tr>");
  p.line("    <td align=\"center\"><i>Velké lokátorové čtverce</i></td>");
  p.line("    <td align=\"center\"><i>Celkem spojení </i></td>");
  p.line("    <td align=\"center\"><i>Celkem km</i></td>");
  p.line("    <td align=\"center\"><i>Průměr km na 1 spojení (**)</i></td>");
  p.line("  </tr>");
  for (size_t i = 0; i < ctverce.size(); ++i) {
    const Ctverec& e = ctverce[i];
    p.line("  <tr>");
    p.line(kV);
    p.line(i == 0 ? std::string("neuveden") : escapeHtml(e.text));
    p.line("</b></td>");
    p.line(kV + num(e.pocet) + "</b></td>");
    p.line(kV + num(e.km) + "</b></td>");
    p.line(kV);
    p.line(e.pocet > 0 ? num(e.km / e.pocet) : "-");
    p.line(" km</b></td>");
    p.line("  </tr>");
  }
  p.line("</table>");

  p.line(
      "<p><font size=\"1\"><i>(*)&nbsp; První údaj je CELKOVÝ POČET spojení, v závorce pak je POČET "
      "SPOJENÍ S UVEDENÝM LOKÁTOREM - z tohoto údaje v závorce se pak počítají průměry<br>");
  p.line("(**) Do průměru jsou započítány pouze stanice, které nahlásily svůj lokátor!</i></font></p>");
  p.line(kHr);
  p.line("</body>");
  p.line("</html>");
  return p.take();
}

bool GenerujHtml(LogDocument& log, const std::string& path) {
  log.panel2 = platform::pathText(path);
  if (!platform::writeFileAtomic(path, textExportu(log))) {
    platform::showMessage("Chyba - Soubor " + platform::pathText(path),
                          platform::MessageKind::Error);
    return false;
  }
  return true;
}

namespace {

std::optional<std::string> exportuj(LogDocument& log, const std::string& chosen, DruhExportu druh) {
  const std::string path = doplnPriponu(chosen, dialogExportu(druh).pripona);
  PrepocetDeniku(log);
  if (!GenerujHtml(log, path)) return std::nullopt;
  return path;
}

}  // namespace

std::optional<std::string> ExportHTML(LogDocument& log, const std::string& chosenPath) {
  return exportuj(log, chosenPath, DruhExportu::Html);
}

std::optional<std::string> ExportXLS(LogDocument& log, const std::string& chosenPath) {
  return exportuj(log, chosenPath, DruhExportu::Xls);
}

}  // namespace vektrano
