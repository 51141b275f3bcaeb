#include "gui/spin_list_model.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "gui/gui_memory.h"

namespace gui {

namespace {
constexpr int32_t kGrowth = 32;
constexpr int kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kTop = 6, kBottom = 7;
constexpr int32_t kPage = 10;

int Lower(char c) { return std::tolower(static_cast<unsigned char>(c)); }

int CompareNames(const char* a, const char* b) {
  for (;; ++a, ++b) {
    int d = Lower(*a) - Lower(*b);
    if (d || !*a) return d;
  }
}
}  // namespace

SpinListModel::SpinListModel()
    : items_(static_cast<SpinListItem**>(GlobalAllocPtr(sizeof(SpinListItem*) * kGrowth))),
      capacity_(items_ ? kGrowth : 0) {}

SpinListModel::~SpinListModel() {
  for (int32_t i = 0; i < count_; ++i)
    GlobalFreePtr(items_[i]);
  GlobalFreePtr(items_);
}

SpinListItem* SpinListModel::Item(int32_t index) const {
  return index >= 0 && index < count_ ? items_[index] : nullptr;
}

int32_t SpinListModel::Add(const SpinListItem& item) {
  if (count_ >= capacity_) {
    // A failed growth keeps the array the list already has.
    void* grown = GlobalReAllocPtr(items_, sizeof(SpinListItem*) * (capacity_ + kGrowth));
    if (!grown) return -1;
    items_ = static_cast<SpinListItem**>(grown);
    capacity_ += kGrowth;
  }
  auto* copy = static_cast<SpinListItem*>(GlobalAllocPtr(sizeof(SpinListItem)));
  if (!copy) return -1;
  *copy = item;
  copy->name[sizeof copy->name - 1] = 0;
  items_[count_++] = copy;
  if (current_ < 0) current_ = 0;
  return count_;
}

bool SpinListModel::Clear(void (*freePicture)(SpinListItem* item)) {
  for (int32_t i = 0; i < count_; ++i) {
    if (freePicture) freePicture(items_[i]);
    GlobalFreePtr(items_[i]);
  }
  count_ = 0;
  current_ = -1;
  GlobalFreePtr(items_);
  items_ = static_cast<SpinListItem**>(GlobalAllocPtr(sizeof(SpinListItem*) * kGrowth));
  capacity_ = items_ ? kGrowth : 0;
  return items_ != nullptr;
}

bool SpinListModel::SetCurrent(int32_t index) {
  if (index < 0 || index >= count_) return false;
  current_ = index;
  return true;
}

SpinMove SpinListModel::Move(int code) const {
  int32_t c = current_, n = count_, to = c;
  bool transition = true;
  if (n == 0 || c < 0) return {-1, false};
  switch (code) {
    case kLineUp:
      to = c == 0 ? n - 1 : c - 1;
      break;
    case kLineDown:
      to = c == n - 1 ? 0 : c + 1;
      break;
    case kPageUp:
      to = std::max(c - kPage, 0);
      break;
    case kPageDown:
      to = std::min(c + kPage, n - 1);
      break;
    case kTop:
      to = 0;
      transition = false;
      break;
    case kBottom:
      to = n - 1;
      transition = false;
      break;
    default:
      break;
  }
  return to == c ? SpinMove{-1, false} : SpinMove{to, transition};
}

int32_t SpinListModel::FindLetter(char letter) const {
  int l = Lower(letter);
  auto starts = [this, l](int32_t i) { return Lower(items_[i]->name[0]) == l; };
  if (current_ >= 0 && current_ + 1 < count_ && starts(current_) && starts(current_ + 1))
    return current_ + 1;
  for (int32_t i = 0; i < count_; ++i)
    if (starts(i)) return i;
  return -1;
}

int32_t SpinListModel::FindName(const char* name) const {
  if (!name || !*name) return -1;
  for (int32_t i = 0; i < count_; ++i)
    if (CompareNames(items_[i]->name, name) == 0) return i;
  return -1;
}

bool SpinListModel::Sort(int descending, intptr_t lParam) {
  if ((descending != 0 && descending != 1) || count_ < 2) return false;
  char noted[64] = {};
  if (current_ >= 0) std::memcpy(noted, items_[current_]->name, sizeof noted);
  std::stable_sort(items_, items_ + count_, [descending](SpinListItem* a, SpinListItem* b) {
    int d = CompareNames(a->name, b->name);
    return descending ? d > 0 : d < 0;
  });
  if (lParam == 6) {
    current_ = 0;
  } else if (lParam != 7) {
    int32_t found = FindName(noted);
    if (found >= 0) current_ = found;
  }
  return true;
}

}  // namespace gui
