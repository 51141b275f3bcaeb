// CGUITreeViewWnd: the toolkit's own tree control. Items live in the tree
// store; the shown items (every ancestor expanded) are the engine's rows, one
// per item, with the handle as data and the item's pixel extent as width. It
// answers a subset of the tree-view messages, sends the tree notifications
// and draws lines, buttons, images and text itself.
//
// Differences from the behaviour it follows: handles from messages are checked
// against the tree before use; the selected row is found from the selected
// handle whenever it is needed; the client edge a dialog makes of WS_BORDER
// counts as a border; and deleting the selected item or one of its
// ancestors clears the selection, so it never names a freed item; texts
// answered through TVN_GETDISPINFO are cut to their buffer and terminated.
#include "gui/win32/gui_tree_view.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "gui/gui_core.h"
#include "gui/gui_memory.h"
#include "gui/gui_tree_store.h"
#include "gui/item_view.h"
#include "gui/view_skin.h"
#include "gui/win32/gui_win32.h"
#include "gui/win32/item_view_win32.h"

namespace gui {

const char kTreeViewClassName[] = "CGUITreeViewWnd";

namespace {

constexpr int32_t kDefaultIndent = 32;
constexpr int kDispTextSize = 500;
constexpr UINT kDrawFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

struct TreeItem {
  TVITEMA item;
  uint16_t extent;  // x where the text ends; 0xFFFF: not measured
  uint16_t textWidth;
};

struct TreeState {
  int32_t count;
  GuiList* root;
  GuiItemView view;
  GuiViewHostWin32 host;
  int32_t indent;
  HTREEITEM selected;
  HIMAGELIST normal;
  HIMAGELIST stateImages;
  int32_t redrawOff;
  DWORD style;
  DWORD exStyle;
  HWND window;
};

int XOf(LPARAM lp) { return static_cast<short>(LOWORD(lp)); }
int YOf(LPARAM lp) { return static_cast<short>(HIWORD(lp)); }

TreeState* StateOf(HWND w) { return reinterpret_cast<TreeState*>(GuiGetWindowSlot(w, 0, 0)); }

GuiListNode* Node(HTREEITEM h) { return reinterpret_cast<GuiListNode*>(h); }
HTREEITEM Handle(GuiListNode* n) { return reinterpret_cast<HTREEITEM>(n); }
TreeItem* Rec(HTREEITEM h) { return static_cast<TreeItem*>(GuiTreeStoreItem(Node(h))); }
GuiList* Children(HTREEITEM h) { return GuiTreeStoreChildren(Node(h)); }
HTREEITEM ParentOf(HTREEITEM h) { return Handle(GuiTreeStoreParent(Node(h))); }
int Depth(HTREEITEM h) { return GuiTreeStoreDepth(Node(h)); }

int32_t Indent(const TreeState* s) { return s->indent ? s->indent : kDefaultIndent; }
bool Lines(const TreeState* s) { return (s->style & TVS_HASLINES) != 0; }
bool LinesAtRoot(const TreeState* s) { return (s->style & TVS_LINESATROOT) != 0; }
bool Buttons(const TreeState* s) { return (s->style & TVS_HASBUTTONS) != 0; }

bool StateSet(const TVITEMA& it, UINT bit) {
  return (it.mask & TVIF_STATE) && (it.state & bit) && (it.stateMask & bit);
}

void SetState(TVITEMA* it, UINT bits, bool on) {
  if (!(it->mask & TVIF_STATE)) {
    it->state = it->stateMask = 0;
    it->mask |= TVIF_STATE;
  }
  it->stateMask |= bits;
  it->state = on ? (it->state | bits) : (it->state & ~bits);
}

bool Expanded(HTREEITEM h) { return StateSet(Rec(h)->item, TVIS_EXPANDED); }

bool HasChildrenFlag(const TVITEMA& it) {
  return (it.mask & TVIF_CHILDREN) && (it.cChildren == 1 || it.cChildren == I_CHILDRENCALLBACK);
}

GuiSkin* Skin() { return GuiGetSkin(); }
uint32_t TreeWord(int which) {
  GuiSkin* skin = Skin();
  return skin ? skin->tree.words[which] : 0;
}

// --- Validity and rows ----------------------------------------------------------

struct FindNodeCtx {
  GuiListNode* node;
  bool found;
};
int FindNodeVisit(void* bytes, uint32_t size, void* ctx) {
  auto* c = static_cast<FindNodeCtx*>(ctx);
  if (size && GuiTreeStoreNodeFromItem(bytes) == c->node) {
    c->found = true;
    return kWalkStop;
  }
  return kWalkInto;
}

// Whether a handle from a message names an item of this tree.
bool IsItem(TreeState* s, HTREEITEM h) {
  if (!h || !s->root) return false;
  FindNodeCtx c{Node(h), false};
  GuiTreeStoreWalk(s->root, FindNodeVisit, &c, kWalkSkipSelf);
  return c.found;
}

int32_t RowOf(TreeState* s, HTREEITEM h) {
  return h ? GuiItemViewFindData(&s->view, -1, reinterpret_cast<intptr_t>(h)) : -1;
}

HTREEITEM ItemAtRow(TreeState* s, int32_t row) {
  if (row < 0 || row >= s->view.count) return nullptr;
  return reinterpret_cast<HTREEITEM>(GuiItemViewGetItemData(&s->view, row));
}

bool AncestorsExpanded(HTREEITEM h) {
  for (HTREEITEM p = ParentOf(h); p; p = ParentOf(p))
    if (!Expanded(p)) return false;
  return true;
}

int32_t ShownDescendants(HTREEITEM h) {
  if (!Expanded(h)) return 0;
  int32_t n = 0;
  for (GuiListNode* c = Children(h)->head; c; c = c->next)
    n += 1 + ShownDescendants(Handle(c));
  return n;
}

void RepaintRow(TreeState* s, int32_t row) {
  if (row >= 0) GuiItemViewRedrawItem(&s->view, row);
}
void RepaintItem(TreeState* s, HTREEITEM h) { RepaintRow(s, RowOf(s, h)); }

// --- Notifications ----------------------------------------------------------------

LRESULT Notify(TreeState* s, NMHDR* hdr, UINT code) {
  hdr->hwndFrom = s->window;
  hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(s->window));
  hdr->code = code;
  HWND parent = GetParent(s->window);
  return parent ? SendMessageA(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr)) : 0;
}

