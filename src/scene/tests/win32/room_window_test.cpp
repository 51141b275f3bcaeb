// The main game room under Wine: the main frame, the Room window and the
// board window with the real board model; room 1 entered with the user
// against a computer player (set up through the set-up seam); the user's
// move laid on the board grid and played, the computer's answer, and the
// game played out to "Replay?", whose "No" returns to the lobby.
// Screenshots: scene_room_empty.png, scene_room_midgame.png,
// scene_room_end.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "engine/robot.h"
#include "engine/robot_settings.h"
#include "game/game.h"
#include "game/move_submit.h"
#include "game/session_registry.h"
#include "game_setups.h"
#include "game_test_support.h"
#include "platform/crand.h"
#include "platform/sync.h"
#include "recording_sink.h"
#include "scene/board_scene.h"
#include "scene/game_room.h"
#include "scene/grid_host.h"
#include "scene/screen.h"
#include "scene/win32/board_view.h"
#include "scene/win32/board_window.h"
#include "scene/win32/room_window.h"
#include "screenshot.h"
#include "shell/app_context.h"
#include "standard_skin.h"
#include "ui/win32/main_frame.h"
#include "ui/win32/window_slots_win32.h"
#include "ui/window_slots.h"

using namespace scene;

namespace {

int HumanAgainstComputer(void*, CGame* game) {
  scenetest::SetUpHumanAgainstComputer(game);
  return 1;
}

// The real window side, with the ranking dialog counted instead of shown.
struct TestRoomPort : Win32RoomPort {
  void ShowFinalRanking(CGame*) override { ++rankings; }
  int rankings = 0;
};

// The frame, the Room window and the classes live for the whole suite: the
// toolkit and the main frame are made once per process.
class RoomWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    gametest::StartEngine("roomwindow");
    HINSTANCE instance = GetModuleHandleA(nullptr);
    ASSERT_EQ(uitest::InitializeStandardSkin(instance), 1);
    ASSERT_TRUE(shell::CreateAppContextAt(tess_test::BuildPath("tessarin.exe")));
    registry_ = InitGameSessionRegistry();
    ui::InstallWindowSlotPort();
    ASSERT_TRUE(ui::RegisterMainWindowClass(instance));
    frame_ = ui::CreateMainFrameWindow(instance);
    ASSERT_NE(frame_, nullptr);
    ShowWindow(frame_, SW_SHOW);
    ui::WindowSlotOp(ui::kOpRegister, ui::kSlotMainFrame, reinterpret_cast<intptr_t>(frame_));
    ASSERT_TRUE(RegisterBoardWindowClass(instance));
    ASSERT_TRUE(RegisterRoomWindowClass(instance));
    port_ = new TestRoomPort;
    SetRoomPort(port_);
    room_ = CreateRoomWindow();
    ASSERT_NE(room_, nullptr);
    tess_test::PumpMessages(100);
  }
  static void TearDownTestSuite() {
    if (room_) DestroyWindow(room_);
    SetRoomPort(nullptr);
    delete port_;
    if (frame_) DestroyWindow(frame_);
    registry_.reset();
    shell::DestroyAppContext();
    gui::GuiFreeFrameSkin();
    gametest::EndEngine();
  }

  void SetUp() override {
    ASSERT_NE(room_, nullptr);
    platform::SeedRandom(5);
    port_->rankings = 0;
    previousSetup_ = SetPlayerSetupDialog(&HumanAgainstComputer);
    CreateRoomScreens();
  }
  void TearDown() override {
    PendingBoardAction() = nullptr;
    if (CGame* game = FindGameById(kMainGameRoom)) game->StopGame();
    if (GetCurrentRoomId() == kMainGameRoom) PopScreensTo(0);
    DestroyRoomScreens();
    DestroyAllGames();
    SetPlayerSetupDialog(previousSetup_);
    SetCurrentRoomId(kNoRoomWindowId);
  }

  CGame* Game() { return FindGameById(kMainGameRoom); }
  bool HumanDeciding() { return scenetest::HumanDeciding(Game()); }
  // The main loop's frames, messages pumped between them.
  void RunUntil(const std::function<bool()>& done, int frames = 100000) {
    for (int i = 0; i < frames && !done(); ++i) {
      RunRoomFrame(0.02f);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      CGame* g = Game();
      if (g && g->currentPlayer && g->currentPlayer->Type() == kPlayerComputer)
        platform::SleepMs(1);
    }
    ASSERT_TRUE(done());
  }
  void Shoot(const char* name) {
    RenderBoardScene();
    PresentFrame();
    tess_test::PumpMessages(200);
    const std::string path = tess_test::SaveScreenshot(tess_test::CaptureWindow(frame_), name);
    EXPECT_FALSE(path.empty()) << name;
  }
  int BoardTiles() {
    int n = 0;
    for (char c : Game()->board.letters)
      n += c != 0;
    return n;
  }

  static TestRoomPort* port_;
  static std::shared_ptr<GameSessionRegistry> registry_;
  static HWND frame_;
  static HWND room_;
  testsupport::RecordingSink sink_{platform::kResultNo};
  PlayerSetupDialog previousSetup_ = nullptr;
};

