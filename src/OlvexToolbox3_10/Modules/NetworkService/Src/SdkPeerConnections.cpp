#include "Modules/NetworkService/Src/SdkPeerConnections.h"

#include <algorithm>
#include <cstring>

#include "Modules/Session/Src/GameSession.h"
#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdNet/bdMessage.h"
#include "bdNet/bdNetImpl.h"

namespace OX_Toolbox {

namespace {

const SessionInfo* CurrentSessionInfo(void*) {
  GameSession* s = GameSession::current();
  return s ? &s->info() : nullptr;
}

}  // namespace

SdkPeerConnections::SdkPeerConnections(bdNetImpl* net) : m_net(net), m_source(CurrentSessionInfo) {}

SdkPeerConnections::~SdkPeerConnections() {
  bdNetImpl* n = net();
  if (m_registered && n) {
    n->unregisterDispatchInterceptor(this);
    if (bdConnectionStore* store = n->getConnectionStore()) store->unregisterListener(this);
  }
  for (bdReference<bdConnection>& c : m_heard)
    c->unregisterListener(this);
}

void SdkPeerConnections::setSessionSource(SessionSource source, void* context) {
  m_source = source ? source : CurrentSessionInfo;
  m_sourceContext = context;
}

bdNetImpl* SdkPeerConnections::net() const {
  if (m_net) return m_net;
  return bdSingleton<bdNetImpl>::exists() ? bdSingleton<bdNetImpl>::getInstance() : nullptr;
}

const SessionInfo* SdkPeerConnections::session() const { return m_source(m_sourceContext); }

PeerAddress SdkPeerConnections::localAddress(const SessionID& key) const {
  bdNetImpl* n = net();
  bdReference<bdCommonAddr> local = n ? n->getLocalCommonAddr() : bdReference<bdCommonAddr>();
  return local.isNull() ? PeerAddress() : ToPeerAddress(*local, key);
}

PeerAddress SdkPeerConnections::addressOf(bdConnection& connection, const SessionID& key) const {
  bdReference<bdCommonAddr> common = connection.getAddress();
  return common.isNull() ? PeerAddress() : ToPeerAddress(*common, key);
}

void SdkPeerConnections::remember(bdReference<bdConnection> connection) {
  for (const bdReference<bdConnection>& c : m_heard) {
    if (c.get() == connection.get()) return;
  }
  m_heard.push_back(connection);
}

bool SdkPeerConnections::getNextMessage(PeerAddress& from, Blob& out) {
  if (m_incoming.empty()) return false;
  const std::vector<unsigned char>& bytes = m_incoming.front().second;
  // A read-only blob that owns its copy: reads move its cursor.
  auto* copy = static_cast<unsigned char*>(ToolboxAlloc(bytes.size() + 1));
  if (!copy) return false;
  if (!bytes.empty()) std::memcpy(copy, bytes.data(), bytes.size());
  out = Blob(BLOB_READONLY);
  out.setData(copy, static_cast<std::uint32_t>(bytes.size()));
  out.setOwnsData(true);
  from = m_incoming.front().first;
  m_incoming.pop_front();
  return true;
}

void SdkPeerConnections::attach() {
  if (m_registered) return;
  bdNetImpl* n = net();
  if (!n || n->getStatus() != bdNetImpl::BD_NET_STARTED || !n->getConnectionStore()) return;
  n->registerDispatchInterceptor(this);
  n->getConnectionStore()->registerListener(this);
  m_registered = true;
}

bool SdkPeerConnections::send(const PeerAddress& to, const Blob& envelope) {
  for (Route& r : m_routes) {
    if (!sameMachine(r.address, to)) continue;
    bdReference<bdMessage> message(new bdMessage(kDataMessage, true));
    bdReference<bdBitBuffer> payload = message->getPayload();
    payload->writeUInt32(envelope.getSize());
    payload->writeBits(envelope.getData(), envelope.getSize() * 8);
    return r.connection->send(message, true);
  }
  return false;
}

bool SdkPeerConnections::sendRouteNotice(bdReference<bdConnection>& connection, bool open) {
  bdReference<bdMessage> message(new bdMessage(kRouteMessage, true));
  message->getPayload()->writeBool(open);
  return connection->send(message, true);
}

std::uint32_t SdkPeerConnections::record(std::uint32_t kind, ERRORID result,
                                         bdReference<bdConnection> connection, bool done) {
  const std::uint32_t id = NextRouteRequestId();
  m_requests.push_back(Request{kind, id, done ? kRouteRequestDone : 0u, result, connection});
  return id;
}

std::uint32_t SdkPeerConnections::openRoute(const PeerAddress& to) {
  const SessionInfo* s = session();
  bdNetImpl* n = net();
  bdConnectionStore* store = n ? n->getConnectionStore() : nullptr;
  if (!s || !store) return record(KIND_OPEN, ERRORID_CONNECTION_FAILURE, nullptr, true);
  bdSecurityID id;
  bdSecurityKey key;
  std::memcpy(id.ab, s->sessionId.data(), bdSecurityID::SIZE);
  std::memcpy(key.ab, s->sessionKey.data(), bdSecurityKey::SIZE);
  n->getSecurityKeyMap()->put(id, key);
  bdReference<bdCommonAddr> common(new bdCommonAddr());
  if (!common->deserialize(n->getLocalCommonAddr(), to.commonAddr.data(),
                           PeerAddress::kCommonAddrSize))
    return record(KIND_OPEN, ERRORID_CONNECTION_FAILURE, nullptr, true);
  bdReference<bdConnection> connection = store->create(common, id);
  if (connection.isNull()) return record(KIND_OPEN, ERRORID_CONNECTION_FAILURE, nullptr, true);
  remember(connection);
  if (connection->getStatus() == bdConnection::BD_CONNECTED) {
    m_routes.push_back(Route{to, connection});
    const bool sent = sendRouteNotice(connection, true);
    return record(KIND_OPEN, sent ? ERRORID_SUCCEEDED : ERRORID_CONNECTION_FAILURE, connection,
                  true);
  }
  // A new connection reads as not connected until it is asked to connect.
  if (connection->getStatus() != bdConnection::BD_CONNECTING && !connection->connect())
    return record(KIND_OPEN, ERRORID_CONNECTION_FAILURE, connection, true);
  m_routes.push_back(Route{to, connection});
  return record(KIND_OPEN, ERRORID_INVALID, connection, false);
}

std::uint32_t SdkPeerConnections::closeRoute(const PeerAddress& to) {
  for (auto it = m_routes.begin(); it != m_routes.end();) {
    if (sameMachine(it->address, to)) {
      sendRouteNotice(it->connection, false);
      it = m_routes.erase(it);
    } else {
      ++it;
    }
  }
  return record(KIND_CLOSE, ERRORID_SUCCEEDED, nullptr, true);
}

std::uint32_t SdkPeerConnections::closeAllRoutes() {
  for (Route& r : m_routes)
    sendRouteNotice(r.connection, false);
  m_routes.clear();
  return record(KIND_CLOSE, ERRORID_SUCCEEDED, nullptr, true);
}

std::uint32_t SdkPeerConnections::requestStatus(std::uint32_t requestId) {
  for (const Request& r : m_requests) {
    if (r.id == requestId) return r.status;
  }
  return kRouteRequestDone;
}

ERRORID SdkPeerConnections::takeRequestResult(std::uint32_t requestId) {
  ERRORID result = ERRORID_FAILED;
  bool found = false;
  for (auto it = m_requests.begin(); it != m_requests.end();) {
    if (it->id == requestId) {
      if (!found) result = it->result;
      found = true;
      it = m_requests.erase(it);
    } else {
      ++it;
    }
  }
  return result;
}

void SdkPeerConnections::complete(bdConnection* connection, std::uint32_t kind, ERRORID result) {
  for (Request& r : m_requests) {
    if (r.status != kRouteRequestDone && r.kind == kind && r.connection.get() == connection) {
      r.status = kRouteRequestDone;
      r.result = result;
    }
  }
}

void SdkPeerConnections::eraseRoutesOver(bdConnection* connection) {
  m_routes.erase(std::remove_if(m_routes.begin(), m_routes.end(),
                                [&](const Route& r) { return r.connection.get() == connection; }),
                 m_routes.end());
}

void SdkPeerConnections::onConnect(bdReference<bdConnection> connection) {
  remember(connection);
  bool routed = false;
  for (Route& r : m_routes)
    routed = routed || r.connection.get() == connection.get();
  if (!routed) return;  // a peer's connection to us: its notice makes the route
  const bool sent = sendRouteNotice(connection, true);
  complete(connection.get(), KIND_OPEN, sent ? ERRORID_SUCCEEDED : ERRORID_FAILED);
}

void SdkPeerConnections::onConnectFailed(bdReference<bdConnection> connection) {
  complete(connection.get(), KIND_OPEN, ERRORID_CONNECTION_FAILURE);
  eraseRoutesOver(connection.get());
}

void SdkPeerConnections::onDisconnect(bdReference<bdConnection> connection) {
  complete(connection.get(), KIND_OPEN, ERRORID_CONNECTION_FAILURE);
  complete(connection.get(), KIND_CLOSE, ERRORID_SUCCEEDED);
  // A connection that went down carries nothing more; sends fail instead.
  eraseRoutesOver(connection.get());
}

bool SdkPeerConnections::accept(const bdDispatchItem& item) {
  const unsigned char type = item.m_message->getType();
  if (type != kDataMessage && type != kRouteMessage) return false;
  bdConnection* connection = item.m_connection.get();
  const SessionInfo* s = session();
  bdReference<bdBitBuffer> payload = item.m_message->getPayload();
  if (type == kRouteMessage) {
    bool open = false;
    if (!payload->readBool(open)) return true;
    eraseRoutesOver(connection);
    if (open && s) {
      remember(item.m_connection);
      m_routes.push_back(Route{addressOf(*connection, s->sessionId), item.m_connection});
    }
    return true;
  }
  bool routed = false;
  for (const Route& r : m_routes)
    routed = routed || r.connection.get() == connection;
  if (!routed || !s) return true;
  std::uint32_t length = 0;
  if (!payload->readUInt32(length) || length > kMaxEnvelope) return true;
  std::vector<unsigned char> bytes(length);
  if (length && !payload->readBits(bytes.data(), length * 8)) return true;
  m_incoming.emplace_back(addressOf(*connection, s->sessionId), std::move(bytes));
  return true;
}

}  // namespace OX_Toolbox