LRESULT NotifyTree(TreeState* s, UINT code, UINT action, HTREEITEM oldItem, HTREEITEM newItem) {
  NMTREEVIEWA nm{};
  nm.action = action;
  if (oldItem) nm.itemOld = Rec(oldItem)->item;
  if (newItem) nm.itemNew = Rec(newItem)->item;
  return Notify(s, &nm.hdr, code);
}

// --- Callback fields and measuring ------------------------------------------------

// The item with its callback fields answered; `text` receives a callback
// text (kDispTextSize bytes).
TVITEMA Resolve(TreeState* s, HTREEITEM h, char* text) {
  TreeItem* r = Rec(h);
  TVITEMA it = r->item;
  UINT ask = 0;
  if ((it.mask & TVIF_TEXT) && it.pszText == LPSTR_TEXTCALLBACKA) ask |= TVIF_TEXT;
  if ((it.mask & TVIF_IMAGE) && it.iImage == I_IMAGECALLBACK) ask |= TVIF_IMAGE;
  if ((it.mask & TVIF_SELECTEDIMAGE) && it.iSelectedImage == I_IMAGECALLBACK)
    ask |= TVIF_SELECTEDIMAGE;
  if ((it.mask & TVIF_CHILDREN) && it.cChildren == I_CHILDRENCALLBACK) ask |= TVIF_CHILDREN;
  if (!ask) return it;
  NMTVDISPINFOA d{};
  text[0] = 0;
  d.item.mask = ask;
  d.item.hItem = h;
  d.item.state = it.state;
  d.item.lParam = it.lParam;
  d.item.pszText = text;
  d.item.cchTextMax = kDispTextSize;
  Notify(s, &d.hdr, TVN_GETDISPINFOA);
  if (ask & TVIF_TEXT) {
    if (d.item.pszText != text && d.item.pszText) lstrcpynA(text, d.item.pszText, kDispTextSize);
    text[kDispTextSize - 1] = 0;
    it.pszText = text;
  }
  if (ask & TVIF_IMAGE) it.iImage = d.item.iImage;
  if (ask & TVIF_SELECTEDIMAGE) it.iSelectedImage = d.item.iSelectedImage;
  if (ask & TVIF_CHILDREN) it.cChildren = d.item.cChildren;
  if (d.item.mask & TVIF_DI_SETITEM) {
    if (ask & TVIF_TEXT) {
      char* copy = GlobalStrDup(text);
      if (copy) r->item.pszText = copy;
    }
    if (ask & TVIF_IMAGE) r->item.iImage = it.iImage;
    if (ask & TVIF_SELECTEDIMAGE) r->item.iSelectedImage = it.iSelectedImage;
    if (ask & TVIF_CHILDREN) r->item.cChildren = it.cChildren;
  }
  return it;
}

const char* TextOf(const TVITEMA& it) {
  if (!(it.mask & TVIF_TEXT) || !it.pszText || it.pszText == LPSTR_TEXTCALLBACKA) return "";
  return it.pszText;
}

bool ImageKnown(HIMAGELIST list, int index) {
  IMAGEINFO info;
  return list && index >= 0 && ImageList_GetImageInfo(list, index, &info);
}

void Measure(TreeState* s, HTREEITEM h) {
  char buffer[kDispTextSize];
  TVITEMA it = Resolve(s, h, buffer);
  int32_t depth = Depth(h), indent = Indent(s);
  int32_t x = indent * ((Lines(s) && LinesAtRoot(s)) ? depth + 1 : depth);
  int stateIndex = StateSet(it, TVIS_STATEIMAGEMASK) ? ((it.state >> 12) & 0xF) : 0;
  if (stateIndex && ImageKnown(s->stateImages, stateIndex)) x += indent;
  int image = (it.mask & TVIF_IMAGE)           ? it.iImage
              : (it.mask & TVIF_SELECTEDIMAGE) ? it.iSelectedImage
                                               : -1;
  if (ImageKnown(s->normal, image)) x += indent;
  int32_t textWidth = 0;
  const char* text = TextOf(it);
  if (*text) {
    HDC dc = GetDC(s->window);
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, text, -1, &r, kDrawFlags | DT_CALCRECT);
    ReleaseDC(s->window, dc);
    textWidth = r.right - r.left;
  }
  TreeItem* rec = Rec(h);
  rec->textWidth = static_cast<uint16_t>(std::min(textWidth, 0xFFFE));
  rec->extent = static_cast<uint16_t>(std::min(x + textWidth, 0xFFFE));
}

int32_t Extent(TreeState* s, HTREEITEM h) {
  if (Rec(h)->extent == 0xFFFF) Measure(s, h);
  return Rec(h)->extent;
}

// --- Rows of items -----------------------------------------------------------------

bool InsertRow(TreeState* s, int32_t row, HTREEITEM h) {
  return GuiItemViewInsertItem(&s->view, row, reinterpret_cast<intptr_t>(h), Extent(s, h)) >= 0;
}

// Inserts rows for the shown descendants of `list` from `row` on; the next
// free row is returned through `row`.
void InsertDescendantRows(TreeState* s, GuiList* list, int32_t* row) {
  for (GuiListNode* c = list->head; c; c = c->next) {
    if (!InsertRow(s, *row, Handle(c))) return;
    ++*row;
    if (Expanded(Handle(c))) InsertDescendantRows(s, GuiTreeStoreChildren(c), row);
  }
}

