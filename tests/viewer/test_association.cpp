#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "tests/support/temp_dir.h"
#include "viewer/association.h"

namespace vektrano::palomir {
namespace {
namespace fs = std::filesystem;

// Output of a shell command, trailing line break removed.
std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

bool haveTool(const char* tool) { return !run(std::string("command -v ") + tool).empty(); }

std::string contentOf(const fs::path& p) {
  return platform::readWholeFile(platform::fromFsPath(p)).value_or("<none>");
}

// The whole user environment of the desktop lives in a temporary folder.
class PalomirAssociation : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = fs::path(dir_.path());
    setenv("HOME", dir_.path().c_str(), 1);
    setenv("XDG_DATA_HOME", (home_ / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
    // xdg-mime asks gio for a file's type on this desktop; local files only.
    setenv("XDG_CURRENT_DESKTOP", "GNOME", 1);
    setenv("GIO_USE_VFS", "local", 1);
    unsetenv("KDE_SESSION_VERSION");
  }
  test::TempDir dir_;
  fs::path home_;
};

TEST_F(PalomirAssociation, FilesAndTheDefaultApplication) {
  const fs::path program = "/opt/palomir app/palomir";
  ASSERT_EQ(userDataHome(), home_ / "data");
  ASSERT_TRUE(Registrace_Pripony(program));

  const fs::path desktop = home_ / "data/applications/palomir.desktop";
  const fs::path package = home_ / "data/mime/packages/palomir.xml";
  EXPECT_EQ(contentOf(desktop), desktopEntry(program));
  EXPECT_EQ(contentOf(package), mimePackageXml());
  EXPECT_NE(contentOf(desktop).find("Exec=\"/opt/palomir app/palomir\" %f\n"), std::string::npos);
  EXPECT_NE(contentOf(desktop).find("MimeType=application/x-palomir;\n"), std::string::npos);
  EXPECT_NE(contentOf(package).find("<comment>Soubor programu Vektrano</comment>"),
            std::string::npos);
  // The file type and the entry show the viewer's icon, from the theme.
  EXPECT_NE(contentOf(desktop).find("Icon=palomir\n"), std::string::npos);
  EXPECT_NE(contentOf(package).find("<icon name=\"palomir\"/>"), std::string::npos);
  for (const char* icon : {"apps/palomir.svg", "mimetypes/application-x-palomir.svg"})
    EXPECT_EQ(contentOf(home_ / "data/icons/hicolor/scalable" / icon), palomirIconSvg()) << icon;
  if (haveTool("desktop-file-validate")) {
    EXPECT_EQ(run("desktop-file-validate '" + desktop.string() + "' 2>&1"), "");
  }

  if (!haveTool("xdg-mime")) GTEST_SKIP() << "xdg-utils not installed";
  EXPECT_EQ(run("xdg-mime query default application/x-palomir"), "palomir.desktop");

  if (!haveTool("update-mime-database") || !haveTool("gio"))
    GTEST_SKIP() << "shared-mime-info or gio not installed";
  EXPECT_TRUE(fs::exists(home_ / "data/mime/mime.cache"));
  for (const char* name : {"den.qvl", "DEN.QVL"}) {
    const fs::path log = home_ / name;
    ASSERT_TRUE(platform::writeFileAtomic(platform::fromFsPath(log), "JO70GQ;poř.;\r\n"));
    EXPECT_EQ(run("xdg-mime query filetype '" + log.string() + "'"), "application/x-palomir")
        << name;
  }
}

TEST_F(PalomirAssociation, RegisteringTwiceChangesNothing) {
  const fs::path program = "/usr/bin/palomir";
  ASSERT_TRUE(Registrace_Pripony(program));
  const fs::path files[] = {home_ / "data/applications/palomir.desktop",
                            home_ / "data/mime/packages/palomir.xml",
                            home_ / "config/mimeapps.list"};
  std::string before[3];
  fs::file_time_type times[2];
  for (int i = 0; i < 3; ++i) before[i] = contentOf(files[i]);
  for (int i = 0; i < 2; ++i) times[i] = fs::last_write_time(files[i]);
  ASSERT_TRUE(Registrace_Pripony(program));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(contentOf(files[i]), before[i]) << files[i];
  for (int i = 0; i < 2; ++i) EXPECT_EQ(fs::last_write_time(files[i]), times[i]) << files[i];
  if (haveTool("xdg-mime")) {
    const std::string list = before[2];
    const std::string line = "application/x-palomir=palomir.desktop";
    ASSERT_NE(list.find(line), std::string::npos);
    EXPECT_EQ(list.find(line), list.rfind(line));
  }
}

TEST_F(PalomirAssociation, AnInstalledProgramKeepsItsInstalledEntry) {
  // <prefix>/bin/palomir with the entry its installation put in place.
  const fs::path prefix = home_ / "prefix";
  const fs::path program = prefix / "bin/palomir";
  const fs::path installed = prefix / "share/applications/palomir.desktop";
  fs::create_directories(installed.parent_path());
  ASSERT_TRUE(platform::writeFileAtomic(platform::fromFsPath(installed), desktopEntry(program)));
  EXPECT_EQ(installedDesktopEntry(program), installed);
  EXPECT_EQ(installedDesktopEntry("/opt/palomir app/palomir"), fs::path());

  ASSERT_TRUE(Registrace_Pripony(program));
  // A user entry of the same name would hide the installed one from the menus.
  EXPECT_FALSE(fs::exists(home_ / "data/applications/palomir.desktop"));
  EXPECT_EQ(contentOf(home_ / "data/mime/packages/palomir.xml"), mimePackageXml());
  if (haveTool("xdg-mime")) {
    EXPECT_NE(contentOf(home_ / "config/mimeapps.list").find("application/x-palomir=palomir.desktop"),
              std::string::npos);
  }
}

TEST_F(PalomirAssociation, UnwritableDataFolderFails) {
  // A file where the data folder should be.
  const fs::path blocked = home_ / "blocked";
  ASSERT_TRUE(platform::writeFileAtomic(platform::fromFsPath(blocked), "x"));
  EXPECT_FALSE(Registrace_Pripony("/usr/bin/palomir", blocked));
  // A program path with a line break cannot go into a desktop entry.
  EXPECT_FALSE(Registrace_Pripony("/tmp/a\nb/palomir", home_ / "data"));
  EXPECT_FALSE(fs::exists(home_ / "data/applications/palomir.desktop"));
}

TEST(PalomirDesktopExec, Quoting) {
  struct Case {
    const char* path;
    const char* exec;  // as it stands in the file
  };
  const Case cases[] = {
      {"/usr/bin/palomir", "/usr/bin/palomir"},
      {"/opt/my app/palomir", "\"/opt/my app/palomir\""},
      {"/opt/a\"b/palomir", "\"/opt/a\\\\\"b/palomir\""},
      {"/opt/$x/palomir", "\"/opt/\\\\$x/palomir\""},
      {"/opt/a\\b/palomir", "\"/opt/a\\\\\\\\b/palomir\""},
      {"/opt/100%/palomir", "/opt/100%%/palomir"},
  };
  for (const auto& c : cases) EXPECT_EQ(desktopExecArgument(c.path), c.exec) << c.path;
}

}  // namespace
}  // namespace vektrano::palomir
