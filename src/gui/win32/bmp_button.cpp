// CGUIBMPButton: the system button with every look drawn from the skin.
// Differences from the button it follows: no keyboard activation and no
// focus cues; up to six state images (built from the skin's caps and middle
// pieces with the caption drawn in, the skin's check and radio marks, or
// registry bitmaps by control id); hover images; auto-repeat (timer 42)
// while an auto-repeat button is held. Captions are drawn anti-aliased
// straight onto the button image, and every paint asks the parent for the
// background under the button (kMsgParentBackground), so rounded caps and
// marks sit on the dialog's own texture.
#include <windows.h>

#include <cstring>

#include "gui/bmp_button_model.h"
#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUIBMPButton";
constexpr UINT_PTR kRepeatTimer = 42;
constexpr int kSlotKind = 0, kSlotState = 1;

WNDPROC g_baseProc = nullptr;
int g_baseExtra = 0;
HFONT g_ownFont = nullptr;  // made from the skin's face when its font slot is empty

struct BmpButtonState {
  RECT client;
  UINT period;
  uint32_t display;
  PackedDIB* slots[kButtonSlots];
  uint32_t owned;     // bit per slot: built for this button, freed by it
  uint32_t borrowed;  // bit per slot: the skin's or the registry's, never freed here
  int id;
  const char* hoverText;
  int tracking;
};

// The kind flags kept at creation with the kind (the style's low four bits).
uint32_t KindOf(HWND w) {
  return static_cast<uint32_t>(GuiGetWindowSlot(w, g_baseExtra, kSlotKind)) |
         (static_cast<uint32_t>(GetWindowLongA(w, GWL_STYLE)) & 15);
}
BmpButtonState* StateOf(HWND w) {
  return reinterpret_cast<BmpButtonState*>(GuiGetWindowSlot(w, g_baseExtra, kSlotState));
}
LRESULT Base(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  return CallWindowProcA(g_baseProc, w, m, wp, lp);
}