// The row a newly shown item takes.
int32_t RowForNew(TreeState* s, HTREEITEM h) {
  GuiListNode* prev = Node(h)->prev;
  if (prev) {
    HTREEITEM last = Handle(prev);
    while (Expanded(last) && Children(last)->tail)
      last = Handle(Children(last)->tail);
    return RowOf(s, last) + 1;
  }
  HTREEITEM parent = ParentOf(h);
  return parent ? RowOf(s, parent) + 1 : 0;
}

void UpdateChildrenIndicator(TreeState* s, HTREEITEM parent) {
  if (!parent) return;
  TVITEMA& it = Rec(parent)->item;
  int old = (it.mask & TVIF_CHILDREN) ? it.cChildren : 0;
  bool has = Children(parent)->count > 0;
  it.mask |= TVIF_CHILDREN;
  it.cChildren = has ? 1 : 0;
  if ((has && old != 1) || (!has && old == 1)) RepaintItem(s, parent);
}

// --- Selection ---------------------------------------------------------------------

bool Select(TreeState* s, HTREEITEM h, UINT action) {
  if (h == s->selected) return true;
  if (NotifyTree(s, TVN_SELCHANGINGA, action, s->selected, h)) return false;
  HTREEITEM old = s->selected;
  if (old) {
    SetState(&Rec(old)->item, TVIS_SELECTED, false);
    RepaintItem(s, old);
  }
  s->selected = h;
  if (h) {
    SetState(&Rec(h)->item, TVIS_SELECTED, true);
    RepaintItem(s, h);
  }
  NotifyTree(s, TVN_SELCHANGEDA, action, old, h);
  return true;
}

// --- Deletion ------------------------------------------------------------------------

void FreeItemCallback(void* bytes, uint32_t size, void* ctx) {
  if (!size) return;
  auto* s = static_cast<TreeState*>(ctx);
  auto* rec = static_cast<TreeItem*>(bytes);
  HTREEITEM h = Handle(GuiTreeStoreNodeFromItem(bytes));
  if (s->selected == h) s->selected = nullptr;  // never keep a freed item selected
  NotifyTree(s, TVN_DELETEITEMA, 0, h, nullptr);
  if (rec->item.pszText && rec->item.pszText != LPSTR_TEXTCALLBACKA)
    GlobalFreePtr(rec->item.pszText);
  rec->item.pszText = nullptr;
  --s->count;
}

bool DeleteItem(TreeState* s, HTREEITEM h) {
  GuiList* parentList = GuiTreeStoreParentList(Node(h));
  HTREEITEM parent = ParentOf(h);
  GuiListNode* n = Node(h);
  if (!n->next && n->prev) RepaintItem(s, Handle(n->prev));  // its line now ends
  int32_t row = RowOf(s, h);
  if (row >= 0) GuiItemViewDeleteRange(&s->view, row, row + ShownDescendants(h));
  if (!GuiTreeStoreRemove(parentList, n, FreeItemCallback, s)) return false;
  UpdateChildrenIndicator(s, parent);
  return true;
}

bool DeleteAll(TreeState* s) {
  GuiTreeStoreDestroy(s->root, FreeItemCallback, s);
  s->root = nullptr;
  GuiItemViewResetContent(&s->view);
  s->count = 0;
  s->selected = nullptr;
  s->root = GuiTreeStoreCreate();
  return s->root != nullptr;
}

// --- Expansion -------------------------------------------------------------------------

bool Expand(TreeState* s, HTREEITEM h, bool notify) {
  if (Expanded(h)) return true;
  if (notify) NotifyTree(s, TVN_ITEMEXPANDINGA, TVE_EXPAND, nullptr, h);
  SetState(&Rec(h)->item, TVIS_EXPANDED | TVIS_EXPANDEDONCE, true);
  int32_t row = RowOf(s, h);
  if (row >= 0) {
    int32_t next = row + 1;
    InsertDescendantRows(s, Children(h), &next);
    if (next > row + 1) GuiItemViewEnsureVisible(&s->view, next - 1, 0, nullptr);
    GuiItemViewEnsureVisible(&s->view, row, 0, nullptr);
  }
  if (notify) NotifyTree(s, TVN_ITEMEXPANDEDA, TVE_EXPAND, nullptr, h);
  RepaintRow(s, row);
  return true;
}

bool Collapse(TreeState* s, HTREEITEM h, bool notify) {
  if (!Expanded(h)) return false;
  if (notify) NotifyTree(s, TVN_ITEMEXPANDINGA, TVE_COLLAPSE, nullptr, h);
  int32_t row = RowOf(s, h);
  int32_t n = ShownDescendants(h);
  if (row >= 0 && n > 0) GuiItemViewDeleteRange(&s->view, row + 1, row + n);
  SetState(&Rec(h)->item, TVIS_EXPANDED, false);
  if (notify) NotifyTree(s, TVN_ITEMEXPANDEDA, TVE_COLLAPSE, nullptr, h);
  RepaintRow(s, row);
  return true;
}

void Toggle(TreeState* s, HTREEITEM h) {
  if (Expanded(h))
    Collapse(s, h, true);
  else
    Expand(s, h, true);
}

bool CollapseReset(TreeState* s, HTREEITEM h) {
  int32_t row = RowOf(s, h);
  int32_t n = ShownDescendants(h);
  if (row >= 0 && n > 0) GuiItemViewDeleteRange(&s->view, row + 1, row + n);
  SetState(&Rec(h)->item, TVIS_EXPANDED | TVIS_EXPANDEDONCE, false);
  GuiList* kids = Children(h);
  while (kids->head)
    GuiTreeStoreRemove(kids, kids->head, FreeItemCallback, s);
  UpdateChildrenIndicator(s, h);
  RepaintRow(s, row);
  return row >= 0 && n > 0;
}

