// Snapping while a frame is moved: edges within 10 pixels of another frame's
// edge, or of the main window's client edges, jump to touch.
#include <cstdlib>
#include <vector>

#include "gui/win32/gui_frame_internal.h"

namespace gui {

namespace {

constexpr size_t kSnapMax = 256;
constexpr int kSnapDistance = 10;
std::vector<RECT> g_snapRects;

int AddSnapRect(HWND other, LPARAM self) {
  if (other == reinterpret_cast<HWND>(self) || !IsWindowVisible(other)) return 1;
  HWND notify = NotifyWindow();
  if (other != notify && GetParent(other) != notify && GetWindow(other, GW_OWNER) != notify)
    return 1;
  RECT r;
  GetWindowRect(other, &r);
  if (g_snapRects.size() < kSnapMax) g_snapRects.push_back(r);
  return 1;
}

}  // namespace

void BeginSnap(HWND window) {
  g_snapRects.clear();
  GuiEnumFrameWindows(AddSnapRect, reinterpret_cast<LPARAM>(window));
  HWND notify = NotifyWindow();
  if (notify && notify != window) {
    RECT c;
    GetClientRect(notify, &c);
    MapWindowPoints(notify, nullptr, reinterpret_cast<POINT*>(&c), 2);
    const RECT strips[4] = {{c.left - 5000, c.top, c.left, c.bottom},
                            {c.right, c.top, c.right + 5000, c.bottom},
                            {c.left, c.top - 5000, c.right, c.top},
                            {c.left, c.bottom, c.right, c.bottom + 5000}};
    for (const RECT& r : strips)
      if (g_snapRects.size() < kSnapMax) g_snapRects.push_back(r);
  }
}

void Snap(WINDOWPOS* pos) {
  if (pos->flags & SWP_NOMOVE) return;
  int bestX = kSnapDistance, bestY = kSnapDistance, dx = 0, dy = 0;
  const int l = pos->x, t = pos->y, r = pos->x + pos->cx, b = pos->y + pos->cy;
  for (const RECT& s : g_snapRects) {
    if (t < s.bottom && b > s.top) {  // overlapping vertically: snap horizontally
      int d1 = s.right - l, d2 = s.left - r;
      if (std::abs(d1) < bestX) {
        bestX = std::abs(d1);
        dx = d1;
      }
      if (std::abs(d2) < bestX) {
        bestX = std::abs(d2);
        dx = d2;
      }
    }
    if (l < s.right && r > s.left) {
      int d1 = s.bottom - t, d2 = s.top - b;
      if (std::abs(d1) < bestY) {
        bestY = std::abs(d1);
        dy = d1;
      }
      if (std::abs(d2) < bestY) {
        bestY = std::abs(d2);
        dy = d2;
      }
    }
  }
  pos->x += dx;
  pos->y += dy;
  RECT desk;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &desk, 0);
  if (pos->x < desk.left) pos->x = desk.left;
  if (pos->y < desk.top) pos->y = desk.top;
  if (pos->x + pos->cx > desk.right) pos->x = desk.right - pos->cx;
  if (pos->y + pos->cy > desk.bottom) pos->y = desk.bottom - pos->cy;
}

void EndSnap() { g_snapRects.clear(); }

bool Snapping() { return !g_snapRects.empty(); }

}  // namespace gui
