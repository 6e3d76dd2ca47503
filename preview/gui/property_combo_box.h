#pragma once
// The property combo box: lists the paper sizes or the installed printers
// of its preview, and chooses one.
#include <QPointer>
#include <functional>
#include <string>

#include "preview/gui/preview.h"

namespace vektrano::preview {

enum TPvComboPropertyType : std::uint8_t { pvPaperList, pvPrinterList };

class TPvPropertyComboBox : public TPvComboBox, public TPvPreviewListener {
  Q_OBJECT
 public:
  explicit TPvPropertyComboBox(QWidget* parent = nullptr);

  TPvPreview* Preview() const { return preview_; }
  void SetPreview(TPvPreview* preview);
  TPvComboPropertyType PreviewProperty() const { return property_; }
  void SetPreviewProperty(TPvComboPropertyType p);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int h);
  // Each item is offered before it is listed; false leaves it out.
  std::function<void(TPvPropertyComboBox&, const std::string& item, bool& add)> OnAddItem;

  // Fills the list anew, the present paper or printer chosen.
  void Refill();
  // As when the operator picks the item at index.
  void Choose(int index);

  void PreviewMessage(int message) override;
  QWidget* ListenerWidget() override { return this; }
  void PreviewDestroyed() override;

 protected:
  void showPopup() override;

 private:
  TPvPreviewLink preview_{*this};
  TPvComboPropertyType property_ = pvPrinterList;
  int itemHeight_ = 20;
  bool filling_ = false;
};

}  // namespace vektrano::preview
