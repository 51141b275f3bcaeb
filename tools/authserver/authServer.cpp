#include "authServer.h"

#include <cstring>

#include "bdCore/bdCrypto/bdCryptoUtils.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdLobbyCommon/bdAuth.h"
#include "bdSocket/bdAddr.h"
#include "bdStreamConnection/bdStreamFrame.h"

using namespace OX_Toolbox;

namespace authserver {

namespace {
constexpr std::uint32_t kOk = 700;
constexpr std::uint32_t kBadUser = 704;
constexpr std::uint32_t kTaken = 707;
constexpr std::uint32_t kBadPassword = 716;
constexpr std::uint32_t kBadRequest = 750;
}  // namespace

AuthServer::AuthServer() = default;

AuthServer::~AuthServer() {
  m_clients.clear();
  m_listener.close();
  if (m_keys) {
    rsa_free(&m_signing);
    rsa_free(&m_certificateKey);
  }
}

bool AuthServer::start(unsigned short port) {
  if (auth::registerAll() != auth::kOk || m_random.make() != auth::kOk) return false;
  if (rsa_make_key(&m_random.state, m_random.index, 128, 65537, &m_signing) != auth::kOk)
    return false;
  if (rsa_make_key(&m_random.state, m_random.index, 256, 65537, &m_certificateKey) != auth::kOk) {
    rsa_free(&m_signing);
    return false;
  }
  m_keys = true;
  m_signingPublic.resize(1024);
  unsigned long n = m_signingPublic.size();
  if (rsa_export(m_signingPublic.data(), &n, PK_PUBLIC, &m_signing) != auth::kOk) return false;
  m_signingPublic.resize(n);
  auth::Certificate fields;
  fields.firstName = "auth.test";
  fields.secondName = "loopback";
  m_certificate = signCertificate(fields, true);
  if (m_certificate.empty()) return false;
  if (!m_listener.create()) return false;
  if (m_listener.listen(bdAddr(bdInetAddr::getLoopback(), port)) != BD_NET_SUCCESS) return false;
  m_listener.setBlocking(false);
  m_port = m_listener.getPort();
  return m_port != 0;
}

std::vector<unsigned char> AuthServer::signCertificate(const auth::Certificate& fields,
                                                       bool ownSigner) {
  rsa_key other;
  if (!ownSigner && rsa_make_key(&m_random.state, m_random.index, 128, 65537, &other) != auth::kOk)
    return {};
  std::vector<unsigned char> out(8192);
  unsigned long n = out.size();
  const int err = auth::AuthSignCertificate(
      fields, &m_certificateKey, ownSigner ? &m_signing : &other, m_random, out.data(), &n);
  if (!ownSigner) rsa_free(&other);
  if (err != auth::kOk) return {};
  out.resize(n);
  return out;
}

void AuthServer::setLobbyKey(const unsigned char* key) {
  m_sealBlock = key != nullptr;
  if (key) std::memcpy(m_lobbyKey, key, sizeof m_lobbyKey);
}

void AuthServer::addAccount(const std::string& name, const std::string& password) {
  m_accounts[name] = password;
}

void AuthServer::pump() {
  for (;;) {
    bdAddr peer;
    bdStreamSocket* s = m_listener.accept(peer);
    if (s == nullptr) break;
    s->setBlocking(false);
    auto c = std::make_unique<Client>();
    c->socket.reset(s);
    m_clients.push_back(std::move(c));
  }
  for (auto& c : m_clients) {
    if (!c->dropped && !readClient(*c)) c->dropped = true;
    if (!c->dropped) flush(*c);
  }
  for (std::size_t i = 0; i < m_clients.size();) {
    if (m_clients[i]->dropped) {
      m_clients.erase(m_clients.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

bool AuthServer::readClient(Client& c) {
  unsigned char chunk[8192];
  for (;;) {
    const int n = c.socket->receive(chunk, sizeof chunk);
    if (n == 0) return false;
    if (n < 0) {
      if (n == BD_NET_WOULD_BLOCK || n == BD_NET_NOT_CONNECTED) break;
      return false;
    }
    c.in.insert(c.in.end(), chunk, chunk + n);
    if (static_cast<unsigned int>(n) < sizeof chunk) break;
  }
  std::size_t at = 0;
  bool ok = true;
  while (ok) {
    bdStreamFrame::Decoded frame;
    const bdStreamFrame::Result r =
        bdStreamFrame::decode(c.in.data() + at, static_cast<unsigned int>(c.in.size() - at),
                              bdStreamFrame::MAX_LENGTH, nullptr, frame);
    if (r == bdStreamFrame::NEED_MORE) break;
    if (r == bdStreamFrame::BAD_FRAME || r == bdStreamFrame::BAD_MAGIC) return false;
    at += frame.consumed;
    if (r == bdStreamFrame::MESSAGE) ok = handle(c, frame.type, frame.payload, frame.payloadSize);
  }
  c.in.erase(c.in.begin(), c.in.begin() + static_cast<std::ptrdiff_t>(at));
  return ok;
}

void AuthServer::reply(Client& c, unsigned char type, const std::vector<std::uint32_t>& words,
                       const unsigned char* bytes, unsigned int n, const unsigned char* more,
                       unsigned int moreN) {
  bdBitBuffer payload(0, false);
  for (std::uint32_t w : words)
    payload.writeUInt32(w);
  if (n) payload.writeBits(bytes, n * 8);
  if (moreN) payload.writeBits(more, moreN * 8);
  const unsigned int size = payload.getDataSize();
  const unsigned int frame = bdStreamFrame::frameSize(size, false);
  if (frame == 0) return;
  const std::size_t at = c.out.size();
  c.out.resize(at + frame);
  if (bdStreamFrame::encode(c.out.data() + at, frame, type, payload.getData(), size, false, nullptr,
                            0) != frame)
    c.out.resize(at);
}

void AuthServer::flush(Client& c) {
  while (!c.out.empty()) {
    const int n = c.socket->send(c.out.data(), static_cast<unsigned int>(c.out.size()));
    if (n <= 0) return;
    c.out.erase(c.out.begin(), c.out.begin() + n);
  }
}

bool AuthServer::handle(Client& c, unsigned char type, const unsigned char* data,
                        unsigned int size) {
  bdBitBuffer in(data, size * 8, true);
  switch (type) {
    case 3:
      reply(c, 4, {kOk, static_cast<std::uint32_t>(m_certificate.size())}, m_certificate.data(),
            static_cast<unsigned int>(m_certificate.size()));
      return true;
    case 5:
      reply(c, 6, {kOk, static_cast<std::uint32_t>(m_challenge.size())},
            reinterpret_cast<const unsigned char*>(m_challenge.data()),
            static_cast<unsigned int>(m_challenge.size()));
      return true;
    case 7:
    case 9: {
      std::uint32_t n = 0;
      std::vector<unsigned char> request;
      if (in.readUInt32(n) && n <= 4096) {
        request.resize(n ? n : 1);
        if (!in.readBits(request.data(), n * 8)) request.clear();
      }
      if (request.empty()) {
        reply(c, type + 1, {kBadRequest}, nullptr, 0);
        return true;
      }
      if (type == 9) {
        auth::AccountRecord record;
        if (auth::AuthOpenAccountRequest(request.data(), n, &m_certificateKey, record) !=
                auth::kOk ||
            record.texts[1] != m_challenge) {
          reply(c, 10, {kBadRequest}, nullptr, 0);
        } else if (hasAccount(record.texts[2])) {
          reply(c, 10, {kTaken}, nullptr, 0);
        } else {
          addAccount(record.texts[2], record.texts[3]);
          reply(c, 10, {kOk}, nullptr, 0);
        }
        return true;
      }
      auth::TicketRequest r;
      if (auth::AuthOpenTicketRequest(request.data(), n, &m_certificateKey, r) != auth::kOk ||
          r.challenge != m_challenge) {
        reply(c, 8, {kBadRequest}, nullptr, 0);
        return true;
      }
      const auto account = m_accounts.find(r.login);
      if (account == m_accounts.end()) {
        reply(c, 8, {kBadUser}, nullptr, 0);
        return true;
      }
      std::string proof;
      if (auth::AuthPasswordProof(r.login, r.challenge, account->second, proof) != auth::kOk ||
          proof != r.proof) {
        reply(c, 8, {kBadPassword}, nullptr, 0);
        return true;
      }
      bdAuthTicket ticket;
      ticket.m_magic = bdAuthTicket::MAGIC;
      ticket.m_ticketType = 1;
      ticket.m_value1 = 1;
      ticket.m_id1 = bdAuthUtility::getUserID(r.login.c_str());
      std::strncpy(reinterpret_cast<char*>(ticket.m_block), r.login.c_str(),
                   sizeof ticket.m_block - 1);
      m_random.read(ticket.m_key, sizeof ticket.m_key);
      unsigned char plain[bdAuthTicket::SIZE] = {};
      ticket.serialize(plain);
      std::uint32_t seed = 0;
      m_random.read(reinterpret_cast<unsigned char*>(&seed), sizeof seed);
      unsigned char iv[bdCryptoUtils::IV_SIZE];
      unsigned char sealed[bdAuthTicket::SIZE];
      if (!bdCryptoUtils::calculateInitialVector(seed, iv) ||
          !bdCryptoUtils::encrypt(r.userKey, iv, plain, sealed, sizeof sealed))
        return false;
      ++m_tickets;
      // The lobby's own ticket block: sealed with the lobby's key when one was
      // given, else the plain ticket, for tests to read.
      unsigned char block[bdAuthTicket::SIZE];
      std::memcpy(block, plain, sizeof block);
      if (m_sealBlock) {
        unsigned char zeroIv[bdCryptoUtils::IV_SIZE];
        if (!bdCryptoUtils::calculateInitialVector(0, zeroIv) ||
            !bdCryptoUtils::encrypt(m_lobbyKey, zeroIv, plain, block, sizeof block))
          return false;
      }
      reply(c, 8, {kOk, seed}, sealed, sizeof sealed, block, sizeof block);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace authserver
