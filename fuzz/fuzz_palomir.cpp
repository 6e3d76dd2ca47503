// Palomir's reader: a log file as the viewer shows it (grid, description,
// statistics, duplicates), and the same bytes as an old description file.
#include "fuzz/fuzz_support.h"
#include "viewer/duplicates.h"
#include "viewer/log_view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vektrano::palomir;
  const std::string_view content = vektrano::fuzz::bytes(data, size);
  const LogView view = parseLog(content);
  if (view.contacts != std::max(0, view.lines - 1) || view.grid.rowCount() < 1)
    vektrano::fuzz::fail("contact count and lines disagree");
  statusLine(view);
  if (const auto list = HledejDuply(view.grid, std::min(view.contacts, view.grid.rowCount() - 1)))
    for (const DuplicateItem& item : list->items) {
      const int row = duplicateTargetRow(item);
      if (row < 1 || row >= view.grid.rowCount()) vektrano::fuzz::fail("a duplicate leads to no row");
    }
  for (int r = 0; r < view.grid.rowCount(); ++r) vyrobradek(view.grid.rows()[static_cast<size_t>(r)]);
  expDescription(content);
  return 0;
}
