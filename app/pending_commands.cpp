#include "app/pending_commands.h"

#include "platform/message.h"

namespace vektrano {

const std::vector<PendingCommand>& pendingCommands() {
  // Every window the main window opens is in the program.
  static const std::vector<PendingCommand> pending;
  return pending;
}

const PendingCommand* pendingCommand(std::string_view command) {
  for (const PendingCommand& p : pendingCommands())
    if (command == p.command) return &p;
  return nullptr;
}

std::string pendingNotice(const PendingCommand& pending) {
  return std::string("Okno „") + pending.title +
         "“ zatím v programu není, tato funkce proto nic neprovede.";
}

bool announcePending(std::string_view command) {
  const PendingCommand* p = pendingCommand(command);
  if (!p) return false;
  platform::showMessage(pendingNotice(*p));
  return true;
}

}  // namespace vektrano
