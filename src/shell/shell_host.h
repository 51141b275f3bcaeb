#pragma once
// What the portable shell core asks of the window side: cursors, sounds, the
// desktop size, the page layout, the room of the moment and the windows that
// show a profile. The Win32 front-end installs its implementation; tests
// install a recording fake. With none installed a default plays sounds
// through the sound layer, does nothing else and answers with neutral values
// (a 1024x768 desktop, room 1, layouts that load when their file exists).
#include <string>

namespace shell {

struct UserProfile;

class ShellHost {
 public:
  virtual ~ShellHost() = default;

  // SetAppCursor on the main window: the busy cursor while true.
  virtual void SetBusyCursor(bool busy);
  virtual void PlaySoundFile(const char* name);
  virtual void GetDesktopSize(int* width, int* height);
  // The room shown now (GetRoomName with -1).
  virtual int GetCurrentRoomId();

  // Selecting a profile: the page-layout index goes back to 0, the games of
  // the previous profile are closed, the options of the new one are read and
  // its page layout loaded (-1 when the layout cannot be loaded).
  virtual void SetCurrentLayoutIndex(int index);
  virtual void CloseProfileGames();
  virtual void LoadOptionsSettings();
  virtual int LoadPageLayout(const char* path);
  // The user's folder becomes the global text buffer; the profile window
  // shows the new profile.
  virtual void SetGlobalTextBuffer(const char* text);
  virtual void ProfileSelected(const UserProfile& profile);
};

// Installs the host (not owned); returns the previous one. Null restores the
// default.
ShellHost* SetShellHost(ShellHost* host);
ShellHost& GetShellHost();

}  // namespace shell
