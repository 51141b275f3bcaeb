// Skinned frames and dialogs. The frame state is made on WM_NCCREATE and
// freed on WM_NCDESTROY; the non-client area is laid out from the images of
// the frame-kind group in use and painted as one composed 24-bit image.
#include "gui/win32/gui_frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_menu_win32.h"
#include "gui/win32/gui_win32.h"

namespace gui {

const char kDialogClassName[] = "cguiDialogClass";

namespace {

enum PartCode : int {
  kPtClient = 1,
  kPtCaption = 2,
  kPtSysMenu = 3,
  kPtGrip = 4,
  kPtMenu = 5,
  kPtMin = 8,
  kPtMax = 9,
  kPtBorder = 18,
  kPtClose = 20,
  kPtCollapse = 21,
  kPartCount = 22
};

struct StatusPart {
  int left, width, kind;
  char text[129];
  int value, minimum, maximum, step;
};

struct StatusBar {
  int count;
  RECT rect;
  StatusPart parts[10];
};

struct Part {
  RECT rc;
  int code;
  PackedDIB* normal;
  PackedDIB* hot;
};

}  // namespace

struct GuiFrameState {
  uint32_t frameFlags;
  uint32_t style;
  uint32_t dialogFlags;  // 1 collapsed look, 2 collapsed, 4 collapsing, 8/16 track options
  int kind;
  Part parts[kPartCount];
  GuiFrameGroup* group;
  GuiFrameGroup* privateGroup;  // owned
  GuiMenuBar* menuBar;
  GuiFrameSkin* skin;
  StatusBar* status;
  int hotPart;
  uint32_t pressed;  // bit per part code
  int paintSuspended;
  RECT savedRect;
  bool isDialog;
  bool active;
  bool maximizeLook;  // the maximise button shows the restore look
  RECT client;        // window coordinates
};

namespace {

int XOf(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int YOf(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

UINT g_wheelMessage = 0;
int g_dialogSlotOffset = 0;  // the system dialog's window bytes
WNDPROC g_dialogBaseProc = nullptr;
std::vector<HWND> g_frames;
std::vector<RECT> g_snapRects;
constexpr size_t kSnapMax = 256;

GuiFrameState* StateOf(HWND w) {
  if (!w) return nullptr;
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, kDialogClassName) == 0)
    return reinterpret_cast<GuiFrameState*>(GetWindowLongPtrA(w, g_dialogSlotOffset));
  auto it = std::find(g_frames.begin(), g_frames.end(), w);
  if (it == g_frames.end()) return nullptr;
  return reinterpret_cast<GuiFrameState*>(GetWindowLongPtrA(w, 0));
}

int W(const PackedDIB* d) { return d ? d->biWidth : 0; }
int H(const PackedDIB* d) { return d ? DIBHeight(d) : 0; }

uint32_t FlagsFromStyle(uint32_t style) {
  uint32_t f = 0;
  if (style & 0x1) f |= kFfParams;
  if (style & WS_MAXIMIZEBOX) f |= kFfMaximize;
  if (style & WS_MINIMIZEBOX) f |= kFfMinimize;
  if (style & WS_SYSMENU) f |= kFfClose;
  if ((style & WS_CAPTION) == WS_CAPTION || (style & 0xB0000)) f |= kFfCaption;
  bool vscroll = (style & WS_VSCROLL) != 0;
  if (style & WS_BORDER) {
    if (style & 0x2)
      f |= kFfFifth;
    else if (style & 0x4)
      f |= kFfFourth;
    else
      f |= kFfBordered;
  } else if (vscroll) {
    f |= kFfFifth;
    vscroll = false;
  }
  if (style & WS_DLGFRAME) f |= kFfDialogFrame;
  if (vscroll) f |= kFfVScroll;
  if (style & WS_HSCROLL) f |= kFfHScroll;
  if (style & WS_THICKFRAME) f |= kFfThick;
  if (style & 0x100) f |= kFfClose;
  if (style & 0x20) f |= kFfCollapse;
  return f;
}

GuiFrameGroup* GroupFor(GuiFrameState* s) {
  if (s->privateGroup) return s->privateGroup;
  GuiFrameSkin* skin = GuiGetFrameSkin();
  s->skin = skin;
  if (!skin) return nullptr;
  int k = -1;
  if (s->frameFlags & kFfThick)
    k = kKindThick;
  else if (s->frameFlags & kFfDialogFrame)
    k = kKindDialog;
  else if (s->frameFlags & kFfBordered)
    k = kKindBordered;
  else if (s->frameFlags & kFfFourth)
    k = kKindFourth;
  else if (s->frameFlags & kFfFifth)
    k = kKindTooltip;
  if (k < 0) return nullptr;
  GuiFrameGroup* g = &skin->groups[k];
  return g->present && g->loaded ? g : nullptr;
}

PackedDIB* Img(const GuiFrameGroup* g, int index) { return g ? g->images[index] : nullptr; }

// Lays the parts out for a window of w by h; the client rectangle is what
// remains.
void Layout(HWND window, GuiFrameState* s, int w, int h) {
  for (int i = 0; i < kPartCount; ++i)
    s->parts[i] = Part{{0, 0, 0, 0}, i, nullptr, nullptr};
  GuiFrameGroup* g = s->group = GroupFor(s);
  if (!g) {
    s->client = RECT{0, 0, w, h};
    return;
  }
  const bool thick = (s->frameFlags & kFfThick) != 0;
  int topH = H(Img(g, kFrTop + 1)), bottomH = H(Img(g, kFrBottom + 1));
  int leftW = W(Img(g, kFrLeft + 1)), rightW = W(Img(g, kFrRight + 1));
  int capH = (s->frameFlags & kFfCaption) ? H(Img(g, kFrCaption + 1)) : 0;
  int menuH = (s->frameFlags & kFfMenuBar) && s->menuBar ? GuiMenuBarHeight() : 0;
  auto set = [&](int code, RECT rc, int hitCode) {
    s->parts[code].rc = rc;
    s->parts[code].code =
        thick || hitCode < HTLEFT || hitCode > HTBOTTOMRIGHT ? hitCode : kPtBorder;
  };
  set(HTTOP, RECT{0, 0, w, topH}, HTTOP);
  set(HTBOTTOM, RECT{0, h - bottomH, w, h}, HTBOTTOM);
  set(HTLEFT, RECT{0, topH, leftW, h - bottomH}, HTLEFT);
  set(HTRIGHT, RECT{w - rightW, topH, w, h - bottomH}, HTRIGHT);
  int cs = 8;  // corner grab size
  set(HTTOPLEFT, RECT{0, 0, cs, cs}, HTTOPLEFT);
  set(HTTOPRIGHT, RECT{w - cs, 0, w, cs}, HTTOPRIGHT);
  set(HTBOTTOMLEFT, RECT{0, h - cs, cs, h}, HTBOTTOMLEFT);
  set(HTBOTTOMRIGHT, RECT{w - cs, h - cs, w, h}, HTBOTTOMRIGHT);
  if (capH) {
    s->parts[kPtCaption].rc = RECT{0, topH, w, topH + capH};
    PackedDIB* close = Img(g, kFrClose);
    int bw = W(close), bh = H(close);
    int x = w - W(Img(g, kFrCaption + 2)) - bw;
    int y = topH + (capH - bh) / 2;
    auto button = [&](int code, uint32_t flag, int image, const int32_t* offset) {
      if (!(s->frameFlags & flag) || !Img(g, image)) return;
      s->parts[code].rc =
          RECT{x + offset[0], y + offset[1], x + offset[0] + bw, y + offset[1] + bh};
      s->parts[code].normal = Img(g, image);
      s->parts[code].hot = Img(g, image + 1);
      x -= bw + 2;
    };
    button(kPtClose, kFfClose, kFrClose, g->closeOffset);
    bool restore = IsZoomed(window) || s->maximizeLook;
    button(kPtMax, kFfMaximize, restore ? kFrRestore : kFrMaximize, g->maxOffset);
    button(kPtMin, kFfMinimize, kFrMinimize, g->minOffset);
    button(kPtCollapse, kFfCollapse,
           (s->dialogFlags & 1) ? kFrCollapseCollapsed : kFrCollapseExpanded, g->collapseOffset);
    PackedDIB* icon = Img(g, kFrIcon);
    if (icon) {
      int iy = topH + (capH - H(icon)) / 2;
      s->parts[kPtSysMenu].rc = RECT{leftW + 4, iy, leftW + 4 + W(icon), iy + H(icon)};
      s->parts[kPtSysMenu].normal = icon;
    }
  }
  int clientTop = topH + capH + menuH;
  if (menuH) {
    s->parts[kPtMenu].rc = RECT{leftW, topH + capH, w - rightW, clientTop};
    GuiMenuBarLayout(s->menuBar, s->parts[kPtMenu].rc);
  }
  if (s->status && (s->frameFlags & kFfStatusBar)) s->status->rect = s->parts[HTBOTTOM].rc;
  int sbw = GetSystemMetrics(SM_CXVSCROLL), sbh = GetSystemMetrics(SM_CYHSCROLL);
  s->client = RECT{leftW, clientTop, w - rightW, h - bottomH};
  if (s->frameFlags & kFfVScroll) s->client.right -= sbw;
  if (s->frameFlags & kFfHScroll) s->client.bottom -= sbh;
  if (s->client.right < s->client.left) s->client.right = s->client.left;
  if (s->client.bottom < s->client.top) s->client.bottom = s->client.top;
  s->parts[kPtClient].rc = s->client;
}

void LayoutWindow(HWND window, GuiFrameState* s) {
  RECT r;
  GetWindowRect(window, &r);
  Layout(window, s, r.right - r.left, r.bottom - r.top);
}

void PaintStatus(GuiFrameState* s, PackedDIB* canvas) {
  StatusBar* bar = s->status;
  GuiFrameSkin* skin = s->skin;
  if (!bar || !(s->frameFlags & kFfStatusBar) || !skin) return;
  const GuiStatusGroup& g = skin->status;
  HFONT font = static_cast<HFONT>(g.font);
  for (int i = 0; i < bar->count; ++i) {
    const StatusPart& p = bar->parts[i];
    int right = p.width < 0 ? bar->rect.right - 10 : bar->rect.left + p.left + p.width;
    RECT rc{bar->rect.left + p.left, bar->rect.top, right, bar->rect.bottom};
    if (i > 0 && g.separator) {
      int sx = rc.left - W(g.separator) - 1;
      DIBCopyRectClipped(canvas, g.separator, sx,
                         rc.top + (rc.bottom - rc.top - H(g.separator)) / 2, 0, 0, W(g.separator),
                         H(g.separator), true, kKey24);
    }
    if (p.kind == 2) {
      int range = p.maximum - p.minimum;
      if (range > 0 && p.value > p.minimum && p.value <= p.maximum) {
        int len = (rc.right - rc.left) * (p.value - p.minimum) / range;
        PackedDIB* fill = DIBCreate(len > 0 ? len : 1, rc.bottom - rc.top - 9, 24);
        if (fill) {
          DIBFill(fill, g.progressColor);
          DIBCopyRectClipped(canvas, fill, rc.left, rc.top + 4, 0, 0, len, DIBHeight(fill), false,
                             0);
          GlobalFreePtr(fill);
        }
      }
    } else if (p.text[0]) {
      SIZE ts = GuiMeasureSmoothText(font, p.text);
      GuiDrawSmoothText(canvas, font, p.text, rc.left + 4,
                        rc.top + (rc.bottom - rc.top - ts.cy) / 2, g.textColor);
    }
  }
}

void PaintCaptionText(HWND window, GuiFrameState* s, PackedDIB* canvas) {
  GuiFrameGroup* g = s->group;
  if (!g || !(s->frameFlags & kFfCaption) || g->captionTextMode != kCaptionText) return;
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  if (!text[0]) return;
  HFONT font = static_cast<HFONT>(g->captionFont);
  RECT cap = s->parts[kPtCaption].rc;
  SIZE ts = GuiMeasureSmoothText(font, text);
  int x = g->captionCentred ? (cap.left + cap.right - ts.cx) / 2
                            : s->parts[kPtSysMenu].rc.right + 6 + g->captionLeft;
  if (!s->parts[kPtSysMenu].normal && !g->captionCentred) x = cap.left + 10 + g->captionLeft;
  int y = cap.top + (cap.bottom - cap.top - ts.cy) / 2 + g->captionVAdjust;
  GuiDrawSmoothText(canvas, font, text, x + g->captionTextOffset[0], y + g->captionTextOffset[1],
                    g->captionColor[s->active ? 0 : 1]);
}

void PaintNonClient(HWND window, GuiFrameState* s) {
  if (s->paintSuspended || IsIconic(window)) return;
  if (s->menuBar && s->menuBar->menu && s->menuBar->menu->barOpen >= 0) s->active = true;
  RECT wr;
  GetWindowRect(window, &wr);
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  Layout(window, s, w, h);
  GuiFrameGroup* g = s->group;
  if (!g || w <= 0 || h <= 0) return;
  PackedDIB* canvas = DIBCreate(w, h, 24);
  if (!canvas) return;
  const int row = s->active ? 0 : 3;
  auto three = [&](int base, const RECT& rc, bool vertical) {
    DIBComposeThreePieceAt(canvas, rc.left, rc.top,
                           vertical ? rc.bottom - rc.top : rc.right - rc.left, Img(g, base + row),
                           Img(g, base + row + 1), Img(g, base + row + 2), vertical);
  };
  three(kFrTop, s->parts[HTTOP].rc, false);
  three(kFrBottom, s->parts[HTBOTTOM].rc, false);
  RECT side = s->parts[HTLEFT].rc;
  three(kFrLeft, side, true);
  side = s->parts[HTRIGHT].rc;
  three(kFrRight, side, true);
  if (s->frameFlags & kFfCaption) three(kFrCaption, s->parts[kPtCaption].rc, false);
  const int pair = s->active ? 0 : 1;
  auto put = [&](PackedDIB* img, int x, int y) {
    if (img) DIBCopyRectClipped(canvas, img, x, y, 0, 0, W(img), H(img), true, kKey24);
  };
  put(Img(g, kFrCornerTL + pair), 0, 0);
  put(Img(g, kFrCornerTR + pair), w - W(Img(g, kFrCornerTR + pair)), 0);
  put(Img(g, kFrCornerBL + pair), 0, h - H(Img(g, kFrCornerBL + pair)));
  put(Img(g, kFrCornerBR + pair), w - W(Img(g, kFrCornerBR + pair)),
      h - H(Img(g, kFrCornerBR + pair)));
  if ((s->frameFlags & kFfMenuBar) && s->menuBar)
    GuiMenuBarPaint(s->menuBar, canvas, s->parts[kPtMenu].rc, s->active);
  PaintStatus(s, canvas);
  for (int code : {kPtClose, kPtMax, kPtMin, kPtCollapse, kPtSysMenu}) {
    const Part& p = s->parts[code];
    bool lit = (s->pressed & (1u << code)) || (s->hotPart == code && code != kPtSysMenu);
    put(lit && p.hot ? p.hot : p.normal, p.rc.left, p.rc.top);
  }
  PaintCaptionText(window, s, canvas);
  HDC dc = GetWindowDC(window);
  if (dc) {
    HPALETTE pal = s->skin ? static_cast<HPALETTE>(s->skin->palette) : nullptr;
    HPALETTE old = pal ? SelectPalette(dc, pal, !s->active) : nullptr;
    if (pal) RealizePalette(dc);
    ExcludeClipRect(dc, s->client.left, s->client.top, s->client.right, s->client.bottom);
    DIBBltRGB(dc, 0, 0, w, h, 0, 0, canvas);
    if (old) SelectPalette(dc, old, FALSE);
    ReleaseDC(window, dc);
  }
  GlobalFreePtr(canvas);
}

int HitTest(GuiFrameState* s, HWND window, POINT screen) {
  RECT wr;
  GetWindowRect(window, &wr);
  POINT p{screen.x - wr.left, screen.y - wr.top};
  if (PtInRect(&s->client, p)) return HTCLIENT;
  struct {
    int code;
    uint32_t flag;
    int answer;
  } buttons[] = {{kPtClose, kFfClose, HTCLOSE},
                 {kPtMin, kFfMinimize, HTMINBUTTON},
                 {kPtMax, kFfMaximize, HTMAXBUTTON},
                 {kPtCollapse, kFfCollapse, kHitCollapse}};
  for (auto& b : buttons)
    if ((s->frameFlags & b.flag) && PtInRect(&s->parts[b.code].rc, p)) return b.answer;
  if (PtInRect(&s->parts[kPtSysMenu].rc, p)) return HTSYSMENU;
  if (PtInRect(&s->parts[kPtCaption].rc, p)) return HTCAPTION;
  if (PtInRect(&s->parts[kPtMenu].rc, p)) return HTMENU;
  for (int code :
       {HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT, HTBOTTOMRIGHT, HTLEFT, HTRIGHT, HTTOP, HTBOTTOM})
    if (PtInRect(&s->parts[code].rc, p)) return s->parts[code].code;
  return HTNOWHERE;
}

// The part index of a hit-test answer.
int PartOfHit(int hit) {
  switch (hit) {
    case HTCLOSE:
      return kPtClose;
    case HTMINBUTTON:
      return kPtMin;
    case HTMAXBUTTON:
      return kPtMax;
    case kHitCollapse:
      return kPtCollapse;
    case HTSYSMENU:
      return kPtSysMenu;
    case HTGROWBOX:
      return kPtGrip;
    default:
      return -1;
  }
}

HWND NotifyWindow() {
  GuiFrameSkin* skin = GuiGetFrameSkin();
  return skin ? static_cast<HWND>(skin->notifyWindow) : nullptr;
}

void Notify(WPARAM code, HWND window) {
  if (HWND n = NotifyWindow())
    PostMessageA(n, kMsgFrameEvent, code, reinterpret_cast<LPARAM>(window));
}

void ToggleMaximize(HWND window, GuiFrameState* s) {
  bool zoomed = IsZoomed(window) != 0;
  s->maximizeLook = !zoomed;
  Notify(zoomed ? kEventRestored : kEventMinMax, window);
  PostMessageA(window, WM_SYSCOMMAND, zoomed ? SC_RESTORE : SC_MAXIMIZE, 0);
}

void ToggleCollapseLook(HWND window, GuiFrameState* s) {
  s->dialogFlags ^= 1;
  PostMessageA(window, kMsgCollapse, 0, 0);
}

void TriggerPart(HWND window, GuiFrameState* s, int part) {
  switch (part) {
    case kPtSysMenu:
      PostMessageA(window, WM_SYSCOMMAND, SC_MOUSEMENU, 0);
      break;
    case kPtGrip:
      PostMessageA(window, WM_SYSCOMMAND, SC_SIZE, 0);
      break;
    case kPtMin:
      Notify(kEventMinMax, window);
      PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      break;
    case kPtMax:
      ToggleMaximize(window, s);
      break;
    case kPtClose:
      if (HWND n = NotifyWindow()) SendMessageA(n, kMsgPlaySound, SC_CLOSE, 0);
      Notify(kEventClosed, window);
      PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      SendMessageA(window, kMsgSuspendPaint, 0, 0);
      break;
    case kPtCollapse:
      ToggleCollapseLook(window, s);
      break;
    default:
      break;
  }
}

GuiFrameState* CreateState(HWND window, CREATESTRUCTA* cs, bool dialog) {
  if (!g_wheelMessage) g_wheelMessage = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
  auto* s = static_cast<GuiFrameState*>(GlobalAllocPtr(sizeof(GuiFrameState)));
  if (!s) return nullptr;
  s->isDialog = dialog;
  s->hotPart = -1;
  uint32_t style = static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE));
  s->frameFlags = FlagsFromStyle(style);
  s->skin = GuiGetFrameSkin();
  auto* params = (!dialog && (s->frameFlags & kFfParams) && cs)
                     ? static_cast<GuiFrameCreateParams*>(cs->lpCreateParams)
                     : nullptr;
  if (params) {
    if (params->options & kCreateOwnGroup) {
      s->privateGroup = static_cast<GuiFrameGroup*>(GlobalAllocPtr(sizeof(GuiFrameGroup)));
      if (s->privateGroup) *s->privateGroup = params->group;
    }
    if ((params->options & kCreateMenuBar) && params->menuName) {
      GuiMenu* menu = GuiLoadMenu(params->menuInstance, params->menuName);
      s->menuBar = menu ? GuiMenuBarCreate(window, menu) : nullptr;
      if (s->menuBar) s->menuBar->ownsMenu = 1;
      if (!s->menuBar) {
        GuiDestroyMenu(menu);
        GlobalFreePtr(s->privateGroup);
        GlobalFreePtr(s);
        return nullptr;
      }
      s->frameFlags |= kFfMenuBar;
    }
    if ((params->options & kCreateStatusBar) && !(style & (WS_CHILD | WS_POPUP))) {
      s->status = static_cast<StatusBar*>(GlobalAllocPtr(sizeof(StatusBar)));
      if (s->status) {
        s->status->count = 1;
        s->status->parts[0].width = -1;
      }
    }
    cs->lpCreateParams = reinterpret_cast<void*>(params->appParam);
  }
  if (style & WS_SYSMENU) style &= ~WS_CAPTION;
  s->style = style & ~WS_SYSMENU;
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(style));
  s->kind = (style & WS_CHILD) ? 1 : (style & WS_POPUP) ? 2 : 0;
  g_frames.push_back(window);
  Notify(kEventCreated, window);
  return s;
}

