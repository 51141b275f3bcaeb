// The list view's columns, its header child and its report painting. A
// column is a header item whose parameter points at the column's record in
// the list's column list; the header is owner-drawn in the skin's colours.
//
// A column is deleted from the header first and its record freed only once
// the header has let go of it; the record is found through the header
// item's own parameter. A column's text copy is freed as soon as the header
// has made its own.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/list_view_columns.h"
#include "gui/list_view_skin.h"
#include "gui/win32/gui_listview_internal.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

WNDPROC g_headerProc = nullptr;  // every header is of one class

COLORREF Colour(int role) {
  GuiSkin* skin = GuiGetSkin();
  if (skin) return skin->listViewColors[role];
  switch (role) {
    case kLvSelectedBackground:
      return GetSysColor(COLOR_HIGHLIGHT);
    case kLvSelectedText:
      return GetSysColor(COLOR_HIGHLIGHTTEXT);
    case kLvBackground:
      return GetSysColor(COLOR_WINDOW);
    case kHeaderFace:
    case kHeaderBackground:
      return GetSysColor(COLOR_BTNFACE);
    default:
      return GetSysColor(COLOR_WINDOWTEXT);
  }
}

HPALETTE RealizeSkinPalette(HDC dc) {
  GuiSkin* skin = GuiGetSkin();
  return skin && skin->palette
             ? GuiSelectRealizePalette(dc, 0, static_cast<HPALETTE>(skin->palette))
             : nullptr;
}

