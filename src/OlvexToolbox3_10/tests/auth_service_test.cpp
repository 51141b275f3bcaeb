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