void DestroyState(HWND window, GuiFrameState* s) {
  g_frames.erase(std::remove(g_frames.begin(), g_frames.end(), window), g_frames.end());
  if (!s) return;
  if (s->menuBar) {
    if (s->menuBar->ownsMenu) GuiDestroyMenu(s->menuBar->menu);
    GuiMenuBarDestroy(s->menuBar);
  }
  SafeGlobalFreePtr(s->status);
  SafeGlobalFreePtr(s->privateGroup);
  GlobalFreePtr(s);
}

StatusPart* StatusPartAt(StatusBar* bar, WPARAM index) {
  if (index == 255) index = 0;
  if (index >= static_cast<WPARAM>(bar->count)) return nullptr;
  return &bar->parts[index];
}

LRESULT StatusRequest(HWND window, GuiFrameState* s, UINT msg, WPARAM wp, LPARAM lp) {
  StatusBar* bar = s->status;
  if (!bar || !(s->frameFlags & kFfStatusBar)) return 0;
  const char* text = reinterpret_cast<const char*>(lp);
  LRESULT result = 0;
  switch (msg) {
    case kMsgStatusSetText:
      if (wp == 256) {
        for (int i = 0; i < bar->count; ++i)
          bar->parts[i].text[0] = 0;
        result = 0;
      } else if (StatusPart* p = StatusPartAt(bar, wp)) {
        lstrcpynA(p->text, text ? text : "", sizeof p->text);
        result = 1;
      }
      break;
    case kMsgStatusGetText:
      if (StatusPart* p = StatusPartAt(bar, wp)) {
        if (lp) lstrcpyA(reinterpret_cast<char*>(lp), p->text);
        return 1;
      }
      return 0;
    case kMsgStatusTextLength:
      if (StatusPart* p = StatusPartAt(bar, wp)) return lstrlenA(p->text);
      return 0;
    case kMsgStatusSetParts: {
      if (wp < 1 || wp > 10 || !lp) return 0;
      const int* rights = reinterpret_cast<const int*>(lp);
      int sepW = W(s->skin ? s->skin->status.separator : nullptr);
      int left = 0;
      for (WPARAM i = 0; i < wp; ++i) {
        bar->parts[i].left = i == 0 ? 0 : left + 3 + sepW;
        bar->parts[i].width = rights[i] < 0 ? -1 : std::max(0, rights[i] - bar->parts[i].left);
        left = rights[i] < 0 ? left : rights[i];
      }
      bar->count = static_cast<int>(wp);
      result = 1;
      break;
    }
    case kMsgStatusGetParts: {
      if (wp < 1 || !lp) return 0;
      int n = std::min<int>(bar->count, static_cast<int>(wp));
      int* out = reinterpret_cast<int*>(lp);
      for (int i = 0; i < n; ++i)
        out[i] = bar->parts[i].width < 0 ? -1 : bar->parts[i].left + bar->parts[i].width;
      return n;
    }
    case kMsgStatusSetKind: {
      if (wp < 1 || wp > static_cast<WPARAM>(bar->count) || !lp) return 0;
      StatusPart& p = bar->parts[wp - 1];
      p.kind = static_cast<int>(lp);
      p.text[0] = 0;
      if (p.kind == 2) p = StatusPart{p.left, p.width, 2, {}, 0, 0, 100, 5};
      result = 1;
      break;
    }
    case kMsgStatusGetRect: {
      StatusPart* p = StatusPartAt(bar, wp);
      if (!p || !lp) return 0;
      *reinterpret_cast<RECT*>(lp) =
          RECT{bar->rect.left + p->left, bar->rect.top,
               p->width < 0 ? bar->rect.right - 10 : bar->rect.left + p->left + p->width,
               bar->rect.bottom};
      return 1;
    }
    case kMsgStatusSetRange: {
      StatusPart* p = StatusPartAt(bar, wp);
      if (!p || p->kind != 2) return 0;
      LRESULT old = MAKELONG(p->minimum, p->maximum);
      int a = LOWORD(lp), b = HIWORD(lp);
      p->minimum = std::min(a, b);
      p->maximum = std::max(a, b);
      return old;
    }
    case kMsgStatusSetValue: {
      StatusPart* p = StatusPartAt(bar, wp);
      if (!p || p->kind != 2) return 0;
      int v = static_cast<int>(lp);
      if (v < p->minimum || v > p->maximum) return -1;
      LRESULT old = p->value;
      p->value = v;
      GuiFrameRedrawNonClient(window);
      return old;
    }
    default:
      return 0;
  }
  GuiFrameRedrawNonClient(window);
  return result;
}

