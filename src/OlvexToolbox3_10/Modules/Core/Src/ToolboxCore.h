#pragma once
// The one object of the toolbox. The game creates it with its game
// interface, ticks it from the pump thread with the elapsed milliseconds and
// destroys it when online play ends. It owns the configuration, the task and
// event managers, the registered services, the local players and the seven
// file-configuration strings, and sets the process-wide last result after
// every operation. It has no lock of its own: every call is made on the pump
// thread or under the game's online lock.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Result/ErrorId.h"
#include "Modules/Core/Src/Tasks/Task.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

namespace OX_Toolbox {

class EventManager;
class ListenerRegistry;
class LocalPlayer;
class LuaConfig;
class PlatformInterface;
class Service;
class ServiceScriptInterface;
class TaskManager;
class ToolboxGameInterface;
class ToolboxListener;
struct SavedLogin;

// The file configuration, by index.
enum ConfigString {
  MATCHMAKING_DEFAULT_PAGE_NAME = 0,
  CONFIG_FILE = 1,
  CRCS_FILE = 2,
  FAT_FILE = 3,
  MATCHMAKING_DEFAULT_FILE = 4,
  PAGE_LOGIC_SCRIPT_PATH = 5,
  LOCAL_PLAYERS_CACHE_FILE = 6,
  CONFIG_STRING_COUNT = 7,
};
extern const char* const kConfigStringKeys[CONFIG_STRING_COUNT];

class ToolboxCoreInterface {
 public:
  virtual ~ToolboxCoreInterface() = default;
};

class ToolboxCore : public ToolboxObject, public ToolboxCoreInterface {
 public:
  static constexpr int kLocalSlots = 4;
  static constexpr int kSlotLocks = 8;

  // Creates the instance and runs init; on any result but SUCCEEDED the
  // half-built core is destroyed again. When the core is created it owns the
  // platform object (null: a default one); when the instance already
  // exists, 1 is returned at once and the object stays the caller's.
  static ERRORID create(ToolboxGameInterface* game, PlatformInterface* platform);
  static void destroy();
  static bool exists() { return s_instance != nullptr; }
  static ToolboxCore* instance() { return s_instance; }
  // Queues a task on the instance's task manager and returns its id; with no
  // toolbox the task is deleted and 0 returned, as for a null task.
  static std::uint32_t queueTask(Task* task);

  ~ToolboxCore() override;
  virtual void update(std::uint32_t ms);
  virtual Service* findService(const char* name) const;
  virtual EventManager* getEventManager() const { return m_events; }
  virtual TaskManager* getTaskManager() const { return m_tasks; }
  virtual void addListener(ToolboxListener* listener);
  virtual void removeListener(ToolboxListener* listener);
  virtual PlatformInterface* getPlatform() const { return m_platform; }
  virtual void init(ToolboxGameInterface* game, PlatformInterface* platform);
  virtual const char* getConfigString(int index) const;
  virtual LocalPlayer* findLocalPlayer(const PlayerID& id) const;
  virtual bool addLocalPlayer(const String& login, const PlayerID& id);
  virtual bool addLocalPlayerObject(LocalPlayer** player);

  // Sets the last result: FAILED when a service of that name is registered.
  ERRORID registerService(Service* service);
  LocalPlayer* getLocalPlayer(int index) const;
  LocalPlayer* getLoggedInLocalPlayer(const PlayerID& id) const;
  LocalPlayer* findLocalPlayerByLogin(const char16_t* login) const;
  int getMainLocalPlayerIndex() const;
  LocalPlayer* getMainLocalPlayer() const { return getLocalPlayer(getMainLocalPlayerIndex()); }
  bool isMainLocalPlayer(int index) const;
  void removeLocalPlayer(LocalPlayer* player);
  void replaceLocalPlayer(std::int32_t connectionType, int index, LocalPlayer* player);
  void raiseLoginLogoutEvent(LocalPlayer* player, bool login, std::int32_t value);
  TaskLock* getLocalPlayerSlot(int index);

  LuaConfig* getLuaConfig() const { return m_config; }
  ToolboxGameInterface* getGameInterface() const { return m_game; }
  SavedLogin* getSavedLogin() const { return m_savedLogin; }
  std::uint32_t getClock() const { return m_clock; }
  bool isBusy() const { return m_busy; }
  std::size_t serviceCount() const { return m_services.size(); }
  ServiceScriptInterface* getServiceInterface(std::size_t i) const { return m_services[i]; }
  std::size_t localPlayerCount() const { return m_players.size(); }

 private:
  ToolboxCore();
  ToolboxCore(const ToolboxCore&) = delete;
  ToolboxCore& operator=(const ToolboxCore&) = delete;
  bool readFileConfiguration();
  void clearFileConfiguration();
  int loggedInCount() const;

  static ToolboxCore* s_instance;

  char* m_files[CONFIG_STRING_COUNT] = {};
  ToolboxVector<ServiceScriptInterface*> m_services;
  std::uint32_t m_clock = 0;
  ToolboxGameInterface* m_game = nullptr;
  bool m_busy = false;
  TaskManager* m_tasks = nullptr;
  PlatformInterface* m_platform = nullptr;
  ToolboxVector<LocalPlayer*> m_players;
  TaskLock m_slots[kSlotLocks];
  LuaConfig* m_config = nullptr;
  SavedLogin* m_savedLogin = nullptr;
  EventManager* m_events = nullptr;
  ListenerRegistry* m_listeners = nullptr;
};

}  // namespace OX_Toolbox
