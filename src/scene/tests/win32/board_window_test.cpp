// The board window on the generated Standard board model: tiles dragged
// from the rack onto the board with posted mouse messages, a letter typed
// along the keyboard cursor, the play button pressed. Saves
// <build>/screenshots/scene_board_drag.png.
#include "scene/win32/board_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/move_submit.h"
#include "game/session_registry.h"
#include "game/turn_ports.h"
#include "game_setups.h"
#include "rules/rules.h"
#include "scene/board_grids.h"
#include "scene/board_input.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/win32/board_view.h"
#include "screenshot.h"
#include "shell/shell_host.h"

using namespace scene;

namespace {

constexpr int kWidth = 800, kHeight = 600;

struct RecordingShell : shell::ShellHost {
  void PlaySoundFile(const char* name) override { sounds.push_back(name); }
  int GetCurrentRoomId() override { return 1; }
  std::vector<std::string> sounds;
};

HWND MakeParent() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "BoardWindowTestParent";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RegisterClassA(&wc);
  RECT r{0, 0, kWidth, kHeight};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  HWND w = CreateWindowA(
      "BoardWindowTestParent", "board window", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
      20, 20, r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  tess_test::PumpMessages(100);
  return w;
}

class BoardWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    registry_ = InitGameSessionRegistry();
    game_ = scenetest::StartOneHumanGame();
    ASSERT_NE(game_, nullptr);
    oldShell_ = shell::SetShellHost(&shell_);
    PendingBoardAction() = nullptr;

    parent_ = MakeParent();
    ASSERT_TRUE(RegisterBoardWindowClass(GetModuleHandleA(nullptr)));
    window_ = CreateBoardWindowEx(parent_, kWidth, kHeight);
    ASSERT_NE(window_, nullptr);
    ShowWindow(window_, SW_SHOW);
    const std::string model = tess_test::BuildPath("Data/DAT/UK/Standard/tessarin_standard.x");
    ASSERT_TRUE(LoadBoardScene(model, true)) << model;
    for (auto [g, i] : {std::pair<TileGrid*, int>{&board_, kFrameBoard},
                        {&rack_, kFrameRack},
                        {&work_, kFrameWorkingArea}}) {
      ASSERT_TRUE(g->BindFrame(GetSceneFrame(i))) << i;
      g->LayoutCells(g->Rows(), g->Columns());
    }
    carrier_ = std::make_unique<TileCarrier>(GetSceneRoot(), 20, board_.CellSpacing());
    SetCurrentGrids({&board_, &rack_, &work_, carrier_.get()});
  }
  void TearDown() override {
    carrier_.reset();
    SetCurrentGrids({});
    board_.Clear();
    rack_.Clear();
    work_.Clear();
    DestroyBoardWindow();
    EXPECT_EQ(GetBoardWindowHandle(), nullptr);
    DestroyWindow(parent_);
    UnregisterBoardWindowClass(GetModuleHandleA(nullptr));
    PendingBoardAction() = nullptr;
    shell::SetShellHost(oldShell_);
    registry_.reset();
  }

  std::pair<int, int> CellPoint(TileGrid& g, int row, int column) {
    const TileCell& c = g.GetCellAt(row, column);
    int x, y;
    GetBoardCamera()->ProjectToWindow(TransformCoord({c.x, c.y, c.z}, g.Frame()->World()), x, y);
    return {x, y};
  }

  void Post(UINT message, WPARAM keys, int x, int y) {
    PostMessageA(window_, message, keys, MAKELPARAM(x, y));
  }

  // Press, a few moves on the way, release: as a hand would drag.
  void DragTile(TileGrid& from, int row, int column, TileGrid& to, int toRow, int toColumn) {
    auto [x, y] = CellPoint(from, row, column);
    auto [tx, ty] = CellPoint(to, toRow, toColumn);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
    for (int step = 1; step <= 4; ++step)
      Post(WM_MOUSEMOVE, MK_LBUTTON, x + (tx - x) * step / 4, y + (ty - y) * step / 4);
    Post(WM_LBUTTONUP, 0, tx, ty);
    tess_test::PumpMessages(50);
  }

  RecordingShell shell_;
  shell::ShellHost* oldShell_ = nullptr;
  std::shared_ptr<GameSessionRegistry> registry_;
  CGame* game_ = nullptr;
  HWND parent_ = nullptr, window_ = nullptr;
  BoardGrid board_{15, 15};
  RackGrid rack_{1, 7};
  WorkingAreaGrid work_{1, 7};
  std::unique_ptr<TileCarrier> carrier_;
};

