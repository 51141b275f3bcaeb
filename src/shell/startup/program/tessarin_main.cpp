// The process entry: everything happens in RunTessarin; the command line
// and the show flag are not read.
#include <windows.h>

#include "shell/startup/win32/startup.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return shell::RunTessarin(instance);
}
