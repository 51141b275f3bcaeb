#include "Modules/MatchmakingService/Src/MatchmakingTasks.h"

#include <algorithm>
#include <cstdio>

#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/ToolboxGameInterface.h"
#include "Modules/MatchmakingService/Src/LanSessionDirectory.h"
#include "Modules/MatchmakingService/Src/MatchmakingEvents.h"
#include "Modules/NetworkService/Src/NetworkService.h"
#include "Modules/NetworkService/Src/SdkPeerConnections.h"
#include "Modules/Session/Src/SessionEvents.h"
#include "Modules/Session/Src/SessionMessage.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdNet/bdNetImpl.h"

namespace OX_Toolbox {

#define TESS_TASK_TYPE(name, parent) const ClassTypeInfo name::s_type = {#name, &parent::s_type};
TESS_TASK_TYPE(TaskRezovovozLanCreateHostSession, TaskSequentialComposite)
TESS_TASK_TYPE(TaskRezovovozLanHostSession, TaskSequentialComposite)
TESS_TASK_TYPE(TaskRezovovozLanSearchSessions, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanCreatePeerSession, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanOpenRoute, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanAskForTickets, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanEnterSession, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanJoinSession, TaskSequentialComposite)
TESS_TASK_TYPE(TaskRezovovozLanAddPlayerToSession, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanCloseRoute, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanCloseAllRoute, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanRemovePlayerFromSession, TaskSequentialComposite)
TESS_TASK_TYPE(TaskRezovovozLanDeleteSessionOnServer, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanDeleteSession, TaskSequentialComposite)
TESS_TASK_TYPE(TaskRezovovozLanStartMatch, TaskAtomic)
TESS_TASK_TYPE(TaskRezovovozLanEndMatch, TaskAtomic)
#undef TESS_TASK_TYPE
const ClassTypeInfo EventStartStopMatch::s_type = {"EventStartStopMatch", &Event::s_type};

namespace {

ToolboxCore* Core() { return ToolboxCore::instance(); }
MatchmakingConfig* Config() { return MatchmakingConfig::instance(); }
GameSession* Current() { return Config() ? Config()->currentSession() : nullptr; }

void Post(Event* event) {
  EventManager* events = Core() ? Core()->getEventManager() : nullptr;
  if (events) {
    events->queueEvent(event);
  } else {
    delete event;
  }
}

// The logged-in local players, by slot.
std::vector<LocalPlayer*> LoggedIn() {
  std::vector<LocalPlayer*> players;
  for (int i = 0; Core() && i < ToolboxCore::kLocalSlots; ++i) {
    if (LocalPlayer* p = Core()->getLocalPlayer(i)) players.push_back(p);
  }
  return players;
}

// Lets the network layer decrypt the session's traffic.
void TrustSession(const SessionInfo& info) {
  if (!bdSingleton<bdNetImpl>::exists()) return;
  bdSecurityID id;
  bdSecurityKey key;
  std::copy(info.sessionId.begin(), info.sessionId.end(), id.ab);
  std::copy(info.sessionKey.begin(), info.sessionKey.end(), key.ab);
  bdSingleton<bdNetImpl>::getInstance()->getSecurityKeyMap()->put(id, key);
}

// The session layer's leave, as a step of the delete flow (after the match
// ended, before the routes close).
class LeaveSessionStep : public TaskAtomic {
 public:
  void onStart() override {
    if (GameSession* s = Current()) s->leave();
    setResult(ERRORID_SUCCEEDED);
  }
};

bool SendToHost(GameSession& session, SessionMessage& message) {
  PeerMessenger* messenger = MatchmakingMessenger();
  LocalPlayer* main = Core() ? Core()->getMainLocalPlayer() : nullptr;
  if (!messenger || !main) return false;
  message.setSender(main->getPlayerID(session.info().connectionType()));
  Blob blob;
  if (!message.serialize(blob)) return false;
  messenger->SendMessageToPlayer(session.info().ownerId, kSessionMessageTag, blob);
  return LastResult().get() == ERRORID_SUCCEEDED;
}

}  // namespace

// Tests may register a stand-in under the network service's name.
NetworkService* Network() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? dynamic_cast<NetworkService*>(core->findService(NetworkService::kName)) : nullptr;
}

ERRORID CheckNetworkService() {
  NetworkService* network = Network();
  return network && network->getConnectionType() != NetworkService::NONE
             ? ERRORID_SUCCEEDED
             : ERRORID_CONNECTION_FAILURE;
}