LRESULT CALLBACK HeaderProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) {
    HDC dc = reinterpret_cast<HDC>(wp);
    RECT rc;
    GetClientRect(w, &rc);
    RealizeSkinPalette(dc);
    GuiFillRectColor(dc, &rc, Colour(kHeaderBackground));
    return 1;
  }
  LRESULT r = CallWindowProcA(g_headerProc, w, msg, wp, lp);
  if (msg == WM_PAINT) {
    // The strip right of the last item is the header's background too.
    RECT rc, last{};
    GetClientRect(w, &rc);
    int n = static_cast<int>(SendMessageA(w, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      RECT item;
      if (SendMessageA(w, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
        last.right = std::max(last.right, item.right);
    }
    rc.left = last.right;
    if (rc.right > rc.left) {
      HDC dc = GetDC(w);
      RealizeSkinPalette(dc);
      GuiFillRectColor(dc, &rc, Colour(kHeaderBackground));
      ReleaseDC(w, dc);
    }
  }
  return r;
}

// The header items by index, with the node of each column record.
struct HeaderItem {
  int32_t order, width;
  uint32_t format;
  GuiListNode* node;
};

std::vector<HeaderItem> ReadHeader(ListViewState* s) {
  std::vector<HeaderItem> items;
  if (!s->header) return items;
  int n = static_cast<int>(SendMessageA(s->header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    HDITEMA hd{};
    hd.mask = HDI_ORDER | HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
    if (!SendMessageA(s->header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&hd))) break;
    items.push_back(HeaderItem{hd.iOrder, hd.cxy, static_cast<uint32_t>(hd.fmt),
                               reinterpret_cast<GuiListNode*>(hd.lParam)});
  }
  return items;
}

std::vector<HeaderItemLayout> LayoutOf(const std::vector<HeaderItem>& items) {
  std::vector<HeaderItemLayout> out;
  for (const HeaderItem& h : items)
    out.push_back(HeaderItemLayout{h.order, h.width});
  return out;
}

bool InColumnList(ListViewState* s, GuiListNode* node) {
  for (GuiListNode* n = s->columns ? s->columns->head : nullptr; n; n = n->next)
    if (n == node) return true;
  return false;
}

ListViewColumn* RecordOf(ListViewState* s, GuiListNode* node) {
  return node && InColumnList(s, node) ? static_cast<ListViewColumn*>(node->data) : nullptr;
}

// A column as a header item; the text is an owned copy that the caller frees
// once the header has taken it. False when the copy cannot be made.
bool ToHeaderItem(const LVCOLUMNA& c, HDITEMA* hd, char** copy) {
  *hd = HDITEMA{};
  *copy = nullptr;
  hd->mask = ListViewHeaderMask(c.mask);
  if (c.mask & LVCF_TEXT) {
    if (c.pszText == LPSTR_TEXTCALLBACKA) {
      hd->pszText = c.pszText;
    } else {
      *copy = GlobalStrDup(c.pszText ? c.pszText : "");
      if (!*copy) return false;
      hd->pszText = *copy;
      hd->cchTextMax = static_cast<int>(std::strlen(*copy));
    }
  }
  if (c.mask & LVCF_FMT) hd->fmt = static_cast<int>(ListViewHeaderFormat(c.fmt));
  if (c.mask & LVCF_IMAGE) hd->iImage = c.iImage;
  if (c.mask & LVCF_ORDER) hd->iOrder = c.iOrder;
  if (c.mask & LVCF_WIDTH) hd->cxy = c.cx;
  return true;
}

LRESULT InsertColumn(ListViewState* s, int32_t index, const LVCOLUMNA* c) {
  if (!s->header || !c || index < 0) return -1;
  ListViewColumn rec = ListViewColumnRecord(c->mask, static_cast<uint32_t>(c->fmt), c->iSubItem);
  GuiListNode* node = GuiListInsertCopy(s->columns, &rec, sizeof rec, nullptr, kListBack);
  if (!node) return -1;
  HDITEMA hd;
  char* copy;
  if (!ToHeaderItem(*c, &hd, &copy)) {
    GuiListRemoveNode(s->columns, node);
    return -1;
  }
  int32_t position = (c->mask & LVCF_ORDER) ? c->iOrder : index;
  hd.mask |= HDI_FORMAT | HDI_LPARAM;
  hd.fmt |= HDF_OWNERDRAW;
  hd.lParam = reinterpret_cast<LPARAM>(node);
  if (position == 0) hd.fmt &= ~HDF_JUSTIFYMASK;  // the first column is always left-aligned
  LRESULT at = SendMessageA(s->header, HDM_INSERTITEMA, static_cast<WPARAM>(index),
                            reinterpret_cast<LPARAM>(&hd));
  GlobalFreePtr(copy);
  if (at < 0) {
    GuiListRemoveNode(s->columns, node);
    return -1;
  }
  static_cast<ListViewColumn*>(node->data)->headerIndex = static_cast<int32_t>(at);
  s->model->RaiseBound(position);
  InvalidateRect(s->window, nullptr, TRUE);
  return at;
}

LRESULT SetColumn(ListViewState* s, int32_t index, const LVCOLUMNA* c) {
  if (!s->header || !c || index < 0) return 0;
  HDITEMA cur{};
  cur.mask = HDI_LPARAM;
  if (!SendMessageA(s->header, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&cur))) return 0;
  ListViewColumn* rec = RecordOf(s, reinterpret_cast<GuiListNode*>(cur.lParam));
  if (!rec) return 0;
  HDITEMA hd;
  char* copy;
  if (!ToHeaderItem(*c, &hd, &copy)) return 0;
  ListViewColumn updated = *rec;
  if (c->mask & LVCF_FMT) {
    updated.format = ListViewColumnRecord(c->mask, static_cast<uint32_t>(c->fmt), 0).format;
    updated.mask |= LVCF_FMT;
    hd.fmt |= HDF_OWNERDRAW;
    if (index == 0) hd.fmt &= ~HDF_JUSTIFYMASK;
  }
  if (c->mask & LVCF_SUBITEM) {
    updated.iSubItem = c->iSubItem;
    updated.mask |= LVCF_SUBITEM;
  }
  LRESULT ok = SendMessageA(s->header, HDM_SETITEMA, index, reinterpret_cast<LPARAM>(&hd));
  GlobalFreePtr(copy);
  if (ok) *rec = updated;
  InvalidateRect(s->window, nullptr, TRUE);
  return 1;
}

LRESULT GetColumn(ListViewState* s, int32_t index, LVCOLUMNA* c) {
  if (!s->header || !c || index < 0) return 0;
  char text[300] = {};
  HDITEMA hd{};
  hd.mask = ListViewHeaderMask(c->mask) | HDI_LPARAM;
  if (c->mask & LVCF_FMT) hd.mask |= HDI_FORMAT;
  hd.pszText = text;
  hd.cchTextMax = sizeof text - 1;
  if (!SendMessageA(s->header, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&hd))) return 0;
  ListViewColumn* rec = RecordOf(s, reinterpret_cast<GuiListNode*>(hd.lParam));
  if (!rec) return 0;
  if (c->mask & LVCF_FMT)
    c->fmt = static_cast<int>(ListViewColumnFormat(
        static_cast<uint32_t>(hd.fmt), rec, index == 0 || (s->options & kOptionSubItemImages)));
  if (c->mask & LVCF_IMAGE) c->iImage = hd.iImage;
  if (c->mask & LVCF_ORDER) c->iOrder = hd.iOrder;
  if (c->mask & LVCF_WIDTH) c->cx = hd.cxy;
  if (c->mask & LVCF_SUBITEM) {
    if (rec->mask & LVCF_SUBITEM)
      c->iSubItem = rec->iSubItem;
    else
      c->mask &= ~LVCF_SUBITEM;
  }
  if ((c->mask & LVCF_TEXT) && c->pszText && c->cchTextMax > 0) {
    size_t n = std::min(std::strlen(text), static_cast<size_t>(c->cchTextMax - 1));
    std::memcpy(c->pszText, text, n);
    c->pszText[n] = 0;
  }
  return 1;
}

