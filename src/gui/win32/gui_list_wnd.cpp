// CGUIListWnd: the toolkit's own list box. It answers the standard list-box
// messages, draws its items with the skin's colours on the item-view engine
// and adds marks for red text and two-colour capitals, select-all and the
// combo box's drop-list protocol.
//
// Differences from the behaviour it follows: an index from a message is checked
// against the count before any item is read (LB_GETTEXT, LB_GETTEXTLEN
// included); a click that hits no item sends no LBN_SELCHANGE; keyboard
// selection changes send no notification.
#include "gui/win32/gui_list_wnd.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/item_view.h"
#include "gui/view_skin.h"
#include "gui/win32/gui_scrollbars_win32.h"
#include "gui/win32/gui_win32.h"
#include "gui/win32/item_view_win32.h"

namespace gui {

const char kListWndClassName[] = "CGUIListWnd";

namespace {

enum ItemFlag : uint32_t {
  kSelected = 0x1,
  kDrawnSelected = 0x10,
  kCapitals = 0x100,
  kCapitals2 = 0x1000,
  kRedText = 0x10000
};
constexpr uint32_t kSelBits = kSelected | kDrawnSelected;
constexpr int32_t kGrowRecords = 64;
constexpr int32_t kDefaultColumnWidth = 80;
constexpr int kStateSlot = 0, kComboSlot = 1;

struct ListItem {
  uint32_t flags;
  int32_t width;
  intptr_t text;  // the item's own string, or the caller's value without strings
  intptr_t data;
};

struct ListState {
  int32_t count;
  int32_t cursel;
  int32_t anchor;
  int32_t extentEnd;
  int32_t caret;
  ListItem* items;
  int32_t capacity;
  UINT_PTR addModeTimer;
  int32_t blink;
  DWORD style;
  int32_t avgCharWidth;
  int32_t tabCount;
  int32_t* tabs;
  int32_t redrawOff;
  int32_t columnWidth;
  GuiItemView view;
  GuiViewHostWin32 host;
  HWND window;
};

HWND g_hover = nullptr;  // one window for all lists: the list that took the focus on hover

int XOf(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int YOf(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

ListState* StateOf(HWND w) {
  return reinterpret_cast<ListState*>(GuiGetWindowSlot(w, 0, kStateSlot));
}

bool OwnerDrawn(const ListState* s) {
  return (s->style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
}
bool HasStrings(const ListState* s) { return !OwnerDrawn(s) || (s->style & LBS_HASSTRINGS); }
bool MultiSel(const ListState* s) { return (s->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
bool Extended(const ListState* s) { return (s->style & LBS_EXTENDEDSEL) != 0; }
bool MultiColumn(const ListState* s) { return (s->style & LBS_MULTICOLUMN) != 0; }
bool DropList(const ListState* s) { return (s->style & kLbsDropList) != 0; }
bool InRange(const ListState* s, intptr_t i) { return i >= 0 && i < s->count; }
const char* TextOf(const ListItem& it) { return reinterpret_cast<const char*>(it.text); }

HWND Target(const ListState* s) {
  if (DropList(s)) return reinterpret_cast<HWND>(GuiGetWindowSlot(s->window, 0, kComboSlot));
  return GetParent(s->window);
}

int ControlId(const ListState* s) { return GetDlgCtrlID(s->window); }

GuiSkin* Skin() { return GuiGetSkin(); }
COLORREF SkinColour(int which) {
  GuiSkin* skin = Skin();
  return skin ? skin->list.colors[which] : RGB(0, 0, 0);
}

int32_t RowsPerColumn(const ListState* s) { return std::max(s->view.wholeRows, 1); }

// --- Repainting ---------------------------------------------------------------

void RepaintItem(ListState* s, int32_t i) {
  if (!InRange(s, i)) return;
  GuiItemViewRedrawItem(&s->view, MultiColumn(s) ? i % RowsPerColumn(s) : i);
}

void RepaintWhole(ListState* s) {
  if (!s->redrawOff) InvalidateRect(s->window, nullptr, TRUE);
}

// --- Multi-column layout --------------------------------------------------------

void SetHorizontalSteps(ListState* s) {
  if (!MultiColumn(s)) {
    s->host.SetLineStep(kBarHorz, 6);
    s->host.SetPageStep(kBarHorz, 50);
    return;
  }
  int32_t viewWidth = s->view.view.right - s->view.view.left;
  int32_t cw = s->columnWidth;
  int32_t visible = cw > 0 ? viewWidth / cw : 0;
  s->host.SetLineStep(kBarHorz, visible >= 1 ? cw : 6);
  s->host.SetPageStep(kBarHorz, std::max(visible - 1, 1) * cw);
}

void LayoutColumns(ListState* s) {
  int32_t r = RowsPerColumn(s);
  int32_t columns = (s->count + r - 1) / r;
  GuiItemViewSetCount(&s->view, std::min(r, s->count), 1);
  if (columns > 0) {
    GuiItemViewSetContentWidth(&s->view, s->columnWidth * columns);
  } else {
    s->view.contentWidth = 0;
    GuiItemViewUpdateHorzBar(&s->view);
  }
}

// Makes item i visible; false when that failed.
bool EnsureItemVisible(ListState* s, int32_t i) {
  if (!InRange(s, i)) return false;
  if (!MultiColumn(s)) return GuiItemViewEnsureVisible(&s->view, i, 0, nullptr) == 1;
  int32_t r = RowsPerColumn(s), column = i / r;
  GuiItemViewEnsureRangeVisibleH(&s->view, column * s->columnWidth,
                                 (column + 1) * s->columnWidth - 1);
  return GuiItemViewEnsureVisible(&s->view, i % r, 0, nullptr) == 1;
}

// --- Fonts ------------------------------------------------------------------------

void MeasureFont(ListState* s, HDC dc) {
  SIZE size{};
  GetTextExtentPoint32A(dc, "AWXZyjpg", 8, &size);
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE letters{};
  GetTextExtentPoint32A(dc, kLetters, 52, &letters);
  s->avgCharWidth = (letters.cx / 26 + 1) / 2;
  GuiItemViewSetRowHeight(&s->view, std::max<int32_t>(size.cy, 1), 0);  // never a zero row
}

int32_t TextWidth(ListState* s, const char* text) {
  HDC dc = GetDC(s->window);
  SIZE size{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  ReleaseDC(s->window, dc);
  return size.cx;
}

// --- Items ------------------------------------------------------------------------

void FreeText(ListState* s, ListItem* it) {
  if (HasStrings(s)) GlobalFreePtr(reinterpret_cast<void*>(it->text));
  it->text = 0;
}

bool ReserveRecords(ListState* s, int32_t more) {
  int32_t capacity = s->capacity + more;
  size_t bytes = static_cast<size_t>(std::max(capacity, 1)) * sizeof(ListItem);
  void* block = s->items ? GlobalReAllocPtr(s->items, bytes) : GlobalAllocPtr(bytes);
  if (!block) return false;
  s->items = static_cast<ListItem*>(block);
  s->capacity = capacity;
  return true;
}

int CompareItem(ListState* s, LPARAM value, int32_t index) {
  if (HasStrings(s))
    return lstrcmpiA(reinterpret_cast<const char*>(value), TextOf(s->items[index]));
  COMPAREITEMSTRUCT c{};
  c.CtlType = ODT_LISTBOX;
  c.CtlID = static_cast<UINT>(ControlId(s));
  c.hwndItem = s->window;
  c.itemID1 = static_cast<UINT>(-1);
  c.itemData1 = static_cast<ULONG_PTR>(value);
  c.itemID2 = static_cast<UINT>(index);
  c.itemData2 = static_cast<ULONG_PTR>(s->items[index].text);
  HWND target = Target(s);
  return target ? static_cast<int>(
                      SendMessageA(target, WM_COMPAREITEM, c.CtlID, reinterpret_cast<LPARAM>(&c)))
                : 0;
}

int32_t SortedPosition(ListState* s, LPARAM value) {
  if (s->count == 0) return 0;
  if (CompareItem(s, value, s->count - 1) >= 0) return s->count;
  int first = CompareItem(s, value, 0);
  if (first < 0) return 0;
  if (first == 0) return 1;
  int32_t lo = 0, hi = s->count - 1;
  while (lo + 1 != hi) {
    int32_t mid = (lo + hi) / 2;
    int c = CompareItem(s, value, mid);
    if (c == 0) return mid + 1;
    if (c > 0)
      lo = mid;
    else
      hi = mid;
  }
  return hi;
}

LRESULT InsertItem(ListState* s, int32_t i, LPARAM value) {
  if (!value) return LB_ERR;
  const char* text = reinterpret_cast<const char*>(value);
  if (HasStrings(s) && !*text && !OwnerDrawn(s)) return LB_ERR;
  if (i < 0 || i > s->count) return LB_ERR;
  ListItem rec{};
  if (HasStrings(s)) {
    char* copy = GlobalStrDup(text);
    if (!copy) return LB_ERRSPACE;
    rec.text = reinterpret_cast<intptr_t>(copy);
    rec.width = TextWidth(s, copy);
  } else {
    rec.text = value;
  }
  if (s->count >= s->capacity && !ReserveRecords(s, kGrowRecords)) {
    FreeText(s, &rec);
    return LB_ERRSPACE;
  }
  std::memmove(s->items + i + 1, s->items + i,
               static_cast<size_t>(s->count - i) * sizeof(ListItem));
  s->items[i] = rec;
  ++s->count;
  for (int32_t* field : {&s->cursel, &s->anchor, &s->extentEnd, &s->caret})
    if (*field >= i) ++*field;
  if (!MultiColumn(s)) {
    if (GuiItemViewInsertItem(&s->view, i, i, rec.width) == -2) {
      std::memmove(s->items + i, s->items + i + 1,
                   static_cast<size_t>(s->count - i - 1) * sizeof(ListItem));
      --s->count;
      for (int32_t* field : {&s->cursel, &s->anchor, &s->extentEnd, &s->caret})
        if (*field > i) --*field;
      FreeText(s, &rec);
      return LB_ERRSPACE;
    }
  } else {
    LayoutColumns(s);
    RepaintWhole(s);
  }
  return i;
}

LRESULT AddItem(ListState* s, LPARAM value) {
  if (!value) return LB_ERR;
  int32_t at = (s->style & LBS_SORT) ? SortedPosition(s, value) : s->count;
  return InsertItem(s, at, value);
}

LRESULT DeleteItem(ListState* s, int32_t i) {
  if (!InRange(s, i)) return LB_ERR;
  FreeText(s, &s->items[i]);
  std::memmove(s->items + i, s->items + i + 1,
               static_cast<size_t>(s->count - i - 1) * sizeof(ListItem));
  --s->count;
  s->items[s->count] = ListItem{};
  for (int32_t* field : {&s->cursel, &s->anchor, &s->extentEnd, &s->caret}) {
    if (*field == i)
      *field = -1;
    else if (*field > i)
      --*field;
  }
  if (!MultiColumn(s)) {
    GuiItemViewDeleteItem(&s->view, i);
  } else {
    LayoutColumns(s);
    RepaintWhole(s);
  }
  return s->count;
}

LRESULT ResetContent(ListState* s) {
  if (s->count == 0) return LB_ERR;
  for (int32_t i = 0; i < s->count; ++i) {
    FreeText(s, &s->items[i]);
    s->items[i] = ListItem{};
  }
  s->count = 0;
  s->cursel = s->anchor = s->extentEnd = s->caret = -1;
  GuiItemViewResetContent(&s->view);
  return 0;
}

// Items from `start` to the end, then from 0 up to start - 1.
LRESULT Find(ListState* s, WPARAM wp, LPARAM lp, bool exact) {
  int32_t start = static_cast<int32_t>(wp);
  if (!lp || (start != -1 && !InRange(s, start))) return LB_ERR;
  if (start == -1) start = 0;
  const char* key = reinterpret_cast<const char*>(lp);
  size_t keyLen = HasStrings(s) ? std::strlen(key) : 0;
  for (int32_t k = 0; k < s->count; ++k) {
    int32_t i = (start + k) % s->count;
    const ListItem& it = s->items[i];
    bool match;
    if (HasStrings(s))
      match = exact ? lstrcmpiA(key, TextOf(it)) == 0 : _strnicmp(key, TextOf(it), keyLen) == 0;
    else if (exact && (s->style & LBS_SORT))
      match = CompareItem(s, lp, i) == 0;
    else
      match = it.text == lp;
    if (match) return i;
  }
  return LB_ERR;
}

// --- Selection ---------------------------------------------------------------------

bool SetItemSelected(ListState* s, int32_t i, bool on) {
  uint32_t& f = s->items[i].flags;
  bool was = (f & kSelected) != 0;
  if (was == on) return false;
  f = on ? (f | kSelBits) : (f & ~kSelBits);
  RepaintItem(s, i);
  return true;
}

bool SelectSingle(ListState* s, int32_t i) {
  bool changed = false;
  if (InRange(s, s->cursel) && (s->items[s->cursel].flags & kSelBits) && s->cursel != i)
    changed |= SetItemSelected(s, s->cursel, false);
  if (InRange(s, i)) changed |= SetItemSelected(s, i, true);
  changed |= s->cursel != i;
  s->cursel = InRange(s, i) ? i : -1;
  return changed;
}

void SelectRange(ListState* s, int32_t a, int32_t b) {
  int32_t lo = std::min(a, b), hi = std::max(a, b);
  for (int32_t i = 0; i < s->count; ++i)
    SetItemSelected(s, i, i >= lo && i <= hi);
}

void Toggle(ListState* s, int32_t i) {
  if (InRange(s, i)) SetItemSelected(s, i, !(s->items[i].flags & kSelected));
}

void MoveCaret(ListState* s, int32_t i) {
  int32_t old = s->caret;
  s->caret = i;
  s->blink = 0;
  RepaintItem(s, old);
  RepaintItem(s, i);
}

void EndAddMode(ListState* s) {
  if (!s->addModeTimer) return;
  KillTimer(s->window, kLbAddModeTimer);
  s->addModeTimer = 0;
}

void ToggleAddMode(ListState* s) {
  if (s->addModeTimer) {
    EndAddMode(s);
  } else {
    s->addModeTimer = SetTimer(s->window, kLbAddModeTimer, 500, nullptr);
    s->blink = 0;
  }
  RepaintItem(s, s->caret);
}

// --- Painting ----------------------------------------------------------------------

void DrawCapitals(HDC dc, const char* text, RECT* rect, COLORREF colour) {
  std::string upper(text);
  std::vector<size_t> ends;  // end of each run of capitals or of other characters
  std::vector<bool> capital;
  for (size_t i = 0; i < upper.size(); ++i) {
    bool cap = upper[i] >= 'A' && upper[i] <= 'Z';
    if (i == 0 || cap != capital.back()) {
      if (i) ends.push_back(i);
      capital.push_back(cap);
    }
    if (upper[i] >= 'a' && upper[i] <= 'z') upper[i] = static_cast<char>(upper[i] - 'a' + 'A');
  }
  ends.push_back(upper.size());
  COLORREF second = GuiListCapitalsColour(colour);
  // Longest prefix first: each shorter one repaints the start of the last.
  for (size_t k = ends.size(); k-- > 0;) {
    SetTextColor(dc, capital[k] ? second : colour);
    DrawTextA(dc, upper.c_str(), static_cast<int>(ends[k]), rect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
}

void PaintItem(ListState* s, HDC dc, int32_t i, const RECT& cell, intptr_t action) {
  const ListItem& it = s->items[i];
  bool focus = i == s->caret && GetFocus() == s->window && !(s->addModeTimer && s->blink);
  int saved = SaveDC(dc);
  GuiSkin* skin = Skin();
  if (s->style & LBS_OWNERDRAWFIXED) {
    HBRUSH brush = CreateSolidBrush(SkinColour(kListBackground));
    SelectObject(dc, brush);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_LISTBOX;
    d.CtlID = static_cast<UINT>(ControlId(s));
    d.itemID = static_cast<UINT>(i);
    d.itemAction = static_cast<UINT>(action);
    d.itemState = ((it.flags & kSelected) ? ODS_SELECTED : 0) | (focus ? ODS_FOCUS : 0);
    d.hwndItem = s->window;
    d.hDC = dc;
    d.rcItem = cell;
    d.itemData = static_cast<ULONG_PTR>(it.text);
    HWND target = Target(s);
    if (target && !SendMessageA(target, 0x2C, 0, reinterpret_cast<LPARAM>(&d)))
      SendMessageA(target, WM_DRAWITEM, d.CtlID, reinterpret_cast<LPARAM>(&d));
    RestoreDC(dc, saved);
    DeleteObject(brush);
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  if (skin && skin->palette) GuiSelectRealizePalette(dc, 0, static_cast<HPALETTE>(skin->palette));
  COLORREF colour = SkinColour(kListText);
  if (it.flags & kDrawnSelected) {
    GuiFillRectColor(dc, &cell, SkinColour(kListSelectedBackground));
    colour = SkinColour(kListSelectedText);
  }
  const char* text = TextOf(it);
  if (HasStrings(s) && text && *text) {
    RECT r = cell;
    SetTextColor(dc, colour);
    if ((s->style & LBS_USETABSTOPS) && s->tabCount > 0) {
      IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
      TabbedTextOutA(dc, r.left, r.top, text, static_cast<int>(std::strlen(text)), s->tabCount,
                     reinterpret_cast<INT*>(s->tabs), r.left);
    } else if (it.flags & (kCapitals | kCapitals2)) {
      DrawCapitals(dc, text, &r, colour);
    } else {
      if (it.flags & kRedText) SetTextColor(dc, RGB(255, 0, 0));
      DrawTextA(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
  }
  RestoreDC(dc, saved);
}

void PaintRow(const GuiRowDraw* row) {
  auto* s = static_cast<ListState*>(row->context);
  HDC dc = static_cast<HDC>(row->dc);
  RECT cell = GuiRectOf(row->row);
  if (!MultiColumn(s)) {
    if (InRange(s, row->index)) PaintItem(s, dc, row->index, cell, row->extra);
    return;
  }
  int32_t r = RowsPerColumn(s);
  for (int32_t i = row->index, c = 0; i < s->count; i += r, ++c) {
    RECT at{cell.left + c * s->columnWidth, cell.top, cell.left + (c + 1) * s->columnWidth,
            cell.bottom};
    PaintItem(s, dc, i, at, row->extra);
  }
}

// --- Handlers ----------------------------------------------------------------------

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  if (cs->style & LBS_OWNERDRAWVARIABLE) return 0;
  auto* s = static_cast<ListState*>(GlobalAllocPtr(sizeof(ListState)));
  if (!s) return 0;
  new (&s->host) GuiViewHostWin32();
  s->window = w;
  s->cursel = s->anchor = s->extentEnd = s->caret = -1;
  s->columnWidth = kDefaultColumnWidth;
  s->style = static_cast<DWORD>(cs->style) & ~(WS_HSCROLL | WS_VSCROLL);
  bool bars = s->host.Attach(w,
                             GuiViewBarFlags(static_cast<DWORD>(cs->style), cs->dwExStyle,
                                             (cs->style & LBS_MULTICOLUMN) != 0),
                             true);
  GuiViewStripBarStyles(w);
  // The border is the skin's: the system draws none of its own.
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~WS_BORDER);
  SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) & ~WS_EX_CLIENTEDGE);
  GuiItemViewInitEx(&s->view, &s->host, PaintRow, 1, MultiColumn(s) ? 1 : 0);
  if (!bars || !ReserveRecords(s, kGrowRecords) || GuiItemViewGrow(&s->view, kGrowRecords) < 0) {
    GuiItemViewDestroy(&s->view);
    GlobalFreePtr(s->items);
    s->host.~GuiViewHostWin32();
    GlobalFreePtr(s);
    return 0;
  }
  GuiSetWindowSlot(w, 0, kStateSlot, reinterpret_cast<LONG_PTR>(s));
  return DefWindowProcA(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

LRESULT OnCreate(ListState* s, CREATESTRUCTA* cs) {
  GuiViewStripBarStyles(s->window);
  ShowScrollBar(s->window, SB_BOTH, FALSE);
  if (DropList(s))
    GuiSetWindowSlot(s->window, 0, kComboSlot, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  HDC dc = GetDC(s->window);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  MeasureFont(s, dc);
  ReleaseDC(s->window, dc);
  GuiItemViewResetBarsToClient(&s->view, s->window);
  s->host.SetLineStep(kBarVert, 1);
  s->host.SetPageStep(kBarVert, -2);
  SetHorizontalSteps(s);
  return 0;
}

void OnNcDestroy(HWND w, ListState* s) {
  if (s->addModeTimer) KillTimer(w, kLbAddModeTimer);
  for (int32_t i = 0; i < s->count; ++i)
    FreeText(s, &s->items[i]);
  GlobalFreePtr(s->items);
  GlobalFreePtr(s->tabs);
  GuiItemViewDestroy(&s->view);
  s->host.~GuiViewHostWin32();
  GlobalFreePtr(s);
  GuiSetWindowSlot(w, 0, kStateSlot, 0);
  if (g_hover == w) g_hover = nullptr;
}

void OnPaint(ListState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(s->window, &ps);
  if (!IsRectEmpty(&ps.rcPaint)) {
    HWND target = Target(s);
    if (target)
      SendMessageA(target, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(s->window));
    if (!ps.fErase)
      GuiItemViewPaint(&s->view, dc, GuiViewRectOf(ps.rcPaint), s, ODA_DRAWENTIRE);
    else
      SetBkMode(dc, OPAQUE);
  }
  EndPaint(s->window, &ps);
}

LRESULT OnSetFont(ListState* s, WPARAM wp, LPARAM lp) {
  HDC dc = GetDC(s->window);
  HGDIOBJ font = wp ? reinterpret_cast<HGDIOBJ>(wp) : GetStockObject(SYSTEM_FONT);
  HGDIOBJ old = SelectObject(dc, font);
  MeasureFont(s, dc);
  ReleaseDC(s->window, dc);
  if (lp) RedrawWindow(s->window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return reinterpret_cast<LRESULT>(old);
}

void OnSize(ListState* s) {
  GuiItemViewSizeToClient(&s->view, s->window);
  if (MultiColumn(s)) {
    LayoutColumns(s);
    SetHorizontalSteps(s);
    if (!s->redrawOff) RedrawWindow(s->window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  } else {
    RepaintItem(s, s->caret);
  }
}

void NotifyCombo(ListState* s, UINT what) {
  HWND combo = Target(s);
  if (combo)
    SendMessageA(combo, kLbComboNotice, MAKEWPARAM(0, what), reinterpret_cast<LPARAM>(s->window));
}

LRESULT OnNcLButtonDown(ListState* s, UINT msg, WPARAM wp, LPARAM lp) {
  if (wp == HTCLIENT) {
    POINT p{XOf(lp), YOf(lp)};
    ScreenToClient(s->window, &p);
    UINT client = msg == WM_NCLBUTTONDBLCLK ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
    SendMessageA(s->window, client, 0, MAKELPARAM(p.x, p.y));
    return 0;
  }
  if (wp == HTVSCROLL || wp == HTHSCROLL) {
    GuiScrollBarsNcButtonDown(s->host.bars(), static_cast<int>(wp), lp);
    return 0;
  }
  if (wp == HTBORDER && DropList(s)) NotifyCombo(s, WM_LBUTTONUP);
  return 0;
}

void OnMouseMove(ListState* s) {
  if (g_hover) return;
  g_hover = s->window;
  SetFocus(s->window);
  TRACKMOUSEEVENT t{sizeof t, TME_HOVER | TME_LEAVE, s->window, 500};
  TrackMouseEvent(&t);
}

void OnButtonDown(ListState* s, WPARAM keys, LPARAM lp, bool doubleClick) {
  if (GetFocus() != s->window) SetFocus(s->window);
  int outside = 0;
  int32_t contentX = 0;
  int32_t i = GuiItemViewHitTestEx(&s->view, XOf(lp), YOf(lp), &outside, &contentX, nullptr);
  if (i < 0 || outside) return;
  if (MultiColumn(s)) {
    i += RowsPerColumn(s) * (contentX / std::max(s->columnWidth, 1));
    if (i >= s->count) return;
  }
  EndAddMode(s);
  MoveCaret(s, i);
  if (!Extended(s)) {
    SelectSingle(s, i);
  } else if (keys & MK_SHIFT) {
    if (s->anchor < 0) s->anchor = i;
    SelectRange(s, s->anchor, i);
  } else if (keys & MK_CONTROL) {
    Toggle(s, i);
  } else {
    s->anchor = i;
    SelectRange(s, i, i);
  }
  HWND target = Target(s);
  if ((s->style & LBS_NOTIFY) && target)
    PostMessageA(target, WM_COMMAND,
                 MAKEWPARAM(ControlId(s), doubleClick ? LBN_DBLCLK : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(s->window));
}

void OnKeyDown(ListState* s, UINT key) {
  if (GuiDialogKeyHelper(s->window, key)) return;
  int32_t pos = s->caret >= 0 ? s->caret : (MultiSel(s) ? -1 : s->cursel);
  HWND target = Target(s);
  if ((s->style & LBS_WANTKEYBOARDINPUT) && target) {
    LRESULT r = SendMessageA(target, WM_VKEYTOITEM, MAKEWPARAM(key, std::max(pos, 0)),
                             reinterpret_cast<LPARAM>(s->window));
    if (r == -2) return;
    if (r >= 0) pos = static_cast<int32_t>(r);
  }
  bool shift = GetKeyState(VK_SHIFT) < 0;
  int32_t rows = RowsPerColumn(s);
  int32_t page = s->view.wholeRows;
  if (MultiColumn(s)) {
    int32_t viewWidth = s->view.view.right - s->view.view.left;
    page = rows * std::max(viewWidth / std::max(s->columnWidth, 1), 1);
  }
  page = std::max(page, 1);
  switch (key) {
    case VK_SPACE:
      break;
    case VK_PRIOR:
      pos = pos < 0 ? 0 : pos + 1 - page;
      break;
    case VK_NEXT:
      pos = pos < 0 ? 0 : pos + page - 1;
      break;
    case VK_END:
      pos = s->count - 1;
      break;
    case VK_HOME:
      pos = 0;
      break;
    case VK_UP:
      pos = pos < 0 ? 0 : pos - 1;
      break;
    case VK_DOWN:
      pos = pos < 0 ? 0 : pos + 1;
      break;
    case VK_LEFT:
      if (!MultiColumn(s) || (pos >= 0 && pos < rows)) return;
      pos = pos < 0 ? 0 : pos - rows;
      break;
    case VK_RIGHT:
      if (!MultiColumn(s)) return;
      pos = pos < 0 ? 0 : pos + rows;
      break;
    case VK_F8:
      if (shift && (Extended(s) || s->addModeTimer)) ToggleAddMode(s);
      return;
    default:
      return;
  }
  if (s->count == 0) return;
  pos = std::max(0, std::min(pos, s->count - 1));
  if (!EnsureItemVisible(s, pos)) return;
  MoveCaret(s, pos);
  if (!Extended(s)) {
    SelectSingle(s, pos);
  } else if (s->addModeTimer) {
    if (shift && s->anchor >= 0) {
      bool on = (s->items[s->anchor].flags & kSelected) != 0;
      if (s->extentEnd >= 0)
        for (int32_t i = std::min(s->anchor, s->extentEnd); i <= std::max(s->anchor, s->extentEnd);
             ++i)
          if (i != s->anchor) SetItemSelected(s, i, false);
      for (int32_t i = std::min(s->anchor, pos); i <= std::max(s->anchor, pos); ++i)
        SetItemSelected(s, i, on);
      s->extentEnd = pos;
    } else if (key == VK_SPACE) {
      s->anchor = pos;
      s->extentEnd = -1;
      Toggle(s, pos);
    }
  } else if (shift && s->anchor >= 0) {
    SelectRange(s, s->anchor, pos);
  } else {
    s->anchor = pos;
    SelectRange(s, pos, pos);
  }
}

LRESULT OnSetSel(ListState* s, WPARAM wp, LPARAM lp) {
  if (!MultiSel(s)) return LB_ERR;
  int32_t i = static_cast<int32_t>(lp);
  if (i < -1 || i >= s->count) return LB_ERR;
  for (int32_t k = (i == -1 ? 0 : i); k < (i == -1 ? s->count : i + 1); ++k)
    SetItemSelected(s, k, wp != 0);
  return 0;
}

LRESULT OnSetCurSel(ListState* s, WPARAM wp) {
  if (MultiSel(s)) return LB_ERR;
  int32_t i = static_cast<int32_t>(wp);
  if (i < -1 || i >= s->count) return LB_ERR;
  SelectSingle(s, i);
  if (i >= 0) EnsureItemVisible(s, i);
  return i;
}

LRESULT OnGetText(ListState* s, WPARAM wp, LPARAM lp) {
  if (!InRange(s, static_cast<intptr_t>(wp)) || !lp) return LB_ERR;
  const ListItem& it = s->items[wp];
  if (!HasStrings(s)) {
    std::memcpy(reinterpret_cast<void*>(lp), &it.text, sizeof(uint32_t));
    return 4;
  }
  size_t n = std::strlen(TextOf(it));
  std::memcpy(reinterpret_cast<char*>(lp), TextOf(it), n + 1);  // always terminated
  return static_cast<LRESULT>(n);
}

LRESULT OnGetSelItems(ListState* s, WPARAM wp, LPARAM lp) {
  if (!MultiSel(s)) return LB_ERR;
  auto* out = reinterpret_cast<INT*>(lp);
  int32_t n = 0;
  for (int32_t i = 0; i < s->count && n < static_cast<int32_t>(wp) && out; ++i)
    if (s->items[i].flags & kSelected) out[n++] = i;
  return n;
}

LRESULT OnSetTabStops(ListState* s, WPARAM wp, LPARAM lp) {
  if (!(s->style & LBS_USETABSTOPS)) return 0;
  int32_t n = static_cast<int32_t>(wp);
  if (n < 0 || (n > 0 && !lp)) return 0;
  auto* tabs = static_cast<int32_t*>(GlobalAllocPtr(sizeof(int32_t) * std::max(n, 1)));
  if (!tabs) return 0;
  const INT* in = reinterpret_cast<const INT*>(lp);
  if (n == 0)
    tabs[0] = s->avgCharWidth / 2;
  else
    for (int32_t i = 0; i < n; ++i)
      tabs[i] = in[i] * s->avgCharWidth / 4;
  GlobalFreePtr(s->tabs);
  s->tabs = tabs;
  s->tabCount = n;
  return 1;
}

LRESULT OnGetItemRect(ListState* s, WPARAM wp, LPARAM lp) {
  if (!InRange(s, static_cast<intptr_t>(wp)) || !lp) return LB_ERR;
  int32_t i = static_cast<int32_t>(wp);
  GuiViewRect r;
  if (!MultiColumn(s)) {
    if (GuiItemViewGetItemRect(&s->view, i, &r) != 0) return LB_ERR;
  } else {
    int32_t rows = RowsPerColumn(s);
    if (GuiItemViewGetItemRect(&s->view, i % rows, &r) != 0) return LB_ERR;
    r.left = s->view.view.left - s->view.offset + (i / rows) * s->columnWidth;
    r.right = r.left + s->columnWidth;
  }
  *reinterpret_cast<RECT*>(lp) = GuiRectOf(r);
  return 0;
}

LRESULT OnDir(ListState* s) {
  DWORD drives = GetLogicalDrives();
  LRESULT last = LB_ERR;
  for (int d = 0; d < 26; ++d) {
    if (!(drives & (1u << d))) continue;
    char entry[8];
    wsprintfA(entry, "[-%c-]", 'a' + d);
    last = AddItem(s, reinterpret_cast<LPARAM>(entry));
  }
  return last;
}

LRESULT OnSelectAll(ListState* s, WPARAM wp) {
  for (int32_t i = 0; i < s->count; ++i)
    SetItemSelected(s, i, (wp & 1) != 0);
  if (wp == 0) s->cursel = -1;
  return s->count;
}

LRESULT MarkNew(ListState* s, LRESULT index, uint32_t flag) {
  if (index >= 0 && InRange(s, index)) {
    s->items[index].flags |= flag;
    RepaintItem(s, static_cast<int32_t>(index));
  }
  return index;
}

LRESULT ListMessage(ListState* s, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case LB_ADDSTRING:
      return AddItem(s, lp);
    case LB_INSERTSTRING:
      return InsertItem(s, static_cast<int32_t>(wp), lp);
    case LB_DELETESTRING:
      return DeleteItem(s, static_cast<int32_t>(wp));
    case LB_RESETCONTENT:
      return ResetContent(s);
    case LB_SETSEL:
      return OnSetSel(s, wp, lp);
    case LB_SETCURSEL:
      return OnSetCurSel(s, wp);
    case LB_GETSEL:
      return InRange(s, static_cast<intptr_t>(wp)) ? (s->items[wp].flags & kSelected) : 0;
    case LB_GETCURSEL:
      return MultiSel(s) ? s->caret : s->cursel;
    case LB_GETTEXT:
      return OnGetText(s, wp, lp);
    case LB_GETTEXTLEN:
      if (!InRange(s, static_cast<intptr_t>(wp))) return LB_ERR;
      return HasStrings(s) ? static_cast<LRESULT>(std::strlen(TextOf(s->items[wp]))) : 4;
    case LB_GETCOUNT:
      return s->count;
    case LB_SELECTSTRING: {
      if (MultiSel(s) || s->count == 0) return LB_ERR;
      LRESULT i = Find(s, wp, lp, false);
      if (i >= 0) SelectSingle(s, static_cast<int32_t>(i));
      return i;
    }
    case LB_DIR:
      return OnDir(s);
    case LB_GETTOPINDEX:
      return s->view.top;
    case LB_FINDSTRING:
      return Find(s, wp, lp, false);
    case LB_FINDSTRINGEXACT:
      return Find(s, wp, lp, true);
    case LB_GETSELCOUNT: {
      if (!MultiSel(s)) return LB_ERR;
      int32_t n = 0;
      for (int32_t i = 0; i < s->count; ++i)
        n += (s->items[i].flags & kSelected) ? 1 : 0;
      return n;
    }
    case LB_GETSELITEMS:
      return OnGetSelItems(s, wp, lp);
    case LB_SETTABSTOPS:
      return OnSetTabStops(s, wp, lp);
    case LB_SETCOLUMNWIDTH:
      if (!MultiColumn(s) || static_cast<int32_t>(wp) < 1) return LB_ERR;
      s->columnWidth = static_cast<int32_t>(wp);
      SetHorizontalSteps(s);
      LayoutColumns(s);
      RepaintWhole(s);
      return 0;
    case LB_SETTOPINDEX:
      if (!InRange(s, static_cast<intptr_t>(wp))) return LB_ERR;
      GuiItemViewScrollTo(&s->view, static_cast<int32_t>(wp));
      return 0;
    case LB_GETITEMRECT:
      return OnGetItemRect(s, wp, lp);
    case LB_GETITEMDATA:
      if (!InRange(s, static_cast<intptr_t>(wp))) return LB_ERR;
      return HasStrings(s) ? s->items[wp].data : s->items[wp].text;
    case LB_SETITEMDATA: {
      if (!InRange(s, static_cast<intptr_t>(wp))) return LB_ERR;
      intptr_t& slot = HasStrings(s) ? s->items[wp].data : s->items[wp].text;
      if (slot != lp) {
        slot = lp;
        RepaintItem(s, static_cast<int32_t>(wp));
      }
      return 0;
    }
    case LB_SETITEMHEIGHT:
      if (static_cast<short>(LOWORD(lp)) > 0)
        GuiItemViewSetRowHeight(&s->view, static_cast<short>(LOWORD(lp)), 1);
      return 0;
    case LB_GETITEMHEIGHT:
      return s->view.rowHeight;
    case LB_INITSTORAGE: {
      int32_t more = static_cast<int32_t>(wp);
      if (more < 0) return LB_ERR;
      if (!ReserveRecords(s, more)) return LB_ERRSPACE;
      return GuiItemViewGrow(&s->view, more);
    }
    case LB_ITEMFROMPOINT:
      if (!lp) return LB_ERR;
      return GuiItemViewItemFromPoint(&s->view, XOf(lp), YOf(lp));
    default:
      return DefWindowProcA(s->window, msg, wp, lp);
  }
}

LRESULT PrivateMessage(ListState* s, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kLbFrameChanged:
      SetWindowPos(s->window, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
      return 0;
    case kLbGetTarget:
      return reinterpret_cast<LRESULT>(Target(s));
    case kLbGetBarWidth:
    case kLbGetBarWidth2:
      return s->host.BarThickness(kBarVert);
    case kLbAddCapitals:
      return MarkNew(s, AddItem(s, lp), kCapitals);
    case kLbAddCapitals2:
      return MarkNew(s, AddItem(s, lp), kCapitals2);
    case kLbSelectAll:
      return OnSelectAll(s, wp);
    case kLbInsertRed:
      return MarkNew(s, InsertItem(s, static_cast<int32_t>(wp), lp), kRedText);
    default:
      GuiItemViewScrollMessage(&s->view, msg, wp, lp);
      return 0;
  }
}

LRESULT CALLBACK ListWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp));
  ListState* s = StateOf(w);
  if (!s) return DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_CREATE:
      return OnCreate(s, reinterpret_cast<CREATESTRUCTA*>(lp));
    case WM_NCDESTROY:
      OnNcDestroy(w, s);
      return 0;
    case WM_NCCALCSIZE:
      return GuiItemViewNcCalcSize(&s->host, wp, lp, GuiListBorderWidth(Skin()));
    case WM_NCHITTEST:
      return GuiItemViewNcHitTest(&s->host, lp);
    case WM_NCPAINT:
      GuiItemViewNcPaint(&s->host, GuiListBorderWidth(Skin()));
      return 0;
    case WM_NCMOUSEMOVE:
      GuiScrollBarsMouseMove(s->host.bars(), wp, lp);
      return 0;
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED: {
      LRESULT ignored;
      GuiItemViewBarMessage(&s->host, msg, wp, lp, &ignored);
      return DefWindowProcA(w, msg, wp, lp);
    }
    case WM_ERASEBKGND:
      return GuiItemViewEraseBkgnd(&s->view, w, reinterpret_cast<HDC>(wp),
                                   SkinColour(kListBackground));
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return OnNcLButtonDown(s, msg, wp, lp);
    case WM_NCLBUTTONUP:
      GuiScrollBarsButtonUp(s->host.bars());
      if (DropList(s)) NotifyCombo(s, WM_NCLBUTTONUP);
      return 0;
    case WM_PAINT:
      OnPaint(s);
      return 0;
    case WM_SETFONT:
      return OnSetFont(s, wp, lp);
    case WM_SETREDRAW:
      s->redrawOff = wp ? 0 : 1;
      GuiItemViewSetRedraw(&s->view, wp != 0);
      s->host.SetRedraw(wp != 0);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_SIZE:
      OnSize(s);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(wp) != w) {
        if (msg == WM_SETFOCUS) s->blink = 0;
        RepaintItem(s, s->caret);
      }
      return 0;
    case WM_ACTIVATEAPP:
      if (!wp && DropList(s)) NotifyCombo(s, WM_LBUTTONUP);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_CTLCOLORLISTBOX:
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(s, static_cast<UINT>(wp));
      return 0;
    case WM_SYSKEYDOWN: {
      HWND target = Target(s);
      return target ? SendMessageA(target, msg, wp, lp) : 0;
    }
    case WM_TIMER:
      if (wp == kLbAddModeTimer && s->addModeTimer) {
        s->blink ^= 1;
        RepaintItem(s, s->caret);
      }
      if (wp == kScrollTimerId) GuiScrollBarsTimer(s->host.bars());
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      GuiItemViewScrollMessage(&s->view, msg, wp, lp);
      RepaintItem(s, s->caret);
      return 0;
    case WM_MOUSEWHEEL:
      GuiScrollBarsMouseWheel(s->host.bars(), kBarVert, static_cast<short>(HIWORD(wp)));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(s);
      return 0;
    case WM_MOUSELEAVE:
      g_hover = nullptr;
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(s, wp, lp, msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      if (DropList(s)) {
        NotifyCombo(s, WM_LBUTTONUP);
        HWND combo = Target(s);
        if (combo) SendMessageA(combo, kLbComboPicked, 0, reinterpret_cast<LPARAM>(w));
      }
      return 0;
    default:
      break;
  }
  if (msg >= LB_ADDSTRING && msg <= LB_INITSTORAGE + 1) return ListMessage(s, msg, wp, lp);
  if (msg >= WM_APP + 0x600 && msg <= WM_APP + 0x6FF) return PrivateMessage(s, msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

COLORREF GuiListCapitalsColour(COLORREF text) {
  int c[3] = {GetRValue(text), GetGValue(text), GetBValue(text)};
  if (c[0] == c[1] && c[1] == c[2]) {
    for (int& v : c)
      v = ((v + 32) % 256 + 512) / 3;
    return RGB(c[0], c[1], c[2]);
  }
  int largest = std::max({c[0], c[1], c[2]});
  if (largest > 231)
    for (int& v : c)
      v = v * 231 / largest;
  for (int& v : c)
    v += 24;
  int order[3] = {0, 1, 2};  // channels from the largest down
  std::sort(order, order + 3, [&](int a, int b) { return c[a] > c[b]; });
  int with = c[order[0]] - c[order[1]] < 24 ? order[2] : order[1];
  std::swap(c[order[0]], c[with]);
  return RGB(c[0], c[1], c[2]);
}

int RegisterCGUIListWnd(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ListWndProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = kListWndClassName;
  return RegisterClassA(&wc) ? 1 : 0;
}

}  // namespace gui
