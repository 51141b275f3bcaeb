#include "online/matchmaking_port.h"

#include <atomic>

#include "online/toolbox_matchmaking.h"

namespace online {

namespace {
std::atomic<MatchmakingPort*> g_port{nullptr};
}

MatchmakingPort* SetMatchmakingPort(MatchmakingPort* port) { return g_port.exchange(port); }

MatchmakingPort* GetMatchmakingPort() {
  static ToolboxMatchmaking toolbox;
  MatchmakingPort* port = g_port.load();
  return port != nullptr ? port : &toolbox;
}

}  // namespace online
