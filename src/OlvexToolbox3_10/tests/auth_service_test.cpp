// The authentication service against the test authentication server on
// loopback: a login to a ticket, account creation, and the failures a
// client must report rather than take for success.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "Modules/AccountService/Src/Driver/Rezovovoz/OlvexAuthService.h"
#include "Modules/NetworkService/Src/SdkMemory.h"
#include "authServer.h"
#include "bdCore/bdLog/bdLogRegistry.h"
#include "bdCore/bdLog/bdLogSubscriber.h"
#include "bdLobbyCommon/bdAuth.h"

using namespace OX_Toolbox;
using authserver::AuthServer;

namespace {

class AuthService : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    routeSdkMemoryToToolbox();
    server_ = new AuthServer();
    ASSERT_TRUE(server_->start());
    server_->addAccount("alice", "secret");
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override { ASSERT_NE(server_, nullptr); }

  bdReference<OlvexAuthService> makeService(unsigned short port) {
    const auto& key = server_->getSigningKey();
    bdReference<OlvexAuthService> s(new OlvexAuthService(key.data(), key.size(), "tessarin",
                                                         "tess-2", "9",
                                                         bdAddr(bdInetAddr::getLoopback(), port)));
    return s;
  }

  // Polls the service, pumping the server between polls, until it is idle.
  static std::uint32_t run(OlvexAuthService& s) {
    for (int i = 0; i < 20000 && s.getStatus() != OlvexAuthService::IDLE; ++i)
      server_->pump();
    EXPECT_EQ(s.getStatus(), OlvexAuthService::IDLE);
    return s.getLastError();
  }

  static AuthServer* server_;
};

AuthServer* AuthService::server_ = nullptr;

}  // namespace

TEST_F(AuthService, LoginFillsTheHolderWithTheTicket) {
  auto service = makeService(server_->getPort());
  bdReference<AuthResultHolder> holder(new AuthResultHolder());
  ASSERT_TRUE(service->login("alice", "secret", holder, 3));
  // A second exchange while one runs is refused.
  EXPECT_FALSE(service->login("alice", "secret", holder, 3));
  EXPECT_EQ(run(*service), 700u);
  EXPECT_EQ(holder->ticketStatus, 700u);
  EXPECT_EQ(holder->ticketValue, 1u);
  bdAuthTicket lobbyTicket;
  lobbyTicket.deserialize(holder->ticketBlock);
  EXPECT_EQ(lobbyTicket.m_id1, bdAuthUtility::getUserID("alice"));
  EXPECT_EQ(std::memcmp(lobbyTicket.m_key, holder->sessionKey, 24), 0);
}

TEST_F(AuthService, ServerRefusalsAndBadRepliesBecomeErrors) {
  auto service = makeService(server_->getPort());
  bdReference<AuthResultHolder> holder(new AuthResultHolder());
  ASSERT_TRUE(service->login("alice", "wrong", holder, 3));
  EXPECT_EQ(run(*service), 716u);
  EXPECT_EQ(holder->ticketStatus, 0u);
  ASSERT_TRUE(service->login("nobody", "secret", holder, 3));
  EXPECT_EQ(run(*service), 704u);

  // A challenge of 31 characters is refused; 30 is taken.
  server_->setChallenge(std::string(31, 'c'));
  ASSERT_TRUE(service->login("alice", "secret", holder, 3));
  EXPECT_EQ(run(*service), 755u);
  server_->setChallenge(std::string(30, 'c'));
  ASSERT_TRUE(service->login("alice", "secret", holder, 3));
  EXPECT_EQ(run(*service), 700u);
  server_->setChallenge("Tq7Lw0Zx");

  // A certificate the service did not sign.
  const std::vector<unsigned char> good = server_->getCertificate();
  auth::Certificate fields;
  fields.firstName = "rogue";
  server_->setCertificate(server_->signCertificate(fields, false));
  ASSERT_TRUE(service->login("alice", "secret", holder, 3));
  EXPECT_EQ(run(*service), 754u);
  server_->setCertificate(good);

  // Deletion is not offered.
  EXPECT_FALSE(service->deleteAccount("alice", "secret"));
  EXPECT_EQ(service->getLastError(), 701u);
}

