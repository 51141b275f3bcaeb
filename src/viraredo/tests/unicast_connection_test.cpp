#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdUnicastConnection/bdUnicastConnection.h"
#include "bd_test_support.h"

namespace {

using bdtest::CoreTest;

std::uint64_t g_now = 0;  // microseconds
std::uint64_t fakeCounter() { return g_now; }
std::uint64_t fakeFrequency() { return 1000000; }

class Recorder : public bdConnectionListener {
 public:
  Recorder(std::vector<std::string>& events, const char* name) : m_events(events), m_name(name) {}
  void onConnect(bdReference<bdConnection>) override { m_events.push_back(m_name + ":connect"); }
  void onConnectFailed(bdReference<bdConnection>) override {
    m_events.push_back(m_name + ":failed");
  }
  void onDisconnect(bdReference<bdConnection>) override {
    m_events.push_back(m_name + ":disconnect");
  }
  void onReconnect(bdReference<bdConnection>) override {
    m_events.push_back(m_name + ":reconnect");
  }

 private:
  std::vector<std::string>& m_events;
  std::string m_name;
};

bdReference<bdMessage> message(const std::string& text) {
  return bdReference<bdMessage>(new bdMessage(5,
                                              reinterpret_cast<const unsigned char*>(text.data()),
                                              static_cast<unsigned int>(text.size()), true));
}

std::vector<std::string> drain(bdUnicastConnection& c) {
  std::vector<std::string> got;
  bdReference<bdMessage> m;
  while (c.getMessageToDispatch(m)) {
    bdReference<bdBitBuffer> p = m->getPayload();
    got.emplace_back(reinterpret_cast<const char*>(p->getData()), p->getDataSize());
  }
  return got;
}

class UnicastTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    g_now = 1000000;
    bdPlatformTiming::setClock(&fakeCounter, &fakeFrequency);
    a = new bdUnicastConnection(
        bdReference<bdCommonAddr>(new bdCommonAddr(bdAddr("10.0.0.2:3074"))));
    b = new bdUnicastConnection();
    a->registerListener(&ra);
    b->registerListener(&rb);
  }
  void TearDown() override {
    a = nullptr;
    b = nullptr;
    bdPlatformTiming::setClock(nullptr, nullptr);
    CoreTest::TearDown();
  }
  // Moves datagrams both ways until neither side has anything to send.
  int pump(int rounds = 50) {
    int datagrams = 0;
    for (int i = 0; i < rounds; ++i) {
      bool any = false;
      unsigned char buffer[1304];
      for (int side = 0; side < 2; ++side) {
        bdUnicastConnection& from = side == 0 ? *a : *b;
        bdUnicastConnection& to = side == 0 ? *b : *a;
        unsigned int n = 0;
        while ((n = from.getDataToSend(buffer, sizeof buffer)) > 0) {
          any = true;
          ++datagrams;
          to.receive(buffer, n);
        }
      }
      g_now += 10000;
      if (!any) break;
    }
    return datagrams;
  }

  std::vector<std::string> events;
  Recorder ra{events, "a"};
  Recorder rb{events, "b"};
  bdReference<bdUnicastConnection> a;
  bdReference<bdUnicastConnection> b;
};

