// CC20SpinList: one picture of a list at a time between two arrow buttons,
// moved with a short timer-driven transition (a scroll, a wipe or a roll).
// The items and their moves are the portable SpinListModel.
//
// Escape is left to the default handling (it never comes back to the list
// itself); a failed growth keeps the items the list has and refuses the new
// one; pictures the list owns are freed when it is destroyed; transitions
// draw the two pictures side by side on a fresh DC each frame instead of
// scrolling the window's pixels; pictures are drawn with their own colours
// unless the skin installs a palette.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "gui/CWF_TT.h"
#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/skin_registry.h"
#include "gui/spin_list_model.h"
#include "gui/utils.h"
#include "gui/win32/gui_listview.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClassName[] = "CC20SpinList";
constexpr int kLeftButton = 15, kRightButton = 16;
constexpr int kArrow = 16;  // width of each arrow button
constexpr UINT kMsgFreeAll = 0x8640, kMsgClear = 0x8641, kMsgSort = 0x8643, kMsgTextStyle = 0x8644,
               kMsgPictureSize = 0x8645;
constexpr WORD kNotifyEnded = 0x5c, kNotifyStarted = 0x5d;
constexpr UINT_PTR kFrameTimer = 1, kEndTimer = 2;
constexpr DWORD kStyleRoll = 0x2000, kStyleWipeH = 0x4000, kStyleWipeV = 0x8000;

struct SpinState {
  HWND window = nullptr;
  HWND buttons[2] = {};
  SpinListModel model;
  int32_t width = 0, height = 0;  // picture size
  CwfTextStyle* style = nullptr;
};

// One transition at a time in the whole process.
struct Transition {
  HWND window = nullptr;
  int32_t from = -1, to = -1, frame = -1;
  int32_t direction = 0;
};
Transition g_transition;

SpinState* StateOf(HWND w) { return reinterpret_cast<SpinState*>(GetWindowLongPtrA(w, 0)); }

int32_t Border() {
  GuiSkin* skin = GuiGetSkin();
  return skin ? skin->borderWidth : 1;
}

void Command(SpinState* s, WORD code) {
  HWND parent = GetParent(s->window);
  if (parent)
    SendMessageA(parent, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetWindowLongPtrA(s->window, GWLP_ID)), code),
                 reinterpret_cast<LPARAM>(s->window));
}

bool UsePalette() {
  GuiSkin* skin = GuiGetSkin();
  return skin && skin->palette;
}

// Rows [y0, y0 + n) and columns [x0, x0 + w) of the picture's lower-left
// picture-size block, drawn with their top-left at (dx, dy).
void DrawPart(SpinState* s, HDC dc, const PackedDIB* pic, int32_t x0, int32_t y0, int32_t w,
              int32_t n, int dx, int dy) {
  if (!pic || w <= 0 || n <= 0) return;
  w = std::min(w, std::max(0, DIBWidth(pic) - x0));
  n = std::min(n, s->height - y0);
  if (w <= 0 || n <= 0) return;
  int32_t ySrc = s->height - (y0 + n);
  StretchDIBits(dc, dx, dy, w, n, x0, ySrc, w, n, DIBBits(pic),
                reinterpret_cast<const BITMAPINFO*>(pic),
                UsePalette() ? DIB_PAL_COLORS : DIB_RGB_COLORS, SRCCOPY);
}

const PackedDIB* PictureOf(SpinState* s, int32_t index) {
  SpinListItem* it = s->model.Item(index);
  return it ? it->picture : nullptr;
}

void PaintItem(SpinState* s, int32_t index, HDC given = nullptr) {
  const PackedDIB* pic = PictureOf(s, index);
  if (!pic) return;
  HDC dc = given ? given : GetDC(s->window);
  HWND parent = GetParent(s->window);
  if (parent)
    SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(s->window));
  DrawPart(s, dc, pic, 0, 0, s->width, s->height, kArrow, 1);
  if (!given) ReleaseDC(s->window, dc);
}

int LastFrame() {
  DWORD style = static_cast<DWORD>(GetWindowLongA(g_transition.window, GWL_STYLE));
  if (style & kStyleRoll) return 5;
  if (style & (kStyleWipeH | kStyleWipeV)) return 6;
  return 4;
}

