#include "game/turn_ports.h"

namespace {
BoardViewPort g_defaultView;
BoardViewPort* g_view = &g_defaultView;
GameResultPort g_defaultResult;
GameResultPort* g_result = &g_defaultResult;

template <typename Port>
Port* Swap(Port*& slot, Port& fallback, Port* port) {
  Port* previous = slot;
  slot = port ? port : &fallback;
  return previous == &fallback ? nullptr : previous;
}
}  // namespace

BoardViewPort* SetBoardViewPort(BoardViewPort* port) { return Swap(g_view, g_defaultView, port); }
BoardViewPort& GetBoardViewPort() { return *g_view; }
GameResultPort* SetGameResultPort(GameResultPort* port) {
  return Swap(g_result, g_defaultResult, port);
}
GameResultPort& GetGameResultPort() { return *g_result; }
