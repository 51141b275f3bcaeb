#pragma once
// The toolbox's network service ("NetworkService"): brings the network
// layer up, downloads and runs the online configuration, finds a reachable
// authentication server and lobby server, and pumps the network on every
// toolbox update. Every other online service needs it. Its start answers
// later, through NetworkServiceListener::onStart, from the task it queues.
//
// Nothing inside update() blocks: host names are looked up on a thread of
// their own and server probes are connects that never wait.
#include <cstdint>
#include <string>
#include <vector>

#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/Types/String.h"
#include "bdCore/bdContainers/bdReference.h"

class bdDiscoveryServer;

namespace OX_Toolbox {

class NetworkLayer;
class OlvexAuthService;
class PeerMessenger;
class NetworkService;
struct SessionInfo;

class NetworkServiceListener {
 public:
  virtual void onStart(std::uint32_t taskId, ERRORID result) = 0;

 protected:
  ~NetworkServiceListener() = default;
};

// What the network service keeps of the running network.
class NetworkServiceState : public ToolboxObject {
 public:
  NetworkServiceState();
  ~NetworkServiceState();  // shuts the network down
  NetworkServiceState(const NetworkServiceState&) = delete;
  NetworkServiceState& operator=(const NetworkServiceState&) = delete;

  std::uint8_t sdkStarted = 0;
  NetworkService* service = nullptr;
  bdReference<OlvexAuthService> authService;
  bdDiscoveryServer* discoveryServer = nullptr;  // owned; while a LAN session is hosted
  std::string lobbyAddress;
  NetworkLayer* layer = nullptr;  // owned
  bool platformStarted = false;
};

class NetworkService : public Service {
 public:
  enum ConnectionType : std::uint32_t { NONE = 0, LAN = 1, ONLINE = 2 };
  static constexpr const char* kName = "NetworkService";

  // Creates the service and registers it with the core (which owns it from
  // then on). A duplicate registration or any other failure deletes it.
  static ERRORID create(const char* gameId, const char* locale);
  // The registered instance, or null.
  static NetworkService* find();

  ~NetworkService() override;
  const char* getName() const override { return kName; }
  // The task id of the queued connect task (0 when nothing was queued).
  virtual std::uint32_t start(NetworkServiceListener* listener, std::uint32_t connectionType);
  virtual std::uint32_t getConnectionType() const { return m_connectionType; }
  virtual PeerMessenger* getMessenger() const { return m_messenger; }
  virtual void pumpNetwork();
  virtual void setPumpEnabled(std::uint8_t enabled) { m_pumpEnabled = enabled; }
  virtual std::uint8_t isPumpEnabled() const { return m_pumpEnabled; }

  // Publishes "Meta.NetworkService" and its forwarding listener.
  LuaForwarder* registerScript(ScriptInterpreter* interpreter) override;
  void update(std::uint32_t ms) override;

  std::string getConfigHost() const;
  std::uint16_t getConfigPort() const;
  std::string getConfigPath() const;
  // From the chosen lobby address, else "DWlobbyURL".
  ERRORID getLobbyHost(std::string& host) const;
  std::uint16_t getLobbyPort() const;
  // "NorvSigKeyPub" as text; ERRORID_CONFIGURATIONERROR when absent or empty.
  ERRORID getSigningKey(std::string& key) const;
  // The list key, else a one-entry list of the single key; ERRORID_FAILED
  // when neither is set.
  ERRORID getAuthenticationServers(std::vector<std::string>& list) const;
  ERRORID getLobbyServers(std::vector<std::string>& list) const;

  const std::string& getGameId() const { return m_gameId; }
  const std::string& getLocale() const { return m_locale; }
  NetworkServiceState* getState() const { return m_state; }
  NetworkLayer* getLayer() const { return m_state ? m_state->layer : nullptr; }
  // Null until the connect task found an authentication server.
  OlvexAuthService* getAuthService() const;
  void setConnectionType(std::uint32_t type) { m_connectionType = type; }

  // Advertises the session on the local network: a new security id and key
  // (registered with the network) become the advertised session's, and the
  // id's first 8 bytes its sessionId. False when the network has no local
  // address or the discovery server cannot start. The discovery server is
  // updated by the network pump until stopLanHosting or shut-down.
  virtual bool startLanHosting(SessionInfo& info);
  void stopLanHosting();
  bool isLanHosting() const;
  // The port the discovery server listens on (the discovery port unless a
  // test chose another; 0 picks a free one, see getLanHostingPort).
  static void setLanDiscoveryPort(std::uint16_t port);
  static std::uint16_t getLanDiscoveryPort();
  std::uint16_t getLanHostingPort() const;

  // The text that names this game's sessions on the local network (the game
  // id), and the 64-bit key LAN searches for it ask for; the discovery
  // protocol carries its low 32 bits as the title.
  String getTitleText() const;
  std::uint64_t getLanDiscoveryKey() const;
  static std::uint32_t LanTitleOfKey(std::uint64_t key) { return static_cast<std::uint32_t>(key); }

 private:
  NetworkService(const char* gameId, const char* locale);
  ERRORID serverList(const char* listKey, const char* singleKey,
                     std::vector<std::string>& list) const;

  std::uint32_t m_connectionType = NONE;
  NetworkServiceState* m_state = nullptr;
  PeerMessenger* m_messenger = nullptr;  // owned
  std::uint8_t m_pumpEnabled = 1;
  std::string m_locale;
  std::string m_gameId;
};

}  // namespace OX_Toolbox
