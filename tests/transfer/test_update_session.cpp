#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "core/session/main_window_settings.h"
#include "platform/registry.h"
#include "tests/support/temp_dir.h"
#include "tests/transfer/update_fixtures.h"
#include "transfer/update.h"

using namespace vektrano;
using namespace vektrano::transfer;
using namespace vektrano::test;
namespace fs = std::filesystem;

namespace {

const std::string kZr4Line = "vektrano.zr4;Databáze lokátorů;.\\;/vektrano/data/zr4";
const std::string kJmnLine = "vektrano.jmn;Svátky;.\\;/vektrano/data/jmn";
const std::string kProgramLine = "vektrano.ex;Program VEKTRANO;.\\;/vektrano/data/vektrano";

// What the window would show.
struct RecordingUi : UpdateUi {
  void setStatus(const std::string& t) override { status = t; }
  void setButtonVisible(bool v) override { buttonVisible = v; }
  void setProgressVisible(bool v) override { progressVisible = v; }
  void setButtonCaption(const std::string& c) override { caption = c; }
  void setInstruction(const std::string& t) override { instruction = t; }
  void setWindowVisible(bool v) override { visibility.push_back(v); }
  void openPage(const std::string& url) override { pages.push_back(url); }
  void closeWindow() override { closed = true; }
  void selectRow(int i) override { selected.push_back(i); }

  std::string status, caption, instruction;
  bool buttonVisible = true, progressVisible = false, closed = false;
  std::vector<bool> visibility;
  std::vector<std::string> pages;
  std::vector<int> selected;
};

class UpdateSession : public ::testing::Test {
 protected:

  void SetUp() override {
    ::setenv("XDG_CONFIG_HOME", dir.file("config").c_str(), 1);
    fs::create_directories(prog);
    fs::create_directories(bin);
    writeFile(prog + "/vektrano.upc", "x;x;x;x;x\r\n");
    writeFile(prog + "/vektrano.upq", ";seznam zakázaných souborů pro update\r\n");
    writeFile(prog + "/vektrano.zr4", "stará databáze");
    writeFile(programFile, fakeProgram("6.03"));
    server.route("/vektrano/data/portable.txt", httpOk("OK1ABC;JO70GQ\r\n"));
  }
  void TearDown() override { ::unsetenv("XDG_CONFIG_HOME"); }

  UpdateSetup setup() const {
    UpdateSetup s;
    s.server = server.base();
    s.programFolder = prog;
    s.programFile = programFile;
    s.mapFolder = dir.file("mapy");
    s.photoFolder = dir.file("foto");
    s.replaceProgram = replaceProgram;
    s.title = "VEKTRANO";
    return s;
  }
  UpdateHooks hooks() {
    UpdateHooks h;
    h.ReIndexace = [this] { calls.push_back("ReIndexace"); };
    h.locIDX = [this] { calls.push_back("locIDX"); };
    h.volIDX = [this] { calls.push_back("volIDX"); };
    h.jmnIDX = [this] { calls.push_back("jmnIDX"); };
    h.memoryMode = [this] { return memoryMode; };
    h.storeCheckDate = [this](const std::string& d) { calls.push_back("datum " + d); };
    h.raiseMainWindow = [this] { calls.push_back("raise"); };
    h.saveSettings = [this] { calls.push_back("saveSettings"); };
    h.endProgram = [this](const std::string& p) { calls.push_back("end " + p); };
    h.today = [] { return std::string("10.12.2026"); };
    return h;
  }
  void serveList(const std::string& list) { server.route("/vektrano/vektrano.upd", httpOk(list)); }
  void serveZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries) {
    server.route(path, httpOk(storedZip(entries)));
  }
  // Lets the report requests, which nobody waits for, reach the server.
  void settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 200) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  bool requested(const std::string& path) const {
    for (const std::string& p : server.paths)
      if (p == path) return true;
    return false;
  }

  TempDir dir;
  LoopbackServer server;
  const std::string prog = dir.file("prog");
  const std::string bin = dir.file("bin");
  const std::string programFile = bin + "/vektrano";
  bool replaceProgram = true;
  bool memoryMode = false;
  std::vector<std::string> calls;
  RecordingUi ui;
};

