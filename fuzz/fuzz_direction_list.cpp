// The direction list ".hb9" as the update, a hand edit or a damaged disk may
// leave it: read into the window's rows and further lines, its bearings
// drawn, and written back as the window does on closing.
//
// Properties: the list written reads back with the same rows (each cell as a
// record can hold it) and further lines, and writing that gives the same
// bytes; every bearing starts at its
// station and ends on a border cell of the map.
#include "core/base/geometry.h"
#include "core/pictures/direction_finding.h"
#include "core/reference/list_data.h"
#include "fuzz/fuzz_support.h"

namespace vektrano {
namespace {

bool borderPixel(int x, int y) {
  const bool inside = x >= 4 && x <= 4 * kSloupcuMapy && y >= 4 && y <= 4 * kRadkuMapy && x % 4 == 0 && y % 4 == 0;
  return inside && (x == 4 || x == 4 * kSloupcuMapy || y == 4 || y == 4 * kRadkuMapy);
}

void directionList(std::string_view data) {
  const SeznamSmeru s = nactiSeznamSmeru(data);
  const std::string written = textSeznamuSmeru(s);
  const SeznamSmeru back = nactiSeznamSmeru(written);
  SeznamSmeru expected = s;
  for (RadekSmeru& row : expected.radky)
    for (std::string& cell : row) cell = listCellForFile(cell);
  if (back.radky != expected.radky || back.dalsiRadky != s.dalsiRadky) fuzz::fail("the list written reads back otherwise");
  if (textSeznamuSmeru(back) != written) fuzz::fail("the list written twice differs");

  const std::vector<TvarMapy> shapes = kresbaSmeru(s);
  size_t next = 0;
  for (int i = 1; i < kRadkuSmeru; ++i) {
    const RadekSmeru& row = s.radky[static_cast<size_t>(i)];
    if (!testlok(row[1]) || azimutStanice(row[2]) < 0) continue;
    if (next + 3 > shapes.size()) fuzz::fail("a bearing was not drawn");
    const Bod station = pixelLokatoru(row[1]);
    const TvarMapy& line = shapes[next + 2];
    if (line.druh != TvarMapy::Druh::Cara || line.x1 != station.x || line.y1 != station.y ||
        !borderPixel(line.x2, line.y2))
      fuzz::fail("the bearing of " + row[1] + " does not run from it to the border");
    next += 3;
  }
  if (next != shapes.size()) fuzz::fail("shapes for no station");
}

}  // namespace
}  // namespace vektrano

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vektrano::directionList(vektrano::fuzz::bytes(data, size));
  return 0;
}
