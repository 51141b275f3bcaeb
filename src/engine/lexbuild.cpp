#include "engine/lexbuild.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "engine/dawg.h"

namespace {

// --- little-endian writer ----------------------------------------------------
void PutU16(std::vector<uint8_t>* out, uint32_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>* out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
void PutZeros(std::vector<uint8_t>* out, size_t n) { out->insert(out->end(), n, 0); }

// --- trie and minimisation ---------------------------------------------------
// Words go into a trie (sorted input, so children are appended in letter
// order), then every node's list of children is interned bottom-up: two lists
// with the same letters, word ends, levels and interned child lists are one
// list in the graph. That is the minimal graph in sibling-list form.
struct TrieNode {
  uint8_t letter = 0;  // 'a'..'z'
  uint8_t level = 0;
  bool end = false;
  int32_t firstChild = -1;
  int32_t lastChild = -1;
  int32_t next = -1;
};

struct GraphWord {
  std::string text;
  int level;
};

// A list item: the node's label (letter byte, level, word end) and its
// interned child list + 1 (0 = none).
uint64_t Item(const TrieNode& n, int32_t childList) {
  const uint32_t label =
      n.letter | (n.end ? (static_cast<uint32_t>(n.level) << kNodeLevelShift) | kNodeWordEnd : 0u);
  return static_cast<uint64_t>(label) << 32 | static_cast<uint32_t>(childList + 1);
}
uint32_t ItemFlags(uint64_t item) { return static_cast<uint32_t>(item >> 32); }
int32_t ItemChild(uint64_t item) { return static_cast<int32_t>(item & 0xFFFFFFFFu) - 1; }

// Unique lists of items, stored end to end; open addressing over list ids.
class ListInterner {
 public:
  int32_t Intern(const std::vector<uint64_t>& items) {
    if (table_.empty() || (count() + 1) * 2 > table_.size()) Grow();
    const uint64_t h = Hash(items.data(), items.size());
    size_t slot = h & (table_.size() - 1);
    while (table_[slot] >= 0) {
      if (Equal(table_[slot], items)) return table_[slot];
      slot = (slot + 1) & (table_.size() - 1);
    }
    const int32_t id = static_cast<int32_t>(count());
    offsets_.push_back(pool_.size());
    lengths_.push_back(static_cast<uint32_t>(items.size()));
    pool_.insert(pool_.end(), items.begin(), items.end());
    table_[slot] = id;
    return id;
  }
  size_t count() const { return offsets_.size(); }
  const uint64_t* Items(int32_t id) const { return pool_.data() + offsets_[id]; }
  uint32_t Length(int32_t id) const { return lengths_[id]; }

 private:
  static uint64_t Hash(const uint64_t* p, size_t n) {
    uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    for (size_t i = 0; i < n; ++i) {
      h ^= p[i] + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
      h *= 0xBF58476D1CE4E5B9ull;
    }
    return h ^ (h >> 31);
  }
  bool Equal(int32_t id, const std::vector<uint64_t>& items) const {
    return lengths_[id] == items.size() &&
           std::equal(items.begin(), items.end(), pool_.begin() + offsets_[id]);
  }
  void Grow() {
    std::vector<int32_t> table(table_.empty() ? 1024 : table_.size() * 2, -1);
    for (size_t id = 0; id < count(); ++id) {
      size_t slot = Hash(Items(static_cast<int32_t>(id)), lengths_[id]) & (table.size() - 1);
      while (table[slot] >= 0)
        slot = (slot + 1) & (table.size() - 1);
      table[slot] = static_cast<int32_t>(id);
    }
    table_.swap(table);
  }

  std::vector<uint64_t> pool_;
  std::vector<size_t> offsets_;
  std::vector<uint32_t> lengths_;
  std::vector<int32_t> table_;
};

// Builds the node array of the minimal graph of sorted, unique words.
std::vector<DawgNode> BuildGraph(const std::vector<GraphWord>& words) {
  std::vector<TrieNode> trie(1);  // node 0: the root, its children the first letters
  std::vector<int32_t> path(1, 0);
  const std::string* previous = nullptr;
  for (const GraphWord& w : words) {
    size_t common = 0;
    if (previous)
      while (common < previous->size() && common < w.text.size() &&
             (*previous)[common] == w.text[common])
        ++common;
    path.resize(common + 1);
    for (size_t i = common; i < w.text.size(); ++i) {
      const int32_t parent = path.back();
      const int32_t id = static_cast<int32_t>(trie.size());
      trie.emplace_back();
      trie[id].letter = static_cast<uint8_t>(w.text[i]);
      if (trie[parent].lastChild >= 0)
        trie[trie[parent].lastChild].next = id;
      else
        trie[parent].firstChild = id;
      trie[parent].lastChild = id;
      path.push_back(id);
    }
    TrieNode& last = trie[path.back()];
    last.end = true;
    last.level = static_cast<uint8_t>(w.level);
    previous = &w.text;
  }

  // Children always come after their parent, so a reverse sweep interns
  // every child list before the lists that point to it.
  ListInterner lists;
  std::vector<int32_t> childList(trie.size(), -1);
  std::vector<uint64_t> items;
  for (size_t i = trie.size(); i-- > 0;) {
    if (trie[i].firstChild < 0) continue;
    items.clear();
    for (int32_t c = trie[i].firstChild; c >= 0; c = trie[c].next)
      items.push_back(Item(trie[c], childList[c]));
    childList[i] = lists.Intern(items);
  }
  std::vector<DawgNode> nodes;
  if (childList[0] < 0) return nodes;

  // Lay the lists out breadth first from the root list, which starts at 0.
  std::vector<int32_t> position(lists.count(), -1);
  std::vector<int32_t> order{childList[0]};
  position[childList[0]] = 0;
  int32_t next = static_cast<int32_t>(lists.Length(childList[0]));
  for (size_t q = 0; q < order.size(); ++q) {
    const int32_t id = order[q];
    for (uint32_t k = 0; k < lists.Length(id); ++k) {
      const int32_t child = ItemChild(lists.Items(id)[k]);
      if (child >= 0 && position[child] < 0) {
        position[child] = next;
        next += static_cast<int32_t>(lists.Length(child));
        order.push_back(child);
      }
    }
  }
  nodes.resize(static_cast<size_t>(next));
  for (int32_t id : order) {
    const uint32_t length = lists.Length(id);
    for (uint32_t k = 0; k < length; ++k) {
      const uint64_t item = lists.Items(id)[k];
      DawgNode& n = nodes[static_cast<size_t>(position[id]) + k];
      const int32_t child = ItemChild(item);
      n.child = child >= 0 ? position[child] : -1;
      n.flags = ItemFlags(item) | (k + 1 == length ? kNodeLast : 0u);
    }
  }
  return nodes;
}

int32_t FindEndNode(const std::vector<DawgNode>& nodes, const std::string& word) {
  int32_t index = 0, match = -1;
  for (char c : word) {
    match = -1;
    for (int32_t i = index; index >= 0 && i < static_cast<int32_t>(nodes.size()); ++i) {
      if (nodes[i].LetterIndex() == (c & 31)) {
        match = i;
        break;
      }
      if (nodes[i].IsLast()) break;
    }
    if (match < 0) return -1;
    index = nodes[match].child;
  }
  return match;
}

std::vector<uint8_t> WriteGraph(const std::vector<DawgNode>& nodes, int32_t language,
                                int32_t wordCount) {
  std::vector<uint8_t> out;
  out.reserve(kDawgNodesOffset + nodes.size() * kDawgNodeSize);
  for (char c : kDawgMagic)
    out.push_back(static_cast<uint8_t>(c));
  PutU32(&out, static_cast<uint32_t>(wordCount));  // header value 1
  PutU32(&out, 0);                                 // header value 2: not paged
  PutU32(&out, 27);                                // alphabet: the blank and A..Z
  PutU32(&out, static_cast<uint32_t>(language));
  PutZeros(&out, kDawgAlphabetOffset - out.size());
  out.push_back(0);  // the blank: an empty entry
  for (char c = 'A'; c <= 'Z'; ++c) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(0);
  }
  PutZeros(&out, kDawgNodeCountOffset - out.size());
  PutU32(&out, static_cast<uint32_t>(nodes.size()));
  for (const DawgNode& n : nodes) {
    PutU32(&out, static_cast<uint32_t>(n.child));
    PutU32(&out, n.flags);
    PutU32(&out, n.bucket);
  }
  return out;
}

bool ValidWord(const LexSourceWord& w, std::string* error) {
  bool ok = !w.text.empty() && w.text.size() <= static_cast<size_t>(kMaxWordLetters) &&
            w.level >= 0 && w.level <= kMaxWordLevel;
  for (char c : w.text)
    ok = ok && c >= 'a' && c <= 'z';
  if (!ok && error) *error = "invalid word or level: \"" + w.text + "\"";
  return ok;
}

// Sorted, merged copy of the input.
bool Normalise(const std::vector<LexSourceWord>& words, std::vector<LexSourceWord>* out,
               std::string* error) {
  std::vector<const LexSourceWord*> sorted;
  sorted.reserve(words.size());
  for (const LexSourceWord& w : words) {
    if (!ValidWord(w, error)) return false;
    sorted.push_back(&w);
  }
  std::stable_sort(
      sorted.begin(), sorted.end(),
      [](const LexSourceWord* a, const LexSourceWord* b) { return a->text < b->text; });
  for (const LexSourceWord* w : sorted) {
    if (out->empty() || out->back().text != w->text) {
      out->push_back(LexSourceWord{w->text, w->level, w->junior, {}});
    }
    LexSourceWord& m = out->back();
    m.level = std::min(m.level, w->level);
    m.junior = m.junior || w->junior;
    for (const std::string& d : w->definitions)
      if (std::find(m.definitions.begin(), m.definitions.end(), d) == m.definitions.end())
        m.definitions.push_back(d);
  }
  return true;
}

std::string CleanDefinition(const std::string& text) {
  std::string s = text;
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

struct EntryRecord {
  int bucket;
  const LexSourceWord* word;
  std::vector<uint32_t> ids;
};

}  // namespace

std::vector<uint8_t> BuildDefinitionsFile(
    const std::vector<std::pair<std::string, std::string>>& records) {
  std::string text;
  for (const auto& r : records) {
    text += r.first;
    text += kDefinitionSeparator;
    text += CleanDefinition(r.second);
    text += kDefinitionEnd;
  }
  ScrambleDefinitions(text.data(), text.size());
  return std::vector<uint8_t>(text.begin(), text.end());
}

bool CompileLexicon(const std::vector<LexSourceWord>& input, int32_t language, CompiledLexicon* out,
                    std::string* error) {
  std::vector<LexSourceWord> words;
  if (!Normalise(input, &words, error)) return false;
  *out = CompiledLexicon();
  out->wordCount = static_cast<int>(words.size());

  std::vector<GraphWord> forward, reversed;
  forward.reserve(words.size());
  reversed.reserve(words.size());
  for (const LexSourceWord& w : words) {
    forward.push_back({w.text, w.level});
    reversed.push_back({std::string(w.text.rbegin(), w.text.rend()), w.level});
  }
  std::sort(reversed.begin(), reversed.end(),
            [](const GraphWord& a, const GraphWord& b) { return a.text < b.text; });
  std::vector<DawgNode> mainNodes = BuildGraph(forward);
  const std::vector<DawgNode> reversedNodes = BuildGraph(reversed);

  // Definitions get ids in the order of the sorted words; equal texts (one
  // sense shared by synonyms) share an id.
  std::unordered_map<std::string, uint32_t> definitionIds;
  std::vector<std::pair<std::string, std::string>> records;
  // Buckets: one per end node carrying entries (bucket 0 stays empty), folded
  // into the 16-bit range when there are more; a bucket's words are told
  // apart by their text.
  std::unordered_map<int32_t, int> bucketOfNode;
  std::vector<EntryRecord> entries;
  for (const LexSourceWord& w : words) {
    if (!w.junior && w.definitions.empty()) continue;
    EntryRecord e{0, &w, {}};
    for (size_t k = 0; k < w.definitions.size() && k < kEntryMaxDefinitions; ++k) {
      const std::string text = CleanDefinition(w.definitions[k]);
      auto [it, added] =
          definitionIds.emplace(text, static_cast<uint32_t>(definitionIds.size() + 1));
      if (added) records.emplace_back(std::to_string(it->second), text);
      e.ids.push_back(it->second);
    }
    const int32_t node = FindEndNode(mainNodes, w.text);
    auto [it, added] = bucketOfNode.emplace(node, 0);
    if (added) it->second = 1 + static_cast<int>((bucketOfNode.size() - 1) % (kMaxBuckets - 1));
    e.bucket = it->second;
    mainNodes[static_cast<size_t>(node)].bucket = static_cast<uint32_t>(e.bucket);
    entries.push_back(std::move(e));
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const EntryRecord& a, const EntryRecord& b) { return a.bucket < b.bucket; });
  const int bucketCount =
      1 + static_cast<int>(std::min<size_t>(bucketOfNode.size(), kMaxBuckets - 1));
  std::vector<WordBucket> buckets(static_cast<size_t>(bucketCount));
  for (size_t i = entries.size(); i-- > 0;) {
    WordBucket& b = buckets[static_cast<size_t>(entries[i].bucket)];
    b.first = static_cast<int32_t>(i);
    ++b.count;
  }

