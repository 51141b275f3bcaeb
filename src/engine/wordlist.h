#pragma once
// A fixed-capacity list of short words: the results of the word finder and
// the lexicon searches, read and sorted by the word-search windows and the
// evaluators. Sorting reorders the slot pointers, never the slots.
#include <cstdint>
#include <vector>

#include "engine/dawg.h"

struct WordSlot {
  int32_t number = 0;             // the word's length when the lexicon fills it
  char text[kWordTextSize] = {};  // NUL-terminated, at most 15 letters
  int32_t value = 0;              // the word's entry number
};

class WordList {
 public:
  static constexpr int kCapacity = 5000;
  static constexpr int kModeCountOnly = 4;  // searches only count
  static constexpr int kMaxHits = 2000;     // CountHit stops here

  // Sort modes.
  static constexpr int kSortText = 0;    // text ascending, bytes unsigned
  static constexpr int kSortNumber = 1;  // larger number first
  static constexpr int kSortValue = 2;   // larger value first

  WordList();
  WordList(const WordList&) = delete;
  WordList& operator=(const WordList&) = delete;

  void Clear() { count_ = 0; }
  int GetCount() const { return count_; }
  bool IsFull() const { return count_ >= kCapacity; }
  // The text of slot i, null when i is not below the count.
  const char* GetWord(int i) const;
  const WordSlot* GetSlot(int i) const;

  int mode() const { return mode_; }
  void set_mode(int mode) { mode_ = mode; }

  // Counting mode: one more word, no text kept. Stops at the capacity.
  void CountOne();
  // Stores a word (cut to 15 letters) into the next slot; false when full.
  bool Add(const char* text, int32_t number, int32_t value);

  // Makes n + 1 counters, all zero (growing the table when n is larger than
  // before).
  void EnsureCounters(int n);
  // Counter i plus 1, unless it has reached kMaxHits or i is not a counter.
  void CountHit(int i);
  int Counter(int i) const;
  int CounterCount() const { return static_cast<int>(counters_.size()); }

  // Sorts slots first..last (last 0: the last slot in use); nothing happens
  // when first is not below last or the mode is unknown.
  void Sort(int mode, int first, int last);

 private:
  std::vector<WordSlot> pool_;
  std::vector<WordSlot*> slots_;
  std::vector<int32_t> counters_;
  int mode_ = 0;
  int count_ = 0;
};
