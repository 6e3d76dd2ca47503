#pragma once
// The main menu `HlavniMenu` of the main window as one table: every item has
// the name the handlers know it by, its caption and its kind. The window
// builds the menu bar from it and finds items by name; the information menu
// `Inf1` stands at the right end of the bar.
#include <QString>
#include <map>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vektrano {

enum MenuFlags : unsigned {
  kMenuPlain = 0,
  kMenuSubmenu = 1u << 0,    // opens the items whose parent it is
  kMenuCheckable = 1u << 1,  // ticks and unticks itself
  kMenuChecked = 1u << 2,    // ticked as the window is built
  kMenuRadio = 1u << 3,      // one tick within its group
  kMenuSeparator = 1u << 4,
  kMenuHidden = 1u << 5,  // until the operator's chord shows it
  kMenuDisabled = 1u << 6,
};

struct MenuEntry {
  const char* parent;   // name of the submenu; empty for the bar itself
  const char* name;     // object name (separators get one too)
  const char* caption;  // cp1250
  unsigned flags = kMenuPlain;
  const char* group = "";  // radio group
};

// The whole main menu, in order.
const std::vector<MenuEntry>& hlavniMenu();

// The pop-up menu of the log grid `Denik`: its items stand on the menu
// itself (empty parent).
inline constexpr const char* kMenuDenikPopup = "PopupDenik";
const std::vector<MenuEntry>& denikPopup();
// The pop-up's row commands, enabled only while the log is sorted by number.
inline constexpr const char* kRadkovePrikazy[] = {
    "Odstranittentodekzdenku1", "Pedtentodekvloitprzdndek1",
    "Prohodittentodeksnsledujcmdkem1", "Prohodittentodekspedchozmdkem1"};

// Names of the top-level menus whose enabling the index rebuild switches.
inline constexpr const char* kMenuSoubor = "Soubor1";
inline constexpr const char* kMenuPomocne = "Pomocnfunkce1";
inline constexpr const char* kMenuNastaveni = "Nastaven1";
inline constexpr const char* kMenuInfo = "Inf1";

// The built menu: every item and submenu by name.
struct BuiltMenu {
  std::map<std::string, QAction*> actions;  // submenus by their menuAction()
  std::map<std::string, QMenu*> menus;
  QMenuBar* infoBar = nullptr;  // holds Inf1 at the right end

  QAction* action(const std::string& name) const;
  QMenu* menu(const std::string& name) const;
};

// Fills bar from the table; the information menu goes into a bar of its own
// in the right corner.
BuiltMenu buildMenu(QMenuBar* bar, const std::vector<MenuEntry>& entries);
// Fills popup from a table of plain items and separators and adds them to
// built (names must differ from the main menu's).
void buildPopup(QMenu* popup, const std::vector<MenuEntry>& entries, BuiltMenu& built);

}  // namespace vektrano
