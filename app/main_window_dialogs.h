#pragma once
// Everything the main window's commands ask the operator or the desktop
// through a dialog or another program: file dialogs, input boxes, the folder
// picker, the printer set-up, and the shell's opening of a document, a web
// page or a program. One set of replaceable functions, so that a test can
// answer each dialog and see what would have been opened; the program uses
// the defaults.
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace vektrano {

struct Form1Dialogs {
  // A file to save to: title, start folder, proposed path, default extension
  // (without the dot) and the filter as "description|mask|description|mask".
  // Nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& title, const std::string& folder,
                                            const std::string& proposed,
                                            const std::string& extension,
                                            const std::string& filter)>
      saveFile;
  // A file to open, the same way; the open dialog of the log also gives old
  // csv logs of every folder it enters the extension qvl.
  std::function<std::optional<std::string>(const std::string& title, const std::string& folder,
                                            const std::string& proposed,
                                            const std::string& extension,
                                            const std::string& filter)>
      openFile;
  // The log's own dialogs (New log, Save, Open): the log file dialogs.
  std::function<std::optional<std::string>(const std::string& title, const std::string& folder,
                                            const std::string& current)>
      saveLog;
  std::function<std::optional<std::string>(const std::string& folder, const std::string& current)>
      openLog;
  // An input box: caption, prompt, proposed text; nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& caption, const std::string& prompt,
                                           const std::string& value)>
      inputText;
  // The folder picker opened at initial; nothing when cancelled.
  std::function<std::optional<std::string>(const std::string& initial)> chooseFolder;
  // A colour of the colour scheme; nothing when cancelled.
  std::function<std::optional<unsigned>(unsigned current)> chooseColour;
  // A file to save to as saveFile asks for it, over another window (nullptr:
  // this one): the PDF printer's file over the window that prints, as the
  // print window stays on top of this one.
  std::function<std::optional<std::string>(QWidget* over, const std::string& title, const std::string& folder,
                                            const std::string& proposed, const std::string& extension,
                                            const std::string& filter)>
      saveFileOver;
  // The printer set-up over the program's printers; true when one was chosen.
  std::function<bool()> printerSetup;
  // The desktop's program for a file, a web page, and a program started by
  // its command line.
  std::function<void(const std::string& path)> openDocument;
  std::function<void(const std::string& url)> openUrl;
  std::function<void(const std::string& program, const std::string& arguments)> startProgram;
  // The help file at a topic (the desktop's viewer).
  std::function<void(int topic)> help;
};

// The real dialogs, standing over parent.
Form1Dialogs defaultDialogs(QWidget* parent);

}  // namespace vektrano
