// Menus on the frame's menu bar and in pooled popup windows. Popups are not
// modal loops: they track the mouse and keys in their own messages.
#include "gui/win32/gui_menu_win32.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kPopupClass[] = "CGUIMenuPopup";
constexpr UINT_PTR kTimerSubmenu = 99;
constexpr int kPopupFrame = 2;  // without frame images

struct PopupState {
  HWND owner;     // the frame the menu belongs to
  RECT anchor;    // screen coordinates
  GuiMenu* menu;  // a view owned by the popup, or the caller's menu
  bool ownsMenu;
  LPARAM kind;  // 0 or 1: a top popup; else the parent popup window
  HWND child;
};

struct PoolEntry {
  HWND window;
  bool inUse;
};
std::vector<PoolEntry> g_pool;
HINSTANCE g_instance = nullptr;
char g_helpText[512];

GuiMenuGroup* Group() {
  GuiFrameSkin* skin = GuiGetFrameSkin();
  return skin && skin->menu.present ? &skin->menu : nullptr;
}
PackedDIB* MenuImage(int index) {
  GuiMenuGroup* g = Group();
  return g ? g->images[index] : nullptr;
}
HFONT MenuFont() {
  GuiMenuGroup* g = Group();
  return g && g->font ? static_cast<HFONT>(g->font)
                      : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}
HWND NotifyWindow(HWND fallback) {
  GuiFrameSkin* skin = GuiGetFrameSkin();
  return skin && skin->notifyWindow ? static_cast<HWND>(skin->notifyWindow) : fallback;
}

PopupState* StateOf(HWND popup) {
  return popup ? reinterpret_cast<PopupState*>(GetWindowLongPtrA(popup, 0)) : nullptr;
}

// The text without mnemonic marks, split at a tab into label and shortcut.
void SplitLabel(const char* text, std::string* label, std::string* shortcut) {
  label->clear();
  shortcut->clear();
  std::string* out = label;
  for (const char* p = text; *p; ++p) {
    if (*p == '\t') {
      out = shortcut;
      continue;
    }
    if (*p == '&') {
      if (p[1] != '&') continue;
      ++p;
    }
    out->push_back(*p);
  }
}

int FrameWidth() {
  PackedDIB* left = MenuImage(kMnFrameLeft);
  return left ? DIBWidthOf(left) : kPopupFrame;
}

void LayoutPopup(PopupState* st, SIZE* size) {
  GuiMenu* m = st->menu;
  int checkW = std::max(DIBWidthOf(MenuImage(kMnCheck)), 12);
  int arrowW = std::max(DIBWidthOf(MenuImage(kMnArrow)), 8);
  int sepH = MenuImage(kMnSeparator + 1) ? DIBHeightOf(MenuImage(kMnSeparator + 1)) : 8;
  GuiMenuGroup* g = Group();
  int marginY = g ? g->marginY : 2;
  int y = 0, widest = 0;
  for (int i = 0; i < m->count; ++i) {
    GuiMenuItem& it = m->items[i];
    int h;
    if (it.flags & kMenuSeparator) {
      h = sepH;
    } else {
      std::string label, shortcut;
      SplitLabel(it.text, &label, &shortcut);
      SIZE a = GuiMeasureSmoothText(MenuFont(), label.c_str());
      SIZE b = GuiMeasureSmoothText(MenuFont(), shortcut.c_str());
      h = a.cy + 2 * marginY;
      widest = std::max<int>(widest, checkW + 6 + a.cx + (b.cx ? b.cx + 24 : 0) + arrowW + 9);
    }
    it.rect = DibRect{0, y, 0, y + h};
    y += h;
  }
  int width = widest + 15;
  for (int i = 0; i < m->count; ++i)
    m->items[i].rect.right = width;
  size->cx = width + 2 * FrameWidth();
  size->cy = y + 2 * FrameWidth();
}

