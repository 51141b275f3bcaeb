#include "Modules/MatchmakingService/Src/MatchmakingOnlineTasks.h"

namespace OX_Toolbox {

Task* MakeOnlineHostSession(MatchmakingServiceListener*, std::uint8_t) { return nullptr; }
Task* MakeOnlineUpdateSession(MatchmakingServiceListener*) { return nullptr; }
Task* MakeOnlineSearchSessions(MatchmakingServiceListener*, const MatchmakingQuery*) {
  return nullptr;
}
Task* MakeOnlineJoinSession(MatchmakingServiceListener*, std::uint8_t, const std::vector<PlayerID>&,
                            const SessionID&, bool) {
  return nullptr;
}
Task* MakeOnlineDeleteSession(MatchmakingServiceListener*) { return nullptr; }
Task* MakeOnlineStartMatch(MatchmakingServiceListener*) { return nullptr; }
Task* MakeOnlineEndMatch(MatchmakingServiceListener*) { return nullptr; }
Task* MakeOnlineAddPlayerToSession(MatchmakingServiceListener*, const std::vector<PlayerID>&) {
  return nullptr;
}
Task* MakeOnlineRemovePlayerFromSession(MatchmakingServiceListener*, const std::vector<PlayerID>&) {
  return nullptr;
}

}  // namespace OX_Toolbox