LRESULT OnExpand(TreeState* s, WPARAM action, HTREEITEM h) {
  if (!IsItem(s, h)) return 0;
  switch (action) {
    case TVE_COLLAPSE:
      return Collapse(s, h, false) ? 1 : 0;
    case TVE_COLLAPSE | TVE_COLLAPSERESET:
      return CollapseReset(s, h) ? 1 : 0;
    case TVE_EXPAND:
      return Expand(s, h, !StateSet(Rec(h)->item, TVIS_EXPANDEDONCE)) ? 1 : 0;
    case TVE_TOGGLE:
      Toggle(s, h);
      return 1;
    default:
      return 0;
  }
}

// Shows the item (ancestors expanded from the top down) and scrolls it in.
bool MakeVisible(TreeState* s, HTREEITEM h, bool asTop, bool horizontal) {
  if (RowOf(s, h) < 0) {
    HTREEITEM chain[256];
    int n = 0;
    for (HTREEITEM p = ParentOf(h); p && n < 256; p = ParentOf(p))
      chain[n++] = p;
    while (n-- > 0)
      Expand(s, chain[n], true);
  }
  int32_t row = RowOf(s, h);
  if (row < 0 || !GuiItemViewEnsureVisible(&s->view, row, asTop ? 1 : 0, nullptr)) return false;
  if (horizontal) {
    int32_t extent = Extent(s, h);
    GuiItemViewEnsureRangeVisibleH(&s->view, extent - 1 - Rec(h)->textWidth, extent - 1);
  }
  return true;
}

// --- Insertion ---------------------------------------------------------------------------

HTREEITEM Insert(TreeState* s, const TVINSERTSTRUCTA* in) {
  if (!in) return nullptr;
  GuiList* list = s->root;
  HTREEITEM parent = nullptr;
  if (in->hParent && in->hParent != TVI_ROOT) {
    if (!IsItem(s, in->hParent)) return nullptr;
    parent = in->hParent;
    list = Children(parent);
  }
  TreeItem rec{};
  rec.item = in->item;
  rec.item.mask &=
      TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_STATE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  if (rec.item.mask & TVIF_STATE) rec.item.state &= rec.item.stateMask;
  if ((rec.item.mask & TVIF_TEXT) && in->item.pszText != LPSTR_TEXTCALLBACKA) {
    rec.item.pszText = GlobalStrDup(in->item.pszText ? in->item.pszText : "");
    if (!rec.item.pszText) return nullptr;
  }
  GuiListNode* n = nullptr;
  HTREEITEM after = in->hInsertAfter;
  if (after == TVI_FIRST)
    n = GuiTreeStoreInsert(list, &rec, sizeof rec, kListFront);
  else if (after && after != TVI_LAST && after != TVI_SORT && after != TVI_ROOT &&
           GuiTreeStoreContains(list, Node(after)))
    n = GuiTreeStoreInsertAfter(list, Node(after), &rec, sizeof rec);
  else
    n = GuiTreeStoreInsert(list, &rec, sizeof rec, kListBack);
  if (!n) {
    if (rec.item.pszText != LPSTR_TEXTCALLBACKA) GlobalFreePtr(rec.item.pszText);
    return nullptr;
  }
  HTREEITEM h = Handle(n);
  Rec(h)->item.mask |= TVIF_HANDLE;
  Rec(h)->item.hItem = h;
  Rec(h)->extent = 0xFFFF;
  ++s->count;
  UpdateChildrenIndicator(s, parent);
  if ((!parent || (Expanded(parent) && RowOf(s, parent) >= 0)) && AncestorsExpanded(h)) {
    if (!InsertRow(s, RowForNew(s, h), h)) {
      GuiTreeStoreRemove(list, n, FreeItemCallback, s);
      UpdateChildrenIndicator(s, parent);
      return nullptr;
    }
    if (!n->next && n->prev) RepaintItem(s, Handle(n->prev));
  }
  return h;
}

// --- Items by message --------------------------------------------------------------------

LRESULT OnGetItem(TreeState* s, TVITEMA* out) {
  if (!out || !IsItem(s, out->hItem)) return 0;
  const TVITEMA& it = Rec(out->hItem)->item;
  if (out->mask & TVIF_CHILDREN)
    out->cChildren =
        (it.mask & TVIF_CHILDREN) ? it.cChildren : (Children(out->hItem)->count > 0 ? 1 : 0);
  if (out->mask & TVIF_IMAGE) out->iImage = (it.mask & TVIF_IMAGE) ? it.iImage : -1;
  if (out->mask & TVIF_SELECTEDIMAGE)
    out->iSelectedImage = (it.mask & TVIF_SELECTEDIMAGE) ? it.iSelectedImage : -1;
  if (out->mask & TVIF_PARAM) {
    if (!(it.mask & TVIF_PARAM)) return 0;
    out->lParam = it.lParam;
  }
  if (out->mask & TVIF_STATE) {
    if (it.mask & TVIF_STATE) {
      out->state = it.state & it.stateMask;
      out->stateMask = it.stateMask;
    } else {
      out->mask &= ~TVIF_STATE;
    }
  }
  if (out->mask & TVIF_TEXT) {
    if (!(it.mask & TVIF_TEXT) || !it.pszText || it.pszText == LPSTR_TEXTCALLBACKA ||
        !out->pszText || out->cchTextMax <= lstrlenA(it.pszText))
      return 0;
    lstrcpyA(out->pszText, it.pszText);
  }
  return 1;
}