HWND PoolTake(HWND notify) {
  for (PoolEntry& e : g_pool)
    if (!e.inUse && IsWindow(e.window)) {
      e.inUse = true;
      return e.window;
    }
  HWND w =
      CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPopupClass, "", WS_POPUP | WS_CLIPSIBLINGS,
                      0, 0, 10, 10, notify, nullptr, g_instance, nullptr);
  if (w) g_pool.push_back(PoolEntry{w, true});
  return w;
}

void PoolGive(HWND w) {
  for (PoolEntry& e : g_pool)
    if (e.window == w) e.inUse = false;
}

void ClosePopup(HWND popup) {
  PopupState* st = StateOf(popup);
  if (!st) return;
  if (st->child) ClosePopup(st->child);
  KillTimer(popup, kTimerSubmenu);
  ShowWindow(popup, SW_HIDE);
  EnableWindow(popup, FALSE);
  if (st->menu && st->menu->selected >= 0)
    st->menu->items[st->menu->selected].flags &= ~kMenuHighlighted;
  if (st->ownsMenu) GuiDestroyMenu(st->menu);
  LPARAM kind = st->kind;
  HWND owner = st->owner;
  if (kind > 1) {
    if (PopupState* parent = StateOf(reinterpret_cast<HWND>(kind))) parent->child = nullptr;
  }
  SetWindowLongPtrA(popup, 0, 0);
  GlobalFreePtr(st);
  PoolGive(popup);
  if (kind <= 1) {
    // The top popup: clear the help text, end the menu loop.
    HWND notify = NotifyWindow(owner);
    SendMessageA(owner, kMsgStatusSetText, 255, reinterpret_cast<LPARAM>(""));
    SendMessageA(notify == owner ? owner : owner, kMsgMenuClosed, kind == 1 ? 1 : 2, 0);
  }
}

HWND TopOf(HWND popup) {
  for (PopupState* st = StateOf(popup); st && st->kind > 1; st = StateOf(popup))
    popup = reinterpret_cast<HWND>(st->kind);
  return popup;
}

void Invalidate(HWND popup, const GuiMenuItem& it) {
  RECT r{it.rect.left, it.rect.top, it.rect.right, it.rect.bottom};
  InvalidateRect(popup, &r, TRUE);
}

void ShowHelp(PopupState* st, HWND popup, const GuiMenuItem* it) {
  GuiMenuGroup* g = Group();
  if (!g || !g->helpSwitch) return;
  g_helpText[0] = 0;
  if (it && !(it->flags & (kMenuPopup | kMenuSeparator)))
    LoadStringA(static_cast<HINSTANCE>(g->helpInstance), it->id + g->helpBase, g_helpText,
                sizeof g_helpText);
  SendMessageA(st->owner, kMsgStatusSetText, g->helpPart ? g->helpPart : 255,
               reinterpret_cast<LPARAM>(g_helpText));
  PostMessageA(NotifyWindow(st->owner), kMsgFrameEvent, kEventMenuHighlight,
               reinterpret_cast<LPARAM>(popup));
}

void Select(HWND popup, PopupState* st, int index) {
  GuiMenu* m = st->menu;
  if (index == m->selected) return;
  if (m->selected >= 0) {
    m->items[m->selected].flags &= ~kMenuHighlighted;
    Invalidate(popup, m->items[m->selected]);
  }
  if (st->child) ClosePopup(st->child);
  KillTimer(popup, kTimerSubmenu);
  m->selected = index;
  if (index >= 0) {
    m->items[index].flags |= kMenuHighlighted;
    Invalidate(popup, m->items[index]);
    ShowHelp(st, popup, &m->items[index]);
  }
}

