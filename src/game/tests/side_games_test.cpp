// The training kinds played headless: the anagram game group by group to its
// end, the conundrum against a brute-force search of its rack, the exercise
// against its solutions; the move text and the anagram key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot_settings.h"
#include "game/anagram_key.h"
#include "game/game.h"
#include "game/move_submit.h"
#include "game/move_text.h"
#include "platform/path.h"
#include "game_test_support.h"
#include "platform/crand.h"
#include "recording_sink.h"
#include "turn_fakes.h"

namespace {

std::vector<LexSourceWord> Words(const std::vector<std::string>& texts) {
  std::vector<LexSourceWord> w;
  for (const std::string& t : texts)
    w.push_back({t, 3, false, {}});
  return w;
}

const std::vector<std::string> kFixture = {"notes", "stone", "tones", "onset", "crate", "react",
                                           "trace", "cat",   "act",   "tea",   "eat",   "ate",
                                           "note",  "tone",  "rate",  "tear",  "dog"};

class SideGameTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InstallPlayerRobotFactory();
    RobotWorkerPool().Start();
    const std::string folder = lexfix::Folder("side-games");
    lexfix::WriteLexicon(folder, Words(kFixture), kLanguageEnglish, false);
    lexfix::LoadGlobal(folder, kLanguageEnglish);
  }
  static void TearDownTestSuite() { gametest::EndEngine(); }
  void TearDown() override {
    if (game) game->StopGame();
    game.reset();
    PendingBoardAction() = nullptr;
    GlobalRules().boardSide = 15;
  }

  // One human player in a game of this kind with this rack size.
  void Start(int32_t kind, int32_t rackSize, uint32_t seed = 5) {
    platform::SeedRandom(seed);
    game.reset(CreateGame());
    game->setup.kind = kind;
    game->setup.language = 0;
    game->rackSize = rackSize;
    // A one-row board keeps the side the room gave it: the word length.
    GlobalRules().boardSide = IsSingleRowKind(kind) ? rackSize : 15;
    PlayerSetupEntry e;
    e.playerType = kPlayerHuman;
    std::strcpy(e.name, "Ann");
    SettingsToOptions(RobotSettings(), e.options);  // its robot finds the conundrums
    game->setup.AddPlayer(e);
    game->requiredWordLength = rackSize;
    game->StartNewGame();
  }
  GamePlayer& P() { return *game->Player(0); }
  void Step(int frames = 1) {
    for (int i = 0; i < frames; ++i)
      game->Update();
  }
  void RunUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i)
      Step();
    ASSERT_TRUE(done()) << "state " << game->state << " phase " << P().turnPhase;
  }
  bool Deciding() { return game->state == kStateTurnRunning && P().turnPhase == kPhaseDeciding; }
  // The human lays a word across from (row, column) and presses a button.
  void Play(int row, int column, const char* word) {
    view.LoadBoardLetters(game->board.letters, 15, 15);
    view.LoadRackLetters(P().rack, P().RackPlaces());
    view.Lay(row, column, word);
    PendingBoardAction() = BoardButtonAction(kButtonPlay);
    Step();
  }
  void Press(uint32_t button) {
    PendingBoardAction() = BoardButtonAction(button);
    Step();
  }
  std::string LastNotice() const { return sink.messages.empty() ? "" : sink.messages.back().text; }
  std::string Notices() const {
    std::string all;
    for (const auto& m : sink.messages)
      all += m.text + "|";
    return all;
  }

  turnfakes::TurnUiPort ui;
  turnfakes::FakeBoardView view;
  testsupport::RecordingSink sink{platform::kResultYes};
  std::unique_ptr<CGame, void (*)(CGame*)> game{nullptr, &DeleteGame};
};

TEST(AnagramKey, WordsOfTheSameLettersShareAKey) {
  EXPECT_EQ(AnagramKey("notes", 5), AnagramKey("onset", 5));
  EXPECT_EQ(AnagramKey("crate", 5), AnagramKey("trace", 5));
  EXPECT_NE(AnagramKey("notes", 5), AnagramKey("crate", 5));
  EXPECT_NE(AnagramKey("notes", 5), AnagramKey("noted", 5));
  // Only the first `length` letters count; a short text is padded with NULs.
  EXPECT_EQ(AnagramKey("notesxyz", 5), AnagramKey("stone", 5));
  EXPECT_EQ(AnagramKey("ab", 4), AnagramKey("ba", 4));
}

