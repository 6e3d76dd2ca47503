#include "viewer/gui/palomir_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "viewer/association.h"
#include "viewer/handover.h"
#include "viewer/log_view.h"
#include "viewer/settings.h"
#include "viewer/status_pad.h"
#include "windows/base/grid_table_model.h"

namespace vektrano::palomir {
namespace {

using platform::fromQString;
using platform::toQString;

constexpr int kRowHeight = 18;

// Cells: background, then the text 2 pixels below the top; call sign and
// note 1 pixel from the left, km 1 pixel from the right, the rest centred.
class CellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(opt.rect, selected ? opt.palette.highlight() : opt.palette.base());
    painter->setPen(selected ? opt.palette.color(QPalette::HighlightedText)
                             : opt.palette.color(QPalette::Text));
    painter->setFont(opt.font);
    painter->setClipRect(opt.rect);
    const QFontMetrics fm(opt.font);
    const int w = fm.horizontalAdvance(opt.text);
    int x = opt.rect.left();
    switch (index.column()) {
      case 3:
      case 7:
        x += 1;
        break;
      case 6:
        x += opt.rect.width() - 1 - w;
        break;
      default:
        x += static_cast<int>(std::nearbyint((opt.rect.width() - w) / 2.0));
    }
    painter->drawText(x, opt.rect.top() + 2 + fm.ascent(), opt.text);
    painter->restore();
  }
};

QFont boldFont(const char* family) {
  QFont f(QString::fromLatin1(family));
  f.setBold(true);
  return f;
}

std::filesystem::path programFsPath() {
  return std::filesystem::path(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
}

std::string programPath() { return platform::fromFsPath(programFsPath()); }

std::string folderOf(const std::string& path) {
  const auto sep = path.find_last_of("/\\");
  if (sep == std::string::npos) return {};
  return sep == 0 ? path.substr(0, 1) : path.substr(0, sep);
}

// How long a shown window waits for its first activation before its
// description list opens without it.
constexpr int kListWithoutActivationMs = 1500;

}  // namespace

TForm1::TForm1(const QStringList& arguments, QWidget* parent)
    : QMainWindow(parent), grid_(kColumns, 1) {
  setMinimumSize(600, 400);
  resize(780, 560);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* top = new QHBoxLayout;

  Lokportable = new QLabel(toQString("AA00AA"), central);
  Lokportable->setFont(boldFont("Arial"));
  QPalette red = Lokportable->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  Lokportable->setPalette(red);
  Lokportable->setContextMenuPolicy(Qt::CustomContextMenu);
  top->addWidget(Lokportable);

  ComboBox1 = new QComboBox(central);
  ComboBox1->setMaxVisibleItems(13);
  ComboBox1->setFont(boldFont("Courier New"));
  QPalette navy = ComboBox1->palette();
  navy.setColor(QPalette::Text, QColor(0, 0, 128));
  navy.setColor(QPalette::ButtonText, QColor(0, 0, 128));
  ComboBox1->setPalette(navy);
  top->addWidget(ComboBox1, 1);
  layout->addLayout(top);

  grid_.setRow(0, gridTitles());
  grid_.setFixedRows(1);
  model_ = new GridTableModel(grid_, true, this);
  StringGrid1 = new QTableView(central);
  StringGrid1->setModel(model_);
  StringGrid1->setFont(boldFont("Arial"));
  StringGrid1->setItemDelegate(new CellDelegate(StringGrid1));
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->verticalHeader()->setMinimumSectionSize(kRowHeight);
  StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
  StringGrid1->horizontalHeader()->setHighlightSections(false);
  // The report columns are 25 pixels, narrower than the style's minimum.
  StringGrid1->horizontalHeader()->setMinimumSectionSize(0);
  layout->addWidget(StringGrid1, 1);

  ComboBox2 = new QComboBox(central);
  ComboBox2->setFont(boldFont("Arial"));
  // activated: the user's choice only, never a choice the program makes.
  connect(ComboBox2, &QComboBox::activated, this, [this](int i) { ComboBox2Change(i); });
  layout->addWidget(ComboBox2);
  setCentralWidget(central);

  StatusBar1 = new QLabel(statusBar());
  statusBar()->addWidget(StatusBar1, 1);

  auto* bar = menuBar();
  auto divider = [bar] { bar->addAction(QStringLiteral("|"))->setEnabled(false); };
  Otevt1 = bar->addAction(toQString("Otevřít deník *.qvl"));
  divider();
  N3 = bar->addAction(toQString("Znovunačtení deníku"));
  divider();
  OtevttytodatavprogramuVEKTRANO1 = bar->addAction(toQString("Otevřít tyto data v programu VEKTRANO"));
  divider();
  Zjistiduplicity1 = bar->addAction(toQString("Zjisti duplicity"));

  connect(Otevt1, &QAction::triggered, this, [this] {
    FreezeON();
    openfajlik();
    FreezeOFF();
  });
  connect(N3, &QAction::triggered, this, [this] {
    FreezeON();
    // Reading empties the duplicate list: it is searched again, as opening
    // does, not left empty until the next activation.
    if (fileName_.empty())
      openfajlik();
    else if (nactidata(fileName_))
      DotazNaDuply();
    FreezeOFF();
  });
  connect(OtevttytodatavprogramuVEKTRANO1, &QAction::triggered, this, [this] { RunVektrano(); });
  connect(Zjistiduplicity1, &QAction::triggered, this, [this] {
    FreezeON();
    HledejDuply();
    FreezeOFF();
  });

  PopupMenu1 = new QMenu(this);
  ZobrazitcestukprogramuVEKTRANO1 = PopupMenu1->addAction(toQString("Zobrazit cestu k programu VEKTRANO"));
  connect(ZobrazitcestukprogramuVEKTRANO1, &QAction::triggered, this,
          [this] { ZobrazitcestukprogramuVEKTRANO1Click(); });
  connect(Lokportable, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    if (Lokportable->isEnabled()) asDialog([&] { return PopupMenu1->exec(Lokportable->mapToGlobal(p)); });
  });

  // Key preview: Esc is seen before the control with the focus.
  qApp->installEventFilter(this);

  chooseFile_ = [this]() -> std::optional<std::string> {
    const QString f = QFileDialog::getOpenFileName(
        this, QString(), QFile::decodeName(platform::fsPath(openFolder()).c_str()),
        toQString("Soubor programu VEKTRANO (*.qvl)"));
    if (f.isEmpty()) return std::nullopt;
    return platform::pathFromQString(f);
  };
  editText_ = [this](const std::string& text) -> std::optional<std::string> {
    bool ok = false;
    const QString t = QInputDialog::getText(this, toQString("Pomůcka (OK = otevření v text. editoru)"),
                                            toQString("Pomocí CTRL+C si obsah uložíš do schránky."),
                                            QLineEdit::Normal, toQString(text), &ok);
    if (!ok) return std::nullopt;
    return fromQString(t);
  };
  openFile_ = [](const std::string& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(platform::fsPath(path).c_str())));
  };

  FormCreate(arguments);
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  delete model_;
  model_ = nullptr;
}