TEST_F(UpdateSession, FullUpdateOfADataFile) {
  for (const bool memory : {false, true}) {
    SCOPED_TRACE(memory ? "memory mode" : "index files");
    memoryMode = memory;
    calls.clear();
    writeFile(prog + "/vektrano.zr4", "stará databáze");
    writeFile(prog + "/vektrano.upc", "x;x;x;x;x\r\n" + kJmnLine + "\r\n");
    serveList(";aktualizace\r\n" + kZr4Line + "\r\n" + kJmnLine + "\r\n");
    serveZip("/vektrano/data/zr4.zip", {{"vektrano.zr4", "nová databáze"}});
    MessageRecorder messages;
    RecordingUi view;
    Aktualizace a(setup(), hooks(), view);

    a.Button1Click();
    ASSERT_EQ(a.rows().size(), 2u);
    EXPECT_EQ(a.rows()[0].mark, "#");
    EXPECT_EQ(a.rows()[1].mark, "*");
    EXPECT_EQ(view.caption, "Proveď stažení nových souborů v počtu : 1");
    EXPECT_TRUE(view.buttonVisible);
    EXPECT_EQ(calls, std::vector<std::string>{"datum 10.12.2026"});
    EXPECT_EQ(readFile(prog + "/portable.txt"), "OK1ABC;JO70GQ\r\n");
    EXPECT_EQ(readFile(prog + "/vektrano.zr4"), "stará databáze");

    a.Button1Click();
    EXPECT_EQ(readFile(prog + "/vektrano.zr4"), "nová databáze");
    EXPECT_EQ(a.rows()[0].mark, "*");
    EXPECT_EQ(readFile(prog + "/vektrano.upc"), kZr4Line + "\r\n" + kJmnLine + "\r\n");
    EXPECT_EQ(readFile(prog + "/vektrano.upq"), "");
    EXPECT_TRUE(messages.saw("Proces aktualizace dokončen. "));
    EXPECT_FALSE(messages.saw("Nezdařilo se"));
    if (memory) {
      EXPECT_EQ(calls, (std::vector<std::string>{"datum 10.12.2026", "ReIndexace"}));
      EXPECT_FALSE(messages.saw("Indexovat"));
    } else {
      EXPECT_EQ(calls, (std::vector<std::string>{"datum 10.12.2026", "ReIndexace", "raise", "locIDX"}));
      EXPECT_TRUE(messages.saw("Nezapomeň provést indexování LOKÁTORŮ, viz\r\n\r\nmenu : Pomocné funkce"));
      EXPECT_EQ(messages.count("Indexovat databázi"), 1);
      EXPECT_EQ(view.visibility, (std::vector<bool>{false, true}));
    }
    EXPECT_TRUE(view.closed);
    settle();
  }
  // The version report and the reports around each archive.
  std::set<std::string> reports;
  for (const std::string& t : server.targets)
    if (t.rfind("/vektrano/ver.php?prms=", 0) == 0) reports.insert(t.substr(23));
  EXPECT_TRUE(reports.count("VEKTRANO%20-%20%20ver%3A%206.03%20%282008%2F04%2F08%29%20"));
  EXPECT_TRUE(reports.count(encodeQuery("VEKTRANO - " + prog + "/vektrano.zr4.zip START")));
  EXPECT_TRUE(reports.count(encodeQuery("VEKTRANO - " + prog + "/vektrano.zr4.zip OK")));
}

TEST_F(UpdateSession, NewProgramFileIsSwappedAndTheProgramEnds) {
  serveList(kProgramLine + "\r\n");
  serveZip("/vektrano/data/vektrano.zip", {{"vektrano.ex", fakeProgram("6.04")}});
  MessageRecorder messages;
  Aktualizace a(setup(), hooks(), ui);
  a.Button1Click();
  a.Button1Click();
  EXPECT_EQ(readFile(programFile), fakeProgram("6.04"));
  EXPECT_EQ(modeOf(programFile), 0755u);
  EXPECT_EQ(readFile(programFile + ".e"), fakeProgram("6.03"));
  EXPECT_EQ(readFile(prog + "/vektrano.upc"), kProgramLine + "\r\n");
  // The settings are written before the program ends.
  EXPECT_EQ(calls, (std::vector<std::string>{"datum 10.12.2026", "ReIndexace", "saveSettings", "end " + programFile}));
  EXPECT_EQ(ui.pages, std::vector<std::string>{server.base() + "/vektrano/historie.htm"});
  EXPECT_TRUE(messages.saw("Program VEKTRANO bude nyní ukončen a\r\nbude moci sputit novou verzi programu VEKTRANO."));
  EXPECT_FALSE(ui.closed);
}

