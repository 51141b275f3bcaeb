#pragma once
// The game's saved-game port on the program's windows: the file dialog for
// save-as and open, the progress text in the main window's status bar, the
// room of the moment and the current user.
#include "game/saved_game.h"

namespace ui {

class ProgramSavedGamePort : public SavedGamePort {
 public:
  int32_t CurrentRoom() override;
  std::string CurrentUserName() override;
  int32_t CurrentUserLanguage() override;
  bool AskFileName(bool save, int32_t type, std::string& name) override;
  void ShowProgress(const std::string& text) override;
};

// Installs the program's port for the life of the process; the program
// calls it once at start-up.
void InstallSavedGameDialogs();

}  // namespace ui
