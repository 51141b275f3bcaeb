#include "engine/lexicon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "engine/lexbuild.h"
#include "lexicon_fixture.h"
#include "platform/path.h"
#include "temp_dir.h"

namespace {

using lexfix::DictPath;

class LexiconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = lexfix::Folder("small");
    compiled_ = lexfix::WriteLexicon(folder_, lexfix::SmallWords(), kLanguageEnglish);
    lex_ = lexfix::LoadGlobal(folder_, kLanguageEnglish);
  }
  void TearDown() override {
    SetJuniorMode(false);
    DestroyLexicon();
  }

  std::string folder_;
  CompiledLexicon compiled_;
  Lexicon* lex_ = nullptr;
};

TEST_F(LexiconTest, LooksUpWordsInAnyCaseAndOnlyWholeWords) {
  struct Case {
    const char* text;
    bool word;
  };
  const Case cases[] = {{"cat", true},     {"CAT", true},    {"CaTs", true}, {"ca", false},
                        {"c", false},      {"catss", false}, {"", false},    {"zebra", true},
                        {"zebras", false}, {"dog", true},    {"god", false}, {"be", true}};
  for (const Case& c : cases)
    EXPECT_EQ(lex_->IsWord(c.text), c.word) << c.text;
  EXPECT_FALSE(lex_->IsWord(nullptr));
  EXPECT_EQ(compiled_.wordCount, 22);
}

TEST_F(LexiconTest, WordLevelIsStoredLevelMinusTwoAtLeastOne) {
  EXPECT_EQ(lex_->GetWordLevel("cat"), 1);     // level 3
  EXPECT_EQ(lex_->GetWordLevel("cane"), 4);    // level 6
  EXPECT_EQ(lex_->GetWordLevel("zebra"), 10);  // level 12
  EXPECT_EQ(lex_->GetWordLevel("cats"), 2);    // level 4, on a node with children
  EXPECT_EQ(lex_->GetWordLevel("ca"), 1);      // not a word
  EXPECT_EQ(lex_->GetWordLevel("xyz"), 1);

  bool found = false;
  int level = 0;
  lex_->WalkWord(&found, &level, 0, "scat");
  EXPECT_TRUE(found);
  EXPECT_EQ(level, 9);
}

TEST_F(LexiconTest, PrefixWalksAndHookLetters) {
  const int afterCa = lex_->FindPrefixEnd("ca");
  ASSERT_GE(afterCa, 0);
  EXPECT_EQ(lex_->CountSiblings(afterCa), 3);  // b n t
  std::string letters;
  for (int i = afterCa; i < afterCa + 3; ++i)
    letters += static_cast<char>(lex_->Main().Node(i)->Letter());
  EXPECT_EQ(letters, "bnt");
  EXPECT_EQ(lex_->FindPrefixEnd("dog"), -1);  // nothing follows
  EXPECT_EQ(lex_->FindPrefixEnd("cx"), -1);
  EXPECT_EQ(lex_->CountSiblings(-1), 0);
  EXPECT_EQ(lex_->CountSiblings(lex_->Main().NodeCount()), 0);

  const DawgNode* ca = lex_->FindWordNode("ca");
  ASSERT_NE(ca, nullptr);
  EXPECT_FALSE(ca->EndsWord());
  EXPECT_EQ(ca->Letter(), 'a');
  bool found = false;
  EXPECT_NE(lex_->FindPrefixNode("bet", &found), nullptr);
  EXPECT_TRUE(found);
  EXPECT_EQ(lex_->FindPrefixNode("bx", &found), nullptr);
  EXPECT_FALSE(found);

  EXPECT_EQ(lex_->MatchPattern(0, "cat", ""), 's');
  EXPECT_EQ(lex_->MatchPattern(0, "can", ""), 'e');
  EXPECT_EQ(lex_->MatchPattern(0, "cat", "x"), 0);  // something after the hook
  EXPECT_EQ(lex_->MatchPattern(0, "dog", ""), 0);   // no child list
  EXPECT_EQ(lex_->MatchPattern(0, "qat", ""), 0);
  EXPECT_EQ(lex_->MatchPattern(0, "", ""), 0);

  // The reversed graph holds the words backwards.
  EXPECT_NE(lex_->Reversed().WalkToNode("tac", true), nullptr);
  EXPECT_EQ(lex_->Reversed().WalkToNode("cat", true), nullptr);
}

