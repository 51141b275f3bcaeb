// CGUITabWnd: a row of tabs drawn from the skin's three-piece tab images,
// each with a caption or an image-list icon, above a page tiled with the
// skin's page texture. Answers the TCM_* subset the dialogs use, notifies
// TCN_SELCHANGING and TCN_SELCHANGE, and adds kMsgTabPageTexture and
// kMsgTabEnable.
//
// Differs from the tab strip it follows: an insertion index past the end
// appends and later tabs move right of an inserted one; kMsgTabEnable and
// TCM_SETCURSEL take only indexes of existing tabs; without skin pieces the
// tabs are drawn in flat colours.
#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "gui/gui_core.h"
#include "gui/gui_list.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/tab_model.h"
#include "gui/win32/gui_widgets2.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClass[] = "CGUITabWnd";
constexpr int kStates = 3;  // selected, normal, disabled
constexpr int kSelected = 0, kNormal = 1, kDisabled = 2;

struct TabWndItem {
  int32_t index;
  PackedDIB* images[kStates];
  UINT mask;
  DWORD state, stateMask;
  char* text;
  int textMax;
  int image;
  LPARAM param;
  TabRect rect;
  int32_t disabled;
  int32_t ownsText;
};

struct TabWndState {
  HWND window;
  int32_t suspended;
  int32_t count;
  GuiList* items;
  int32_t selection;
  int32_t tabHeight;
  int32_t margin;
  HIMAGELIST imageList;
  PackedDIB* page;
  PackedDIB* strip;
};

TabWndState* StateOf(HWND w) { return reinterpret_cast<TabWndState*>(GuiGetWindowSlot(w, 0, 0)); }

TabWndItem* ItemAt(TabWndState* s, int i) {
  if (!s || i < 0 || i >= s->count) return nullptr;
  return static_cast<TabWndItem*>(GuiListSeek(s->items, i, kListFromHead));
}

PackedDIB* SkinImage(int index) {
  GuiSkin* skin = GuiGetSkin();
  return skin && skin->tab.loaded ? skin->tab.images[index] : nullptr;
}

uint32_t SkinColour(int index, uint32_t fallback) {
  GuiSkin* skin = GuiGetSkin();
  return skin && skin->tab.present ? skin->tab.colors[index] : fallback;
}

