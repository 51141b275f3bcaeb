#include "game/game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game_fakes.h"
#include "platform/crand.h"

namespace {

class GameTest : public testing::Test {
 protected:
  void StartGame(int32_t kind, int32_t flags = 0) {
    game = std::make_unique<CGame>();
    game->setup.kind = kind;
    game->setup.flags = flags;
    game->rules->Setup(0, 7, &game->setup);
    for (int i = 0; i < 3; ++i)
      game->players[i] = std::make_unique<GamePlayer>(i);
    game->setup.playerCount = 3;
    game->currentPlayer = game->players[0].get();
    platform::SeedRandom(777);
    game->FillBag();
  }

  // Leaves exactly these tiles in the bag.
  void BagHolds(const char* letters) {
    std::memset(game->bag.counts, 0, sizeof game->bag.counts);
    game->bag.tileCount = 0;
    game->bag.ReturnLetters(game->BagRules(), letters, static_cast<int>(std::strlen(letters)));
  }

  static int Vowels(const char* rack) {
    int n = 0;
    for (int i = 0; i < 7; ++i)
      n += IsVowel(rack[i]);
    return n;
  }

  std::unique_ptr<CGame> game;
};

TEST_F(GameTest, StandardRefill) {
  StartGame(kKindStandard);
  char rack[kRackTextSize] = "ab_\0_e_";
  int32_t count = -1;
  game->FillRack(rack, &count, game->players[0].get());
  EXPECT_EQ(count, 7);
  EXPECT_EQ(CountTiles(rack, 7) + CountBlanks(rack, 7), 7);
  EXPECT_EQ(game->bag.tileCount, 100 - 4);

  // Three tiles left for five empty places.
  BagHolds("xyz");
  char short_rack[kRackTextSize] = "ab_____";
  game->FillRack(short_rack, &count, game->players[0].get());
  EXPECT_EQ(count, 5);
  EXPECT_EQ(std::count(short_rack, short_rack + 7, '_'), 2);
  EXPECT_TRUE(game->bag.IsEmpty());
}

TEST_F(GameTest, DuplicateRefillBalancesVowels) {
  StartGame(kKindDuplicate);
  game->roundCount = 3;
  char rack[kRackTextSize] = "bcdfg__";
  int32_t count = 0;
  game->FillRack(rack, &count, nullptr);
  EXPECT_EQ(count, 7);
  EXPECT_TRUE(IsVowel(rack[5]) && IsVowel(rack[6])) << rack;

  // Two vowels on the rack and few non-vowels: the non-vowels come first.
  StartGame(kKindDuplicate);
  std::strcpy(rack, "aeio___");
  game->FillRack(rack, &count, nullptr);
  EXPECT_FALSE(IsVowel(rack[4]));
  EXPECT_FALSE(IsVowel(rack[5]));
  EXPECT_EQ(count, 7);

  // No vowel left anywhere: the rack fails the balance test.
  StartGame(kKindDuplicate);
  BagHolds("bcdfghjklmnp");
  std::strcpy(rack, "_______");
  game->FillRack(rack, &count, nullptr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(Vowels(rack), 0);

  // From round 15 one vowel is enough.
  StartGame(kKindDuplicate);
  game->roundCount = 15;
  BagHolds("bcdfgh");
  std::strcpy(rack, "a______");
  game->FillRack(rack, &count, nullptr);
  EXPECT_EQ(count, 7);
  game->roundCount = 14;
  BagHolds("bcdfgh");
  std::strcpy(rack, "a______");
  game->FillRack(rack, &count, nullptr);
  EXPECT_EQ(count, 0);
}

TEST_F(GameTest, RefusedThirdBlankGoesBackToTheBag) {
  StartGame(kKindDuplicate);
  BagHolds("`");
  char rack[kRackTextSize] = "``ae___";
  int32_t count = 0;
  game->FillRack(rack, &count, nullptr);
  EXPECT_EQ(CountBlanks(rack, 7), 2);
  EXPECT_EQ(game->bag.tileCount, 1);
  EXPECT_EQ(game->bag.counts[0], 1);
}

TEST_F(GameTest, BlankPerPlayerGivesTheOwedBlank) {
  StartGame(kKindDuplicate, kFlagBlankPerPlayer);
  GamePlayer* p = game->players[0].get();
  p->blankOwed = 1;
  char rack[kRackTextSize] = "ab_____";
  int32_t count = 0;
  game->FillRack(rack, &count, p);
  EXPECT_EQ(rack[2], kUnassignedBlank);
  EXPECT_EQ(game->bag.tileCount, 100 - 4);  // the blank is not the bag's
  EXPECT_EQ(game->bag.counts[0], 2);
  EXPECT_EQ(p->blankOwed, 1);  // duplicate players keep theirs

  StartGame(kKindStandard, kFlagBlankPerPlayer);
  game->blanksToHandOut = 2;
  p = game->players[0].get();
  p->blankOwed = 1;
  std::strcpy(rack, "_______");
  game->FillRack(rack, &count, p);
  EXPECT_EQ(rack[0], kUnassignedBlank);
  EXPECT_EQ(p->blankOwed, 0);
}

RobotMove Move(const char* word, int row, int column, bool down = false) {
  RobotMove m;
  std::strcpy(m.word, word);
  m.row = static_cast<uint8_t>(row);
  m.column = static_cast<uint8_t>(column);
  m.direction = down ? 1 : 0;
  m.length = static_cast<uint8_t>(std::strlen(word));
  return m;
}

TEST_F(GameTest, ApplyAndRemoveAMove) {
  StartGame(kKindStandard);
  game->board.letters[7 * kBoardStride + 7] = 'a';
  RobotMove m = Move("Cat", 7, 6);
  std::memset(m.placedLetters, 'x', sizeof m.placedLetters);
  char out[kPlacedLettersSize];
  RobotMove* last = game->ApplyMove(m, out);
  ASSERT_EQ(last, &game->lastMove);
  EXPECT_EQ(game->board.letters[7 * kBoardStride + 6], 'C');
  EXPECT_EQ(game->board.letters[7 * kBoardStride + 8], 't');
  const char placed[kPlacedLettersSize] = {'`', 0, 't'};
  EXPECT_EQ(std::memcmp(m.placedLetters, placed, sizeof placed), 0);
  EXPECT_EQ(std::memcmp(last->placedLetters, placed, sizeof placed), 0);
  EXPECT_EQ(std::memcmp(out, placed, sizeof placed), 0);
  EXPECT_STREQ(last->word, "Cat");

  game->RemoveMoveLetters(m);
  EXPECT_EQ(game->board.letters[7 * kBoardStride + 6], 0);
  EXPECT_EQ(game->board.letters[7 * kBoardStride + 7], 'a');
  EXPECT_EQ(game->board.letters[7 * kBoardStride + 8], 0);

  // A crossagram placeholder counts as empty; a move down works the same.
  game->board.letters[3 * kBoardStride + 2] = kCrossagramPlaceholder;
  RobotMove down = Move("ox", 3, 2, true);
  game->ApplyMove(down);
  EXPECT_EQ(game->board.letters[3 * kBoardStride + 2], 'o');
  EXPECT_EQ(game->board.letters[4 * kBoardStride + 2], 'x');

  // An empty move changes nothing.
  RobotMove empty;
  game->lastMove.score = 42;
  game->ApplyMove(empty);
  EXPECT_EQ(game->lastMove.score, 42);

  // A malformed record cannot write past the grid.
  RobotMove wild = Move("abcdefghijklmnopqrs", 14, 10);
  wild.length = 200;
  game->ApplyMove(wild);
  game->RemoveMoveLetters(wild);
}

TEST_F(GameTest, AnagramMoveBecomesTheAnswer) {
  StartGame(kKindAnagram);
  RobotMove m = Move("stone", 0, 0);
  game->ApplyMove(m);
  EXPECT_STREQ(game->players[0]->anagramAnswer, "stone");
}

TEST_F(GameTest, BlankPerPlayerPrefersARealTile) {
  StartGame(kKindDuplicate, kFlagBlankPerPlayer);
  game->duplicatePhase = 2;
  ASSERT_EQ(game->blanksToHandOut, 2);
  ASSERT_TRUE(game->bag.HasLetter(game->BagRules(), '`'));  // a blank in play
  const int tiles = game->bag.tileCount;

  RobotMove m = Move("Qa", 7, 7);  // the bag has its Q
  game->ApplyMove(m);
  EXPECT_EQ(game->board.letters[7 * kBoardStride + 7], 'q');
  EXPECT_EQ(m.placedLetters[0], 'q');
  EXPECT_EQ(game->bag.counts[17], 0);
  EXPECT_EQ(game->bag.counts[0], 2);      // the blank went back
  EXPECT_EQ(game->bag.tileCount, tiles);  // the Q out, the blank back
  EXPECT_EQ(game->blanksToHandOut, 2);

  RobotMove again = Move("Qi", 8, 7);  // no Q left: it stays a blank
  game->ApplyMove(again);
  EXPECT_EQ(game->board.letters[8 * kBoardStride + 7], 'Q');
  EXPECT_EQ(again.placedLetters[0], kUnassignedBlank);
  EXPECT_EQ(game->blanksToHandOut, 1);
}

TEST_F(GameTest, FinalRacksSettleToTheFinisher) {
  StartGame(kKindStandard);
  std::strcpy(game->players[0]->rack, "ab_____");  // 4
  std::strcpy(game->players[1]->rack, "_______");
  std::strcpy(game->players[2]->rack, "z`_____");  // 10
  game->players[0]->score = 100;
  game->players[1]->score = 50;
  game->players[2]->score = 80;
  game->SettleFinalRacks();
  EXPECT_EQ(game->players[0]->score, 96);
  EXPECT_EQ(game->players[1]->score, 64);
  EXPECT_EQ(game->players[2]->score, 70);

  // Nobody finished: only the penalties.
  std::strcpy(game->players[1]->rack, "e______");
  game->SettleFinalRacks();
  EXPECT_EQ(game->players[0]->score, 92);
  EXPECT_EQ(game->players[1]->score, 63);
  EXPECT_EQ(game->players[2]->score, 60);

  // Other kinds keep their scores.
  game->setup.kind = kKindDuplicate;
  game->SettleFinalRacks();
  EXPECT_EQ(game->players[0]->score, 92);
}

TEST_F(GameTest, FinishedGameShowsTheSettledScoresInThePanels) {
  gamefakes::RecordingUiPort ui;
  StartGame(kKindStandard);
  game->setup.noStatistics = 1;
  std::strcpy(game->players[0]->rack, "_______");
  std::strcpy(game->players[1]->rack, "ab_____");  // 4
  std::strcpy(game->players[2]->rack, "e______");  // 1
  game->players[0]->score = 392;
  game->players[1]->score = 293;
  std::vector<int32_t> shown;
  ui.onPanelRefresh = [&] { shown = {game->players[0]->score, game->players[1]->score}; };
  game->state = kStateOver;
  game->FinishGame();
  EXPECT_EQ(shown, (std::vector<int32_t>{397, 289}));
}

}  // namespace