HFONT ButtonFont(const GuiSkin* skin) {
  if (!skin) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (HFONT f = static_cast<HFONT>(GuiGetFont(skin->button.words[kBtwFontSlot]))) return f;
  if (!g_ownFont && skin->button.face[0])
    g_ownFont = GuiCreateSmoothFont(
        skin->button.face, skin->button.words[kBtwPoints] > 0 ? skin->button.words[kBtwPoints] : 9,
        600, false);
  return g_ownFont ? g_ownFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The caption without its mnemonic marks ("&&" keeps one '&') and without
// the placement markup a hot button's caption carries ("Undo {p:..}").
void StripMnemonic(const char* in, char* out, size_t size) {
  size_t n = 0;
  for (const char* p = in ? in : ""; *p && *p != '{' && n + 1 < size; ++p) {
    if (*p == '&') {
      if (p[1] != '&') continue;
      ++p;
    }
    out[n++] = *p;
  }
  while (n > 0 && out[n - 1] == ' ')
    --n;
  out[n] = 0;
}

void FreeImages(BmpButtonState* s) {
  for (int i = 0; i < kButtonSlots; ++i) {
    if (s->owned & (1u << i)) GlobalFreePtr(s->slots[i]);
    if (s->owned & (1u << i) || s->borrowed & (1u << i)) s->slots[i] = nullptr;
  }
  s->owned = s->borrowed = 0;
}

void Borrow(BmpButtonState* s, int slot, PackedDIB* image) {
  s->slots[slot] = image;
  if (image) s->borrowed |= 1u << slot;
}

void LoadBitmapImages(HWND w, BmpButtonState* s) {
  GuiSkin* skin = GuiGetSkin();
  if (!skin) return;
  for (int k = 0; k < kButtonSlots; ++k) {
    PackedDIB* image = GuiSkinImage(skin, static_cast<uint32_t>(s->id + skin->button.keyOffset[k]));
    Borrow(s, k, image);
  }
  if (!s->slots[4]) Borrow(s, 4, s->slots[0]);
  if (s->slots[0])
    SetWindowPos(w, nullptr, 0, 0, DIBWidth(s->slots[0]), DIBHeight(s->slots[0]),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

PackedDIB* BuildPushImage(const GuiSkin* skin, int state, int width, int height,
                          const char* caption) {
  const auto& b = skin->button;
  PackedDIB* l = GuiSkinImage(skin, b.imageIds[kBtLeft + state]);
  PackedDIB* m = GuiSkinImage(skin, b.imageIds[kBtMiddle + state]);
  PackedDIB* r = GuiSkinImage(skin, b.imageIds[kBtRight + state]);
  if (!m || width <= 0 || height <= 0) return nullptr;
  PackedDIB* image = DIBCreate(width, height, 24);
  if (!image) return nullptr;
  DIBFill(image, kKey24);
  DIBComposeThreePiece(image, l, m, r, false);
  char text[256];
  StripMnemonic(caption, text, sizeof text);
  if (text[0]) {
    HFONT font = ButtonFont(skin);
    SIZE ext = GuiMeasureSmoothText(font, text);
    BtnPoint at = BmpButtonTextOrigin(width, height, ext.cx, ext.cy, b.textOffsetX[state],
                                      b.textOffsetY[state], state == 1);
    COLORREF colour = b.textColors[state < 3 ? state : 0];
    if (state == 2 && b.shadowColor)
      GuiDrawSmoothText(image, font, text, at.x + 1, at.y + 1, b.shadowColor);
    GuiDrawSmoothText(image, font, text, at.x, at.y, colour);
  }
  return image;
}

void BuildSkinImages(BmpButtonState* s, uint32_t kind, int width, int height, const char* caption) {
  GuiSkin* skin = GuiGetSkin();
  if (!skin) return;
  const auto& b = skin->button;
  if (BmpButtonDrawsAsPush(kind)) {
    // Push buttons always have the skin's height.
    if (PackedDIB* mid = GuiSkinImage(skin, b.imageIds[kBtMiddle])) height = DIBHeight(mid);
    for (int i = 0; i < 4; ++i) {
      if (i == 3 && !(kind & kBtnFocusImage)) continue;
      if (PackedDIB* image = BuildPushImage(skin, i, width, height, caption)) {
        s->slots[i] = image;
        s->owned |= 1u << i;
      }
    }
    return;
  }
  GuiButtonKind k = BmpButtonKind(kind);
  if (k != kKindCheck && k != kKindRadio) return;
  int base = k == kKindCheck ? kBtCheck : kBtRadio;
  // Marks: unchecked, checked, unchecked disabled, checked disabled.
  const int slotOf[4] = {0, 1, 2, 5};
  for (int i = 0; i < 4; ++i)
    Borrow(s, slotOf[i], GuiSkinImage(skin, b.imageIds[base + i]));
}

void Rebuild(HWND w, BmpButtonState* s, const char* caption) {
  FreeImages(s);
  uint32_t kind = KindOf(w);
  if (kind & kBtnBitmap) {
    LoadBitmapImages(w, s);
    return;
  }
  RECT r;
  GetWindowRect(w, &r);
  BuildSkinImages(s, kind, r.right - r.left, r.bottom - r.top, caption);
}

void RebuildFromText(HWND w, BmpButtonState* s) {
  char text[128] = {};
  GetWindowTextA(w, text, sizeof text);
  Rebuild(w, s, text);
}

// The parent's background under the button, or the skin's label texture.
PackedDIB* Backdrop(HWND w, int width, int height) {
  PackedDIB* canvas = DIBCreate(width, height, 24);
  if (!canvas) return nullptr;
  GuiBackgroundRequest req{};
  GetWindowRect(w, &req.rect);
  HWND parent = GetParent(w);
  GuiScreenToClientRect(parent, &req.rect);
  req.image = canvas;
  if (parent && GuiCallWindowProc(parent, kMsgParentBackground, 0, reinterpret_cast<LPARAM>(&req)))
    return canvas;
  GuiSkin* skin = GuiGetSkin();
  if (PackedDIB* tile = GuiSkinImage(skin, skin ? skin->label.backgroundId : 0))
    DIBTileToDIB(tile, canvas, DibRect{0, 0, width, height}, 0, 0);
  else
    DIBFill(canvas, GetSysColor(COLOR_BTNFACE));
  return canvas;
}

void DrawKeyed(PackedDIB* canvas, const PackedDIB* image, int x, int y) {
  if (!image) return;
  uint32_t key = image->biBitCount == 8    ? 0
                 : image->biBitCount == 16 ? 0x7C1F
                 : image->biBitCount == 24 ? kKey24
                                           : 0xFFFFFF;
  if (image->biBitCount == 24)
    DIBCopyRectClipped(canvas, image, x, y, 0, 0, DIBWidth(image), DIBHeight(image), true, key);
  else
    DIBCopyRectClipped(canvas, image, x, y, 0, 0, DIBWidth(image), DIBHeight(image), false, 0);
}

void PaintMarkAndText(HWND w, PackedDIB* canvas, const PackedDIB* mark, uint32_t kind,
                      uint32_t display) {
  GuiSkin* skin = GuiGetSkin();
  int width = DIBWidth(canvas), height = DIBHeight(canvas);
  int mw = DIBWidthOf(mark), mh = DIBHeightOf(mark);
  bool leftText = (kind & kBtnLeftText) != 0;
  DrawKeyed(canvas, mark, leftText ? width - mw : 0, (height - mh) / 2);
  char raw[256] = {}, text[256];
  GetWindowTextA(w, raw, sizeof raw);
  StripMnemonic(raw, text, sizeof text);
  if (!text[0] || !skin) return;
  const auto& b = skin->button;
  const uint32_t* trio = BmpButtonKind(kind) == kKindCheck ? b.checkColors : b.radioColors;
  int index = !IsWindowEnabled(w) ? 2 : (display & kBtnChecked) ? 0 : 1;
  COLORREF colour = b.words[kBtwPlainText] ? trio[index] : skin->label.text;
  HFONT font = ButtonFont(skin);
  SIZE ext = GuiMeasureSmoothText(font, text);
  int y = (kind & kBtnTop) ? 0 : (kind & kBtnBottom) ? height - ext.cy : (height - ext.cy) / 2;
  int x = leftText ? width - mw - 4 - ext.cx : mw + 4;
  GuiDrawSmoothText(canvas, font, text, x, y, colour);
}

void PaintGroup(HWND w, PackedDIB* canvas) {
  GuiSkin* skin = GuiGetSkin();
  if (!skin) return;
  int width = DIBWidth(canvas), height = DIBHeight(canvas);
  char raw[256] = {}, text[256];
  GetWindowTextA(w, raw, sizeof raw);
  StripMnemonic(raw, text, sizeof text);
  HFONT font = ButtonFont(skin);
  SIZE ext = GuiMeasureSmoothText(font, text);
  int band = text[0] ? ext.cy + 4 : 0;
  uint32_t frame = skin->button.extraColor;
  if (PackedDIB* tile = GuiSkinImage(skin, skin->label.backgroundId))
    DIBTileToDIB(tile, canvas, DibRect{0, band, width, height}, 0, 0);
  // The one-pixel frame and the caption band, in the frame colour.
  PackedDIB* line = DIBCreate(width, band > 1 ? band : 1, 24);
  if (line) {
    DIBFill(line, frame);
    DIBCopyRectClipped(canvas, line, 0, 0, 0, 0, width, band > 1 ? band : 1, false, 0);
    DIBCopyRectClipped(canvas, line, 0, height - 1, 0, 0, width, 1, false, 0);
    for (int y = 0; y < height; ++y) {
      DIBCopyRectClipped(canvas, line, 0, y, 0, 0, 1, 1, false, 0);
      DIBCopyRectClipped(canvas, line, width - 1, y, 0, 0, 1, 1, false, 0);
    }
    GlobalFreePtr(line);
  }
  if (text[0]) GuiDrawSmoothText(canvas, font, text, 4, 2, skin->button.groupTextColor);
}

LRESULT OnPaint(HWND w, BmpButtonState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  GuiRealizeSkinPalette(dc);
  RECT rc;
  GetClientRect(w, &rc);
  if (s && rc.right > 0 && rc.bottom > 0) {
    if (PackedDIB* canvas = Backdrop(w, rc.right, rc.bottom)) {
      uint32_t kind = KindOf(w);
      GuiButtonKind k = BmpButtonKind(kind);
      int slot = BmpButtonChooseSlot(s->display, !IsWindowEnabled(w),
                                     reinterpret_cast<void* const*>(s->slots));
      const PackedDIB* image = slot >= 0 ? s->slots[slot] : nullptr;
      if (k == kKindGroup && !(kind & kBtnBitmap))
        PaintGroup(w, canvas);
      else if ((k == kKindCheck || k == kKindRadio) && !(kind & (kBtnBitmap | kBtnPushLike)))
        PaintMarkAndText(w, canvas, image, kind, s->display);
      else
        DrawKeyed(canvas, image, 0, 0);
      DIBBltRGB(dc, 0, 0, rc.right, rc.bottom, 0, 0, canvas);
      GlobalFreePtr(canvas);
    }
  }
  EndPaint(w, &ps);
  return 1;
}

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  uint32_t style = static_cast<uint32_t>(cs->style);
  cs->style &= ~static_cast<LONG>(BS_BITMAP);
  SetWindowLongA(w, GWL_STYLE, cs->style);
  GuiSetWindowSlot(w, g_baseExtra, kSlotKind, style & 0xFFF0);
  auto* s = static_cast<BmpButtonState*>(GlobalAllocPtr(sizeof(BmpButtonState)));
  if (s) {
    s->period = 200;
    s->id = static_cast<int>(reinterpret_cast<INT_PTR>(cs->hMenu));
    GuiSetWindowSlot(w, g_baseExtra, kSlotState, reinterpret_cast<LONG_PTR>(s));
    if (style & kBtnBitmap)
      LoadBitmapImages(w, s);
    else
      BuildSkinImages(s, style, cs->cx, cs->cy, cs->lpszName);
  }
  LRESULT r = Base(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
  if (GuiSkin* skin = GuiGetSkin())
    Base(w, WM_SETFONT, reinterpret_cast<WPARAM>(ButtonFont(skin)), 0);
  return r;
}

void OnDestroy(HWND w, BmpButtonState* s) {
  KillTimer(w, kRepeatTimer);
  FreeImages(s);
  GlobalFreePtr(s);
  GuiSetWindowSlot(w, g_baseExtra, kSlotState, 0);
}

void SetDisplayBit(HWND w, BmpButtonState* s, uint32_t bit, bool on) {
  uint32_t before = s->display;
  s->display = on ? (s->display | bit) : (s->display & ~bit);
  if (s->display != before) InvalidateRect(w, nullptr, FALSE);
}

LRESULT OnFocus(HWND w, BmpButtonState* s, bool gained) {
  SetDisplayBit(w, s, kBtnFocused, gained);
  InvalidateRect(w, nullptr, FALSE);
  if (KindOf(w) & kBtnNotify)
    SendMessageA(GetParent(w), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(w), gained ? BN_SETFOCUS : BN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(w));
  return 0;
}

LRESULT OnSetState(HWND w, BmpButtonState* s, WPARAM wp, LPARAM lp) {
  Base(w, BM_SETSTATE, wp, lp);
  uint32_t before = s->display;
  SetDisplayBit(w, s, kBtnPushed, wp != 0);
  if (before != s->display && (KindOf(w) & kBtnPushLike)) {
    if (wp)
      SetTimer(w, kRepeatTimer, s->period, nullptr);
    else
      KillTimer(w, kRepeatTimer);
  }
  return 0;
}

LRESULT OnTimer(HWND w) {
  if (!(KindOf(w) & kBtnPushLike)) return 0;
  SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), kNotifyRepeat),
               reinterpret_cast<LPARAM>(w));
  return 1;
}

