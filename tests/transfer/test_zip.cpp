#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/temp_dir.h"
#include "transfer/zip.h"
#include "transfer/zip_support.h"

using namespace vektrano;
using namespace vektrano::transfer;
using vektrano::test::TempDir;

namespace {

void writeFile(const std::string& path, const std::string& data) {
  std::ofstream(platform::fsPath(path), std::ios::binary) << data;
}
std::string readFile(const std::string& path) { return platform::readWholeFile(path).value_or("<missing>"); }

std::string le16(uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string le32(uint32_t v) { return le16(v & 0xFFFF) + le16(v >> 16); }

std::string rawDeflate(const std::string& data) {
  uLongf n = compressBound(data.size());
  std::string out(n, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(data.data()), data.size(),
            Z_DEFAULT_COMPRESSION);
  return out.substr(2, n - 6);  // without the zlib header and the Adler-32
}

// One local header with its data, as a hostile or foreign archive may hold it.
std::string localEntry(const std::string& name, const std::string& data, uint16_t method, uint32_t crc,
                       uint32_t size, uint16_t flags = 0) {
  return le32(0x04034B50) + le16(20) + le16(flags) + le16(method) + le16(0) + le16(0x5A21) + le32(crc) +
         le32(static_cast<uint32_t>(data.size())) + le32(size) + le16(static_cast<uint32_t>(name.size())) +
         le16(0) + name + data;
}
std::string storedEntry(const std::string& name, const std::string& data) {
  return localEntry(name, data, 0, Crc32(data), static_cast<uint32_t>(data.size()));
}

int sh(const std::string& cmd) { return std::system((cmd + " >/dev/null 2>&1").c_str()); }

struct Recorder {
  std::vector<std::string> errors;
  void attach(TZipComponent& z) {
    z.OnError = [this](TZipComponent&, const std::string& m) { errors.push_back(m); };
  }
};

// Extracts archive into folder with mask "*.*"; the result and the messages.
struct Extraction {
  bool ok;
  std::vector<std::string> errors;
};
Extraction extract(const std::string& archive, const std::string& folder, uint64_t cap = uint64_t{4} << 30) {
  TUnZip u;
  Recorder rec;
  rec.attach(u);
  u.ArcName = archive;
  u.SetExtrPath(folder);
  u.MaxTotalSize = cap;
  bool ok = u.Extract();
  return {ok, rec.errors};
}

}  // namespace

TEST(ZipWriter, ByteExactLayout) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("a"));
  std::filesystem::create_directory(dir.file("b"));
  writeFile(dir.file("a/same.txt"), "first");
  writeFile(dir.file("b/same.txt"), "second one wins, second one wins");
  writeFile(dir.file("a/Zeta.dat"), "");
  const std::string text(5000, 'x');
  writeFile(dir.file("a/alpha.txt"), text);

  TZip z;
  Recorder rec;
  rec.attach(z);
  z.ArcName = dir.file("out.zip");
  z.Files = {dir.file("a/same.txt"), dir.file("a/alpha.txt"), dir.file("a/*.txt"), dir.file("a/Zeta.dat"),
             dir.file("missing.txt"), dir.file("b/same.txt"), dir.file("out.zip")};
  int progress = 0;
  z.OnProgress = [&](TZipComponent&, int16_t p) { progress += p == 100; };
  ASSERT_TRUE(z.Compress());
  EXPECT_TRUE(rec.errors.empty());
  EXPECT_EQ(progress, 3);

  // Upper case before lower case; the later "same.txt" wins; the empty file
  // is the two-byte deflate encoding of nothing.
  struct E {
    std::string name, data;
  };
  const E entries[] = {{"Zeta.dat", ""}, {"alpha.txt", text}, {"same.txt", "second one wins, second one wins"}};
  std::string locals, central;
  for (const E& e : entries) {
    const std::string packed = rawDeflate(e.data);
    struct stat st {};
    ASSERT_EQ(::stat(dir.file(e.name == "same.txt" ? "b/same.txt" : "a/" + e.name).c_str(), &st), 0);
    struct tm tm {};
    localtime_r(&st.st_mtime, &tm);
    const uint32_t dosTime = (tm.tm_hour << 11) | (tm.tm_min << 5) | (tm.tm_sec / 2);
    const uint32_t dosDate = ((tm.tm_year - 80) << 9) | ((tm.tm_mon + 1) << 5) | tm.tm_mday;
    const std::string common = le16(20) + le16(0) + le16(8) + le16(dosTime) + le16(dosDate) + le32(Crc32(e.data)) +
                               le32(static_cast<uint32_t>(packed.size())) +
                               le32(static_cast<uint32_t>(e.data.size())) +
                               le16(static_cast<uint32_t>(e.name.size())) + le16(0);
    central += le32(0x02014B50) + le16(20) + common + le16(0) + le16(0) + le16(0) + le32(32) +
               le32(static_cast<uint32_t>(locals.size())) + e.name;
    locals += le32(0x04034B50) + common + e.name + packed;
    if (e.data.empty()) {
      EXPECT_EQ(packed.size(), 2u);
    }
  }
  const std::string expected = locals + central + le32(0x06054B50) + le16(0) + le16(0) + le16(3) + le16(3) +
                               le32(static_cast<uint32_t>(central.size())) +
                               le32(static_cast<uint32_t>(locals.size())) + le16(0);
  EXPECT_EQ(readFile(dir.file("out.zip")), expected);
}