LRESULT OnSetItem(TreeState* s, const TVITEMA* in) {
  if (!in || !IsItem(s, in->hItem)) return 0;
  HTREEITEM h = in->hItem;
  TVITEMA& it = Rec(h)->item;
  bool changed = false;
  if (in->mask & TVIF_TEXT) {
    char* copy = in->pszText == LPSTR_TEXTCALLBACKA ? LPSTR_TEXTCALLBACKA
                                                    : GlobalStrDup(in->pszText ? in->pszText : "");
    if (!copy) return 0;
    if (it.pszText != LPSTR_TEXTCALLBACKA) GlobalFreePtr(it.pszText);
    it.pszText = copy;
    it.mask |= TVIF_TEXT;
    Rec(h)->extent = 0xFFFF;
    changed = true;
  }
  if (in->mask & TVIF_CHILDREN) {
    it.cChildren = in->cChildren;
    it.mask |= TVIF_CHILDREN;
    changed |= Buttons(s);
  }
  if (in->mask & TVIF_IMAGE) it.iImage = in->iImage, it.mask |= TVIF_IMAGE, changed = true;
  if (in->mask & TVIF_PARAM) it.lParam = in->lParam, it.mask |= TVIF_PARAM;
  if (in->mask & TVIF_SELECTEDIMAGE)
    it.iSelectedImage = in->iSelectedImage, it.mask |= TVIF_SELECTEDIMAGE, changed = true;
  if (in->mask & TVIF_STATE) {
    UINT plain = in->stateMask & ~(TVIS_SELECTED | 0x1 | TVIS_EXPANDED | TVIS_EXPANDEDONCE);
    if (plain) {
      SetState(&it, plain & in->state, true);
      SetState(&it, plain & ~in->state, false);
      changed = true;
    }
    if (in->stateMask & TVIS_EXPANDEDONCE)
      SetState(&it, TVIS_EXPANDEDONCE, (in->state & TVIS_EXPANDEDONCE) != 0);
    if ((in->stateMask & TVIS_EXPANDED) &&
        ((in->state & TVIS_EXPANDED) != 0) != StateSet(it, TVIS_EXPANDED))
      Toggle(s, h);
    if ((in->stateMask & TVIS_SELECTED) &&
        ((in->state & TVIS_SELECTED) != 0) != StateSet(it, TVIS_SELECTED)) {
      if (Select(s, (in->state & TVIS_SELECTED) ? h : nullptr, TVC_UNKNOWN)) return 1;
    }
  }
  if (changed) {
    int32_t row = RowOf(s, h);
    if (row >= 0 && Rec(h)->extent == 0xFFFF) GuiItemViewSetItemWidth(&s->view, row, Extent(s, h));
    RepaintRow(s, row);
  }
  return 1;
}

LRESULT OnGetNextItem(TreeState* s, WPARAM code, HTREEITEM h) {
  bool valid = IsItem(s, h);
  switch (code) {
    case TVGN_ROOT:
      return reinterpret_cast<LRESULT>(s->root ? s->root->head : nullptr);
    case TVGN_NEXT:
      return valid ? reinterpret_cast<LRESULT>(Node(h)->next) : 0;
    case TVGN_PREVIOUS:
      return valid ? reinterpret_cast<LRESULT>(Node(h)->prev) : 0;
    case TVGN_PARENT:
      return valid ? reinterpret_cast<LRESULT>(ParentOf(h)) : 0;
    case TVGN_CHILD:
      return valid ? reinterpret_cast<LRESULT>(Children(h)->head) : 0;
    case TVGN_FIRSTVISIBLE:
      return reinterpret_cast<LRESULT>(ItemAtRow(s, s->view.top));
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      if (!valid) return 0;
      int32_t row = RowOf(s, h);
      if (row < 0) return 0;
      row += code == TVGN_NEXTVISIBLE ? 1 : -1;
      return GuiItemViewIsRowShown(&s->view, row) ? reinterpret_cast<LRESULT>(ItemAtRow(s, row))
                                                  : 0;
    }
    case TVGN_CARET:
      return reinterpret_cast<LRESULT>(s->selected);
    default:
      return 0;
  }
}

LRESULT OnSelectItem(TreeState* s, WPARAM code, HTREEITEM h) {
  if (!h) return Select(s, nullptr, TVC_UNKNOWN) ? 1 : 0;
  if (!IsItem(s, h)) return 0;
  if (code == TVGN_CARET) {
    if (!MakeVisible(s, h, false, false)) return 0;
    return Select(s, h, TVC_UNKNOWN) ? 1 : 0;
  }
  if (code == TVGN_FIRSTVISIBLE) return MakeVisible(s, h, true, false) ? 1 : 0;
  return 0;
}

LRESULT OnGetItemRect(TreeState* s, WPARAM textOnly, LPARAM lp) {
  auto* r = reinterpret_cast<RECT*>(lp);
  if (!r) return 0;
  HTREEITEM h = *reinterpret_cast<HTREEITEM*>(lp);
  if (!IsItem(s, h)) return 0;
  GuiViewRect row;
  if (GuiItemViewGetItemRect(&s->view, RowOf(s, h), &row) != 0) return 0;
  if (textOnly) {
    int32_t extent = Extent(s, h);
    GuiViewRect text{s->view.view.left + extent - Rec(h)->textWidth - s->view.offset, row.top,
                     s->view.view.left + extent - s->view.offset, row.bottom};
    row.left = std::max(text.left, s->view.view.left);
    row.right = std::min(text.right, s->view.view.right);
  }
  *r = GuiRectOf(row);
  return 1;
}

// --- Painting -----------------------------------------------------------------------------

void VLine(HDC dc, int x, int y0, int y1) {
  MoveToEx(dc, x, y0, nullptr);
  LineTo(dc, x, y1);
}

