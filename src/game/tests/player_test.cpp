#include "game/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "game/game.h"
#include "game_fakes.h"
#include "platform/crand.h"

namespace {

using gamefakes::FakeRobot;
using gamefakes::FakeRobotFactory;

std::string Rack(const GamePlayer& p) { return std::string(p.rack, 7); }

int BagTotal(const TileBag& bag) {
  int n = 0;
  for (int32_t c : bag.counts)
    n += c;
  return n;
}

PlayerSetupEntry Entry(int32_t type, int32_t firstOption) {
  PlayerSetupEntry e;
  std::strcpy(e.name, "Someone");
  e.playerType = type;
  e.options[0] = firstOption;
  e.options[12] = 42;
  return e;
}

// A standard game of two players (a human and a remote player) with a full
// English bag.
class PlayerTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::SeedRandom(4242);
    game.setup.kind = kKindStandard;
    game.setup.language = 0;
    game.setup.AddPlayer(Entry(kPlayerHuman, 0));
    game.setup.AddPlayer(Entry(kPlayerRemote, 0));
    game.StartNewGame();
    human = game.Player(0);
    remote = game.Player(1);
  }

  // Leaves exactly these tiles in the bag.
  void BagHolds(const char* letters) {
    std::memset(game.bag.counts, 0, sizeof game.bag.counts);
    game.bag.tileCount = 0;
    game.bag.ReturnLetters(game.BagRules(), letters, static_cast<int>(std::strlen(letters)));
  }

  gamefakes::RecordingUiPort ui;
  gamefakes::FakeNetPort net;
  FakeRobotFactory robots;
  CGame game;
  GamePlayer* human = nullptr;
  GamePlayer* remote = nullptr;
};

TEST_F(PlayerTest, EveryPlayerOwnsARobotMadeFromItsOptions) {
  {
    GamePlayer computer(Entry(kPlayerComputer, 7), 3);
    ASSERT_NE(computer.GetRobot(), nullptr);
    FakeRobot* r = FakeRobotFactory::Of(computer.GetRobot());
    EXPECT_EQ(r->options, computer.entry.options);  // points at the player's own words
    EXPECT_EQ(r->optionsAtSetup[0], 7);
    EXPECT_EQ(r->optionsAtSetup[12], 42);
    EXPECT_EQ(r->rules, &GlobalRules());
    EXPECT_STREQ(computer.displayName, "Player 3");
    EXPECT_EQ(computer.playerIndex, 3);

    // A copy owns a copy, pointed at the copy's option words.
    GamePlayer copy(computer);
    ASSERT_NE(copy.GetRobot(), nullptr);
    EXPECT_NE(copy.GetRobot(), computer.GetRobot());
    EXPECT_TRUE(FakeRobotFactory::Of(copy.GetRobot())->copied);
    EXPECT_EQ(FakeRobotFactory::Of(copy.GetRobot())->options, copy.entry.options);

    // New options reach the robot.
    int32_t options[kPlayerOptionCount] = {9};
    copy.Setup(options);
    EXPECT_EQ(FakeRobotFactory::Of(copy.GetRobot())->optionsAtSetup[0], 9);
  }
  // Humans and remote players of the game have robots too; the stand-in
  // constructor makes none.
  EXPECT_NE(human->GetRobot(), nullptr);
  EXPECT_NE(remote->GetRobot(), nullptr);
  EXPECT_EQ(GamePlayer().GetRobot(), nullptr);
  EXPECT_EQ(robots.live, 2);  // only the game's players are left
}

TEST_F(PlayerTest, RemoveFromRackBlanksTheFirstEqualPlaces) {
  human->ClearRack("reefs__");
  EXPECT_EQ(human->rackCount, 5);
  char taken[kRackTextSize];
  EXPECT_EQ(human->RemoveFromRack("eex", taken), 2);  // x is not on the rack
  EXPECT_EQ(Rack(*human), "r__fs__");
  EXPECT_EQ(human->rackCount, 3);
  EXPECT_STREQ(taken, "ee");
  EXPECT_EQ(std::string(human->rackBeforeMove, 7), "reefs__");

  // Anagram and conundrum racks stay whole.
  game.setup.kind = kKindAnagram;
  EXPECT_EQ(human->RemoveFromRack("r"), 0);
  EXPECT_EQ(Rack(*human), "r__fs__");
}

TEST_F(PlayerTest, RackFromTextAndFromViewCells) {
  human->ClearRack("a_`");
  EXPECT_EQ(Rack(*human), "a_`____");
  EXPECT_EQ(human->rackCount, 2);

  char cells[7 * kViewCellBytes] = {};
  cells[0 * kViewCellBytes] = 'q';
  cells[2 * kViewCellBytes] = 'i';
  cells[6 * kViewCellBytes] = '`';
  cells[1] = 'z';  // inside the first cell, not a letter of the row
  human->SetRack(cells);
  EXPECT_EQ(Rack(*human), "q_i___`");
  EXPECT_EQ(human->rackCount, 3);
  EXPECT_EQ(std::string(human->rackAsDealt, 7), "q_i___`");
}

