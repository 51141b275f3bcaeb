// Rooms 1 (main game) and 8 (best solution): each takes or makes its game,
// builds the board window and scene, shows its panels, drives the game once
// per frame and, in room 1, ends it with the final ranking and "Replay?".
//
// Differences from the rooms they follow: a refused Enter undoes what it
// built (board window, scene, letters, the game it made), so the room left
// behind holds nothing of it; play starts at the game's own turn-start step,
// which deals the racks, rather than jumping to a running turn with empty
// racks.
#include "scene/game_room.h"

#include <cstdio>
#include <cstring>

#include "engine/robot_settings.h"
#include "game/game.h"
#include "game/saved_game.h"
#include "game/session_registry.h"
#include "game/ui_port.h"
#include "platform/message_sink.h"
#include "scene/board_input.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/letters_bitmap.h"
#include "scene/room_port.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/shell_constants.h"
#include "ui/page_layout.h"
#include "ui/room_game.h"
#include "ui/window_slots.h"

namespace scene {

namespace {

constexpr const char* kBoardModels[] = {"DAT\\UK\\Standard\\tessarin_standard.x",
                                        "DAT\\UK\\White\\tessarin_white.x",
                                        "DAT\\UK\\Deluxe\\tessarin_deluxe.x"};
constexpr int kRoomBoardSide = 15;
constexpr int kRoomTournament = 2;
constexpr int kRoomNetwork = 4;
constexpr uint32_t kYesNo = 4;

int g_boardStyle = kBoardStyleStandard;
std::string g_pendingSavedGame;
bool g_bestSolutionReady = false;

// Without a set-up dialog: the game keeps its set-up; an empty one becomes
// the user against the default computer player.
int KeepSetup(void*, CGame* game) {
  if (game->setup.kind == kKindNone) game->setup.kind = kKindStandard;
  if (game->PlayerCount() == 0) {
    PlayerSetupEntry user;
    std::snprintf(user.name, sizeof user.name, "%s", shell::GetCurrentUserName());
    user.playerType = kPlayerHuman;
    SettingsToOptions(RobotSettings(), user.options);
    PlayerSetupEntry robot = user;
    std::snprintf(robot.name, sizeof robot.name, "%s", "Computer");
    robot.playerType = kPlayerComputer;
    game->setup.AddPlayer(user);
    game->setup.AddPlayer(robot);
  }
  return 1;
}

PlayerSetupDialog g_setupDialog = &KeepSetup;

int AskYesNo(unsigned textId) {
  return platform::ShowNotice(shell::LoadResString(textId),
                              shell::LoadResStringSecondary(shell::kStrProductTitle), kYesNo);
}

// The room's registered game, or a new one registered under the room.
CGame* TakeRoomGame(int roomId, bool* made) {
  *made = false;
  if (CGame* game = FindGameById(roomId)) return game;
  CGame* game = CreateGame();
  if (!game) return nullptr;
  if (RegisterGame(game, roomId) != kRegistered) {
    DeleteGame(game);
    return nullptr;
  }
  *made = true;
  return game;
}

void ShowSlot(int slot, bool show) {
  ui::WindowSlotOp(ui::kOpShow, slot, show ? ui::kShowShow : ui::kShowHide);
}

void EnableSolutionControls(const int* ids, int count, bool enable) {
  for (int i = 0; i < count; ++i)
    GetRoomPort().EnableSlotControl(ui::kSlotMentor, ids[i], enable);
}

// The rack view follows the player to move: a human's rack under his name,
// the local player's rack while a remote player moves, nothing for a
// computer player.
void FollowPlayerInRackView(CGame& game) {
  const SceneGrids& grids = CurrentGrids();
  GamePlayer* player = game.GetCurrentPlayer();
  GamePlayer* shown = nullptr;
  if (player && player->Type() == kPlayerHuman) shown = player;
  if (player && player->Type() == kPlayerRemote) shown = game.viewingPlayer;
  if (grids.rack) {
    grids.rack->Clear();
    if (shown) grids.rack->SetLetters(shown->rack, shown->RackPlaces());
  }
  GetRoomPort().SetRackTitle(shown == player && shown ? shown->entry.name : "");
}

// What both rooms undo when they are left or refuse to be entered.
void TearDownRoom(Screen& screen, int roomId) {
  RoomPort& port = GetRoomPort();
  ui::SavePageLayout(roomId);
  port.DestroyPanelToolbar();
  ShowSlot(ui::kSlotGameToolbar, false);
  screen.ReleaseBoardScene();
  port.DestroyBoardWindow();
  FreeLettersBitmap();
  if (CGame* game = FindGameById(roomId)) game->StopGame();
  DestroyAllGames();
}

class GameRoomScreen : public Screen {
 public:
  explicit GameRoomScreen(int roomId) : Screen(roomId) {
    has3DView = true;
    std::snprintf(background, sizeof background, "%s", "background");
  }

