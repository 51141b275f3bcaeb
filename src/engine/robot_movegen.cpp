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

namespace {

// The sibling list starting at index (a loaded graph keeps every run inside
// its array, and every child index valid).
const DawgNode* FirstSibling(const DawgNodeList& graph, int index) { return graph.Node(index); }

}  // namespace

void Robot::GenerateMoves() {
  const Lexicon* lexicon = GetLexicon();
  if (!lexicon || lexicon->Main().NodeCount() == 0) return;
  levelLimit_ = settings_.maxWordLevel;
  const int side = board_.Side();
  for (int pass = kLineAcross; pass <= kLineDown; ++pass) {
    lineFlags_ = pass == kLineAcross ? board_.rowFlags : board_.columnFlags;
    board_.lineDirection = pass;
    if (pass == kLineDown) TransposeBoard();
    for (int line = 0; line < side && !Cancelled(); ++line)
      if (lineFlags_[line]) GenerateLine(line);
    // Back to rows, so that a second generation needs no reload.
    if (pass == kLineDown) TransposeBoard();
  }
  lineFlags_ = nullptr;
}

void Robot::GenerateLine(int line) {
  board_.BuildLineScratch(line, board_.lineDirection);
  currentLine_ = line;
  ComputeCrossChecks();
  if (board_.firstAnchor == kNoAnchorPlace) return;

  char word[kWordTextSize] = {};
  int prev = -1;
  for (int c = board_.firstAnchor; c <= board_.lastAnchor; ++c) {
    if (!board_.LineAnchor(c)) continue;
    currentAnchor_ = c;
    tilesPlaced_ = 0;
    if (c > 0 && !IsEmptySquare(GridAt(line, c - 1))) {
      // The left part is the run of tiles before the anchor, as it stands.
      int length = 0;
      for (int p = prev + 1; p < c && length < kMaxWordLetters; ++p)
        word[length++] = GridAt(line, p);
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
    crossChecks_[c].count = 0;
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
  CrossCheck& check = crossChecks_[column];
  if (!*prefix && !*suffix) {
    check.count = -1;
    return;
  }
  const Lexicon* lexicon = GetLexicon();
  const DawgNodeList& graph = lexicon->Main();
  int index = 0;
  if (*prefix) {
    index = lexicon->FindPrefixEnd(prefix);
    if (index < 0) {
      check.count = 0;
      return;
    }
  }
  int count = 0;
  for (const DawgNode* n = FirstSibling(graph, index); n; ++n) {
    bool fits = false;
    if (*suffix) {
      int level = 0;
      lexicon->WalkWord(&fits, &level, n->child, suffix);
      fits = fits && LevelAllowed(level);
    } else {
      fits = n->EndsWord() && LevelAllowed(n->Level());
    }
    if (fits && count < kMaxCrossNodes) check.nodes[count++] = n;
    if (n->IsLast()) break;
  }
  check.count = count;
}

bool Robot::CrossCheckAllows(int column, uint8_t letter) const {
  const CrossCheck& check = crossChecks_[column];
  if (check.count == -1) return true;
  for (int i = 0; i < check.count; ++i)
    if (check.nodes[i]->Letter() == letter) return true;
  return false;
}

// Takes a tile of the letter, or else a blank; false when the rack has
// neither. A blank thus never stands for a letter the rack still holds.
bool Robot::TakeLetter(int letterIndex, bool* blank) {
  if (letterCounts_[letterIndex] > 0) {
    --letterCounts_[letterIndex];
    *blank = false;
    return true;
  }
  if (letterCounts_[kBlankIndex] > 0) {
    --letterCounts_[kBlankIndex];
    *blank = true;
    return true;
  }
  return false;
}

// Lays left parts from the rack on the free squares before the current
// anchor (none of them an anchor, so no cross-check applies) and tries every
// word that continues from each through the anchor.
void Robot::ExtendLeft(char* word, int length, int index, int limit) {
  if (Cancelled()) return;
  if (index < 0) return;
  ExtendRight(word, length, nullptr, index, currentAnchor_);
  if (limit < 1 || tilesPlaced_ >= Rules().rackSize) return;

  const DawgNodeList& graph = GetLexicon()->Main();
  for (const DawgNode* n = FirstSibling(graph, index); n; ++n) {
    const int letter = n->LetterIndex();
    bool blank = false;
    if (TakeLetter(letter, &blank)) {
      word[length] = blank ? BlankShowingIndex(letter) : static_cast<char>(n->Letter());
      word[length + 1] = 0;
      ++tilesPlaced_;
      ExtendLeft(word, length + 1, n->child, limit - 1);
      --tilesPlaced_;
      ++letterCounts_[blank ? kBlankIndex : letter];
      word[length] = 0;
    }
    if (n->IsLast()) break;
  }
}

void Robot::ExtendRight(char* word, int length, const DawgNode* node, int index, int column) {
  if (Cancelled()) return;
  const int side = board_.Side();
  const DawgNodeList& graph = GetLexicon()->Main();
  if (column < side && !IsEmptySquare(GridAt(currentLine_, column))) {
    // A tile on the board: only the lexicon nodes of its letter go on.
    if (index < 0 || length >= kMaxWordLetters) return;
    const char tile = GridAt(currentLine_, column);
    for (const DawgNode* n = FirstSibling(graph, index); n; ++n) {
      if (n->LetterIndex() == LetterIndex(tile)) {
        word[length] = tile;
        word[length + 1] = 0;
        ExtendRight(word, length + 1, n, n->child, column + 1);
        word[length] = 0;
      }
      if (n->IsLast()) break;
    }
    return;
  }
  if (node && node->EndsWord() && LevelAllowed(node->Level()))
    TryWord(word, currentLine_, column - length);
  if (index < 0 || column >= side || crossChecks_[column].count == 0 ||
      tilesPlaced_ >= Rules().rackSize || length >= kMaxWordLetters)
    return;

  for (const DawgNode* n = FirstSibling(graph, index); n; ++n) {
    const int letter = n->LetterIndex();
    bool blank = false;
    if (CrossCheckAllows(column, n->Letter()) && TakeLetter(letter, &blank)) {
      word[length] = blank ? BlankShowingIndex(letter) : static_cast<char>(n->Letter());
      word[length + 1] = 0;
      ++tilesPlaced_;
      ExtendRight(word, length + 1, n, n->child, column + 1);
      --tilesPlaced_;
      ++letterCounts_[blank ? kBlankIndex : letter];
      word[length] = 0;
    }
    if (n->IsLast()) break;
  }
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
