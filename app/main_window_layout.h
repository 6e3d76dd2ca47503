#pragma once
// The geometry of the main window's controls, computed from the window size
// and the font factor k, without widgets. `FormResize` applies it.
//
// The layout was drawn for the outer size of a window whose caption, menu
// bar, borders and status bar took kFrameWidth x kFrameHeight pixels; W and H
// here are that outer size, made from the client area the controls live in.
#include <array>
#include <functional>
#include <string>

#include "core/log/log.h"

namespace vektrano {

inline constexpr int kFrameWidth = 8;    // borders left and right
inline constexpr int kFrameHeight = 77;  // caption, menu bar, borders, status bar
inline constexpr int kMinWidth = 630;    // outer minimum
inline constexpr int kMinHeight = 450;

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const LayoutRect&) const = default;
};

// The options that change the layout.
struct Form1LayoutOptions {
  int Pismo = 0;                   // font factor k: 0, 1 or 2
  bool zobrcisspoj = false;        // contact number beside the note memo
  bool aktualcas = false;          // clock label shown
  bool doplnvolackuzakm = false;   // call sign behind the km
  bool doplnovatkanal = false;     // channel spin edit
  bool wduplicityVisible = false;  // duplicate list shown: side lists re-fitted
};

struct Form1Layout {
  int W = 0, H = 0;  // outer size, at least kMinWidth x kMinHeight

  // Font-dependent sizes (pixels, points).
  int gridRowHeight = 20, gridFontSize = 10;
  int listItemHeight = 18;  // wvolacky, wmestacentr
  int seznamMestFontSize = 10;
  int duplItemHeight = 16, duplFontSize = 10;

  LayoutRect Memo1, cisspoj, azimut;
  LayoutRect lokportable, Label1, cas;
  LayoutRect vstup, kanal;
  LayoutRect volackalabel, Denik;
  LayoutRect SeznamMest, wvolacky, Memo4, wmestacentr, wduplicity;
  LayoutRect Edit1, UpDown1, Edit2, UpDown2, xdat, datumuj;
  LayoutRect Pbar, novrportable;
  bool cisspojVisible = false, casVisible = false, volackalabelVisible = false,
       kanalVisible = false;
};

// W and H of the outer window whose client area is clientWidth x
// clientHeight (status bar excluded).
inline int outerWidth(int clientWidth) { return clientWidth + kFrameWidth; }
inline int outerHeight(int clientHeight) { return clientHeight + kFrameHeight; }

// The geometry for an outer size W x H; a smaller size counts as the minimum.
Form1Layout layoutForm1(int W, int H, const Form1LayoutOptions& o);

// The largest font size up to size whose text, as measure gives its width
// at a size, fits width (never below 1).
int vejdeSe(int size, int width, const std::function<int(int size)>& measure);

// Room a cell's text needs besides its own width: the painter's offset of
// 1 pixel on either side.
inline constexpr int kOdstupBunky = 2;

// The widths the log grid's columns need so that no cell text is cut, for
// the texts of this platform's font (measure: width of a cp1250 text in the
// grid's font): the number, the time (with "[" + datum + "] " in front when
// datum is not empty), the reports, the locator and the km. 0 for the call
// sign and the note, whose texts are free.
std::array<int, kLogColumns> nejmensiSirky(const std::function<int(const std::string&)>& measure,
                                           const std::string& datum);

// The caption of the settings menu `Nastaven1` in each side-panel mode.
inline constexpr const char* kNastavenVolacky = "Nastavení  [Seznam Volaček]";
inline constexpr const char* kNastavenMesta = "Nastavení  [Města,Svátky]";

}  // namespace vektrano
