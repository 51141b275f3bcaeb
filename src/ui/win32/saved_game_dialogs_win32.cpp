#include "ui/win32/saved_game_dialogs_win32.h"

#include <windows.h>

#include <cstring>

#include "gui/win32/gui_frame.h"
#include "shell/app_context.h"
#include "shell/shell_host.h"
#include "shell/user_profile.h"
#include "ui/win32/file_dialog_win32.h"
#include "ui/win32/main_frame.h"

namespace ui {

int32_t ProgramSavedGamePort::CurrentRoom() { return shell::GetShellHost().GetCurrentRoomId(); }

std::string ProgramSavedGamePort::CurrentUserName() { return shell::GetCurrentUserName(); }

int32_t ProgramSavedGamePort::CurrentUserLanguage() {
  const shell::UserProfile* profile = shell::GetCurrentUserProfile();
  return profile ? static_cast<int32_t>(profile->language) : 0;
}

bool ProgramSavedGamePort::AskFileName(bool save, int32_t type, std::string& name) {
  // The saved-file types are the dialog's filters of the same numbers.
  char path[kFileDialogPathSize] = {};
  std::strncpy(path, name.c_str(), sizeof path - 1);
  HWND owner = GetMainFrameWindow();
  if (!owner) owner = GetActiveWindow();
  const int mode = save ? kModeSave : kModeOpen;
  if (!RunFileDialog(GetModuleHandleA(nullptr), owner, path, 0, mode, type, save ? 0 : 1, nullptr,
                     nullptr, nullptr))
    return false;
  name = path;
  return true;
}

void ProgramSavedGamePort::ShowProgress(const std::string& text) {
  if (HWND main = GetMainFrameWindow())
    SendMessageA(main, gui::kMsgStatusSetText, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void InstallSavedGameDialogs() {
  static ProgramSavedGamePort port;
  SetSavedGamePort(&port);
}

}  // namespace ui