void OpenSubmenu(HWND popup, PopupState* st) {
  GuiMenu* m = st->menu;
  if (m->selected < 0 || st->child) return;
  GuiMenuItem& it = m->items[m->selected];
  if (!(it.flags & kMenuPopup) || (it.flags & (kMenuGrayed | kMenuDisabled))) return;
  GuiMenu* sub = GuiGetSubMenu(m, m->selected);
  if (!sub) return;
  RECT anchor{it.rect.left, it.rect.top, it.rect.right, it.rect.bottom};
  MapWindowPoints(popup, nullptr, reinterpret_cast<POINT*>(&anchor), 2);
  HWND child = GuiTrackPopupMenu(sub, &anchor, st->owner, reinterpret_cast<LPARAM>(popup));
  if (child) {
    StateOf(child)->ownsMenu = true;
    st->child = child;
  } else {
    GuiDestroyMenu(sub);
  }
}

void Choose(HWND popup, PopupState* st, int index) {
  if (index < 0 || index >= st->menu->count) return;
  GuiMenuItem& it = st->menu->items[index];
  if (it.flags & (kMenuGrayed | kMenuDisabled | kMenuSeparator)) return;
  if (it.flags & kMenuPopup) {
    Select(popup, st, index);
    OpenSubmenu(popup, st);
    return;
  }
  HWND owner = st->owner;
  UINT id = it.id;
  HWND notify = NotifyWindow(owner);
  PostMessageA(notify, kMsgFrameEvent, kEventMenuCommand, reinterpret_cast<LPARAM>(owner));
  SendMessageA(notify, kMsgPlaySound, WM_COMMAND, 0);
  PostMessageA(owner, WM_COMMAND, id, 0);
  GuiCloseMenuChain(popup);
}

int ItemAt(PopupState* st, POINT client) {
  for (int i = 0; i < st->menu->count; ++i) {
    const DibRect& r = st->menu->items[i].rect;
    if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom)
      return i;
  }
  return -1;
}

void PaintPopup(HWND popup, PopupState* st) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(popup, &ps);
  RECT rc;
  GetClientRect(popup, &rc);
  PackedDIB* canvas = DIBCreate(std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1), 24);
  GuiMenuGroup* g = Group();
  if (canvas) {
    DIBFill(canvas, g ? g->background : GetSysColor(COLOR_MENU));
    int checkW = std::max(DIBWidthOf(MenuImage(kMnCheck)), 12);
    for (int i = 0; i < st->menu->count; ++i) {
      const GuiMenuItem& it = st->menu->items[i];
      const DibRect& r = it.rect;
      bool hot = (it.flags & kMenuHighlighted) != 0;
      if (it.flags & kMenuSeparator) {
        DIBComposeThreePieceAt(
            canvas, r.left + 2,
            r.top + (r.bottom - r.top - DIBHeightOf(MenuImage(kMnSeparator + 1))) / 2,
            r.right - r.left - 4, MenuImage(kMnSeparator), MenuImage(kMnSeparator + 1),
            MenuImage(kMnSeparator + 2), false);
        continue;
      }
      if (hot || (it.flags & kMenuColoured)) {
        PackedDIB* fill = DIBCreate(r.right - r.left, r.bottom - r.top, 24);
        if (fill) {
          DIBFill(fill, g ? g->highlight : GetSysColor(COLOR_HIGHLIGHT));
          DIBCopyRect(canvas, fill, r.left, r.top, 0, 0, fill->biWidth, DIBHeight(fill));
          GlobalFreePtr(fill);
        }
      }
      bool grayed = (it.flags & (kMenuGrayed | kMenuDisabled)) != 0;
      COLORREF colour = !g       ? 0
                        : grayed ? (hot ? g->grayedColorHot : g->grayedColor)
                        : (hot || (it.flags & kMenuColoured)) ? g->textColorHot
                                                              : g->textColor;
      auto mark = [&](int image, int x) {
        PackedDIB* img = MenuImage(hot ? image + 1 : image);
        if (!img) img = MenuImage(image);
        if (img)
          DIBCopyRectClipped(canvas, img, x, r.top + (r.bottom - r.top - DIBHeightOf(img)) / 2, 0,
                             0, DIBWidthOf(img), DIBHeightOf(img), true, kKey24);
      };
      if (it.flags & kMenuChecked) mark(kMnCheck, r.left + 3);
      if (it.flags & kMenuPopup) mark(kMnArrow, r.right - 9 - DIBWidthOf(MenuImage(kMnArrow)));
      std::string label, shortcut;
      SplitLabel(it.text, &label, &shortcut);
      SIZE ts = GuiMeasureSmoothText(MenuFont(), label.c_str());
      int tx = r.left + checkW + 6, ty = r.top + (r.bottom - r.top - ts.cy) / 2;
      if (grayed && !hot && g)
        GuiDrawSmoothText(canvas, MenuFont(), label.c_str(), tx + 1, ty + 1, g->textColorHot);
      GuiDrawSmoothText(canvas, MenuFont(), label.c_str(), tx, ty, colour);
      if (!shortcut.empty()) {
        SIZE ss = GuiMeasureSmoothText(MenuFont(), shortcut.c_str());
        GuiDrawSmoothText(canvas, MenuFont(), shortcut.c_str(), r.right - 12 - ss.cx - 8, ty,
                          colour);
      }
    }
    DIBBltRGB(dc, 0, 0, canvas->biWidth, DIBHeight(canvas), 0, 0, canvas);
    GlobalFreePtr(canvas);
  }
  EndPaint(popup, &ps);
}

