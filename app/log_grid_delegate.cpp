#include "app/log_grid_delegate.h"

#include <QAction>
#include <QColorDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QTableView>
#include <algorithm>

#include "platform/cp1250.h"
#include "windows/base/grid_table_model.h"

namespace vektrano {
namespace {

QString objectName(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

QColor toQColor(TColor c, const QPalette* palette) {
  if (palette && isSystemColour(c)) {
    switch (c) {
      case clHighlight: return palette->color(QPalette::Highlight);
      case clHighlightText: return palette->color(QPalette::HighlightedText);
      case clWindow: return palette->color(QPalette::Base);
      case clWindowText: return palette->color(QPalette::Text);
      case clBtnFace: return palette->color(QPalette::Button);
      default: break;
    }
  }
  const TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor fromQColor(const QColor& c) {
  const QColor rgb = c.toRgb();
  return RGBColor(rgb.red(), rgb.green(), rgb.blue());
}

DenikDelegate::DenikDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void DenikDelegate::setSchema(const BarevneSchema& schema) {
  schema_ = schema;
  repaintView();
}

void DenikDelegate::setBarvyMrizky(const BarvyMrizky& barvy) {
  mrizka_ = barvy;
  repaintView();
}

void DenikDelegate::setPlan(PlanMalovani plan) {
  plan_ = std::move(plan);
  repaintView();
}

void DenikDelegate::naplanuj(const LogDocument& log) { setPlan(NaplanujMalovani(log)); }

void DenikDelegate::naplanujPoPridani(const LogDocument& log, std::uint64_t revizePredPridanim) {
  setPlan(DoplnMalovani(std::move(plan_), log, revizePredPridanim));
}

void DenikDelegate::repaintView() {
  auto* view = qobject_cast<QAbstractItemView*>(parent());
  if (!view) return;
  view->viewport()->update();
  if (auto* table = qobject_cast<QTableView*>(view)) table->horizontalHeader()->viewport()->update();
}

StylBunky DenikDelegate::cellStyle(int gridRow, int col, bool selected) const {
  const StavBunky stav = gridRow == 0 ? StavBunky::Pevna
                         : selected   ? StavBunky::Vybrana
                                      : StavBunky::Normalni;
  return StylBunkyDeniku(plan_, schema_, mrizka_, gridRow, col, stav);
}

void DenikDelegate::paintCell(QPainter& painter, const QRect& rect, int gridRow, int col,
                              const QString& text, const QFont& font, bool selected,
                              const QPalette& palette) const {
  const StylBunky s = cellStyle(gridRow, col, selected);
  painter.save();
  painter.setClipRect(rect, Qt::IntersectClip);
  painter.fillRect(rect, toQColor(s.pozadi, &palette));
  painter.setFont(font);
  painter.setPen(toQColor(s.pismo, &palette));
  const QFontMetrics fm(font);
  // A line break or another control character is drawn as drawText draws it.
  const bool plain = std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; });
  const LaidOut* laid = plain ? &laidOut(text, font) : nullptr;
  int width = 0;
  if (PosunTextuPodleSirky(col, plan_.doplndatum)) {
    if (!laid) {
      width = fm.horizontalAdvance(text);
    } else {
      if (laid->width < 0) laid->width = fm.horizontalAdvance(text);
      width = laid->width;
    }
  }
  const QPoint at(rect.left() + PosunTextu(col, rect.width(), width, plan_.doplndatum),
                  rect.top() + kOdsazeniShora);
  if (laid)
    painter.drawStaticText(at, laid->text);
  else
    painter.drawText(at + QPoint(0, fm.ascent()), text);
  painter.restore();
}

const DenikDelegate::LaidOut& DenikDelegate::laidOut(const QString& text, const QFont& font) const {
  // More fonts or more texts than a few screens show: laid out anew.
  constexpr size_t kFonts = 4;
  constexpr qsizetype kKept = 4096;
  auto in = std::find_if(laidOut_.begin(), laidOut_.end(),
                         [&](const LaidOutInFont& f) { return f.font == font; });
  if (in == laidOut_.end()) {
    if (laidOut_.size() >= kFonts) laidOut_.clear();
    laidOut_.push_back({font, {}});
    in = laidOut_.end() - 1;
  }
  QHash<QString, LaidOut>& texts = in->texts;
  if (texts.size() >= kKept) texts.clear();
  auto it = texts.find(text);
  if (it == texts.end()) {
    LaidOut t;
    t.text.setText(text);
    t.text.setTextFormat(Qt::PlainText);
    t.text.prepare(QTransform(), font);
    it = texts.insert(text, std::move(t));
  }
  return it.value();
}

void DenikDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
  int gridRow = index.row() + 1;
  if (const auto* m = qobject_cast<const GridTableModel*>(index.model()))
    gridRow = m->gridRow(index.row());
  const bool selected = option.state & QStyle::State_Selected;
  paintCell(*painter, option.rect, gridRow, index.column(), index.data(Qt::DisplayRole).toString(),
            option.font, selected, option.palette);
}

DenikHeader::DenikHeader(DenikDelegate* delegate, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), delegate_(delegate) {
  setSectionsClickable(true);
  setHighlightSections(false);
}

void DenikHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  if (!rect.isValid() || !model()) return;
  const QString text = model()->headerData(logicalIndex, orientation()).toString();
  delegate_->paintCell(*painter, rect, 0, logicalIndex, text, font(), false, palette());
  // The fixed cells keep their grid lines.
  painter->save();
  painter->setPen(palette().color(QPalette::Dark));
  painter->drawLine(rect.topRight(), rect.bottomRight());
  painter->drawLine(rect.bottomLeft(), rect.bottomRight());
  painter->restore();
}

