#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthService.h"

#include <cstring>
#include <vector>

#include "bdCore/bdCrypto/bdCryptoUtils.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdLobbyCommon/bdAuth.h"
#include "bdSocket/bdCommonAddr.h"

namespace OX_Toolbox {

namespace {

const char* const kChannel = "OlvexAuthService";

bdReference<bdMessage> emptyRequest(unsigned char type) {
  bdReference<bdMessage> m(new bdMessage(type, false));
  return m;
}

bdReference<bdMessage> bytesRequest(unsigned char type, const unsigned char* bytes,
                                    unsigned long n) {
  bdReference<bdMessage> m(new bdMessage(type, false));
  bdReference<bdBitBuffer> payload = m->getPayload();
  if (payload.isNull()) return bdReference<bdMessage>();
  payload->writeUInt32(static_cast<std::uint32_t>(n));
  payload->writeBits(bytes, static_cast<unsigned int>(n) * 8);
  return m;
}

// The reply's status word, or 750 for a reply of another type.
bool replyStatus(bdMessage& reply, unsigned char type, std::uint32_t& status,
                 bdReference<bdBitBuffer>& payload) {
  if (reply.getType() != type) {
    status = 750;
    return false;
  }
  payload = reply.getPayload();
  if (payload.isNull() || !payload->readUInt32(status)) status = 750;
  return status == OlvexAuthService::kNoError;
}

}  // namespace

OlvexAuthService::OlvexAuthService(const unsigned char* signatureKey, unsigned long keyLength,
                                   const std::string& firstText, const std::string& secondText,
                                   const std::string& thirdText, const bdAddr& server)
    : m_server(server), m_texts{firstText, secondText, thirdText} {
  int err = auth::registerAll();
  if (err == auth::kOk) err = m_random.make();
  if (err == auth::kOk) {
    err = rsa_import(signatureKey, keyLength, &m_signatureKey);
    m_signatureKeyImported = err == auth::kOk;
  }
  if (err != auth::kOk) {
    bdLogError(kChannel, "OlvexAuthService: %s", error_to_string(err));
    return;
  }
  m_status = IDLE;
}

OlvexAuthService::~OlvexAuthService() {
  finish();
  if (m_signatureKeyImported) rsa_free(&m_signatureKey);
}

bool OlvexAuthService::login(const std::string& name, const std::string& password,
                             bdReference<AuthResultHolder> holder, std::uint32_t retryLimit) {
  if (m_status != IDLE) return false;
  m_account[0] = name;
  m_account[1] = password;
  m_holder = holder;
  m_creating = false;
  return start(retryLimit);
}

bool OlvexAuthService::createAccount(const std::string (&texts)[6],
                                     bdReference<AuthResultHolder> holder,
                                     std::uint32_t retryLimit) {
  if (m_status != IDLE) return false;
  for (int i = 0; i < 6; ++i)
    m_account[i] = texts[i];
  m_holder = holder;
  m_creating = true;
  return start(retryLimit);
}

bool OlvexAuthService::deleteAccount(const std::string&, const std::string&) {
  m_lastError = 701;
  return false;
}

bool OlvexAuthService::start(std::uint32_t retryLimit) {
  m_retryLimit = retryLimit;
  m_retryCount = 0;
  m_lastError = kNoError;
  connect();
  return true;
}

void OlvexAuthService::connect() {
  bdReference<bdCommonAddr> addr(new bdCommonAddr(m_server));
  m_connection = new bdStreamConnection(addr, m_sendBuffer, m_receiveBuffer, kBufferSize);
  m_status = CONNECTING;
  m_connection->connect();
}

bool OlvexAuthService::connectionSettled(std::uint32_t& error) {
  if (m_connection.isNull()) {
    error = 109;
    return true;
  }
  m_connection->pump();
  const bdConnection::Status s = m_connection->getStatus();
  if (s == bdConnection::BD_CONNECTING) return false;
  error = s == bdConnection::BD_CONNECTED ? kNoError : 109;
  return true;
}

bool OlvexAuthService::replyArrived(std::uint32_t& error) {
  bdReference<bdMessage> reply;
  if (m_connection.notNull() && m_connection->getMessageToDispatch(reply)) {
    m_reply = reply;
    error = kNoError;
    return true;
  }
  if (m_connection.notNull() && m_connection->getStatus() == bdConnection::BD_CONNECTED)
    return false;
  error = 108;
  return true;
}

bool OlvexAuthService::send(const bdReference<bdMessage>& message) {
  return message.notNull() && m_connection.notNull() && m_connection->send(message, false);
}

OlvexAuthService::Status OlvexAuthService::getStatus() {
  std::uint32_t error = kNoError;
  switch (m_status) {
    case CONNECTING:
      if (!connectionSettled(error)) return m_status;
      m_lastError = error;
      if (error == kNoError) {
        if (send(emptyRequest(CERTIFICATE_REQUEST))) {
          m_status = AWAITING_CERTIFICATE;
        } else {
          m_status = IDLE;
          m_lastError = 751;
        }
      } else if (++m_retryCount <= m_retryLimit) {
        connect();
      } else {
        m_status = IDLE;
      }
      break;
    case AWAITING_CERTIFICATE:
      if (!replyArrived(error)) return m_status;
      m_lastError = error;
      m_status = IDLE;
      if (error == kNoError && (m_lastError = handleCertificate(*m_reply)) == kNoError) {
        if (send(emptyRequest(CHALLENGE_REQUEST))) {
          m_status = AWAITING_CHALLENGE;
        } else {
          m_lastError = 752;
        }
      }
      break;
    case AWAITING_CHALLENGE:
      if (!replyArrived(error)) return m_status;
      m_lastError = error;
      m_status = IDLE;
      if (error == kNoError && (m_lastError = handleChallenge(*m_reply)) == kNoError) {
        if (m_creating) {
          if (send(accountRequest())) {
            m_status = AWAITING_ACCOUNT_REPLY;
          } else {
            m_lastError = 758;
          }
        } else if (send(ticketRequest())) {
          m_status = AWAITING_TICKET;
        } else {
          m_lastError = 753;
        }
      }
      break;
    case AWAITING_ACCOUNT_REPLY: {
      if (!replyArrived(error)) return m_status;
      m_lastError = error;
      m_status = IDLE;
      if (error != kNoError) break;
      bdReference<bdBitBuffer> payload;
      std::uint32_t status = 0;
      replyStatus(*m_reply, ACCOUNT_REPLY, status, payload);
      m_lastError = status;
      if (status == kNoError && m_holder.notNull()) {
        if (send(ticketRequest())) {
          m_status = AWAITING_TICKET;
        } else {
          m_lastError = 753;
        }
      }
      break;
    }
    case AWAITING_TICKET:
      if (!replyArrived(error)) return m_status;
      m_lastError = error == kNoError ? handleTicket(*m_reply) : error;
      m_status = IDLE;
      break;
    default:
      return m_status;
  }
  if (m_status == IDLE) finish();
  return m_status;
}

void OlvexAuthService::finish() {
  if (m_connection.notNull()) m_connection->close();
  m_connection = bdReference<bdStreamConnection>();
  m_reply = bdReference<bdMessage>();
  if (m_certificateImported) {
    rsa_free(&m_certificateKey);
    m_certificateImported = false;
  }
}

std::uint32_t OlvexAuthService::handleCertificate(bdMessage& reply) {
  bdReference<bdBitBuffer> payload;
  std::uint32_t status = 0;
  if (!replyStatus(reply, CERTIFICATE_REPLY, status, payload)) return status;
  std::uint32_t n = 0;
  if (!payload->readUInt32(n)) {
    bdLogWarn(kChannel, "Malformed certificate response!");
    return 754;
  }
  if (n > kMaxCertificateLength) {
    bdLogWarn(kChannel, "Certificate cipherText is too large!");
    return 754;
  }
  std::vector<unsigned char> bytes(n ? n : 1);
  if (!payload->readBits(bytes.data(), n * 8)) {
    bdLogWarn(kChannel, "Failed to read certificate ciphertext.");
    return 754;
  }
  if (m_certificateImported) {
    rsa_free(&m_certificateKey);
    m_certificateImported = false;
  }
  const int err =
      auth::AuthImportCertificate(bytes.data(), n, &m_signatureKey, &m_certificateKey, nullptr);
  if (err != auth::kOk) {
    bdLogWarn(kChannel, "Certificate import failed: %s", error_to_string(err));
    return 754;
  }
  m_certificateImported = true;
  return kNoError;
}

std::uint32_t OlvexAuthService::handleChallenge(bdMessage& reply) {
  bdReference<bdBitBuffer> payload;
  std::uint32_t status = 0;
  if (!replyStatus(reply, CHALLENGE_REPLY, status, payload)) return status;
  std::uint32_t n = 0;
  char text[sizeof m_challenge] = {};
  if (!payload->readUInt32(n) || n >= sizeof m_challenge - 1 || !payload->readBits(text, n * 8)) {
    bdLogWarn(kChannel, "Malformed challenge response!");
    return 755;
  }
  std::memcpy(m_challenge, text, n);
  m_challenge[n] = 0;
  return kNoError;
}

bdReference<bdMessage> OlvexAuthService::ticketRequest() {
  auth::TicketRequest r;
  r.configText = m_texts[0];
  r.challenge = m_challenge;
  r.login = m_account[0];
  if (auth::AuthPasswordProof(m_account[0], m_challenge, m_account[1], r.proof) != auth::kOk)
    return bdReference<bdMessage>();
  unsigned char out[1024];
  unsigned long n = sizeof out;
  const int err = auth::AuthMakeTicketRequest(r, &m_certificateKey, m_random, out, &n);
  if (err != auth::kOk) {
    bdLogWarn(kChannel, "Failed to generate ticket request: %s", error_to_string(err));
    return bdReference<bdMessage>();
  }
  std::memcpy(m_userKey, r.userKey, sizeof m_userKey);
  return bytesRequest(TICKET_REQUEST, out, n);
}

bdReference<bdMessage> OlvexAuthService::accountRequest() {
  auth::AccountRecord record;
  record.texts[0] = m_texts[0];
  record.texts[1] = m_challenge;
  for (int i = 0; i < 6; ++i)
    record.texts[2 + i] = m_account[i];
  record.texts[8] = m_texts[2];
  unsigned char out[2048];
  unsigned long n = sizeof out;
  const int err = auth::AuthMakeAccountRequest(record, &m_certificateKey, m_random, out, &n);
  if (err != auth::kOk) {
    bdLogWarn(kChannel, "Failed to generate new account request: %s", error_to_string(err));
    return bdReference<bdMessage>();
  }
  return bytesRequest(ACCOUNT_REQUEST, out, n);
}

std::uint32_t OlvexAuthService::handleTicket(bdMessage& reply) {
  bdReference<bdBitBuffer> payload;
  std::uint32_t status = 0;
  if (!replyStatus(reply, TICKET_REPLY, status, payload)) return status;
  std::uint32_t seed = 0;
  unsigned char sealed[bdAuthTicket::SIZE];
  if (!payload->readUInt32(seed) || !payload->readBits(sealed, sizeof sealed * 8)) {
    bdLogWarn(kChannel, "Failed to read user ticket.");
    return 756;
  }
  unsigned char iv[bdCryptoUtils::IV_SIZE];
  unsigned char plain[bdAuthTicket::SIZE];
  if (!bdCryptoUtils::calculateInitialVector(seed, iv) ||
      !bdCryptoUtils::decrypt(m_userKey, iv, sealed, plain, sizeof plain)) {
    bdLogWarn(kChannel, "Failed to read user ticket.");
    return 756;
  }
  bdAuthTicket ticket;
  ticket.deserialize(plain);
  if (ticket.m_magic != bdAuthTicket::MAGIC) return 716;
  unsigned char block[128];
  if (!payload->readBits(block, sizeof block * 8)) {
    bdLogWarn(kChannel, "Failed to read MM+ ticket.");
    return 756;
  }
  if (m_holder.notNull()) {
    std::memcpy(m_holder->sessionKey, ticket.m_key, sizeof m_holder->sessionKey);
    std::memcpy(m_holder->ticketBlock, block, sizeof block);
    m_holder->ticketValue = ticket.m_value1;
    m_holder->ticketStatus = kNoError;
  }
  return kNoError;
}

}  // namespace OX_Toolbox