// The walk form tells how far below each node words end (the far bit for
// seven letters or more), in both graphs, and keeps the file's flags.
TEST(WalkFormTest, TellsHowFarBelowWordsEnd) {
  const std::string folder = lexfix::Folder("walk-below");
  lexfix::WriteLexicon(folder,
                       {{"cat", 3, false, {}},
                        {"cats", 4, false, {}},
                        {"catastrophe", 5, false, {}},
                        {"scat", 6, false, {}},
                        {"at", 3, false, {}}},
                       kLanguageEnglish, false);
  const Lexicon* lex = lexfix::LoadGlobal(folder, kLanguageEnglish);
  struct Case {
    bool reversed;
    const char* text;
    unsigned below;
  };
  const Case cases[] = {
      {false, "cat", 0x83},         // cat, cats, and catastrophe 8 letters on
      {false, "cata", 0x80},        // catastrophe 7 letters on
      {false, "c", 0x8C},           // cat, cats, catastrophe
      {false, "catastroph", 0x02},  // catastrophe
      {false, "s", 0x08},           // scat
      {true, "ta", 0x07},           // at, cat, scat read backwards
  };
  for (const Case& c : cases) {
    const DawgNodeList& graph = c.reversed ? lex->Reversed() : lex->Main();
    const DawgNode* node = graph.WalkToNode(c.text, false);
    ASSERT_NE(node, nullptr) << c.text;
    EXPECT_EQ(graph.WalkNodes()[node - graph.Nodes().data()].below, c.below) << c.text;
  }
  for (const DawgNodeList* graph : {&lex->Main(), &lex->Reversed()})
    for (int i = 0; i < graph->NodeCount(); ++i) {
      const DawgNode& n = graph->Nodes()[static_cast<size_t>(i)];
      const DawgWalkNode& w = graph->WalkNodes()[i];
      EXPECT_EQ(w.Level(), n.Level()) << i;
      EXPECT_EQ(w.EndsWord(), n.EndsWord()) << i;
      EXPECT_EQ(w.IsLast(), n.IsLast()) << i;
    }
  DestroyLexicon();
}

TEST_F(LexiconTest, EntriesCarryJuniorFlagsAndDefinitionIds) {
  EXPECT_EQ(lex_->Main().GetWordFlag("damn"), 1);
  EXPECT_EQ(lex_->Main().GetWordFlag("DaMn"), 1);
  EXPECT_EQ(lex_->Main().GetWordFlag("cat"), 0);
  EXPECT_EQ(lex_->Main().GetWordFlag("dam"), 0);  // prefix only
  EXPECT_EQ(lex_->Main().GetWordFlag("tea"), 0);  // word without an entry
  EXPECT_EQ(lex_->Main().GetWordInfo("tea"), 0);
  EXPECT_EQ(lex_->Main().GetWordInfo("nothing"), 0);

  const DawgNode* node = lex_->FindWordNode("cat");
  ASSERT_NE(node, nullptr);
  const WordEntry* entry = lex_->Main().FindEntry("cat", node->Bucket());
  ASSERT_NE(entry, nullptr);
  EXPECT_STREQ(entry->word, "CAT");
  ASSERT_EQ(entry->number, 2);
  EXPECT_EQ(lex_->Main().GetEntryValue("cat", node->Bucket()), 1);
  EXPECT_EQ(lex_->Main().GetEntryValue("cab", node->Bucket()), 0);

  ASSERT_TRUE(lex_->DefinitionsLoaded());
  const std::string first = lex_->FindDefinition(std::to_string(entry->definitionIds[0]).c_str());
  const std::string second = lex_->FindDefinition(std::to_string(entry->definitionIds[1]).c_str());
  EXPECT_EQ(first, "(n.) feline");
  EXPECT_EQ(second, "(v.) to hoist an anchor");
}

