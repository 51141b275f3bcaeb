// CGUIEdit and CGUIRichEdit: the system edit and rich edit with the skin's
// colours, background brush and border. Differences from the controls they
// follow: Enter and Escape releases also reach the parent as WM_KEYUP; the
// border is the skin's; a vertical scroll-bar style becomes auto-scrolling
// with a client edge, and the bar is the toolkit's skinned non-client bar,
// whose position is the edit's first visible line.
#include <windows.h>

#include "gui/gui_core.h"
#include "gui/gui_scrollbars.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_scrollbars_win32.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

// One record per class: the base procedure and its window bytes.
struct EditClass {
  const char* name;
  const char* base;
  WNDPROC baseProc;
  int baseExtra;
  bool rich;
};
EditClass g_edit{"CGUIEdit", "edit", nullptr, 0, false};
EditClass g_rich{"CGUIRichEdit", "RichEdit20A", nullptr, 0, true};

// The rich edit's background-colour message (its own header is not included).
constexpr UINT kRichSetBackground = WM_USER + 67;
constexpr UINT kRichSetScrollPos = WM_USER + 222;

HBRUSH g_brush = nullptr;
COLORREF g_brushColour = 0;

constexpr int kSlotBars = 2;
constexpr int kVertical = 1;

GuiScrollBars* BarsOf(HWND w, const EditClass* c) {
  return reinterpret_cast<GuiScrollBars*>(GuiGetWindowSlot(w, c->baseExtra, kSlotBars));
}

EditClass* ClassOf(HWND w) {
  char name[32] = {};
  GetClassNameA(w, name, sizeof name);
  return lstrcmpiA(name, g_rich.name) == 0 ? &g_rich : &g_edit;
}

COLORREF Background() {
  GuiSkin* skin = GuiGetSkin();
  return skin ? skin->editColors[kEdBackground] : GetSysColor(COLOR_WINDOW);
}
COLORREF TextColour() {
  GuiSkin* skin = GuiGetSkin();
  return skin ? skin->editColors[kEdText] : GetSysColor(COLOR_WINDOWTEXT);
}

// The skin's background brush, remade when the skin's colour changes.
HBRUSH Brush() {
  COLORREF c = Background();
  if (!g_brush || c != g_brushColour) {
    if (g_brush) DeleteObject(g_brush);
    g_brush = CreateSolidBrush(c);
    g_brushColour = c;
  }
  return g_brush;
}

int BorderWidth() {
  GuiSkin* skin = GuiGetSkin();
  return skin && skin->borderWidth > 0 ? skin->borderWidth : 0;
}

// The rich edit's bar counts pixels: the range is the lines' height, the
// page the formatting rectangle's height and a line step one line's height.
// Its position is the rich edit's own (it scrolls itself).
void FollowRichText(HWND w, EditClass* c, GuiScrollBars* bars) {
  auto send = [&](UINT m, WPARAM wp, LPARAM lp) {
    return CallWindowProcA(c->baseProc, w, m, wp, lp);
  };
  RECT r{};
  send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  int lines = static_cast<int>(send(EM_GETLINECOUNT, 0, 0));
  int lineHeight = 0;
  if (lines >= 1) {
    // The rich edit's own form of the request: the point comes back in a
    // POINTL.
    POINTL first{}, second{};
    send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), send(EM_LINEINDEX, 0, 0));
    LRESULT next = send(EM_LINEINDEX, 1, 0);
    if (next >= 0) {
      send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&second), next);
      lineHeight = static_cast<int>(second.y - first.y);
    }
    if (lineHeight <= 0) {
      // One line only: the font's height stands in for the step.
      HDC dc = GetDC(w);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(send(WM_GETFONT, 0, 0)));
      TEXTMETRICA tm{};
      GetTextMetricsA(dc, &tm);
      SelectObject(dc, old);
      ReleaseDC(w, dc);
      lineHeight = tm.tmHeight > 0 ? static_cast<int>(tm.tmHeight) : 0;
    }
  }
  int page = r.bottom - r.top;
  SCROLLINFO info{sizeof info,
                  SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL,
                  0,
                  lines * lineHeight,
                  static_cast<UINT>(page > 0 ? page : 0),
                  0,
                  0};
  GuiScrollBarsSetInfo(bars, kVertical, &info);
  if (lineHeight > 0) GuiScrollBarsSetLineStep(bars, kVertical, lineHeight);
}

