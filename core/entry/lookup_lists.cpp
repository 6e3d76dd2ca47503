#include "core/entry/lookup_lists.h"

#include "core/base/text.h"

namespace vektrano {

namespace {

bool jeOddelovac(std::string_view line) { return !line.empty() && line[0] == '*'; }

// The name part of a list line: from its 8th character up to before the
// first "(" (the district). A line without a district ends the name where
// the search appended the date (" - ") or the distance (" / "), keeping the
// blank before it, so that neither reaches the entry line.
std::string textRadku(const std::string& line) {
  if (line.size() <= 7) return {};
  std::string t = line.substr(7);
  size_t konec = t.find('(');
  for (const char* pripojeno : {" - ", " / "}) {
    const size_t at = t.find(pripojeno);
    if (at != std::string::npos && (konec == std::string::npos || at + 1 < konec)) konec = at + 1;
  }
  if (konec != std::string::npos) t.erase(konec);
  return t;
}

std::string ltrim(std::string s) {
  const size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : s.substr(first);
}

std::string sMezerou(const std::string& part) { return part + " "; }

}  // namespace

int DalsiRadekSeznamu(int current, const std::vector<std::string>& lines) {
  return DalsiRadekSeznamu(current, static_cast<int>(lines.size()),
                           [&](int i) -> std::string_view { return lines[static_cast<size_t>(i)]; });
}

int DalsiRadekSeznamu(int current, int count,
                      const std::function<std::string_view(int)>& lineAt) {
  const int posledni = count - 2;  // the last line before the footer
  if (posledni < 1) return -1;
  int next = current >= posledni || current < 0 ? 1 : current + 1;
  if (jeOddelovac(lineAt(next))) ++next;
  if (next > posledni) next = 1;
  return next;
}

int OmezVyberSeznamu(int index, int count) {
  if (index < 0 || count < 3) return index;
  if (index == 0) return 1;
  if (index >= count - 1) return count - 2;
  return index;
}

std::string TextZVolacky(const EntryParts& typed, const std::string& line) {
  std::string t = sMezerou(typed.ReportVyslany) + sMezerou(typed.ReportPrijaty) +
                  sMezerou(typed.CasSpojeni) + sMezerou(typed.Poznamka);
  // The name ends with a blank only when something followed it in the line;
  // the locator must stand as a word of its own all the same.
  t += vyhoddvojmezery(textRadku(line)) + " " + line.substr(0, 6);
  return ltrim(vyhoddvojmezery(t)) + " ";
}

std::string VolackaProMisto(const std::string& volackaText) {
  std::string t = volackaText;
  size_t konec = std::string::npos;
  for (const char* znacka : {"/p", "/m"}) {
    const size_t at = t.find(znacka);
    if (at != std::string::npos) {
      konec = at + 2;
      break;
    }
  }
  if (konec == std::string::npos) {
    const size_t mezera = t.find(' ');
    if (mezera != std::string::npos) konec = mezera + 1;
  }
  std::string out = konec == std::string::npos ? t : t.substr(0, konec);
  if (volackaText.find(" .") != std::string::npos) out += " " + navaltecky(volackaText);
  return vyhoddvojmezery(out);
}

std::string TextZMista(const EntryParts& typed, const std::string& line) {
  std::string t = sMezerou(typed.CasSpojeni) + sMezerou(typed.Poznamka) +
                  sMezerou(typed.ReportVyslany) + sMezerou(typed.ReportPrijaty);
  t += " " + VolackaProMisto(typed.VolackaText) + " ";
  t += vyhoddvojmezery(textRadku(line)) + " " + line.substr(0, 6);
  t = vyhoddvojmezery(t);
  if (t.size() > 2 && t[0] == ' ') t.erase(0, 1);
  return t + " ";
}

}  // namespace vektrano
