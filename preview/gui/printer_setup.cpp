#include "preview/gui/printer_setup.h"

#include <QBuffer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/cp1250.h"
#include "preview/gui/printer_qt.h"
#include "preview/printer.h"

namespace vektrano::preview {

PrinterSetupDialog::PrinterSetupDialog(PvPrinterSet& printers, QWidget* parent)
    : QDialog(parent), printers_(printers) {
  setWindowTitle(platform::toQString("Nastavení tiskárny"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(platform::toQString("Tiskárna:"), this);
  box_ = new QComboBox(this);
  box_->setObjectName(QStringLiteral("Tiskarna"));
  label->setBuddy(box_);
  for (const std::string& name : printers_.Names()) box_->addItem(platform::toQString(name));
  box_->setCurrentIndex(printers_.Current());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(platform::toQString("Storno"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(label);
  layout->addWidget(box_);
  layout->addWidget(buttons);
}

void PrinterSetupDialog::accept() {
  printers_.Select(box_->currentIndex());
  QDialog::accept();
}

bool ShowPrinterSetup(QWidget* parent) {
  PrinterSetupDialog dialog(*ProcessPrinters(), parent);
  return dialog.exec() == QDialog::Accepted;
}

bool PrintWidgetImage(QWidget& widget, const std::string& title) {
  const QPixmap picture = widget.grab();
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");

  // The job's dialogs stand over the window whose picture it prints.
  const PrintDialogOwner owner(widget.window());
  TPvPrinter printer;
  printer.Title = title;
  printer.SetOrientation(pvPortrait);
  if (!printer.BeginPrint()) return false;
  DeviceCanvas* canvas = printer.Canvas();
  if (!canvas) {
    printer.Abort();
    return false;
  }
  const TPvPrinterInfo& info = printer.Info();
  const IntPoint off = printer.Offsets(pvPortrait);
  // As large as on the screen, smaller when the printable area is smaller.
  Extended w = static_cast<Extended>(picture.width()) / 96 * info.PixelsPerInchX;
  Extended h = static_cast<Extended>(picture.height()) / 96 * info.PixelsPerInchY;
  const Extended fit = std::min<Extended>({1, info.PrintableWidth / std::max<Extended>(w, 1),
                                           info.PrintableHeight / std::max<Extended>(h, 1)});
  w *= fit;
  h *= fit;
  canvas->drawPicture({off.x, off.y, off.x + static_cast<int>(roundHalfEven(w)), off.y + static_cast<int>(roundHalfEven(h))},
                      png.toStdString());
  printer.EndPrint();
  return true;
}

}  // namespace vektrano::preview
