// The network façade's start with discovery, against the test discovery
// server, introducer and UPnP gateway on loopback, on the fake clock: host
// lookups, public address and NAT type, port mapping, NAT traversal between
// two façades through the introducer, and LAN replies read against the
// façade's own address.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLANDiscovery/bdDiscoveryClient.h"
#include "bdLANDiscovery/bdDiscoveryServer.h"
#include "bdNet/bdNetImpl.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bd_test_support.h"
#include "discoveryServer.h"
#include "introducerServer.h"
#include "net_test_support.h"
#include "udp_test_support.h"
#include "upnpGateway.h"

namespace {

using bdtest::FacadePeer;
using bdtest::g_now;
using bdtest::kReliable;
using bdtest::numbered;

// Under Wine a datagram sent from 127.0.0.2 reads as coming from 127.0.0.1,
// so there the server's other address is 127.0.0.1 on other ports.
#ifdef _WIN32
const bdInetAddr kSecond = bdInetAddr::getLoopback();
#else
const bdInetAddr kSecond = bdInetAddr::fromBytes(127, 0, 0, 2);
#endif

// A home router that filters by address: datagrams are let in only from
// addresses this socket has sent to.
class FilteringSocket : public bdSocket {
 public:
  FilteringSocket() { create(true); }
  int sendTo(const bdAddr& addr, const void* data, unsigned int length) override {
    m_sentTo.insert(key(addr));
    return bdSocket::sendTo(addr, data, length);
  }
  int receiveFrom(bdAddr& addr, void* data, unsigned int length) override {
    for (;;) {
      const int got = bdSocket::receiveFrom(addr, data, length);
      if (got < 0 || m_sentTo.count(key(addr)) > 0) return got;
      ++filtered;
    }
  }
  std::atomic<unsigned int> filtered{0};

