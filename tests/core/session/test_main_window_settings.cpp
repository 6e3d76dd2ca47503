#include "core/session/main_window_settings.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <type_traits>

#include "core/search/search_scheduler.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "tests/support/file_faults.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace vektrano {
namespace {
using platform::RegistryKey;
using S = MainWindowSettings;

// Every value in the order start-up reads it, with a way to copy it from
// one settings record to another.
struct Entry {
  const char* name;
  bool text;
  std::function<void(S&, const S&)> copy;
};
#define E(n) \
  Entry { #n, std::is_same_v<decltype(S::n), std::string>, [](S& to, const S& from) { to.n = from.n; } }
const std::vector<Entry> kReadingOrder = {
    E(Top), E(Left), E(Height), E(Width), E(PouzivatVolacky), E(MestaSvatky), E(Automatika),
    E(AutomatKolecko), E(ReportyChecked), E(NapovedaChecked), E(DoplnDatum), E(KlavesniceCZ),
    E(PocitejKM), E(DoplnovatKanal), E(Kanal), E(ukladatazimut), E(zobrporcisl), E(zobrdatcas),
    E(Zobrrep), E(Zobrvzd), E(Zobrpoz), E(ZobrCisSpoj), E(PrijatyReportDoplnit), E(Nastaven),
    E(UlozisteDat), E(UlozisteMap), E(UlozisteFoto), E(UlozisteArchiv), E(Poprve), E(Version),
    E(Lokportable), E(Memo), E(VolackyAlter), E(LokatoryAlter), E(Volac2), E(Volackyoboje),
    E(Pouzevolacky1), E(Pouzevolacky2), E(VolackyobojeE), E(Pouzevolacky2E), E(Lokat2),
    E(Lokatoboje), E(Pouzelok1), E(Pouzelok2), E(LokatobojeE), E(Pouzelok2E), E(Maximized),
    E(SaveFileName), E(loksecondary), E(lokthree), E(secondstation), E(threestation),
    E(doplnvolackuzakm), E(ZobrazLokatorProtistanice), E(aktualcas), E(BPOZ), E(BPDE), E(BPND),
    E(BPOV), E(BPVR), E(BHOD), E(BVVZ), E(BDUP), E(BNJS), E(MenuRam), E(datumupdate), E(Pismo),
    E(HelpExist), E(delkaprodlevy), E(prioritka),
};
#undef E

// A record in which every value differs from its default.
S changed() {
  S s;
  s.Top = 120; s.Left = 33; s.Height = 700; s.Width = 1024;
  s.PouzivatVolacky = false; s.MestaSvatky = true; s.Automatika = false; s.AutomatKolecko = true;
  s.ReportyChecked = true; s.NapovedaChecked = false; s.DoplnDatum = true; s.KlavesniceCZ = false;
  s.PocitejKM = false; s.DoplnovatKanal = true; s.Kanal = 17; s.ukladatazimut = true;
  s.zobrporcisl = false; s.zobrdatcas = false; s.Zobrrep = false; s.Zobrvzd = false;
  s.Zobrpoz = false; s.ZobrCisSpoj = true; s.PrijatyReportDoplnit = true;
  s.Nastaven = "Nastavení  [Města,Svátky]";
  // Paths are the file system's bytes; the settings keep them as cp1250 text.
  s.UlozisteDat = platform::pathFromText("/data/Úložiště dat"); s.UlozisteMap = "/data/mapy";
  s.UlozisteFoto = "/data/foto"; s.UlozisteArchiv = platform::pathFromText("/data/archív");
  s.Poprve = false;
  s.Version = kVersionText;
  s.Lokportable = "JN79US";
  s.Memo = "Expedice Ještěd\r\nsecond line; with = and \\";
  s.VolackyAlter = "/home/op/moje.pvk"; s.LokatoryAlter = "/home/op/moje.zr4";
  s.Volac2 = true; s.Volackyoboje = true; s.Pouzevolacky1 = false; s.Pouzevolacky2 = true;
  s.VolackyobojeE = true; s.Pouzevolacky2E = true;
  s.Lokat2 = true; s.Lokatoboje = true; s.Pouzelok1 = false; s.Pouzelok2 = true;
  s.LokatobojeE = true; s.Pouzelok2E = true;
  s.Maximized = true;
  s.SaveFileName = platform::pathFromText("/data/Úložiště dat/Sněžka 2026.qvl");
  s.loksecondary = "JO70GQ"; s.lokthree = "JO60LJ";
  s.secondstation = true; s.threestation = true;
  s.doplnvolackuzakm = true; s.ZobrazLokatorProtistanice = true; s.aktualcas = true;
  s.BPOZ = 0xF0CAA6; s.BPDE = 1; s.BPND = 2; s.BPOV = 3; s.BPVR = 4; s.BHOD = 5; s.BVVZ = 6;
  s.BDUP = 7; s.BNJS = -1;
  s.MenuRam = true;
  s.datumupdate = "9.12.2026";
  s.Pismo = 2;
  s.HelpExist = false;
  s.delkaprodlevy = 7;
  s.prioritka = 2;
  return s;
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1); }
  void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }
  test::TempDir dir;
};

