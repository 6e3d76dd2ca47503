#include "windows/calling_sender_window.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSoundEffect>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

#include "core/reference/indexes.h"
#include "core/session/option_commands.h"
#include "core/session/startup.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "windows/base/contact_effects.h"

namespace vektrano {

using platform::toQString;

QPointer<TForm17> Form17;

namespace {

// How often the time left of a playing is shown.
constexpr int kPlayStepMs = 50;

// The status line while a recording plays.
std::string zbyvaMilisec(std::int64_t zbyva) {
  return " Ještě zbývá milisec : " + std::to_string(zbyva);
}

QString fsName(const std::string& path) {
  return platform::pathToQString(platform::fromFsPath(platform::fsPath(path)));
}

class QtWavePlayer : public WavePlayer {
 public:
  int outputDevices() const override { return Efekt::waveOutputDevices(); }
  void play(const std::string& path) override {
    if (!sound_) sound_ = std::make_unique<QSoundEffect>();
    sound_->setSource(QUrl::fromLocalFile(fsName(path)));
    sound_->play();
  }
  void stop() override {
    if (sound_) sound_->stop();
  }

 private:
  std::unique_ptr<QSoundEffect> sound_;
};

}  // namespace

std::unique_ptr<WavePlayer> makeWavePlayer() { return std::make_unique<QtWavePlayer>(); }

TForm17::TForm17(QWidget* parent, Hooks hooks)
    : ToolWindow(17, PlacementValues::PositionOnly, WindowPlacement{}, parent),
      hooks_(std::move(hooks)) {
  if (!hooks_.player) hooks_.player = makeWavePlayer();
  if (!hooks_.now) hooks_.now = [] { return tickCount(); };
  setWindowTitle(toQString("Dávač výzvy"));

  trackBar1_ = new QSlider(Qt::Horizontal, this);
  trackBar1_->setRange(kVyzvaMinInterval, kVyzvaMaxInterval);
  trackBar1_->setValue(kVyzvaMinInterval);
  trackBar1_->setTickPosition(QSlider::TicksBelow);
  label2_ = new QLabel(this);
  QFont big(QStringLiteral("Arial"));
  big.setPixelSize(132);
  big.setBold(true);
  label2_->setFont(big);
  label2_->setAlignment(Qt::AlignCenter);
  setLabel2Colour(false);
  label1_ = new QLabel(this);
  label1_->setCursor(Qt::PointingHandCursor);
  label1_->installEventFilter(this);
  bitBtn1_ = new QPushButton(this);
  statusBar1_ = new QStatusBar(this);
  statusBar1_->setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(trackBar1_);
  layout->addWidget(label2_);
  layout->addWidget(label1_);
  layout->addWidget(bitBtn1_);
  layout->addWidget(statusBar1_);

  timer17_ = new QTimer(this);
  timer17_->setInterval(kVyzvaTickMs);
  playTimer_ = new QTimer(this);
  playTimer_->setInterval(kPlayStepMs);

  const NastaveniVyzvy n = nactiNastaveniVyzvy(settingsKey());
  davac_.setInterval(n.cas);
  trackBar1_->setValue(davac_.interval());
  label2_->setNum(davac_.interval());
  waveFile_ = n.WaveFileName;
  if (waveFile_.empty()) waveFile_ = platform::dataFile(platform::programFolder(), ".wav");
  label1_->setText(toQString(Label1set(platform::pathText(waveFile_))));
  setButtonRunning(false);

  connect(trackBar1_, &QSlider::valueChanged, this, &TForm17::TrackBar1Change);
  connect(bitBtn1_, &QPushButton::clicked, this, &TForm17::BitBtn1Click);
  connect(timer17_, &QTimer::timeout, this, &TForm17::Timer17Timer);
  connect(playTimer_, &QTimer::timeout, this, &TForm17::hrejKrok);

  // As wide as the longest countdown in its large font and the time left
  // of a playing of up to 100 s need (the caption then fits its title bar
  // too): made for the shortest interval, the window was too narrow for
  // either.
  const QString nejdelsi = label2_->text();
  label2_->setNum(kVyzvaMaxInterval);
  label2_->setMinimumWidth(label2_->sizeHint().width());
  label2_->setText(nejdelsi);
  statusBar1_->setMinimumWidth(
      statusBar1_->fontMetrics().horizontalAdvance(toQString(zbyvaMilisec(99999))) + 16);
  setFixedSize(sizeHint());
}

TForm17::~TForm17() { ukonciPrehravani(); }

void TForm17::TrackBar1Change(int position) {
  davac_.setInterval(position);
  label2_->setNum(davac_.interval());
}

void TForm17::Label1Click() {
  const std::filesystem::path folder = platform::fsPath(waveFile_).parent_path();
  QFileDialog dialog(this, QString(), platform::pathToQString(platform::fromFsPath(folder)),
                     toQString("Soubory WAV (*.wav)"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("wav"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const std::string chosen = platform::pathFromQString(dialog.selectedFiles().constFirst());
  if (!platform::storedPath(chosen)) {
    // The window's settings would not find it again: the file stays.
    platform::showMessage(zpravaNeulozitelneCesty("Zvukový soubor", chosen) +
                              "\r\n\r\nZvol prosím jiný soubor.",
                          platform::MessageKind::Warning);
    return;
  }
  chooseWaveFile(chosen);
}

void TForm17::chooseWaveFile(const std::string& path) {
  // The player closes the old recording before it takes the new one: a
  // playing in progress ends here, and the countdown goes on as after any
  // playing, towards the new file.
  const bool hralo = davac_.hraje();
  waveFile_ = path;
  label1_->setText(toQString(Label1set(platform::pathText(waveFile_))));
  if (hralo) konecHrani();
}

void TForm17::BitBtn1Click() {
  if (!davac_.bezi()) {
    davac_.start();
    setButtonRunning(true);
    timer17_->start();
    return;
  }
  timer17_->stop();
  ukonciPrehravani();
  davac_.stop();
  trackBar1_->setValue(davac_.interval());
  label2_->setNum(davac_.odpocet());
  // The playing ended here and now, so nothing is left that could restart
  // the countdown: the button is usable again at once.
  setButtonRunning(false);
}

void TForm17::Timer17Timer() {
  if (!davac_.bezi() || davac_.hraje()) return;
  const DavacVyzvy::Krok krok = davac_.tick();
  label2_->setNum(davac_.odpocet());
  if (krok != DavacVyzvy::Krok::Hrat) return;
  timer17_->stop();
  if (hooks_.player->outputDevices() >= 1)
    hrej();
  else
    konecHrani();
}

void TForm17::hrej() {
  const std::optional<std::string> content = platform::readWholeFile(waveFile_);
  std::optional<std::int64_t> delka;
  if (!content)
    platform::showMessage("Chyba I/O při čtení souboru : " + platform::pathText(waveFile_),
                          platform::MessageKind::Error);
  else if (!(delka = delkaNahravky(*content)))
    platform::showMessage("Soubor " + platform::pathText(waveFile_) + " není zvukový soubor WAV",
                          platform::MessageKind::Error);
  // The countdown stays off; the stop button ends the sender.
  if (!delka) return;
  setLabel2Colour(true);
  davac_.zacniHrat(hooks_.now(), *delka);
  hooks_.player->play(waveFile_);
  playTimer_->start();
  hrejKrok();
}

void TForm17::hrejKrok() {
  if (!davac_.hraje()) return;
  const std::int64_t zbyva = davac_.zbyva(hooks_.now());
  if (zbyva <= 0) {
    konecHrani();
    return;
  }
  statusBar1_->showMessage(toQString(zbyvaMilisec(zbyva)));
  label2_->setNum(static_cast<int>(zbyva / 1000));
}

void TForm17::konecHrani() {
  ukonciPrehravani();
  bitBtn1_->setEnabled(true);
  if (davac_.dohrano()) {
    label2_->setNum(davac_.odpocet());
    timer17_->start();
  }
}

void TForm17::ukonciPrehravani() {
  playTimer_->stop();
  if (davac_.hraje()) hooks_.player->stop();
  setLabel2Colour(false);
}

void TForm17::setButtonRunning(bool running) {
  bitBtn1_->setText(toQString(running ? "KONEC" : "OK"));
  bitBtn1_->setIcon(
      style()->standardIcon(running ? QStyle::SP_DialogCancelButton : QStyle::SP_DialogOkButton));
  bitBtn1_->setEnabled(true);
  trackBar1_->setEnabled(!running);
}

void TForm17::setLabel2Colour(bool playing) {
  QPalette p = label2_->palette();
  p.setColor(QPalette::WindowText, playing ? QColor(0, 0, 128) : QColor(255, 0, 0));
  label2_->setPalette(p);
}

void TForm17::closeEvent(QCloseEvent* event) {
  ToolWindow::closeEvent(event);
  if (!event->isAccepted()) return;
  timer17_->stop();
  ukonciPrehravani();
  ulozNastaveniVyzvy(settingsKey(), {davac_.interval(), waveFile_});
}

bool TForm17::eventFilter(QObject* watched, QEvent* event) {
  if (watched == label1_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Label1Click();
    return true;
  }
  return ToolWindow::eventFilter(watched, event);
}

TForm17* openForm17(QWidget* parent) { return openToolWindow(Form17, parent); }

}  // namespace vektrano
