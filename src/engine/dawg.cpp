#include "engine/dawg.h"

#include <cctype>
#include <cstring>

#include "rules/letters.h"

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
int32_t ReadI32(const uint8_t* p) { return static_cast<int32_t>(ReadU32(p)); }
uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The alphabet text: entries of letters, each followed by one separator byte;
// an entry that starts with a non-letter is empty and takes one byte.
void ParseAlphabet(const uint8_t* text, DawgHeader* header) {
  size_t pos = 0;
  for (int i = 0; i < header->alphabetCount; ++i) {
    int len = 0;
    while (pos < kDawgAlphabetBytes && std::isalpha(text[pos])) {
      if (len < kAlphabetEntrySize - 1) header->alphabet[i][len++] = static_cast<char>(text[pos]);
      ++pos;
    }
    header->alphabet[i][len] = 0;
    header->alphabetLengths[i] = len;
    if (pos < kDawgAlphabetBytes) ++pos;  // the separator
  }
}

// Every child index is -1 or a node, and the last node closes its sibling
// list, so every sibling run a walk starts ends inside the array.
bool NodesAreSound(const std::vector<DawgNode>& nodes) {
  const int64_t count = static_cast<int64_t>(nodes.size());
  if (count == 0) return true;
  if (!nodes.back().IsLast()) return false;
  for (const DawgNode& n : nodes)
    if (n.child < -1 || n.child >= count) return false;
  return true;
}

void UpperCopy(const char* word, char out[kEntryWordSize]) {
  size_t i = 0;
  for (; word[i] && i < kEntryWordSize - 1; ++i)
    out[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[i])));
  out[i] = 0;
  // A longer word can match no entry; keep one byte past the limit to tell.
  if (word[i]) out[kEntryWordSize - 1] = 1;
}

}  // namespace

void ScrambleDefinitions(char* text, size_t size) {
  uint8_t key = kDefinitionKeyStart;
  for (size_t i = 0; i < size; ++i) {
    text[i] = static_cast<char>(static_cast<uint8_t>(text[i]) ^ key);
    key = static_cast<uint8_t>(key + kDefinitionKeyStep);
  }
}

LexFileStatus DawgNodeList::ParseGraph(const uint8_t* data, size_t size, DawgHeader* header) {
  Clear();
  if (size < sizeof(kDawgMagic) || std::memcmp(data, kDawgMagic, sizeof(kDawgMagic)) != 0)
    return LexFileStatus::kBadMagic;
  if (size < kDawgNodesOffset) return LexFileStatus::kInvalid;
  DawgHeader h;
  h.value1 = ReadI32(data + kDawgHeader1Offset);
  h.value2 = ReadI32(data + kDawgHeader2Offset);
  h.alphabetCount = ReadI32(data + kDawgAlphabetCountOffset);
  h.language = ReadI32(data + kDawgLanguageOffset);
  if (h.alphabetCount < 0 || h.alphabetCount > kMaxAlphabetEntries) return LexFileStatus::kInvalid;
  ParseAlphabet(data + kDawgAlphabetOffset, &h);

  const int32_t count = ReadI32(data + kDawgNodeCountOffset);
  if (count < 0 || static_cast<uint64_t>(count) > (size - kDawgNodesOffset) / kDawgNodeSize)
    return LexFileStatus::kInvalid;
  std::vector<DawgNode> nodes(static_cast<size_t>(count));
  const uint8_t* p = data + kDawgNodesOffset;
  for (DawgNode& n : nodes) {
    n.child = ReadI32(p);
    n.flags = ReadU32(p + 4);
    n.bucket = ReadU32(p + 8);
    p += kDawgNodeSize;
  }
  if (!NodesAreSound(nodes)) return LexFileStatus::kInvalid;
  nodes_ = std::move(nodes);
  BuildWalkForm();
  if (header) *header = h;
  return LexFileStatus::kOk;
}

LexFileStatus DawgNodeList::ParseExtra(const uint8_t* data, size_t size) {
  ClearEntries();
  if (size < kExtraHeaderSize) return LexFileStatus::kInvalid;
  const int32_t entryCount = ReadI32(data + kExtraEntryCountField * 4);
  const int32_t bucketCount = ReadI32(data + kExtraBucketCountField * 4);
  if (entryCount < 0 || bucketCount < 0 || bucketCount > kMaxBuckets)
    return LexFileStatus::kInvalid;
  const uint64_t need = kExtraHeaderSize + static_cast<uint64_t>(bucketCount) * kBucketSize +
                        static_cast<uint64_t>(entryCount) * kWordEntrySize;
  if (need > size) return LexFileStatus::kInvalid;

  std::vector<WordBucket> buckets(static_cast<size_t>(bucketCount));
  const uint8_t* p = data + kExtraHeaderSize;
  for (WordBucket& b : buckets) {
    b.first = ReadI32(p);
    b.count = ReadI32(p + 4);
    p += kBucketSize;
    if (b.first < 0 || b.count < 0 || static_cast<int64_t>(b.first) + b.count > entryCount)
      return LexFileStatus::kInvalid;
  }
  std::vector<WordEntry> entries(static_cast<size_t>(entryCount));
  for (WordEntry& e : entries) {
    std::memcpy(e.word, p, kEntryWordSize);
    e.word[kEntryWordSize - 1] = 0;  // a full 16-letter field is cut, not read past
    e.number = ReadU16(p + kEntryNumberOffset);
    for (int i = 0; i < kEntryMaxDefinitions; ++i)
      e.definitionIds[i] = ReadU32(p + kEntryDefinitionIdsOffset + 4 * i);
    e.info = static_cast<int16_t>(ReadU16(p + kEntryInfoOffset));
    e.flag = p[kEntryFlagOffset];
    p += kWordEntrySize;
  }
  buckets_ = std::move(buckets);
  entries_ = std::move(entries);
  return LexFileStatus::kOk;
}

