#include "bdLobbyService/bdLobbyServiceImpl.h"

#include "bdCore/bdLog/bdLog.h"

namespace {
const char* const kChannel = "lobbyservice";

template <typename T>
void destroy(T*& p) {
  delete p;
  p = nullptr;
}
}  // namespace

bdLobbyServiceImpl::bdLobbyServiceImpl()
    : m_taskManager(nullptr),
      m_profiles(nullptr),
      m_matchMaking(nullptr),
      m_stats(nullptr),
      m_friends(nullptr),
      m_teams(nullptr),
      m_storage(nullptr),
      m_channelChat(nullptr),
      m_titleUtilities(nullptr) {}

bdLobbyServiceImpl::~bdLobbyServiceImpl() {
  if (m_connection.notNull()) m_connection->unregisterListener(this);
  m_messaging.setTaskManager(nullptr);
  deleteServices();
  m_credentials = nullptr;
  m_connection = nullptr;
}

void bdLobbyServiceImpl::deleteServices() {
  destroy(m_taskManager);
  destroy(m_profiles);
  destroy(m_matchMaking);
  destroy(m_stats);
  destroy(m_teams);
  destroy(m_friends);
  destroy(m_storage);
  destroy(m_channelChat);
  destroy(m_titleUtilities);
}

bool bdLobbyServiceImpl::connect(const bdAddr& server,
                                 bdReference<bdLobbyCredentials> credentials) {
  if (m_connection.notNull()) return false;
  m_credentials = credentials;
  bdReference<bdCommonAddr> addr(new bdCommonAddr(server));
  bdReference<bdStreamConnection> stream(new bdStreamConnection(addr));
  if (stream.isNull()) return false;
  m_connection = stream;
  stream->registerListener(this);
  return stream->connect();
}

bdConnection::Status bdLobbyServiceImpl::getStatus() {
  if (m_connection.isNull()) return bdConnection::BD_NEW;
  // The connection may go and this object may disconnect while dispatching.
  bdReference<bdConnection> connection(m_connection);
  bdReference<bdMessage> message;
  while (connection->getMessageToDispatch(message)) {
    switch (message->getType()) {
      case BD_LOBBY_SERVICE_TASK_REPLY:
        bdLogInfo(kChannel, "Received message of type: BD_LOBBY_SERVICE_TASK_REPLY");
        if (m_taskManager != nullptr) {
          m_taskManager->handleReply(message);
        } else {
          bdLogWarn(kChannel, "No task manager.");
        }
        break;
      case BD_LOBBY_SERVICE_PUSH_MESSAGE:
        bdLogInfo(kChannel, "Received message of type: BD_LOBBY_SERVICE_PUSH_MESSAGE");
        m_messaging.addMessage(message);
        break;
      default:
        bdLogWarn(kChannel, "Received unknown message type: %u.", message->getType());
        break;
    }
  }
  return connection->getStatus();
}

void bdLobbyServiceImpl::disconnect() {
  if (m_connection.notNull()) {
    m_connection->disconnect();
    m_connection->unregisterListener(this);
  }
  m_connection = nullptr;
  m_messaging.setTaskManager(nullptr);
  deleteServices();
}

template <typename T>
T* bdLobbyServiceImpl::getService(T*& slot) {
  if (m_connection.isNull() || m_connection->getStatus() != bdConnection::BD_CONNECTED) {
    bdLogWarn(kChannel, "Not connected.");
    return nullptr;
  }
  if (slot == nullptr) slot = new T(m_taskManager);
  return slot;
}

bdProfiles* bdLobbyServiceImpl::getProfilesManager() { return getService(m_profiles); }
bdMatchMaking* bdLobbyServiceImpl::getMatchMaking() { return getService(m_matchMaking); }
bdStats* bdLobbyServiceImpl::getStats() { return getService(m_stats); }
bdTeams* bdLobbyServiceImpl::getTeams() { return getService(m_teams); }
bdFriends* bdLobbyServiceImpl::getFriends() { return getService(m_friends); }
bdStorage* bdLobbyServiceImpl::getStorage() { return getService(m_storage); }
bdChannelChat* bdLobbyServiceImpl::getChannelChat() { return getService(m_channelChat); }
bdTitleUtilities* bdLobbyServiceImpl::getTitleUtilities() { return getService(m_titleUtilities); }

void bdLobbyServiceImpl::onConnect(bdReference<bdConnection> connection) {
  bdReference<bdMessage> auth(new bdMessage(BD_LOBBY_AUTH_MESSAGE, false));
  if (auth.notNull() && m_credentials.notNull()) {
    bdReference<bdBitBuffer> payload = auth->getPayload();
    payload->writeBits(&m_credentials->m_value1, 32);
    payload->writeBits(&m_credentials->m_value2, 32);
    payload->writeBits(m_credentials->m_ticket, 1024);
    connection->send(auth, false);
    bdStreamConnection* stream = static_cast<bdStreamConnection*>(connection.get());
    stream->setKey(m_credentials->m_sessionKey);
  }
  m_credentials = nullptr;
  delete m_taskManager;
  m_taskManager = new bdRemoteTaskManager(connection);
  m_messaging.setTaskManager(m_taskManager);
  bdLogInfo(kChannel, "Connected to MatchMaking Service.");
}

void bdLobbyServiceImpl::onDisconnect(bdReference<bdConnection>) {
  bdLogInfo(kChannel, "Disconnected from MatchMaking Service.");
  m_messaging.setTaskManager(nullptr);
  // Replies can no longer come: tasks in flight end now as failed.
  if (m_taskManager != nullptr) m_taskManager->failPending();
}
