#pragma once
// The main window's settings in the registry key "\Software\NOVR\Vektrano\Form1":
// plain data with every value and its default, read once at start-up and
// written once at shut-down. The main window applies them to its menus and
// controls; nothing here needs a window.
#include <string>

namespace vektrano {

inline constexpr const char* kMainWindowKey = "\\Software\\NOVR\\Vektrano\\Form1";
inline constexpr const char* kProgramKey = "\\Software\\NOVR\\Vektrano\\";
inline constexpr const char* kVersionText = " ver: 6.03 (2008/04/08) ";

// Members are named after their registry values.
struct MainWindowSettings {
  int Top = 10, Left = 10, Height = 600, Width = 450;  // the normal bounds
  bool PouzivatVolacky = true;
  bool MestaSvatky = false;
  bool Automatika = true;
  bool AutomatKolecko = false;
  bool ReportyChecked = false;
  bool NapovedaChecked = true;
  bool DoplnDatum = false;
  bool KlavesniceCZ = true;  // klavesnicesk is its opposite
  bool PocitejKM = true;
  bool DoplnovatKanal = false;
  int Kanal = 40;
  bool ukladatazimut = false;
  bool zobrporcisl = true, zobrdatcas = true, Zobrrep = true, Zobrvzd = true, Zobrpoz = true;
  bool ZobrCisSpoj = false;
  bool PrijatyReportDoplnit = false;
  std::string Nastaven = "&Nastavení";
  std::string UlozisteDat, UlozisteMap, UlozisteFoto, UlozisteArchiv;  // empty: defaults
  bool Poprve = true;
  std::string Version;  // read, never used
  std::string Lokportable = "JO70GQ";
  std::string Memo = "Poznámky k expedici";  // the memo's lines joined by CR LF
  std::string VolackyAlter, LokatoryAlter;
  bool Volac2 = false, Volackyoboje = false, Pouzevolacky1 = true, Pouzevolacky2 = false;
  bool VolackyobojeE = false, Pouzevolacky2E = false;
  bool Lokat2 = false, Lokatoboje = false, Pouzelok1 = true, Pouzelok2 = false;
  bool LokatobojeE = false, Pouzelok2E = false;
  bool Maximized = false;
  std::string SaveFileName;
  std::string loksecondary, lokthree;
  bool secondstation = false, threestation = false;
  bool doplnvolackuzakm = false;
  bool ZobrazLokatorProtistanice = false;
  bool aktualcas = false;
  // The colour scheme; all 0 means none stored yet.
  int BPOZ = 0, BPDE = 0, BPND = 0, BPOV = 0, BPVR = 0, BHOD = 0, BVVZ = 0, BDUP = 0, BNJS = 0;
  bool MenuRam = false;
  std::string datumupdate;
  int Pismo = 0;
  bool HelpExist = true;
  int delkaprodlevy = 10;  // search delay in 100 ms ticks
  int prioritka = 1;       // 1 normal, 2 high

  bool operator==(const MainWindowSettings&) const = default;
};

struct SettingsReadResult {
  bool keyOpened = false;
  // The first integer or Boolean value that was missing (or not an integer,
  // or a prioritka above 255): it and every later value kept its default.
  // Empty when every value was read.
  std::string stoppedAt;
};

// Reads the values in their fixed order into s. A missing text reads as
// empty. When the key can be neither opened nor created the window gets top
// 10, left 10, height 600, width 450, and an empty datumupdate becomes today.
SettingsReadResult readMainWindowSettings(MainWindowSettings& s, const std::string& today,
                                          const std::string& keyPath = kMainWindowKey);

// Writes every value in the shut-down order; Poprve is stored false, Version
// is this program's, FileApp gets executableFolder, the folder that holds the
// vektrano executable (the viewer starts Vektrano from there), and
// ProgramFiles the program folder with the program's data (the same folder
// when programFolder is empty). Trailing separators are dropped. False when
// the key could not be opened or the store not written.
bool writeMainWindowSettings(const MainWindowSettings& s, const std::string& executableFolder,
                             const std::string& keyPath = kMainWindowKey,
                             const std::string& programFolder = {});

// A window placed beyond the screen comes back: a top above the screen
// height - 10 becomes 1, a left above the screen width - 10 becomes 1.
void fitToScreen(MainWindowSettings& s, int screenWidth, int screenHeight);

// Puts a value under "\Software\NOVR\Vektrano\" + subkey for the internet
// update, never over one the user has: only when the value is missing or an
// empty text. "0x" + hexadecimal digits is written as an integer, any other
// text as itself; "[DELETE]" removes the value. A subkey not made of plain
// segments (letters, digits, "_"), an empty or control-character name, or a
// malformed hexadecimal value is refused. True when something was written or
// deleted; nothing is ever reported.
bool AddToRegistr(const std::string& subkey, const std::string& name, const std::string& value);

}  // namespace vektrano
