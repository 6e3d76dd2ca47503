#include "preview/rtf_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>
#include <cmath>

#include "platform/cp1250.h"

namespace vektrano::preview {

namespace {

Qt::Alignment toQtAlignment(TPvRichAlignment a) {
  switch (a) {
    case raRight: return Qt::AlignRight;
    case raCenter: return Qt::AlignHCenter;
    case raJustify: return Qt::AlignJustify;
    default: return Qt::AlignLeft;
  }
}

TPvRichAlignment fromQtAlignment(Qt::Alignment a) {
  if (a & Qt::AlignRight) return raRight;
  if (a & Qt::AlignHCenter) return raCenter;
  if (a & Qt::AlignJustify) return raJustify;
  return raLeft;
}

}  // namespace

void ToTextDocument(const TPvRichText& text, QTextDocument& doc) {
  doc.clear();
  QTextCursor cursor(&doc);
  for (size_t i = 0; i < text.paragraphs.size(); ++i) {
    const TPvRichParagraph& p = text.paragraphs[i];
    QTextBlockFormat block;
    block.setAlignment(toQtAlignment(p.alignment));
    if (i) cursor.insertBlock(block);
    else cursor.setBlockFormat(block);
    for (const auto& r : p.runs) {
      QTextCharFormat f;
      f.setFontWeight((r.style & fsBold) ? QFont::Bold : QFont::Normal);
      f.setFontItalic(r.style & fsItalic);
      f.setFontUnderline(r.style & fsUnderline);
      f.setFontStrikeOut(r.style & fsStrikeOut);
      if (!r.font.empty()) f.setFontFamilies({platform::toQString(r.font)});
      if (r.size > 0) f.setFontPointSize(r.size / 2.0);
      if (r.color != clDefault) {
        const TColor rgb = colorToRgb(r.color);
        f.setForeground(QColor(redOf(rgb), greenOf(rgb), blueOf(rgb)));
      }
      cursor.insertText(platform::toQString(r.text), f);
    }
  }
}

TPvRichText FromTextDocument(const QTextDocument& doc) {
  TPvRichText t;
  if (doc.isEmpty()) return t;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    TPvRichParagraph p;
    p.alignment = fromQtAlignment(b.blockFormat().alignment());
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      if (!frag.isValid()) continue;
      const QTextCharFormat f = frag.charFormat();
      TPvRichRun run;
      if (f.fontWeight() >= QFont::Bold) run.style |= fsBold;
      if (f.fontItalic()) run.style |= fsItalic;
      if (f.fontUnderline()) run.style |= fsUnderline;
      if (f.fontStrikeOut()) run.style |= fsStrikeOut;
      const QStringList families = f.fontFamilies().toStringList();
      if (!families.isEmpty()) run.font = platform::fromQString(families.front());
      if (f.hasProperty(QTextFormat::FontPointSize))
        run.size = static_cast<int>(std::lround(f.fontPointSize() * 2));
      if (f.hasProperty(QTextFormat::ForegroundBrush)) {
        const QColor c = f.foreground().color();
        run.color = makeRgb(c.red(), c.green(), c.blue());
      }
      // Line separators inside a block end nothing here; they are kept as
      // blanks so that no word runs into the next.
      QString s = frag.text();
      s.replace(QChar::LineSeparator, QLatin1Char(' '));
      run.text = platform::fromQString(s);
      p.runs.push_back(std::move(run));
    }
    t.paragraphs.push_back(std::move(p));
  }
  t.normalize();
  return t;
}

}  // namespace vektrano::preview
