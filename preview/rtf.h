#pragma once
// Rich text of the page-preview library: a small document model (paragraphs
// with their alignment, runs in cp1250 with bold, italic, underline, font,
// size and colour), its RTF reader and writer, and the memo that holds one
// such text for a text object.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "preview/graphics.h"
#include "preview/stream.h"

namespace vektrano::preview {

struct TPvRichRun {
  std::string text;  // cp1250, no line breaks
  TFontStyles style = 0;
  std::string font;      // empty: the document's default font
  int size = 0;          // half-points; 0: the default size
  TColor color = clDefault;  // clDefault: the automatic colour
  friend bool operator==(const TPvRichRun&, const TPvRichRun&) = default;
  // Same look: neighbours that share it are one run.
  bool sameFormat(const TPvRichRun& o) const {
    return style == o.style && font == o.font && size == o.size && color == o.color;
  }
};

enum TPvRichAlignment : std::uint8_t { raLeft, raRight, raCenter, raJustify };

struct TPvRichParagraph {
  std::vector<TPvRichRun> runs;
  TPvRichAlignment alignment = raLeft;
  friend bool operator==(const TPvRichParagraph&, const TPvRichParagraph&) = default;
};

struct TPvRichText {
  std::vector<TPvRichParagraph> paragraphs;
  friend bool operator==(const TPvRichText&, const TPvRichText&) = default;

  bool empty() const { return paragraphs.empty(); }
  // Paragraphs joined by CR LF.
  std::string plainText() const;
  // One paragraph per line (CR LF, LF or CR), all unformatted.
  static TPvRichText fromPlainText(std::string_view text);
  // Neighbouring runs of one format merged, empty runs dropped.
  void normalize();
};

// {\rtf1\ansi\ansicpg1250 ...}: a font table (f0 Arial, the default, and
// each other font of the runs), a colour table when a run has a colour,
// every paragraph ended by \par, characters beyond ASCII as \'hh of code
// page 1250.
std::string WriteRtf(const TPvRichText& text);
// Reads RTF (code page 1250, or a Western one whose letters cp1250 holds;
// \uN characters; bold, italic, underline, fonts of the font table, sizes,
// colours of the colour table, paragraph alignment, paragraphs; every other
// group and control word is passed over). A text that is not RTF is taken as
// plain text.
TPvRichText ReadRtf(std::string_view data);

// The memo a text object keeps its rich text in ("TRichEdit" for rich
// edits, "TMemo" for plain memos).
class TPvMemo {
 public:
  explicit TPvMemo(std::string className = "TRichEdit") : className_(std::move(className)) {}
  const std::string& ClassName() const { return className_; }

  int Width = 0, Height = 0;
  bool WordWrap = true;
  int MaxLength = 0;  // 0: no limit
  // A rich edit in plain-text mode keeps no formatting.
  bool PlainText = false;

  const TPvRichText& Content() const { return content_; }
  void SetContent(TPvRichText content);
  std::string Text() const { return content_.plainText(); }
  void SetText(std::string_view text) { SetContent(TPvRichText::fromPlainText(text)); }

 private:
  std::string className_;
  TPvRichText content_;
};

// The rest of the source stream (from its position) replaces the memo's text.
// Always succeeds: a stream shorter than asked for is simply all there is.
bool RtfStreamIn(TPvMemo& memo, PvStream& source);
// The memo's text as RTF, written at the target's position.
void RtfStreamOut(const TPvMemo& memo, PvStream& target);
// A non-empty RTF text replaces the memo's text; an empty one changes nothing.
void SetRtfText(TPvMemo& memo, std::string_view rtf);
// Rich edits of other component sets, which take RTF text directly.
bool IsForeignRichEdit(const TPvMemo& memo);
// Width and height 0, word wrap off, at most 1,000,000 characters.
std::unique_ptr<TPvMemo> CreateHiddenRichEdit();
bool LoadRtfInto(TPvMemo& memo, PvStream& source);
void SaveRtfFrom(const TPvMemo& memo, PvStream& target);

}  // namespace vektrano::preview
