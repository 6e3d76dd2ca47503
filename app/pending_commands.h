#pragma once
// Commands of the main window whose window is not in the program yet. One
// table, consulted by the menu, the keys and the routines that open those
// windows: a command listed here shows a short notice instead of doing
// nothing, and nothing of it can be forgotten. Each entry goes when its
// window is wired in; the table is empty now that every window exists.
#include <string>
#include <string_view>
#include <vector>

namespace vektrano {

struct PendingCommand {
  // Menu item object name, or the routine that opens the window
  // ("otevrimapu"); the keys trigger the menu items or call the routine.
  const char* command;
  const char* window;  // the window it waits for ("TForm7")
  const char* title;   // what the notice calls that window (cp1250)
};

const std::vector<PendingCommand>& pendingCommands();

// The entry of a command, or nullptr when it is not waiting for anything.
const PendingCommand* pendingCommand(std::string_view command);

// "Okno „…“ zatím v programu není, tato funkce proto nic neprovede."
std::string pendingNotice(const PendingCommand& pending);

// Shows the notice when command is pending; true when it was (the caller
// then does nothing more).
bool announcePending(std::string_view command);

}  // namespace vektrano
