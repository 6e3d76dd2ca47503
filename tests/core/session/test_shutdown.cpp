// Closing the main window: refused while tool windows exist; the crash
// backup goes only once the log is safe on disk; the settings are written.
#include "core/session/shutdown.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "core/log/log_file.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "tests/support/message_recorder.h"

namespace vektrano {
namespace {

namespace fs = std::filesystem;
using platform::fileExists;
using test::TempDir;

using Recorder = test::MessageRecorder;

class FakeUi : public ShutdownUi {
 public:
  std::optional<std::string> answer;  // the save dialog's choice
  int dialogs = 0;
  std::optional<std::string> askSaveName(const std::string&, const std::string&) override {
    ++dialogs;
    return answer;
  }
  void collectSettings(MainWindowSettings& s) override { s.Kanal = 33; }
};

TEST(CloseRefusal, OpenToolWindowsAreBroughtToTheFrontAndCounted) {
  EXPECT_FALSE(odmitnoutZavreni(std::vector<int>{}));
  const auto r = odmitnoutZavreni(std::vector<int>{11, 2});
  ASSERT_TRUE(r);
  EXPECT_EQ(r->doPopredi, (std::vector<int>{11, 2}));
  EXPECT_EQ(r->zprava, "VEKTRANO nelze ukončit. Máš ještě otevřená některá okna, celkem : 2 oken.");
}

class ShutdownTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    log.ZalohaFileName = home.file("zaloha.qvl");
    settings.UlozisteDat = home.file("UlozisteDat");
    fs::create_directories(settings.UlozisteDat);
  }
  void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

  void addContact(const std::string& call) {
    log.Denik.appendRow({std::to_string(log.Denik.rowCount()), "07:05", "59", call, "57",
                         "JO80GQ", "141", ""});
    ASSERT_TRUE(ulozZalohu(log));
  }

  ShutdownContext context() {
    ShutdownContext ctx(log, settings, ui);
    ctx.programFolder = home.path();
    ctx.executableFolder = home.path();
    return ctx;
  }

  int storedKanal() {
    auto key = platform::RegistryKey::open(kMainWindowKey, false);
    return key && key->valueExists("Kanal") ? key->readInteger("Kanal") : -1;
  }

  std::vector<std::string> safetyCopies() {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(settings.UlozisteDat))
      if (e.path().filename().string().rfind("zaloha_", 0) == 0) out.push_back(e.path().string());
    return out;
  }

  TempDir home, config;
  Recorder rec;
  FakeUi ui;
  LogDocument log;
  MainWindowSettings settings;
};

TEST_F(ShutdownTest, CrashBackupGoesOnlyWhenTheLogIsSafe) {
  struct Case {
    const char* name;
    std::string path;                   // relative to home; "" none
    std::optional<std::string> answer;  // the save dialog
    bool dataFolder;                    // the data folder exists
    bool backupKept;
    int safetyCopies;
  } cases[] = {
      {"log written", "UlozisteDat/denik.qvl", {}, true, false, 0},
      {"log cannot be written", "chybi/denik.qvl", {}, true, true, 0},
      {"no path, name chosen", "", "UlozisteDat/novy", true, false, 0},
      {"no path, cancelled, safety copy", "", {}, true, false, 1},
      {"no path, cancelled, no data folder", "", {}, false, true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log = LogDocument();
    log.ZalohaFileName = home.file("zaloha.qvl");
    log.SaveFileName = c.path.empty() ? "" : home.file(c.path);
    if (c.dataFolder) {
      fs::create_directories(settings.UlozisteDat);
      for (const std::string& f : safetyCopies()) fs::remove(f);
    } else {
      fs::remove_all(settings.UlozisteDat);
    }
    ui.answer = c.answer ? std::optional(home.file(*c.answer)) : std::nullopt;
    rec.texts.clear();
    addContact("Petr");

    ShutdownContext ctx = context();
    EXPECT_TRUE(FormCloseQuery(ctx));
    const ZavreniVysledek r = FormClose(ctx);
    EXPECT_EQ(r.denikUlozen, !c.backupKept);
    EXPECT_EQ(fileExists(log.ZalohaFileName), c.backupKept);
    EXPECT_EQ(r.zalohaSmazana, !c.backupKept);
    if (c.backupKept) {
      ASSERT_FALSE(rec.texts.empty());
      EXPECT_NE(rec.texts.back().find(log.ZalohaFileName), std::string::npos) << rec.texts.back();
    }
    if (c.dataFolder) {
      EXPECT_EQ(static_cast<int>(safetyCopies().size()), c.safetyCopies);
    }
    if (c.answer) {
      EXPECT_TRUE(fileExists(home.file(*c.answer) + ".qvl"));
    }
    EXPECT_EQ(ui.dialogs > 0, c.path.empty());
    ui.dialogs = 0;
    // The settings are written whatever became of the log.
    EXPECT_TRUE(r.nastaveniZapsano);
    EXPECT_EQ(storedKanal(), 33);
    fs::remove(platform::fsPath(home.file("zaloha.bak")));
  }
}

TEST_F(ShutdownTest, EmptyUnsavedLogClosesWithoutAsking) {
  ASSERT_TRUE(platform::writeFileAtomic(log.ZalohaFileName, "x"));
  ShutdownContext ctx = context();
  EXPECT_TRUE(FormCloseQuery(ctx));
  const ZavreniVysledek r = FormClose(ctx);
  EXPECT_EQ(ui.dialogs, 0);
  EXPECT_TRUE(rec.texts.empty());
  EXPECT_TRUE(r.zalohaSmazana);
}

TEST_F(ShutdownTest, AfterAnEndedStartUpNothingIsWritten) {
  log.SaveFileName = home.file("UlozisteDat/denik.qvl");
  addContact("Petr");
  ShutdownContext ctx = context();
  ctx.startupEnded = true;
  EXPECT_TRUE(FormCloseQuery(ctx));
  const ZavreniVysledek r = FormClose(ctx);
  EXPECT_FALSE(fileExists(log.SaveFileName));
  EXPECT_TRUE(fileExists(log.ZalohaFileName));
  EXPECT_FALSE(r.nastaveniZapsano);
  EXPECT_EQ(storedKanal(), -1);
}

}  // namespace
}  // namespace vektrano
