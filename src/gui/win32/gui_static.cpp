// CGUIStatic: the label of the skinned dialogs: its own text copy drawn in
// skin colours over the skin's texture or the parent's background, or a
// packed DIB (the registry's by control id, or one given with kMsgSetImage).
// Differences from the static control it follows: the system's window text
// is never changed by WM_SETTEXT (the label keeps its own copy); a label that
// paints nothing tells its parent (kNotifyLabelEmpty). A text-style label
// (0x800) renders its caption with its own TrueType text style into an
// image, wrapped to the label's creation width (not to a zero-sized
// rectangle); the image's empty pixels let the label's background through
// and its letters take the skin palette's colour of the ink index.
#include <windows.h>

#include <cstring>

#include "gui/CWF_TT.h"
#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_widgets1.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUIStatic";
constexpr int kSlotImage = 0, kSlotStyle = 2;
constexpr uint8_t kDefaultInk = 38;  // the style's ink: a palette index
constexpr LONG_PTR kNoText = -1;
int g_baseExtra = 0;

bool Skinned(HWND w) {
  return (GetWindowLongA(w, GWL_STYLE) & WS_BORDER) ||
         (GetWindowLongA(w, GWL_EXSTYLE) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
}
char* TextOf(HWND w) {
  LONG_PTR t = GetWindowLongPtrA(w, GWLP_USERDATA);
  return t == kNoText ? nullptr : reinterpret_cast<char*>(t);
}
PackedDIB* ImageOf(HWND w) {
  return reinterpret_cast<PackedDIB*>(GuiGetWindowSlot(w, g_baseExtra, kSlotImage));
}
DWORD Style(HWND w) { return static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE)); }
CwfTextStyle* TextStyleOf(HWND w) {
  return reinterpret_cast<CwfTextStyle*>(GuiGetWindowSlot(w, g_baseExtra, kSlotStyle));
}

void SetText(HWND w, const char* text) {
  char* old = TextOf(w);
  SetWindowLongPtrA(w, GWLP_USERDATA, text ? reinterpret_cast<LONG_PTR>(GlobalStrDup(text)) : 0);
  GlobalFreePtr(old);
}

// The parent's background under the label (style 0x1), else the skin's
// texture, else the dialog face colour.
PackedDIB* Backdrop(HWND w, int width, int height) {
  PackedDIB* canvas = DIBCreate(width, height, 24);
  if (!canvas) return nullptr;
  HWND parent = GetParent(w);
  if (parent && (Style(w) & kLabelParentBackground)) {
    GuiBackgroundRequest req{};
    GetClientRect(w, &req.rect);
    MapWindowPoints(w, parent, reinterpret_cast<POINT*>(&req.rect), 2);
    req.image = canvas;
    if (GuiCallWindowProc(parent, kMsgParentBackground, 0, reinterpret_cast<LPARAM>(&req)))
      return canvas;
  }
  GuiSkin* skin = GuiGetSkin();
  if (PackedDIB* tile = GuiSkinImage(skin, skin ? skin->label.backgroundId : 0))
    DIBTileToDIB(tile, canvas, DibRect{0, 0, width, height}, 0, 0);
  else
    DIBFill(canvas, GetSysColor(COLOR_3DFACE));
  return canvas;
}

COLORREF TextColour(HWND w, const GuiSkin* skin) {
  if (!skin) return GetSysColor(COLOR_WINDOWTEXT);
  const auto& l = skin->label;
  if (!IsWindowEnabled(w)) return l.disabled;
  DWORD style = Style(w);
  if (style & kLabelHover) return (style & kLabelHoverMark) ? l.hover : l.highlightOff;
  if (style & kLabelAlternative) return l.alternative;
  return l.text;
}

// 1 when something was drawn.
int PaintText(HWND w, HDC dc, const RECT& rc) {
  GuiSkin* skin = GuiGetSkin();
  if (PackedDIB* canvas = Backdrop(w, rc.right, rc.bottom)) {
    DIBBltRGB(dc, 0, 0, rc.right, rc.bottom, 0, 0, canvas);
    GlobalFreePtr(canvas);
  }
  const char* text = TextOf(w);
  COLORREF colour = TextColour(w, skin);
  if (!text || !*text || colour == 0xFFFFFFFFu) return 0;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  HGDIOBJ old = skin && skin->font ? SelectObject(dc, static_cast<HFONT>(skin->font)) : nullptr;
  DWORD style = Style(w);
  UINT align = (style & kLabelParentBackground) ? DT_CENTER : (style & kLabelRight) ? DT_RIGHT : 0;
  RECT r = rc;
  DrawTextA(dc, text, -1, &r, DT_WORDBREAK | DT_NOPREFIX | align);
  if (old) SelectObject(dc, old);
  return 1;
}

