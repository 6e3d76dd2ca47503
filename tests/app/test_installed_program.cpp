// The programs installed as a Linux program: `cmake --install` into a
// temporary DESTDIR or prefix, the installed Vektrano and Palomir started
// offscreen with their home and XDG folders in a temporary place, the
// desktop entries and the log file type as the desktop sees them, and the
// uninstall.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/cp1250.h"
#include "platform/files.h"
#include "tests/support/temp_dir.h"
#include "viewer/association.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;

const std::string kBuild = VEKTRANO_BUILD_DIR;
const std::string kSource = VEKTRANO_SOURCE_DIR;
constexpr int kStartMs = 60000;

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }

struct Outcome {
  int code = -1;
  std::string output;
};

Outcome run(const QString& program, const QStringList& args, const QProcessEnvironment& env,
            int ms = 120000) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  Outcome o;
  if (!p.waitForStarted(10000)) return {-1, "could not start " + program.toStdString()};
  if (!p.waitForFinished(ms)) {
    p.kill();
    p.waitForFinished(5000);
    return {-1, "timed out: " + program.toStdString()};
  }
  o.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  o.output = p.readAll().toStdString();
  return o;
}

bool haveTool(const char* tool) {
  return run(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("command -v ") + tool},
             QProcessEnvironment::systemEnvironment())
             .code == 0;
}

std::string contentOf(const fs::path& p) {
  return platform::readWholeFile(platform::fromFsPath(p)).value_or("<none>");
}

// Every file and folder under root, relative, folders ending with "/".
std::set<std::string> tree(const fs::path& root) {
  std::set<std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const std::string rel = fs::relative(it->path(), root).generic_string();
    out.insert(it->is_directory() ? rel + "/" : rel);
  }
  return out;
}

// The shipped data: the files directly in the source's data/ folder.
std::vector<std::string> shippedNames() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(fs::path(kSource) / "data"))
    if (e.is_regular_file() && e.path().filename().string()[0] != '.')
      names.push_back(e.path().filename().string());
  return names;
}

// Installs the build (everything of the default component) with the given
// DESTDIR and prefix. Installs of parallel tests take turns, and the
// manifest of this one is kept as manifest: the build's own
// install_manifest.txt, a real installation's, is never touched.
Outcome install(const std::string& destdir, const std::string& prefix, const fs::path& manifest) {
  const std::string lockPath = kBuild + "/install_test.lock";
  const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock >= 0) ::flock(lock, LOCK_EX);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (destdir.empty())
    env.remove(QStringLiteral("DESTDIR"));
  else
    env.insert(QStringLiteral("DESTDIR"), q(destdir));
  Outcome o = run(QStringLiteral(VEKTRANO_CMAKE_COMMAND),
                  {QStringLiteral("--install"), q(kBuild), QStringLiteral("--prefix"), q(prefix),
                   QStringLiteral("--component"), QStringLiteral("Unspecified")},
                  env);
  std::error_code ec;
  fs::copy_file(fs::path(kBuild) / "install_manifest_Unspecified.txt", manifest,
                fs::copy_options::overwrite_existing, ec);
  if (ec) o.code = -1;
  if (lock >= 0) ::close(lock);
  return o;
}

// One started program; always killed and reaped at the end.
class Started {
 public:
  Started(const fs::path& program, const QStringList& args, const QProcessEnvironment& env) {
    process_.setProcessEnvironment(env);
    process_.start(q(program.string()), args);
  }
  ~Started() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  bool waitForLine(const QByteArray& text, int ms) {
    QDeadlineTimer deadline(ms);
    for (;;) {
      err_ += process_.readAllStandardError();
      if (err_.contains(text)) return true;
      if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) return false;
      process_.waitForReadyRead(100);
    }
  }
  std::string err() {
    err_ += process_.readAllStandardError();
    return err_.toStdString();
  }

 private:
  QProcess process_;
  QByteArray err_;
};

bool eventually(const std::function<bool()>& condition, int ms) {
  QDeadlineTimer deadline(ms);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
  return true;
}

