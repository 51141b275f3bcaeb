#pragma once
// The computer opponent's found-move list: 500 RobotMove slots, slots
// 0..Count()-1 in use. Duplicates (same word, score, column, row and
// direction) are merged on the way in; a full list gives its lowest-scoring
// slot to a better move only.
#include <cstdint>
#include <vector>

#include "rules/robot_move.h"
#include "rules/game_kind.h"

constexpr int kFoundMoveSlots = 500;
// Moves scoring this much or more are never replaced in a full list.
constexpr int32_t kKeptScore = 9999;

// What the game in play allows into the list (the single-row games accept
// only moves across from the first square, the anagram game only words of
// its required length).
struct MoveAcceptance {
  int32_t kind = kKindStandard;
  int32_t requiredWordLength = 0;
};

enum class MoveSortKey : int {
  kEvalValue = 0,
  kScore = 1,
  kRankValue = 2,
};

class FoundMoveList {
 public:
  FoundMoveList();

  int Count() const { return count_; }
  // Slot i (0..kFoundMoveSlots-1); null outside that range.
  RobotMove* GetMoveSlot(int i);
  const RobotMove* GetMoveSlot(int i) const;
  // Slot 0 when a move is held and its evalValue is at least 0.001.
  RobotMove* GetBestMove();
  // Clears all slots; count 0.
  void ClearMoveSlots();
  // Removes live slot i: the last live move takes its place and the freed
  // slot is cleared, so no other move is lost. A loop that removes while it
  // walks the list must look at slot i again.
  void RemoveMove(int i);
  // Stable, descending: by score when byScore, else by evalValue.
  void SortMovesByScore(bool byScore);
  void SortMovesByKey(MoveSortKey key);

  // Finds the identical move or adds it. played/leave may be null. Returns
  // null when the game refuses the move or a full list holds no worse move.
  RobotMove* FindMoveByWord(const char* word, int32_t score, MovePosition position,
                            const int32_t* playedCounts, const int32_t* leaveCounts,
                            const MoveAcceptance& accept = MoveAcceptance());

 private:
  int ChooseSlot(int32_t score) const;

  std::vector<RobotMove> slots_;
  int32_t count_ = 0;
};
