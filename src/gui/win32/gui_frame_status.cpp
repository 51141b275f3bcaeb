// The frame's status bar: its parts (text or progress), painted in the
// bottom border, and the messages that set and read them.
#include <algorithm>

#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_frame_internal.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

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
      if (wp < 1 || wp > kStatusPartMax || !lp) return 0;
      const int* rights = reinterpret_cast<const int*>(lp);
      int sepW = DIBWidthOf(s->skin ? s->skin->status.separator : nullptr);
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
      if (p.kind == kStatusKindProgress) p = StatusPart{p.left, p.width, p.kind, {}, 0, 0, 100, 5};
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
      if (!p || p->kind != kStatusKindProgress) return 0;
      LRESULT old = MAKELONG(p->minimum, p->maximum);
      int a = LOWORD(lp), b = HIWORD(lp);
      p->minimum = std::min(a, b);
      p->maximum = std::max(a, b);
      return old;
    }
    case kMsgStatusSetValue: {
      StatusPart* p = StatusPartAt(bar, wp);
      if (!p || p->kind != kStatusKindProgress) return 0;
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

}  // namespace

StatusBar* CreateStatusBar() {
  auto* bar = static_cast<StatusBar*>(GlobalAllocPtr(sizeof(StatusBar)));
  if (bar) {
    bar->count = 1;
    bar->parts[0].width = -1;
  }
  return bar;
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
      int sx = rc.left - DIBWidthOf(g.separator) - 1;
      DIBCopyRectClipped(canvas, g.separator, sx,
                         rc.top + (rc.bottom - rc.top - DIBHeightOf(g.separator)) / 2, 0, 0,
                         DIBWidthOf(g.separator), DIBHeightOf(g.separator), true, kKey24);
    }
    if (p.kind == kStatusKindProgress) {
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

bool StatusMessage(HWND window, GuiFrameState* s, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
  if (msg >= kMsgStatusSetText && msg <= kMsgStatusLast) {
    *result = StatusRequest(window, s, msg, wp, lp);
    return true;
  }
  // The common status control's messages, for code written against it.
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
    const UINT m = map[msg - WM_USER];
    *result = m ? StatusRequest(window, s, m, wp, lp) : 0;
    return true;
  }
  return false;
}

}  // namespace gui
