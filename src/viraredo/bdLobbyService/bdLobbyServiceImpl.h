#pragma once
// The client of the lobby server: one encrypted stream connection on which
// the host authenticates once, then sends tasks and receives their replies
// and push messages. Service objects exist only while connected.
#include "bdLobbyService/bdChannelChat.h"
#include "bdLobbyService/bdFriends.h"
#include "bdLobbyService/bdLobbyCredentials.h"
#include "bdLobbyService/bdMessaging.h"
#include "bdLobbyService/bdStorage.h"
#include "bdMatchMaking/bdMatchMaking.h"
#include "bdProfiles/bdProfiles.h"
#include "bdStats/bdStats.h"
#include "bdStreamConnection/bdStreamConnection.h"
#include "bdTeams/bdTeams.h"
#include "bdTitleUtilities/bdTitleUtilities.h"

class bdLobbyServiceImpl : public bdConnectionListener {
 public:
  static constexpr unsigned char BD_LOBBY_SERVICE_TASK_REPLY = 1;
  static constexpr unsigned char BD_LOBBY_SERVICE_PUSH_MESSAGE = 2;
  static constexpr unsigned char BD_LOBBY_AUTH_MESSAGE = 7;

  bdLobbyServiceImpl();
  ~bdLobbyServiceImpl() override;
  bdLobbyServiceImpl(const bdLobbyServiceImpl&) = delete;
  bdLobbyServiceImpl& operator=(const bdLobbyServiceImpl&) = delete;

  // False when a connection is already held.
  bool connect(const bdAddr& server, bdReference<bdLobbyCredentials> credentials);
  // Dispatches every waiting message, then returns the connection's status.
  bdConnection::Status getStatus();
  void disconnect();

  bdProfiles* getProfilesManager();
  bdMatchMaking* getMatchMaking();
  bdStats* getStats();
  bdTeams* getTeams();
  bdFriends* getFriends();
  bdStorage* getStorage();
  bdChannelChat* getChannelChat();
  bdTitleUtilities* getTitleUtilities();
  bdMessaging* getMessaging() { return &m_messaging; }
  bdRemoteTaskManager* getTaskManager() { return m_taskManager; }

  void onConnect(bdReference<bdConnection> connection) override;
  void onDisconnect(bdReference<bdConnection> connection) override;

 private:
  template <typename T>
  T* getService(T*& slot);
  void deleteServices();

  bdRemoteTaskManager* m_taskManager;
  bdProfiles* m_profiles;
  bdMessaging m_messaging;
  bdMatchMaking* m_matchMaking;
  bdStats* m_stats;
  bdFriends* m_friends;
  bdTeams* m_teams;
  bdStorage* m_storage;
  bdChannelChat* m_channelChat;
  bdTitleUtilities* m_titleUtilities;
  bdReference<bdConnection> m_connection;
  bdReference<bdLobbyCredentials> m_credentials;
};