TEST_F(SettingsTest, EveryValueSurvivesARestart) {
  const S written = changed();
  ASSERT_TRUE(writeMainWindowSettings(written, "/opt/vektrano/"));
  S read;
  const SettingsReadResult r = readMainWindowSettings(read, "10.12.2026");
  EXPECT_TRUE(r.keyOpened);
  EXPECT_EQ(r.stoppedAt, "");
  EXPECT_TRUE(read == written);
  for (const Entry& e : kReadingOrder) {  // name the value that differs
    S one = read;
    e.copy(one, written);
    EXPECT_TRUE(one == read) << e.name;
  }
  auto key = RegistryKey::open(kMainWindowKey, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readString("FileApp"), "/opt/vektrano");
  EXPECT_EQ(key->readString("ProgramFiles"), "/opt/vektrano");
  EXPECT_EQ(key->readString("Version"), " ver: 6.03 (2008/04/08) ");

  // The program's data may live elsewhere than the executable (VEKTRANO_HOME):
  // the viewer finds the executable in FileApp, ProgramFiles names the data.
  ASSERT_TRUE(writeMainWindowSettings(written, "/opt/vektrano/", kMainWindowKey, "/home/op/vek/"));
  key = RegistryKey::open(kMainWindowKey, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readString("FileApp"), "/opt/vektrano");
  EXPECT_EQ(key->readString("ProgramFiles"), "/home/op/vek");
  // The store, a cp1250 file, holds the paths as cp1250 text.
  EXPECT_EQ(key->readString("UlozisteDat"), "/data/Úložiště dat");
}

// A path the store cannot hold (a character code page 1250 lacks) is kept
// empty, so that the next start takes the default rather than another name;
// the other paths are kept as they are.
TEST_F(SettingsTest, APathTheStoreCannotHoldIsKeptEmpty) {
  const std::string omega = "/home/op/\xCE\xA9mega";  // "Ωmega" in UTF-8
  S written = changed();
  written.UlozisteMap = omega + "/mapy";
  written.SaveFileName = omega + "/den\xC3\xADk.qvl";
  written.LokatoryAlter = "/home/op/\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD.zr4";  // Cyrillic
  ASSERT_TRUE(writeMainWindowSettings(written, omega + "/bin"));
  S read;
  readMainWindowSettings(read, "10.12.2026");
  EXPECT_EQ(read.UlozisteMap, "");
  EXPECT_EQ(read.SaveFileName, "");
  EXPECT_EQ(read.LokatoryAlter, "");
  EXPECT_EQ(read.UlozisteDat, written.UlozisteDat);
  auto key = RegistryKey::open(kMainWindowKey, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readString("FileApp"), "");
}