void PaintPopupFrame(HWND popup) {
  RECT wr;
  GetWindowRect(popup, &wr);
  RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  if (MenuImage(kMnFrameLeft)) {
    PackedDIB* const images[8] = {MenuImage(kMnFrameTopLeft),  MenuImage(kMnFrameTop),
                                  MenuImage(kMnFrameTopRight), MenuImage(kMnFrameBottomLeft),
                                  MenuImage(kMnFrameBottom),   MenuImage(kMnFrameBottomRight),
                                  MenuImage(kMnFrameLeft),     MenuImage(kMnFrameRight)};
    GuiFrameSkin* skin = GuiGetFrameSkin();
    DIBDrawPopupFrame(popup, &r, images, skin ? static_cast<HPALETTE>(skin->palette) : nullptr);
    return;
  }
  HDC dc = GetWindowDC(popup);
  HBRUSH b = CreateSolidBrush(Group() ? Group()->textColor : 0);
  FrameRect(dc, &r, b);
  DeleteObject(b);
  ReleaseDC(popup, dc);
}

void KeyDown(HWND popup, PopupState* st, WPARAM key) {
  GuiMenu* m = st->menu;
  switch (key) {
    case VK_RETURN:
      Choose(popup, st, m->selected);
      return;
    case VK_ESCAPE:
      if (st->kind > 1) {
        HWND parent = reinterpret_cast<HWND>(st->kind);
        ClosePopup(popup);
        SetFocus(parent);
      } else {
        GuiCloseMenuChain(popup);
      }
      return;
    case VK_UP:
      Select(popup, st, GuiMenuStep(m, m->selected, -1));
      return;
    case VK_DOWN:
      Select(popup, st, GuiMenuStep(m, m->selected, 1));
      return;
    case VK_RIGHT: {
      if (m->selected < 0) {
        Select(popup, st, GuiMenuStep(m, -1, 1));
        return;
      }
      if (m->items[m->selected].flags & kMenuPopup) {
        if (!st->child) OpenSubmenu(popup, st);
        if (st->child) {
          PopupState* c = StateOf(st->child);
          SetFocus(st->child);
          Select(st->child, c, GuiMenuStep(c->menu, -1, 1));
        }
        return;
      }
      break;
    }
    case VK_LEFT:
      if (st->kind > 1) {
        HWND parent = reinterpret_cast<HWND>(st->kind);
        ClosePopup(popup);
        SetFocus(parent);
        return;
      }
      break;
    default: {
      if (GetKeyState(VK_CONTROL) < 0) return;
      char ch = static_cast<char>(MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR));
      int i = GuiFindMnemonic(m, ch);
      if (i >= 0) {
        Select(popup, st, i);
        Choose(popup, st, i);
      }
      return;
    }
  }
  // Left or Right at the top of a bar popup moves along the bar.
  HWND top = TopOf(popup);
  PopupState* ts = StateOf(top);
  GuiMenuBar* bar = ts ? GuiFrameMenuBar(ts->owner) : nullptr;
  if (!bar || ts->kind != 1 || !bar->menu) return;
  int n = bar->menu->count;
  int next = ((bar->menu->barOpen + (key == VK_RIGHT ? 1 : -1)) % n + n) % n;
  GuiMenuBarOpenItem(bar, next);
}

