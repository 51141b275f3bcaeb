// The mouse capture hook and the small window routines every widget uses.
#include <cstring>

#include "gui/win32/gui_win32.h"

namespace gui {

namespace {
HHOOK g_hook = nullptr;
HWND g_capture = nullptr;
HWND g_listener = nullptr;

constexpr UINT kMsgHookNotice = WM_APP + 0x401;

void Unhook() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
}

LRESULT CALLBACK GuiCaptureMouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code < 0) return CallNextHookEx(g_hook, code, wParam, lParam);
  auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
  UINT msg = static_cast<UINT>(wParam);
  if (msg < WM_MOUSEFIRST && info->hwnd == g_capture)
    return CallNextHookEx(g_hook, code, wParam, lParam);
  if (!g_capture) {
    if (g_listener)
      PostMessageA(g_listener, kMsgHookNotice, MAKEWPARAM(info->wHitTestCode, msg),
                   reinterpret_cast<LPARAM>(info->hwnd));
    return CallNextHookEx(g_hook, code, wParam, lParam);
  }
  RECT r;
  GetWindowRect(g_capture, &r);
  LRESULT hit = 0;
  if (PtInRect(&r, info->pt))
    hit = SendMessageA(g_capture, WM_NCHITTEST, 0, MAKELPARAM(info->pt.x, info->pt.y));
  if (IsWindow(g_capture)) {
    UINT nc = (msg >= WM_MOUSEFIRST && msg <= 0x209) ? msg - 0x160 : msg;
    PostMessageA(g_capture, nc, static_cast<WPARAM>(hit), MAKELPARAM(info->pt.x, info->pt.y));
  }
  if (g_listener)
    PostMessageA(g_listener, kMsgHookNotice, MAKEWPARAM(hit, msg),
                 reinterpret_cast<LPARAM>(info->hwnd));
  return 1;  // swallowed
}

void HookThreadOf(HWND window) {
  if (g_hook || !window) return;
  g_hook = SetWindowsHookExA(WH_MOUSE, GuiCaptureMouseHookProc, nullptr,
                             GetWindowThreadProcessId(window, nullptr));
}
}  // namespace

int GuiBeginPopupCapture(HWND window) {
  if (!window) return 0;
  if (g_capture != window) {
    Unhook();
    g_capture = window;
  }
  SetCapture(window);
  HookThreadOf(window);
  return g_hook ? 1 : 0;
}

void GuiEndPopupCapture() {
  g_capture = nullptr;
  if (!g_listener) {
    ReleaseCapture();
    Unhook();
  }
}

LRESULT GuiCancelPopupCapture() {
  g_listener = nullptr;
  if (!g_capture) {
    Unhook();
    return 1;
  }
  return reinterpret_cast<LRESULT>(g_capture);
}

void GuiSetMouseListener(HWND window) {
  if (window != g_listener) Unhook();
  g_listener = window;
  HookThreadOf(window ? window : g_capture);
}

HWND GuiGetMouseListener() { return g_listener; }
HWND GuiGetCaptureWindow() { return g_capture; }

LONG_PTR GuiGetWindowSlot(HWND window, int base, int index) {
  return GetWindowLongPtrA(window, base + index * static_cast<int>(sizeof(LONG_PTR)));
}

LONG_PTR GuiSetWindowSlot(HWND window, int base, int index, LONG_PTR value) {
  return SetWindowLongPtrA(window, base + index * static_cast<int>(sizeof(LONG_PTR)), value);
}

LRESULT GuiCallWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (!proc) return 0;
  return CallWindowProcA(proc, window, message, wParam, lParam);
}

int GuiGetChildRect(HWND window, RECT* rect) {
  if (!window || !rect) return 0;
  GetWindowRect(window, rect);
  HWND parent = GetParent(window);
  if (parent) GuiScreenToClientRect(parent, rect);
  return 1;
}

void GuiScreenToClientRect(HWND window, RECT* rect) {
  ScreenToClient(window, reinterpret_cast<POINT*>(&rect->left));
  ScreenToClient(window, reinterpret_cast<POINT*>(&rect->right));
}

void GuiNcToClientMouse(HWND window, UINT* message, WPARAM* keys, POINT* point) {
  if (*message >= WM_NCMOUSEMOVE && *message <= WM_NCMBUTTONDBLCLK) *message += 0x160;
  WPARAM k = 0;
  if (GetKeyState(VK_CONTROL) < 0) k |= MK_CONTROL;
  if (GetKeyState(VK_LBUTTON) < 0) k |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) k |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) k |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) k |= MK_SHIFT;
  *keys = k;
  ScreenToClient(window, point);
}

int GuiDialogKeyHelper(HWND control, UINT key) {
  if (key == VK_TAB) {
    SendMessageA(GetParent(control), WM_NEXTDLGCTL, GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
    return 1;
  }
  if (key >= VK_LEFT && key <= VK_DOWN) SendMessageA(control, WM_GETDLGCODE, 0, 0);
  return 0;
}

int GuiFillRectColor(HDC dc, const RECT* rect, COLORREF colour) {
  if (!dc || !rect) return 1;
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
  Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
  return 0;
}

int GuiFillRectBrush(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!dc || !rect || !brush) return 1;
  LOGBRUSH lb;
  if (GetObjectA(brush, sizeof lb, &lb) && lb.lbStyle == BS_SOLID) {
    HPEN pen = CreatePen(PS_SOLID, 1, lb.lbColor);
    HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
    Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    return 0;
  }
  return FillRect(dc, rect, brush) ? 0 : 1;
}

int GuiFillRectPaletteIndex(HDC dc, const RECT* rect, int index) {
  return GuiFillRectColor(dc, rect, PALETTEINDEX(index));
}

HPALETTE GuiSelectRealizePalette(HDC dc, int, HPALETTE palette) {
  if (!dc || !palette) return nullptr;
  HPALETTE old = SelectPalette(dc, palette, FALSE);
  RealizePalette(dc);
  return old;
}

void SetDIBSectionColorsFromPalette(HDC dc, HPALETTE palette) {
  PALETTEENTRY entries[256];
  RGBQUAD quads[256];
  UINT n = GetPaletteEntries(palette, 0, 256, entries);
  for (UINT i = 0; i < n; ++i)
    quads[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
  SetDIBColorTable(dc, 0, n, quads);
}

HPALETTE CopyPalette(HPALETTE palette) {
  struct {
    WORD version, count;
    PALETTEENTRY entries[256];
  } lp{0x300, 256, {}};
  if (!palette || !GetPaletteEntries(palette, 0, 256, lp.entries)) return nullptr;
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
}

namespace {
BOOL CALLBACK RedrawIfInstance(HWND window, LPARAM instance) {
  if (GetWindowLongPtrA(window, GWLP_HINSTANCE) == instance)
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}
}  // namespace

void GuiRedrawInstanceWindowsOf(HINSTANCE instance) {
  EnumWindows(RedrawIfInstance, reinterpret_cast<LPARAM>(instance));
}

void GuiRedrawInstanceWindows(HWND window) {
  GuiRedrawInstanceWindowsOf(
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)));
}

}  // namespace gui
