#include "transfer/update.h"

#include <cstdio>
#include <filesystem>

#include "core/base/text.h"
#include "core/session/main_window_settings.h"
#include "core/session/startup.h"
#include "core/session/window_placement.h"
#include "platform/cp1250.h"
#include "platform/datetime.h"
#include "platform/files.h"
#include "platform/message.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "transfer/program_swap.h"
#include "transfer/staged_unzip.h"
#include "transfer/zip_support.h"

namespace vektrano::transfer {

namespace fs = std::filesystem;
using platform::MessageKind;
using platform::showMessage;

namespace {

constexpr const char* kAgentDefault = "VEKTRANO - aktualizace";
constexpr const char* kChybaStahovani = "Chyba při stahování...";
constexpr const char* kNeniPrepsatelny =
    "Program VEKTRANO je nainstalovaný v systému a svůj programový soubor přepsat nemůže.\r\n"
    "Novou verzi programu dostaneš jeho novou instalací; datové soubory aktualizace "
    "nainstaluje do složky programu.";
constexpr const char* kNeniPrepsatelnyRadek = "Program se aktualizuje novou instalací programu";

bool startsWithNoCase(const std::string& text, const char* prefix) {
  for (size_t i = 0; prefix[i]; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

std::string folderOf(const std::string& path) {
  return platform::fromFsPath(platform::fsPath(path).parent_path());
}

bool isDatabase(const std::string& soubor, const char* name) { return soubor == name; }

}  // namespace

std::string updateSettingsKey() { return windowSettingsKey(15); }

std::string adresaServeru(const std::string& keyPath) {
  std::string server;
  if (auto key = platform::RegistryKey::open(keyPath, false)) server = key->readString("UpdateServer");
  for (char c : server)
    if (static_cast<unsigned char>(c) <= 0x20) return kUpdateServerDefault;
  if (server.empty()) return kUpdateServerDefault;
  if (!startsWithNoCase(server, "http://") && server.find("://") == std::string::npos)
    server = "http://" + server;
  while (!server.empty() && server.back() == '/') server.pop_back();
  return server;
}

std::string encodeQuery(const std::string& text) {
  return percentEncoded(platform::cp1250ToUtf8(text), [](unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
  });
}

Aktualizace::Aktualizace(UpdateSetup setup, UpdateHooks hooks, UpdateUi& ui)
    : setup_(std::move(setup)), hooks_(std::move(hooks)), ui_(ui), alive_(std::make_shared<bool>(true)) {
  while (!setup_.server.empty() && setup_.server.back() == '/') setup_.server.pop_back();
  http_.AcceptTypes = "*/*";
  http_.Agent = kAgentDefault;
  http_.BinaryData = true;
  http_.UseCache = false;
  // The step waits for each download while events go on.
  http_.WaitThread = true;
  http_.OnProgress = [this](THTTPGet&, int total, int readed) {
    ui_.setProgress(total, readed);
    ui_.setStatus(progressText(readed, total, sekundy_, http_.URL, http_.FileName));
  };
  http_.OnDoneFile = [this](THTTPGet&, const std::string&, int) {
    ui_.setProgress(0, 0);
    ui_.setStatus("Staženo : " + http_.URL);
    ui_.setButtonVisible(true);
    ui_.setProgressVisible(false);
    stav_ = Hotovo;
    ui_.setTimerRunning(false);
  };
  http_.OnError = [this](THTTPGet&) {
    showMessage("Při stahování nastala chyba.", MessageKind::Error, "Chyba");
    stav_ = Chyba;
    ui_.setTimerRunning(false);
  };
}

Aktualizace::~Aktualizace() {
  *alive_ = false;
  http_.OnProgress = nullptr;
  http_.OnDoneFile = nullptr;
  http_.OnError = nullptr;
}

std::string Aktualizace::listFile(const char* extension) const {
  return platform::dataFile(setup_.programFolder, extension);
}

std::string Aktualizace::caption() const {
  switch (krok_) {
    case Krok::Kontrola: return kCaptionKontrola;
    case Krok::Odejit: return kCaptionOdejit;
    case Krok::Stazeni: break;
  }
  return button1Caption(pocet());
}

void Aktualizace::setStep(int n) {
  krok_ = n > 0 ? Krok::Stazeni : Krok::Odejit;
  ui_.setButtonCaption(button1Caption(n));
  ui_.setInstruction(label2Text(n));
}

void Aktualizace::Timer1Timer() {
  if (stav_ == Bezi) ++sekundy_;
}

bool Aktualizace::stahni(const std::string& url, const std::string& file, bool& gone) {
  const std::shared_ptr<bool> alive = alive_;
  stav_ = Bezi;
  http_.URL = url;
  http_.FileName = file;
  sekundy_ = 0;
  ui_.setTimerRunning(true);
  http_.StartDownload();
  if (!*alive) {
    gone = true;
    return false;
  }
  if (stav_ == Bezi) {
    // Ended without an event (the component refused to start).
    stav_ = Chyba;
    ui_.setTimerRunning(false);
  }
  return stav_ == Hotovo;
}

void Aktualizace::report(const std::string& text) {
  // Replies are never read: each request runs on its own, and finished ones
  // are dropped at the next.
  reports_.remove_if([](const auto& r) { return *r.second; });
  auto get = std::make_unique<THTTPGet>();
  auto ended = std::make_shared<bool>(false);
  get->AcceptTypes = "*/*";
  get->Agent = http_.Agent;
  get->URL = setup_.server + "/vektrano/ver.php?prms=" + encodeQuery(text);
  get->FileName = listFile(".ver");
  get->OnDoneFile = [ended](THTTPGet&, const std::string&, int) { *ended = true; };
  get->OnError = [ended](THTTPGet&) { *ended = true; };
  get->StartDownload();
  reports_.emplace_back(std::move(get), ended);
}

void Aktualizace::Button1Click() {
  ui_.setButtonVisible(false);
  ui_.setProgressVisible(true);
  switch (krok_) {
    case Krok::Kontrola: provedKontrolu(); break;
    case Krok::Stazeni: provedStazeni(); break;
    case Krok::Odejit: ui_.closeWindow(); break;
  }
}

void Aktualizace::StringGrid1DblClick(int index) {
  if (index < 0 || index >= static_cast<int>(rows_.size())) return;
  prepni(rows_[index]);
  ui_.rowsChanged();
  setStep(pocet());
}

int Aktualizace::porovnani() {
  const std::string list = platform::readWholeFile(listFile(".upd")).value_or("");
  rows_ = transfer::porovnani(parseUpdateList(list), platform::readWholeFile(listFile(".upc")).value_or(""),
                              platform::readWholeFile(listFile(".upq")).value_or(""),
                              [](const RegistryLine& r) { AddToRegistr(r.key, r.name, r.value); });
  ui_.rowsChanged();
  return pocetKeStazeni(rows_);
}

void Aktualizace::provedKontrolu() {
  const std::shared_ptr<bool> alive = alive_;
  bool gone = false;
  http_.Agent = setup_.title.empty() ? std::string(kAgentDefault) : setup_.title;
  if (!stahni(setup_.server + "/vektrano/vektrano.upd", listFile(".upd"), gone)) {
    if (gone) return;
    // No button: the window can only be closed.
    showMessage(kChybaStahovani);
    return;
  }
  report(setup_.title + " - " + kVersionText);
  stahni(setup_.server + "/vektrano/data/portable.txt",
         platform::joinPath(setup_.programFolder, "portable.txt"), gone);
  if (gone) return;
  const int n = porovnani();
  setStep(n);
  // The check goes on to its step even when the station list failed.
  ui_.setProgressVisible(false);
  ui_.setButtonVisible(true);
  if (hooks_.storeCheckDate)
    hooks_.storeCheckDate(hooks_.today ? hooks_.today() : platform::formatDate(platform::now()));
  ui_.focusButton();
}

std::optional<Target> Aktualizace::target(const UpdateRow& row) const {
  if (row.soubor == kSouborProgramu) {
    if (setup_.programFile.empty()) return std::nullopt;
    return Target{setup_.programFile + ".ex", folderOf(setup_.programFile), false};
  }
  // A server's name for the program file itself never reaches it.
  const auto t = cilovySoubor(row.soubor, row.entry.cil,
                              {setup_.programFolder, setup_.mapFolder, setup_.photoFolder});
  if (t && !setup_.programFile.empty() &&
      (t->file == setup_.programFile || sameFile(t->file, setup_.programFile)))
    return std::nullopt;
  return t;
}

std::string Aktualizace::downloadAddress(const UpdateRow& row) const {
  const std::string& a = row.entry.adresa;
  if (startsWithNoCase(a, "http://")) return a + ".zip";
  return setup_.server + (a[0] == '/' ? "" : "/") + a + ".zip";
}

bool Aktualizace::odzipni(const std::string& archive, const Target& target, bool program) {
  ui_.setStatus("unZIP : " + platform::pathText(archive));
  StagedUnzip staged(target.folder);
  const std::string name = NamePart(target.file);
  if (!staged.extract(archive)) {
    std::string text = "Soubor " + platform::pathText(archive) + " se nepodařilo rozbalit.";
    for (size_t i = 0; i < staged.errors.size() && i < 5; ++i) text += "\r\n" + staged.errors[i];
    showMessage(text, MessageKind::Warning);
    return false;
  }
  bool found = false;
  for (const std::string& f : staged.files()) found = found || f == name;
  if (!found) {
    showMessage("Archiv " + platform::pathText(archive) + " neobsahuje soubor " + platform::pathText(name),
                MessageKind::Warning);
    return false;
  }
  if (program && !isProgramForThisMachine(staged.stagedPath(name))) {
    showMessage("Stažený soubor " + platform::pathText(name) + " není program pro tento počítač.",
                MessageKind::Warning);
    return false;
  }
  const std::string programFile = setup_.programFile;
  const bool ok = staged.install([&](const std::string& to) {
    return programFile.empty() || (to != programFile && !sameFile(to, programFile));
  });
  return ok && platform::fileExists(target.file);
}

bool Aktualizace::DelEXE() {
  return swapProgramFile(setup_.programFile, setup_.programFile + ".ex", ".e") == SwapResult::Done;
}

void Aktualizace::provedStazeni() {
  const std::shared_ptr<bool> alive = alive_;
  int chyby = 0;
  int novyProgram = -1;
  bool lokatory = false, volacky = false, svatky = false;
  bool poznamkaProgramu = false;

  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].mark != kMarkStahnout) continue;
    const bool program = rows_[i].soubor == kSouborProgramu;
    if (program && !setup_.replaceProgram) {
      if (!poznamkaProgramu) showMessage(kNeniPrepsatelny);
      poznamkaProgramu = true;
      rows_[i].popis = kNeniPrepsatelnyRadek;
      ui_.rowsChanged();
      continue;
    }
    ui_.setProgressVisible(true);
    ui_.setButtonVisible(false);
    const std::optional<Target> cil = target(rows_[i]);
    if (!cil) {
      rows_[i].mark = kMarkChyba;
      ++chyby;
      ui_.rowsChanged();
      continue;
    }
    const std::string url = downloadAddress(rows_[i]);
    const std::string archive = cil->file + ".zip";
    std::error_code ec;
    if (cil->makeFolder) fs::create_directories(platform::fsPath(cil->folder), ec);
    fs::remove(platform::fsPath(archive + ".old"), ec);
    if (platform::fileExists(archive)) fs::rename(platform::fsPath(archive), platform::fsPath(archive + ".old"), ec);
    ui_.setStatus(url + " / " + platform::pathText(archive));
    report(setup_.title + " - " + platform::pathText(archive) + " START");
    ui_.selectRow(static_cast<int>(i));
    bool gone = false;
    const bool ok = stahni(url, archive, gone);
    if (gone) return;
    report(setup_.title + " - " + platform::pathText(archive) + " OK");
    UpdateRow& row = rows_[i];
    if (ok && odzipni(archive, *cil, program)) {
      row.mark = kMarkInstalovano;
    } else {
      row.mark = kMarkChyba;
      if (!ok) showMessage(kChybaStahovani);
      ++chyby;
    }
    if (row.mark == kMarkInstalovano) {
      if (program) novyProgram = static_cast<int>(i);
      lokatory = lokatory || isDatabase(row.soubor, kSouborLokatoru);
      volacky = volacky || isDatabase(row.soubor, kSouborVolacek);
      svatky = svatky || isDatabase(row.soubor, kSouborSvatku);
    }
    ui_.rowsChanged();
  }
  if (chyby > 0) showMessage("Nezdařilo se stáhnout " + std::to_string(chyby) + " soubor(ů)");

