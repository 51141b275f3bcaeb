#pragma once
// The matchmaking flows over the online service's lobby. Each factory makes
// the root task of one operation; the task reports to the listener as the
// LAN flows do.
#include <cstdint>
#include <vector>

#include "Modules/Core/Src/Tasks/Task.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/MatchmakingService/Src/MatchmakingService.h"

namespace OX_Toolbox {

Task* MakeOnlineHostSession(MatchmakingServiceListener* listener, std::uint8_t index);
Task* MakeOnlineUpdateSession(MatchmakingServiceListener* listener);
Task* MakeOnlineSearchSessions(MatchmakingServiceListener* listener, const MatchmakingQuery* query);
Task* MakeOnlineJoinSession(MatchmakingServiceListener* listener, std::uint8_t index,
                            const std::vector<PlayerID>& players, const SessionID& sessionId,
                            bool privateSlots);
Task* MakeOnlineDeleteSession(MatchmakingServiceListener* listener);
Task* MakeOnlineStartMatch(MatchmakingServiceListener* listener);
Task* MakeOnlineEndMatch(MatchmakingServiceListener* listener);
Task* MakeOnlineAddPlayerToSession(MatchmakingServiceListener* listener,
                                   const std::vector<PlayerID>& players);
Task* MakeOnlineRemovePlayerFromSession(MatchmakingServiceListener* listener,
                                        const std::vector<PlayerID>& players);

}  // namespace OX_Toolbox
