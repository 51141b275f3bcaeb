#include "engine/eval_leave_index.h"

#include <algorithm>
#include <deque>
#include <mutex>

#include "engine/dawg.h"
#include "engine/lexicon.h"

namespace {

constexpr uint16_t kWordsHeld = 0xFFFF;
// States of a graph node while the lengths below are worked out.
constexpr uint8_t kNotSeen = 0, kOnPath = 1, kDone = 2;
constexpr int kMaxGraphDepth = 64;

// Every path of 2..kMaxLength letters that ends a word, as its letter
// indexes sorted ascending. Paths, not texts: a graph holding a word twice
// gives it twice, as a walk over the graph would count it.
void CollectLetterSets(const DawgNodeList& graph, int index, int depth, char* path,
                       std::vector<std::string>& out) {
  for (const DawgNode* n = graph.Node(index); n; n = graph.Node(++index)) {
    path[depth] = static_cast<char>(n->LetterIndex());
    const int length = depth + 1;
    if (n->EndsWord() && length >= 2) {
      std::string key(path, static_cast<size_t>(length));
      std::sort(key.begin(), key.end());
      out.push_back(std::move(key));
    }
    if (length < LeaveWordIndex::kMaxLength) CollectLetterSets(graph, n->child, length, path, out);
    if (n->IsLast()) break;
  }
}

// What names a loaded graph: its place, size and a sample of its nodes (a
// graph loaded later into the same memory differs in them).
struct GraphIdentity {
  const Lexicon* lexicon = nullptr;
  const DawgNode* nodes = nullptr;
  int count = 0;
  uint64_t sample = 0;

  static GraphIdentity Of(const Lexicon& lexicon) {
    const DawgNodeList& graph = lexicon.Main();
    GraphIdentity id;
    id.lexicon = &lexicon;
    id.nodes = graph.Nodes().data();
    id.count = graph.NodeCount();
    uint64_t h = 14695981039346656037ULL;
    const int step = std::max(1, id.count / 256);
    for (int i = 0; i < id.count; i += step) {
      const DawgNode& n = graph.Nodes()[static_cast<size_t>(i)];
      for (uint32_t v : {static_cast<uint32_t>(n.child), n.flags, n.bucket}) {
        h ^= v;
        h *= 1099511628211ULL;
      }
    }
    id.sample = h;
    return id;
  }
  bool operator==(const GraphIdentity& o) const {
    return lexicon == o.lexicon && nodes == o.nodes && count == o.count && sample == o.sample;
  }
};

}  // namespace

// One count: the rack's letters as they are spent along the current path.
class LeaveWordIndex::Counter {
 public:
  Counter(const LeaveWordIndex& index, const int32_t letters[kLetterSlots], int maxLength,
          const int32_t* caps, int32_t* counts)
      : nodes_(index.nodes_), maxLength_(maxLength), caps_(caps), counts_(counts) {
    std::copy(letters, letters + kLetterSlots, rack_);
    for (int c = 1; c < kLetterSlots; ++c)
      if (rack_[c] > 0) held_[heldCount_++] = c;
  }

  // The rack's tiles (blanks aside).
  int Tiles() const {
    int n = 0;
    for (int k = 0; k < heldCount_; ++k)
      n += rack_[held_[k]];
    return n;
  }

  // Node n reached with `depth` letters spent; lengths below `from` are
  // counted already (or capped). Letter sets go up in letter order, so the
  // letters below n are held_[first] and later ones (or blanks); `ahead`
  // counts the rack's tiles of those letters.
  void Visit(int32_t n, int depth, int from, int first, int ahead) {
    const Node& node = nodes_[static_cast<size_t>(n)];
    const int blanks = rack_[kBlankIndex];
    // Blanks for every letter still to come: any word below of such a length.
    const int wholesale = std::min(depth + blanks, maxLength_);
    for (int l = std::max(from, depth); l <= wholesale; ++l)
      Add(l, node.words[l - 2]);
    from = std::max(from, wholesale + 1);
    while (from <= maxLength_ && counts_[from] >= caps_[from])
      ++from;
    if (from > maxLength_) return;
    // Letters come in ascending order: below a child of letter c the words
    // have at most depth + blanks + (rack letters from c on) letters.
    if (blanks == 0) {
      // Only the rack's letters lead on: find their children directly.
      for (int k = first; k < heldCount_; ++k) {
        const int letter = held_[k];
        if (depth + ahead < from) break;
        ahead -= rack_[letter];
        if (rack_[letter] <= 0 || !(node.childMask & (1u << letter))) continue;
        const int32_t c = node.firstChild + ChildRank(node.childMask, letter);
        if (depth + 1 + blanks >= maxLength_) {
          Leaf(c, depth + 1, from);
          continue;
        }
        --rack_[letter];
        Visit(c, depth + 1, from, k, ahead + rack_[letter]);
        ++rack_[letter];
      }
      return;
    }
    int k = first;
    int32_t c = node.firstChild;
    for (uint32_t left = node.childMask; left; left &= left - 1u, ++c) {
      const int letter = LowestLetter(left);
      for (; k < heldCount_ && held_[k] < letter; ++k)
        ahead -= rack_[held_[k]];
      if (depth + blanks + ahead < from) break;
      // The rack's own tile first, else a blank: the same choice as a word walk.
      const bool own = rack_[letter] > 0;
      if (depth + 1 + blanks - (own ? 0 : 1) >= maxLength_) {
        Leaf(c, depth + 1, from);
        continue;
      }
      int32_t& source = own ? rack_[letter] : rack_[kBlankIndex];
      --source;
      Visit(c, depth + 1, from, k, own ? ahead - 1 : ahead);
      ++source;
    }
  }

