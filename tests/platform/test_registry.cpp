#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>

#include "platform/files.h"
#include "tests/support/temp_dir.h"

namespace vektrano::platform {
namespace {

const std::string kForm1 = "\\Software\\NOVR\\Vektrano\\Form1";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1); }
  void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

  RegistryKey key(const std::string& path = kForm1, bool create = true) {
    auto k = RegistryKey::open(path, create);
    if (!k) throw std::runtime_error("key did not open: " + path);
    return std::move(*k);
  }
  std::string storeText() { return readWholeFile(registryFile()).value_or("<none>"); }

  test::TempDir dir_;
};

TEST_F(Registry, StoreLivesInTheConfigFolder) {
  EXPECT_EQ(registryFile(), dir_.path() + "/NOVR/registry");
}

TEST_F(Registry, ValuesSurviveTheRoundTripByteForByte) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
  const std::string czech = "Nastavení  [Města,Svátky]\r\ndruhý řádek\\konec";
  {
    RegistryKey k = key();
    k.writeInteger("Top", 10);
    k.writeInteger("Min", INT_MIN);
    k.writeInteger("Max", INT_MAX);
    k.writeInteger("Minus", -1);
    k.writeBool("Maximized", true);
    k.writeBool("Poprve", false);
    k.writeString("Lokportable", "JO70GQ");
    k.writeString("Memo", czech);
    k.writeString("Bytes", everyByte);
    k.writeString("Empty", "");
    k.writeString("a=b\\c ř", "name with the separators");
    ASSERT_TRUE(k.flush());
  }
  RegistryKey k = key(kForm1, false);
  EXPECT_EQ(k.readInteger("Top"), 10);
  EXPECT_EQ(k.readInteger("Min"), INT_MIN);
  EXPECT_EQ(k.readInteger("Max"), INT_MAX);
  EXPECT_EQ(k.readInteger("Minus"), -1);
  EXPECT_TRUE(k.readBool("Maximized"));
  EXPECT_FALSE(k.readBool("Poprve"));
  EXPECT_EQ(k.readString("Lokportable"), "JO70GQ");
  EXPECT_EQ(k.readString("Memo"), czech);
  EXPECT_EQ(k.readString("Bytes"), everyByte);
  EXPECT_TRUE(k.valueExists("Empty"));
  EXPECT_EQ(k.readString("Empty"), "");
  EXPECT_EQ(k.readString("a=b\\c ř"), "name with the separators");

  // One value a line: no raw line break of a value reaches the file.
  const std::string text = storeText();
  EXPECT_NE(text.find("[\\Software\\NOVR\\Vektrano\\Form1]\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("I Top=10\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("S Memo=Nastavení  [Města,Svátky]\\x0D\\x0Adruhý řádek\\\\konec\r\n"),
            std::string::npos)
      << text;
}

TEST_F(Registry, MissingOrTextValueEndsAnIntegerRead) {
  RegistryKey k = key();
  k.writeString("Kanal", "40");
  k.writeInteger("Top", 5);
  EXPECT_THROW(k.readInteger("Kanal"), RegistryValueMissing);
  EXPECT_THROW(k.readBool("Kanal"), RegistryValueMissing);
  EXPECT_THROW(k.readInteger("Height"), RegistryValueMissing);
  EXPECT_THROW(k.readBool("Height"), RegistryValueMissing);
  // A missing text reads as empty; so does an integer read as a text.
  EXPECT_EQ(k.readString("Version"), "");
  EXPECT_EQ(k.readString("Top"), "");
  EXPECT_FALSE(k.valueExists("Height"));
  EXPECT_TRUE(k.valueExists("Top"));
}

TEST_F(Registry, NamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
  {
    RegistryKey k = key();
    k.writeInteger("Zobrrep", 1);
    k.writeInteger("ZOBRREP", 0);
  }
  RegistryKey k = key("\\software\\novr\\VEKTRANO\\form1", false);
  EXPECT_EQ(k.readInteger("zobrrep"), 0);
  EXPECT_NE(storeText().find("I Zobrrep=0"), std::string::npos);
  EXPECT_EQ(storeText().find("ZOBRREP"), std::string::npos);
}

TEST_F(Registry, KeysExistOnceCreatedAndWithTheirSubkeys) {
  EXPECT_FALSE(RegistryKey::open("\\Software\\NOVR\\Palomir", false));
  EXPECT_FALSE(fileExists(registryFile()));  // looking creates nothing
  { key("\\Software\\NOVR\\Palomir", true); }
  EXPECT_TRUE(RegistryKey::open("\\Software\\NOVR\\Palomir", false));
  EXPECT_TRUE(RegistryKey::open("\\Software\\NOVR", false));
  EXPECT_TRUE(RegistryKey::open("Software\\NOVR\\Palomir\\", false));
  EXPECT_FALSE(RegistryKey::open("\\Software\\NOVR\\Pal", false));
}