void DrawLines(TreeState* s, HDC dc, HTREEITEM h, const RECT& row, int depth) {
  int indent = Indent(s), base = LinesAtRoot(s) ? 0 : 1;
  int mid = (row.top + row.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, TreeWord(kTreeLine));
  HGDIOBJ old = SelectObject(dc, pen);
  // Ancestors' columns: a line through those that have a later sibling.
  HTREEITEM chain[256];
  int n = 0;
  for (HTREEITEM p = ParentOf(h); p && n < 256; p = ParentOf(p))
    chain[n++] = p;
  for (int level = base; level < depth && depth - 1 - level < n; ++level) {
    HTREEITEM ancestor = chain[depth - 1 - level];
    if (Node(ancestor)->next)
      VLine(dc, row.left + (level - base) * indent + indent / 2, row.top, row.bottom);
  }
  if (depth >= base) {
    int cx = row.left + (depth - base) * indent + indent / 2;
    GuiListNode* node = Node(h);
    bool firstTop = depth == 0 && !node->prev;
    if (firstTop) {
      if (node->next) VLine(dc, cx, mid, row.bottom);
    } else {
      VLine(dc, cx, row.top, node->next ? row.bottom : mid + 1);
    }
    MoveToEx(dc, cx, mid, nullptr);
    LineTo(dc, row.left + (depth - base + 1) * indent, mid);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

int DrawImage(HIMAGELIST list, int index, HDC dc, int x, const RECT& row, UINT style) {
  int cx = 16, cy = 16;
  if (!ImageList_GetIconSize(list, &cx, &cy)) cx = cy = 16;
  if (!ImageList_Draw(list, index, dc, x, (row.top + row.bottom - cy) / 2, style)) return -1;
  return cx;
}

void PaintRow(const GuiRowDraw* draw) {
  auto* s = static_cast<TreeState*>(draw->context);
  auto h = reinterpret_cast<HTREEITEM>(draw->data);
  if (!h) return;
  HDC dc = static_cast<HDC>(draw->dc);
  RECT row = GuiRectOf(draw->row);
  char buffer[kDispTextSize];
  TVITEMA it = Resolve(s, h, buffer);
  int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  GuiSkin* skin = Skin();
  if (skin && skin->palette) GuiSelectRealizePalette(dc, 0, static_cast<HPALETTE>(skin->palette));
  int depth = Depth(h), indent = Indent(s), base = LinesAtRoot(s) ? 0 : 1;
  int x = row.left;
  if (Lines(s)) {
    DrawLines(s, dc, h, row, depth);
    x += std::max(depth + 1 - base, 0) * indent;
  } else {
    x += depth * indent;
  }
  if (Buttons(s) && Lines(s) && HasChildrenFlag(it) && depth >= base) {
    GuiViewSkinImages* images = GuiGetViewSkinImages();
    PackedDIB* button = StateSet(it, TVIS_EXPANDED) ? images->treeExpanded : images->treeCollapsed;
    if (button) {
      int bw = DIBWidth(button), bh = DIBHeight(button);
      int left = row.left + (depth - base) * indent + (indent - bw + 1) / 2;
      int top = (row.top + row.bottom) / 2 - bh / 2;
      DIBBlt(dc, left, top, bw, bh, 0, 0, button);
    }
  }
  int stateIndex = StateSet(it, TVIS_STATEIMAGEMASK) ? ((it.state >> 12) & 0xF) : 0;
  if (s->stateImages && stateIndex) {
    int w = DrawImage(s->stateImages, stateIndex, dc, x, row, ILD_NORMAL);
    if (w >= 0) x += w + indent;
  }
  bool selected = StateSet(it, TVIS_SELECTED);
  if (s->normal) {
    int image = selected ? ((it.mask & TVIF_SELECTEDIMAGE) ? it.iSelectedImage : -1)
                         : ((it.mask & TVIF_IMAGE) ? it.iImage : -1);
    if (image >= 0) {
      UINT overlay = StateSet(it, TVIS_OVERLAYMASK) ? (it.state & TVIS_OVERLAYMASK) : 0;
      int w = DrawImage(s->normal, image, dc, x, row, ILD_NORMAL | overlay);
      if (w >= 0) x += w + 2;
    }
  }
  if (selected) {
    RECT fill{x, row.top, row.right, row.bottom};
    GuiFillRectColor(dc, &fill, TreeWord(kTreeSelectedBackground));
  }
  const char* text = TextOf(it);
  if (*text) {
    COLORREF colour = StateSet(it, TVIS_BOLD) ? PALETTERGB(255, 0, 0)
                      : selected              ? TreeWord(kTreeSelectedText)
                                              : TreeWord(kTreeText);
    SetTextColor(dc, colour);
    RECT r{x, row.top, row.right, row.bottom};
    DrawTextA(dc, text, -1, &r, kDrawFlags);
  }
  RestoreDC(dc, saved);
}

// --- Input ------------------------------------------------------------------------------------

bool OnButton(TreeState* s, HTREEITEM h, int x) {
  const TVITEMA& it = Rec(h)->item;
  if (!Buttons(s) || !HasChildrenFlag(it)) return false;
  int base = LinesAtRoot(s) ? 0 : 1, depth = Depth(h);
  if (depth < base) return false;
  int left = s->view.view.left - s->view.offset + (depth - base) * Indent(s);
  return x >= left && x < left + Indent(s);
}

void OnMouse(TreeState* s, LPARAM lp, bool doubleClick) {
  if (!doubleClick && GetFocus() != s->window) SetFocus(s->window);
  int outside = 0;
  int32_t row = GuiItemViewHitTest(&s->view, XOf(lp), YOf(lp), &outside);
  if (row < 0 || outside) return;
  HTREEITEM h = ItemAtRow(s, row);
  if (!h) return;
  bool onButton = OnButton(s, h, XOf(lp));
  if (doubleClick) {
    Toggle(s, h);
    if (!onButton) {
      NMHDR hdr{};
      Notify(s, &hdr, NM_DBLCLK);
    }
    return;
  }
  GuiItemViewEnsureVisible(&s->view, row, 0, nullptr);
  Select(s, h, TVC_BYMOUSE);
  if (onButton) Toggle(s, h);
}

void OnKeyDown(TreeState* s, UINT key) {
  NMTVKEYDOWN k{};
  k.wVKey = static_cast<WORD>(key);
  Notify(s, &k.hdr, TVN_KEYDOWN);
  if (GuiDialogKeyHelper(s->window, key)) return;
  int32_t rows = s->view.count, v = s->view.wholeRows, t = s->view.top;
  if (GetKeyState(VK_CONTROL) < 0) {
    if (t < 0) return;
    switch (key) {
      case VK_PRIOR:
        if (t >= v - 1) GuiItemViewScrollTo(&s->view, std::max(t - (v - 1), 0));
        break;
      case VK_NEXT:
        if (t + v - 1 < rows) GuiItemViewScrollTo(&s->view, t + v - 1);
        break;
      case VK_END:
        GuiItemViewEnsureVisible(&s->view, rows - 1, 0, nullptr);
        break;
      case VK_HOME:
        GuiItemViewEnsureVisible(&s->view, 0, 0, nullptr);
        break;
      case VK_UP:
        if (t > 0) GuiItemViewScrollTo(&s->view, t - 1);
        break;
      case VK_DOWN:
        GuiItemViewScrollTo(&s->view, t + 1);
        break;
      default:
        break;
    }
    return;
  }
  if (rows == 0) return;
  int32_t sel = RowOf(s, s->selected);
  int32_t target;
  bool none = sel < 0;
  switch (key) {
    case VK_PRIOR:
      target = none ? 0 : sel + 1 - v;
      break;
    case VK_NEXT:
      target = none ? 0 : sel + v - 1;
      break;
    case VK_END:
      target = rows - 1;
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_UP:
      target = none ? 0 : sel - 1;
      break;
    case VK_DOWN:
      target = none ? 0 : sel + 1;
      break;
    case VK_LEFT:
      if (none) {
        target = 0;
      } else if (Expanded(s->selected)) {
        Collapse(s, s->selected, true);
        return;
      } else {
        HTREEITEM parent = ParentOf(s->selected);
        target = parent ? RowOf(s, parent) : sel;
      }
      break;
    case VK_RIGHT:
      if (none) {
        target = 0;
      } else if (HasChildrenFlag(Rec(s->selected)->item)) {
        if (!Expanded(s->selected)) {
          Expand(s, s->selected, true);
          return;
        }
        target = sel + 1;
      } else {
        target = sel;
      }
      break;
    default:
      return;
  }
  rows = s->view.count;
  target = std::max(0, std::min(target, rows - 1));
  HTREEITEM h = ItemAtRow(s, target);
  if (h && MakeVisible(s, h, false, false)) Select(s, h, TVC_BYKEYBOARD);
}

// --- Lifecycle ----------------------------------------------------------------------------------

LRESULT OnNcCreate(HWND w, CREATESTRUCTA* cs) {
  auto* s = static_cast<TreeState*>(GlobalAllocPtr(sizeof(TreeState)));
  if (!s) return 0;
  new (&s->host) GuiViewHostWin32();
  s->window = w;
  s->style = static_cast<DWORD>(cs->style);
  s->exStyle = cs->dwExStyle;
  bool bars =
      s->host.Attach(w, GuiViewBarFlags(static_cast<DWORD>(cs->style), cs->dwExStyle, false), true);
  GuiViewStripBarStyles(w);
  // The border is the skin's: the system draws none of its own.
  SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) & ~WS_BORDER);
  SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) & ~(WS_EX_CLIENTEDGE | 0x800));
  GuiItemViewInitEx(&s->view, &s->host, PaintRow, 0, 0);
  if (!bars || GuiItemViewGrow(&s->view, 64) < 0) {
    s->host.~GuiViewHostWin32();
    GlobalFreePtr(s);
    return 0;
  }
  GuiSetWindowSlot(w, 0, 0, reinterpret_cast<LONG_PTR>(s));
  return DefWindowProcA(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(cs));
}

