#include "scene/board_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "game/move_submit.h"
#include "game/session_registry.h"
#include "game/turn_ports.h"
#include "grid_fixture.h"
#include "game_setups.h"
#include "rules/letters.h"
#include "rules/rules.h"

using namespace scene;

namespace {

struct InputHost : scenetest::RecordingHost, BoardInputHost {
  int CursorArrow() override { return KeyboardCursorArrow(); }
  void TakeFocus() override { ++focus; }
  void PlaySound(const char* name) override { sounds.push_back(name); }
  void ShowNotice(const char* text) override { notices.push_back(text); }
  int focus = 0;
  std::vector<std::string> sounds, notices;
};

class BoardInputTest : public testing::Test, public scenetest::GridFixture {
 protected:
  void SetUp() override {
    registry_ = InitGameSessionRegistry();
    game_ = scenetest::StartOneHumanGame();
    ASSERT_NE(game_, nullptr);
    oldGridHost_ = SetGridHost(&in);
    oldInputHost_ = SetBoardInputHost(&in);
    ResetBoardInput();
    PendingBoardAction() = nullptr;
    SetSceneButtonMask(kButtonPlay | kButtonShuffle | kButtonExchange);
  }
  void TearDown() override {
    ClearKeyboardCursor();
    carrier->EndPick();
    PendingBoardAction() = nullptr;
    SetBoardInputHost(oldInputHost_);
    SetGridHost(oldGridHost_);
    registry_.reset();
  }

  // The window point over the middle of a scene frame's quad.
  static std::pair<int, int> PointOfFrame(int index) {
    MeshFrame* f = GetSceneFrame(index);
    const Vec3 mid{(f->mesh->boxMin.x + f->mesh->boxMax.x) / 2,
                   (f->mesh->boxMin.y + f->mesh->boxMax.y) / 2, f->mesh->boxMax.z};
    int x, y;
    GetBoardCamera()->ProjectToWindow(TransformCoord(mid, f->World()), x, y);
    return {x, y};
  }

  void Click(TileGrid& g, int row, int column, bool right = false) {
    auto [x, y] = PointOf(g, CellCode(row, column));
    if (right) {
      BoardRightButtonDown(kKeyRightButton, x, y);
      BoardRightButtonUp(0, x, y);
    } else {
      BoardLeftButtonDown(kKeyLeftButton, x, y);
      BoardLeftButtonUp(0, x, y);
    }
  }

  void Drag(TileGrid& from, uint16_t p, TileGrid& to, uint16_t q) {
    auto [x, y] = PointOf(from, p);
    auto [tx, ty] = PointOf(to, q);
    BoardLeftButtonDown(kKeyLeftButton, x, y);
    BoardMouseMove((x + tx) / 2, (y + ty) / 2);
    BoardMouseMove(tx, ty);
    BoardLeftButtonUp(0, tx, ty);
  }

  void PressButton(int index, bool releaseOver = true) {
    auto [x, y] = PointOfFrame(index);
    BoardLeftButtonDown(kKeyLeftButton, x, y);
    if (releaseOver) {
      BoardLeftButtonUp(0, x, y);
    } else {
      BoardLeftButtonUp(0, 2, 2);
    }
  }

  char At(int row, int column) { return board.GetCellAt(row, column).letter; }

