#include "Modules/MatchmakingService/Src/MatchmakingService.h"

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Tasks/TaskManager.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingOnlineTasks.h"
#include "Modules/MatchmakingService/Src/MatchmakingTasks.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/FriendService/Src/FriendService.h"
#include "Modules/Services/Src/OnlineLink.h"

namespace OX_Toolbox {

namespace {

// The manager takes a null task too (it answers 0).
std::uint32_t Queue(Task* task) {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !core->getTaskManager()) {
    delete task;
    return 0;
  }
  return core->getTaskManager()->addTask(task);
}

bool Online(std::int32_t connectionType) { return connectionType == CONNECTIONTYPE_ONLINE; }

// The connection type of the current session's owner (LAN without one).
std::int32_t OwnerType(const MatchmakingConfig* config) {
  const GameSession* s = config ? config->currentSession() : nullptr;
  return s ? s->info().connectionType() : CONNECTIONTYPE_LAN;
}

bool SessionOpen() {
  const MatchmakingConfig* config = MatchmakingConfig::instance();
  return config && config->currentSession();
}

// A private slot of the open session for an invitation, and its ticket.
bool InvitationSlot(std::uint8_t index, Ticket& ticket, SessionID& key) {
  MatchmakingConfig* config = MatchmakingConfig::instance();
  GameSession* session = config ? config->currentSession() : nullptr;
  if (!session) return false;
  std::vector<Ticket> tickets;
  config->createSlots(index, 1, true, tickets);
  if (tickets.empty()) return false;
  ticket = tickets[0];
  key = session->info().sessionId;
  return true;
}

void ReleaseInvitationSlot(const Ticket& ticket) {
  if (MatchmakingConfig* config = MatchmakingConfig::instance()) config->releasePrivateSlot(ticket);
}

}  // namespace

ERRORID MatchmakingService::create() {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core || !core->findService(NetworkService::kName)) return ERRORID_FAILED;
  auto* service = new MatchmakingService();
  ERRORID result = service->m_config->load() ? ERRORID_SUCCEEDED : ERRORID_CANT_OPEN_FILE_READ;
  if (result == ERRORID_SUCCEEDED) result = core->registerService(service);
  if (result != ERRORID_SUCCEEDED) {
    delete service;
    return result;
  }
  SetSessionOpenQuery(&SessionOpen);
  SetPrivateSlotQuery(&InvitationSlot);
  SetPrivateSlotRelease(&ReleaseInvitationSlot);
  return ERRORID_SUCCEEDED;
}

MatchmakingService* MatchmakingService::find() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? dynamic_cast<MatchmakingService*>(core->findService(kName)) : nullptr;
}

MatchmakingService::MatchmakingService() : m_config(new MatchmakingConfig()) {}

MatchmakingService::~MatchmakingService() {
  if (find() == this) {
    SetSessionOpenQuery(nullptr);
    SetPrivateSlotQuery(nullptr);
    SetPrivateSlotRelease(nullptr);
  }
  delete m_config;
}

std::uint32_t MatchmakingService::hostSession(MatchmakingServiceListener* listener,
                                              std::uint8_t localIndex,
                                              std::int32_t connectionType) {
  if (Online(connectionType)) return Queue(MakeOnlineHostSession(listener, localIndex));
  return Queue(new TaskRezovovozLanHostSession(listener, localIndex));
}

std::uint32_t MatchmakingService::updateSession(MatchmakingServiceListener* listener) {
  GameSession* session = m_config->currentSession();
  if (session && Online(session->info().connectionType()))
    return Queue(MakeOnlineUpdateSession(listener));
  if (!session) {
    if (listener) listener->onUpdateSession(0, ERRORID_SESSION_NOT_FOUND);
    return 0;
  }
  session->updateSession();
  if (listener) listener->onUpdateSession(0, ERRORID_SUCCEEDED);
  return 0;
}

std::uint32_t MatchmakingService::searchSessions(MatchmakingServiceListener* listener,
                                                 std::int32_t connectionType,
                                                 const MatchmakingQuery* query) {
  if (Online(connectionType)) return Queue(MakeOnlineSearchSessions(listener, query));
  return Queue(new TaskRezovovozLanSearchSessions(listener, query));
}