LRESULT OnSetImage(HWND w, BmpButtonState* s, UINT msg, WPARAM wp, LPARAM lp) {
  int limit = msg == BM_SETIMAGE ? kButtonSlots : 5;
  if (wp >= static_cast<WPARAM>(limit)) return 0;
  int slot = static_cast<int>(wp);
  PackedDIB* old = s->slots[slot];
  s->slots[slot] = reinterpret_cast<PackedDIB*>(lp);
  // The caller now owns what it took out, and keeps what it put in.
  s->owned &= ~(1u << slot);
  s->borrowed &= ~(1u << slot);
  if (msg == BM_SETIMAGE) {
    InvalidateRect(w, nullptr, FALSE);
  } else if (old != s->slots[slot] &&
             slot == BmpButtonShortSlot(s->display & 0xFFFF, !IsWindowEnabled(w))) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW);
  }
  return reinterpret_cast<LRESULT>(old);
}

LRESULT OnFreeImage(BmpButtonState* s, WPARAM wp) {
  if (wp > 4) return 0;
  int slot = static_cast<int>(wp);
  PackedDIB* old = s->slots[slot];
  // The skin's and the registry's images are theirs to free: taken out only.
  if (!old || (s->borrowed & (1u << slot))) {
    s->slots[slot] = nullptr;
    s->borrowed &= ~(1u << slot);
    return 0;
  }
  s->slots[slot] = nullptr;
  s->owned &= ~(1u << slot);
  GlobalFreePtr(old);
  return reinterpret_cast<LRESULT>(old);
}

