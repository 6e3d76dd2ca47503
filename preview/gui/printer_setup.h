#pragma once
// The printer set-up of the main menu, and printing a window's picture:
// both work on the process's current printer (printer_qt.h), the one every
// page list starts with.
#include <QDialog>
#include <string>

class QComboBox;

namespace vektrano::preview {

class PvPrinterSet;

// Chooses the current printer of a printer set (the PDF printer among them).
class PrinterSetupDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PrinterSetupDialog(PvPrinterSet& printers, QWidget* parent = nullptr);
  QComboBox* printerBox() const { return box_; }
  // Makes the chosen printer current, then closes.
  void accept() override;

 private:
  PvPrinterSet& printers_;
  QComboBox* box_ = nullptr;
};

// The dialog over the process's printers; true when one was chosen.
bool ShowPrinterSetup(QWidget* parent);

// The widget's picture on one sheet of the current printer, at the top left
// of its printable area and as large as it is on a 96-dpi screen, made
// smaller when it does not fit. False when nothing was printed (no printer,
// called off).
bool PrintWidgetImage(QWidget& widget, const std::string& title);

}  // namespace vektrano::preview
