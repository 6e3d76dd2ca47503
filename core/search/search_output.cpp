#include "core/search/search_output.h"

namespace vektrano {
namespace {

constexpr std::string_view kTotal = " celkem nalezeno duplicit : ";

}  // namespace

void SearchOutput::apply(const SearchBatch& batch, SearchView& view) {
  if (batch.kind == SearchKind::Duplyo && batch.generation != duplicateGeneration_) {
    // Each duplicate search counts from 0.
    duplicateGeneration_ = batch.generation;
    PocetDuplicit_ = 0;
  }
  for (const std::string& line : batch.lines) {
    if (batch.kind != SearchKind::Duplyo) {
      if (line == kCmdCls)
        view.clearList(batch.kind);
      else
        view.appendLine(batch.kind, line);
      continue;
    }
    if (line == kCmdClose) {
      if (view.wduplicityVisible()) view.ZobrazDuplicity(false);
      if (!view.DenikVisible()) view.setStatusPanel1(kHintDatabaze);
    } else if (line == kCmdCls) {
      view.ZobrazDuplicity(true);
      view.clearList(batch.kind);
    } else {
      if (line.compare(0, kTotal.size(), kTotal) != 0) ++PocetDuplicit_;
      view.appendLine(batch.kind, line);
      view.setStatusPanel1(" duplicit: " + std::to_string(PocetDuplicit_));
    }
  }
}

}  // namespace vektrano
