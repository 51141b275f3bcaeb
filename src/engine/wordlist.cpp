#include "engine/wordlist.h"

#include <algorithm>
#include <cstring>

WordList::WordList() : pool_(kCapacity), slots_(kCapacity) {
  for (int i = 0; i < kCapacity; ++i)
    slots_[i] = &pool_[i];
}

const char* WordList::GetWord(int i) const {
  const WordSlot* slot = GetSlot(i);
  return slot ? slot->text : nullptr;
}

const WordSlot* WordList::GetSlot(int i) const {
  return i >= 0 && i < count_ ? slots_[static_cast<size_t>(i)] : nullptr;
}

void WordList::CountOne() {
  if (count_ < kCapacity) ++count_;
}

bool WordList::Add(const char* text, int32_t number, int32_t value) {
  if (IsFull()) return false;
  WordSlot* slot = slots_[static_cast<size_t>(count_++)];
  std::strncpy(slot->text, text, kWordTextSize - 1);
  slot->text[kWordTextSize - 1] = 0;
  slot->number = number;
  slot->value = value;
  return true;
}

void WordList::EnsureCounters(int n) {
  if (n < 0) n = 0;
  const size_t need = static_cast<size_t>(n) + 1;
  if (counters_.size() < need) counters_.resize(need);
  std::fill(counters_.begin(), counters_.begin() + static_cast<std::ptrdiff_t>(need), 0);
}

void WordList::CountHit(int i) {
  if (i < 0 || i >= CounterCount()) return;
  if (counters_[static_cast<size_t>(i)] < kMaxHits) ++counters_[static_cast<size_t>(i)];
}

int WordList::Counter(int i) const {
  return i >= 0 && i < CounterCount() ? counters_[static_cast<size_t>(i)] : 0;
}

void WordList::Sort(int mode, int first, int last) {
  if (last == 0) last = count_ - 1;
  first = std::max(first, 0);
  last = std::min(last, count_ - 1);
  if (first >= last) return;
  auto begin = slots_.begin() + first;
  auto end = slots_.begin() + last + 1;
  switch (mode) {
    case kSortText:
      std::stable_sort(begin, end, [](const WordSlot* a, const WordSlot* b) {
        return std::strcmp(a->text, b->text) < 0;  // strcmp compares unsigned bytes
      });
      break;
    case kSortNumber:
      std::stable_sort(begin, end,
                       [](const WordSlot* a, const WordSlot* b) { return a->number > b->number; });
      break;
    case kSortValue:
      std::stable_sort(begin, end,
                       [](const WordSlot* a, const WordSlot* b) { return a->value > b->value; });
      break;
    default:
      break;
  }
}
