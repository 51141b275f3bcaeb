#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bdAddressMap/bdAddressMap.h"
#include "bdNet/bdLoopbackConnection.h"
#include "bd_test_support.h"

namespace {

using bdtest::CoreTest;

bdReference<bdCommonAddr> peer(const char* text) {
  return bdReference<bdCommonAddr>(new bdCommonAddr(bdAddr(text)));
}

TEST_F(CoreTest, AddressMapSharesHandlesAndUnregisters) {
  bdAddressMapImpl map;
  const bdSecurityID id;
  bdReference<bdCommonAddr> ca = peer("10.0.0.1:3074");
  bdAddrHandleRef first;
  bdAddrHandleRef second;
  ASSERT_TRUE(map.registerAddr(ca, id, first));
  EXPECT_EQ(first->m_status, bdAddrHandle::BD_ADDR_NOT_RESOLVED);
  char text[32];
  first->toString(text, sizeof text);
  EXPECT_STREQ(text, "not resolved");
  EXPECT_FALSE(map.getAddrHandle(bdAddr("10.0.0.1:3074"), second));

  // A resolved handle stays resolved when registered again.
  first->m_status = bdAddrHandle::BD_ADDR_RESOLVED;
  first->m_realAddr = bdAddr("10.0.0.1:3074");
  ASSERT_TRUE(map.registerAddr(peer("10.0.0.1:3074"), id, second));
  EXPECT_EQ(first.get(), second.get());
  EXPECT_EQ(second->m_status, bdAddrHandle::BD_ADDR_RESOLVED);
  bdAddrHandleRef found;
  EXPECT_TRUE(map.getAddrHandle(bdAddr("10.0.0.1:3074"), found));
  EXPECT_EQ(found.get(), first.get());

  ASSERT_TRUE(map.unregisterAddr(first));
  EXPECT_EQ(second->m_status, bdAddrHandle::BD_ADDR_UNREGISTERED);
  EXPECT_TRUE(second->m_ca.isNull());
  bdReference<bdCommonAddr> out;
  bdSecurityID outID;
  EXPECT_FALSE(bdAddressMapImpl::addrToCommonAddr(second, out, outID));
  EXPECT_TRUE(log.saw("Failed to get common addr from addr handle."));
  bdAddrHandleRef fresh;
  map.registerAddr(ca, id, fresh);
  EXPECT_NE(fresh.get(), second.get());
}

class Recorder : public bdConnectionListener {
 public:
  explicit Recorder(std::vector<std::string>& events, const char* name)
      : m_events(events), m_name(name) {}
  void onConnect(bdReference<bdConnection>) override { m_events.push_back(m_name + ":connect"); }
  void onDisconnect(bdReference<bdConnection> c) override {
    m_events.push_back(m_name + ":disconnect");
    if (m_dropOnDisconnect != nullptr) c->unregisterListener(m_dropOnDisconnect);
    if (m_dropSelf) c->unregisterListener(this);
  }
  std::vector<std::string>& m_events;
  std::string m_name;
  bdConnectionListener* m_dropOnDisconnect = nullptr;
  bool m_dropSelf = false;
};

TEST_F(CoreTest, ListenersHearEventsInOrderAndMayUnregisterWhileCalled) {
  std::vector<std::string> events;
  Recorder a(events, "a");
  Recorder b(events, "b");
  Recorder c(events, "c");
  bdReference<bdLoopbackConnection> conn(new bdLoopbackConnection(peer("127.0.0.1:1")));
  conn->registerListener(&a);
  conn->registerListener(&a);
  conn->registerListener(&b);
  conn->registerListener(&c);

  conn->updateStatus();  // status 0: nothing
  EXPECT_TRUE(events.empty());
  conn->connect();
  conn->updateStatus();
  EXPECT_EQ(conn->getStatus(), bdConnection::BD_CONNECTED);
  EXPECT_EQ(events, (std::vector<std::string>{"a:connect", "a:connect", "b:connect", "c:connect"}));

  // b drops itself and c while being called: c is not called this round.
  events.clear();
  b.m_dropSelf = true;
  b.m_dropOnDisconnect = &c;
  conn->callReconnectListeners();
  EXPECT_EQ(events, (std::vector<std::string>{"a:disconnect", "a:connect", "a:disconnect",
                                              "a:connect", "b:disconnect", "b:connect"}));
  EXPECT_EQ(conn->getListenerCount(), 2u);

  events.clear();
  conn->disconnect();
  conn->updateStatus();
  EXPECT_EQ(conn->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_EQ(events, (std::vector<std::string>{"a:disconnect", "a:disconnect"}));
  conn->updateStatus();
  EXPECT_EQ(events.size(), 2u);
}

TEST_F(CoreTest, LoopbackReturnsMessagesInOrderFromAfterTheHeader) {
  bdReference<bdLoopbackConnection> conn(new bdLoopbackConnection(peer("127.0.0.1:1")));
  bdReference<bdMessage> out;
  EXPECT_FALSE(conn->getMessageToDispatch(out));
  EXPECT_TRUE(out.isNull());
  for (unsigned int i = 0; i < 3; ++i) {
    bdReference<bdMessage> m(new bdMessage(static_cast<unsigned char>(10 + i), true));
    m->getPayload()->writeUInt32(i);
    EXPECT_TRUE(conn->send(m, true));
  }
  EXPECT_TRUE(conn->takeDataWaiting());
  EXPECT_FALSE(conn->takeDataWaiting());
  for (unsigned int i = 0; i < 3; ++i) {
    ASSERT_TRUE(conn->getMessageToDispatch(out));
    EXPECT_EQ(out->getType(), 10 + i);
    std::uint32_t value = 99;
    EXPECT_TRUE(out->getPayload()->readUInt32(value));
    EXPECT_EQ(value, i);
  }
  EXPECT_FALSE(conn->getMessageToDispatch(out));
}

TEST_F(CoreTest, MessagePayloadIsMadeOnceOnFirstUse) {
  bdReference<bdMessage> typed(new bdMessage(3, true));
  EXPECT_FALSE(typed->hasPayload());
  bdBitBuffer* first = typed->getPayload().get();
  EXPECT_EQ(typed->getPayload().get(), first);
  EXPECT_TRUE(first->isTyped());

  const unsigned char none[1] = {0};
  bdReference<bdMessage> empty(new bdMessage(4, none, 0, true));
  EXPECT_FALSE(empty->hasPayload());
  const unsigned char raw[3] = {1, 2, 3};
  bdReference<bdMessage> withRaw(new bdMessage(5, none, 1, true, raw, 3));
  ASSERT_TRUE(withRaw->hasRawPayload());
  EXPECT_EQ(withRaw->getRawPayload()->getSize(), 3u);
  EXPECT_EQ(withRaw->getSize(), 4u);
}

TEST(ConnectionStatistics, AveragesAndRateFollowTheirRules) {
  bdConnectionStatistics s;
  s.addBytesSent(100);
  s.addBytesSent(50);
  EXPECT_EQ(s.m_bytesSent, 100u + 28 + 50 + 28);
  EXPECT_EQ(s.m_avgSentSize, 75u);
  EXPECT_EQ(s.m_minSentSize, 50u);
  EXPECT_EQ(s.m_maxSentSize, 100u);
  EXPECT_EQ(s.m_minReceivedSize, 0xFFFFFFFFu);
  s.updateSendRate(0.0f);
  EXPECT_EQ(s.m_sendRate, 0u);
  s.updateSendRate(0.5f);
  EXPECT_EQ(s.m_sendRate, 206u);  // (0 + 206) / 2 bytes over 0.5 s
  s.addRoundTripSample(0.2f);
  s.addRoundTripSample(0.4f);
  EXPECT_FLOAT_EQ(s.getAvgRoundTripTime(), 0.3f);
}

}  // namespace
