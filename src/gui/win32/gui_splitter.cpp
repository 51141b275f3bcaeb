// CGUISplitter: a thin bar the user drags up or down inside its parent. The
// drag shows an inverted checkered band; the release tells the parent the
// new rectangle (kMsgSplitterMoved), a cancelled drag tells nothing.
#include <windows.h>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUISplitter";
constexpr int kSlotDragging = 1, kSlotDrag = 2;
constexpr int kSplitterCursor = 131;

struct SplitterDrag {
  RECT limits;  // in the splitter's coordinates
  RECT band;
  HBRUSH brush;
};

SplitterDrag* DragOf(HWND w) {
  return reinterpret_cast<SplitterDrag*>(GuiGetWindowSlot(w, 0, kSlotDrag));
}
bool Dragging(HWND w) { return GuiGetWindowSlot(w, 0, kSlotDragging) != 0; }

void InvertBand(HWND w, const SplitterDrag* d) {
  HDC dc = GetDCEx(w, nullptr, DCX_PARENTCLIP | DCX_LOCKWINDOWUPDATE);
  if (!dc) return;
  SetBrushOrgEx(dc, 0, 0, nullptr);
  HGDIOBJ old = SelectObject(dc, d->brush);
  PatBlt(dc, d->band.left, d->band.top, d->band.right - d->band.left, d->band.bottom - d->band.top,
         PATINVERT);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
}

HBRUSH CheckerBrush() {
  const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP bits = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH brush = CreatePatternBrush(bits);
  DeleteObject(bits);
  return brush;
}

void Paint(HWND w, HDC dc) {
  GuiSkin* skin = GuiGetSkin();
  RECT rc;
  GetClientRect(w, &rc);
  uint32_t fill = skin ? skin->splitter.background : 0xC0C0C0;
  uint32_t line = skin ? skin->splitter.dark : 0x404040;
  GuiFillRectColor(dc, &rc, fill);
  int y = rc.top + (rc.bottom - rc.top - 1) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, line);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, rc.left, y, nullptr);
  LineTo(dc, rc.right - 1, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

HPALETTE Realize(HDC dc) {
  GuiSkin* skin = GuiGetSkin();
  if (!skin || !skin->palette) return nullptr;
  return GuiSelectRealizePalette(dc, 0, static_cast<HPALETTE>(skin->palette));
}

void OnPaint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  Realize(dc);
  if (!Dragging(w)) Paint(w, dc);
  EndPaint(w, &ps);
}

void EndDrag(HWND w, SplitterDrag* d) {
  InvertBand(w, d);
  LockWindowUpdate(nullptr);
  ReleaseCapture();
  GuiSetWindowSlot(w, 0, kSlotDragging, 0);
  GuiSetWindowSlot(w, 0, kSlotDrag, 0);
  DeleteObject(d->brush);
  GlobalFreePtr(d);
}

void OnLButtonDown(HWND w) {
  HWND parent = GetParent(w);
  if (Dragging(w) || !LockWindowUpdate(parent)) return;
  auto* d = static_cast<SplitterDrag*>(GlobalAllocPtr(sizeof(SplitterDrag)));
  if (!d) {
    LockWindowUpdate(nullptr);
    return;
  }
  GuiSetWindowSlot(w, 0, kSlotDragging, 1);
  SetCapture(w);
  GetClientRect(w, &d->band);
  GetClientRect(parent, &d->limits);
  SendMessageA(parent, kMsgSplitterLimits, 0, reinterpret_cast<LPARAM>(&d->limits));
  MapWindowPoints(parent, w, reinterpret_cast<POINT*>(&d->limits), 2);
  d->brush = CheckerBrush();
  GuiSetWindowSlot(w, 0, kSlotDrag, reinterpret_cast<LONG_PTR>(d));
  InvertBand(w, d);
}

void OnMouseMove(HWND w, LPARAM lp) {
  SplitterDrag* d = DragOf(w);
  if (!Dragging(w) || !d) return;
  int height = d->band.bottom - d->band.top;
  int y = static_cast<short>(HIWORD(lp));
  // The band stays inside the limits the parent allowed.
  if (y > d->limits.bottom - height) y = d->limits.bottom - height;
  if (y < d->limits.top) y = d->limits.top;
  if (y == d->band.top) return;
  InvertBand(w, d);
  d->band.top = y;
  d->band.bottom = y + height;
  InvertBand(w, d);
}

void OnLButtonUp(HWND w) {
  SplitterDrag* d = DragOf(w);
  if (!Dragging(w) || !d) return;
  RECT band = d->band;
  HWND parent = GetParent(w);
  EndDrag(w, d);
  MapWindowPoints(w, parent, reinterpret_cast<POINT*>(&band), 2);
  SendMessageA(parent, kMsgSplitterMoved, 0, reinterpret_cast<LPARAM>(&band));
}

LRESULT CALLBACK SplitterProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      GuiSetWindowSlot(w, 0, kSlotDragging, 0);
      return 0;
    case WM_DESTROY:
      if (SplitterDrag* d = DragOf(w)) EndDrag(w, d);
      return 0;
    case WM_PAINT:
      OnPaint(w);
      return 0;
    case WM_ERASEBKGND:
      if (Realize(reinterpret_cast<HDC>(wp)))
        UnrealizeObject(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(w, GCLP_HBRBACKGROUND)));
      if (!Dragging(w)) Paint(w, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(w);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(w, lp);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(w);
      return 0;
    case WM_CANCELMODE:
      if (SplitterDrag* d = DragOf(w)) EndDrag(w, d);
      return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int RegisterCGUISplitter(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = SplitterProc;
  wc.cbWndExtra = 3 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(kSplitterCursor));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_SIZENS);
  wc.hbrBackground = CreateSolidBrush(PALETTEINDEX(100));
  wc.lpszClassName = kClass;
  return RegisterClassExA(&wc) ? 1 : 0;
}

int UnregisterCGUISplitter() {
  UnregisterClassA(kClass, GuiGetInstance());
  return 1;
}

HWND CreateCGUISplitter(HINSTANCE instance, HWND parent, int id) {
  return CreateWindowExA(0, kClass, "", WS_CHILD | WS_VISIBLE, 0, 100, 100, 4, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace gui
