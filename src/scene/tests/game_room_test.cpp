// Room 1 on the generated model and the dense fixture lexicon, without
// windows: entering builds the scene and deals the racks, a refused set-up
// stays in the lobby, a move laid on the board grid is played and answered,
// and a finished game answered "No" to "Replay?" returns to the lobby.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "engine/robot.h"
#include "engine/robot_settings.h"
#include "game/game.h"
#include "game/move_submit.h"
#include "game/saved_game.h"
#include "game/session_registry.h"
#include "game_setups.h"
#include "game_test_support.h"
#include "platform/crand.h"
#include "platform/sync.h"
#include "recording_sink.h"
#include "room_fakes.h"
#include "scene/board_scene.h"
#include "scene/game_room.h"
#include "scene/grid_host.h"
#include "scene/grid_view_port.h"
#include "scene/screen.h"
#include "scene_fixture.h"

using namespace scene;

namespace {

long FixtureModel(MeshFrame* root, const std::string&) {
  root->AttachChild(scenetest::BuildModel());
  return 0;
}

int g_setupAnswer = 1;

// The set-up dialog's stand-in: the user against one computer player.
int HumanAgainstComputer(void*, CGame* game) {
  scenetest::SetUpHumanAgainstComputer(game);
  return g_setupAnswer;
}

class GameRoomTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { gametest::StartEngine("rooms"); }
  static void TearDownTestSuite() { gametest::EndEngine(); }

  void SetUp() override {
    platform::SeedRandom(11);
    g_setupAnswer = 1;
    registry_ = InitGameSessionRegistry();
    SetMeshFileLoader(&FixtureModel);
    previousView_ = SetBoardViewPort(&view_);
    previousSetup_ = SetPlayerSetupDialog(&HumanAgainstComputer);
    CreateRoomScreens();
    ASSERT_TRUE(PushScreen(kLobbyRoom));
  }
  void TearDown() override {
    PendingBoardAction() = nullptr;
    if (CGame* game = FindGameById(kMainGameRoom)) game->StopGame();
    DestroyRoomScreens();
    DestroyAllGames();
    SetPlayerSetupDialog(previousSetup_);
    SetBoardViewPort(previousView_);
    SetMeshFileLoader(nullptr);
    registry_.reset();
  }

  CGame* Game() { return FindGameById(kMainGameRoom); }
  bool HumanDeciding() { return scenetest::HumanDeciding(Game()); }
  // Frames of the main loop; a computer player's search gets a little time.
  void RunUntil(const std::function<bool()>& done, int frames = 200000) {
    for (int i = 0; i < frames && !done(); ++i) {
      UpdateCurrentRoom(0.02f);
      CGame* g = Game();
      if (g && g->currentPlayer && g->currentPlayer->Type() == kPlayerComputer &&
          g->currentPlayer->GetRobot() && g->currentPlayer->GetRobot()->IsThinking())
        platform::SleepMs(1);
    }
    ASSERT_TRUE(done());
  }
  // Two rack tiles (no blank) laid across from the centre square.
  std::string LayOpeningWord() {
    TileGrid* rack = CurrentGrids().rack;
    TileGrid* board = CurrentGrids().board;
    std::string word;
    for (int i = 0; i < rack->CellCount() && word.size() < 2; ++i) {
      const char c = rack->CellByIndex(i).letter;
      if (c < 'a' || c > 'z') continue;
      const uint16_t at = CellCode(7, 7 + static_cast<int>(word.size()));
      EXPECT_TRUE(board->PlaceTilePlain(c, at));
      rack->ClearCell(CellCode(0, i));
      word += c;
    }
    return word;
  }
  int BoardTiles() {
    int n = 0;
    for (char c : Game()->board.letters)
      n += c != 0;
    return n;
  }

  scenetest::FakeRoomPort port_;
  GridViewPort view_;
  testsupport::RecordingSink sink_{platform::kResultNo};
  std::shared_ptr<GameSessionRegistry> registry_;
  BoardViewPort* previousView_ = nullptr;
  PlayerSetupDialog previousSetup_ = nullptr;
};

