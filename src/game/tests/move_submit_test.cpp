#include "game/move_submit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "game/game_strings.h"
#include "platform/crand.h"
#include "recording_sink.h"
#include "turn_fakes.h"

namespace {

// A 15-stride grid; Lay writes a word across or down.
struct Grid {
  char cells[kBoardSquares] = {};
  Grid& Lay(int row, int column, const char* word, bool down = false) {
    for (int i = 0; word[i]; ++i)
      cells[(down ? row + i : row) * kBoardStride + (down ? column : column + i)] = word[i];
    return *this;
  }
};

class ExtractTest : public testing::Test {
 protected:
  void SetUp() override {
    setup.kind = kKindStandard;
    rules.Setup(0, 7, &setup);
  }
  // The view is the game grid plus the new tiles.
  int Extract(const Grid& game, const Grid& tiles, int32_t kind = kKindStandard) {
    Grid view = game;
    for (int i = 0; i < kBoardSquares; ++i)
      if (tiles.cells[i]) view.cells[i] = tiles.cells[i];
    n = ExtractPlayedWords(view.cells, game.cells, rules, kind, words, kSubmitRecords);
    return n;
  }
  std::string Word(int i) const { return words[i].word; }

  GameSetup setup;
  GameRules rules;
  RobotMove words[kSubmitRecords];
  int n = 0;
};

TEST_F(ExtractTest, Refusals) {
  Grid empty;
  Grid board;
  board.Lay(7, 6, "cat");
  struct Case {
    const char* name;
    Grid game;
    Grid tiles;
    int32_t kind;
    int expected;
  };
  const Case cases[] = {
      {"single tile on the centre of a first move", empty, Grid().Lay(7, 7, "a"), kKindStandard,
       kPlacementIsolated},
      {"first move off the centre", empty, Grid().Lay(0, 0, "cat"), kKindStandard,
       kPlacementOffCentre},
      {"first duplicate move placed down", empty, Grid().Lay(6, 7, "cat", true), kKindDuplicate,
       kPlacementFirstNotAcross},
      {"nothing new", board, Grid(), kKindStandard, kPlacementNoWord},
      {"a gap in the line", board, Grid().Lay(9, 2, "a").Lay(9, 4, "t"), kKindStandard,
       kPlacementScattered},
      {"two lines", board, Grid().Lay(8, 6, "a").Lay(9, 7, "t"), kKindStandard,
       kPlacementScattered},
      {"away from every letter", board, Grid().Lay(1, 1, "at"), kKindStandard, kPlacementIsolated},
      {"a lone tile touching nothing", board, Grid().Lay(3, 3, "a"), kKindStandard,
       kPlacementIsolated},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Extract(c.game, c.tiles, c.kind), c.expected) << c.name;

  // A view tile shown over a different game letter was never placed.
  Grid view = board;
  view.Lay(7, 7, "o").Lay(7, 10, "s");
  EXPECT_EQ(ExtractPlayedWords(view.cells, board.cells, rules, kKindStandard, words, 16),
            kPlacementScattered);
}

TEST_F(ExtractTest, WordsOfAcceptedPlacements) {
  Grid empty;
  // A first move through the centre needs no contact; down is fine outside
  // duplicate play.
  ASSERT_EQ(Extract(empty, Grid().Lay(6, 7, "cat", true)), 1);
  EXPECT_EQ(Word(0), "cat");
  EXPECT_EQ(words[0].direction, 1);
  EXPECT_EQ(words[0].row, 6);
  EXPECT_EQ(words[0].column, 7);
  EXPECT_EQ(words[0].length, 3);

  Grid board;
  board.Lay(7, 6, "cat");
  // One tile extending a word: across because of its left neighbour.
  ASSERT_EQ(Extract(board, Grid().Lay(7, 9, "s")), 1);
  EXPECT_EQ(Word(0), "cats");
  EXPECT_EQ(words[0].column, 6);
  // One tile under a letter: down, the start moved up over the letter.
  ASSERT_EQ(Extract(board, Grid().Lay(8, 6, "o")), 1);
  EXPECT_EQ(Word(0), "co");
  EXPECT_EQ(words[0].direction, 1);
  EXPECT_EQ(words[0].row, 7);
  // Tiles running through existing letters, a blank among them.
  ASSERT_EQ(Extract(board, Grid().Lay(7, 5, "s").Lay(7, 9, "S")), 1);
  EXPECT_EQ(Word(0), "scatS");
  // Touching only by the side of a new tile: the main word and a cross word.
  ASSERT_EQ(Extract(board, Grid().Lay(8, 4, "bet")), 2);
  EXPECT_EQ(Word(0), "bet");
  EXPECT_EQ(Word(1), "ct");
  EXPECT_EQ(words[1].direction, 1);
  EXPECT_EQ(words[1].column, 6);
  // Parallel under "cat": the main word and two cross words.
  ASSERT_EQ(Extract(board, Grid().Lay(8, 7, "te")), 3);
  EXPECT_EQ(Word(0), "te");
  EXPECT_EQ(Word(1), "at");
  EXPECT_EQ(Word(2), "te");
  // Later duplicate moves may be placed down.
  EXPECT_EQ(Extract(board, Grid().Lay(8, 6, "ab", true), kKindDuplicate), 1);
}

TEST_F(ExtractTest, MoveScoreIsTheSumOfItsWords) {
  GlobalRules().Setup(0, 7, &setup);
  GameBoard board(&GlobalRules());
  Grid grid;
  grid.Lay(7, 6, "cat");
  std::memcpy(board.letters, grid.cells, kBoardSquares);
  Grid view = grid;
  view.Lay(8, 7, "te");
  RobotMove got[kSubmitRecords];
  const int count =
      ExtractPlayedWords(view.cells, grid.cells, GlobalRules(), kKindStandard, got, 16);
  ASSERT_EQ(count, 3);
  int32_t each = 0;
  for (int i = 0; i < 3; ++i) {
    RobotMove copy = got[i];
    each += board.ScoreWord(copy);
  }
  EXPECT_EQ(ScorePlayedWords(board, got, count), each);
  EXPECT_EQ(got[0].score, each);
  EXPECT_GT(got[1].score, 0);
  EXPECT_GT(each, got[0].wordScore);
}

// The handlers, over a standard game of two local humans on a fake view.
class HandlerTest : public testing::Test {
 protected:
  void SetUp() override {
    platform::SeedRandom(99);
    game.setup.kind = kKindStandard;
    game.setup.language = 0;
    PlayerSetupEntry human;
    human.playerType = kPlayerHuman;
    game.setup.AddPlayer(human);
    game.setup.AddPlayer(human);
    game.StartNewGame();
    while (game.state == kStateTurnStart)
      game.Update();
    game.Update();  // the first player begins
    p0 = game.Player(0);
    GiveRack(*p0, "catsbe`");
  }

