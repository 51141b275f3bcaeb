// CGUIScrollBar: a stand-alone scroll bar whose whole window is one bar of
// the toolkit's scroll-bar engine. It answers the SBM_* messages and passes
// the engine's scroll messages on to its parent.
//
// Differs from the control it replaces: only vertical bars (SBS_VERT) get a
// bar; others ignore the SBM_* messages. SBM_GETRANGE also fills the two
// pointers when they are given. Client mouse messages are converted to the
// engine's window coordinates like the non-client ones.
#include <windows.h>

#include <algorithm>

#include "gui/gui_scrollbars.h"
#include "gui/win32/gui_scrollbars_win32.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUIScrollBar";
constexpr int kSlotState = 0, kSlotVertical = 1;

GuiScrollBars* StateOf(HWND w) {
  return reinterpret_cast<GuiScrollBars*>(GuiGetWindowSlot(w, 0, kSlotState));
}

GuiScrollInfo Info(GuiScrollBars* s) {
  GuiScrollInfo in{};
  in.cbSize = sizeof in;
  GuiScrollBarsGetInfo(s, 1, &in);
  return in;
}

int32_t PageLess(const GuiScrollInfo& in) {
  return static_cast<int32_t>(std::max<int64_t>(static_cast<int64_t>(in.nPage) - 1, 0));
}

LRESULT OnNcCreate(HWND w, WPARAM wp, LPARAM lp) {
  auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
  if (cs->style & SBS_VERT) {
    LONG style = GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL);
    SetWindowLongA(w, GWL_STYLE, style);
    GuiScrollBars* s = GuiScrollBarsCreate(w, kScrollHasVertical);
    if (s) {
      GuiSetWindowSlot(w, 0, kSlotVertical, 1);
      GuiScrollBarsEnable(s, 1, 1);
      GuiSetWindowSlot(w, 0, kSlotState, reinterpret_cast<LONG_PTR>(s));
    }
  }
  return DefWindowProcA(w, WM_NCCREATE, wp, lp);
}

void OnCreate(GuiScrollBars* s) {
  GuiScrollInfo in{sizeof in, kSifRange | kSifPage | kSifPos | kSifDisableNoScroll, 0, 100, 100, 0,
                   0};
  GuiScrollBarsSetInfo(s, 1, &in);
}

// The bar is laid out for the proposed window rectangle: while a resize is
// being calculated the window still has its old one.
void OnNcCalcSize(HWND w, GuiScrollBars* s, LPARAM lp) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, 1);
  if (!r || !s->host) return;
  RECT wr;
  if (lp)
    wr = *reinterpret_cast<const RECT*>(lp);
  else
    GetWindowRect(w, &wr);
  GuiScrollPieces p = s->host->Pieces(w, 1);
  r->bar = {0, 0, p.thickness, wr.bottom - wr.top};
  GuiScrollLayout(r, true, p, kLayoutAll);
}

void OnPaint(HWND w, GuiScrollBars* s) {
  PAINTSTRUCT ps;
  BeginPaint(w, &ps);
  EndPaint(w, &ps);
  GuiScrollBarsNcPaint(s);
}

// The screen form of a mouse message's point.
LPARAM ScreenPoint(HWND w, UINT msg, LPARAM lp) {
  if (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK) return lp;
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ClientToScreen(w, &p);
  return MAKELPARAM(p.x, p.y);
}

LRESULT OnSetPos(GuiScrollBars* s, WPARAM wp) {
  int32_t before = Info(s).nPos;
  GuiScrollInfo in{sizeof in, kSifPos, 0, 0, 0, static_cast<int32_t>(wp), 0};
  GuiScrollBarsSetInfo(s, 1, &in);
  return Info(s).nPos != before ? before : 0;
}

LRESULT OnSetRange(GuiScrollBars* s, WPARAM wp, LPARAM lp) {
  GuiScrollInfo now = Info(s);
  GuiScrollInfo in{
      sizeof in, kSifRange, static_cast<int32_t>(wp), static_cast<int32_t>(lp) + PageLess(now), 0,
      0,         0};
  GuiScrollBarsSetInfo(s, 1, &in);
  return Info(s).nPos != now.nPos ? now.nPos : 0;
}

LRESULT OnGetRange(GuiScrollBars* s, WPARAM wp, LPARAM lp) {
  GuiScrollInfo in = Info(s);
  int32_t top = in.nMax - PageLess(in);
  if (wp) *reinterpret_cast<INT*>(wp) = in.nMin;
  if (lp) *reinterpret_cast<INT*>(lp) = top;
  return MAKELONG(in.nMin, top);
}

LRESULT OnSetScrollInfo(GuiScrollBars* s, LPARAM lp) {
  if (lp) GuiScrollBarsSetInfo(s, 1, reinterpret_cast<const SCROLLINFO*>(lp));
  return Info(s).nPos;
}

LRESULT CALLBACK ScrollBarProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) return OnNcCreate(w, wp, lp);
  GuiScrollBars* s = StateOf(w);
  if (!s) return DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_CREATE:
      OnCreate(s);
      break;
    case WM_DESTROY:
      GuiScrollBarsDestroy(s);
      GuiSetWindowSlot(w, 0, kSlotState, 0);
      break;
    case WM_PAINT:
      OnPaint(w, s);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCCALCSIZE:
      OnNcCalcSize(w, s, lp);
      break;
    case WM_NCPAINT:
      return 0;
    case WM_NCMOUSEMOVE:
    case WM_MOUSEMOVE:
      if (s->pressedPart < 0) return 0;
      GuiScrollBarsMouseMove(s, wp, ScreenPoint(w, msg, lp));
      break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      GuiScrollBarsNcButtonDown(s, HTVSCROLL, ScreenPoint(w, msg, lp));
      return 0;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP:
      GuiScrollBarsButtonUp(s);
      return 0;
    case WM_MOUSEWHEEL:
      return GuiScrollBarsMouseWheel(s, 1, static_cast<short>(HIWORD(wp)));
    case WM_TIMER:
      if (wp == kScrollTimerId) GuiScrollBarsTimer(s);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case kMsgThumbDragH:
    case kMsgThumbDragV:
    case kMsgPosCorrectedH:
    case kMsgPosCorrectedV:
      SendMessageA(GetParent(w), msg, wp, lp);
      break;
    case kMsgScrollRepaint:
      GuiScrollBarsNcPaint(s);
      return 1;
    case SBM_SETPOS:
      return OnSetPos(s, wp);
    case SBM_GETPOS:
      return Info(s).nPos;
    case SBM_SETRANGE:
      return OnSetRange(s, wp, lp);
    case SBM_GETRANGE:
      return OnGetRange(s, wp, lp);
    case SBM_SETSCROLLINFO:
      return OnSetScrollInfo(s, lp);
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int RegisterCGUIScrollBar(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ScrollBarProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

int UnregisterCGUIScrollBar() {
  UnregisterClassA(kClass, GuiGetInstance());
  return 1;
}

}  // namespace gui
