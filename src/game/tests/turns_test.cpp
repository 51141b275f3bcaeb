// Whole games without a screen, driven through CGame::Update with a fake
// clock, a fake board view and a fake network.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
#include "game/game_strings.h"
#include "platform/crand.h"
#include "platform/sync.h"
#include "recording_sink.h"
#include "game_test_support.h"
#include "turn_fakes.h"

namespace {

class TurnsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { gametest::StartEngine("turns"); }
  static void TearDownTestSuite() { gametest::EndEngine(); }
  void TearDown() override {
    if (game) game->StopGame();
    game.reset();
    PendingBoardAction() = nullptr;
    ExchangeDialogClosed();
  }

  // A standard game of these player types, started and run until the
  // first player decides.
  void Start(std::vector<int32_t> types, int32_t challengeMode = 0, uint32_t seed = 7) {
    platform::SeedRandom(seed);
    game.reset(CreateGame());
    game->setup.kind = kKindStandard;
    game->setup.language = 0;
    game->setup.challengeMode = challengeMode;
    for (int32_t t : types) {
      PlayerSetupEntry e;
      e.playerType = t;
      SettingsToOptions(RobotSettings(), e.options);  // the default opponent
      game->setup.AddPlayer(e);
    }
    configure();
    game->StartNewGame();
    RunUntil([&] { return Deciding(); });
  }

  GamePlayer& P(int i) { return *game->Player(i); }
  bool Deciding() const {
    return game->state == kStateTurnRunning && game->currentPlayer &&
           game->currentPlayer->turnPhase == kPhaseDeciding;
  }

  // One frame; waits a little while a computer player's search runs.
  int32_t Step() {
    const int32_t s = game->Update();
    GamePlayer* p = game->currentPlayer;
    if (p && p->Type() == kPlayerComputer && p->GetRobot() && p->GetRobot()->IsThinking())
      platform::SleepMs(1);
    return s;
  }
  void RunUntil(const std::function<bool()>& done, int frames = 100000) {
    for (int i = 0; i < frames && !done(); ++i)
      Step();
    ASSERT_TRUE(done()) << "state " << game->state;
  }
  // Ends the current player's turn and runs until the next one decides.
  void NextTurn() {
    GamePlayer* was = game->currentPlayer;
    RunUntil([&] {
      return game->state != kStateTurnRunning || (game->currentPlayer != was && Deciding());
    });
  }

  void GiveRack(GamePlayer& p, const char* letters) {
    p.StopRobotLook();  // it reads the bag this changes
    p.ReturnRackToBag();
    ASSERT_TRUE(game->DrawGivenLetters(letters, static_cast<int>(std::strlen(letters))));
    p.ClearRack(letters);
    std::memcpy(p.rackBeforeMove, p.rack, sizeof p.rack);
  }
  // Leaves the bag empty; its tiles are out of the game.
  void EmptyBag() {
    while (game->bag.tileCount > 0)
      game->bag.DrawRack(game->BagRules(), kDrawAny, true);
  }

  // The current human lays a word on the view and presses a button.
  void Press(uint32_t button) {
    PendingBoardAction() = BoardButtonAction(button);
    Step();
  }
  void Lay(int row, int column, const char* word, bool down = false) {
    GamePlayer& p = *game->currentPlayer;
    view.LoadBoardLetters(game->board.letters, 15, 15);
    view.LoadRackLetters(p.rack, 7);
    view.Lay(row, column, word, down);
  }
  void Play(int row, int column, const char* word, bool down = false) {
    Lay(row, column, word, down);
    Press(kButtonPlay);
  }
  void Pass() {
    SkipNextPassConfirmation();
    Press(kButtonPass);
  }

  // Board, racks and bag together hold the tile set, letter by letter.
  void ExpectTilesConserved() {
    int32_t counts[kLetterSlots] = {};
    for (char c : game->board.letters)
      if (c) ++counts[IsBlankLetter(c) ? kBlankIndex : LetterIndex(c)];
    for (int i = 0; i < game->PlayerCount(); ++i)
      for (int k = 0; k < 7; ++k)
        if (!IsEmptyRackPlace(P(i).rack[k])) ++counts[LetterIndex(P(i).rack[k])];
    for (int i = 0; i < kLetterSlots; ++i)
      EXPECT_EQ(counts[i] + game->bag.counts[i], game->rules->tileCounts[i]) << "letter " << i;
  }

