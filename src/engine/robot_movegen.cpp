// The move generator: every placement of the rack that covers an anchor
// square, uses only the rack's tiles (a blank standing for any letter) and
// forms only lexicon words, found by an anchor-based left-part / extend-right
// walk of the main lexicon graph. Rows are walked directly; columns by
// transposing the generator grid and walking its rows again.
//
// The walk is depth-first and allocation-free: the word buffer, counters and
// cross-check table are fields of the robot and the lexicon is never copied.
#include <algorithm>
#include <cstring>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "rules/rules.h"

void Robot::GenerateMoves() {
  const Lexicon* lexicon = GetLexicon();
  if (!lexicon || lexicon->Main().NodeCount() == 0) return;
  levelLimit_ = settings_.maxWordLevel;
  walk_ = lexicon->Main().WalkNodes();
  sortedLists_ = lexicon->Main().SortedLists();
  side_ = board_.Side();
  rackSize_ = Rules().rackSize;
  candidate_.Clear();
  rackMask_ = 0;
  for (int i = kFirstLetterIndex; i < kLetterSlots; ++i)
    if (letterCounts_[i] > 0) rackMask_ |= 1u << i;
  for (int pass = kLineAcross; pass <= kLineDown; ++pass) {
    lineFlags_ = pass == kLineAcross ? board_.rowFlags : board_.columnFlags;
    board_.lineDirection = pass;
    if (pass == kLineDown) TransposeBoard();
    for (int line = 0; line < side_ && !Cancelled(); ++line)
      if (lineFlags_[line]) GenerateLine(line);
    // Back to rows, so that a second generation needs no reload.
    if (pass == kLineDown) TransposeBoard();
  }
  lineFlags_ = nullptr;
  lineRow_ = grid_;
}

void Robot::GenerateLine(int line) {
  board_.BuildLineScratch(line, board_.lineDirection);
  currentLine_ = line;
  lineRow_ = grid_ + line * kBoardStride;
  ComputeCrossChecks();
  if (board_.firstAnchor == kNoAnchorPlace) return;

  char word[kWordTextSize] = {};
  int prev = -1;
  for (int c = board_.firstAnchor; c <= board_.lastAnchor; ++c) {
    if (!board_.LineAnchor(c)) continue;
    currentAnchor_ = c;
    tilesPlaced_ = 0;
    if (c > 0 && !IsEmptySquare(LineAt(c - 1))) {
      // The left part is the run of tiles before the anchor, as it stands.
      int length = 0;
      for (int p = prev + 1; p < c && length < kMaxWordLetters; ++p)
        word[length++] = LineAt(p);
      word[length] = 0;
      const int index = GetLexicon()->FindPrefixEnd(word);
      if (index >= 0) ExtendLeft(word, length, index, 0);
    } else {
      word[0] = 0;
      ExtendLeft(word, 0, 0, c - prev - 1);
    }
    prev = c;
  }
}

void Robot::TransposeBoard() {
  const int side = board_.Side();
  for (int r = 0; r < side; ++r)
    for (int c = r + 1; c < side; ++c)
      std::swap(grid_[r * kBoardStride + c], grid_[c * kBoardStride + r]);
}

void Robot::ComputeCrossChecks() {
  const int side = board_.Side();
  const int r = currentLine_;
  const GameRules& rules = Rules();
  for (int c = 0; c < side; ++c) {
    crossMasks_[c] = 0;
    crossScores_[c] = 0;
    crossFlags_[c] = 0;
    if (!IsEmptySquare(GridAt(r, c))) continue;

    char prefix[kWordTextSize] = {};
    char suffix[kWordTextSize] = {};
    int top = r;
    while (top > 0 && !IsEmptySquare(GridAt(top - 1, c)))
      --top;
    int n = 0;
    for (int y = top; y < r; ++y)
      prefix[n++] = GridAt(y, c);
    n = 0;
    for (int y = r + 1; y < side && !IsEmptySquare(GridAt(y, c)); ++y)
      suffix[n++] = GridAt(y, c);

    for (char* run : {prefix, suffix}) {
      for (char* p = run; *p; ++p) {
        crossFlags_[c] = 1;
        crossScores_[c] += rules.LetterValue(*p);  // a blank (upper case) is worth 0
        if (IsBlankLetter(*p)) *p = static_cast<char>(*p | 0x20);
      }
    }
    ComputeCrossSet(c, prefix, suffix);
  }
}

