#include "Modules/Services/Src/OnlineLink.h"

#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/MessagingService/Src/Messages/MessageEvents.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"

namespace OX_Toolbox {

namespace {
ConnectionTypeQuery g_connectionType = nullptr;
SessionOpenQuery g_sessionOpen = nullptr;
}  // namespace

void SetConnectionTypeQuery(ConnectionTypeQuery query) { g_connectionType = query; }

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
  bdLobbyServiceImpl* lobby = Lobby();
  if (!core || !core->getEventManager() || !lobby) return;
  bdMessaging* store = lobby->getMessaging();
  // Taken in arrival order, then cleared at once: removing one by one moves
  // the last message to the front and would deliver them out of order.
  const unsigned int count = store->getMessageCount();
  for (unsigned int i = 0; i < count; ++i)
    core->getEventManager()->queueEvent(new EventRezovovozMessageStore(store->getMessage(i)));
  store->clear();
}

ERRORID LobbyErrorToErrorId(std::uint32_t code) {
  struct Row {
    std::uint32_t code;
    ERRORID id;
  };
  static const Row kRows[] = {
      {0, ERRORID_SUCCEEDED},
      {700, ERRORID_SUCCEEDED},
      {1, ERRORID_TOO_MANY_DB_TASKS},
      {2, ERRORID_CONNECTION_FAILURE},
      {109, ERRORID_CONNECTION_FAILURE},
      {702, ERRORID_CONNECTION_FAILURE},
      {108, ERRORID_SERVICE_NOT_AVAILABLE},
      {300, ERRORID_CLAN_MEMBER_NO_PROPOSAL},
      {301, ERRORID_CLANNAME_ALREADY_EXISTS},
      {302, ERRORID_NO_MULTIPLE_CLAN_MEMBERSHIP},
      {303, ERRORID_NO_MULTIPLE_CLAN_OWNERSHIP},
      {304, ERRORID_NOT_A_CLAN_MEMBER},
      {306, ERRORID_INVALID_CLAN_ID},
      {309, ERRORID_CLAN_MEMBER_NOT_INVITED},
      {314, ERRORID_CLAN_FULL},
      {400, ERRORID_INVALID_LEADERBOARD_ID},
      {401, ERRORID_INVALID_LEADERBOARD_QUERY_ID},
      {704, ERRORID_INVALID_USERNAME},
      {708, ERRORID_INVALID_USERNAME},
      {709, ERRORID_INVALID_USERNAME},
      {907, ERRORID_INVALID_USERNAME},
      {707, ERRORID_USERNAME_ALREADY_EXISTS},
      {713, ERRORID_ACCOUNT_EXPIRED},
      {714, ERRORID_ACCOUNT_DISABLED},
      {716, ERRORID_INVALID_PASSWORD},
      {750, ERRORID_MSG_SEQUENCE_ERROR},
      {751, ERRORID_CERTIFICATE_REQUEST_FAILED},
      {752, ERRORID_CHALLENGE_REQUEST_FAILED},
      {753, ERRORID_TICKET_REQUEST_FAILED},
      {754, ERRORID_INVALID_CERTIFICATE},
      {755, ERRORID_INVALID_CHALLENGE},
      {756, ERRORID_INVALID_TICKET},
      {757, ERRORID_INVALID_COUNTRY},
      {758, ERRORID_CREATE_REQUEST_FAILED},
      {800, ERRORID_PROFILE_EXISTS},
      {900, ERRORID_FRIENDSHIP_NOT_REQUESTED},
      {901, ERRORID_NOT_A_FRIEND},
      {902, ERRORID_NOT_INVITED_TO_SESSION},
      {904, ERRORID_FRIENDSHIP_EXISTS},
      {905, ERRORID_PENDING_FRIENDSHIP_EXISTS},
      {906, ERRORID_USERID_BANNED},
      {909, ERRORID_FRIEND_FULL},
  };
  for (const Row& r : kRows) {
    if (r.code == code) return r.id;
  }
  return ERRORID_FAILED;
}

void SetSessionOpenQuery(SessionOpenQuery query) { g_sessionOpen = query; }
bool IsMatchmakingSessionOpen() { return g_sessionOpen && g_sessionOpen(); }

}  // namespace OX_Toolbox