TEST(ZipWriter, RefusalsAndFailures) {
  TempDir dir;
  writeFile(dir.file("old.zip"), "previous");
  writeFile(dir.file("f.txt"), "data");
  TZip z;
  Recorder rec;
  rec.attach(z);
  z.ArcName = dir.file("old.zip");
  z.Files = {dir.file("f.txt")};
  z.Compress();
  z.Files.clear();
  z.Overwrite = true;
  z.Compress();
  EXPECT_EQ(rec.errors, (std::vector<std::string>{"No overwite rights for file " + dir.file("old.zip") + "!",
                                                  "No files for compress!"}));
  EXPECT_EQ(readFile(dir.file("old.zip")), "previous");

  // Nothing could be packed: false, and the earlier archive stays.
  z.Files = {dir.file("none.txt")};
  EXPECT_FALSE(z.Compress());
  EXPECT_EQ(readFile(dir.file("old.zip")), "previous");

  z.ArcName = dir.file("no/such/folder/x.zip");
  z.Files = {dir.file("f.txt")};
  rec.errors.clear();
  EXPECT_FALSE(z.Compress());
  EXPECT_EQ(rec.errors, std::vector<std::string>{"Open output file error."});

  // Without OnError the message goes to a warning box.
  std::vector<platform::Message> boxes;
  auto previous = platform::setMessageHandler([&](const platform::Message& m) {
    boxes.push_back(m);
    return platform::Answer::Ok;
  });
  TZip quiet;
  quiet.ArcName = dir.file("q.zip");
  quiet.Compress();
  platform::setMessageHandler(previous);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, platform::MessageKind::Warning);
  EXPECT_EQ(boxes[0].text, "No files for compress!");
}

