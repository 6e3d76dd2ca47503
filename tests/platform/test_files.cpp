// The file layer: one safe file name from any text, and the atomic write and
// the whole-file read when a step fails or the file changes meanwhile.
#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "platform/cp1250.h"
#include "tests/support/file_faults.h"
#include "tests/support/temp_dir.h"

namespace vektrano::platform {
namespace {

namespace fs = std::filesystem;
using test::FileFaults;
using test::TempDir;

// The entries of a folder, hidden temporary files included.
std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(fsPath(folder))) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FileNameFromText, HostileNamesStayInsideTheFolder) {
  TempDir dir;
  const fs::path folder = fs::path(dir.path());
  const std::string hostile[] = {
      "..",
      ".",
      "/etc/passwd",
      "a/../../b",
      "..\\..\\windows",
      std::string("a\0b", 3),
      std::string(1, '\0'),
      std::string(300, 'x'),
      std::string(300, '\x9A'),  // š: two bytes each on disk
      std::string(250, '\x80'),  // €: three bytes each on disk
      "....",
      "\x01\x02\x1f\x7f",
      "",
      "/",
  };
  for (const std::string& text : hostile) {
    const std::string name = fileNameFromText(text);
    const std::string shown = cp1250ToUtf8(text).substr(0, 40);
    EXPECT_FALSE(name.empty()) << shown;
    EXPECT_EQ(name.find_first_of("/\\"), std::string::npos) << shown;
    EXPECT_NE(name.find_first_not_of('.'), std::string::npos) << shown;
    for (unsigned char c : name) EXPECT_FALSE(c < 0x20 || c == 0x7F) << shown;
    // On disk the name is UTF-8.
    const std::string onDisk = pathFromText(name);
    EXPECT_LE(onDisk.size(), kMaxFileNameBytes) << shown;
    EXPECT_EQ((folder / fsPath(onDisk)).lexically_normal().parent_path(), folder) << shown;
    // A file of that name can be written and is found again.
    const std::string path = joinPath(dir.path(), onDisk);
    EXPECT_TRUE(writeFileAtomic(path, "x")) << shown;
    EXPECT_EQ(readWholeFile(path), "x") << shown;
  }
}

// A path is the file system's bytes: a name code page 1250 lacks is written,
// found and read like any other, and becomes text only to be shown (what the
// code page lacks as "?") or kept in a cp1250 file (not at all when the code
// page cannot write it whole).
TEST(FilePaths, PathsAreTheFileSystemsBytesAndBecomeTextOnlyToBeShownOrKept) {
  struct Case {
    const char* what;
    std::string name;                  // the file system's bytes
    std::string shown;                 // pathText
    std::optional<std::string> kept;   // storedPath
  } cases[] = {
      {"ASCII", "denik.qvl", "denik.qvl", "denik.qvl"},
      {"Czech", "den\xC3\xADk \xC5\xA1\xC4\x8D.qvl", "deník šč.qvl", "deník šč.qvl"},
      {"Greek", "\xCE\xA9mega", "?mega", std::nullopt},
      {"Cyrillic", "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD", "????", std::nullopt},
      {"no UTF-8", "\xDAlo\x9Ei\x9At\xEC", "?lo?i?t?", std::nullopt},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string folder = joinPath(dir.path(), c.name);
    const std::string path = joinPath(folder, c.name + ".txt");
    ASSERT_TRUE(fs::create_directory(fsPath(folder)));
    EXPECT_TRUE(writeFileAtomic(path, "obsah", joinPath(folder, "zaloha")));
    EXPECT_TRUE(dirExists(folder));
    EXPECT_TRUE(fileExists(path));
    EXPECT_EQ(readWholeFile(path), "obsah");
    EXPECT_EQ(entries(folder), std::vector<std::string>{c.name + ".txt"});
    EXPECT_EQ(fromFsPath(fsPath(path)), path);
    EXPECT_EQ(pathText(c.name), c.shown);
    EXPECT_EQ(storedPath(c.name), c.kept);
    if (c.kept) EXPECT_EQ(pathFromText(*c.kept), c.name);
    EXPECT_EQ(pathFromQString(pathToQString(c.name)) == c.name, c.what != std::string("no UTF-8"));
  }
  EXPECT_EQ(pathToQString("\xCE\xA9mega"), QString(QChar(0x03A9)) + QStringLiteral("mega"));
}

