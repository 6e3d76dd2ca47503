// The list windows and the report table on a full disk or a read-only
// folder: each failing write step at saving shows the write message once,
// keeps the grid and leaves the file as it was, and the next save writes
// the grid; a file cut while it is read shows the read message, and the
// window keeps the rows it had.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "core/reference/name_days.h"
#include "platform/files.h"
#include "platform/message.h"
#include "tests/support/message_recorder.h"
#include "tests/support/file_faults.h"
#include "tests/support/temp_dir.h"
#include "windows/exception_words_window.h"
#include "windows/familiar_names_window.h"
#include "windows/name_days_window.h"
#include "windows/report_table_window.h"

namespace vektrano {
namespace {

using platform::FileStep;

const std::string kWriteError = "Chyba I/O při ukládání souboru : ";
const std::string kReadError = "Chyba I/O při čtení souboru : ";

struct Window {
  const char* what;
  std::string file;     // the list's file name in the program folder
  std::string content;  // its content before
  std::string edited;   // a text the edit puts into the grid, found in the saved file
  // Opens the window over the program folder, edits its grid, saves.
  std::function<void(const std::string& folder)> open;
  std::function<void()> edit;
  std::function<bool()> save;
  std::function<bool()> reload;  // empty: the window reads only when it opens
  std::function<int()> rows;
  std::function<void()> close;
};

std::vector<Window> windows() {
  const KeyboardOptions cz{true, false};
  return {
      {"name days", "vektrano.jmn", "0804;Ema\r\n0101;Nový Rok\r\n", "Emanuela",
       [cz](const std::string& f) { openForm4(f, cz, [] {}); },
       [] { Form4->table().grid().setCell(0, 1, "Emanuela"); }, [] { return Form4->saveList(); },
       [] { return Form4->loadList(); }, [] { return Form4->table().rowCount(); },
       [] { delete Form4.data(); }},
      {"familiar names", "vektrano.syn", "Jan;Honza\r\n", "Jenda",
       [](const std::string& f) {
         ASSERT_TRUE(platform::writeFileAtomic(nameDaysPath(f), "2401;Jan\r\n"));  // its calendar
         openForm16(f, [] {}, [](const TabulkaSynonym&) {});
       },
       [] { Form16->table().grid().setCell(0, 1, "Jenda"); }, [] { return Form16->saveList(); },
       [] { return Form16->loadList(); }, [] { return Form16->table().rowCount(); },
       [] { delete Form16.data(); }},
      {"words never taken for a locator", "vektrano.dup", "Sněžka\r\n", "Jo70gq",
       [cz](const std::string& f) { openForm12(platform::joinPath(f, "vektrano.dup"), [cz] { return cz; }); },
       [] { Form12->table().grid().setCell(0, 0, "jo70gq"); }, [] { return Form12->saveList(); },
       [] { return Form12->loadList(); }, [] { return Form12->table().rowCount(); },
       [] { delete Form12.data(); }},
      {"report table", "vektrano.rep", formatTabulkaReportu(vychoziTabulkaReportu()), "500;77;",
       [](const std::string& f) { openForm8(platform::joinPath(f, "vektrano.rep")); },
       [] {
         Form8->grid().setCell(17, 0, "500");
         Form8->grid().setCell(17, 1, "77");
       },
       [] { return Form8->ulozdata(); }, {}, [] { return Form8->grid().rowCount(); },
       [] { delete Form8.data(); }},
  };
}

class ListWindowFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
    std::filesystem::create_directories(dir_.file("config"));
  }
  int count(const std::string& text) const {
    return static_cast<int>(std::count(messages_.begin(), messages_.end(), text));
  }

  test::TempDir dir_;
  test::MessageRecorder recorder_;
  std::vector<std::string>& messages_ = recorder_.texts;
};

TEST_F(ListWindowFaults, EachFailingWriteStepKeepsGridAndFileAndTheNextSaveWrites) {
  // The lists keep no backup of their own.
  const std::pair<FileStep, int> steps[] = {
      {FileStep::Create, EROFS}, {FileStep::Write, ENOSPC}, {FileStep::Sync, EIO}, {FileStep::Rename, ENOENT}};
  for (const Window& w : windows())
    for (const auto& [step, err] : steps) {
      SCOPED_TRACE(std::string(w.what) + " " + std::to_string(static_cast<int>(step)));
      const std::string path = dir_.file(w.file);
      ASSERT_TRUE(platform::writeFileAtomic(path, w.content));
      w.open(dir_.path());
      w.edit();
      messages_.clear();
      {
        test::FileFaults faults;
        faults.fail(step, err, w.file);
        EXPECT_FALSE(w.save());
      }
      EXPECT_EQ(count(kWriteError + path), 1);
      EXPECT_EQ(platform::readWholeFile(path), w.content);
      EXPECT_EQ(messages_.size(), 1u);
      messages_.clear();
      EXPECT_TRUE(w.save());
      EXPECT_NE(platform::readWholeFile(path).value_or("").find(w.edited), std::string::npos);
      EXPECT_EQ(count(kWriteError + path), 0);
      w.close();
    }
}

TEST_F(ListWindowFaults, AFileCutOrGoneWhileReadKeepsTheRowsTheWindowHad) {
  for (const Window& w : windows()) {
    if (!w.reload) continue;
    SCOPED_TRACE(w.what);
    const std::string path = dir_.file(w.file);
    ASSERT_TRUE(platform::writeFileAtomic(path, w.content + w.content));
    w.open(dir_.path());
    const int rows = w.rows();
    for (const bool cut : {true, false}) {
      messages_.clear();
      test::FileFaults faults;
      if (cut)
        faults.beforeRead(w.file, [](const std::string& p) { ASSERT_EQ(::truncate(platform::fsPath(p).c_str(), 3), 0); });
      else
        faults.fail(FileStep::Open, ENOENT, w.file);
      EXPECT_FALSE(w.reload());
      EXPECT_EQ(messages_, std::vector<std::string>{kReadError + path});
      EXPECT_EQ(w.rows(), rows);
      ASSERT_TRUE(platform::writeFileAtomic(path, w.content + w.content));
    }
    w.close();
  }
}

}  // namespace
}  // namespace vektrano