// The caption rendered with the label's style, wrapped at the style's
// rectangle and cut (centred) to it when larger; replaces the label's image.
void RenderStyledText(HWND w, const char* text) {
  CwfTextStyle* style = TextStyleOf(w);
  if (!style) return;
  GlobalFreePtr(ImageOf(w));
  GuiSetWindowSlot(w, g_baseExtra, kSlotImage, 0);
  if (!text || !*text) return;
  const DibRect& r = style->rect;
  PackedDIB* image = CwfTextStyleRenderWrapped(style, text, r.right);
  if (image && (DIBWidth(image) > r.right || DIBHeight(image) > r.bottom)) {
    if (PackedDIB* cut = DIBCenterCopy(image, r.right, r.bottom)) {
      GlobalFreePtr(image);
      image = cut;
    }
  }
  GuiSetWindowSlot(w, g_baseExtra, kSlotImage, reinterpret_cast<LONG_PTR>(image));
}

// A palette index as a colour: the skin palette's entry, else the label's
// own text colour.
COLORREF IndexColour(HWND w, uint8_t index) {
  GuiSkin* skin = GuiGetSkin();
  PALETTEENTRY e{};
  auto palette = static_cast<HPALETTE>(skin ? skin->palette : nullptr);
  if (palette && GetPaletteEntries(palette, index, 1, &e) == 1)
    return RGB(e.peRed, e.peGreen, e.peBlue);
  COLORREF c = TextColour(w, skin);
  return c == 0xFFFFFFFFu ? GetSysColor(COLOR_WINDOWTEXT) : c;
}

// The rendered text over the canvas: index 0 is the renderer's empty pixel.
void DrawStyledText(HWND w, PackedDIB* canvas, const PackedDIB* image) {
  int width = DIBWidth(image) < DIBWidth(canvas) ? DIBWidth(image) : DIBWidth(canvas);
  int height = DIBHeight(image) < DIBHeight(canvas) ? DIBHeight(image) : DIBHeight(canvas);
  COLORREF colours[256];
  bool known[256] = {};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t index = *DIBPixelPtr(const_cast<PackedDIB*>(image), x, y);
      if (index == 0) continue;
      if (!known[index]) {
        colours[index] = IndexColour(w, index);
        known[index] = true;
      }
      uint8_t* px = DIBPixelPtr(canvas, x, y);
      px[0] = GetBValue(colours[index]);
      px[1] = GetGValue(colours[index]);
      px[2] = GetRValue(colours[index]);
    }
}

int PaintImage(HWND w, HDC dc, const RECT& rc) {
  PackedDIB* image = ImageOf(w);
  if (!image) return 0;
  SendMessageA(GetParent(w), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(w));
  PackedDIB* canvas = Backdrop(w, rc.right, rc.bottom);
  if (!canvas) return 0;
  int h = DIBHeight(image) < rc.bottom ? DIBHeight(image) : rc.bottom;
  if (TextStyleOf(w) && image->biBitCount == 8) {
    DrawStyledText(w, canvas, image);
    DIBBltRGB(dc, 0, 0, rc.right, rc.bottom, 0, 0, canvas);
  } else if (image->biBitCount >= 16) {
    uint32_t key = image->biBitCount == 16 ? 0x7C1F : image->biBitCount == 24 ? kKey24 : 0xFFFFFF;
    DIBCopyRectClipped(canvas, image, 0, 0, 0, 0, DIBWidth(image), h, true, key);
    DIBBltRGB(dc, 0, 0, rc.right, rc.bottom, 0, 0, canvas);
  } else {
    DIBBltRGB(dc, 0, 0, rc.right, rc.bottom, 0, 0, canvas);
    DIBBlt(dc, 0, 0, DIBWidth(image), h, 0, 0, image);
  }
  GlobalFreePtr(canvas);
  return 1;
}

