#include "preview/rtf_document.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>

#include "platform/cp1250.h"

namespace vektrano::preview {
namespace {

TEST(RtfDocument, CzechRichTextThroughAQtDocument) {
  TPvRichText t;
  t.paragraphs = {
      {{{"Deník ", 0}, {"tučně", fsBold}, {" šikmo", fsItalic}, {" podtrženo", fsUnderline}}},
      {},
      {{{"Žluťoučký kůň", fsBold | fsItalic | fsUnderline}}},
  };
  QTextDocument doc;
  ToTextDocument(t, doc);
  EXPECT_EQ(doc.blockCount(), 3);
  EXPECT_EQ(doc.toPlainText(), platform::toQString("Deník tučně šikmo podtrženo\n\nŽluťoučký kůň"));
  EXPECT_EQ(FromTextDocument(doc), t);
  // And on through RTF, the form the memo list stores.
  EXPECT_EQ(FromTextDocument(doc), ReadRtf(WriteRtf(FromTextDocument(doc))));

  // What an editor typed into the document comes back with its styles.
  QTextDocument typed;
  QTextCursor c(&typed);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  c.insertText(platform::toQString("Čeká "));
  c.insertText(platform::toQString("řeč"), bold);
  TPvRichText back = FromTextDocument(typed);
  ASSERT_EQ(back.paragraphs.size(), 1u);
  EXPECT_EQ(back.paragraphs[0].runs, (std::vector<TPvRichRun>{{"Čeká ", 0}, {"řeč", fsBold}}));

  // Fonts, sizes, colours and alignment travel both ways.
  TPvRichText styled;
  styled.paragraphs = {
      {{{"Nadpis", fsBold, "Times New Roman", 28, clRed}}, raCenter},
      {{{"vpravo ", 0, "Courier New", 20}, {"modře", fsStrikeOut, "", 0, clBlue}}, raRight},
  };
  QTextDocument doc2;
  ToTextDocument(styled, doc2);
  EXPECT_EQ(doc2.begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(FromTextDocument(doc2), styled);
  EXPECT_EQ(ReadRtf(WriteRtf(FromTextDocument(doc2))), styled);

  QTextDocument empty;
  EXPECT_TRUE(FromTextDocument(empty).empty());
}

}  // namespace
}  // namespace vektrano::preview
