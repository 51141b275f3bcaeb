// AnimButton: an image button drawn wholly from a resource pack: a base
// image, frames played while the pointer is over the mask's opaque pixels, a
// click image while held, and the mask that decides what belongs to the
// button. Its caption carries placement and animation markup. Differences
// from the design it follows: the frame count is bounded by the frame cache
// and the rate by 1..1000 per second; cached frames are keyed by the whole
// pattern; a pattern that is not one integer conversion loads no frames; the
// pack is read through functions the application installs.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "gui/anim_button_model.h"
#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "AnimButton";
constexpr UINT_PTR kFrameTimer = 11;
constexpr uint32_t kArmed = 4, kPressedOutside = 16, kAnimating = 32, kCaptured = 64;
constexpr int kSlotState = 0, kSlotTip = 1;

struct AnimButtonShared {
  CRITICAL_SECTION lock;
  void* index;
  HWND captured;
  AnimFrameCache cache;
};

struct AnimButtonState {
  char dataPath[MAX_PATH];
  char indexPath[MAX_PATH];
  AnimCaption caption;
  int32_t frame;
  uint32_t flags;
  PackedDIB* base;
  PackedDIB* frameImage;  // owned while idle, handed to the cache while animating
  PackedDIB* click;
  PackedDIB* mask;
  void* index;
};

struct AnimButtonTip {
  int32_t hasText;
  int32_t tracking;
  char text[32];
};

AnimButtonShared* g_shared = nullptr;
AnimTooltipShow g_show = nullptr;
AnimTooltipHide g_hide = nullptr;
AnimLoadIndex g_loadIndex = nullptr;
AnimLoadBitmap g_loadBitmap = nullptr;
AnimFreeIndex g_freeIndex = nullptr;

struct Lock {
  Lock() { EnterCriticalSection(&g_shared->lock); }
  ~Lock() { LeaveCriticalSection(&g_shared->lock); }
};

AnimButtonState* StateOf(HWND w) {
  return reinterpret_cast<AnimButtonState*>(GuiGetWindowSlot(w, 0, kSlotState));
}
AnimButtonTip* TipOf(HWND w) {
  return reinterpret_cast<AnimButtonTip*>(GuiGetWindowSlot(w, 0, kSlotTip));
}

PackedDIB* LoadNamed(const char* name, void* context) {
  auto* s = static_cast<AnimButtonState*>(context);
  if (!g_loadBitmap || !s || !name || !*name) return nullptr;
  return g_loadBitmap(s->indexPath, s->dataPath, name, s->index);
}

PackedDIB* LoadSuffix(AnimButtonState* s, const char* suffix) {
  char name[kAnimPatternMax + 16];
  if (!AnimSuffixName(s->caption.pattern, suffix, name, sizeof name)) return nullptr;
  return LoadNamed(name, s);
}

// Releases the button holding the capture; the released window or null.
HWND ReleaseCaptured() {
  Lock lock;
  HWND w = g_shared->captured;
  AnimButtonState* s = w ? StateOf(w) : nullptr;
  if (!s) return nullptr;
  // Cleared first: ending the capture tells the window, which comes back here.
  g_shared->captured = nullptr;
  s->flags &= ~kCaptured;
  GuiEndPopupCapture();
  return w;
}

void Redraw(HWND w, UINT how) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | how); }

POINT WindowPoint(HWND w, LPARAM screen) {
  RECT r;
  GetWindowRect(w, &r);
  return POINT{static_cast<short>(LOWORD(screen)) - r.left,
               static_cast<short>(HIWORD(screen)) - r.top};
}

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  LRESULT r = DefWindowProcA(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
  auto* tip = static_cast<AnimButtonTip*>(GlobalAllocPtr(sizeof(AnimButtonTip)));
  auto* s = static_cast<AnimButtonState*>(GlobalAllocPtr(sizeof(AnimButtonState)));
  GuiSetWindowSlot(w, 0, kSlotTip, reinterpret_cast<LONG_PTR>(tip));
  GuiSetWindowSlot(w, 0, kSlotState, reinterpret_cast<LONG_PTR>(s));
  if (!s) return r;
  GuiParseCaptionPlacement(w);
  char text[256] = {};
  GetWindowTextA(w, text, sizeof text);
  s->caption = AnimParseCaption(text);
  GuiSkin* skin = GuiGetSkin();
  const char* folder = skin ? skin->programFolder : "";
  std::snprintf(s->indexPath, sizeof s->indexPath, "%s\\%s%s", folder, s->caption.dataName, ".idx");
  std::snprintf(s->dataPath, sizeof s->dataPath, "%s\\%s%s", folder, s->caption.dataName, ".dat");
  if (g_shared && !GetClassLongPtrA(w, 0)) {
    SetClassLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(g_shared));
    g_shared->captured = nullptr;
  }
  return r;
}

