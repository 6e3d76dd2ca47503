#pragma once
// What a tool window may ask of the main window, and nothing more. The main
// window implements it and hands itself to the openers, so the tool windows
// never see its class and their library stays below the program's.
#include "core/base/synonyms.h"
#include "core/log/log.h"

class QWidget;

namespace vektrano {

class MainWindowLink {
 public:
  // The open log (`Denik` and its description).
  virtual LogDocument& log() = 0;
  // `ReIndexace`: a list the searches read was saved (also after a failed
  // write, since the file may have changed).
  virtual void ReIndexace() = 0;
  // The familiar names just saved, taken into the synonym table at once.
  virtual void prevezmiSynonyma(const TabulkaSynonym& tabulka) = 0;
  // The window the tool windows' dialogs stand over.
  virtual QWidget* hlavniOkno() = 0;

 protected:
  ~MainWindowLink() = default;
};

}  // namespace vektrano