void DrawFrame(SpinState* s, HDC dc, int k) {
  const PackedDIB* from = PictureOf(s, g_transition.from);
  const PackedDIB* to = PictureOf(s, g_transition.to);
  bool forward = g_transition.direction > 0;
  int32_t w = s->width, h = s->height;
  DWORD style = static_cast<DWORD>(GetWindowLongA(s->window, GWL_STYLE));
  if (style & kStyleRoll) {
    int32_t n = k * (h / 5);
    if (forward) {
      DrawPart(s, dc, from, 0, n, w, h - n, kArrow, 1);
      DrawPart(s, dc, to, 0, 0, w, n, kArrow, 1 + h - n);
    } else {
      DrawPart(s, dc, to, 0, h - n, w, n, kArrow, 1);
      DrawPart(s, dc, from, 0, 0, w, h - n, kArrow, 1 + n);
    }
  } else if (style & kStyleWipeH) {
    int32_t part = k * w / 6;
    int32_t x = forward ? 0 : w - part;
    DrawPart(s, dc, to, x, 0, part, h, kArrow + x, 1);
  } else if (style & kStyleWipeV) {
    int32_t rows = k * h / 6;
    int32_t y = forward ? 0 : h - rows;
    DrawPart(s, dc, to, 0, y, w, rows, kArrow, 1 + y);
  } else {
    int32_t shift = (k + 1) * (w / 5);
    if (forward) {
      DrawPart(s, dc, from, shift, 0, w - shift, h, kArrow, 1);
      DrawPart(s, dc, to, 0, 0, shift, h, kArrow + w - shift, 1);
    } else {
      DrawPart(s, dc, to, w - shift, 0, shift, h, kArrow, 1);
      DrawPart(s, dc, from, 0, 0, w - shift, h, kArrow + shift, 1);
    }
  }
}

void CALLBACK FrameTick(HWND w, UINT, UINT_PTR, DWORD) {
  KillTimer(w, kFrameTimer);
  SpinState* s = StateOf(w);
  if (!s || g_transition.window != w || g_transition.from < 0 || g_transition.to < 0 ||
      g_transition.frame < 0)
    return;
  int first = (GetWindowLongA(w, GWL_STYLE) & kStyleRoll) ? 1 : 0;
  int k = std::max(g_transition.frame, first);
  HDC dc = GetDC(w);
  DrawFrame(s, dc, k);
  ReleaseDC(w, dc);
  if (k >= LastFrame()) {
    g_transition = Transition{};
    PaintItem(s, s->model.current());
    SetTimer(w, kEndTimer, 20, nullptr);
  } else {
    g_transition.frame = k + 1;
    SetTimer(w, kFrameTimer, 10, FrameTick);
  }
}

void StartTransition(SpinState* s, int32_t from, int32_t to) {
  if (g_transition.window && g_transition.window != s->window)
    KillTimer(g_transition.window, kFrameTimer);
  g_transition.window = s->window;
  g_transition.from = from;
  g_transition.to = to;
  g_transition.frame = 0;
  int32_t d = to - from;
  // A wrap from the last item to the first runs like a step forward.
  g_transition.direction = std::abs(d) > 1 ? from - to : d;
  HWND parent = GetParent(s->window);
  if (parent) {
    HDC dc = GetDC(s->window);
    SendMessageA(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(s->window));
    ReleaseDC(s->window, dc);
  }
  SetTimer(s->window, kFrameTimer, 1, FrameTick);
  Command(s, kNotifyStarted);
}

void OnVScroll(SpinState* s, int code) {
  SpinMove mv = s->model.Move(code);
  if (mv.index < 0) return;
  int32_t from = s->model.current();
  s->model.SetCurrent(mv.index);
  if (mv.transition)
    StartTransition(s, from, mv.index);
  else
    PaintItem(s, mv.index);
}

CwfTextStyle* TextStyle(SpinState* s) {
  if (s->style) return s->style;
  CwfTextStyle* st = CwfTextStyleCreate();
  if (!st) return nullptr;
  st->rect = DibRect{0, 0, s->width, s->height};
  CwfTextStyleSetFont(st, "Courier New", 8, 10, 400, 0, 0, 0);
  CwfTextStyleSetBitmapSize(st, 16, 20, 38);
  st->flags |= kCwfStyleOwned;
  return s->style = st;
}