LRESULT OnPaint(HWND w) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  GuiRealizeSkinPalette(dc);
  RECT rc;
  GetClientRect(w, &rc);
  int drawn = 0;
  if (rc.right > 0 && rc.bottom > 0)
    drawn = GetWindowLongPtrA(w, GWLP_USERDATA) == kNoText ? PaintImage(w, dc, rc)
                                                           : PaintText(w, dc, rc);
  EndPaint(w, &ps);
  if (!drawn)
    SendMessageA(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), kNotifyLabelEmpty),
                 reinterpret_cast<LPARAM>(w));
  return 0;
}

LRESULT OnCreate(HWND w, CREATESTRUCTA* cs) {
  if (cs->style & kLabelImage) {
    GuiSkin* skin = GuiGetSkin();
    PackedDIB* image =
        GuiSkinImage(skin, static_cast<uint32_t>(reinterpret_cast<INT_PTR>(cs->hMenu)));
    if (image) {
      if (image->biBitCount == 8) DIBSetIdentityColorTable(image);
      GuiSetWindowSlot(w, g_baseExtra, kSlotImage, reinterpret_cast<LONG_PTR>(image));
      SetWindowLongPtrA(w, GWLP_USERDATA, kNoText);
    }
  }
  if (cs->style & kLabelTextStyle) {
    if (CwfTextStyle* style = CwfTextStyleCreate()) {
      CwfTextStyleSetFont(style, "Courier New", 8, 10, 400, 0, 0, 0);
      CwfTextStyleSetBitmapSize(style, 16, 20, kDefaultInk);
      RECT client;
      GetClientRect(w, &client);
      style->rect = DibRect{0, 0, client.right > 0 ? client.right : cs->cx,
                            client.bottom > 0 ? client.bottom : cs->cy};
      GuiSetWindowSlot(w, g_baseExtra, kSlotStyle, reinterpret_cast<LONG_PTR>(style));
      SetWindowLongPtrA(w, GWLP_USERDATA, kNoText);
      RenderStyledText(w, cs->lpszName);
    }
  }
  if (GetWindowLongPtrA(w, GWLP_USERDATA) != kNoText && cs->lpszName) SetText(w, cs->lpszName);
  return DefWindowProcA(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(cs));
}

void OnDestroy(HWND w) {
  if (char* text = TextOf(w)) GlobalFreePtr(text);
  SetWindowLongPtrA(w, GWLP_USERDATA, 0);
  if (CwfTextStyle* style = TextStyleOf(w)) {
    // The label's rendered image is its own; registry images are not.
    GlobalFreePtr(ImageOf(w));
    GuiSetWindowSlot(w, g_baseExtra, kSlotImage, 0);
    CwfTextStyleFree(style);
    GuiSetWindowSlot(w, g_baseExtra, kSlotStyle, 0);
  }
}

// The style's ink or font; the caption takes them at its next WM_SETTEXT.
LRESULT OnStyleChange(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  CwfTextStyle* style = TextStyleOf(w);
  if (style && msg == kMsgStyleInk) {
    if (static_cast<int>(wp) != -1) {
      CwfTextStyleSetBitmapSize(style, 2 * style->height, 2 * style->height, static_cast<int>(wp));
    } else if (lp) {
      // A copy: the style frees its ink, and the caller keeps its image.
      if (PackedDIB* ink = DIBDuplicate(reinterpret_cast<PackedDIB*>(lp))) {
        GlobalFreePtr(style->ink);
        style->ink = ink;
      }
    }
  } else if (style && msg == kMsgStyleFont && lp) {
    CwfTextStyleSetFont(style, reinterpret_cast<const char*>(lp), -1, LOWORD(wp), HIWORD(wp), 0, 0,
                        0);
  }
  return DefWindowProcA(w, msg, wp, lp);
}

LRESULT OnSetText(HWND w, const char* text) {
  if (!text) return 0;
  if (TextStyleOf(w))
    RenderStyledText(w, text);
  else
    SetText(w, text);  // an image label becomes a text label
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW);
  return 0;
}

LRESULT OnGetText(HWND w, WPARAM size, char* out) {
  if (!out || size == 0) return 0;
  const char* text = TextOf(w);
  size_t n = text ? std::strlen(text) : 0;
  if (n > size - 1) n = size - 1;
  if (n) std::memcpy(out, text, n);
  out[n] = 0;
  return static_cast<LRESULT>(n);
}

