#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/move_history.h"
#include "game_fakes.h"
#include "turn_fakes.h"
#include "game_test_support.h"
#include "recording_sink.h"

namespace {

using gametest::Move;

class GameHistoryTest : public testing::Test {
 protected:
  void SetUp() override { game = gametest::TwoHumanGame(); }

  GamePlayer& P(int i) { return *game->Player(i); }

  // Plays a move for player i the way the turn does: score, rack, board,
  // then the history entry.
  void Play(int i, const RobotMove& move, const char* rackAfter) {
    P(i).score += move.score;
    std::strcpy(P(i).rack, rackAfter);
    RobotMove m = move;
    game->ApplyMove(m);
    game->turnIndex = i;
    game->RecordMove(&m);
  }

  gamefakes::RecordingUiPort ui;
  std::unique_ptr<CGame> game;
};

TEST_F(GameHistoryTest, EntriesKeepScoresAsTheyStand) {
  game->RecordMove(nullptr);  // the start of the game
  Play(0, Move("cat", 10, 7, 7), "ab_____");
  // A failed challenge costs player 1 five points between two entries.
  P(1).score -= 5;
  game->RecordMove(nullptr);

  const HistoryRecord* pass = game->GetCurrentHistoryEntry();
  ASSERT_NE(pass, nullptr);
  EXPECT_FALSE(pass->HasMove());
  EXPECT_EQ(pass->scores[0], 10);
  EXPECT_EQ(pass->scores[1], -5);
  EXPECT_STREQ(pass->racks[0], "ab_____");
  EXPECT_EQ(P(1).score, -5);  // the entry leaves the players alone
  EXPECT_EQ(game->GetHistoryIndex(), 3);
  ASSERT_FALSE(ui.broadcasts.empty());
  EXPECT_EQ(ui.broadcasts.back().second, kGameChangedMoveAdded);
}

TEST_F(GameHistoryTest, ReplayRebuildsBoardRacksAndScoresAndPauses) {
  game->RecordMove(nullptr);
  Play(0, Move("cat", 10, 7, 7), "ab_____");
  Play(1, Move("cow", 12, 7, 7, true), "xyz____");
  Play(0, Move("tea", 5, 9, 7, true), "b______");

  turnfakes::FakeBoardView view;
  HistoryRecord* second = game->history->RecordAt(2);
  const int panelRefreshes = ui.panelRefreshes, remainderRefreshes = ui.remainderRefreshes;
  ASSERT_TRUE(game->ReplayToMove(second));
  EXPECT_EQ(ui.panelRefreshes, panelRefreshes + 1);  // the scores shown are the entry's
  EXPECT_EQ(ui.remainderRefreshes, remainderRefreshes + 1);
  EXPECT_EQ(std::memcmp(view.board, game->board.letters, kBoardSquares), 0);
  EXPECT_EQ(game->GetHistoryIndex(), 2);
  EXPECT_EQ(game->board.At(7, 9), 't');
  EXPECT_EQ(game->board.At(8, 7), 0);  // "cow" is not laid yet
  EXPECT_EQ(game->board.At(8, 9), 0);
  EXPECT_EQ(P(0).score, 10);
  EXPECT_EQ(P(1).score, 0);
  EXPECT_STREQ(P(0).rack, "ab_____");
  EXPECT_EQ(P(0).rackCount, 2);
  EXPECT_EQ(game->state, kStatePaused);
  EXPECT_EQ(game->savedState, kStateTurnRunning);

  // After player 1's reply player 0 is to move: the view shows its rack.
  ASSERT_TRUE(game->ReplayToMove(game->history->RecordAt(3)));
  EXPECT_EQ(view.rack, "ab_____");

  ASSERT_TRUE(game->ReplayToMove(game->history->Last()));
  EXPECT_EQ(game->board.At(8, 7), 'o');
  EXPECT_EQ(game->board.At(9, 9), 'a');
  EXPECT_EQ(P(0).score, 15);
  EXPECT_EQ(P(1).score, 12);
  EXPECT_EQ(game->state, kStateTurnRunning);

  HistoryRecord stranger;
  EXPECT_FALSE(game->ReplayToMove(&stranger));
  EXPECT_FALSE(game->ReplayToMove(nullptr));
}

TEST_F(GameHistoryTest, ReplayOfImportedPassAndSwapTellsTheUser) {
  testsupport::RecordingSink sink;
  HistoryRecord swap;
  std::strcpy(swap.move.word, "qvx");
  swap.entryKind = kEntryExchange;
  game->AddHistoryMove(swap);
  HistoryRecord pass;
  pass.entryKind = kEntryPass;
  game->AddHistoryMove(pass);

  game->ReplayToMove(game->history->RecordAt(1));
  game->ReplayToMove(game->history->RecordAt(2));
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, "The player has swapped his letters 'qvx' and passed his turn.");
  EXPECT_EQ(sink.messages[1].text, "The player has passed.");
}