  const char* GetModelPath() override {
    const char* data = shell::GetDataFolder();
    BuildBoardModelPath(g_boardStyle, data ? data : "", modelPath_, sizeof modelPath_);
    return modelPath_;
  }

  bool ConfirmEnd() override { return AskYesNo(kStrConfirmEnd) == platform::kResultYes; }

 protected:
  bool SetupScene(CGame& game) {
    const int rackSize = game.rackSize > 0 ? game.rackSize : kDefaultRackSize;
    if (!SetupBoardScene(GetModelPath(), kRoomBoardSide, kRoomBoardSide, rackSize)) return false;
    ShowSlot(ui::kSlotGameToolbar, true);
    ShowBoardAndRackFrames();
    return true;
  }

  char modelPath_[shell::kMaxPath] = {};
};

class MainGameScreen : public GameRoomScreen {
 public:
  MainGameScreen() : GameRoomScreen(kMainGameRoom) {}

  bool Enter() override {
    bool made = false;
    CGame* game = TakeRoomGame(roomId, &made);
    if (!game) return false;
    ui::SetCurrentLayoutIndex(roomId);
    game->setup.language = GetGameUiPort().CurrentUserLanguage();
    MakeGameCurrent(game);
    RoomPort& port = GetRoomPort();
    port.CreateBoardWindow();
    ShowBoardView();
    LoadLettersBitmap();

    const bool savedWaiting = !g_pendingSavedGame.empty();
    if (!savedWaiting && !PreparePlayers(*game)) return Refuse();
    if (!SetupScene(*game)) return Refuse();
    EnableSolutionControls(game->Kind() != kKindDuplicate);
    if (savedWaiting) {
      // The saved game takes the room's place and goes on where it stood.
      const std::string path = g_pendingSavedGame;
      g_pendingSavedGame.clear();
      if (ui::NewRoomGame(path.c_str()) != 1) return Refuse();
      if (CGame* loaded = GetCurrentGame()) {
        board->SetBoardLetters(loaded->board.letters);
        FollowPlayerInRackView(*loaded);
      }
    } else {
      game->StartNewGame();
    }
    port.CreatePanelToolbar();
    ui::ApplyRoomLayout(roomId);
    ShowSlot(ui::kSlotPanelToolbar, true);
    GetGameUiPort().RefreshRemainderWindow();
    if (!savedWaiting) {
      ResetGameRoom();
      BeginRoomPlay();
    }
    return true;
  }

  bool Leave() override {
    TearDownRoom(*this, roomId);
    return true;
  }

  bool ConfirmRestart() override { return AskYesNo(kStrConfirmRestart) == platform::kResultYes; }

  bool SaveGameStep() override {
    CGame* game = GetCurrentGame();
    return game && SaveGameAs(nullptr, *game);
  }

  bool NewGame() override {
    if (AskYesNo(kStrConfirmEnd) != platform::kResultYes) return false;
    CGame* game = FindGameById(roomId);
    if (!game) return false;
    game->StopGame();
    if (!PreparePlayers(*game)) return false;
    game->ClearGame();
    game->StartNewGame();
    ResetGameRoom();
    BeginRoomPlay();
    GetGameUiPort().RefreshRemainderWindow();
    return true;
  }

  void ShowBoardView() override { GetRoomPort().ShowBoardView(*this); }

  void Update(float) override {
    CGame* game = FindGameById(roomId);
    if (!game) return;
    if (game->state != kStateOver) {
      game->Update();
      return;
    }
    RoomPort& port = GetRoomPort();
    port.ShowFinalRanking(game);
    for (TileGrid* g : {static_cast<TileGrid*>(workingArea.get()),
                        static_cast<TileGrid*>(board.get()), static_cast<TileGrid*>(rack.get())})
      if (g) g->Clear();
    ClearKeyboardCursor();
    if (AskYesNo(kStrReplay) != platform::kResultYes) {
      PopScreen();  // leaves this room: nothing of it may be touched after
      return;
    }
    game->Restart();
    ResetGameRoom();
    BeginRoomPlay();
  }

 private:
  bool PreparePlayers(CGame& game) {
    if (g_setupDialog(GetRoomPort().BoardWindow(), &game) == kDialogCancelled) return false;
    if (game.setup.kind == kKindNone) game.setup.kind = kKindStandard;
    return game.PlayerCount() > 0;
  }

  void EnableSolutionControls(bool enable) {
    const int ids[] = {kSolutionControlB, kSolutionControlC};
    scene::EnableSolutionControls(ids, 2, enable);
  }

