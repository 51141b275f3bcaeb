#include "gui/win32/item_view_win32.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "gui/view_skin.h"
#include "gui/win32/gui_scrollbars_win32.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {
int SystemBar(int bar) { return bar == kBarVert ? SB_VERT : SB_HORZ; }
bool ValidBar(int bar) { return bar == kBarHorz || bar == kBarVert; }
}  // namespace

uint32_t GuiViewBarFlags(DWORD style, DWORD exStyle, bool horizontalToo) {
  uint32_t flags = exStyle;
  if (style & WS_VSCROLL) flags |= kViewVerticalBar;
  if ((style & WS_HSCROLL) || horizontalToo) flags |= kViewHorizontalBar;
  return flags;
}

void GuiViewStripBarStyles(HWND window) {
  LONG style = GetWindowLongA(window, GWL_STYLE);
  if (style & (WS_HSCROLL | WS_VSCROLL))
    SetWindowLongA(window, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
}

GuiViewRect GuiViewRectOf(const RECT& r) { return GuiViewRect{r.left, r.top, r.right, r.bottom}; }
RECT GuiRectOf(const GuiViewRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

GuiViewHostWin32::~GuiViewHostWin32() {
  if (skinned_) GuiScrollBarsFree(&bars_);
}

bool GuiViewHostWin32::Attach(HWND window, uint32_t barFlags, bool skinned) {
  window_ = window;
  skinned_ = skinned;
  uint32_t flags = barFlags & (kViewVerticalBar | kViewHorizontalBar);
  if (!skinned || !flags) {
    has_[kBarVert] = (flags & kViewVerticalBar) != 0;
    has_[kBarHorz] = (flags & kViewHorizontalBar) != 0;
    skinned_ = false;
    return true;
  }
  return GuiScrollBarsInit(&bars_, window, flags) != nullptr;
}

void GuiViewHostWin32::Push(int bar) {
  if (!shown_[bar]) return;  // a hidden system bar given values would show itself
  SCROLLINFO si{sizeof si,
                SIF_RANGE | SIF_PAGE | SIF_POS,
                info_[bar].min,
                std::max(info_[bar].max, info_[bar].min),
                static_cast<UINT>(info_[bar].page),
                info_[bar].pos,
                0};
  SetScrollInfo(window_, SystemBar(bar), &si, redraw_);
}

void GuiViewHostWin32::SetRedraw(bool on) {
  redraw_ = on;
  if (skinned_) GuiScrollBarsSetRedrawFlag(&bars_, on ? 1 : 0);
}

void GuiViewHostWin32::Invalidate(const GuiViewRect* rect) {
  RECT r = rect ? GuiRectOf(*rect) : RECT{};
  RedrawWindow(window_, rect ? &r : nullptr, nullptr,
               RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE);
}

void GuiViewHostWin32::Scroll(int32_t dx, int32_t dy, const GuiViewRect& clip, bool repaint) {
  RECT r = GuiRectOf(clip);
  ScrollWindowEx(window_, dx, dy, &r, &r, nullptr, nullptr,
                 repaint ? (SW_ERASE | SW_INVALIDATE) : 0);
  if (repaint) UpdateWindow(window_);
}

void GuiViewHostWin32::NotifyParent(uint32_t message, intptr_t lParam) {
  HWND parent = GetParent(window_);
  if (parent) SendMessageA(parent, message, reinterpret_cast<WPARAM>(window_), lParam);
}

void GuiViewHostWin32::FrameChanged() {
  SetWindowPos(
      window_, nullptr, 0, 0, 0, 0,
      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_FRAMECHANGED | SWP_NOACTIVATE);
}

bool GuiViewHostWin32::HasBar(int bar) {
  if (!ValidBar(bar)) return false;
  return skinned_ ? GuiScrollBarsRecord(&bars_, bar) != nullptr : has_[bar];
}

void GuiViewHostWin32::SetBar(int bar, uint32_t mask, const GuiViewBarInfo& in) {
  if (!HasBar(bar)) return;
  if (skinned_) {
    GuiScrollInfo si{28,     mask & (kSifRange | kSifPage | kSifPos),     in.min,
                     in.max, static_cast<uint32_t>(std::max(in.page, 0)), in.pos,
                     0};
    GuiScrollBarsSetInfo(&bars_, bar, &si);
    return;
  }
  GuiViewBarInfo& i = info_[bar];
  if (mask & kBarPage) i.page = in.page;
  if (mask & kBarPos) i.pos = in.pos;
  if (mask & kBarRange) {
    i.min = in.min;
    i.max = in.max;
  }
  int32_t stored = i.pos;
  if (i.max < i.min - 1) i.max = i.min - 1;
  if (i.page > i.max - i.min + 1) i.page = i.max - i.min + 1;
  i.pos = std::max(i.min, std::min(i.pos, i.max - std::max(i.page - 1, 0)));
  Push(bar);
  if (i.pos != stored)
    SendMessageA(window_, bar == kBarVert ? kMsgBarCorrectedV : kMsgBarCorrectedH,
                 static_cast<WPARAM>(i.pos), reinterpret_cast<LPARAM>(window_));
}

GuiViewBarInfo GuiViewHostWin32::GetBar(int bar) {
  if (!HasBar(bar)) return GuiViewBarInfo{};
  if (!skinned_) return info_[bar];
  GuiScrollInfo si{28, 0, 0, 0, 0, 0, 0};
  if (!GuiScrollBarsGetInfo(&bars_, bar, &si)) return GuiViewBarInfo{};
  return GuiViewBarInfo{si.nMin, si.nMax, static_cast<int32_t>(si.nPage), si.nPos};
}

bool GuiViewHostWin32::BarShown(int bar) {
  if (!HasBar(bar)) return false;
  return skinned_ ? GuiScrollBarsIsEnabled(&bars_, bar) != 0 : shown_[bar];
}

void GuiViewHostWin32::ShowBar(int bar, bool show) {
  if (!HasBar(bar)) return;
  if (skinned_) {
    GuiScrollBarsEnable(&bars_, bar, show ? 1 : 0);
    return;
  }
  if (shown_[bar] == show) return;
  shown_[bar] = show;
  ShowScrollBar(window_, SystemBar(bar), show);
  Push(bar);
  HWND parent = GetParent(window_);
  if (parent) SendMessageA(parent, 0x8615, static_cast<WPARAM>(bar), show ? 1 : 0);
}

int32_t GuiViewHostWin32::LineStep(int bar) {
  if (!HasBar(bar)) return 0;
  return skinned_ ? GuiScrollBarsRecord(&bars_, bar)->lineStep : line_[bar];
}

int32_t GuiViewHostWin32::PageStep(int bar) {
  if (!HasBar(bar)) return 0;
  if (skinned_) return GuiScrollPageStep(*GuiScrollBarsRecord(&bars_, bar));
  int32_t p = page_[bar];
  if (p > 0) return p;
  if (p == 0 || p == -2) return std::max(info_[bar].page - line_[bar], 1);
  return 1;
}

int32_t GuiViewHostWin32::SetLineStep(int bar, int32_t step) {
  if (!HasBar(bar)) return 0;
  if (skinned_) return GuiScrollBarsSetLineStep(&bars_, bar, step);
  return std::exchange(line_[bar], step);
}

int32_t GuiViewHostWin32::SetPageStep(int bar, int32_t step) {
  if (!HasBar(bar)) return 0;
  if (skinned_) return GuiScrollBarsSetPageStep(&bars_, bar, step);
  return std::exchange(page_[bar], step);
}

int32_t GuiViewHostWin32::BarThickness(int bar) {
  if (!BarShown(bar)) return 0;
  if (skinned_) return GuiScrollBarsGetThickness(&bars_, bar);
  return GetSystemMetrics(bar == kBarVert ? SM_CXVSCROLL : SM_CYHSCROLL);
}

LRESULT GuiItemViewEraseBkgnd(GuiItemView*, HWND window, HDC dc, COLORREF background) {
  HWND parent = GetParent(window);
  auto brush = parent ? reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORLISTBOX,
                                                              reinterpret_cast<WPARAM>(dc),
                                                              reinterpret_cast<LPARAM>(window)))
                      : nullptr;
  RECT rc;
  GetClientRect(window, &rc);
  if (brush)
    FillRect(dc, &rc, brush);
  else
    GuiFillRectColor(dc, &rc, background);
  return 1;
}