TEST_F(GameHistoryTest, SteppingBackAndPlayingMakesAVariation) {
  game->RecordMove(nullptr);
  Play(0, Move("cat", 10, 7, 7), "ab_____");
  Play(1, Move("cow", 12, 7, 7, true), "xyz____");
  game->ReplayToMove(game->history->RecordAt(2));
  Play(1, Move("act", 9, 6, 8), "q______");

  EXPECT_EQ(game->history->Count(), 3);
  EXPECT_EQ(std::string(game->history->Last()->move.word), "act");
  ASSERT_NE(game->PromoteVariation(), nullptr);
  EXPECT_EQ(std::string(game->history->Last()->move.word), "cow");
}

TEST_F(GameHistoryTest, TakeBackLastMove) {
  EXPECT_FALSE(game->TakeBackLastMove());
  game->RecordMove(nullptr);
  Play(0, Move("cat", 10, 7, 7), "ab_____");
  game->GoToHistoryIndex(1);
  EXPECT_TRUE(game->TakeBackLastMove());
  EXPECT_EQ(game->history->Count(), 1);
  EXPECT_EQ(game->GetHistoryIndex(), 1);

  game->history.reset();
  EXPECT_FALSE(game->TakeBackLastMove());
  EXPECT_EQ(game->GetHistoryIndex(), kHistoryMissing);
  game->RecordMove(nullptr);  // tolerated
}

TEST_F(GameHistoryTest, BestMovesPerPlayerFromTheStartPlayer) {
  for (int start : {0, 1}) {
    SetUp();
    game->startPlayerIndex = start;
    game->RecordMove(nullptr);  // entry 1 belongs to nobody's move
    const int other = 1 - start;
    Play(start, Move("cat", 10, 7, 7), "_______");
    Play(other, Move("cow", 30, 7, 7, true), "_______");
    Play(start, Move("tea", 25, 9, 7, true), "_______");
    Play(other, Move("ox", 4, 8, 8), "_______");

    std::vector<RobotMove> best;
    const RobotMove* last = game->FindBestMoveInHistory(best);
    ASSERT_EQ(best.size(), 2u);
    EXPECT_EQ(best[start].score, 25) << start;
    EXPECT_EQ(best[other].score, 30) << start;
    EXPECT_EQ(last, &best[start]);
  }
}

TEST_F(GameHistoryTest, PauseAndResume) {
  struct Case {
    int32_t state, savedState;
    int32_t pausedState, pausedSaved;
    int32_t resumedState, resumedSaved;
  };
  const Case cases[] = {
      {kStateTurnRunning, kStateNoGame, kStatePaused, kStateTurnRunning, kStateTurnRunning,
       kStateNoGame},
      {kStateOver, kStateNoGame, kStatePaused, kStateOver, kStateOver, kStateNoGame},
      {kStateTurnStart, kStateNoGame, kStateTurnStart, kStateNoGame, kStateTurnStart, kStateNoGame},
  };
  for (const Case& c : cases) {
    game->state = c.state;
    game->savedState = c.savedState;
    game->TogglePause();
    EXPECT_EQ(game->state, c.pausedState);
    EXPECT_EQ(game->savedState, c.pausedSaved);
    game->ResumeFromPause();
    EXPECT_EQ(game->state, c.resumedState);
    EXPECT_EQ(game->savedState, c.resumedSaved);
  }
  EXPECT_EQ(GetGameState(nullptr), kStateNoGame);

  game->setup.kind = kKindDuplicate;
  game->state = kStateTurnRunning;
  std::strcpy(P(1).rack, "duprack");
  PausedDuplicateRacks().saved = 0;
  game->TogglePause();
  EXPECT_EQ(PausedDuplicateRacks().saved, 1);
  EXPECT_STREQ(PausedDuplicateRacks().racks[1], "duprack");
}

}  // namespace
