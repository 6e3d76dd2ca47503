#pragma once
// The Qt message boxes behind showMessage/askYesNo: OK for messages, Yes/No
// for questions, CR LF in the texts as line breaks.
#include <functional>

#include "platform/message.h"

namespace vektrano::platform {

// Installs the Qt boxes as the message handler, unless VEKTRANO_MESSAGES=stderr
// keeps the non-interactive one. True when installed.
bool installQtMessageBoxes();

// Shows one box and waits for it (from any thread: a worker's box is shown by
// the main thread). The handler installQtMessageBoxes installs.
Answer showQtMessageBox(const Message& m);

// Called with true just before a box appears and with false once it is gone,
// on the main thread; a window that stays on top (the splash) steps back for
// the box. An empty function removes the observer.
void setMessageBoxObserver(std::function<void(bool shown)> observer);

}  // namespace vektrano::platform