LRESULT OnNcCalcSize(HWND w, WPARAM wp, LPARAM lp) {
  GuiSkin* skin = GuiGetSkin();
  if (!Skinned(w)) return DefWindowProcA(w, WM_NCCALCSIZE, wp, lp);
  int b = skin ? skin->borderWidth : 0;
  if (b >= 1) InflateRect(reinterpret_cast<RECT*>(lp), -b, -b);
  return 0;
}

LRESULT OnNcPaint(HWND w) {
  GuiSkin* skin = GuiGetSkin();
  if (!Skinned(w) || !skin || skin->borderWidth < 1) return 0;
  HDC dc = GetWindowDC(w);
  RECT r;
  GetWindowRect(w, &r);
  OffsetRect(&r, -r.left, -r.top);
  GuiDrawSkinBorder(w, dc, &r);
  ReleaseDC(w, dc);
  return 0;
}

void Mark(HWND w, bool on) {
  DWORD style = Style(w);
  if (((style & kLabelHoverMark) != 0) == on) return;
  SetWindowLongA(w, GWL_STYLE, on ? style | kLabelHoverMark : style & ~kLabelHoverMark);
  InvalidateRect(w, nullptr, TRUE);
  if (on) {
    TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, w, 0};
    TrackMouseEvent(&t);
  }
}

LRESULT OnSetImage(HWND w, LPARAM lp) {
  if (!(Style(w) & kLabelImage) || !lp) return 0;
  auto* image = reinterpret_cast<PackedDIB*>(lp);
  if (image->biBitCount == 8) DIBSetIdentityColorTable(image);
  GuiSetWindowSlot(w, g_baseExtra, kSlotImage, lp);
  char* old = TextOf(w);
  SetWindowLongPtrA(w, GWLP_USERDATA, kNoText);
  GlobalFreePtr(old);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW);
  return 0;
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      return OnCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_DESTROY:
      OnDestroy(w);
      return DefWindowProcA(w, msg, wp, lp);
    case kMsgStyleInk:
    case kMsgStyleFont:
      return OnStyleChange(w, msg, wp, lp);
    case WM_SETTEXT:
      return OnSetText(w, reinterpret_cast<const char*>(lp));
    case WM_GETTEXT:
      return OnGetText(w, wp, reinterpret_cast<char*>(lp));
    case WM_GETTEXTLENGTH: {
      const char* text = TextOf(w);
      return text ? static_cast<LRESULT>(std::strlen(text)) : 0;
    }
    case WM_GETFONT: {
      GuiSkin* skin = GuiGetSkin();
      return skin ? reinterpret_cast<LRESULT>(skin->font) : 0;
    }
    case WM_PAINT:
      return OnPaint(w);
    case WM_ERASEBKGND:
      return 1;  // the paint draws the background with the text, without flicker
    case WM_NCCALCSIZE:
      return OnNcCalcSize(w, wp, lp);
    case WM_NCPAINT:
      return OnNcPaint(w);
    case WM_NCHITTEST:
      if (Style(w) & kLabelHover) Mark(w, true);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
      if (Style(w) & kLabelHover) Mark(w, false);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_LBUTTONDOWN:
      if (Style(w) & kLabelHover) {
        SendMessageA(GetParent(w), WM_LBUTTONDOWN, reinterpret_cast<WPARAM>(w), 0);
        return 0;
      }
      return DefWindowProcA(w, msg, wp, lp);
    case kMsgSetImage:
      return OnSetImage(w, lp);
    case kMsgFreeImage:
      // Only images the label made are its own to free; registry and
      // caller images are let go.
      if (TextStyleOf(w)) GlobalFreePtr(ImageOf(w));
      GuiSetWindowSlot(w, g_baseExtra, kSlotImage, 0);
      return DefWindowProcA(w, msg, wp, lp);
    default:
      return DefWindowProcA(w, msg, wp, lp);
  }
}

}  // namespace

int RegisterCGUIStatic(HINSTANCE instance) {
  WNDCLASSA base{};
  if (!GetClassInfoA(nullptr, "STATIC", &base)) return 0;
  g_baseExtra = base.cbWndExtra;
  WNDCLASSA wc{};
  wc.style = base.style | CS_GLOBALCLASS;
  wc.lpfnWndProc = Proc;
  wc.cbWndExtra = base.cbWndExtra + 3 * static_cast<int>(sizeof(LONG_PTR));
  wc.hInstance = instance;
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

}  // namespace gui