LRESULT OnNcHitTest(HWND w, BmpButtonState* s, LPARAM lp) {
  POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ScreenToClient(w, &pt);
  if (s->hoverText && !s->tracking) {
    s->tracking = 1;
    TRACKMOUSEEVENT t{sizeof t, TME_HOVER | TME_LEAVE, w, 500};
    TrackMouseEvent(&t);
  }
  bool hot = (GetWindowLongA(w, GWL_EXSTYLE) & kExHotTrack) != 0;
  const PackedDIB* hover = s->slots[4];
  if (hover && (pt.x < 0 || pt.y < 0 || pt.x >= DIBWidth(hover) || pt.y >= DIBHeight(hover))) {
    if (hot && (s->display & kBtnHover)) {
      s->display &= ~kBtnHover;
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
    }
    return HTNOWHERE;
  }
  if (hot && !(s->display & kBtnHover)) {
    s->display |= kBtnHover;
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
  }
  LRESULT r = Base(w, WM_NCHITTEST, 0, lp);
  if (r == HTCLIENT && (KindOf(w) & kBtnNotify))
    PostMessageA(GetParent(w), WM_PARENTNOTIFY, MAKEWPARAM(GetDlgCtrlID(w), WM_NCHITTEST),
                 reinterpret_cast<LPARAM>(w));
  return r;
}