TEST_F(LexiconTest, HeaderAlphabetAndLanguageAreKept) {
  EXPECT_EQ(lex_->Header().alphabetCount, 27);
  EXPECT_STREQ(lex_->Header().alphabet[0], "");
  EXPECT_STREQ(lex_->Header().alphabet[1], "A");
  EXPECT_STREQ(lex_->Header().alphabet[26], "Z");
  EXPECT_EQ(lex_->Header().value1, 22);
  EXPECT_EQ(lex_->Language(), kLanguageEnglish);
  EXPECT_EQ(lex_->Main().Language(), kLanguageEnglish);
}

TEST_F(LexiconTest, DefinitionIsFoundOnlyByItsExactKey) {
  lexfix::WriteBytes(DictPath(folder_, Lexicon::DefinitionsName(kLanguageEnglish)),
                     BuildDefinitionsFile({{"cat", "a small feline"},
                                           {"Cat", "written with a capital"},
                                           {"cats", std::string(3000, 'x')}}));
  ASSERT_TRUE(lex_->Load(kLanguageEnglish, 0));
  EXPECT_STREQ(lex_->FindDefinition("cat"), "a small feline");
  EXPECT_STREQ(lex_->FindDefinition("Cat"), "written with a capital");
  EXPECT_EQ(lex_->FindDefinition("CAT"), nullptr);
  EXPECT_EQ(lex_->FindDefinition("ca"), nullptr);
  EXPECT_EQ(lex_->FindDefinition("cat "), nullptr);
  EXPECT_EQ(lex_->FindDefinition(""), nullptr);
  // A definition longer than the shared buffer is cut, not overflowed.
  EXPECT_EQ(std::strlen(lex_->FindDefinition("cats")), kDefinitionBufferSize - 1);
}

TEST_F(LexiconTest, MissingDefinitionsFileIsASupportedState) {
  platform::RemoveFile(DictPath(folder_, Lexicon::DefinitionsName(kLanguageEnglish)).c_str());
  EXPECT_TRUE(lex_->Load(kLanguageEnglish, 0));
  EXPECT_FALSE(lex_->DefinitionsLoaded());
  EXPECT_EQ(lex_->FindDefinition("1"), nullptr);
  EXPECT_TRUE(lex_->IsWord("cat"));
}

TEST_F(LexiconTest, MissingGraphIsReportedAndLeavesAnEmptyGraph) {
  const std::string path = DictPath(folder_, Lexicon::MainGraphName(kLanguageEnglish));
  platform::RemoveFile(path.c_str());
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(lex_->Load(kLanguageEnglish, 0));
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Can't open dictionary: " + path + "\n"), std::string::npos) << out;
  EXPECT_EQ(lex_->Main().NodeCount(), 0);
  EXPECT_FALSE(lex_->IsWord("cat"));
  EXPECT_EQ(lex_->FindPrefixEnd("ca"), -1);
  EXPECT_GT(lex_->Reversed().NodeCount(), 0);
}

// A planted huge graph is refused from its size, and a folder in a graph's
// place as no file, both before anything is read; the extra list is read
// once for both graphs.
TEST_F(LexiconTest, PlantedHugeFilesAndFoldersAreRefusedUnread) {
  // A folder of its own: the planted folder outlives the test.
  const std::string folder = lexfix::Folder("planted");
  lexfix::WriteLexicon(folder, lexfix::SmallWords(), kLanguageEnglish);
  const std::string main = DictPath(folder, Lexicon::MainGraphName(kLanguageEnglish));
  const std::string reversed = DictPath(folder, Lexicon::ReversedGraphName(kLanguageEnglish));
  const std::string extra = DictPath(folder, Lexicon::ExtraListName(kLanguageEnglish));
  ASSERT_TRUE(testsupport::MakeHugeFile(platform::NativePath(main.c_str()), 3ull << 30));
  platform::RemoveFile(reversed.c_str());
  ASSERT_TRUE(platform::MakeDirectory(reversed.c_str()));
  platform::RemoveFile(extra.c_str());
  lex_->SetProgramFolder(folder);
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(lex_->Load(kLanguageEnglish, 0));
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Can't read dictionary: " + main + ": file too large\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find("Can't read dictionary: " + reversed + ": not a file\n"), std::string::npos)
      << out;
  EXPECT_EQ(lex_->Main().NodeCount(), 0);
  EXPECT_EQ(lex_->Reversed().NodeCount(), 0);
  EXPECT_EQ(out.find("Can't open dictionary: " + extra), std::string::npos) << out;
}

