// Painting of the log grid and the window side of the colour scheme: cell
// colours read from the delegate, one real paint into an image, the
// controls' palettes and the colour menu.
#include "app/log_grid_delegate.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTableView>

#include "core/log/log_statistics.h"
#include "windows/base/grid_table_model.h"

namespace vektrano {
namespace {

const BarevneSchema& defaultScheme() { return SablonyBarev()[0].schema; }

// Contacts: 1 plain, 2 the longest, 3 a duplicate, 4 both the longest and a
// duplicate.
LogDocument sampleLog() {
  LogDocument log;
  log.Denik.appendRow({"1", "12:00:00", "59", "OK1AB", "59", "JO70GQ", "40", ""});
  log.Denik.appendRow({"2", "12:01:00", "59", "OK1CD", "59", "JN89AA", "250", ""});
  log.Denik.appendRow({"3", "12:02:00", "59", "OK1EF .#_dupl_4", "59", "JO70AA", "12", ""});
  log.Denik.appendRow({"4", "12:03:00", "59", "OK1EF .#_dupl_3", "59", "JN89AA", "250", ""});
  prumer(log);
  return log;
}

struct PaintedLog {
  LogDocument log = sampleLog();
  GridTableModel model{log.Denik};
  QTableView view;
  DenikDelegate* delegate = nullptr;

