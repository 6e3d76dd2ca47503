#pragma once
// The library's persistence format: a list of "name=value" lines with typed
// getters and setters, carried in a stream as one block (count, then the
// lines each ended by CR LF, cp1250).
#include <string>
#include <string_view>
#include <vector>

#include "preview/stream.h"
#include "preview/units.h"

namespace vektrano::preview {

class TPvValueList {
 public:
  virtual ~TPvValueList() = default;

  // The lines as they stand ("XY=500,1250").
  const std::vector<std::string>& Lines() const { return lines_; }
  int Count() const { return static_cast<int>(lines_.size()); }
  void Clear() { lines_.clear(); }
  bool Has(std::string_view name) const { return indexOf(name) >= 0; }
  // The lines joined, each ended by CR LF.
  std::string Text() const;
  // Replaces the lines by those of text (CR LF, LF or CR end a line).
  void SetText(std::string_view text);

  int GetInteger(std::string_view name, int def) const;
  bool GetBoolean(std::string_view name, bool def) const;
  std::string GetString(std::string_view name, std::string_view def = {}) const;
  Extended GetExtended(std::string_view name, Extended def) const;
  TPvPointExt GetPoint(std::string_view name, const TPvPointExt& def) const;
  TPvRectExt GetRect(std::string_view name, const TPvRectExt& def) const;

  // An empty value text removes the line.
  void SetInteger(std::string_view name, int v);
  void SetBoolean(std::string_view name, bool v);
  // A value may hold line breaks: they are stored escaped, so a value never
  // splits into lines of its own.
  void SetString(std::string_view name, std::string_view v);
  void SetExtended(std::string_view name, Extended v);
  void SetPoint(std::string_view name, const TPvPointExt& p);
  void SetRect(std::string_view name, const TPvRectExt& r);

  virtual void SaveToStream(PvStream& stream) const;
  // False, with the list unchanged, when the block is short, or its count is
  // negative or beyond the stream.
  [[nodiscard]] virtual bool LoadFromStream(PvStream& stream);

 private:
  int indexOf(std::string_view name) const;
  // The raw (stored) value text, or nullptr when the name is missing.
  const std::string* raw(std::string_view name) const;
  void setRaw(std::string_view name, std::string value);

  std::vector<std::string> lines_;
};

// The stored text of an extended value: three decimals, always ".".
std::string FormatExtended3(Extended v);
// Parses a number written with "."; false when the text is none, or not a
// finite number ("nan", "inf").
bool ParseExtended(std::string_view text, Extended& out);

}  // namespace vektrano::preview
