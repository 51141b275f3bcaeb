// The public address and NAT type clients against the test discovery server
// over real loopback UDP (127.0.0.1 and 127.0.0.2), on the fake clock.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdDiscovery/bdIPDiscoveryClient.h"
#include "bdDiscovery/bdNATTypeDiscoveryClient.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bd_test_support.h"
#include "discoveryServer.h"
#include "udp_test_support.h"

namespace {

using bdtest::g_now;

// The server's other address. Under Wine a datagram sent from 127.0.0.2
// reads as coming from 127.0.0.1, so there the other address is 127.0.0.1
// too: the server's sockets still differ by port, which the tests rely on.
#ifdef _WIN32
const bdInetAddr kSecond = bdInetAddr::getLoopback();
#else
const bdInetAddr kSecond = bdInetAddr::fromBytes(127, 0, 0, 2);
#endif

class DiscoveryOverLoopback : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    g_now = 1;
    bdPlatformTiming::setClock(bdtest::fakeCounter, bdtest::fakeFrequency);
    ASSERT_TRUE(server.start(bdInetAddr::getLoopback(), kSecond));
  }
  void TearDown() override {
    bdPlatformTiming::setClock(nullptr, nullptr);
    bdtest::CoreTest::TearDown();
  }
  // Each step lets loopback deliver (real time) before the fake clock moves
  // on a tenth of a second; false when the client still runs after 10 s.
  bool run(const std::function<void()>& pump, const std::function<bool()>& running,
           bool serve = true) {
    for (int step = 0; step < 100 && running(); ++step) {
      for (int i = 0; i < 5 && running(); ++i) {
        if (serve) active->pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        pump();
      }
      g_now += 100000;
      pump();
    }
    return !running();
  }

  DiscoveryServer server;
  DiscoveryServer* active = &server;
};

TEST_F(DiscoveryOverLoopback, TheNATTypeFollowsWhatTheServerSees) {
  struct Case {
    const char* what;
    bool dropTest2;
    bool symmetric;
    std::uint16_t version;
    bdNATType type;
    unsigned int test3Requests;
  };
  const Case cases[] = {
      {"answers from every address", false, false, 2, BD_NAT_OPEN, 0},
      {"padded replies", false, false, 1, BD_NAT_OPEN, 0},
      {"test 2 filtered", true, false, 2, BD_NAT_MODERATE, 1},
      {"test 2 filtered, a mapping per destination", true, true, 2, BD_NAT_STRICT, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A fresh server per case, so its request counts start at 0.
    DiscoveryServer fresh;
    ASSERT_TRUE(fresh.start(bdInetAddr::getLoopback(), kSecond));
    active = &fresh;
    fresh.setDropTest2(c.dropTest2);
    fresh.setSymmetric(c.symmetric);
    fresh.setReplyVersion(c.version);
    bdNATTypeDiscoveryClient client(fresh.getAddr());
    ASSERT_TRUE(client.startDiscovery());
    ASSERT_TRUE(run([&] { client.pump(); }, [&] { return client.isRunning(); }));
    active = &server;
    EXPECT_TRUE(client.succeeded());
    EXPECT_EQ(client.getNATType(), c.type);
    EXPECT_EQ(fresh.getRequestCount(1), 1u);
    // A filtered test 2 is resent five times after the first before test 3 runs.
    EXPECT_EQ(fresh.getRequestCount(2), c.dropTest2 ? 6u : 1u);
    EXPECT_EQ(fresh.getRequestCount(3), c.test3Requests);
  }
}

TEST_F(DiscoveryOverLoopback, WithoutAnAnsweringServerTheHostIsNotOnline) {
  bdNATTypeDiscoveryClient client(server.getAddr());
  ASSERT_TRUE(client.startDiscovery());
  ASSERT_TRUE(run([&] { client.pump(); }, [&] { return client.isRunning(); }, false));
  EXPECT_FALSE(client.succeeded());
  EXPECT_TRUE(log.saw("Test 1 failed. Not online."));
}

TEST_F(DiscoveryOverLoopback, ThePublicAddressIsTheSocketAsTheServerSeesIt) {
  for (std::uint16_t version : {2, 1}) {
    SCOPED_TRACE(version);
    server.setReplyVersion(version);
    bdSocket socket;
    ASSERT_TRUE(socket.create(false));
    ASSERT_EQ(socket.bind(bdAddr("127.0.0.1:0")), BD_NET_SUCCESS);
    bdInetAddr bound;
    unsigned short port = 0;
    ASSERT_TRUE(bdPlatformSocket::getSocketName(socket.getHandle(), bound, port));
    bdIPDiscoveryClient client(&socket, server.getAddr());
    ASSERT_TRUE(client.startDiscovery());
    ASSERT_TRUE(run([&] { client.pump(); }, [&] { return client.isRunning(); }));
    ASSERT_TRUE(client.isDone());
    EXPECT_EQ(client.getPublicAddress(), bdAddr(bdInetAddr::getLoopback(), port));
  }
  // A server that never answers: five retries after the first request.
  bdSocket socket;
  ASSERT_TRUE(socket.create(false));
  ASSERT_EQ(socket.bind(bdAddr("127.0.0.1:0")), BD_NET_SUCCESS);
  bdIPDiscoveryClient client(&socket, server.getAddr());
  const unsigned int before = server.getRequestCount(0);
  ASSERT_TRUE(client.startDiscovery());
  ASSERT_TRUE(run([&] { client.pump(); }, [&] { return client.isRunning(); }, false));
  EXPECT_FALSE(client.isDone());
  EXPECT_TRUE(log.saw("IP Discovery failed. Retrying. (5/5)"));
  server.pump();
  EXPECT_EQ(server.getRequestCount(0) - before, 6u);
}

}  // namespace