TEST_F(UpdateSession, FailedDownloadsAndArchivesChangeNothing) {
  std::string damaged = storedZip({{"vektrano.zr4", "nová databáze"}});
  damaged[30 + 12 + 2] ^= 0x55;  // a byte of the data: the checksum fails
  struct Case {
    const char* name;
    Response response;
    const char* extraMessage;
  } cases[] = {
      {"404", httpStatus(404, "Not Found"), "Chyba při stahování..."},
      {"short body", httpShort(storedZip({{"vektrano.zr4", std::string(4000, 'n')}}), false), "Chyba při stahování..."},
      {"connection reset", httpShort(storedZip({{"vektrano.zr4", std::string(4000, 'n')}}), true),
       "Chyba při stahování..."},
      {"bad checksum", httpOk(damaged), "se nepodařilo rozbalit"},
      {"archive without the file", httpOk(storedZip({{"jiny.txt", "x"}})), "neobsahuje soubor vektrano.zr4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calls.clear();
    serveList(kZr4Line + "\r\n");
    server.route("/vektrano/data/zr4.zip", c.response);
    MessageRecorder messages;
    RecordingUi view;
    Aktualizace a(setup(), hooks(), view);
    a.Button1Click();
    a.Button1Click();
    EXPECT_EQ(a.rows()[0].mark, "!!!");
    EXPECT_EQ(readFile(prog + "/vektrano.zr4"), "stará databáze");
    EXPECT_EQ(readFile(prog + "/vektrano.upc"), "");  // offered again at the next check
    EXPECT_TRUE(messages.saw(c.extraMessage));
    EXPECT_TRUE(messages.saw("Nezdařilo se stáhnout 1 soubor(ů)"));
    EXPECT_FALSE(messages.saw("Indexovat"));
    EXPECT_EQ(calls.back(), "ReIndexace");
    EXPECT_TRUE(view.closed);
    // Nothing of the archive is left in the program folder but the archive.
    for (const auto& e : fs::directory_iterator(prog))
      EXPECT_NE(e.path().filename().string().rfind(".vektrano-unzip", 0), 0u) << e.path();
  }
}

TEST_F(UpdateSession, AFailedListLeavesOnlyClosing) {
  MessageRecorder messages;
  Aktualizace a(setup(), hooks(), ui);
  a.Button1Click();
  EXPECT_TRUE(messages.saw("Při stahování nastala chyba."));
  EXPECT_TRUE(messages.saw("Chyba při stahování..."));
  EXPECT_FALSE(ui.buttonVisible);
  EXPECT_TRUE(a.rows().empty());
  EXPECT_EQ(a.krok(), Aktualizace::Krok::Kontrola);
  EXPECT_TRUE(calls.empty());
  EXPECT_FALSE(requested("/vektrano/data/portable.txt"));
}

TEST_F(UpdateSession, RegistryLinesAreAppliedDuringTheCheck) {
  {
    auto key = platform::RegistryKey::open(std::string(kProgramKey) + "Form1", true);
    key->writeString("Lokportable", "JN79UU");
  }
  serveList(";reg;Form1;Lokportable;JO70GQ\r\n;reg;Form3;Novy;0x10\r\n" + kZr4Line + "\r\n");
  MessageRecorder messages;
  Aktualizace a(setup(), hooks(), ui);
  a.Button1Click();
  EXPECT_FALSE(requested("/vektrano/data/zr4.zip"));
  auto form1 = platform::RegistryKey::open(std::string(kProgramKey) + "Form1", false);
  EXPECT_EQ(form1->readString("Lokportable"), "JN79UU");  // the user's value stays
  auto form3 = platform::RegistryKey::open(std::string(kProgramKey) + "Form3", false);
  ASSERT_TRUE(form3);
  EXPECT_EQ(form3->readInteger("Novy"), 16);
}

TEST_F(UpdateSession, DoubleClicksToggleOnlyRows) {
  serveList(kZr4Line + "\r\n");
  MessageRecorder messages;
  Aktualizace a(setup(), hooks(), ui);
  a.StringGrid1DblClick(0);  // before the check there is no row
  a.Button1Click();
  for (int outside : {-1, 1, 7}) a.StringGrid1DblClick(outside);
  EXPECT_EQ(a.rows()[0].mark, "#");
  EXPECT_EQ(a.pocet(), 1);
  a.StringGrid1DblClick(0);
  EXPECT_EQ(a.rows()[0].mark, "@");
  EXPECT_EQ(ui.caption, "ODEJÍT (Nejsou žádné novinky)");
  a.Button1Click();  // leaves without downloading
  EXPECT_TRUE(ui.closed);
  EXPECT_FALSE(requested("/vektrano/data/zr4.zip"));
}

TEST_F(UpdateSession, HostileListChangesNothingOutsideTheFolders) {
  // The program in the program folder, so that an entry may aim at it.
  const std::string program = prog + "/vektrano";
  writeFile(program, fakeProgram("6.03"));
  fs::create_directories(dir.file("venku"));
  serveList(
      "../venku/a.txt;x;.\\;/vektrano/data/a\r\n"
      "..\\venku\\b.txt;x;.\\;/vektrano/data/a\r\n"
      + dir.file("venku/c.txt") + ";x;.\\;/vektrano/data/a\r\n"
      "d.txt;x;[MAPA]..\\..\\venku;/vektrano/data/a\r\n"
      "e.txt;x;" + dir.file("venku") + ";/vektrano/data/e\r\n"  // any other target: the program folder
      "vektrano;x;.\\;/vektrano/data/a\r\n"                        // the running program itself
      "f.jpg;x;[MAPA]\\JO70;/vektrano/data/f\r\n"
      "g.txt;x;.\\;/vektrano/data/g\r\n");
  serveZip("/vektrano/data/a.zip", {{"a.txt", "a"}});
  serveZip("/vektrano/data/e.zip", {{"e.txt", "e"}});
  serveZip("/vektrano/data/f.zip", {{"f.jpg", "mapa"}, {"../../venku/f.txt", "ven"}});
  serveZip("/vektrano/data/g.zip", {{"g.txt", "g"}, {"vektrano", "přepis programu"}});
  MessageRecorder messages;
  UpdateSetup s = setup();
  s.programFile = program;
  Aktualizace a(s, hooks(), ui);
  a.Button1Click();
  std::vector<std::string> shown;
  for (const UpdateRow& r : a.rows()) shown.push_back(r.soubor);
  EXPECT_EQ(shown, (std::vector<std::string>{"e.txt", "vektrano", "f.jpg", "g.txt"}));
  a.Button1Click();

  EXPECT_TRUE(fs::is_empty(dir.file("venku")));
  EXPECT_EQ(readFile(prog + "/e.txt"), "e");
  EXPECT_EQ(a.rows()[1].mark, "!!!");  // never aimed at the program
  EXPECT_FALSE(requested("/vektrano/data/a.zip"));
  EXPECT_EQ(a.rows()[2].mark, "!!!");  // the whole archive is refused
  EXPECT_FALSE(platform::fileExists(dir.file("mapy/JO70/f.jpg")));
  EXPECT_EQ(a.rows()[3].mark, "*");
  EXPECT_EQ(readFile(prog + "/g.txt"), "g");
  EXPECT_EQ(readFile(program), fakeProgram("6.03"));
  EXPECT_TRUE(messages.saw("Nezdařilo se stáhnout 2 soubor(ů)"));
}

TEST_F(UpdateSession, MapAndPhotoTargetsGoIntoTheirFolders) {
  serveList("JO70.jpg;mapa;[MAPA]\\JO\\70;/vektrano/mapy/JO70\r\nOK1.jpg;foto;[FOTO]\\OK;/vektrano/foto/OK1\r\n");
  serveZip("/vektrano/mapy/JO70.zip", {{"JO70.jpg", "mapa"}});
  serveZip("/vektrano/foto/OK1.zip", {{"OK1.jpg", "foto"}});
  MessageRecorder messages;
  Aktualizace a(setup(), hooks(), ui);
  a.Button1Click();
  a.Button1Click();
  EXPECT_EQ(readFile(dir.file("mapy/JO/70/JO70.jpg")), "mapa");
  EXPECT_EQ(readFile(dir.file("foto/OK/OK1.jpg")), "foto");
}

TEST_F(UpdateSession, AnInstalledProgramUpdatesOnlyItsData) {
  replaceProgram = false;
  serveList(kProgramLine + "\r\n" + kZr4Line + "\r\nvektrano.ex;Program znovu;.\\;/vektrano/data/vektrano\r\n");
  serveZip("/vektrano/data/vektrano.zip", {{"vektrano.ex", fakeProgram("6.04")}});
  serveZip("/vektrano/data/zr4.zip", {{"vektrano.zr4", "nová databáze"}});
  MessageRecorder messages;
  Aktualizace a(setup(), hooks(), ui);
  a.Button1Click();
  a.Button1Click();
  EXPECT_EQ(readFile(prog + "/vektrano.zr4"), "nová databáze");
  EXPECT_EQ(readFile(programFile), fakeProgram("6.03"));
  EXPECT_FALSE(requested("/vektrano/data/vektrano.zip"));
  EXPECT_EQ(messages.count("je nainstalovaný v systému"), 1);
  EXPECT_EQ(readFile(prog + "/vektrano.upc"), kZr4Line + "\r\n");
  EXPECT_TRUE(ui.closed);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "saveSettings"), 0);
}

