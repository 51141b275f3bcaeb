#include "online/matchmaking_port.h"

#include <atomic>

namespace online {

namespace {
std::atomic<MatchmakingPort*> g_port{nullptr};
}

MatchmakingPort* SetMatchmakingPort(MatchmakingPort* port) { return g_port.exchange(port); }

MatchmakingPort* GetMatchmakingPort() { return g_port.load(); }

}  // namespace online
