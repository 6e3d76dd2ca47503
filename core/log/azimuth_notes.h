#pragma once
// The azimuth notes of the whole log (option "Ukládat azimut do poznámky
// volačky"): ticking it adds " .azimut_" + degrees behind the call sign of
// every contact with a valid locator, unticking it takes one such word out
// of every call-sign cell. Both ask first and report the count.
#include <optional>

#include "core/log/log.h"

namespace vektrano {

// `PridejAzimuty`: after Yes to "Chceš přidat azimuty do všech řádků v
// deníku ?", every row with a valid locator gets its azimuth note; then
// "Hotovo. Počet spočítaných azimutů = " + count. Nothing (and no question)
// without contacts; nothing after No.
std::optional<int> PridejAzimuty(LogDocument& log);

// `OdeberAzimuty`: after Yes to "Chceš odebrat azimuty ze všech řádků v
// deníku ?", the first ".azimut_" word of every call-sign cell is deleted
// (up to the next blank or the end); then "Hotovo. Počet odstraněných
// azimutů = " + count.
std::optional<int> OdeberAzimuty(LogDocument& log);

}  // namespace vektrano