LRESULT OnSize(HWND w, BmpButtonState* s, LPARAM lp) {
  if (GetWindowLongA(w, GWL_EXSTYLE) != 0x84) return 0;
  s->client = RECT{0, 0, LOWORD(lp), HIWORD(lp)};
  char text[100] = {};
  GetWindowTextA(w, text, sizeof text);
  FreeImages(s);
  GuiSkin* skin = GuiGetSkin();
  if (skin)
    for (int i = 0; i < 4; ++i)
      if (PackedDIB* image = BuildPushImage(skin, i, LOWORD(lp), HIWORD(lp), text)) {
        s->slots[i] = image;
        s->owned |= 1u << i;
      }
  return 0;
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp));
  BmpButtonState* s = StateOf(w);
  switch (msg) {
    case WM_CREATE:
    case WM_MOUSEACTIVATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return Base(w, msg, wp, lp);
    case WM_PAINT:
      return OnPaint(w, s);
    case WM_ERASEBKGND:
      return 1;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      DefWindowProcA(w, msg, wp, lp);
      return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
    case WM_QUERYUISTATE:
      return 0;
    default:
      break;
  }
  if (!s) return Base(w, msg, wp, lp);
  switch (msg) {
    case WM_DESTROY:
      OnDestroy(w, s);
      return Base(w, msg, wp, lp);
    case WM_MOVE:
      return 0;
    case WM_SIZE:
      return OnSize(w, s, lp);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return OnFocus(w, s, msg == WM_SETFOCUS);
    case WM_ENABLE:
      InvalidateRect(w, nullptr, FALSE);
      return 0;
    case WM_SETTEXT:
      if (!(KindOf(w) & kBtnBitmap)) Rebuild(w, s, reinterpret_cast<const char*>(lp));
      DefWindowProcA(w, msg, wp, lp);
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
      return 0;
    case WM_NCCALCSIZE:
      RebuildFromText(w, s);
      if (GuiSkin* skin = GuiGetSkin())
        Base(w, WM_SETFONT, reinterpret_cast<WPARAM>(ButtonFont(skin)), 0);
      return 0;
    case WM_NCHITTEST:
      return OnNcHitTest(w, s, lp);
    case BM_SETCHECK: {
      Base(w, msg, wp, lp);
      SetDisplayBit(w, s, kBtnChecked, wp != 0);
      return 0;
    }
    case BM_SETSTATE:
      return OnSetState(w, s, wp, lp);
    case BM_SETIMAGE:
    case kMsgSetImage:
      return OnSetImage(w, s, msg, wp, lp);
    case kMsgFreeImage:
      return OnFreeImage(s, wp);
    case kMsgRepeatPeriod: {
      UINT old = s->period;
      if (wp) s->period = static_cast<UINT>(wp);
      return old;
    }
    case kMsgHoverText:
      s->hoverText = reinterpret_cast<const char*>(wp);
      return 0;
    case WM_TIMER:
      return OnTimer(w);
    case WM_MOUSEHOVER: {
      TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, w, 0};
      TrackMouseEvent(&t);
      return 0;
    }
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
      if (s->hoverText && s->tracking) s->tracking = 0;
      return 0;
    default:
      return Base(w, msg, wp, lp);
  }
}

}  // namespace