TEST(FormatMoveText, PositionWordAndPointsByNotation) {
  RobotMove m;
  std::strcpy(m.word, "zEal");
  m.row = 7;
  m.column = 7;
  m.score = 24;
  struct Case {
    uint8_t direction;
    int32_t notation;
    uint32_t parts;
    const char* text;
  } cases[] = {
      {0, 0, kMoveTextAll, "[8h] zEal 24"}, {0, 1, kMoveTextAll, "[h8] zEal 24"},
      {1, 0, kMoveTextAll, "[h8] zEal 24"}, {1, 1, kMoveTextAll, "[8h] zEal 24"},
      {0, 2, kMoveTextAll, "[] zEal 24"},   {0, 0, kMoveTextWord, "zEal "},
      {0, 0, kMoveTextScore, "24"},
  };
  for (const Case& c : cases) {
    m.direction = c.direction;
    std::string out = "x";
    FormatMoveText(m, out, c.notation, nullptr, c.parts);
    EXPECT_EQ(out, std::string("x") + c.text) << int(c.direction) << " " << c.notation;
  }
  CGame crossagram;
  crossagram.setup.kind = kKindCrossagram;
  std::string out;
  FormatMoveText(m, out, 0, &crossagram, kMoveTextAll);
  EXPECT_EQ(out, "[8h] zEal ");  // no points in a crossagram game
}

TEST_F(SideGameTest, AnagramGroupsAreFoundToTheEndOfTheGame) {
  Start(kKindAnagram, 5);
  Step();                                    // state 2: the word map
  ASSERT_EQ(game->anagramWords.size(), 7u);  // two groups of five-letter words
  RunUntil([&] { return Deciding(); });
  // One whole group is on the rack and out of the map.
  const size_t group = game->anagramSolutions.size();
  ASSERT_TRUE(group == 4 || group == 3) << group;
  EXPECT_EQ(game->anagramWords.size(), 7 - group);
  std::vector<std::string> words;
  for (const RobotMove& s : game->anagramSolutions)
    words.push_back(s.word);
  std::string rack(P().rack, 5);
  std::sort(rack.begin(), rack.end());
  std::string letters = words[0];
  std::sort(letters.begin(), letters.end());
  EXPECT_EQ(rack, letters);

  // A word of the wrong length, then a word not in the lexicon: refused.
  Play(0, 0, std::string(words[0], 0, 4).c_str());
  EXPECT_NE(LastNotice().find("That word is not the correct length."), std::string::npos)
      << LastNotice();
  EXPECT_EQ(P().turnPhase, kPhaseDeciding);
  std::string scrambled = words[0];
  std::reverse(scrambled.begin(), scrambled.end());
  if (std::find(words.begin(), words.end(), scrambled) == words.end()) {
    Play(0, 0, scrambled.c_str());
    EXPECT_NE(LastNotice().find("is not in the"), std::string::npos) << LastNotice();
  }
  // Each word of the group; a repeated word scores nothing.
  Play(0, 0, words[0].c_str());
  const int32_t score = P().score;
  EXPECT_GT(score, 0);
  EXPECT_EQ(game->anagramSolutions.size(), group - 1);
  Play(0, 0, words[0].c_str());
  EXPECT_EQ(P().score, score);
  EXPECT_EQ(P().turnPhase, kPhaseDeciding);
  for (size_t i = 1; i < words.size(); ++i)
    Play(0, 0, words[i].c_str());
  EXPECT_TRUE(game->anagramSolutions.empty());
  Step();  // the end of the turn
  EXPECT_NE(Notices().find("You have found all the anagrams."), std::string::npos);

  // The other group: pass it, which shows its words; the map is then empty
  // and the game is over.
  RunUntil([&] { return Deciding(); });
  EXPECT_TRUE(game->anagramWords.empty());
  SkipNextPassConfirmation();
  Press(kButtonPass);
  RunUntil([&] { return game->state == kStateOver; });
  EXPECT_NE(Notices().find("The other solutions are:\n"), std::string::npos);
  EXPECT_NE(Notices().find("No more possible anagrams. Game over."), std::string::npos);
}

