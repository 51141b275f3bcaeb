#include "Modules/NetworkService/Src/NetworkService.h"

#include <cstring>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthService.h"
#include "Modules/Core/Src/Script/LuaConfig.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Services/Src/OnlineLink.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/NetworkService/Src/ConfigurationDownload.h"
#include "Modules/NetworkService/Src/NetworkLayer.h"
#include "Modules/NetworkService/Src/NetworkServiceTasks.h"
#include "Modules/NetworkService/Src/OnlineServers.h"
#include "Modules/NetworkService/Src/PeerMessenger.h"
#include "Modules/NetworkService/Src/SdkPeerConnections.h"
#include "Modules/NetworkService/Src/Platform/Win32/PlatformInit.h"
#include "Modules/NetworkService/Src/SdkMemory.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Session/Src/SessionAdvertisement.h"
#include "bdCore/bdCore.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLANDiscovery/bdDiscoveryServer.h"
#include "bdLANDiscovery/bdGameInfoFactory.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"
#include "bdNet/bdNetImpl.h"

namespace OX_Toolbox {

namespace {

std::string narrow(const String& text) {
  char* copy = text.toNarrowCopy();
  std::string out = copy ? copy : "";
  ToolboxFree(copy);
  return out;
}

LuaConfig* config() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? core->getLuaConfig() : nullptr;
}

bool configString(const char* key, std::string& out) {
  String value;
  if (!config() || !config()->getString(key, value)) return false;
  out = narrow(value);
  return true;
}

std::uint16_t g_lanDiscoveryPort = bdLANDiscoveryPacket::PORT;

void closeDiscoveryServer(NetworkServiceState& state) {
  if (!state.discoveryServer) return;
  state.discoveryServer->stop();
  delete state.discoveryServer;
  state.discoveryServer = nullptr;
}

bdLobbyServiceImpl* lobbyIfMade() {
  return bdSingleton<bdLobbyServiceImpl>::exists() ? bdSingleton<bdLobbyServiceImpl>::getInstance()
                                                   : nullptr;
}

}  // namespace

NetworkServiceState::NetworkServiceState() = default;

NetworkServiceState::~NetworkServiceState() {
  authService = bdReference<OlvexAuthService>();
  closeDiscoveryServer(*this);
  if (service && layer) {
    const std::int32_t status = layer->getStatus();
    if (status == NetworkLayer::STARTED) {
      bdLobbyServiceImpl* lobby = lobbyIfMade();
      if (lobby && lobby->getStatus() == bdConnection::BD_CONNECTED) lobby->disconnect();
      layer->sendAll();
    }
    // A start that is still running or that failed holds its socket until
    // stopped, as much as a started network does.
    if (status != NetworkLayer::STOPPED) layer->stop();
  }
  delete layer;
  layer = nullptr;
  if (platformStarted) bdExamplePlatformInit::shutdown();
  if (sdkStarted) bdCore::quit();
}

NetworkService::NetworkService(const char* gameId, const char* locale)
    : m_locale(locale ? locale : ""), m_gameId(gameId ? gameId : "") {}

NetworkService::~NetworkService() {
  // The messenger's routes go before the network under them.
  delete m_messenger;
  delete m_state;
}

ERRORID NetworkService::create(const char* gameId, const char* locale) {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core) return ERRORID_FAILED;
  auto* service = new (std::nothrow) NetworkService(gameId, locale);
  if (!service) return ERRORID_NOT_ENOUGH_RAM;
  service->m_state = new (std::nothrow) NetworkServiceState();
  service->m_messenger = new (std::nothrow) PeerMessenger();
  if (!service->m_state || !service->m_messenger) {
    delete service;
    return ERRORID_NOT_ENOUGH_RAM;
  }
  service->m_messenger->setConnections(new (std::nothrow) SdkPeerConnections());
  if (!bdCore::isInitialized()) {
    routeSdkMemoryToToolbox();
    bdCore::init(false);
    service->m_state->sdkStarted = 1;
  }
  // Discovery replies are read into the toolbox's own records. The factory
  // keeps the first class it is given and frees the others.
  bdGameInfoFactory::getInstance()->setClass(new SessionGameInfoCreator());
  service->m_state->layer = CreateNetworkLayer();
  const ERRORID registered = core->registerService(service);
  if (registered != ERRORID_SUCCEEDED) {
    delete service;
    return registered;
  }
  service->m_state->service = service;
  return ERRORID_SUCCEEDED;
}

NetworkService* NetworkService::find() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? static_cast<NetworkService*>(core->findService(kName)) : nullptr;
}

std::uint32_t NetworkService::start(NetworkServiceListener* listener,
                                    std::uint32_t connectionType) {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !core->getTaskManager()) return 0;
  return core->getTaskManager()->addTask(
      new TaskRezovovozConnectToService(this, listener, connectionType));
}

void NetworkService::update(std::uint32_t) {
  if (m_pumpEnabled) pumpNetwork();
  // The lobby's notifications reach the core's message sinks as events.
  PostLobbyMessages();
  if (m_messenger) m_messenger->pump();
}