 private:
  // Children are laid out in letter order: the place of the child of a
  // letter is the number of smaller letters present.
  static int LowestLetter(uint32_t mask) { return __builtin_ctz(mask); }
  static int ChildRank(uint32_t mask, int letter) {
    uint32_t v = mask & ((1u << letter) - 1u);
    v = v - ((v >> 1) & 0x55555555u);
    v = (v & 0x33333333u) + ((v >> 2) & 0x33333333u);
    return static_cast<int>((((v + (v >> 4)) & 0x0F0F0F0Fu) * 0x01010101u) >> 24);
  }

  // What Visit(n, depth, from) does when the blanks left stand for every
  // letter up to the longest length: it takes all the node's words at once.
  void Leaf(int32_t n, int depth, int from) {
    const Node& node = nodes_[static_cast<size_t>(n)];
    for (int l = std::max(from, depth); l <= maxLength_; ++l)
      Add(l, node.words[l - 2]);
  }

  void Add(int length, int32_t words) {
    counts_[length] = std::min(counts_[length] + words, caps_[length]);
  }

  const std::vector<Node>& nodes_;
  int32_t rack_[kLetterSlots];
  int held_[kLetterSlots] = {};  // the letters of the rack, ascending
  int heldCount_ = 0;
  int maxLength_;
  const int32_t* caps_;
  int32_t* counts_;
};

// Several racks without blanks walked together: a letter set is followed
// while some rack holds it, and its words of its own length go to every
// such rack. The totals are capped at the end: Count caps as it adds, and
// adding never lowers a count, so both end at the same numbers.
class LeaveWordIndex::BatchCounter {
 public:
  BatchCounter(const LeaveWordIndex& index, const int32_t (*letters)[kLetterSlots], int racks,
               int maxLength)
      : nodes_(index.nodes_), maxLength_(maxLength) {
    for (int r = 0; r < racks; ++r)
      for (int c = 1; c < kLetterSlots; ++c)
        for (int m = 1; m <= std::min(letters[r][c], maxLength); ++m) {
          holding_[c][m] |= 1u << r;
          present_ |= 1u << c;
        }
  }

  // Node n is the letter set of `depth` letters whose last letter is
  // `letter`, `run` times over; `racks` hold it.
  void Visit(int32_t n, int depth, int letter, int run, uint32_t racks) {
    const Node& node = nodes_[static_cast<size_t>(n)];
    if (depth >= 2) {
      const int32_t words = node.words[depth - 2];
      if (words > 0)
        for (uint32_t left = racks; left; left &= left - 1u)
          totals_[__builtin_ctz(left)][depth] += words;
    }
    if (depth >= maxLength_) return;
    // Letter sets go up in letter order: the next letter is this one again
    // or a later one.
    const uint32_t next = node.childMask & present_ & ~((1u << letter) - 1u);
    for (uint32_t left = next; left; left &= left - 1u) {
      const int c = __builtin_ctz(left);
      const int times = c == letter ? run + 1 : 1;
      const uint32_t holding = racks & holding_[c][times];
      if (!holding) continue;
      const int32_t child = node.firstChild + CountLetterBits(node.childMask & ((1u << c) - 1u));
      Visit(child, depth + 1, c, times, holding);
    }
  }

  int64_t Total(int rack, int length) const { return totals_[rack][length]; }

 private:
  const std::vector<Node>& nodes_;
  int maxLength_;
  uint32_t present_ = 0;  // letters some rack holds
  // Bit r of holding_[c][m]: rack r holds letter c at least m times.
  uint32_t holding_[kLetterSlots][kMaxLength + 1] = {};
  int64_t totals_[kBatchRacks][kMaxLength + 1] = {};
};

LeaveWordIndex::LeaveWordIndex(const Lexicon& lexicon)
    : lexicon_(&lexicon),
      graphNodes_(lexicon.Main().Nodes().data()),
      graphNodeCount_(lexicon.Main().NodeCount()) {
  const DawgNodeList& graph = lexicon.Main();
  char path[kMaxLength];
  CollectLetterSets(graph, 0, 0, path, keys_);
  std::sort(keys_.begin(), keys_.end());
  nodes_.emplace_back();
  Build();
  keys_.clear();
  keys_.shrink_to_fit();
  lengthsBelow_.assign(static_cast<size_t>(graph.NodeCount()), 0u);
  lengthsDone_.assign(static_cast<size_t>(graph.NodeCount()), kNotSeen);
  ListLengths(graph, 0, 0);
  lengthsDone_.clear();
  lengthsDone_.shrink_to_fit();
}