PeerMessenger* MatchmakingMessenger() {
  NetworkService* network = Network();
  return network ? network->getMessenger() : nullptr;
}

PeerAddress LocalSessionAddress(const SessionID& key) {
  PeerMessenger* messenger = MatchmakingMessenger();
  auto* sdk = messenger ? dynamic_cast<SdkPeerConnections*>(messenger->getConnections()) : nullptr;
  if (sdk) return sdk->localAddress(key);
  PeerAddress none;
  none.key = key;
  return none;
}

String TitleText() {
  NetworkService* network = Network();
  return network ? network->getTitleText() : String(u"");
}

std::uint64_t LanDiscoveryKey() {
  NetworkService* network = Network();
  return network ? network->getLanDiscoveryKey() : TitleText().md5Hash64();
}

// ---- waiting ----------------------------------------------------------------

TaskWaitingAtomic::~TaskWaitingAtomic() { stopWaiting(); }

void TaskWaitingAtomic::waitForSession(GameSession* session) {
  m_session = session;
  if (session) session->addWaiter(this);
}

void TaskWaitingAtomic::waitForRoute(std::uint32_t requestId) {
  m_request = requestId;
  m_waitingRoute = true;
}

void TaskWaitingAtomic::stopWaiting() {
  // The session may be gone already; only the current one still knows us.
  if (m_session && m_session == Current()) m_session->removeWaiter(this);
  m_session = nullptr;
  if (m_waitingRoute) {
    if (PeerMessenger* messenger = MatchmakingMessenger()) messenger->detach(this);
    m_waitingRoute = false;
  }
}

void TaskWaitingAtomic::onSessionResult(ERRORID result) {
  m_session = nullptr;  // the session forgets its waiters as it tells them
  if (m_answered) return;
  m_answered = true;
  m_answer = result;
}

void TaskWaitingAtomic::onRouteResult(std::uint32_t requestId, ERRORID result) {
  if (!m_waitingRoute || requestId != m_request || m_answered) return;
  m_answered = true;
  m_answer = result;
}

void TaskWaitingAtomic::step(std::uint32_t, bool& ready) { ready = m_answered; }

void TaskWaitingAtomic::complete(bool&) {
  stopWaiting();
  setResult(m_answer);
}

// ---- hosting ------------------------------------------------------------------

void TaskRezovovozLanCreateHostSession::onStart() {
  MatchmakingConfig* config = Config();
  if (CheckNetworkService() != ERRORID_SUCCEEDED || !config) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  if (config->currentSession()) {
    setResult(ERRORID_TASK_PREREQUISITE_FAILED);
    return;
  }
  LocalPlayer* host = Core()->getLocalPlayer(m_index);
  if (!host) {
    setResult(ERRORID_INVALID_PLAYER_ID);
    return;
  }
  const PlayerID hostId = host->getPlayerID(CONNECTIONTYPE_LAN);
  if (MatchmakingField* f = config->findFieldByName(MatchmakingConfig::kOwnerIdField))
    f->selectInt64(static_cast<std::int64_t>(hostId.getId()));
  if (MatchmakingField* f = config->findFieldByName(MatchmakingConfig::kHostNameField))
    f->selectString(host->getDisplayText());
  std::unique_ptr<GameSession> session =
      config->createSession(GameSession::ROLE_HOST, CONNECTIONTYPE_LAN);
  SessionInfo& info = session->info();
  info.ownerId = hostId;
  info.ownerLogin = host->getDisplayText();
  info.secondText = TitleText();
  // The advertisement gives the session the id and key it is known by.
  if (!GetLanSessionDirectory()->startHosting(info)) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  info.hostAddress = LocalSessionAddress(info.sessionId);
  session->setLocalAddress(info.hostAddress);
  config->clearSlots();
  config->setCurrentSession(std::move(session));
  std::vector<PlayerID> ids;
  for (LocalPlayer* p : LoggedIn())
    ids.push_back(p->getPlayerID(CONNECTIONTYPE_LAN));
  addSubTask(new TaskRezovovozLanAddPlayerToSession(nullptr, ids));
  setResult(ERRORID_SUCCEEDED);
}

Task* TaskRezovovozLanCreateHostSession::createUndoTask() {
  // A step that failed made nothing to undo (a refused host must not take
  // down the session that made it refuse).
  return getResult() == ERRORID_SUCCEEDED ? new TaskRezovovozLanDeleteSession(nullptr) : nullptr;
}

