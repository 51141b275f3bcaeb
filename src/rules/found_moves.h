#pragma once
// The computer opponent's found-move list: 500 RobotMove slots, slots
// 0..Count()-1 in use. Duplicates (same word, score, column, row and
// direction) are merged on the way in; a full list gives its lowest-scoring
// slot to a better move only.
//
// The generator offers thousands of candidates a search, so the list keeps
// two indexes beside the slots: a hash of each live move's identity (finding
// a duplicate is O(1)) and, once the list is full, a tournament tree over the
// slots' scores (finding the lowest slot is O(1), replacing it O(log n)).
// Anything that may change slots from outside (a mutable slot, a sort, a
// removal) drops both; the next offer rebuilds them from the slots. Offers
// write a new move into its slot field by field, and clearing the list
// touches only the slots used since the last clear.
#include <array>
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
  RobotMove* GetMoveSlot(int i) {
    indexed_ = false;
    if (i < 0 || i >= kFoundMoveSlots) return nullptr;
    if (i >= dirtyEnd_) dirtyEnd_ = i + 1;
    return &slots_[i];
  }
  const RobotMove* GetMoveSlot(int i) const;
  // Slot 0 when a move is held and its evalValue is at least 0.001.
  RobotMove* GetBestMove();
  // Clears all slots; count 0. Only slots that may have changed since the
  // last clear are written again.
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
  // False only when every offer of this score is refused: the list is full
  // and its lowest replaceable move scores higher (so none of its moves has
  // this score to merge with).
  bool MightKeep(int32_t score);
  RobotMove* FindMoveByWord(const char* word, int32_t score, MovePosition position,
                            const int32_t* playedCounts, const int32_t* leaveCounts,
                            const MoveAcceptance& accept = MoveAcceptance());

 private:
  static constexpr int kBuckets = 1024;    // a power of two above twice the slots
  static constexpr int kTreeLeaves = 512;  // a power of two at least the slots

  int ChooseSlot(int32_t score);
  // The live slot holding this identity, the lowest such index; -1 none.
  int FindSlot(const char* word, size_t len, int32_t score, const MovePosition& position,
               uint32_t hash) const;
  void Link(int slot, uint32_t hash);
  void Unlink(int slot);
  void Rebuild();
  // The tree's entry for a slot: its score when it may be replaced.
  int64_t TreeKey(int slot) const;
  void UpdateTree(int slot);
  void BuildTree();

  std::vector<RobotMove> slots_;
  int32_t count_ = 0;
  // Slots from here on are as cleared: past the live ones and never handed
  // out for writing since the last clear.
  int32_t dirtyEnd_ = kFoundMoveSlots;
  bool indexed_ = false;  // the hash index matches the slots
  bool treeBuilt_ = false;
  std::array<int16_t, kBuckets> bucketHead_{};
  std::array<int16_t, kFoundMoveSlots> nextInBucket_{};
  std::array<uint32_t, kFoundMoveSlots> slotHash_{};
  // tree_[1] is the root; leaves kTreeLeaves..2*kTreeLeaves-1 hold slots;
  // each node holds the slot with the lowest (key, index) below it.
  std::array<int16_t, 2 * kTreeLeaves> tree_{};
};
