#pragma once
// The debugger channel: text for the debugger's output window and the stop the
// SDK raises when an allocation fails. Both can be replaced, so tests record
// them instead of stopping the process.

using bdDebugOutputHandler = void (*)(const char* text);
using bdDebugStopHandler = void (*)();

void bdDebugOutput(const char* text);
void bdDebugStop();

// Null restores the platform's own behaviour.
void bdSetDebugHandlers(bdDebugOutputHandler output, bdDebugStopHandler stop);

// The platform's own behaviour (bdDebug_win32.cpp / bdDebug_posix.cpp).
void bdPlatformDebugOutput(const char* text);
void bdPlatformDebugStop();
