#include "game/player_stats.h"

#include <algorithm>
#include <cstdio>

#include "game/ui_port.h"

void MoveStatsTerms(const RobotMove& move, float out[kStatsTermCount]) {
  out[kStatsBonusSquaresBlocked] = move.terms[13];
  out[kStatsClosingBonusSquares] = move.terms[1];
  out[kStatsClosingBoard] = move.terms[5];
  out[kStatsRemainderQuality] = move.terms[7];
  out[kStatsWordScore] = move.terms[0];
  out[kStatsGeneralNote] = move.termSum;
}

int PlayerMoveStats::RecordMove(const RobotMove& move, int wordCount, bool allWordsValid) {
  if (move.rankValue > bestMove.rankValue) bestMove = move;

  int laid = 0;
  const int n = std::min<int>(move.length, kPlacedLettersSize);
  for (int i = 0; i < n; ++i)
    if (move.placedLetters[i]) ++laid;
  lettersPlaced += laid;
  char line[96];
  std::snprintf(line, sizeof line, "Number of letter play = %d, total = %d\n", laid, lettersPlaced);
  GetGameUiPort().DebugOutput(line);

  if (laid >= kAllTilesMove) ++allTilesMoves;
  mostWordsInMove = std::max(mostWordsInMove, wordCount);
  if (allWordsValid) {
    float terms[kStatsTermCount];
    MoveStatsTerms(move, terms);
    for (int t = 0; t < kStatsTermCount; ++t)
      termSums[t] += terms[t];
    ++validMoves;
  }
  return laid;
}

void PlayerMoveStats::AverageTerms(int n) {
  if (n <= 0) return;
  for (float& s : termSums)
    s /= static_cast<float>(n);
}
