#include "gui/tab_model.h"

namespace gui {

TabRect TabRectAfter(int32_t left, int32_t w, int32_t h, bool icon) {
  int32_t dx = icon ? 12 : 20, dy = icon ? 12 : 13;
  return TabRect{left, 0, left + w + dx, h + dy};
}

int TabAtPoint(const TabRect* rects, int count, int32_t x, int32_t y) {
  for (int i = 0; rects && i < count; ++i)
    if (x >= rects[i].left && x < rects[i].right && y >= rects[i].top && y < rects[i].bottom)
      return i;
  return -1;
}

bool TabClickSelects(int hit, int current, bool hitDisabled) {
  return hit >= 0 && hit != current && !hitDisabled;
}

void TabAdjustRect(TabRect* r, bool larger, int32_t tabHeight, int32_t margin) {
  if (!r) return;
  int32_t s = larger ? 1 : -1;
  r->top -= s * tabHeight;
  r->left -= s * margin;
  r->right += s * margin;
  r->bottom += s * margin;
}

void TabCaptionOrigin(int32_t imageW, int32_t imageH, int32_t textW, int32_t textH, int32_t offsetX,
                      int32_t offsetY, int32_t* x, int32_t* y) {
  int32_t cx = offsetX + imageW / 2 - textW / 2;
  int32_t cy = offsetY + imageH / 2 - textH / 2;
  *x = cx > 0 ? cx : 0;
  *y = cy > 0 ? cy : 0;
}

}  // namespace gui