TEST(FileNameFromText, OrdinaryNamesKeepEveryByte) {
  for (const std::string text : {"HORA_2008_JO70PO_KOZÁKOV_8_4_2008_14_05_33", "zaloha_1.qvl",
                                 "Sněžka (1602 m)", "a.b", ".skrytý", "x.."})
    EXPECT_EQ(fileNameFromText(text), text);
  EXPECT_EQ(fileNameFromText(std::string("a\0b\tc", 5)), "abc");
  EXPECT_EQ(fileNameFromText(".."), "__");
  EXPECT_EQ(fileNameFromText("a/b\\c"), "a_b_c");
  EXPECT_EQ(fileNameFromText(std::string(300, '\x9A')), std::string(100, '\x9A'));
}

TEST(FileWriteFaults, EveryFailingStepKeepsThePreviousFileAndARetryWritesTheNew) {
  struct Case {
    FileStep step;
    int err;
    const char* what;
  } cases[] = {
      {FileStep::Create, EROFS, "read-only folder"},
      {FileStep::Create, EACCES, "folder not writable"},
      {FileStep::Write, ENOSPC, "disk full while writing"},
      {FileStep::Sync, EIO, "flush to disk failed"},
      {FileStep::Backup, ENOSPC, "no room for the backup"},
      {FileStep::Rename, ENOENT, "temporary file removed meanwhile"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.file("denik.qvl"), backup = dir.file("denik.bak");
    ASSERT_TRUE(writeFileAtomic(path, "old\r\n"));
    {
      FileFaults faults;
      faults.fail(c.step, c.err);
      errno = 0;
      EXPECT_FALSE(writeFileAtomic(path, "new\r\n", backup)) << c.what;
      EXPECT_EQ(errno, c.err) << c.what;
      EXPECT_EQ(faults.failures(), 1) << c.what;
    }
    EXPECT_EQ(readWholeFile(path), "old\r\n") << c.what;
    EXPECT_EQ(entries(dir.path()).size(), fs::exists(fsPath(backup)) ? 2u : 1u) << c.what;  // no temporary file left
    ASSERT_TRUE(writeFileAtomic(path, "new\r\n", backup)) << c.what;
    EXPECT_EQ(readWholeFile(path), "new\r\n") << c.what;
    EXPECT_EQ(readWholeFile(backup), "old\r\n") << c.what;
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"denik.bak", "denik.qvl"})) << c.what;
  }
}

TEST(FileReadFaults, AFileThatGoesOrShrinksWhileReadIsNoContent) {
  TempDir dir;
  const std::string path = dir.file("seznam.jmn");
  const std::string content(100000, 'a');
  {
    ASSERT_TRUE(writeFileAtomic(path, content));
    FileFaults faults;
    faults.fail(FileStep::Open, ENOENT);
    EXPECT_EQ(readWholeFile(path), std::nullopt) << "removed before it was opened";
  }
  {
    FileFaults faults;
    faults.fail(FileStep::Read, EIO);
    EXPECT_EQ(readWholeFile(path), std::nullopt) << "read error";
  }
  {
    FileFaults faults;
    faults.beforeRead("seznam", [](const std::string& p) { ASSERT_EQ(::truncate(fsPath(p).c_str(), 10), 0); });
    EXPECT_EQ(readWholeFile(path), std::nullopt) << "cut while read";
  }
  {
    ASSERT_TRUE(writeFileAtomic(path, content));
    FileFaults faults;
    faults.beforeRead("seznam", [](const std::string& p) { fs::remove(fsPath(p)); });
    EXPECT_EQ(readWholeFile(path), content) << "removed once open: the open file is whole";
  }
}

TEST(FileReadFaults, OnlyPlainFilesAreRead) {
  TempDir dir;
  const std::string fifo = dir.file("roura");
  ASSERT_EQ(::mkfifo(fsPath(fifo).c_str(), 0600), 0);
  EXPECT_EQ(readWholeFile(fifo), std::nullopt);  // neither waits for a writer nor reads for ever
  EXPECT_EQ(readWholeFile("/dev/zero"), std::nullopt);
  EXPECT_EQ(readWholeFile(dir.path()), std::nullopt);
}

TEST(FilePaths, ANulByteNamesNoFile) {
  TempDir dir;
  const std::string cut = dir.file("a");
  const std::string withNul = cut + std::string("\0b", 2);
  ASSERT_TRUE(writeFileAtomic(cut, "kept"));
  EXPECT_FALSE(writeFileAtomic(withNul, "lost"));
  EXPECT_FALSE(writeFileAtomic(dir.file("c"), "x", withNul));
  EXPECT_EQ(readWholeFile(withNul), std::nullopt);
  EXPECT_FALSE(fileExists(withNul));
  EXPECT_FALSE(dirExists(std::string(dir.path()) + std::string("\0", 1)));
  EXPECT_FALSE(renameNoReplace(cut, withNul));
  EXPECT_EQ(readWholeFile(cut), "kept");
  EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"a"});
}

}  // namespace
}  // namespace vektrano::platform
