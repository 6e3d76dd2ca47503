// The database that ships, as an operator's first search meets it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "core/base/geometry.h"
#include "core/reference/indexes.h"
#include "core/search/searches.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

TEST(ShippedTownDatabase, WellKnownPlacesAreFoundByTheTownSearch) {
  test::TempDir dir;
  const DatabaseFiles files = DatabaseFiles::beside(dir.path());
  std::filesystem::copy_file(std::string(VEKTRANO_SOURCE_DIR) + "/data/vektrano.zr4",
                             platform::fsPath(files.zr4));
  struct Quiet : IndexObserver {
    void setProcessPriority(platform::ProcessPriority) override {}
  } window;
  Indexes indexes(dir.path(), window);
  ASSERT_TRUE(indexes.locIDX(files, DatabaseChoice::MainOnly));
  indexes.NactiLokatoryDoPameti(files.zr4, true);

  // Each place's distance from the centre of JO70GQ by its own coordinates:
  // the locator found must lie within a few kilometres of it.
  auto kmFromJO70GQ = [](double lat, double lon) {
    const double rad = 3.14159265358979323846 / 180;
    const double lat0 = (50 + 16.5 / 24) * rad, lon0 = (14 + 6.5 / 12) * rad;
    lat *= rad;
    lon *= rad;
    const double c = std::sin(lat0) * std::sin(lat) +
                     std::cos(lat0) * std::cos(lat) * std::cos(lon - lon0);
    return 6371 * std::acos(std::min(1.0, c));
  };
  struct Place {
    std::string name;
    double lat, lon;
  };
  for (const Place& p : std::vector<Place>{{"Praha", 50.088, 14.421},
                                           {"Plzeň", 49.747, 13.378},
                                           {"Brno", 49.195, 16.608},
                                           {"Ostrava", 49.835, 18.282},
                                           {"Liberec", 50.767, 15.056},
                                           {"Žilina", 49.223, 18.740},
                                           {"Bratislava", 48.148, 17.107},
                                           {"Košice", 48.716, 21.261}}) {
    const double expected = kmFromJO70GQ(p.lat, p.lon);
    for (bool memory : {false, true}) {
      SearchEnvironment env;
      env.lokportable = "JO70GQ";
      env.MenuRam = memory;
      env.pocitejkm = true;
      env.prefixes = indexes.prefixes();
      env.SGlokatory = indexes.SGlokatory.get();
      std::vector<std::string> out;
      runSearch(makeSearchInput({SearchKind::Lokatora, p.name, ""}, env),
                [&](std::string_view l) { out.emplace_back(l); });
      bool found = false;
      for (const std::string& line : out) {
        // "JO70FC-Praha / 65 km" from the index files, "JO70FC Praha / 65 km"
        // from memory.
        const size_t km = line.rfind(" / ");
        if (line.size() < 8 || km == std::string::npos || line.substr(7, km - 7) != p.name)
          continue;
        const int d = std::stoi(line.substr(km + 3));
        EXPECT_EQ(d, vypocet("JO70GQ", line.substr(0, 6))) << line;
        if (std::abs(d - expected) < 8) found = true;
      }
      EXPECT_TRUE(found) << p.name << (memory ? " in memory" : " in the index files");
    }
  }
}

}  // namespace
}  // namespace vektrano
