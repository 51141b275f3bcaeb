// Duplicate games without a screen: the common rack, the reference
// player's top move, each player's own score, and the cycles to the end.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "game/robot_factory.h"
#include "engine/robot_settings.h"
#include "lexicon_fixture.h"
#include "game/game.h"
#include "game/move_submit.h"
#include "game/player_robot.h"
#include "game/saved_game.h"
#include "platform/crand.h"
#include "platform/path.h"
#include "platform/sync.h"
#include "recording_sink.h"
#include "game_test_support.h"
#include "turn_fakes.h"

namespace {

class DuplicateTest : public testing::Test {
 public:
  static void SetUpTestSuite() { gametest::StartEngine("duplicate"); }
  static void TearDownTestSuite() { gametest::EndEngine(); }
  void TearDown() override {
    if (game) game->StopGame();
    game.reset();
    PendingBoardAction() = nullptr;
  }

  void Start(std::vector<int32_t> types, uint32_t seed = 5) {
    platform::SeedRandom(seed);
    game.reset(CreateGame());
    game->setup.kind = kKindDuplicate;
    game->setup.language = 0;
    for (int32_t t : types) {
      PlayerSetupEntry e;
      e.playerType = t;
      SettingsToOptions(RobotSettings(), e.options);
      if (adjust) adjust(e, game->setup.GetPlayerCount());
      game->setup.AddPlayer(e);
    }
    game->StartNewGame();
  }
  // Changes a player's set-up entry (entry, index) before the game starts.
  std::function<void(PlayerSetupEntry&, int)> adjust;

  GamePlayer& P(int i) { return *game->Player(i); }

  // One frame, as the screen runs it.
  int32_t Step() {
    clock.Advance(20);
    const int32_t s = game->Update();
    for (int i = 0; i < game->PlayerCount(); ++i)
      if (Robot* r = P(i).GetRobot(); r && r->IsThinking()) {
        platform::SleepMs(1);
        break;
      }
    return s;
  }
  void RunUntil(const std::function<bool()>& done, int frames = 200000) {
    for (int i = 0; i < frames && !done(); ++i)
      Step();
    ASSERT_TRUE(done()) << "state " << game->state << " phase " << game->duplicatePhase;
  }

  // Board, reference rack and bag together hold the tile set.
  void ExpectTilesConserved() {
    int32_t counts[kLetterSlots] = {};
    for (char c : game->board.letters)
      if (c) ++counts[IsBlankLetter(c) ? kBlankIndex : LetterIndex(c)];
    const GamePlayer& ref = *game->referencePlayer;
    for (int k = 0; k < ref.RackPlaces(); ++k)
      if (!IsEmptyRackPlace(ref.rack[k])) ++counts[LetterIndex(ref.rack[k])];
    for (int i = 0; i < kLetterSlots; ++i)
      EXPECT_EQ(counts[i] + game->bag.counts[i], game->rules->tileCounts[i]) << "letter " << i;
  }