namespace {

// The view's border in the skin: the list's frame images, else the skin's
// edge callback, else a plain frame in the text colour.
void PaintViewBorder(HWND window, GuiSkin* skin, int32_t border) {
  HWND parent = GetParent(window);
  HDC dc = GetWindowDC(window);
  if (parent)
    SendMessageA(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(window));
  if (border > 0) {
    RECT wr;
    GetWindowRect(window, &wr);
    RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    GuiViewSkinImages* images = GuiGetViewSkinImages();
    if (images->listBorder[1] && images->listBorder[6]) {
      DIBDrawPopupFrame(window, &r, images->listBorder,
                        static_cast<HPALETTE>(skin ? skin->palette : nullptr));
    } else if (skin && skin->edgeProc) {
      DibRect dr{r.left, r.top, r.right, r.bottom};
      skin->edgeProc(window, &dr, skin, skin->editColors[0], skin->editColors[1], border);
    } else {
      // No bitmap and no callback: a plain frame in the text colour.
      COLORREF c = skin ? skin->list.colors[kListText] : RGB(0, 0, 0);
      for (int k = 0; k < border; ++k) {
        RECT e{r.left + k, r.top + k, r.right - k, r.bottom - k};
        HBRUSH b = CreateSolidBrush(c);
        FrameRect(dc, &e, b);
        DeleteObject(b);
      }
    }
  }
  ReleaseDC(window, dc);
}

}  // namespace

