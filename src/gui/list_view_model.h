#pragma once
// The list view's items: per-item arrays of sub-item records, the selection
// (a bit in record 0, one index for single selection, or a range set for
// owner data), the focused item and the selection mark, and the rules of
// insertion, deletion, state changes, sorting, clicks and keys. The window
// side (win32/gui_listview.cpp) turns messages into these calls and
// implements ListViewHost, which gets the notifications and the row changes.
//
// Invariants: every record of item i has iItem == i and record k has
// iSubItem == k; the single selection, focus and mark are -1 or an existing
// item. A deleted item takes its selection, focus and mark with it.
#include <cstddef>
#include <cstdint>

#include "gui/gui_list.h"

namespace gui {

// Record mask bits.
constexpr uint32_t kLvifText = 0x1, kLvifImage = 0x2, kLvifParam = 0x4, kLvifState = 0x8,
                   kLvifIndent = 0x10, kLvifNoRecompute = 0x800, kLvifDiSetItem = 0x1000;
// State bits.
constexpr uint32_t kLvisFocused = 0x1, kLvisSelected = 0x2, kLvisCut = 0x4, kLvisDropHilited = 0x8,
                   kLvisOverlayMask = 0xF00, kLvisStateImageMask = 0xF000;
// Get-next-item flags.
constexpr uint32_t kLvniFocused = 0x1, kLvniSelected = 0x2, kLvniCut = 0x4, kLvniDropHilited = 0x8,
                   kLvniDirections = 0xF00;
// List styles the model reads.
constexpr uint32_t kLvsSingleSel = 0x4, kLvsOwnerData = 0x1000;
// Keys the model reads.
constexpr uint32_t kVkSpace = 0x20, kVkPrior = 0x21, kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24,
                   kVkUp = 0x26, kVkDown = 0x28;
constexpr int32_t kImageCallback = -1;

// The text value that asks the parent for the text at paint time.
inline char* ListViewTextCallback() { return reinterpret_cast<char*>(intptr_t{-1}); }

// One sub-item record (the shape of the system's item record).
struct ListViewItem {
  uint32_t mask;
  int32_t iItem;
  int32_t iSubItem;
  uint32_t state;
  uint32_t stateMask;
  char* pszText;
  int32_t cchTextMax;
  int32_t iImage;
  intptr_t lParam;
  int32_t iIndent;
  int32_t reserved[3];
};

// What the model tells the window.
class ListViewHost {
 public:
  virtual ~ListViewHost() = default;
  // A focus or selection change of one item; the window follows it with the
  // owner-data state notice for the same item.
  virtual void ItemChanged(int32_t item, uint32_t newState, uint32_t oldState, uint32_t changed,
                           intptr_t lParam) = 0;
  // An owner-data range changed its selection.
  virtual void RangeChanged(int32_t from, int32_t to, uint32_t newState, uint32_t oldState) = 0;
  // Deletion notices; the first answers whether each item is to be announced.
  virtual bool DeletingAll() = 0;
  virtual void DeletingItem(int32_t item, intptr_t lParam) = 0;
  // The rows of the item view.
  virtual bool RowInserted(int32_t index) = 0;  // false when the view cannot take it
  virtual void RowDeleted(int32_t index) = 0;
  virtual void RowCountSet(int32_t count) = 0;
  virtual void RedrawRow(int32_t item) = 0;
  virtual void RedrawRows(int32_t first, int32_t last) = 0;
  virtual void RedrawAll() = 0;
  virtual void EnsureVisible(int32_t item) = 0;
};

// The caller's comparison of two items' parameters.
using ListViewCompare = int (*)(intptr_t lParam1, intptr_t lParam2, intptr_t lParamSort);

class ListViewModel {
 public:
  ListViewModel(uint32_t style, ListViewHost* host);
  ~ListViewModel();
  ListViewModel(const ListViewModel&) = delete;
  ListViewModel& operator=(const ListViewModel&) = delete;