  std::string Rack(int i) { return std::string(P(i).rack, 7); }
  std::string Notice(size_t from = 0) const {
    std::string all;
    for (size_t i = from; i < sink.messages.size(); ++i)
      all += sink.messages[i].text + "|";
    return all;
  }

  turnfakes::TurnUiPort ui;
  turnfakes::FakeBoardView view;
  turnfakes::RecordingResultPort results;
  turnfakes::MessageNetPort net;
  turnfakes::FakeClock clock;
  testsupport::RecordingSink sink{platform::kResultYes};
  std::function<void()> configure = [] {};
  std::unique_ptr<CGame, void (*)(CGame*)> game{nullptr, &DeleteGame};
};

TEST_F(TurnsTest, HumanMoveStandsRefillsAndPasses) {
  Start({kPlayerHuman, kPlayerHuman});
  GiveRack(P(0), "catsbeq");
  const int bag = game->bag.tileCount;
  Play(7, 6, "cat");
  EXPECT_EQ(P(0).turnPhase, kPhaseOver);
  EXPECT_EQ(P(0).score, 10);  // c 3, a 1, t 1 doubled
  EXPECT_STREQ(game->board.letters + 7 * 15 + 6, "cat");
  EXPECT_EQ(P(0).rackCount, 7);
  EXPECT_EQ(game->bag.tileCount, bag - 3);
  EXPECT_EQ(std::string(P(0).moveWords[0].placedLetters, 3), "cat");
  // The opening entry of the game, then the move's.
  ASSERT_EQ(ui.entries.size(), 2u);
  EXPECT_FALSE(ui.entries[0].hasMove);
  EXPECT_TRUE(ui.entries[1].hasMove);
  EXPECT_EQ(ui.entries[1].player, 0);
  EXPECT_EQ(game->history->Count(), 2);
  NextTurn();
  EXPECT_EQ(game->currentPlayer, &P(1));
  EXPECT_EQ(game->previousPlayer, &P(0));
  Step();                                    // the mask follows a frame later
  EXPECT_EQ(view.lastMask, uint32_t{0x6A});  // no challenge mode: pass, exchange, sort, shuffle
  EXPECT_EQ(ui.framePosts.back(), kMsgViewsChanged);
  EXPECT_EQ(game->turnElapsedMs, 0);
  ExpectTilesConserved();
}

TEST_F(TurnsTest, HumansRobotLooksInTheBackgroundDuringItsTurn) {
  Start({kPlayerHuman, kPlayerComputer});
  Robot* look = P(0).GetRobot();
  ASSERT_NE(look, nullptr);
  // The look runs on the worker while the frames go on.
  EXPECT_TRUE(look->IsThinking());
  for (int i = 0; i < 200 && look->ThinkingState() != ThreadJob::kDone; ++i)
    platform::SleepMs(5);
  EXPECT_EQ(look->ThinkingState(), ThreadJob::kDone);
  EXPECT_GT(look->GetMoveCount(), 0);
  EXPECT_EQ(P(0).turnPhase, kPhaseDeciding);
  // The decision ends it; the computer then searches for its own turn.
  Pass();
  EXPECT_FALSE(look->IsThinking());
  NextTurn();
  EXPECT_EQ(game->currentPlayer, &P(1));
}

// A robot that always advises swapping its whole rack.
class SwapAdviceRobot : public quickBot2usingDawg {
 public:
  bool Think(RobotMove*, int) override {
    SetResultState(kResultAdvice3);
    return false;
  }
};

// Computer players get SwapAdviceRobots while it lives.
class SwapAdviceFactory {
 public:
  SwapAdviceFactory() {
    PlayerRobotFactory f;
    f.create = [](const int32_t*, const GameRules* rules) -> Robot* {
      Robot* r = new SwapAdviceRobot;
      r->SetGameParams(rules);
      return r;
    };
    f.configure = [](Robot& r, const int32_t*, const GameRules* rules) { r.SetGameParams(rules); };
    previous_ = SetPlayerRobotFactory(f);
  }
  ~SwapAdviceFactory() { SetPlayerRobotFactory(previous_); }

