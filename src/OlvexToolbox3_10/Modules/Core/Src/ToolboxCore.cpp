#include "Modules/Core/Src/ToolboxCore.h"

#include <algorithm>
#include <cstring>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Records/LocalPlayerRecord.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Records/ToolboxFile.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/Script/LuaConfig.h"
#include "Modules/Core/Src/Service.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxGameInterface.h"
#include "Modules/Core/Src/Types/Blob.h"

namespace OX_Toolbox {

const char* const kConfigStringKeys[CONFIG_STRING_COUNT] = {"MATCHMAKING_DEFAULT_PAGE_NAME",
                                                            "CONFIG_FILE",
                                                            "CRCS_FILE",
                                                            "FAT_FILE",
                                                            "MATCHMAKING_DEFAULT_FILE",
                                                            "PAGE_LOGIC_SCRIPT_PATH",
                                                            "LOCAL_PLAYERS_CACHE_FILE"};

ToolboxCore* ToolboxCore::s_instance = nullptr;

ToolboxCore::ToolboxCore() {
  s_instance = this;
  g_blobByteOrder = 1;
  m_savedLogin = new SavedLogin();
}

ERRORID ToolboxCore::create(ToolboxGameInterface* game, PlatformInterface* platform) {
  if (s_instance) return ERRORID_SUCCEEDED;
  auto* core = new (std::nothrow) ToolboxCore();
  if (!core) {
    delete platform;
    return ERRORID_NOT_ENOUGH_RAM;
  }
  core->init(game, platform);
  const ERRORID result = LastResult().get();
  if (result != ERRORID_SUCCEEDED) destroy();
  return result;
}

void ToolboxCore::destroy() { delete s_instance; }

std::uint32_t ToolboxCore::queueTask(Task* task) {
  if (!task) return 0;
  if (!s_instance || !s_instance->getTaskManager()) {
    delete task;
    return 0;
  }
  return s_instance->getTaskManager()->addTask(task);
}

ToolboxCore::~ToolboxCore() {
  delete m_tasks;
  m_tasks = nullptr;
  while (!m_services.empty()) {
    ServiceScriptInterface* service = m_services.back();
    m_services.pop_back();
    delete service;
  }
  delete m_events;
  m_events = nullptr;
  delete m_savedLogin;
  while (!m_players.empty())
    removeLocalPlayer(m_players.back());
  delete GlobalRecordList();
  SetGlobalRecordList(nullptr);
  clearFileConfiguration();
  delete m_config;
  m_config = nullptr;
  delete m_listeners;
  delete m_platform;
  s_instance = nullptr;
}

void ToolboxCore::init(ToolboxGameInterface* game, PlatformInterface* platform) {
  if (!m_listeners) m_listeners = new ListenerRegistry();
  LastResult().reset();
  // The platform object is kept first, so a failed start-up frees it with
  // the core.
  if (platform && platform != m_platform) {
    delete m_platform;
    m_platform = platform;
  }
  if (!game) {
    LastResult().set(ERRORID_FAILED);
    return;
  }
  if (!m_platform) m_platform = new DefaultPlatform();
  g_blobByteOrder = 1;
  delete m_config;
  m_config = new LuaConfig(m_platform);
  ERRORID result = m_config->load(game->getConfigPath());
  if (result == ERRORID_SUCCEEDED) {
    if (readFileConfiguration()) {
      if (!m_tasks) m_tasks = new TaskManager();
      if (!m_events) m_events = new EventManager();
      if (!GlobalRecordList()) SetGlobalRecordList(new RecordList());
      // The login an earlier run remembered is the one automatic login
      // uses; an unreadable cache file leaves none.
      *m_savedLogin = SavedLogin();
      LoadSavedLogin(m_files[CONFIG_FILE], *m_savedLogin);
      m_game = game;
      m_tasks->update(0);
      result = ERRORID_SUCCEEDED;
    } else {
      result = ERRORID_CONFIGURATIONERROR;
    }
  }
  LastResult().set(result);
}

void ToolboxCore::clearFileConfiguration() {
  for (char*& s : m_files) {
    ToolboxFree(s);
    s = nullptr;
  }
}

bool ToolboxCore::readFileConfiguration() {
  clearFileConfiguration();
  for (int i = 0; i < CONFIG_STRING_COUNT; ++i) {
    String value;
    if (!m_config->getString(kConfigStringKeys[i], value)) return false;
    m_files[i] = value.toNarrowCopy();
    if (!m_files[i]) return false;
  }
  for (const char* s : m_files) {
    if (!*s) return false;
  }
  return true;
}

const char* ToolboxCore::getConfigString(int index) const {
  return index >= 0 && index < CONFIG_STRING_COUNT ? m_files[index] : nullptr;
}

void ToolboxCore::update(std::uint32_t ms) {
  m_busy = true;
  struct ClearBusy {
    bool& busy;
    ~ClearBusy() { busy = false; }
  } clear{m_busy};
  m_clock += ms;
  if (m_tasks) m_tasks->update(ms);
  // Indexes: a service's update may register another.
  for (std::size_t i = 0; i < m_services.size(); ++i)
    m_services[i]->update(ms);
  if (m_events) m_events->processQueued();
}

Service* ToolboxCore::findService(const char* name) const {
  if (!name) return nullptr;
  for (ServiceScriptInterface* s : m_services) {
    Service* service = s->getService();
    if (std::strcmp(service->getName(), name) == 0) return service;
  }
  return nullptr;
}

ERRORID ToolboxCore::registerService(Service* service) {
  ERRORID result = ERRORID_FAILED;
  if (service && !findService(service->getName())) {
    m_services.push_back(service->scriptInterface());
    result = ERRORID_SUCCEEDED;
  }
  LastResult().set(result);
  return result;
}

void ToolboxCore::addListener(ToolboxListener* listener) { m_listeners->add(listener); }
void ToolboxCore::removeListener(ToolboxListener* listener) { m_listeners->remove(listener); }

LocalPlayer* ToolboxCore::findLocalPlayer(const PlayerID& id) const {
  if (id.getConnectionType() == CONNECTIONTYPE_INVALID) return nullptr;
  for (LocalPlayer* p : m_players) {
    if (p->getPlayerID(id.getConnectionType()) == id) return p;
  }
  return nullptr;
}

bool ToolboxCore::addLocalPlayer(const String& login, const PlayerID& id) {
  auto* player = new LocalPlayer();
  player->setLogin(login);
  player->setPlayerID(id);
  return addLocalPlayerObject(&player);
}

bool ToolboxCore::addLocalPlayerObject(LocalPlayer** player) {
  if (!player || !*player) return false;
  LocalPlayer* fresh = *player;
  // This machine has four local slots; a record claiming another is refused.
  if (fresh->isOwnPlayer() && fresh->getIndex() >= kLocalSlots) {
    delete fresh;
    *player = nullptr;
    return false;
  }
  const std::int32_t type = fresh->hasOnlineId() ? CONNECTIONTYPE_ONLINE : CONNECTIONTYPE_LAN;
  if (LocalPlayer* known = findLocalPlayer(fresh->getPlayerID(type))) {
    delete fresh;
    *player = known;
    return false;
  }
  m_players.push_back(fresh);
  return true;
}

LocalPlayer* ToolboxCore::getLocalPlayer(int index) const {
  if (index < 0 || index >= kLocalSlots) return nullptr;
  for (LocalPlayer* p : m_players) {
    if (p->isOwnPlayer() && p->getIndex() == index && p->isLoggedIn()) return p;
  }
  return nullptr;
}

LocalPlayer* ToolboxCore::getLoggedInLocalPlayer(const PlayerID& id) const {
  LocalPlayer* p = findLocalPlayer(id);
  return p && p->isLoggedIn() ? p : nullptr;
}

LocalPlayer* ToolboxCore::findLocalPlayerByLogin(const char16_t* login) const {
  for (LocalPlayer* p : m_players) {
    if (p->getLogin().equalsWide(login)) return p;
  }
  return nullptr;
}

int ToolboxCore::getMainLocalPlayerIndex() const {
  // Without a current matchmaking session, the first logged-in slot.
  for (int i = 0; i < kLocalSlots; ++i) {
    if (getLocalPlayer(i)) return i;
  }
  return 0;
}

bool ToolboxCore::isMainLocalPlayer(int index) const {
  if (!getLocalPlayer(index)) return false;
  for (int i = 0; i < index; ++i) {
    if (getLocalPlayer(i)) return false;
  }
  return true;
}

void ToolboxCore::removeLocalPlayer(LocalPlayer* player) {
  auto it = std::find(m_players.begin(), m_players.end(), player);
  if (it == m_players.end()) return;
  m_players.erase(it);
  delete player;
}

void ToolboxCore::replaceLocalPlayer(std::int32_t connectionType, int index, LocalPlayer* player) {
  if (LocalPlayer* current = getLocalPlayer(index)) {
    if (current != player) removeLocalPlayer(current);
  }
  if (!player) return;
  LocalPlayer* known = findLocalPlayer(player->getPlayerID(connectionType));
  if (known && known != player) removeLocalPlayer(known);
  if (std::find(m_players.begin(), m_players.end(), player) == m_players.end()) {
    addLocalPlayerObject(&player);
  }
}

int ToolboxCore::loggedInCount() const {
  int n = 0;
  for (LocalPlayer* p : m_players)
    n += p->isOwnPlayer() && p->isLoggedIn() ? 1 : 0;
  return n;
}

void ToolboxCore::raiseLoginLogoutEvent(LocalPlayer* player, bool login, std::int32_t value) {
  if (!player) return;
  if (m_game) {
    if (login) {
      m_game->onPlayerLogin(player);
    } else {
      m_game->onPlayerLogout(player);
    }
  }
  if (!m_events) return;
  m_events->queueEvent(new EventLoginLogout(player->getIndex(), login ? 1 : 0, value));
  // The player logging out still counts as logged in here.
  if (!login && loggedInCount() == 1) m_events->queueEvent(new EventAllPlayersLoggedOut());
}

TaskLock* ToolboxCore::getLocalPlayerSlot(int index) {
  return index >= 0 && index < kSlotLocks ? &m_slots[index] : nullptr;
}

}  // namespace OX_Toolbox