// A full disk or a read-only folder at closing: the store keeps what it
// held, and the next close writes every value.
TEST_F(SettingsTest, EachFailingWriteStepKeepsTheStoreAndTheNextSaveWritesAll) {
  const std::pair<platform::FileStep, int> steps[] = {
      {platform::FileStep::Create, EROFS}, {platform::FileStep::Write, ENOSPC},
      {platform::FileStep::Sync, EIO}, {platform::FileStep::Rename, ENOENT}};
  for (const auto& [step, err] : steps) {
    SCOPED_TRACE(static_cast<int>(step));
    S before;
    before.Lokportable = "JO60LJ";
    ASSERT_TRUE(writeMainWindowSettings(before, "/opt/vektrano"));
    const auto stored = platform::readWholeFile(platform::registryFile());
    {
      test::FileFaults faults;
      faults.fail(step, err, "registry");
      EXPECT_FALSE(writeMainWindowSettings(changed(), "/opt/vektrano"));
    }
    EXPECT_EQ(platform::readWholeFile(platform::registryFile()), stored);
    ASSERT_TRUE(writeMainWindowSettings(changed(), "/opt/vektrano"));
    S read;
    readMainWindowSettings(read, "10.12.2026");
    EXPECT_TRUE(read == changed());
  }
}

TEST_F(SettingsTest, FirstRunStoresPoprveFalse) {
  S first;  // as a first start leaves it: help requested once
  ASSERT_TRUE(first.Poprve);
  ASSERT_TRUE(writeMainWindowSettings(first, "/opt/vektrano"));
  S read;
  readMainWindowSettings(read, "10.12.2026");
  EXPECT_FALSE(read.Poprve);
}

// For every value of the reading order: with it missing, the values before it
// are taken and, when it is an integer or a Boolean, it and every later one
// keep their defaults; a missing text reads as empty and the reading goes on.
TEST_F(SettingsTest, ReadingStopsAtTheFirstMissingNumber) {
  const S written = changed();
  S blanks;  // every text empty
  blanks.Nastaven.clear();
  blanks.Lokportable.clear();
  blanks.Memo.clear();
  for (size_t i = 0; i < kReadingOrder.size(); ++i) {
    const Entry& missing = kReadingOrder[i];
    test::TempDir store;
    ::setenv("XDG_CONFIG_HOME", store.path().c_str(), 1);
    ASSERT_TRUE(writeMainWindowSettings(written, "/opt/vektrano"));
    {
      auto key = RegistryKey::open(kMainWindowKey, false);
      ASSERT_TRUE(key && key->deleteValue(missing.name)) << missing.name;
      ASSERT_TRUE(key->flush());
    }
    S expected;
    if (missing.text) {
      expected = written;
      missing.copy(expected, blanks);
    } else {
      for (size_t j = 0; j < i; ++j) kReadingOrder[j].copy(expected, written);
    }
    S read;
    const SettingsReadResult r = readMainWindowSettings(read, "10.12.2026");
    EXPECT_EQ(r.stoppedAt, missing.text ? "" : missing.name);
    EXPECT_TRUE(read == expected) << missing.name;
  }
  ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
}

TEST_F(SettingsTest, WrongTypeOrPriorityOutOfRangeEndsTheReading) {
  const S written = changed();
  struct Case {
    const char* name;
    std::function<void(RegistryKey&)> spoil;
  };
  const Case cases[] = {
      {"MenuRam", [](RegistryKey& k) { k.writeString("MenuRam", "1"); }},
      {"Kanal", [](RegistryKey& k) { k.writeString("Kanal", "40"); }},
      {"prioritka", [](RegistryKey& k) { k.writeInteger("prioritka", 256); }},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(writeMainWindowSettings(written, "/opt/vektrano"));
    {
      auto key = RegistryKey::open(kMainWindowKey, false);
      ASSERT_TRUE(key);
      c.spoil(*key);
    }
    S read;
    EXPECT_EQ(readMainWindowSettings(read, "10.12.2026").stoppedAt, c.name);
    S expected;
    for (const Entry& e : kReadingOrder) {
      if (std::string_view(e.name) == c.name) break;
      e.copy(expected, written);
    }
    EXPECT_TRUE(read == expected) << c.name;
  }
  // 255 is still a priority.
  S s = written;
  s.prioritka = 255;
  ASSERT_TRUE(writeMainWindowSettings(s, "/opt/vektrano"));
  S read;
  EXPECT_EQ(readMainWindowSettings(read, "x").stoppedAt, "");
  EXPECT_EQ(read.prioritka, 255);
}

