#include "core/tools/round_distances.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/registry.h"
#include "tests/support/temp_dir.h"

namespace vektrano {
namespace {

const KeyboardOptions kCz{true, false};

Kolecko filled(const std::string& own, const std::string& counter,
               std::initializer_list<const char*> participants) {
  Kolecko k;
  int box = 2;
  for (const char* p : participants) k.lokatory[box++] = p;
  startform5(k, own, counter, kCz);
  return k;
}

TEST(RoundDistances, EveryRowIsMeasuredToTheCounterStation) {
  const Kolecko k = filled("JN99JM", "JO70GQ",
                           {"JO80GQ", "JO70GR", "JO71GQ", "", "JO7", "JOA0GQ", "JN79GQ"});
  const std::array<std::string, 8> expected{"329",     "141",     "5",        "111",
                                            "_______", "_______", "lokátor?", "111"};
  EXPECT_EQ(k.vzdalenosti, expected);
  EXPECT_EQ(k.vzhled[0], VzhledLokatoru::Normalni);
  EXPECT_EQ(k.vzhled[1], VzhledLokatoru::Protistanice);
  EXPECT_EQ(k.vzhled[7], VzhledLokatoru::Chybny);
  EXPECT_EQ(k.vzhled[8], VzhledLokatoru::Normalni);
  // The last invalid box tested leaves its message.
  EXPECT_EQ(k.status,
            "Nesprávný formát lokátoru v sedmém řádku, druhé okénko. (Nejčastější chyba:záměna "
            "nuly a písmene O.)");
}

TEST(RoundDistances, AnIncompleteRowOnlyAsksAndTheCompleteOneIsConverted) {
  Kolecko k = filled("JO70GQ", "JO70GQ", {});
  zmenaLokatoru(k, 4, "jo80g", kCz);
  EXPECT_EQ(k.vzdalenosti[3], "?");
  EXPECT_EQ(k.lokatory[4], "jo80g");
  // "é" stands on the digit key 0 of the Czech layout.
  zmenaLokatoru(k, 4, "jo8égq", kCz);
  EXPECT_EQ(k.lokatory[4], "JO80GQ");
  EXPECT_EQ(k.vzdalenosti[3], "141");
  EXPECT_EQ(k.status, kKoleckoVypocet);
}

TEST(RoundDistances, AWrongCounterStationShowsQuestionMarksEverywhere) {
  struct Case {
    const char* counter;
    VzhledLokatoru look;
  };
  const Case cases[] = {{"", VzhledLokatoru::Normalni},
                        {"JO70G", VzhledLokatoru::Normalni},
                        {"JOO0GQ", VzhledLokatoru::ChybnaProtistanice}};
  for (const auto& c : cases) {
    const Kolecko k = filled("JO70GQ", c.counter, {"JO80GQ"});
    for (const auto& label : k.vzdalenosti) EXPECT_EQ(label, "???") << c.counter;
    EXPECT_EQ(k.vzhled[1], c.look) << c.counter;
    EXPECT_EQ(k.status, chybaLokatoru(1)) << c.counter;
  }
  // The counter station given in lower case is converted like a typed one.
  const Kolecko k = filled("JO70GQ", "jo80gq", {"JO80GQ"});
  EXPECT_EQ(k.lokatory[1], "JO80GQ");
  EXPECT_EQ(k.vzdalenosti[0], "141");
  EXPECT_EQ(k.vzdalenosti[1], "0");
}

TEST(RoundDistances, MessagesNameTheRowAndTheBox) {
  EXPECT_EQ(chybaLokatoru(0),
            "Nesprávný formát lokátoru v prvním řádku, první okénko. (Nejčastější chyba:záměna "
            "nuly a písmene O.)");
  const std::pair<int, const char*> where[] = {{1, "prvním řádku, druhé okénko."},
                                               {2, "druhém řádku, druhé okénko."},
                                               {5, "pátém řádku, druhé okénko."},
                                               {8, "osmém řádku, druhé okénko."}};
  for (const auto& [box, text] : where)
    EXPECT_EQ(chybaLokatoru(box).rfind(std::string("Nesprávný formát lokátoru v ") + text, 0), 0u)
        << box;

  // The own box with O for 0, and the last invalid box tested wins.
  Kolecko k = filled("JO7OGQ", "JO70GQ", {});
  EXPECT_EQ(k.vzdalenosti[0], "lokátor?");
  EXPECT_EQ(k.vzhled[0], VzhledLokatoru::Chybny);
  EXPECT_EQ(k.status, chybaLokatoru(0));
  zmenaLokatoru(k, 3, "JO7OGQ", {});
  EXPECT_EQ(k.status, chybaLokatoru(3));
}

TEST(RoundDistances, ParticipantsSurviveInTheSettingsButNotTheOwnRow) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.file("config"));
  setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);

  Kolecko k;
  EXPECT_FALSE(nactiKolecko(k));
  k = filled("JO70GQ", "JN99JM", {"JO70GR", "", "", "", "", "", "JN99JM"});
  k.poznamky[0] = "OK1XYZ/p\r\nSněžka";
  k.poznamky[6] = "poslední";
  ASSERT_TRUE(ulozKolecko(k));

  Kolecko back;
  ASSERT_TRUE(nactiKolecko(back));
  EXPECT_EQ(back.lokatory, (std::array<std::string, 9>{"", "", "JO70GR", "", "", "", "", "",
                                                       "JN99JM"}));
  EXPECT_EQ(back.vzdalenosti[0], "_______");
  EXPECT_EQ(back.vzdalenosti[1], k.vzdalenosti[1]);
  EXPECT_EQ(back.vzdalenosti[7], "0");
  EXPECT_EQ(back.poznamky, k.poznamky);
  auto key = platform::RegistryKey::open(kKoleckoKlic, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readString("Memo1"), "OK1XYZ/p\r\nSněžka");
  EXPECT_FALSE(key->valueExists("Edit1"));
  EXPECT_FALSE(key->valueExists("Label1"));
}

}  // namespace
}  // namespace vektrano