void GuiItemViewNcPaint(GuiViewHostWin32* host, int32_t border) {
  HWND window = host->window();
  PaintViewBorder(window, GuiGetSkin(), border);
  GuiScrollBarsNcPaint(host->bars());
}

LRESULT GuiItemViewNcCalcSize(GuiViewHostWin32* host, WPARAM wp, LPARAM lp, int32_t border) {
  RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
  // The bars' engine works in window coordinates: the window's corner is 0,0.
  POINT origin{r->left, r->top};
  RECT w{0, 0, r->right - r->left, r->bottom - r->top};
  InflateRect(&w, -border, -border);
  if (w.right < w.left) w.right = w.left;
  if (w.bottom < w.top) w.bottom = w.top;
  GuiScrollBarsNcCalcSize(host->bars(), wp, &w);
  OffsetRect(&w, origin.x, origin.y);
  *r = w;
  return wp ? 0x700 : 0;
}

LRESULT GuiItemViewNcHitTest(GuiViewHostWin32* host, LPARAM lp) {
  HWND window = host->window();
  int code = GuiScrollBarsHitTest(host->bars(), lp);
  if (code) return code;
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  RECT wr;
  GetWindowRect(window, &wr);
  POINT c = p;
  ScreenToClient(window, &c);
  RECT cr;
  GetClientRect(window, &cr);
  if (PtInRect(&cr, c)) return HTCLIENT;
  if (PtInRect(&wr, p)) return HTBORDER;
  return IsWindowVisible(window) ? HTBORDER : 0;
}