HFONT SkinFont() {
  GuiSkin* skin = GuiGetSkin();
  if (skin && skin->font) return static_cast<HFONT>(skin->font);
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

SIZE TextSize(const char* text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, SkinFont());
  SIZE size = GuiGetTextExtent(dc, text ? text : "");
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

bool IsIconTab(const TabWndState* s, const TabWndItem* it) {
  return (it->mask & TCIF_IMAGE) && s->imageList;
}

void FreeImages(TabWndItem* it) {
  for (PackedDIB*& img : it->images) {
    GlobalFreePtr(img);
    img = nullptr;
  }
}

// The caption is blended straight onto the tab's pixels, so its
// anti-aliased edges take the tab's colours rather than a key colour's.
void PutCaption(PackedDIB* image, const char* text, int state) {
  HFONT font = SkinFont();
  SIZE size = GuiMeasureSmoothText(font, text);
  uint32_t colour = SkinColour(kTabText + state, state == kDisabled ? 0x808080 : 0x202020);
  GuiSkin* skin = GuiGetSkin();
  int ox = skin ? skin->tab.offsetX[state] : 0, oy = skin ? skin->tab.offsetY[state] : 0;
  int32_t x, y;
  TabCaptionOrigin(image->biWidth, DIBHeight(image), size.cx, size.cy, ox, oy, &x, &y);
  if (state == kDisabled)
    GuiDrawSmoothText(image, font, text, x + 1, y + 1, SkinColour(kTabShadow, 0xFFFFFF));
  GuiDrawSmoothText(image, font, text, x, y, colour);
}

void BuildImages(TabWndState* s, TabWndItem* it) {
  FreeImages(it);
  int w = it->rect.right - it->rect.left, h = it->rect.bottom - it->rect.top;
  const uint32_t flat[kStates] = {0xF0F0F0, 0xC8C8C8, 0xB0B0B0};
  for (int k = 0; k < kStates; ++k) {
    PackedDIB* img = DIBCreate(w, h, 24);
    if (!img) continue;
    DIBFill(img, flat[k]);
    DIBComposeThreePiece(img, SkinImage(kTabLeft + k), SkinImage(kTabMiddle + k),
                         SkinImage(kTabRight + k), false);
    if (!IsIconTab(s, it) && it->text) PutCaption(img, it->text, k);
    it->images[k] = img;
  }
}

// Rectangles side by side in list order, then the images.
void Relayout(TabWndState* s) {
  int32_t left = 0;
  for (int i = 0; i < s->count; ++i) {
    TabWndItem* it = ItemAt(s, i);
    it->index = i;
    int cx = 0, cy = 0;
    bool icon = IsIconTab(s, it);
    if (icon) {
      ImageList_GetIconSize(s->imageList, &cx, &cy);
    } else {
      SIZE size = TextSize(it->text);
      cx = size.cx;
      cy = size.cy;
    }
    it->rect = TabRectAfter(left, cx, cy, icon);
    left = it->rect.right;
    if (i == 0) s->tabHeight = it->rect.bottom - it->rect.top;
    BuildImages(s, it);
  }
}

void BuildStrip(TabWndState* s, int width) {
  GlobalFreePtr(s->strip);
  s->strip = nullptr;
  PackedDIB* a = SkinImage(kTabStrip);
  PackedDIB* b = SkinImage(kTabStrip + 1);
  PackedDIB* c = SkinImage(kTabStrip + 2);
  if (!a || !b || !c || width <= 0) return;
  s->strip = DIBCreate(width, DIBHeight(b), 24);
  DIBComposeThreePiece(s->strip, a, b, c, false);
}

void Redraw(HWND w, UINT extra) {
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | extra);
}