 private:
  PlayerRobotFactory previous_;
};

TEST_F(TurnsTest, ComputersExchangeRefusedByTheBagIsAPass) {
  SwapAdviceFactory swaps;
  Start({kPlayerComputer, kPlayerHuman});
  NextTurn();
  EXPECT_EQ(P(0).lastAction, kLastExchanged);  // the bag had room
  EXPECT_EQ(game->consecutivePasses, 0);
  Pass();
  NextTurn();
  ASSERT_EQ(game->currentPlayer, &P(0));
  EmptyBag();
  const std::string rack = Rack(0);
  const int32_t passes = game->consecutivePasses;
  NextTurn();
  EXPECT_EQ(P(0).lastAction, kLastPassed);
  EXPECT_EQ(Rack(0), rack);
  EXPECT_EQ(game->consecutivePasses, passes + 1);
  game->StopGame();
  game.reset();  // its robots go while their factory is installed
}

TEST_F(TurnsTest, TurnTimerStartsOnTheGameClock) {
  Start({kPlayerHuman, kPlayerHuman});
  game->PauseTurn();
  clock.Advance(100000);  // paused: none of this counts
  game->StartTurnTimer();
  EXPECT_EQ(game->clockPaused, 0);
  const int32_t before = game->turnElapsedMs;
  clock.Advance(250);
  game->UpdateClocks();
  EXPECT_EQ(game->turnElapsedMs, before + 250);
}

TEST_F(TurnsTest, RefusedMovesAreRetriedOrForfeited) {
  Start({kPlayerHuman, kPlayerHuman});
  GiveRack(P(0), "abcdxyz");
  // A refused placement: one notice, the player decides again.
  Play(0, 0, "ab");
  EXPECT_EQ(Notice(), GameText(kStrCentreSquare) + "|");
  EXPECT_EQ(P(0).turnPhase, kPhaseDeciding);
  EXPECT_EQ(P(0).request, kRequestNone);
  // A false word with no challenge mode: its notice, then another try.
  const size_t before = sink.messages.size();
  Play(7, 4, "abcd");
  EXPECT_EQ(Notice(before),
            "That word is not valid.\n'abcd' is not in the Brantwell Official Tessarin(R) "
            "dictionary.|");
  EXPECT_EQ(P(0).turnPhase, kPhaseDeciding);
  EXPECT_EQ(P(0).score, 0);
  EXPECT_EQ(game->board.At(7, 7), 0);
  EXPECT_EQ(Rack(0), "abcdxyz");
  // With forfeits the turn is lost and nothing is laid.
  game->setup.invalidWordForfeits = 1;
  Play(7, 4, "abcd");
  EXPECT_EQ(P(0).lastAction, kLastInvalidWord);
  EXPECT_TRUE(P(0).moveWords.empty());
  // The lost turn has its entry after the opening one, as every turn has.
  ASSERT_EQ(game->history->Count(), 2);
  EXPECT_FALSE(game->history->Last()->HasMove());
  NextTurn();
  EXPECT_EQ(game->currentPlayer, &P(1));
  EXPECT_EQ(game->board.At(7, 7), 0);
  EXPECT_EQ(Rack(0), "abcdxyz");
  EXPECT_EQ(game->consecutivePasses, 0);
}

TEST_F(TurnsTest, FourPassesEndTheGameExchangesDoNotCount) {
  Start({kPlayerHuman, kPlayerHuman});
  Pass();
  NextTurn();
  Pass();
  NextTurn();
  // An exchange between the passes counts as none.
  ASSERT_TRUE(RequestExchange(game.get(), Rack(0).c_str()));
  Step();
  NextTurn();
  EXPECT_EQ(game->consecutivePasses, 2);
  Pass();
  NextTurn();
  EXPECT_EQ(game->state, kStateTurnRunning);
  const int32_t value0 = P(0).RackValue(*game->rules), value1 = P(1).RackValue(*game->rules);
  Pass();
  RunUntil([&] { return game->state == kStateOver; });
  EXPECT_EQ(game->consecutivePasses, 4);
  // Nobody went out: both lose their racks, nobody gains.
  EXPECT_EQ(P(0).score, -value0);
  EXPECT_EQ(P(1).score, -value1);
  EXPECT_EQ(results.statistics, 1);
  Step();
  EXPECT_EQ(results.statistics, 1);  // once per game
  EXPECT_EQ(P(0).score, -value0);
}