TEST(ZipRoundTrip, WriterToReaderReplacesAndMasks) {
  TempDir dir;
  std::string binary;
  for (int i = 0; i < 200000; ++i) binary += static_cast<char>((i * 7919) ^ (i >> 5));
  writeFile(dir.file("bin.dat"), binary);
  // File names are the file system's bytes (UTF-8); the archive keeps a
  // name cp1250 can write in cp1250, one it cannot in UTF-8 with its flag.
  const std::string cap = platform::pathFromText("Čáp.txt");
  const std::string omega = "\xCE\xA9mega.txt";
  writeFile(dir.file(cap), "čeština");
  writeFile(dir.file(omega), "omega");
  writeFile(dir.file("README"), "no extension");
  TZip z;
  z.ArcName = dir.file("r.zip");
  z.Files = {dir.file("bin.dat"), dir.file(cap), dir.file("README"), dir.file(omega)};
  ASSERT_TRUE(z.Compress());

  const std::string out = dir.file("out");
  std::filesystem::create_directory(out);
  writeFile(out + "/bin.dat", "old content");
  Extraction e = extract(dir.file("r.zip"), out);
  EXPECT_TRUE(e.ok);
  EXPECT_TRUE(e.errors.empty());
  EXPECT_EQ(readFile(out + "/bin.dat"), binary);  // replaced whatever Overwrite holds
  EXPECT_EQ(readFile(out + "/" + cap), "čeština");
  EXPECT_EQ(readFile(out + "/" + omega), "omega");
  EXPECT_EQ(readFile(out + "/README"), "no extension");
  const std::string archive = readFile(dir.file("r.zip"));
  EXPECT_NE(archive.find("\xC8\xE1p.txt"), std::string::npos);  // cp1250
  EXPECT_EQ(archive.find(cap), std::string::npos);

  TUnZip u;
  u.ArcName = dir.file("r.zip");
  u.SetExtrPath(dir.file("masked"));  // created with its parents
  u.Files = {"ČÁP.*"};
  EXPECT_TRUE(u.Extract());
  EXPECT_TRUE(platform::fileExists(dir.file("masked/" + cap)));
  EXPECT_FALSE(platform::fileExists(dir.file("masked/bin.dat")));
}

class ZipInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sh("command -v zip") || sh("command -v unzip") || sh("command -v python3"))
      GTEST_SKIP() << "zip, unzip or python3 missing";
    std::string mixed;
    for (int i = 0; i < 300000; ++i) mixed += static_cast<char>(i % 251 < 200 ? 'a' + i % 26 : i * 31);
    files = {{"text.txt", std::string(100000, 'T') + "end\r\n"}, {"mixed.bin", mixed}, {"tiny", "x"}, {"empty.e", ""}};
    std::filesystem::create_directory(dir.file("src"));
    for (auto& [name, data] : files) writeFile(dir.file("src/" + name), data);
  }
  void expectSame(const std::string& folder) {
    for (auto& [name, data] : files) EXPECT_EQ(readFile(folder + "/" + name), data) << name;
  }
  TempDir dir;
  std::vector<std::pair<std::string, std::string>> files;
};

TEST_F(ZipInterop, OurArchivePassesUnzipAndPython) {
  TZip z;
  z.ArcName = dir.file("ours.zip");
  for (auto& f : files) z.Files.push_back(dir.file("src/" + f.first));
  ASSERT_TRUE(z.Compress());
  const std::string arc = dir.file("ours.zip");
  EXPECT_EQ(sh("unzip -t " + arc), 0);
  EXPECT_EQ(sh("unzip -o " + arc + " -d " + dir.file("u")), 0);
  expectSame(dir.file("u"));
  EXPECT_EQ(sh("python3 -c \"import sys,zipfile; z=zipfile.ZipFile(sys.argv[1]); "
               "assert z.testzip() is None; z.extractall(sys.argv[2])\" " +
               arc + " " + dir.file("p")),
            0);
  expectSame(dir.file("p"));
}

TEST_F(ZipInterop, ReadsInfoZipArchives) {
  // Default (deflate, or stored where it does not pay), forced stored, and
  // the extra fields Info-ZIP adds.
  for (const char* level : {"-6", "-0", "-9"}) {
    SCOPED_TRACE(level);
    const std::string arc = dir.file(std::string("iz") + level + ".zip");
    ASSERT_EQ(sh("cd " + dir.file("src") + " && zip " + level + " " + arc + " text.txt mixed.bin tiny empty.e"), 0);
    const std::string out = dir.file(std::string("o") + level);
    Extraction e = extract(arc, out);
    EXPECT_TRUE(e.ok);
    EXPECT_TRUE(e.errors.empty()) << e.errors.front();
    expectSame(out);
  }
}

