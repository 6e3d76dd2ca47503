#include "viewer/log_view.h"

#include <array>
#include <climits>

#include "platform/files.h"
#include "platform/message.h"

namespace vektrano::palomir {
namespace {

// Labels of the header's thirteen description fields ...
const std::array<const char*, 13> kHeaderLabels = {
    "Expedice  : ", "QTH       : ", "Lokátor   : ", "Nad mořem : ", "Od        : ",
    "Do        : ", "Operátoři : ", "Zápis     : ", "TRX       : ", "ANT       : ",
    "Druh      : ", "Freq      : ", "Poznámka  : "};

// ... and of the first twelve lines of an old description file.
const std::array<const char*, 12> kExpLabels = {
    "Exp       : ", "QTH       : ", "Loc       : ", "Nad mořem : ", "Od        : ",
    "Do        : ", "Operátoři : ", "Tým       : ", "TRX       : ", "ANT       : ",
    "DRUH      : ", "Freq      : "};

constexpr int kFirstDescriptionField = 9;
constexpr int kLastDescriptionField = 21;

std::string::size_type extensionStart(const std::string& path) {
  const auto dot = path.find_last_of('.');
  const auto sep = path.find_last_of("/\\");
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return std::string::npos;
  return dot;
}

}  // namespace

const std::vector<std::string>& gridTitles() {
  static const std::vector<std::string> titles = {"poř.", "čas", "RV",  "Volačka",
                                                  "RP",   "Lokátor", "km", "pozn."};
  return titles;
}

LogView::LogView() = default;

std::optional<int> wholeNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

std::vector<std::string_view> splitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    const size_t next = end == std::string_view::npos ? content.size() : end + 1;
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = next;
  }
  return lines;
}

LogView parseLog(std::string_view content) {
  LogView view;
  const auto lines = splitLines(content);
  view.lines = static_cast<int>(lines.size());
  view.contacts = lines.empty() ? 0 : view.lines - 1;
  auto& rows = view.grid.rows();
  rows.assign(lines.empty() ? 1 : lines.size(), Grid::Row(kColumns));

  for (size_t r = 0; r < lines.size(); ++r) {
    const std::string_view line = lines[r];
    Grid::Row& row = rows[r];
    size_t pos = 0;
    for (int field = 0;; ++field) {
      const size_t semi = line.find(';', pos);
      if (semi == std::string_view::npos) break;
      const std::string_view value = line.substr(pos, semi - pos);
      const size_t restLength = line.size() - pos;  // this field and its ";" on
      pos = semi + 1;
      if (field == 0) {
        view.ownLocator = std::string(value);
      } else if (field <= kColumns) {
        row[field - 1] = std::string(value);
      } else if (r == 0 && field >= kFirstDescriptionField && field <= kLastDescriptionField) {
        // An empty last field is not shown, an empty one in the middle is.
        if (restLength > 1) {
          view.description.push_back(kHeaderLabels[field - kFirstDescriptionField] +
                                     std::string(value));
          view.descriptionFound = true;
        }
      } else if (field > kLastDescriptionField) {
        break;
      }
    }
    if (r == 0) continue;
    if (!row[kColKm].empty()) {
      // A km cell that is not a whole number counts like an empty one.
      if (const auto km = wholeNumber(row[kColKm])) {
        view.kmSum += *km;
        if (*km > view.longest) view.longest = *km;
      }
    }
    if (row[kColLokator].size() != 6) ++view.missingLocators;
  }
  view.grid.setFixedRows(1);
  if (view.description.empty()) view.description.push_back("Popis deníku nebyl nalezen...");
  return view;
}

std::string statusLine(const LogView& view) {
  const long long average = view.contacts > 0 ? view.kmSum / view.contacts : 0;
  return " " + std::to_string(view.contacts) + " spoj. [Prům:" + std::to_string(average) +
         " km] [Lok.chybí:" + std::to_string(view.missingLocators) + "x] [Nej:" +
         std::to_string(view.longest) + " km]";
}

std::vector<std::string> expDescription(std::string_view content) {
  std::vector<std::string> out;
  const auto lines = splitLines(content);
  for (size_t i = 0; i < lines.size() && i < kExpLabels.size(); ++i)
    out.push_back(kExpLabels[i] + std::string(lines[i]));
  return out;
}

std::string expPath(const std::string& logPath) {
  const auto dot = extensionStart(logPath);
  return (dot == std::string::npos ? logPath : logPath.substr(0, dot)) + ".exp";
}

bool hasLogExtension(const std::string& path) {
  const auto dot = extensionStart(path);
  if (dot == std::string::npos) return false;
  std::string ext = path.substr(dot);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return ext == ".QVL";
}

std::string fileNameOnly(const std::string& path) {
  const auto sep = path.find_last_of("/\\");
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string unreadableLogMessage(const std::string& path, const std::string& reason) {
  return "Soubor " + platform::pathText(path) + " nelze načíst :\r\n\r\n" + reason;
}

std::optional<LogView> nactidata(const std::string& path, std::string* error) {
  std::string reason;
  const auto content = platform::readWholeFile(path, reason);
  if (!content) {
    if (error) *error = reason;
    return std::nullopt;
  }
  LogView view = parseLog(*content);

  const std::string exp = expPath(path);
  if (platform::fileExists(exp)) {
    view.descriptionFound = true;
    view.description.clear();
    if (const auto text = platform::readWholeFile(exp))
      view.description = expDescription(*text);
    else
      platform::showMessage("Soubor " + platform::pathText(exp) + " nebyl nalezen !",
                            platform::MessageKind::Error);
  }
  return view;
}

}  // namespace vektrano::palomir
