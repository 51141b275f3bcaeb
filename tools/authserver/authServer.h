#pragma once
// The test authentication server. Single-threaded: the owner calls pump()
// between client steps. It makes a signing key and a certificate key when
// it starts; clients are given the signing key's public part. Accounts live
// in memory; a client that sends a frame no sender may produce is dropped.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthCrypto.h"
#include "bdSocket/bdStreamSocket.h"

namespace authserver {

class AuthServer {
 public:
  AuthServer();
  ~AuthServer();
  AuthServer(const AuthServer&) = delete;
  AuthServer& operator=(const AuthServer&) = delete;

  // Makes the keys and listens on 127.0.0.1 (port 0: a free one).
  bool start(unsigned short port = 0);
  unsigned short getPort() const { return m_port; }
  void pump();

  // The public signing key (DER) a client checks certificates with.
  const std::vector<unsigned char>& getSigningKey() const { return m_signingPublic; }
  void addAccount(const std::string& name, const std::string& password);
  bool hasAccount(const std::string& name) const { return m_accounts.count(name) != 0; }
  // Replaces the next replies' parts, for tests of a misbehaving server.
  void setChallenge(const std::string& challenge) { m_challenge = challenge; }
  void setCertificate(const std::vector<unsigned char>& bytes) { m_certificate = bytes; }
  const std::vector<unsigned char>& getCertificate() const { return m_certificate; }
  // Signs a certificate with a fresh key pair and the given signer (the
  // server's own when null).
  std::vector<unsigned char> signCertificate(const OX_Toolbox::auth::Certificate& fields,
                                             bool ownSigner);
  unsigned int getTicketsIssued() const { return m_tickets; }
  // Seals the lobby's ticket block with the lobby server's test key (24
  // bytes), as the lobby expects it; without one the block is left plain.
  void setLobbyKey(const unsigned char* key);

 private:
  struct Client {
    std::unique_ptr<bdStreamSocket> socket;
    std::vector<unsigned char> in;
    std::vector<unsigned char> out;
    bool dropped = false;
  };
  bool readClient(Client& c);
  bool handle(Client& c, unsigned char type, const unsigned char* payload, unsigned int size);
  void reply(Client& c, unsigned char type, const std::vector<std::uint32_t>& words,
             const unsigned char* bytes, unsigned int n, const unsigned char* more = nullptr,
             unsigned int moreN = 0);
  void flush(Client& c);

  bdStreamSocket m_listener;
  unsigned short m_port = 0;
  OX_Toolbox::auth::Random m_random;
  rsa_key m_signing{};
  rsa_key m_certificateKey{};
  bool m_keys = false;
  std::vector<unsigned char> m_signingPublic;
  std::vector<unsigned char> m_certificate;
  std::string m_challenge = "Tq7Lw0Zx";
  std::map<std::string, std::string> m_accounts;
  std::vector<std::unique_ptr<Client>> m_clients;
  unsigned int m_tickets = 0;
  bool m_sealBlock = false;
  unsigned char m_lobbyKey[24] = {};
};

}  // namespace authserver
