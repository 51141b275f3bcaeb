// Searches over the lexicon's main graph: anagrams of a rack, hook letters,
// and the collection of found words into a WordList.
#include <cstring>

#include "engine/lexicon.h"
#include "engine/wordlist.h"
#include "rules/letters.h"

int Lexicon::FindAnagrams(const char* rack, int length) const {
  return FindAnagramsWithPattern(rack, length, nullptr, -1);
}

int Lexicon::FindAnagramsWithPattern(const char* rack, int length, char (*out)[kWordTextSize],
                                     int max) const {
  // Words longer than a slot's text cannot be built or stored.
  if (!rack || length <= 0 || length > kMaxWordLetters || main_.NodeCount() == 0) return 0;
  int counts[kLetterSlots] = {};
  for (const char* c = rack; *c; ++c)
    ++counts[*c == kUnassignedBlank ? kBlankIndex : LetterIndex(*c)];
  char word[kWordTextSize] = {};
  int found = 0;
  AnagramWalk(word, 0, counts, nullptr, 0, length, &found, out, max);
  return found;
}

// Depth-first over the graph, spending one rack letter per level; a blank
// stands in only for letters the rack does not hold, so every word is reached
// once.
void Lexicon::AnagramWalk(char* word, int position, int counts[kLetterSlots], const DawgNode* node,
                          int index, int depth, int* found, char (*out)[kWordTextSize],
                          int max) const {
  if (depth == 0) {
    if (!node || !node->EndsWord()) return;
    if (IsJuniorMode() && main_.EntryFlag(word, *node)) return;
    if (out && (max < 0 || *found < max)) {
      std::memcpy(out[*found], word, kWordTextSize);
    }
    ++*found;
    return;
  }
  for (const DawgNode* n = main_.Node(index); n; n = main_.Node(++index)) {
    int* counter = &counts[n->LetterIndex()];
    if (*counter <= 0) counter = counts[kBlankIndex] > 0 ? &counts[kBlankIndex] : nullptr;
    if (counter) {
      --*counter;
      word[position] = static_cast<char>(n->Letter());
      AnagramWalk(word, position + 1, counts, n, n->child, depth - 1, found, out, max);
      word[position] = 0;
      ++*counter;
    }
    if (n->IsLast()) break;
  }
}

int Lexicon::MatchPattern(int index, const char* prefix, const char* rest) const {
  if (!prefix || !*prefix) return 0;
  for (;;) {
    const int want = LetterIndex(*prefix);
    const DawgNode* match = nullptr;
    for (const DawgNode* n = main_.Node(index); n; n = main_.Node(++index)) {
      if (n->LetterIndex() == want) {
        match = n;
        break;
      }
      if (n->IsLast()) break;
    }
    if (!match) return 0;
    if (*++prefix) {
      index = match->child;
      continue;
    }
    if (rest && *rest) return 0;
    int child = match->child;
    for (const DawgNode* n = main_.Node(child); n; n = main_.Node(++child)) {
      if (n->EndsWord()) return n->Letter();
      if (n->IsLast()) break;
    }
    return 0;
  }
}

void Lexicon::CollectWord(WordList* list, const char* word, const DawgNode* node) const {
  if (!list || !word) return;
  if (list->mode() == WordList::kModeCountOnly) {
    list->CountOne();
    return;
  }
  if (list->IsFull()) return;
  const int value = node ? main_.GetEntryValue(word, node->Bucket()) : 0;
  list->Add(word, static_cast<int32_t>(std::strlen(word)), value);
}
