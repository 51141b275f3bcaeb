#include "Modules/NetworkService/Src/NetworkServiceTasks.h"

#include <tomcrypt.h>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthService.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/NetworkService/Src/ConfigurationDownload.h"
#include "Modules/NetworkService/Src/HostLookup.h"
#include "Modules/NetworkService/Src/NetworkLayer.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/OnlineServers.h"
#include "Modules/NetworkService/Src/Platform/Win32/PlatformInit.h"
#include "bdSocket/bdAddr.h"

namespace OX_Toolbox {

const ClassTypeInfo TaskRezovovozConnectToService::s_type = {"TaskRezovovozConnectToService",
                                                             &TaskSequentialComposite::s_type};
const ClassTypeInfo TaskRezovovozStartNet::s_type = {"TaskRezovovozStartNet", &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineServiceRedirect::s_type = {
    "TaskRezovovozOnlineServiceRedirect", &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineConnectToService::s_type = {
    "TaskRezovovozOnlineConnectToService", &TaskAtomic::s_type};

namespace {

// The version text the authentication server is told, beside the game and
// its locale.
const char* const kToolboxVersion = "3.10";

bool notStartedYet(NetworkService* service) { return service->getConnectionType() == 0; }

}  // namespace

TaskRezovovozConnectToService::TaskRezovovozConnectToService(NetworkService* service,
                                                             NetworkServiceListener* listener,
                                                             std::uint32_t connectionType)
    : m_service(service), m_listener(listener), m_connectionType(connectionType) {
  addSubTask(new TaskRezovovozStartNet(service, connectionType));
  if (connectionType == NetworkService::ONLINE) {
    addSubTask(new TaskRezovovozOnlineServiceRedirect(service));
    addSubTask(new TaskRezovovozOnlineConnectToService(service));
  }
}

void TaskRezovovozConnectToService::onRemoved(ERRORID result) {
  if (result == ERRORID_SUCCEEDED) m_service->setConnectionType(m_connectionType);
  if (m_listener) m_listener->onStart(getId(), result);
}

void TaskRezovovozStartNet::onStart() {
  if (!notStartedYet(m_service)) {
    setResult(ERRORID_TASK_PREREQUISITE_FAILED);
    return;
  }
  NetworkServiceState* state = m_service->getState();
  NetworkLayer* layer = m_service->getLayer();
  if (!layer) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  if (layer->getStatus() != NetworkLayer::STOPPED) {
    setResult(ERRORID_SUCCEEDED);
    return;
  }
  std::vector<bdInetAddr> locals;
  bdExamplePlatformInit::init(locals);
  state->platformStarted = true;
  setResult(layer->start(locals, m_connectionType == NetworkService::ONLINE)
                ? ERRORID_SUCCEEDED
                : ERRORID_CONNECTION_FAILURE);
}

void TaskRezovovozStartNet::step(std::uint32_t, bool& ready) {
  NetworkLayer* layer = m_service->getLayer();
  if (layer->getStatus() == NetworkLayer::STARTING) {
    layer->pump();
    ready = layer->getStatus() != NetworkLayer::STARTING;
  }
}

void TaskRezovovozStartNet::complete(bool&) {
  setResult(m_service->getLayer()->getStatus() == NetworkLayer::STARTED
                ? ERRORID_SUCCEEDED
                : ERRORID_CONNECTION_FAILURE);
}

TaskRezovovozOnlineServiceRedirect::TaskRezovovozOnlineServiceRedirect(NetworkService* service)
    : m_service(service) {}

TaskRezovovozOnlineServiceRedirect::~TaskRezovovozOnlineServiceRedirect() = default;

void TaskRezovovozOnlineServiceRedirect::onStart() {
  if (!notStartedYet(m_service)) {
    setResult(ERRORID_TASK_PREREQUISITE_FAILED);
    return;
  }
  m_lookup = std::make_unique<HostLookup>(m_service->getConfigHost());
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozOnlineServiceRedirect::step(std::uint32_t, bool& ready) {
  if (!m_download) {
    bdInetAddr address;
    const HostLookup::Status found = m_lookup->poll(address);
    if (found == HostLookup::PENDING) {
      ready = false;
      return;
    }
    if (found == HostLookup::FAILED) {
      setResult(ERRORID_CONNECTION_FAILURE);
      return;
    }
    ToolboxCore* core = ToolboxCore::instance();
    if (!core || !core->getLuaConfig()) {
      setResult(ERRORID_CONFIGURATIONERROR);
      return;
    }
    m_download = std::make_unique<ConfigurationDownload>(
        *core->getLuaConfig(), m_service->getGameId(), m_service->getLocale());
    const ERRORID started = m_download->start(address);
    if (started != ERRORID_SUCCEEDED) {
      setResult(started);
      return;
    }
  }
  ready = m_download->step();
}

void TaskRezovovozOnlineServiceRedirect::complete(bool&) {
  setResult(m_download ? m_download->result() : ERRORID_CONNECTION_FAILURE);
}

TaskRezovovozOnlineConnectToService::TaskRezovovozOnlineConnectToService(NetworkService* service)
    : m_service(service) {}

TaskRezovovozOnlineConnectToService::~TaskRezovovozOnlineConnectToService() {
  if (m_socketOpen) m_socket.close();
}

void TaskRezovovozOnlineConnectToService::onStart() {
  if (!notStartedYet(m_service)) {
    setResult(ERRORID_TASK_PREREQUISITE_FAILED);
    return;
  }
  NetworkLayer* layer = m_service->getLayer();
  if (!layer || layer->getStatus() != NetworkLayer::STARTED) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  if (m_service->getAuthService()) {
    m_alreadyConnected = true;
  } else if (m_service->getAuthenticationServers(m_list) != ERRORID_SUCCEEDED || m_list.empty()) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  m_index = 0;
  m_phase = 0;
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozOnlineConnectToService::nextEntry() {
  if (m_socketOpen) m_socket.close();
  m_socketOpen = false;
  m_lookup.reset();
  m_probe = IDLE;
  ++m_index;
}

bool TaskRezovovozOnlineConnectToService::probe(bool& reachable) {
  reachable = false;
  if (m_probe == IDLE) {
    ServerAddress where;
    if (!OnlineServers::parseHostPort(m_list[m_index], where)) return true;
    m_host = where.host;
    m_port = where.port;
    m_lookup = std::make_unique<HostLookup>(m_host);
    m_probe = LOOKING_UP;
  }
  if (m_probe == LOOKING_UP) {
    const HostLookup::Status found = m_lookup->poll(m_address);
    if (found == HostLookup::PENDING) return false;
    if (found == HostLookup::FAILED) return true;
    if (!m_socket.create()) return true;
    m_socketOpen = true;
    if (!m_socket.setBlocking(false)) return true;
    const int r = m_socket.connect(bdAddr(m_address, m_port));
    if (r == BD_NET_SUCCESS) {
      reachable = true;
      return true;
    }
    if (r != BD_NET_WOULD_BLOCK) return true;
    m_probe = CONNECTING;
  }
  const int r = m_socket.checkConnect();
  if (r == BD_NET_WOULD_BLOCK) return false;
  reachable = r == BD_NET_SUCCESS;
  return true;
}

ERRORID TaskRezovovozOnlineConnectToService::createAuthService() {
  std::string key;
  if (m_service->getSigningKey(key) != ERRORID_SUCCEEDED) return ERRORID_CONFIGURATIONERROR;
  std::vector<unsigned char> der(key.size() + 4);
  unsigned long n = static_cast<unsigned long>(der.size());
  if (base64_decode(reinterpret_cast<const unsigned char*>(key.data()),
                    static_cast<unsigned long>(key.size()), der.data(), &n) != CRYPT_OK)
    return ERRORID_CONFIGURATIONERROR;
  bdReference<OlvexAuthService> auth(new OlvexAuthService(der.data(), n, m_service->getGameId(),
                                                          m_service->getLocale(), kToolboxVersion,
                                                          bdAddr(m_address, m_port)));
  if (auth->getStatus() == OlvexAuthService::FAILED_CONSTRUCTION) return ERRORID_CONFIGURATIONERROR;
  m_service->getState()->authService = auth;
  return ERRORID_SUCCEEDED;
}

void TaskRezovovozOnlineConnectToService::step(std::uint32_t, bool& ready) {
  if (m_alreadyConnected) {
    setResult(ERRORID_SUCCEEDED);
    return;
  }
  bool reachable = false;
  if (!probe(reachable)) {
    ready = false;
    return;
  }
  if (!reachable) {
    // The next entry is tried at the next update.
    nextEntry();
    if (m_index >= m_list.size()) {
      setResult(ERRORID_CONNECTION_FAILURE);
    } else {
      ready = false;
    }
    return;
  }
  // Reachable: the probe is over.
  m_socket.close();
  m_socketOpen = false;
  m_probe = IDLE;
  m_lookup.reset();
  if (m_phase == 0) {
    const ERRORID created = createAuthService();
    if (created != ERRORID_SUCCEEDED) {
      setResult(created);
      return;
    }
    m_list.clear();
    if (m_service->getLobbyServers(m_list) != ERRORID_SUCCEEDED || m_list.empty()) {
      setResult(ERRORID_CONNECTION_FAILURE);
      return;
    }
    m_index = 0;
    m_phase = 1;
    ready = false;
    return;
  }
  m_service->getState()->lobbyAddress = m_list[m_index];
  setResult(ERRORID_SUCCEEDED);
}

}  // namespace OX_Toolbox
