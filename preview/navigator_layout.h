#pragma once
// The page navigator's thirteen buttons without a widget: their glyph,
// hint and group, when each is enabled, and where they stand.
#include <cstdint>
#include <vector>

#include "preview/graphics.h"

namespace vektrano::preview {

enum TPvNavigateBtn : std::uint8_t {
  pvFirstPage, pvPrevPage, pvNextPage, pvLastPage, pvAddPage, pvDeletePage, pvClear,
  pvZoomIn, pvZoomOut, pvActualSize, pvFitWidth, pvFitHeight, pvFitWholePage
};
inline constexpr int kNavButtonCount = 13;

// A set of buttons, one bit per TPvNavigateBtn.
using TPvNavButtonSet = std::uint16_t;
inline constexpr TPvNavButtonSet kAllNavButtons = (1u << kNavButtonCount) - 1;
inline constexpr TPvNavButtonSet navBit(TPvNavigateBtn b) { return static_cast<TPvNavButtonSet>(1u << b); }

struct TPvNavButtonInfo {
  const char* glyph;  // resource name of the picture
  const char* hint;
  int group;
};
const TPvNavButtonInfo& NavButtonInfo(TPvNavigateBtn b);

// What the enabling depends on: the preview's pages and zoom.
struct TPvNavState {
  bool hasPreview = false;
  int currentPage = 1, pageCount = 1;
  int zoom = 20, minZoom = 5, maxZoom = 400;
};
bool NavButtonEnabled(TPvNavigateBtn b, const TPvNavState& s);

struct TPvNavLayout {
  struct Button {
    TPvNavigateBtn button;
    IntRect rect;  // inside the navigator's client area
  };
  std::vector<Button> buttons;
  int width = 0, height = 0;  // the navigator's size
};
// The visible buttons side by side from (8, 8), a group spacing wherever two
// neighbours belong to different groups (with groupButtons). The navigator
// is 18 wider and 16 taller than its buttons: its frame (twice the border
// width of 6, and 4 for the single border) and 2 spare pixels on the right.
TPvNavLayout LayoutNavigator(TPvNavButtonSet visible, int buttonWidth, int buttonHeight, bool groupButtons,
                             int groupSpacing);

}  // namespace vektrano::preview
