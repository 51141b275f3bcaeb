#pragma once
// The account module's client for the authentication server: over one
// stream connection it runs a login (certificate, challenge, ticket) or an
// account creation (certificate, challenge, account record, then a ticket
// when a result holder was given). No thread of its own: each getStatus()
// call advances the exchange by at most one step.
#include <cstdint>
#include <string>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthCrypto.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdNet/bdMessage.h"
#include "bdSocket/bdAddr.h"
#include "bdStreamConnection/bdStreamConnection.h"

namespace OX_Toolbox {

// Filled by a successful ticket reply.
class AuthResultHolder : public bdReferencable {
 public:
  std::uint32_t ticketValue = 0;
  std::uint32_t ticketStatus = 0;
  unsigned char ticketBlock[128] = {};
  unsigned char sessionKey[24] = {};
};

class OlvexAuthService : public bdReferencable {
 public:
  enum Status : std::int32_t {
    FAILED_CONSTRUCTION = -1,
    IDLE = 0,
    CONNECTING = 1,
    AWAITING_CERTIFICATE = 2,
    AWAITING_CHALLENGE = 3,
    AWAITING_ACCOUNT_REPLY = 4,
    AWAITING_TICKET = 5,
  };
  enum MessageType : unsigned char {
    CERTIFICATE_REQUEST = 3,
    CERTIFICATE_REPLY = 4,
    CHALLENGE_REQUEST = 5,
    CHALLENGE_REPLY = 6,
    TICKET_REQUEST = 7,
    TICKET_REPLY = 8,
    ACCOUNT_REQUEST = 9,
    ACCOUNT_REPLY = 10,
  };
  static constexpr std::uint32_t kNoError = 700;
  static constexpr std::uint32_t kMaxCertificateLength = 8192;
  // Room for the largest reply read: the certificate reply with the longest
  // certificate accepted, its two words and the frame around them.
  static constexpr unsigned int kBufferSize = kMaxCertificateLength + 64;

  // signatureKey: the service's public signing key (DER), which every
  // server certificate must be signed with.
  OlvexAuthService(const unsigned char* signatureKey, unsigned long keyLength,
                   const std::string& firstText, const std::string& secondText,
                   const std::string& thirdText, const bdAddr& server);
  ~OlvexAuthService() override;
  OlvexAuthService(const OlvexAuthService&) = delete;
  OlvexAuthService& operator=(const OlvexAuthService&) = delete;

  bool login(const std::string& name, const std::string& password,
             bdReference<AuthResultHolder> holder, std::uint32_t retryLimit);
  bool createAccount(const std::string (&texts)[6], bdReference<AuthResultHolder> holder,
                     std::uint32_t retryLimit);
  bool deleteAccount(const std::string& name, const std::string& password);

  Status getStatus();
  std::uint32_t getLastError() const { return m_lastError; }

  // The reply handlers, each returning a network-layer code (700 = no error).
  std::uint32_t handleCertificate(bdMessage& reply);
  std::uint32_t handleChallenge(bdMessage& reply);
  std::uint32_t handleTicket(bdMessage& reply);

 private:
  bool start(std::uint32_t retryLimit);
  void connect();
  // True once the connection stopped connecting; error 700 or 109.
  bool connectionSettled(std::uint32_t& error);
  // True once a reply came (700) or the connection went down (108).
  bool replyArrived(std::uint32_t& error);
  bool send(const bdReference<bdMessage>& message);
  bdReference<bdMessage> certificateRequest();
  bdReference<bdMessage> challengeRequest();
  bdReference<bdMessage> ticketRequest();
  bdReference<bdMessage> accountRequest();
  void finish();

  bdAddr m_server;
  bdReference<bdStreamConnection> m_connection;
  bdReference<bdMessage> m_reply;
  std::string m_texts[3];
  std::string m_account[6];
  bool m_creating = false;
  Status m_status = FAILED_CONSTRUCTION;
  std::uint32_t m_lastError = kNoError;
  auth::Random m_random;
  rsa_key m_signatureKey{};
  rsa_key m_certificateKey{};
  bool m_signatureKeyImported = false;
  bool m_certificateImported = false;
  bdReference<AuthResultHolder> m_holder;
  std::uint32_t m_retryLimit = 0;
  std::uint32_t m_retryCount = 0;
  char m_challenge[32] = {};
  unsigned char m_userKey[auth::kUserKeySize] = {};
  unsigned char m_sendBuffer[kBufferSize] = {};
  unsigned char m_receiveBuffer[kBufferSize] = {};
};

}  // namespace OX_Toolbox
