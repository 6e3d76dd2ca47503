#pragma once
// Rich text of the page-preview library: a small document model (paragraphs
// of runs in cp1250 with bold, italic and underline), its RTF reader and
// writer, and the memo that holds one such text for a text object. The Qt
// side (QTextDocument) is in rtf_document.h.
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
  friend bool operator==(const TPvRichRun&, const TPvRichRun&) = default;
};

struct TPvRichParagraph {
  std::vector<TPvRichRun> runs;
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
  // Neighbouring runs of one style merged, empty runs dropped.
  void normalize();
};

// {\rtf1\ansi\ansicpg1250 ...}: every paragraph ended by \par, characters
// beyond ASCII as \'hh of code page 1250.
std::string WriteRtf(const TPvRichText& text);
// Reads RTF (code page 1250, or a Western one whose letters cp1250 holds;
// \uN characters; bold, italic, underline, paragraphs; every other group and
// control word is passed over). A text that is not RTF is taken as plain text.
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