TEST_F(UpdateSession, ASwapThatFailsKeepsTheOldProgramAndOffersItAgain) {
  struct Case {
    const char* name;
    std::string program;
    bool blockSwap;
  } cases[] = {
      {"no program of this machine", "<html>Chyba</html>", false},
      {"the old program cannot be kept", fakeProgram("6.04"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calls.clear();
    writeFile(programFile, fakeProgram("6.03"));
    std::error_code ec;
    fs::remove_all(programFile + ".e", ec);
    // A folder of that name cannot be removed to make way.
    if (c.blockSwap) writeFile(programFile + ".e/soubor", "x");
    writeFile(prog + "/vektrano.upc", "x;x;x;x;x\r\n");
    serveList(kProgramLine + "\r\n");
    serveZip("/vektrano/data/vektrano.zip", {{"vektrano.ex", c.program}});
    MessageRecorder messages;
    RecordingUi view;
    Aktualizace a(setup(), hooks(), view);
    a.Button1Click();
    a.Button1Click();
    EXPECT_EQ(readFile(programFile), fakeProgram("6.03"));
    EXPECT_EQ(a.rows()[0].mark, "!!!");
    EXPECT_EQ(readFile(prog + "/vektrano.upc"), "");
    EXPECT_TRUE(view.closed);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "saveSettings"), 0);
    EXPECT_FALSE(messages.saw("bude nyní ukončen"));
  }
}

TEST(UpdateServer, AddressFromTheSettings) {
  TempDir dir;
  ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  const std::string key = updateSettingsKey();
  EXPECT_EQ(key, "\\Software\\NOVR\\Vektrano\\Form15");
  EXPECT_EQ(adresaServeru(key), kUpdateServerDefault);
  struct Case {
    const char* stored;
    const char* used;
  } cases[] = {
      {"127.0.0.1:8080", "http://127.0.0.1:8080"},
      {"http://aktualizace.example.cz/", "http://aktualizace.example.cz"},
      {"", kUpdateServerDefault},
      {"a b", kUpdateServerDefault},
  };
  for (const Case& c : cases) {
    platform::RegistryKey::open(key, true)->writeString("UpdateServer", c.stored);
    EXPECT_EQ(adresaServeru(key), c.used) << c.stored;
  }
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
