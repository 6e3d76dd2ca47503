#include "preview/rtf_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextFragment>

#include "platform/cp1250.h"

namespace vektrano::preview {

void ToTextDocument(const TPvRichText& text, QTextDocument& doc) {
  doc.clear();
  QTextCursor cursor(&doc);
  for (size_t i = 0; i < text.paragraphs.size(); ++i) {
    if (i) cursor.insertBlock();
    for (const auto& r : text.paragraphs[i].runs) {
      QTextCharFormat f;
      f.setFontWeight((r.style & fsBold) ? QFont::Bold : QFont::Normal);
      f.setFontItalic(r.style & fsItalic);
      f.setFontUnderline(r.style & fsUnderline);
      cursor.insertText(platform::toQString(r.text), f);
    }
  }
}

TPvRichText FromTextDocument(const QTextDocument& doc) {
  TPvRichText t;
  if (doc.isEmpty()) return t;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    TPvRichParagraph p;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      if (!frag.isValid()) continue;
      const QTextCharFormat f = frag.charFormat();
      TFontStyles st = 0;
      if (f.fontWeight() >= QFont::Bold) st |= fsBold;
      if (f.fontItalic()) st |= fsItalic;
      if (f.fontUnderline()) st |= fsUnderline;
      // Line separators inside a block end nothing here; they are kept as
      // blanks so that no word runs into the next.
      QString s = frag.text();
      s.replace(QChar::LineSeparator, QLatin1Char(' '));
      p.runs.push_back({platform::fromQString(s), st});
    }
    t.paragraphs.push_back(std::move(p));
  }
  t.normalize();
  return t;
}

}  // namespace vektrano::preview
