#include "Modules/Core/Src/Players/LocalPlayer.h"

#include "Modules/Core/Src/Cache/ServiceCache.h"
#include "Modules/Core/Src/Records/LocalPlayerRecord.h"
#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/ToolboxCore.h"

namespace OX_Toolbox {

namespace {

void assignCut(String& to, const String& from, int max) {
  to.assign(from);
  to.truncate(max);
}

ERRORID report(ERRORID result) {
  LastResult().set(result);
  return result;
}

}  // namespace

LocalPlayer::LocalPlayer() : m_login(u""), m_displayText(u""), m_password(u"") {}

LocalPlayer::LocalPlayer(std::uint8_t slot) : LocalPlayer() {
  m_state = 1;
  m_index = slot;
  m_own = true;
  m_cache = new ServiceCacheStore();
}

LocalPlayer::~LocalPlayer() { delete m_cache; }

void LocalPlayer::setLogin(const String& login) { assignCut(m_login, login, kMaxLogin); }
void LocalPlayer::setDisplayText(const String& text) {
  assignCut(m_displayText, text, kMaxDisplayText);
}
void LocalPlayer::setPassword(const String& password) {
  assignCut(m_password, password, kMaxPassword);
}

const PlayerID& LocalPlayer::getPlayerID(std::int32_t connectionType) const {
  static const PlayerID kInvalid;
  if (connectionType == CONNECTIONTYPE_LAN) return m_lanId;
  if (connectionType == CONNECTIONTYPE_ONLINE) return m_onlineId;
  return kInvalid;
}

void LocalPlayer::setPlayerID(const PlayerID& id) {
  if (id.getConnectionType() == CONNECTIONTYPE_LAN) m_lanId = id;
  if (id.getConnectionType() == CONNECTIONTYPE_ONLINE) m_onlineId = id;
}

bool LocalPlayer::findTicket(const SessionID& key, Ticket& out) const {
  for (const Ticket& t : m_tickets) {
    if (t.key == key) {
      out = t;
      return true;
    }
  }
  return false;
}

void LocalPlayer::addTicket(const Ticket& ticket) {
  for (auto it = m_tickets.begin(); it != m_tickets.end();)
    it = *it == ticket ? m_tickets.erase(it) : it + 1;
  m_tickets.push_back(ticket);
}

ERRORID LocalPlayer::saveToCache() const {
  ToolboxCore* core = ToolboxCore::instance();
  RecordList* list = GlobalRecordList();
  const char* path = core ? core->getConfigString(CONFIG_FILE) : nullptr;
  if (!core || !list || !path || !core->getSavedLogin()) return report(ERRORID_FAILED);
  list->clear();
  // A missing or damaged file starts a new one.
  if (list->loadFromFile(path) != ERRORID_SUCCEEDED) list->clear();
  while (TaggedRecord* old = list->findByTag(kLocalPlayerTag))
    list->remove(old);
  SavedLogin* saved = core->getSavedLogin();
  saved->login = m_login;
  saved->password = m_password;
  ERRORID result = ERRORID_FAILED;
  if (WriteLocalPlayerRecord(*list, *saved)) result = list->saveToFile(path);
  list->clear();
  return report(result);
}

}  // namespace OX_Toolbox
