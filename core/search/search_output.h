#pragma once
// What the main window does with the lines of a search (`VypisMesta`,
// `VypisSvatky`, `VypisMista`, `VypisVolacky`, `VypisDuplicity`), on the
// main thread, through a view so that it needs no widgets.
#include <string>

#include "core/search/search_workers.h"

namespace vektrano {

// The lists of the main window as the searches fill them: `SeznamMest`
// (towns), `Memo4` (name days), `wmestacentr` (places), `wvolacky` (call
// signs), `wduplicity` (duplicates).
class SearchView {
 public:
  virtual ~SearchView() = default;
  virtual void clearList(SearchKind kind) = 0;
  virtual void appendLine(SearchKind kind, const std::string& line) = 0;
  // Lines in a row, as one addition to the list; the view may keep them.
  virtual void appendLines(SearchKind kind, PackedLines&& lines) {
    for (std::string_view l : lines) appendLine(kind, std::string(l));
  }
  virtual bool wduplicityVisible() const = 0;
  virtual void ZobrazDuplicity(bool show) = 0;  // the duplicate panel
  virtual bool DenikVisible() const = 0;        // the log grid (else the side panel)
  virtual void setStatusPanel1(const std::string& text) = 0;
};

inline constexpr const char* kHintDatabaze = "Přechod do databáze - [F2],[F3] nebo [F4]";

class SearchOutput {
 public:
  // Every line of the batch, in order; the lines between two commands go to
  // their list in one addition.
  void apply(SearchBatch& batch, SearchView& view);
  void apply(SearchBatch&& batch, SearchView& view) { apply(batch, view); }
  // Duplicates found by the current duplicate search.
  int PocetDuplicit() const { return PocetDuplicit_; }
  // A stored contact starts the count again.
  void resetPocetDuplicit() { PocetDuplicit_ = 0; }

 private:
  int PocetDuplicit_ = 0;
  std::uint64_t duplicateGeneration_ = 0;
};

}  // namespace vektrano
