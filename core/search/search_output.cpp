#include "core/search/search_output.h"

namespace vektrano {
namespace {

constexpr std::string_view kTotal = " celkem nalezeno duplicit : ";

}  // namespace

void SearchOutput::apply(SearchBatch& batch, SearchView& view) {
  if (batch.kind == SearchKind::Duplyo && batch.generation != duplicateGeneration_) {
    // Each duplicate search counts from 0.
    duplicateGeneration_ = batch.generation;
    PocetDuplicit_ = 0;
  }
  std::vector<std::string>& lines = batch.lines;
  size_t run = 0;  // the first line not yet given to the view
  auto flush = [&](size_t end) {
    if (end > run) {
      view.appendLines(batch.kind, std::span(lines).subspan(run, end - run));
      // The count as the last of these duplicate lines leaves it.
      if (batch.kind == SearchKind::Duplyo)
        view.setStatusPanel1(" duplicit: " + std::to_string(PocetDuplicit_));
    }
    run = end + 1;
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (batch.kind != SearchKind::Duplyo) {
      if (line == kCmdCls) {
        flush(i);
        view.clearList(batch.kind);
      }
      continue;
    }
    if (line == kCmdClose) {
      flush(i);
      if (view.wduplicityVisible()) view.ZobrazDuplicity(false);
      if (!view.DenikVisible()) view.setStatusPanel1(kHintDatabaze);
    } else if (line == kCmdCls) {
      flush(i);
      view.ZobrazDuplicity(true);
      view.clearList(batch.kind);
    } else if (line.compare(0, kTotal.size(), kTotal) != 0) {
      ++PocetDuplicit_;
    }
  }
  flush(lines.size());
}

}  // namespace vektrano