void FreePicture(SpinListItem* it) {
  if (it->kind == kSpinPictureOwned || it->kind == kSpinPictureFromName) GlobalFreePtr(it->picture);
  it->picture = nullptr;
}

LRESULT OnAddString(SpinState* s, const SpinListItem* in) {
  if (!in) return LB_ERR;
  SpinListItem item = *in;
  if (item.kind == kSpinPictureFromName && !item.picture && TextStyle(s)) {
    PackedDIB* dib = CwfTextStyleRenderFitted(s->style, item.name);
    if (dib && (DIBWidth(dib) != s->width || DIBHeight(dib) != s->height)) {
      PackedDIB* centred = DIBCenterCopy(dib, s->width, s->height);
      GlobalFreePtr(dib);
      dib = centred;
    }
    item.picture = dib;
  }
  if (item.picture && UsePalette()) DIBSetIdentityColorTable(item.picture);
  bool first = s->model.current() < 0;
  int32_t n = s->model.Add(item);
  if (n < 0) {
    MessageBoxA(nullptr, "SpinList Reallocation fail!", "error", 0);
    if (item.kind == kSpinPictureFromName && item.picture != in->picture)
      GlobalFreePtr(item.picture);
    return LB_ERRSPACE;
  }
  if (first) PaintItem(s, 0);
  return n;
}

LRESULT OnPictureSize(SpinState* s, WPARAM wp, LPARAM lp) {
  if (s->model.count() > 0) return 0;
  s->width = static_cast<int32_t>(wp);
  s->height = static_cast<int32_t>(lp);
  int32_t cx = s->width + 2 * kArrow, cy = s->height;
  if (GetWindowLongA(s->window, GWL_STYLE) & WS_BORDER) {
    cx += 2 * Border();
    cy += 2 * Border();
  }
  RECT r;
  GetWindowRect(s->window, &r);
  HWND parent = GetParent(s->window);
  POINT p{r.left, r.top};
  if (parent) ScreenToClient(parent, &p);
  MoveWindow(s->window, p.x, p.y, cx, cy, TRUE);
  return 1;
}

// The skin's arrow strips on the skinned buttons (normal, pressed, hover);
// the registry keeps them.
void SetArrowImages(HWND button, const char* side) {
  char cls[32] = {};
  GetClassNameA(button, cls, sizeof cls);
  GuiSkin* skin = GuiGetSkin();
  if (!skin || !skin->imageSource || lstrcmpiA(cls, "CGUIBMPButton") != 0) return;
  std::string base = std::string("SPIN_LIST_") + side;
  PackedDIB* up = SkinRegistryFindDIB(skin->imageSource, (base + "_UP").c_str());
  PackedDIB* down = SkinRegistryFindDIB(skin->imageSource, (base + "_DOWN").c_str());
  if (!up) return;
  SendMessageA(button, BM_SETIMAGE, 0, reinterpret_cast<LPARAM>(up));
  SendMessageA(button, BM_SETIMAGE, 1, reinterpret_cast<LPARAM>(down ? down : up));
  SendMessageA(button, BM_SETIMAGE, 4, reinterpret_cast<LPARAM>(up));
}

void OnSize(SpinState* s) {
  RECT rc;
  GetClientRect(s->window, &rc);
  int32_t w = rc.right - rc.left, h = rc.bottom - rc.top;
  if (s->buttons[0]) MoveWindow(s->buttons[0], 0, 0, kArrow, h, TRUE);
  if (s->buttons[1]) MoveWindow(s->buttons[1], w - kArrow + 1, 0, kArrow, h, TRUE);
  // A skinned button builds its looks afresh when it is sized.
  SetArrowImages(s->buttons[0], "LEFT");
  SetArrowImages(s->buttons[1], "RIGHT");
  s->width = std::max(w - 2 * kArrow, 0);
  s->height = h;
}