// One installation into a DESTDIR for the whole suite; the runs of the
// installed programs start from it.
class InstalledPrograms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    work_ = new test::TempDir;
    fs::create_directories(stage());
    installed_ = install(stage().string(), "/usr/local", fs::path(work_->path()) / "manifest.txt");
  }
  static void TearDownTestSuite() {
    delete work_;
    work_ = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(installed_.code, 0) << installed_.output;
    for (const char* sub : {"home", "run", "logs"}) fs::create_directories(user_.file(sub));
    ::chmod(user_.file("run").c_str(), 0700);
  }

  static fs::path stage() { return fs::path(work_->path()) / "stage"; }
  static fs::path prefix() { return stage() / "usr/local"; }
  fs::path dataHome() const { return fs::path(user_.file("home")) / ".local/share"; }

  // A user of the desktop whose every folder lies in the temporary place.
  QProcessEnvironment userEnvironment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VEKTRANO_HOME"));
    env.remove(QStringLiteral("VEKTRANO_TEST_TYPE"));
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("HOME"), q(user_.file("home")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), q(dataHome().string()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), q(user_.file("home") + "/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), q(user_.file("home") + "/.cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), q(user_.file("run")));
    env.insert(QStringLiteral("XDG_DATA_DIRS"), q((prefix() / "share").string() + ":/usr/share"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("VEKTRANO_MESSAGES"), QStringLiteral("stderr"));
    env.insert(QStringLiteral("VEKTRANO_TEST_HOOKS"), QStringLiteral("1"));
    return env;
  }

  static test::TempDir* work_;  // the DESTDIR "stage" and the install's manifest
  static Outcome installed_;
  test::TempDir user_;
};

test::TempDir* InstalledPrograms::work_ = nullptr;
Outcome InstalledPrograms::installed_;

TEST_F(InstalledPrograms, ProgramsDataDesktopEntriesIconsAndTheFileType) {
  std::set<std::string> expected = {
      "usr/", "usr/local/", "usr/local/bin/", "usr/local/bin/vektrano", "usr/local/bin/palomir",
      "usr/local/share/", "usr/local/share/vektrano/",
      "usr/local/share/applications/", "usr/local/share/applications/vektrano.desktop",
      "usr/local/share/applications/palomir.desktop",
      "usr/local/share/icons/", "usr/local/share/icons/hicolor/",
      "usr/local/share/icons/hicolor/scalable/", "usr/local/share/icons/hicolor/scalable/apps/",
      "usr/local/share/icons/hicolor/scalable/apps/vektrano.svg",
      "usr/local/share/icons/hicolor/scalable/apps/palomir.svg",
      "usr/local/share/mime/", "usr/local/share/mime/packages/",
      "usr/local/share/mime/packages/palomir.xml"};
  for (const std::string& name : shippedNames()) {
    expected.insert("usr/local/share/vektrano/" + name);
    EXPECT_EQ(contentOf(prefix() / "share/vektrano" / name), contentOf(fs::path(kSource) / "data" / name))
        << name;
  }
  // Exactly these: a staged install leaves the desktop's caches to its package.
  EXPECT_EQ(tree(stage()), expected);
  for (const char* program : {"vektrano", "palomir"})
    EXPECT_EQ(::access((prefix() / "bin" / program).c_str(), X_OK), 0) << program;

  // The file type is the one Palomir registers for a user.
  EXPECT_EQ(contentOf(prefix() / "share/mime/packages/palomir.xml"), palomir::mimePackageXml());

  const std::string vektrano = contentOf(prefix() / "share/applications/vektrano.desktop");
  const std::string palomirEntry = contentOf(prefix() / "share/applications/palomir.desktop");
  EXPECT_NE(vektrano.find("\nExec=/usr/local/bin/vektrano %f\n"), std::string::npos) << vektrano;
  EXPECT_NE(vektrano.find("\nIcon=vektrano\n"), std::string::npos);
  // The entries are UTF-8; the literals here are cp1250 like all of the program's.
  EXPECT_NE(vektrano.find(platform::cp1250ToUtf8("\nComment=Deník spojení")), std::string::npos);
  EXPECT_NE(vektrano.find("HamRadio;"), std::string::npos);
  EXPECT_NE(palomirEntry.find("\nExec=/usr/local/bin/palomir %f\n"), std::string::npos) << palomirEntry;
  EXPECT_NE(palomirEntry.find(std::string("\nMimeType=") + palomir::kLogMimeType + ";\n"),
            std::string::npos);
  EXPECT_NE(palomirEntry.find("\nIcon=palomir\n"), std::string::npos);
  EXPECT_NE(palomirEntry.find("HamRadio;"), std::string::npos);

  if (!haveTool("desktop-file-validate")) GTEST_SKIP() << "desktop-file-utils not installed";
  for (const char* entry : {"vektrano.desktop", "palomir.desktop"}) {
    const Outcome v = run(QStringLiteral("desktop-file-validate"),
                          {q((prefix() / "share/applications" / entry).string())},
                          QProcessEnvironment::systemEnvironment());
    EXPECT_EQ(v.code, 0) << entry << ": " << v.output;
    EXPECT_EQ(v.output, "") << entry;
  }
}

