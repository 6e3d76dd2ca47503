#include "windows/report_table_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "core/reference/report_table_file.h"
#include "platform/cp1250.h"
#include "platform/message.h"
#include "windows/base/grid_table_model.h"
#include "windows/base/list_window.h"

namespace vektrano {

using platform::toQString;

QPointer<TForm8> Form8;

namespace {
constexpr int kColWidth = 96;
}

TForm8::TForm8(std::string repPath, QWidget* parent)
    : ToolWindow(8, PlacementValues::PositionOnly, WindowPlacement{}, parent),
      path_(std::move(repPath)),
      grid_(2, kRadkuReportu + 1) {
  setWindowTitle(toQString("Deník ZR-4"));
  grid_.setFixedRows(1);
  grid_.setCell(0, 0, "km");
  grid_.setCell(0, 1, "report");

  model_ = new GridTableModel(grid_, true, this);
  model_->setEditable(true);
  view_ = new ListView(this);
  view_->setModel(model_);
  view_->horizontalHeader()->show();
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->setColumnWidth(0, kColWidth);
  view_->setColumnWidth(1, kColWidth);
  view_->setToolTip(
      toQString("V levém sloupci jsou vzdálenosti, v pravém pak odpovídající obvyklý report"));
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* labels = new QVBoxLayout;
  labels->addWidget(new QLabel(toQString("Tabulka pro automatické"), this));
  labels->addWidget(new QLabel(toQString("doplňování reportů"), this));
  labels->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(labels);
  layout->addWidget(view_);

  // Enter in the grid puts an edited distance in its place at once, also
  // when it ends the editing of a cell.
  connect(view_, &ListView::enterPressed, this, [this] { sortuj(); });
  connect(view_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
          [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            if (hint == QAbstractItemDelegate::SubmitModelCache)
              QTimer::singleShot(0, this, [this] { sortuj(); });
          });

  nactidata();
  sortuj();

  const int gridHeight = view_->horizontalHeader()->height() +
                         view_->verticalHeader()->length() + 2 * view_->frameWidth();
  view_->setFixedSize(2 * kColWidth + 2 * view_->frameWidth() + 20, gridHeight);
  setFixedSize(sizeHint());
}

// The model is a child and would outlive the grid it listens to.
TForm8::~TForm8() { delete model_; }

TabulkaReportu TForm8::tabulka() const {
  TabulkaReportu t;
  for (int i = 0; i < kRadkuReportu; ++i) t[i] = {grid_.cell(i + 1, 0), grid_.cell(i + 1, 1)};
  return t;
}

void TForm8::setTabulka(const TabulkaReportu& t) {
  for (int i = 0; i < kRadkuReportu; ++i) grid_.rows()[i + 1] = {t[i].km, t[i].report};
  grid_.notifyReset();
}

void TForm8::nactidata() {
  if (const auto t = nactiTabulkuReportu(path_)) setTabulka(*t);
}

void TForm8::sortuj() {
  view_->commitEditing();
  const QModelIndex current = view_->currentIndex();
  TabulkaReportu t = tabulka();
  sortujTabulkuReportu(t);
  if (t == tabulka()) return;
  setTabulka(t);
  if (current.isValid()) view_->setCurrentIndex(model_->index(current.row(), current.column()));
}

bool TForm8::ulozdata() {
  view_->commitEditing();
  return ulozTabulkuReportu(path_, tabulka()) == UlozeniReportu::Ulozeno;
}

bool TForm8::queryClose() {
  sortuj();
  view_->commitEditing();
  // Empty rows are dropped by the save. A distance that is no whole number
  // is to be put right, but the operator may also leave without saving: the
  // window must never hold the program's shut-down. A write error has been
  // reported and cannot be mended here. The file keeps its last good content.
  const TabulkaReportu t = tabulka();
  if (const auto bad = spatnaVzdalenost(t))
    return platform::askYesNo(zpravaSpatneVzdalenosti(t, *bad) +
                                  "\r\n\r\nZavřít tabulku bez uložení změn ?",
                              false, "Tabulka reportů");
  ulozTabulkuReportu(path_, t);
  return true;
}

TForm8* openForm8(const std::string& repPath, QWidget* parent) {
  return openToolWindow(Form8, repPath, parent);
}

}  // namespace vektrano
