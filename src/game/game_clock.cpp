#include "game/game_clock.h"

#include "platform/clock.h"

namespace {
GameTickSource g_source = &platform::TickCount;
}

GameTickSource SetGameTickSource(GameTickSource source) {
  GameTickSource previous = g_source;
  g_source = source ? source : &platform::TickCount;
  return previous;
}

uint32_t GameTickCount() { return g_source(); }
