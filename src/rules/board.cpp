#include "rules/board.h"

#include "rules/tile_bonus.h"

#include <algorithm>
#include <cstring>

GameBoard::GameBoard(const GameRules* r) : rules(r), squares(kBoardSquares) {}

int GameBoard::Side() const { return std::clamp<int>(rules->boardSide, 0, kMaxBoardSide); }

void GameBoard::LoadFromGrid(const GameRules* r, const char grid[kBoardSquares], const char* rack) {
  int32_t counts[kLetterSlots] = {};
  const int places = std::clamp<int>(r->rackSize, 0, kMaxRackPlaces);
  for (int i = 0; i < places && rack; ++i)
    if (!IsEmptyRackPlace(rack[i])) ++counts[LetterIndex(rack[i])];
  LoadFromGridAndCounts(r, grid, counts);
}

void GameBoard::LoadFromGridAndCounts(const GameRules* r, const char grid[kBoardSquares],
                                      const int32_t counts[kLetterSlots]) {
  rules = r;
  std::memcpy(letters, grid, sizeof letters);
  std::memset(lineRackCounts, 0, sizeof lineRackCounts);
  ComputeAnchors();
  std::memcpy(rackCounts, counts, sizeof rackCounts);
}

void GameBoard::ComputeAnchors() {
  std::memset(anchors, 0, sizeof anchors);
  std::memset(rowFlags, 0, sizeof rowFlags);
  std::memset(columnFlags, 0, sizeof columnFlags);
  const int side = Side();
  auto tile = [&](int r, int c) {
    return r >= 0 && c >= 0 && r < side && c < side && !IsEmptySquare(At(r, c));
  };
  const int k = rules->centre;
  if (k >= 0 && k < side) anchors[k * kBoardStride + k] = kAnchorCentre;

  tilesOnBoard = 0;
  for (int r = 0; r < side; ++r) {
    for (int c = 0; c < side; ++c) {
      uint8_t& a = anchors[r * kBoardStride + c];
      if (tile(r, c)) {
        a = 0;
        ++tilesOnBoard;
        continue;
      }
      if (tile(r, c + 1)) a |= kAnchorTileRight;
      if (tile(r, c - 1)) a |= kAnchorTileLeft;
      if (tile(r + 1, c)) a |= kAnchorTileBelow;
      if (tile(r - 1, c)) a |= kAnchorTileAbove;
      if (a) rowFlags[r] = columnFlags[c] = 1;
    }
  }

  const int total = rules->totalTiles;
  if (tilesOnBoard == 0)
    phase = 0;
  else if (tilesOnBoard < 20)
    phase = 1;
  else if (tilesOnBoard < total - 25)
    phase = 2;
  else if (tilesOnBoard < total - 14)
    phase = 3;
  else
    phase = 4;
}

bool GameBoard::BuildLineScratch(int line, int direction) {
  const int side = Side();
  if (line < 0 || line >= side) return false;
  lineIndex = line;
  lineDirection = direction ? kLineDown : kLineAcross;
  std::memset(lineLetters, 0, sizeof lineLetters);
  std::memset(lineAnchors, 0, sizeof lineAnchors);
  firstAnchor = lastAnchor = kNoAnchorPlace;
  std::memcpy(lineRackCounts, rackCounts, sizeof lineRackCounts);
  int available = 0;
  for (int32_t n : rackCounts)
    available += n;

  for (int p = 0; p < side; ++p) {
    const int square =
        lineDirection == kLineAcross ? line * kBoardStride + p : p * kBoardStride + line;
    const char c = letters[square];
    lineLetters[p + 1] = c;
    lineAnchors[p + 1] = anchors[square];
    if (anchors[square]) {
      if (firstAnchor == kNoAnchorPlace) firstAnchor = p;
      lastAnchor = p;
    }
    if (!IsEmptySquare(c)) {
      ++lineRackCounts[LetterIndex(c)];
      ++available;
    }
  }
  lettersAvailable = std::min(available, side);
  return true;
}

int32_t GameBoard::ScoreWord(RobotMove& move) const {
  const int side = Side();
  const int n = std::min<int>(move.length, kMoveWordSize);
  int r = move.row;
  int c = move.column;
  int sum = 0;
  int wordMultiplier = 1;
  int newTiles = 0;
  for (int i = 0; i < n; ++i) {
    int value = rules->LetterValue(move.word[i]);
    // A square past the board's edge (only in a malformed record) earns its
    // face value and nothing else.
    if (r < side && c < side && IsEmptySquare(At(r, c))) {
      switch (rules->Premium(r, c)) {
        case kPremiumDoubleLetter:
          value *= 2;
          break;
        case kPremiumTripleLetter:
          value *= 3;
          break;
        case kPremiumDoubleWord:
          wordMultiplier *= 2;
          break;
        case kPremiumTripleWord:
          wordMultiplier *= 3;
          break;
        default:
          break;
      }
      ++newTiles;
    }
    sum += value;
    if (move.direction)
      ++r;
    else
      ++c;
  }
  const int32_t score = sum * wordMultiplier + MoveTileBonus(newTiles);
  move.score = score;
  move.wordScore = score;
  return score;
}

bool HasVowel(const int32_t counts[kLetterSlots], const GameRules& rules) {
  for (int i = 0; i < kLetterSlots; ++i)
    if (counts[i] > 0 && rules.IsVowelIndex(i)) return true;
  return false;
}

bool HasConsonant(const int32_t counts[kLetterSlots], const GameRules& rules) {
  for (int i = 0; i < kLetterSlots; ++i)
    if (counts[i] > 0 && !rules.IsVowelIndex(i)) return true;
  return false;
}

int CountBlanks(const char* rack, int places) {
  int n = 0;
  for (int i = 0; i < places; ++i)
    if (rack[i] == kUnassignedBlank) ++n;
  return n;
}

int CountTiles(const char* rack, int places) {
  int n = 0;
  for (int i = 0; i < places; ++i)
    if (IsTileLetter(rack[i])) ++n;
  return n;
}