TEST_F(GameRoomTest, EnterBuildsTheRoomAndShowsTheHumansRack) {
  ASSERT_TRUE(PushScreen(kMainGameRoom));
  EXPECT_EQ(GetScreenStackTop(), 1);
  EXPECT_EQ(GetCurrentRoomId(), kMainGameRoom);
  EXPECT_EQ(port_.boardWindows, 1);
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(GetCurrentGame(), Game());
  const SceneGrids& grids = CurrentGrids();
  ASSERT_NE(grids.board, nullptr);
  EXPECT_EQ(grids.board->Rows(), 15);
  EXPECT_EQ(grids.rack->Columns(), 7);
  EXPECT_NE(grids.carrier, nullptr);
  EXPECT_EQ(grids.board->NotifyWindow(), port_.BoardWindow());
  // The frames take the saved positions; a frame that is only its grid's
  // border keeps its depth so that it does not cover the grid's tiles.
  const Vec3 rackFrame = TranslationOf(GetSceneFrame(kFrameRackFrame)->Local());
  EXPECT_NEAR(rackFrame.x, -0.9771f, 1e-4f);
  EXPECT_NEAR(rackFrame.y, -8.7146f, 1e-4f);
  EXPECT_EQ(rackFrame.z, 0.0f);
  EXPECT_NEAR(TranslationOf(GetSceneFrame(kFrameBoardFrame)->Local()).y, 3.0549f, 1e-4f);

  RunUntil([&] { return HumanDeciding(); });
  GamePlayer* ann = Game()->GetCurrentPlayer();
  EXPECT_STREQ(ann->entry.name, "Ann");
  EXPECT_EQ(grids.rack->Dump(), std::string(ann->rack, 7));
  EXPECT_EQ(grids.rack->TileCount(), 7);
}

TEST_F(GameRoomTest, CancelledSetUpStaysInTheLobbyWithNothingBuilt) {
  g_setupAnswer = kDialogCancelled;
  EXPECT_FALSE(PushScreen(kMainGameRoom));
  EXPECT_EQ(GetScreenStackTop(), 0);
  EXPECT_EQ(GetCurrentRoomId(), kLobbyRoom);
  EXPECT_EQ(GetCurrentScreen(), GetRoomScreen(kLobbyRoom));
  EXPECT_EQ(port_.boardWindows, 0);
  EXPECT_EQ(GetGameCount(), 0);
  EXPECT_FALSE(IsBoardSceneLoaded());
  EXPECT_EQ(CurrentGrids().board, nullptr);
}

TEST_F(GameRoomTest, MissingModelRefusesTheRoom) {
  SetMeshFileLoader(nullptr);
  EXPECT_FALSE(PushScreen(kMainGameRoom));
  EXPECT_EQ(GetCurrentRoomId(), kLobbyRoom);
  EXPECT_EQ(port_.boardWindows, 0);
  EXPECT_EQ(GetGameCount(), 0);
}

TEST_F(GameRoomTest, MoveLaidOnTheBoardIsPlayedAndTheGameEndsBackInTheLobby) {
  ASSERT_TRUE(PushScreen(kMainGameRoom));
  RunUntil([&] { return HumanDeciding(); });
  GamePlayer* ann = Game()->GetCurrentPlayer();
  const std::string word = LayOpeningWord();
  ASSERT_EQ(word.size(), 2u);
  PendingBoardAction() = BoardButtonAction(kButtonPlay);
  RunUntil([&] { return Game()->currentPlayer != ann; });
  EXPECT_EQ(Game()->board.letters[7 * 15 + 7], word[0]);
  EXPECT_EQ(Game()->board.letters[7 * 15 + 8], word[1]);
  EXPECT_GT(ann->score, 0);

  // The computer answers on the board; the human's refilled rack is shown.
  RunUntil([&] { return HumanDeciding(); });
  EXPECT_GT(BoardTiles(), 2);
  EXPECT_EQ(CurrentGrids().rack->Dump(), std::string(ann->rack, 7));
  EXPECT_EQ(CurrentGrids().board->TileCount(), BoardTiles());

  // The human passes from then on until the computer has played out.
  const size_t before = sink_.messages.size();
  RunUntil([&] {
    if (GetCurrentRoomId() != kMainGameRoom) return true;
    if (HumanDeciding() && !PendingBoardAction()) {
      SkipNextPassConfirmation();
      PendingBoardAction() = BoardButtonAction(kButtonPass);
    }
    return false;
  });
  EXPECT_EQ(port_.rankings, 1);
  ASSERT_GT(sink_.messages.size(), before);
  EXPECT_EQ(sink_.messages.back().text, "Replay?");
  EXPECT_EQ(sink_.messages.back().flags, 4u);
  EXPECT_EQ(GetCurrentRoomId(), kLobbyRoom);
  EXPECT_EQ(GetScreenStackTop(), 0);
  EXPECT_EQ(port_.boardWindows, 0);
  EXPECT_EQ(GetGameCount(), 0);
  EXPECT_FALSE(IsBoardSceneLoaded());
}

