#include "shell/startup/win32/win_shell_host.h"

#include <string>

#include "game/session_registry.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/user_profile.h"
#include "shell/sound.h"
#include "shell/startup/win32/app_cursors.h"
#include "shell/startup/win32/options_hooks.h"
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

// A profile without a layout of its own takes the default layout of the
// desktop (the profile code copies it after a refusal here); when no default
// layout stands in the program's data either, the panels keep their own
// placements rather than the profile being refused and the program closed.
int WinShellHost::LoadPageLayout(const char* path) {
  if (path && *path && platform::FileExists(path)) return ui::LoadPageLayout(path);
  int width = 0, height = 0;
  GetDesktopSize(&width, &height);
  const std::string fallback =
      std::string(GetLayoutsFolder()) + "\\" + DefaultLayoutForDesktop(width, height);
  return platform::FileExists(fallback.c_str()) ? -1 : 0;
}

void WinShellHost::LoadOptionsSettings() { LoadProgramOptions(); }

}  // namespace shell
