// The texts of the information commands: Czech number format, memory,
// processor speed and the local address.
#include "core/tools/system_info.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/system.h"

namespace vektrano {
namespace {

TEST(SystemInfo, NumbersHaveBlankThousandsAndADecimalComma) {
  struct Case {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {0, 0, ""},          {0, 3, ""},           {7, 0, "7"},
      {1234, 0, "1 234"},  {2894.6, 0, "2 895"}, {15987.1234, 3, "15 987,123"},
      {0.5, 3, ",5"},      {1048576, 3, "1 048 576"}, {12.3, 3, "12,3"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatCislo(c.value, c.decimals), c.text) << c.value;
}

TEST(SystemInfo, MessagesOfMemorySpeedAndAddress) {
  platform::MemoryStatus m;
  m.totalPhysical = 2048ull * 1048576;
  m.freePhysical = 1048576 + 524288;
  m.totalVirtual = 4096ull * 1048576;
  m.freeVirtual = 0;
  EXPECT_EQ(zpravaPameti(m),
            "Fyz. celkem : 2 048 MB\r\nFyz. volná   : 1,5 MB\r\n\r\nVirt.celkem : 4 096 MB\r\n"
            "Virt.volná   :  MB");
  EXPECT_EQ(zpravaRychlostiProcesoru(2893.99996), "Rychlost procesoru (orientačně) : 2 894 MHz");
  EXPECT_EQ(zpravaIPAdresy({"127.0.0.1", "192.168.1.5"}), "Tvoje IP adresa : 192.168.1.5");
  EXPECT_EQ(zpravaIPAdresy({}), "Tvoje IP adresa : ");
  std::vector<std::string> twelve;
  for (int i = 1; i <= 12; ++i) twelve.push_back("10.0.0." + std::to_string(i));
  EXPECT_EQ(zpravaIPAdresy(twelve), "Tvoje IP adresa : 10.0.0.11");  // at most 11 walked
  // The machine has at least its loopback address.
  const auto own = mistniAdresy();
  EXPECT_NE(std::find(own.begin(), own.end(), "127.0.0.1"), own.end());
}

// The measurement raises the process to the highest priority for a moment
// and puts back the priority it found, whether or not the raise was allowed.
TEST(SystemInfo, SpeedMeasurementPutsBackThePriorityItFound) {
  using platform::ProcessPriority;
  struct Case {
    ProcessPriority found;
    bool raiseAllowed;
  } cases[] = {{ProcessPriority::High, true}, {ProcessPriority::Normal, false}};
  for (const Case& c : cases) {
    std::vector<ProcessPriority> asked;
    const auto previous = platform::setProcessPriorityHook([&](ProcessPriority p) {
      asked.push_back(p);
      return p != ProcessPriority::RealTime || c.raiseAllowed;
    });
    ASSERT_TRUE(platform::setProcessPriority(c.found));
    asked.clear();
    zmerRychlostProcesoru();
    EXPECT_EQ(platform::processPriority(), c.found) << static_cast<int>(c.found);
#if defined(__x86_64__) || defined(__i386__)
    EXPECT_EQ(asked, (std::vector<ProcessPriority>{ProcessPriority::RealTime, c.found}));
#endif
    platform::setProcessPriority(ProcessPriority::Normal);
    platform::setProcessPriorityHook(previous);
  }
}

}  // namespace
}  // namespace vektrano
