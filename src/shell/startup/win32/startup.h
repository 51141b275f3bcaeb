#pragma once
// The program's start-up and shut-down: the checks with their messages, the
// single instance, the subsystems brought up behind the splash, the system
// settings switched for the run, the lexicon, the user, the main loop and
// one shut-down that undoes exactly what start-up did. The program reads no
// command line.
#include <windows.h>

namespace shell {

// The whole run; the process exit code.
int RunTessarin(HINSTANCE instance);

bool CheckColorDepth();
// The low-colour-depth dialog; with no parent it runs its own loop until
// the user presses Exit.
void ShowVideoModeDialog(HWND parent);
void CloseVideoModeDialog();

}  // namespace shell
