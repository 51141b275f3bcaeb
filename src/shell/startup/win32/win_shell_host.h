#pragma once
// The shell core's host on Windows: the busy cursor on the main window, the
// sound service, the desktop's size (or the program ini's test override),
// the room of the moment and closing the games of a profile.
#include <windows.h>

#include "shell/shell_host.h"

namespace shell {

class WinShellHost : public ShellHost {
 public:
  void SetBusyCursor(bool busy) override;
  void PlaySoundFile(const char* name) override;
  void GetDesktopSize(int* width, int* height) override;
  int GetCurrentRoomId() override;
  void CloseProfileGames() override;
  // The user's options, and what they set outside their record.
  void LoadOptionsSettings() override;
  // The file dialog starts in the selected user's folder.
  void SetGlobalTextBuffer(const char* text) override;
  // The player profile window follows the selected profile.
  void ProfileSelected(const UserProfile& profile) override;
  // The main window's page layout; a profile without a layout file keeps
  // the windows where they are.
  int LoadPageLayout(const char* path) override;

  void SetMainWindow(HWND window) { main_ = window; }
  // A stand-in desktop size for unattended runs (0 x 0: the real one).
  void SetDesktopOverride(int width, int height) {
    overrideWidth_ = width;
    overrideHeight_ = height;
  }
  // The rooms set the room they show; the lobby (0) until then.
  void SetCurrentRoomId(int room) { room_ = room; }

 private:
  HWND main_ = nullptr;
  int overrideWidth_ = 0, overrideHeight_ = 0;
  int room_ = 0;
};

}  // namespace shell
