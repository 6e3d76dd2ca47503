#pragma once
// What the picture windows share (locator map, contact map, charts,
// direction finding): the Arial of their drawings (Liberation Sans where
// Arial is missing), the painting of the logic's map shapes onto a picture,
// the base picture of the region, JPEG through the program's libjpeg
// wrapper, saving a picture atomically, the save dialog and the opening of a
// saved file with the desktop's viewer (the last two replaceable in tests).
#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/pictures/contact_map.h"

namespace vektrano {

// Arial of a size in points, as the drawings of a 96 dpi screen have it.
QFont arialPisma(int points, bool bold = false, bool italic = false);
// Text with its top left corner at (x, y), on a transparent background.
void pisText(QPainter& p, int x, int y, const QString& text);

// Paints the shapes in their order, without antialiasing.
void nakresli(QImage& obrazek, const std::vector<TvarMapy>& tvary);

// The region of the contact map, 576 x 480: a fixed background with the
// big locator squares (J6..K1, O1..N7) marked and named.
QImage zakladniMapa();

// A JPEG file through platform/jpeg.h; nothing when it cannot be read.
std::optional<QImage> nactiJpeg(const std::string& path);

enum class FormatObrazku { Bmp, Jpeg };
inline constexpr int kKvalitaJpeg = 80;
// The file's bytes in the format (JPEG at quality 80).
std::optional<std::string> dataObrazku(const QImage& obrazek, FormatObrazku format);
// Written through writeFileAtomic; on failure "Chyba I/O při ukládání
// souboru : " + path is shown and false returned.
bool ulozObrazek(const QImage& obrazek, const std::string& path, FormatObrazku format);

// A save dialog as the windows describe it.
struct DialogUlozeni {
  std::string slozka;   // where it starts (the data folder)
  std::string nazev;    // the proposed file name
  std::string pripona;  // default extension without the dot
  std::string filtr;    // "description|*.ext"
};
using VolbaUlozeni = std::function<std::optional<std::string>(QWidget*, const DialogUlozeni&)>;
// Replaces the dialog (tests); an empty function restores Qt's dialog.
void setVolbaUlozeni(VolbaUlozeni volba);
// The chosen path with the default extension added when the name has none;
// nothing when cancelled.
std::optional<std::string> zvolUlozeni(QWidget* parent, const DialogUlozeni& d);

// Opens a saved file with the desktop's program for it (the shell's
// "open"). Replaceable in tests; empty restores the desktop.
void setOtevreniSouboru(std::function<void(const std::string&)> otevri);
void otevriSoubor(const std::string& path);

// The design colour of the picture windows.
inline const QColor kNebeskaModra(166, 202, 240);

// A picture shown at its own size from the top left, or shrunk to fit
// (proportional) and centred, as the options ask. Reports clicks and mouse
// movement in picture pixels.
class PictureView : public QWidget {
  Q_OBJECT
 public:
  explicit PictureView(QWidget* parent = nullptr);
  void setImage(const QImage& image);
  const QImage& image() const { return image_; }
  void setProportional(bool on);
  void setCentered(bool on);
  bool proportional() const { return proportional_; }
  bool centered() const { return centered_; }
  QSize sizeHint() const override;

 signals:
  void clicked(QPoint picturePoint);
  void mouseMoved(QPoint picturePoint);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  QRect target() const;
  QPoint toPicture(QPoint widgetPoint) const;

  QImage image_;
  bool proportional_ = false;
  bool centered_ = false;
};

}  // namespace vektrano