void Robot::ComputeCrossSet(int column, const char* prefix, const char* suffix) {
  uint32_t& mask = crossMasks_[column];
  if (!*prefix && !*suffix) {
    mask = ~0u;
    return;
  }
  const Lexicon* lexicon = GetLexicon();
  const DawgWalkNode* nodes = lexicon->Main().WalkNodes();
  int index = 0;
  if (*prefix) {
    index = lexicon->FindPrefixEnd(prefix);
    if (index < 0) {
      mask = 0;
      return;
    }
  }
  mask = 0;
  for (int i = index;; ++i) {
    const DawgWalkNode& n = nodes[i];
    bool fits = false;
    if (*suffix) {
      int level = 0;
      lexicon->WalkWord(&fits, &level, n.child, suffix);
      fits = fits && LevelAllowed(level);
    } else {
      fits = n.EndsWord() && LevelAllowed(n.Level());
    }
    if (fits) mask |= 1u << n.letterIndex;
    if (n.IsLast()) break;
  }
}

bool Robot::TakeLetter(int letterIndex) {
  int32_t& count = letterCounts_[letterIndex];
  if (count > 0) {
    if (--count == 0) rackMask_ &= ~(1u << letterIndex);
    return false;
  }
  --letterCounts_[kBlankIndex];
  return true;
}

void Robot::ReturnLetter(int letterIndex, bool blank) {
  if (blank) {
    ++letterCounts_[kBlankIndex];
  } else if (letterCounts_[letterIndex]++ == 0 && letterIndex != kBlankIndex) {
    rackMask_ |= 1u << letterIndex;
  }
}

// Visits, in list order, each node of the sibling list at index whose letter
// index is in `letters`. A sorted list finds them from its mask; any other
// is scanned.
template <class Visit>
void Robot::ForEachChild(int index, uint32_t letters, Visit visit) const {
  const DawgWalkNode* first = walk_ + index;
  if (sortedLists_) {
    const uint32_t list = first->runMask;
    for (uint32_t m = list & letters; m; m &= m - 1) {
      const uint32_t bit = m & (0u - m);
      visit(first + CountLetterBits(list & (bit - 1)));
    }
    return;
  }
  for (const DawgWalkNode* n = first;; ++n) {
    if ((letters >> n->letterIndex) & 1u) visit(n);
    if (n->IsLast()) break;
  }
}

// Lays left parts from the rack on the free squares before the current
// anchor (none of them an anchor, so no cross-check applies) and tries every
// word that continues from each through the anchor. A blank stands for a
// letter only when the rack holds no tile of it.
void Robot::ExtendLeft(char* word, int length, int index, int limit) {
  if (Cancelled()) return;
  if (index < 0) return;
  ExtendRight(word, length, nullptr, index, currentAnchor_);
  if (limit < 1 || tilesPlaced_ >= rackSize_) return;

  ForEachChild(index, RackLetters(), [&](const DawgWalkNode* n) {
    const int letter = n->letterIndex;
    const bool blank = TakeLetter(letter);
    word[length] = blank ? BlankShowingIndex(letter) : static_cast<char>(n->letter);
    word[length + 1] = 0;
    ++tilesPlaced_;
    ExtendLeft(word, length + 1, n->child, limit - 1);
    --tilesPlaced_;
    ReturnLetter(letter, blank);
    word[length] = 0;
  });
}