// Snapping while a frame is moved: edges within 10 pixels of another frame's
// edge, or of the main window's client edges, jump to touch.
int AddSnapRect(HWND other, LPARAM self) {
  if (other == reinterpret_cast<HWND>(self) || !IsWindowVisible(other)) return 1;
  HWND notify = NotifyWindow();
  if (other != notify && GetParent(other) != notify && GetWindow(other, GW_OWNER) != notify)
    return 1;
  RECT r;
  GetWindowRect(other, &r);
  if (g_snapRects.size() < kSnapMax) g_snapRects.push_back(r);
  return 1;
}

void BeginSnap(HWND window) {
  g_snapRects.clear();
  GuiEnumFrameWindows(AddSnapRect, reinterpret_cast<LPARAM>(window));
  HWND notify = NotifyWindow();
  if (notify && notify != window) {
    RECT c;
    GetClientRect(notify, &c);
    MapWindowPoints(notify, nullptr, reinterpret_cast<POINT*>(&c), 2);
    const RECT strips[4] = {{c.left - 5000, c.top, c.left, c.bottom},
                            {c.right, c.top, c.right + 5000, c.bottom},
                            {c.left, c.top - 5000, c.right, c.top},
                            {c.left, c.bottom, c.right, c.bottom + 5000}};
    for (const RECT& r : strips)
      if (g_snapRects.size() < kSnapMax) g_snapRects.push_back(r);
  }
}

