// The frame's caption and borders: the layout of the non-client parts from
// the group's images, the composed painting, hit-testing and the caption
// buttons.
#include <algorithm>

#include "gui/CWF_TT.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_frame_internal.h"
#include "gui/win32/gui_menu_win32.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

// Mode 3: the window text rendered by the TrueType cache in the caption
// colour, laid over the caption with its background keyed out.
void BakeCaptionText(const GuiFrameGroup* g, const char* text, COLORREF colour, int x, int y,
                     PackedDIB* canvas) {
  CwfDevice* dev = CwfOpenScratchDevice(g->captionWidth, g->captionHeight);
  if (!dev) return;
  if (dev->SelectFont(g->captionFace[0] ? g->captionFace : nullptr, g->captionWidth,
                      g->captionHeight, 400)) {
    PackedDIB* ink = DIBCreate(8, 8, 8);
    if (ink) {
      RgbQuad* table = DIBColorTable(ink);
      table[1] = RgbQuad{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
      DIBFill(ink, 1);
      CwfMat2 m;
      CwfSetMat2(&m, 1, 1, 0, 0);
      CwfTextMetrics metrics{};
      if (PackedDIB* line = CwfRenderTextToDIB(dev, text, ink, &m, &metrics)) {
        DIBCopyRectClipped(canvas, line, x, y, 0, 0, DIBWidth(line), DIBHeight(line), true, kKey8);
        GlobalFreePtr(line);
      }
      GlobalFreePtr(ink);
    }
  }
  delete dev;
  CwfFlushGlyphCache();
}

// Mode 1 draws the text over the caption; mode 3 bakes it in; mode 2 keeps
// the caption images as given, their text included.
void PaintCaptionText(HWND window, GuiFrameState* s, PackedDIB* canvas) {
  GuiFrameGroup* g = s->group;
  if (!g || !(s->frameFlags & kFfCaption)) return;
  if (g->captionTextMode != kCaptionText && g->captionTextMode != kCaptionBaked) return;
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
  const COLORREF colour = g->captionColor[s->active ? 0 : 1];
  x += g->captionTextOffset[0];
  y += g->captionTextOffset[1];
  if (g->captionTextMode == kCaptionBaked)
    BakeCaptionText(g, text, colour, x, y, canvas);
  else
    GuiDrawSmoothText(canvas, font, text, x, y, colour);
}

}  // namespace

void Layout(HWND window, GuiFrameState* s, int w, int h) {
  for (int i = 0; i < kPartCount; ++i)
    s->parts[i] = Part{{0, 0, 0, 0}, i, nullptr, nullptr};
  GuiFrameGroup* g = s->group = GroupFor(s);
  if (!g) {
    s->client = RECT{0, 0, w, h};
    return;
  }
  const bool thick = (s->frameFlags & kFfThick) != 0;
  int topH = DIBHeightOf(GroupImage(g, kFrTop + kPieceMiddle)),
      bottomH = DIBHeightOf(GroupImage(g, kFrBottom + kPieceMiddle));
  int leftW = DIBWidthOf(GroupImage(g, kFrLeft + kPieceMiddle)),
      rightW = DIBWidthOf(GroupImage(g, kFrRight + kPieceMiddle));
  int capH =
      (s->frameFlags & kFfCaption) ? DIBHeightOf(GroupImage(g, kFrCaption + kPieceMiddle)) : 0;
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
    PackedDIB* close = GroupImage(g, kFrClose);
    int bw = DIBWidthOf(close), bh = DIBHeightOf(close);
    int x = w - DIBWidthOf(GroupImage(g, kFrCaption + kPieceEnd)) - bw;
    int y = topH + (capH - bh) / 2;
    auto button = [&](int code, uint32_t flag, int image, const int32_t* offset) {
      if (!(s->frameFlags & flag) || !GroupImage(g, image)) return;
      s->parts[code].rc =
          RECT{x + offset[0], y + offset[1], x + offset[0] + bw, y + offset[1] + bh};
      s->parts[code].normal = GroupImage(g, image);
      s->parts[code].hot = GroupImage(g, image + 1);
      x -= bw + 2;
    };
    button(kPtClose, kFfClose, kFrClose, g->closeOffset);
    bool restore = IsZoomed(window) || s->maximizeLook;
    button(kPtMax, kFfMaximize, restore ? kFrRestore : kFrMaximize, g->maxOffset);
    button(kPtMin, kFfMinimize, kFrMinimize, g->minOffset);
    button(kPtCollapse, kFfCollapse,
           (s->dialogFlags & kDlgCollapsedLook) ? kFrCollapseCollapsed : kFrCollapseExpanded,
           g->collapseOffset);
    PackedDIB* icon = GroupImage(g, kFrIcon);
    if (icon) {
      int iy = topH + (capH - DIBHeightOf(icon)) / 2;
      s->parts[kPtSysMenu].rc =
          RECT{leftW + 4, iy, leftW + 4 + DIBWidthOf(icon), iy + DIBHeightOf(icon)};
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
  const int row = s->active ? 0 : kInactiveRow;
  auto three = [&](int base, const RECT& rc, bool vertical) {
    DIBComposeThreePieceAt(canvas, rc.left, rc.top,
                           vertical ? rc.bottom - rc.top : rc.right - rc.left,
                           GroupImage(g, base + row), GroupImage(g, base + row + 1),
                           GroupImage(g, base + row + 2), vertical);
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
    if (img)
      DIBCopyRectClipped(canvas, img, x, y, 0, 0, DIBWidthOf(img), DIBHeightOf(img), true, kKey24);
  };
  put(GroupImage(g, kFrCornerTL + pair), 0, 0);
  put(GroupImage(g, kFrCornerTR + pair), w - DIBWidthOf(GroupImage(g, kFrCornerTR + pair)), 0);
  put(GroupImage(g, kFrCornerBL + pair), 0, h - DIBHeightOf(GroupImage(g, kFrCornerBL + pair)));
  put(GroupImage(g, kFrCornerBR + pair), w - DIBWidthOf(GroupImage(g, kFrCornerBR + pair)),
      h - DIBHeightOf(GroupImage(g, kFrCornerBR + pair)));
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

void ToggleMaximize(HWND window, GuiFrameState* s) {
  bool zoomed = IsZoomed(window) != 0;
  s->maximizeLook = !zoomed;
  Notify(zoomed ? kEventRestored : kEventMinMax, window);
  PostMessageA(window, WM_SYSCOMMAND, zoomed ? SC_RESTORE : SC_MAXIMIZE, 0);
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

int CaptionHeight(const GuiFrameGroup* g) {
  return DIBHeightOf(GroupImage(g, kFrCaption + kPieceMiddle));
}

int CollapsedHeight(const GuiFrameGroup* g) {
  return CaptionHeight(g) + DIBHeightOf(GroupImage(g, kFrTop + kPieceMiddle)) +
         DIBHeightOf(GroupImage(g, kFrBottom + kPieceMiddle));
}

}  // namespace gui
