// The scroll-bar engine on the window system: messages, the capture, the
// repeat timer and painting the parts from the skin's scroll-bar images.
// Without skin images the bars keep a 16-pixel thickness and paint flat.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "gui/gui_core.h"
#include "gui/win32/gui_scrollbars_win32.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

constexpr int kFallbackThickness = 16;

int Base(int bar) { return bar == 1 ? kSbVertical : kSbHorizontal; }

PackedDIB* Image(int bar, int index) {
  GuiSkin* skin = GuiGetSkin();
  if (!skin || !skin->scroll.loaded) return nullptr;
  return skin->scroll.images[Base(bar) + index];
}

int Along(const PackedDIB* d, int bar) { return bar == 1 ? DIBHeightOf(d) : DIBWidthOf(d); }

class Win32Host : public GuiScrollHost {
 public:
  intptr_t Send(void* w, uint32_t msg, uintptr_t wp, intptr_t lp) override {
    return SendMessageA(static_cast<HWND>(w), msg, wp, lp);
  }
  void NotifyParent(void* w, uint32_t msg, uintptr_t wp, intptr_t lp) override {
    if (HWND parent = GetParent(static_cast<HWND>(w))) SendMessageA(parent, msg, wp, lp);
  }
  void Paint(GuiScrollBars* s, int bar, uint32_t mask) override {
    GuiScrollBarsPaint(s, bar, mask);
  }
  void SetTimer(void* w, uint32_t ms) override {
    ::SetTimer(static_cast<HWND>(w), kScrollTimerId, ms, nullptr);
  }
  void KillTimer(void* w) override { ::KillTimer(static_cast<HWND>(w), kScrollTimerId); }
  bool BeginCapture(void* w) override {
    bool had = GetCapture() == static_cast<HWND>(w);
    GuiBeginPopupCapture(static_cast<HWND>(w));
    return had;
  }
  void EndCapture() override { GuiEndPopupCapture(); }
  bool PrimaryButtonDown() override {
    int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return GetAsyncKeyState(key) < 0;
  }
  int WheelLines() override {
    int lines = GuiWheelScrollLines();
    return lines == static_cast<int>(WHEEL_PAGESCROLL) ? kWheelPageScroll : lines;
  }
  GuiScrollPieces Pieces(void*, int bar) override {
    GuiScrollPieces p{};
    const PackedDIB* first = Image(bar, kSbFirstArrow);
    if (!first) {
      p.thickness = p.firstArrow = p.secondArrow = kFallbackThickness;
      return p;
    }
    p.thickness = bar == 1 ? DIBWidth(first) : DIBHeight(first);
    p.firstArrow = Along(first, bar);
    p.secondArrow = Along(Image(bar, kSbSecondArrow), bar);
    p.capStart = Along(Image(bar, kSbThumb), bar);
    p.capEnd = Along(Image(bar, kSbThumb + 2), bar);
    return p;
  }
};

Win32Host g_host;

RECT ToRect(const GuiScrollRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

POINT WindowPoint(HWND window, LPARAM lp) {
  RECT wr;
  GetWindowRect(window, &wr);
  return POINT{static_cast<short>(LOWORD(lp)) - wr.left, static_cast<short>(HIWORD(lp)) - wr.top};
}

GuiScrollInfo FromSystem(const SCROLLINFO& in) {
  GuiScrollInfo out{};
  out.cbSize = sizeof out;
  out.fMask = in.fMask;
  out.nMin = in.nMin;
  out.nMax = in.nMax;
  out.nPage = in.nPage;
  out.nPos = in.nPos;
  out.nTrackPos = in.nTrackPos;
  return out;
}

void PaintPart(HDC dc, int bar, int part, const RECT& rc, bool pressed) {
  bool vertical = bar == 1;
  int state = pressed ? 1 : 0;
  GuiSkin* skin = GuiGetSkin();
  switch (part) {
    case kSpFirstArrow:
    case kSpSecondArrow: {
      PackedDIB* img = Image(bar, (part == kSpFirstArrow ? kSbFirstArrow : kSbSecondArrow) + state);
      if (img)
        DIBBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, 0, 0, img);
      else
        GuiFillRectColor(dc, &rc, pressed ? 0x606060 : 0x909090);
      return;
    }
    case kSpTrackBefore:
    case kSpTrackAfter: {
      PackedDIB* img = Image(bar, kSbTrack + state);
      if (skin && skin->scroll.trackIsImage[bar] && img) {
        DIBDrawThreePiece(dc, &rc, nullptr, img, nullptr, vertical);
      } else {
        uint32_t colour = skin ? skin->scroll.colors[bar * 2 + state] : 0xC0C0C0;
        HBRUSH brush = CreateSolidBrush(colour);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Rectangle(dc, rc.left, rc.top, rc.right + 2, rc.bottom + 2);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
      }
      return;
    }
    default: {
      int row = kSbThumb + 3 * state;
      PackedDIB* start = Image(bar, row);
      if (!start && !Image(bar, row + 1)) {
        GuiFillRectColor(dc, &rc, pressed ? 0x404040 : 0x707070);
        return;
      }
      DIBDrawThreePiece(dc, &rc, start, Image(bar, row + 1), Image(bar, row + 2), vertical);
    }
  }
}

}  // namespace

GuiScrollHost* GuiScrollPlatformHost() { return &g_host; }