void Snap(WINDOWPOS* pos) {
  if (pos->flags & SWP_NOMOVE) return;
  int bestX = 10, bestY = 10, dx = 0, dy = 0;
  const int l = pos->x, t = pos->y, r = pos->x + pos->cx, b = pos->y + pos->cy;
  for (const RECT& s : g_snapRects) {
    if (t < s.bottom && b > s.top) {  // overlapping vertically: snap horizontally
      int d1 = s.right - l, d2 = s.left - r;
      if (std::abs(d1) < bestX) {
        bestX = std::abs(d1);
        dx = d1;
      }
      if (std::abs(d2) < bestX) {
        bestX = std::abs(d2);
        dx = d2;
      }
    }
    if (l < s.right && r > s.left) {
      int d1 = s.bottom - t, d2 = s.top - b;
      if (std::abs(d1) < bestY) {
        bestY = std::abs(d1);
        dy = d1;
      }
      if (std::abs(d2) < bestY) {
        bestY = std::abs(d2);
        dy = d2;
      }
    }
  }
  pos->x += dx;
  pos->y += dy;
  RECT desk;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &desk, 0);
  if (pos->x < desk.left) pos->x = desk.left;
  if (pos->y < desk.top) pos->y = desk.top;
  if (pos->x + pos->cx > desk.right) pos->x = desk.right - pos->cx;
  if (pos->y + pos->cy > desk.bottom) pos->y = desk.bottom - pos->cy;
}

