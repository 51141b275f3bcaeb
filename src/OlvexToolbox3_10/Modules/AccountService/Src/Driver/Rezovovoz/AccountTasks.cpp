#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountTasks.h"

#include <cstring>
#include <string>

#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountService.h"
#include "Modules/AccountService/Src/Driver/Rezovovoz/ProfileTasks.h"
#include "Modules/Core/Src/Cache/ServiceCache.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Players/LoginRules.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/NetworkService/Src/HostLookup.h"
#include "Modules/NetworkService/Src/NetworkLayer.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/OnlineServers.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"

namespace OX_Toolbox {

const ClassTypeInfo TaskRezovovozOnlineCreatePlayer::s_type = {"TaskRezovovozOnlineCreatePlayer",
                                                               &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineDeletePlayer::s_type = {"TaskRezovovozOnlineDeletePlayer",
                                                               &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozLoginPlayer::s_type = {"TaskRezovovozLoginPlayer",
                                                        &TaskSequentialComposite::s_type};
const ClassTypeInfo TaskRezovovozOnlineLoginPlayer::s_type = {"TaskRezovovozOnlineLoginPlayer",
                                                              &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozLanLoginPlayer::s_type = {"TaskRezovovozLanLoginPlayer",
                                                           &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozAutoLoginPlayer::s_type = {"TaskRezovovozAutoLoginPlayer",
                                                            &TaskSequentialComposite::s_type};
const ClassTypeInfo TaskRezovovozLogoutPlayer::s_type = {"TaskRezovovozLogoutPlayer",
                                                         &TaskAtomic::s_type};
const ClassTypeInfo TaskRezovovozOnlineSearchPlayerID::s_type = {
    "TaskRezovovozOnlineSearchPlayerID", &TaskAtomic::s_type};

namespace {

// The network-layer code of a refused or busy authentication.
constexpr std::int32_t kRefused = 715;

std::string narrow(const String& text) {
  char* copy = text.toUtf8(nullptr);
  std::string out = copy ? copy : "";
  ToolboxFree(copy);
  return out;
}

OlvexAuthService* idleAuthService() {
  NetworkService* network = NetworkService::find();
  OlvexAuthService* auth = network ? network->getAuthService() : nullptr;
  return auth && auth->getStatus() == OlvexAuthService::IDLE ? auth : nullptr;
}

bdLobbyServiceImpl* lobby() { return bdSingleton<bdLobbyServiceImpl>::getInstance(); }

}  // namespace

TaskRezovovozOnlineCreatePlayer::TaskRezovovozOnlineCreatePlayer(AccountServiceListener* listener,
                                                                 std::uint8_t index,
                                                                 const String& login,
                                                                 const String& password,
                                                                 const String (&texts)[4])
    : m_listener(listener), m_index(index), m_texts{login,    password, texts[0],
                                                    texts[1], texts[2], texts[3]} {}

void TaskRezovovozOnlineCreatePlayer::onStart() {
  OlvexAuthService* auth = idleAuthService();
  std::string texts[6];
  for (int i = 0; i < 6; ++i)
    texts[i] = narrow(m_texts[i]);
  if (!auth || !auth->createAccount(texts, bdReference<AuthResultHolder>(), 3)) {
    setResult(MapLobbyErrorToErrorID(kRefused));
    return;
  }
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozOnlineCreatePlayer::step(std::uint32_t, bool& ready) {
  NetworkService* network = NetworkService::find();
  OlvexAuthService* auth = network ? network->getAuthService() : nullptr;
  ready = !auth || auth->getStatus() <= OlvexAuthService::IDLE;
}

void TaskRezovovozOnlineCreatePlayer::complete(bool&) {
  NetworkService* network = NetworkService::find();
  OlvexAuthService* auth = network ? network->getAuthService() : nullptr;
  setResult(auth ? MapLobbyErrorToErrorID(static_cast<std::int32_t>(auth->getLastError()))
                 : ERRORID_FAILED);
}

void TaskRezovovozOnlineCreatePlayer::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onCreateOnlinePlayer(getId(), result);
}

void TaskRezovovozOnlineDeletePlayer::complete(bool&) {
  NetworkService* network = NetworkService::find();
  if (OlvexAuthService* auth = network ? network->getAuthService() : nullptr)
    auth->deleteAccount(narrow(m_login), narrow(m_password));
  setResult(ERRORID_FAILED);
}

void TaskRezovovozOnlineDeletePlayer::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onDeleteOnlinePlayer(getId(), result);
}

TaskRezovovozLoginPlayer::TaskRezovovozLoginPlayer(AccountServiceListener* listener,
                                                   std::uint32_t connectionType, std::uint8_t index,
                                                   const String& login, const String& password)
    : m_listener(listener),
      m_connectionType(connectionType),
      m_index(index),
      m_player(new LocalPlayer(index)) {
  m_player->setLogin(login);
  m_player->setPassword(password);
  if (connectionType == NetworkService::ONLINE) {
    addSubTask(new TaskRezovovozOnlineLoginPlayer(m_player));
    addSubTask(new TaskRezovovozCheckAndCreatePlayerProfile(index, m_player));
  } else if (login.isEmpty()) {
    String number;
    number.format("%d", index);
    m_player->setLogin(number);
  }
  addSubTask(new TaskRezovovozLanLoginPlayer(m_player));
}

TaskRezovovozLoginPlayer::~TaskRezovovozLoginPlayer() { delete m_player; }

void TaskRezovovozLoginPlayer::onFinished(ERRORID result) {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !m_player) return;
  if (result == ERRORID_SUCCEEDED) {
    LocalPlayer* player = m_player;
    m_player = nullptr;  // the core's from here on
    core->replaceLocalPlayer(static_cast<std::int32_t>(m_connectionType), m_index, player);
    core->raiseLoginLogoutEvent(player, true, 0);
    player->saveToCache();
  } else if (LocalPlayer* current = core->getLocalPlayer(m_index)) {
    core->removeLocalPlayer(current);
  }
}

void TaskRezovovozLoginPlayer::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onLoginPlayer(getId(), result);
}

TaskRezovovozOnlineLoginPlayer::TaskRezovovozOnlineLoginPlayer(LocalPlayer* player)
    : m_player(player) {}

TaskRezovovozOnlineLoginPlayer::~TaskRezovovozOnlineLoginPlayer() = default;

void TaskRezovovozOnlineLoginPlayer::onStart() {
  NetworkService* network = NetworkService::find();
  NetworkLayer* layer = network ? network->getLayer() : nullptr;
  if (!layer || layer->getStatus() != NetworkLayer::STARTED) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  if (m_player->hasOnlineId()) {
    setResult(ERRORID_TASK_PREREQUISITE_FAILED);
    return;
  }
  ERRORID valid = ValidateLogin(m_player->getLogin().c_wstr());
  if (valid == ERRORID_SUCCEEDED)
    valid = ValidatePassword(m_player->getLogin().c_wstr(), m_player->getPassword().c_wstr());
  setResult(valid);
}

void TaskRezovovozOnlineLoginPlayer::step(std::uint32_t, bool& ready) {
  if (m_phase == 0) {
    authenticate(ready);
  } else {
    connectLobby(ready);
  }
}

void TaskRezovovozOnlineLoginPlayer::authenticate(bool& ready) {
  NetworkService* network = NetworkService::find();
  OlvexAuthService* auth = network ? network->getAuthService() : nullptr;
  if (!m_asked) {
    m_asked = true;
    m_holder = new AuthResultHolder();
    if (!idleAuthService() ||
        !auth->login(narrow(m_player->getLogin()), narrow(m_player->getPassword()), m_holder, 3)) {
      setResult(MapLobbyErrorToErrorID(kRefused));
      return;
    }
  }
  if (!auth) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  if (auth->getStatus() > OlvexAuthService::IDLE) {
    ready = false;
    return;
  }
  if (auth->getLastError() != OlvexAuthService::kNoError) {
    setResult(MapLobbyErrorToErrorID(static_cast<std::int32_t>(auth->getLastError())));
    return;
  }
  std::string host;
  if (network->getLobbyHost(host) != ERRORID_SUCCEEDED || network->getLobbyPort() == 0) {
    setResult(ERRORID_CONFIGURATIONERROR);
    return;
  }
  m_lobbyPort = network->getLobbyPort();
  m_lobbyLookup = std::make_unique<HostLookup>(host);
  m_phase = 1;
  ready = false;
}

void TaskRezovovozOnlineLoginPlayer::connectLobby(bool& ready) {
  bdLobbyServiceImpl* service = lobby();
  if (!service) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  if (m_phase == 1) {
    bdInetAddr address;
    const HostLookup::Status found = m_lobbyLookup->poll(address);
    if (found == HostLookup::PENDING) {
      ready = false;
      return;
    }
    bdReference<bdLobbyCredentials> credentials(new bdLobbyCredentials());
    credentials->m_value1 = m_holder->ticketValue;
    std::memcpy(credentials->m_ticket, m_holder->ticketBlock, sizeof credentials->m_ticket);
    std::memcpy(credentials->m_sessionKey, m_holder->sessionKey, sizeof credentials->m_sessionKey);
    // A lobby connection another local player opened is shared.
    if (found == HostLookup::FAILED ||
        (!service->connect(bdAddr(address, m_lobbyPort), credentials) &&
         service->getStatus() != bdConnection::BD_CONNECTED)) {
      setResult(ERRORID_CONNECTION_FAILURE);
      return;
    }
    m_phase = 2;
  }
  const bdConnection::Status status = service->getStatus();
  if (status == bdConnection::BD_CONNECTING) {
    ready = false;
    return;
  }
  if (status != bdConnection::BD_CONNECTED) {
    setResult(MapLobbyErrorToErrorID(2));
    return;
  }
  const std::uint64_t id = UserIdOfName(m_player->getLogin());
  m_player->setPlayerID(PlayerID(CONNECTIONTYPE_ONLINE, id));
  m_player->setPlayerID(PlayerID(CONNECTIONTYPE_LAN, id));
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanLoginPlayer::complete(bool&) {
  if (m_player->getPlayerID(CONNECTIONTYPE_LAN).getConnectionType() == CONNECTIONTYPE_LAN) {
    setResult(ERRORID_SUCCEEDED);
    return;
  }
  NetworkService* network = NetworkService::find();
  NetworkLayer* layer = network ? network->getLayer() : nullptr;
  std::uint32_t address = 0;
  if (!layer || !layer->getLocalAddressValue(address)) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  m_player->setPlayerID(PlayerID(CONNECTIONTYPE_LAN,
                                 static_cast<std::uint64_t>(address) << 32 | m_player->getIndex()));
  setResult(ERRORID_SUCCEEDED);
}

TaskRezovovozAutoLoginPlayer::TaskRezovovozAutoLoginPlayer(AccountServiceListener* listener,
                                                           std::uint32_t connectionType,
                                                           std::uint8_t index)
    : m_listener(listener) {
  ToolboxCore* core = ToolboxCore::instance();
  SavedLogin* saved = core ? core->getSavedLogin() : nullptr;
  addSubTask(new TaskRezovovozLoginPlayer(nullptr, connectionType, index,
                                          saved ? saved->login : String(),
                                          saved ? saved->password : String()));
}

void TaskRezovovozAutoLoginPlayer::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onAutoLoginPlayer(getId(), result);
}

void TaskRezovovozLogoutPlayer::complete(bool&) {
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* player = core ? core->getLocalPlayer(m_index) : nullptr;
  if (!player || (player->getPlayerID(CONNECTIONTYPE_LAN).getConnectionType() == 0 &&
                  !player->hasOnlineId())) {
    setResult(ERRORID_TASK_PREREQUISITE_FAILED);
    return;
  }
  core->raiseLoginLogoutEvent(player, false, 0);
  core->removeLocalPlayer(player);
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLogoutPlayer::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onLogoutPlayer(getId(), result);
}

void TaskRezovovozOnlineSearchPlayerID::complete(bool&) {
  m_found = PlayerID(CONNECTIONTYPE_ONLINE, UserIdOfName(m_name));
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* searcher = core ? core->getLocalPlayer(m_index) : nullptr;
  if (searcher) {
    core->addLocalPlayer(m_name, m_found);
    // Found when known, else created.
    if (ServiceCacheStore* store = searcher->getCacheStore())
      store->addCachedObject(2, m_found.getId());
  }
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozOnlineSearchPlayerID::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onSearchPlayerID(getId(), result);
}

}  // namespace OX_Toolbox
