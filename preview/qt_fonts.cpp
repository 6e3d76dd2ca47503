#include "preview/qt_fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/cp1250.h"
#include "preview/measurer.h"

namespace vektrano::preview {
namespace {

struct Substitute {
  const char* name;
  const char* metricTwin;
};
constexpr Substitute kTwins[] = {
    {"arial", "Liberation Sans"},
    {"times new roman", "Liberation Serif"},
    {"courier new", "Liberation Mono"},
};

}  // namespace

QString qtFamilyFor(const std::string& cp1250Name) {
  static std::mutex lock;
  static std::map<std::string, QString> cache;
  std::lock_guard guard(lock);
  auto it = cache.find(cp1250Name);
  if (it != cache.end()) return it->second;
  QString family = platform::toQString(cp1250Name);
  if (!QFontDatabase::hasFamily(family)) {
    const std::string lower = family.toLower().toStdString();
    for (const auto& t : kTwins)
      if (lower == t.name && QFontDatabase::hasFamily(QString::fromLatin1(t.metricTwin)))
        family = QString::fromLatin1(t.metricTwin);
  }
  cache.emplace(cp1250Name, family);
  return family;
}

QFont toQFont(const CanvasFont& font) {
  QFont f(qtFamilyFor(font.name));
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setBold(font.style & fsBold);
  f.setItalic(font.style & fsItalic);
  f.setUnderline(font.style & fsUnderline);
  f.setStrikeOut(font.style & fsStrikeOut);
  int em;
  if (font.height < 0) {
    em = -font.height;
  } else if (font.height > 0) {
    // A cell height: find the em whose ascent + descent is that height.
    QFont probe = f;
    probe.setPixelSize(1000);
    QFontMetricsF fm(probe);
    const qreal cell = fm.ascent() + fm.descent();
    em = cell > 0 ? static_cast<int>(std::lround(font.height * 1000.0 / cell)) : font.height;
  } else {
    em = mulDiv(12, font.pixelsPerInch, 72);  // the default size of a height of 0
  }
  f.setPixelSize(std::max(1, em));
  return f;
}

namespace {

class QtMeasurer : public TextMeasurer {
 public:
  int textWidth(const CanvasFont& font, std::string_view text) override {
    Entry& e = entry(font);
    if (text.size() == 1) {
      auto c = static_cast<unsigned char>(text[0]);
      if (e.charWidth[c] < 0) e.charWidth[c] = e.fm.horizontalAdvance(platform::toQString(text));
      return static_cast<int>(std::lround(e.charWidth[c]));
    }
    return static_cast<int>(std::lround(e.fm.horizontalAdvance(platform::toQString(text))));
  }

  int textHeight(const CanvasFont& font) override {
    Entry& e = entry(font);
    return static_cast<int>(std::lround(e.fm.ascent() + e.fm.descent()));
  }

 private:
  struct Entry {
    explicit Entry(const QFont& f) : fm(f) { charWidth.fill(-1); }
    QFontMetricsF fm;
    std::array<qreal, 256> charWidth;
  };

  Entry& entry(const CanvasFont& font) {
    std::string key = font.name + '\x01' + std::to_string(font.height) + '\x01' +
                      std::to_string(font.pixelsPerInch) + '\x01' + std::to_string(font.style);
    if (key == lastKey_ && last_) return *last_;
    auto it = cache_.find(key);
    if (it == cache_.end()) {
      if (cache_.size() > 64) cache_.clear();
      it = cache_.emplace(key, std::make_unique<Entry>(toQFont(font))).first;
    }
    lastKey_ = key;
    last_ = it->second.get();
    return *last_;
  }

  std::unordered_map<std::string, std::unique_ptr<Entry>> cache_;
  std::string lastKey_;
  Entry* last_ = nullptr;
};

}  // namespace

std::unique_ptr<TextMeasurer> makeQtMeasurer() { return std::make_unique<QtMeasurer>(); }

}  // namespace vektrano::preview