TEST_F(UnicastTest, HandshakeMessagesAndOrderlyShutdown) {
  EXPECT_FALSE(a->send(message("early"), true));
  EXPECT_TRUE(log.saw("connection not established."));
  ASSERT_TRUE(a->connect());
  EXPECT_EQ(a->getStatus(), bdConnection::BD_CONNECTING);
  pump();
  ASSERT_EQ(a->getStatus(), bdConnection::BD_CONNECTED);
  ASSERT_EQ(b->getStatus(), bdConnection::BD_CONNECTED);
  EXPECT_EQ(a->getPeerTag(), b->getLocalTag());
  EXPECT_EQ(b->getPeerTag(), a->getLocalTag());
  EXPECT_EQ(events, (std::vector<std::string>{"b:connect", "a:connect"}));

  // The receiver's credit only returns as its application reads.
  std::vector<std::string> sentA;
  std::vector<std::string> gotB;
  for (int i = 0; i < 300; ++i) {
    sentA.push_back("a" + std::to_string(i));
    ASSERT_TRUE(a->send(message(sentA.back()), true));
    if (i % 50 == 49) {
      for (int j = 0; j < 5; ++j) {
        pump(1);
        for (const auto& m : drain(*b))
          gotB.push_back(m);
      }
    }
  }
  ASSERT_TRUE(b->send(message("reply"), true));
  ASSERT_TRUE(b->send(message("fast"), false));
  pump();
  for (const auto& m : drain(*b))
    gotB.push_back(m);
  EXPECT_EQ(gotB, sentA);
  EXPECT_EQ(drain(*a), (std::vector<std::string>{"reply", "fast"}));

  // The largest message is accepted and fits one packet of the store's 1304-byte buffer.
  const std::string limit(bdUnicastConnection::BD_MAX_MESSAGE_SIZE, 'x');
  EXPECT_TRUE(a->send(message(limit), true));
  EXPECT_FALSE(a->send(message(limit + "x"), true));
  EXPECT_TRUE(log.saw("message size (1285) > BD_MAX_MESSAGE_SIZE."));
  pump();
  EXPECT_EQ(drain(*b).size(), 1u);

  events.clear();
  a->disconnect();
  EXPECT_EQ(a->getStatus(), bdConnection::BD_DISCONNECTING);
  pump();
  EXPECT_EQ(a->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_EQ(b->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_EQ(events, (std::vector<std::string>{"a:disconnect", "b:disconnect"}));
  EXPECT_TRUE(log.saw("uc::handling shutdown complete (a)"));
}

TEST_F(UnicastTest, UnansweredInitGivesUpAfterFiveSends) {
  ASSERT_TRUE(a->connect());
  unsigned char buffer[1304];
  int inits = 0;
  for (int i = 0; i < 40; ++i) {
    if (a->getDataToSend(buffer, sizeof buffer) > 0) ++inits;
    g_now += 200000;
  }
  EXPECT_EQ(inits, 5);
  EXPECT_EQ(a->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_EQ(events, (std::vector<std::string>{"a:failed"}));
}

TEST_F(UnicastTest, IdleConnectionSendsHeartbeatsAndTimesOutWhenDeaf) {
  ASSERT_TRUE(a->connect());
  pump();
  ASSERT_EQ(a->getStatus(), bdConnection::BD_CONNECTED);
  unsigned char buffer[1304];
  g_now += 1900000;
  EXPECT_GT(a->getDataToSend(buffer, sizeof buffer), 0u);
  EXPECT_TRUE(log.saw("Sending Heartbeat."));
  // Heartbeats answered keep it alive; a deaf peer lets it time out.
  for (int i = 0; i < 6; ++i) {
    g_now += 1900000;
    pump(1);
  }
  EXPECT_EQ(a->getStatus(), bdConnection::BD_CONNECTED);
  for (int i = 0; i < 6; ++i) {
    g_now += 1900000;
    a->getDataToSend(buffer, sizeof buffer);
  }
  EXPECT_TRUE(log.saw("bdUnicastConnection: Connection timed out."));
  EXPECT_EQ(a->getStatus(), bdConnection::BD_DISCONNECTED);
}

TEST_F(UnicastTest, ForeignTagsAreDroppedAndMalformedPacketsRefused) {
  ASSERT_TRUE(a->connect());
  pump();
  ASSERT_TRUE(b->send(message("one"), true));
  unsigned char buffer[1304];
  const unsigned int n = b->getDataToSend(buffer, sizeof buffer);
  ASSERT_GT(n, 0u);
  std::vector<unsigned char> wrongTag(buffer, buffer + n);
  wrongTag[2] ^= 0xFF;
  EXPECT_FALSE(a->receive(wrongTag.data(), n));
  EXPECT_TRUE(drain(*a).empty());
  std::vector<unsigned char> truncated(buffer, buffer + 5);
  EXPECT_FALSE(a->receive(truncated.data(), 5));
  EXPECT_TRUE(log.saw("Invalid packet received."));
  EXPECT_TRUE(a->receive(buffer, n));
  EXPECT_EQ(drain(*a), std::vector<std::string>{"one"});
}

}  // namespace
