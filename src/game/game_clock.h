#pragma once
// The millisecond tick the game's clocks read (GetTickCount by default).
// Tests and tools install their own source to drive the clocks.
#include <cstdint>

using GameTickSource = uint32_t (*)();

// Installs the source (null restores the platform tick); returns the
// previous one.
GameTickSource SetGameTickSource(GameTickSource source);
uint32_t GameTickCount();