int CaptionHeight(const GuiFrameGroup* g) { return H(Img(g, kFrCaption + 1)); }

// The dialog's own procedure, or null.
DLGPROC DialogProcOf(HWND window) {
  return reinterpret_cast<DLGPROC>(GetWindowLongPtrA(window, DWLP_DLGPROC));
}

LRESULT Collapse(HWND window, GuiFrameState* s, WPARAM code, LPARAM lp) {
  DLGPROC own = DialogProcOf(window);
  if (!own) return 0;
  if (code == 1) {
    if (!(s->frameFlags & kFfCollapse)) return -1;
    return (s->dialogFlags & 6) ? 1 : 0;
  }
  if (!(s->frameFlags & kFfCollapse)) return 0;
  GuiFrameGroup* g = s->group ? s->group : GroupFor(s);
  switch (code) {
    case 2:
      s->dialogFlags ^= lp ? 16u : 8u;
      return 0;
    case 3:
      s->dialogFlags &= ~7u;
      return 0;
    case 4:
      if (!(s->dialogFlags & 2) || !g) return 0;
      SetWindowPos(window, nullptr, 0, 0, g->collapsedWidth,
                   CaptionHeight(g) + H(Img(g, kFrTop + 1)) + H(Img(g, kFrBottom + 1)),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    default:
      break;
  }
  bool collapsing = !(s->dialogFlags & 2);
  if (collapsing) {
    s->dialogFlags |= 4;
    GetWindowRect(window, &s->savedRect);
    SIZE size{g ? g->collapsedWidth : 0, 0};
    if (!own(window, kMsgCollapse, reinterpret_cast<WPARAM>(&size), 1) && g) {
      size.cx = g->collapsedWidth > 0 ? g->collapsedWidth : s->savedRect.right - s->savedRect.left;
      size.cy = CaptionHeight(g) + H(Img(g, kFrTop + 1)) + H(Img(g, kFrBottom + 1));
    }
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    s->dialogFlags = (s->dialogFlags & ~4u) | 2u | 1u;
  } else {
    RECT& r = s->savedRect;
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    s->dialogFlags &= ~3u;
  }
  if (HWND n = NotifyWindow())
    SendMessageA(n, kMsgPlaySound, (s->dialogFlags & 2) ? SC_MINIMIZE : SC_MAXIMIZE, 0);
  SetFocus(window);
  own(window, kMsgCollapse, (s->dialogFlags & 2) ? 1 : 0, 0);
  return 0;
}

// Messages shared by frames and dialogs; *handled tells whether the
// default procedure must still run.
LRESULT Common(HWND window, GuiFrameState* s, UINT msg, WPARAM wp, LPARAM lp, bool* handled) {
  *handled = true;
  switch (msg) {
    case WM_NCCALCSIZE: {
      s->paintSuspended = 0;
      RECT* r = reinterpret_cast<RECT*>(lp);
      Layout(window, s, r->right - r->left, r->bottom - r->top);
      RECT win = *r;
      r->left = win.left + s->client.left;
      r->top = win.top + s->client.top;
      r->right = win.left + s->client.right;
      r->bottom = win.top + s->client.bottom;
      return wp ? (WVR_VALIDRECTS | WVR_REDRAW) : 0;
    }
    case WM_NCPAINT:
      s->active = GetActiveWindow() == window || (s->menuBar && s->menuBar->openPopup);
      PaintNonClient(window, s);
      return 0;
    case WM_NCACTIVATE:
      // While a menu of this frame is open the frame keeps its active look.
      s->active = wp != 0 || (s->menuBar && s->menuBar->openPopup);
      PaintNonClient(window, s);
      return 1;
    case WM_NCHITTEST: {
      LayoutWindow(window, s);
      return HitTest(s, window, POINT{XOf(lp), YOf(lp)});
    }
    case WM_NCMOUSEMOVE: {
      int part = PartOfHit(static_cast<int>(wp));
      if (wp == HTMENU && s->menuBar) {
        RECT wr;
        GetWindowRect(window, &wr);
        GuiMenuBarMouse(s->menuBar, WM_MOUSEMOVE, POINT{XOf(lp) - wr.left, YOf(lp) - wr.top});
      }
      if (part != s->hotPart &&
          GetKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) >= 0) {
        s->hotPart = part;
        PaintNonClient(window, s);
      }
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: {
      int hit = static_cast<int>(wp);
      if (hit == HTCAPTION) {
        if (msg == WM_NCLBUTTONDBLCLK) {
          if (!(s->frameFlags & kFfMaximize))
            ToggleCollapseLook(window, s);
          else
            ToggleMaximize(window, s);
          return 0;
        }
        *handled = false;
        return 0;
      }
      if (hit == HTSYSMENU) {
        if (msg == WM_NCLBUTTONDBLCLK) {
          Notify(kEventClosed, window);
          PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
      }
      int part = PartOfHit(hit);
      if (part >= 0) {
        s->pressed |= 1u << part;
        GuiBeginPopupCapture(window);
        PaintNonClient(window, s);
        return 0;
      }
      if (hit == HTMENU && s->menuBar) {
        RECT wr;
        GetWindowRect(window, &wr);
        GuiMenuBarMouse(s->menuBar, WM_LBUTTONDOWN, POINT{XOf(lp) - wr.left, YOf(lp) - wr.top});
        return 0;
      }
      *handled = false;  // borders: the system sizes
      return 0;
    }
    case WM_NCLBUTTONUP: {
      if (!s->pressed) {
        *handled = false;
        return 0;
      }
      int part = PartOfHit(static_cast<int>(wp));
      uint32_t pressed = s->pressed;
      s->pressed = 0;
      GuiEndPopupCapture();
      PaintNonClient(window, s);
      if (part >= 0 && (pressed & (1u << part))) TriggerPart(window, s, part);
      return 0;
    }
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
      return 0;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lp);
      GuiFrameGroup* g = s->group ? s->group : GroupFor(s);
      if (g) {
        int buttons = 0;
        for (int code : {kPtClose, kPtMax, kPtMin, kPtCollapse})
          if (s->parts[code].normal) buttons += W(s->parts[code].normal) + 2;
        int capFixed = W(Img(g, kFrCaption)) + W(Img(g, kFrCaption + 2)) + buttons;
        int topFixed = W(Img(g, kFrTop)) + W(Img(g, kFrTop + 2));
        mm->ptMinTrackSize.x =
            std::max(capFixed, topFixed) + W(Img(g, kFrCornerTL)) + W(Img(g, kFrCornerTR)) + 1;
        mm->ptMinTrackSize.y = CaptionHeight(g) + H(Img(g, kFrTop + 1)) + H(Img(g, kFrBottom + 1)) +
                               (s->menuBar ? GuiMenuBarHeight() : 0);
        if (s->dialogFlags & 2) {
          RECT r;
          GetWindowRect(window, &r);
          if (!(s->dialogFlags & 8)) mm->ptMinTrackSize.x = mm->ptMaxTrackSize.x = r.right - r.left;
          if (!(s->dialogFlags & 16))
            mm->ptMinTrackSize.y = mm->ptMaxTrackSize.y = r.bottom - r.top;
        }
      }
      return 0;
    }
    case WM_ENTERSIZEMOVE:
      BeginSnap(window);
      *handled = false;
      return 0;
    case WM_EXITSIZEMOVE:
      g_snapRects.clear();
      *handled = false;
      return 0;
    case WM_WINDOWPOSCHANGING:
      if (!g_snapRects.empty()) Snap(reinterpret_cast<WINDOWPOS*>(lp));
      *handled = false;
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (!(pos->flags & SWP_NOSIZE) || !(pos->flags & SWP_NOMOVE)) LayoutWindow(window, s);
      if (!IsZoomed(window) && s->maximizeLook && !(pos->flags & SWP_NOSIZE))
        s->maximizeLook = false;
      *handled = false;
      return 0;
    }
    case WM_SETTEXT: {
      LRESULT r =
          s->isDialog ? DefDlgProcA(window, msg, wp, lp) : DefWindowProcA(window, msg, wp, lp);
      PaintNonClient(window, s);
      return r;
    }
    case kMsgGetFrameState:
      return reinterpret_cast<LRESULT>(s);
    case kMsgSuspendPaint:
      s->paintSuspended = 1;
      return 0;
    case kMsgMenuClosed:
      if (wp == 1 && s->menuBar) {
        s->menuBar->openPopup = nullptr;
        s->menuBar->hot = -1;
        if (s->menuBar->menu) s->menuBar->menu->barOpen = -1;
        PaintNonClient(window, s);
      }
      SendMessageA(NotifyWindow() ? NotifyWindow() : window, WM_EXITMENULOOP, wp == 1 ? 0 : 1, 0);
      return 0;
    case WM_MOUSEACTIVATE:
      if (s->menuBar && s->menuBar->openPopup && LOWORD(lp) == HTMENU) return MA_NOACTIVATE;
      *handled = false;
      return 0;
    case WM_SYSCHAR:
      if (s->menuBar && !s->menuBar->disabled &&
          GuiMenuBarMnemonic(s->menuBar, static_cast<char>(wp)))
        return 0;
      *handled = false;
      return 0;
    case WM_ERASEBKGND: {
      GuiFrameGroup* g = s->group;
      PackedDIB* tile = Img(g, kFrBackground);
      if (!(GetWindowLongA(window, GWL_STYLE) & 0x1000) || !tile) {
        *handled = false;
        return 0;
      }
      RECT rc;
      GetClientRect(window, &rc);
      DIBTileRect(reinterpret_cast<HDC>(wp), tile, &rc);
      return 1;
    }
    default:
      if (msg >= kMsgStatusSetText && msg <= WM_APP + 0x51a)
        return StatusRequest(window, s, msg, wp, lp);
      if (msg >= WM_USER + 1 && msg <= WM_USER + 14) {
        static const UINT map[] = {0,
                                   kMsgStatusSetText,
                                   kMsgStatusGetText,
                                   kMsgStatusTextLength,
                                   kMsgStatusSetParts,
                                   0,
                                   kMsgStatusGetParts,
                                   0,
                                   0,
                                   0,
                                   kMsgStatusGetRect,
                                   0,
                                   0,
                                   0,
                                   0};
        UINT m = map[msg - WM_USER];
        return m ? StatusRequest(window, s, m, wp, lp) : 0;
      }
      if (g_wheelMessage && msg == g_wheelMessage) {
        HWND focus = GetFocus();
        if (focus) SendMessageA(focus, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(wp)), lp);
        return 0;
      }
      *handled = false;
      return 0;
  }
}

}  // namespace

