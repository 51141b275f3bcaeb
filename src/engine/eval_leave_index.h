#pragma once
// What the evaluation components need to know of the main graph beyond its
// walks, built once per loaded lexicon and shared: the words grouped by their
// letters, for counting the words a rack can make (the remainder quality
// counts thousands of racks a search, many of them mostly blanks), and the
// word lengths below each graph node (the swap advice walks for words of
// one length).
//
// A trie of "letter sets": each word of 2..kMaxLength letters is entered
// under its letter indexes sorted ascending, so all its anagrams share one
// path, and every trie node knows how many words of each length lie at or
// below it. A count walks the rack down the trie spending a rack letter,
// else a blank, per step (the order that never misses a word), and takes a
// node's words of a length wholesale once the blanks left can stand for all
// the letters still to come. The counts equal those of a walk over every
// word of the graph: the number of distinct words per length, capped.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rules/letters.h"

class DawgNodeList;
class Lexicon;

class LeaveWordIndex {
 public:
  // Longer words are never counted (their caps are 0).
  static constexpr int kMaxLength = 9;

  explicit LeaveWordIndex(const Lexicon& lexicon);

  // The index of the lexicon's main graph: built on first use, then shared
  // by every caller and thread until another graph is loaded.
  static std::shared_ptr<const LeaveWordIndex> For(const Lexicon& lexicon);

  // counts[L] (L = 0..maxLength) = the words of L letters the rack makes,
  // at most caps[L]; 0 below 2 letters and above kMaxLength. letters: counts
  // by letter index, index 0 the blanks (a blank stands for any letter).
  void Count(const int32_t letters[kLetterSlots], int maxLength, const int32_t* caps,
             int32_t* counts) const;

  // At most this many racks are counted in one batch.
  static constexpr int kBatchRacks = 16;
  // What Count gives for each of `racks` racks without blanks (letters[r][0]
  // is 0), filling counts[r][0..maxLength]: one walk visits each letter set
  // the racks share once, so racks that differ in a few letters cost little
  // more than one.
  void CountBlankFree(const int32_t (*letters)[kLetterSlots], int racks, int maxLength,
                      const int32_t* caps, int32_t* const* counts) const;

  // Bit k set when a word of the main graph ends k letters below its node
  // `node` (bit 0: the node itself ends one); 0 for an index out of range.
  // Lets a walk for words of one length skip branches that hold none.
  uint32_t LengthsBelow(int node) const {
    return node >= 0 && node < static_cast<int>(lengthsBelow_.size())
               ? lengthsBelow_[static_cast<size_t>(node)]
               : 0u;
  }

  // True when this index was built from the lexicon's main graph as it is
  // loaded now (its place and size; For also compares a sample of nodes).
  bool Serves(const Lexicon& lexicon) const;
  int NodeCount() const { return static_cast<int>(nodes_.size()); }

 private:
  struct Node {
    int32_t firstChild = 0;
    uint32_t childMask = 0;  // bit L: a child of letter index L; children in letter order
    // Words of each length from 2 at or below this node, held at 65535
    // (above every cap).
    uint16_t words[kMaxLength - 1] = {};
  };
  class Counter;
  class BatchCounter;

  void Build();
  uint32_t ListLengths(const DawgNodeList& graph, int list, int depth);

  const Lexicon* lexicon_ = nullptr;
  const void* graphNodes_ = nullptr;
  int graphNodeCount_ = 0;
  std::vector<Node> nodes_;
  std::vector<uint32_t> lengthsBelow_;  // by main-graph node
  std::vector<uint8_t> lengthsDone_;    // while building
  std::vector<std::string> keys_;       // sorted letter sets, while building
};
