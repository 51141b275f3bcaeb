// The letter-set index behind the leave counts and the full-rack walks:
// counts checked against a count over the word list itself, the word lengths
// below graph nodes, and a damaged graph that loops back on itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "engine/eval_components.h"
#include "engine/eval_leave_index.h"
#include "engine/lexicon.h"
#include "lexicon_fixture.h"

namespace {

// Words of 2..8 letters from a small alphabet, so that racks make many of
// them and the caps are reached.
std::set<std::string> SomeWords() {
  std::set<std::string> words;
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  const char letters[] = "aaeeiorstnlcd";
  const int perLength[] = {0, 0, 90, 700, 2600, 2600, 2400, 2000, 400};
  for (int length = 2; length <= 8; ++length)
    for (int k = 0; k < perLength[length]; ++k) {
      std::string w;
      for (int i = 0; i < length; ++i)
        w += letters[next() % (sizeof letters - 1)];
      words.insert(w);
    }
  return words;
}

// Words of each length the rack makes (letter counts, index 0 the blanks),
// counted word by word and capped.
void CountByHand(const std::set<std::string>& words, const int32_t letters[kLetterSlots],
                 int maxLength, int32_t counts[kLeaveLengthSlots]) {
  std::fill(counts, counts + kLeaveLengthSlots, 0);
  for (const std::string& w : words) {
    const int length = static_cast<int>(w.size());
    if (length > maxLength) continue;
    int32_t left[kLetterSlots];
    std::copy(letters, letters + kLetterSlots, left);
    int lacking = 0;
    for (char c : w)
      if (left[LetterIndex(c)] > 0)
        --left[LetterIndex(c)];
      else
        ++lacking;
    if (lacking <= letters[kBlankIndex] && counts[length] < kLeaveCountCaps[length])
      ++counts[length];
  }
}

class LeaveIndexTest : public ::testing::Test {
 protected:
  void TearDown() override { DestroyLexicon(); }
};

TEST_F(LeaveIndexTest, CountsMatchACountOverTheWordList) {
  const std::set<std::string> words = SomeWords();
  std::vector<LexSourceWord> source;
  for (const std::string& w : words)
    source.push_back({w, 3, false, {}});
  const std::string folder = lexfix::Folder("leave-index");
  lexfix::WriteLexicon(folder, source, kLanguageEnglish, false);
  const Lexicon* lexicon = lexfix::LoadGlobal(folder, kLanguageEnglish);
  const char pool[] = "aeiorstnlcdbz";
  uint32_t seed = 99;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (int round = 0; round < 400; ++round) {
    int32_t letters[kLetterSlots] = {};
    const int blanks = round % 8;
    letters[kBlankIndex] = blanks;
    std::string rack(static_cast<size_t>(blanks), '`');
    for (int k = blanks; k < 7; ++k) {
      const char c = pool[next() % (sizeof pool - 1)];
      ++letters[LetterIndex(c)];
      rack += c;
    }
    const int maxLength = 2 + round % 8;  // 2..9
    int32_t expected[kLeaveLengthSlots];
    int32_t counted[kLeaveLengthSlots];
    CountByHand(words, letters, maxLength, expected);
    CountLeaveWords(*lexicon, letters, nullptr, 0, maxLength, counted);
    for (int l = 0; l < kLeaveLengthSlots; ++l)
      ASSERT_EQ(counted[l], expected[l]) << rack << " length " << l << " of " << maxLength;
  }
}

// Racks without blanks counted in batches (racks sharing a leave, as the
// sample rows make them, and racks alike) give what each count alone gives.
TEST_F(LeaveIndexTest, BatchesCountAsEachRackAlone) {
  const std::set<std::string> words = SomeWords();
  std::vector<LexSourceWord> source;
  for (const std::string& w : words)
    source.push_back({w, 3, false, {}});
  const std::string folder = lexfix::Folder("leave-index-batch");
  lexfix::WriteLexicon(folder, source, kLanguageEnglish, false);
  const Lexicon* lexicon = lexfix::LoadGlobal(folder, kLanguageEnglish);
  const std::shared_ptr<const LeaveWordIndex> index = LeaveWordIndex::For(*lexicon);
  const char pool[] = "aaeeiorstnlcdbz";
  uint32_t seed = 7;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) & 0x7FFF;
  };
  for (int round = 0; round < 60; ++round) {
    const int racks = 1 + round % LeaveWordIndex::kBatchRacks;
    const int kept = round % 8;  // letters every rack of the batch shares
    const int size = 1 + round % 9;
    const int maxLength = 2 + round % 8;
    int32_t letters[LeaveWordIndex::kBatchRacks][kLetterSlots] = {};
    int32_t counted[LeaveWordIndex::kBatchRacks][kLeaveLengthSlots] = {};
    int32_t* out[LeaveWordIndex::kBatchRacks];
    for (int k = 0; k < kept && k < size; ++k) {
      const int c = LetterIndex(pool[next() % (sizeof pool - 1)]);
      for (int r = 0; r < racks; ++r)
        ++letters[r][c];
    }
    for (int r = 0; r < racks; ++r) {
      for (int k = std::min(kept, size); k < size; ++k)
        ++letters[r][LetterIndex(pool[next() % (sizeof pool - 1)])];
      out[r] = counted[r];
    }
    index->CountBlankFree(letters, racks, maxLength, kLeaveCountCaps, out);
    for (int r = 0; r < racks; ++r) {
      int32_t alone[kLeaveLengthSlots];
      CountLeaveWords(*lexicon, letters[r], nullptr, 0, maxLength, alone);
      for (int l = 0; l <= maxLength; ++l)
        ASSERT_EQ(counted[r][l], alone[l]) << "round " << round << " rack " << r << " length " << l;
    }
  }
}

