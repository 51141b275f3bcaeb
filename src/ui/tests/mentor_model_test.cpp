// The mentor's list rows and the laying of a suggested move's tiles from
// the rack onto the board view.
#include "ui/mentor_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game_test_support.h"
#include "rules/layouts.h"
#include "turn_fakes.h"

namespace ui {
namespace {

using gametest::Move;

TEST(MentorRows, PossibleWordsEndAtAScorelessMove) {
  const std::vector<RobotMove> moves = {Move("quiz", 42, 7, 7), Move("zit", 12, 7, 7, true),
                                        Move("it", 0, 7, 7), Move("ti", 4, 7, 7)};
  const std::vector<std::string> rows = MakePossibleWordRows(moves, nullptr);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_NE(rows[0].find("quiz"), std::string::npos) << rows[0];
  EXPECT_NE(rows[0].find("42"), std::string::npos) << rows[0];
  std::vector<RobotMove> many(600, Move("at", 2, 7, 7));
  EXPECT_EQ(MakePossibleWordRows(many, nullptr).size(), 500u);
}

TEST(MentorRows, AdviceByDecisionAndBag) {
  AdviceFacts f;
  f.bagTiles = 7;
  EXPECT_EQ(MakeAdviceRows(f, nullptr), std::vector<std::string>{"I recommend passing"});

  f.bagTiles = 20;
  f.decision = kDecisionExchange;
  f.exchangeLetters = "A_EI";
  f.best = {Move("quiz", 42, 7, 7)};
  EXPECT_EQ(MakeAdviceRows(f, nullptr), (std::vector<std::string>{"change of letter: ", "A,E,I,"}));

  f.decision = kDecisionPass;
  EXPECT_EQ(MakeAdviceRows(f, nullptr), std::vector<std::string>{"I recommend passing"});

  f.decision = 2;
  f.best = {Move("quiz", 42, 7, 7), Move("zit", 12, 7, 7), Move("it", 2, 7, 7),
            Move("ti", 2, 7, 7),    Move("at", 2, 7, 7),   Move("ta", 2, 7, 7)};
  const std::vector<std::string> rows = MakeAdviceRows(f, nullptr);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].substr(rows[0].size() - 7), " points");
}

TEST(MentorLaying, BlankTakesTheLetterAndBoardLettersStay) {
  turnfakes::FakeBoardView view;
  view.board[7 * kBoardStride + 8] = 'a';  // already on the board
  view.rack = {'h', '`', 't', 'x', '_', '_', '_'};
  // "hate" across from (7,7): h from the rack, a on the board, t from the
  // rack, e from the blank (shown as E).
  const int moved = LayMoveOnView(Move("hate", 20, 7, 7), view);
  EXPECT_EQ(moved, 3);
  EXPECT_EQ(view.board[7 * kBoardStride + 7], 'h');
  EXPECT_EQ(view.board[7 * kBoardStride + 8], 'a');
  EXPECT_EQ(view.board[7 * kBoardStride + 9], 't');
  EXPECT_EQ(view.board[7 * kBoardStride + 10], 'E');
  EXPECT_EQ(std::string(view.rack.begin(), view.rack.end()), "___x___");
}

TEST(MentorLaying, LetterOnNeitherIsSkipped) {
  const char board[kBoardSquares] = {};
  const std::vector<TileStep> steps = PlanMoveTiles(Move("zoo", 12, 3, 2, true), board, "oo_____");
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].square, 3 * kBoardStride + 3);
  EXPECT_EQ(steps[0].rackPlace, 0);
  EXPECT_EQ(steps[1].square, 4 * kBoardStride + 3);
  EXPECT_EQ(steps[1].rackPlace, 1);
}

}  // namespace
}  // namespace ui
