#pragma once
// The internet update behind the update window: the check (the update list,
// the report to the server, the portable-station list, the rows of the
// grid), the toggles of the rows, and the download step (each chosen archive
// fetched and installed, the done and excluded lists rewritten, the
// questions about the indexes, the program file swapped). One download at a
// time; the step waits for each while the window's events go on, and the
// window is not closed meanwhile (downloading()).
//
// What the update asks of the main window comes in UpdateHooks, what it
// shows goes to UpdateUi; the files and folders come in UpdateSetup, so tests
// run it against a server on 127.0.0.1 in temporary folders.
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "transfer/http.h"
#include "transfer/update_list.h"

namespace vektrano::transfer {

// Where the update server is when the settings name none.
inline constexpr const char* kUpdateServerDefault = "http://vektrano.example.org";

// The update server: the text value "UpdateServer" under keyPath ("http://"
// host[":" port], the scheme may be left out), else the default; without a
// trailing "/".
std::string adresaServeru(const std::string& keyPath);
// The update window's settings key, which also holds that value.
std::string updateSettingsKey();

struct UpdateSetup {
  std::string server;         // adresaServeru(updateSettingsKey())
  std::string programFolder;  // data files and the three lists
  std::string programFile;    // the running program
  std::string mapFolder;      // the main window's map folder
  std::string photoFolder;    // and photo folder
  // ProgramFileReplaceable(programFile): otherwise the program's entry is
  // left alone and the user is told once that the program is renewed by
  // installing it again.
  bool replaceProgram = false;
  std::string title;  // the program's title: agent text and report prefix
};

// The main window's part; any may be left empty.
struct UpdateHooks {
  std::function<void()> ReIndexace;
  std::function<void()> locIDX, volIDX, jmnIDX;
  std::function<bool()> memoryMode;                          // `MenuRam` ticked
  std::function<void(const std::string&)> storeCheckDate;    // `datumupdate`
  std::function<void()> raiseMainWindow;
  // Called in this order once the program file was swapped: the settings
  // are written, then the program ends (the new program file is named).
  std::function<void()> saveSettings;
  std::function<void(const std::string& programFile)> endProgram;
  std::function<std::string()> today;  // short date; default: today
};

// The window as the update sees it; every call on the main thread.
class UpdateUi {
 public:
  virtual ~UpdateUi() = default;
  virtual void rowsChanged() {}                 // show rows() anew
  virtual void selectRow(int /*index*/) {}      // index into rows()
  virtual void setStatus(const std::string& /*text*/) {}
  virtual void setProgress(int /*maximum*/, int /*position*/) {}
  virtual void setProgressVisible(bool /*visible*/) {}
  virtual void setButtonVisible(bool /*visible*/) {}
  virtual void setButtonCaption(const std::string& /*caption*/) {}
  virtual void setInstruction(const std::string& /*text*/) {}  // `Label2`
  virtual void focusButton() {}
  virtual void setTimerRunning(bool /*on*/) {}  // `Timer1`: Timer1Timer every second
  virtual void setWindowVisible(bool /*visible*/) {}
  virtual void openPage(const std::string& /*url*/) {}
  virtual void closeWindow() {}
};

class Aktualizace {
 public:
  enum class Krok { Kontrola, Stazeni, Odejit };
  enum Stav { Klid = 0, Bezi = 1, Hotovo = 2, Chyba = 3 };

  Aktualizace(UpdateSetup setup, UpdateHooks hooks, UpdateUi& ui);
  ~Aktualizace();
  Aktualizace(const Aktualizace&) = delete;
  Aktualizace& operator=(const Aktualizace&) = delete;

  // The action button; its step follows the caption.
  void Button1Click();
  // A double click on a row (index into rows()); anything else does nothing.
  void StringGrid1DblClick(int index);
  // One second of a running download.
  void Timer1Timer();

  bool downloading() const { return stav_ == Bezi; }
  int stav() const { return stav_; }
  Krok krok() const { return krok_; }
  std::string caption() const;
  int pocet() const { return pocetKeStazeni(rows_); }
  const std::vector<UpdateRow>& rows() const { return rows_; }
  const UpdateSetup& setup() const { return setup_; }
  THTTPGet& HTTPGet1() { return http_; }

  // Reads the update list and the two records into the rows; registry lines
  // go to AddToRegistr. Returns the number of rows to download.
  int porovnani();
  // Installs the archive of a row into the target's folder; the target file
  // is replaced only when every entry came out whole, and the running program
  // is never written. A program entry must be a program of this machine.
  bool odzipni(const std::string& archive, const Target& target, bool program);
  // Swaps the program file for the new one beside it (".ex"), keeping the old
  // one as ".e". False when the program file stays as it was.
  bool DelEXE();

  // The target of a row: the program's entry goes beside the program file.
  std::optional<Target> target(const UpdateRow& row) const;
  std::string downloadAddress(const UpdateRow& row) const;  // field 4 + ".zip"

 private:
  void provedKontrolu();
  void provedStazeni();
  // Waits for one download; false when it failed. gone is set when the
  // update was destroyed meanwhile (nothing may be touched then).
  bool stahni(const std::string& url, const std::string& file, bool& gone);
  void report(const std::string& text);
  void setStep(int pocet);
  std::string listFile(const char* extension) const;

  UpdateSetup setup_;
  UpdateHooks hooks_;
  UpdateUi& ui_;
  THTTPGet http_;
  std::list<std::pair<std::unique_ptr<THTTPGet>, std::shared_ptr<bool>>> reports_;
  std::vector<UpdateRow> rows_;
  Krok krok_ = Krok::Kontrola;
  int stav_ = Klid;
  int sekundy_ = 0;
  std::shared_ptr<bool> alive_;
};

// Percent-encoding of a report text (UTF-8 bytes, unreserved characters kept).
std::string encodeQuery(const std::string& text);

}  // namespace vektrano::transfer