TEST_F(GameRoomTest, ReplayStartsTheGameAgainInTheRoom) {
  ASSERT_TRUE(PushScreen(kMainGameRoom));
  RunUntil([&] { return HumanDeciding(); });
  sink_.answers = {platform::kResultYes};
  Game()->StopGame();  // the game is over
  UpdateCurrentRoom(0.02f);
  EXPECT_EQ(port_.rankings, 1);
  EXPECT_EQ(GetCurrentRoomId(), kMainGameRoom);
  RunUntil([&] { return HumanDeciding(); });
  EXPECT_EQ(CurrentGrids().rack->TileCount(), 7);
  EXPECT_EQ(BoardTiles(), 0);
}

// The saved game's owner is the user, in room 1.
struct UserAnnPort : SavedGamePort {
  UserAnnPort() : previous(SetSavedGamePort(this)) {}
  ~UserAnnPort() override { SetSavedGamePort(previous); }
  int32_t CurrentRoom() override { return kRoomStandardGame; }
  std::string CurrentUserName() override { return "Ann"; }
  SavedGamePort* previous;
};

TEST_F(GameRoomTest, WaitingSavedGameIsOpenedInPlaceOfTheSetUp) {
  UserAnnPort saved;
  ASSERT_TRUE(PushScreen(kMainGameRoom));
  RunUntil([&] { return HumanDeciding(); });
  GamePlayer* ann = Game()->GetCurrentPlayer();
  LayOpeningWord();
  PendingBoardAction() = BoardButtonAction(kButtonPlay);
  RunUntil([&] { return Game()->currentPlayer != ann; });
  RunUntil([&] { return HumanDeciding(); });
  const int tiles = BoardTiles();
  lexfix::MakeDirs(lexfix::Folder("rooms_saved"));
  const std::string path = lexfix::Folder("rooms_saved") + "/room.sav";
  ASSERT_EQ(WriteSavedGame(path.c_str(), *Game()), 0);
  PopScreen();
  ASSERT_EQ(GetGameCount(), 0);

  g_setupAnswer = kDialogCancelled;  // the set-up is not asked
  SetPendingSavedGame(path);
  ASSERT_TRUE(PushScreen(kMainGameRoom));
  EXPECT_TRUE(GetPendingSavedGame().empty());
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(GetCurrentGame(), Game());
  EXPECT_EQ(BoardTiles(), tiles);
  EXPECT_EQ(CurrentGrids().board->TileCount(), tiles);
  RunUntil([&] { return HumanDeciding(); });

  // A file that cannot be opened refuses the room.
  PopScreen();
  SetPendingSavedGame(path + ".missing");
  EXPECT_FALSE(PushScreen(kMainGameRoom));
  EXPECT_EQ(GetCurrentRoomId(), kLobbyRoom);
  EXPECT_EQ(GetGameCount(), 0);
  EXPECT_EQ(port_.boardWindows, 0);
}

TEST(BoardModelPath, StyleChoosesTheModelAndOtherStylesKeepTheBuffer) {
  char path[260] = "unchanged";
  EXPECT_FALSE(BuildBoardModelPath(3, "C:\\T\\Data", path, sizeof path));
  EXPECT_FALSE(BuildBoardModelPath(-1, "C:\\T\\Data", path, sizeof path));
  EXPECT_STREQ(path, "unchanged");
  ASSERT_TRUE(BuildBoardModelPath(1, "C:\\T\\Data", path, sizeof path));
  EXPECT_STREQ(path, "C:\\T\\Data\\DAT\\UK\\White\\tessarin_white.x");
  ASSERT_TRUE(BuildBoardModelPath(2, "D", path, sizeof path));
  EXPECT_STREQ(path, "D\\DAT\\UK\\Deluxe\\tessarin_deluxe.x");
  char small[12] = "small";
  EXPECT_FALSE(BuildBoardModelPath(0, "C:\\T\\Data", small, sizeof small));
  EXPECT_STREQ(small, "small");
}

}  // namespace
