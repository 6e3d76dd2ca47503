#pragma once
// The rules of the preview control that need no widget: its notification
// numbers, zoom limits and steps, fitting a page into the control, keeping
// the scroll position across a zoom, and the stored margin values text.
#include <string>
#include <string_view>

#include "preview/classes.h"
#include "preview/units.h"

namespace vektrano::preview {

// What the preview tells its attached controls (navigator, thumbnails,
// property combo box), always with no further data.
enum TPvPreviewMessage : int {
  pvmPagesPerSheet = 7034,   // PagesPerSheet was set
  pvmPageInvalidated = 7035, // the page's contents changed
  pvmCleared = 7036,
  pvmReserved7037 = 7037,    // never sent; the navigator still listens
  pvmPagesChanged = 7038,    // the current page is shown anew
  pvmPageCount = 7039,       // the page count changed (just before 7038)
  pvmReserved7041 = 7041,
  pvmPrinterChanged = 7042,
  pvmBeginUpdate = 7043,
  pvmEndUpdate = 7044,
  pvmPaperSize = 7045,
  pvmCurrentPage = 7047,
};

inline constexpr int kDefaultMinZoom = 5, kDefaultMaxZoom = 400, kDefaultZoom = 20;
// The levels of variable zoom, per cent.
inline constexpr int kZoomLevels[] = {7, 10, 14, 20, 30, 45, 60, 80, 120, 170, 250, 350, 500, 650, 800};

// At most maxZoom, then at least minZoom.
int LimitZoom(int zoom, int minZoom, int maxZoom);
// The next zoom in or out: by the increment (fixed zoom) or to the next
// level (variable zoom; none beyond keeps the zoom), then limited.
int ZoomInStep(int zoom, TPvZoomStyle style, int increment, int minZoom, int maxZoom);
int ZoomOutStep(int zoom, TPvZoomStyle style, int increment, int minZoom, int maxZoom);
// A new minimum: never below 1 nor above the maximum.
int NewMinZoom(int value, int maxZoom);
// A new maximum: never below the minimum.
int NewMaxZoom(int value, int minZoom);

// The zoom (whole per cent, truncated) that fits the page's width, height or
// both into a control of that size with its gutter.
struct FitInput {
  int controlWidth = 0, controlHeight = 0;
  IntRect gutter{30, 30, 30, 30};
  Extended pageWidth = 0, pageHeight = 0;  // inches
};
int FitWidthZoom(const FitInput& in);
int FitHeightZoom(const FitInput& in);
int FitWholePageZoom(const FitInput& in);

// A scroll position as per cent of what can be scrolled (0 when the range
// does not exceed the client), and back.
Extended ScrollPercent(int position, int range, int client);
int ScrollPosition(int range, int client, Extended percent);

// The stored margins: left, top, right, bottom in whole twips, then the
// margin pen and the printer-margin pen, each a quoted comma text of colour,
// width, style and mode.
std::string MarginValuesText(const TPvMargins& margins);
// Reads what the text holds: the margins from its first four items, the
// pens from items 5 and 6 where they exist; missing items change nothing.
void SetMarginValuesText(TPvMargins& margins, std::string_view text);

}  // namespace vektrano::preview