void MeasureRowHeight(TreeState* s, HDC dc) {
  SIZE size{};
  GetTextExtentPoint32A(dc, "AWXZyjpg", 8, &size);
  GuiItemViewSetRowHeight(&s->view, std::max<int32_t>(size.cy, 1), 0);
}

LRESULT OnCreate(TreeState* s) {
  GuiViewStripBarStyles(s->window);
  ShowScrollBar(s->window, SB_BOTH, FALSE);
  s->root = GuiTreeStoreCreate();
  if (!s->root) return -1;
  HDC dc = GetDC(s->window);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  MeasureRowHeight(s, dc);
  ReleaseDC(s->window, dc);
  GuiItemViewResetBarsToClient(&s->view, s->window);
  s->host.SetLineStep(kBarVert, 1);
  s->host.SetPageStep(kBarVert, -2);
  s->host.SetLineStep(kBarHorz, 6);
  s->host.SetPageStep(kBarHorz, 50);
  return 0;
}

void OnNcDestroy(HWND w, TreeState* s) {
  GuiTreeStoreDestroy(s->root, FreeItemCallback, s);
  GuiItemViewDestroy(&s->view);
  if (s->normal) ImageList_Destroy(s->normal);
  if (s->stateImages) ImageList_Destroy(s->stateImages);
  s->host.~GuiViewHostWin32();
  GlobalFreePtr(s);
  GuiSetWindowSlot(w, 0, 0, 0);
}

int32_t BorderOf(TreeState* s) {
  // A dialog turns a template's WS_BORDER into the client edge: both mean a border.
  bool bordered = (s->style & WS_BORDER) || (s->exStyle & (0x800 | WS_EX_CLIENTEDGE));
  return bordered ? GuiListBorderWidth(Skin()) : 0;
}

void OnPaint(TreeState* s) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(s->window, &ps);
  if (!IsRectEmpty(&ps.rcPaint)) {
    HWND parent = GetParent(s->window);
    if (parent)
      SendMessageA(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(s->window));
    if (!ps.fErase)
      GuiItemViewPaint(&s->view, dc, GuiViewRectOf(ps.rcPaint), s, 0);
    else
      SetBkMode(dc, OPAQUE);
  }
  EndPaint(s->window, &ps);
}