  turnfakes::TurnUiPort ui;
  turnfakes::FakeBoardView view;
  turnfakes::RecordingResultPort results;
  turnfakes::FakeClock clock;
  testsupport::RecordingSink sink{platform::kResultYes};
  std::unique_ptr<CGame, void (*)(CGame*)> game{nullptr, &DeleteGame};
};

// Runs a game of two default computer players to its end and checks the
// scores against the top moves laid.
void PlayToTheEnd(DuplicateTest& t, size_t minCycles);

TEST_F(DuplicateTest, ComputersPlayToTheEndWithTheReferenceScores) {
  // Only two- and three-letter words: the board closes after a few cycles.
  PlayToTheEnd(*this, 2);
}

// The program's English lexicon, when the build has made it: a full game.
class WholeDuplicateTest : public DuplicateTest {
 protected:
  static void SetUpTestSuite() { real = gametest::StartEngineWithBuiltLexicon(); }
  static bool real;
};
bool WholeDuplicateTest::real = false;

TEST_F(WholeDuplicateTest, ComputersPlayToTheEndWithTheReferenceScores) {
  if (!real) GTEST_SKIP() << "no lexicon built in " TESS_BUILD_DIR;
  PlayToTheEnd(*this, 10);
}

TEST_F(DuplicateTest, CyclesShareOneRackAndLayOnlyTheTopMove) {
  Start({kPlayerComputer, kPlayerHuman});
  // The first cycle: both get the common rack; the human passes.
  RunUntil([&] { return game->duplicatePhase == 1 && P(1).turnPhase == kPhaseDeciding; });
  const std::string common(game->referencePlayer->rack, 7);
  EXPECT_EQ(std::string(P(1).rack, 7), common);
  EXPECT_EQ(game->viewingPlayer, &P(1));
  // The human's copy of the common rack cannot be swapped with the bag.
  const int bag = game->bag.tileCount;
  EXPECT_FALSE(RequestExchange(game.get(), common.c_str()));
  EXPECT_EQ(game->bag.tileCount, bag);
  EXPECT_EQ(std::string(P(1).rack, 7), common);
  EXPECT_EQ(P(1).request, kRequestNone);
  SkipNextPassConfirmation();
  PendingBoardAction() = BoardButtonAction(kButtonPass);
  RunUntil([&] { return game->roundCount == 1; });
  // The cycle's results were shown once, scored, before the round moved on.
  ASSERT_EQ(ui.roundResults.size(), 1u);
  EXPECT_EQ(ui.roundResults[0].first, game.get());
  EXPECT_EQ(ui.roundResults[0].second, 0);

  const RobotMove top = game->workMove;
  EXPECT_EQ(P(1).score, 0);  // a pass scores nothing
  EXPECT_EQ(P(0).score, top.score);
  EXPECT_EQ(game->referencePlayer->score, top.score);
  // Only the top move is on the board.
  int tiles = 0;
  for (char c : game->board.letters)
    tiles += c != 0;
  EXPECT_EQ(tiles, top.length);
  // The opening entry, then the cycle's top move.
  ASSERT_EQ(game->history->Count(), 2);
  EXPECT_FALSE(game->history->RecordAt(1)->HasMove());
  EXPECT_STREQ(game->history->Last()->move.word, top.word);
  EXPECT_EQ(game->history->Last()->scores[0], top.score);
  ExpectTilesConserved();
}

TEST_F(DuplicateTest, HumansTakeTurnsOnTheSameRack) {
  Start({kPlayerHuman, kPlayerHuman, kPlayerHuman});
  RunUntil([&] { return game->duplicatePhase == 1 && P(0).turnPhase == kPhaseDeciding; });
  EXPECT_EQ(P(1).turnPhase, kPhaseIdle);
  EXPECT_EQ(P(2).turnPhase, kPhaseIdle);
  for (int i = 0; i < 3; ++i) {
    SkipNextPassConfirmation();
    PendingBoardAction() = BoardButtonAction(kButtonPass);
    RunUntil(
        [&] { return game->roundCount == 1 || (i < 2 && P(i + 1).turnPhase == kPhaseDeciding); });
    if (i < 2) {
      EXPECT_EQ(game->viewingPlayer, &P(i + 1));
      EXPECT_EQ(std::string(P(i + 1).rack, 7), std::string(game->referencePlayer->rack, 7));
    }
  }
  // Each played once: one cycle, nobody asked twice.
  EXPECT_EQ(game->roundCount, 1);
  EXPECT_EQ(game->history->Count(), 2);  // the opening entry and the cycle's
}

// A robot that, whatever it finds, advises swapping its whole rack.
class SwapAdviceBot : public quickBot2usingDawg {
 public:
  bool Think(RobotMove* move, int flag) override {
    quickBot2usingDawg::Think(move, flag);
    SetRack(std::string(GetRack()).c_str());
    SetResultState(kResultAdvice3);
    return false;
  }
};

// Players whose first option byte holds this mark get a SwapAdviceBot.
constexpr int32_t kSwapAdviceMark = 0x5A;

class SwapAdviceFactory {
 public:
  SwapAdviceFactory() : previous_(GetPlayerRobotFactory()) {
    Real() = previous_;
    PlayerRobotFactory f = previous_;
    f.create = &Create;
    SetPlayerRobotFactory(f);
  }
  ~SwapAdviceFactory() { SetPlayerRobotFactory(previous_); }