TEST_F(LexiconTest, MissingExtraListIsReportedOnce) {
  const std::string extra = DictPath(folder_, Lexicon::ExtraListName(kLanguageEnglish));
  ASSERT_TRUE(platform::RemoveFile(extra.c_str()));
  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(lex_->Load(kLanguageEnglish, 0));
  const std::string out = ::testing::internal::GetCapturedStdout();
  const std::string line = "Can't open dictionary: " + extra + "\n";
  const size_t first = out.find(line);
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_EQ(out.find(line, first + 1), std::string::npos) << out;
  EXPECT_TRUE(lex_->IsWord("cat"));
}

TEST_F(LexiconTest, UnknownLanguageOpensNothingAndUsesEnglishDefinitions) {
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(lex_->Load(7, 0));
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Can't open dictionary: \n"), std::string::npos) << out;
  EXPECT_FALSE(lex_->IsWord("cat"));
  EXPECT_TRUE(lex_->DefinitionsLoaded());
}

// --- damaged files -----------------------------------------------------------

void PutU32(std::vector<uint8_t>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    (*b)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST_F(LexiconTest, DamagedGraphsAreRefusedAsEmpty) {
  const std::vector<uint8_t>& good = compiled_.mainGraph;
  const size_t nodes = kDawgNodesOffset;
  const uint32_t count = static_cast<uint32_t>(compiled_.mainNodes);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool message;
  };
  std::vector<Case> cases;
  auto with = [&](const char* name, bool message, auto change) {
    std::vector<uint8_t> b = good;
    change(&b);
    cases.push_back({name, b, message});
  };
  with("bad magic", false, [](std::vector<uint8_t>* b) { (*b)[0] = 'X'; });
  with("empty file", false, [](std::vector<uint8_t>* b) { b->clear(); });
  with("header only half there", true, [](std::vector<uint8_t>* b) { b->resize(200); });
  with("truncated nodes", true, [&](std::vector<uint8_t>* b) { b->resize(b->size() - 5); });
  with("node count too large", true,
       [&](std::vector<uint8_t>* b) { PutU32(b, kDawgNodeCountOffset, count + 1); });
  with("negative node count", true,
       [&](std::vector<uint8_t>* b) { PutU32(b, kDawgNodeCountOffset, 0x80000000u); });
  with("child past the end", true, [&](std::vector<uint8_t>* b) { PutU32(b, nodes, count); });
  with("child below -1", true, [&](std::vector<uint8_t>* b) { PutU32(b, nodes, 0xFFFFFFFEu); });
  with("last list not closed", true, [&](std::vector<uint8_t>* b) {
    const size_t flags = nodes + (count - 1) * kDawgNodeSize + 4;
    PutU32(b, flags, (*b)[flags] | 0u);  // keeps the letter, drops every flag
  });
  with("alphabet count 33", true,
       [&](std::vector<uint8_t>* b) { PutU32(b, kDawgAlphabetCountOffset, 33); });

  const std::string path = DictPath(folder_, Lexicon::MainGraphName(kLanguageEnglish));
  for (const Case& c : cases) {
    lexfix::WriteBytes(path, c.bytes);
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(lex_->Load(kLanguageEnglish, 0)) << c.name;
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.find("invalid dictionary: " + path) != std::string::npos, c.message)
        << c.name << ": " << out;
    EXPECT_EQ(lex_->Main().NodeCount(), 0) << c.name;
    EXPECT_EQ(lex_->Main().EntryCount(), 0) << c.name;
    EXPECT_FALSE(lex_->IsWord("cat")) << c.name;
    EXPECT_EQ(lex_->Main().GetWordFlag("damn"), 0) << c.name;
    EXPECT_TRUE(lex_->Reversed().WalkToNode("tac", true)) << c.name;
  }
}

