#include "gui/item_view.h"

#include <algorithm>
#include <cstring>

#include "gui/gui_memory.h"

namespace gui {

namespace {

constexpr int32_t kGrowStep = 64;

bool Slotless(const GuiItemView* v) { return v->fixedWidth && v->dataIsIndex; }

int32_t ViewWidth(const GuiItemView* v) { return v->view.right - v->view.left; }

bool Intersect(const GuiViewRect& a, const GuiViewRect& b, GuiViewRect* out) {
  GuiViewRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
  if (r.left >= r.right || r.top >= r.bottom) return false;
  if (out) *out = r;
  return true;
}

// Rows first..last (indices, not checked against the count) clipped to the
// view; false when nothing of them is in view.
bool RowsRect(const GuiItemView* v, int32_t first, int32_t last, GuiViewRect* out) {
  GuiViewRect r{v->view.left, v->view.top + (first - v->top) * v->rowHeight, v->view.right,
                v->view.top + v->rowHeight + (last - v->top) * v->rowHeight};
  return Intersect(r, v->view, out);
}

void RecountRows(GuiItemView* v) {
  if (v->rowHeight <= 0) return;  // no rows until the widget knows its font
  int32_t h = v->view.bottom - v->view.top;
  v->wholeRows = h / v->rowHeight;
  v->partialRows = (h + v->rowHeight - 1) / v->rowHeight;
}

void RedrawRows(GuiItemView* v, int32_t first, int32_t last) {
  GuiViewRect r;
  if (!v->redrawOff && first <= last && RowsRect(v, first, last, &r)) v->host->Invalidate(&r);
}

void ShowBarAsNeeded(GuiItemView* v, int bar, bool needed) {
  if (needed == v->host->BarShown(bar)) return;
  v->host->ShowBar(bar, needed);
  if (!v->noFrameChange) v->host->FrameChanged();
  if (!v->redrawOff) v->host->Invalidate(nullptr);
}

void StoreTop(GuiItemView* v, int32_t top) {
  int32_t delta = v->top - top;
  v->top = top;
  if (v->notifyVert) v->host->NotifyParent(kMsgViewTopIndex, top);
  if (delta) v->host->Scroll(0, delta * v->rowHeight, v->view, !v->redrawOff);
}

void StoreOffset(GuiItemView* v, int32_t offset) {
  int32_t delta = v->offset - offset;
  v->offset = offset;
  if (v->notifyHorz) v->host->NotifyParent(kMsgViewHorzPos, offset);
  if (delta) v->host->Scroll(delta, 0, v->view, !v->redrawOff);
}

// A scroll made here (not by a bar): the bar is told where it now stands.
void SyncBar(GuiItemView* v, int bar, int32_t pos) {
  GuiViewBarInfo info{0, 0, 0, pos};
  if (v->host->HasBar(bar)) v->host->SetBar(bar, kBarPos, info);
}

int32_t LastTop(const GuiItemView* v) { return std::max(0, v->count - std::max(v->wholeRows, 1)); }

}  // namespace

int GuiItemViewInitEx(GuiItemView* v, GuiItemViewHost* host, GuiRowPaintFn paint, int dataIsIndex,
                      int fixedWidth) {
  if (!v || !host) return 0;
  std::memset(v, 0, sizeof *v);
  v->host = host;
  v->rowPaint = paint;
  v->dataIsIndex = dataIsIndex ? 1 : 0;
  v->fixedWidth = fixedWidth ? 1 : 0;
  return 1;
}

int GuiItemViewDestroy(GuiItemView* v) {
  if (!v) return 0;
  GlobalFreePtr(v->slots);
  v->slots = nullptr;
  v->capacity = v->count = 0;
  return 0;
}

int32_t GuiItemViewGrow(GuiItemView* v, int32_t n) {
  if (!v) return -1;
  int32_t capacity = std::max(v->capacity + n, Slotless(v) ? 0 : v->count);  // never below count
  if (Slotless(v) || capacity == v->capacity) {
    v->capacity = capacity;
    return v->capacity;
  }
  size_t bytes = static_cast<size_t>(std::max(capacity, 1)) * sizeof(GuiViewSlot);
  void* block = v->slots ? GlobalReAllocPtr(v->slots, bytes) : GlobalAllocPtr(bytes);
  if (!block) return -2;
  v->slots = static_cast<GuiViewSlot*>(block);
  v->capacity = capacity;
  return v->capacity;
}

int32_t GuiItemViewInsertItem(GuiItemView* v, int32_t index, intptr_t data, int32_t width) {
  if (!v || index < 0 || index > v->count) return -1;
  if (!Slotless(v)) {
    if (v->count >= v->capacity && GuiItemViewGrow(v, kGrowStep) < 0) return -2;
    std::memmove(v->slots + index + 1, v->slots + index,
                 static_cast<size_t>(v->count - index) * sizeof(GuiViewSlot));
    v->slots[index] = GuiViewSlot{width, data};
  }
  ++v->count;
  RedrawRows(v, std::max(index, v->top), std::min(v->top + v->partialRows, v->count) - 1);
  if (v->count > v->wholeRows) GuiItemViewUpdateVertBar(v);
  if (!v->fixedWidth && width > v->contentWidth) {
    v->contentWidth = width;
    GuiItemViewUpdateHorzBar(v);
  }
  return v->count;
}

int32_t GuiItemViewDeleteRange(GuiItemView* v, int32_t first, int32_t last) {
  if (!v || first < 0 || first > last || last >= v->count) return -1;
  int32_t n = last - first + 1, oldCount = v->count;
  int32_t widest = 0;
  if (!Slotless(v)) {
    if (!v->fixedWidth)
      for (int32_t i = first; i <= last; ++i)
        widest = std::max(widest, v->slots[i].width);
    std::memmove(v->slots + first, v->slots + last + 1,
                 static_cast<size_t>(v->count - last - 1) * sizeof(GuiViewSlot));
  }
  v->count -= n;
  GuiItemViewUpdateVertBar(v);
  if (!v->fixedWidth && widest && widest == v->contentWidth) {
    v->contentWidth = 0;
    for (int32_t i = 0; i < v->count; ++i)
      v->contentWidth = std::max(v->contentWidth, v->slots[i].width);
    GuiItemViewUpdateHorzBar(v);
  }
  // Without a bar to correct it, the top would dangle past the last item.
  if (v->top > LastTop(v) && !v->host->HasBar(kBarVert)) StoreTop(v, LastTop(v));
  RedrawRows(v, std::max(first, v->top), std::min(oldCount, v->top + v->partialRows));
  return v->count;
}

int32_t GuiItemViewDeleteItem(GuiItemView* v, int32_t index) {
  return GuiItemViewDeleteRange(v, index, index);
}

void GuiItemViewResetContent(GuiItemView* v) {
  if (!v || v->count == 0) return;
  v->count = 0;
  v->top = 0;
  if (v->notifyVert) v->host->NotifyParent(kMsgViewTopIndex, 0);
  v->contentWidth = 0;
  uint32_t mask = kBarRange | kBarPage | kBarPos | kBarDisableNoScroll;
  bool shown = false;
  if (v->host->HasBar(kBarVert)) {
    v->host->SetBar(kBarVert, mask, GuiViewBarInfo{0, -1, v->wholeRows, 0});
    shown |= v->host->BarShown(kBarVert);
  }
  if (v->host->HasBar(kBarHorz)) {
    v->host->SetBar(kBarHorz, mask, GuiViewBarInfo{0, ViewWidth(v) - 1, ViewWidth(v), 0});
    shown |= v->host->BarShown(kBarHorz);
  }
  if (shown) {
    if (v->host->HasBar(kBarVert)) v->host->ShowBar(kBarVert, false);
    if (v->host->HasBar(kBarHorz)) v->host->ShowBar(kBarHorz, false);
    v->host->FrameChanged();
  }
  if (!v->redrawOff) v->host->Invalidate(nullptr);
}

int GuiItemViewSetCount(GuiItemView* v, int32_t count, int updateBars) {
  if (!v || count < 0) return 0;
  if (count > v->count) {
    if (!Slotless(v)) {
      // Real (zero) items, so that every counted row has its slot.
      if (count > v->capacity && GuiItemViewGrow(v, count - v->capacity) < 0) return 0;
      std::memset(v->slots + v->count, 0,
                  static_cast<size_t>(count - v->count) * sizeof(GuiViewSlot));
    } else {
      GuiItemViewGrow(v, count - v->capacity);
    }
    int32_t old = v->count;
    v->count = count;
    RedrawRows(v, std::max(old, v->top), std::min(v->top + v->partialRows, v->count) - 1);
  } else if (count < v->count) {
    GuiItemViewDeleteRange(v, count, v->count - 1);
  }
  if (updateBars) GuiItemViewUpdateVertBar(v);
  return 1;
}

intptr_t GuiItemViewGetItemData(const GuiItemView* v, int32_t index) {
  if (!v || index < 0 || index >= v->count) return 0;
  return v->dataIsIndex ? index : v->slots[index].data;
}

int32_t GuiItemViewGetItemWidth(const GuiItemView* v, int32_t index) {
  if (!v || index < 0 || index >= v->count) return 0;
  return v->fixedWidth ? v->contentWidth : v->slots[index].width;
}

int GuiItemViewSetItemWidth(GuiItemView* v, int32_t index, int32_t width) {
  if (!v || v->fixedWidth || index < 0 || index >= v->count) return 0;
  v->slots[index].width = width;
  if (width > v->contentWidth) {
    v->contentWidth = width;
    GuiItemViewUpdateHorzBar(v);
  }
  return 1;
}

int32_t GuiItemViewFindData(const GuiItemView* v, int32_t start, intptr_t data) {
  if (!v) return -1;
  if (v->dataIsIndex) return data >= 0 && data < v->count ? static_cast<int32_t>(data) : -1;
  if (start != -1 && (start < 0 || start >= v->count)) return -1;
  int32_t from = start == -1 ? 0 : start;
  for (int32_t i = from; i < v->count; ++i)
    if (v->slots[i].data == data) return i;
  for (int32_t i = 0; i < from; ++i)
    if (v->slots[i].data == data) return i;
  return -1;
}

void GuiItemViewRedrawData(GuiItemView* v, intptr_t data) {
  int32_t i = GuiItemViewFindData(v, -1, data);
  if (i >= 0) GuiItemViewRedrawItem(v, i);
}

void GuiItemViewSetRowHeight(GuiItemView* v, int32_t height, int repaint) {
  if (!v || height < 0) return;
  bool changed = height != v->rowHeight;
  v->rowHeight = height;
  RecountRows(v);
  GuiItemViewUpdateVertBar(v);
  if (repaint && changed && !v->redrawOff) v->host->Invalidate(nullptr);
}

int32_t GuiItemViewGetRowHeight(const GuiItemView* v) { return v ? v->rowHeight : 0; }

void GuiItemViewSetContentWidth(GuiItemView* v, int32_t width) {
  if (!v || width <= 0) return;
  v->contentWidth = width;
  GuiItemViewUpdateHorzBar(v);
}

void GuiItemViewSetRect(GuiItemView* v, const GuiViewRect& client) {
  if (!v) return;
  v->view = GuiViewRect{client.left, client.top, std::max(client.left, client.right),
                        std::max(client.top, client.bottom)};
  RecountRows(v);
  GuiItemViewUpdateVertBar(v);
  GuiItemViewUpdateHorzBar(v);
}

void GuiItemViewResetBars(GuiItemView* v, const GuiViewRect& client) {
  if (!v) return;
  v->view = GuiViewRect{client.left, client.top, std::max(client.left, client.right),
                        std::max(client.top, client.bottom)};
  RecountRows(v);
  if (v->host->HasBar(kBarVert))
    v->host->SetBar(kBarVert, kBarRange | kBarPage, GuiViewBarInfo{0, 0, v->wholeRows, 0});
  if (v->host->HasBar(kBarHorz))
    v->host->SetBar(kBarHorz, kBarRange | kBarPage,
                    GuiViewBarInfo{0, ViewWidth(v) - 1, ViewWidth(v), 0});
}

void GuiItemViewUpdateVertBar(GuiItemView* v) {
  if (!v || !v->host->HasBar(kBarVert)) return;
  v->host->SetBar(kBarVert, kBarRange | kBarPage, GuiViewBarInfo{0, v->count - 1, v->wholeRows, 0});
  ShowBarAsNeeded(v, kBarVert, v->count > 1 && v->count > v->wholeRows);
}

void GuiItemViewUpdateHorzBar(GuiItemView* v) {
  if (!v || !v->host->HasBar(kBarHorz)) return;
  v->host->SetBar(kBarHorz, kBarRange | kBarPage,
                  GuiViewBarInfo{0, v->contentWidth - 1, ViewWidth(v), 0});
  ShowBarAsNeeded(v, kBarHorz, v->count > 0 && v->contentWidth > ViewWidth(v));
}

int32_t GuiItemViewGetTopIndex(const GuiItemView* v) { return v ? v->top : -1; }
int32_t GuiItemViewGetVisibleCount(const GuiItemView* v) { return v ? v->wholeRows : -1; }
int32_t GuiItemViewGetPartialCount(const GuiItemView* v) { return v ? v->partialRows : -1; }

int GuiItemViewScrollTo(GuiItemView* v, int32_t index) {
  if (!v || index < 0 || index >= v->count) return -1;
  if (index == v->top) return 0;
  v->top = index;
  if (v->notifyVert) v->host->NotifyParent(kMsgViewTopIndex, index);
  SyncBar(v, kBarVert, index);
  if (!v->redrawOff) v->host->Invalidate(nullptr);
  return 0;
}

int GuiItemViewEnsureVisible(GuiItemView* v, int32_t index, int asTop, int* changed) {
  if (changed) *changed = 0;
  if (!v || index < 0 || index >= v->count) return 0;
  if (index == v->top) return 1;
  int32_t top = 0;
  if (v->wholeRows < v->count) {
    int32_t whole = std::max(v->wholeRows, 1);
    if (!asTop && index > v->top)
      top = index < v->top + whole ? v->top : index - whole + 1;
    else
      top = index;
    top = std::min(top, v->count - whole);
  }
  if (top != v->top) {
    GuiItemViewScrollTo(v, top);
    if (changed) *changed = 1;
  }
  return 1;
}

int GuiItemViewEnsureRangeVisibleH(GuiItemView* v, int32_t left, int32_t right) {
  if (!v || left > right || !v->host->HasBar(kBarHorz)) return 1;
  GuiViewBarInfo bar = v->host->GetBar(kBarHorz);
  int32_t p = v->offset;
  if (p + bar.page - 1 < right) p = right - bar.page + 1;
  if (p > left) p = left;
  if (p != v->offset) {
    v->offset = p;
    if (v->notifyHorz) v->host->NotifyParent(kMsgViewHorzPos, p);
    SyncBar(v, kBarHorz, p);
    if (!v->redrawOff) v->host->Invalidate(nullptr);
  }
  return 0;
}

int GuiItemViewGetItemRect(const GuiItemView* v, int32_t index, GuiViewRect* out) {
  return GuiItemViewGetRangeRect(v, index, index, out);
}

int GuiItemViewGetRangeRect(const GuiItemView* v, int32_t first, int32_t last, GuiViewRect* out) {
  if (!v || !out || first < 0 || first > last || last >= v->count) return -1;
  return RowsRect(v, first, last, out) ? 0 : -1;
}

int32_t GuiItemViewHitTestEx(const GuiItemView* v, int32_t x, int32_t y, int* outside,
                             int32_t* contentX, int32_t* contentY) {
  if (!v || v->count == 0) return -1;
  int32_t row = v->rowHeight > 0 ? (y - v->view.top) / v->rowHeight : 0;
  int32_t index = v->top + row;
  index = std::min(index, v->count - 1);
  index = std::min(index, v->top + v->partialRows - 1);
  index = std::max(index, v->top);
  index = std::min(index, v->count - 1);  // a top past the end must not answer a missing item
  if (outside)
    *outside = !(x >= v->view.left && x < v->view.right && y >= v->view.top && y < v->view.bottom);
  if (contentX) *contentX = x + v->offset - v->view.left;
  if (contentY) *contentY = y + v->rowHeight * v->top - v->view.top;
  return index;
}

int32_t GuiItemViewHitTest(const GuiItemView* v, int32_t x, int32_t y, int* outside) {
  return GuiItemViewHitTestEx(v, x, y, outside, nullptr, nullptr);
}

int32_t GuiItemViewItemFromPoint(const GuiItemView* v, int32_t x, int32_t y) {
  int outside = 0;
  int32_t index = GuiItemViewHitTest(v, x, y, &outside);
  if (index < 0) return -1;
  return static_cast<int32_t>((static_cast<uint32_t>(outside) << 16) | (index & 0xFFFF));
}

int GuiItemViewIsRowShown(const GuiItemView* v, int32_t index) {
  return v && index >= v->top && index < v->top + v->partialRows ? 1 : 0;
}

int GuiItemViewSetNotify(GuiItemView* v, int flags) {
  if (!v) return 3;
  if (flags < 0 || flags > 3) return 4;
  v->notifyHorz = flags & 1;
  v->notifyVert = (flags >> 1) & 1;
  return 1;
}

void GuiItemViewRedrawItem(GuiItemView* v, int32_t index) {
  GuiItemViewRedrawRange(v, index, index);
}

void GuiItemViewRedrawRange(GuiItemView* v, int32_t first, int32_t last) {
  if (!v || first < 0 || last >= v->count) return;
  RedrawRows(v, first, last);
}

void GuiItemViewPaint(GuiItemView* v, void* dc, const GuiViewRect& paint, void* context,
                      intptr_t extra) {
  if (!v || !v->rowPaint || v->rowHeight <= 0) return;
  int32_t n = std::min(v->partialRows, v->count - v->top);
  for (int32_t k = 0; k < n; ++k) {
    GuiViewRect row{v->view.left - v->offset, v->view.top + k * v->rowHeight, v->view.right,
                    v->view.top + (k + 1) * v->rowHeight};
    if (!Intersect(row, paint, nullptr)) continue;
    int32_t index = v->top + k;
    GuiRowDraw draw{context, index, extra, dc, row, GuiItemViewGetItemData(v, index)};
    v->rowPaint(&draw);
  }
}

void GuiItemViewVScroll(GuiItemView* v, int code, int32_t thumb) {
  if (!v) return;
  int32_t line = v->host->HasBar(kBarVert) ? v->host->LineStep(kBarVert) : 0;
  int32_t page = v->host->HasBar(kBarVert) ? v->host->PageStep(kBarVert) : 0;
  int32_t whole = v->wholeRows, top = v->top, count = v->count, next = top;
  switch (code) {
    case kSbLineUp:
      if (count > whole && top >= 1) next = top - std::min(line, top);
      break;
    case kSbLineDown:
      if (count > whole + top) next = top + std::min(line, count - whole - top);
      break;
    case kSbPageUp:
      if (top != 0 && count >= whole) next = top - std::min(page, top);
      break;
    case kSbPageDown:
      if (whole + top < count) next = top + std::min(page, count - whole - top);
      break;
    case kSbThumbTrack:
      next = std::max(0, std::min(thumb, LastTop(v)));  // the message's value is checked
      break;
    default:
      break;
  }
  if (next == top) return;
  StoreTop(v, next);
  SyncBar(v, kBarVert, next);
}

void GuiItemViewHScroll(GuiItemView* v, int code, int32_t thumb) {
  if (!v) return;
  int32_t line = v->host->HasBar(kBarHorz) ? v->host->LineStep(kBarHorz) : 0;
  int32_t page = v->host->HasBar(kBarHorz) ? v->host->PageStep(kBarHorz) : 0;
  int32_t w = v->contentWidth, vw = ViewWidth(v), x = v->offset, next = x;
  switch (code) {
    case kSbLineUp:
      if (w > vw && x >= 1) next = x - std::min(line, x);
      break;
    case kSbLineDown:
      if (w > vw + x) next = x + std::min(line, w - vw - x);
      break;
    case kSbPageUp:
      if (x != 0 && w >= vw) next = x - std::min(page, x);
      break;
    case kSbPageDown:
      if (vw + x < w) next = x + std::min(page, w - vw - x);
      break;
    case kSbThumbTrack:
      next = std::max(0, std::min(thumb, std::max(0, w - vw)));
      break;
    default:
      break;
  }
  if (next == x) return;
  StoreOffset(v, next);
  SyncBar(v, kBarHorz, next);
}

void GuiItemViewSetTopIndex(GuiItemView* v, int32_t top) {
  if (!v || top < 0) return;
  StoreTop(v, top);
}

void GuiItemViewSetHorzPos(GuiItemView* v, int32_t offset) {
  if (!v || offset < 0) return;
  StoreOffset(v, offset);
}

void GuiItemViewSetRedraw(GuiItemView* v, int redraw) {
  if (v) v->redrawOff = redraw ? 0 : 1;
}

}  // namespace gui