void OnNcPaint(SpinState* s) {
  HDC dc = GetWindowDC(s->window);
  RECT wr;
  GetWindowRect(s->window, &wr);
  RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  HPEN pen = CreatePen(PS_SOLID, 3, PALETTERGB(35, 127, 67));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  if (GetFocus() == s->window) {
    DrawFocusRect(dc, &r);
    InflateRect(&r, -1, -1);
    DrawFocusRect(dc, &r);
  }
  ReleaseDC(s->window, dc);
}

HWND MakeButton(HWND parent, int id, const char* text) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
  DWORD style = WS_CHILD | WS_VISIBLE | BS_PUSHLIKE | BS_BITMAP;
  HWND b = CreateWindowExA(0, "CGUIBMPButton", text, style, 0, 0, kArrow, 10, parent, menu,
                           instance, nullptr);
  // Without the skinned button class the system's button stands in.
  if (!b)
    b = CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, kArrow, 10,
                        parent, menu, instance, nullptr);
  return b;
}

LRESULT OnCreate(SpinState* s) {
  s->buttons[0] = MakeButton(s->window, kLeftButton, "<");
  s->buttons[1] = MakeButton(s->window, kRightButton, ">");
  if (!s->model.valid()) MessageBoxA(nullptr, "SpinList allocation fail!", "error", 0);
  OnSize(s);
  return 0;
}

void OnDestroy(SpinState* s) {
  if (g_transition.window == s->window) g_transition = Transition{};
  KillTimer(s->window, kFrameTimer);
  KillTimer(s->window, kEndTimer);
  s->model.Clear(FreePicture);
  if (s->style && (s->style->flags & kCwfStyleOwned)) CwfTextStyleFree(s->style);
  s->style = nullptr;
}

LRESULT OnKeyDown(SpinState* s, WPARAM vk, LPARAM lp) {
  int code = -1;
  switch (vk) {
    case VK_TAB:
      GuiDialogKeyHelper(s->window, static_cast<UINT>(vk));
      return 0;
    case VK_PRIOR:
      code = SB_PAGEUP;
      break;
    case VK_NEXT:
      code = SB_PAGEDOWN;
      break;
    case VK_END:
      code = SB_BOTTOM;
      break;
    case VK_HOME:
      code = SB_TOP;
      break;
    case VK_LEFT:
    case VK_UP:
      code = SB_LINEUP;
      break;
    case VK_RIGHT:
    case VK_DOWN:
      code = SB_LINEDOWN;
      break;
    default:
      return DefWindowProcA(s->window, WM_KEYDOWN, vk, lp);
  }
  SendMessageA(s->window, WM_VSCROLL, static_cast<WPARAM>(code), 0);
  return 0;
}

LRESULT ListMessage(SpinState* s, UINT msg, WPARAM wp, LPARAM lp) {
  SpinListModel& m = s->model;
  int32_t index = static_cast<int32_t>(wp);
  switch (msg) {
    case LB_ADDSTRING:
      return OnAddString(s, reinterpret_cast<const SpinListItem*>(lp));
    case LB_DELETESTRING:
    case LB_SETSEL:
      return -1;
    case LB_SETCURSEL:
      if (!m.SetCurrent(index)) return LB_ERR;
      PaintItem(s, index);
      return index;
    case LB_GETSEL:
      return reinterpret_cast<LRESULT>(m.Item(index));
    case LB_GETCURSEL:
      return m.current();
    case LB_GETCOUNT:
      return m.count();
    case LB_FINDSTRING:
      return m.FindName(reinterpret_cast<const char*>(lp));
    default:
      return DefWindowProcA(s->window, msg, wp, lp);
  }
}

LRESULT PrivateMessage(SpinState* s, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kMsgFreeAll:
      if (g_transition.window == s->window) g_transition = Transition{};
      if (!s->model.Clear(FreePicture)) MessageBoxA(nullptr, "SpinList clear fail!", "error", 0);
      return 0;
    case kMsgClear:
      if (g_transition.window == s->window) g_transition = Transition{};
      if (!s->model.Clear()) MessageBoxA(nullptr, "SpinList clear fail!", "error", 0);
      return 0;
    case kMsgSort:
      if (!s->model.Sort(static_cast<int>(wp), lp)) return 0;
      PaintItem(s, s->model.current());
      return lp == 7 ? s->model.current() : 0;
    case kMsgTextStyle: {
      auto* st = reinterpret_cast<CwfTextStyle*>(lp);
      if (st && static_cast<int32_t>(st->size) > 0) {
        if (s->style && (s->style->flags & kCwfStyleOwned) && s->style != st)
          CwfTextStyleFree(s->style);
        s->style = st;
      }
      return 0;
    }
    case kMsgPictureSize:
      return OnPictureSize(s, wp, lp);
    default:
      return DefWindowProcA(s->window, msg, wp, lp);
  }
}