// The bar follows the text: lines are its units, the visible lines its page
// and the first visible line its position.
void FollowText(HWND w, EditClass* c) {
  GuiScrollBars* bars = BarsOf(w, c);
  if (!bars) return;
  if (c->rich) {
    FollowRichText(w, c, bars);
    return;
  }
  auto send = [&](UINT m, WPARAM wp, LPARAM lp) {
    return CallWindowProcA(c->baseProc, w, m, wp, lp);
  };
  RECT r{};
  send(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  int lines = static_cast<int>(send(EM_GETLINECOUNT, 0, 0));
  int visible = 1;
  if (lines >= 2) {
    LRESULT first = send(EM_POSFROMCHAR, send(EM_LINEINDEX, 0, 0), 0);
    LRESULT second = send(EM_POSFROMCHAR, send(EM_LINEINDEX, 1, 0), 0);
    int height = static_cast<short>(HIWORD(second)) - static_cast<short>(HIWORD(first));
    if (height > 0) visible = (r.bottom - r.top) / height;
  }
  if (visible < 1) visible = 1;
  SCROLLINFO info{sizeof info,
                  SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                  0,
                  lines > 1 ? lines - 1 : 0,
                  static_cast<UINT>(visible),
                  static_cast<int>(send(EM_GETFIRSTVISIBLELINE, 0, 0)),
                  0};
  GuiScrollBarsSetInfo(bars, kVertical, &info);
}

// The engine's drag and clamp messages carry a line number: the text is
// scrolled to it by lines (the system edit without its own bar would read a
// thumb position as a percentage).
LRESULT OnScroll(HWND w, EditClass* c, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = 0;
  int target = -1;
  if (msg != WM_VSCROLL)
    target = static_cast<int>(wp);
  else if (LOWORD(wp) == SB_THUMBTRACK || LOWORD(wp) == SB_THUMBPOSITION)
    target = static_cast<short>(HIWORD(wp));
  if (c->rich) {
    // The rich edit's bar is in pixels: a dragged or clamped thumb scrolls
    // the text to that pixel row (its thumb-track message would read the
    // position from a system bar it does not have).
    if (target < 0) return CallWindowProcA(c->baseProc, w, WM_VSCROLL, wp, lp);
    POINT at{0, target};
    CallWindowProcA(c->baseProc, w, kRichSetScrollPos, 0, reinterpret_cast<LPARAM>(&at));
    return 0;
  }
  if (target >= 0) {
    int first = static_cast<int>(CallWindowProcA(c->baseProc, w, EM_GETFIRSTVISIBLELINE, 0, 0));
    CallWindowProcA(c->baseProc, w, EM_LINESCROLL, 0, target - first);
  } else {
    r = CallWindowProcA(c->baseProc, w, WM_VSCROLL, wp, lp);
  }
  if (!lp) FollowText(w, c);
  return r;
}

LRESULT OnNcCreate(HWND w, EditClass* c, CREATESTRUCTA* cs) {
  SetClassLongPtrA(w, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(Brush()));
  if (cs->style & WS_VSCROLL) {
    cs->style = (cs->style & ~WS_VSCROLL) | ES_AUTOVSCROLL;
    cs->dwExStyle |= WS_EX_CLIENTEDGE;
    SetWindowLongA(w, GWL_STYLE, cs->style);
    SetWindowLongA(w, GWL_EXSTYLE, cs->dwExStyle);
  }
  if (cs->dwExStyle & WS_EX_CLIENTEDGE) {
    GuiScrollBars* bars = GuiScrollBarsCreate(w, kScrollHasVertical);
    GuiSetWindowSlot(w, c->baseExtra, kSlotBars, reinterpret_cast<LONG_PTR>(bars));
    if (bars) GuiScrollBarsEnable(bars, kVertical, 1);
  }
  return CallWindowProcA(c->baseProc, w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

LRESULT OnNcCalcSize(HWND w, EditClass* c, WPARAM wp, LPARAM lp) {
  SetClassLongPtrA(w, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(Brush()));
  auto* rect = reinterpret_cast<RECT*>(lp);
  POINT origin{rect->left, rect->top};  // the window's corner in its parent
  int b = BorderWidth();
  if (b) InflateRect(rect, -b, -b);
  if (GuiScrollBars* bars = BarsOf(w, c)) {
    // The engine lays the bar out in window coordinates.
    OffsetRect(rect, -origin.x, -origin.y);
    GuiScrollBarsNcCalcSize(bars, wp, rect);
    OffsetRect(rect, origin.x, origin.y);
  }
  return wp ? (WVR_REDRAW | WVR_VALIDRECTS) : 0;
}

LRESULT OnNcPaint(HWND w, EditClass* c) {
  if (BorderWidth()) {
    HDC dc = GetWindowDC(w);
    RECT r;
    GetWindowRect(w, &r);
    OffsetRect(&r, -r.left, -r.top);
    GuiDrawSkinBorder(w, dc, &r);
    ReleaseDC(w, dc);
  }
  if (GuiScrollBars* bars = BarsOf(w, c)) GuiScrollBarsNcPaint(bars);
  return 0;
}

LRESULT OnNcHitTest(HWND w, EditClass* c, LPARAM lp) {
  if (GuiScrollBars* bars = BarsOf(w, c)) {
    int hit = GuiScrollBarsHitTest(bars, lp);
    if (hit == HTVSCROLL) return hit;
  }
  POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  RECT client;
  GetClientRect(w, &client);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (PtInRect(&client, pt)) return HTCLIENT;
  RECT whole;
  GetWindowRect(w, &whole);
  if (!PtInRect(&whole, pt)) return IsWindowVisible(w) ? HTBORDER : HTNOWHERE;
  return HTBORDER;
}

LRESULT OnEraseBackground(HWND w, HDC dc) {
  GuiRealizeSkinPalette(dc);
  RECT rc;
  GetClientRect(w, &rc);
  FillRect(dc, &rc, Brush());
  return 0;
}

LRESULT OnCtlColor(HDC dc) {
  SetTextColor(dc, TextColour());
  SetBkColor(dc, Background());
  SetBkMode(dc, OPAQUE);
  return reinterpret_cast<LRESULT>(Brush());
}

// Messages after which the text may have moved under the bar.
bool Edits(UINT msg) {
  switch (msg) {
    case WM_SETTEXT:
    case WM_WINDOWPOSCHANGED:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case EM_LINESCROLL:
    case EM_REPLACESEL:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SETFONT:
    case 0x118:  // the caret blink of the system edit
      return true;
    default:
      return false;
  }
}

LRESULT OnBarMouse(HWND w, GuiScrollBars* bars, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCMOUSEMOVE:
      if (wp == HTBORDER || wp == HTNOWHERE || wp == HTVSCROLL)
        GuiScrollBarsMouseMove(bars, wp, lp);
      return 0;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTVSCROLL) GuiScrollBarsNcButtonDown(bars, static_cast<int>(wp), lp);
      return 0;
    default:  // WM_NCLBUTTONUP
      (void)w;
      return GuiScrollBarsButtonUp(bars);
  }
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  EditClass* c = ClassOf(w);
  GuiScrollBars* bars = BarsOf(w, c);
  if (bars && Edits(msg) && msg != WM_KEYUP) {
    LRESULT r = CallWindowProcA(c->baseProc, w, msg, wp, lp);
    FollowText(w, c);
    return r;
  }
  switch (msg) {
    case WM_NCCREATE:
      return OnNcCreate(w, c, reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_CREATE: {
      LRESULT r = CallWindowProcA(c->baseProc, w, msg, wp, lp);
      if (c->rich) CallWindowProcA(c->baseProc, w, kRichSetBackground, 0, Background());
      FollowText(w, c);
      return r;
    }
    case WM_DESTROY: {
      if (bars) {
        GuiSetWindowSlot(w, c->baseExtra, kSlotBars, 0);
        GuiScrollBarsDestroy(bars);
      }
      HDC dc = GetDC(w);
      SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
      SelectObject(dc, GetStockObject(BLACK_BRUSH));
      ReleaseDC(w, dc);
      break;
    }
    case WM_KEYUP: {
      if (wp == VK_RETURN || wp == VK_ESCAPE) SendMessageA(GetParent(w), WM_KEYUP, wp, lp);
      LRESULT r = CallWindowProcA(c->baseProc, w, msg, wp, lp);
      FollowText(w, c);
      return r;
    }
    case WM_PAINT: {
      LRESULT r = CallWindowProcA(c->baseProc, w, msg, wp, lp);
      if (bars) GuiScrollBarsNcPaint(bars);
      return r;
    }
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
      if (bars) return OnBarMouse(w, bars, msg, wp, lp);
      break;
    case WM_TIMER:
      if (bars && wp == kScrollTimerId) GuiScrollBarsTimer(bars);
      break;
    case WM_VSCROLL:
    case kMsgThumbDragV:
    case kMsgPosCorrectedV:
      return OnScroll(w, c, msg, wp, lp);
    case kMsgEditBarRedraw:
      if (bars) GuiScrollBarsSetRedraw(bars, wp);
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBackground(w, reinterpret_cast<HDC>(wp));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(reinterpret_cast<HDC>(wp));
    case WM_NCCALCSIZE:
      return OnNcCalcSize(w, c, wp, lp);
    case WM_NCPAINT:
      return OnNcPaint(w, c);
    case WM_NCHITTEST:
      return OnNcHitTest(w, c, lp);
    default:
      break;
  }
  return CallWindowProcA(c->baseProc, w, msg, wp, lp);
}

int Register(HINSTANCE instance, EditClass* c) {
  WNDCLASSA base{};
  if (!GetClassInfoA(nullptr, c->base, &base)) return 0;
  c->baseProc = base.lpfnWndProc;
  c->baseExtra = base.cbWndExtra;
  WNDCLASSA wc{};
  wc.style = base.style | CS_GLOBALCLASS;
  wc.lpfnWndProc = Proc;
  wc.cbWndExtra = base.cbWndExtra + 3 * static_cast<int>(sizeof(LONG_PTR));
  wc.hInstance = instance;
  wc.lpszClassName = c->name;
  return RegisterClassA(&wc) ? 1 : 0;
}

int Unregister(EditClass* c) {
  UnregisterClassA(c->name, GuiGetInstance());
  return 1;
}

}  // namespace

int RegisterCGUIEdit(HINSTANCE instance) { return Register(instance, &g_edit); }
int RegisterCGUIRichEdit(HINSTANCE instance) {
  LoadLibraryA("riched20.dll");
  return Register(instance, &g_rich);
}
int UnregisterCGUIEdit() {
  Unregister(&g_edit);
  if (g_brush) DeleteObject(g_brush);
  g_brush = nullptr;
  return 1;
}
int UnregisterCGUIRichEdit() { return Unregister(&g_rich); }

}  // namespace gui
