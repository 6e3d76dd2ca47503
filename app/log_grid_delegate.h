#pragma once
// Painting of the log grid `Denik` in the colour scheme, and the window side
// of the scheme: the controls' colours (`NastavBarvy`) and the colour menu.
// The colour decisions live in core/session/colour_schemes.h; this file only converts TColor
// values and draws. cellStyle() gives a cell's colours without painting.
#include <QColor>
#include <QHash>
#include <QHeaderView>
#include <QList>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <functional>
#include <optional>
#include <vector>

#include "core/session/colour_schemes.h"

class QAction;
class QMenu;
class QPalette;
class QTableView;

namespace vektrano {

// TColor ($00BBGGRR) to a painter colour. A system colour constant takes the
// palette's role when a palette is given (clHighlight -> Highlight,
// clHighlightText -> HighlightedText, clWindow -> Base, clWindowText ->
// Text, clBtnFace -> Button), else its default RGB.
QColor toQColor(TColor c, const QPalette* palette = nullptr);
TColor fromQColor(const QColor& c);

// Paints the cells of a view over a GridTableModel of the log (grid row 0 the
// header, model row r grid row r + 1); a view over another model is taken as
// showing grid row r + 1 at model row r as well.
class DenikDelegate : public QStyledItemDelegate {
 public:
  explicit DenikDelegate(QObject* parent = nullptr);

  // The grid's own colours (`barvyDeniku` of the scheme, or the editing
  // colours) and the scheme for the special rows.
  void setSchema(const BarevneSchema& schema);
  const BarevneSchema& schema() const { return schema_; }
  void setBarvyMrizky(const BarvyMrizky& barvy);
  const BarvyMrizky& barvyMrizky() const { return mrizka_; }

  // The plan of the last scan; the view is repainted.
  void setPlan(PlanMalovani plan);
  const PlanMalovani& plan() const { return plan_; }
  // setPlan(NaplanujMalovani(log)).
  void naplanuj(const LogDocument& log);
  // After a contact was stored: setPlan(DoplnMalovani(plan(), log, ...)).
  void naplanujPoPridani(const LogDocument& log, std::uint64_t revizePredPridanim);

  // Colours of grid cell (row, col): row 0 is the title row (fixed cells).
  StylBunky cellStyle(int gridRow, int col, bool selected = false) const;

  // Fills rect with the cell's background and draws text at the cell's
  // offsets, clipped to the cell. The header paints its titles this way too.
  void paintCell(QPainter& painter, const QRect& rect, int gridRow, int col, const QString& text,
                 const QFont& font, bool selected, const QPalette& palette) const;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  void repaintView();
  // A cell's text laid out once: the grid shows the same last contacts
  // again after every contact stored (it was hidden behind the look-up
  // lists while the line was typed), and laying out each text anew was most
  // of that paint. Drawn exactly as QPainter::drawText draws the text.
  struct LaidOut {
    QStaticText text;
    mutable int width = -1;  // horizontalAdvance, once asked for
  };
  const LaidOut& laidOut(const QString& text, const QFont& font) const;

  BarevneSchema schema_;
  BarvyMrizky mrizka_;
  PlanMalovani plan_;
  // Per font: the header's and the cells' may differ.
  struct LaidOutInFont {
    QFont font;
    QHash<QString, LaidOut> texts;
  };
  mutable std::vector<LaidOutInFont> laidOut_;
};

// The title row of `Denik`, painted as the grid's fixed cells by the delegate.
class DenikHeader : public QHeaderView {
 public:
  explicit DenikHeader(DenikDelegate* delegate, QWidget* parent = nullptr);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  DenikDelegate* delegate_;
};

// Puts a DenikDelegate and a DenikHeader on view (both owned by it) and
// returns the delegate.
DenikDelegate* installDenikPainting(QTableView& view);

// `NastavBarvy` on a window: each control of the result is found by object
// name among form's children ("Form1" is form itself, the main window's
// client area, so that its menu bar and status bar keep the desktop's
// colours; a missing control is
// skipped). Background sets the Window and Base roles (a label fills its
// background; the form itself only Window), font the WindowText, Text and
// ButtonText roles. The grid `Denik` also hands its colours and the scheme
// to its DenikDelegate. Returns the result, whose BarvaLabel1 and BarvaBliku
// drive the blink.
BarvyOkna applyNastavBarvy(QWidget& form, const BarevneSchema& schema);

// `ColorDialog1`: the colour dialog preset to current; empty on cancel.
std::optional<TColor> ColorDialog1(QWidget* parent, TColor current);

// The scheme as the menu reads and changes it. apply gets the new scheme
// (store it and run `NastavBarvy`); it is not called on cancel.
struct ColourMenuHooks {
  std::function<BarevneSchema()> current;
  std::function<void(const BarevneSchema&)> apply;
  // Picks a colour, empty on cancel; ColorDialog1 when not set.
  std::function<std::optional<TColor>(TColor)> chooseColour;
};

// Adds the nine user items to menu (object names and captions of
// PolozkyBarev) and returns them.
QList<QAction*> addColourItems(QMenu& menu, QWidget* dialogParent, const ColourMenuHooks& hooks);
// Adds the five templates to menu (meant to be the one captioned
// kMenuZmenitBarvy) and returns them.
QList<QAction*> addTemplateItems(QMenu& menu, const ColourMenuHooks& hooks);

}  // namespace vektrano