  void GiveRack(GamePlayer& p, const char* letters) {
    p.ReturnRackToBag();
    ASSERT_TRUE(game.DrawGivenLetters(letters, static_cast<int>(std::strlen(letters))));
    p.ClearRack(letters);
    view.LoadRackLetters(p.rack, 7);
  }

  std::string LastNotice() const { return sink.messages.empty() ? "" : sink.messages.back().text; }

  gamefakes::RecordingUiPort ui;
  turnfakes::FakeBoardView view;
  testsupport::RecordingSink sink{platform::kResultYes};
  CGame game;
  GamePlayer* p0 = nullptr;
};

TEST_F(HandlerTest, RefusedSubmissionStopsAfterItsNotice) {
  struct Case {
    int row, column;
    const char* word;
    bool down;
    std::string notice;
  };
  const Case cases[] = {
      {0, 0, "cat", false, GameText(kStrCentreSquare)},
      {7, 7, "c", false, GameText(kStrIsolatedWord)},
  };
  for (const Case& c : cases) {
    view.LoadBoardLetters(game.board.letters, 15, 15);
    view.Lay(c.row, c.column, c.word, c.down);
    const std::string shown(view.board, view.board + kBoardSquares);
    EXPECT_FALSE(SubmitHumanMove(&game)) << c.word;
    EXPECT_EQ(LastNotice(), c.notice);
    EXPECT_EQ(p0->request, kRequestNone);
    EXPECT_TRUE(p0->moveWords.empty());
    EXPECT_EQ(std::string(view.board, view.board + kBoardSquares), shown);  // tiles stay
    view.LoadBoardLetters(game.board.letters, 15, 15);
  }
  view.board[7 * 15 + 6] = 'c';
  view.board[7 * 15 + 8] = 'a';
  view.board[7 * 15 + 7] = 't';
  view.board[9 * 15 + 9] = 's';
  EXPECT_FALSE(SubmitHumanMove(&game));
  EXPECT_EQ(LastNotice(), GameText(kStrIllegalPosition));
  EXPECT_EQ(sink.messages.size(), 3u);
}

TEST_F(HandlerTest, SubmissionScoresAndAsksToPlay) {
  view.Lay(7, 6, "cAt");  // the blank shows an A
  ASSERT_TRUE(SubmitHumanMove(&game));
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(p0->request, kRequestPlay);
  ASSERT_EQ(p0->moveWords.size(), 1u);
  EXPECT_STREQ(p0->moveWords[0].word, "cAt");
  // c 3 + blank 0 + t 1, doubled on the centre square.
  EXPECT_EQ(p0->moveWords[0].score, 8);
  EXPECT_GE(view.dragsEnded, 1);

  // The button path: stored as the pending action, run by the next step.
  // (With a challenge mode the words wait for a challenge: no lexicon here.)
  game.setup.challengeMode = 2;
  p0->request = kRequestNone;
  PendingBoardAction() = BoardButtonAction(kButtonPlay);
  game.Update();
  EXPECT_EQ(PendingBoardAction(), nullptr);
  EXPECT_EQ(p0->turnPhase, kPhaseOver);
  EXPECT_EQ(game.board.At(7, 7), 'A');
  EXPECT_EQ(p0->score, 8);
}

TEST_F(HandlerTest, SevenOfEightResetsTheTilesFirst) {
  game.setup.flags = kFlagSevenOfEight;
  game.rules->rackSize = 8;
  p0->ReturnRackToBag();
  ASSERT_TRUE(game.DrawGivenLetters("catsbeta", 8));
  p0->ClearRack("catsbeta");
  view.LoadRackLetters(p0->rack, 8);
  view.Lay(7, 3, "catsbeta");
  EXPECT_FALSE(SubmitHumanMove(&game));
  ASSERT_GE(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, GameText(kStrOnlySevenLetters));
  EXPECT_EQ(view.rack, "catsbeta");  // the tiles went back to the rack
  EXPECT_EQ(view.board[7 * 15 + 7], 0);
  game.rules->rackSize = 7;
}

TEST_F(HandlerTest, PassAsksFirst) {
  p0->moveWords.resize(1);
  sink.answer = platform::kResultNo;
  EXPECT_FALSE(PassTurn(&game));
  EXPECT_EQ(LastNotice(), GameText(kStrConfirmPass));
  EXPECT_EQ(sink.messages.back().flags, 4u);
  EXPECT_EQ(p0->request, kRequestNone);

  sink.answer = platform::kResultYes;
  EXPECT_TRUE(PassTurn(&game));
  EXPECT_EQ(p0->request, kRequestPass);
  EXPECT_TRUE(p0->moveWords.empty());

  p0->request = kRequestNone;
  SkipNextPassConfirmation();
  const size_t shown = sink.messages.size();
  EXPECT_TRUE(PassTurn(&game));
  EXPECT_EQ(sink.messages.size(), shown);
}

TEST_F(HandlerTest, ExchangeDialogAndItsRequest) {
  view.Lay(7, 6, "cat");
  EXPECT_TRUE(OpenExchangeDialog(&game));
  EXPECT_EQ(view.exchangeDialogs, 1);
  EXPECT_EQ(view.rack, std::string(p0->rack, 7));  // tiles put back first
  EXPECT_FALSE(OpenExchangeDialog(&game));         // already open
  EXPECT_EQ(view.exchangeDialogs, 1);

  const int bag = game.bag.tileCount;
  ASSERT_TRUE(RequestExchange(&game, "cats"));
  EXPECT_EQ(p0->request, kRequestExchange);
  EXPECT_EQ(game.bag.tileCount, bag);
  EXPECT_EQ(game.scorelessTurns, 1);
  ExchangeDialogClosed();

  // Six tiles in the bag: refused with its notice.
  char drawn[kRackTextSize];
  while (game.bag.tileCount > 6)
    game.bag.DrawRack(game.BagRules(), kDrawAny, true);
  (void)drawn;
  EXPECT_FALSE(OpenExchangeDialog(&game));
  EXPECT_EQ(LastNotice(), GameText(kStrCannotSwap));
  EXPECT_FALSE(ExchangeDialogOpen());
}

TEST_F(HandlerTest, ShuffleAndSortActOnTheViewingPlayersRack) {
  game.viewingPlayer = p0;
  game.currentPlayer = game.Player(1);  // not the viewing player's turn
  std::string before(p0->rack, 7);
  view.Lay(7, 6, "cat");
  ASSERT_TRUE(ShuffleRack(&game));
  std::string after(p0->rack, 7);
  EXPECT_TRUE(std::is_permutation(before.begin(), before.end(), after.begin()));
  EXPECT_EQ(view.rack, after);
  EXPECT_EQ(view.board[7 * 15 + 6], 0);  // placed tiles went back

  ui.rackSorting = kRackRandom;  // the button still sorts
  ASSERT_TRUE(SortRack(&game));
  EXPECT_EQ(std::string(p0->rack, 7), "`abcest");
  EXPECT_EQ(view.rack, "`abcest");
  const std::string other(game.Player(1)->rack, 7);
  ShuffleRack(&game);
  EXPECT_EQ(std::string(game.Player(1)->rack, 7), other);
}

TEST_F(HandlerTest, BestSolutionRoomSortsOnlyTheGrid) {
  game.setup.flags = kFlagBestSolution;
  view.Lay(7, 6, "cat");  // these tiles stay on the board
  ASSERT_TRUE(SortRack(&game));
  EXPECT_EQ(view.rack, "`bes___");
  EXPECT_EQ(std::string(p0->rack, 7), "catsbe`");  // the player keeps every tile
  EXPECT_EQ(view.board[7 * 15 + 6], 'c');
}

TEST_F(HandlerTest, EvaluateShowsTheScore) {
  view.Lay(7, 6, "cat");
  EXPECT_TRUE(EvaluatePlacement(&game));
  EXPECT_EQ(LastNotice(), "CAT' scores 10 pts.");
  EXPECT_EQ(p0->request, kRequestNone);
  EXPECT_TRUE(p0->moveWords.empty());

  game.setup.kind = kKindExercise;
  view.exerciseMatches = false;
  EXPECT_FALSE(EvaluatePlacement(&game));
  EXPECT_EQ(LastNotice(), GameText(kStrOtherLanguage));
}

TEST_F(HandlerTest, RemoteDecisionClosesTheHumansInterface) {
  OpenExchangeDialog(&game);
  view.Lay(7, 6, "cat");
  CloseHumanTurnUi(&game);
  EXPECT_EQ(view.exchangeDialogsClosed, 1);
  EXPECT_EQ(view.messageBoxesClosed, 1);
  EXPECT_GE(view.buttonsReleased, 1);
  EXPECT_EQ(view.board[7 * 15 + 6], 0);
  EXPECT_FALSE(ExchangeDialogOpen());
}

}  // namespace