int RegisterCGUIBMPButton(HINSTANCE instance) {
  WNDCLASSA base{};
  if (!GetClassInfoA(nullptr, "Button", &base)) return 0;
  g_baseProc = base.lpfnWndProc;
  g_baseExtra = base.cbWndExtra;
  WNDCLASSA wc{};
  wc.style = base.style | CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = Proc;
  wc.cbWndExtra = base.cbWndExtra + 2 * static_cast<int>(sizeof(LONG_PTR));
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

uint32_t BmpButtonGetDisplay(HWND w) {
  BmpButtonState* s = StateOf(w);
  return s ? s->display : 0;
}

void BmpButtonSetDisplay(HWND w, uint32_t flags) {
  if (BmpButtonState* s = StateOf(w)) s->display = flags;
}

int CGUIBMPButtonApplySkin(SkinRegistry* source, GuiSkin* skin) {
  if (!skin) return 0;
  auto& b = skin->button;
  if (b.words[kBtwUnchanged]) return 1;
  bool any = false;
  for (uint32_t id : b.imageIds)
    any = any || id;
  if (!any || !source) return 0;
  // Images are looked up in the registry when a button is built, so a new
  // registry needs no copies here; the group is marked as resolved.
  b.words[kBtwLoaded] = 1;
  return 1;
}

}  // namespace gui