TEST_F(InstalledPrograms, VektranoFillsItsDataHomeStoresAContactAndKeepsTheUsersDatabase) {
  const fs::path bin = prefix() / "bin";
  const fs::path share = prefix() / "share/vektrano";
  const std::set<std::string> binBefore = tree(bin), shareBefore = tree(share);
  const fs::path folder = dataHome() / "vektrano";

  // A described log without contacts (cp1250, CR LF), as in the end-to-end test.
  const std::string title =
      "JO70GQ;po\xf8.;\xe8" "as;RV;Vola\xe8ka;RP;Lok\xe1tor;km;pozn;Test;Kopec;JO70GQ;;;;;;;;;;;\r\n";
  const std::string contact = "JO70GQ;1;12:34:00;59;Petr;57;JO70PO;54;;\r\n";
  const std::string log = user_.file("logs/denik.qvl");
  ASSERT_TRUE(platform::writeFileAtomic(log, title));

  {
    QProcessEnvironment env = userEnvironment();
    env.insert(QStringLiteral("VEKTRANO_TEST_TYPE"), QStringLiteral("59 57 jo70po 12:34 petr"));
    Started vektrano(bin / "vektrano", {q(log)}, env);
    ASSERT_TRUE(vektrano.waitForLine("vektrano-test: ready", kStartMs)) << vektrano.err();
    ASSERT_TRUE(vektrano.waitForLine("vektrano-test: typed", kStartMs)) << vektrano.err();
    EXPECT_TRUE(eventually([&] { return contentOf(log) == title + contact; }, 10000))
        << contentOf(log) << vektrano.err();
  }

  // The program folder is the data home's, seeded with every shipped file.
  ASSERT_TRUE(fs::is_directory(folder));
  for (const std::string& name : shippedNames())
    EXPECT_EQ(contentOf(folder / name), contentOf(share / name)) << name;
  EXPECT_TRUE(fs::exists(folder / "vektrano.rep"));
  EXPECT_EQ(contentOf(folder / "zaloha.qvl"), title + contact);
  EXPECT_FALSE(tree(folder / "idx/locl").empty()) << "the first index build";
  // Nothing went beside the installed programs (this runs as root, too).
  EXPECT_EQ(tree(bin), binBefore);
  EXPECT_EQ(tree(share), shareBefore);

  // The operator edits his database and loses the sound; the next start
  // keeps his file and brings the sound back.
  const std::string own = "JO70FC;Moje Praha\r\n";
  ASSERT_TRUE(platform::writeFileAtomic(platform::fromFsPath(folder / "vektrano.zr4"), own));
  fs::remove(folder / "vektrano.wav");
  {
    Started vektrano(bin / "vektrano", {}, userEnvironment());
    ASSERT_TRUE(vektrano.waitForLine("vektrano-test: ready", kStartMs)) << vektrano.err();
    EXPECT_EQ(contentOf(folder / "vektrano.zr4"), own);
    EXPECT_EQ(contentOf(folder / "vektrano.wav"), contentOf(share / "vektrano.wav"));
    for (const char* required : {"vektrano.zr4", "vektrano.wav"})
      EXPECT_EQ(vektrano.err().find(platform::cp1250ToUtf8("Chybí soubor : ") + (folder / required).string()),
                std::string::npos)
          << vektrano.err();
  }
  EXPECT_EQ(tree(bin), binBefore);
}

TEST_F(InstalledPrograms, PalomirMakesItsInstalledEntryTheDefaultWithoutHidingIt) {
  const std::string log = user_.file("logs/denik.qvl");
  ASSERT_TRUE(platform::writeFileAtomic(log, "JO70GQ;po\xf8.;\r\n"));
  const fs::path config = fs::path(user_.file("home")) / ".config";
  Started palomir(prefix() / "bin/palomir", {q(log)}, userEnvironment());
  if (!haveTool("xdg-mime")) GTEST_SKIP() << "xdg-utils not installed";
  ASSERT_TRUE(eventually(
      [&] { return contentOf(config / "mimeapps.list").find("application/x-palomir=palomir.desktop") !=
                   std::string::npos; },
      kStartMs))
      << palomir.err();
  // A user entry of that name would shadow the installed one and its menu item.
  EXPECT_FALSE(fs::exists(dataHome() / "applications/palomir.desktop"));
}