LRESULT OnSetFont(TreeState* s, WPARAM wp, LPARAM lp) {
  HDC dc = GetDC(s->window);
  HGDIOBJ old = SelectObject(dc, wp ? reinterpret_cast<HGDIOBJ>(wp) : GetStockObject(SYSTEM_FONT));
  MeasureRowHeight(s, dc);
  ReleaseDC(s->window, dc);
  if (lp) RedrawWindow(s->window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return reinterpret_cast<LRESULT>(old);
}

LRESULT TreeMessage(TreeState* s, UINT msg, WPARAM wp, LPARAM lp) {
  auto item = reinterpret_cast<HTREEITEM>(lp);
  switch (msg) {
    case TVM_INSERTITEMA:
      return reinterpret_cast<LRESULT>(Insert(s, reinterpret_cast<TVINSERTSTRUCTA*>(lp)));
    case TVM_DELETEITEM:
      if (item == TVI_ROOT) return DeleteAll(s) ? 1 : 0;
      return IsItem(s, item) && DeleteItem(s, item) ? 1 : 0;
    case TVM_EXPAND:
      return OnExpand(s, wp, item);
    case TVM_GETITEMRECT:
      return OnGetItemRect(s, wp, lp);
    case TVM_GETCOUNT:
      return s->count;
    case TVM_GETINDENT:
      return s->indent;
    case TVM_SETINDENT:
      s->indent = static_cast<int32_t>(wp);
      if (!s->redrawOff)
        RedrawWindow(s->window, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      return 0;
    case TVM_GETIMAGELIST:
      return wp == TVSIL_NORMAL  ? reinterpret_cast<LRESULT>(s->normal)
             : wp == TVSIL_STATE ? reinterpret_cast<LRESULT>(s->stateImages)
                                 : 0;
    case TVM_SETIMAGELIST: {
      HIMAGELIST* slot = wp == TVSIL_NORMAL  ? &s->normal
                         : wp == TVSIL_STATE ? &s->stateImages
                                             : nullptr;
      if (!slot) return 0;
      return reinterpret_cast<LRESULT>(std::exchange(*slot, reinterpret_cast<HIMAGELIST>(lp)));
    }
    case TVM_GETNEXTITEM:
      return OnGetNextItem(s, wp, item);
    case TVM_SELECTITEM:
      return OnSelectItem(s, wp, item);
    case TVM_GETITEMA:
      return OnGetItem(s, reinterpret_cast<TVITEMA*>(lp));
    case TVM_SETITEMA:
      return OnSetItem(s, reinterpret_cast<TVITEMA*>(lp));
    case TVM_GETVISIBLECOUNT:
      return s->view.wholeRows;
    case TVM_ENSUREVISIBLE:
      return IsItem(s, item) && MakeVisible(s, item, false, true) ? lp : 0;
    default:
      return 0;  // editing, hit test, drag images, sorting, search: accepted, ignored
  }
}

LRESULT CALLBACK TreeWndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) return OnNcCreate(w, reinterpret_cast<CREATESTRUCTA*>(lp));
  TreeState* s = StateOf(w);
  if (!s) return DefWindowProcA(w, msg, wp, lp);
  switch (msg) {
    case WM_CREATE:
      return OnCreate(s);
    case WM_NCDESTROY:
      OnNcDestroy(w, s);
      return 0;
    case WM_NCCALCSIZE:
      return GuiItemViewNcCalcSize(&s->host, wp, lp, BorderOf(s));
    case WM_NCHITTEST:
      return GuiItemViewNcHitTest(&s->host, lp);
    case WM_NCPAINT:
      GuiItemViewNcPaint(&s->host, BorderOf(s));
      return 0;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_TIMER:
    case WM_MOUSEWHEEL: {
      LRESULT result = 0;
      GuiItemViewBarMessage(&s->host, msg, wp, lp, &result);
      return result;
    }
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED: {
      LRESULT ignored;
      GuiItemViewBarMessage(&s->host, msg, wp, lp, &ignored);
      return DefWindowProcA(w, msg, wp, lp);
    }
    case WM_ERASEBKGND: {
      GuiSkin* skin = Skin();
      return GuiItemViewEraseBkgnd(&s->view, w, reinterpret_cast<HDC>(wp),
                                   skin ? skin->list.colors[kListBackground] : RGB(0, 0, 0));
    }
    case WM_SIZE:
      GuiItemViewSizeToClient(&s->view, w);
      return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
      GuiItemViewScrollMessage(&s->view, msg, wp, lp);
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
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      OnKeyDown(s, static_cast<UINT>(wp));
      return 0;
    case WM_SYSKEYDOWN: {
      HWND parent = GetParent(w);
      return parent ? SendMessageA(parent, msg, wp, lp) : 0;
    }
    case WM_LBUTTONDOWN:
      OnMouse(s, lp, false);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnMouse(s, lp, true);
      return 0;
    case WM_LBUTTONUP:
    case WM_CTLCOLORLISTBOX:
      return 0;
    case kTvFrameChanged:
      SetWindowPos(w, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
      return 0;
    case kTvSetNotify:
      return GuiItemViewSetNotify(&s->view, static_cast<int>(wp));
    case kMsgBarDragH:
    case kMsgBarDragV:
    case kMsgBarCorrectedH:
    case kMsgBarCorrectedV:
      GuiItemViewScrollMessage(&s->view, msg, wp, lp);
      return 0;
    default:
      break;
  }
  if (msg >= TV_FIRST && msg <= TV_FIRST + 0x17) return TreeMessage(s, msg, wp, lp);
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace

int RegisterCGUITreeViewWnd(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.style = CS_GLOBALCLASS | CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = TreeWndProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = kTreeViewClassName;
  return RegisterClassA(&wc) ? 1 : 0;
}

}  // namespace gui
