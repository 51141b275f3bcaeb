#include "Modules/Services/Src/OnlineLink.h"

#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/MessagingService/Src/Messages/MessageEvents.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/OnlineServers.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"

namespace OX_Toolbox {

namespace {
std::int32_t askNetworkService(Service* service) {
  return static_cast<std::int32_t>(static_cast<NetworkService*>(service)->getConnectionType());
}
ConnectionTypeQuery g_connectionType = askNetworkService;
SessionOpenQuery g_sessionOpen = nullptr;
}  // namespace

void SetConnectionTypeQuery(ConnectionTypeQuery query) {
  g_connectionType = query ? query : askNetworkService;
}

std::int32_t NetworkConnectionType() {
  ToolboxCore* core = ToolboxCore::instance();
  Service* network = core ? core->findService("NetworkService") : nullptr;
  return network && g_connectionType ? g_connectionType(network) : 0;
}

ERRORID CheckOnlineConnection() {
  return NetworkConnectionType() == CONNECTIONTYPE_ONLINE ? ERRORID_SUCCEEDED
                                                          : ERRORID_CONNECTION_FAILURE;
}

bdLobbyServiceImpl* Lobby() { return bdSingleton<bdLobbyServiceImpl>::getInstance(); }

void PostLobbyMessages() {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !core->getEventManager() || !bdSingleton<bdLobbyServiceImpl>::exists()) return;
  bdLobbyServiceImpl* lobby = Lobby();
  bdMessaging* store = lobby->getMessaging();
  // Taken in arrival order, then cleared at once: removing one by one moves
  // the last message to the front and would deliver them out of order.
  const unsigned int count = store->getMessageCount();
  for (unsigned int i = 0; i < count; ++i)
    core->getEventManager()->queueEvent(new EventRezovovozMessageStore(store->getMessage(i)));
  store->clear();
}

ERRORID LobbyErrorToErrorId(std::uint32_t code) {
  return MapLobbyErrorToErrorID(static_cast<std::int32_t>(code));
}

void SetSessionOpenQuery(SessionOpenQuery query) { g_sessionOpen = query; }

namespace {
PrivateSlotRelease g_releaseSlot = nullptr;
}  // namespace

void SetPrivateSlotRelease(PrivateSlotRelease release) { g_releaseSlot = release; }
void ReleasePrivateSlot(const Ticket& ticket) {
  if (g_releaseSlot) g_releaseSlot(ticket);
}
bool IsMatchmakingSessionOpen() { return g_sessionOpen && g_sessionOpen(); }

}  // namespace OX_Toolbox
