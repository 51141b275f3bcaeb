#include "shell/startup/win32/win_shell_host.h"

#include <string>

#include "game/session_registry.h"
#include "shell/sound.h"
#include "shell/startup/win32/app_cursors.h"
#include "shell/startup/win32/options_hooks.h"
#include "shell/startup/win32/profile_window.h"
#include "ui/page_layout.h"
#include "ui/win32/file_dialog_win32.h"

namespace shell {

void WinShellHost::SetBusyCursor(bool busy) {
  SetAppCursor(main_, busy ? kCursorBusy : kCursorPointer);
}

void WinShellHost::PlaySoundFile(const char* name) {
  if (!name) return;
  std::wstring wide(name, name + std::char_traits<char>::length(name));
  PlaySoundFileOnce(wide.c_str());
}

void WinShellHost::GetDesktopSize(int* width, int* height) {
  RECT r{0, 0, overrideWidth_, overrideHeight_};
  if (overrideWidth_ <= 0 || overrideHeight_ <= 0) GetWindowRect(GetDesktopWindow(), &r);
  if (width) *width = r.right;
  if (height) *height = r.bottom;
}

int WinShellHost::GetCurrentRoomId() { return room_; }

void WinShellHost::SetGlobalTextBuffer(const char* text) { ui::SetGlobalTextBuffer(text); }

void WinShellHost::CloseProfileGames() { ::DestroyAllGames(); }

void WinShellHost::ProfileSelected(const UserProfile& profile) { NotifyProfileWindow(profile); }

int WinShellHost::LoadPageLayout(const char* path) { return ui::LoadPageLayout(path); }

void WinShellHost::LoadOptionsSettings() { LoadProgramOptions(); }

}  // namespace shell
