#pragma once
// The lexicon's word graph and its word entries: the "SDCT" graph files, the
// extra word-list files (".dic") and the definitions files (".dfc"). The
// layouts here are shared by the engine's readers and our lexicon compiler.
//
// A graph is an array of 12-byte nodes grouped in sibling lists: contiguous
// runs ending at the node flagged kNodeLast. The root list starts at node 0; a
// node's child index names the first node of the list that follows its letter,
// -1 when nothing follows. A loaded graph has been checked so that every child
// index is -1 or a node index and every sibling run ends inside the array.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// --- "SDCT" graph file -------------------------------------------------------
constexpr char kDawgMagic[4] = {'S', 'D', 'C', 'T'};
constexpr size_t kDawgHeader1Offset = 4;
constexpr size_t kDawgHeader2Offset = 8;
constexpr size_t kDawgAlphabetCountOffset = 12;
constexpr size_t kDawgLanguageOffset = 16;
constexpr size_t kDawgAlphabetOffset = 132;
constexpr size_t kDawgAlphabetBytes = 128;
constexpr size_t kDawgNodeCountOffset = 260;
constexpr size_t kDawgNodesOffset = 264;
constexpr size_t kDawgNodeSize = 12;
constexpr int kMaxAlphabetEntries = 32;
constexpr int kAlphabetEntrySize = 8;  // letters of one entry and a NUL

// Node flag word.
constexpr uint32_t kNodeLetterMask = 0xFF;
constexpr int kNodeLevelShift = 8;
constexpr uint32_t kNodeLevelMask = 0xF00;
constexpr uint32_t kNodeLast = 0x1000;
constexpr uint32_t kNodeWordEnd = 0x2000;
constexpr uint32_t kNodeBucketMask = 0xFFFF;
constexpr int kMaxWordLevel = 15;

// --- Extra word list (".dic") -------------------------------------------------
constexpr int kExtraHeaderValues = 33;
constexpr size_t kExtraHeaderSize = kExtraHeaderValues * 4;  // 132
constexpr int kExtraEntryCountField = 31;
constexpr int kExtraBucketCountField = 32;
constexpr size_t kBucketSize = 8;
constexpr size_t kWordEntrySize = 48;
// Entry layout: the word in upper case (NUL-terminated), a 16-bit number (the
// word's count of definitions), that many 32-bit definition ids, a signed
// 16-bit information value and a flag byte whose bit 0 marks a word kept out
// of the junior mode.
constexpr size_t kEntryWordSize = 16;
constexpr size_t kEntryNumberOffset = 16;
constexpr size_t kEntryDefinitionIdsOffset = 18;
constexpr int kEntryMaxDefinitions = 6;
constexpr size_t kEntryInfoOffset = 44;
constexpr size_t kEntryFlagOffset = 46;
constexpr uint8_t kEntryJuniorFlag = 0x01;
// No node uses bucket 0 for a word of its own: our compiler keeps it empty.
constexpr int kEmptyBucket = 0;
constexpr int kMaxBuckets = 0x10000;  // bucket numbers are 16 bits

// --- Definitions (".dfc") ------------------------------------------------------
// Each byte is XORed with a key that starts at kDefinitionKeyStart and grows
// by kDefinitionKeyStep after every byte. The plain text is a run of records
// "key" SP "definition" CR; our compiler writes the decimal definition id as
// the key and the words' entries list their ids.
constexpr uint8_t kDefinitionKeyStart = 0x5B;
constexpr uint8_t kDefinitionKeyStep = 0x2F;
constexpr char kDefinitionSeparator = ' ';
constexpr char kDefinitionEnd = '\r';

constexpr int kMaxWordLetters = 15;  // board side, and a slot's text
constexpr int kWordTextSize = kMaxWordLetters + 1;

// Scrambles or unscrambles (the same operation) a definitions text in place.
void ScrambleDefinitions(char* text, size_t size);

struct DawgNode {
  int32_t child = -1;
  uint32_t flags = 0;
  uint32_t bucket = 0;

  uint8_t Letter() const { return static_cast<uint8_t>(flags & kNodeLetterMask); }
  int LetterIndex() const { return static_cast<int>(flags & 31); }
  int Level() const { return static_cast<int>((flags & kNodeLevelMask) >> kNodeLevelShift); }
  bool IsLast() const { return (flags & kNodeLast) != 0; }
  bool EndsWord() const { return (flags & kNodeWordEnd) != 0; }
  int Bucket() const { return static_cast<int>(bucket & kNodeBucketMask); }
};