  std::vector<uint8_t>& dic = out->extraList;
  for (int i = 0; i < kExtraHeaderValues; ++i)
    PutU32(&dic, i == kExtraEntryCountField    ? static_cast<uint32_t>(entries.size())
                 : i == kExtraBucketCountField ? static_cast<uint32_t>(bucketCount)
                                               : 0u);
  for (const WordBucket& b : buckets) {
    PutU32(&dic, static_cast<uint32_t>(b.first));
    PutU32(&dic, static_cast<uint32_t>(b.count));
  }
  for (const EntryRecord& e : entries) {
    const size_t at = dic.size();
    PutZeros(&dic, kWordEntrySize);
    for (size_t i = 0; i < e.word->text.size(); ++i)
      dic[at + i] = static_cast<uint8_t>(e.word->text[i] - 'a' + 'A');
    dic[at + kEntryNumberOffset] = static_cast<uint8_t>(e.ids.size());
    for (size_t k = 0; k < e.ids.size(); ++k)
      for (int b = 0; b < 4; ++b)
        dic[at + kEntryDefinitionIdsOffset + 4 * k + b] = static_cast<uint8_t>(e.ids[k] >> (8 * b));
    dic[at + kEntryFlagOffset] = e.word->junior ? kEntryJuniorFlag : 0;
  }

  out->mainGraph = WriteGraph(mainNodes, language, out->wordCount);
  out->reversedGraph = WriteGraph(reversedNodes, language, out->wordCount);
  out->definitions = BuildDefinitionsFile(records);
  out->mainNodes = static_cast<int>(mainNodes.size());
  out->reversedNodes = static_cast<int>(reversedNodes.size());
  out->entryCount = static_cast<int>(entries.size());
  out->bucketCount = bucketCount;
  out->definitionCount = static_cast<int>(records.size());
  return true;
}