void Robot::ExtendRight(char* word, int length, const DawgWalkNode* node, int index, int column) {
  if (Cancelled()) return;
  if (column < side_ && !IsEmptySquare(LineAt(column))) {
    // A tile on the board: only the lexicon nodes of its letter go on.
    if (index < 0 || length >= kMaxWordLetters) return;
    const char tile = LineAt(column);
    ForEachChild(index, 1u << LetterIndex(tile), [&](const DawgWalkNode* n) {
      word[length] = tile;
      word[length + 1] = 0;
      ExtendRight(word, length + 1, n, n->child, column + 1);
      word[length] = 0;
    });
    return;
  }
  if (node && node->EndsWord() && LevelAllowed(node->Level()))
    TryWord(word, currentLine_, column - length);
  if (index < 0 || column >= side_ || crossMasks_[column] == 0 || tilesPlaced_ >= rackSize_ ||
      length >= kMaxWordLetters)
    return;

  ForEachChild(index, crossMasks_[column] & RackLetters(), [&](const DawgWalkNode* n) {
    const int letter = n->letterIndex;
    const bool blank = TakeLetter(letter);
    word[length] = blank ? BlankShowingIndex(letter) : static_cast<char>(n->letter);
    word[length + 1] = 0;
    ++tilesPlaced_;
    ExtendRight(word, length + 1, n, n->child, column + 1);
    --tilesPlaced_;
    ReturnLetter(letter, blank);
    word[length] = 0;
  });
}

// The placement as walked, then each variant in which a blank laid now and a
// tile of the same letter laid now change places.
void Robot::TryWord(const char* word, int line, int start) {
  CheckCandidate(word, line, start);
  const int n = static_cast<int>(std::strlen(word));
  auto laidNow = [&](int i) { return IsEmptySquare(board_.LineLetter(start + i)); };
  char variant[kWordTextSize];
  for (int i = 0; i < n; ++i) {
    if (!IsBlankLetter(word[i]) || !laidNow(i)) continue;
    for (int j = 0; j < n; ++j) {
      if (j == i || !IsTileLetter(word[j]) || !laidNow(j)) continue;
      if (LetterIndex(word[j]) != LetterIndex(word[i])) continue;
      std::memcpy(variant, word, static_cast<size_t>(n) + 1);
      variant[i] = word[j];
      variant[j] = word[i];
      CheckCandidate(variant, line, start);
    }
  }
}

void Robot::ScanBoard(std::vector<RobotMove>* list) {
  if (!list) return;
  const int side = board_.Side();
  auto addRun = [&](int line, int direction, int place) {
    char word[kWordTextSize] = {};
    int n = 0;
    for (int p = place; p < side && !IsEmptySquare(board_.LineLetter(p)); ++p)
      word[n++] = static_cast<char>(board_.LineLetter(p) | 0x20);
    if (n < 2) return;
    RobotMove m;
    std::memcpy(m.word, word, static_cast<size_t>(n) + 1);
    MovePosition pos;
    pos.column = static_cast<uint8_t>(direction == kLineAcross ? place : line);
    pos.row = static_cast<uint8_t>(direction == kLineAcross ? line : place);
    pos.direction = static_cast<uint8_t>(direction);
    pos.length = static_cast<uint8_t>(n);
    m.SetPosition(pos);
    list->push_back(m);
  };
  for (int direction = kLineAcross; direction <= kLineDown; ++direction) {
    const uint8_t* flags = direction == kLineAcross ? board_.rowFlags : board_.columnFlags;
    for (int line = 0; line < side; ++line) {
      if (!flags[line]) continue;
      board_.BuildLineScratch(line, direction);
      if (!IsEmptySquare(board_.LineLetter(0))) addRun(line, direction, 0);
      if (board_.firstAnchor == kNoAnchorPlace) continue;
      for (int a = board_.firstAnchor; a <= board_.lastAnchor; ++a)
        if (board_.LineAnchor(a) && a + 1 < side && !IsEmptySquare(board_.LineLetter(a + 1)))
          addRun(line, direction, a + 1);
    }
  }
}