LRESULT CALLBACK SpinListProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* s = new (std::nothrow) SpinState;
    if (!s) return 0;
    s->window = w;
    SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(s));
    return DefWindowProcA(w, msg, wp, lp);
  }
  SpinState* s = StateOf(w);
  if (!s) return DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_CREATE:
      return OnCreate(s);
    case WM_DESTROY:
      OnDestroy(s);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_NCDESTROY:
      SetWindowLongPtrA(w, 0, 0);
      delete s;
      return DefWindowProcA(w, msg, wp, lp);
    case WM_SIZE:
      OnSize(s);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      PaintItem(s, s->model.current(), dc);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_SETFOCUS:
      PostMessageA(w, WM_NCPAINT, 1, 0);
      return 0;
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(wp) != w) PostMessageA(w, WM_NCPAINT, 1, 0);
      return 0;
    case WM_MOUSEACTIVATE:
      InvalidateRect(w, nullptr, FALSE);
      SetFocus(w);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_NCCALCSIZE:
      if (GetWindowLongA(w, GWL_STYLE) & WS_BORDER) {
        RECT* r =
            wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
        InflateRect(r, -Border(), -Border());
      }
      return WVR_REDRAW;
    case WM_NCHITTEST: {
      RECT r;
      GetWindowRect(w, &r);
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      if (p.x >= r.right) return HTBORDER;
      return PtInRect(&r, p) ? HTCLIENT : HTNOWHERE;
    }
    case WM_NCPAINT:
      OnNcPaint(s);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_NCMOUSEMOVE:
      return 0;
    case WM_NCLBUTTONDOWN:
      if (wp == HTNOWHERE || wp == HTBORDER) GuiBeginPopupCapture(w);
      return 0;
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTNOWHERE || wp == HTBORDER) GuiEndPopupCapture();
      return 0;
    case WM_KEYDOWN:
      return OnKeyDown(s, wp, lp);
    case WM_CHAR: {
      char c = static_cast<char>(wp);
      if (!IsCharAlphaA(c)) return 0;
      int32_t i = s->model.FindLetter(c);
      if (i < 0) return 0;
      PaintItem(s, i);
      s->model.SetCurrent(i);
      Command(s, kNotifyEnded);
      return 0;
    }
    case WM_COMMAND: {
      SetFocus(w);
      int id = LOWORD(wp);
      if (id == kLeftButton || id == 18 || id == kRightButton || id == 17) {
        KillTimer(w, kEndTimer);
        bool left = id == kLeftButton || id == 18;
        SendMessageA(w, WM_VSCROLL, left ? SB_LINEUP : SB_LINEDOWN, 0);
      }
      return 0;
    }
    case WM_TIMER:
      if (wp == kEndTimer) {
        KillTimer(w, kEndTimer);
        Command(s, kNotifyEnded);
      }
      return 0;
    case WM_VSCROLL:
      OnVScroll(s, LOWORD(wp));
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(w);
      return DefWindowProcA(w, msg, wp, lp);
    default:
      break;
  }
  if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
    HWND parent = GetParent(w);
    if (parent) SendMessageA(parent, msg, wp, lp);
    return 0;
  }
  if (msg >= LB_ADDSTRING && msg <= LB_FINDSTRING) return ListMessage(s, msg, wp, lp);
  if (msg >= kMsgFreeAll && msg <= kMsgPictureSize) return PrivateMessage(s, msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int RegisterCC20SpinList(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_PARENTDC | CS_GLOBALCLASS;
  wc.lpfnWndProc = SpinListProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = kClassName;
  return RegisterClassExA(&wc) ? 1 : 0;
}

}  // namespace gui