void TForm1::FormCreate(const QStringList& arguments) {
  setCaption(kPalomirCaption);
  platform::setApplicationTitle(kAppTitle);
  fileName_.clear();
  fileApp_ = vektranoFolder(readFileApp(), platform::executableFolder());

  const PalomirSettings s = readSettings();
  if (s.top || s.left) move(s.left.value_or(x()), s.top.value_or(y()));
  if (s.height || s.width) resize(s.width.value_or(width()), s.height.value_or(height()));
  associated_ = s.associated.value_or(false);
  startMaximized_ = s.maximized.value_or(false);

  // Until a regular close has stored that it is done.
  if (!associated_) associated_ = Registrace_Pripony(programFsPath());

  if (!arguments.isEmpty()) {
    fileName_ = platform::pathFromQString(arguments.front());
    if (!hasLogExtension(fileName_))
      message("Soubor : " + platform::pathText(fileName_) + " nemá příponu .qvl");
    else
      nactidata(fileName_);
  }
  setCaption(kPalomirCaption);
}

void TForm1::showAsStored() {
  if (startMaximized_)
    showMaximized();
  else
    show();
}

std::string TForm1::openFolder() const {
  // As the system's open dialog remembers the folder last chosen.
  return shownFolder_.empty() ? platform::executableFolder() : shownFolder_;
}

std::string TForm1::statusText() const { return fromQString(StatusBar1->text()); }

void TForm1::setCaption(const std::string& text) { setWindowTitle(toQString(text)); }

void TForm1::setStatus(const std::string& text) { StatusBar1->setText(toQString(text)); }

void TForm1::pump() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void TForm1::message(const std::string& text) {
  asDialog([&] {
    platform::showMessage(text);
    return 0;
  });
}

bool TForm1::ask(const std::string& text) {
  // The viewer's one question is an information box with Yes and No.
  return asDialog(
      [&] { return platform::askYesNo(text, true, {}, platform::QuestionIcon::Information); });
}

