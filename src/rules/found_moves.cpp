#include "rules/found_moves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
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

const RobotMove* FoundMoveList::GetMoveSlot(int i) const {
  return i >= 0 && i < kFoundMoveSlots ? &slots_[i] : nullptr;
}

RobotMove* FoundMoveList::GetBestMove() {
  indexed_ = false;
  if (count_ >= 1 && slots_[0].evalValue >= 0.001f) return &slots_[0];
  return nullptr;
}

void FoundMoveList::ClearMoveSlots() {
  const int end = std::max(count_, dirtyEnd_);
  for (int i = 0; i < end; ++i)
    slots_[i].Clear();
  count_ = 0;
  dirtyEnd_ = 0;
  indexed_ = false;
}

void FoundMoveList::RemoveMove(int i) {
  if (i < 0 || i >= count_) return;
  indexed_ = false;
  const int last = count_ - 1;
  if (i != last) slots_[i] = slots_[last];
  slots_[last].Clear();
  --count_;
}

void FoundMoveList::SortMovesByScore(bool byScore) {
  SortMovesByKey(byScore ? MoveSortKey::kScore : MoveSortKey::kEvalValue);
}

void FoundMoveList::SortMovesByKey(MoveSortKey key) {
  indexed_ = false;
  // The records are large: their keys are sorted, stably as the records
  // would be, and each record then moves once (none when already in order).
  // Every key is exact as a double: the scores, and the floats with NaN
  // below every number.
  struct Entry {
    double key;
    int32_t slot;
  };
  std::array<Entry, kFoundMoveSlots> order;
  const int count = std::clamp<int>(count_, 0, kFoundMoveSlots);
  for (int i = 0; i < count; ++i) {
    const RobotMove& m = slots_[static_cast<size_t>(i)];
    double k = 0.0;
    switch (key) {
      case MoveSortKey::kScore:
        k = static_cast<double>(m.score);
        break;
      case MoveSortKey::kRankValue:
        k = static_cast<double>(SortableFloat(m.rankValue));
        break;
      case MoveSortKey::kEvalValue:
        k = static_cast<double>(SortableFloat(m.evalValue));
        break;
    }
    order[static_cast<size_t>(i)] = {k, i};
  }
  std::stable_sort(order.begin(), order.begin() + count,
                   [](const Entry& a, const Entry& b) { return a.key > b.key; });
  // Follow each cycle of the permutation with one record held aside.
  std::array<bool, kFoundMoveSlots> placed{};
  for (int i = 0; i < count; ++i) {
    if (placed[static_cast<size_t>(i)] || order[static_cast<size_t>(i)].slot == i) continue;
    const RobotMove held = slots_[static_cast<size_t>(i)];
    int j = i;
    while (order[static_cast<size_t>(j)].slot != i) {
      const int from = order[static_cast<size_t>(j)].slot;
      slots_[static_cast<size_t>(j)] = slots_[static_cast<size_t>(from)];
      placed[static_cast<size_t>(j)] = true;
      j = from;
    }
    slots_[static_cast<size_t>(j)] = held;
    placed[static_cast<size_t>(j)] = true;
  }
}

namespace {

// FNV-1a over the identity: the word's bytes, the score and the position.
uint32_t IdentityHash(const char* word, size_t len, int32_t score, const MovePosition& p) {
  uint32_t h = 2166136261u;
  auto mix = [&h](uint32_t byte) { h = (h ^ byte) * 16777619u; };
  for (size_t i = 0; i < len; ++i)
    mix(static_cast<uint8_t>(word[i]));
  for (int k = 0; k < 4; ++k)
    mix((static_cast<uint32_t>(score) >> (8 * k)) & 0xFF);
  mix(p.column);
  mix(p.row);
  mix(p.direction);
  return h;
}

size_t WordLength(const char* word) {
  size_t len = 0;
  while (len < kMoveWordSize - 1 && word[len])
    ++len;
  return len;
}

}  // namespace

int FoundMoveList::FindSlot(const char* word, size_t len, int32_t score,
                            const MovePosition& position, uint32_t hash) const {
  int found = -1;
  for (int i = bucketHead_[hash & (kBuckets - 1)]; i >= 0; i = nextInBucket_[i]) {
    const RobotMove& m = slots_[i];
    // strncmp semantics over the whole field: a stored word ends where the
    // offered one does.
    if (slotHash_[i] == hash && m.score == score && SamePlace(m, position) &&
        std::strncmp(m.word, word, kMoveWordSize) == 0 && (found < 0 || i < found))
      found = i;
  }
  (void)len;
  return found;
}

