#include "windows/update_window.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/cp1250.h"
#include "platform/gui/application.h"
#include "platform/paths.h"
#include "transfer/program_swap.h"

namespace vektrano {

using platform::toQString;

QPointer<TForm15> Form15;

namespace {

std::function<void(const std::string&)>& pageOpener() {
  static std::function<void(const std::string&)> open = [](const std::string& url) {
    QDesktopServices::openUrl(QUrl(toQString(url)));
  };
  return open;
}

// A label shows line breaks, not CR LF pairs.
QString lines(const std::string& text) {
  QString q = toQString(text);
  q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return q;
}

}  // namespace

TForm15::TForm15(transfer::UpdateSetup setup, transfer::UpdateHooks hooks, QWidget* parent)
    : ToolWindow(15, PlacementValues::Full, WindowPlacement{10, 10, 300, 400, false}, parent) {
  setWindowTitle(toQString("VEKTRANO - Aktualizace pomocí internetu"));

  label1_ = new QLabel(toQString("Aktualizace programu VEKTRANO a jeho součástí..."), this);
  QFont bold = label1_->font();
  bold.setBold(true);
  label1_->setFont(bold);
  label2_ = new QLabel(toQString(transfer::kLabel2Start), this);
  QFont boldItalic = bold;
  boldItalic.setItalic(true);
  label2_->setFont(boldItalic);
  label2_->setWordWrap(true);

  grid_ = new QTableWidget(0, 4, this);
  grid_->setHorizontalHeaderLabels({QString(), toQString("soubor"), toQString("popis"), QString()});
  grid_->verticalHeader()->hide();
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->horizontalHeader()->setStretchLastSection(false);

  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  progress_->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: #00a000; }"));
  progress_->hide();
  button1_ = new QPushButton(toQString(transfer::kCaptionKontrola), this);
  statusBar_ = new QStatusBar(this);
  statusBar_->setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1_);
  layout->addWidget(label2_);
  layout->addWidget(grid_, 1);
  layout->addWidget(progress_);
  layout->addWidget(button1_);
  layout->addWidget(statusBar_);

  timer1_ = new QTimer(this);
  timer1_->setInterval(1000);

  aktualizace_ = std::make_unique<transfer::Aktualizace>(std::move(setup), std::move(hooks),
                                                         static_cast<transfer::UpdateUi&>(*this));

  connect(button1_, &QPushButton::clicked, this, &TForm15::Button1Click);
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { StringGrid1DblClick(row); });
  connect(timer1_, &QTimer::timeout, this, [this] { aktualizace_->Timer1Timer(); });
  layoutColumns();
}

TForm15::~TForm15() = default;

void TForm15::setPageOpener(std::function<void(const std::string&)> open) { pageOpener() = std::move(open); }

void TForm15::Button1Click() { aktualizace_->Button1Click(); }

void TForm15::StringGrid1DblClick(int row) { aktualizace_->StringGrid1DblClick(row); }

bool TForm15::queryClose() { return !aktualizace_->downloading(); }

void TForm15::resizeEvent(QResizeEvent* event) {
  ToolWindow::resizeEvent(event);
  layoutColumns();
}

void TForm15::layoutColumns() {
  grid_->setColumnWidth(0, 10);
  grid_->setColumnWidth(1, 110);
  grid_->setColumnWidth(2, std::max(0, width() - 160));
  grid_->setColumnWidth(3, 1);
}

void TForm15::rowsChanged() {
  const auto& rows = aktualizace_->rows();
  grid_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const transfer::UpdateRow& row = rows[r];
    const std::string cells[4] = {row.mark, row.soubor, row.popis, row.radek};
    for (int c = 0; c < 4; ++c) {
      QTableWidgetItem* item = grid_->item(r, c);
      if (!item) {
        item = new QTableWidgetItem;
        grid_->setItem(r, c, item);
      }
      item->setText(toQString(cells[c]));
    }
  }
}

void TForm15::selectRow(int index) { grid_->selectRow(index); }

void TForm15::setStatus(const std::string& text) { statusBar_->showMessage(toQString(text)); }

void TForm15::setProgress(int maximum, int position) {
  // A maximum of 0 would turn the bar into a busy indicator.
  if (maximum > 0) progress_->setMaximum(maximum);
  progress_->setValue(std::min(position, progress_->maximum()));
}

void TForm15::setProgressVisible(bool visible) { progress_->setVisible(visible); }

void TForm15::setButtonVisible(bool visible) { button1_->setVisible(visible); }

void TForm15::setButtonCaption(const std::string& caption) { button1_->setText(toQString(caption)); }

void TForm15::setInstruction(const std::string& text) { label2_->setText(lines(text)); }

void TForm15::focusButton() { button1_->setFocus(); }

void TForm15::setTimerRunning(bool on) {
  if (on)
    timer1_->start();
  else
    timer1_->stop();
}

void TForm15::setWindowVisible(bool visible) {
  if (!visible) {
    hide();
    return;
  }
  show();
  raise();
  activateWindow();
}

void TForm15::openPage(const std::string& url) {
  if (pageOpener()) pageOpener()(url);
}

void TForm15::closeWindow() { close(); }

transfer::UpdateSetup updateSetup(const std::string& mapFolder, const std::string& photoFolder) {
  transfer::UpdateSetup s;
  s.server = transfer::adresaServeru(transfer::updateSettingsKey());
  s.programFolder = platform::programFolder();
  s.programFile = platform::executablePath();
  s.mapFolder = mapFolder;
  s.photoFolder = photoFolder;
  s.replaceProgram = transfer::ProgramFileReplaceable(s.programFile);
  s.title = platform::applicationTitle();
  return s;
}

TForm15* openUpdateWindow(const std::string& mapFolder, const std::string& photoFolder,
                          transfer::UpdateHooks hooks, QWidget* parent) {
  return openToolWindow(Form15, updateSetup(mapFolder, photoFolder), std::move(hooks), parent);
}

}  // namespace vektrano
