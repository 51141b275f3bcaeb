#include "Modules/Session/Src/GameSession.h"

#include <algorithm>
#include <cstdio>

#include "Modules/Core/Src/Cache/ServiceCache.h"
#include "Modules/Core/Src/Players/LocalPlayer.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/Script/LuaConfig.h"
#include "Modules/Core/Src/Tasks/Events.h"
#include "Modules/Core/Src/ToolboxCore.h"
#include "Modules/Core/Src/ToolboxGameInterface.h"
#include "Modules/Session/Src/SessionEvents.h"
#include "Modules/Session/Src/SessionMessageDecoder.h"

namespace OX_Toolbox {

namespace {

GameSession* s_current = nullptr;

ToolboxGameInterface* Game() {
  ToolboxCore* core = ToolboxCore::instance();
  return core ? core->getGameInterface() : nullptr;
}

void Post(Event* event) {
  ToolboxCore* core = ToolboxCore::instance();
  EventManager* events = core ? core->getEventManager() : nullptr;
  if (events) {
    events->queueEvent(event);
  } else {
    delete event;
  }
}

unsigned ConfigValue(const char* key, unsigned fallback) {
  ToolboxCore* core = ToolboxCore::instance();
  LuaConfig* config = core ? core->getLuaConfig() : nullptr;
  unsigned value = 0;
  return config && config->getInteger(key, value) ? value : fallback;
}

template <typename T>
T* As(SessionMessage& m) {
  return dynamic_cast<T*>(&m);
}

}  // namespace

GameSession::GameSession(int localIndex, std::uint32_t role, std::int32_t connectionType,
                         const SessionInfo* info)
    : m_role(role) {
  if (info) {
    m_info = *info;
    return;
  }
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* owner = core ? core->getLocalPlayer(localIndex) : nullptr;
  if (owner) m_info.ownerId = owner->getPlayerID(connectionType);
}

GameSession::~GameSession() {
  if (s_current == this) s_current = nullptr;
}

GameSession* GameSession::current() { return s_current; }
void GameSession::setCurrent(GameSession* session) { s_current = session; }

std::uint32_t GameSession::timeoutThresholdMs() {
  return ConfigValue("TIMEOUT_THRESHOLD", kDefaultThresholdMs / 1000) * 1000;
}

std::uint32_t GameSession::heartbeatIntervalMs() {
  const unsigned rate = ConfigValue("HEARTBEAT_PER_SEC", kDefaultHeartbeatsPerSecond);
  return 1000 / (rate ? rate : kDefaultHeartbeatsPerSecond);
}

const SessionPeer* GameSession::findPeer(const PlayerID& id) const {
  for (const SessionPeer& p : m_peers) {
    if (p.id == id) return &p;
  }
  return nullptr;
}

SessionPeer* GameSession::peer(const PlayerID& id) {
  return const_cast<SessionPeer*>(static_cast<const GameSession*>(this)->findPeer(id));
}

PlayerID GameSession::senderId() const {
  ToolboxCore* core = ToolboxCore::instance();
  LocalPlayer* main = core ? core->getMainLocalPlayer() : nullptr;
  return main ? main->getPlayerID(m_info.connectionType()) : PlayerID();
}

std::vector<PlayerID> GameSession::localIds() const {
  std::vector<PlayerID> ids;
  for (const SessionPeer& p : m_peers) {
    if (p.isLocal) ids.push_back(p.id);
  }
  return ids;
}

bool GameSession::send(const PlayerID& to, SessionMessage& message) {
  message.setSender(senderId());
  Blob blob;
  if (!m_messenger || !message.serialize(blob)) return false;
  m_messenger->SendMessageToPlayer(to, kSessionMessageTag, blob);
  return LastResult().get() == ERRORID_SUCCEEDED;
}

void GameSession::sendOrSilence(const PlayerID& to, SessionMessage& message,
                                const char* failureText) {
  if (send(to, message)) return;
  if (failureText) std::fputs(failureText, stderr);
  forceSilence(to);
}

void GameSession::forceSilence(const PlayerID& id) {
  if (SessionPeer* p = peer(id)) p->silenceMs = timeoutThresholdMs() + 1;
}

void GameSession::addPlayers(const std::vector<PlayerID>& ids, const std::vector<String>& logins,
                             const PeerAddress& address, std::int32_t status) {
  std::vector<Arrival> arrivals;
  for (std::size_t i = 0; i < ids.size() && i < logins.size(); ++i)
    arrivals.push_back(Arrival{ids[i], logins[i], address, status});
  addArrivals(arrivals);
}

void GameSession::addArrivals(const std::vector<Arrival>& arrivals) {
  ToolboxCore* core = ToolboxCore::instance();
  const std::int32_t type = m_info.connectionType();
  bool replaced = false;
  std::vector<PlayerID> ids;
  std::vector<String> logins;
  std::vector<PeerAddress> addresses;
  for (const Arrival& a : arrivals) {
    auto old = std::find_if(m_peers.begin(), m_peers.end(),
                            [&](const SessionPeer& p) { return p.id == a.id; });
    if (old != m_peers.end()) {
      m_peers.erase(old);
      replaced = true;
    }
    SessionPeer entry;
    entry.id = a.id;
    entry.login = a.login;
    const PeerAddress* known = m_messenger ? m_messenger->findPeer(a.id) : nullptr;
    entry.address = known ? *known : a.address;
    entry.isLocal = sameMachine(a.address, m_localAddress);
    entry.status = a.status;
    m_peers.push_back(entry);
    ids.push_back(a.id);
    logins.push_back(a.login);
    addresses.push_back(entry.address);

    LocalPlayer* record = nullptr;
    if (core) {
      record = new LocalPlayer();
      record->setPlayerID(a.id);
      record->setLogin(a.login);
      core->addLocalPlayerObject(&record);
      if (record && !record->isLoggedIn() && a.id.getConnectionType() != CONNECTIONTYPE_LAN) {
        for (int slot = 0; slot < ToolboxCore::kLocalSlots; ++slot) {
          LocalPlayer* own = core->getLocalPlayer(slot);
          if (!own) continue;
          core->addLocalPlayer(a.login, a.id);
          if (ServiceCacheStore* cache = own->getCacheStore())
            cache->addCachedObject(2, a.id.getId());
        }
      }
    }
    if (ToolboxGameInterface* game = Game()) game->onPlayerJoin(record, entry.address, type);
    Post(new EventPlayerJoinLeaveSession(a.id, 0));
  }
  if (!replaced && m_matchmaking) m_matchmaking->playersAdded(ids);
  if (m_role != ROLE_HOST) return;
  // The players who just arrived learn the session from the host's answer,
  // not from this notice.
  std::vector<PlayerID> told;
  for (const SessionPeer& p : m_peers) {
    const bool arrived = std::find(ids.begin(), ids.end(), p.id) != ids.end();
    if (!p.isLocal && !arrived && p.id != m_info.ownerId) told.push_back(p.id);
  }
  for (const PlayerID& to : told) {
    PlayersJoinedMessage m(m_info.sessionId, ids, logins, addresses);
    sendOrSilence(to, m, "addPlayer: could not send message\n");
  }
}

void GameSession::dropPeer(const PlayerID& id, std::int32_t reason) {
  auto it = std::find_if(m_peers.begin(), m_peers.end(),
                         [&](const SessionPeer& p) { return p.id == id; });
  if (it == m_peers.end()) return;
  m_peers.erase(it);
  const std::int32_t code = reason >= 0 && reason <= 2 ? reason + 1 : reason;
  Post(new EventPlayerJoinLeaveSession(id, code));
  ToolboxGameInterface* game = Game();
  if (!game) return;
  if (id == m_info.ownerId) {
    game->onHostLeave(m_info.ownerId, reason);
  } else if (reason == SESSION_LEAVE_CLOSED_BY_HOST) {
    game->onHostLeave(m_info.ownerId, SESSION_LEAVE_CLOSED_BY_HOST);
  } else {
    game->onPlayerLeave(id, reason);
  }
}

void GameSession::tellOthersLeft(const PlayerID& id) {
  std::vector<PlayerID> to;
  for (const SessionPeer& p : m_peers) {
    if (!p.isLocal && p.id != id && p.id != m_info.ownerId) to.push_back(p.id);
  }
  for (const PlayerID& other : to) {
    PlayersLeftMessage m(m_info.sessionId, {id});
    sendOrSilence(other, m, nullptr);
  }
}

void GameSession::removePlayers(const std::vector<PlayerID>& ids, std::int32_t reason) {
  bool owner = false;
  for (const PlayerID& id : ids) {
    owner = owner || id == m_info.ownerId;
    if (m_role == ROLE_HOST) tellOthersLeft(id);
    dropPeer(id, reason);
  }
  if (owner && m_matchmaking) m_matchmaking->ownerRemoved(ids);
}

void GameSession::dropLocalPlayers() {
  ToolboxCore* core = ToolboxCore::instance();
  if (!core) return;
  for (int slot = 0; slot < ToolboxCore::kLocalSlots; ++slot) {
    LocalPlayer* p = core->getLocalPlayer(slot);
    if (!p) continue;
    const PlayerID id = p->getPlayerID(m_info.connectionType());
    if (findPeer(id)) dropPeer(id, SESSION_LEAVE_LEFT);
  }
}

void GameSession::processMessage(int, Blob& blob) {
  if (m_closing) return;
  std::unique_ptr<SessionMessage> message = decodeSessionMessage(blob);
  if (!message) return;
  const PlayerID from = message->getSender();
  if (from.getConnectionType() == CONNECTIONTYPE_INVALID) return;
  SessionMessage& m = *message;
  switch (m.getType()) {
    case SESSION_MSG_HEARTBEAT:
      if (!peer(from)) return;
      for (const PlayerID& id : As<PlayerListMessage>(m)->players) {
        if (SessionPeer* p = peer(id)) p->silenceMs = 0;
      }
      return;
    case SESSION_MSG_ENTER_SESSION:
      if (m_role == ROLE_HOST) onEnterSession(from, *As<EnterSessionMessage>(m));
      return;
    case SESSION_MSG_SESSION_STATE:
      if (m_role == ROLE_JOINED) onSessionState(*As<SessionStateMessage>(m));
      return;
    case SESSION_MSG_PLAYERS_LEFT:
    case SESSION_MSG_PLAYERS_LEFT_OTHER:
      removePlayers(As<PlayerListMessage>(m)->players, SESSION_LEAVE_LEFT);
      return;
    case SESSION_MSG_PLAYERS_JOINED: {
      const auto& j = *As<PlayersJoinedMessage>(m);
      std::vector<Arrival> arrivals;
      for (std::size_t i = 0; i < j.players.size(); ++i)
        arrivals.push_back(Arrival{j.players[i], j.logins[i], j.addresses[i], 1});
      addArrivals(arrivals);
      return;
    }
    case SESSION_MSG_ASK_FOR_TICKETS:
      if (m_role == ROLE_HOST) onAskForTickets(from, *As<AskForTicketsMessage>(m));
      return;
    case SESSION_MSG_TICKETS:
      onTickets(*As<TicketsMessage>(m));
      return;
    case SESSION_MSG_PLAYER_FLAGS:
    case SESSION_MSG_PLAYER_FLAGS_OTHER: {
      const auto& f = *As<PlayerFlagsMessage>(m);
      for (const PlayerID& id : f.players) {
        SessionPeer* p = peer(id);
        if (!p) continue;
        if (m.getType() == SESSION_MSG_PLAYER_FLAGS) {
          p->state = f.value ? 1 : 2;
        } else if (f.value) {
          p->flag = 1;
        }
      }
      return;
    }
    case SESSION_MSG_ATTRIBUTES:
      onAttributes(*As<SessionAttributesMessage>(m));
      return;
    case SESSION_MSG_SESSION_CLOSED:
      if (from != m_info.ownerId) return;
      for (const PlayerID& id : localIds())
        dropPeer(id, SESSION_LEAVE_CLOSED_BY_HOST);
      return;
    case SESSION_MSG_MATCH_STARTED:
      if (m_matchmaking) m_matchmaking->matchStarted();
      return;
    case SESSION_MSG_MATCH_ENDED:
      if (m_inMatch && m_matchmaking) m_matchmaking->matchEnded();
      return;
    case SESSION_MSG_PLAYER_STATUS_TO_PEERS: {
      const auto& s = *As<PlayerStatusMessage>(m);
      if (SessionPeer* p = peer(s.player)) p->status = s.status;
      return;
    }
    case SESSION_MSG_PLAYER_STATUS_TO_HOST:
      onStatusToHost(*As<PlayerStatusMessage>(m));
      return;
    default:
      return;
  }
}

void GameSession::onEnterSession(const PlayerID& from, const EnterSessionMessage& m) {
  // Refused: another session, nobody to add, more players than the state
  // message can list, or a ticket that takes no slot.
  std::size_t newcomers = 0;
  for (const PlayerID& id : m.players)
    newcomers += findPeer(id) ? 0 : 1;
  bool accepted = m.getSessionId() == m_info.sessionId && !m.players.empty() &&
                  m_peers.size() + newcomers <= kMaxSessionListEntries;
  for (std::size_t i = 0; accepted && i < m.players.size(); ++i)
    accepted = !m_matchmaking || m_matchmaking->assignSlot(m.tickets[i], m.players[i]);
  if (!accepted) {
    SessionStateMessage refusal(m_info.sessionId, false, m_inMatch, {}, {}, {}, {});
    send(from, refusal);
    return;
  }
  addPlayers(m.players, m.logins, m.ownAddress, 1);
  std::vector<PlayerID> ids;
  std::vector<String> logins;
  std::vector<PeerAddress> addresses;
  std::vector<std::int32_t> statuses;
  for (const SessionPeer& p : m_peers) {
    ids.push_back(p.id);
    logins.push_back(p.login);
    addresses.push_back(p.address);
    statuses.push_back(p.status);
  }
  SessionStateMessage state(m_info.sessionId, true, m_inMatch, ids, logins, addresses, statuses);
  sendOrSilence(from, state, nullptr);
  SessionAttributesMessage attributes(m_info.sessionId, {});
  for (const SessionInfo::Attribute& a : m_info.attributes)
    attributes.attributes.emplace_back(static_cast<std::int32_t>(a.first), a.second);
  sendOrSilence(from, attributes, nullptr);
}

void GameSession::onSessionState(const SessionStateMessage& m) {
  m_inMatch = m.matchStarted;
  if (!m.accepted) {
    notifyWaiters(ERRORID_FAILED);
    return;
  }
  if (ToolboxGameInterface* game = Game()) game->onJoinSession(m_info, m.players);
  Post(new EventHostJoinSession());
  // Each player sits at its own machine.
  std::vector<Arrival> arrivals;
  for (std::size_t i = 0; i < m.players.size(); ++i)
    arrivals.push_back(Arrival{m.players[i], m.logins[i], m.addresses[i], m.statuses[i]});
  addArrivals(arrivals);
  notifyWaiters(ERRORID_SUCCEEDED);
}

void GameSession::onAskForTickets(const PlayerID& from, const AskForTicketsMessage& m) {
  ERRORID result = ERRORID_SESSION_NOT_FOUND;
  std::vector<Ticket> tickets;
  if (m.getSessionId() == m_info.sessionId) {
    if (m_matchmaking) tickets = m_matchmaking->createTickets(m.ticketCount, m.privateRequest != 0);
    if (tickets.size() > kMaxSessionListEntries) tickets.resize(kMaxSessionListEntries);
    result = tickets.empty() ? ERRORID_SESSION_FULL : ERRORID_SUCCEEDED;
  }
  TicketsMessage answer(m_info.sessionId, result, tickets);
  sendOrSilence(from, answer, "ASK_FOR_TICKETS:SendTicketsMsg: could not send message\n");
}

void GameSession::onTickets(const TicketsMessage& m) {
  ERRORID outcome = static_cast<ERRORID>(m.result);
  ToolboxCore* core = ToolboxCore::instance();
  if (outcome == ERRORID_SUCCEEDED && core) {
    std::size_t next = 0;
    for (int slot = 0; slot < ToolboxCore::kLocalSlots; ++slot) {
      LocalPlayer* p = core->getLocalPlayer(slot);
      if (!p) continue;
      Ticket held;
      if (p->findTicket(m_info.sessionId, held)) continue;
      if (next == m.tickets.size()) {
        outcome = ERRORID_SESSION_JOIN_ILLEGAL;
        break;
      }
      p->addTicket(m.tickets[next++]);
    }
  }
  notifyWaiters(outcome);
}

void GameSession::onAttributes(const SessionAttributesMessage& m) {
  for (const auto& a : m.attributes)
    m_info.setAttribute(static_cast<std::uint32_t>(a.first), a.second);
  sessionUpdated();
}

void GameSession::sessionUpdated() {
  if (ToolboxGameInterface* game = Game()) game->onSessionUpdated(m_info);
  Post(new EventUpdateSession());
}

void GameSession::onStatusToHost(const PlayerStatusMessage& m) {
  std::vector<PlayerID> remote;
  for (SessionPeer& p : m_peers) {
    if (p.isLocal) {
      if (p.id == m.player) p.status = m.status;
    } else {
      remote.push_back(p.id);
    }
  }
  for (const PlayerID& to : remote) {
    PlayerStatusMessage relay(SESSION_MSG_PLAYER_STATUS_TO_PEERS, m_info.sessionId, m.player,
                              m.status);
    send(to, relay);
  }
}

void GameSession::updateHeartbeat(std::uint32_t elapsedMs) {
  if (m_closing) return;
  m_totalMs += elapsedMs;
  m_sinceHeartbeatMs += elapsedMs;
  const std::uint32_t threshold = timeoutThresholdMs();
  const bool sendNow = heartbeatIntervalMs() < m_sinceHeartbeatMs;
  const std::vector<PlayerID> ours = localIds();
  if (m_role == ROLE_HOST) {
    for (std::size_t i = 0; i < m_peers.size();) {
      SessionPeer& p = m_peers[i];
      if (p.isLocal) {
        ++i;
        continue;
      }
      p.silenceMs += elapsedMs;
      if (p.silenceMs > threshold) {
        removePlayers({p.id}, SESSION_LEAVE_TIMED_OUT);
        continue;  // the next entry moved into this place
      }
      if (sendNow) {
        const PlayerID to = p.id;
        HeartbeatMessage beat(m_info.sessionId, ours);
        sendOrSilence(to, beat, nullptr);
        m_sinceHeartbeatMs = 0;
      }
      ++i;
    }
    return;
  }
  SessionPeer* owner = peer(m_info.ownerId);
  if (!owner) return;
  owner->silenceMs += elapsedMs;
  if (owner->silenceMs > threshold) {
    removePlayers({m_info.ownerId}, SESSION_LEAVE_TIMED_OUT);
    return;
  }
  if (sendNow) {
    HeartbeatMessage beat(m_info.sessionId, ours);
    sendOrSilence(m_info.ownerId, beat, nullptr);
    m_sinceHeartbeatMs = 0;
  }
}

void GameSession::updateSession() {
  if (m_matchmaking) {
    for (const SessionInfo::Attribute& a : m_matchmaking->fieldValues())
      m_info.setAttribute(a.first, a.second);
  }
  sessionUpdated();
  std::vector<PlayerID> remote;
  for (const SessionPeer& p : m_peers) {
    if (!p.isLocal) remote.push_back(p.id);
  }
  for (const PlayerID& to : remote) {
    SessionAttributesMessage m(m_info.sessionId, {});
    for (const SessionInfo::Attribute& a : m_info.attributes)
      m.attributes.emplace_back(static_cast<std::int32_t>(a.first), a.second);
    sendOrSilence(to, m, nullptr);
  }
}

void GameSession::startMatch() {
  if (m_matchmaking) m_matchmaking->setMatchStartedField(true);
  if (m_role != ROLE_HOST) return;
  std::vector<std::pair<PlayerID, PeerAddress>> remote;
  for (const SessionPeer& p : m_peers) {
    if (!p.isLocal) remote.emplace_back(p.id, p.address);
  }
  std::vector<PeerAddress> sent;
  for (const auto& r : remote) {
    if (std::any_of(sent.begin(), sent.end(),
                    [&](const PeerAddress& a) { return sameMachine(a, r.second); }))
      continue;
    sent.push_back(r.second);
    SessionNoticeMessage m(SESSION_MSG_MATCH_STARTED, m_info.sessionId);
    send(r.first, m);
  }
}

void GameSession::endMatch() {
  if (m_matchmaking) m_matchmaking->setMatchStartedField(false);
  if (m_role != ROLE_HOST) return;
  std::vector<std::pair<PlayerID, PeerAddress>> remote;
  for (const SessionPeer& p : m_peers) {
    if (!p.isLocal) remote.emplace_back(p.id, p.address);
  }
  std::vector<PeerAddress> sent;
  for (const auto& r : remote) {
    if (std::any_of(sent.begin(), sent.end(),
                    [&](const PeerAddress& a) { return sameMachine(a, r.second); }))
      continue;
    sent.push_back(r.second);
    SessionNoticeMessage m(SESSION_MSG_MATCH_ENDED, m_info.sessionId);
    send(r.first, m);
  }
}

void GameSession::setInMatch(bool inMatch) {
  m_inMatch = inMatch;
  for (const PlayerID& id : localIds()) {
    PlayerStatusMessage m(SESSION_MSG_PLAYER_STATUS_TO_HOST, m_info.sessionId, id, inMatch ? 0 : 1);
    send(m_info.ownerId, m);
  }
}

void GameSession::leave() {
  if (m_role == ROLE_JOINED) {
    PlayersLeftMessage m(m_info.sessionId, localIds());
    send(m_info.ownerId, m);
    return;
  }
  tellOthersLeft(m_info.ownerId);
}

void GameSession::addWaiter(SessionWaiter* waiter) {
  if (waiter) m_waiters.push_back(waiter);
}

void GameSession::removeWaiter(SessionWaiter* waiter) {
  m_waiters.erase(std::remove(m_waiters.begin(), m_waiters.end(), waiter), m_waiters.end());
}

void GameSession::notifyWaiters(ERRORID result) {
  std::vector<SessionWaiter*> waiters;
  waiters.swap(m_waiters);
  for (SessionWaiter* w : waiters)
    w->onSessionResult(result);
}

EnterSessionMessage GameSession::makeEnterRequest() const {
  EnterSessionMessage m(m_info.sessionId, {}, {}, {}, m_localAddress);
  ToolboxCore* core = ToolboxCore::instance();
  for (int slot = 0; core && slot < ToolboxCore::kLocalSlots; ++slot) {
    LocalPlayer* p = core->getLocalPlayer(slot);
    if (!p) continue;
    Ticket ticket;
    p->findTicket(m_info.sessionId, ticket);
    m.players.push_back(p->getPlayerID(m_info.connectionType()));
    m.logins.push_back(p->getLogin());
    m.tickets.push_back(ticket);
  }
  return m;
}

bool GameSession::requestToEnter() {
  EnterSessionMessage m = makeEnterRequest();
  return send(m_info.ownerId, m);
}

void SessionMessageSink::onMessage(int localPlayerIndex, Blob& message) {
  if (GameSession* session = GameSession::current())
    session->processMessage(localPlayerIndex, message);
}

}  // namespace OX_Toolbox