TEST(InstalledIntoAPrefix, CachesRefreshedXdgMimeNamesPalomirAndUninstallRemovesIt) {
  test::TempDir root, user;
  const fs::path prefix = fs::path(root.path()) / "usr";
  const fs::path manifest = fs::path(root.path()) / "manifest.txt";
  const Outcome o = install("", prefix.string(), manifest);
  ASSERT_EQ(o.code, 0) << o.output;
  const std::string entry = contentOf(prefix / "share/applications/palomir.desktop");
  EXPECT_NE(entry.find("\nExec=" + (prefix / "bin/palomir").string() + " %f\n"), std::string::npos)
      << entry;

  if (!haveTool("xdg-mime") || !haveTool("update-mime-database") ||
      !haveTool("update-desktop-database") || !haveTool("gio"))
    GTEST_SKIP() << "xdg-utils, shared-mime-info, desktop-file-utils or gio not installed";
  EXPECT_TRUE(fs::exists(prefix / "share/mime/mime.cache"));
  EXPECT_TRUE(fs::exists(prefix / "share/applications/mimeinfo.cache"));

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("HOME"), q(user.path()));
  env.insert(QStringLiteral("XDG_DATA_HOME"), q(user.file("data")));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), q(user.file("config")));
  env.insert(QStringLiteral("XDG_DATA_DIRS"), q((prefix / "share").string()));
  // xdg-mime asks gio for a file's type on this desktop; local files only.
  env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
  env.insert(QStringLiteral("GIO_USE_VFS"), QStringLiteral("local"));
  env.remove(QStringLiteral("KDE_SESSION_VERSION"));
  const std::string log = user.file("den.qvl");
  ASSERT_TRUE(platform::writeFileAtomic(log, "JO70GQ;po\xf8.;\r\n"));
  const Outcome type = run(QStringLiteral("xdg-mime"),
                           {QStringLiteral("query"), QStringLiteral("filetype"), q(log)}, env);
  EXPECT_EQ(type.output, std::string(palomir::kLogMimeType) + "\n");
  const Outcome app =
      run(QStringLiteral("xdg-mime"),
          {QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(palomir::kLogMimeType)},
          env);
  EXPECT_EQ(app.output, "palomir.desktop\n");

  // Uninstalled: every installed file and share/vektrano go; the caches stay,
  // refreshed without the file type.
  const Outcome u = run(QStringLiteral(VEKTRANO_CMAKE_COMMAND),
                        {q("-DMANIFEST=" + manifest.string()), QStringLiteral("-P"),
                         q(kSource + "/cmake/Uninstall.cmake")},
                        QProcessEnvironment::systemEnvironment());
  ASSERT_EQ(u.code, 0) << u.output;
  for (const std::string& p : tree(prefix))
    EXPECT_TRUE(p.back() == '/' || p.find("cache") != std::string::npos ||
                p.rfind("share/mime/", 0) == 0)
        << p << " was left";
  EXPECT_FALSE(fs::exists(prefix / "share/vektrano"));
  EXPECT_FALSE(fs::exists(prefix / "bin/vektrano"));
  EXPECT_EQ(run(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"),
                 QString::fromLatin1(palomir::kLogMimeType)},
                env)
                .output.find("palomir.desktop"),
            std::string::npos);
}

TEST(BuildFolder, ShippedFilesReachItWithoutReplacingTheOperatorsOwn) {
  test::TempDir src, dst;
  ASSERT_TRUE(platform::writeFileAtomic(src.file("vektrano.zr4"), "shipped zr4"));
  ASSERT_TRUE(platform::writeFileAtomic(src.file("vektrano.wav"), "shipped wav"));
  fs::create_directories(src.file("desktop"));  // no shipped file itself
  ASSERT_TRUE(platform::writeFileAtomic(dst.file("vektrano.zr4"), "his zr4"));
  const Outcome o = run(QStringLiteral(VEKTRANO_CMAKE_COMMAND),
                        {q("-DSRC=" + src.path()), q("-DDST=" + dst.path()), QStringLiteral("-P"),
                         q(kSource + "/cmake/CopyMissing.cmake")},
                        QProcessEnvironment::systemEnvironment());
  ASSERT_EQ(o.code, 0) << o.output;
  EXPECT_EQ(tree(dst.path()), (std::set<std::string>{"vektrano.wav", "vektrano.zr4"}));
  EXPECT_EQ(contentOf(dst.file("vektrano.zr4")), "his zr4");
  EXPECT_EQ(contentOf(dst.file("vektrano.wav")), "shipped wav");
}

}  // namespace
}  // namespace vektrano