bool TForm1::nactidata(const std::string& file) {
  ComboBox1->hidePopup();
  pump();
  const QString shownStatus = StatusBar1->text();
  setStatus("Čekej prosím, načítám data ...");
  pump();

  // The old description file may be reported as missing.
  std::string reason;
  auto view = asDialog([&] { return palomir::nactidata(file, &reason); });
  if (!view) {
    // The log shown stays, under its own name.
    StatusBar1->setText(shownStatus);
    message(unreadableLogMessage(file, reason));
    return false;
  }
  ComboBox1->clear();
  descriptionFound_ = false;
  setCaption(platform::pathText(file));
  platform::setApplicationTitle("ZR4: " + platform::pathText(fileNameOnly(file)));
  shownFolder_ = folderOf(file);

  // A new log: the duplicates of the previous one no longer apply.
  ComboBox2->clear();
  duplicates_.clear();

  grid_ = view->grid;
  FormResize();
  if (view->ownLocator) Lokportable->setText(toQString(*view->ownLocator));
  contacts_ = view->contacts;
  descriptionFound_ = view->descriptionFound;
  for (const auto& line : view->description) ComboBox1->addItem(toQString(line));
  setStatus(statusLine(*view));
  if (ComboBox1->count() > 0) ComboBox1->setCurrentIndex(0);
  if (descriptionFound_ && ComboBox1->count() > 0) showDescriptionList();
  return true;
}

void TForm1::showDescriptionList() {
  // A list opened before the window is on screen and active would stand at
  // the screen's corner, and would keep the window from being activated,
  // so the first activation (and its duplicate search) would never come:
  // it opens once the window has been activated. In an active window it
  // opens once the reading is over, after the duplicate question that may
  // follow it.
  popupPending_ = true;
  if (isVisible() && isActiveWindow()) QTimer::singleShot(0, this, [this] { openPendingList(); });
}

void TForm1::openPendingList() {
  // Never over a question or a search: the list would cover the question
  // and take its keys. It opens when they are done.
  if (!popupPending_ || gate_.inDialog() || gate_.busy() || searching_) return;
  popupPending_ = false;
  if (ComboBox1->count() > 0 && isVisible()) ComboBox1->showPopup();
}

void TForm1::openfajlik() {
  const auto chosen = asDialog([&] { return chooseFile_ ? chooseFile_() : std::nullopt; });
  if (!chosen) return;
  // A file that cannot be read leaves the log shown as it was.
  if (!nactidata(*chosen)) return;
  fileName_ = *chosen;
  DotazNaDuply();
}

void TForm1::DotazNaDuply() {
  if (searching_) return;  // a running search never starts a nested one
  searchedOnce_ = true;
  if (!needsDuplicateQuestion(contacts_) || ask(kDuplicateQuestion)) {
    Zjistiduplicity1->setEnabled(false);
    HledejDuply();
    Zjistiduplicity1->setEnabled(freezeDepth_ == 0);
  }
  setCaption(platform::pathText(fileName_) + " | Palomir " + kVerze);
  if (popupPending_) QTimer::singleShot(0, this, [this] { openPendingList(); });
}

void TForm1::HledejDuply() {
  if (searching_) return;
  searching_ = true;
  // The countdown in the caption, at most every 50 ms: a search of a long
  // log takes less time than showing every step would.
  QElapsedTimer shown;
  const auto list = palomir::HledejDuply(grid_, contacts_, [&](int remaining) {
    if (shown.isValid() && shown.elapsed() < 50 && remaining > 1) return;
    setCaption(remainingCaption(remaining));
    pump();
    shown.start();
  });
  searching_ = false;
  if (!list) return;
  fillDuplicates(*list);
  setCaption(platform::pathText(fileName_) + " | Palomir " + kVerze);
  if (closePending_) QTimer::singleShot(0, this, &QWidget::close);
}

void TForm1::fillDuplicates(const DuplicateList& list) {
  duplicates_ = list.items;
  ComboBox2->clear();
  for (const auto& item : duplicates_) ComboBox2->addItem(toQString(item.text));
  ComboBox2->setCurrentIndex(list.selected);
}

void TForm1::ComboBox2Change(int index) {
  if (index < 0 || index >= static_cast<int>(duplicates_.size())) return;
  const int row = duplicateTargetRow(duplicates_[static_cast<size_t>(index)]);
  if (row >= grid_.rowCount()) return;
  const QModelIndex i = model_->index(model_->modelRow(row), 0);
  StringGrid1->scrollTo(i, QAbstractItemView::PositionAtTop);
  StringGrid1->setCurrentIndex(i);
  StringGrid1->selectRow(i.row());
}

void TForm1::RunVektrano() {
  FreezeON();
  if (fileName_.empty()) {
    // Nothing to hand over: the open dialog instead.
    openfajlik();
  } else {
    switch (palomir::RunVektrano(fileApp_, fileName_)) {
      case HandOver::Started:
        break;
      case HandOver::NotFound:
        message(vektranoNotFoundMessage());
        break;
      case HandOver::NotStarted:
        message(vektranoNotStartedMessage(vektranoProgram(fileApp_)));
        break;
    }
  }
  FreezeOFF();
  // The viewer closes after a hand-over, whatever happened.
  close();
}