namespace {

struct WarningLog : bdLogSubscriber {
  void logMessage(const char*, const char*, const char*, unsigned int,
                  const char* message) override {
    messages.push_back(message);
  }
  std::vector<std::string> messages;
};

// A DER SEQUENCE {OCTET STRING of certificateBytes, OCTET STRING of 8 bytes}
// of exactly total bytes (long-form lengths throughout).
std::vector<unsigned char> derCertificateOfSize(std::size_t total) {
  const std::size_t certificate = total - 4 - 4 - 10;
  std::vector<unsigned char> der;
  auto length = [&der](std::size_t n) {
    der.push_back(0x82);
    der.push_back(static_cast<unsigned char>(n >> 8));
    der.push_back(static_cast<unsigned char>(n));
  };
  der.push_back(0x30);
  length(total - 4);
  der.push_back(0x04);
  length(certificate);
  der.insert(der.end(), certificate, 0x5A);
  der.push_back(0x04);
  der.push_back(8);
  der.insert(der.end(), 8, 0x11);
  return der;
}

}  // namespace

TEST_F(AuthService, TheLongestCertificateArrivesWholeAndALongerOneIsRefusedUnread) {
  // 8192 bytes reach the import (whose certificate part is over 4096 bytes);
  // 8193 are refused on their length alone. Neither loses the connection.
  const struct {
    std::size_t size;
    const char* warning;
  } cases[] = {{8192, "Certificate import failed"}, {8193, "Certificate cipherText is too large!"}};
  const std::vector<unsigned char> good = server_->getCertificate();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    const std::vector<unsigned char> der = derCertificateOfSize(c.size);
    ASSERT_EQ(der.size(), c.size);
    server_->setCertificate(der);
    WarningLog log;
    ASSERT_TRUE(bdLogRegistry::getInstance()->addSubscriber("warn/OlvexAuthService", &log));
    auto service = makeService(server_->getPort());
    bdReference<AuthResultHolder> holder(new AuthResultHolder());
    ASSERT_TRUE(service->login("alice", "secret", holder, 3));
    EXPECT_EQ(run(*service), 754u);
    bdLogRegistry::getInstance()->removeSubscriber(&log);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0].rfind(c.warning, 0), 0u) << log.messages[0];
  }
  server_->setCertificate(good);
}

TEST_F(AuthService, AccountCreationWithAndWithoutTicket) {
  auto service = makeService(server_->getPort());
  const std::string texts[6] = {"bob", "hunter2", "bob@example.org", "FR", "1990", "fr"};
  ASSERT_TRUE(service->createAccount(texts, bdReference<AuthResultHolder>(), 3));
  const unsigned int ticketsBefore = server_->getTicketsIssued();
  EXPECT_EQ(run(*service), 700u);
  EXPECT_TRUE(server_->hasAccount("bob"));
  EXPECT_EQ(server_->getTicketsIssued(), ticketsBefore);

  ASSERT_TRUE(service->createAccount(texts, bdReference<AuthResultHolder>(), 3));
  EXPECT_EQ(run(*service), 707u);

  const std::string carol[6] = {"carol", "pw", "c@example.org", "FR", "1991", "fr"};
  bdReference<AuthResultHolder> holder(new AuthResultHolder());
  ASSERT_TRUE(service->createAccount(carol, holder, 3));
  EXPECT_EQ(run(*service), 700u);
  EXPECT_EQ(holder->ticketStatus, 700u);
}

TEST_F(AuthService, AnUnreachableServerIsTriedUpToTheRetryLimit) {
  // A port nothing listens on: the first try and three retries, then 109.
  bdStreamSocket probe;
  ASSERT_TRUE(probe.create());
  ASSERT_EQ(probe.listen(bdAddr(bdInetAddr::getLoopback(), 0)), BD_NET_SUCCESS);
  const unsigned short port = probe.getPort();
  probe.close();
  auto service = makeService(port);
  bdReference<AuthResultHolder> holder(new AuthResultHolder());
  ASSERT_TRUE(service->login("alice", "secret", holder, 3));
  EXPECT_EQ(run(*service), 109u);
}
