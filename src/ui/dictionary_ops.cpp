#include "ui/dictionary_ops.h"

#include <cstring>

#include "engine/wordlist.h"

namespace ui {

int AddRecentWord(RecentWordList& list, const char* word) {
  if (!word || !*word) return list.Count();
  if (list.Find(word) < 0) list.InsertTop(word);
  // One word comes in at a time, but a list filled elsewhere may be longer.
  while (list.Count() > kDictionaryHistorySize)
    list.Delete(list.Count() - 1);
  return list.Count();
}

int CompareDictionaryItems(const WordSlot* a, const WordSlot* b, int key) {
  if (!a || !b) return 0;
  switch (key) {
    case 0: {
      const auto* x = reinterpret_cast<const unsigned char*>(a->text);
      const auto* y = reinterpret_cast<const unsigned char*>(b->text);
      const size_t n = sizeof a->text;
      for (size_t i = 0; i < n; ++i) {
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
        if (!x[i]) break;
      }
      return 0;
    }
    case 1:
      return a->number == b->number ? 0 : a->number > b->number ? -1 : 1;
    case 2:
      return a->value == b->value ? 0 : a->value > b->value ? -1 : 1;
    default:
      return 0;
  }
}

}  // namespace ui