// The best score of a word of the lexicon laid across from the first square
// with the rack's tiles, each letter a tile or a blank: every word, every
// choice of blanks.
int32_t BruteForceBest(CGame& game, const std::string& rack) {
  int counts[32] = {};
  for (char c : rack)
    if (!IsEmptyRackPlace(c)) ++counts[c == '`' ? 0 : LetterIndex(c)];
  int32_t best = -1;
  for (const std::string& w : kFixture) {
    if (static_cast<int>(w.size()) > game.rules->boardSide) continue;
    for (uint32_t blanks = 0; blanks < (1u << w.size()); ++blanks) {
      int left[32];
      std::memcpy(left, counts, sizeof left);
      RobotMove m;
      bool ok = true;
      for (size_t i = 0; i < w.size() && ok; ++i) {
        const bool blank = blanks & (1u << i);
        int& have = left[blank ? 0 : LetterIndex(w[i])];
        ok = have-- > 0;
        m.word[i] = blank ? static_cast<char>(w[i] - 'a' + 'A') : w[i];
      }
      if (!ok) continue;
      m.length = static_cast<uint8_t>(w.size());
      best = std::max(best, game.board.ScoreWord(m));
    }
  }
  return best;
}

TEST_F(SideGameTest, ConundrumSolutionIsTheBestWordFromTheFirstSquare) {
  Start(kKindConundrum, 9, 11);
  RunUntil([&] { return Deciding(); });
  const RobotMove solution = game->conundrumSolution;
  ASSERT_NE(solution.word[0], 0);
  EXPECT_EQ(solution.row, 0);
  EXPECT_EQ(solution.column, 0);
  EXPECT_EQ(solution.direction, 0);
  EXPECT_EQ(solution.score, BruteForceBest(*game, std::string(P().rack, 9)));
  EXPECT_EQ(game->bag.tileCount, 100);  // a conundrum rack takes nothing

  // A word of the lexicon off the first square is refused and tried again.
  if (std::strlen(solution.word) + 2 <= 9) {
    Play(0, 2, solution.word);
    EXPECT_EQ(LastNotice(),
              "Your word must be placed on the first square on the board. Try again.");
    EXPECT_EQ(P().turnPhase, kPhaseDeciding);
  }
  // The solution itself ends the turn without a word.
  const size_t notices = sink.messages.size();
  game->ClearBoardLetters();
  Play(0, 0, solution.word);
  EXPECT_EQ(sink.messages.size(), notices);
  EXPECT_EQ(P().turnPhase, kPhaseOver);
}

TEST_F(SideGameTest, ConundrumShowsTheSolutionForALowerWord) {
  for (uint32_t seed = 1; seed < 60; ++seed) {
    Start(kKindConundrum, 9, seed);
    RunUntil([&] { return Deciding(); });
    // A lower-scoring word of the lexicon the rack makes from the first square.
    const std::string rack(P().rack, 9);
    for (const std::string& w : kFixture) {
      std::string left = rack;
      bool ok = true;
      for (char c : w) {
        const size_t at = left.find(c);
        ok = ok && at != std::string::npos;
        if (ok) left[at] = '_';
      }
      RobotMove m;
      std::strcpy(m.word, w.c_str());
      m.length = static_cast<uint8_t>(w.size());
      if (!ok || game->board.ScoreWord(m) >= game->conundrumSolution.score) continue;
      Play(0, 0, w.c_str());
      EXPECT_EQ(LastNotice().rfind("The best solution is:\n[1a] ", 0), 0u) << LastNotice();
      EXPECT_EQ(P().turnPhase, kPhaseOver);
      return;
    }
  }
  FAIL() << "no rack with a lower word";
}