LRESULT OnCreate(HWND w, AnimButtonState* s, LPARAM lp) {
  LRESULT r = DefWindowProcA(w, WM_CREATE, 0, lp);
  if (!s || !g_shared) return r;
  Lock lock;
  if (!g_shared->index && g_loadIndex) g_shared->index = g_loadIndex(s->indexPath);
  s->index = g_shared->index;
  char name[kAnimPatternMax + 16];
  if (AnimFrameName(s->caption.pattern, s->frame, name, sizeof name))
    s->frameImage = LoadNamed(name, s);
  s->base = LoadSuffix(s, "_off");
  s->mask = LoadSuffix(s, "_mask");
  s->click = LoadSuffix(s, "_click");
  return r;
}

void OnDestroy(HWND w, AnimButtonState* s) {
  if (AnimButtonTip* tip = TipOf(w)) {
    if (tip->hasText && g_hide) g_hide(GetParent(w), tip->hasText);
    GlobalFreePtr(tip);
    GuiSetWindowSlot(w, 0, kSlotTip, 0);
  }
  KillTimer(w, kFrameTimer);
  if (!s) return;
  if (g_shared && g_shared->captured == w) ReleaseCaptured();
  GlobalFreePtr(s->frameImage);
  GlobalFreePtr(s->mask);
  GlobalFreePtr(s->click);
  GlobalFreePtr(s->base);
  if (g_shared) {
    Lock lock;
    g_shared->cache.Release(s->caption.pattern);
  }
  GlobalFreePtr(s);
  GuiSetWindowSlot(w, 0, kSlotState, 0);
}

const PackedDIB* ImageToShow(AnimButtonState* s) {
  if (s->flags & kPressedOutside) return s->frameImage;
  if (s->flags & kArmed) return s->click;
  if (s->frameImage) return s->frameImage;
  Lock lock;
  return g_shared->cache.Get(s->caption.pattern, s->frame, LoadNamed, s);
}

// The base image over the parent's background, its key-coloured pixels
// left out, so a round button sits on the panel's own texture.
void DrawImage(HWND w, HDC dc, const PackedDIB* d) {
  if (d->biBitCount < 16) {
    DIBBlt(dc, 0, 0, DIBWidth(d), DIBHeight(d), 0, 0, d);
    return;
  }
  PackedDIB* canvas = DIBCreate(DIBWidth(d), DIBHeight(d), 24);
  GuiBackgroundRequest req{};
  GetWindowRect(w, &req.rect);
  HWND parent = GetParent(w);
  GuiScreenToClientRect(parent, &req.rect);
  req.image = canvas;
  if (!canvas || !parent ||
      !GuiCallWindowProc(parent, kMsgParentBackground, 0, reinterpret_cast<LPARAM>(&req))) {
    GlobalFreePtr(canvas);
    DIBBltRGB(dc, 0, 0, DIBWidth(d), DIBHeight(d), 0, 0, d);
    return;
  }
  DIBCopyRectClipped(canvas, d, 0, 0, 0, 0, DIBWidth(d), DIBHeight(d), true,
                     d->biBitCount == 16   ? 0x7C1F
                     : d->biBitCount == 24 ? kKey24
                                           : 0xFFFFFF);
  DIBBltRGB(dc, 0, 0, DIBWidth(d), DIBHeight(d), 0, 0, canvas);
  GlobalFreePtr(canvas);
}

