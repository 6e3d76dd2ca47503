#pragma once
// The painting of the look-up lists `wvolacky` and `wmestacentr`
// (`DrawItem`): every line on the list background of the colour scheme in
// its text colour, 2 pixels from the left; the chosen line one point larger
// on the background of the longest contact, in its contrast colour.
#include <QStyledItemDelegate>

#include "core/session/colour_schemes.h"

namespace vektrano {

class SideListDelegate : public QStyledItemDelegate {
 public:
  explicit SideListDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

  // BPOV, BPVR and BNJS of the scheme, and the font factor k.
  void setColours(TColor background, TColor text, TColor chosen);
  void setFontFactor(int k) { k_ = k; }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  TColor background_ = 0x800000, text_ = 0xFFFFFF, chosen_ = 0x00FFFF;
  int k_ = 0;
};

}  // namespace vektrano
