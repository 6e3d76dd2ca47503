#pragma once
// The contact archive: finished logs filed into numbered archives under the
// archive storage folder. Two record files of fixed-size records (32-bit
// little-endian integers, strings as one length byte and a fixed field, all
// cp1250): the index "archiv.zr4" (356 bytes a record) in the root and the
// catalogue "deniky.pbl" (636 bytes a record) in each archive folder.
// Every file goes through platform::writeFileAtomic; failures are reported
// through platform/message.h and the tables keep what they held.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/grid.h"
#include "core/base/text.h"
#include "platform/datetime.h"

namespace vektrano {

constexpr std::size_t kZaznamArchivu = 356;
constexpr std::size_t kZaznamDeniku = 636;
constexpr int kMaxArchivu = 200;
constexpr int kMaxDeniku = 9999;
constexpr int kMaxNalezu = 1000;
// The largest numbers the folder and copy names hold (three and five digits).
constexpr std::int32_t kMaxCisloArchivu = 999;
constexpr std::int32_t kMaxCisloDeniku = 99999;

struct Archiv {
  std::int32_t cislo = 0;
  std::string nazev;   // display name: "001 - " + name
  std::string slozka;  // root + "/" + three-digit number
  bool operator==(const Archiv&) const = default;
};

struct ZarazenyDenik {
  std::int32_t cislo = 0;
  std::string od, do_, lokator, nazev, popis, cesta;
  bool operator==(const ZarazenyDenik&) const = default;
};

// One 636-byte catalogue record (longer texts cut, unused bytes zero).
std::string zaznamDeniku(const ZarazenyDenik& d);
// Record parsers; a length byte beyond its field is cut to the field. The
// view must hold a whole record.
Archiv ctiZaznamArchivu(std::string_view rec);
ZarazenyDenik ctiZaznamDeniku(std::string_view rec);

// Whole files. Nothing when the file cannot be read; a short last record is
// an error, the records before it are kept in *prectene when given.
std::optional<std::vector<Archiv>> ctiIndexArchivu(const std::string& path,
                                                   std::vector<Archiv>* prectene = nullptr);
std::optional<std::vector<ZarazenyDenik>> ctiKatalog(const std::string& path,
                                                     std::vector<ZarazenyDenik>* prectene = nullptr);

std::string cisloArchivu(std::int32_t cislo);  // "007"
std::string cisloDeniku(std::int32_t cislo);   // "00042"
// "001 - " + name, cut to 100 bytes.
std::string nazevArchivu(std::int32_t cislo, const std::string& jmeno);
// The display name without its number prefix.
std::string jmenoArchivu(const Archiv& a);

// Archive names are 8 to 100 characters; titles 5 to 20 and descriptions 5
// to 250 when edited.
bool platneJmenoArchivu(const std::string& jmeno);
bool platnyNazevDeniku(const std::string& nazev);
bool platnyPopisDeniku(const std::string& popis);

// What the first step of filing proposes for a log: both dates today
// ("d.m.yy"), the own locator from the first contact line, the bracketed date
// of that line as both dates, and the second line of a ".exp" file beside
// the log as title and description. A log that cannot be read is reported.
struct NavrhZarazeni {
  std::string od, do_, lokator, nazev, popis;
};
NavrhZarazeni navrhniZarazeni(const std::string& logPath, const platform::DateTime& dnes);

// The five steps of filing (0 to 4): start date, end date, title,
// description, filing.
class Zarazovani {
 public:
  Zarazovani() = default;
  Zarazovani(std::string logPath, const NavrhZarazeni& navrh);

  int krok() const { return krok_; }
  const std::string& logPath() const { return logPath_; }
  const ZarazenyDenik& denik() const { return denik_; }
  // The text of the current step with the values chosen so far.
  std::string stav() const;
  // The value shown for the current step (a date or the text of the edit).
  std::string hodnotaKroku() const;
  // Takes the value of the current step and goes on; true once step 3 was
  // taken and the log is to be filed (step 4).
  bool vpred(const std::string& hodnota);
  void zpet();

 private:
  std::string logPath_;
  ZarazenyDenik denik_;
  int krok_ = 0;
};

// A filed copy shown as a grid (8 columns, row 0 the titles) and its status
// text; ok false when the copy could not be opened (status says so).
struct ZobrazenyDenik {
  Grid grid{8, 1};
  std::string stav;
  bool ok = false;
};
const std::vector<std::string>& tituleZobrazeni();
ZobrazenyDenik nactiarchivdenik(const std::string& path);

// The contact summary of the grid row of a shown log.
std::string souhrnSpojeni(const ZarazenyDenik& d, const Grid::Row& spojeni);

// The message when an old copy or an old csv log cannot be given the
// extension ".qvl".
std::string zpravaPrejmenovani(const std::string& from, const std::string& to);

struct Nalez {
  int denik = 0;    // catalogue row
  int spojeni = 0;  // grid row of the contact
  std::string text;
};

// The search can start once either box holds at least 3 characters.
bool lzeHledat(const std::string& findLok, const std::string& findVol);

struct VysledekHledani {
  std::vector<Nalez> nalezy;  // at most kMaxNalezu
  int celkem = 0;             // every match, also those not listed
  bool preruseno = false;
};

class ArchivStore {
 public:
  explicit ArchivStore(std::string root);

  const std::string& root() const { return root_; }
  std::string indexPath() const;
  const std::vector<Archiv>& archivy() const { return archivy_; }
  int vybrany() const { return vybrany_; }
  const Archiv* vybranyArchiv() const;
  const std::vector<ZarazenyDenik>& deniky() const { return deniky_; }
  std::string katalogPath() const;  // of the chosen archive, "" without one

  // `FormCreate`'s reading of the index (at most 200 records).
  bool nactiArchivy();
  // Chooses an archive by table index (clamped; -1 without archives) and
  // reads its catalogue.
  void vyber(int index);
  // `NactiSeznamDeniku`: the one-time renaming of old copies, then the
  // catalogue (at most 9999 records).
  bool nactiSeznamDeniku();
  bool ulozArchivy();
  bool ulozPortejbly();

  // New archive with the given name: its table index, or nothing after a
  // message (limit, bad name, write error).
  std::optional<int> pridejArchiv(const std::string& jmeno);
  bool prejmenujArchiv(int index, const std::string& jmeno);
  // Removes the catalogue files and the record; the folder and its copies
  // stay. The archive at the same position (or the last) is chosen.
  bool smazArchiv(int index);

  // `ZaradDenikDoArchivu`: copies the log and appends the record; its
  // catalogue row, or nothing after a message. The number is the next one
  // above the catalogue's whose copy file does not exist yet.
  std::optional<int> zaradDenik(const ZarazenyDenik& denik, const std::string& logPath);
  bool smazDenik(int row);
  bool opravNazev(int row, const std::string& nazev);
  bool opravPopis(int row, const std::string& popis);

  // Every contact of every filed log of the chosen archive, as the
  // catalogue stood when the search began. pump runs after each contact (the
  // window processes its events there); returning false stops the search.
  // nalez runs for every listed hit.
  VysledekHledani hledej(const std::string& findLok, const std::string& findVol,
                         const KeyboardOptions& klavesnice,
                         const std::function<bool()>& pump = {},
                         const std::function<void(const Nalez&)>& nalez = {}) const;

 private:
  void PrevodStarychDeniku();

  std::string root_;
  std::vector<Archiv> archivy_;
  int vybrany_ = -1;
  std::vector<ZarazenyDenik> deniky_;
};

}  // namespace vektrano
