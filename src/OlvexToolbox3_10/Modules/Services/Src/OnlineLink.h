#pragma once
// What the online services' tasks need of the network side: whether the
// network service runs the online connection, the lobby service object, the
// lobby's error codes as ErrorIDs, and whether a matchmaking session is open.
// Each answer comes through a hook so the network service and matchmaking
// plug themselves in and tests can stand in for them.
#include <cstdint>

#include "Modules/Core/Src/Result/ErrorId.h"

class bdLobbyServiceImpl;

namespace OX_Toolbox {

class Service;

using ConnectionTypeQuery = std::int32_t (*)(Service* networkService);
using SessionOpenQuery = bool (*)();

// The query asked with the registered "NetworkService"; null: the network
// service's own connection type.
void SetConnectionTypeQuery(ConnectionTypeQuery query);
// The network service's connection type; 0 without the service.
std::int32_t NetworkConnectionType();
// ERRORID_SUCCEEDED when the online connection is up, else
// ERRORID_CONNECTION_FAILURE.
ERRORID CheckOnlineConnection();

// The process's lobby service object.
bdLobbyServiceImpl* Lobby();

// Hands every push message the lobby service holds to the core's event
// manager as a message-store event, oldest first, and empties the lobby's
// list. The network service calls it on each update.
void PostLobbyMessages();

// A lobby error code as an ErrorID.
ERRORID LobbyErrorToErrorId(std::uint32_t code);

void SetSessionOpenQuery(SessionOpenQuery query);
// Gives back the private slot an invitation's ticket reserved, when the
// invitation could not be sent (matchmaking installs it).
class Ticket;
using PrivateSlotRelease = void (*)(const Ticket& ticket);
void SetPrivateSlotRelease(PrivateSlotRelease release);
void ReleasePrivateSlot(const Ticket& ticket);
// True when the matchmaking configuration holds a current session.
bool IsMatchmakingSessionOpen();

}  // namespace OX_Toolbox