GuiFrameState* GuiFrameStateOf(HWND window) { return StateOf(window); }

GuiMenuBar* GuiFrameMenuBar(HWND window) {
  GuiFrameState* s = StateOf(window);
  return s ? s->menuBar : nullptr;
}

void GuiFrameSetMenuBar(HWND window, GuiMenuBar* bar, bool on) {
  GuiFrameState* s = StateOf(window);
  if (!s) return;
  s->menuBar = bar;
  if (on)
    s->frameFlags |= kFfMenuBar | kFfStatusBar;
  else
    s->frameFlags &= ~(kFfMenuBar | kFfStatusBar);
  if (on && !s->status) {
    s->status = static_cast<StatusBar*>(GlobalAllocPtr(sizeof(StatusBar)));
    if (s->status) {
      s->status->count = 1;
      s->status->parts[0].width = -1;
    }
  }
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT GuiFrameMenuBarRect(HWND window) {
  GuiFrameState* s = StateOf(window);
  if (!s) return RECT{0, 0, 0, 0};
  LayoutWindow(window, s);
  return s->parts[kPtMenu].rc;
}

void GuiFrameRedrawNonClient(HWND window) {
  if (GuiFrameState* s = StateOf(window)) PaintNonClient(window, s);
}

int GuiEnumFrameWindows(GuiFrameEnumFn fn, LPARAM arg) {
  if (!fn) return 0;
  std::vector<HWND> copy = g_frames;
  for (HWND w : copy)
    if (!fn(w, arg)) return 0;
  return 1;
}

LRESULT CALLBACK GuiDefFrameProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    GuiFrameState* s = CreateState(window, reinterpret_cast<CREATESTRUCTA*>(lp), false);
    if (!s) return 0;
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(s));
    return DefWindowProcA(window, msg, wp, lp);
  }
  GuiFrameState* s = StateOf(window);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, 0, 0);
    DestroyState(window, s);
    return DefWindowProcA(window, msg, wp, lp);
  }
  if (!s || (IsIconic(window) && msg != WM_GETMINMAXINFO))
    return DefWindowProcA(window, msg, wp, lp);
  bool handled = false;
  LRESULT r = Common(window, s, msg, wp, lp, &handled);
  return handled ? r : DefWindowProcA(window, msg, wp, lp);
}