// The move generator's form of a node, at the same index as the file's node:
// the letter and flags unpacked, and the letters of the sibling run from
// this node to the end of its list as a bit mask by letter index (at a
// list's first node, the whole list's letters), so the walk tests a set of
// letters at once. `below` tells how far below the node words end: bit k
// (k < kBelowFar) when one ends k letters below it (bit 0: at the node
// itself), bit kBelowFar when one ends that many letters below or more; a
// walk with room for only some lengths skips branches that end no word there.
struct DawgWalkNode {
  int32_t child = -1;
  uint32_t runMask = 0;
  uint8_t letter = 0;
  uint8_t letterIndex = 0;
  uint8_t bits = 0;  // the word level (low four bits), kWalkLast, kWalkWordEnd
  uint8_t below = 0;

  static constexpr uint8_t kWalkLevelMask = 0x0F;
  static constexpr uint8_t kWalkLast = 0x10;
  static constexpr uint8_t kWalkWordEnd = 0x20;
  static constexpr int kBelowFar = 7;
  int Level() const { return bits & kWalkLevelMask; }
  bool IsLast() const { return (bits & kWalkLast) != 0; }
  bool EndsWord() const { return (bits & kWalkWordEnd) != 0; }
};

// Bits set in a letter mask (no population-count instruction assumed).
inline int CountLetterBits(uint32_t v) {
  v = v - ((v >> 1) & 0x55555555u);
  v = (v & 0x33333333u) + ((v >> 2) & 0x33333333u);
  v = (v + (v >> 4)) & 0x0F0F0F0Fu;
  return static_cast<int>((v * 0x01010101u) >> 24);
}

struct WordBucket {
  int32_t first = 0;
  int32_t count = 0;
};

struct WordEntry {
  char word[kEntryWordSize] = {};  // upper case, NUL-terminated
  uint16_t number = 0;             // count of definitions
  uint32_t definitionIds[kEntryMaxDefinitions] = {};
  int16_t info = 0;
  uint8_t flag = 0;
};

// Why a graph or extra-list image was refused.
enum class LexFileStatus { kOk, kBadMagic, kInvalid };

// Values of a graph file's header that the lexicon keeps.
struct DawgHeader {
  int32_t value1 = 0;
  int32_t value2 = 0;
  int32_t alphabetCount = 0;
  int32_t language = 0;
  char alphabet[kMaxAlphabetEntries][kAlphabetEntrySize] = {};
  int32_t alphabetLengths[kMaxAlphabetEntries] = {};
};

// One graph with its word entries (the lexicon owns a main and a reversed one).
class DawgNodeList {
 public:
  // Reads a graph image; on any fault the list is left empty.
  LexFileStatus ParseGraph(const uint8_t* data, size_t size, DawgHeader* header);
  // Reads an extra word-list image; on any fault the entries are left empty.
  LexFileStatus ParseExtra(const uint8_t* data, size_t size);
  void Clear();
  void ClearEntries();

  int NodeCount() const { return static_cast<int>(nodes_.size()); }
  const DawgNode* Node(int index) const {
    return index >= 0 && index < NodeCount() ? &nodes_[static_cast<size_t>(index)] : nullptr;
  }
  const std::vector<DawgNode>& Nodes() const { return nodes_; }
  // The walk form of every node (same indexes as Nodes()).
  const DawgWalkNode* WalkNodes() const { return walk_.data(); }
  // True when every sibling list holds strictly increasing letter indexes
  // (our compiler's order): a letter's node is then found from the list's
  // mask by counting the bits below it.
  bool SortedLists() const { return sortedLists_; }
  int EntryCount() const { return static_cast<int>(entries_.size()); }
  int BucketCount() const { return static_cast<int>(buckets_.size()); }
  const WordBucket* Bucket(int index) const;
  const WordEntry* Entry(int index) const;
  int Language() const { return language_; }
  void SetLanguage(int language) { language_ = language; }

  // The node of the text's last letter, walking from the root; null when the
  // text is empty or leaves the graph. With mustEndWord the node must end a
  // word.
  const DawgNode* WalkToNode(const char* text, bool mustEndWord) const;

  // The entry of the word (any case) in the bucket, or null.
  const WordEntry* FindEntry(const char* word, int bucket) const;
  // The entry's 16-bit number minus 1; 0 when the bucket holds no such word.
  int GetEntryValue(const char* word, int bucket) const;
  // The information value and the flag bit of the word's entry; 0 when the
  // word is not in the graph or has no entry.
  int GetWordInfo(const char* word) const;
  int GetWordFlag(const char* word) const;
  // The flag bit of the word ending at node (any case), 0 without an entry.
  int EntryFlag(const char* word, const DawgNode& node) const;

 private:
  void BuildWalkForm();
  uint8_t ListBelow(int list, int depth, std::vector<uint8_t>& state);

  std::vector<DawgNode> nodes_;
  std::vector<DawgWalkNode> walk_;
  bool sortedLists_ = true;
  std::vector<WordBucket> buckets_;
  std::vector<WordEntry> entries_;
  int language_ = 0;
};
