#include "core/reference/reverse_search.h"

#include <charconv>

#include "core/base/geometry.h"
#include "core/reference/list_data.h"
#include "platform/message.h"

namespace vektrano {

namespace {

std::optional<int> cislo(const std::string& text) {
  size_t a = text.find_first_not_of(' ');
  size_t b = text.find_last_not_of(' ');
  if (a == std::string::npos) return std::nullopt;
  int v = 0;
  const char* first = text.data() + a;
  const char* last = text.data() + b + 1;
  const auto r = std::from_chars(first, last, v);
  if (r.ec != std::errc() || r.ptr != last) return std::nullopt;
  return v;
}

}  // namespace

std::optional<RozsahVzdalenosti> rozsahVzdalenosti(const std::string& od, const std::string& do_) {
  const std::optional<int> a = cislo(od), b = cislo(do_);
  if (!a || !b || *a <= 0 || *b <= 0) {
    platform::showMessage("Nulové hodnoty nejsou povoleny, počítám od 1 km ...");
    return std::nullopt;
  }
  return RozsahVzdalenosti{*a, *b};
}

std::vector<std::string> DohledejPodleVzdalenosti(const std::optional<std::string>& fileContent,
                                                  const std::string& path,
                                                  const std::string& locator,
                                                  const RozsahVzdalenosti& rozsah, bool mista) {
  std::vector<std::string> out;
  out.push_back(std::string(mista ? "Vyhledávám města" : "Vyhledávám volačky") +
                " s odpovídající vzdáleností od lokátoru : " + locator);
  if (!fileContent) {
    out.push_back(path + " nenalezen.");
    return out;
  }
  for (std::string line : splitFileLines(*fileContent)) {
    if (line.size() < 6 || !testlok(std::string_view(line).substr(0, 6))) continue;
    const int d = vypocet(locator, std::string_view(line).substr(0, 6));
    if (d < rozsah.od || d > rozsah.do_) continue;
    size_t semicolon = line.find(';');
    if (semicolon != std::string::npos) {
      line[semicolon] = '-';
      semicolon = line.find(';', semicolon + 1);
      if (semicolon != std::string::npos) line.replace(semicolon, 1, " - ");
    }
    out.push_back(line + " / " + std::to_string(d) + " km");
  }
  out.push_back("Vyhledávání dokončeno ...");
  return out;
}

}  // namespace vektrano