  bool Refuse() {
    TearDownRoom(*this, roomId);
    return false;
  }
};

class BestSolutionScreen : public GameRoomScreen {
 public:
  BestSolutionScreen() : GameRoomScreen(kBestSolutionRoom) {}

  bool Enter() override {
    bool made = false;
    CGame* game = TakeRoomGame(roomId, &made);
    if (!game) return false;
    MakeGameCurrent(game);
    GetRoomPort().CreateBoardWindow();
    if (!SetupScene(*game)) {
      TearDownRoom(*this, roomId);
      return false;
    }
    GetRoomPort().CreatePanelToolbar();
    ui::ApplyRoomLayout(roomId);
    ShowSlot(ui::kSlotPanelToolbar, true);
    GetGameUiPort().RefreshRemainderWindow();
    ResetBoardInput();
    return g_bestSolutionReady;
  }

  bool Leave() override {
    TearDownRoom(*this, roomId);
    const int ids[] = {kSolutionControlA, kSolutionControlB, kSolutionControlC, kSolutionControlD};
    EnableSolutionControls(ids, 4, true);
    return true;
  }

  bool ConfirmRestart() override { return AskYesNo(kStrRestartMode) == platform::kResultYes; }

  void ShowBoardView() override { GetRoomPort().ShowBoardView(*this); }

  void Update(float) override {
    if (CGame* game = FindGameById(roomId)) game->Update();
  }
};

}  // namespace

void SetBoardStyle(int style) { g_boardStyle = style; }
int GetBoardStyle() { return g_boardStyle; }

bool BuildBoardModelPath(int style, const char* dataFolder, char* buffer, size_t size) {
  if (style < kBoardStyleStandard || style > kBoardStyleDeluxe || !buffer || !dataFolder)
    return false;
  char path[shell::kMaxPath];
  const int n = std::snprintf(path, sizeof path, "%s\\%s", dataFolder, kBoardModels[style]);
  if (n < 0 || static_cast<size_t>(n) >= sizeof path || static_cast<size_t>(n) >= size)
    return false;
  std::memcpy(buffer, path, static_cast<size_t>(n) + 1);
  return true;
}

PlayerSetupDialog SetPlayerSetupDialog(PlayerSetupDialog dialog) {
  PlayerSetupDialog old = g_setupDialog;
  g_setupDialog = dialog ? dialog : &KeepSetup;
  return old;
}

void SetPendingSavedGame(const std::string& path) { g_pendingSavedGame = path; }
const std::string& GetPendingSavedGame() { return g_pendingSavedGame; }
void SetBestSolutionReady(bool ready) { g_bestSolutionReady = ready; }

Screen* CreateMainGameScreen() { return new MainGameScreen(); }
Screen* CreateBestSolutionScreen() { return new BestSolutionScreen(); }

void ResetGameRoom() {
  ShowBoardAndRackFrames();
  SetSceneButtonMask(kDefaultButtonMask);
  const SceneGrids& grids = CurrentGrids();
  if (grids.board) grids.board->Clear();
  const int room = GetCurrentRoomId();
  // Every panel of a game; the move list and comments stay out of the
  // tournament and network rooms, the set-up and chat panels out of play.
  for (int slot : {ui::kSlotRoomPanel, ui::kSlotMoveList, ui::kSlotMentor, ui::kSlotRemainingTiles,
                   ui::kSlotPlayers, ui::kSlotPanelToolbar})
    ShowSlot(slot, true);
  for (int slot :
       {ui::kSlotDictionary, ui::kSlotPositionSetup, ui::kSlotChat, ui::kSlotUserComments})
    ShowSlot(slot, false);
  if (room == kRoomTournament || room == kRoomNetwork) ShowSlot(ui::kSlotMoveList, false);
  RoomPort& port = GetRoomPort();
  port.EnableSlotControl(ui::kSlotMentor, kSolutionControlA, true);
  port.EnableSlotControl(ui::kSlotMentor, kSolutionControlD, true);
  port.ShowSlotControl(ui::kSlotMentor, kSolutionControlShown, true);
  if (CGame* game = GetCurrentGame()) FollowPlayerInRackView(*game);
}

void BeginRoomPlay() {
  CGame* game = GetCurrentGame();
  if (!game) return;
  RoomPort& port = GetRoomPort();
  GamePlayer* player = game->GetCurrentPlayer();
  if (player && player->Type() == kPlayerComputer) port.EnableUserInterface(true);
  const SceneGrids& grids = CurrentGrids();
  if (grids.board) grids.board->SetBoardLetters(game->board.letters);
  ClearKeyboardCursor();
  port.SendSlotMessage(ui::kSlotMentor, kMsgPlayStarts);
  GameUiPort& ui = GetGameUiPort();
  ui.RefreshPlayerPanels();
  ui.RefreshRemainderWindow();
  FollowPlayerInRackView(*game);
}

}  // namespace scene