TEST_F(LexiconTest, DamagedExtraListsAreRefusedAndWordsStillCheck) {
  const std::vector<uint8_t>& good = compiled_.extraList;
  const size_t buckets = kExtraHeaderSize;
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  auto with = [&](const char* name, auto change) {
    std::vector<uint8_t> b = good;
    change(&b);
    cases.emplace_back(name, b);
  };
  with("100 bytes", [](std::vector<uint8_t>* b) { b->resize(100); });
  with("entries cut short", [](std::vector<uint8_t>* b) { b->resize(b->size() - 1); });
  with("entry count past the file",
       [](std::vector<uint8_t>* b) { PutU32(b, kExtraEntryCountField * 4, 0x10000000u); });
  with("negative bucket count",
       [](std::vector<uint8_t>* b) { PutU32(b, kExtraBucketCountField * 4, 0xFFFFFFFFu); });
  with("bucket past the entries", [&](std::vector<uint8_t>* b) {
    PutU32(b, buckets + kBucketSize, 1000);  // bucket 1's first entry
  });
  with("bucket with a negative count",
       [&](std::vector<uint8_t>* b) { PutU32(b, buckets + kBucketSize + 4, 0xFFFFFFFFu); });

  const std::string path = DictPath(folder_, Lexicon::ExtraListName(kLanguageEnglish));
  for (const auto& [name, bytes] : cases) {
    lexfix::WriteBytes(path, bytes);
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(lex_->Load(kLanguageEnglish, 0)) << name;
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("invalid dictionary: " + path), std::string::npos) << name << ": " << out;
    EXPECT_EQ(lex_->Main().EntryCount(), 0) << name;
    EXPECT_TRUE(lex_->IsWord("damn")) << name;
    EXPECT_EQ(lex_->Main().GetWordFlag("damn"), 0) << name;
    EXPECT_EQ(lex_->Main().GetWordInfo("cat"), 0) << name;
  }
}

TEST_F(LexiconTest, NodeBucketBeyondTheExtraListHasNoEntry) {
  // An extra list with only the empty bucket: every word's bucket number is
  // out of its range.
  std::vector<uint8_t> dic(kExtraHeaderSize + kBucketSize, 0);
  PutU32(&dic, kExtraBucketCountField * 4, 1);
  lexfix::WriteBytes(DictPath(folder_, Lexicon::ExtraListName(kLanguageEnglish)), dic);
  ASSERT_TRUE(lex_->Load(kLanguageEnglish, 0));
  EXPECT_EQ(lex_->Main().BucketCount(), 1);
  EXPECT_EQ(lex_->Main().GetWordFlag("damn"), 0);
  const DawgNode* node = lex_->FindWordNode("cat");
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(lex_->Main().GetEntryValue("cat", node->Bucket()), 0);
}

TEST_F(LexiconTest, FrenchGraphLoadsTheFrenchExtraList) {
  const std::string folder = lexfix::Folder("french");
  lexfix::WriteLexicon(folder, {{"chat", 3, false, {}}, {"merde", 3, true, {}}}, kLanguageFrench,
                       false);
  Lexicon* fr = lexfix::LoadGlobal(folder, kLanguageFrench);
  EXPECT_EQ(fr->LoadedLanguage(), kLanguageFrench);
  EXPECT_TRUE(fr->IsWord("chat"));
  EXPECT_EQ(fr->Main().GetWordFlag("merde"), 1);
  EXPECT_FALSE(fr->DefinitionsLoaded());
}

// --- the compiler ------------------------------------------------------------

TEST(LexiconCompilerTest, SameWordsGiveTheSameBytesInAnyOrder) {
  std::vector<LexSourceWord> words = lexfix::SmallWords();
  CompiledLexicon a, b;
  std::string error;
  ASSERT_TRUE(CompileLexicon(words, 0, &a, &error)) << error;
  std::mt19937 rng(7);
  std::shuffle(words.begin(), words.end(), rng);
  words.push_back(words.front());  // a repeat merges away
  ASSERT_TRUE(CompileLexicon(words, 0, &b, &error)) << error;
  EXPECT_EQ(a.mainGraph, b.mainGraph);
  EXPECT_EQ(a.reversedGraph, b.reversedGraph);
  EXPECT_EQ(a.extraList, b.extraList);
  EXPECT_EQ(a.definitions, b.definitions);
  EXPECT_EQ(b.wordCount, 22);
}

