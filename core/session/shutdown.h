#pragma once
// Closing the main window ends the log book: refused while a tool window
// exists, otherwise the log is saved, the crash backup removed (only when the
// log is safe on disk) and the settings written. Plain logic; the window
// brings its tool windows to the front and asks for a file name through
// ShutdownUi.
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/log/log.h"
#include "core/session/main_window_settings.h"

namespace vektrano {

// "VEKTRANO nelze ukončit. Máš ještě otevřená některá okna, celkem : " + count + " oken."
std::string zpravaOtevrenaOkna(std::size_t count);

template <class Window>
struct ZavreniOdmitnuto {
  std::vector<Window> doPopredi;  // each shown and brought to the front, in this order
  std::string zprava;             // then shown; the close is refused and nothing saved
};

// Steps 1 and 2 of FormCloseQuery: nothing when no tool window exists (the
// splash does not count), else the refusal.
template <class Window>
std::optional<ZavreniOdmitnuto<Window>> odmitnoutZavreni(std::vector<Window> otevrena) {
  if (otevrena.empty()) return std::nullopt;
  ZavreniOdmitnuto<Window> r;
  r.zprava = zpravaOtevrenaOkna(otevrena.size());
  r.doPopredi = std::move(otevrena);
  return r;
}

class ShutdownUi {
 public:
  virtual ~ShutdownUi() = default;
  // The save dialog of `UlozJakoQVL` in the data folder, proposing the
  // current path; nothing when cancelled.
  virtual std::optional<std::string> askSaveName(const std::string& /*proposed*/,
                                                 const std::string& /*dataFolder*/) {
    return std::nullopt;
  }
  // Puts the window's state into the settings (placement, Maximized, ticks,
  // the memo, the colours) and leaves the window in the normal state.
  virtual void collectSettings(MainWindowSettings& /*s*/) {}
};

struct ShutdownContext {
  ShutdownContext(LogDocument& log, MainWindowSettings& settings, ShutdownUi& ui);

  LogDocument& log;
  MainWindowSettings& settings;
  ShutdownUi& ui;
  std::string programFolder;     // platform::programFolder()
  std::string executableFolder;  // platform::executableFolder(): FileApp, for the viewer
  std::string settingsKey = kMainWindowKey;
  // Start-up decided to end the program: closing writes nothing at all.
  bool startupEnded = false;

  // Set by FormCloseQuery: the contacts are on disk (under the log path or
  // in a safety copy) although no log path is set.
  bool ulozenoJinam = false;
};

// Step 3 of FormCloseQuery, after odmitnoutZavreni gave nothing: a log with
// contacts is written under its path (at least 8 characters), else Save runs
// (a cancelled dialog writes a "zaloha_" safety copy into the data folder).
// The close is always allowed: returns true.
bool FormCloseQuery(ShutdownContext& ctx);

struct ZavreniVysledek {
  bool denikUlozen = false;       // the final write succeeded (or nothing needed writing)
  bool zalohaSmazana = false;     // "zaloha.qvl" removed
  bool nastaveniZapsano = false;  // the settings reached the registry
};

// FormClose: the final write of the log, then the crash backup is deleted
// only when that write succeeded (otherwise it stays and the user is told
// where), then every setting is written.
ZavreniVysledek FormClose(ShutdownContext& ctx);

}  // namespace vektrano