TEST_F(SettingsTest, KeyThatCannotBeOpened) {
  S s = changed();
  s.datumupdate.clear();
  const SettingsReadResult r = readMainWindowSettings(s, "10.12.2026", "\\Software\\..\\Form1");
  EXPECT_FALSE(r.keyOpened);
  EXPECT_EQ(s.Top, 10);
  EXPECT_EQ(s.Left, 10);
  EXPECT_EQ(s.Height, 600);
  EXPECT_EQ(s.Width, 450);
  EXPECT_EQ(s.datumupdate, "10.12.2026");
  EXPECT_EQ(s.Kanal, 17);  // nothing else is touched
  s.datumupdate = "1.1.2020";
  readMainWindowSettings(s, "10.12.2026", "\\Software\\..\\Form1");
  EXPECT_EQ(s.datumupdate, "1.1.2020");
  EXPECT_FALSE(writeMainWindowSettings(s, "/opt", "\\Software\\..\\Form1"));
}

TEST(SettingsHelpers, ScreenAndDelayMenu) {
  S s;
  s.Top = 1070;
  s.Left = 1910;
  fitToScreen(s, 1920, 1080);
  EXPECT_EQ(s.Top, 1070);
  EXPECT_EQ(s.Left, 1910);
  s.Top = 1071;
  s.Left = 1911;
  fitToScreen(s, 1920, 1080);
  EXPECT_EQ(s.Top, 1);
  EXPECT_EQ(s.Left, 1);

  const std::pair<int, DelayMenuItem> cases[] = {
      {0, DelayMenuItem::Vypnuto}, {1, DelayMenuItem::Vypnuto}, {5, DelayMenuItem::Sec05},
      {10, DelayMenuItem::Sec1},   {15, DelayMenuItem::Sec15},  {20, DelayMenuItem::Sec2},
      {7, DelayMenuItem::Sec05},   {-3, DelayMenuItem::Sec05},
  };
  for (const auto& [ticks, item] : cases) EXPECT_EQ(delayMenuItem(ticks), item) << ticks;
}

// --- AddToRegistr ------------------------------------------------------------

TEST_F(SettingsTest, AddToRegistrNeverOverwritesWhatTheUserHas) {
  const std::string k = std::string(kProgramKey) + "Form9";
  {
    auto key = RegistryKey::open(k, true);
    key->writeString("Prazdny", "");
    key->writeString("Text", "moje");
    key->writeInteger("Cislo", 5);
  }
  struct Case {
    const char* name;
    const char* value;
    bool written;
  };
  const Case cases[] = {
      {"Hex", "0x10", true},          // a new integer 16
      {"Hex", "0x20", false},         // an integer is present
      {"Prazdny", "abc", true},       // an empty text counts as absent
      {"Text", "jiny", false},
      {"Text", "0x10", false},        // a text of the user's stays, whatever the list brings
      {"Cislo", "text", false},
      {"Velky", "0xFFFFFFFF", true},  // the DWORD as the registry gives it back
      {"Kratky", "0x", true},         // too short for a number: a text
      {"Spatny", "0xZZ", false},      // malformed: left out, no exception
      {"Dlouhy", "0x123456789", false},
      {"Prazdne", "0x", true},
  };
  for (const Case& c : cases) EXPECT_EQ(AddToRegistr("Form9", c.name, c.value), c.written) << c.name;
  auto key = RegistryKey::open(k, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->readInteger("Hex"), 16);
  EXPECT_EQ(key->readString("Prazdny"), "abc");
  EXPECT_EQ(key->readString("Text"), "moje");
  EXPECT_EQ(key->readInteger("Cislo"), 5);
  EXPECT_EQ(key->readInteger("Velky"), -1);
  EXPECT_EQ(key->readString("Kratky"), "0x");
  EXPECT_FALSE(key->valueExists("Spatny"));
  EXPECT_FALSE(key->valueExists("Dlouhy"));
}

