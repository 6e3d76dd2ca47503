#pragma once
// Application-wide state that the Windows application object kept: the title
// (the caption of message boxes without one of their own), the help file, and
// the request to end the program once its message loop runs.
#include <string>

namespace vektrano::platform {

void setApplicationTitle(const std::string& title);  // cp1250
std::string applicationTitle();

void setHelpFile(const std::string& path);  // cp1250
std::string helpFile();
// Opens the help file with the desktop's default viewer. There is no help
// engine that knows context numbers, so a topic only names what was asked
// for. False when the file is missing or no viewer took it.
bool openHelp(int topic = 0);

// Ends the program: at once when the message loop runs, else as soon as it
// starts (start-up asks for this before the loop exists).
void requestTerminate();
bool terminateRequested();

}  // namespace vektrano::platform