TEST_F(TurnsTest, RatedGameStoresTheExpectedResult) {
  for (int32_t mode : {kNetworkNone, kNetworkInternet}) {
    net.mode = mode;
    net.localIndex = 1;
    configure = [&] { game->setup.rankingGame = 1; };
    Start({kPlayerHuman, kPlayerHuman});
    P(0).rating = 1600;
    P(1).rating = 1400;
    for (int i = 0; i < 4; ++i) {
      Pass();
      if (i < 3) NextTurn();
    }
    RunUntil([&] { return game->state == kStateOver; });
  }
  // Locally the first player is ours; in an Internet game the network's.
  ASSERT_EQ(results.expected.size(), 2u);
  EXPECT_NEAR(results.expected[0], 1.0 / (1.0 + std::pow(10.0, -0.5)), 1e-5);
  EXPECT_NEAR(results.expected[1], 1.0 / (1.0 + std::pow(10.0, 0.5)), 1e-5);
  EXPECT_FALSE(results.internetExpected[0]);
  EXPECT_TRUE(results.internetExpected[1]);
}

TEST_F(TurnsTest, RoundLimit) {
  configure = [&] { game->setup.maxRounds = 1; };
  Start({kPlayerHuman, kPlayerHuman});
  Pass();
  NextTurn();
  Pass();
  RunUntil([&] { return game->state == kStateOver; });
  EXPECT_EQ(game->roundCount, 1);
  EXPECT_EQ(game->consecutivePasses, 2);
}

TEST_F(TurnsTest, PerGameClocksSkipAndEnd) {
  configure = [&] {
    game->setup.clockMode = kClockPerGame;
    game->setup.gameTimeMs = 1000;
  };
  Start({kPlayerHuman, kPlayerHuman}, 2);
  EXPECT_EQ(P(0).timeLeftMs, 1000);
  clock.Advance(1500);
  Step();
  EXPECT_EQ(P(0).timeLeftMs, -500);
  EXPECT_EQ(P(0).outOfTime, 1);
  EXPECT_EQ(P(0).lastAction, kLastOutOfTime);
  NextTurn();
  EXPECT_EQ(game->currentPlayer, &P(1));
  // Nobody else can play: the words would be looked up at once.
  EXPECT_FALSE(game->OthersCanStillPlay());
  Pass();
  RunUntil([&] { return game->consecutivePasses == 1 && Deciding(); });
  EXPECT_EQ(game->currentPlayer, &P(1));  // player 0 is skipped
  EXPECT_EQ(game->roundCount, 1);
  clock.Advance(1500);
  RunUntil([&] { return game->state == kStateOver; });
  EXPECT_EQ(P(1).outOfTime, 1);
}

TEST_F(TurnsTest, ComputerOutOfTimeLosesItsTurn) {
  configure = [&] {
    game->setup.clockMode = kClockPerMove;
    game->setup.moveTimeMs = 1000;
  };
  Start({kPlayerComputer, kPlayerHuman});
  Robot* robot = P(0).GetRobot();
  ASSERT_TRUE(robot->IsThinking() || P(0).turnPhase == kPhaseDeciding);
  clock.Advance(1001);
  Step();
  EXPECT_EQ(P(0).lastAction, kLastOutOfTime);
  EXPECT_FALSE(robot->IsThinking());
  EXPECT_EQ(P(0).outOfTime, 0);  // per move: only the turn is lost
  NextTurn();
  EXPECT_EQ(game->currentPlayer, &P(1));
  EXPECT_EQ(P(1).timeLeftMs, 1000);
  EXPECT_EQ(game->consecutivePasses, 0);
  EXPECT_EQ(game->board.At(7, 7), 0);
}

// Three computers play a standard game to its end on the lexicon loaded.
class WholeGameTest : public TurnsTest {
 protected:
  void PlayToTheEnd(uint32_t seed, int minMoves);
};