 private:
  static std::string key(const bdAddr& addr) {
    char text[32];
    addr.toString(text, sizeof text);
    return text;
  }
  std::set<std::string> m_sentTo;
};

// A resolver that hangs on "slow.test" until the test lets it go and reads
// dotted addresses at once.
struct Gate {
  std::mutex mutex;
  std::condition_variable changed;
  bool open = false;
};
Gate* g_gate = nullptr;

unsigned int gatedResolver(const char* name, bdInetAddr* addresses, unsigned int max) {
  if (std::strcmp(name, "slow.test") == 0) {
    std::unique_lock<std::mutex> lock(g_gate->mutex);
    g_gate->changed.wait(lock, [] { return g_gate->open; });
    return 0;
  }
  return max > 0 && bdInetAddr::parse(name, addresses[0]) ? 1u : 0u;
}

class NetDiscovery : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    g_now = 1;
    bdPlatformTiming::setClock(bdtest::fakeCounter, bdtest::fakeFrequency);
    g_gate = &gate;
    ASSERT_TRUE(server.start(bdInetAddr::getLoopback(), kSecond));
    server.setPassOn(
        [this](bdSocket& socket, const bdAddr& from, const unsigned char* data, unsigned int size) {
          if (introducer.handle(socket, from, data, size)) ++introduced;
        });
    ASSERT_TRUE(gateway.start(bdInetAddr::getLoopback()));
  }
  void TearDown() override {
    openGate();
    g_gate = nullptr;
    bdPlatformTiming::setClock(nullptr, nullptr);
    bdtest::CoreTest::TearDown();
  }
  void openGate() {
    std::lock_guard<std::mutex> lock(gate.mutex);
    gate.open = true;
    gate.changed.notify_all();
  }
  // Discovery against the test server, UPnP off unless asked for.
  bdNetStartParams params(std::vector<const char*> names = {"127.0.0.1"},
                          unsigned short port = 0) const {
    bdNetStartParams p;
    p.m_useDiscovery = true;
    p.m_port = port;
    p.m_stunServers.clear();
    for (const char* name : names)
      p.m_stunServers.pushBack(name);
    p.m_stunServerPort = server.getAddr().getPort();
    p.m_localAddresses.pushBack(bdInetAddr::getLoopback());
    p.m_upnpDiscoveryTime = 0;
    p.m_hostLookupTimeout = 2.0f;
    return p;
  }
  // One update: the servers answer, every façade pumps, and every tenth
  // round the fake clock moves on a tenth of a second.
  void step(const std::vector<bdNetImpl*>& nets) {
    server.pump();
    gateway.pump();
    for (bdNetImpl* net : nets) {
      net->pump();
      if (net->getStatus() == bdNetImpl::BD_NET_STARTED) {
        net->sendAll();
        net->receiveAndDispatchAll();
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (++m_rounds % 10 == 0) g_now += 100000;
  }
  // Steps until no façade is starting any more; false after 60 s of fake time.
  bool startAll(const std::vector<bdNetImpl*>& nets) {
    auto starting = [&] {
      for (bdNetImpl* net : nets) {
        if (net->getStatus() == bdNetImpl::BD_NET_STARTING) return true;
      }
      return false;
    };
    for (int i = 0; i < 6000 && starting(); ++i)
      step(nets);
    return !starting();
  }
  bdAddr loopback(unsigned short port) const { return bdAddr(bdInetAddr::getLoopback(), port); }

  DiscoveryServer server;
  IntroducerServer introducer;
  unsigned int introduced = 0;
  UPnPGateway gateway;
  Gate gate;
  int m_rounds = 0;
};

TEST_F(NetDiscovery, StartFindsThePublicAddressAndNATType) {
  struct Case {
    const char* what;
    std::vector<const char*> names;
    bool dropTest2;
    bdNATType type;
    const char* logged;
  };
  const Case cases[] = {
      {"answers from every address", {"127.0.0.1"}, false, BD_NAT_OPEN, nullptr},
      {"test 2 filtered", {"127.0.0.1"}, true, BD_NAT_MODERATE, nullptr},
      {"a name that does not resolve is skipped",
       {"999.1.1.1", "127.0.0.1"},
       false,
       BD_NAT_OPEN,
       nullptr},
      // Nothing listens on the first address: the second one answers.
      {"a silent server is passed over",
       {"127.0.0.3", "127.0.0.1"},
       false,
       BD_NAT_OPEN,
       "Trying next IP address for IP and NAT discovery."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.setDropTest2(c.dropTest2);
    bdNetImpl net;
    ASSERT_TRUE(net.start(params(c.names)));
    EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTING);
    EXPECT_TRUE(net.getLocalCommonAddr().isNull());
    EXPECT_EQ(net.getConnectionStore(), nullptr);
    // Starting, the façade takes no second start.
    EXPECT_FALSE(net.start(params()));

    ASSERT_TRUE(startAll({&net}));
    ASSERT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTED);
    bdReference<bdCommonAddr> local = net.getLocalCommonAddr();
    ASSERT_TRUE(local.notNull());
    const unsigned short port = net.getParams().m_port;
    EXPECT_EQ(local->getPublicAddr(), loopback(port));
    EXPECT_EQ(local->getLocalAddr(0), loopback(port));
    EXPECT_EQ(local->getNATType(), c.type);
    EXPECT_NE(net.getConnectionStore(), nullptr);
    if (c.logged != nullptr) {
      EXPECT_TRUE(log.saw(c.logged));
    }
    net.stop();
    EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STOPPED);
  }
}