namespace {
// States of a node while the `below` bits are worked out.
constexpr uint8_t kBelowUnseen = 0, kBelowOnPath = 1, kBelowDone = 2;
constexpr int kMaxBelowDepth = 64;
}  // namespace

void DawgNodeList::BuildWalkForm() {
  const size_t count = nodes_.size();
  walk_.assign(count, DawgWalkNode());
  sortedLists_ = true;
  // Backwards, so each node's run mask adds its letter to the rest of its run.
  for (size_t i = count; i-- > 0;) {
    const DawgNode& n = nodes_[i];
    DawgWalkNode& w = walk_[i];
    w.child = n.child;
    w.letter = n.Letter();
    w.letterIndex = static_cast<uint8_t>(n.LetterIndex());
    w.bits = static_cast<uint8_t>((n.Level() & DawgWalkNode::kWalkLevelMask) |
                                  (n.IsLast() ? DawgWalkNode::kWalkLast : 0) |
                                  (n.EndsWord() ? DawgWalkNode::kWalkWordEnd : 0));
    w.runMask = 1u << w.letterIndex;
    if (!n.IsLast()) {
      const DawgWalkNode& next = walk_[i + 1];
      w.runMask |= next.runMask;
      if (next.letterIndex <= w.letterIndex) sortedLists_ = false;
    }
  }
  std::vector<uint8_t> state(count, kBelowUnseen);
  if (count > 0) ListBelow(0, 0, state);
}

// The `below` bits of every node of the sibling list at `list` (filled in
// for each), combined; a list shared by several parents is worked out once.
// A loaded graph is checked for its indexes, not for cycles: a node met
// again on its own path, or a path deeper than any word, gets every bit,
// which never keeps a walk from a word.
uint8_t DawgNodeList::ListBelow(int list, int depth, std::vector<uint8_t>& state) {
  uint8_t all = 0;
  for (int index = list; index >= 0 && index < NodeCount(); ++index) {
    const size_t at = static_cast<size_t>(index);
    DawgWalkNode& w = walk_[at];
    if (state[at] == kBelowUnseen) {
      state[at] = kBelowOnPath;
      uint8_t below = w.EndsWord() ? 1u : 0u;
      if (w.child >= 0) {
        const uint8_t next = depth < kMaxBelowDepth ? ListBelow(w.child, depth + 1, state) : 0xFF;
        // One letter further down: the far bit stays set.
        below |= static_cast<uint8_t>((next << 1) | (next & (1u << DawgWalkNode::kBelowFar)));
      }
      w.below = below;
      state[at] = kBelowDone;
    }
    all |= state[at] == kBelowOnPath ? 0xFF : w.below;
    if (w.IsLast()) break;
  }
  return all;
}

void DawgNodeList::Clear() {
  nodes_.clear();
  walk_.clear();
  sortedLists_ = true;
  ClearEntries();
}

void DawgNodeList::ClearEntries() {
  buckets_.clear();
  entries_.clear();
}

const WordBucket* DawgNodeList::Bucket(int index) const {
  return index >= 0 && index < BucketCount() ? &buckets_[static_cast<size_t>(index)] : nullptr;
}

const WordEntry* DawgNodeList::Entry(int index) const {
  return index >= 0 && index < EntryCount() ? &entries_[static_cast<size_t>(index)] : nullptr;
}

const DawgNode* DawgNodeList::WalkToNode(const char* text, bool mustEndWord) const {
  if (!text || !*text || nodes_.empty()) return nullptr;
  int index = 0;
  const DawgNode* match = nullptr;
  for (const char* c = text; *c; ++c) {
    if (index < 0) return nullptr;
    match = nullptr;
    const int want = LetterIndex(*c);
    for (int i = index; i < NodeCount(); ++i) {
      if (nodes_[i].LetterIndex() == want) {
        match = &nodes_[i];
        break;
      }
      if (nodes_[i].IsLast()) break;
    }
    if (!match) return nullptr;
    index = match->child;
  }
  if (mustEndWord && !match->EndsWord()) return nullptr;
  return match;
}

const WordEntry* DawgNodeList::FindEntry(const char* word, int bucket) const {
  const WordBucket* b = Bucket(bucket);
  if (!b || !word) return nullptr;
  char upper[kEntryWordSize];
  UpperCopy(word, upper);
  if (upper[kEntryWordSize - 1]) return nullptr;  // too long for any entry
  for (int i = b->first; i < b->first + b->count; ++i)
    if (std::strcmp(entries_[static_cast<size_t>(i)].word, upper) == 0)
      return &entries_[static_cast<size_t>(i)];
  return nullptr;
}

int DawgNodeList::GetEntryValue(const char* word, int bucket) const {
  const WordEntry* e = FindEntry(word, bucket);
  return e ? static_cast<int>(e->number) - 1 : 0;
}

int DawgNodeList::GetWordInfo(const char* word) const {
  const DawgNode* node = WalkToNode(word, true);
  const WordEntry* e = node ? FindEntry(word, node->Bucket()) : nullptr;
  return e ? e->info : 0;
}

int DawgNodeList::GetWordFlag(const char* word) const {
  const DawgNode* node = WalkToNode(word, true);
  return node ? EntryFlag(word, *node) : 0;
}

int DawgNodeList::EntryFlag(const char* word, const DawgNode& node) const {
  const WordEntry* e = FindEntry(word, node.Bucket());
  return e ? (e->flag & kEntryJuniorFlag) : 0;
}