LRESULT DeleteColumn(ListViewState* s, int32_t index) {
  if (index < 0) return 0;
  if (!s->header) return 1;
  HDITEMA hd{};
  hd.mask = HDI_LPARAM;
  GuiListNode* node = nullptr;
  if (SendMessageA(s->header, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&hd)))
    node = reinterpret_cast<GuiListNode*>(hd.lParam);
  LRESULT ok = SendMessageA(s->header, HDM_DELETEITEM, index, 0);
  if (ok && node && InColumnList(s, node)) GuiListRemoveNode(s->columns, node);
  InvalidateRect(s->window, nullptr, TRUE);
  return ok;
}

// Draws a cell's text (or a header item's) by the fitting rule.
void DrawFitted(HDC dc, const char* text, RECT area, uint32_t headerFormat) {
  RECT calc = area;
  DrawTextA(dc, text, -1, &calc, kCellTextFormat | DT_CALCRECT);
  uint32_t format =
      ListViewTextFormat(calc.right - calc.left, area.right - area.left, headerFormat);
  DrawTextA(dc, text, -1, &area, format);
}

void Line(HDC dc, HPEN pen, int x0, int y0, int x1, int y1) {
  SelectObject(dc, pen);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

int SmallIconWidth(ListViewState* s) {
  int cx = 0, cy = 0;
  return s->images[1] && ImageList_GetIconSize(s->images[1], &cx, &cy) ? cx : 10;
}

// The item of a cell: the record, or what the parent answers for it.
struct Cell {
  uint32_t mask = 0;
  char text[500] = {};
  int32_t image = -1;
  uint32_t state = 0, stateMask = 0;
  int32_t indent = 0;
};

void AskParent(ListViewState* s, int32_t item, int32_t sub, uint32_t mask, Cell* cell) {
  NMLVDISPINFOA di{};
  di.item.mask = mask;
  di.item.iItem = item;
  di.item.iSubItem = sub;
  di.item.pszText = cell->text;
  di.item.cchTextMax = sizeof cell->text - 1;
  ListViewNotify(s, &di.hdr, LVN_GETDISPINFOA);
  cell->text[sizeof cell->text - 1] = 0;
  if (di.item.pszText && di.item.pszText != cell->text && di.item.pszText != LPSTR_TEXTCALLBACKA)
    lstrcpynA(cell->text, di.item.pszText, sizeof cell->text);
  if (mask & LVIF_IMAGE) cell->image = di.item.iImage;
  if (mask & LVIF_STATE) {
    cell->state = di.item.state;
    cell->stateMask = di.item.stateMask;
  }
  if (mask & LVIF_INDENT) cell->indent = di.item.iIndent;
  cell->mask |= mask;
  if ((di.item.mask & LVIF_DI_SETITEM) && !s->model->ownerData())
    s->model->StoreAnswer(item, sub, mask, cell->text, cell->image);
}

Cell CellOf(ListViewState* s, int32_t item, int32_t sub, const ListViewColumn* rec) {
  Cell cell;
  if (s->model->ownerData()) {
    uint32_t mask = LVIF_TEXT | LVIF_STATE | LVIF_INDENT;
    if (rec && (rec->format & LVCFMT_IMAGE)) mask |= LVIF_IMAGE;
    AskParent(s, item, sub, mask, &cell);
    return cell;
  }
  const ListViewItem* r = s->model->Record(item, sub);
  if (!r) return cell;
  cell.mask = r->mask;
  cell.image = r->iImage;
  cell.state = r->state;
  cell.stateMask = r->stateMask;
  cell.indent = r->iIndent;
  if (r->pszText && r->pszText != ListViewTextCallback())
    lstrcpynA(cell.text, r->pszText, sizeof cell.text);
  uint32_t ask = 0;
  if ((r->mask & LVIF_TEXT) && r->pszText == ListViewTextCallback()) ask |= LVIF_TEXT;
  if ((r->mask & LVIF_IMAGE) && r->iImage == I_IMAGECALLBACK) ask |= LVIF_IMAGE;
  if (ask) AskParent(s, item, sub, ask, &cell);
  return cell;
}

void DrawCellImages(ListViewState* s, HDC dc, const Cell& cell, int32_t item, int32_t sub,
                    const RECT& row, int* x) {
  int icon = SmallIconWidth(s);
  int cx = 0, cy = 16;
  if (s->images[1]) ImageList_GetIconSize(s->images[1], &cx, &cy);
  int y = (row.top + row.bottom - cy) / 2;
  if (sub == 0 && (cell.mask & LVIF_INDENT)) *x += cell.indent * icon;
  uint32_t stateImage = ((cell.state & cell.stateMask) & LVIS_STATEIMAGEMASK) >> 12;
  if (s->images[3] && (cell.mask & LVIF_STATE) && stateImage) {
    ImageList_Draw(s->images[3], static_cast<int>(stateImage), dc, *x, y, ILD_TRANSPARENT);
    *x += icon;
  }
  if ((cell.mask & LVIF_IMAGE) && cell.image >= 0) {
    HIMAGELIST list = item == s->model->focus() && s->images[2] ? s->images[2] : s->images[1];
    UINT style = ILD_TRANSPARENT | (cell.state & LVIS_OVERLAYMASK);
    if (list) ImageList_Draw(list, cell.image, dc, *x, y, style);
    *x += icon;
  }
}

}  // namespace

