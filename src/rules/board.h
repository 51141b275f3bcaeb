#pragma once
// The board: its letter grid, the per-square analysis the computer opponent
// starts from (anchors, line flags, the scratch copy of one line), and the
// scoring of one word.
#include <cstdint>
#include <vector>

#include "rules/robot_move.h"
#include "rules/layouts.h"
#include "rules/letters.h"
#include "rules/rules.h"

// Neighbour flags of an empty square.
enum AnchorFlag : uint8_t {
  kAnchorTileAbove = 1,
  kAnchorTileBelow = 2,
  kAnchorTileLeft = 4,
  kAnchorTileRight = 8,
  kAnchorCentre = 16,
};

constexpr int kLineAcross = 0;
constexpr int kLineDown = 1;
constexpr int32_t kNoAnchorPlace = 99;
// The line scratch has one empty place before and after the line.
constexpr int kLineScratchSize = kMaxBoardSide + 2;

// One square's working record for the computer opponent.
struct SquareRecord {
  RobotMove move;
};

// A square with no tile: empty, or a crossagram square still to be filled.
inline bool IsEmptySquare(char c) { return c == kEmptySquare || c == kCrossagramPlaceholder; }

class GameBoard {
 public:
  explicit GameBoard(const GameRules* rules = &GlobalRules());

  // Copies the grid, runs ComputeAnchors and counts the rack's letters (its
  // first rackSize bytes, '_' skipped) into rackCounts.
  void LoadFromGrid(const GameRules* rules, const char grid[kBoardSquares], const char* rack);
  void LoadFromGridAndCounts(const GameRules* rules, const char grid[kBoardSquares],
                             const int32_t counts[kLetterSlots]);

  // Anchor flags, tiles on the board, board phase, row and column flags.
  void ComputeAnchors();
  // Copies row (direction 0) or column (1) `line` into the line scratch;
  // false for a line outside the board.
  bool BuildLineScratch(int line, int direction);
  bool BuildLineScratch() { return BuildLineScratch(lineIndex, lineDirection); }

  // Scores the move's word on this board: letter and word premiums only under
  // new tiles, +50/+75/+100 for exactly 7/8/9 new tiles. The result goes into
  // the move's score and wordScore and is returned.
  int32_t ScoreWord(RobotMove& move) const;

  int Side() const;
  char At(int row, int column) const { return letters[row * kBoardStride + column]; }
  // Letter at place p (-1..side) of the line scratch.
  char LineLetter(int place) const { return lineLetters[place + 1]; }
  uint8_t LineAnchor(int place) const { return lineAnchors[place + 1]; }

  const GameRules* rules;
  char letters[kBoardSquares] = {};
  uint8_t anchors[kBoardSquares] = {};
  int32_t rackCounts[kLetterSlots] = {};
  int32_t lineRackCounts[kLetterSlots] = {};
  uint8_t rowFlags[kMaxBoardSide] = {};
  uint8_t columnFlags[kMaxBoardSide] = {};
  char lineLetters[kLineScratchSize] = {};
  uint8_t lineAnchors[kLineScratchSize] = {};
  // Places along the line (0..side-1) of the first and last anchor.
  int32_t firstAnchor = kNoAnchorPlace;
  int32_t lastAnchor = kNoAnchorPlace;
  int32_t lettersAvailable = 0;
  int32_t lineIndex = 0;
  int32_t lineDirection = kLineAcross;
  // 0 empty board, 1 under 20 tiles, 2 under total-25, 3 under total-14, else 4.
  int32_t phase = 0;
  int32_t tilesOnBoard = 0;
  std::vector<SquareRecord> squares;
};

// Letter tests over 32 counts (vowels by the tile set's vowel bit; the blank
// is not a vowel).
bool HasVowel(const int32_t counts[kLetterSlots], const GameRules& rules);
bool HasConsonant(const int32_t counts[kLetterSlots], const GameRules& rules);
// Over the first `places` bytes of a rack (empty places may be '_' or NUL).
int CountBlanks(const char* rack, int places);
int CountTiles(const char* rack, int places);
