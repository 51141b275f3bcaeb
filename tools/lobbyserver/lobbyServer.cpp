#include "lobbyServer.h"

#include <cstring>

#include "bdCore/bdCrypto/bdCryptoUtils.h"
#include "bdCore/bdCrypto/bdRandom.h"
#include "bdLobbyCommon/bdAuth.h"
#include "bdStreamConnection/bdStreamFrame.h"

namespace lobbyserver {

namespace {
constexpr unsigned char kTaskReply = 1;
constexpr unsigned char kPushMessage = 2;
constexpr unsigned char kAuthMessage = 7;
constexpr unsigned int kReadChunk = 16384;
// The largest frame length this server reads; anything longer is a lie.
constexpr unsigned int kMaxFrameLength = bdStreamFrame::MAX_LENGTH;
}  // namespace

struct LobbyServer::Client {
  std::unique_ptr<bdStreamSocket> socket;
  std::vector<unsigned char> in;
  std::vector<unsigned char> out;
  bool authenticated = false;
  bool dropped = false;
  std::uint64_t userID = 0;
  unsigned char key[KEY_SIZE] = {};
  std::uint32_t seed = 0;
  bdStopwatch sinceReceived;
  bdStopwatch sinceAccepted;
  bdStopwatch sinceSent;
};

LobbyServer::LobbyServer(const unsigned char testKey[KEY_SIZE])
    : m_port(0), m_maxBacklog(1u << 20), m_dropped(0) {
  std::memcpy(m_key, testKey, KEY_SIZE);
}

LobbyServer::~LobbyServer() { stop(); }

bool LobbyServer::start(unsigned short port) {
  if (!m_listener.create()) return false;
  if (m_listener.listen(bdAddr(bdInetAddr::getLoopback(), port)) != BD_NET_SUCCESS) return false;
  m_listener.setBlocking(false);
  m_port = m_listener.getPort();
  return m_port != 0;
}

void LobbyServer::stop() {
  m_clients.clear();
  m_listener.close();
}

unsigned int LobbyServer::getAuthenticatedCount() const {
  unsigned int n = 0;
  for (const auto& c : m_clients)
    n += c->authenticated ? 1 : 0;
  return n;
}

bdReference<bdLobbyCredentials> LobbyServer::makeCredentials(const unsigned char testKey[KEY_SIZE],
                                                             std::uint64_t userID,
                                                             const char* name) {
  bdAuthTicket ticket;
  ticket.m_magic = bdAuthTicket::MAGIC;
  ticket.m_ticketType = 1;
  ticket.m_id1 = userID;
  std::strncpy(reinterpret_cast<char*>(ticket.m_block), name, sizeof ticket.m_block - 1);
  bdRandom::getInstance()->getRandomBytes(ticket.m_key, sizeof ticket.m_key);
  unsigned char plain[bdAuthTicket::SIZE] = {};
  ticket.serialize(plain);
  bdReference<bdLobbyCredentials> credentials(new bdLobbyCredentials());
  credentials->m_value1 = 1;
  unsigned char iv[bdCryptoUtils::IV_SIZE];
  bdCryptoUtils::calculateInitialVector(0, iv);
  bdCryptoUtils::encrypt(testKey, iv, plain, credentials->m_ticket, bdAuthTicket::SIZE);
  std::memcpy(credentials->m_sessionKey, ticket.m_key, KEY_SIZE);
  return credentials;
}

void LobbyServer::accept() {
  for (;;) {
    bdAddr peer;
    bdStreamSocket* s = m_listener.accept(peer);
    if (s == nullptr) return;
    s->setBlocking(false);
    auto c = std::make_unique<Client>();
    c->socket.reset(s);
    c->sinceReceived.start();
    c->sinceAccepted.start();
    c->sinceSent.start();
    m_clients.push_back(std::move(c));
  }
}

void LobbyServer::pump() {
  accept();
  for (std::size_t i = 0; i < m_clients.size(); ++i) {
    Client& c = *m_clients[i];
    if (!c.dropped && !readClient(c)) c.dropped = true;
    // Keep-alives, as the client sends them: two zero bytes after 40 s of silence.
    if (c.authenticated && c.out.empty() && c.sinceSent.getElapsedTimeAsSeconds() > 40.0) {
      c.out.push_back(0);
      c.out.push_back(0);
    }
    if (!c.dropped && !flush(c)) c.dropped = true;
    const bool silent = c.sinceReceived.getElapsedTimeAsSeconds() > IDLE_SECONDS;
    const bool late = !c.authenticated && c.sinceAccepted.getElapsedTimeAsSeconds() > AUTH_SECONDS;
    if (silent || late) c.dropped = true;
  }
  for (std::size_t i = 0; i < m_clients.size();) {
    if (m_clients[i]->dropped) {
      if (m_clients[i]->authenticated) m_store.setOnline(m_clients[i]->userID, false);
      m_clients.erase(m_clients.begin() + static_cast<std::ptrdiff_t>(i));
      ++m_dropped;
    } else {
      ++i;
    }
  }
}

bool LobbyServer::readClient(Client& c) {
  unsigned char chunk[kReadChunk];
  for (;;) {
    const int n = c.socket->receive(chunk, sizeof chunk);
    if (n == 0) return false;
    if (n < 0) {
      if (n == BD_NET_WOULD_BLOCK || n == BD_NET_NOT_CONNECTED) break;
      return false;
    }
    c.sinceReceived.start();
    c.in.insert(c.in.end(), chunk, chunk + n);
    if (static_cast<unsigned int>(n) < sizeof chunk) break;
  }
  std::size_t at = 0;
  bool ok = true;
  while (ok) {
    bdStreamFrame::Decoded frame;
    const bdStreamFrame::Result r =
        bdStreamFrame::decode(c.in.data() + at, static_cast<unsigned int>(c.in.size() - at),
                              kMaxFrameLength, c.authenticated ? c.key : nullptr, frame);
    if (r == bdStreamFrame::NEED_MORE) break;
    if (r == bdStreamFrame::BAD_FRAME || r == bdStreamFrame::BAD_MAGIC) return false;
    at += frame.consumed;
    if (r == bdStreamFrame::MESSAGE) {
      ok = handleFrame(c, frame.type, frame.payload, frame.payloadSize);
    }
  }
  c.in.erase(c.in.begin(), c.in.begin() + static_cast<std::ptrdiff_t>(at));
  return ok;
}

bool LobbyServer::authenticate(Client& c, const unsigned char* payload, unsigned int size) {
  bdBitBuffer auth(payload, size * 8, true);
  std::uint32_t values[2] = {0, 0};
  unsigned char sealed[bdAuthTicket::SIZE];
  if (auth.isTyped() || !auth.readBits(&values[0], 32) || !auth.readBits(&values[1], 32) ||
      !auth.readBits(sealed, bdAuthTicket::SIZE * 8)) {
    return false;
  }
  unsigned char iv[bdCryptoUtils::IV_SIZE];
  unsigned char plain[bdAuthTicket::SIZE];
  if (!bdCryptoUtils::calculateInitialVector(0, iv) ||
      !bdCryptoUtils::decrypt(m_key, iv, sealed, plain, bdAuthTicket::SIZE)) {
    return false;
  }
  bdAuthTicket ticket;
  ticket.deserialize(plain);
  if (!ticket.isValid()) return false;
  c.authenticated = true;
  c.userID = ticket.m_id1;
  std::memcpy(c.key, ticket.m_key, KEY_SIZE);
  char name[65] = {};
  std::memcpy(name, ticket.m_block, 64);
  m_store.addUser(c.userID, name);
  m_store.setOnline(c.userID, true);
  return true;
}

bool LobbyServer::handleFrame(Client& c, unsigned char type, const unsigned char* payload,
                              unsigned int size) {
  if (!c.authenticated) return type == kAuthMessage && authenticate(c, payload, size);
  if (type < 3 || type > 12 || size == 0) return false;
  bdBitBuffer request(payload, size * 8, true);
  unsigned char slot = 0;
  unsigned char id = 0;
  if (!request.isTyped() || !request.readUChar8(slot) || !request.readUChar8(id)) return false;
  bdBitBuffer reply(0, true);
  reply.writeUChar8(slot);
  reply.writeUChar8(id);
  std::vector<Outgoing> pushes;
  m_store.handle(c.userID, type, request, reply, pushes);
  if (!sendFrame(c, kTaskReply, reply)) return false;
  for (const Outgoing& p : pushes)
    deliver(p);
  return true;
}

bool LobbyServer::sendFrame(Client& c, unsigned char type, const bdBitBuffer& payload) {
  const unsigned int size = payload.getDataSize();
  const unsigned int frame = bdStreamFrame::frameSize(size, true);
  if (frame == 0) return false;
  const std::size_t at = c.out.size();
  c.out.resize(at + frame);
  if (bdStreamFrame::encode(c.out.data() + at, frame, type, payload.getData(), size, true, c.key,
                            c.seed++) != frame) {
    c.out.resize(at);
    return false;
  }
  // A client that leaves this much unread has stopped reading.
  return c.out.size() <= m_maxBacklog;
}

bool LobbyServer::flush(Client& c) {
  while (!c.out.empty()) {
    const int n = c.socket->send(c.out.data(), static_cast<unsigned int>(c.out.size()));
    if (n > 0) {
      c.sinceSent.start();
      c.out.erase(c.out.begin(), c.out.begin() + n);
      continue;
    }
    return n == BD_NET_WOULD_BLOCK || n == BD_NET_NOT_CONNECTED;
  }
  return true;
}

void LobbyServer::deliver(const Outgoing& out) { push(out.userID, out.message); }

bool LobbyServer::push(std::uint64_t userID, const PushMessage& message) {
  bdBitBuffer payload(0, true);
  if (!writePushMessage(message, payload)) return false;
  // The mailbox keeps the newest messages only.
  std::vector<PushMessage>& mailbox = m_store.mailbox(userID);
  if (mailbox.size() >= 100) mailbox.erase(mailbox.begin());
  mailbox.push_back(message);
  for (auto& c : m_clients) {
    if (c->authenticated && !c->dropped && c->userID == userID &&
        !sendFrame(*c, kPushMessage, payload)) {
      c->dropped = true;
    }
  }
  return true;
}

}  // namespace lobbyserver
