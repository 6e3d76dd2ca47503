#include "preview/navigator_layout.h"

namespace vektrano::preview {

const TPvNavButtonInfo& NavButtonInfo(TPvNavigateBtn b) {
  static const TPvNavButtonInfo kInfo[kNavButtonCount] = {
      {"FIRST", "First Page", 1},          {"PREV", "Previous Page", 1},
      {"NEXT", "Next Page", 1},            {"LAST", "Last Page", 1},
      {"ADDPAGE", "Add Page", 2},          {"DELETEPAGE", "Delete Current Page", 2},
      {"CLEAR", "Clear", 2},               {"ZOOMIN", "Zoom In", 3},
      {"ZOOMOUT", "Zoom Out", 3},          {"ACTUALSIZE", "Actual Size", 3},
      {"FITWIDTH", "Fit Width", 4},        {"FITHEIGHT", "Fit Height", 4},
      {"FITWHOLEPAGE", "Fit Whole Page", 4},
  };
  return kInfo[b < kNavButtonCount ? b : 0];
}

bool NavButtonEnabled(TPvNavigateBtn b, const TPvNavState& s) {
  if (!s.hasPreview) return false;
  switch (b) {
    case pvFirstPage:
    case pvPrevPage:
      return s.currentPage > 1;
    case pvNextPage:
    case pvLastPage:
      return s.currentPage < s.pageCount;
    case pvZoomIn:
      return s.zoom < s.maxZoom;
    case pvZoomOut:
      return s.zoom > s.minZoom;
    default:
      return true;
  }
}

TPvNavLayout LayoutNavigator(TPvNavButtonSet visible, int buttonWidth, int buttonHeight, bool groupButtons,
                             int groupSpacing) {
  TPvNavLayout l;
  int x = 8;
  int lastGroup = 0;
  for (int i = 0; i < kNavButtonCount; ++i) {
    const auto b = static_cast<TPvNavigateBtn>(i);
    if (!(visible & navBit(b))) continue;
    const int group = NavButtonInfo(b).group;
    if (groupButtons && lastGroup != 0 && group != lastGroup) x += groupSpacing;
    l.buttons.push_back({b, {x, 8, x + buttonWidth, 8 + buttonHeight}});
    x += buttonWidth;
    lastGroup = group;
  }
  l.width = x - 8 + 18;
  l.height = buttonHeight + 16;
  return l;
}

}  // namespace vektrano::preview
