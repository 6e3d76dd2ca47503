#include "preview/gui/property_combo_box.h"

#include "platform/cp1250.h"
#include "preview/gui/glyphs.h"

namespace vektrano::preview {

TPvPropertyComboBox::TPvPropertyComboBox(QWidget* parent) : TPvComboBox(parent) {
  setIconSize(QSize(16, 16));
  connect(this, qOverload<int>(&QComboBox::activated), this, [this](int i) { Choose(i); });
}


void TPvPropertyComboBox::SetPreview(TPvPreview* preview) {
  preview_.set(preview);
  Refill();
}

void TPvPropertyComboBox::PreviewDestroyed() {
  preview_.forget();
  clear();
}

void TPvPropertyComboBox::SetPreviewProperty(TPvComboPropertyType p) {
  property_ = p;
  Refill();
}

void TPvPropertyComboBox::SetItemHeight(int h) {
  itemHeight_ = h;
  Refill();
}

void TPvPropertyComboBox::Refill() {
  filling_ = true;
  clear();
  if (preview_) {
    std::vector<std::string> names;
    std::string present;
    if (property_ == pvPaperList) {
      names = TPvPreview::GetPaperNames();
      present = PaperSizeName(preview_->PaperSize());
    } else {
      names = preview_->PvPrinter().Printers();
      const int i = preview_->PvPrinter().PrinterIndex();
      if (i >= 0 && i < static_cast<int>(names.size())) present = names[static_cast<size_t>(i)];
    }
    for (const std::string& name : names) {
      bool add = true;
      if (OnAddItem) OnAddItem(*this, name, add);
      if (!add) continue;
      QIcon icon = property_ == pvPrinterList                     ? PvGlyph("Printer")
                   : IsEnvelopePaper(PaperSizeFromName(name))      ? PvGlyph("Envelope")
                                                                   : PvGlyph("Paper");
      addItem(icon, platform::toQString(name));
      setItemData(count() - 1, QSize(0, itemHeight_), Qt::SizeHintRole);
      if (name == present) setCurrentIndex(count() - 1);
    }
  }
  filling_ = false;
}

void TPvPropertyComboBox::Choose(int index) {
  if (!preview_ || filling_ || index < 0 || index >= count()) return;
  const std::string name = platform::fromQString(itemText(index));
  if (property_ == pvPaperList) {
    preview_->SetPaperSize(PaperSizeFromName(name));
    return;
  }
  const auto printers = preview_->PvPrinter().Printers();
  for (size_t i = 0; i < printers.size(); ++i)
    if (printers[i] == name) preview_->PvPrinter().SetPrinterIndex(static_cast<int>(i));
}

void TPvPropertyComboBox::PreviewMessage(int message) {
  if (message == pvmPrinterChanged || message == pvmPaperSize) Refill();
}

void TPvPropertyComboBox::showPopup() {
  // The process's printer may have been chosen elsewhere (the printer set-up).
  if (property_ == pvPrinterList) Refill();
  TPvComboBox::showPopup();
}

}  // namespace vektrano::preview
