#include "transfer/update_zip.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"
#include "tests/transfer/update_fixtures.h"

using namespace vektrano;
using namespace vektrano::transfer;
using namespace vektrano::test;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kDataFiles = {"vektrano.zr4", "vektrano.pvk", "vektrano.hb9", "vektrano.jmn",
                                             "vektrano.syn", "vektrano.upc", "vektrano.upd", "vektrano.upq",
                                             "vektrano.v4m", "vektrano.ver", "vektrano.wav", "portable.txt"};

// Bytes that differ per file and hold every byte value.
std::string content(const std::string& name) {
  std::string s = name + "\r\nŽluťoučký kůň\r\n";
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s;
}

class UpdateZip : public ::testing::Test {
 protected:
  // The main computer: every file of the list and the program.
  void fillMain() {
    for (const std::string& f : kDataFiles) writeFile(mainProg + "/" + f, content(f));
    writeFile(mainProgram, fakeProgram("6.04"));
  }
  // The notebook: an older installation.
  void fillNotebook() {
    for (const std::string& f : kDataFiles) writeFile(noteProg + "/" + f, "staré " + f);
    writeFile(noteProgram, fakeProgram("6.03"));
    fs::permissions(platform::fsPath(noteProgram), fs::perms(0700));
  }
  std::string exportArchive(const std::vector<std::pair<std::string, std::string>>& entries) {
    writeFile(usb + "/zr4export.qzx", storedZip(entries));
    return usb + "/zr4export.qzx";
  }
  ImportHooks hooks(const std::string& archive) {
    ImportHooks h;
    h.chooseArchive = [archive] { return std::optional<std::string>(archive); };
    h.memoryMode = [this] { return memoryMode; };
    h.locIDX = [this] { calls.push_back("locIDX"); };
    h.volIDX = [this] { calls.push_back("volIDX"); };
    h.jmnIDX = [this] { calls.push_back("jmnIDX"); };
    h.closeMainWindow = [this] { calls.push_back("close"); };
    return h;
  }
  UpdateZipSetup notebook(bool replace = true) const { return {noteProg, noteProgram, replace}; }
  void expectNotebookUnchanged() {
    for (const std::string& f : kDataFiles) EXPECT_EQ(readFile(noteProg + "/" + f), "staré " + f) << f;
    EXPECT_EQ(readFile(noteProgram), fakeProgram("6.03"));
  }

  TempDir dir;
  const std::string mainProg = dir.file("hlavni");
  const std::string mainProgram = dir.file("hlavni-bin/vektrano");
  const std::string noteProg = dir.file("notebook");
  const std::string noteProgram = dir.file("notebook-bin/vektrano");
  const std::string usb = dir.file("usb");
  bool memoryMode = false;
  std::vector<std::string> calls;
};

TEST_F(UpdateZip, ExportThenImportCarriesEveryFileByteEqual) {
  fillMain();
  fillNotebook();
  fs::create_directories(usb);
  MessageRecorder messages;
  ASSERT_TRUE(Export1Click({mainProg, mainProgram, true}, [this] { return std::optional<std::string>(usb + "/"); }));
  EXPECT_TRUE(messages.saw("Hotovo, data uloženy do souboru :\r\n\r\n" + usb + "/zr4export.qzx\r\n"));

  const ImportResult r = IMPORTaktualizacedoNOTEBOOKU1Click(notebook(), hooks(usb + "/zr4export.qzx"));
  EXPECT_EQ(r, ImportResult::Done);
  for (const std::string& f : kDataFiles) EXPECT_EQ(readFile(noteProg + "/" + f), content(f)) << f;
  EXPECT_EQ(readFile(noteProgram), fakeProgram("6.04"));
  EXPECT_EQ(modeOf(noteProgram), 0755u);
  EXPECT_EQ(readFile(noteProgram + ".e4e"), fakeProgram("6.03"));
  EXPECT_FALSE(platform::fileExists(noteProg + "/vektrano"));  // the program is no data file
  EXPECT_EQ(calls, (std::vector<std::string>{"locIDX", "volIDX", "jmnIDX", "close"}));
  EXPECT_TRUE(messages.saw("Hotovo, data načteny. Změna se projeví až po opětovném spuštění programu VEKTRANO"));
  EXPECT_TRUE(messages.saw("Ukončuji program, změny se projeví až po novém spuštění programu."));
  for (const auto& e : fs::directory_iterator(noteProg))
    EXPECT_NE(e.path().filename().string().rfind(".vektrano-unzip", 0), 0u) << e.path();
}