int GuiScrollBarsGetInfo(GuiScrollBars* s, int bar, SCROLLINFO* info) {
  if (!info || info->cbSize < 4) return 0;
  GuiScrollInfo mine{};
  mine.cbSize = sizeof mine;
  if (!GuiScrollBarsGetInfo(s, bar, &mine)) return 0;
  UINT size = std::min<UINT>(info->cbSize, sizeof(SCROLLINFO));
  SCROLLINFO full{};
  full.cbSize = info->cbSize;
  full.fMask = mine.fMask;
  full.nMin = mine.nMin;
  full.nMax = mine.nMax;
  full.nPage = mine.nPage;
  full.nPos = mine.nPos;
  full.nTrackPos = mine.nTrackPos;
  std::memcpy(info, &full, size);
  return 1;
}

int GuiScrollBarsSetInfo(GuiScrollBars* s, int bar, const SCROLLINFO* info) {
  if (!info) return 0;
  GuiScrollInfo mine = FromSystem(*info);
  return GuiScrollBarsSetInfo(s, bar, &mine);
}

int GuiScrollBarsNcCalcSize(GuiScrollBars* s, WPARAM, RECT* rect) {
  if (!rect) return 0;
  GuiScrollRect r{rect->left, rect->top, rect->right, rect->bottom};
  int result = GuiScrollBarsNcCalcSize(s, &r);
  *rect = RECT{r.left, r.top, r.right, r.bottom};
  return result;
}

void GuiScrollBarsPaint(GuiScrollBars* s, int bar, uint32_t mask) {
  GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
  if (!r || !r->shown || !s->window) return;
  HWND window = static_cast<HWND>(s->window);
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  GuiSkin* skin = GuiGetSkin();
  HPALETTE palette = skin ? static_cast<HPALETTE>(skin->palette) : nullptr;
  HPALETTE oldPalette = palette ? SelectPalette(dc, palette, TRUE) : nullptr;
  for (int n = 0; n < kScrollPartCount; ++n) {
    if (!(mask & (1u << n))) continue;
    const GuiScrollRect& p = r->parts[n];
    // A bar never laid out has all-zero parts: draw nothing rather than at
    // the origin.
    if (!p.left && !p.top && !p.right && !p.bottom) break;
    if (p.right <= p.left || p.bottom <= p.top) continue;
    PaintPart(dc, bar, n, ToRect(p), (r->pressed >> n) & 1);
  }
  if (oldPalette) SelectPalette(dc, oldPalette, TRUE);
  ReleaseDC(window, dc);
}

void GuiScrollBarsPaintCorner(GuiScrollBars* s) {
  if (!GuiScrollBarsIsEnabled(s, 0) || !GuiScrollBarsIsEnabled(s, 1)) return;
  const GuiScrollRect& v = s->vertical->parts[kSpFirstArrow];
  const GuiScrollRect& h = s->horizontal->parts[kSpFirstArrow];
  RECT corner{v.left, h.top, v.right, h.bottom};
  if (corner.right <= corner.left || corner.bottom <= corner.top) return;
  HWND window = static_cast<HWND>(s->window);
  HWND parent = GetParent(window);
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  int saved = SaveDC(dc);
  RECT wr;
  GuiGetChildRect(window, &wr);
  SetWindowOrgEx(dc, -wr.left, -wr.top, nullptr);
  HRGN clip = CreateRectRgn(corner.left, corner.top, corner.right, corner.bottom);
  SelectClipRgn(dc, clip);
  DeleteObject(clip);
  // The parent paints its own background into the corner.
  if (parent) GuiCallWindowProc(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RestoreDC(dc, saved);
  ReleaseDC(window, dc);
}

void GuiScrollBarsNcPaint(GuiScrollBars* s) {
  if (!s) return;
  for (int bar = 0; bar < 2; ++bar) {
    GuiScrollBarRecord* r = GuiScrollBarsRecord(s, bar);
    if (!r || !r->shown) continue;
    if (r->layoutPending) GuiScrollLayout(r, bar == 1, g_host.Pieces(s->window, bar), kLayoutAll);
    GuiScrollBarsPaint(s, bar, kLayoutAll);
  }
  GuiScrollBarsPaintCorner(s);
}

int GuiScrollBarsHitTest(GuiScrollBars* s, LPARAM lp) {
  if (!s) return 0;
  POINT p = WindowPoint(static_cast<HWND>(s->window), lp);
  return GuiScrollBarsHitTestAt(s, p.x, p.y);
}

void GuiScrollBarsNcButtonDown(GuiScrollBars* s, int hitCode, LPARAM lp) {
  if (!s) return;
  POINT p = WindowPoint(static_cast<HWND>(s->window), lp);
  GuiScrollBarsButtonDownAt(s, hitCode, p.x, p.y);
}

void GuiScrollBarsMouseMove(GuiScrollBars* s, WPARAM, LPARAM lp) {
  if (!s) return;
  POINT p = WindowPoint(static_cast<HWND>(s->window), lp);
  GuiScrollBarsDragTo(s, p.x, p.y);
}

void GuiScrollBarsTimer(GuiScrollBars* s) {
  if (!s) return;
  POINT cursor;
  GetCursorPos(&cursor);
  RECT wr;
  GetWindowRect(static_cast<HWND>(s->window), &wr);
  GuiScrollBarsTimerAt(s, cursor.x - wr.left, cursor.y - wr.top);
}

LRESULT GuiScrollBarsSetRedraw(GuiScrollBars* s, WPARAM wp) {
  GuiScrollBarsSetRedrawFlag(s, wp != 0);
  return s ? DefWindowProcA(static_cast<HWND>(s->window), WM_SETREDRAW, wp, 0) : 0;
}

}  // namespace gui
