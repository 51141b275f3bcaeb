#include <cstdio>

#include "bdCore/bdUtilities/bdDebug.h"

void bdPlatformDebugOutput(const char* text) { std::fputs(text, stderr); }

// No debugger hook natively; the failure has already been reported by the caller.
void bdPlatformDebugStop() {}
