// CGUIListViewWnd: the toolkit's report list view. The items, selection and
// their rules are the portable ListViewModel; this file turns the list-view
// messages into its calls and its notices into notifications. Columns, the
// header and the painting live in gui_listview_paint.cpp.
//
// Differs from the list view it stands in for: report view only; no
// notification before a change or on insertion; multi-selection changes of
// ordinary lists are not notified. Beyond that: a deleted item takes the
// selection mark along; text queries always terminate their buffer; a
// count set by LVM_SETITEMCOUNT creates real items; indices and ranges from
// messages are checked against the count; a click below the last row
// selects nothing; the area below the last row is painted.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "gui/gui_core.h"
#include "gui/list_view_skin.h"
#include "gui/view_skin.h"
#include "gui/win32/gui_listview.h"
#include "gui/win32/gui_listview_internal.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

const char kClassName[] = "CGUIListViewWnd";

int XOf(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int YOf(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

ListViewItem FromLv(const LVITEMA& i) {
  ListViewItem r{};
  r.mask = i.mask;
  r.iItem = i.iItem;
  r.iSubItem = i.iSubItem;
  r.state = i.state;
  r.stateMask = i.stateMask;
  r.pszText = i.pszText;
  r.cchTextMax = i.cchTextMax;
  r.iImage = i.iImage;
  r.lParam = i.lParam;
  r.iIndent = i.iIndent;
  return r;
}

// The slot of each image-list type, -1 for other types.
int ImageSlot(WPARAM type) {
  switch (type) {
    case LVSIL_NORMAL:
      return 0;
    case LVSIL_SMALL:
      return 1;
    case 4:
      return 2;
    case LVSIL_STATE:
      return 3;
    default:
      return -1;
  }
}

void Measure(ListViewState* s) {
  HDC dc = GetDC(s->window);
  HGDIOBJ old = SelectObject(dc, s->font);
  SIZE size{};
  GetTextExtentPoint32A(dc, "AWXZyjpg", 8, &size);
  // A font that measures nothing still gives rows one pixel tall.
  GuiItemViewSetRowHeight(&s->view, std::max<int32_t>(size.cy, 1), 0);
  const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  GetTextExtentPoint32A(dc, letters, 52, &size);
  s->averageCharWidth = (size.cx / 26 + 1) / 2;
  SelectObject(dc, old);
  ReleaseDC(s->window, dc);
}

void RedrawWhole(ListViewState* s) {
  if (!s->redrawOff)
    RedrawWindow(s->window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW);
}

void RedrawSelectedAndFocused(ListViewState* s) {
  int32_t top = GuiItemViewGetTopIndex(&s->view);
  int32_t end = std::min(top + GuiItemViewGetPartialCount(&s->view), s->model->count());
  for (int32_t i = top; i < end; ++i)
    if (s->model->IsSelected(i)) GuiItemViewRedrawItem(&s->view, i);
  if (s->model->focus() >= 0) GuiItemViewRedrawItem(&s->view, s->model->focus());
}

uint32_t KeyFlags(WPARAM keys) {
  uint32_t f = GetKeyState(VK_MENU) < 0 ? LVKF_ALT : 0;
  if (keys & MK_CONTROL) f |= LVKF_CONTROL;
  if (keys & MK_SHIFT) f |= LVKF_SHIFT;
  return f;
}

// The row under a client point, or -1 outside the rows.
int32_t RowAt(ListViewState* s, int x, int y) {
  int outside = 0;
  int32_t i = GuiItemViewHitTest(&s->view, x, y, &outside);
  int32_t h = GuiItemViewGetRowHeight(&s->view);
  if (i < 0 || outside || h <= 0) return -1;
  int32_t row = GuiItemViewGetTopIndex(&s->view) + (y - s->view.view.top) / h;
  return row < s->model->count() ? i : -1;
}

void SendActivate(ListViewState* s, int code, int32_t row, LPARAM lp, WPARAM keys) {
  NMITEMACTIVATE nm{};
  nm.iItem = row;
  nm.iSubItem = ListViewColumnAtPoint(s, XOf(lp));
  nm.ptAction = POINT{XOf(lp), YOf(lp)};
  nm.lParam = s->model->ParamOf(row);
  nm.uKeyFlags = KeyFlags(keys);
  ListViewNotify(s, &nm.hdr, code);
}

// --- Messages.

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  if ((cs->style & LVS_TYPEMASK) != LVS_REPORT) return 0;
  LONG style = (GetWindowLongA(w, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL)) | WS_CLIPCHILDREN;
  SetWindowLongA(w, GWL_STYLE, style);
  auto* s = new (std::nothrow) ListViewState;
  if (!s) return 0;
  s->window = w;
  s->style = static_cast<uint32_t>(style);
  s->notifier.s = s;
  s->model = new (std::nothrow) ListViewModel(s->style, &s->notifier);
  s->columns = GuiListCreate(0);
  if (!s->model || !s->model->valid() || !s->columns) {
    delete s->model;
    GuiListDestroy(s->columns);
    delete s;
    return 0;
  }
  s->viewHost.Attach(w,
                     static_cast<uint32_t>(cs->dwExStyle) | kViewVerticalBar | kViewHorizontalBar);
  GuiItemViewInitEx(&s->view, &s->viewHost, ListViewPaintRow, 1, 1);
  s->font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  SetWindowLongPtrA(w, 0, reinterpret_cast<LONG_PTR>(s));
  return 1;
}

LRESULT OnCreate(ListViewState* s) {
  if ((s->style & LVS_TYPEMASK) != LVS_REPORT) return -1;
  LONG style =
      (GetWindowLongA(s->window, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL)) | WS_CLIPCHILDREN;
  SetWindowLongA(s->window, GWL_STYLE, style);
  Measure(s);
  if (!ListViewCreateHeader(s)) return -1;
  GuiItemViewResetBarsToClient(&s->view, s->window);
  s->viewHost.SetLineStep(kBarVert, 1);
  s->viewHost.SetPageStep(kBarVert, -2);
  s->viewHost.SetLineStep(kBarHorz, 6);
  s->viewHost.SetPageStep(kBarHorz, 50);
  ListViewLayout(s);
  return 0;
}

void OnNcDestroy(ListViewState* s) {
  delete s->model;
  GuiItemViewDestroy(&s->view);
  ListViewFreeColumns(s);
  if (!(s->style & LVS_SHAREIMAGELISTS))
    for (HIMAGELIST list : s->images)
      if (list) ImageList_Destroy(list);
  SetWindowLongPtrA(s->window, 0, 0);
  delete s;
}

void OnPaint(ListViewState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(s->window, &ps);
  if (!IsRectEmpty(&ps.rcPaint)) {
    HWND parent = GetParent(s->window);
    if (parent)
      SendMessageA(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(s->window));
    HGDIOBJ oldFont = SelectObject(dc, s->font);
    GuiItemViewPaint(&s->view, dc, GuiViewRectOf(ps.rcPaint), s, 0);
    // Below the last row nothing paints itself: fill it with the rows' colour.
    int32_t h = GuiItemViewGetRowHeight(&s->view);
    int32_t rows = s->model->count() - GuiItemViewGetTopIndex(&s->view);
    RECT below = GuiRectOf(s->view.view);
    below.top += std::max(rows, 0) * h;
    RECT fill;
    if (IntersectRect(&fill, &below, &ps.rcPaint)) {
      GuiSkin* skin = GuiGetSkin();
      GuiFillRectColor(dc, &fill,
                       skin ? skin->listViewColors[kLvBackground] : GetSysColor(COLOR_WINDOW));
    }
    SelectObject(dc, oldFont);
  }
  EndPaint(s->window, &ps);
}

LRESULT OnSetFont(ListViewState* s, WPARAM wp, LPARAM lp) {
  HFONT old = s->font;
  s->font = wp ? reinterpret_cast<HFONT>(wp) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  if (s->header) SendMessageA(s->header, WM_SETFONT, reinterpret_cast<WPARAM>(s->font), lp);
  Measure(s);
  ListViewLayout(s);
  if (lp) RedrawWhole(s);
  return reinterpret_cast<LRESULT>(old);
}

void OnKeyDown(ListViewState* s, UINT vk) {
  if (GuiDialogKeyHelper(s->window, vk)) return;
  NMLVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(vk);
  ListViewNotify(s, &nm.hdr, LVN_KEYDOWN);
  bool shift = GetKeyState(VK_SHIFT) < 0, control = GetKeyState(VK_CONTROL) < 0;
  s->action = POINT{};
  if (s->model->Key(vk, shift, control, GuiItemViewGetVisibleCount(&s->view)))
    UpdateWindow(s->window);
}

void OnLButtonDown(ListViewState* s, WPARAM keys, LPARAM lp) {
  if (GetFocus() != s->window) SetFocus(s->window);
  int32_t row = RowAt(s, XOf(lp), YOf(lp));
  if (row < 0) return;
  s->action = POINT{XOf(lp), YOf(lp)};
  s->model->Click(row, static_cast<uint32_t>(keys));
  s->action = POINT{};
  UpdateWindow(s->window);
  SendActivate(s, NM_CLICK, row, lp, keys);
}

LRESULT OnHitTest(ListViewState* s, LVHITTESTINFO* info) {
  if (!info) return -1;
  info->flags = 0;
  int outside = 0;
  if (GuiItemViewHitTest(&s->view, info->pt.x, info->pt.y, &outside) < 0 ||
      s->model->count() == 0) {
    info->iItem = info->iSubItem = -1;
    return -1;
  }
  if (!outside) {
    info->iSubItem = ListViewColumnAtPoint(s, info->pt.x);
    info->iItem = info->iSubItem >= 0 ? RowAt(s, info->pt.x, info->pt.y) : -1;
    if (info->iItem < 0) info->flags = LVHT_NOWHERE;
    return info->iItem;
  }
  const GuiViewRect& v = s->view.view;
  info->iItem = info->iSubItem = -1;
  if (info->pt.x < v.left) info->flags |= LVHT_TOLEFT;
  if (info->pt.x >= v.right) info->flags |= LVHT_TORIGHT;
  if (info->pt.y < v.top) info->flags |= LVHT_ABOVE;
  if (info->pt.y >= v.bottom) info->flags |= LVHT_BELOW;
  return -1;
}

PFNLVCOMPARE g_compare = nullptr;  // the comparison of the sort that runs
int SortTrampoline(intptr_t a, intptr_t b, intptr_t sort) { return g_compare(a, b, sort); }

LRESULT OnSortItems(ListViewState* s, WPARAM wp, LPARAM lp) {
  if (s->model->sorting() || !lp) return 0;
  PFNLVCOMPARE saved = g_compare;  // another list may be sorting further up the stack
  g_compare = reinterpret_cast<PFNLVCOMPARE>(lp);
  int r = s->model->SortItems(SortTrampoline, static_cast<intptr_t>(wp));
  g_compare = saved;
  return r;
}

LRESULT OnExtendedStyle(ListViewState* s, bool set, WPARAM mask, LPARAM style) {
  if (!s->header) return 0;
  LONG hs = GetWindowLongA(s->header, GWL_STYLE);
  LRESULT previous = (hs & HDS_DRAGDROP) ? LVS_EX_HEADERDRAGDROP : 0;
  if (set && (mask == 0 || (mask & LVS_EX_HEADERDRAGDROP))) {
    hs = (style & LVS_EX_HEADERDRAGDROP) ? (hs | HDS_DRAGDROP) : (hs & ~HDS_DRAGDROP);
    SetWindowLongA(s->header, GWL_STYLE, hs);
  }
  return previous;
}

LRESULT OnRedrawItems(ListViewState* s, int32_t first, int32_t last) {
  first = std::max(first, 0);
  last = std::min(last, s->model->count() - 1);
  GuiViewRect r;
  if (first > last || GuiItemViewGetRangeRect(&s->view, first, last, &r) != 0) return 0;
  RECT rc = GuiRectOf(r);
  InvalidateRect(s->window, &rc, TRUE);
  return 1;
}

LRESULT ItemMessage(ListViewState* s, UINT msg, WPARAM wp, LPARAM lp) {
  ListViewModel& m = *s->model;
  auto* item = reinterpret_cast<LVITEMA*>(lp);
  int32_t index = static_cast<int32_t>(wp);
  switch (msg) {
    case LVM_GETITEMA: {
      if (!item) return 0;
      ListViewItem it = FromLv(*item);
      if (!m.GetItem(&it)) return 0;
      item->state = it.state;
      item->lParam = it.lParam;
      item->iImage = it.iImage;
      item->iIndent = it.iIndent;
      return 1;
    }
    case LVM_SETITEMA:
      return item ? m.SetItem(FromLv(*item)) : 0;
    case LVM_INSERTITEMA:
      return item ? m.InsertItem(FromLv(*item)) : -1;
    case LVM_DELETEITEM:
      return m.DeleteItem(index, false);
    case LVM_DELETEALLITEMS:
      m.DeleteAllItems();
      return 1;
    case LVM_GETNEXTITEM:
      return m.GetNextItem(index, static_cast<uint32_t>(lp));
    case LVM_SETITEMSTATE:
      return item ? m.SetItemState(index, item->state, item->stateMask) : 0;
    case LVM_GETITEMSTATE:
      return m.GetItemState(index, static_cast<uint32_t>(lp));
    case LVM_GETITEMTEXTA:
      if (item) m.GetItemText(index, item->iSubItem, item->pszText, item->cchTextMax);
      return 0;
    case LVM_SETITEMTEXTA:
      return item ? m.SetItemText(index, item->iSubItem, item->pszText) : 0;
    case LVM_SETITEMCOUNT:
      return m.SetItemCount(index, static_cast<uint32_t>(lp));
    case LVM_GETSELECTEDCOUNT:
      return m.GetSelectedCount();
    case LVM_GETSELECTIONMARK:
      return m.mark();
    case LVM_SETSELECTIONMARK:
      return m.SetSelectionMark(static_cast<int32_t>(lp));
    default:
      return 0;
  }
}

LRESULT ListMessage(ListViewState* s, UINT msg, WPARAM wp, LPARAM lp) {
  int32_t index = static_cast<int32_t>(wp);
  switch (msg) {
    case LVM_GETIMAGELIST: {
      int k = ImageSlot(wp);
      return k < 0 ? 0 : reinterpret_cast<LRESULT>(s->images[k]);
    }
    case LVM_SETIMAGELIST: {
      int k = ImageSlot(wp);
      auto list = reinterpret_cast<HIMAGELIST>(lp);
      if (k < 0 || list == s->images[k]) return 0;
      HIMAGELIST old = s->images[k];
      s->images[k] = list;
      if (s->model->count() > 0) GuiItemViewRedrawRange(&s->view, 0, s->model->count() - 1);
      return reinterpret_cast<LRESULT>(old);
    }
    case LVM_GETITEMCOUNT:
      return s->model->count();
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST:
      return OnHitTest(s, reinterpret_cast<LVHITTESTINFO*>(lp));
    case LVM_ENSUREVISIBLE:
      if (index < 0 || index >= s->model->count()) return 0;
      GuiItemViewEnsureVisible(&s->view, index, 0, nullptr);
      return 1;
    case LVM_REDRAWITEMS:
      return OnRedrawItems(s, index, static_cast<int32_t>(lp));
    case LVM_GETHEADER:
      return reinterpret_cast<LRESULT>(s->header);
    case LVM_GETTOPINDEX:
      return GuiItemViewGetTopIndex(&s->view);
    case LVM_GETCOUNTPERPAGE:
      return GuiItemViewGetVisibleCount(&s->view);
    case LVM_UPDATE:
      if (index < 0 || index >= s->model->count()) return 0;
      GuiItemViewRedrawItem(&s->view, index);
      return 1;
    case LVM_SORTITEMS:
      return OnSortItems(s, wp, lp);
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
      return OnExtendedStyle(s, true, wp, lp);
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return OnExtendedStyle(s, false, 0, 0);
    case LVM_GETCOLUMNA:
    case LVM_SETCOLUMNA:
    case LVM_INSERTCOLUMNA:
    case LVM_DELETECOLUMN:
    case LVM_GETCOLUMNWIDTH:
    case LVM_SETCOLUMNWIDTH:
      return ListViewColumnMessage(s, msg, wp, lp);
    default:
      return ItemMessage(s, msg, wp, lp);
  }
}

LRESULT PrivateMessage(ListViewState* s, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kMsgFrameChange:
      SetWindowPos(s->window, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
      return 0;
    case kMsgSelectAll:
      if (s->model->singleSel()) return -1;
      return s->model->SelectAll((wp & 1) != 0);
    case kMsgGetOptions:
      if (!lp) return 0;
      *reinterpret_cast<uint32_t*>(lp) = s->options & static_cast<uint32_t>(wp);
      return 1;
    case kMsgSetOptions:
      s->options = (s->options | static_cast<uint32_t>(lp)) & static_cast<uint32_t>(wp);
      RedrawWhole(s);
      return 1;
    default:
      GuiItemViewScrollMessage(&s->view, msg, wp, lp);
      return 0;
  }
}

LRESULT CALLBACK ListViewProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    if (!OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp))) return 0;
    return DefWindowProcA(w, msg, wp, lp);
  }
  ListViewState* s = ListViewStateOf(w);
  if (!s) return DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_CREATE:
      return OnCreate(s);
    case WM_NCDESTROY:
      OnNcDestroy(s);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_SIZE:
      ListViewLayout(s);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (reinterpret_cast<HWND>(wp) != w) RedrawSelectedAndFocused(s);
      return 0;
    case WM_SETREDRAW:
      s->redrawOff = wp == 0;
      if (s->header) SendMessageA(s->header, WM_SETREDRAW, wp, 0);
      s->viewHost.SetRedraw(wp != 0);
      GuiItemViewSetRedraw(&s->view, wp != 0);
      return DefWindowProcA(w, msg, wp, lp);
    case WM_PAINT:
      OnPaint(s);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // rows fill their own background
    case WM_DRAWITEM: {
      auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
      return di && di->hwndItem == s->header ? ListViewDrawHeaderItem(s, di) : 0;
    }
    case WM_SETFONT:
      return OnSetFont(s, wp, lp);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(s->font);
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lp);
      if (nm && nm->hwndFrom == s->header) return ListViewHeaderNotify(s, nm);
      return DefWindowProcA(w, msg, wp, lp);
    }
    case WM_NCCALCSIZE:
      return GuiItemViewNcCalcSize(w, wp, lp, GuiListBorderWidth(GuiGetSkin()));
    case WM_NCHITTEST:
      return GuiItemViewNcHitTest(w, lp);
    case WM_NCPAINT:
      GuiItemViewNcPaint(w, reinterpret_cast<HRGN>(wp));
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      GuiItemViewScrollMessage(&s->view, msg, wp, lp);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      OnKeyDown(s, static_cast<UINT>(wp));
      return 0;
    case WM_SYSKEYDOWN:
      return SendMessageA(GetParent(w), msg, wp, lp);
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_KEYMENU) SendMessageA(GetParent(w), msg, wp, lp);
      return 0;
    case WM_CTLCOLORLISTBOX:
      return 0;
    case WM_LBUTTONDOWN:
      OnLButtonDown(s, wp, lp);
      return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      int32_t row = RowAt(s, XOf(lp), YOf(lp));
      if (row >= 0)
        SendActivate(s, msg == WM_LBUTTONDBLCLK ? LVN_ITEMACTIVATE : NM_RCLICK, row, lp, wp);
      return 0;
    }
    case WM_LBUTTONUP:
      return 0;
    case CCM_SETUNICODEFORMAT:
    case CCM_GETUNICODEFORMAT:
      return 0;
    default:
      break;
  }
  if (msg >= LVM_FIRST && msg < LVM_FIRST + 0x100) return ListMessage(s, msg, wp, lp);
  if (msg >= 0x8601 && msg <= 0x86a2) return PrivateMessage(s, msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

ListViewState* ListViewStateOf(HWND window) {
  return reinterpret_cast<ListViewState*>(GetWindowLongPtrA(window, 0));
}

LRESULT ListViewNotify(ListViewState* s, NMHDR* header, int code) {
  header->hwndFrom = s->window;
  header->idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(s->window, GWLP_ID));
  header->code = static_cast<UINT>(code);
  HWND parent = GetParent(s->window);
  return parent ? SendMessageA(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header))
                : 0;
}

