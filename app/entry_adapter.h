#pragma once
// The entry line `vstup` of the main window, as widgets: an event filter on
// the edit hands every key press and release to the parser of
// core/entry/entry_line.h, applies what it returns to the edit, the distance label,
// the call-sign label, the azimuth chart and the status-bar panels, and on
// Enter stores the contact (core/entry/store_contact.h). Everything the window owns
// besides these widgets (side lists, grid, searches, effects, other windows)
// is reached through EntryHooks; an empty hook does nothing.
//
// No handler here runs a local event loop, so one key release can never run
// inside another; a release that arrives while a handler works anyway (a
// message box of the writer) is queued and handled after it.
//
// Keys: X11 auto-repeat sends a release/press pair per repeat; those
// releases are ignored, the final release parses the line. Only a key both
// pressed and released while the line has the focus acts on release: the
// Return that chose a menu item, closed a message box or took a list line
// lands on the line when the focus comes back, and is dropped. Input methods
// often take Ctrl+Space for themselves, so F7 does the same: both delete
// every time from the line.
#include <QColor>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/entry/entry_line.h"
#include "core/entry/store_contact.h"
#include "core/log/log.h"
#include "core/reference/report_table.h"
#include "platform/datetime.h"

class QKeyEvent;
class QLabel;
class QLineEdit;

namespace vektrano {

// The azimuth chart `azimut`: the title (azimuth + " stup.", or "Azimut")
// over a pie of two slices, 360 - azimuth in yellow, then the azimuth in
// red; the red slice runs clockwise from north (the top) to the bearing.
// Without an azimuth the pie is empty.
class AzimutChart : public QWidget {
 public:
  explicit AzimutChart(QWidget* parent = nullptr);

  void setAzimut(std::optional<int> azimut);
  std::optional<int> azimut() const { return azimut_; }
  QString title() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<int> azimut_;
};

// The widgets the adapter works on; the window creates and lays them out.
// Only vstup is required; a null widget is simply not shown.
struct EntryWidgets {
  QLineEdit* vstup = nullptr;
  QLabel* Label1 = nullptr;        // distance
  QLabel* volackalabel = nullptr;  // call sign behind the km
  AzimutChart* azimut = nullptr;
  QLabel* panel1 = nullptr;        // status-bar panel 1
  QLabel* panel2 = nullptr;        // status-bar panel 2
};

// What the window supplies and does for the entry line.
struct EntryHooks {
  // Read at every key: the ticked options (menu items, channel spin edit).
  std::function<EntryOptions()> entryOptions;
  std::function<StoreOptions()> storeOptions;
  // The context starts with the own locator and the longest distance of the
  // log; the window adds the exception words, the synonyms and whether the
  // place and call-sign lists are visible.
  std::function<void(EntryContext&)> completeContext;
  // The report table of the Enter path; empty: the default table.
  std::function<const TabulkaReportu&()> tabulkaReportu;
  // The moment of storing; empty: platform::now().
  std::function<platform::DateTime()> now;

  // Searches to restart (SearchController::arm).
  std::function<void(const std::vector<ScheduledSearch>&)> armSearches;
  // Visibility of the side lists and the grid.
  std::function<void(const SidePanels&)> applyPanels;
  // Side-panel mode: RezimMestaSvatky (the parser has already reset the
  // keys) and RezimVolacky (Enter with `Automatika`).
  std::function<void()> RezimMestaSvatky;
  std::function<void()> RezimVolacky;
  // F2..F4: focus that list and select its line 1.
  std::function<void(ListFocus)> focusList;
  // Esc: show and focus the grid (the adapter focuses the line again).
  std::function<void()> focusGrid;
  // The map window of a locator (`otevrimapu`).
  std::function<void(const std::string& locator)> otevrimapu;
  // The typed distance exceeds the longest of the log: restart `blik`.
  std::function<void()> restartBlik;
  // A contact was stored: refresh the grid (current row r.currentRow), the
  // contact number `cisspoj`, the towns list (r.seznamMest), set
  // PocetDuplicit to 0; with r.nejdelsi start `efekt` then `blik`; with
  // r.popsatDenik show the description window. The adapter has already set
  // the line and the status panels.
  std::function<void(const StoreResult&)> contactStored;
  // The round-distance window (`startform5`); none exists yet.
  Startform5 startform5;
};

class EntryAdapter : public QObject {
 public:
  // Installs the event filter on w.vstup. The log and the widgets must
  // outlive the adapter (parent it to the window).
  EntryAdapter(const EntryWidgets& w, LogDocument& log, EntryHooks hooks,
               QObject* parent = nullptr);
  ~EntryAdapter() override;

  // The state of the contact being typed (other windows read
  // parts().LokatorProtistanice); the window's mode switches reset
  // state().klice through prepniRezimKlice.
  const EntryState& state() const { return state_; }
  EntryState& state() { return state_; }
  const EntryParts& parts() const { return state_.parts; }

  // The normal colour of Label1 and volackalabel (`BarvaLabel1`).
  void setBarvaLabel1(const QColor& colour);

  // The handlers, as the event filter calls them (public for the window's
  // own uses, such as a list putting text into the line).
  void vstupKeyUp(const EntryKeyEvent& key);
  // True when the key is to go no further.
  bool vstupKeyDown(const EntryKeyEvent& key);

  // Fit the distance label's text and font, and the line's font, to their
  // widths; the window calls both after its layout.
  void RovnejLabel1();
  void RovnejVstup();

  // Esc on a non-empty line and the Esc/Enter paths refresh this.
  void prumer();

  // The parser's key for a Qt key event: a key without a rule of its own is
  // EntryKey::Other (every release parses the line); F7 is Ctrl+Space.
  static EntryKeyEvent toEntryKey(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyLine(const std::string& text, int caret);
  void applyCommon(const EntryResult& r);
  void applyRelease(const EntryResult& r);
  // True when the contact was stored.
  bool store(const std::string& line);
  static std::int64_t keyId(const QKeyEvent& e);
  void setPanel(QLabel* panel, const std::string& text);
  // Label1 showing text fitted as RovnejLabel1 fits it, from font.
  void fitLabel1(const std::string& text, const QFont& font);
  EntryContext context() const;
  EntryOptions entryOptions() const;

  EntryWidgets w_;
  QPointer<QLineEdit> vstup_;
  LogDocument& log_;
  EntryHooks hooks_;
  EntryState state_;
  QColor barvaLabel1_;
  // The last fit of Label1: what was asked, in which font and width.
  struct Label1Fit {
    LabelFit asked;
    QFont font;
    int width = 0;
    LabelFit fit;
  };
  std::optional<Label1Fit> label1Fit_;
  bool busy_ = false;  // a handler is running
  // Keys pressed while the line had the focus and not yet released; only
  // their releases reach vstupKeyUp.
  std::set<std::int64_t> stisknute_;
};

}  // namespace vektrano