std::uint32_t MatchmakingService::joinSession(MatchmakingServiceListener* listener,
                                              std::uint8_t localIndex, const SessionID& sessionId,
                                              bool privateSlot) {
  ToolboxCore* core = ToolboxCore::instance();
  NetworkService* network = Network();
  const auto type = static_cast<std::int32_t>(network ? network->getConnectionType() : 0);
  std::vector<PlayerID> players;
  for (int i = 0; core && i < ToolboxCore::kLocalSlots; ++i) {
    if (LocalPlayer* p = core->getLocalPlayer(i)) players.push_back(p->getPlayerID(type));
  }
  const SessionInfo* found = m_config->findSearchResult(sessionId);
  if (found && found->connectionType() == CONNECTIONTYPE_LAN)
    return Queue(
        new TaskRezovovozLanJoinSession(listener, localIndex, players, sessionId, privateSlot));
  return Queue(MakeOnlineJoinSession(listener, localIndex, players, sessionId, privateSlot));
}

std::uint32_t MatchmakingService::deleteSession(MatchmakingServiceListener* listener) {
  GameSession* session = m_config->currentSession();
  if (!session || session->isClosing()) return 0;
  session->markClosing();
  if (Online(session->info().connectionType())) return Queue(MakeOnlineDeleteSession(listener));
  return Queue(new TaskRezovovozLanDeleteSession(listener));
}

std::uint32_t MatchmakingService::startMatch(MatchmakingServiceListener* listener) {
  return m_startMatch(this, listener);
}

std::uint32_t MatchmakingService::endMatch(MatchmakingServiceListener* listener) {
  return m_endMatch(this, listener);
}

std::uint32_t MatchmakingService::StartMatch(MatchmakingService* service,
                                             MatchmakingServiceListener* listener) {
  if (Online(OwnerType(service->m_config))) return Queue(MakeOnlineStartMatch(listener));
  return Queue(new TaskRezovovozLanStartMatch(listener));
}

std::uint32_t MatchmakingService::EndMatch(MatchmakingService* service,
                                           MatchmakingServiceListener* listener) {
  GameSession* session = service->m_config->currentSession();
  if (session && session->role() == GameSession::ROLE_HOST) session->endMatch();
  if (Online(OwnerType(service->m_config))) return Queue(MakeOnlineEndMatch(listener));
  return Queue(new TaskRezovovozLanEndMatch(listener));
}

std::uint32_t MatchmakingService::addPlayerToSession(MatchmakingServiceListener* listener,
                                                     const std::vector<PlayerID>& players) {
  if (Online(OwnerType(m_config))) return Queue(MakeOnlineAddPlayerToSession(listener, players));
  return Queue(new TaskRezovovozLanAddPlayerToSession(listener, players));
}

std::uint32_t MatchmakingService::removePlayerFromSession(MatchmakingServiceListener* listener,
                                                          const std::vector<PlayerID>& players) {
  return m_removePlayers(this, listener, players);
}

std::uint32_t MatchmakingService::RemovePlayers(MatchmakingService* service,
                                                MatchmakingServiceListener* listener,
                                                const std::vector<PlayerID>& players) {
  if (Online(OwnerType(service->m_config)))
    return Queue(MakeOnlineRemovePlayerFromSession(listener, players));
  return Queue(new TaskRezovovozLanRemovePlayerFromSession(listener, players));
}

MatchmakingField* MatchmakingService::findMatchmakingFieldByName(const String& name) {
  return m_config->findFieldByName(name);
}

MatchmakingField* MatchmakingService::findMatchmakingFieldById(std::int32_t id) {
  return m_config->findFieldById(id);
}

MatchmakingField* MatchmakingService::getMatchmakingFields(std::uint32_t& count) {
  auto& fields = const_cast<std::vector<MatchmakingField>&>(m_config->fields());
  count = static_cast<std::uint32_t>(fields.size());
  return fields.empty() ? nullptr : fields.data();
}

MatchmakingQuery* MatchmakingService::findMatchmakingQueryById(std::int32_t id) {
  return m_config->findQueryById(id);
}

MatchmakingQuery* MatchmakingService::getMatchmakingQueries(std::uint32_t& count) {
  auto& queries = const_cast<std::vector<MatchmakingQuery>&>(m_config->queries());
  count = static_cast<std::uint32_t>(queries.size());
  return queries.empty() ? nullptr : queries.data();
}

void MatchmakingService::update(std::uint32_t ms) { m_config->update(ms); }

}  // namespace OX_Toolbox