TEST_F(SideGameTest, ExerciseMovesAreMatchedAgainstTheSolutions) {
  Start(kKindExercise, 7);
  std::memcpy(game->board.letters + 7 * kBoardStride + 6, "cat", 3);
  std::memcpy(P().rack, "eatrsno", 7);
  P().rackCount = 7;
  RobotMove solution;
  std::strcpy(solution.word, "tea");
  solution.row = 7;
  solution.column = 8;
  solution.direction = 1;
  solution.length = 3;
  game->exerciseSolutions[0] = solution;
  game->exerciseSolutionCount = 1;
  RunUntil([&] { return Deciding(); });

  // Not the solution: tried again, as often as the player likes.
  view.LoadBoardLetters(game->board.letters, 15, 15);
  view.LoadRackLetters(P().rack, 7);
  view.Lay(6, 7, "e", true);
  view.Lay(8, 7, "t", true);
  PendingBoardAction() = BoardButtonAction(kButtonPlay);
  Step();
  EXPECT_EQ(LastNotice(), "[h7] eat 3\nis not the solution") << LastNotice();
  EXPECT_EQ(P().turnPhase, kPhaseDeciding);
  EXPECT_EQ(P().score, 0);  // an exercise scores nothing

  view.LoadBoardLetters(game->board.letters, 15, 15);
  view.LoadRackLetters(P().rack, 7);
  view.Lay(8, 8, "e", true);
  view.Lay(9, 8, "a", true);
  PendingBoardAction() = BoardButtonAction(kButtonPlay);
  Step();
  EXPECT_EQ(LastNotice().rfind("Congratulations !!\n \"[i8] tea", 0), 0u) << LastNotice();
  Step();
  EXPECT_EQ(game->state, kStatePaused);
  EXPECT_EQ(game->history->Count(), 1);  // no entry for an exercise
}

TEST_F(SideGameTest, ExercisePassShowsTheFirstSolution) {
  Start(kKindExercise, 7);
  std::memcpy(game->board.letters + 7 * kBoardStride + 6, "cat", 3);
  RobotMove solution;
  std::strcpy(solution.word, "tea");
  solution.row = 7;
  solution.column = 8;
  solution.direction = 1;
  solution.score = 3;
  game->exerciseSolutions[0] = solution;
  game->exerciseSolutionCount = 1;
  RunUntil([&] { return Deciding(); });
  SkipNextPassConfirmation();
  Press(kButtonPass);
  EXPECT_EQ(LastNotice(), "The solution is:\n '[i8] tea 3'");
}

}  // namespace

namespace {

// Every word of `length` letters in the graph, by a walk of its own.
void CollectWords(const DawgNodeList& graph, int index, std::string& prefix, size_t length,
                  std::vector<std::string>& out) {
  for (const DawgNode* n = graph.Node(index); n; n = graph.Node(++index)) {
    prefix.push_back(static_cast<char>('a' + n->LetterIndex() - 1));
    if (prefix.size() == length) {
      if (n->EndsWord()) out.push_back(prefix);
    } else if (n->child >= 0) {
      CollectWords(graph, n->child, prefix, length, out);
    }
    prefix.pop_back();
    if (n->IsLast()) break;
  }
}

TEST(BuiltLexiconAnagrams, GroupsEqualTheWordsSortedByLetters) {
  const std::string main = platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(0));
  if (!platform::FileExists(main.c_str())) GTEST_SKIP() << "no lexicon built in " TESS_BUILD_DIR;
  lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageEnglish);
  std::vector<std::string> words;
  std::string prefix;
  CollectWords(GetLexicon()->Main(), 0, prefix, 6, words);
  std::set<std::string> groups;
  for (std::string w : words) {
    std::sort(w.begin(), w.end());
    groups.insert(w);
  }

  GlobalRules().boardSide = 6;
  std::unique_ptr<CGame, void (*)(CGame*)> game(CreateGame(), &DeleteGame);
  game->setup.kind = kKindAnagram;
  game->rackSize = 6;
  game->requiredWordLength = 6;
  PlayerSetupEntry e;
  e.playerType = kPlayerHuman;
  game->setup.AddPlayer(e);
  game->StartNewGame();
  game->Update();
  std::set<uint32_t> keys;
  for (const auto& entry : game->anagramWords)
    keys.insert(entry.first);
  EXPECT_EQ(game->anagramWords.size(), words.size());
  EXPECT_EQ(keys.size(), groups.size());
  EXPECT_GT(groups.size(), 1000u);
  game->StopGame();
  GlobalRules().boardSide = 15;
  DestroyLexicon();
}

}  // namespace