LRESULT CALLBACK GuiDialogProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    GuiFrameState* s = CreateState(window, reinterpret_cast<CREATESTRUCTA*>(lp), true);
    if (!s) return 0;
    SetWindowLongPtrA(window, g_dialogSlotOffset, reinterpret_cast<LONG_PTR>(s));
    return CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
  }
  GuiFrameState* s = StateOf(window);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(window, g_dialogSlotOffset, 0);
    DestroyState(window, s);
    return CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
  }
  if (!s) return CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
  switch (msg) {
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_KEYMENU || (wp & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case kMsgCollapse:
      return Collapse(window, s, wp, lp);
    case WM_STYLECHANGED:
      if (wp == static_cast<WPARAM>(GWL_STYLE))
        s->frameFlags = FlagsFromStyle(reinterpret_cast<STYLESTRUCT*>(lp)->styleNew) |
                        (s->frameFlags & (kFfMenuBar | kFfStatusBar));
      break;
    case WM_ERASEBKGND: {
      DLGPROC own = DialogProcOf(window);
      if (own && own(window, msg, wp, lp)) return 1;
      break;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      DLGPROC own = DialogProcOf(window);
      if (own) {
        INT_PTR r = own(window, msg, wp, lp);
        if (r) return r;
      }
      char cls[64] = {};
      GetClassNameA(reinterpret_cast<HWND>(lp), cls, sizeof cls);
      CharLowerA(cls);
      if (std::strstr(cls, "cgui")) return SendMessageA(reinterpret_cast<HWND>(lp), msg, wp, lp);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_INITDIALOG:
    case WM_SIZE: {
      RECT r;
      GetWindowRect(window, &r);
      SetWindowRgn(window, CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top), TRUE);
      break;
    }
    default:
      break;
  }
  if (IsIconic(window)) return CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
  bool handled = false;
  LRESULT r = Common(window, s, msg, wp, lp, &handled);
  return handled ? r : CallWindowProcA(g_dialogBaseProc, window, msg, wp, lp);
}