  InputHost in;
  std::shared_ptr<GameSessionRegistry> registry_;
  CGame* game_ = nullptr;
  GridHost* oldGridHost_ = nullptr;
  BoardInputHost* oldInputHost_ = nullptr;
};

TEST(ButtonActionTable, FollowsTheButtonAndTheMask) {
  struct Case {
    int index;
    uint32_t mask;
    uint32_t expected;  // the button bit whose handler is stored, 0 none
  } cases[] = {
      {kFrameShuffle, kButtonShuffle, kButtonShuffle},
      {kFrameShuffle, kButtonShuffle | kButtonCancel, kButtonCancel},
      {kFrameExchange, kButtonExchange, kButtonExchange},
      {kFrameExchange, kButtonExchange | kButtonEvaluate, kButtonEvaluate},
      {kFramePass, kButtonPass, kButtonPass},
      {kFramePass, kButtonPass | kButtonPlay, kButtonPlay},
      {kFramePlay, kButtonCancel, kButtonCancel},
      {kFramePlay, kButtonShuffle, 0},
      {kFrameCancel, kButtonCancel, kButtonCancel},
      {kFrameEvaluate, kButtonEvaluate, kButtonEvaluate},
      {kFrameSort, kButtonSort, kButtonSort},
      {kFrameSort, kButtonShuffle, 0},
      {kFrameContest, kButtonChallenge, kButtonChallenge},
      {kFrameHint, 0x3FF, 0},
      {kFrameSubmit, 0x3FF, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.index << " mask " << c.mask);
    const PendingUiAction expected = c.expected ? BoardButtonAction(c.expected) : nullptr;
    EXPECT_EQ(ButtonAction(c.index, c.mask), expected);
  }
}

TEST_F(BoardInputTest, ReleasedButtonStoresItsActionOnlyOverItself) {
  PressButton(kFramePlay, false);
  EXPECT_EQ(PendingBoardAction(), nullptr);
  EXPECT_TRUE(in.sounds.empty());
  EXPECT_TRUE(GetSceneFrame(kFramePlay)->visible);  // unhighlighted again

  PressButton(kFramePlay);
  EXPECT_EQ(PendingBoardAction(), BoardButtonAction(kButtonPlay));
  EXPECT_EQ(in.sounds, std::vector<std::string>{"SBouOK1.wav"});
  EXPECT_EQ(BoardInput().pressedButton, -1);
  EXPECT_FALSE(GetSceneFrame(kFramePlay + kFrameFirstTwin)->visible);

  // No game running: the press is not even highlighted.
  PendingBoardAction() = nullptr;
  game_->state = kStateOver;
  PressButton(kFramePlay);
  EXPECT_EQ(PendingBoardAction(), nullptr);
}

TEST_F(BoardInputTest, DraggedTileLandsOnAFreeSquareElseGoesHome) {
  rack.SetLetters("abc____", 7);
  char letters[kBoardSquares] = {};
  letters[7 * 15 + 8] = 'k';
  board.SetBoardLetters(letters);

  Drag(rack, CellCode(0, 1), board, CellCode(7, 7));
  EXPECT_EQ(At(7, 7), 'b');
  EXPECT_EQ(rack.Dump(), "a_c____");

  // An occupied square, a point over nothing: the tile is back in the rack.
  Drag(rack, CellCode(0, 0), board, CellCode(7, 8));
  EXPECT_EQ(At(7, 8), 'k');
  auto [x, y] = PointOf(rack, CellCode(0, 2));
  BoardLeftButtonDown(kKeyLeftButton, x, y);
  BoardMouseMove(1, 1);
  BoardLeftButtonUp(0, 1, 1);
  EXPECT_EQ(rack.TileCount(), 2);
  EXPECT_NE(rack.FindLetter('a'), kNoCell);
  EXPECT_NE(rack.FindLetter('c'), kNoCell);
  EXPECT_EQ(board.TileCount(), 2);
  EXPECT_EQ(carrier->State(), TileCarrier::kIdle);

  // A tile of an earlier move does not move.
  Drag(board, CellCode(7, 8), board, CellCode(3, 3));
  EXPECT_EQ(At(7, 8), 'k');
  EXPECT_EQ(At(3, 3), 0);
}

TEST_F(BoardInputTest, FocusLossOrASecondPressSendsACarriedTileHome) {
  rack.SetLetters("abc____", 7);
  auto [x, y] = PointOf(rack, CellCode(0, 0));
  BoardLeftButtonDown(kKeyLeftButton, x, y);
  EXPECT_EQ(carrier->CarriedCount(), 1);
  BoardFocusLost();
  EXPECT_EQ(carrier->State(), TileCarrier::kIdle);
  EXPECT_EQ(rack.TileCount(), 3);
}

TEST_F(BoardInputTest, ClickingAnEmptySquareCyclesTheCursorArrow) {
  Click(board, 4, 4);
  EXPECT_EQ(At(4, 4), kArrowAcross);
  EXPECT_TRUE(BoardInput().cursor.fresh);
  Click(board, 4, 4);
  EXPECT_EQ(At(4, 4), kArrowDown);
  Click(board, 4, 4);
  EXPECT_EQ(At(4, 4), 0);
  EXPECT_EQ(KeyboardCursorArrow(), 0);

  // Another square takes the arrow away from the first; right starts down.
  Click(board, 4, 4);
  Click(board, 5, 5, true);
  EXPECT_EQ(At(4, 4), 0);
  EXPECT_EQ(At(5, 5), kArrowDown);

  // Single-row kinds know only the across arrow.
  ClearKeyboardCursor();
  game_->setup.kind = kKindAnagram;
  Click(board, 0, 0);
  EXPECT_EQ(At(0, 0), kArrowAcross);
  Click(board, 0, 0);
  EXPECT_EQ(At(0, 0), 0);
  EXPECT_EQ(KeyboardCursorArrow(), 0);
}

TEST_F(BoardInputTest, TypedLettersFollowTheArrowAndBackspaceTakesThemBack) {
  rack.SetLetters("ab`c___", 7);
  char letters[kBoardSquares] = {};
  letters[7 * 15 + 13] = 'k';  // a tile of an earlier move is skipped
  board.SetBoardLetters(letters);
  PlaceTypingCursor(&board, 7, 11);
  for (char c : std::string("aBx"))  // no x on the rack: nothing happens
    BoardCharTyped(c);
  EXPECT_EQ(At(7, 11), 'a');
  EXPECT_EQ(At(7, 12), 'B');  // the blank, standing for B
  EXPECT_EQ(At(7, 14), kArrowAcross);
  EXPECT_EQ(rack.Dump(), "_b_c___");

  BoardCharTyped('c');  // the last square: the arrow goes past the edge
  EXPECT_EQ(At(7, 14), 'c');
  EXPECT_EQ(CellColumn(BoardInput().cursor.cell), 15);
  BoardCharTyped('b');  // nowhere to lay it
  EXPECT_NE(rack.FindLetter('b'), kNoCell);

  BoardCharTyped('\b');
  EXPECT_EQ(At(7, 14), kArrowAcross);
  BoardCharTyped('\b');
  EXPECT_EQ(At(7, 12), kArrowAcross);
  EXPECT_EQ(At(7, 14), 0);
  EXPECT_EQ(rack.Dump(), "_b`c___");  // the blank comes back undecided, to its cell
  EXPECT_EQ(At(7, 13), 'k');

  BoardCharTyped('\r');
  EXPECT_EQ(PendingBoardAction(), BoardButtonAction(kButtonPlay));
  EXPECT_EQ(KeyboardCursorArrow(), 0);
  EXPECT_EQ(At(7, 12), 0);
}

TEST_F(BoardInputTest, SpaceEvaluatesOnlyWhereEvaluationIsOffered) {
  PlaceTypingCursor(&board, 7, 7);
  BoardCharTyped(' ');
  EXPECT_EQ(PendingBoardAction(), nullptr);
  ASSERT_EQ(in.notices.size(), 1u);
  SetSceneButtonMask(kButtonEvaluate);
  BoardCharTyped(' ');
  EXPECT_EQ(PendingBoardAction(), BoardButtonAction(kButtonEvaluate));
}

TEST_F(BoardInputTest, RightDragCarriesARunThatTheLeftButtonTurns) {
  rack.SetLetters("abc____", 7);
  auto [x, y] = PointOf(rack, CellCode(0, 0));
  BoardRightButtonDown(kKeyRightButton, x, y);
  ASSERT_EQ(carrier->CarriedCount(), 3);
  EXPECT_EQ(carrier->Direction(), kAcross);
  BoardLeftButtonUp(kKeyRightButton, x, y);
  EXPECT_EQ(carrier->Direction(), kDown);
  auto [tx, ty] = PointOf(board, CellCode(3, 3));
  BoardMouseMove(tx, ty);
  BoardRightButtonUp(0, tx, ty);
  EXPECT_EQ(At(3, 3), 'a');
  EXPECT_EQ(At(4, 3), 'b');
  EXPECT_EQ(At(5, 3), 'c');
  EXPECT_EQ(rack.TileCount(), 0);
}

TEST_F(BoardInputTest, DoubleClickSendsATileBackToItsRackCell) {
  rack.SetLetters("abc____", 7);
  Drag(rack, CellCode(0, 1), board, CellCode(7, 7));
  ASSERT_EQ(At(7, 7), 'b');
  // The window's sequence: down, up, double click, up.
  auto [x, y] = PointOf(board, CellCode(7, 7));
  BoardLeftButtonDown(kKeyLeftButton, x, y);
  BoardLeftButtonUp(0, x, y);
  BoardLeftDoubleClick(x, y);
  BoardLeftButtonUp(0, x, y);
  EXPECT_EQ(At(7, 7), 0);
  EXPECT_EQ(rack.Dump(), "abc____");
}

TEST_F(BoardInputTest, InputIsIgnoredWithoutAGameAndInLockedRooms) {
  rack.SetLetters("abc____", 7);
  auto tryInput = [this] {
    Drag(rack, CellCode(0, 0), board, CellCode(7, 7));
    Click(board, 2, 2);
    EXPECT_EQ(board.TileCount(), 0);
    EXPECT_EQ(in.focus, 0);
  };
  for (int room : {kCommentedGamesRoom, kLibraryRoom}) {
    SCOPED_TRACE(room);
    in.room = room;
    tryInput();
  }
  in.room = 1;
  registry_.reset();  // no game
  tryInput();
}

// Any sequence of clicks, drags, double clicks, keys and focus changes keeps
// every tile: on a grid or in the carrier, each letter as often as before.
TEST_F(BoardInputTest, RandomInputNeverLosesATile) {
  rack.SetLetters("ab`deaa", 7);
  char letters[kBoardSquares] = {};
  letters[7 * 15 + 7] = 'k';
  board.SetBoardLetters(letters);
  auto census = [this] {
    std::string all;
    for (TileGrid* g : {static_cast<TileGrid*>(&board), static_cast<TileGrid*>(&rack),
                        static_cast<TileGrid*>(&work), static_cast<TileGrid*>(carrier.get())})
      for (int i = 0; i < g->CellCount(); ++i) {
        const char c = g->CellByIndex(i).letter;
        if (IsTileLetter(c)) all += c;
        if (IsBlankLetter(c) || c == kUnassignedBlankCell) all += '?';
      }
    std::sort(all.begin(), all.end());
    return all;
  };
  const std::string before = census();
  ASSERT_EQ(before, "?aaabdek");
  std::mt19937 random(20071);
  auto pointIn = [&](TileGrid& g) {
    const uint16_t p = CellCode(random() % g.Rows(), random() % g.Columns());
    return PointOf(g, p);
  };
  TileGrid* grids[] = {&board, &rack, &work};
  for (int step = 0; step < 3000; ++step) {
    auto [x, y] = random() % 8 == 0 ? std::pair<int, int>(random() % 800, random() % 600)
                                    : pointIn(*grids[random() % 3]);
    const uint32_t keys = random() % 4;
    switch (random() % 10) {
      case 0:
      case 1:
        BoardLeftButtonDown(keys | kKeyLeftButton, x, y);
        break;
      case 2:
      case 3:
        BoardLeftButtonUp(keys & kKeyRightButton, x, y);
        break;
      case 4:
        BoardMouseMove(x, y);
        break;
      case 5:
        BoardLeftDoubleClick(x, y);
        break;
      case 6:
        BoardRightButtonDown(keys | kKeyRightButton, x, y);
        break;
      case 7:
        BoardRightButtonUp(keys & kKeyLeftButton, x, y);
        break;
      case 8:
        BoardCharTyped("abdekAE\b "[random() % 10]);
        break;
      default:
        if (random() % 4 == 0) BoardFocusLost();
    }
    ASSERT_EQ(census(), before) << "step " << step;
  }
  carrier->EndPick();
  EXPECT_EQ(census(), before);
  EXPECT_EQ(At(7, 7), 'k');
}

TEST_F(BoardInputTest, TilesAndButtonsWaitWhileTheExchangeDialogIsOpen) {
  game_->FillBag();
  ASSERT_TRUE(OpenExchangeDialog(game_));
  rack.SetLetters("abc____", 7);
  Drag(rack, CellCode(0, 0), board, CellCode(7, 7));
  Click(board, 3, 3);
  PressButton(kFramePlay);
  EXPECT_EQ(board.TileCount(), 0);
  EXPECT_EQ(rack.Dump(), "abc____");
  EXPECT_EQ(PendingBoardAction(), nullptr);
  ExchangeDialogClosed();
  Drag(rack, CellCode(0, 0), board, CellCode(7, 7));
  EXPECT_EQ(At(7, 7), 'a');
}

TEST_F(BoardInputTest, GameChangeReloadsTheBoundBoard) {
  game_->board.letters[7 * 15 + 7] = 'z';
  EXPECT_EQ(BoardGameChanged(20, game_, &board), 1);
  EXPECT_EQ(At(7, 7), 0);
  BoardGameChanged(0, game_, &board);
  EXPECT_EQ(At(7, 7), 'z');
}

}  // namespace