void Notify(HWND w, int code) {
  NMHDR nm{w, static_cast<UINT_PTR>(GetDlgCtrlID(w)), static_cast<UINT>(code)};
  SendMessageA(GetParent(w), WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// --- Handlers ---

void OnCreate(HWND w) {
  auto* s = static_cast<TabWndState*>(GlobalAllocPtr(sizeof(TabWndState)));
  if (!s) return;  // the window lives on without tabs
  s->window = w;
  s->items = GuiListCreate(0);
  s->margin = 8;
  s->page = SkinImage(kTabPage);
  GuiSetWindowSlot(w, 0, 0, reinterpret_cast<LONG_PTR>(s));
}

void OnDestroy(HWND w, TabWndState* s) {
  GlobalFreePtr(s->strip);
  for (int i = 0; i < s->count; ++i) {
    TabWndItem* it = ItemAt(s, i);
    FreeImages(it);
    if (it->ownsText) GlobalFreePtr(it->text);
  }
  GuiListDestroy(s->items);
  GlobalFreePtr(s);
  GuiSetWindowSlot(w, 0, 0, 0);
}

LRESULT OnInsertItem(HWND w, TabWndState* s, WPARAM wp, LPARAM lp) {
  const auto* in = reinterpret_cast<const TCITEMA*>(lp);
  if (!in) return -1;
  int at = static_cast<int>(wp);
  if (at < 0 || at > s->count) at = s->count;
  TabWndItem item{};
  item.mask = in->mask;
  item.state = in->dwState;
  item.stateMask = in->dwStateMask;
  item.textMax = in->cchTextMax;
  item.image = in->iImage;
  item.param = in->lParam;
  if (in->mask & TCIF_IMAGE) {
    item.text = in->pszText;
  } else {
    item.text = GlobalStrDup(in->pszText ? in->pszText : "");
    item.ownsText = 1;
  }
  s->suspended = 1;
  GuiListNode* ref = nullptr;
  if (at < s->count) {
    GuiListSeek(s->items, at, kListFromHead);
    ref = s->items->cursor;
  }
  GuiListNode* node = ref ? GuiListInsertCopy(s->items, &item, sizeof item, ref, kListBefore)
                          : GuiListInsertCopy(s->items, &item, sizeof item, nullptr, kListBack);
  if (!node) {
    if (item.ownsText) GlobalFreePtr(item.text);
    s->suspended = 0;
    return -1;
  }
  ++s->count;
  if (at <= s->selection && s->count > 1) ++s->selection;
  Relayout(s);
  s->suspended = 0;
  Redraw(w, 0);
  return at;
}

LRESULT OnSetCurSel(HWND w, TabWndState* s, WPARAM wp) {
  TabWndItem* it = ItemAt(s, static_cast<int>(wp));
  if (it && !it->disabled) {
    s->selection = static_cast<int32_t>(wp);
    Redraw(w, RDW_INTERNALPAINT);
  }
  return s->selection;
}

void OnLButtonDown(HWND w, TabWndState* s, LPARAM lp) {
  int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
  int hit = -1;
  for (int i = 0; i < s->count && hit < 0; ++i) {
    TabWndItem* it = ItemAt(s, i);
    if (TabAtPoint(&it->rect, 1, x, y) == 0) hit = i;
  }
  TabWndItem* it = ItemAt(s, hit);
  if (!TabClickSelects(hit, s->selection, it && it->disabled)) return;
  Notify(w, TCN_SELCHANGING);
  s->selection = hit;
  Notify(w, TCN_SELCHANGE);
  Redraw(w, RDW_INTERNALPAINT | RDW_UPDATENOW);
}

LRESULT OnAdjustRect(TabWndState* s, WPARAM wp, LPARAM lp) {
  auto* r = reinterpret_cast<RECT*>(lp);
  if (!r) return 0;
  TabWndItem* first = ItemAt(s, 0);
  PackedDIB* ref = first && first->images[0] ? first->images[0] : SkinImage(kTabLeft);
  int32_t height = DIBHeightOf(ref);
  TabRect t{r->left, r->top, r->right, r->bottom};
  TabAdjustRect(&t, wp != 0, height, s->margin);
  *r = RECT{t.left, t.top, t.right, t.bottom};
  return 0;
}

void OnEnableItem(HWND w, TabWndState* s, WPARAM wp, LPARAM lp) {
  TabWndItem* it = ItemAt(s, static_cast<int>(wp));
  if (!it) return;
  it->disabled = lp == 0;
  Redraw(w, RDW_INTERNALPAINT);
}

void DrawLine(HDC dc, COLORREF colour, int width, int x0, int y0, int x1, int y1) {
  HPEN pen = CreatePen(PS_SOLID, width > 0 ? width : 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void PaintPageFrame(HDC dc, TabWndState* s, const RECT& page) {
  GuiSkin* skin = GuiGetSkin();
  int fw = skin && skin->tab.frameWidth > 0 ? skin->tab.frameWidth : 1;
  COLORREF light = SkinColour(kTabLight, 0xFFFFFF), dark = SkinColour(kTabDark, 0x404040);
  TabWndItem* sel = ItemAt(s, s->selection);
  int top = page.top, half = fw / 2;
  DrawLine(dc, light, fw, page.left + half, page.bottom, page.left + half, top + half);
  if (sel) {
    DrawLine(dc, light, fw, page.left, top + half, sel->rect.left, top + half);
    DrawLine(dc, light, fw, sel->rect.right, top + half, page.right, top + half);
  } else {
    DrawLine(dc, light, fw, page.left, top + half, page.right, top + half);
  }
  DrawLine(dc, dark, fw, page.right - 1 - half, top, page.right - 1 - half, page.bottom - 1 - half);
  DrawLine(dc, dark, fw, page.right - 1, page.bottom - 1 - half, page.left, page.bottom - 1 - half);
}

void OnPaint(HWND w, TabWndState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  GuiSkin* skin = GuiGetSkin();
  if (skin && skin->palette) GuiSelectRealizePalette(dc, 0, static_cast<HPALETTE>(skin->palette));
  SendMessageA(GetParent(w), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(w));
  RECT client;
  GetClientRect(w, &client);
  RECT page{client.left, client.top + s->tabHeight, client.right, client.bottom};
  if (s->page)
    DIBTileRect(dc, s->page, &page);
  else
    GuiFillRectColor(dc, &page, 0xE8E8E8);
  int fw = skin && skin->tab.frameWidth > 0 ? skin->tab.frameWidth : 1;
  for (int i = 0; i < s->count; ++i) {
    TabWndItem* it = ItemAt(s, i);
    PackedDIB* img = it->images[kNormal];
    if (i == s->selection)
      img = it->images[kSelected];
    else if (it->disabled && it->images[kDisabled])
      img = it->images[kDisabled];
    if (img) DIBBltRGB(dc, it->rect.left, it->rect.top, img->biWidth, DIBHeight(img), 0, 0, img);
    if (IsIconTab(s, it))
      ImageList_Draw(s->imageList, it->image, dc, it->rect.left + 6, it->rect.top + 6,
                     ILD_TRANSPARENT);
    if (i != s->selection)
      DrawLine(dc, SkinColour(kTabLight, 0xFFFFFF), fw, it->rect.left, it->rect.bottom - 1,
               it->rect.right, it->rect.bottom - 1);
  }
  if (s->strip)
    DIBBltRGB(dc, 0, page.top, s->strip->biWidth, DIBHeight(s->strip), 0, 0, s->strip);
  else
    PaintPageFrame(dc, s, page);
  EndPaint(w, &ps);
}

void OnNcCalcSize(TabWndState* s, LPARAM lp) {
  s->page = SkinImage(kTabPage);
  Relayout(s);
  const RECT* r = reinterpret_cast<const RECT*>(lp);
  BuildStrip(s, r ? r->right - r->left : 0);
}

LRESULT CALLBACK TabWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CREATE) {
    OnCreate(w);
    return DefWindowProcA(w, msg, wp, lp);
  }
  TabWndState* s = StateOf(w);
  if (!s) return msg == WM_NCCALCSIZE ? 0 : DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_DESTROY:
      OnDestroy(w, s);
      break;
    case WM_PAINT:
      if (s->suspended) return DefWindowProcA(w, msg, wp, lp);
      OnPaint(w, s);
      return 0;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      return 0;
    case WM_NCCALCSIZE:
      OnNcCalcSize(s, lp);
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(w, s, lp);
      return 0;
    case TCM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(s->imageList);
    case TCM_SETIMAGELIST: {
      HIMAGELIST old = s->imageList;
      s->imageList = reinterpret_cast<HIMAGELIST>(lp);
      return reinterpret_cast<LRESULT>(old);
    }
    case TCM_INSERTITEMA:
      return OnInsertItem(w, s, wp, lp);
    case TCM_GETITEMCOUNT:
      return s->count;
    case TCM_GETCURSEL:
      return s->selection;
    case TCM_SETCURSEL:
      return OnSetCurSel(w, s, wp);
    case TCM_ADJUSTRECT:
      return OnAdjustRect(s, wp, lp);
    case TCM_REMOVEIMAGE:
      if (s->imageList) ImageList_Remove(s->imageList, static_cast<int>(wp));
      return 0;
    case kMsgTabPageTexture:
      s->page = lp ? reinterpret_cast<PackedDIB*>(lp) : SkinImage(kTabPage);
      DefWindowProcA(w, msg, wp, lp);
      return 0;
    case kMsgTabEnable:
      OnEnableItem(w, s, wp, lp);
      DefWindowProcA(w, msg, wp, lp);
      return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int RegisterCGUITabWnd(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = TabWndProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  wc.lpszClassName = kClass;
  return RegisterClassA(&wc) ? 1 : 0;
}

}  // namespace gui
