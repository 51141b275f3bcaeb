#pragma once
// The rooms' answers to the main window's toolbars and game loading: the
// current screen's questions, the screen stack, and the board scene and
// grids of the room shown. CreateRoomScreens installs it.
#include "ui/room_port.h"

namespace scene {

class RoomCommands : public ui::RoomCommandPort {
 public:
  // A game in progress is only left when the screen's question says yes.
  bool AgreeToLeave() override;
  void LeaveTopScreen() override;
  void LeaveToMainMenu() override;
  void SaveGame() override;
  bool AgreeToRestart() override;
  void RestartRoom() override;
  void FreezeScene() override;
  void ResumeScene() override;
  void RebuildBoardScene() override;
  void ResetBoardScene(int32_t boardSize) override;
  void FillGridsFromGame(CGame& game) override;
};

RoomCommands& GetRoomCommands();

}  // namespace scene