  bool singleSel() const { return (style_ & kLvsSingleSel) != 0; }
  bool ownerData() const { return (style_ & kLvsOwnerData) != 0; }
  int32_t count() const { return count_; }
  int32_t bound() const { return bound_; }
  int32_t focus() const { return focus_; }
  int32_t selection() const { return selected_; }
  int32_t mark() const { return mark_; }
  bool sorting() const { return sorting_; }
  // False when the owner-data selection store could not be made.
  bool valid() const { return !(ownerData() && !singleSel() && !store_); }

  // Columns: a column at display position `position` raises the sub-item
  // bound; later items get bound + 1 records.
  void RaiseBound(int32_t position);

  // The index, or -1.
  int32_t InsertItem(const ListViewItem& item);
  // 1, or 0 for a bad index. `announce` sends the deletion notice first.
  int DeleteItem(int32_t index, bool announce);
  int DeleteAllItems();
  int GetItem(ListViewItem* item) const;
  int SetItem(const ListViewItem& item);
  // Copies the text into the caller's buffer, always terminated (empty for
  // a callback text or a missing record).
  void GetItemText(int32_t index, int32_t subItem, char* buffer, int32_t size) const;
  int SetItemText(int32_t index, int32_t subItem, const char* text);
  int SetItemState(int32_t index, uint32_t state, uint32_t stateMask);
  uint32_t GetItemState(int32_t index, uint32_t mask) const;
  int32_t GetNextItem(int32_t start, uint32_t flags) const;
  int32_t GetSelectedCount() const;
  bool IsSelected(int32_t index) const;
  // Selection mark: stored when >= 0 and an item; the previous mark.
  int32_t SetSelectionMark(int32_t mark);
  int SetItemCount(int32_t count, uint32_t flags);
  int SortItems(ListViewCompare compare, intptr_t lParamSort);
  // Multiple selection only (-1 otherwise): every item on or off; the count.
  int32_t SelectAll(bool on);

  // Selection primitives (also used by the mouse and keys).
  int SelectRange(int32_t a, int32_t b, bool on);
  void SelectExactly(int32_t a, int32_t b);
  void Toggle(int32_t index);
  void SetFocusItem(int32_t index);
  void SetSingleSelection(int32_t index);

  // A left press on row `row` with the MK_ key flags.
  void Click(int32_t row, uint32_t keys);
  // A key: true when it moved the focus. `pageRows` is the whole rows shown.
  bool Key(uint32_t vk, bool shift, bool control, int32_t pageRows);

  // Record k of an item, or null when the item has no such record.
  const ListViewItem* Record(int32_t index, int32_t subItem) const;
  // Keeps a callback answer in the record for good (text copied).
  void StoreAnswer(int32_t index, int32_t subItem, uint32_t mask, const char* text, int32_t image);
  // Record 0's parameter when it has one, else 0.
  intptr_t ParamOf(int32_t index) const;

 private:
  struct Slot {
    ListViewItem* records;
    int32_t recordCount;
    int32_t scratch;  // position before sorting
  };
  bool Grow(int32_t capacity);
  ListViewItem* MakeRecords(int32_t index, int32_t* recordCount);
  void FreeRecords(Slot* slot);
  void Renumber(int32_t index);
  bool SetSelectedBit(int32_t index, bool on);
  bool ApplyOtherState(int32_t index, uint32_t state, uint32_t mask);
  void NotifyState(int32_t item, uint32_t newState, uint32_t oldState, uint32_t changed);
  bool RecordSelected(int32_t index) const;

  uint32_t style_;
  ListViewHost* host_;
  int32_t count_ = 0;
  Slot* slots_ = nullptr;
  int32_t capacity_ = 0;
  int32_t bound_ = -1;
  GuiList* store_ = nullptr;  // owner data with multiple selection
  int32_t selected_ = -1;
  int32_t focus_ = -1;
  int32_t mark_ = -1;
  bool sorting_ = false;
};

}  // namespace gui