void ListViewNotifier::ItemChanged(int32_t item, uint32_t newState, uint32_t oldState,
                                   uint32_t changed, intptr_t lParam) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  nm.ptAction = s->action;
  nm.lParam = lParam;
  ListViewNotify(s, &nm.hdr, LVN_ITEMCHANGED);
  NMLVODSTATECHANGE od{};
  od.iFrom = od.iTo = item;
  od.uNewState = newState;
  od.uOldState = oldState;
  ListViewNotify(s, &od.hdr, LVN_ODSTATECHANGED);
}

void ListViewNotifier::RangeChanged(int32_t from, int32_t to, uint32_t newState,
                                    uint32_t oldState) {
  NMLVODSTATECHANGE od{};
  od.iFrom = from;
  od.iTo = to;
  od.uNewState = newState;
  od.uOldState = oldState;
  ListViewNotify(s, &od.hdr, LVN_ODSTATECHANGED);
}

bool ListViewNotifier::DeletingAll() {
  NMLISTVIEW nm{};
  nm.iItem = -1;
  return ListViewNotify(s, &nm.hdr, LVN_DELETEALLITEMS) != 0;
}

void ListViewNotifier::DeletingItem(int32_t item, intptr_t lParam) {
  NMLISTVIEW nm{};
  nm.iItem = item;
  nm.lParam = lParam;
  ListViewNotify(s, &nm.hdr, LVN_DELETEITEM);
}

bool ListViewNotifier::RowInserted(int32_t index) {
  return GuiItemViewInsertItem(&s->view, index, index, 0) >= 0;
}

void ListViewNotifier::RowDeleted(int32_t index) { GuiItemViewDeleteRange(&s->view, index, index); }

void ListViewNotifier::RowCountSet(int32_t count) { GuiItemViewSetCount(&s->view, count, 1); }

void ListViewNotifier::RedrawRow(int32_t item) { GuiItemViewRedrawItem(&s->view, item); }

void ListViewNotifier::RedrawRows(int32_t first, int32_t last) {
  GuiItemViewRedrawRange(&s->view, first, last);
}

void ListViewNotifier::RedrawAll() {
  if (!s->redrawOff) RedrawWindow(s->window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void ListViewNotifier::EnsureVisible(int32_t item) {
  GuiItemViewEnsureVisible(&s->view, item, 0, nullptr);
}

int RegisterCGUIListViewWnd(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_GLOBALCLASS;
  wc.lpfnWndProc = ListViewProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  return RegisterClassExA(&wc) ? 1 : 0;
}

}  // namespace gui
