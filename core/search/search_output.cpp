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
  PackedLines& lines = batch.lines;
  size_t run = 0;  // the first line not yet given to the view
  auto flush = [&](size_t end) {
    if (end > run) {
      // A batch without commands, as most are, goes to the view as it is.
      if (run == 0 && end == lines.size())
        view.appendLines(batch.kind, std::move(lines));
      else
        view.appendLines(batch.kind, lines.slice(run, end - run));
      // The count as the last of these duplicate lines leaves it.
      if (batch.kind == SearchKind::Duplyo)
        view.setStatusPanel1(" duplicit: " + std::to_string(PocetDuplicit_));
    }
    run = end + 1;
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
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
    } else if (!line.starts_with(kTotal)) {
      ++PocetDuplicit_;
    }
  }
  flush(lines.size());
}

}  // namespace vektrano
