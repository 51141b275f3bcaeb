#pragma once
// The skinned tab strip's layout: tab rectangles side by side from the left,
// the tab under a point, the selection rules and the page rectangle.
// Rectangles are exclusive.
#include <cstdint>

namespace gui {

struct TabRect {
  int32_t left, top, right, bottom;
};

// A tab after the one ending at `left`: an icon tab is the icon plus 12 each
// way, a text tab the text plus 20 across and 13 down.
TabRect TabRectAfter(int32_t left, int32_t contentWidth, int32_t contentHeight, bool icon);
// The index of the tab containing the point, or -1.
int TabAtPoint(const TabRect* rects, int count, int32_t x, int32_t y);
// A click on tab `hit` changes the selection only for another, enabled tab.
bool TabClickSelects(int hit, int current, bool hitDisabled);
// TCM_ADJUSTRECT: larger (display to window) moves the top up by the tab
// height and the other sides out by the margin; else the reverse.
void TabAdjustRect(TabRect* r, bool larger, int32_t tabHeight, int32_t margin);
// Where a caption image goes on a tab image: centred, moved by the state's
// offsets, never above or left of the tab.
void TabCaptionOrigin(int32_t imageW, int32_t imageH, int32_t textW, int32_t textH, int32_t offsetX,
                      int32_t offsetY, int32_t* x, int32_t* y);

}  // namespace gui