bool GuiItemViewBarMessage(GuiViewHostWin32* host, UINT msg, WPARAM wp, LPARAM lp,
                           LRESULT* result) {
  GuiScrollBars* bars = host->bars();
  *result = 0;
  switch (msg) {
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp != HTVSCROLL && wp != HTHSCROLL) return false;
      GuiScrollBarsNcButtonDown(bars, static_cast<int>(wp), lp);
      return true;
    case WM_NCLBUTTONUP:
      GuiScrollBarsButtonUp(bars);
      return true;
    case WM_NCMOUSEMOVE:
      GuiScrollBarsMouseMove(bars, wp, lp);
      return true;
    case WM_TIMER:
      if (wp != kScrollTimerId) return false;
      GuiScrollBarsTimer(bars);
      return true;
    case WM_MOUSEWHEEL:
      GuiScrollBarsMouseWheel(bars, kBarVert, static_cast<short>(HIWORD(wp)));
      return true;
    case WM_SHOWWINDOW:
      if (!wp) GuiScrollBarsCancelTracking(bars);
      return false;
    case WM_WINDOWPOSCHANGED:
      if (reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_HIDEWINDOW)
        GuiScrollBarsCancelTracking(bars);
      return false;
    default:
      return false;
  }
}

void GuiItemViewNcPaint(HWND window, HRGN region) {
  DefWindowProcA(window, WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);  // the system bars
  GuiSkin* skin = GuiGetSkin();
  PaintViewBorder(window, skin, GuiListBorderWidth(skin));
}

LRESULT GuiItemViewNcCalcSize(HWND window, WPARAM wp, LPARAM lp, int32_t border) {
  RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
  InflateRect(r, -border, -border);
  if (r->right < r->left) r->right = r->left;
  if (r->bottom < r->top) r->bottom = r->top;
  DefWindowProcA(window, WM_NCCALCSIZE, wp, lp);
  return wp ? 0x700 : 0;
}

LRESULT GuiItemViewNcHitTest(HWND window, LPARAM lp) {
  LRESULT code = DefWindowProcA(window, WM_NCHITTEST, 0, lp);
  if (code == HTVSCROLL || code == HTHSCROLL) return code;
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  RECT wr;
  GetWindowRect(window, &wr);
  POINT c = p;
  ScreenToClient(window, &c);
  RECT cr;
  GetClientRect(window, &cr);
  if (PtInRect(&cr, c)) return HTCLIENT;
  if (PtInRect(&wr, p)) return HTBORDER;
  return IsWindowVisible(window) ? HTBORDER : 0;
}

void GuiItemViewSizeToClient(GuiItemView* view, HWND window) {
  RECT rc;
  GetClientRect(window, &rc);
  GuiItemViewSetRect(view, GuiViewRectOf(rc));
}

void GuiItemViewResetBarsToClient(GuiItemView* view, HWND window) {
  RECT rc;
  GetClientRect(window, &rc);
  GuiItemViewResetBars(view, GuiViewRectOf(rc));
}

bool GuiItemViewScrollMessage(GuiItemView* view, UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_VSCROLL:
      GuiItemViewVScroll(view, LOWORD(wp), HIWORD(wp));
      return true;
    case WM_HSCROLL:
      GuiItemViewHScroll(view, LOWORD(wp), HIWORD(wp));
      return true;
    case kMsgBarDragH:
    case kMsgBarCorrectedH:
      GuiItemViewSetHorzPos(view, static_cast<int32_t>(wp));
      return true;
    case kMsgBarDragV:
    case kMsgBarCorrectedV:
      GuiItemViewSetTopIndex(view, static_cast<int32_t>(wp));
      return true;
    case WM_MOUSEWHEEL: {
      int notches = static_cast<short>(HIWORD(wp)) / WHEEL_DELTA;
      int lines = GuiWheelScrollLines();
      for (int i = 0; i < std::abs(notches) * std::max(lines, 1); ++i)
        GuiItemViewVScroll(view, notches > 0 ? kSbLineUp : kSbLineDown, 0);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace gui