void WholeGameTest::PlayToTheEnd(uint32_t seed, int minMoves) {
  Start({kPlayerComputer, kPlayerComputer, kPlayerComputer}, 3, seed);
  ui.entries.clear();
  int32_t last = -1;
  for (int i = 0; i < 400000 && last != kStateOver; ++i)
    last = Step();
  ASSERT_EQ(last, kStateOver);
  EXPECT_GT(ui.Moves(), minMoves);
  ExpectTilesConserved();

  // Every final score is its moves plus the end adjustment.
  int32_t left = 0;
  int finisher = -1;
  for (int i = 0; i < 3; ++i) {
    if (P(i).HasTilesLeft(*game->rules))
      left += P(i).RackValue(*game->rules);
    else
      finisher = i;
  }
  for (int i = 0; i < 3; ++i) {
    const int32_t adjust =
        i == finisher ? left
                      : -(P(i).HasTilesLeft(*game->rules) ? P(i).RackValue(*game->rules) : 0);
    EXPECT_EQ(P(i).score, ui.MoveScores(i) + adjust) << "seed " << seed << " player " << i;
  }
  // Settled once: later frames change nothing; no human, no statistics.
  const int32_t score0 = P(0).score;
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(game->Update(), kStateOver);
  EXPECT_EQ(P(0).score, score0);
  EXPECT_EQ(results.statistics, 0);
  // The opening entry, then one per turn.
  EXPECT_EQ(game->history->Count(), static_cast<int32_t>(ui.entries.size()) + 1);
  EXPECT_FALSE(game->history->RecordAt(1)->HasMove());
  // Entry i + 1 is player (i - 1) mod 3's turn: the best moves found in the
  // history are the best each player made.
  std::vector<RobotMove> best;
  game->FindBestMoveInHistory(best);
  for (int i = 0; i < 3; ++i) {
    int32_t top = 0;
    for (const turnfakes::TurnUiPort::Entry& e : ui.entries)
      if (e.hasMove && e.player == i) top = std::max(top, e.move.score);
    EXPECT_EQ(best[i].score, top) << "seed " << seed << " player " << i;
  }
}

// On the fixture lexicon (every string of two or three letters a word): runs
// whether or not the build has made the program's lexicons.
// The first moves soon close the board (any line of four is no word), so
// the game ends on passes with every rack counted against its owner.
TEST_F(WholeGameTest, ComputersPlayToTheEndOnTheFixtureLexicon) { PlayToTheEnd(5, 2); }

// The program's English lexicon, when the build has made it.
class BuiltLexiconGameTest : public WholeGameTest {
 protected:
  static void SetUpTestSuite() { real = gametest::StartEngineWithBuiltLexicon(); }
  static bool real;
};
bool BuiltLexiconGameTest::real = false;

TEST_F(BuiltLexiconGameTest, ComputersPlayToTheEnd) {
  if (!real) GTEST_SKIP() << "no lexicon built in " TESS_BUILD_DIR;
  for (uint32_t seed : {11u, 12u})
    PlayToTheEnd(seed, 15);
}

// Player 0 lays a word and the move stands; player 1 is to move.
class ChallengeTest : public TurnsTest {
 protected:
  void Open(int32_t mode, const char* rack, int row, int column, const char* word,
            bool down = false) {
    Start({kPlayerHuman, kPlayerHuman}, mode);
    GiveRack(P(0), rack);
    rackBefore = Rack(0);
    bagBefore = game->bag.tileCount;
    Play(row, column, word, down);
    ASSERT_EQ(P(0).turnPhase, kPhaseOver);
    NextTurn();
  }
  // The challenge is chosen and resolved within one frame.
  void Challenge() {
    view.challengePick.clear();
    Press(kButtonChallenge);
  }

  std::string rackBefore;
  int bagBefore = 0;
};