TEST(LexiconCompilerTest, SharesSuffixesAndMergesRepeats) {
  // Without level differences the endings "-ing" of many stems are one list.
  std::vector<LexSourceWord> words;
  for (const char* stem : {"walk", "talk", "jump", "bump", "sing"}) {
    words.push_back({stem, 3, false, {}});
    words.push_back({std::string(stem) + "ing", 3, false, {}});
    words.push_back({std::string(stem) + "ed", 3, false, {}});
  }
  words.push_back({"walk", 8, true, {"first"}});
  words.push_back({"walk", 5, false, {"second", "first"}});
  CompiledLexicon c;
  std::string error;
  ASSERT_TRUE(CompileLexicon(words, 0, &c, &error)) << error;
  EXPECT_EQ(c.wordCount, 15);
  EXPECT_LT(c.mainNodes, 25);  // a trie would need 5*4 + 5*5 = 45 nodes
  EXPECT_EQ(c.definitionCount, 2);

  DawgNodeList graph;
  ASSERT_EQ(graph.ParseGraph(c.mainGraph.data(), c.mainGraph.size(), nullptr), LexFileStatus::kOk);
  ASSERT_EQ(graph.ParseExtra(c.extraList.data(), c.extraList.size()), LexFileStatus::kOk);
  const DawgNode* walk = graph.WalkToNode("walk", true);
  ASSERT_NE(walk, nullptr);
  EXPECT_EQ(walk->Level(), 3);  // the lowest level of the repeats
  EXPECT_EQ(graph.GetWordFlag("walk"), 1);
  EXPECT_EQ(graph.FindEntry("walk", walk->Bucket())->number, 2);
}

TEST(LexiconCompilerTest, RefusesWordsOutsideTheAlphabetAndLevels) {
  const LexSourceWord bad[] = {
      {"Cat", 3, false, {}},  {"it's", 3, false, {}},
      {"", 3, false, {}},     {"abcdefghijklmnop", 3, false, {}},  // 16 letters
      {"cat", 16, false, {}}, {"cat", -1, false, {}}};
  for (const LexSourceWord& w : bad) {
    CompiledLexicon c;
    std::string error;
    EXPECT_FALSE(CompileLexicon({w}, 0, &c, &error)) << w.text;
    EXPECT_FALSE(error.empty());
  }
  CompiledLexicon empty;
  std::string error;
  ASSERT_TRUE(CompileLexicon({}, 0, &empty, &error));
  DawgNodeList graph;
  EXPECT_EQ(graph.ParseGraph(empty.mainGraph.data(), empty.mainGraph.size(), nullptr),
            LexFileStatus::kOk);
  EXPECT_EQ(graph.NodeCount(), 0);
  EXPECT_EQ(graph.WalkToNode("a", false), nullptr);
}

}  // namespace

// --- the lexicons the build made from the real word lists ----------------------

namespace {

bool HasBuiltLexicon(int32_t language) {
  return platform::FileExists(
      platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(language)).c_str());
}

