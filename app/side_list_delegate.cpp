#include "app/side_list_delegate.h"

#include <QPainter>

#include "app/log_grid_delegate.h"

namespace vektrano {

void SideListDelegate::setColours(TColor background, TColor text, TColor chosen) {
  background_ = background;
  text_ = text;
  chosen_ = chosen;
}

void SideListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const bool chosen = option.state & QStyle::State_Selected;
  painter->save();
  painter->fillRect(option.rect, toQColor(chosen ? chosen_ : background_));
  QFont f = option.font;
  f.setPointSize(2 * k_ + (chosen ? 11 : 10));
  painter->setFont(f);
  painter->setPen(toQColor(chosen ? KontrastniBarva(chosen_) : text_));
  const QRect text = option.rect.adjusted(2, 0, 0, 0);
  painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

}  // namespace vektrano