LRESULT OnPaint(HWND w, AnimButtonState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  if (s && g_shared && s->base) {
    if (const PackedDIB* image = ImageToShow(s)) {
      // The frame goes into the base image itself, which keeps its last
      // frame's opaque pixels.
      uint32_t key = image->biBitCount == 8    ? 0
                     : image->biBitCount == 16 ? 0x7C1F
                     : image->biBitCount == 24 ? kKey24
                                               : 0xFFFFFF;
      DIBCopyRectClipped(s->base, image, 0, 0, 0, 0, DIBWidth(image), DIBHeight(image), true, key);
      DrawImage(w, dc, s->base);
    }
  }
  EndPaint(w, &ps);
  return 0;
}

void StopAnimating(HWND w, AnimButtonState* s) {
  s->flags &= ~kAnimating;
  if (HWND c = g_shared->captured) KillTimer(c, kFrameTimer);
  KillTimer(w, kFrameTimer);
  if (!s->frameImage) s->frameImage = g_shared->cache.Take(s->caption.pattern, s->frame);
}

LRESULT OnNcHitTest(HWND w, AnimButtonState* s, LPARAM lp) {
  LRESULT hit = DefWindowProcA(w, WM_NCHITTEST, 0, lp);
  AnimButtonTip* tip = TipOf(w);
  if (tip && tip->hasText && !tip->tracking) {
    tip->tracking = 1;
    TRACKMOUSEEVENT t{sizeof t, TME_HOVER | TME_LEAVE, w, 500};
    TrackMouseEvent(&t);
  }
  if (!s || !g_shared) return hit;
  POINT p = WindowPoint(w, lp);
  bool onMask = AnimMaskHit(s->mask, p.x, p.y);
  bool release = false;
  {
    Lock lock;
    if (!onMask) {
      if (s->flags & kAnimating) StopAnimating(w, s);
      if (s->flags & kArmed) s->flags = (s->flags & ~kArmed) | kPressedOutside;
      Redraw(w, RDW_ERASE);
    }
    HWND held = g_shared->captured;
    if (held &&
        !(held == w && ((hit == HTNOWHERE && (s->flags & kPressedOutside)) || hit != HTNOWHERE)))
      release = true;
  }
  if (release && ReleaseCaptured() == w) s->flags &= ~kPressedOutside;
  Lock lock;
  if (hit != HTNOWHERE && g_shared->captured != w) {
    GuiBeginPopupCapture(w);
    s->flags |= kCaptured;
    g_shared->captured = w;
  }
  if (!onMask) return hit;
  if (s->flags & kPressedOutside) {
    s->flags = (s->flags | kArmed) & ~kPressedOutside;
    Redraw(w, RDW_ERASE);
  } else if (!(s->flags & kAnimating) && s->caption.pattern[0]) {
    s->flags |= kAnimating;
    if (s->frameImage) g_shared->cache.Put(s->caption.pattern, s->frame, s->frameImage);
    s->frameImage = nullptr;
    SetTimer(w, kFrameTimer, 1000 / static_cast<UINT>(s->caption.rate), nullptr);
  }
  return hit;
}

LRESULT OnLButtonDown(HWND w, AnimButtonState* s, LPARAM lp) {
  if (!s || !g_shared) return 0;
  Lock lock;
  if (s->mask &&
      AnimMaskHit(s->mask, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)))) {
    s->flags |= kArmed;
    Redraw(w, RDW_UPDATENOW);
  }
  return 0;
}

LRESULT OnLButtonUp(HWND w, AnimButtonState* s) {
  if (!s) return 0;
  if (s->flags & kArmed) {
    PostMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), 0),
                 reinterpret_cast<LPARAM>(w));
    s->flags &= ~kArmed;
  } else if (g_shared && g_shared->captured == w) {
    ReleaseCaptured();
  }
  s->flags &= ~kPressedOutside;
  Redraw(w, RDW_UPDATENOW);
  return 0;
}

