// The move generator and candidate scoring: which placements are found on
// given boards, and what each scores.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "robot_fixture.h"

namespace {

using robotfix::Grid;
using robotfix::Words;
using Strings = std::vector<std::string>;

class MoveGenTest : public robotfix::RobotTest {};

TEST_F(MoveGenTest, EveryFirstMoveCoversTheCentre) {
  Init(Words({"at", "ta", "tat", "cat", "act"}), "movegen-centre");
  // Worked out by hand: the two-letter words at both places through (7,7),
  // the three-letter ones at all three, in both directions; no premiums.
  const Strings expected = {"act 5 7 a 5", "act 6 7 a 5", "act 7 5 d 5", "act 7 6 d 5",
                            "act 7 7 a 5", "act 7 7 d 5", "at 6 7 a 2",  "at 7 6 d 2",
                            "at 7 7 a 2",  "at 7 7 d 2",  "cat 5 7 a 5", "cat 6 7 a 5",
                            "cat 7 5 d 5", "cat 7 6 d 5", "cat 7 7 a 5", "cat 7 7 d 5",
                            "ta 6 7 a 2",  "ta 7 6 d 2",  "ta 7 7 a 2",  "ta 7 7 d 2"};
  EXPECT_EQ(Placements(Grid(), "cat"), expected);
}

TEST_F(MoveGenTest, ExactPlacementsAroundAWordOnTheBoard) {
  Init(Words({"at", "ta", "tat", "cat"}), "movegen-exact");
  Grid grid;
  grid.Lay(7, 6, "cat");
  // Checked by hand. Across: parallel plays above and below, where every
  // new tile also makes a down word with the tile it touches. Down: words
  // through c, a and t.
  const Strings expected = {
      "at 7 7 d 2",   // t under the board's a
      "at 8 6 a 4",   // a over the board's t (down "at"), t beside it
      "at 8 6 d 2",   // a over the board's t
      "at 8 8 a 4",   // a under the board's t (down "ta"), t beside it
      "cat 6 7 d 5",  // a and t under the board's c
      "ta 7 6 a 6",   // t over a, a over t: two cross words
      "ta 7 6 d 2",   // t over the board's a
      "ta 7 8 a 6",   // t under a, a under t
      "ta 8 7 d 2",   // a under the board's t
      "tat 8 5 d 3",  // t and a over the board's t
      "tat 8 7 d 3",  // a and t under the board's t
  };
  EXPECT_EQ(Placements(grid, "ta"), expected);
}

TEST_F(MoveGenTest, BlanksStandOnlyForLettersTheRackLacksAndSwapWithTiles) {
  Init(Words({"tee", "eat", "tea", "ate", "at", "ee"}), "movegen-blank");
  Grid grid;
  grid.Lay(7, 7, "at");
  const Strings found = Placements(grid, "e`");
  // "tee" down from the board's t: the walk lays the tile first, the variant
  // swaps tile and blank.
  EXPECT_TRUE(Has(found, "teE 8 7 d 2")) << testing::PrintToString(found);
  EXPECT_TRUE(Has(found, "tEe 8 7 d 2"));
  // The blank standing for a letter the rack lacks.
  EXPECT_TRUE(Has(found, "Tea 7 5 d 2"));
  // Every stored move: a blank shown as a letter never leaves that letter's
  // tile on the rack, and the counts add up to the rack.
  for (int i = 0; i < robot_.GetMoveCount(); ++i) {
    const RobotMove& m = *robot_.GetMoveSlot(i);
    int blanks = 0;
    for (const char* c = m.word; *c; ++c)
      if (IsBlankLetter(*c)) {
        ++blanks;
        EXPECT_EQ(m.leaveCounts[LetterIndex(*c)], 0) << m.word;
      }
    EXPECT_EQ(m.playedCounts[kBlankIndex], blanks) << m.word;
    EXPECT_EQ(m.playedCounts[kBlankIndex] + m.leaveCounts[kBlankIndex], 1);
    EXPECT_EQ(m.playedCounts[LetterIndex('e')] + m.leaveCounts[LetterIndex('e')], 1);
  }
}

TEST_F(MoveGenTest, SquaresBetweenTilesTakeOnlyLettersThatJoinThem) {
  Init(Words({"cat", "at", "ate", "eat", "tea", "qi"}), "movegen-cross");
  Grid grid;
  grid.Lay(6, 7, "c").Lay(8, 7, "t");  // (7,7) between c and t: only a fits
  grid.Lay(6, 3, "q").Lay(8, 3, "a");  // (7,3): "q?a" starts no word
  const Strings found = Placements(grid, "aet");
  EXPECT_TRUE(Has(found, "cat 7 6 d 5")) << testing::PrintToString(found);
  for (int i = 0; i < robot_.GetMoveCount(); ++i) {
    const RobotMove& m = *robot_.GetMoveSlot(i);
    for (int k = 0; k < m.length; ++k) {
      const int r = m.row + (m.direction ? k : 0);
      const int c = m.column + (m.direction ? 0 : k);
      EXPECT_FALSE(r == 7 && c == 3) << robotfix::Describe(m);
      if (r == 7 && c == 7) {
        EXPECT_EQ(m.word[k], 'a') << robotfix::Describe(m);
      }
    }
  }
}

TEST_F(MoveGenTest, WordLevelLimitsMainAndCrossWords) {
  std::vector<LexSourceWord> words = Words({"be", "ca", "at"});
  words.push_back({"cab", 5, false, {}});
  Init(words, "movegen-level");
  Grid grid;
  grid.Lay(6, 7, "ca", true);  // b at (8,7) would make "cab" down
  struct Case {
    int32_t limit;
    bool cab;
    bool be;
  };
  for (const Case& c : {Case{3, false, false}, Case{5, true, true}, Case{-1, true, true}}) {
    settings_.maxWordLevel = c.limit;
    robot_.CreateEvaluators(&settings_);
    const Strings found = Placements(grid, "bea");
    EXPECT_EQ(Has(found, "cab 7 6 d 7"), c.cab) << c.limit;
    EXPECT_EQ(Has(found, "be 7 8 a 11"), c.be) << c.limit;  // be + cross cab
  }
  // On an empty board too.
  settings_.maxWordLevel = 4;
  robot_.CreateEvaluators(&settings_);
  const Strings first = Placements(Grid(), "cab");
  EXPECT_TRUE(Has(first, "ca 6 7 a 4"));
  for (const std::string& p : first)
    EXPECT_NE(p.rfind("cab", 0), 0u) << p;
}

TEST_F(MoveGenTest, ASecondGenerationWithoutReloadFindsTheSame) {
  Init(Words({"at", "ta", "tat", "cat"}), "movegen-again");
  Grid grid;
  grid.Lay(7, 6, "cat").Lay(3, 8, "ta", true);
  const Strings first = Placements(grid, "ta");
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(Generate(), first);
}

TEST_F(MoveGenTest, WalksStayOnTheRulesBoard) {
  // Rack of 3: a 7 x 7 board with its centre at (3,3).
  Init(Words({"at", "ta", "tat", "cat", "act"}), "movegen-small", 3);
  const Strings found = Placements(Grid(), "cat");
  ASSERT_FALSE(found.empty());
  EXPECT_TRUE(Has(found, "cat 1 3 a 5"));
  for (int i = 0; i < robot_.GetMoveCount(); ++i) {
    const RobotMove& m = *robot_.GetMoveSlot(i);
    const int last = (m.direction ? m.row : m.column) + m.length - 1;
    const int fixed = m.direction ? m.column : m.row;
    EXPECT_EQ(fixed, 3) << m.word;
    EXPECT_LT(last, 7) << m.word;
    EXPECT_LE(m.direction ? m.row : m.column, 3) << m.word;
    EXPECT_GE(last, 3) << m.word;
  }
  // A word longer than the side never fits: words end at the board's edge.
  Grid edge;
  edge.Lay(3, 5, "ca");
  const Strings atEdge = Placements(edge, "t");
  EXPECT_FALSE(Has(atEdge, "cat 5 3 a 5"));
  EXPECT_TRUE(Has(atEdge, "at 6 3 d 2"));
}

TEST_F(MoveGenTest, ScoresPremiumsUnderNewTilesOnly) {
  Init(Words({"cat", "at"}), "movegen-premium", 7, true);
  // (7,7) double word; (5,5) triple letter; a blank is worth 0 anywhere.
  Grid cross;
  cross.Lay(5, 7, "cA", true);                               // a blank A on the board
  EXPECT_TRUE(Has(Placements(cross, "at"), "at 6 7 a 12"));  // 2x(1+1) + 2x(3+0+1)
  Grid plain;
  plain.Lay(5, 7, "ca", true);
  EXPECT_TRUE(Has(Placements(plain, "at"), "at 6 7 a 14"));  // 2x(1+1) + 2x(3+1+1)
  Grid right;
  right.Lay(5, 6, "at");
  EXPECT_TRUE(Has(Placements(right, "c"), "cat 5 5 a 11"));  // c on triple letter
  EXPECT_TRUE(Has(Placements(right, "`"), "Cat 5 5 a 2"));   // a blank there adds nothing
  Grid centre;
  centre.Lay(7, 8, "at");
  EXPECT_TRUE(Has(Placements(centre, "`"), "Cat 7 7 a 4"));  // blank on double word doubles
  EXPECT_TRUE(Has(Placements(centre, "c"), "cat 7 7 a 10"));
  // A tile already on a premium square earns its face value only.
  Grid onCentre;
  onCentre.Lay(7, 7, "at");
  EXPECT_TRUE(Has(Placements(onCentre, "c"), "cat 6 7 a 5"));
}

TEST_F(MoveGenTest, TileBonusesForSevenEightAndNineNewTiles) {
  Init(Words({"retains", "retrains", "restrains"}), "movegen-bonus", 9);
  EXPECT_TRUE(Has(Placements(Grid(), "retains"), "retains 7 7 a 57"));
  EXPECT_TRUE(Has(Placements(Grid(), "retrains"), "retrains 7 7 a 83"));
  EXPECT_TRUE(Has(Placements(Grid(), "restrains"), "restrains 6 7 a 109"));
  // Seven new tiles through a tile on the board still earn the 50.
  Grid grid;
  grid.Lay(7, 7, "r");
  EXPECT_TRUE(Has(Placements(grid, "etrains"), "retrains 7 7 a 58"));
}

TEST_F(MoveGenTest, SevenOfEightDropsMovesLayingAllEight) {
  Init(Words({"retrains", "retains"}), "movegen-8", 8);
  RobotGameView view;
  view.flags = kFlagSevenOfEight;
  robot_.SetGameView(view);
  const Strings found = Placements(Grid(), "retrains");
  EXPECT_FALSE(Has(found, "retrains 7 7 a 83"));
  EXPECT_TRUE(Has(found, "retains 7 7 a 57"));
  view.flags = kFlagSevenOfEight | kFlagEightOfEight;
  robot_.SetGameView(view);
  EXPECT_TRUE(Has(Placements(Grid(), "retrains"), "retrains 7 7 a 83"));
}

TEST_F(MoveGenTest, StoredMovesCarryTheirNewLettersAndScore) {
  Init(Words({"at", "ta", "tat", "cat"}), "movegen-store");
  Grid grid;
  grid.Lay(7, 6, "cat");
  Placements(grid, "t`");
  bool sawBlank = false;
  for (int i = 0; i < robot_.GetMoveCount(); ++i) {
    const RobotMove& m = *robot_.GetMoveSlot(i);
    EXPECT_EQ(m.evalValue, static_cast<float>(m.score)) << m.word;
    for (int k = 0; k < m.length; ++k) {
      const int r = m.row + (m.direction ? k : 0);
      const int c = m.column + (m.direction ? 0 : k);
      const char onBoard = grid.cells[r * kBoardStride + c];
      const char expected = onBoard ? 0 : (IsBlankLetter(m.word[k]) ? '`' : m.word[k]);
      EXPECT_EQ(m.placedLetters[k], expected) << m.word << " place " << k;
      sawBlank = sawBlank || expected == '`';
    }
  }
  EXPECT_TRUE(sawBlank);
  // Each placement is stored once.
  Strings stored;
  for (int i = 0; i < robot_.GetMoveCount(); ++i)
    stored.push_back(robotfix::Describe(*robot_.GetMoveSlot(i)));
  std::sort(stored.begin(), stored.end());
  EXPECT_EQ(std::adjacent_find(stored.begin(), stored.end()), stored.end());
  EXPECT_TRUE(Has(stored, "tAt 8 7 d 2"));
}

TEST_F(MoveGenTest, ScanBoardListsTheWordsOnTheBoard) {
  Init(Words({"cat"}), "movegen-scan");
  Grid grid;
  grid.Lay(7, 6, "cAt").Lay(8, 8, "o", true);
  robot_.PreparePosition(grid.cells, "", false, 0);
  std::vector<RobotMove> list;
  robot_.ScanBoard(&list);
  Strings words;
  for (const RobotMove& m : list)
    words.push_back(robotfix::Describe(m));
  std::sort(words.begin(), words.end());
  EXPECT_EQ(words, (Strings{"cat 6 7 a 0", "to 8 7 d 0"}));
}

// Every placement by brute force: each word of the lexicon at each place of
// each line, kept when it joins the board (or covers the centre of an empty
// one), its board letters match, every cross word is a word and the rack
// holds its new tiles (one blank at most, standing for a letter the rack
// lacks, at each of that letter's new places in turn).
Strings BruteForce(const Grid& grid, const std::string& rack, const std::set<std::string>& dict) {
  auto cell = [&](int r, int c) { return grid.cells[r * kBoardStride + c]; };
  bool empty = true;
  for (char c : grid.cells)
    empty = empty && !c;
  int have[32] = {};
  for (char c : rack)
    ++have[LetterIndex(c)];
  Strings out;
  for (int dir = 0; dir < 2; ++dir)
    for (int line = 0; line < 15; ++line)
      for (int start = 0; start < 15; ++start)
        for (const std::string& w : dict) {
          const int n = static_cast<int>(w.size());
          if (start + n > 15) continue;
          auto at = [&](int p) { return dir ? cell(p, line) : cell(line, p); };
          if ((start > 0 && at(start - 1)) || (start + n < 15 && at(start + n))) continue;
          bool ok = true, fresh = false, joins = false;
          int need[32] = {};
          std::string laid = w;
          for (int i = 0; i < n && ok; ++i) {
            const int p = start + i;
            const int r = dir ? p : line, c = dir ? line : p;
            if (const char b = at(p)) {
              ok = (b | 0x20) == w[i];
              laid[i] = b;
              joins = true;
              continue;
            }
            fresh = true;
            ++need[LetterIndex(w[i])];
            if (empty && r == 7 && c == 7) joins = true;
            std::string cross(1, w[i]);
            for (int k = 1; dir ? c - k >= 0 && cell(r, c - k) : r - k >= 0 && cell(r - k, c); ++k)
              cross.insert(cross.begin(),
                           static_cast<char>((dir ? cell(r, c - k) : cell(r - k, c)) | 0x20));
            for (int k = 1; dir ? c + k < 15 && cell(r, c + k) : r + k < 15 && cell(r + k, c); ++k)
              cross += static_cast<char>((dir ? cell(r, c + k) : cell(r + k, c)) | 0x20);
            if (cross.size() > 1) {
              joins = true;
              ok = dict.count(cross) > 0;
            }
          }
          if (!ok || !fresh || !joins) continue;
          int shortL = -1, deficit = 0;
          for (int L = 1; L < 32; ++L)
            if (need[L] > have[L]) {
              deficit += need[L] - have[L];
              shortL = L;
            }
          if (deficit > have[0]) continue;
          char head[32];
          std::snprintf(head, sizeof head, " %d %d %c", dir ? line : start, dir ? start : line,
                        dir ? 'd' : 'a');
          if (deficit == 0) {
            out.push_back(laid + head);
            continue;
          }
          for (int i = 0; i < n; ++i)  // one blank: any new place of the missing letter
            if (!at(start + i) && LetterIndex(w[i]) == shortL) {
              std::string v = laid;
              v[i] = static_cast<char>(w[i] & ~0x20);
              out.push_back(v + head);
            }
        }
  std::sort(out.begin(), out.end());
  return out;
}

TEST_F(MoveGenTest, MatchesABruteForceSearchOnRandomPositions) {
  std::mt19937 rng(7);
  std::set<std::string> dict;
  while (dict.size() < 160) {
    std::string w;
    for (int k = 2 + static_cast<int>(rng() % 4); k > 0; --k)
      w += "abcde"[rng() % 5];
    dict.insert(w);
  }
  Init(Words(Strings(dict.begin(), dict.end())), "movegen-brute");
  Grid grid;
  int compared = 0;
  for (int turn = 0; turn < 14; ++turn) {
    std::string rack;
    for (int k = 0; k < 6; ++k)
      rack += "abcde"[rng() % 5];
    if (turn % 3 == 1) rack += '`';
    Strings got;
    for (const std::string& p : Placements(grid, rack.c_str()))
      got.push_back(p.substr(0, p.rfind(' ')));
    ASSERT_EQ(got, BruteForce(grid, rack, dict)) << "turn " << turn << " rack " << rack;
    compared += static_cast<int>(got.size());
    if (robot_.GetMoveCount() == 0) continue;
    const RobotMove& m = *robot_.GetMoveSlot(static_cast<int>(rng() % robot_.GetMoveCount()));
    for (int i = 0; i < m.length; ++i) {
      char& c = grid.cells[(m.row + (m.direction ? i : 0)) * kBoardStride + m.column +
                           (m.direction ? 0 : i)];
      if (!c) c = m.word[i];
    }
  }
  EXPECT_GT(compared, 500);
}

// The same lexicon with every sibling list stored in reverse letter order:
// the generator then scans lists instead of indexing them by letter, and
// must find the same placements.
std::vector<uint8_t> ReverseSiblingLists(std::vector<uint8_t> image) {
  const size_t count = (image.size() - kDawgNodesOffset) / kDawgNodeSize;
  auto node = [&](size_t i) { return image.begin() + kDawgNodesOffset + i * kDawgNodeSize; };
  auto flags = [&](size_t i) -> uint32_t {
    uint32_t f = 0;
    std::memcpy(&f, &*node(i) + 4, 4);
    return f;
  };
  auto setFlags = [&](size_t i, uint32_t f) { std::memcpy(&*node(i) + 4, &f, 4); };
  for (size_t first = 0; first < count;) {
    size_t last = first;
    while (!(flags(last) & kNodeLast))
      ++last;
    setFlags(last, flags(last) & ~kNodeLast);
    for (size_t a = first, b = last; a < b; ++a, --b)
      std::swap_ranges(node(a), node(a) + kDawgNodeSize, node(b));
    setFlags(last, flags(last) | kNodeLast);
    first = last + 1;
  }
  return image;
}

TEST_F(MoveGenTest, UnsortedSiblingListsGiveTheSamePlacements) {
  std::mt19937 rng(11);
  std::set<std::string> dict;
  while (dict.size() < 200) {
    std::string w;
    for (int k = 2 + static_cast<int>(rng() % 4); k > 0; --k)
      w += "abcdeft"[rng() % 7];
    dict.insert(w);
  }
  const std::string folder = lexfix::Folder("movegen-unsorted");
  Init(Words(Strings(dict.begin(), dict.end())), "movegen-unsorted");
  ASSERT_TRUE(GetLexicon()->Main().SortedLists());
  std::vector<Grid> grids(1);
  grids.push_back(Grid().Lay(7, 5, "abet").Lay(5, 7, "deft", true));
  grids.push_back(Grid().Lay(7, 5, "fad").Lay(3, 6, "ace", true).Lay(8, 3, "cat"));
  const char* racks[] = {"abcdeft", "ab`eeft", "ccddtt`"};
  std::vector<Strings> sorted;
  for (const Grid& g : grids)
    for (const char* rack : racks)
      sorted.push_back(Placements(g, rack));

  const CompiledLexicon compiled = lexfix::WriteLexicon(
      folder, Words(Strings(dict.begin(), dict.end())), kLanguageEnglish, false);
  lexfix::WriteBytes(lexfix::DictPath(folder, Lexicon::MainGraphName(kLanguageEnglish)),
                     ReverseSiblingLists(compiled.mainGraph));
  lexfix::LoadGlobal(folder, kLanguageEnglish);
  ASSERT_FALSE(GetLexicon()->Main().SortedLists());
  size_t k = 0;
  for (const Grid& g : grids)
    for (const char* rack : racks) {
      EXPECT_EQ(Placements(g, rack), sorted[k]) << "rack " << rack;
      EXPECT_FALSE(sorted[k++].empty());
    }
}

}  // namespace
