#pragma once
// A player's running statistics over one game (one record for standard play,
// one for duplicate play): its best move, tiles laid, moves of seven or more
// tiles, most words in one move, and the running sums of the six evaluation
// terms that a profile's statistics block averages.
#include <cstdint>

#include "rules/robot_move.h"

// The six evaluation terms, in the order of a profile's statistics block.
enum StatsTerm : int {
  kStatsBonusSquaresBlocked,  // component 13
  kStatsClosingBonusSquares,  // component 1
  kStatsClosingBoard,         // component 5
  kStatsRemainderQuality,     // component 7
  kStatsWordScore,            // component 0
  kStatsGeneralNote,          // the move's term sum
  kStatsTermCount
};

// Moves laying at least this many tiles count as using the whole rack.
constexpr int kAllTilesMove = 7;

struct PlayerMoveStats {
  RobotMove bestMove;  // cleared: rankValue kRejectedRank, beaten by any move
  int32_t lettersPlaced = 0;
  int32_t allTilesMoves = 0;
  int32_t mostWordsInMove = 0;
  int32_t validMoves = 0;  // moves whose words were all in the lexicon
  float termSums[kStatsTermCount] = {};

  PlayerMoveStats() { bestMove.Clear(); }
  void Clear() { *this = PlayerMoveStats(); }

  // Enters one move: `move` is its first record (its placed letters give
  // the tiles laid), `wordCount` the words it formed, `allWordsValid`
  // whether every one of them is in the lexicon. Returns the tiles laid.
  int RecordMove(const RobotMove& move, int wordCount, bool allWordsValid);
  // Divides the six sums by n (nothing for n <= 0).
  void AverageTerms(int n);
};

// The six terms of a move, in StatsTerm order.
void MoveStatsTerms(const RobotMove& move, float out[kStatsTermCount]);
