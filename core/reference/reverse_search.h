#pragma once
// The reverse searches of the auxiliary menu: every call sign (list pvk) or
// place (database zr4) whose locator lies within a distance range of a
// chosen locator, as lines for the side list that shows them.
#include <optional>
#include <string>
#include <vector>

namespace vektrano {

// The bounds as the input boxes gave them: whole numbers above 0. Anything
// else (0, a negative number, a text that is no number) is refused with
// "Nulové hodnoty nejsou povoleny, počítám od 1 km ..." and nothing is
// returned: no search runs.
struct RozsahVzdalenosti {
  int od = 0;
  int do_ = 0;
};
std::optional<RozsahVzdalenosti> rozsahVzdalenosti(const std::string& od, const std::string& do_);

// The result lines: the heading ("Vyhledávám volačky ..." or "Vyhledávám
// města ..." + locator), every line of the file whose locator lies at a
// distance d with od <= d <= do (its first ";" shown as "-", the next as " -
// ", then " / " + d + " km"), and "Vyhledávání dokončeno ...". fileContent
// is nothing when the file could not be read: path + " nenalezen." stands
// in for the lines.
std::vector<std::string> DohledejPodleVzdalenosti(const std::optional<std::string>& fileContent,
                                                  const std::string& path,
                                                  const std::string& locator,
                                                  const RozsahVzdalenosti& rozsah, bool mista);

}  // namespace vektrano