TEST_F(SettingsTest, AddToRegistrDeletes) {
  EXPECT_FALSE(AddToRegistr("Nikde", "X", "[DELETE]"));  // missing key: nothing, silently
  EXPECT_FALSE(RegistryKey::open(std::string(kProgramKey) + "Nikde", false));
  ASSERT_TRUE(AddToRegistr("Form9\\Pod_2", "X", "a"));
  EXPECT_TRUE(AddToRegistr("Form9\\Pod_2", "X", "[DELETE]"));
  EXPECT_FALSE(AddToRegistr("Form9\\Pod_2", "X", "[DELETE]"));
  auto key = RegistryKey::open(std::string(kProgramKey) + "Form9\\Pod_2", false);
  ASSERT_TRUE(key);
  EXPECT_FALSE(key->valueExists("X"));
}

TEST_F(SettingsTest, AddToRegistrTakesOnlyPlainKeys) {
  ASSERT_TRUE(AddToRegistr("Form1", "Zaklad", "1"));
  const std::string before = *platform::readWholeFile(platform::registryFile());
  for (const char* subkey :
       {"..\\x", "..", ".", "a/b", "", "Form1\\", "\\Form1", "Form1\\\\x", "Šum", "a b", "[x]"})
    EXPECT_FALSE(AddToRegistr(subkey, "Y", "1")) << subkey;
  EXPECT_FALSE(AddToRegistr("Form1", "", "1"));
  EXPECT_FALSE(AddToRegistr("Form1", "a\nb", "1"));
  EXPECT_EQ(*platform::readWholeFile(platform::registryFile()), before);
}

// --- two programs on one store -----------------------------------------------

// Run as a child by the test below: writes its settings many times.
TEST(SettingsWriterChild, Run) {
  const char* who = std::getenv("VEKTRANO_SETTINGS_WRITER");
  if (!who) GTEST_SKIP() << "only as a child process";
  const std::string key = std::string(kProgramKey) + who;
  S s = changed();
  for (int i = 0; i < 40; ++i) {
    s.Kanal = i;
    s.Memo = std::string(who) + " " + std::to_string(i);
    ASSERT_TRUE(writeMainWindowSettings(s, "/opt/vektrano", key));
    ASSERT_TRUE(AddToRegistr(std::string(who) + "_extra", "v" + std::to_string(i), "0x1"));
  }
}

TEST_F(SettingsTest, TwoProcessesWritingAtOnceKeepTheStoreValid) {
  std::vector<pid_t> children;
  for (const char* who : {"FormA", "FormB"}) {
    std::vector<std::string> env = {std::string("XDG_CONFIG_HOME=") + dir.path(),
                                    std::string("VEKTRANO_SETTINGS_WRITER=") + who};
    for (char** e = environ; *e; ++e)
      if (std::string_view(*e).rfind("XDG_CONFIG_HOME=", 0) != 0) env.push_back(*e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string exe = "/proc/self/exe", filter = "--gtest_filter=SettingsWriterChild.Run";
    char* argv[] = {exe.data(), filter.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (const char* who : {"FormA", "FormB"}) {
    S read;
    const SettingsReadResult r =
        readMainWindowSettings(read, "x", std::string(kProgramKey) + who);
    EXPECT_EQ(r.stoppedAt, "") << who;
    EXPECT_EQ(read.Kanal, 39) << who;
    EXPECT_EQ(read.Memo, std::string(who) + " 39");
    auto extra = RegistryKey::open(std::string(kProgramKey) + who + "_extra", false);
    ASSERT_TRUE(extra);
    for (int i = 0; i < 40; ++i) EXPECT_TRUE(extra->valueExists("v" + std::to_string(i))) << i;
  }
}

}  // namespace
}  // namespace vektrano