TEST(BuiltLexiconTest, EnglishHoldsBothSpellingsLevelsFlagsAndDefinitions) {
  if (!HasBuiltLexicon(kLanguageEnglish)) GTEST_SKIP() << "no lexicon built in " TESS_BUILD_DIR;
  Lexicon* lex = lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageEnglish);
  for (const char* w : {"cat", "colour", "color", "organise", "organize", "za", "quixotic"})
    EXPECT_TRUE(lex->IsWord(w)) << w;
  for (const char* w : {"zzxq", "a", "london", "cant", "abcdefghijklmnop"})
    EXPECT_EQ(lex->IsWord(w), std::string(w) == "cant") << w;  // "can't" is out, "cant" is a word
  EXPECT_EQ(lex->GetWordLevel("the"), 1);
  EXPECT_GT(lex->GetWordLevel("quixotic"), lex->GetWordLevel("the"));
  EXPECT_EQ(lex->Main().GetWordFlag("fuck"), 1);
  EXPECT_EQ(lex->Main().GetWordFlag("duck"), 0);
  EXPECT_NE(lex->Reversed().WalkToNode("tac", true), nullptr);

  ASSERT_TRUE(lex->DefinitionsLoaded());
  const DawgNode* node = lex->FindWordNode("cat");
  ASSERT_NE(node, nullptr);
  const WordEntry* entry = lex->Main().FindEntry("cat", node->Bucket());
  ASSERT_NE(entry, nullptr);
  ASSERT_GE(entry->number, 1);
  const char* definition = lex->FindDefinition(std::to_string(entry->definitionIds[0]).c_str());
  ASSERT_NE(definition, nullptr);
  EXPECT_NE(std::string(definition).find("feline"), std::string::npos) << definition;
  DestroyLexicon();
}

// The highest level of a word from a sibling list on (-1 without words).
int HighestLevel(const DawgNodeList& graph, int index, std::vector<int>* memo) {
  if (index < 0 || index >= graph.NodeCount()) return -1;
  int& slot = (*memo)[static_cast<size_t>(index)];
  if (slot != -2) return slot;
  int highest = -1;
  for (int i = index; i < graph.NodeCount(); ++i) {
    const DawgNode& n = *graph.Node(i);
    if (n.EndsWord()) highest = std::max(highest, n.Level());
    highest = std::max(highest, HighestLevel(graph, n.child, memo));
    if (n.IsLast()) break;
  }
  return slot = highest;
}

// Levels are what a player's limit is compared with: a weak player (5 or
// less) knows the everyday words, the default limit (10) every word.
TEST(BuiltLexiconTest, EnglishLevelsPutCommonWordsAtFiveAndEveryWordAtTen) {
  if (!HasBuiltLexicon(kLanguageEnglish)) GTEST_SKIP() << "no lexicon built in " TESS_BUILD_DIR;
  Lexicon* lex = lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageEnglish);
  const auto level = [&](const char* w) {
    const DawgNode* n = lex->Main().WalkToNode(w, true);
    return n ? n->Level() : -1;
  };
  for (const char* w : {"the", "cat", "house", "water", "friend", "garden", "quickly", "jump",
                        "table", "river", "bread", "window", "yellow", "money", "street"}) {
    EXPECT_GE(level(w), 2) << w;
    EXPECT_LE(level(w), 5) << w;
  }
  EXPECT_EQ(level("the"), 2);
  EXPECT_EQ(lex->GetWordLevel("the"), 1);
  EXPECT_GT(level("quixotic"), level("the"));
  EXPECT_EQ(level("zymurgy"), 8);
  EXPECT_EQ(level("syzygy"), 9);
  for (const char* w : {"qaid", "xyst"})
    EXPECT_EQ(level(w), 10) << w;  // the rarest words we ship
  std::vector<int> memo(static_cast<size_t>(lex->Main().NodeCount()), -2);
  EXPECT_EQ(HighestLevel(lex->Main(), 0, &memo), 10);
  DestroyLexicon();
}

TEST(BuiltLexiconTest, FrenchHoldsFoldedWords) {
  if (!HasBuiltLexicon(kLanguageFrench)) GTEST_SKIP() << "no lexicon built in " TESS_BUILD_DIR;
  Lexicon* lex = lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageFrench);
  for (const char* w : {"chat", "etre", "francais", "coeur", "noel"})
    EXPECT_TRUE(lex->IsWord(w)) << w;
  EXPECT_FALSE(lex->IsWord("aujourdhui"));  // "aujourd'hui": apostrophes are out
  // A plain list has no frequencies: every word at the lowest level.
  EXPECT_EQ(lex->Main().WalkToNode("chat", true)->Level(), 2);
  EXPECT_EQ(lex->Main().GetWordFlag("merde"), 1);
  EXPECT_FALSE(lex->DefinitionsLoaded() && lex->FindDefinition("1"));
  DestroyLexicon();
}

}  // namespace
