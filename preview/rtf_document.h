#pragma once
// Rich text to and from a QTextDocument, for drawing and editing it with Qt.
#include <QTextDocument>

#include "preview/rtf.h"

namespace vektrano::preview {

// Replaces the document's content by the text, one block per paragraph with
// its alignment, each run with its styles, font, size and colour.
void ToTextDocument(const TPvRichText& text, QTextDocument& doc);
// The document's blocks as paragraphs, with what ToTextDocument carries.
TPvRichText FromTextDocument(const QTextDocument& doc);

}  // namespace vektrano::preview
