#include "game/turn_ports.h"

namespace {
BoardViewPort g_defaultView;
BoardViewPort* g_view = &g_defaultView;
GameRecordPort g_defaultRecord;
GameRecordPort* g_record = &g_defaultRecord;

template <typename Port>
Port* Swap(Port*& slot, Port& fallback, Port* port) {
  Port* previous = slot;
  slot = port ? port : &fallback;
  return previous == &fallback ? nullptr : previous;
}
}  // namespace

BoardViewPort* SetBoardViewPort(BoardViewPort* port) { return Swap(g_view, g_defaultView, port); }
BoardViewPort& GetBoardViewPort() { return *g_view; }
GameRecordPort* SetGameRecordPort(GameRecordPort* port) {
  return Swap(g_record, g_defaultRecord, port);
}
GameRecordPort& GetGameRecordPort() { return *g_record; }