bool ListViewCreateHeader(ListViewState* s) {
  InitCommonControls();
  DWORD style = WS_CHILD | WS_VISIBLE | HDS_BUTTONS;
  if (s->style & LVS_NOCOLUMNHEADER) style |= HDS_HIDDEN;
  s->header = CreateWindowExA(
      0, WC_HEADERA, "", style, 0, 0, 400, 30, s->window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHeaderId)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(s->window, GWLP_HINSTANCE)), nullptr);
  if (!s->header) return false;
  auto previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(s->header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HeaderProc)));
  if (previous != HeaderProc) g_headerProc = previous;
  SendMessageA(s->header, WM_SETFONT, reinterpret_cast<WPARAM>(s->font), 0);
  return true;
}

void ListViewLayout(ListViewState* s) {
  RECT client;
  GetClientRect(s->window, &client);
  RECT view = client;
  if (s->header) {
    WINDOWPOS wp{};
    HDLAYOUT layout{&client, &wp};
    RECT area = client;
    layout.prc = &area;
    if (!SendMessageA(s->header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout))) return;
    SetWindowPos(s->header, wp.hwndInsertAfter, wp.x - 1, wp.y, wp.cx + 1, wp.cy,
                 wp.flags | SWP_NOACTIVATE);
    view.top = (s->style & LVS_NOCOLUMNHEADER) ? client.top : wp.y + wp.cy;
  }
  GuiItemViewSetRect(&s->view, GuiViewRectOf(view));
}

int32_t ListViewMargin(const ListViewState* s) {
  return s->averageCharWidth ? s->averageCharWidth : 4 * LOWORD(GetDialogBaseUnits());
}

int32_t ListViewColumnAtPoint(ListViewState* s, int32_t x) {
  std::vector<HeaderItemLayout> items = LayoutOf(ReadHeader(s));
  return ListViewColumnAtX(items.data(), static_cast<int32_t>(items.size()), x);
}

