#include "rules/found_moves.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

bool SamePlace(const RobotMove& m, const MovePosition& p) {
  return m.column == p.column && m.row == p.row && m.direction == p.direction;
}

bool Accepted(const MovePosition& p, const MoveAcceptance& a) {
  if (!IsSingleRowKind(a.kind)) return true;
  if (p.direction == 1 || p.column != 0 || p.row != 0) return false;
  return a.kind != kKindAnagram || p.length == a.requiredWordLength;
}

// NaN sorts below every number so the comparison stays a strict ordering.
float SortableFloat(float f) { return std::isnan(f) ? -std::numeric_limits<float>::infinity() : f; }

}  // namespace

FoundMoveList::FoundMoveList() : slots_(kFoundMoveSlots) { ClearMoveSlots(); }

RobotMove* FoundMoveList::GetMoveSlot(int i) {
  return i >= 0 && i < kFoundMoveSlots ? &slots_[i] : nullptr;
}

const RobotMove* FoundMoveList::GetMoveSlot(int i) const {
  return i >= 0 && i < kFoundMoveSlots ? &slots_[i] : nullptr;
}

RobotMove* FoundMoveList::GetBestMove() {
  if (count_ >= 1 && slots_[0].evalValue >= 0.001f) return &slots_[0];
  return nullptr;
}

void FoundMoveList::ClearMoveSlots() {
  for (RobotMove& m : slots_)
    m.Clear();
  count_ = 0;
}

void FoundMoveList::RemoveMove(int i) {
  if (i < 0 || i >= count_) return;
  const int last = count_ - 1;
  if (i != last) slots_[i] = slots_[last];
  slots_[last].Clear();
  --count_;
}

void FoundMoveList::SortMovesByScore(bool byScore) {
  SortMovesByKey(byScore ? MoveSortKey::kScore : MoveSortKey::kEvalValue);
}

void FoundMoveList::SortMovesByKey(MoveSortKey key) {
  auto end = slots_.begin() + count_;
  switch (key) {
    case MoveSortKey::kScore:
      std::stable_sort(slots_.begin(), end,
                       [](const RobotMove& a, const RobotMove& b) { return a.score > b.score; });
      break;
    case MoveSortKey::kRankValue:
      std::stable_sort(slots_.begin(), end, [](const RobotMove& a, const RobotMove& b) {
        return SortableFloat(a.rankValue) > SortableFloat(b.rankValue);
      });
      break;
    case MoveSortKey::kEvalValue:
      std::stable_sort(slots_.begin(), end, [](const RobotMove& a, const RobotMove& b) {
        return SortableFloat(a.evalValue) > SortableFloat(b.evalValue);
      });
      break;
  }
}

int FoundMoveList::ChooseSlot(int32_t score) const {
  if (count_ < kFoundMoveSlots) return count_;
  int lowest = -1;
  for (int i = 0; i < count_; ++i)
    if (slots_[i].score < kKeptScore && (lowest < 0 || slots_[i].score < slots_[lowest].score))
      lowest = i;
  // A full list keeps its moves unless the new one beats the worst of them.
  if (lowest < 0 || score <= slots_[lowest].score) return -1;
  return lowest;
}

RobotMove* FoundMoveList::FindMoveByWord(const char* word, int32_t score, MovePosition position,
                                         const int32_t* playedCounts, const int32_t* leaveCounts,
                                         const MoveAcceptance& accept) {
  for (int i = 0; i < count_; ++i) {
    RobotMove& m = slots_[i];
    if (m.score == score && SamePlace(m, position) &&
        std::strncmp(m.word, word, kMoveWordSize) == 0)
      return &m;
  }
  if (!Accepted(position, accept)) return nullptr;
  const int index = ChooseSlot(score);
  if (index < 0) return nullptr;

  RobotMove& m = slots_[index];
  if (index < count_) m.Clear();  // a reused slot keeps nothing of the move it held
  size_t len = 0;
  while (len < kMoveWordSize - 1 && word[len])
    ++len;
  std::memcpy(m.word, word, len);
  m.word[len] = 0;
  position.length = static_cast<uint8_t>(len);
  m.SetPosition(position);
  m.score = score;
  if (index >= count_) count_ = index + 1;
  if (playedCounts) std::memcpy(m.playedCounts, playedCounts, sizeof m.playedCounts);
  if (leaveCounts) std::memcpy(m.leaveCounts, leaveCounts, sizeof m.leaveCounts);
  return &m;
}
