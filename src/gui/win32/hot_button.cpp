// CGUIHotButton: a CGUIBMPButton that lights up (its hover image) while the
// pointer is over it and holds the mouse capture while lit, so it sees the
// pointer leave. At most one hot button of the process is lit.
#include <windows.h>

#include "gui/bmp_button_model.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUIHotButton";
WNDPROC g_baseProc = nullptr;

struct HotButtonShared {
  HWND lit;
  uint32_t savedDisplay;
  uint16_t savedState;
};
HotButtonShared g_hot{};

LRESULT Base(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(g_baseProc, w, m, wp, lp);
}

void Redraw(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE); }

void PutOut() {
  HWND w = g_hot.lit;
  if (!w) return;
  // Cleared first: ending the capture tells the button, which comes back here.
  g_hot.lit = nullptr;
  GuiEndPopupCapture();
  BmpButtonSetDisplay(w, g_hot.savedDisplay & ~kBtnHover);
  g_hot.savedDisplay = 0;
  g_hot.savedState = 0;
  Redraw(w);
}

HWND Light(HWND w) {
  HWND previous = g_hot.lit;
  GuiBeginPopupCapture(w);
  g_hot.lit = w;
  g_hot.savedDisplay = BmpButtonGetDisplay(w);
  g_hot.savedState = static_cast<uint16_t>(g_hot.savedDisplay & 0xFFFF);
  BmpButtonSetDisplay(w, g_hot.savedDisplay | kBtnHover);
  Redraw(w);
  return previous;
}

LRESULT OnNcCreate(HWND w, WPARAM wp, LPARAM lp) {
  LRESULT r = Base(w, WM_NCCREATE, wp, lp);
  LONG ex = GetWindowLongA(w, GWL_EXSTYLE);
  if (!(ex & kExHotTrack)) SetWindowLongA(w, GWL_EXSTYLE, ex | kExHotTrack);
  GuiParseCaptionPlacement(w);
  return r;
}

LRESULT OnNcHitTest(HWND w, LPARAM lp) {
  LRESULT r = Base(w, WM_NCHITTEST, 0, lp);
  if ((g_hot.lit && g_hot.lit != w) || (g_hot.lit == w && r == HTNOWHERE)) PutOut();
  if (r != HTNOWHERE && g_hot.lit != w) Light(w);
  return r;
}

LRESULT OnNcMouse(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  GuiNcToClientMouse(w, &msg, &wp, &p);
  return Base(w, msg, wp, MAKELPARAM(p.x, p.y));
}

// The state word changes; the display flags follow it without the hover bit.
LRESULT OnStateChange(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  uint32_t before = BmpButtonGetDisplay(w);
  Base(w, msg, wp, lp);
  KillTimer(w, 42);  // no auto-repeat
  BmpButtonSetDisplay(w, BmpButtonGetDisplay(w) & ~kBtnHover);
  if (BmpButtonGetDisplay(w) != before) InvalidateRect(w, nullptr, FALSE);
  return 0;
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCREATE:
      return OnNcCreate(w, wp, lp);
    case WM_NCHITTEST:
      return OnNcHitTest(w, lp);
    case WM_DESTROY:
      if (g_hot.lit == w) PutOut();
      return Base(w, msg, wp, lp);
    case WM_KILLFOCUS:
      return 0;
    case WM_ENABLE:
      ShowWindow(w, wp ? SW_SHOW : SW_HIDE);
      InvalidateRect(w, nullptr, TRUE);
      return 0;
    case WM_SHOWWINDOW:
      if (g_hot.lit != w && !wp) PutOut();
      return 0;
    case WM_WINDOWPOSCHANGING:
      if (!(reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_NOZORDER) && g_hot.lit == w) PutOut();
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
      return OnNcMouse(w, msg, wp, lp);
    case BM_SETCHECK:
    case BM_SETSTATE:
      return OnStateChange(w, msg, wp, lp);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != w) PutOut();
      return 0;
    default:
      return Base(w, msg, wp, lp);
  }
}

}  // namespace

int RegisterCGUIHotButton(HINSTANCE instance) {
  WNDCLASSA base{};
  if (!GetClassInfoA(instance, "CGUIBMPButton", &base)) return 0;
  g_baseProc = base.lpfnWndProc;
  base.lpfnWndProc = Proc;
  base.hCursor = nullptr;
  base.hInstance = instance;
  base.lpszClassName = kClass;
  if (!RegisterClassA(&base)) return 0;
  g_hot = HotButtonShared{};
  return 1;
}

}  // namespace gui
