#include "scene/win32/room_commands.h"

#include <string>

#include "game/game.h"
#include "game/player.h"
#include "game/saved_game.h"
#include "scene/board_scene.h"
#include "scene/screen.h"
#include "scene/win32/board_view.h"
#include "ui/room_game.h"
#include "ui/room_port.h"

namespace scene {
namespace {

// One frame drawn at once, so a frozen or resumed board shows at once.
void DrawOneFrame() {
  if (!HasD3DDevice()) return;
  ClearDepthBuffer();
  RenderBoardScene();
  PresentFrame();
}

class ScreenCommands : public ui::RoomCommandPort {
 public:
  bool AgreeToLeave() override {
    Screen* s = GetCurrentScreen();
    return s && s->ConfirmEnd();
  }
  void LeaveTopScreen() override { PopScreen(); }
  void LeaveToMainMenu() override { PopScreensTo(0); }
  void SaveGame() override {
    if (Screen* s = GetCurrentScreen()) s->SaveGameStep();
  }
  // A saved game chosen in the program's file dialog becomes the room's game.
  bool LoadGame() override {
    std::string path;
    if (!GetSavedGamePort().AskFileName(false, kFileSavedGame, path) || path.empty()) return false;
    return ui::NewRoomGame(path.c_str()) == 1;
  }
  bool AgreeToRestart() override {
    Screen* s = GetCurrentScreen();
    return s && s->ConfirmRestart();
  }
  void RestartRoom() override {
    if (Screen* s = GetCurrentScreen()) {
      if (s->board) s->board->Clear();
      if (s->rack) s->rack->Clear();
      if (s->workingArea) s->workingArea->Clear();
      if (s->carrier) s->carrier->EndPick();
    }
    ReenterCurrentRoom();
  }
  void ReloadAfterSkinChange() override {
    if (Screen* s = GetCurrentScreen()) s->ShowBoardView();
  }
  void FreezeScene() override {
    HideBoardAndRackFrames();
    DrawOneFrame();
  }
  void ResumeScene() override {
    ShowBoardAndRackFrames();
    if (Screen* s = GetCurrentScreen(); s && !s->rack) HideRackFrame();
    DrawOneFrame();
  }
  void RebuildBoardScene() override {
    if (Screen* s = GetCurrentScreen()) s->RebuildBoardScene();
  }
  void ResetBoardScene(int32_t boardSize) override {
    if (Screen* s = GetCurrentScreen()) s->ResetBoardScene(boardSize);
  }
  void FillGridsFromGame(CGame& game) override {
    Screen* s = GetCurrentScreen();
    if (!s) return;
    if (s->board) s->board->SetBoardLetters(game.board.letters);
    GamePlayer* player = game.GetCurrentPlayer();
    if (s->rack) {
      s->rack->Clear();
      if (player && player->Type() != kPlayerComputer)
        s->rack->SetLetters(player->rack, player->RackPlaces());
    }
  }
};

ScreenCommands g_commands;

}  // namespace

void InstallRoomCommandPort() { ui::SetRoomCommandPort(&g_commands); }

}  // namespace scene
