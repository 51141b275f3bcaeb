// Two network façades in one process over real loopback UDP: start and
// stop, association, reliable and unreliable messages both ways,
// disconnection and simultaneous connect.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>

#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdNet/bdNetImpl.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bd_test_support.h"
#include "net_test_support.h"

namespace {

using bdtest::FacadePeer;
using bdtest::kReliable;
using bdtest::kUnreliable;
using bdtest::numbered;

class NetFacade : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    bdSecurityKeyMap maker;
    maker.create(id, key);
  }
  void TearDown() override {
    a.reset();
    b.reset();
    bdtest::CoreTest::TearDown();
  }
  void startBoth() {
    a.reset(new FacadePeer());
    b.reset(new FacadePeer());
    ASSERT_TRUE(a->start());
    ASSERT_TRUE(b->start());
    a->trust(id, key);
    b->trust(id, key);
  }
  // a's connection to b, once both ends report it connected.
  bdReference<bdConnection> connectAtoB() {
    bdReference<bdConnection> c = a->net.getConnectionStore()->create(b->seenBy(*a), id);
    EXPECT_TRUE(c.notNull());
    if (c.isNull()) return c;
    EXPECT_TRUE(c->connect());
    EXPECT_TRUE(bdtest::updateUntil(*a, *b, [&] {
      return c->getStatus() == bdConnection::BD_CONNECTED &&
             b->net.getConnectionStore()->getConnectionCount() == 1;
    }));
    return c;
  }

  bdSecurityID id;
  bdSecurityKey key;
  std::unique_ptr<FacadePeer> a, b;
};

TEST_F(NetFacade, StartsWithoutDiscoveryOpenAndWithoutPublicAddress) {
  startBoth();
  EXPECT_EQ(a->net.getStatus(), bdNetImpl::BD_NET_STARTED);
  bdReference<bdCommonAddr> local = a->net.getLocalCommonAddr();
  ASSERT_TRUE(local.notNull());
  EXPECT_EQ(local->getNATType(), BD_NAT_OPEN);
  EXPECT_FALSE(local->getPublicAddr().isValid());
  EXPECT_EQ(local->getLocalAddr(0), bdAddr(bdInetAddr::getLoopback(), a->net.getParams().m_port));
  EXPECT_NE(a->net.getParams().m_port, 0);
  EXPECT_NE(a->net.getParams().m_port, b->net.getParams().m_port);

  // A second start changes nothing.
  bdNetStartParams again;
  again.m_port = 0;
  EXPECT_FALSE(a->net.start(again));
  EXPECT_TRUE(log.saw("bdNetImpl::start, bdNet subsystem already started"));
  EXPECT_EQ(a->net.getStatus(), bdNetImpl::BD_NET_STARTED);
  EXPECT_EQ(a->net.getLocalCommonAddr().get(), local.get());

  // Stopped, it starts again; the local common address stays until then.
  a->net.stop();
  EXPECT_EQ(a->net.getStatus(), bdNetImpl::BD_NET_STOPPED);
  EXPECT_EQ(a->net.getConnectionStore(), nullptr);
  EXPECT_TRUE(a->net.getLocalCommonAddr().notNull());
  EXPECT_TRUE(a->start());
}

TEST_F(NetFacade, ATakenPortMovesToTheNextFreeOne) {
  bdSocket holder;
  ASSERT_TRUE(holder.create(true));
  ASSERT_EQ(holder.bind(static_cast<unsigned short>(0)), BD_NET_SUCCESS);
  bdInetAddr ignored;
  unsigned short taken = 0;
  ASSERT_TRUE(bdPlatformSocket::getSocketName(holder.getHandle(), ignored, taken));
  bdNetImpl net;
  bdNetStartParams params;
  params.m_port = taken;
  params.m_localAddresses.pushBack(bdInetAddr::getLoopback());
  ASSERT_TRUE(net.start(params));
  EXPECT_GT(net.getParams().m_port, taken);
  EXPECT_LE(net.getParams().m_port, taken + bdNetImpl::PORT_SEARCH_RANGE);
  char expected[64];
  std::snprintf(expected, sizeof expected, "Requested port %u, using port %u", taken,
                net.getParams().m_port);
  EXPECT_TRUE(log.saw(expected));
  net.stop();
}