  // Swapped before the lists are written, so that a program that could not
  // be put in place is offered again at the next check.
  bool vymenen = false;
  if (novyProgram >= 0) {
    vymenen = DelEXE();
    if (!vymenen) {
      rows_[novyProgram].mark = kMarkChyba;
      ui_.rowsChanged();
      showMessage("Novou verzi programu se nepodařilo nainstalovat, program zůstává v původní verzi : " +
                      platform::pathText(setup_.programFile),
                  MessageKind::Error);
    }
  }
  platform::writeFileAtomic(listFile(".upc"), doneListText(rows_));
  platform::writeFileAtomic(listFile(".upq"), excludedListText(rows_));

  if (hooks_.ReIndexace) hooks_.ReIndexace();
  showMessage("Proces aktualizace dokončen. ");
  const bool pamet = hooks_.memoryMode && hooks_.memoryMode();
  if (!pamet && (lokatory || volacky || svatky)) {
    ui_.setWindowVisible(false);
    if (hooks_.raiseMainWindow) hooks_.raiseMainWindow();
    std::string jmena;
    if (lokatory) jmena += "LOKÁTORŮ,";
    if (volacky) jmena += "VOLAČEK,";
    if (svatky) jmena += "SVÁTKŮ,";
    showMessage("Nezapomeň provést indexování " + jmena + " viz\r\n\r\nmenu : Pomocné funkce, INDEXOVÁNÍ DATABÁZÍ");
    if (lokatory && platform::askYesNo("Indexovat databázi LOKÁTORŮ ?") && hooks_.locIDX) hooks_.locIDX();
    if (volacky && platform::askYesNo("Indexovat databázi VOLAČEK ?") && hooks_.volIDX) hooks_.volIDX();
    if (svatky && platform::askYesNo("Indexovat databázi SVÁTKŮ ?") && hooks_.jmnIDX) hooks_.jmnIDX();
    if (!*alive) return;
    ui_.setWindowVisible(true);
  }
  if (vymenen) {
    showMessage("Program VEKTRANO bude nyní ukončen a\r\nbude moci sputit novou verzi programu VEKTRANO.");
    ui_.openPage(setup_.server + "/vektrano/historie.htm");
    if (hooks_.saveSettings) hooks_.saveSettings();
    if (hooks_.endProgram) hooks_.endProgram(setup_.programFile);
    return;
  }
  ui_.closeWindow();
}

}  // namespace vektrano::transfer