TEST_F(LeaveIndexTest, LengthsBelowGraphNodes) {
  const std::string folder = lexfix::Folder("leave-index-lengths");
  lexfix::WriteLexicon(folder, lexfix::SmallWords(), kLanguageEnglish, false);
  const Lexicon* lexicon = lexfix::LoadGlobal(folder, kLanguageEnglish);
  const std::shared_ptr<const LeaveWordIndex> index = LeaveWordIndex::For(*lexicon);
  const DawgNodeList& graph = lexicon->Main();
  auto nodeOf = [&](const char* prefix) {
    const DawgNode* n = graph.WalkToNode(prefix, false);
    return n ? static_cast<int>(n - graph.Node(0)) : -1;
  };
  // cat (ends here), cats (one more); "ca" leads to cab, can, cat (1),
  // cats, cane (2).
  EXPECT_EQ(index->LengthsBelow(nodeOf("cat")), 0b11u);
  EXPECT_EQ(index->LengthsBelow(nodeOf("ca")), 0b110u);
  EXPECT_EQ(index->LengthsBelow(nodeOf("zebr")), 0b10u);
  EXPECT_EQ(index->LengthsBelow(-1), 0u);
  EXPECT_EQ(index->LengthsBelow(graph.NodeCount()), 0u);
  // The same index serves every caller until the graph changes.
  EXPECT_EQ(LeaveWordIndex::For(*lexicon), index);
  EXPECT_TRUE(index->Serves(*lexicon));
}

// A graph whose child index points back to the root passes the loader's
// checks; building the index ends, and counts stay bounded.
TEST_F(LeaveIndexTest, GraphThatLoopsBackEnds) {
  const std::string folder = lexfix::Folder("leave-index-loop");
  CompiledLexicon c = lexfix::WriteLexicon(folder, lexfix::SmallWords(), kLanguageEnglish, false);
  // Point the first node's child (node 0 of the root list) at the root list.
  std::vector<uint8_t> image = c.mainGraph;
  ASSERT_GT(image.size(), kDawgNodesOffset + kDawgNodeSize);
  for (size_t k = 0; k < 4; ++k)
    image[kDawgNodesOffset + k] = 0;
  lexfix::WriteBytes(lexfix::DictPath(folder, Lexicon::MainGraphName(kLanguageEnglish)), image);
  const Lexicon* lexicon = lexfix::LoadGlobal(folder, kLanguageEnglish);
  ASSERT_GT(lexicon->Main().NodeCount(), 0);
  const std::shared_ptr<const LeaveWordIndex> index = LeaveWordIndex::For(*lexicon);
  EXPECT_NE(index->LengthsBelow(0), 0u);
  int32_t letters[kLetterSlots] = {};
  letters[kBlankIndex] = 7;
  int32_t counts[kLeaveLengthSlots];
  CountLeaveWords(*lexicon, letters, nullptr, 0, 7, counts);
  for (int l = 0; l < kLeaveLengthSlots; ++l)
    EXPECT_LE(counts[l], kLeaveCountCaps[l]) << l;
}

}  // namespace