void TForm1::StatusBar1DblClick() {
  const auto text = asDialog([&] { return editText_ ? editText_(statusText()) : std::nullopt; });
  if (!text) return;
  // Named like the program, in the program folder: an installed program's
  // own folder is no place for it.
  const std::string path = statusPadPath(
      platform::joinPath(platform::programFolder(), platform::fromFsPath(programFsPath().filename())));
  bool written = asDialog([&] { return writeStatusPad(path, *text); });
  if (written && openFile_) openFile_(path);
}

void TForm1::ZobrazitcestukprogramuVEKTRANO1Click() { message(vektranoPathReport(fileApp_)); }

void TForm1::FreezeON() {
  if (freezeDepth_++ > 0) return;
  gate_.setBusy(true);
  for (QAction* a : {Otevt1, N3, OtevttytodatavprogramuVEKTRANO1, Zjistiduplicity1}) a->setEnabled(false);
  Lokportable->setEnabled(false);
  statusBar()->setEnabled(false);
}

void TForm1::FreezeOFF() {
  if (freezeDepth_ == 0 || --freezeDepth_ > 0) return;
  gate_.setBusy(false);
  for (QAction* a : {Otevt1, N3, OtevttytodatavprogramuVEKTRANO1, Zjistiduplicity1}) a->setEnabled(true);
  Lokportable->setEnabled(true);
  statusBar()->setEnabled(true);
  if (closePending_) QTimer::singleShot(0, this, &QWidget::close);
}

void TForm1::FormActivate() {
  if (gate_.activated() && !searching_) DotazNaDuply();
}

void TForm1::FormResize() {
  grid_.setRow(0, gridTitles());
  const int widths[kColumns] = {35, 130, 25, std::max(40, StringGrid1->width() - 412), 25, 66, 40, 60};
  for (int c = 0; c < kColumns; ++c) grid_.setColWidth(c, widths[c]);
  applyColumnWidths(*StringGrid1, grid_);
}

bool TForm1::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    const bool r = QMainWindow::event(e);
    FormActivate();
    if (popupPending_) QTimer::singleShot(0, this, [this] { openPendingList(); });
    return r;
  }
  if (e->type() == QEvent::WindowDeactivate) gate_.deactivated();
  return QMainWindow::event(e);
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  const auto type = e->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() != Qt::Key_Escape || !watched->isWidgetType()) return false;
    QWidget* w = static_cast<QWidget*>(watched);
    const bool popupOpen = ComboBox1->view()->isVisible();
    const bool mine = w->window() == this || (popupOpen && w->window() == ComboBox1->view()->window());
    if (!mine) return false;
    if (type == QEvent::KeyPress) {
      if (key->isAutoRepeat()) return popupOpen;
      // With the list open the key closes the list only; the window closes
      // on the release of an Esc pressed on the bare window, never on the
      // release of one that a list or a dialog took.
      escOnWindow_ = !popupOpen && !gate_.inDialog();
      if (popupOpen) {
        ComboBox1->hidePopup();
        return true;
      }
      return false;
    }
    if (key->isAutoRepeat()) return true;
    const bool pressedHere = escOnWindow_;
    escOnWindow_ = false;
    if (gate_.inDialog()) return false;
    if (pressedHere) close();
    return true;
  }
  // The call-sign column takes what the grid's own width leaves.
  if (type == QEvent::Resize && watched == StringGrid1) {
    FormResize();
    return false;
  }
  if (type == QEvent::MouseButtonDblClick) {
    if (watched == Lokportable && Lokportable->isEnabled()) {
      RunVektrano();
      return true;
    }
    if ((watched == StatusBar1 || watched == statusBar()) && statusBar()->isEnabled()) {
      StatusBar1DblClick();
      return true;
    }
  }
  return false;
}

void TForm1::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  FormResize();
}

void TForm1::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!popupPending_) return;
  if (isActiveWindow()) {
    QTimer::singleShot(0, this, [this] { openPendingList(); });
    return;
  }
  // Where no activation comes (no window manager gives the focus), the
  // list opens all the same, after the search the activation would run.
  QTimer::singleShot(kListWithoutActivationMs, this, [this] {
    if (!popupPending_) return;
    if (!searchedOnce_) DotazNaDuply();
    openPendingList();
  });
}

void TForm1::closeEvent(QCloseEvent* e) {
  if (gate_.busy() || searching_) {
    // Closing in the middle of a reading or a search: once it is done.
    closePending_ = true;
    e->ignore();
    return;
  }
  WindowPlacement p;
  const QRect g = isMaximized() ? normalGeometry() : QRect(pos(), size());
  p.top = g.top();
  p.left = g.left();
  p.height = g.height();
  p.width = g.width();
  p.maximized = isMaximized();
  // Associated only once the association was really registered.
  writeSettings(p, associated_);
  e->accept();
}

}  // namespace vektrano::palomir