LRESULT ListViewColumnMessage(ListViewState* s, UINT msg, WPARAM wp, LPARAM lp) {
  int32_t index = static_cast<int32_t>(wp);
  auto* column = reinterpret_cast<LVCOLUMNA*>(lp);
  switch (msg) {
    case LVM_INSERTCOLUMNA:
      return InsertColumn(s, index, column);
    case LVM_SETCOLUMNA:
      return SetColumn(s, index, column);
    case LVM_GETCOLUMNA:
      return GetColumn(s, index, column);
    case LVM_DELETECOLUMN:
      return DeleteColumn(s, index);
    case LVM_GETCOLUMNWIDTH: {
      HDITEMA hd{};
      hd.mask = HDI_WIDTH;
      if (index < 0 || !s->header ||
          !SendMessageA(s->header, HDM_GETITEMA, index, reinterpret_cast<LPARAM>(&hd)))
        return 0;
      return hd.cxy;
    }
    case LVM_SETCOLUMNWIDTH: {
      if (index < 0 || !s->header) return 0;
      HDITEMA hd{};
      hd.mask = HDI_WIDTH;
      hd.cxy = static_cast<int>(LOWORD(lp));
      SendMessageA(s->header, HDM_SETITEMA, index, reinterpret_cast<LPARAM>(&hd));
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT ListViewHeaderNotify(ListViewState* s, NMHDR* nm) {
  switch (nm->code) {
    case NM_RCLICK: {
      NMITEMACTIVATE a{};
      a.iItem = a.iSubItem = -1;
      DWORD pos = GetMessagePos();
      a.ptAction = POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
      ScreenToClient(s->window, &a.ptAction);
      if (GetKeyState(VK_MENU) < 0) a.uKeyFlags |= LVKF_ALT;
      if (GetKeyState(VK_CONTROL) < 0) a.uKeyFlags |= LVKF_CONTROL;
      if (GetKeyState(VK_SHIFT) < 0) a.uKeyFlags |= LVKF_SHIFT;
      return ListViewNotify(s, &a.hdr, NM_RCLICK);
    }
    case HDN_ENDDRAG:
      InvalidateRect(s->window, nullptr, TRUE);
      return 0;
    case HDN_ITEMCLICKA: {
      auto* h = reinterpret_cast<NMHEADERA*>(nm);
      NMLISTVIEW lv{};
      lv.iItem = -1;
      lv.iSubItem = h->iItem;
      if (h->pitem && (h->pitem->mask & HDI_LPARAM)) {
        ListViewColumn* rec = RecordOf(s, reinterpret_cast<GuiListNode*>(h->pitem->lParam));
        if (rec && (rec->mask & LVCF_SUBITEM)) lv.iSubItem = rec->iSubItem;
      }
      ListViewNotify(s, &lv.hdr, LVN_COLUMNCLICK);
      return 0;
    }
    case HDN_ITEMCHANGEDA:
      if (!s->redrawOff)
        RedrawWindow(s->window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW);
      return 0;
    case HDN_ITEMCHANGINGA:
      return 0;
    default: {
      HWND parent = GetParent(s->window);
      return parent ? SendMessageA(parent, WM_NOTIFY, nm->idFrom, reinterpret_cast<LPARAM>(nm)) : 0;
    }
  }
}

LRESULT ListViewDrawHeaderItem(ListViewState* s, DRAWITEMSTRUCT* di) {
  HDC dc = di->hDC;
  int saved = SaveDC(dc);
  RealizeSkinPalette(dc);
  const RECT& r = di->rcItem;
  GuiFillRectColor(dc, &r, Colour(kHeaderFace));
  SetBkColor(dc, Colour(kHeaderFace));
  SetBkMode(dc, TRANSPARENT);
  char text[300] = {};
  HDITEMA hd{};
  hd.mask = HDI_TEXT | HDI_FORMAT;
  hd.pszText = text;
  hd.cchTextMax = sizeof text - 1;
  SendMessageA(s->header, HDM_GETITEMA, di->itemID, reinterpret_cast<LPARAM>(&hd));
  text[sizeof text - 1] = 0;
  bool pressed = di->itemState == ODS_SELECTED;
  RECT area{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  if (pressed)
    OffsetRect(&area, 1, 1);
  else
    area.right -= 1, area.bottom -= 1;
  int32_t margin = ListViewMargin(s);
  area.left += margin;
  area.right -= margin;
  SetTextColor(dc, Colour(kHeaderText));
  SelectObject(dc, s->font);
  DrawFitted(dc, text, area, static_cast<uint32_t>(hd.fmt));
  HPEN light = CreatePen(PS_SOLID, 1, Colour(kHeaderLight));
  HPEN dark = CreatePen(PS_SOLID, 1, Colour(kHeaderDark));
  HPEN shadow = CreatePen(PS_SOLID, 1, Colour(kHeaderShadow));
  int l = r.left, t = r.top, rr = r.right, b = r.bottom;
  if (!pressed) {
    SelectObject(dc, light);
    MoveToEx(dc, l, b - 2, nullptr);
    LineTo(dc, l, t);
    LineTo(dc, rr - 1, t);
    SelectObject(dc, dark);
    LineTo(dc, rr - 1, b);
    Line(dc, dark, l, b - 1, rr, b - 1);
    SelectObject(dc, shadow);
    MoveToEx(dc, rr - 2, t + 1, nullptr);
    LineTo(dc, rr - 2, b - 2);
    LineTo(dc, l, b - 2);
  } else {
    Line(dc, light, l + 1, b - 1, rr, b - 1);
    Line(dc, light, rr - 1, t, rr - 1, b);
    Line(dc, dark, l, t, rr, t);
    Line(dc, dark, l, t, l, b);
    Line(dc, shadow, l + 1, t + 1, rr - 1, t + 1);
    Line(dc, shadow, l + 1, t + 1, l + 1, b - 1);
  }
  RestoreDC(dc, saved);
  DeleteObject(light);
  DeleteObject(dark);
  DeleteObject(shadow);
  return 1;
}

void ListViewFreeColumns(ListViewState* s) {
  GuiListDestroy(s->columns);
  s->columns = nullptr;
}

void ListViewPaintRow(const GuiRowDraw* row) {
  auto* s = static_cast<ListViewState*>(row->context);
  int32_t index = row->index;
  if (!s || index < 0 || (s->style & LVS_TYPEMASK) != LVS_REPORT) return;
  HDC dc = static_cast<HDC>(row->dc);
  int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  RealizeSkinPalette(dc);
  ListViewModel& m = *s->model;
  bool selected =
      m.IsSelected(index) && (GetFocus() == s->window || (s->style & LVS_SHOWSELALWAYS));
  const ListViewItem* r0 = m.Record(index, 0);
  bool drop = r0 && (r0->state & r0->stateMask & LVIS_DROPHILITED);
  struct {
    uint32_t selected;
    COLORREF text, background;
  } look{selected ? 1u : 0u,
         Colour(drop ? (selected ? kLvDropSelectedText : kLvDropText)
                     : (selected ? kLvSelectedText : kLvText)),
         Colour(drop ? (selected ? kLvDropSelectedBackground : kLvBackground)
                     : (selected ? kLvSelectedBackground : kLvBackground))};
  RECT rect = GuiRectOf(row->row);
  if (index < m.count()) {
    HWND parent = GetParent(s->window);
    if (parent) SendMessageA(parent, kMsgRowColours, reinterpret_cast<WPARAM>(&look), index);
    SetTextColor(dc, look.text);
    GuiFillRectColor(dc, &rect, look.background);
    if (m.ownerData()) {
      NMLVCACHEHINT hint{};
      hint.iFrom = hint.iTo = index;
      ListViewNotify(s, &hint.hdr, LVN_ODCACHEHINT);
    }
    std::vector<HeaderItem> items = ReadHeader(s);
    std::vector<HeaderItemLayout> layout = LayoutOf(items);
    int32_t margin = ListViewMargin(s);
    int x = rect.left;
    for (int32_t p = 0; p < static_cast<int32_t>(items.size()); ++p) {
      int32_t k = ListViewItemAtPosition(layout.data(), static_cast<int32_t>(layout.size()), p);
      const HeaderItem& h = items[static_cast<size_t>(k)];
      ListViewColumn* rec = RecordOf(s, h.node);
      int32_t sub = rec ? ListViewColumnSubItem(*rec) : k;
      RECT area{x + margin, rect.top, x + h.width - margin, rect.bottom};
      if (area.right > area.left) {
        int clip = SaveDC(dc);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        Cell cell = CellOf(s, index, sub, rec);
        int start = area.left;
        if (sub == 0 || (s->options & kOptionSubItemImages))
          DrawCellImages(s, dc, cell, index, sub, rect, &start);
        if (cell.mask & LVIF_TEXT) {
          RECT text{start, area.top, area.right, area.bottom};
          DrawFitted(dc, cell.text, text, h.format);
        }
        RestoreDC(dc, clip);
      }
      x += h.width;
    }
  }
  RestoreDC(dc, saved);
}

}  // namespace gui
