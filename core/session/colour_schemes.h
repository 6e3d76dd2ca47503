#pragma once
// The colour scheme of the main window and the painting rules of the log
// grid `Denik`, without widgets. Every colour is a Windows TColor value
// ($00BBGGRR, as the registry keeps it); only the painter converts it.
//
// Painting works from a plan: `NaplanujMalovani` scans the grid once after a
// load, a store or an edit and marks the special rows; a cell paint then
// only looks its row up (`StylBunkyDeniku`, `PosunTextu`).
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/base/grid.h"
#include "core/log/log.h"
#include "core/log/log_statistics.h"
#include "core/session/main_window_settings.h"

namespace vektrano {

using TColor = std::uint32_t;

// System colour constants: $FF0000nn stands for the colour of system
// element nn and is resolved only where a real colour is needed.
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clHighlight = 0xFF00000D;
inline constexpr TColor clHighlightText = 0xFF00000E;
inline constexpr TColor clBtnFace = 0xFF00000F;

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr bool isSystemColour(TColor c) { return (c & 0x80000000u) != 0; }

// A system colour constant becomes the element's default RGB colour (an
// unknown element gives black); any other value stays as it is.
TColor ColorToRGB(TColor c);

// 255 for a channel of at most 128, else 0.
int KrajniKanal(int channel);
// The colour for text on background c: each channel of the resolved colour
// through `KrajniKanal`, so always one of the eight pure colours.
TColor KontrastniBarva(TColor c);

// The nine colours of the scheme.
struct BarevneSchema {
  TColor BPOZ = 0;  // background of the log grid
  TColor BDUP = 0;  // background of a duplicate row
  TColor BPDE = 0;  // font of the log grid
  TColor BPND = 0;  // background of the title row (fixed cells)
  TColor BPOV = 0;  // background of the window, labels, memos, lists, edits
  TColor BPVR = 0;  // font of the memos, lists and edits
  TColor BHOD = 0;  // font of the clock label `cas`
  TColor BVVZ = 0;  // font of `Label1`, `volackalabel`, `cisspoj`
  TColor BNJS = 0;  // background of the longest contact's row

  bool operator==(const BarevneSchema&) const = default;
};

// The duplicate background of every template and of a first start.
inline constexpr TColor kBarvaDuplicit = 0xF0CAA6;

// The scheme as the registry values hold it, and back.
BarevneSchema schemaZNastaveni(const MainWindowSettings& s);
void ulozSchema(const BarevneSchema& b, MainWindowSettings& s);
// False while the nine stored values are all 0: no scheme stored yet, and
// start-up takes the window's own colours instead.
bool schemaUlozeno(const MainWindowSettings& s);

// One of the nine user items: it opens the colour dialog preset to the
// value and replaces it on OK.
struct PolozkaBarvy {
  std::string_view jmeno;    // object name of the menu item
  std::string_view titulek;  // its caption
  TColor BarevneSchema::*barva;
};
// In the order BPOZ, BDUP, BPDE, BPND, BPOV, BPVR, BHOD, BVVZ, BNJS.
const std::array<PolozkaBarvy, 9>& PolozkyBarev();

// Caption of the menu that holds the five templates.
inline constexpr std::string_view kMenuZmenitBarvy = "Změnit barvy programu";

struct SablonaBarev {
  std::string_view jmeno;    // object name of the menu item
  std::string_view titulek;  // its caption
  BarevneSchema schema;
};
// Default, MONO, INVERT, WOOD, SOON, in the menu's order.
const std::array<SablonaBarev, 5>& SablonyBarev();

// `NastavBarvy`: which colour each control of the main window takes, in the
// order they are applied, and the two colours of the blinking `Label1`.
enum class VlastnostBarvy {
  Pozadi,      // background
  Pismo,       // font
  PevneBunky,  // background of a grid's fixed cells
};
struct BarvaOvladace {
  std::string_view ovladac;  // object name; "Form1" is the main window itself
  VlastnostBarvy vlastnost;
  TColor barva;
};
struct BarvyOkna {
  std::vector<BarvaOvladace> ovladace;
  TColor BarvaLabel1 = 0;  // normal font colour of `Label1` (BVVZ)
  TColor BarvaBliku = 0;   // its blink colour, KontrastniBarva(BVVZ)
};
BarvyOkna NastavBarvy(const BarevneSchema& b);

// The log grid's own colours, which every cell starts from.
struct BarvyMrizky {
  TColor pozadi = clWindow;    // normal cells
  TColor pismo = clWindowText; // font
  TColor pevne = clBtnFace;    // fixed cells (the title row)
  bool operator==(const BarvyMrizky&) const = default;
};
// BPOZ, BPDE and BPND of the scheme (the grid part of `NastavBarvy`).
BarvyMrizky barvyDeniku(const BarevneSchema& b);
// While the grid is being edited: white cells, white fixed cells, black text.
inline constexpr BarvyMrizky kBarvyEditaceDeniku{0xFFFFFF, 0x000000, 0xFFFFFF};

// The author's signature text that paints its rows green; empty switches
// that rule off.
inline constexpr std::string_view kPodpisAutora = "";

// What the scan found in one grid row.
enum RadekDeniku : std::uint8_t {
  kRadekKlub = 1,       // call-sign cell holds "Zr-", the club's series
  kRadekPodpis = 2,     // call-sign cell holds the signature text
  kRadekNejdelsi = 4,   // km cell equals the longest distance
  kRadekDuplicita = 8,  // call-sign cell holds ".#", a duplicate or error mark
};

struct PlanMalovani {
  std::vector<std::uint8_t> radky;  // RadekDeniku bits per grid row (title row 0 too)
  bool datumVRadcich = false;       // a contact row's time cell is longer than 9 characters
  bool doplndatum = false;          // the date option as painting sees it
  std::uint64_t revize = 0;         // the grid's revision the scan saw
  int NejdelsiKm = 0;               // the longest distance it marked