TEST_F(UpdateZip, ExportLeavesOutMissingFilesAndReplacesAnEarlierArchive) {
  writeFile(mainProg + "/vektrano.zr4", "první");
  writeFile(mainProgram, fakeProgram("6.04"));
  fs::create_directories(usb);
  const auto toUsb = [this] { return std::optional<std::string>(usb); };
  {
    MessageRecorder messages;
    ASSERT_TRUE(Export1Click({mainProg, mainProgram, true}, toUsb));
    EXPECT_EQ(messages.texts.size(), 2u);  // the prompt and the result, nothing about missing files
  }
  writeFile(mainProg + "/vektrano.zr4", "druhá");
  MessageRecorder messages;
  ASSERT_TRUE(Export1Click({mainProg, mainProgram, true}, toUsb));
  fillNotebook();
  IMPORTaktualizacedoNOTEBOOKU1Click(notebook(), hooks(usb + "/zr4export.qzx"));
  EXPECT_EQ(readFile(noteProg + "/vektrano.zr4"), "druhá");
  EXPECT_EQ(readFile(noteProg + "/vektrano.pvk"), "staré vektrano.pvk");

  EXPECT_EQ(exportArchivePath("/"), "/zr4export.qzx");
  EXPECT_EQ(exportArchivePath("/media/usb"), "/media/usb/zr4export.qzx");
}

TEST_F(UpdateZip, ExportReportsAFailureEvenWithAnOldArchiveThere) {
  writeFile(usb + "/zr4export.qzx", "staré");
  MessageRecorder messages;
  // Nothing to pack.
  EXPECT_FALSE(Export1Click({mainProg, mainProgram, true}, [this] { return std::optional<std::string>(usb); }));
  EXPECT_TRUE(messages.saw("CHYBA : Nepodařilo ze uložit data do souboru :\r\n\r\n" + usb + "/zr4export.qzx"));
  EXPECT_EQ(readFile(usb + "/zr4export.qzx"), "staré");
  EXPECT_FALSE(Export1Click({mainProg, mainProgram, true}, [] { return std::nullopt; }));
}

TEST_F(UpdateZip, ImportWithoutTheProgramKeepsItAndTheNewData) {
  fillNotebook();
  const std::string archive = exportArchive({{"vektrano.zr4", "nová"}});
  MessageRecorder messages;
  EXPECT_EQ(IMPORTaktualizacedoNOTEBOOKU1Click(notebook(), hooks(archive)), ImportResult::NoProgram);
  EXPECT_EQ(readFile(noteProg + "/vektrano.zr4"), "nová");
  EXPECT_EQ(readFile(noteProgram), fakeProgram("6.03"));
  EXPECT_FALSE(platform::fileExists(noteProgram + ".e4e"));
  EXPECT_TRUE(messages.saw("Nepodařila se aktualizace souboru : " + noteProgram));
  EXPECT_TRUE(calls.empty());  // the program goes on
}

TEST_F(UpdateZip, ImportRefusesWhatWouldLeaveTheFolderOrCannotBeKept) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> entries;
    bool blockRename;
    ImportResult result;
    const char* message;
  } cases[] = {
      {"name leaving the folder", {{"vektrano.zr4", "nová"}, {"../venku.txt", "x"}}, false, ImportResult::Refused,
       "není použitelný export"},
      {"absolute name", {{"vektrano.zr4", "nová"}, {"/tmp/venku.txt", "x"}}, false, ImportResult::Refused,
       "není použitelný export"},
      {"the old program cannot be kept", {{"vektrano.zr4", "nová"}, {"vektrano", fakeProgram("6.04")}}, true,
       ImportResult::RenameFailed, "Nejde přejmenovat : "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fillNotebook();
    std::error_code ec;
    fs::remove_all(platform::fsPath(noteProgram + ".e4e"), ec);
    if (c.blockRename) writeFile(noteProgram + ".e4e/soubor", "x");
    const std::string archive = exportArchive(c.entries);
    MessageRecorder messages;
    EXPECT_EQ(IMPORTaktualizacedoNOTEBOOKU1Click(notebook(), hooks(archive)), c.result);
    EXPECT_TRUE(messages.saw(c.message));
    expectNotebookUnchanged();
    EXPECT_FALSE(platform::fileExists(dir.file("venku.txt")));
    EXPECT_TRUE(calls.empty());
  }
}

TEST_F(UpdateZip, ImportIntoAnInstalledProgramTakesOnlyTheData) {
  fillNotebook();
  memoryMode = true;
  const std::string archive = exportArchive({{"vektrano.zr4", "nová"}, {"vektrano", fakeProgram("6.04")}});
  MessageRecorder messages;
  EXPECT_EQ(IMPORTaktualizacedoNOTEBOOKU1Click(notebook(false), hooks(archive)), ImportResult::DataOnly);
  EXPECT_EQ(readFile(noteProg + "/vektrano.zr4"), "nová");
  EXPECT_EQ(readFile(noteProgram), fakeProgram("6.03"));
  EXPECT_FALSE(platform::fileExists(noteProg + "/vektrano"));
  EXPECT_EQ(messages.count("je nainstalovaný v systému"), 1);
  EXPECT_FALSE(messages.saw("Indexovat"));  // memory mode asks nothing
  EXPECT_EQ(calls, std::vector<std::string>{"close"});
}

TEST_F(UpdateZip, ImportCancelledDoesNothing) {
  fillNotebook();
  ImportHooks h = hooks("");
  h.chooseArchive = [] { return std::nullopt; };
  MessageRecorder messages;
  EXPECT_EQ(IMPORTaktualizacedoNOTEBOOKU1Click(notebook(), h), ImportResult::Cancelled);
  EXPECT_TRUE(messages.texts.empty());
  expectNotebookUnchanged();
}

}  // namespace
