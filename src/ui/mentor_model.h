#pragma once
// The mentor panel's portable half: the rows of its two lists from the
// engine's moves and decision, and how a suggested move's tiles go from the
// rack onto the board view.
#include <cstdint>
#include <string>
#include <vector>

#include "rules/robot_move.h"

class CGame;
class BoardViewPort;

namespace ui {

constexpr int kMaxPossibleWordRows = 500;
constexpr int kMaxAdviceMoves = 5;

// One row per move, in order, at most kMaxPossibleWordRows, ending at the
// first move with no word or no points.
std::vector<std::string> MakePossibleWordRows(const std::vector<RobotMove>& moves,
                                              const CGame* game);

// The engine's decision word.
enum MentorDecision : int { kDecisionPass = 1, kDecisionExchange = 3 };
struct AdviceFacts {
  std::vector<RobotMove> best;  // the best moves, best first
  int decision = 0;
  std::string exchangeLetters;  // the rack letters to swap ('_' gaps skipped)
  int bagTiles = 0;
};
std::vector<std::string> MakeAdviceRows(const AdviceFacts& facts, const CGame* game);

// One tile of a suggested move: the rack place it comes from and the board
// square (row * 15 + column) it goes to, with the letter it shows there.
struct TileStep {
  int rackPlace;
  int square;
  char letter;
};
// For each letter of the move where the board differs from it (ignoring
// case): the rack place holding that letter, else one holding a blank (it
// then shows the move's letter); a letter found on neither is skipped.
// board: kBoardSquares letters (a byte below 'A' empty); rack: its places.
std::vector<TileStep> PlanMoveTiles(const RobotMove& move, const char* board, std::string rack);

// Lays the move's tiles from the view's rack onto its board grid through the
// port; returns how many tiles moved.
int LayMoveOnView(const RobotMove& move, BoardViewPort& view);

}  // namespace ui