TEST_F(ChallengeTest, FalseWordIsTakenBack) {
  Open(2, "abcdxyz", 7, 4, "abcd");
  EXPECT_GT(P(0).score, 0);
  Step();
  EXPECT_EQ(view.lastMask, uint32_t{0xE8});  // challenge offered, no pass
  Challenge();
  EXPECT_EQ(view.challengeDialogs, 1);
  EXPECT_EQ(P(0).score, 0);
  EXPECT_EQ(Rack(0), rackBefore);
  EXPECT_EQ(game->bag.tileCount, bagBefore);
  EXPECT_EQ(game->board.At(7, 7), 0);
  EXPECT_TRUE(P(0).moveWords.empty());
  EXPECT_EQ(P(0).lastAction, kLastInvalidWord);
  EXPECT_EQ(P(0).invalidWordsPlayed, 1);
  EXPECT_EQ(P(1).challengesWon, 1);
  EXPECT_EQ(P(1).request, kRequestNone);
  // The challenger begins its turn again; the move's entry went and a
  // turn without a move took its place after the opening entry.
  EXPECT_EQ(game->currentPlayer, &P(1));
  EXPECT_EQ(P(1).turnPhase, kPhaseBegin);
  ASSERT_EQ(game->history->Count(), 2);
  EXPECT_FALSE(game->history->Last()->HasMove());
  ExpectTilesConserved();
}

TEST_F(ChallengeTest, ValidWordsByMode) {
  struct Case {
    int32_t mode;
    int32_t penalty;
    bool turnEnds;
    bool notice;
  };
  for (const Case& c :
       {Case{1, 0, true, false}, Case{2, 0, false, true}, Case{3, 15, false, false}}) {
    sink.messages.clear();
    // "cat" across, then "ta" down from its t: main word and cross word.
    Open(c.mode, "catsbeq", 7, 6, "cat");
    Pass();  // player 1 passes
    NextTurn();
    GiveRack(P(0), "aeinort");
    Play(8, 7, "ae");  // forms "ae" and the cross words "aa" and "te"
    ASSERT_EQ(P(0).turnPhase, kPhaseOver);
    NextTurn();
    const int32_t score = P(1).score;
    const int32_t moverScore = P(0).score;
    Challenge();
    EXPECT_EQ(P(1).score, score - c.penalty) << c.mode;
    EXPECT_EQ(P(0).score, moverScore) << c.mode;
    EXPECT_EQ(P(1).lastAction, kLastChallengeFailed) << c.mode;
    EXPECT_EQ(P(1).challengesLost, 3) << c.mode;
    EXPECT_EQ(Notice().find(GameText(kStrChallengeFailed)) != std::string::npos, c.notice)
        << c.mode;
    if (c.turnEnds) {
      NextTurn();
      EXPECT_EQ(game->currentPlayer, &P(0)) << c.mode;
    } else {
      EXPECT_EQ(P(1).turnPhase, kPhaseDeciding) << c.mode;
      EXPECT_FALSE(game->CanChallenge()) << c.mode;  // one challenge a turn
      Step();
      EXPECT_EQ(view.lastMask, uint32_t{0x6A}) << c.mode;
    }
  }
}

TEST_F(ChallengeTest, WindowClosesAfterFifteenSecondsOrOnceTilesAreLaid) {
  Open(1, "catsbeq", 7, 6, "cat");
  EXPECT_TRUE(game->CanChallenge());
  Lay(8, 7, "a");
  Step();
  EXPECT_EQ(view.lastMask, uint32_t{0x15});  // play, evaluate, cancel
  EXPECT_FALSE(game->CanChallenge());
  P(1).hasActed = 0;
  view.LoadBoardLetters(game->board.letters, 15, 15);
  clock.Advance(15000);
  Step();
  EXPECT_FALSE(game->CanChallenge());
  EXPECT_EQ(view.lastMask, uint32_t{0x6A});
}

TEST_F(ChallengeTest, NoChallengeOfAComputersMove) {
  Start({kPlayerComputer, kPlayerHuman}, 1);
  RunUntil([&] { return game->currentPlayer == &P(1) && Deciding(); });
  ASSERT_FALSE(P(0).moveWords.empty());
  EXPECT_FALSE(game->CanChallenge());
  EXPECT_EQ(view.lastMask, uint32_t{0x6A});
}

class LastTurnTest : public ChallengeTest {
 protected:
  // Player 0 plays out its last tiles with the bag empty.
  void GoOut(int32_t mode, const char* rack, const char* word) {
    Start({kPlayerHuman, kPlayerHuman}, mode);
    GiveRack(P(0), rack);
    EmptyBag();
    P(1).ClearRack("zq");
    Play(7, 6, word);
    RunUntil([&] { return game->state != kStateTurnRunning; });
    ASSERT_EQ(game->state, kStateLastChallenge);
    Step();  // the challenger begins
  }
};

