#include "ui/room_game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/saved_game.h"
#include "game/session_registry.h"
#include "game_fakes.h"
#include "game_test_support.h"
#include "recording_sink.h"
#include "temp_dir.h"
#include "ui/room_port.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

class OpenPort : public SavedGamePort {
 public:
  OpenPort() : previous_(SetSavedGamePort(this)) {}
  ~OpenPort() override { SetSavedGamePort(previous_); }
  int32_t CurrentRoom() override { return kRoomStandardGame; }
  std::string CurrentUserName() override { return "ada"; }

 private:
  SavedGamePort* previous_;
};

class RecordingRooms : public RoomCommandPort {
 public:
  RecordingRooms() { SetRoomCommandPort(this); }
  ~RecordingRooms() override { SetRoomCommandPort(nullptr); }
  void ResetBoardScene(int32_t size) override { log.push_back("scene " + std::to_string(size)); }
  void FillGridsFromGame(CGame& game) override {
    log.push_back(std::string("grids ") + game.board.At(7, 7));
  }
  void SetGamePlayerCount(int32_t count) override {
    log.push_back("players " + std::to_string(count));
  }
  std::vector<std::string> log;
};

std::vector<std::string> g_controls;
void RecordControl(int slot, int control, bool enable) {
  g_controls.push_back(std::to_string(slot) + ":" + std::to_string(control) +
                       (enable ? " on" : " off"));
}

class RoomGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_controls.clear();
    RoomGameWindows w;
    w.enableControl = RecordControl;
    SetRoomGameWindows(w);
  }
  void TearDown() override { SetRoomGameWindows(RoomGameWindows{}); }

  // A classic game of Ada and Basil: "cat" by Ada, "cow" by Basil, paused.
  std::string SaveGame(int32_t kind) {
    auto g = gametest::TwoHumanGame();
    g->setup.kind = kind;
    g->setup.language = 0;
    std::strcpy(g->setup.entries[0].name, "Ada");
    std::strcpy(g->setup.entries[1].name, "Basil");
    g->StartNewGame();
    for (int i = 0; i < 2; ++i)
      g->Player(i)->RefillRack();
    Play(*g, 0, gametest::Move("cat", 10, 7, 7));
    Play(*g, 1, gametest::Move("cow", 12, 7, 7, true));
    g->state = kStatePaused;
    const std::string path = dir / "game.tsb";
    EXPECT_EQ(WriteSavedGame(path.c_str(), *g), 0);
    return path;
  }
  static void Play(CGame& g, int i, RobotMove m) {
    g.Player(i)->score += m.score;
    g.ApplyMove(m);
    g.RecordMove(&m);
  }

  gamefakes::RecordingUiPort ui;
  gamefakes::FakeRobotFactory robots;
  testsupport::TempDir dir;
  testsupport::RecordingSink sink{platform::kResultOk};
  OpenPort port;
  RecordingRooms rooms;
  std::shared_ptr<GameSessionRegistry> registry = InitGameSessionRegistry();
};

TEST_F(RoomGameTest, LoadedGameReplacesTheRoomsGame) {
  const std::string path = SaveGame(kKindStandard);
  CGame* old = CreateGame();
  ASSERT_EQ(RegisterGame(old, 1), kRegistered);

  ASSERT_EQ(NewRoomGame(path.c_str()), 1);
  EXPECT_FALSE(IsGameLoading());
  CGame* game = GetCurrentGame();
  ASSERT_NE(game, nullptr);
  EXPECT_NE(game, old);
  EXPECT_EQ(FindGameById(1), game);
  EXPECT_EQ(GetGameCount(), 1);  // the old game is gone
  EXPECT_EQ(game->GetHistoryIndex(), game->history->Count());
  EXPECT_EQ(game->board.At(7, 7), 'c');
  EXPECT_EQ(game->state, kStateTurnRunning);  // a paused game runs again
  EXPECT_STREQ(game->Player(0)->lastMoveRecord.word, "cat");
  EXPECT_STREQ(game->Player(1)->lastMoveRecord.word, "cow");
  EXPECT_EQ(rooms.log, (std::vector<std::string>{"scene 15", "grids c", "players 2"}));
  EXPECT_EQ(g_controls, (std::vector<std::string>{"8:1076 on", "8:1504 on", "5:1161 off"}));
  ASSERT_FALSE(ui.broadcasts.empty());
  EXPECT_EQ(ui.broadcasts.back(), std::make_pair(game, kGameChangedRebuild));
  EXPECT_GT(ui.panelRefreshes, 0);
  const char empty[kBoardSquares] = {};  // only a duplicate game keeps a board copy
  EXPECT_EQ(std::memcmp(game->duplicateBoardCopy, empty, kBoardSquares), 0);
}

TEST_F(RoomGameTest, DuplicateGameSwitchesTheMentorOffAndKeepsABoardCopy) {
  ASSERT_EQ(NewRoomGame(SaveGame(kKindDuplicate).c_str()), 1);
  EXPECT_EQ(g_controls[0], "8:1076 off");
  EXPECT_EQ(g_controls[1], "8:1504 off");
  CGame* game = GetCurrentGame();
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(std::memcmp(game->duplicateBoardCopy, game->board.letters, kBoardSquares), 0);
  EXPECT_EQ(game->duplicateBoardCopy[7 * kBoardStride + 7], 'c');
}

TEST_F(RoomGameTest, LoadingReleasesAHeldGame) {
  ASSERT_EQ(NewRoomGame(SaveGame(kKindStandard).c_str()), 1);
  CGame* game = GetCurrentGame();
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(game->hold, 0);
  game->hold = 1;
  game->state = kStatePaused;
  PrepareLoadedGame(*game);
  EXPECT_EQ(game->hold, 0);
  EXPECT_EQ(game->state, kStateTurnRunning);
}

TEST_F(RoomGameTest, UnreadableFileLeavesTheRoomAlone) {
  CGame* old = CreateGame();
  ASSERT_EQ(RegisterGame(old, 1), kRegistered);
  EXPECT_EQ(NewRoomGame((dir / "missing.tsb").c_str()), -1);
  EXPECT_EQ(NewRoomGame(nullptr), -1);
  EXPECT_FALSE(IsGameLoading());
  EXPECT_EQ(GetCurrentGame(), old);
  EXPECT_TRUE(rooms.log.empty());
}

}  // namespace
}  // namespace ui