TEST_F(BoardWindowTest, DraggedTilesLandOnTheBoardAndPlayIsStored) {
  EXPECT_EQ(GetBoardWindowHandle(), window_);
  EXPECT_EQ(SendMessageA(window_, kMsgBoardQuery, 0, 0), 1);
  EXPECT_EQ(GetSceneButtonMask(), kDefaultButtonMask);
  rack_.SetLetters("tessarn", 7);
  char letters[kBoardSquares] = {};
  letters[5 * 15 + 5] = 'k';  // a tile of an earlier move
  board_.SetBoardLetters(letters);
  SetSceneButtonMask(kButtonPlay | kButtonExchange | kButtonShuffle);

  DragTile(rack_, 0, 0, board_, 7, 7);  // t
  DragTile(rack_, 0, 1, board_, 7, 8);  // e
  DragTile(rack_, 0, 4, board_, 7, 9);  // a
  DragTile(rack_, 0, 3, board_, 5, 5);  // an occupied square: s goes home
  EXPECT_EQ(board_.GetCellAt(5, 5).letter, 'k');
  EXPECT_EQ(board_.GetCellAt(7, 7).letter, 't');
  EXPECT_EQ(board_.GetCellAt(7, 8).letter, 'e');
  EXPECT_EQ(board_.GetCellAt(7, 9).letter, 'a');
  EXPECT_EQ(rack_.Dump(), "__ss_rn");
  EXPECT_EQ(carrier_->State(), TileCarrier::kIdle);
  EXPECT_EQ(GetCapture(), nullptr);

  // A click on an empty square puts the cursor there; a typed letter
  // comes from the rack. The scene is drawn again only when it changed.
  tess_test::PumpMessages(100);
  ASSERT_FALSE(BoardFrameDue());
  auto [cx, cy] = CellPoint(board_, 7, 10);
  SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(cx, cy));
  EXPECT_FALSE(BoardFrameDue());
  SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx, cy));
  SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(cx, cy));
  EXPECT_TRUE(BoardFrameDue());
  EXPECT_EQ(board_.GetCellAt(7, 10).letter, kArrowAcross);
  PostMessageA(window_, WM_CHAR, 'r', 0);
  tess_test::PumpMessages(200);  // WM_PAINT draws the frame
  EXPECT_FALSE(BoardFrameDue());
  EXPECT_EQ(board_.GetCellAt(7, 10).letter, 'r');
  EXPECT_EQ(board_.GetCellAt(7, 11).letter, kArrowAcross);
  EXPECT_EQ(rack_.Dump(), "__ss__n");

  tess_test::Image shot = tess_test::CaptureClient(window_);
  ASSERT_EQ(shot.width, kWidth);
  EXPECT_FALSE(tess_test::SaveScreenshot(shot, "scene_board_drag").empty());
  auto [tx, ty] = CellPoint(board_, 7, 8);
  const RECT face{tx - 10, ty - 10, tx + 10, ty + 10};
  EXPECT_GT(tess_test::CountPixels(shot, face, [](COLORREF c) { return GetRValue(c) < 110; }), 20)
      << "the engraved letter of the tile laid on the board";

  // The play button: pressed and released over it, the submission waits
  // for the game's next turn step.
  Vec3 a, b;
  ASSERT_TRUE(GetSceneFrame(kFramePlay)->WorldBox(a, b));
  int px, py;
  GetBoardCamera()->ProjectToWindow(Scale(Add(a, b), 0.5f), px, py);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, px, py);
  tess_test::PumpMessages(30);
  EXPECT_TRUE(GetSceneFrame(kFramePlay + kFrameFirstTwin)->visible);  // highlighted
  Post(WM_LBUTTONUP, 0, px, py);
  tess_test::PumpMessages(30);
  EXPECT_EQ(PendingBoardAction(), BoardButtonAction(kButtonPlay));
  EXPECT_EQ(shell_.sounds, std::vector<std::string>{"SBouOK1.wav"});
  EXPECT_TRUE(GetSceneFrame(kFramePlay)->visible);
}

TEST_F(BoardWindowTest, DoubleClickSendsATileHomeAndGameChangeReloadsTheBoard) {
  rack_.SetLetters("tessarn", 7);
  DragTile(rack_, 0, 2, board_, 3, 3);
  ASSERT_EQ(board_.GetCellAt(3, 3).letter, 's');
  auto [x, y] = CellPoint(board_, 3, 3);
  Post(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
  Post(WM_LBUTTONUP, 0, x, y);
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, x, y);
  Post(WM_LBUTTONUP, 0, x, y);
  tess_test::PumpMessages(50);
  EXPECT_EQ(board_.GetCellAt(3, 3).letter, 0);
  EXPECT_EQ(rack_.Dump(), "tessarn");

  // The game-changed notice reloads the board grid bound to the window.
  game_->board.letters[7 * 15 + 7] = 'q';
  EXPECT_EQ(SendMessageA(window_, kMsgBoardGameChanged, 0, reinterpret_cast<LPARAM>(game_)), 1);
  EXPECT_EQ(board_.GetCellAt(7, 7).letter, 0);  // no grid bound yet
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&board_));
  SendMessageA(window_, kMsgBoardGameChanged, 0, reinterpret_cast<LPARAM>(game_));
  EXPECT_EQ(board_.GetCellAt(7, 7).letter, 'q');
}

}  // namespace