TEST_F(LastTurnTest, FalseWordReopensTheGame) {
  GoOut(2, "abcd", "abcd");
  EXPECT_EQ(P(0).rackCount, 0);
  Challenge();
  EXPECT_EQ(game->state, kStateTurnRunning);
  EXPECT_EQ(Rack(0), "abcd___");
  EXPECT_EQ(P(0).score, 0);
  EXPECT_EQ(game->board.At(7, 7), 0);
  EXPECT_EQ(game->currentPlayer, &P(1));
  EXPECT_EQ(P(1).turnPhase, kPhaseBegin);
  EXPECT_EQ(game->bag.tileCount, 0);
  RunUntil([&] { return Deciding(); });
}

TEST_F(LastTurnTest, ValidWordCostsFiveAndEnds) {
  GoOut(2, "cat", "cat");  // single challenge, still a penalty here
  Challenge();
  ASSERT_EQ(game->state, kStateOver);
  // -5, then the rack of z (10) and q (10) goes to player 0.
  EXPECT_EQ(P(1).score, -5 - 20);
  EXPECT_EQ(P(0).score, 10 + 20);
  EXPECT_EQ(P(1).challengesLost, 1);
}

TEST_F(LastTurnTest, WindowEndsWithoutAChallenge) {
  GoOut(1, "cat", "cat");
  clock.Advance(15000);
  Step();
  EXPECT_EQ(game->state, kStateOver);
  EXPECT_EQ(P(0).score, 10 + 20);

  GoOut(1, "cat", "cat");
  Pass();
  EXPECT_EQ(game->state, kStateOver);
}

// Player 0 is this machine's human, player 1 a remote player.
class RemoteTest : public TurnsTest {
 protected:
  void SetUp() override {
    net.mode = kNetworkLan;
    net.racks[1] = {"aeiorst", 7};
    Start({kPlayerHuman, kPlayerRemote}, 2);
  }
  PlayerDataMessage Message(int32_t request) {
    PlayerDataMessage m;
    m.turnIndex = game->turnIndex;
    m.request = request;
    return m;
  }
  static RobotMove Word(const char* text, int column, int row, int down, int score) {
    RobotMove w;
    std::strcpy(w.word, text);
    w.length = static_cast<uint8_t>(std::strlen(text));
    w.column = static_cast<uint8_t>(column);
    w.row = static_cast<uint8_t>(row);
    w.direction = static_cast<uint8_t>(down);
    w.score = score;
    return w;
  }
  void SetRack(PlayerDataMessage& m, const char* rack) {
    std::strcpy(m.rack, rack);
    m.rackCount = 0;
    for (const char* c = rack; *c; ++c)
      m.rackCount += *c != '_';
  }
};

TEST_F(RemoteTest, MessagesBothWays) {
  EXPECT_EQ(Rack(1), "aeiorst");
  GiveRack(P(0), "catsbeq");
  Play(7, 6, "cat");
  ASSERT_EQ(net.sent.size(), 1u);
  const PlayerDataMessage out = net.Sent(0);
  EXPECT_EQ(out.request, kRequestPlay);
  EXPECT_EQ(out.turnIndex, 0);
  EXPECT_STREQ(out.words[0].text, "cat");
  EXPECT_EQ(out.words[0].score, 10);
  EXPECT_EQ(out.rackCount, 7);
  EXPECT_EQ(std::string(out.rack, 7), Rack(0));
  NextTurn();
  ASSERT_EQ(game->currentPlayer, &P(1));

  // The remote player lays "oat" down through the a, drawing "xy".
  PlayerDataMessage play = Message(kRequestPlay);
  RobotMove w = Word("oat", 7, 6, 1, 6);
  play.SetWords(&w, 1);
  SetRack(play, "ei_rsxy");
  net.Queue(1, play);
  Step();
  EXPECT_EQ(P(1).turnPhase, kPhaseOver);
  EXPECT_EQ(P(1).score, 6);
  EXPECT_EQ(game->board.At(6, 7), 'o');
  EXPECT_EQ(game->board.At(8, 7), 't');
  EXPECT_EQ(Rack(1), "ei_rsxy");
  EXPECT_EQ(net.sent.size(), 1u);  // nothing is sent for a remote player
  EXPECT_GE(view.messageBoxesClosed, 1);
  ExpectTilesConserved();
  NextTurn();

  // Player 0 passes; the remote player's pass with an unchanged rack, then
  // an exchange that changes it.
  Pass();
  EXPECT_EQ(net.Sent(1).request, kRequestPass);
  NextTurn();
  PlayerDataMessage pass = Message(kRequestPass);
  SetRack(pass, "ei_rsxy");
  net.Queue(1, pass);
  Step();
  EXPECT_EQ(P(1).lastAction, kLastPassed);
  EXPECT_EQ(game->consecutivePasses, 2);
  NextTurn();
  Pass();
  NextTurn();
  PlayerDataMessage swap = Message(kRequestExchange);
  SetRack(swap, "eeirsst");
  net.Queue(1, swap);
  Step();
  EXPECT_EQ(P(1).lastAction, kLastExchanged);
  EXPECT_EQ(Rack(1), "eeirsst");
  EXPECT_EQ(game->consecutivePasses, 3);
  ExpectTilesConserved();
}

