// CGUIEdit and CGUIRichEdit: the system edit and rich edit with the skin's
// colours, background brush and border. Differences from the controls they
// follow: Enter and Escape releases also reach the parent as WM_KEYUP; the
// border is the skin's; a vertical scroll-bar style becomes auto-scrolling
// with a client edge (the system bar is not shown).
#include <windows.h>

#include "gui/gui_core.h"
#include "gui/widget_skin_reader.h"
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

HBRUSH g_brush = nullptr;
COLORREF g_brushColour = 0;

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

LRESULT OnNcCreate(HWND w, EditClass* c, CREATESTRUCTA* cs) {
  SetClassLongPtrA(w, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(Brush()));
  if (cs->style & WS_VSCROLL) {
    cs->style = (cs->style & ~WS_VSCROLL) | ES_AUTOVSCROLL;
    cs->dwExStyle |= WS_EX_CLIENTEDGE;
    SetWindowLongA(w, GWL_STYLE, cs->style);
    SetWindowLongA(w, GWL_EXSTYLE, cs->dwExStyle);
  }
  return CallWindowProcA(c->baseProc, w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

LRESULT OnNcCalcSize(HWND w, WPARAM wp, LPARAM lp) {
  SetClassLongPtrA(w, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(Brush()));
  int b = BorderWidth();
  if (b) InflateRect(reinterpret_cast<RECT*>(lp), -b, -b);
  return wp ? (WVR_REDRAW | WVR_VALIDRECTS) : 0;
}

LRESULT OnNcPaint(HWND w) {
  if (!BorderWidth()) return 0;
  HDC dc = GetWindowDC(w);
  RECT r;
  GetWindowRect(w, &r);
  OffsetRect(&r, -r.left, -r.top);
  GuiDrawSkinBorder(w, dc, &r);
  ReleaseDC(w, dc);
  return 0;
}

LRESULT OnNcHitTest(HWND w, LPARAM lp) {
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

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  EditClass* c = ClassOf(w);
  switch (msg) {
    case WM_NCCREATE:
      return OnNcCreate(w, c, reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_CREATE:
      if (c->rich) {
        LRESULT r = CallWindowProcA(c->baseProc, w, msg, wp, lp);
        CallWindowProcA(c->baseProc, w, kRichSetBackground, 0, Background());
        return r;
      }
      break;
    case WM_DESTROY: {
      HDC dc = GetDC(w);
      SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
      SelectObject(dc, GetStockObject(BLACK_BRUSH));
      ReleaseDC(w, dc);
      break;
    }
    case WM_KEYUP:
      if (wp == VK_RETURN || wp == VK_ESCAPE) SendMessageA(GetParent(w), WM_KEYUP, wp, lp);
      break;
    case WM_ERASEBKGND:
      return OnEraseBackground(w, reinterpret_cast<HDC>(wp));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(reinterpret_cast<HDC>(wp));
    case WM_NCCALCSIZE:
      return OnNcCalcSize(w, wp, lp);
    case WM_NCPAINT:
      return OnNcPaint(w);
    case WM_NCHITTEST:
      return OnNcHitTest(w, lp);
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