// The lengths below every node of the sibling list starting at `list`
// (filled in for each of them), combined; shared lists are worked out once.
// A loaded graph is checked for its indexes, not for cycles: a node met
// again on its own path, or a path deeper than any word, gets every length,
// which never keeps a walk from a word.
uint32_t LeaveWordIndex::ListLengths(const DawgNodeList& graph, int list, int depth) {
  uint32_t all = 0;
  int index = list;
  for (const DawgNode* n = graph.Node(index); n; n = graph.Node(++index)) {
    const size_t at = static_cast<size_t>(index);
    if (lengthsDone_[at] == kNotSeen) {
      lengthsDone_[at] = kOnPath;
      uint32_t below = n->EndsWord() ? 1u : 0u;
      if (n->child >= 0)
        below |= depth < kMaxGraphDepth ? ListLengths(graph, n->child, depth + 1) << 1 : ~0u;
      lengthsBelow_[at] = below;
      lengthsDone_[at] = kDone;
    }
    all |= lengthsDone_[at] == kOnPath ? ~0u : lengthsBelow_[at];
    if (n->IsLast()) break;
  }
  return all;
}

// Node `node` stands for the common first `depth` letters of keys_[first,
// last): its word counts, then one child per next letter, laid out together.
// Nodes are made level by level: the upper levels, which every count walks,
// lie together in memory.
void LeaveWordIndex::Build() {
  struct Range {
    int32_t node;
    size_t first, last;
    int depth;
  };
  std::deque<Range> queue{{0, 0, keys_.size(), 0}};
  while (!queue.empty()) {
    const Range r = queue.front();
    queue.pop_front();
    for (size_t k = r.first; k < r.last; ++k) {
      uint16_t& words = nodes_[static_cast<size_t>(r.node)].words[keys_[k].size() - 2];
      if (words < kWordsHeld) ++words;
    }
    size_t k = r.first;
    while (k < r.last && static_cast<int>(keys_[k].size()) == r.depth)
      ++k;  // shorter keys sort first: these end here
    nodes_[static_cast<size_t>(r.node)].firstChild = static_cast<int32_t>(nodes_.size());
    for (size_t i = k; i < r.last; ++i) {
      if (i > k && keys_[i][r.depth] == keys_[i - 1][r.depth]) continue;
      size_t end = i + 1;
      while (end < r.last && keys_[end][r.depth] == keys_[i][r.depth])
        ++end;
      const int32_t child = static_cast<int32_t>(nodes_.size());
      const auto letter = static_cast<uint8_t>(keys_[i][r.depth]);
      nodes_.emplace_back();
      nodes_[static_cast<size_t>(r.node)].childMask |= 1u << letter;
      queue.push_back({child, i, end, r.depth + 1});
    }
  }
}

std::shared_ptr<const LeaveWordIndex> LeaveWordIndex::For(const Lexicon& lexicon) {
  static std::mutex mutex;
  static GraphIdentity built;
  static std::shared_ptr<const LeaveWordIndex> index;
  const GraphIdentity id = GraphIdentity::Of(lexicon);
  const std::lock_guard<std::mutex> lock(mutex);
  if (!index || !(built == id)) {
    index = std::make_shared<const LeaveWordIndex>(lexicon);
    built = id;
  }
  return index;
}

bool LeaveWordIndex::Serves(const Lexicon& lexicon) const {
  return lexicon_ == &lexicon && graphNodes_ == lexicon.Main().Nodes().data() &&
         graphNodeCount_ == lexicon.Main().NodeCount();
}

void LeaveWordIndex::Count(const int32_t letters[kLetterSlots], int maxLength, const int32_t* caps,
                           int32_t* counts) const {
  std::fill(counts, counts + maxLength + 1, 0);
  maxLength = std::min(maxLength, kMaxLength);
  if (maxLength < 2) return;
  Counter counter(*this, letters, maxLength, caps, counts);
  counter.Visit(0, 0, 2, 0, counter.Tiles());
}

void LeaveWordIndex::CountBlankFree(const int32_t (*letters)[kLetterSlots], int racks,
                                    int maxLength, const int32_t* caps,
                                    int32_t* const* counts) const {
  racks = std::clamp(racks, 0, kBatchRacks);
  for (int r = 0; r < racks; ++r)
    std::fill(counts[r], counts[r] + maxLength + 1, 0);
  maxLength = std::min(maxLength, kMaxLength);
  if (maxLength < 2 || racks == 0) return;
  BatchCounter counter(*this, letters, racks, maxLength);
  counter.Visit(0, 0, 0, 0, racks == 32 ? ~0u : (1u << racks) - 1u);
  for (int r = 0; r < racks; ++r)
    for (int l = 2; l <= maxLength; ++l)
      counts[r][l] = static_cast<int32_t>(
          std::max<int64_t>(0, std::min<int64_t>(counter.Total(r, l), caps[l])));
}