int GuiRegisterDialogClass(HINSTANCE instance) {
  WNDCLASSEXA base{};
  base.cbSize = sizeof base;
  if (!GetClassInfoExA(nullptr, "#32770", &base)) return 0;
  g_dialogBaseProc = base.lpfnWndProc;
  g_dialogSlotOffset = base.cbWndExtra;
  WNDCLASSEXA wc = base;
  wc.cbWndExtra = base.cbWndExtra + static_cast<int>(sizeof(LONG_PTR));
  wc.style = 0x680B;
  wc.lpfnWndProc = GuiDialogProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(2982));
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(3031));
  if (!wc.hCursor) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = kDialogClassName;
  wc.hIconSm = nullptr;
  return RegisterClassExA(&wc) ? 1 : 0;
}

int GuiAdjustWindowRect(RECT* rect, DWORD style, BOOL hasMenu) {
  GuiFrameSkin* skin = GuiGetFrameSkin();
  if (!skin || !rect) return 0;
  if (!(style & (WS_THICKFRAME | WS_DLGFRAME | WS_BORDER))) return 1;
  const GuiFrameGroup* g = (style & WS_THICKFRAME) ? &skin->groups[kKindThick]
                           : (style & WS_DLGFRAME) ? &skin->groups[kKindDialog]
                                                   : &skin->groups[kKindBordered];
  rect->bottom += H(Img(g, kFrTop + 1)) + H(Img(g, kFrBottom + 1));
  if (style & WS_CAPTION) rect->bottom += CaptionHeight(g);
  if (hasMenu) rect->bottom += GuiMenuBarHeight();
  rect->right += W(Img(g, kFrLeft + 1)) + W(Img(g, kFrRight + 1));
  return 1;
}

HWND GuiCreateWindowEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x,
                       int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                       GuiFrameCreateParams* params) {
  if (params && params->group.present) {
    params->options |= kCreateOwnGroup;
    GuiLoadFrameGroupImages(&params->group, false);
    if (!params->group.captionFont) {
      LOGFONTA lf{};
      lf.lfHeight = params->group.captionHeight;
      lf.lfWidth = params->group.captionWidth;
      lf.lfWeight = 400;
      lf.lfOutPrecision = OUT_TT_PRECIS;
      lstrcpynA(lf.lfFaceName, params->group.captionFace, LF_FACESIZE);
      params->group.captionFont = params->group.captionFace[0]
                                      ? static_cast<GuiHandle>(CreateFontIndirectA(&lf))
                                      : static_cast<GuiHandle>(GetStockObject(DEFAULT_GUI_FONT));
    }
  }
  return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu,
                         instance, params);
}

}  // namespace gui