DenikDelegate* installDenikPainting(QTableView& view) {
  auto* delegate = new DenikDelegate(&view);
  view.setItemDelegate(delegate);
  view.setHorizontalHeader(new DenikHeader(delegate, &view));
  return delegate;
}

BarvyOkna applyNastavBarvy(QWidget& form, const BarevneSchema& schema) {
  BarvyOkna barvy = NastavBarvy(schema);
  for (const BarvaOvladace& b : barvy.ovladace) {
    QWidget* w = b.ovladac == "Form1" ? &form : form.findChild<QWidget*>(objectName(b.ovladac));
    if (!w) continue;
    const QColor q = toQColor(b.barva);
    QPalette pal = w->palette();
    auto* table = qobject_cast<QTableView*>(w);
    DenikDelegate* delegate = table ? dynamic_cast<DenikDelegate*>(table->itemDelegate()) : nullptr;
    BarvyMrizky mrizka = delegate ? delegate->barvyMrizky() : BarvyMrizky{};
    switch (b.vlastnost) {
      case VlastnostBarvy::Pozadi:
        pal.setColor(QPalette::Window, q);
        // The form's Base would reach every child that keeps its own.
        if (w != &form) pal.setColor(QPalette::Base, q);
        if (auto* label = qobject_cast<QLabel*>(w)) label->setAutoFillBackground(true);
        mrizka.pozadi = b.barva;
        break;
      case VlastnostBarvy::Pismo:
        pal.setColor(QPalette::WindowText, q);
        pal.setColor(QPalette::Text, q);
        pal.setColor(QPalette::ButtonText, q);
        mrizka.pismo = b.barva;
        break;
      case VlastnostBarvy::PevneBunky:
        pal.setColor(QPalette::Button, q);
        mrizka.pevne = b.barva;
        break;
    }
    w->setPalette(pal);
    if (delegate) {
      delegate->setBarvyMrizky(mrizka);
      delegate->setSchema(schema);
    }
  }
  return barvy;
}

std::optional<TColor> ColorDialog1(QWidget* parent, TColor current) {
  const QColor c = QColorDialog::getColor(toQColor(current), parent);
  if (!c.isValid()) return std::nullopt;
  return fromQColor(c);
}

QList<QAction*> addColourItems(QMenu& menu, QWidget* dialogParent, const ColourMenuHooks& hooks) {
  QList<QAction*> out;
  for (const PolozkaBarvy& item : PolozkyBarev()) {
    QAction* a = menu.addAction(platform::toQString(item.titulek));
    a->setObjectName(objectName(item.jmeno));
    QObject::connect(a, &QAction::triggered, a, [hooks, dialogParent, member = item.barva] {
      BarevneSchema s = hooks.current();
      const std::optional<TColor> chosen =
          hooks.chooseColour ? hooks.chooseColour(s.*member) : ColorDialog1(dialogParent, s.*member);
      if (!chosen) return;
      s.*member = *chosen;
      hooks.apply(s);
    });
    out.push_back(a);
  }
  return out;
}

QList<QAction*> addTemplateItems(QMenu& menu, const ColourMenuHooks& hooks) {
  QList<QAction*> out;
  for (const SablonaBarev& t : SablonyBarev()) {
    QAction* a = menu.addAction(platform::toQString(t.titulek));
    a->setObjectName(objectName(t.jmeno));
    QObject::connect(a, &QAction::triggered, a, [hooks, schema = t.schema] { hooks.apply(schema); });
    out.push_back(a);
  }
  return out;
}

}  // namespace vektrano