 private:
  static PlayerRobotFactory& Real() {
    static PlayerRobotFactory real;
    return real;
  }
  static Robot* Create(const int32_t* options, const GameRules* rules) {
    if (!options || (options[0] & 0xFF) != kSwapAdviceMark) return Real().create(options, rules);
    Robot* robot = new SwapAdviceBot();
    Real().configure(*robot, options, rules);
    return robot;
  }
  PlayerRobotFactory previous_;
};

TEST_F(DuplicateTest, ComputersSwapAdviceIsAPassAndMovesNoTile) {
  SwapAdviceFactory factory;
  adjust = [](PlayerSetupEntry& e, int index) {
    if (index == 1) e.options[0] = (e.options[0] & ~0xFF) | kSwapAdviceMark;
  };
  Start({kPlayerComputer, kPlayerComputer});
  ASSERT_NE(dynamic_cast<SwapAdviceBot*>(P(1).GetRobot()), nullptr);
  RunUntil([&] { return game->duplicatePhase == 1; });
  const int bagBefore = game->bag.tileCount;
  const std::string common(game->referencePlayer->rack, 7);
  // Bounded: were the advice ignored, the player would be asked for ever.
  RunUntil([&] { return game->roundCount == 1; }, 20000);

  EXPECT_EQ(P(1).lastAction, kLastPassed);
  EXPECT_EQ(P(1).score, 0);
  EXPECT_EQ(P(0).score, game->workMove.score);
  EXPECT_EQ(game->bag.tileCount, bagBefore);
  EXPECT_EQ(game->scorelessTurns, 0);
  ExpectTilesConserved();  // the common rack counted once
}

TEST_F(DuplicateTest, SavedInTheMiddleOfACyclePlaysOnAfterLoading) {
  Start({kPlayerComputer, kPlayerComputer});
  RunUntil([&] { return game->roundCount == 1 && game->duplicatePhase == 1; });
  const RobotMove top = game->workMove;
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(EncodeSavedGame(*game, bytes));
  game->StopGame();

  game.reset(CreateGame());
  ASSERT_GE(ParseSavedGame(*game, bytes.data(), bytes.size()), 0);
  EXPECT_EQ(game->duplicatePhase, 1);
  EXPECT_EQ(P(0).turnPhase, kPhaseBegin);
  EXPECT_STREQ(game->workMove.word, top.word);
  RunUntil([&] { return game->state == kStateOver; });
  ExpectTilesConserved();
  int32_t sum = 0;
  for (const HistoryRecord& r : game->ExportMainLine())
    sum += r.move.score;
  EXPECT_EQ(game->referencePlayer->score, sum);
  EXPECT_EQ(P(0).score, sum);
  EXPECT_EQ(P(1).score, sum);
}

TEST_F(DuplicateTest, NoMoveOnTheRackEndsTheGame) {
  Start({kPlayerComputer});
  // Under a lexicon whose only word no rack can make, every rack fails: the
  // draw tries as many racks as the bag holds tiles, gives up, and the game
  // ends with every tile back in the bag.
  DestroyLexicon();
  const std::string folder = lexfix::Folder("duplicate-empty");
  lexfix::WriteLexicon(folder, {{"zzzzzzzz", 3, false, {}}}, kLanguageEnglish, false);
  lexfix::LoadGlobal(folder, kLanguageEnglish);
  RunUntil([&] { return game->state == kStateOver; });
  EXPECT_EQ(game->roundCount, 0);
  EXPECT_EQ(game->referencePlayer->rackCount, 0);
  ExpectTilesConserved();
  DestroyLexicon();
  lexfix::LoadGlobal(lexfix::Folder("duplicate"), kLanguageEnglish);
}

void PlayToTheEnd(DuplicateTest& t, size_t minCycles) {
  t.Start({kPlayerComputer, kPlayerComputer});
  t.RunUntil([&] { return t.game->state == kStateOver; });
  t.ExpectTilesConserved();

  // After the opening entry every cycle laid its top move, across in the
  // first one.
  const std::vector<HistoryRecord> line = t.game->ExportMainLine();
  ASSERT_GE(line.size(), minCycles + 1);
  ASSERT_EQ(static_cast<int32_t>(line.size()), t.game->roundCount + 1);
  EXPECT_FALSE(line[0].HasMove());
  EXPECT_EQ(line[1].move.direction, 0);
  int32_t top = 0;
  for (size_t i = 1; i < line.size(); ++i) {
    EXPECT_TRUE(line[i].HasMove());
    top += line[i].move.score;
  }
  EXPECT_EQ(t.game->referencePlayer->score, top);
  // Each player scores its own moves; default opponents find a top score
  // every time.
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(t.P(i).score, line.back().scores[i]);
    EXPECT_EQ(t.P(i).score, top) << i;
    // Every cycle's move is in the player's duplicate statistics.
    const PlayerMoveStats& dup = t.P(i).stats[kDuplicateStats];
    int32_t placed = 0;
    for (size_t k = 1; k < line.size(); ++k)
      for (char c : line[k].move.placedLetters)
        placed += c != 0;
    EXPECT_EQ(dup.lettersPlaced, placed) << i;
    EXPECT_EQ(dup.bestMove.score,
              std::max_element(line.begin() + 1, line.end(),
                               [](const HistoryRecord& a, const HistoryRecord& b) {
                                 return a.move.score < b.move.score;
                               })
                  ->move.score)
        << i;
  }
  // The game ended on a rack that admits no move, its tiles back in the bag.
  EXPECT_EQ(t.game->referencePlayer->rackCount, 0);
  EXPECT_EQ(t.game->Update(), kStateOver);
}

}  // namespace