TEST_F(NetFacade, StopOnANeverStartedFacadeOnlyResets) {
  bdNetImpl net;
  net.stop();
  EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STOPPED);
  EXPECT_TRUE(net.getLocalCommonAddr().isNull());
  // The program's one instance is an ordinary façade behind the accessor.
  bdNetImpl* instance = bdSingleton<bdNetImpl>::getInstance();
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(instance, bdSingleton<bdNetImpl>::getInstance());
  EXPECT_EQ(instance->getStatus(), bdNetImpl::BD_NET_STOPPED);
}

TEST_F(NetFacade, PeersAssociateExchangeBothWaysAndDisconnect) {
  startBoth();
  bdReference<bdConnection> ab = connectAtoB();
  ASSERT_EQ(ab->getStatus(), bdConnection::BD_CONNECTED);
  EXPECT_EQ(a->events.events, std::vector<std::string>{"connect"});
  EXPECT_EQ(b->events.events, std::vector<std::string>{"connect"});

  // b answers on the connection it accepted.
  bdReference<bdConnection> ba;
  ASSERT_TRUE(bdtest::updateUntil(*a, *b, [&] { return true; }));
  const unsigned int count = 60;
  for (unsigned int i = 0; i < count; ++i) {
    ASSERT_TRUE(bdtest::sendPaced(*a, *b, ab, numbered(kReliable, i), true));
    ASSERT_TRUE(ab->send(numbered(kUnreliable, i), false));
  }
  ASSERT_TRUE(bdtest::updateUntil(
      *a, *b, [&] { return b->values(kReliable).size() == count && !b->inbox.received.empty(); }));
  ba = b->inbox.received.front().connection;
  for (unsigned int i = 0; i < count; ++i)
    ASSERT_TRUE(bdtest::sendPaced(*a, *b, ba, numbered(kReliable, 1000 + i, 300), true));
  ASSERT_TRUE(bdtest::updateUntil(*a, *b, [&] { return a->values(kReliable).size() == count; }));

  std::vector<std::uint32_t> expected(count);
  std::iota(expected.begin(), expected.end(), 0u);
  EXPECT_EQ(b->values(kReliable), expected);
  // Unreliable messages on a clean link arrive too, each once.
  std::vector<std::uint32_t> unreliable = b->values(kUnreliable);
  EXPECT_EQ(unreliable.size(), count);
  std::iota(expected.begin(), expected.end(), 1000u);
  EXPECT_EQ(a->values(kReliable), expected);

  // An orderly shutdown: both stores let the connection go.
  ab->disconnect();
  ASSERT_TRUE(bdtest::updateUntil(*a, *b, [&] {
    return a->net.getConnectionStore()->getConnectionCount() == 0 &&
           b->net.getConnectionStore()->getConnectionCount() == 0;
  }));
  EXPECT_EQ(ab->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_EQ(ba->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_EQ(a->events.events, (std::vector<std::string>{"connect", "disconnect"}));
  EXPECT_EQ(b->events.events, (std::vector<std::string>{"connect", "disconnect"}));
}

TEST_F(NetFacade, SimultaneousConnectGivesOneConnectionEachSide) {
  startBoth();
  bdReference<bdConnection> ab = a->net.getConnectionStore()->create(b->seenBy(*a), id);
  bdReference<bdConnection> ba = b->net.getConnectionStore()->create(a->seenBy(*b), id);
  ASSERT_TRUE(ab->connect());
  ASSERT_TRUE(ba->connect());
  ASSERT_TRUE(bdtest::updateUntil(*a, *b, [&] {
    return ab->getStatus() == bdConnection::BD_CONNECTED &&
           ba->getStatus() == bdConnection::BD_CONNECTED;
  }));
  EXPECT_EQ(a->net.getConnectionStore()->getConnectionCount(), 1u);
  EXPECT_EQ(b->net.getConnectionStore()->getConnectionCount(), 1u);
  ASSERT_TRUE(ab->send(numbered(kReliable, 7), true));
  ASSERT_TRUE(ba->send(numbered(kReliable, 8), true));
  ASSERT_TRUE(bdtest::updateUntil(
      *a, *b, [&] { return !a->values(kReliable).empty() && !b->values(kReliable).empty(); }));
  EXPECT_EQ(b->values(kReliable), std::vector<std::uint32_t>{7});
  EXPECT_EQ(a->values(kReliable), std::vector<std::uint32_t>{8});
  EXPECT_EQ(b->inbox.received.front().connection, ba.get());
}

}  // namespace