TaskRezovovozLanHostSession::TaskRezovovozLanHostSession(MatchmakingServiceListener* listener,
                                                         std::uint8_t index, bool privateSlots)
    : m_listener(listener), m_index(index), m_private(privateSlots) {
  addSubTask(new TaskRezovovozLanCreateHostSession(nullptr, index));
}

void TaskRezovovozLanHostSession::onSubTaskFinished(Task* task, ERRORID& code) {
  if (code == ERRORID_SUCCEEDED && task == subTask(0)) code = seatLocalPlayers(CONNECTIONTYPE_LAN);
}

ERRORID TaskRezovovozLanHostSession::seatLocalPlayers(std::int32_t connectionType) {
  MatchmakingConfig* config = Config();
  GameSession* session = Current();
  if (!config || !session) return ERRORID_SESSION_NOT_FOUND;
  const std::vector<LocalPlayer*> players = LoggedIn();
  std::vector<Ticket> tickets;
  config->createSlots(m_index, static_cast<std::uint32_t>(players.size()), m_private, tickets);
  if (tickets.size() < players.size()) return ERRORID_SESSION_FULL;
  std::vector<PlayerID> ids;
  std::vector<String> logins;
  for (std::size_t i = 0; i < players.size(); ++i) {
    const PlayerID id = players[i]->getPlayerID(connectionType);
    players[i]->addTicket(tickets[i]);
    if (!config->slots().assignPlayer(tickets[i], id)) return ERRORID_FAILED;
    ids.push_back(id);
    logins.push_back(players[i]->getLogin());
  }
  if (ToolboxGameInterface* game = Core()->getGameInterface())
    game->onHostSession(ERRORID_SUCCEEDED);
  Post(new EventHostJoinSession(1));
  session->addPlayers(ids, logins, session->localAddress(), 1);
  return ERRORID_SUCCEEDED;
}

void TaskRezovovozLanHostSession::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onHostSession(getId(), result);
}

// ---- search ---------------------------------------------------------------------

TaskRezovovozLanSearchSessions::TaskRezovovozLanSearchSessions(MatchmakingServiceListener* listener,
                                                               const MatchmakingQuery* query)
    : m_listener(listener), m_query(query ? new MatchmakingQuery(*query) : nullptr) {}

