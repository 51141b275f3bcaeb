#pragma once
// The dictionary panel's small shared operations: its search history (the
// ten most recent words, newest first) and the order of its result rows.
#include <cstdint>

struct WordSlot;

namespace ui {

constexpr int kDictionaryHistorySize = 10;

// The history's list (the search field's drop-down list on the window side).
class RecentWordList {
 public:
  virtual ~RecentWordList() = default;
  // The index of the entry equal to the word (case aside), -1 when none.
  virtual int Find(const char* word) = 0;
  virtual void InsertTop(const char* word) = 0;
  virtual int Count() = 0;
  virtual void Delete(int index) = 0;
};

// Puts a word not yet there at the top and lets the oldest beyond ten go;
// returns the count. Empty words are not kept.
int AddRecentWord(RecentWordList& list, const char* word);

// The result list's sort: key 0 the words ascending (bytes unsigned), key 1
// the first number descending, key 2 the second number descending; 0 for
// other keys or a missing row.
int CompareDictionaryItems(const WordSlot* a, const WordSlot* b, int key);

}  // namespace ui
