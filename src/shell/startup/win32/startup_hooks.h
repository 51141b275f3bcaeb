#pragma once
// The toolkit's and the shell's hooks that start-up installs once the main
// window exists: the interface switch the message box turns off and on, the
// player of a theme's ambiance, and the animated buttons' archive reader.
#include <windows.h>

namespace shell {

void InstallStartupHooks();
// The animated buttons read their images through the shell's archive
// reader (".idx"/".dat" pairs).
void InstallAnimButtonArchive();

}  // namespace shell