TEST_F(NetDiscovery, DiscoveryThatCannotStartFailsWithItsReason) {
  struct Case {
    const char* what;
    std::vector<const char*> names;
    bool serverPort;
    const char* logged;
  };
  const Case cases[] = {
      {"no server names", {}, true, nullptr},
      {"no name resolves", {"999.1.1.1", "300.0.0.1"}, true, "Failed to lookup address 300.0.0.1"},
      {"no server answers",
       {"127.0.0.1"},
       false,
       "Failed to do IP and NAT discovery using 127.0.0.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bdNetStartParams p = params(c.names);
    if (!c.serverPort) {
      // A port where nothing listens.
      bdSocket probe;
      ASSERT_TRUE(probe.create(false));
      ASSERT_EQ(probe.bind(loopback(0)), BD_NET_SUCCESS);
      bdInetAddr ignored;
      unsigned short free = 0;
      ASSERT_TRUE(bdPlatformSocket::getSocketName(probe.getHandle(), ignored, free));
      probe.close();
      p.m_stunServerPort = free;
    }
    bdNetImpl net;
    ASSERT_TRUE(net.start(p));
    ASSERT_TRUE(startAll({&net}));
    EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_DISCOVERY_FAILED);
    EXPECT_TRUE(net.getLocalCommonAddr().isNull());
    EXPECT_EQ(net.getConnectionStore(), nullptr);
    if (c.logged != nullptr) {
      EXPECT_TRUE(log.saw(c.logged));
    }
    // A failed façade stays failed until stopped, then starts again.
    EXPECT_FALSE(net.start(params()));
    net.pump();
    EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_DISCOVERY_FAILED);
    net.stop();
    EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STOPPED);
    ASSERT_TRUE(net.start(params()));
    ASSERT_TRUE(startAll({&net}));
    EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTED);
  }
}

TEST_F(NetDiscovery, AHungLookupNeverHoldsUpTheCaller) {
  bdNetImpl net;
  net.setHostResolver(&gatedResolver);
  ASSERT_TRUE(net.start(params({"slow.test", "127.0.0.1"})));
  // The first name hangs until its two seconds are over; the second answers.
  ASSERT_TRUE(startAll({&net}));
  EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTED);
  EXPECT_TRUE(log.saw("getHostByName timed out\n"));
  net.stop();

  // Stopped while a lookup hangs, the façade returns at once and starts again.
  ASSERT_TRUE(net.start(params({"slow.test"})));
  for (int i = 0; i < 5; ++i)
    step({&net});
  EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTING);
  net.stop();
  EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STOPPED);
  ASSERT_TRUE(net.start(params()));
  ASSERT_TRUE(startAll({&net}));
  EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTED);
  net.stop();
  openGate();  // the resolvers end before the façade is destroyed
}