  PaintedLog() {
    view.setModel(&model);
    delegate = installDenikPainting(view);
    delegate->setSchema(defaultScheme());
    delegate->setBarvyMrizky(barvyDeniku(defaultScheme()));
    delegate->naplanuj(log);
  }
};

TEST(LogDelegate, CellColoursFollowTheRuleOrder) {
  PaintedLog p;
  const BarevneSchema& s = defaultScheme();
  const StylBunky normal{s.BPOZ, s.BPDE};
  const StylBunky longest{s.BNJS, KontrastniBarva(s.BNJS)};
  const StylBunky duplicate{s.BDUP, KontrastniBarva(s.BDUP)};
  ASSERT_EQ(p.log.NejdelsiKm, 250);

  for (int c = 0; c < kLogColumns; ++c) {
    SCOPED_TRACE(c);
    EXPECT_EQ(p.delegate->cellStyle(0, c), (StylBunky{s.BPND, s.BPDE}));  // title row
    EXPECT_EQ(p.delegate->cellStyle(1, c), normal);
    EXPECT_EQ(p.delegate->cellStyle(2, c), longest);
    EXPECT_EQ(p.delegate->cellStyle(3, c), c == 0 ? normal : duplicate);
    EXPECT_EQ(p.delegate->cellStyle(4, c), c == 0 ? longest : duplicate);
  }
  EXPECT_EQ(p.delegate->cellStyle(1, 3, true), (StylBunky{clHighlight, clHighlightText}));
  EXPECT_EQ(p.delegate->cellStyle(3, 3, true), duplicate);

  // A new contact is plain until the next scan, then the longest.
  p.log.Denik.appendRow({"5", "12:04:00", "59", "OK1XY", "59", "JN00AA", "900", ""});
  prumer(p.log);
  EXPECT_EQ(p.delegate->cellStyle(5, 3), normal);
  EXPECT_EQ(p.delegate->cellStyle(2, 3), longest);
  p.delegate->naplanuj(p.log);
  EXPECT_EQ(p.delegate->cellStyle(5, 3), longest);
  EXPECT_EQ(p.delegate->cellStyle(2, 3), normal);
}

// Bounds of the pixels of colour c inside r.
QRect pixelsOf(const QImage& img, const QRect& r, const QColor& c) {
  QRect found;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (img.pixelColor(x, y) == c) found |= QRect(x, y, 1, 1);
  return found;
}

TEST(LogDelegate, PaintsBackgroundAndTextAtTheColumnsOffsets) {
  PaintedLog p;
  const BarevneSchema& s = defaultScheme();
  QImage img(300, 24, QImage::Format_RGB32);
  img.fill(Qt::gray);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(14);
  font.setStyleStrategy(QFont::NoAntialias);  // whole pixels in the text colour
  {
    QPainter painter(&img);
    QStyleOptionViewItem opt;
    opt.font = font;
    opt.palette = p.view.palette();
    opt.state = QStyle::State_Enabled;
    // Row 4 (model row 3), both longest and duplicate: number, call sign, km.
    const std::pair<int, QRect> cells[] = {
        {kColCislo, QRect(0, 0, 40, 20)},
        {kColVolacka, QRect(40, 0, 160, 20)},
        {kColKm, QRect(200, 0, 100, 20)},
    };
    for (const auto& [col, rect] : cells) {
      opt.rect = rect;
      p.delegate->paint(&painter, opt, p.model.index(3, col));
    }
  }
  const QColor longestBg = toQColor(s.BNJS), longestText = toQColor(KontrastniBarva(s.BNJS));
  const QColor dupBg = toQColor(s.BDUP), dupText = toQColor(KontrastniBarva(s.BDUP));
  EXPECT_EQ(img.pixelColor(0, 0), longestBg);
  EXPECT_EQ(img.pixelColor(40, 0), dupBg);
  EXPECT_EQ(img.pixelColor(299, 19), dupBg);
  EXPECT_EQ(img.pixelColor(150, 22), QColor(Qt::gray));  // nothing below the cells

  const QFontMetrics fm(font);
  // Number "4" centred in its 40 pixels.
  const QRect number = pixelsOf(img, QRect(0, 0, 40, 20), longestText);
  ASSERT_FALSE(number.isEmpty());
  EXPECT_NEAR(number.center().x(), 20, 3);
  // The call sign starts one pixel in, its top two pixels down.
  const QRect call = pixelsOf(img, QRect(40, 0, 160, 20), dupText);
  ASSERT_FALSE(call.isEmpty());
  EXPECT_LE(call.left(), 40 + 1 + 2);
  EXPECT_GE(call.left(), 40 + 1);
  EXPECT_GE(call.top(), 2);
  // "250" ends one pixel before the right edge of the km cell.
  const QRect km = pixelsOf(img, QRect(200, 0, 100, 20), dupText);
  ASSERT_FALSE(km.isEmpty());
  EXPECT_LE(km.right(), 298);
  EXPECT_GE(km.right(), 298 - 3);
  EXPECT_NEAR(km.width(), fm.horizontalAdvance(QStringLiteral("250")), 3);
}

// A cell's text is drawn pixel for pixel as QPainter::drawText draws it at
// the column's offset, the first time and when drawn again from its laid-out
// form; text that looks like markup stays text, a control character is
// drawn as drawText draws it, and another font lays the text out anew.
TEST(LogDelegate, CellTextsAreDrawnAsDrawTextDrawsThem) {
  PaintedLog p;
  const QString texts[] = {u"OK1ABC/p Žluťoučký kůň"_qs, QStringLiteral("<b>tučně</b> &amp;"),
                           QStringLiteral("59"), QStringLiteral("a\tb"), QStringLiteral("JN79US"),
                           QStringLiteral("1234"), QString()};
  const int cols[] = {kColCislo, kColCas, kColVolacka, kColLokator, kColKm};
  for (int pointSize : {10, 14}) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(pointSize);
    const QFontMetrics fm(font);
    for (const QString& text : texts)
      for (const int col : cols)
        for (int round = 0; round < 2; ++round) {
          SCOPED_TRACE(text.toStdString() + " col " + std::to_string(col) + " round " +
                       std::to_string(round));
          const QRect rect(0, 0, 120, 24);
          QImage shown(rect.size(), QImage::Format_RGB32), want(rect.size(), QImage::Format_RGB32);
          {
            QPainter painter(&shown);
            p.delegate->paintCell(painter, rect, 1, col, text, font, false, p.view.palette());
          }
          {
            const StylBunky s = p.delegate->cellStyle(1, col);
            QPainter painter(&want);
            painter.fillRect(rect, toQColor(s.pozadi));
            painter.setFont(font);
            painter.setPen(toQColor(s.pismo));
            const int x = PosunTextu(col, rect.width(), fm.horizontalAdvance(text), false);
            painter.drawText(QPoint(x, kOdsazeniShora + fm.ascent()), text);
          }
          EXPECT_EQ(shown, want);
        }
  }
}

TEST(LogDelegate, HeaderPaintsTheTitleRowInTheFixedColour) {
  PaintedLog p;
  p.view.resize(500, 200);
  const QImage img = p.view.grab().toImage();
  const QHeaderView* header = p.view.horizontalHeader();
  const int x = header->x() + 3, y = header->y() + header->height() / 2;
  EXPECT_EQ(img.pixelColor(x, y), toQColor(defaultScheme().BPND));
}

TEST(LogDelegate, NastavBarvyReachesTheControlsAndTheGrid) {
  QWidget form;
  auto* denik = new QTableView(&form);
  denik->setObjectName(QStringLiteral("Denik"));
  DenikDelegate* delegate = installDenikPainting(*denik);
  auto* label1 = new QLabel(&form);
  label1->setObjectName(QStringLiteral("Label1"));
  auto* vstup = new QLineEdit(&form);
  vstup->setObjectName(QStringLiteral("vstup"));

  const BarevneSchema wood = SablonyBarev()[3].schema;
  const BarvyOkna r = applyNastavBarvy(form, wood);  // controls missing here are skipped

  EXPECT_EQ(delegate->barvyMrizky(), barvyDeniku(wood));
  EXPECT_EQ(delegate->schema(), wood);
  EXPECT_EQ(form.palette().color(QPalette::Window), toQColor(wood.BPOV));
  EXPECT_EQ(label1->palette().color(QPalette::Window), toQColor(wood.BPOV));
  EXPECT_EQ(label1->palette().color(QPalette::WindowText), toQColor(wood.BVVZ));
  EXPECT_TRUE(label1->autoFillBackground());
  EXPECT_EQ(vstup->palette().color(QPalette::Base), toQColor(wood.BPOV));
  EXPECT_EQ(vstup->palette().color(QPalette::Text), toQColor(wood.BPVR));
  EXPECT_EQ(denik->palette().color(QPalette::Base), toQColor(wood.BPOZ));
  EXPECT_EQ(r.BarvaLabel1, wood.BVVZ);
  EXPECT_EQ(r.BarvaBliku, KontrastniBarva(wood.BVVZ));
}

TEST(LogDelegate, ColourMenuChangesOneColourOrTakesATemplate) {
  BarevneSchema current = defaultScheme();
  int applied = 0;
  std::optional<TColor> answer;
  TColor preset = 0;
  ColourMenuHooks hooks;
  hooks.current = [&] { return current; };
  hooks.apply = [&](const BarevneSchema& s) {
    current = s;
    ++applied;
  };
  hooks.chooseColour = [&](TColor c) {
    preset = c;
    return answer;
  };

  QMenu menu;
  const QList<QAction*> items = addColourItems(menu, nullptr, hooks);
  ASSERT_EQ(items.size(), 9);
  EXPECT_EQ(items[8]->objectName(), QStringLiteral("Barvapozadnejdelhospojen1"));
  EXPECT_EQ(items[8]->text(), QString::fromUtf8(u8"Barva pozadí nejdelšího spojení"));

  items[8]->trigger();  // cancelled
  EXPECT_EQ(preset, defaultScheme().BNJS);
  EXPECT_EQ(applied, 0);

  answer = 0x0000FF;
  items[8]->trigger();
  EXPECT_EQ(applied, 1);
  BarevneSchema want = defaultScheme();
  want.BNJS = 0x0000FF;
  EXPECT_EQ(current, want);

  QMenu templates(QString::fromUtf8(u8"Změnit barvy programu"));
  const QList<QAction*> t = addTemplateItems(templates, hooks);
  ASSERT_EQ(t.size(), 5);
  EXPECT_EQ(t[1]->objectName(), QStringLiteral("ablonaBW1"));
  EXPECT_EQ(t[1]->text(), QString::fromUtf8(u8"Šablona MONO"));
  t[1]->trigger();
  EXPECT_EQ(current, SablonyBarev()[1].schema);
  EXPECT_EQ(applied, 2);
}

TEST(LogDelegate, ColoursConvertFromBgr) {
  EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
  EXPECT_EQ(toQColor(0xF0CAA6), QColor(0xA6, 0xCA, 0xF0));
  EXPECT_EQ(fromQColor(QColor(1, 2, 3)), 0x030201u);
  EXPECT_EQ(toQColor(clWindow), QColor(255, 255, 255));
  QPalette pal;
  pal.setColor(QPalette::Highlight, QColor(10, 20, 30));
  EXPECT_EQ(toQColor(clHighlight, &pal), QColor(10, 20, 30));
}

}  // namespace
}  // namespace vektrano
