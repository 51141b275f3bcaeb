// The word finder: pattern and letter searches over the main lexicon that
// have nothing to do with a board, run on a robot used as a search engine.
#include <cstring>
#include <string>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/wordlist.h"

namespace {

bool IsPatternMode(int mode) {
  return mode == kFindPattern || mode == kFindPatternAlt || mode == kFindPatternCount;
}

}  // namespace

bool Robot::ListFull() const { return wordList_->GetCount() >= WordList::kCapacity; }

void Robot::Collect(const char* word, const DawgNode& node) {
  const Lexicon* lexicon = GetLexicon();
  if (IsJuniorMode() && lexicon->Main().EntryFlag(word, node)) return;
  lexicon->CollectWord(wordList_, word, &node);
}

void Robot::FindWords(const char* pattern, int mode) {
  if (!wordList_ || !pattern) return;
  if (!IsPatternMode(mode) && mode != kFindLettersExact && mode != kFindLettersPartial) return;
  wordList_->set_mode(mode);
  const Lexicon* lexicon = GetLexicon();
  if (!*pattern || !lexicon) return;

  // Every built word must fit the board side (and so a list slot): a pattern
  // that asks for more letters, or holds more stars than could each stand
  // between letters, is refused.
  const int side = BoardSide();
  const size_t patternLength = std::strlen(pattern);
  int fixed = 0;    // characters other than '*'
  int letters = 0;  // characters other than '*' and '?'
  for (const char* c = pattern; *c; ++c) {
    if (*c != '*') ++fixed;
    if (*c != '*' && *c != '?') ++letters;
  }
  char word[kWordTextSize] = {};
  if (IsPatternMode(mode)) {
    if (fixed > side || patternLength > static_cast<size_t>(2 * side + 1)) return;
    MatchPattern(word, 0, pattern, nullptr, 0, side - fixed, 0);
    return;
  }
  if (letters > side) return;
  std::memset(letterCounts_, 0, sizeof(letterCounts_));
  for (const char* c = pattern; *c; ++c)
    if (*c != '*' && *c != '?') ++letterCounts_[LetterIndex(*c)];
  MatchLetters(word, 0, nullptr, 0, letters, mode == kFindLettersExact);
}

// word holds length letters: pattern letters in lower case, letters a
// wildcard supplied in upper case. budget is what the stars may still add;
// starFlag 1 means the star at the head of rest has already been tried empty.
void Robot::MatchPattern(char* word, int length, const char* rest, const DawgNode* node, int index,
                         int budget, int starFlag) {
  const DawgNodeList& graph = GetLexicon()->Main();
  if (node && node->EndsWord() && !*rest) Collect(word, *node);
  if (!*rest || ListFull()) return;

  if (*rest == '*') {
    if (starFlag == 0) MatchPattern(word, length, rest + 1, node, index, budget, 1);
    if (index < 0 || budget <= 0) return;
    for (const DawgNode* n = graph.Node(index); n && !ListFull(); n = graph.Node(++index)) {
      word[length] = BlankShowingIndex(n->LetterIndex());
      MatchPattern(word, length + 1, rest + 1, n, n->child, budget - 1, 0);
      MatchPattern(word, length + 1, rest, n, n->child, budget - 1, 1);
      word[length] = 0;
      if (n->IsLast()) break;
    }
    return;
  }
  if (index < 0) return;
  const bool any = *rest == '?';
  const int want = LetterIndex(*rest);
  for (const DawgNode* n = graph.Node(index); n && !ListFull(); n = graph.Node(++index)) {
    if (any || n->LetterIndex() == want) {
      word[length] = any ? BlankShowingIndex(n->LetterIndex()) : TileForIndex(want);
      MatchPattern(word, length + 1, rest + 1, n, n->child, budget, 0);
      word[length] = 0;
    }
    if (n->IsLast()) break;
  }
}

// A blank is spent only on letters the counters do not hold, as in the move
// generator, so every word is reached once.
void Robot::MatchLetters(char* word, int length, const DawgNode* node, int index, int left,
                         bool exact) {
  const DawgNodeList& graph = GetLexicon()->Main();
  if ((left == 0 || !exact) && node && node->EndsWord()) Collect(word, *node);
  if (index < 0 || left <= 0) return;
  for (const DawgNode* n = graph.Node(index); n && !ListFull(); n = graph.Node(++index)) {
    int32_t* counter = &letterCounts_[n->LetterIndex()];
    bool blank = false;
    if (*counter <= 0) {
      counter = letterCounts_[kBlankIndex] > 0 ? &letterCounts_[kBlankIndex] : nullptr;
      blank = true;
    }
    if (counter) {
      --*counter;
      word[length] = blank ? BlankShowingIndex(n->LetterIndex()) : static_cast<char>(n->Letter());
      MatchLetters(word, length + 1, n, n->child, left - 1, exact);
      word[length] = 0;
      ++*counter;
    }
    if (n->IsLast()) break;
  }
}

WordList& GetGlobalWordList() {
  static WordList list;
  return list;
}

Robot& GetWordFinder() {
  static Robot finder;
  return finder;
}

int FindWordsContaining(const char* text) {
  WordList& list = GetGlobalWordList();
  list.Clear();
  Robot& finder = GetWordFinder();
  finder.SetWordList(&list);
  std::string pattern = "*";
  pattern += text ? text : "";
  pattern += '*';
  finder.FindWords(pattern.c_str(), kFindPatternCount);
  return list.GetCount();
}