  // Rows beyond the scan (the grid grew since) have no marks.
  std::uint8_t radek(int row) const {
    return row >= 0 && row < static_cast<int>(radky.size()) ? radky[row] : 0;
  }
};

// The scan of the whole grid. A km cell is the longest when its text equals
// NejdelsiKm written as a number (so with NejdelsiKm 0 every "0" row is).
// doplndatum is the option as ticked now; a dated row switches it on.
PlanMalovani NaplanujMalovani(const Grid& denik, int NejdelsiKm, bool doplndatum,
                              std::string_view podpis = kPodpisAutora);
// The same for the open log (its `Denik`, `NejdelsiKm` and `doplndatum`).
PlanMalovani NaplanujMalovani(const LogDocument& log, std::string_view podpis = kPodpisAutora);
// After a contact was stored: when the grid's only change since plan was the
// row added at revizePredPridanim and the longest distance is the same, the
// plan with that row's marks added; otherwise the whole scan.
PlanMalovani DoplnMalovani(PlanMalovani plan, const LogDocument& log,
                           std::uint64_t revizePredPridanim,
                           std::string_view podpis = kPodpisAutora);

// A dated row ticks the date option: when the plan found one and the option
// is off, log.doplndatum and o.doplndatum are set and the columns are laid
// out again (`SirkySloupcu` into log.Denik). True when that happened, so the
// window ticks its menu item and applies the new widths.
bool ZapniDatumPodlePlanu(const PlanMalovani& plan, LogDocument& log, ColumnOptions& o);

// The background the grid itself gives a cell.
enum class StavBunky { Normalni, Pevna, Vybrana };

struct StylBunky {
  TColor pozadi = 0;
  TColor pismo = 0;
  bool operator==(const StylBunky&) const = default;
};

// Colours of cell (row, col), later rules overriding earlier ones: the
// grid's own colours (selected cells clHighlight / clHighlightText); for
// col > 0 a club row $000080; for col > 0 a signature row $008000; in every
// column the longest contact BNJS; for col > 0 a duplicate BDUP. The text of
// each rule is KontrastniBarva of its background (of $008000 for the club).
StylBunky StylBunkyDeniku(const PlanMalovani& plan, const BarevneSchema& schema,
                          const BarvyMrizky& mrizka, int row, int col, StavBunky stav);

// Text position inside a cell: kOdsazeniShora pixels below its top, and
// PosunTextu pixels from its left: columns 0, 2, 4, 5 centred (halves to
// even); column 1 centred, or 1 with the date option; column 6 right-aligned
// (width - 1 - text width); columns 3 and 7 (and any other) 1.
inline constexpr int kOdsazeniShora = 2;
int PosunTextu(int col, int cellWidth, int textWidth, bool doplndatum);
// Whether PosunTextu of that column needs the text's width: the left-set
// ones do not, and measuring a call sign or a note in every painted row
// shaped its text a second time.
bool PosunTextuPodleSirky(int col, bool doplndatum);

}  // namespace vektrano