void FoundMoveList::Link(int slot, uint32_t hash) {
  slotHash_[slot] = hash;
  int16_t& head = bucketHead_[hash & (kBuckets - 1)];
  nextInBucket_[slot] = head;
  head = static_cast<int16_t>(slot);
}

void FoundMoveList::Unlink(int slot) {
  int16_t* link = &bucketHead_[slotHash_[slot] & (kBuckets - 1)];
  while (*link >= 0 && *link != slot)
    link = &nextInBucket_[*link];
  if (*link == slot) *link = nextInBucket_[slot];
}

void FoundMoveList::Rebuild() {
  bucketHead_.fill(-1);
  for (int i = 0; i < count_; ++i) {
    const RobotMove& m = slots_[i];
    Link(i, IdentityHash(m.word, WordLength(m.word), m.score, m.Position()));
  }
  indexed_ = true;
  treeBuilt_ = false;
}

int64_t FoundMoveList::TreeKey(int slot) const {
  if (slot >= count_ || slots_[slot].score >= kKeptScore) return INT64_MAX;
  return slots_[slot].score;
}

void FoundMoveList::UpdateTree(int slot) {
  int node = (kTreeLeaves + slot) / 2;
  while (node >= 1) {
    const int a = tree_[2 * node], b = tree_[2 * node + 1];
    const int64_t ka = TreeKey(a), kb = TreeKey(b);
    // The lowest score, then the lowest index: the slot a scan from the
    // front would choose.
    tree_[node] = static_cast<int16_t>(kb < ka || (kb == ka && b < a) ? b : a);
    node /= 2;
  }
}

void FoundMoveList::BuildTree() {
  for (int i = 0; i < kTreeLeaves; ++i)
    tree_[kTreeLeaves + i] = static_cast<int16_t>(std::min(i, kFoundMoveSlots - 1));
  for (int node = kTreeLeaves - 1; node >= 1; --node) {
    const int a = tree_[2 * node], b = tree_[2 * node + 1];
    const int64_t ka = TreeKey(a), kb = TreeKey(b);
    tree_[node] = static_cast<int16_t>(kb < ka || (kb == ka && b < a) ? b : a);
  }
  treeBuilt_ = true;
}

int FoundMoveList::ChooseSlot(int32_t score) {
  if (count_ < kFoundMoveSlots) return count_;
  if (!treeBuilt_) BuildTree();
  const int lowest = tree_[1];
  // A full list keeps its moves unless the new one beats the worst of them.
  if (TreeKey(lowest) == INT64_MAX || score <= slots_[lowest].score) return -1;
  return lowest;
}

bool FoundMoveList::MightKeep(int32_t score) {
  if (count_ < kFoundMoveSlots) return true;
  if (!indexed_) Rebuild();
  if (!treeBuilt_) BuildTree();
  const int lowest = tree_[1];
  return TreeKey(lowest) == INT64_MAX || score >= slots_[lowest].score;
}

RobotMove* FoundMoveList::FindMoveByWord(const char* word, int32_t score, MovePosition position,
                                         const int32_t* playedCounts, const int32_t* leaveCounts,
                                         const MoveAcceptance& accept) {
  if (!indexed_) Rebuild();
  const size_t len = WordLength(word);
  const uint32_t hash = IdentityHash(word, len, score, position);
  const int same = FindSlot(word, len, score, position, hash);
  if (same >= 0) return &slots_[same];
  if (!Accepted(position, accept)) return nullptr;
  const int index = ChooseSlot(score);
  if (index < 0) return nullptr;

  RobotMove& m = slots_[index];
  if (index < count_) {
    Unlink(index);
    m.Clear();  // a reused slot keeps nothing of the move it held
  }
  std::memcpy(m.word, word, len);
  m.word[len] = 0;
  position.length = static_cast<uint8_t>(len);
  m.SetPosition(position);
  m.score = score;
  if (index >= count_) count_ = index + 1;
  Link(index, hash);
  if (treeBuilt_) UpdateTree(index);
  if (playedCounts) std::memcpy(m.playedCounts, playedCounts, sizeof m.playedCounts);
  if (leaveCounts) std::memcpy(m.leaveCounts, leaveCounts, sizeof m.leaveCounts);
  return &m;
}
