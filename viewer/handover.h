#pragma once
// Handing the shown log over to Vektrano, whose folder the viewer knows from
// Vektrano's settings (`FileApp`).
#include <string>

namespace vektrano::palomir {

// The main program in its folder: folder + "/vektrano".
std::string vektranoProgram(const std::string& fileApp);

// The folder to start the main program from: FileApp while it holds the
// program, else the viewer's own folder when the program stands beside it
// (an installation puts both into one bin/, and Vektrano may never have
// run and stored FileApp), else FileApp as it is (its report says what is
// missing).
std::string vektranoFolder(const std::string& fileApp, const std::string& ownFolder);

enum class HandOver { Started, NotFound, NotStarted };

// Starts the main program with the log path as its one argument (an argument
// list, no shell in between) and does not wait for it.
HandOver RunVektrano(const std::string& fileApp, const std::string& logPath);

// The six-line message for a missing main program.
std::string vektranoNotFoundMessage();
// The message for a main program that is there but could not be started.
std::string vektranoNotStartedMessage(const std::string& program);

// The path report of the label's pop-up menu.
std::string vektranoPathReport(const std::string& fileApp);

}  // namespace vektrano::palomir
