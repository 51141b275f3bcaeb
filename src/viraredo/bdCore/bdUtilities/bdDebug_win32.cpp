#include <windows.h>

#include "bdCore/bdUtilities/bdDebug.h"

void bdPlatformDebugOutput(const char* text) { OutputDebugStringA(text); }

// Only stop when someone is there to see it; a stop without a debugger ends the process.
void bdPlatformDebugStop() {
  if (IsDebuggerPresent()) DebugBreak();
}