TEST_F(Registry, KeyPathsThatAreNotPlainSegmentsAreRefused) {
  const std::string refused[] = {
      "",
      "\\",
      "\\Software\\NOVR\\..\\Vektrano",
      "\\Software\\NOVR\\Vektrano\\..",
      "\\Software\\.\\NOVR",
      "\\Software\\\\NOVR",
      "\\Software\\NOVR/../../etc",
      "/etc/passwd",
      "\\Software\\NOVR\\Vektrano\\Form1]\r\n[\\Other",
      "\\Software\\NOVR\\Vektrano\\Fo\x01rm1",
      "\\Software\\NOVR\\Vektrano\\Form1\n",
      "\\Software\\" + std::string(256, 'x'),
  };
  for (const std::string& path : refused) {
    EXPECT_FALSE(RegistryKey::open(path, true)) << path;
    EXPECT_FALSE(RegistryKey::open(path, false)) << path;
  }
  EXPECT_FALSE(fileExists(registryFile()));
  EXPECT_TRUE(RegistryKey::open("\\Software\\NOVR\\Vektrano\\Form 2 č", true));
}

TEST_F(Registry, FlushMergesOnlyThisKeysWrites) {
  {
    RegistryKey k = key();
    k.writeInteger("Keep", 1);
    k.writeInteger("Drop", 2);
  }
  RegistryKey a = key();
  RegistryKey b = key();
  RegistryKey other = key("\\Software\\NOVR\\Palomir");
  a.writeInteger("Top", 11);
  EXPECT_TRUE(a.deleteValue("Drop"));
  EXPECT_FALSE(a.deleteValue("Never"));
  b.writeInteger("Left", 22);
  other.writeBool("Associated", true);
  ASSERT_TRUE(a.flush());
  ASSERT_TRUE(b.flush());
  ASSERT_TRUE(other.flush());

  RegistryKey k = key(kForm1, false);
  EXPECT_EQ(k.readInteger("Top"), 11);
  EXPECT_EQ(k.readInteger("Left"), 22);
  EXPECT_EQ(k.readInteger("Keep"), 1);
  EXPECT_FALSE(k.valueExists("Drop"));  // b had seen it, yet did not write it back
  EXPECT_TRUE(key("\\Software\\NOVR\\Palomir", false).readBool("Associated"));
}

TEST_F(Registry, ClosingAKeyStoresItsWrites) {
  {
    RegistryKey k = key();
    k.writeString("SaveFileName", "/data/expedice.qvl");
    RegistryKey moved = std::move(k);
  }
  EXPECT_EQ(key(kForm1, false).readString("SaveFileName"), "/data/expedice.qvl");
}

TEST_F(Registry, HandEditedStoreIsReadAsFarAsItCan) {
  std::filesystem::create_directories(dir_.path() + "/NOVR");
  ASSERT_TRUE(writeFileAtomic(registryFile(),
                              "# comment\n"
                              "I Orphan=1\n"
                              "[\\Software\\NOVR\\Vektrano\\Form1]\n"
                              "I Top=12\n"
                              "I Left=twelve\n"
                              "X Odd=1\n"
                              "S Bad=\\q\n"
                              "I Big=4294967295\n"
                              "S Lokportable=JN89AA\n"
                              "[\\Software\\..\\Escape]\n"
                              "I Width=3\n"));
  RegistryKey k = key(kForm1, false);
  EXPECT_EQ(k.readInteger("Top"), 12);
  EXPECT_THROW(k.readInteger("Left"), RegistryValueMissing);
  EXPECT_FALSE(k.valueExists("Odd"));
  EXPECT_FALSE(k.valueExists("Bad"));
  EXPECT_EQ(k.readInteger("Big"), -1);  // a DWORD
  EXPECT_EQ(k.readString("Lokportable"), "JN89AA");
  EXPECT_FALSE(k.valueExists("Width"));  // under the refused key, not this one
}

TEST_F(Registry, StoreThatCannotBeWrittenOpensNoNewKey) {
  // The config "folder" is a file: nothing can be created under it.
  const std::string file = dir_.file("plain");
  std::ofstream(file) << "x";
  ::setenv("XDG_CONFIG_HOME", file.c_str(), 1);
  EXPECT_FALSE(RegistryKey::open(kForm1, true));
}

TEST_F(Registry, TwoProcessesWritingAtOnceBothKeepTheirValues) {
  constexpr int kPerProcess = 40;
  auto writer = [](const char* prefix) {
    for (int i = 0; i < kPerProcess; ++i) {
      auto k = RegistryKey::open(kForm1, true);
      if (!k) _exit(2);
      k->writeInteger(prefix + std::to_string(i), i);
      k->writeString("Shared", prefix);
      if (!k->flush()) _exit(3);
    }
    _exit(0);
  };
  pid_t children[2];
  const char* prefixes[2] = {"A", "B"};
  for (int c = 0; c < 2; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) writer(prefixes[c]);
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  RegistryKey k = key(kForm1, false);
  for (const char* prefix : prefixes)
    for (int i = 0; i < kPerProcess; ++i)
      EXPECT_EQ(k.readInteger(prefix + std::to_string(i)), i) << prefix << i;
  const std::string shared = k.readString("Shared");
  EXPECT_TRUE(shared == "A" || shared == "B") << shared;
}

}  // namespace
}  // namespace vektrano::platform
