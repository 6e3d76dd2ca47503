#include "windows/chart_windows.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QPieSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/cp1250.h"
#include "platform/message.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

QPointer<TForm9> Form9;
QPointer<TForm21> Form21;

namespace {

WindowPlacement defaults() {
  WindowPlacement p;
  p.top = 1;
  p.left = 1;
  return p;
}

void barvaOkna(QWidget* w) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, kNebeskaModra);
  w->setPalette(pal);
}

QChartView* novyGraf(QWidget* parent, QChart*& chart) {
  chart = new QChart;
  QFont f = chart->titleFont();
  f.setBold(true);
  chart->setTitleFont(f);
  auto* view = new QChartView(chart, parent);
  view->setObjectName(QStringLiteral("Chart1"));
  return view;
}

QPushButton* noveTlacitko(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(toQString(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}

void ulozGraf(QWidget* okno, QChartView* view, const ChartHooks& hooks, FormatObrazku format,
              const std::string& nazev) {
  const bool bmp = format == FormatObrazku::Bmp;
  DialogUlozeni d;
  d.slozka = hooks.dataFolder ? hooks.dataFolder() : "";
  d.nazev = nazev;
  d.pripona = bmp ? "bmp" : "jpg";
  d.filtr = bmp ? "Bitmap|*.bmp" : "JPG obrázek|*.jpg";
  const auto path = zvolUlozeni(okno, d);
  if (!path) return;
  const QImage img = obrazekGrafu(view);
  // The chart travels through the clipboard on its way to JPEG, and stays there.
  if (!bmp) QGuiApplication::clipboard()->setImage(img);
  if (ulozObrazek(img, *path, format)) otevriSoubor(*path);
}

// The colours of a series whose every point has its own.
const QColor kBarvyBodu[] = {Qt::red,        Qt::green,      Qt::yellow,   Qt::blue,
                             Qt::gray,       Qt::magenta,    QColor(0, 128, 128), Qt::darkBlue,
                             QColor(128, 0, 0), QColor(0, 255, 0), QColor(128, 128, 0),
                             QColor(128, 0, 128), Qt::lightGray, Qt::cyan,  Qt::black};

}  // namespace

QImage obrazekGrafu(QChartView* view) { return view->grab().toImage(); }

TForm9::TForm9(ChartHooks hooks, QWidget* parent)
    : ToolWindow(9, PlacementValues::PositionOnly, defaults(), parent, Qt::WindowStaysOnTopHint),
      hooks_(std::move(hooks)) {
  setWindowTitle(toQString("Graf četnosti spojení do jednotlivých velkých čtverců lokátorů"));
  barvaOkna(this);
  view_ = novyGraf(this, chart_);
  chart_->legend()->setVisible(true);
  QFont lf = chart_->legend()->font();
  lf.setBold(true);
  chart_->legend()->setFont(lf);
  chart_->legend()->setAlignment(Qt::AlignRight);
  series_ = new QPieSeries;
  series_->setObjectName(QStringLiteral("Series1"));
  chart_->addSeries(series_);
  view_->setFixedSize(640, 440);
  // The legend takes its room from the pie's: the pie is sized anew then.
  connect(chart_, &QChart::plotAreaChanged, this, [this] { vejdouSePopisy(); });
  BitBtn1 = noveTlacitko(this, "BitBtn1", "Uložit graf jako *.BMP obrázek");
  BitBtn2 = noveTlacitko(this, "BitBtn2", "Uložit graf jako *.JPG obrázek");
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

TForm9::~TForm9() = default;

void TForm9::vycisti() {
  chart_->setTitle(QString());
  series_->clear();
}

void TForm9::naplnit(const GrafCtvercu& g, const std::string& own) {
  own_ = own;
  // The title is rich text: its lines are escaped and joined by line breaks.
  QStringList lines;
  for (const std::string& line : g.titulek) lines << toQString(line).toHtmlEscaped();
  chart_->setTitle(lines.join(QStringLiteral("<br>")));
  for (const VysecGrafu& v : g.vysece) {
    QPieSlice* s = series_->append(toQString(v.popis), v.pocet);
    s->setLabelVisible(true);
  }
  vejdouSePopisy();
}

void TForm9::vejdouSePopisy() {
  // A slice's label stands beside the pie, past a gap and the arm (a share
  // of the radius), and is cut where it would leave the plot area, or
  // hidden above it. The pie is as large as the widest and the highest
  // label let it be, at most its usual size.
  constexpr qreal kObvykla = 0.7;
  constexpr qreal kMezera = 5 + 4;  // the gap to the arm, the text's margins
  const QRectF plocha = chart_->plotArea();
  if (plocha.isEmpty() || series_->count() == 0) return;
  qreal sirka = 0, vyska = 0, rameno = 0;
  for (const QPieSlice* s : series_->slices()) {
    const QFontMetricsF fm(s->labelFont());
    sirka = std::max(sirka, fm.horizontalAdvance(s->label()));
    vyska = std::max(vyska, fm.height());
    rameno = std::max(rameno, s->labelArmLengthFactor());
  }
  const qreal polomer = std::min(plocha.width() / 2 - sirka, plocha.height() / 2 - vyska) - kMezera;
  const qreal plny = std::min(plocha.width(), plocha.height()) / 2;
  series_->setPieSize(std::clamp(polomer / (1 + rameno) / plny, 0.1, kObvykla));
}

void TForm9::BitBtn1Click() { ulozGraf(this, view_, hooks_, FormatObrazku::Bmp, "Graf.bmp"); }
void TForm9::BitBtn2Click() { ulozGraf(this, view_, hooks_, FormatObrazku::Jpeg, "Graf_" + own_); }

TForm21::TForm21(ChartHooks hooks, QWidget* parent)
    : ToolWindow(21, PlacementValues::PositionOnly, defaults(), parent, Qt::WindowStaysOnTopHint),
      hooks_(std::move(hooks)) {
  setWindowTitle(toQString("Graf počtu spojení po jednotlivých hodinách za prvních max 24 hod"));
  barvaOkna(this);
  view_ = novyGraf(this, chart_);
  chart_->legend()->setVisible(false);
  view_->setMinimumSize(640, 400);
  BitBtn1 = noveTlacitko(this, "BitBtn1", "Uložit graf jako *.BMP obrázek");
  BitBtn2 = noveTlacitko(this, "BitBtn2", "Uložit graf jako *.JPG obrázek");
  connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
  auto check = [this](const char* name, const char* caption, bool on) {
    auto* c = new QCheckBox(toQString(caption), this);
    c->setObjectName(QString::fromLatin1(name));
    c->setChecked(on);
    connect(c, &QCheckBox::toggled, this, [this] { prekresli(); });
    return c;
  };
  CheckBox1 = check("CheckBox1", "Tvar grafu", false);
  CheckBox2 = check("CheckBox2", "Počty spojení", true);
  CheckBox3 = check("CheckBox3", "Barvy", true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  for (QCheckBox* c : {CheckBox1, CheckBox2, CheckBox3}) buttons->addWidget(c);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(buttons);
}

TForm21::~TForm21() = default;

void TForm21::vycisti() {
  chart_->setTitle(QString());
  body_.clear();
  prekresli();
}

void TForm21::naplnit(const GrafHodin& g, const std::string& own) {
  own_ = own;
  chart_->setTitle(toQString(g.titulek).toHtmlEscaped());
  body_ = g.body;
  prekresli();
}

std::vector<QAreaSeries*> TForm21::plochy() const {
  std::vector<QAreaSeries*> out;
  for (QAbstractSeries* s : chart_->series())
    if (auto* a = qobject_cast<QAreaSeries*>(s)) out.push_back(a);
  return out;
}

QStringList TForm21::popisyOsy() const { return axisX_ ? axisX_->categoriesLabels() : QStringList(); }

void TForm21::prekresli() {
  chart_->removeAllSeries();
  for (QAbstractAxis* a : chart_->axes()) {
    chart_->removeAxis(a);
    delete a;
  }
  marks_ = nullptr;
  axisX_ = nullptr;
  if (body_.empty()) return;

  const int n = static_cast<int>(body_.size());
  int max = 1;
  for (const BodGrafu& b : body_) max = std::max(max, b.pocet);
  axisX_ = new QCategoryAxis;
  axisX_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  for (int i = 0; i < n; ++i) axisX_->append(toQString(body_[static_cast<size_t>(i)].popis), i);
  axisX_->setRange(0, std::max(1, n - 1));
  auto* axisY = new QValueAxis;
  // Whole counts only, about ten ticks at most.
  axisY->setRange(0, max + 1);
  axisY->setTickType(QValueAxis::TicksDynamic);
  axisY->setTickAnchor(0);
  axisY->setTickInterval(std::max(1, (max + 10) / 10));
  axisY->setLabelFormat(QStringLiteral("%d"));
  chart_->addAxis(axisX_, Qt::AlignBottom);
  chart_->addAxis(axisY, Qt::AlignLeft);

  // One area from each point to the next: its own colour, and a flat top
  // for the stairs.
  const bool schody = CheckBox1->isChecked(), barvy = CheckBox3->isChecked();
  for (int i = 0; i + 1 < n; ++i) {
    const int v = body_[static_cast<size_t>(i)].pocet;
    const int dalsi = schody ? v : body_[static_cast<size_t>(i) + 1].pocet;
    auto* upper = new QLineSeries;
    upper->append(i, v);
    upper->append(i + 1, dalsi);
    auto* area = new QAreaSeries(upper);
    const QColor c = barvy ? kBarvyBodu[static_cast<size_t>(i) % std::size(kBarvyBodu)] : QColor(Qt::red);
    area->setColor(c);
    area->setBorderColor(c.darker(140));
    chart_->addSeries(area);
    area->attachAxis(axisX_);
    area->attachAxis(axisY);
  }
  marks_ = new QLineSeries;
  for (int i = 0; i < n; ++i) marks_->append(i, body_[static_cast<size_t>(i)].pocet);
  marks_->setPen(Qt::NoPen);
  marks_->setPointLabelsFormat(QStringLiteral("@yPoint"));
  marks_->setPointLabelsVisible(CheckBox2->isChecked());
  marks_->setPointLabelsClipping(false);
  chart_->addSeries(marks_);
  marks_->attachAxis(axisX_);
  marks_->attachAxis(axisY);
}

void TForm21::BitBtn1Click() {
  ulozGraf(this, view_, hooks_, FormatObrazku::Bmp, "Graf_time_" + own_ + ".bmp");
}
void TForm21::BitBtn2Click() {
  ulozGraf(this, view_, hooks_, FormatObrazku::Jpeg, "Graf_time_" + own_ + ".jpg");
}

TForm9* Spojendovelkchtverc1Click(const LogDocument& log, ChartHooks hooks, QWidget* parent) {
  const auto g = grafCtvercu(log);
  if (!g) {
    platform::showMessage(kMaloSpojeniCtverce);
    return Form9.data();
  }
  TForm9* w = openToolWindow(Form9, std::move(hooks), parent);
  w->vycisti();
  w->naplnit(*g, log.lokportable);
  return w;
}

TForm21* Potuspojenvzvislostinaasu1Click(const LogDocument& log, ChartHooks hooks,
                                         QWidget* parent) {
  const GrafHodin g = grafHodin(log);
  if (g.stav == GrafHodin::Stav::MaloSpojeni) {
    platform::showMessage(kMaloSpojeniHodiny);
    return Form21.data();
  }
  TForm21* w = openToolWindow(Form21, std::move(hooks), parent);
  w->vycisti();
  if (g.stav == GrafHodin::Stav::BezCasu) {
    platform::showMessage(kBezCasu);
    return w;
  }
  w->naplnit(g, log.lokportable);
  if (const std::string zprava = zpravaNeplatnychCasu(g); !zprava.empty())
    platform::showMessage(zprava);
  return w;
}

}  // namespace vektrano
