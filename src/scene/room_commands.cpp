#include "scene/room_commands.h"

#include "game/game.h"
#include "game/session_registry.h"
#include "rules/layouts.h"
#include "scene/board_grids.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/screen.h"

namespace scene {

namespace {

bool GameInProgress() {
  const int32_t state = GetGameState(GetCurrentGame());
  return state != kStateOver && state != kStateNoGame;
}

}  // namespace

bool RoomCommands::AgreeToLeave() {
  Screen* screen = GetCurrentScreen();
  return !screen || !GameInProgress() || screen->ConfirmEnd();
}

void RoomCommands::LeaveTopScreen() { PopScreen(); }

void RoomCommands::LeaveToMainMenu() { PopScreensTo(0); }

void RoomCommands::SaveGame() {
  if (Screen* screen = GetCurrentScreen()) screen->SaveGameStep();
}

bool RoomCommands::AgreeToRestart() {
  Screen* screen = GetCurrentScreen();
  return screen && screen->ConfirmRestart();
}

void RoomCommands::RestartRoom() {
  const SceneGrids& grids = CurrentGrids();
  if (grids.carrier) static_cast<TileCarrier*>(grids.carrier)->EndPick();
  for (TileGrid* g : {grids.workingArea, grids.rack, grids.board})
    if (g) g->Clear();
  ReenterCurrentRoom();
}

void RoomCommands::FreezeScene() { HideBoardAndRackFrames(); }

void RoomCommands::ResumeScene() { ShowBoardAndRackFrames(); }

void RoomCommands::RebuildBoardScene() {
  Screen* screen = GetCurrentScreen();
  if (screen && screen->HasBoardScene()) screen->RebuildBoardScene();
}

void RoomCommands::ResetBoardScene(int32_t boardSize) {
  Screen* screen = GetCurrentScreen();
  if (screen && screen->HasBoardScene() && boardSize > 0 && boardSize <= kMaxBoardSide)
    screen->ResetBoardScene(boardSize);
}

void RoomCommands::FillGridsFromGame(CGame& game) {
  const SceneGrids& grids = CurrentGrids();
  if (grids.board) grids.board->SetBoardLetters(game.board.letters);
  GamePlayer* player = game.GetCurrentPlayer();
  if (!grids.rack || !player || player->Type() == kPlayerComputer) return;
  grids.rack->SetLetters(player->rack, player->RackPlaces());
}

RoomCommands& GetRoomCommands() {
  static RoomCommands commands;
  return commands;
}

}  // namespace scene