TEST_F(PlayerTest, ArrangeRackModes) {
  struct Case {
    int mode;
    const char* rack;
    const char* expected;
  } cases[] = {
      {kRackAlphabetical, "t`a_e__", "___`aet"},
      {kRackConsonantsFirst, "eb`sa_k", "`bksae_"},
      {kRackVowelsFirst, "eb`sa_k", "`aebks_"},
      {kRackAlphabetical, "__q____", "__q____"},  // one letter: unchanged
  };
  for (const Case& c : cases) {
    human->ClearRack(c.rack);
    human->ArrangeRack(c.mode);
    EXPECT_EQ(Rack(*human), c.expected) << "mode " << c.mode << " on " << c.rack;
  }
  // Random order: the same letters, laid from the first place.
  human->ClearRack("_a_b_cd");
  human->ArrangeRack(kRackRandom);
  std::string laid = Rack(*human);
  EXPECT_EQ(laid.substr(4), "___");
  std::string letters = laid.substr(0, 4);
  std::sort(letters.begin(), letters.end());
  EXPECT_EQ(letters, "abcd");
}

TEST_F(PlayerTest, ExchangeIsRefusedWithFewerThanSevenTilesInTheBag) {
  BagHolds("uvwxyz");
  human->ClearRack("abcdefg");
  const TileBag before = game.bag;
  EXPECT_FALSE(human->Exchange("abc"));
  EXPECT_EQ(Rack(*human), "abcdefg");
  EXPECT_EQ(game.bag.tileCount, 6);
  EXPECT_EQ(0, std::memcmp(game.bag.counts, before.counts, sizeof before.counts));
  EXPECT_EQ(0, std::memcmp(game.bag.drawOrder, before.drawOrder, sizeof before.drawOrder));
  EXPECT_EQ(game.scorelessTurns, 0);
}

TEST_F(PlayerTest, ExchangeSwapsOnlyTilesThatAreOnTheRack) {
  BagHolds("uuuuvvww");
  human->ClearRack("abcdefg");
  // 'x' is not on the rack: it must not appear in the bag.
  EXPECT_TRUE(human->Exchange("abx"));
  EXPECT_EQ(game.scorelessTurns, 1);
  EXPECT_EQ(human->rackCount, 7);
  EXPECT_EQ(std::count_if(human->rack, human->rack + 7,
                          [](char c) { return c == 'u' || c == 'v' || c == 'w'; }),
            2);
  EXPECT_EQ(game.bag.counts[LetterIndex('a')], 1);
  EXPECT_EQ(game.bag.counts[LetterIndex('b')], 1);
  EXPECT_EQ(game.bag.counts[LetterIndex('x')], 0);
  EXPECT_EQ(game.bag.tileCount, 8);
}

TEST_F(PlayerTest, RefillArrangesAndReturnPutsEveryTileBack) {
  ASSERT_EQ(game.bag.tileCount, 100);
  ui.rackSorting = kRackAlphabetical;
  human->ClearRack("");
  ASSERT_TRUE(human->RefillRack());
  EXPECT_EQ(human->rackCount, 7);
  EXPECT_TRUE(std::is_sorted(human->rack, human->rack + 7)) << Rack(*human);
  EXPECT_EQ(std::string(human->rackAsDealt, 7), Rack(*human));
  EXPECT_EQ(game.bag.tileCount, 93);

  human->ReturnRackToBag();
  EXPECT_EQ(Rack(*human), "_______");
  EXPECT_EQ(human->rackCount, 0);
  EXPECT_EQ(game.bag.tileCount, 100);
  EXPECT_EQ(BagTotal(game.bag), 100);
}

TEST_F(PlayerTest, PeerRackTakesOnlyItsNewTilesFromTheBag) {
  BagHolds("aabcde");
  remote->ClearRack("q_z____");  // left after its move
  net.racks[1] = {"qabz", 4};
  ASSERT_TRUE(remote->RefillRack());
  EXPECT_EQ(Rack(*remote), "qabz___");
  EXPECT_EQ(remote->rackCount, 4);
  EXPECT_EQ(game.bag.tileCount, 4);  // a and b left the bag, q and z were on the rack
  EXPECT_EQ(game.bag.counts[LetterIndex('a')], 1);

  // An exchange: q went back to the peer's bag, so it comes back to ours.
  net.racks[1] = {"cabz", 4};
  ASSERT_TRUE(remote->RefillRack());
  EXPECT_EQ(game.bag.counts[LetterIndex('q')], 1);
  EXPECT_EQ(game.bag.counts[LetterIndex('c')], 0);
  EXPECT_EQ(game.bag.tileCount, 4);
}