TEST_F(ZipInterop, ReadsPythonArchivesWithUtf8Names) {
  const std::string arc = dir.file("py.zip");
  const std::string script =
      "import sys,zipfile\n"
      "z=zipfile.ZipFile(sys.argv[1],'w')\n"
      "for n in ['text.txt','mixed.bin','tiny','empty.e']:\n"
      "  z.write(sys.argv[2]+'/'+n, n, zipfile.ZIP_DEFLATED if n!='tiny' else zipfile.ZIP_STORED)\n"
      "z.writestr('\\u017elu\\u0165ou\\u010dk\\u00fd.txt', 'kun')\n"
      "z.writestr('sub/', '')\n"
      "z.close()\n";
  writeFile(dir.file("mk.py"), script);
  ASSERT_EQ(sh("python3 " + dir.file("mk.py") + " " + arc + " " + dir.file("src")), 0);
  Extraction e = extract(arc, dir.file("o"));
  EXPECT_TRUE(e.ok);
  EXPECT_TRUE(e.errors.empty()) << e.errors.front();
  expectSame(dir.file("o"));
  EXPECT_EQ(readFile(dir.file("o/" + platform::pathFromText("žluťoučký.txt"))), "kun");
}

TEST(ZipReader, HostileArchivesLeaveTheFolderUnharmed) {
  TempDir dir;
  const std::string out = dir.file("out");
  const std::string good = "good file";
  const std::string deflated = rawDeflate(std::string(1000, 'q'));
  std::string varied;
  for (int i = 0; i < 1000; ++i) varied += std::to_string(i * 37 % 101) + ' ';
  std::string flipped = rawDeflate(varied);
  flipped[flipped.size() / 2] ^= 0x10;
  const uint32_t crcQ = Crc32(std::string(1000, 'q'));
  const std::string damaged = "Header missing or damaged in ";

  struct Case {
    const char* what;
    std::string archive;
    bool ok;
    std::vector<std::string> errors;  // exact, with {arc} for the archive path
  };
  const std::string badCrc = "File " + out + "\\keep.txt has bad CRC! Stored CRC is ";
  const std::vector<Case> cases = {
      {"traversal", storedEntry("../keep.txt", "evil") + storedEntry("/etc/x.txt", "evil") +
                        storedEntry("C:\\keep.txt", "evil") + storedEntry("a//keep.txt", "evil") +
                        storedEntry("..\\keep.txt", "evil") + storedEntry("...", "evil") +
                        storedEntry("ke\x01ep.txt", "evil") + storedEntry(std::string(201, 'k'), "evil"),
       true,
       {"Invalid file name ../keep.txt ! Skip next...", "Invalid file name /etc/x.txt ! Skip next...",
        "Invalid file name C:\\keep.txt ! Skip next...", "Invalid file name a//keep.txt ! Skip next...",
        "Invalid file name ..\\keep.txt ! Skip next...", "Invalid file name ... ! Skip next...",
        "Invalid file name ke\x01ep.txt ! Skip next...",
        "Invalid file name " + std::string(201, 'k') + " ! Skip next..."}},
      {"claims 4 GiB", localEntry("keep.txt", deflated, 8, crcQ, 0xFFFFFFF0u), true,
       {"File keep.txt is too large ! Skip next..."}},
      {"claims more than it holds", localEntry("keep.txt", deflated, 8, crcQ, 200000), true, {"*bad CRC"}},
      {"zip64 size", localEntry("keep.txt", deflated, 8, crcQ, 0xFFFFFFFFu), true,
       {"Unsupported file keep.txt (encrypted, zip64 or streamed) ! Skip next..."}},
      {"encrypted", localEntry("keep.txt", deflated, 8, crcQ, 1000, 1), true,
       {"Unsupported file keep.txt (encrypted, zip64 or streamed) ! Skip next..."}},
      {"flipped byte", localEntry("keep.txt", flipped, 8, Crc32(varied), static_cast<uint32_t>(varied.size())), true, {"*bad CRC"}},
      {"bad crc stored", localEntry("keep.txt", "evil", 0, 1234, 4), true, {"*bad CRC"}},
      {"truncated", localEntry("keep.txt", rawDeflate(varied), 8, Crc32(varied), 4000).substr(0, 100), false, {damaged + "{arc}"}},
      {"bad signature", "PK\x05\x05" + std::string(40, 'z') + storedEntry("keep.txt", "evil"), true,
       {damaged + "{arc}"}},
      {"central directory first", le32(0x02014B50) + storedEntry("keep.txt", "evil"), true, {}},
      {"unknown method", localEntry("keep.txt", "evil", 9, 0, 4) + storedEntry("other.txt", "fine"), true,
       {"Unknown compress method (9) used on keep.txt ! Skip next..."}},
      {"bomb over the cap", localEntry("keep.txt", rawDeflate(std::string(1 << 20, 0)), 8,
                                       Crc32(std::string(1 << 20, 0)), 1 << 20),
       true,
       {"File keep.txt is too large ! Skip next..."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(out);
    std::filesystem::create_directory(out);
    writeFile(out + "/keep.txt", good);
    const std::string arc = dir.file("hostile.zip");
    writeFile(arc, c.archive);
    Extraction e = extract(arc, out, 512 * 1024);
    EXPECT_EQ(e.ok, c.ok);
    ASSERT_EQ(e.errors.size(), c.errors.size());
    for (size_t i = 0; i < c.errors.size(); ++i) {
      std::string want = c.errors[i];
      if (want == "*bad CRC") {
        EXPECT_EQ(e.errors[i].rfind(badCrc, 0), 0u) << e.errors[i];
      } else {
        if (auto at = want.find("{arc}"); at != std::string::npos) want.replace(at, 5, arc);
        EXPECT_EQ(e.errors[i], want);
      }
    }
    EXPECT_EQ(readFile(out + "/keep.txt"), good);
    EXPECT_FALSE(platform::fileExists(dir.file("keep.txt")));
    size_t count = 0;
    for (auto& entry : std::filesystem::directory_iterator(out)) count += entry.path().filename() != "other.txt";
    EXPECT_EQ(count, 1u) << "no temporary file left behind";
  }
}

TEST(ZipReader, MissingArchiveFolderAndSymlinks) {
  TempDir dir;
  EXPECT_FALSE(extract(dir.file("none.zip"), dir.file("out")).ok);
  writeFile(dir.file("a.zip"), storedEntry("link.txt", "new"));
  writeFile(dir.file("blocker"), "a file, not a folder");
  EXPECT_FALSE(extract(dir.file("a.zip"), dir.file("blocker/sub")).ok);

  // A symbolic link at the target is replaced, never followed.
  std::filesystem::create_directory(dir.file("out"));
  writeFile(dir.file("outside.txt"), "outside");
  std::filesystem::create_symlink(dir.file("outside.txt"), dir.file("out/link.txt"));
  EXPECT_TRUE(extract(dir.file("a.zip"), dir.file("out")).ok);
  EXPECT_EQ(readFile(dir.file("outside.txt")), "outside");
  EXPECT_FALSE(std::filesystem::is_symlink(dir.file("out/link.txt")));
  EXPECT_EQ(readFile(dir.file("out/link.txt")), "new");
}

TEST(ZipReader, IoErrorTexts) {
  EXPECT_EQ(ZipIoErrorText(ZipIoErrorCode(ENOENT, false)), "File not found");
  EXPECT_EQ(ZipIoErrorText(ZipIoErrorCode(ENOENT, true)), "Incorrect path or not found");
  EXPECT_EQ(ZipIoErrorText(ZipIoErrorCode(EACCES, true)), "Bad name or path or syntax");
  EXPECT_EQ(ZipIoErrorText(ZipIoErrorCode(ENOSPC, true)), "Diskette is full");
  EXPECT_EQ(ZipIoErrorText(77), "Input-output error 77");
}
