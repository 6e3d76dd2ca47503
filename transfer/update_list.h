#pragma once
// The update list of the internet update and its two records: the list
// "vektrano.upd" fetched from the update server (file entries and registry
// lines), the done list "vektrano.upc" (every list line whose file was
// installed) and the excluded list "vektrano.upq" (file names the user
// turned off). Here the rows of the update window are made from them, marked,
// toggled and counted, and each entry's target file is found. Everything a
// list line names comes from the server and is checked before it is used:
// a file name is a plain name, a target folder stays inside its folder.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vektrano::transfer {

// Marks in the first column of the update window.
inline constexpr const char* kMarkStahnout = "#";     // to be downloaded
inline constexpr const char* kMarkInstalovano = "*";  // installed
inline constexpr const char* kMarkZakazano = "@";     // excluded by the user
inline constexpr const char* kMarkChyba = "!!!";      // the download failed in this run

// Status texts of the second column.
inline constexpr const char* kTextInstalovano =
    "Program VEKTRANO obsahuje poslední verzi tohoto souboru  ...";
inline constexpr const char* kTextZakazano =
    "Uživatel zakázal update tohoto souboru (dvojklik update povoluje)";

// The program file's entry in the list, and the database entries that ask
// for a rebuild of their indexes.
inline constexpr const char* kSouborProgramu = "vektrano.ex";
inline constexpr const char* kSouborLokatoru = "vektrano.zr4";
inline constexpr const char* kSouborVolacek = "vektrano.pvk";
inline constexpr const char* kSouborSvatku = "vektrano.jmn";

// Field n (from 1) of a list line: the text between the (n-1)-th and the
// n-th ";", the text after the last ";" being the last field; "error" for a
// field the line does not have.
std::string vysek(int n, const std::string& line);

// A registry line ";reg;" key ";" value name ";" value.
struct RegistryLine {
  std::string key;    // below "\Software\NOVR\Vektrano\"
  std::string name;
  std::string value;  // the rest of the line, semicolons included
};

// A file entry: the first four fields of its line and the whole line.
struct FileEntry {
  std::string soubor;  // field 1: file name
  std::string popis;   // field 2: description
  std::string cil;     // field 3: target folder
  std::string adresa;  // field 4: download address without ".zip"
  std::string radek;   // the whole line
};

struct UpdateList {
  std::vector<RegistryLine> registry;  // in list order
  std::vector<FileEntry> files;        // in list order
};

// Reads the list: lines (CR LF or LF) shorter than 11 characters are
// ignored, ";reg;" lines with key, name and value are registry lines, other
// ";" lines comments. Any other line with at least four fields is a file
// entry, unless its file name is no plain name or its target folder would
// leave its folder; lines with fewer fields are ignored too.
UpdateList parseUpdateList(std::string_view text);

// A name that stays a name in any folder: one that platform::fileNameFromText
// leaves as it is (not empty, no "/", "\", control character or name of dots
// only, at most kMaxFileNameBytes on disk), and no ":".
bool isPlainFileName(const std::string& name);

// Where an entry's file goes. Field 3 ".\" and anything that is no map or
// photo target give the program folder; "[MAPA]" + subfolders the map
// folder, "[FOTO]" + subfolders the photo folder. Each subfolder
// must be a plain name (empty parts are skipped) and the whole target hold
// no ":"; a map or photo target without its folder set gives nothing.
struct TargetFolders {
  std::string programFolder;
  std::string mapFolder;
  std::string photoFolder;
};
struct Target {
  std::string file;     // the target file
  std::string folder;   // its folder (made when missing for map and photo targets)
  bool makeFolder = false;
};
std::optional<Target> cilovySoubor(const std::string& soubor, const std::string& cil,
                                   const TargetFolders& folders);
// Field 3 alone is acceptable (the check of parseUpdateList).
bool isSafeTargetField(const std::string& cil);

// One row of the update window's grid below its title row.
struct UpdateRow {
  std::string mark;    // column 0
  std::string soubor;  // column 1
  std::string popis;   // column 2: description or status text
  std::string radek;   // column 3: the whole list line
  FileEntry entry;
};

// The rows of a list: every file entry marked "#", then the rows whose whole
// line is in the done list marked "*", then those whose file name is in the
// excluded list marked "@" (each with its status text). Registry lines go to
// applyRegistry at once, before any row exists.
std::vector<UpdateRow> porovnani(const UpdateList& list, std::string_view doneList,
                                 std::string_view excludedList,
                                 const std::function<void(const RegistryLine&)>& applyRegistry);

// The number of rows to download: those marked "#".
int pocetKeStazeni(const std::vector<UpdateRow>& rows);

// A double click on a row: "#" becomes "@", "*" becomes "@", anything else
// "#" with "Ano, soubor ... byl zařazen pro stažení".
void prepni(UpdateRow& row);

// The new contents of the done list (column 3 of the "*" rows) and of the
// excluded list (column 1 of the "@" rows), in grid order, lines ended by
// CR LF.
std::string doneListText(const std::vector<UpdateRow>& rows);
std::string excludedListText(const std::vector<UpdateRow>& rows);

// Captions of the action button and the instruction line for a count.
std::string button1Caption(int pocet);
std::string label2Text(int pocet);
inline constexpr const char* kCaptionKontrola = "Proveď kontrolu";
inline constexpr const char* kCaptionOdejit = "ODEJÍT (Nejsou žádné novinky)";
inline constexpr const char* kCaptionStazeni = "Proveď stažení nových souborů v počtu : ";
inline constexpr const char* kLabel2Start =
    "Jsi-li připojen na internet - klikni na tlačítko : PROVEĎ KONTROLU";

// The status line while a download runs: bytes, percentage (rounded half to
// even; 0 without a total), the speed once a second has passed, and what
// goes where.
std::string progressText(int readed, int totalSize, int seconds, const std::string& url,
                         const std::string& fileName);

// The lines of a text, CR LF or LF ended (a last line without an end
// counts; the CR of each end is dropped).
std::vector<std::string> textLines(std::string_view text);

}  // namespace vektrano::transfer