LRESULT OnTimer(HWND w, AnimButtonState* s) {
  if (!s || !s->mask || !g_shared) return 0;
  POINT cursor;
  GetCursorPos(&cursor);
  RECT r;
  GetWindowRect(w, &r);
  if (!AnimMaskHit(s->mask, cursor.x - r.left, cursor.y - r.top)) return 0;
  if (s->flags & (kArmed | kPressedOutside)) return 0;
  s->frame = (s->frame + 1) % s->caption.frames;
  PackedDIB* image;
  {
    Lock lock;
    image = g_shared->cache.Get(s->caption.pattern, s->frame, LoadNamed, s);
  }
  if (image) Redraw(w, RDW_UPDATENOW);
  return 0;
}

LRESULT OnNcMouse(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  UINT client = msg;
  GuiNcToClientMouse(w, &client, &wp, &p);
  SendMessageA(w, client, wp, MAKELPARAM(p.x, p.y));
  return 0;
}

LRESULT OnHoverText(HWND w, const char* text) {
  AnimButtonTip* tip = TipOf(w);
  if (!tip) return 0;
  tip->hasText = 1;
  std::snprintf(tip->text, sizeof tip->text, "%s", text ? text : "");
  return 0;
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp));
  AnimButtonState* s = StateOf(w);
  switch (msg) {
    case WM_CREATE:
      return OnCreate(w, s, lp);
    case WM_DESTROY:
      OnDestroy(w, s);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_PAINT:
      return OnPaint(w, s);
    case WM_SHOWWINDOW:
      if (g_shared && !wp && g_shared->captured && g_shared->captured != w) ReleaseCaptured();
      return 0;
    case WM_WINDOWPOSCHANGING:
      if (g_shared && !(reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_NOZORDER) &&
          g_shared->captured == w)
        ReleaseCaptured();
      return 0;
    case WM_NCHITTEST:
      return OnNcHitTest(w, s, lp);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
      return OnNcMouse(w, msg, wp, lp);
    case WM_LBUTTONDOWN:
      return OnLButtonDown(w, s, lp);
    case WM_LBUTTONUP:
      return OnLButtonUp(w, s);
    case WM_TIMER:
      return OnTimer(w, s);
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != w && g_shared && g_shared->captured == w) ReleaseCaptured();
      return 0;
    case WM_MOUSEHOVER: {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, w, 0};
      TrackMouseEvent(&t);
      AnimButtonTip* tip = TipOf(w);
      RECT r;
      GetWindowRect(w, &r);
      if (tip && g_show) g_show(GetParent(w), &r, tip->hasText, tip->text);
      return 0;
    }
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE: {
      AnimButtonTip* tip = TipOf(w);
      if (tip && tip->hasText && tip->tracking) {
        tip->tracking = 0;
        if (g_hide) g_hide(GetParent(w), tip->hasText);
      }
      return 0;
    }
    case kMsgHoverText:
      return OnHoverText(w, reinterpret_cast<const char*>(wp));
    default:
      return DefWindowProcA(w, msg, wp, lp);
  }
}

}  // namespace

int RegisterAnimButton(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = Proc;
  wc.cbClsExtra = sizeof(LONG_PTR);
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kClass;
  if (!RegisterClassA(&wc)) return 0;
  if (!g_shared) {
    g_shared = new AnimButtonShared();
    InitializeCriticalSection(&g_shared->lock);
  }
  return 1;
}

int AnimButtonShutdown() {
  if (!g_shared) return 1;
  g_shared->cache.Clear();
  if (g_shared->index && g_freeIndex) g_freeIndex(g_shared->index);
  DeleteCriticalSection(&g_shared->lock);
  delete g_shared;
  g_shared = nullptr;
  return 1;
}

void AnimButtonSetTooltipCallbacks(AnimTooltipShow show, AnimTooltipHide hide) {
  g_show = show;
  g_hide = hide;
}

void AnimButtonSetArchiveFunctions(AnimLoadIndex loadIndex, AnimLoadBitmap loadBitmap,
                                   AnimFreeIndex freeIndex) {
  g_loadIndex = loadIndex;
  g_loadBitmap = loadBitmap;
  g_freeIndex = freeIndex;
}

}  // namespace gui