TestRoomPort* RoomWindowTest::port_ = nullptr;
std::shared_ptr<GameSessionRegistry> RoomWindowTest::registry_;
HWND RoomWindowTest::frame_ = nullptr;
HWND RoomWindowTest::room_ = nullptr;

TEST_F(RoomWindowTest, RoomWindowFillsTheFrameAndKeepsTheRoomId) {
  EXPECT_EQ(ui::GetSlotWindow(ui::kSlotRoom), room_);
  EXPECT_EQ(GetParent(room_), frame_);
  EXPECT_EQ(GetDlgCtrlID(room_), kRoomWindowChildId);
  EXPECT_EQ(GetCurrentRoomId(), kNoRoomWindowId);
  RECT frame{}, room{};
  GetClientRect(frame_, &frame);
  GetClientRect(room_, &room);
  EXPECT_GT(frame.right, 0);
  EXPECT_EQ(room.right, frame.right);
  EXPECT_EQ(room.bottom, frame.bottom);
  ASSERT_TRUE(PushScreen(kLobbyRoom));
  EXPECT_EQ(GetCurrentRoomId(), kLobbyRoom);
  RECT smaller{0, 0, 600, 400};
  SendMessageA(room_, kMsgRoomResize, 0, reinterpret_cast<LPARAM>(&smaller));
  GetClientRect(room_, &room);
  EXPECT_EQ(room.right, 600);
  EXPECT_EQ(room.bottom, 400);
  // An empty rectangle gives the frame's client area back.
  RECT empty{};
  SendMessageA(room_, kMsgRoomResize, 0, reinterpret_cast<LPARAM>(&empty));
  GetClientRect(room_, &room);
  GetClientRect(frame_, &frame);
  EXPECT_EQ(room.right, frame.right);
  EXPECT_EQ(room.bottom, frame.bottom);
}

TEST_F(RoomWindowTest, GameIsPlayedToTheEndAndReplayNoReturnsToTheLobby) {
  ASSERT_TRUE(PushScreen(kLobbyRoom));
  ASSERT_TRUE(PushScreen(kMainGameRoom));
  EXPECT_EQ(GetCurrentRoomId(), kMainGameRoom);
  HWND board = GetBoardWindowHandle();
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(GetParent(board), room_);
  EXPECT_EQ(ui::GetSlotWindow(ui::kSlotBoard), board);
  ASSERT_TRUE(IsBoardSceneLoaded());

  RunUntil([&] { return HumanDeciding(); });
  GamePlayer* ann = Game()->GetCurrentPlayer();
  EXPECT_EQ(CurrentGrids().rack->Dump(), std::string(ann->rack, 7));
  EXPECT_EQ(port_->rackTitle, "Ann");
  Shoot("scene_room_empty");

  // Two rack tiles laid across from the centre square, then "play".
  TileGrid* rack = CurrentGrids().rack;
  TileGrid* grid = CurrentGrids().board;
  std::string word;
  for (int i = 0; i < rack->CellCount() && word.size() < 2; ++i) {
    const char c = rack->CellByIndex(i).letter;
    if (c < 'a' || c > 'z') continue;
    ASSERT_TRUE(grid->PlaceTilePlain(c, CellCode(7, 7 + static_cast<int>(word.size()))));
    rack->ClearCell(CellCode(0, i));
    word += c;
  }
  ASSERT_EQ(word.size(), 2u);
  PendingBoardAction() = BoardButtonAction(kButtonPlay);
  RunUntil([&] { return Game()->currentPlayer != ann; });
  EXPECT_EQ(Game()->board.letters[7 * 15 + 7], word[0]);
  EXPECT_GT(ann->score, 0);
  RunUntil([&] { return HumanDeciding(); });
  EXPECT_GT(BoardTiles(), 2);  // the computer answered
  EXPECT_EQ(CurrentGrids().board->TileCount(), BoardTiles());
  Shoot("scene_room_midgame");

  // The user passes from then on; the end is photographed before the room
  // takes its grids down.
  bool shot = false;
  RunUntil([&] {
    if (GetCurrentRoomId() != kMainGameRoom) return true;
    CGame* g = Game();
    if (g && g->state == kStateOver && !shot) {
      Shoot("scene_room_end");
      shot = true;
    }
    if (HumanDeciding() && !PendingBoardAction()) {
      SkipNextPassConfirmation();
      PendingBoardAction() = BoardButtonAction(kButtonPass);
    }
    return false;
  });
  EXPECT_TRUE(shot);
  EXPECT_EQ(port_->rankings, 1);
  ASSERT_FALSE(sink_.messages.empty());
  EXPECT_EQ(sink_.messages.back().text, "Replay?");
  EXPECT_EQ(GetCurrentRoomId(), kLobbyRoom);
  EXPECT_EQ(GetScreenStackTop(), 0);
  EXPECT_EQ(GetBoardWindowHandle(), nullptr);
  EXPECT_EQ(ui::GetSlotWindow(ui::kSlotBoard), nullptr);
  EXPECT_EQ(GetGameCount(), 0);
}

}  // namespace