void TaskRezovovozLanSearchSessions::onStart() {
  if (CheckNetworkService() != ERRORID_SUCCEEDED || !Config()) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  Config()->clearSearchResults();
  m_searching = GetLanSessionDirectory()->startSearch(LanDiscoveryKey(), kDiscoveryMs);
  if (!m_searching) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanSearchSessions::step(std::uint32_t, bool& ready) {
  if (m_searching) ready = GetLanSessionDirectory()->pollSearch(m_found);
}

void TaskRezovovozLanSearchSessions::complete(bool&) {
  m_searching = false;
  MatchmakingConfig* config = Config();
  const String title = TitleText();
  for (const SessionInfo& info : m_found) {
    if (!config || !sameText(info.secondText, title)) continue;
    if (m_query && !config->sessionMatchesQuery(*m_query, info)) continue;
    if (config->findSearchResult(info.sessionId)) continue;  // one answer per session
    config->addSearchResult(std::make_unique<SessionInfo>(info));
  }
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanSearchSessions::onAbort() {
  if (m_searching) GetLanSessionDirectory()->stopSearch();
  m_searching = false;
}

void TaskRezovovozLanSearchSessions::onRemoved(ERRORID result) {
  if (m_searching) GetLanSessionDirectory()->stopSearch();
  static const std::vector<SessionInfo*> kNone;
  if (m_listener)
    m_listener->onSearchSessions(getId(), result, Config() ? Config()->searchResults() : kNone);
}

// ---- joining --------------------------------------------------------------------

void TaskRezovovozLanCreatePeerSession::onStart() {
  MatchmakingConfig* config = Config();
  const SessionInfo* found = config ? config->findSearchResult(m_sessionId) : nullptr;
  if (!found || config->currentSession()) {
    setResult(ERRORID_SESSION_NOT_FOUND);
    return;
  }
  auto session =
      std::make_unique<GameSession>(m_index, GameSession::ROLE_JOINED, CONNECTIONTYPE_LAN, found);
  session->setLocalAddress(LocalSessionAddress(found->sessionId));
  config->clearSlots();
  TrustSession(*found);
  config->setCurrentSession(std::move(session));
  setResult(ERRORID_SUCCEEDED);
}

Task* TaskRezovovozLanCreatePeerSession::createUndoTask() {
  return getResult() == ERRORID_SUCCEEDED ? new TaskRezovovozLanDeleteSession(nullptr) : nullptr;
}

void TaskRezovovozLanOpenRoute::onStart() {
  GameSession* session = Current();
  if (!session || session->info().sessionId != m_sessionId) {
    setResult(ERRORID_SESSION_NOT_FOUND);
    return;
  }
  PeerMessenger* messenger = MatchmakingMessenger();
  if (!messenger) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  m_host = session->info().ownerId;
  waitForRoute(messenger->openRouteTo(this, PeerRecord{m_host, session->info().hostAddress}));
  setResult(ERRORID_SUCCEEDED);
}

Task* TaskRezovovozLanOpenRoute::createUndoTask() {
  return getResult() == ERRORID_SUCCEEDED ? new TaskRezovovozLanCloseRoute(m_host) : nullptr;
}

void TaskRezovovozLanAskForTickets::onStart() {
  GameSession* session = Current();
  if (!session) {
    setResult(ERRORID_SESSION_NOT_FOUND);
    return;
  }
  waitForSession(session);
  AskForTicketsMessage ask(session->info().sessionId, m_count, m_private ? 1 : 0);
  if (!SendToHost(*session, ask)) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanEnterSession::onStart() {
  GameSession* session = Current();
  if (!session) {
    setResult(ERRORID_SESSION_NOT_FOUND);
    return;
  }
  waitForSession(session);
  if (!session->requestToEnter()) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  setResult(ERRORID_SUCCEEDED);
}

TaskRezovovozLanJoinSession::TaskRezovovozLanJoinSession(MatchmakingServiceListener* listener,
                                                         std::uint8_t index,
                                                         const std::vector<PlayerID>& players,
                                                         const SessionID& sessionId,
                                                         bool privateSlots)
    : m_listener(listener),
      m_index(index),
      m_players(players),
      m_sessionId(sessionId),
      m_private(privateSlots) {
  addSubTask(new TaskRezovovozLanCreatePeerSession(nullptr, sessionId, index));
  addSubTask(new TaskRezovovozLanOpenRoute(sessionId));
}

bool TaskRezovovozLanJoinSession::collectTickets(std::vector<Ticket>& tickets,
                                                 std::uint32_t& missing) const {
  missing = 0;
  for (const PlayerID& id : m_players) {
    LocalPlayer* p = Core() ? Core()->getLoggedInLocalPlayer(id) : nullptr;
    Ticket t;
    if (p && p->findTicket(m_sessionId, t)) {
      tickets.push_back(t);
    } else {
      ++missing;
    }
  }
  return missing == 0;
}

void TaskRezovovozLanJoinSession::dropTickets() const {
  for (const PlayerID& id : m_players) {
    LocalPlayer* p = Core() ? Core()->getLoggedInLocalPlayer(id) : nullptr;
    if (!p) continue;
    std::vector<Ticket> kept;
    for (const Ticket& t : p->tickets()) {
      if (t.key != m_sessionId) kept.push_back(t);
    }
    p->clearTickets();
    for (const Ticket& t : kept)
      p->addTicket(t);
  }
}

void TaskRezovovozLanJoinSession::onSubTaskFinished(Task* task, ERRORID& code) {
  const ClassTypeInfo* type = task->getType();
  if (type == &TaskRezovovozLanEnterSession::s_type) {
    if (code != ERRORID_SUCCEEDED) dropTickets();
    return;
  }
  if (code != ERRORID_SUCCEEDED) return;
  const bool afterRoute = type == &TaskRezovovozLanOpenRoute::s_type;
  const bool afterAsk = type == &TaskRezovovozLanAskForTickets::s_type;
  if (!afterRoute && !afterAsk) return;
  std::vector<Ticket> tickets;
  std::uint32_t missing = 0;
  if (collectTickets(tickets, missing)) {
    addSubTask(new TaskRezovovozLanEnterSession(m_players, tickets));
  } else if (afterRoute) {
    addSubTask(new TaskRezovovozLanAskForTickets(missing, m_private));
  } else {
    code = ERRORID_SESSION_JOIN_ILLEGAL;
  }
}

void TaskRezovovozLanJoinSession::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onJoinSession(getId(), result);
}

// ---- players arriving and leaving ------------------------------------------------

void TaskRezovovozLanAddPlayerToSession::onStart() { setResult(CheckNetworkService()); }

void TaskRezovovozLanCloseRoute::onStart() {
  PeerMessenger* messenger = MatchmakingMessenger();
  if (!messenger) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  waitForRoute(messenger->closeRouteTo(this, m_peer));
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanCloseAllRoute::onStart() {
  PeerMessenger* messenger = MatchmakingMessenger();
  if (!messenger) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  waitForRoute(messenger->closeAllRoutes(this));
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanRemovePlayerFromSession::onStart() {
  if (CheckNetworkService() != ERRORID_SUCCEEDED) {
    setResult(ERRORID_CONNECTION_FAILURE);
    return;
  }
  if (!Current()) {
    setResult(ERRORID_SESSION_NOT_FOUND);
    return;
  }
  for (const PlayerID& id : m_players)
    addSubTask(new TaskRezovovozLanCloseRoute(id));
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanRemovePlayerFromSession::onSubTaskFinished(Task*, ERRORID& code) {
  code = ERRORID_SUCCEEDED;  // a route that would not close leaves the players removed
}

void TaskRezovovozLanRemovePlayerFromSession::onFinished(ERRORID) {
  if (MatchmakingConfig* config = Config()) {
    for (const PlayerID& id : m_players)
      config->removePlayer(id);
  }
}

// ---- deleting ---------------------------------------------------------------------

void TaskRezovovozLanDeleteSessionOnServer::onStart() {
  GetLanSessionDirectory()->stopHosting();
  setResult(CheckNetworkService());
}

void TaskRezovovozLanDeleteSession::onStart() {
  if (GameSession* session = Current()) {
    session->markClosing();
    if (session->inMatch()) addSubTask(new TaskRezovovozLanEndMatch(nullptr));
    addSubTask(new LeaveSessionStep());
  }
  addSubTask(new TaskRezovovozLanDeleteSessionOnServer(nullptr));
  addSubTask(new TaskRezovovozLanCloseAllRoute());
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanDeleteSession::onFinished(ERRORID) {
  for (LocalPlayer* p : LoggedIn())
    p->clearTickets();
  if (MatchmakingConfig* config = Config()) {
    config->clearSlots();
    config->destroyCurrentSession();
  }
}

void TaskRezovovozLanDeleteSession::onRemoved(ERRORID result) {
  if (m_listener) m_listener->onDeleteSession(getId(), result);
}

// ---- matches ----------------------------------------------------------------------

namespace {

ERRORID MatchChecks() {
  if (!Current()) return ERRORID_SESSION_NOT_FOUND;
  return CheckNetworkService();
}

void ReportMatch(MatchmakingServiceListener* listener, std::uint32_t id, ERRORID result,
                 bool started) {
  if (!listener) return;
  if (result == ERRORID_SUCCEEDED) {
    if (ToolboxGameInterface* game = Core() ? Core()->getGameInterface() : nullptr) {
      if (started) {
        game->onStartGame();
      } else {
        game->onEndGame();
      }
    }
    Post(new EventStartStopMatch(started ? 1 : 0));
  }
  if (started) {
    listener->onStartMatch(id, result);
  } else {
    listener->onEndMatch(id, result);
  }
}

}  // namespace

void TaskRezovovozLanStartMatch::onStart() {
  const ERRORID checks = MatchChecks();
  if (checks != ERRORID_SUCCEEDED) {
    setResult(checks);
    return;
  }
  GameSession* session = Current();
  if (session->role() == GameSession::ROLE_HOST) session->startMatch();
  session->setInMatch(true);
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanStartMatch::onRemoved(ERRORID result) {
  ReportMatch(m_listener, getId(), result, true);
}

void TaskRezovovozLanEndMatch::onStart() {
  const ERRORID checks = MatchChecks();
  if (checks != ERRORID_SUCCEEDED) {
    setResult(checks);
    return;
  }
  Current()->setInMatch(false);
  setResult(ERRORID_SUCCEEDED);
}

void TaskRezovovozLanEndMatch::onRemoved(ERRORID result) {
  ReportMatch(m_listener, getId(), result, false);
}

}  // namespace OX_Toolbox