void NetworkService::pumpNetwork() {
  if (!m_state || !m_state->service || !m_state->layer) return;
  NetworkLayer* layer = m_state->layer;
  const std::int32_t status = layer->getStatus();
  if (status == NetworkLayer::STARTING) {
    layer->pump();
  } else if (status == NetworkLayer::STARTED) {
    layer->pump();
    layer->sendAll();
    layer->receiveAndDispatchAll();
  }
  if (m_state->discoveryServer &&
      m_state->discoveryServer->getStatus() == bdDiscoveryServer::BD_RUNNING)
    m_state->discoveryServer->update();
  if (m_connectionType != ONLINE) return;
  bdLobbyServiceImpl* lobby = lobbyIfMade();
  if (lobby && lobby->getStatus() == bdConnection::BD_DISCONNECTED) {
    lobby->disconnect();
    ToolboxCore* core = ToolboxCore::instance();
    // Every task still queued waited on a connection that is gone.
    if (core && core->getTaskManager()) core->getTaskManager()->setShutdown();
    if (core && core->getEventManager())
      core->getEventManager()->queueEvent(new EventLobbyConnectionLost());
  }
}

bool NetworkService::startLanHosting(SessionInfo& info) {
  if (!m_state || !bdSingleton<bdNetImpl>::exists()) return false;
  bdNetImpl* net = bdSingleton<bdNetImpl>::getInstance();
  const bdReference<bdCommonAddr> local = net->getLocalCommonAddr();
  if (local.isNull()) return false;
  bdSecurityID id;
  bdSecurityKey key;
  if (!net->getSecurityKeyMap()->create(id, key) || !net->getSecurityKeyMap()->put(id, key))
    return false;
  bdReference<bdGameInfo> made(bdGameInfoFactory::getInstance()->create());
  auto* game = dynamic_cast<SessionGameInfo*>(made.get());
  if (!game) return false;
  std::memcpy(info.sessionId.data(), id.ab, info.sessionId.size());
  game->setSessionInfo(info);
  game->setSecID(id);
  game->setSecKey(key);
  game->setHostAddr(local);
  // The discovery server answers only searches for its title, so the title
  // is the one this game's searches ask for.
  game->setTitleID(LanTitleOfKey(getLanDiscoveryKey()));
  closeDiscoveryServer(*m_state);
  m_state->discoveryServer = new (std::nothrow) bdDiscoveryServer();
  if (!m_state->discoveryServer) return false;
  return m_state->discoveryServer->start(made, bdInetAddr::getAny(), g_lanDiscoveryPort);
}

void NetworkService::stopLanHosting() {
  if (m_state) closeDiscoveryServer(*m_state);
}

bool NetworkService::isLanHosting() const {
  return m_state && m_state->discoveryServer &&
         m_state->discoveryServer->getStatus() == bdDiscoveryServer::BD_RUNNING;
}

void NetworkService::setLanDiscoveryPort(std::uint16_t port) { g_lanDiscoveryPort = port; }

std::uint16_t NetworkService::getLanDiscoveryPort() { return g_lanDiscoveryPort; }

std::uint16_t NetworkService::getLanHostingPort() const {
  return isLanHosting() ? m_state->discoveryServer->getPort() : 0;
}

String NetworkService::getTitleText() const { return String(m_gameId.c_str()); }

std::uint64_t NetworkService::getLanDiscoveryKey() const { return getTitleText().md5Hash64(); }

std::string NetworkService::getConfigHost() const {
  return OnlineServers::configurationHost().host;
}

std::uint16_t NetworkService::getConfigPort() const {
  return OnlineServers::configurationHost().port;
}

std::string NetworkService::getConfigPath() const {
  return OnlineServers::configurationPath(m_gameId, m_locale);
}

ERRORID NetworkService::getLobbyHost(std::string& host) const {
  std::string text = m_state ? m_state->lobbyAddress : std::string();
  if (text.empty() && !configString("DWlobbyURL", text)) return ERRORID_CONFIGURATIONERROR;
  host = text.substr(0, text.find(':'));
  return ERRORID_SUCCEEDED;
}

std::uint16_t NetworkService::getLobbyPort() const {
  std::string text = m_state ? m_state->lobbyAddress : std::string();
  if (text.empty() && !configString("DWlobbyURL", text)) return 0;
  ServerAddress where;
  return OnlineServers::parseHostPort(text, where) ? where.port : 0;
}

ERRORID NetworkService::getSigningKey(std::string& key) const {
  std::string text;
  if (!configString(ConfigurationDownload::kSigningKeyName, text) || text.empty())
    return ERRORID_CONFIGURATIONERROR;
  key = text;
  return ERRORID_SUCCEEDED;
}

ERRORID NetworkService::serverList(const char* listKey, const char* singleKey,
                                   std::vector<std::string>& list) const {
  list.clear();
  ToolboxVector<String> entries;
  if (config() && config()->getStringList(listKey, entries)) {
    for (const String& e : entries)
      list.push_back(narrow(e));
    return ERRORID_SUCCEEDED;
  }
  std::string single;
  if (!configString(singleKey, single)) return ERRORID_FAILED;
  list.push_back(single);
  return ERRORID_SUCCEEDED;
}

ERRORID NetworkService::getAuthenticationServers(std::vector<std::string>& list) const {
  return serverList("AuthenticationServer", "DWauthenticationURL", list);
}

ERRORID NetworkService::getLobbyServers(std::vector<std::string>& list) const {
  return serverList("LobbyServer", "DWlobbyURL", list);
}

OlvexAuthService* NetworkService::getAuthService() const {
  return m_state && m_state->authService.notNull() ? m_state->authService.get() : nullptr;
}

}  // namespace OX_Toolbox