TEST_F(RemoteTest, DamagedMessagesAreDropped) {
  Pass();
  NextTurn();
  ASSERT_EQ(game->currentPlayer, &P(1));
  const std::string board(game->board.letters, kBoardSquares);

  std::vector<PlayerDataMessage> bad;
  PlayerDataMessage m = Message(kRequestPlay);
  RobotMove w = Word("sat", 14, 7, 0, 3);  // runs off the board
  m.SetWords(&w, 1);
  SetRack(m, "eio_rt_");
  bad.push_back(m);
  m = Message(kRequestPlay);
  w = Word("sat", 6, 7, 0, 3);
  m.SetWords(&w, 1);
  SetRack(m, "eio_rt_");
  m.rackCount = 9;  // not the rack it carries
  bad.push_back(m);
  m.rackCount = 5;
  m.turnIndex = 5;  // another turn's
  bad.push_back(m);
  m.turnIndex = game->turnIndex;
  m.request = 42;
  bad.push_back(m);
  m.request = kRequestPlay;
  w = Word("zzz", 6, 7, 0, 3);  // tiles the player does not hold
  m.SetWords(&w, 1);
  bad.push_back(m);
  for (const PlayerDataMessage& b : bad)
    net.Queue(1, b);
  net.QueueBytes(1, std::vector<uint8_t>(100, 20));  // cut short
  std::vector<uint8_t> wrongType(kPlayerMessageSize);
  EncodePlayerMessage(Message(kRequestPass), wrongType.data());
  wrongType[0] = 19;
  net.QueueBytes(1, wrongType);

  for (int i = 0; i < 10; ++i)
    Step();
  EXPECT_TRUE(net.incoming[1].empty());
  EXPECT_EQ(P(1).turnPhase, kPhaseDeciding);
  EXPECT_EQ(P(1).score, 0);
  EXPECT_EQ(std::string(game->board.letters, kBoardSquares), board);
  EXPECT_EQ(Rack(1), "aeiorst");
  EXPECT_GE(ui.debugLines.size(), 6u);

  // The good one after them is played.
  w = Word("sat", 6, 7, 0, 6);
  m.SetWords(&w, 1);
  SetRack(m, "eio_rt_");
  net.racks[1] = {"eio_rt_", 5};
  net.Queue(1, m);
  Step();
  EXPECT_EQ(P(1).score, 6);
  EXPECT_EQ(game->board.At(7, 6), 's');
  ExpectTilesConserved();
}

TEST_F(RemoteTest, RemoteChallengeTakesTheMoveBack) {
  GiveRack(P(0), "abcdxyz");
  const std::string before = Rack(0);
  Play(7, 4, "abcd");
  NextTurn();
  PlayerDataMessage challenge = Message(kRequestChallenge);
  challenge.SetWords(P(0).moveWords.data(), 1);
  net.Queue(1, challenge);
  Step();
  EXPECT_EQ(P(0).score, 0);
  EXPECT_EQ(Rack(0), before);
  EXPECT_EQ(game->board.At(7, 7), 0);
  EXPECT_EQ(P(1).turnPhase, kPhaseBegin);
  ExpectTilesConserved();
}

}  // namespace
