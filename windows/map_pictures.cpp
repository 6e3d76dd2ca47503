#include "windows/map_pictures.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <cmath>
#include <cstring>

#include "core/log/log_export.h"
#include "core/pictures/direction_finding.h"
#include "platform/cp1250.h"
#include "platform/files.h"
#include "platform/jpeg.h"
#include "platform/message.h"

namespace vektrano {

using platform::fromQString;
using platform::toQString;

namespace {

VolbaUlozeni& volbaUlozeni() {
  static VolbaUlozeni v;
  return v;
}

std::function<void(const std::string&)>& otevreni() {
  static std::function<void(const std::string&)> o;
  return o;
}

std::optional<std::string> qtDialog(QWidget* parent, const DialogUlozeni& d) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  const size_t bar = d.filtr.find('|');
  if (bar != std::string::npos)
    dialog.setNameFilter(toQString(d.filtr.substr(0, bar) + " (" + d.filtr.substr(bar + 1) + ")"));
  dialog.setDefaultSuffix(toQString(d.pripona));
  if (!d.slozka.empty()) dialog.setDirectory(platform::fsPath(d.slozka).c_str());
  dialog.selectFile(toQString(d.nazev));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return platform::fromFsPath(dialog.selectedFiles().front().toStdString());
}

// The shapes carry plain $00BBGGRR colours, never system colours.
QColor barvaTvaru(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

}  // namespace

QFont arialPisma(int points, bool bold, bool italic) {
  static const QString family = QFontDatabase::hasFamily(QStringLiteral("Arial"))
                                    ? QStringLiteral("Arial")
                                    : QStringLiteral("Liberation Sans");
  QFont f(family);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
  f.setBold(bold);
  f.setItalic(italic);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

void pisText(QPainter& p, int x, int y, const QString& text) {
  p.drawText(QPointF(x, y + p.fontMetrics().ascent()), text);
}

void nakresli(QImage& obrazek, const std::vector<TvarMapy>& tvary) {
  QPainter p(&obrazek);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (const TvarMapy& t : tvary) {
    const QColor barva = barvaTvaru(t.barva);
    switch (t.druh) {
      case TvarMapy::Druh::Cara:
        p.setPen(QPen(barva, t.sirka, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(t.x1, t.y1, t.x2, t.y2);
        break;
      case TvarMapy::Druh::Kruh:
        p.setPen(QPen(barva, t.sirka));
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(t.x1, t.y1, t.x2 - t.x1, t.y2 - t.y1));
        break;
      case TvarMapy::Druh::Text:
        if (t.text.empty()) break;
        p.setPen(barva);
        p.setFont(arialPisma(t.velikost, t.tucne, t.kurziva));
        pisText(p, t.x1, t.y1, toQString(t.text));
        break;
    }
  }
}

QImage zakladniMapa() {
  QImage img(kSirkaMapy, kVyskaMapy, QImage::Format_RGB32);
  img.fill(QColor(236, 242, 226));
  QPainter p(&img);
  p.setPen(QColor(188, 200, 214));
  for (int x = 96; x < kSirkaMapy; x += 96) p.drawLine(x, 0, x, kVyskaMapy - 1);
  for (int y = 96; y < kVyskaMapy; y += 96) p.drawLine(0, y, kSirkaMapy - 1, y);
  p.setPen(QColor(140, 154, 172));
  p.setFont(arialPisma(8, true));
  for (int b = 0; b < 6; ++b)
    for (int r = 0; r < 5; ++r)
      pisText(p, b * 96 + 4, r * 96 + 3, toQString(lokatorBunky({b * 24 + 1, r * 24 + 1}).substr(0, 4)));
  return img;
}

std::optional<QImage> nactiJpeg(const std::string& path) {
  const auto data = platform::readWholeFile(path);
  if (!data) return std::nullopt;
  const auto pic = platform::decodeJpeg(*data);
  if (!pic) return std::nullopt;
  QImage img(pic->width, pic->height, QImage::Format_RGB888);
  for (int y = 0; y < pic->height; ++y)
    std::memcpy(img.scanLine(y), pic->rgb.data() + static_cast<size_t>(y) * pic->width * 3,
                static_cast<size_t>(pic->width) * 3);
  return img;
}

std::optional<std::string> dataObrazku(const QImage& obrazek, FormatObrazku format) {
  if (obrazek.isNull()) return std::nullopt;
  if (format == FormatObrazku::Bmp) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!obrazek.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP")) return std::nullopt;
    return bytes.toStdString();
  }
  const QImage rgb = obrazek.convertToFormat(QImage::Format_RGB888);
  platform::RgbPicture pic;
  pic.width = rgb.width();
  pic.height = rgb.height();
  pic.rgb.resize(static_cast<size_t>(pic.width) * pic.height * 3);
  for (int y = 0; y < pic.height; ++y)
    std::memcpy(pic.rgb.data() + static_cast<size_t>(y) * pic.width * 3, rgb.constScanLine(y),
                static_cast<size_t>(pic.width) * 3);
  return platform::encodeJpeg(pic, kKvalitaJpeg);
}

bool ulozObrazek(const QImage& obrazek, const std::string& path, FormatObrazku format) {
  const auto data = dataObrazku(obrazek, format);
  if (!data || !platform::writeFileAtomic(path, *data)) {
    platform::showMessage("Chyba I/O při ukládání souboru : " + platform::pathText(path),
                          platform::MessageKind::Error);
    return false;
  }
  return true;
}

void setVolbaUlozeni(VolbaUlozeni volba) { volbaUlozeni() = std::move(volba); }

std::optional<std::string> zvolUlozeni(QWidget* parent, const DialogUlozeni& d) {
  auto path = volbaUlozeni() ? volbaUlozeni()(parent, d) : qtDialog(parent, d);
  if (!path || path->empty()) return std::nullopt;
  return doplnPriponu(*path, d.pripona);
}

void setOtevreniSouboru(std::function<void(const std::string&)> otevri) {
  otevreni() = std::move(otevri);
}

void otevriSoubor(const std::string& path) {
  if (otevreni()) {
    otevreni()(path);
    return;
  }
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(platform::fsPath(path).string())));
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureView::setImage(const QImage& image) {
  image_ = image;
  updateGeometry();
  update();
}

void PictureView::setProportional(bool on) {
  proportional_ = on;
  update();
}

void PictureView::setCentered(bool on) {
  centered_ = on;
  update();
}

QSize PictureView::sizeHint() const { return image_.isNull() ? QSize(100, 100) : image_.size(); }

QRect PictureView::target() const {
  QSize s = image_.size();
  if (proportional_ && (s.width() > width() || s.height() > height()))
    s.scale(size(), Qt::KeepAspectRatio);
  QPoint at(0, 0);
  if (centered_) at = QPoint((width() - s.width()) / 2, (height() - s.height()) / 2);
  return QRect(at, s);
}

QPoint PictureView::toPicture(QPoint w) const {
  const QRect t = target();
  if (t.width() <= 0 || t.height() <= 0) return w;
  return QPoint((w.x() - t.x()) * image_.width() / t.width(),
                (w.y() - t.y()) * image_.height() / t.height());
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!image_.isNull()) p.drawImage(target(), image_);
}

void PictureView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit clicked(toPicture(e->position().toPoint()));
  QWidget::mousePressEvent(e);
}

void PictureView::mouseMoveEvent(QMouseEvent* e) {
  emit mouseMoved(toPicture(e->position().toPoint()));
  QWidget::mouseMoveEvent(e);
}

}  // namespace vektrano