TEST_F(PlayerTest, PeerRackThatCouldNotComeFromTheBagIsRefused) {
  BagHolds("abcdefg");
  remote->ClearRack("h______");
  const TileBag before = game.bag;
  const struct {
    std::string text;
    int32_t count;
  } bad[] = {
      {"hxa", 3},         // x is not in the bag
      {"haa", 3},         // only one a
      {"hA", 2},          // not a rack byte
      {"h\x01", 2},       // not a rack byte
      {"h______abc", 4},  // tiles beyond the rack size
      {"ha", -1},         // count out of range
      {"ha", 99},
  };
  for (const auto& b : bad) {
    net.racks[1] = {b.text, b.count};
    EXPECT_FALSE(remote->RefillRack()) << b.text;
    EXPECT_EQ(Rack(*remote), "h______") << b.text;
    EXPECT_EQ(0, std::memcmp(game.bag.counts, before.counts, sizeof before.counts)) << b.text;
  }
  // Nothing received: nothing happens.
  net.racks.clear();
  EXPECT_FALSE(remote->RefillRack());
  EXPECT_EQ(game.bag.tileCount, 7);
}

TEST_F(PlayerTest, ComputeNewLettersMarksEmptySquares) {
  char grid[kBoardSquares] = {};
  grid[7 * kBoardStride + 8] = 'a';
  RobotMove move;
  std::strcpy(move.word, "cAt");
  move.row = 7;
  move.column = 7;
  move.length = 3;
  GamePlayer::ComputeNewLetters(move, grid);
  EXPECT_EQ(move.placedLetters[0], 'c');
  EXPECT_EQ(move.placedLetters[1], 0);  // occupied
  EXPECT_EQ(move.placedLetters[2], 't');

  grid[7 * kBoardStride + 8] = 0;
  GamePlayer::ComputeNewLetters(move, grid);
  EXPECT_EQ(move.placedLetters[1], kUnassignedBlank);
}

TEST_F(PlayerTest, ResetsAndSmallAccessors) {
  human->score = 50;
  human->moveScore = 12;
  human->AddPendingScore();
  EXPECT_EQ(human->score, 62);
  RobotMove words[2];
  std::strcpy(words[0].word, "ab");
  human->SetPlayedWords(words, 2);
  EXPECT_STREQ(human->GetMoves()->word, "ab");
  human->SetRackText("abcdefghijklmnopqrstuvwxyz", 99);
  EXPECT_EQ(std::strlen(human->rack), 20u);
  EXPECT_EQ(human->rackCount, 20);

  human->ResetForNewGame();
  EXPECT_EQ(human->Type(), kPlayerNone);
  EXPECT_EQ(human->othersMark, 1);
  EXPECT_EQ(human->newGameCounters[0], kNewGameCounter);
  EXPECT_EQ(human->GetMoves(), nullptr);

  human->Reset();
  EXPECT_EQ(human->score, 0);
  EXPECT_STREQ(human->rack, "_______");
  EXPECT_EQ(human->othersMark, 0);
  EXPECT_FLOAT_EQ(human->workMove.rankValue, kRejectedRank);
}

TEST(PlayerStatsTest, RecordMoveAndAverageTerms) {
  gamefakes::RecordingUiPort ui;
  PlayerMoveStats stats;
  RobotMove bingo;
  bingo.length = 7;
  std::memcpy(bingo.placedLetters, "abcdefg", 7);
  bingo.rankValue = 5;
  bingo.terms[0] = 2;
  bingo.terms[13] = 4;
  bingo.termSum = 6;
  RobotMove small;
  small.length = 3;
  std::memcpy(small.placedLetters, "a\0b", 3);  // one square was already covered
  small.rankValue = 1;
  small.terms[0] = 10;

  EXPECT_EQ(stats.RecordMove(bingo, 2, true), 7);
  EXPECT_EQ(stats.RecordMove(small, 4, false), 2);
  EXPECT_EQ(stats.lettersPlaced, 9);
  EXPECT_EQ(stats.allTilesMoves, 1);
  EXPECT_EQ(stats.mostWordsInMove, 4);
  EXPECT_FLOAT_EQ(stats.bestMove.rankValue, 5);         // the better move is kept
  EXPECT_FLOAT_EQ(stats.termSums[kStatsWordScore], 2);  // invalid words add nothing
  EXPECT_EQ(ui.debugLines.back(), "Number of letter play = 2, total = 9\n");

  stats.RecordMove(bingo, 1, true);
  stats.AverageTerms(2);
  EXPECT_FLOAT_EQ(stats.termSums[kStatsWordScore], 2);
  EXPECT_FLOAT_EQ(stats.termSums[kStatsBonusSquaresBlocked], 4);
  EXPECT_FLOAT_EQ(stats.termSums[kStatsGeneralNote], 6);
  stats.AverageTerms(0);  // ignored
  EXPECT_FLOAT_EQ(stats.termSums[kStatsWordScore], 2);
}

}  // namespace