LRESULT CALLBACK CGUIMenuPopupWndProc(HWND popup, UINT msg, WPARAM wp, LPARAM lp) {
  PopupState* st = StateOf(popup);
  switch (msg) {
    case WM_NCCALCSIZE: {
      RECT* r = reinterpret_cast<RECT*>(lp);
      int f = FrameWidth();
      InflateRect(r, -f, -f);
      return 0;
    }
    case WM_NCPAINT:
      PaintPopupFrame(popup);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (st) {
        PaintPopup(popup, st);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (st) {
        int i = ItemAt(st, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        if (i >= 0 && i != st->menu->selected && !(st->menu->items[i].flags & (kMenuSeparator))) {
          Select(popup, st, i);
          if (st->menu->items[i].flags & kMenuPopup) SetTimer(popup, kTimerSubmenu, 300, nullptr);
        }
      }
      return 0;
    case WM_TIMER:
      if (wp == kTimerSubmenu && st) {
        KillTimer(popup, kTimerSubmenu);
        OpenSubmenu(popup, st);
      }
      return 0;
    case WM_LBUTTONDOWN:
      if (st &&
          ItemAt(st, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}) < 0)
        GuiCloseMenuChain(popup);
      return 0;
    case WM_LBUTTONUP:
      if (st) {
        int i = ItemAt(st, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
        if (i >= 0 && !(st->menu->items[i].flags & kMenuPopup)) Choose(popup, st, i);
      }
      return 0;
    case WM_KEYDOWN:
      if (st) KeyDown(popup, st, wp);
      return 0;
    case WM_SYSKEYDOWN:
      if (st) GuiCloseMenuChain(popup);
      return 0;
    case WM_ACTIVATEAPP:
      if (!wp && st) GuiCloseMenuChain(popup);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      break;
  }
  return DefWindowProcA(popup, msg, wp, lp);
}

}  // namespace

int RegisterCGUIMenuPopup(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_GLOBALCLASS | CS_SAVEBITS;
  wc.lpfnWndProc = CGUIMenuPopupWndProc;
  wc.cbClsExtra = 4;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kPopupClass;
  return RegisterClassExA(&wc) ? 1 : 0;
}

int GuiMenuInit(HINSTANCE instance) {
  g_instance = instance;
  return RegisterCGUIMenuPopup(instance);
}

void GuiMenuShutdown() {
  for (PoolEntry& e : g_pool)
    if (IsWindow(e.window)) DestroyWindow(e.window);
  g_pool.clear();
  UnregisterClassA(kPopupClass, g_instance);
}

GuiMenu* GuiLoadMenu(HINSTANCE instance, const char* name) {
  HRSRC res = FindResourceA(instance, name, reinterpret_cast<LPCSTR>(RT_MENU));
  if (!res) return nullptr;
  HGLOBAL h = LoadResource(instance, res);
  const void* data = h ? LockResource(h) : nullptr;
  if (!data) return nullptr;
  return GuiParseMenuResource(static_cast<const uint8_t*>(data), SizeofResource(instance, res));
}

HWND GuiTrackPopupMenu(GuiMenu* menu, const RECT* anchor, HWND owner, LPARAM kind) {
  if (!menu || !anchor) return nullptr;
  HWND notify = NotifyWindow(owner);
  if (kind <= 1) SendMessageA(notify, WM_ENTERMENULOOP, kind == 0 ? 1 : 0, 0);
  SendMessageA(notify, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  HWND popup = PoolTake(notify);
  if (!popup) return nullptr;
  auto* st = static_cast<PopupState*>(GlobalAllocPtr(sizeof(PopupState)));
  if (!st) {
    PoolGive(popup);
    return nullptr;
  }
  *st = PopupState{owner, *anchor, menu, false, kind, nullptr};
  menu->selected = -1;
  SetWindowLongPtrA(popup, 0, reinterpret_cast<LONG_PTR>(st));
  SIZE size;
  LayoutPopup(st, &size);
  RECT screen;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
  bool sub = kind > 1;
  int x = sub ? anchor->right : anchor->left;
  int y = sub ? anchor->top : anchor->bottom;
  if (x + size.cx > screen.right) x = (sub ? anchor->left : anchor->right) - size.cx;
  if (y + size.cy > screen.bottom) y = sub ? anchor->bottom - size.cy : anchor->top - size.cy;
  EnableWindow(popup, TRUE);
  SetWindowPos(popup, HWND_TOPMOST, x, y, size.cx, size.cy, SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ShowWindow(popup, SW_SHOWNOACTIVATE);
  InvalidateRect(popup, nullptr, TRUE);
  if (menu->count > 0) SetFocus(popup);
  return popup;
}

void GuiCloseMenuChain(HWND popup) {
  HWND top = TopOf(popup);
  if (StateOf(top)) ClosePopup(top);
}

GuiMenuBar* GuiMenuBarCreate(HWND owner, GuiMenu* menu) {
  auto* bar = static_cast<GuiMenuBar*>(GlobalAllocPtr(sizeof(GuiMenuBar)));
  if (!bar) return nullptr;
  bar->owner = owner;
  bar->menu = menu;
  bar->hot = -1;
  if (menu) menu->barOpen = menu->selected = -1;
  return bar;
}

void GuiMenuBarDestroy(GuiMenuBar* bar) {
  if (!bar) return;
  if (bar->openPopup) GuiCloseMenuChain(bar->openPopup);
  GlobalFreePtr(bar);
}

int GuiMenuBarHeight() {
  if (PackedDIB* img = MenuImage(kMnBarCenter)) return DIBHeightOf(img);
  GuiMenuGroup* g = Group();
  SIZE s = GuiMeasureSmoothText(MenuFont(), "Ag");
  return s.cy + 2 * (g ? g->marginY : 3);
}

void GuiMenuBarLayout(GuiMenuBar* bar, const RECT& rc) {
  if (!bar || !bar->menu) return;
  bar->origin = POINT{rc.left, rc.top};
  GuiMenuGroup* g = Group();
  const int style = g ? g->style : kMenuRenderedItems;
  int mx = g ? g->marginX : 8, my = g ? g->marginY : 3, x = rc.left + 4;
  for (int i = 0; i < bar->menu->count; ++i) {
    GuiMenuItem& it = bar->menu->items[i];
    std::string label, shortcut;
    SplitLabel(it.text, &label, &shortcut);
    SIZE ts = GuiMeasureSmoothText(MenuFont(), label.c_str());
    int w = ts.cx + 2 * mx, h = rc.bottom - rc.top;
    if (style == kMenuTextItems) {
      h = std::min<int>(h, ts.cy + 2 * my);
    } else if (style == kMenuImageItems) {
      // An item without its image keeps the text size, so it can still be hit.
      if (it.images[0]) {
        w = DIBWidth(it.images[0]);
        h = std::min<int>(h, DIBHeight(it.images[0]));
      }
    }
    it.rect = DibRect{x, rc.top, x + w, rc.top + h};
    x += w;
  }
}

namespace {

void FillRect24(PackedDIB* canvas, const DibRect& r, COLORREF colour) {
  if (!canvas || canvas->biBitCount != 24) return;
  const int left = std::max(0, r.left), right = std::min<int>(DIBWidth(canvas), r.right);
  const int top = std::max(0, r.top), bottom = std::min<int>(DIBHeight(canvas), r.bottom);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) {
      uint8_t* p = DIBPixelPtr(canvas, x, y);
      p[0] = GetBValue(colour);
      p[1] = GetGValue(colour);
      p[2] = GetRValue(colour);
    }
}

// The item's look behind its text: the bar's item images (rendered items),
// the highlight colour (text items) or the item's own images (image items).
// False when the item's image stands for its text.
bool PaintBarItemBack(PackedDIB* canvas, const GuiMenuItem& it, const RECT& rc, bool lit,
                      int style) {
  GuiMenuGroup* g = Group();
  if (style == kMenuTextItems) {
    if (lit && g) FillRect24(canvas, it.rect, g->highlight);
    return true;
  }
  if (style == kMenuImageItems) {
    const PackedDIB* img = lit && it.images[1] ? it.images[1] : it.images[0];
    if (!img) return true;
    DIBCopyRectClipped(canvas, img, it.rect.left, it.rect.top, 0, 0, DIBWidth(img), DIBHeight(img),
                       true, img->biBitCount == 8 ? kKey8 : kKey24);
    return false;
  }
  int base = lit ? kMnItemDown : kMnItemUp;
  if (MenuImage(base + 1))
    DIBComposeThreePieceAt(
        canvas, it.rect.left,
        it.rect.top + (rc.bottom - rc.top - DIBHeightOf(MenuImage(base + 1))) / 2,
        it.rect.right - it.rect.left, MenuImage(base), MenuImage(base + 1), MenuImage(base + 2),
        false, true);
  return true;
}

}  // namespace

void GuiMenuBarPaint(GuiMenuBar* bar, PackedDIB* canvas, const RECT& rc, bool active) {
  if (!bar || !canvas) return;
  DIBComposeThreePieceAt(canvas, rc.left, rc.top, rc.right - rc.left, MenuImage(kMnBarLeft),
                         MenuImage(kMnBarCenter), MenuImage(kMnBarRight), false);
  if (!bar->menu) return;
  GuiMenuBarLayout(bar, rc);
  GuiMenuGroup* g = Group();
  const int style = g ? g->style : kMenuRenderedItems;
  for (int i = 0; i < bar->menu->count; ++i) {
    const GuiMenuItem& it = bar->menu->items[i];
    bool lit = !bar->disabled && (i == bar->hot || i == bar->menu->barOpen);
    if (!PaintBarItemBack(canvas, it, rc, lit, style)) continue;
    std::string label, shortcut;
    SplitLabel(it.text, &label, &shortcut);
    SIZE ts = GuiMeasureSmoothText(MenuFont(), label.c_str());
    COLORREF colour = !g ? 0 : lit ? g->textColorHot : g->barTextColor[active ? 0 : 1];
    if (it.flags & (kMenuGrayed | kMenuDisabled)) colour = g ? g->grayedColor : colour;
    GuiDrawSmoothText(canvas, MenuFont(), label.c_str(), (it.rect.left + it.rect.right - ts.cx) / 2,
                      (it.rect.top + it.rect.bottom - ts.cy) / 2, colour);
  }
}

int GuiMenuBarItemAt(GuiMenuBar* bar, POINT p) {
  if (!bar || !bar->menu) return -1;
  for (int i = 0; i < bar->menu->count; ++i) {
    const DibRect& r = bar->menu->items[i].rect;
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return i;
  }
  return -1;
}

void GuiMenuBarOpenItem(GuiMenuBar* bar, int item) {
  if (!bar || !bar->menu || item < 0 || item >= bar->menu->count) return;
  if (bar->openPopup) GuiCloseMenuChain(bar->openPopup);
  GuiMenuItem& it = bar->menu->items[item];
  if (!(it.flags & kMenuPopup) || (it.flags & (kMenuGrayed | kMenuDisabled))) return;
  GuiMenu* sub = GuiGetSubMenu(bar->menu, item);
  if (!sub) return;
  RECT wr;
  GetWindowRect(bar->owner, &wr);
  RECT anchor{wr.left + it.rect.left, wr.top + it.rect.top, wr.left + it.rect.right,
              wr.top + it.rect.bottom};
  bar->menu->barOpen = item;
  GetCursorPos(&bar->openCursor);
  HWND popup = GuiTrackPopupMenu(sub, &anchor, bar->owner, 1);
  if (!popup) {
    GuiDestroyMenu(sub);
    bar->menu->barOpen = -1;
    return;
  }
  reinterpret_cast<PopupState*>(GetWindowLongPtrA(popup, 0))->ownsMenu = true;
  bar->openPopup = popup;
  GuiFrameRedrawNonClient(bar->owner);
}

void GuiMenuBarMouse(GuiMenuBar* bar, UINT message, POINT p) {
  if (!bar || bar->disabled) return;
  int item = GuiMenuBarItemAt(bar, p);
  if (message == WM_LBUTTONDOWN) {
    if (item >= 0 && item == bar->menu->barOpen && bar->openPopup) {
      GuiCloseMenuChain(bar->openPopup);
      return;
    }
    GuiMenuBarOpenItem(bar, item);
    return;
  }
  if (item != bar->hot) {
    bar->hot = item;
    GuiFrameRedrawNonClient(bar->owner);
  }
  if (bar->openPopup && item >= 0 && item != bar->menu->barOpen) {
    POINT now;
    GetCursorPos(&now);
    if (std::abs(now.x - bar->openCursor.x) >= 6 || std::abs(now.y - bar->openCursor.y) >= 6)
      GuiMenuBarOpenItem(bar, item);
  }
}

bool GuiMenuBarMnemonic(GuiMenuBar* bar, char key) {
  int i = bar && bar->menu ? GuiFindMnemonic(bar->menu, key) : -1;
  if (i < 0) return false;
  GuiMenuBarOpenItem(bar, i);
  return true;
}

GuiMenu* GuiGetMenu(HWND frame) {
  GuiMenuBar* bar = GuiFrameMenuBar(frame);
  return bar ? bar->menu : nullptr;
}

int GuiEnableMenuBar(HWND frame, int enable) {
  GuiMenuBar* bar = GuiFrameMenuBar(frame);
  if (!bar) return 0;
  int previous = bar->disabled;
  bar->disabled = enable ? 0 : 1;
  return previous;
}

GuiMenu* GuiSetMenu(HWND frame, GuiMenu* menu) {
  GuiMenuBar* bar = GuiFrameMenuBar(frame);
  GuiMenu* previous = bar ? bar->menu : nullptr;
  if (!menu) {
    if (bar) bar->disabled = 1;
    GuiFrameSetMenuBar(frame, bar, false);
    return nullptr;
  }
  if (!bar) bar = GuiMenuBarCreate(frame, menu);
  if (!bar) return nullptr;
  if (bar->ownsMenu && previous) {
    GuiDestroyMenu(previous);  // the frame's own menu: nobody else holds it
    previous = nullptr;
  }
  bar->ownsMenu = 0;
  bar->menu = menu;
  bar->disabled = 0;
  bar->hot = -1;
  menu->selected = menu->barOpen = -1;
  GuiFrameSetMenuBar(frame, bar, true);
  return previous;
}

}  // namespace gui