// The façade's stop removes its mappings while the gateway answers on a
// thread of its own.
void stopAnswered(bdNetImpl& net, UPnPGateway& gateway) {
  std::atomic<bool> stopped{false};
  std::thread answer([&] {
    while (!stopped) {
      gateway.pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  net.stop();
  stopped = true;
  answer.join();
}

TEST_F(NetDiscovery, UPnPMapsThePortAndOpensTheNATType) {
  // The server filters test 2, so without the mapping the type is moderate.
  server.setDropTest2(true);
  bdSocket holder;
  ASSERT_TRUE(holder.create(false));
  ASSERT_EQ(holder.bind(loopback(0)), BD_NET_SUCCESS);
  bdInetAddr ignored;
  unsigned short requested = 0;
  ASSERT_TRUE(bdPlatformSocket::getSocketName(holder.getHandle(), ignored, requested));
  holder.close();

  struct Case {
    const char* what;
    bool collision;
  };
  const Case cases[] = {{"a free port is mapped", false},
                        {"a port mapped to another machine moves up by one", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    gateway.mappings().clear();
    if (c.collision) gateway.mappings()[requested] = {"192.168.1.99", requested};
    const unsigned short expected =
        c.collision ? static_cast<unsigned short>(requested + 1) : requested;

    bdNetImpl net;
    net.setSSDPAddress(gateway.getSSDPAddr());
    bdNetStartParams p = params({"127.0.0.1"}, requested);
    p.m_upnpDiscoveryTime = 1;
    ASSERT_TRUE(net.start(p));
    ASSERT_EQ(net.getParams().m_port, requested);
    ASSERT_TRUE(startAll({&net}));
    ASSERT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTED);
    EXPECT_EQ(net.getParams().m_port, expected);
    ASSERT_EQ(gateway.mappings().count(expected), 1u);
    EXPECT_EQ(gateway.mappings()[expected].client, "127.0.0.1");
    bdReference<bdCommonAddr> local = net.getLocalCommonAddr();
    // The main socket is bound to the mapped port: the server saw it there.
    EXPECT_EQ(local->getPublicAddr(), loopback(expected));
    EXPECT_EQ(local->getNATType(), BD_NAT_OPEN);
    EXPECT_TRUE(log.saw("UPnP mapping confirmed, changing NAT type to open."));
    if (c.collision) {
      char text[64];
      std::snprintf(text, sizeof text, "UPnP Mapping collision found. New port Selected: %d",
                    expected);
      EXPECT_TRUE(log.saw(text));
    }

    stopAnswered(net, gateway);
    EXPECT_EQ(gateway.mappings().count(expected), 0u);
    // Another machine's mapping is left alone.
    EXPECT_EQ(gateway.mappings().count(requested), c.collision ? 1u : 0u);
  }
}

TEST_F(NetDiscovery, UPnPThatCannotFinishNeverHoldsUpStartOrStop) {
  // Without a local address the router has nobody to forward to: UPnP is
  // given up and the start goes on.
  {
    bdNetImpl net;
    net.setSSDPAddress(gateway.getSSDPAddr());
    bdNetStartParams p = params();
    p.m_localAddresses.clear();
    p.m_upnpDiscoveryTime = 1;
    ASSERT_TRUE(net.start(p));
    ASSERT_TRUE(startAll({&net}));
    EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTED);
    EXPECT_TRUE(log.saw("UPnP Traversal failed"));
    EXPECT_TRUE(log.saw("No local address specified when starting bdNet. See bdNetStartParams."));
    EXPECT_TRUE(gateway.mappings().empty());
  }
  // A router that falls silent cannot keep stop waiting on a stopped clock.
  bdNetImpl net;
  net.setSSDPAddress(gateway.getSSDPAddr());
  bdNetStartParams p = params();
  p.m_upnpDiscoveryTime = 1;
  ASSERT_TRUE(net.start(p));
  ASSERT_TRUE(startAll({&net}));
  ASSERT_EQ(gateway.mappings().size(), 1u);
  gateway.setSilent(true);
  net.stop();
  EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STOPPED);
}

TEST_F(NetDiscovery, WithoutARouterUPnPStepsAside) {
  bdNetImpl net;
  // Searches go to a port where no gateway answers.
  net.setSSDPAddress(loopback(9));
  bdNetStartParams p = params();
  p.m_upnpDiscoveryTime = 1;
  ASSERT_TRUE(net.start(p));
  ASSERT_TRUE(startAll({&net}));
  EXPECT_EQ(net.getStatus(), bdNetImpl::BD_NET_STARTED);
  EXPECT_TRUE(log.saw("no UPnP NATs found"));
  EXPECT_TRUE(gateway.mappings().empty());
}

TEST_F(NetDiscovery, PeersBehindFilteringRoutersMeetThroughTheIntroducer) {
  bdSecurityKeyMap maker;
  bdSecurityID id;
  bdSecurityKey key;
  maker.create(id, key);
  FacadePeer a;
  FacadePeer b;
  // b's router drops what comes from anyone it has not written to.
  FilteringSocket* bSocket = new FilteringSocket();
  bdNetStartParams pa = params();
  bdNetStartParams pb = params();
  pb.m_socket = bSocket;
  ASSERT_TRUE(a.net.start(pa));
  ASSERT_TRUE(b.net.start(pb));
  ASSERT_TRUE(startAll({&a.net, &b.net}));
  ASSERT_EQ(a.net.getStatus(), bdNetImpl::BD_NET_STARTED);
  ASSERT_EQ(b.net.getStatus(), bdNetImpl::BD_NET_STARTED);
  for (FacadePeer* peer : {&a, &b}) {
    peer->net.registerDispatchInterceptor(&peer->inbox);
    peer->net.getConnectionStore()->registerListener(&peer->events);
    peer->trust(id, key);
  }

  bdReference<bdConnection> ab = a.net.getConnectionStore()->create(b.seenBy(a), id);
  ASSERT_TRUE(ab.notNull());
  ASSERT_TRUE(ab->connect());
  for (int i = 0; i < 3000 && ab->getStatus() != bdConnection::BD_CONNECTED; ++i)
    step({&a.net, &b.net});
  ASSERT_EQ(ab->getStatus(), bdConnection::BD_CONNECTED);
  // The direct requests were filtered; the introduced one opened the way.
  EXPECT_GT(bSocket->filtered.load(), 0u);
  EXPECT_TRUE(log.saw("Stage 1 failed. Starting stage 2."));
  EXPECT_GE(introduced, 1u);

  ASSERT_TRUE(ab->send(numbered(kReliable, 7), true));
  for (int i = 0; i < 3000 && b.values(kReliable).empty(); ++i)
    step({&a.net, &b.net});
  ASSERT_EQ(b.values(kReliable), std::vector<std::uint32_t>{7});
  bdReference<bdConnection> ba(b.inbox.received.front().connection);
  ASSERT_TRUE(ba->send(numbered(kReliable, 8), true));
  for (int i = 0; i < 3000 && a.values(kReliable).empty(); ++i)
    step({&a.net, &b.net});
  EXPECT_EQ(a.values(kReliable), std::vector<std::uint32_t>{8});
}

// ---------------------------------------------------------------------------
// The same meeting with the connecting peer in a second process: this test
// program run again with a filter that selects the child test and carries
// the parent's discovery server port and its own port.

const char kIntroducedChild[] = "NetDiscovery.DISABLED_IntroducedChild";

unsigned short portAfter(const std::string& text, const char* mark) {
  const size_t at = text.find(mark);
  if (at == std::string::npos) return 0;
  return static_cast<unsigned short>(std::atoi(text.c_str() + at + std::strlen(mark)));
}

// Run by the parent only: starts with discovery against the parent's server,
// connects to the parent through the introducer, sends 7 and waits for the
// 1007 the parent answers.
TEST_F(NetDiscovery, DISABLED_IntroducedChild) {
  const std::string filter = GTEST_FLAG_GET(filter);
  const unsigned short serverPort = portAfter(filter, ":server");
  const unsigned short parentPort = portAfter(filter, ":peer");
  ASSERT_NE(serverPort, 0);
  ASSERT_NE(parentPort, 0);
  bdSecurityID id;
  bdSecurityKey key;
  bdtest::FixedKeys(id, key);
  FacadePeer self;
  bdNetStartParams p = params();
  p.m_stunServerPort = serverPort;
  ASSERT_TRUE(self.net.start(p));
  ASSERT_TRUE(startAll({&self.net}));
  ASSERT_EQ(self.net.getStatus(), bdNetImpl::BD_NET_STARTED);
  self.net.registerDispatchInterceptor(&self.inbox);
  self.trust(id, key);
  bdArray<bdAddr> locals;
  locals.pushBack(loopback(parentPort));
  bdReference<bdCommonAddr> parent(
      new bdCommonAddr(self.net.getLocalCommonAddr(), locals, loopback(parentPort), BD_NAT_OPEN));
  bdReference<bdConnection> c = self.net.getConnectionStore()->create(parent, id);
  ASSERT_TRUE(c.notNull());
  ASSERT_TRUE(c->connect());
  for (int i = 0; i < 6000 && c->getStatus() != bdConnection::BD_CONNECTED; ++i)
    step({&self.net});
  ASSERT_EQ(c->getStatus(), bdConnection::BD_CONNECTED);
  ASSERT_TRUE(c->send(numbered(kReliable, 7), true));
  for (int i = 0; i < 6000 && self.values(kReliable).empty(); ++i)
    step({&self.net});
  EXPECT_EQ(self.values(kReliable), std::vector<std::uint32_t>{1007});
  c->disconnect();
  for (int i = 0; i < 50; ++i)
    step({&self.net});
}

TEST_F(NetDiscovery, APeerInAnotherProcessMeetsThroughTheIntroducer) {
  bdSecurityID id;
  bdSecurityKey key;
  bdtest::FixedKeys(id, key);
  FacadePeer self;
  FilteringSocket* socket = new FilteringSocket();
  bdNetStartParams p = params();
  p.m_socket = socket;
  ASSERT_TRUE(self.net.start(p));
  ASSERT_TRUE(startAll({&self.net}));
  ASSERT_EQ(self.net.getStatus(), bdNetImpl::BD_NET_STARTED);
  self.net.registerDispatchInterceptor(&self.inbox);
  self.net.getConnectionStore()->registerListener(&self.events);
  self.trust(id, key);

  const std::string command = "\"" + bdtest::SelfPath() + "\" --gtest_also_run_disabled_tests" +
                              " --gtest_filter=" + kIntroducedChild + ":server" +
                              std::to_string(server.getAddr().getPort()) + ":peer" +
                              std::to_string(self.net.getParams().m_port);
  std::atomic<int> childResult{-1};
  std::atomic<bool> childDone{false};
  std::thread child([&] {
    childResult = std::system(command.c_str());
    childDone = true;
  });
  bool echoed = false;
  for (int i = 0; i < 60000 && !childDone; ++i) {
    step({&self.net});
    if (!echoed && !self.inbox.received.empty()) {
      bdReference<bdConnection> c(self.inbox.received.front().connection);
      echoed = c->send(numbered(kReliable, self.inbox.received.front().value + 1000), true);
    }
  }
  child.join();
  EXPECT_EQ(childResult, 0);
  EXPECT_TRUE(echoed);
  EXPECT_EQ(self.values(kReliable), std::vector<std::uint32_t>{7});
  EXPECT_GT(socket->filtered.load(), 0u);
  EXPECT_GE(introduced, 1u);
}

class DiscoveryListener : public bdDiscoveryListener {
 public:
  void onDiscoveryReply(bdReference<bdGameInfo> info) override { found.push_back(info); }
  void onDiscoveryEnd() override {}
  void onDiscoveryRequest() override {}
  std::vector<bdReference<bdGameInfo>> found;
};

TEST_F(NetDiscovery, LANRepliesAreReadAgainstTheFacadesOwnAddress) {
  bdNetImpl* net = bdSingleton<bdNetImpl>::getInstance();
  bdNetStartParams p;
  p.m_port = 0;
  p.m_localAddresses.pushBack(bdInetAddr::getLoopback());
  ASSERT_TRUE(net->start(p));
  bdSecurityKeyMap maker;
  bdSecurityID id;
  bdSecurityKey key;
  maker.create(id, key);
  bdDiscoveryServer host;
  ASSERT_TRUE(
      host.start(bdReference<bdGameInfo>(new bdGameInfo(77, id, key, net->getLocalCommonAddr())),
                 bdInetAddr::getLoopback(), 0));
  // The searching client is given no address of its own: it takes the façade's.
  bdDiscoveryClient client;
  DiscoveryListener heard;
  client.registerListener(&heard);
  ASSERT_TRUE(client.discover(77, 5.0f, bdInetAddr::getLoopback(), host.getPort()));
  for (int i = 0; i < 2000 && heard.found.empty(); ++i) {
    host.update();
    client.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(heard.found.size(), 1u);
  ASSERT_TRUE(heard.found[0]->getHostAddr().notNull());
  EXPECT_EQ(*heard.found[0]->getHostAddr(), *net->getLocalCommonAddr());
  EXPECT_TRUE(heard.found[0]->getHostAddr()->isLoopback());
  heard.found.clear();
  net->stop();
}

}  // namespace
