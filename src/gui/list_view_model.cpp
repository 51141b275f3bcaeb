#include "gui/list_view_model.h"

#include <algorithm>
#include <cstring>

#include "gui/gui_memory.h"
#include "gui/gui_range_set.h"
#include "gui/gui_sort.h"

namespace gui {

namespace {

// Slots grow by 64 at first and then by half, so that long lists are not
// copied over and over as they fill.
constexpr int32_t kSlotStep = 64;
constexpr uint32_t kMkShift = 0x4, kMkControl = 0x8;

bool IsCallback(const char* text) { return text == ListViewTextCallback(); }

// An owned copy of a text, or the callback value as it is. False when the
// copy cannot be made.
bool CopyText(const char* text, char** out, int32_t* max) {
  if (IsCallback(text)) {
    *out = ListViewTextCallback();
    *max = 0;
    return true;
  }
  char* copy = GlobalStrDup(text ? text : "");
  if (!copy) return false;
  *out = copy;
  *max = static_cast<int32_t>(std::strlen(copy)) + 1;
  return true;
}

void FreeText(ListViewItem* r) {
  if (r->pszText && !IsCallback(r->pszText)) GlobalFreePtr(r->pszText);
  r->pszText = nullptr;
  r->cchTextMax = 0;
}

// Moves an index that refers to an item when `at` is deleted.
int32_t AfterDelete(int32_t v, int32_t at) {
  if (v == at) return -1;
  return v > at ? v - 1 : v;
}

}  // namespace

ListViewModel::ListViewModel(uint32_t style, ListViewHost* host) : style_(style), host_(host) {
  if (ownerData() && !singleSel()) store_ = GuiRangeSetCreate();
}

ListViewModel::~ListViewModel() {
  for (int32_t i = 0; i < count_ && slots_; ++i)
    FreeRecords(&slots_[i]);
  GlobalFreePtr(slots_);
  GuiRangeSetDestroy(store_);
}

void ListViewModel::RaiseBound(int32_t position) {
  if (position >= 0 && bound_ < position) bound_ = position + 1;
}

bool ListViewModel::Grow(int32_t capacity) {
  void* grown = GlobalReAllocPtr(slots_, sizeof(Slot) * static_cast<size_t>(capacity));
  if (!grown) return false;
  slots_ = static_cast<Slot*>(grown);
  capacity_ = capacity;
  return true;
}

// Every item holds at least record 0, also before any column exists.
ListViewItem* ListViewModel::MakeRecords(int32_t index, int32_t* recordCount) {
  int32_t n = std::max(bound_ + 1, 1);
  auto* records = static_cast<ListViewItem*>(GlobalAllocPtr(sizeof(ListViewItem) * n));
  if (!records) return nullptr;
  for (int32_t k = 0; k < n; ++k) {
    records[k].iItem = index;
    records[k].iSubItem = k;
  }
  *recordCount = n;
  return records;
}

void ListViewModel::FreeRecords(Slot* slot) {
  for (int32_t k = 0; k < slot->recordCount && slot->records; ++k)
    FreeText(&slot->records[k]);
  GlobalFreePtr(slot->records);
  slot->records = nullptr;
  slot->recordCount = 0;
}

void ListViewModel::Renumber(int32_t index) {
  Slot& s = slots_[index];
  for (int32_t k = 0; k < s.recordCount; ++k)
    s.records[k].iItem = index;
}

int32_t ListViewModel::InsertItem(const ListViewItem& item) {
  if (sorting_ || item.iItem < 0 || item.iItem > count_ || item.iSubItem != 0) return -1;
  int32_t at = item.iItem;
  if (!ownerData()) {
    Slot slot{};
    slot.records = MakeRecords(at, &slot.recordCount);
    if (!slot.records) return -1;
    ListViewItem& r = slot.records[0];
    r.mask = item.mask & (kLvifNoRecompute | kLvifDiSetItem);
    if (item.mask & kLvifImage) r.iImage = item.iImage;
    if (item.mask & kLvifIndent) r.iIndent = item.iIndent;
    if (item.mask & kLvifParam) r.lParam = item.lParam;
    if (item.mask & kLvifState) {
      r.state = item.state & item.stateMask;
      r.stateMask = item.stateMask;
    }
    r.mask |= item.mask & (kLvifImage | kLvifIndent | kLvifParam | kLvifState);
    if ((item.mask & kLvifText) && !CopyText(item.pszText, &r.pszText, &r.cchTextMax)) {
      FreeRecords(&slot);
      return -1;
    }
    if (item.mask & kLvifText) r.mask |= kLvifText;
    if (count_ >= capacity_ && !Grow(capacity_ + std::max(kSlotStep, capacity_ / 2))) {
      FreeRecords(&slot);
      return -1;
    }
    std::memmove(&slots_[at + 1], &slots_[at], sizeof(Slot) * static_cast<size_t>(count_ - at));
    slots_[at] = slot;
    ++count_;
    for (int32_t i = at + 1; i < count_; ++i)
      Renumber(i);
  } else if (store_ && GuiRangeSetInsertAt(store_, at, 0)) {
    return -1;
  }
  auto up = [at](int32_t& v) {
    if (v >= at) ++v;
  };
  up(selected_);
  up(focus_);
  up(mark_);
  if (!host_->RowInserted(at)) {
    if (!ownerData()) {
      FreeRecords(&slots_[at]);
      --count_;
      std::memmove(&slots_[at], &slots_[at + 1], sizeof(Slot) * static_cast<size_t>(count_ - at));
      for (int32_t i = at; i < count_; ++i)
        Renumber(i);
    } else if (store_) {
      GuiRangeSetDeleteAt(store_, at);
    }
    auto down = [at](int32_t& v) {
      if (v > at) --v;
    };
    down(selected_);
    down(focus_);
    down(mark_);
    return -1;
  }
  return at;
}

int ListViewModel::DeleteItem(int32_t index, bool announce) {
  if (sorting_ || index < 0 || index >= count_) return 0;
  if (announce) host_->DeletingItem(index, ParamOf(index));
  if (!ownerData()) {
    FreeRecords(&slots_[index]);
    std::memmove(&slots_[index], &slots_[index + 1],
                 sizeof(Slot) * static_cast<size_t>(count_ - index - 1));
    --count_;
    for (int32_t i = index; i < count_; ++i)
      Renumber(i);
  } else {
    --count_;
    if (store_) GuiRangeSetDeleteAt(store_, index);
  }
  selected_ = AfterDelete(selected_, index);
  focus_ = AfterDelete(focus_, index);
  mark_ = AfterDelete(mark_, index);
  host_->RowDeleted(index);
  return 1;
}

int ListViewModel::DeleteAllItems() {
  if (sorting_) return 0;
  bool announce = host_->DeletingAll();
  // The parent may delete items itself while it is told.
  for (int32_t i = count_ - 1; i >= 0; --i)
    if (i < count_) DeleteItem(i, announce);
  return 1;
}

const ListViewItem* ListViewModel::Record(int32_t index, int32_t subItem) const {
  if (ownerData() || index < 0 || index >= count_ || subItem < 0) return nullptr;
  const Slot& s = slots_[index];
  return subItem < s.recordCount ? &s.records[subItem] : nullptr;
}

intptr_t ListViewModel::ParamOf(int32_t index) const {
  const ListViewItem* r = Record(index, 0);
  return r && (r->mask & kLvifParam) ? r->lParam : 0;
}

int ListViewModel::GetItem(ListViewItem* item) const {
  if (!item || item->iSubItem > std::max(bound_, 0)) return 0;
  const ListViewItem* r = Record(item->iItem, item->iSubItem);
  if (!r) return 0;
  ListViewItem out = *item;
  if (item->mask & kLvifText) {
    if (item->cchTextMax <= 0 || !item->pszText || IsCallback(r->pszText)) return 0;
    const char* text = r->pszText ? r->pszText : "";
    size_t n = std::strlen(text);
    if (n >= static_cast<size_t>(item->cchTextMax)) return 0;
    std::memcpy(item->pszText, text, n + 1);
  }
  if (item->iSubItem == 0) {
    if (item->mask & kLvifState) out.state = r->state & r->stateMask & item->stateMask;
    if (item->mask & kLvifParam) {
      if (!(r->mask & kLvifParam)) return 0;
      out.lParam = r->lParam;
    }
  }
  if (item->mask & kLvifImage) {
    if (!(r->mask & kLvifImage)) return 0;
    out.iImage = r->iImage;
  }
  if (item->mask & kLvifIndent) {
    if (!(r->mask & kLvifIndent)) return 0;
    out.iIndent = r->iIndent;
  }
  *item = out;
  return 1;
}

int ListViewModel::SetItem(const ListViewItem& item) {
  if (item.iSubItem > std::max(bound_, 0)) return 0;
  const ListViewItem* found = Record(item.iItem, item.iSubItem);
  if (!found || found->iItem != item.iItem || found->iSubItem != item.iSubItem) return 0;
  auto* r = const_cast<ListViewItem*>(found);
  bool changed = false, notified = false;
  if (item.mask & kLvifText) {
    char* text = nullptr;
    int32_t max = 0;
    if (!CopyText(item.pszText, &text, &max)) return 0;
    FreeText(r);
    r->pszText = text;
    r->cchTextMax = max;
    r->mask |= kLvifText;
    changed = true;
  }
  if (item.iSubItem == 0 && (item.mask & kLvifState)) {
    if (!SetItemState(item.iItem, item.state, item.stateMask)) return 0;
    notified = true;
  }
  if (item.iSubItem == 0 && (item.mask & kLvifParam)) {
    changed |= !(r->mask & kLvifParam) || r->lParam != item.lParam;
    r->lParam = item.lParam;
    r->mask |= kLvifParam;
  }
  if (item.mask & kLvifImage) {
    changed |= !(r->mask & kLvifImage) || r->iImage != item.iImage;
    r->iImage = item.iImage;
    r->mask |= kLvifImage;
  }
  if (changed && !notified) host_->RedrawRow(item.iItem);
  return 1;
}

void ListViewModel::GetItemText(int32_t index, int32_t subItem, char* buffer, int32_t size) const {
  if (!buffer || size <= 0) return;
  const ListViewItem* r = subItem <= std::max(bound_, 0) ? Record(index, subItem) : nullptr;
  const char* text = r && r->pszText && !IsCallback(r->pszText) ? r->pszText : "";
  size_t n = std::min(std::strlen(text), static_cast<size_t>(size - 1));
  std::memcpy(buffer, text, n);
  buffer[n] = 0;
}

int ListViewModel::SetItemText(int32_t index, int32_t subItem, const char* text) {
  ListViewItem item{};
  item.mask = kLvifText;
  item.iItem = index;
  item.iSubItem = subItem;
  item.pszText = const_cast<char*>(text);
  return subItem >= 0 ? SetItem(item) : 0;
}

void ListViewModel::StoreAnswer(int32_t index, int32_t subItem, uint32_t mask, const char* text,
                                int32_t image) {
  auto* r = const_cast<ListViewItem*>(Record(index, subItem));
  if (!r) return;
  if ((mask & kLvifText) && text && !IsCallback(text)) {
    char* copy = GlobalStrDup(text);
    if (copy) {
      FreeText(r);
      r->pszText = copy;
      r->cchTextMax = static_cast<int32_t>(std::strlen(copy)) + 1;
      r->mask |= kLvifText;
    }
  }
  if (mask & kLvifImage) {
    r->iImage = image;
    r->mask |= kLvifImage;
  }
}

bool ListViewModel::RecordSelected(int32_t index) const {
  const ListViewItem* r = Record(index, 0);
  return r && (r->state & r->stateMask & kLvisSelected);
}

bool ListViewModel::IsSelected(int32_t index) const {
  if (index < 0 || index >= count_) return false;
  if (singleSel()) return selected_ == index;
  if (ownerData()) return GuiRangeSetContains(store_, index) != 0;
  return RecordSelected(index);
}

// Sets or clears the selected bit of record 0; true when it changed.
bool ListViewModel::SetSelectedBit(int32_t index, bool on) {
  auto* r = const_cast<ListViewItem*>(Record(index, 0));
  if (!r || RecordSelected(index) == on) return false;
  r->stateMask |= kLvisSelected;
  r->state = on ? (r->state | kLvisSelected) : (r->state & ~kLvisSelected);
  r->mask |= kLvifState;
  return true;
}

bool ListViewModel::ApplyOtherState(int32_t index, uint32_t state, uint32_t mask) {
  auto* r = const_cast<ListViewItem*>(Record(index, 0));
  if (!r) return false;
  uint32_t before = r->state & r->stateMask & mask;
  r->state = (r->state & ~mask) | (state & mask);
  r->stateMask |= mask;
  r->mask |= kLvifState;
  return before != (state & mask);
}

void ListViewModel::NotifyState(int32_t item, uint32_t newState, uint32_t oldState,
                                uint32_t changed) {
  host_->ItemChanged(item, newState, oldState, changed, ParamOf(item));
}

void ListViewModel::SetFocusItem(int32_t index) {
  if (index < -1 || index >= count_ || index == focus_) return;
  int32_t old = focus_;
  focus_ = index;
  if (old >= 0) {
    NotifyState(old, 0, kLvisFocused, 1);
    host_->RedrawRow(old);
  }
  if (index >= 0) {
    NotifyState(index, kLvisFocused, 0, 1);
    host_->RedrawRow(index);
  }
}

void ListViewModel::SetSingleSelection(int32_t index) {
  if (index < -1 || index >= count_ || index == selected_) return;
  int32_t old = selected_;
  selected_ = index;
  if (old >= 0) {
    NotifyState(old, 0, kLvisSelected, 2);
    host_->RedrawRow(old);
  }
  if (index >= 0) {
    NotifyState(index, kLvisSelected, 0, 2);
    host_->RedrawRow(index);
  }
}

int ListViewModel::SetItemState(int32_t index, uint32_t state, uint32_t stateMask) {
  if (index < -1 || index >= count_) return 0;
  uint32_t asked = state & stateMask;
  if (index == -1 && count_ >= 2) {
    if (asked & kLvisFocused) return 0;
    if (singleSel() && (asked & kLvisSelected)) return 0;
  }
  if (stateMask & kLvisSelected) {
    bool on = (asked & kLvisSelected) != 0;
    if (singleSel()) {
      if (index >= 0)
        SetSingleSelection(on ? index : (selected_ == index ? -1 : selected_));
      else
        SetSingleSelection(on ? (count_ == 1 ? 0 : selected_) : -1);
    } else if (ownerData()) {
      if (index >= 0) {
        if (GuiRangeSetSet(store_, index, on)) return 0;
        host_->RedrawRow(index);
      } else if (count_ > 0) {
        if (on ? GuiRangeSetAddRange(store_, 0, count_ - 1)
               : GuiRangeSetRemoveRange(store_, 0, count_ - 1))
          return 0;
        host_->RedrawAll();
      }
    } else if (index >= 0) {
      if (SetSelectedBit(index, on)) host_->RedrawRow(index);
    } else {
      for (int32_t i = 0; i < count_; ++i)
        if (SetSelectedBit(i, on)) host_->RedrawRow(i);
    }
  }
  if (stateMask & kLvisFocused) {
    if (asked & kLvisFocused) {
      if (index >= 0)
        SetFocusItem(index);
      else if (count_ == 1)
        SetFocusItem(0);
    } else if (index == -1 || focus_ == index) {
      SetFocusItem(-1);
    }
  }
  uint32_t other = stateMask & ~(kLvisFocused | kLvisSelected);
  if (other && !ownerData()) {
    int32_t first = index >= 0 ? index : 0, last = index >= 0 ? index : count_ - 1;
    for (int32_t i = first; i <= last; ++i)
      if (ApplyOtherState(i, state, other)) host_->RedrawRow(i);
  }
  return 1;
}

uint32_t ListViewModel::GetItemState(int32_t index, uint32_t mask) const {
  if (index < 0 || index >= count_) return 0;
  uint32_t result = 0;
  if ((mask & kLvisFocused) && index == focus_) result |= kLvisFocused;
  if ((mask & kLvisSelected) && IsSelected(index)) result |= kLvisSelected;
  return result;
}

int32_t ListViewModel::GetNextItem(int32_t start, uint32_t flags) const {
  uint32_t bits = flags & (kLvniCut | kLvniDropHilited);
  if (!(flags & (kLvniFocused | kLvniSelected | bits)) || (flags & kLvniDirections)) return -1;
  if (bits && ownerData()) return -1;
  if (start < -1 || start >= count_ - 1) return -1;
  auto hasBits = [this, bits](int32_t i) {
    const ListViewItem* r = Record(i, 0);
    return !bits || (r && (r->state & r->stateMask & bits) == bits);
  };
  if (flags & kLvniFocused) {
    bool ok = focus_ > start && (!(flags & kLvniSelected) || IsSelected(focus_)) && hasBits(focus_);
    return ok ? focus_ : -1;
  }
  if (flags & kLvniSelected) {
    if (singleSel()) return selected_ > start && hasBits(selected_) ? selected_ : -1;
    if (ownerData()) {
      int32_t next = -1;
      return GuiRangeSetNextFrom(store_, start + 1, &next) ? next : -1;
    }
    for (int32_t i = start + 1; i < count_; ++i)
      if (RecordSelected(i) && hasBits(i)) return i;
    return -1;
  }
  for (int32_t i = start + 1; i < count_; ++i)
    if (hasBits(i)) return i;
  return -1;
}

int32_t ListViewModel::GetSelectedCount() const {
  if (singleSel()) return selected_ >= 0 ? 1 : 0;
  if (ownerData()) return GuiRangeSetCount(store_);
  int32_t n = 0;
  for (int32_t i = 0; i < count_; ++i)
    n += RecordSelected(i) ? 1 : 0;
  return n;
}

int32_t ListViewModel::SetSelectionMark(int32_t mark) {
  int32_t old = mark_;
  if (mark >= 0 && mark < count_) mark_ = mark;
  return old;
}

int ListViewModel::SetItemCount(int32_t count, uint32_t flags) {
  if (count < 0 || sorting_) return 0;
  if (selected_ >= count) selected_ = -1;
  if (focus_ >= count) focus_ = -1;
  if (mark_ >= count) mark_ = -1;
  if (ownerData()) {
    if (store_) GuiRangeSetRemoveRange(store_, 0, INT32_MAX - 1);
    count_ = count;
    host_->RowCountSet(count);
  } else {
    for (int32_t i = count_ - 1; i >= count; --i)
      DeleteItem(i, false);
    if (count > capacity_ && !Grow(count)) return 0;
    // New items are real, empty items, so that every index below the count
    // has its records.
    int32_t old = count_;
    for (int32_t i = old; i < count; ++i) {
      Slot& s = slots_[i];
      s = Slot{};
      s.records = MakeRecords(i, &s.recordCount);
      if (!s.records) {
        for (int32_t j = old; j < i; ++j)
          FreeRecords(&slots_[j]);
        return 0;
      }
    }
    count_ = count;
    if (count > old) host_->RowCountSet(count);
  }
  if (!(flags & 1)) host_->RedrawAll();
  return 1;
}

int ListViewModel::SortItems(ListViewCompare compare, intptr_t lParamSort) {
  if (sorting_ || ownerData() || !compare) return 0;
  if (count_ < 2) return 1;
  for (int32_t i = 0; i < count_; ++i)
    slots_[i].scratch = i;
  sorting_ = true;
  struct Ctx {
    ListViewModel* self;
    ListViewCompare compare;
    intptr_t lParamSort;
  } ctx{this, compare, lParamSort};
  auto cmp = [](const void* a, const void* b, void* c) -> int {
    auto* x = static_cast<const Slot*>(a);
    auto* y = static_cast<const Slot*>(b);
    auto* k = static_cast<Ctx*>(c);
    auto param = [](const Slot* s) {
      return s->recordCount && (s->records[0].mask & kLvifParam) ? s->records[0].lParam : 0;
    };
    int r = k->compare(param(x), param(y), k->lParamSort);
    if (r) return r;
    return x->scratch < y->scratch ? -1 : x->scratch > y->scratch ? 1 : 0;
  };
  auto swap = [](void* a, void* b, void* c) {
    auto* k = static_cast<Ctx*>(c);
    ListViewModel* m = k->self;
    auto* x = static_cast<Slot*>(a);
    auto* y = static_cast<Slot*>(b);
    std::swap(*x, *y);
    int32_t i = static_cast<int32_t>(x - m->slots_), j = static_cast<int32_t>(y - m->slots_);
    m->Renumber(i);
    m->Renumber(j);
    for (int32_t* v : {&m->selected_, &m->focus_}) {
      if (*v == i)
        *v = j;
      else if (*v == j)
        *v = i;
    }
  };
  GuiSort(slots_, static_cast<size_t>(count_), sizeof(Slot), cmp, swap, &ctx);
  sorting_ = false;
  host_->RedrawAll();
  return 1;
}

int ListViewModel::SelectRange(int32_t a, int32_t b, bool on) {
  if (a > b) std::swap(a, b);
  a = std::max(a, 0);
  b = std::min(b, count_ - 1);
  if (a > b || singleSel()) return 0;
  if (ownerData()) {
    if (on ? GuiRangeSetAddRange(store_, a, b) : GuiRangeSetRemoveRange(store_, a, b)) return 0;
    host_->RedrawRows(a, b);
    host_->RangeChanged(a, b, on ? kLvisSelected : 0, on ? 0 : kLvisSelected);
    return 1;
  }
  int changed = 0;
  for (int32_t i = a; i <= b; ++i)
    if (SetSelectedBit(i, on)) {
      host_->RedrawRow(i);
      changed = 1;
    }
  return changed;
}

void ListViewModel::SelectExactly(int32_t a, int32_t b) {
  if (a > b) std::swap(a, b);
  if (a > 0) SelectRange(0, a - 1, false);
  SelectRange(a, b, true);
  if (b < count_ - 1) SelectRange(b + 1, count_ - 1, false);
}

void ListViewModel::Toggle(int32_t index) {
  if (index < 0 || index >= count_) return;
  if (singleSel()) {
    SetSingleSelection(index);
  } else if (ownerData()) {
    if (GuiRangeSetSet(store_, index, !IsSelected(index))) return;
    host_->RedrawRow(index);
    NotifyState(index, kLvisSelected, 0, 2);
  } else {
    SetSelectedBit(index, !RecordSelected(index));
    host_->RedrawRow(index);
  }
}

int32_t ListViewModel::SelectAll(bool on) {
  if (singleSel()) return -1;
  if (count_ >= 1) SelectRange(0, count_ - 1, on);
  return count_;
}

void ListViewModel::Click(int32_t row, uint32_t keys) {
  if (row < 0 || row >= count_) return;
  SetFocusItem(row);
  if (singleSel()) {
    SetSingleSelection(row);
  } else if (keys & kMkShift) {
    if (mark_ < 0) mark_ = row;
    SelectExactly(mark_, row);
  } else if (keys & kMkControl) {
    Toggle(row);
  } else {
    mark_ = row;
    SelectExactly(row, row);
  }
}

bool ListViewModel::Key(uint32_t vk, bool shift, bool control, int32_t pageRows) {
  if (count_ <= 0) return false;
  int32_t n = std::max(pageRows, 1);  // no rows shown still pages by one
  int32_t f = focus_, target;
  bool noFocus = f < 0;
  switch (vk) {
    case kVkSpace:
      target = noFocus ? 0 : f;
      break;
    case kVkPrior:
      target = noFocus ? 0 : f + 1 - n;
      break;
    case kVkNext:
      target = noFocus ? 0 : f + n - 1;
      break;
    case kVkEnd:
      target = count_ - 1;
      break;
    case kVkHome:
      target = 0;
      break;
    case kVkUp:
      target = noFocus ? 0 : f - 1;
      break;
    case kVkDown:
      target = noFocus ? 0 : f + 1;
      break;
    default:
      return false;
  }
  target = std::min(std::max(target, 0), count_ - 1);
  host_->EnsureVisible(target);
  SetFocusItem(target);
  if (singleSel()) {
    SetSingleSelection(target);
  } else if (shift) {
    if (mark_ < 0) mark_ = target;
    SelectExactly(mark_, target);
  } else if (vk == kVkSpace) {
    if (control)
      Toggle(target);
    else
      SelectExactly(target, target);
  } else if (!control) {
    mark_ = target;
    SelectExactly(target, target);
  }
  return true;
}

}  // namespace gui
