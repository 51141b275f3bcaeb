// CGUITrackbar: the system trackbar with the skin's colours. The system
// class keeps the range, the position, the keys and the mouse; this class
// paints: background (the parent's when transparent), tick lines, channel
// and thumb, composed off screen into one image of the client size.
//
// Differs from the skinned trackbar it follows: the image is recomposed on
// every paint, so the thumb follows position changes, and the layers are
// drawn ticks first, then the channel, then the thumb on top, so neither the
// channel nor the ticks cut through the thumb; the ticks take the skin's tick
// colour when it has one.
#include <windows.h>

#include <commctrl.h>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/trackbar_model.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUITrackbar";
WNDPROC g_baseProc = nullptr;
int g_baseBytes = 0;

struct TrackbarState {
  LONG style;
  RECT rect;  // the creation rectangle, later the client rectangle
  PackedDIB* channel;
  PackedDIB* background;
  TrackbarTicks ticks;
};

TrackbarState* StateOf(HWND w) {
  return reinterpret_cast<TrackbarState*>(GuiGetWindowSlot(w, g_baseBytes, 0));
}

LRESULT Base(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(g_baseProc, w, msg, wp, lp);
}

struct Colours {
  uint32_t background, channel, channelFrame, thumb, thumbFrame, ticks;
};

Colours SkinColours() {
  GuiSkin* skin = GuiGetSkin();
  if (!skin) return {0xE0E0E0, 0x808080, 0x404040, 0xC0C0C0, 0x404040, kTrackbarTickColour};
  const auto& t = skin->trackbar;
  return {t.background, t.channel,    t.channelFrame,
          t.thumb,      t.thumbFrame, t.ticks ? t.ticks : kTrackbarTickColour};
}

RECT ChannelRect(HWND w) {
  RECT r{};
  Base(w, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT ThumbRect(HWND w) {
  RECT r{};
  Base(w, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

void RebuildLayout(HWND w, TrackbarState* s) {
  GetClientRect(w, &s->rect);
  LONG style = GetWindowLongA(w, GWL_STYLE);
  bool vertical = (style & TBS_VERT) != 0;
  int n = static_cast<int>(Base(w, TBM_GETNUMTICS, 0, 0));
  int length = vertical ? s->rect.bottom : s->rect.right;
  s->ticks = TrackbarTickLayout(n, length, vertical, ThumbRect(w).top);
}

void OnSize(HWND w, TrackbarState* s) {
  RebuildLayout(w, s);
  GlobalFreePtr(s->background);
  s->background = DIBCreate(s->rect.right, s->rect.bottom, 24);
  RECT ch = ChannelRect(w);
  Colours c = SkinColours();
  GlobalFreePtr(s->channel);
  s->channel =
      TrackbarChannelImage(ch.right - ch.left, ch.bottom - ch.top, c.channel, c.channelFrame);
}

// The background under the control: the parent's for a transparent control
// (the skin's colour when the parent draws nothing), else the skin's.
void FillBackground(HWND w, TrackbarState* s, const Colours& c) {
  DIBFill(s->background, c.background);
  if (!(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) return;
  GuiBackgroundRequest req{};
  GuiGetChildRect(w, &req.rect);
  req.rect.right = req.rect.left + s->background->biWidth;
  req.rect.bottom = req.rect.top + DIBHeight(s->background);
  req.image = s->background;
  if (HWND parent = GetParent(w))
    GuiCallWindowProc(parent, kMsgParentBackground, 0, reinterpret_cast<LPARAM>(&req));
}

void Compose(HWND w, TrackbarState* s) {
  if (!s->background) return;
  Colours c = SkinColours();
  FillBackground(w, s, c);
  LONG style = GetWindowLongA(w, GWL_STYLE);
  int n = static_cast<int>(Base(w, TBM_GETNUMTICS, 0, 0));
  if (TrackbarDrawsTicks(n, (style & TBS_VERT) != 0, (style & TBS_NOTICKS) != 0))
    for (int i = 0; i <= n - 3; ++i) {
      int x = static_cast<int>(Base(w, TBM_GETTICPOS, i, 0));
      if (x >= 0) TrackbarDrawTick(s->background, x, s->ticks.baseLine, c.ticks);
    }
  RECT ch = ChannelRect(w);
  if (s->channel)
    DIBCopyRectClipped(s->background, s->channel, ch.left, ch.top, 0, 0, s->channel->biWidth,
                       DIBHeight(s->channel), true, kKey24);
  RECT th = ThumbRect(w);
  TrackbarDrawBox(s->background, th.left, th.top, th.right, th.bottom, c.thumb, c.thumbFrame);
}

void OnPaint(HWND w, TrackbarState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  GuiSkin* skin = GuiGetSkin();
  if (skin && skin->palette) GuiSelectRealizePalette(dc, 0, static_cast<HPALETTE>(skin->palette));
  if (HWND parent = GetParent(w))
    SendMessageA(parent, WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(w));
  Compose(w, s);
  if (s->background)
    DIBBltRGB(dc, 0, 0, s->background->biWidth, DIBHeight(s->background), 0, 0, s->background);
  EndPaint(w, &ps);
}

LRESULT OnNcCreate(HWND w, WPARAM wp, LPARAM lp) {
  auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
  auto* s = static_cast<TrackbarState*>(GlobalAllocPtr(sizeof(TrackbarState)));
  if (!s) return FALSE;
  s->style = cs->style;
  s->rect = RECT{cs->x, cs->y, cs->cx, cs->cy};
  cs->style &= ~0xF000L;
  GuiSetWindowSlot(w, g_baseBytes, 0, reinterpret_cast<LONG_PTR>(s));
  return Base(w, WM_NCCREATE, wp, lp);
}

void OnNcDestroy(HWND w, TrackbarState* s) {
  GlobalFreePtr(s->channel);
  GlobalFreePtr(s->background);
  GlobalFreePtr(s);
  GuiSetWindowSlot(w, g_baseBytes, 0, 0);
}

LRESULT CALLBACK TrackbarProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) return OnNcCreate(w, wp, lp);
  TrackbarState* s = StateOf(w);
  if (!s) return Base(w, msg, wp, lp);
  switch (msg) {
    case WM_NCDESTROY: {
      LRESULT r = Base(w, msg, wp, lp);
      OnNcDestroy(w, s);
      return r;
    }
    case WM_SIZE: {
      LRESULT r = Base(w, msg, wp, lp);
      OnSize(w, s);
      return r;
    }
    case WM_PAINT:
      OnPaint(w, s);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_KEYDOWN:
      if (GuiDialogKeyHelper(w, static_cast<UINT>(wp))) return 0;
      break;
    case TBM_SETTIC:
    case TBM_SETRANGE:
    case TBM_SETRANGEMIN:
    case TBM_SETRANGEMAX:
    case TBM_CLEARTICS:
    case TBM_SETTICFREQ: {
      LRESULT r = Base(w, msg, wp, lp);
      RebuildLayout(w, s);
      return r;
    }
  }
  return Base(w, msg, wp, lp);
}

}  // namespace

int RegisterCGUITrackbar(HINSTANCE instance) {
  InitCommonControls();
  WNDCLASSA base{};
  if (!GetClassInfoA(nullptr, "msctls_trackbar32", &base) &&
      !GetClassInfoA(nullptr, "msctls_trackbar", &base))
    return 0;
  g_baseProc = base.lpfnWndProc;
  g_baseBytes = base.cbWndExtra;
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = TrackbarProc;
  wc.cbWndExtra = g_baseBytes + static_cast<int>(sizeof(LONG_PTR));
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

}  // namespace gui
