#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountService.h"

#include "Modules/AccountService/Src/Driver/Rezovovoz/AccountTasks.h"
#include "Modules/AccountService/Src/Driver/Rezovovoz/ProfileTasks.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/MessagingService/Src/Messages/MessageEvents.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "bdLobbyCommon/bdAuth.h"

namespace OX_Toolbox {

namespace {
const char kDefinitionTag[4] = {'P', 'R', 'F', 'C'};
// The store's record type of a forced logout.
constexpr unsigned int kLoggedOutRecord = 29;
}  // namespace

std::uint64_t UserIdOfName(const String& name) {
  String lower(name);
  lower.toLower();
  char* text = lower.toUtf8(nullptr);
  const std::uint64_t id = bdAuthUtility::getUserID(text ? text : "");
  ToolboxFree(text);
  return id;
}

AccountService::AccountService() {
  if (ToolboxCore* core = ToolboxCore::instance()) {
    if (core->getEventManager()) core->getEventManager()->addListener(this);
  }
}

AccountService::~AccountService() {
  if (ToolboxCore* core = ToolboxCore::instance()) {
    if (core->getEventManager()) core->getEventManager()->removeListener(this);
  }
}

bool AccountService::onMessage(Event* event) {
  if (!event || event->getType() != &EventRezovovozMessageStore::s_type) return false;
  const bdReference<bdLobbyMessage>& record =
      static_cast<EventRezovovozMessageStore*>(event)->getRecord();
  if (record.isNull() || record->m_type != kLoggedOutRecord) return false;
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* player =
      core ? core->findLocalPlayer(PlayerID(CONNECTIONTYPE_ONLINE, record->m_id1)) : nullptr;
  if (player && player->isOwnPlayer() && player->isLoggedIn()) {
    core->raiseLoginLogoutEvent(player, false, 0);
    core->removeLocalPlayer(player);
  }
  return true;
}

ERRORID AccountService::create() {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !NetworkService::find()) return ERRORID_SERVICE_NOT_AVAILABLE;
  auto* service = new (std::nothrow) AccountService();
  if (!service) return ERRORID_NOT_ENOUGH_RAM;
  ERRORID result = service->loadDefinitions();
  if (result == ERRORID_SUCCEEDED) result = core->registerService(service);
  if (result != ERRORID_SUCCEEDED) delete service;
  return result;
}

AccountService* AccountService::find() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? static_cast<AccountService*>(core->findService(kName)) : nullptr;
}

void AccountService::readDefinitions(const RecordList& list, ProfileDefinitions& publicOut,
                                     ProfileDefinitions& privateOut) {
  for (const TaggedRecord* r = list.findByTag(kDefinitionTag); r;
       r = list.findByTag(kDefinitionTag, r)) {
    Blob blob(r->getPayload(), r->getPayloadSize(), BLOB_READONLY);
    ProfilePropertyDefinition d;
    if (blob.readInt32(0) == 1) {
      blob.readString(0, d.name);
      d.id = static_cast<std::uint32_t>(blob.readInt32(0));
      d.isPublic = blob.readBool(0);
      d.type = static_cast<std::uint32_t>(blob.readInt32(0));
    }
    (d.isPublic ? publicOut : privateOut).push_back(d);
  }
}

ERRORID AccountService::loadDefinitions() {
  m_public.clear();
  m_private.clear();
  ToolboxCore* core = ToolboxCore::instance();
  const char* path = core ? core->getConfigString(MATCHMAKING_DEFAULT_FILE) : nullptr;
  if (!path) return ERRORID_CONFIGURATIONERROR;
  RecordList list;
  const ERRORID loaded = list.loadFromFile(path);
  if (loaded != ERRORID_SUCCEEDED) return loaded;
  readDefinitions(list, m_public, m_private);
  return ERRORID_SUCCEEDED;
}

std::uint32_t AccountService::createOnlinePlayer(AccountServiceListener* listener,
                                                 std::uint8_t index, const String& login,
                                                 const String& password, const String (&texts)[4]) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineCreatePlayer(listener, index, login, password, texts));
}

std::uint32_t AccountService::deleteOnlinePlayer(AccountServiceListener* listener,
                                                 std::uint8_t index, const String& login,
                                                 const String& password) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineDeletePlayer(listener, index, login, password));
}

std::uint32_t AccountService::loginPlayer(AccountServiceListener* listener,
                                          std::uint32_t connectionType, std::uint8_t index,
                                          const String& login, const String& password) {
  return ToolboxCore::queueTask(
      new TaskRezovovozLoginPlayer(listener, connectionType, index, login, password));
}

std::uint32_t AccountService::autoLoginPlayer(AccountServiceListener* listener,
                                              std::uint32_t connectionType, std::uint8_t index) {
  return ToolboxCore::queueTask(new TaskRezovovozAutoLoginPlayer(listener, connectionType, index));
}

bool AccountService::isPlayerLoggedIn(std::uint8_t index, std::uint32_t connectionType) const {
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* player = core ? core->getLocalPlayer(index) : nullptr;
  return player &&
         player->getPlayerID(static_cast<std::int32_t>(connectionType)).getConnectionType() ==
             static_cast<std::int32_t>(connectionType) &&
         connectionType != 0;
}

std::uint32_t AccountService::logoutPlayer(AccountServiceListener* listener, std::uint8_t index) {
  return ToolboxCore::queueTask(new TaskRezovovozLogoutPlayer(listener, index));
}

std::uint32_t AccountService::searchPlayerID(AccountServiceListener* listener, std::uint8_t index,
                                             const String& name) {
  return ToolboxCore::queueTask(new TaskRezovovozOnlineSearchPlayerID(listener, index, name));
}

std::uint32_t AccountService::setPublicProfilePropertyValues(AccountServiceListener* listener,
                                                             std::uint8_t index,
                                                             const ProfileValues& values) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineSetPlayerPublicProfileInfo(listener, index, values));
}

std::uint32_t AccountService::setPrivateProfilePropertyValues(AccountServiceListener* listener,
                                                              std::uint8_t index,
                                                              const ProfileValues& values) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineSetPlayerPrivateProfileInfo(listener, index, values));
}

std::uint32_t AccountService::retrievePublicProfilePropetyValues(AccountServiceListener* listener,
                                                                 std::uint8_t index,
                                                                 const PlayerID& target) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineGetPlayerPublicProfileInfo(listener, index, target));
}

std::uint32_t AccountService::retrievePrivateProfilePropetyValues(AccountServiceListener* listener,
                                                                  std::uint8_t index) {
  return ToolboxCore::queueTask(
      new TaskRezovovozOnlineGetPlayerPrivateProfileInfo(listener, index));
}

}  // namespace OX_Toolbox
