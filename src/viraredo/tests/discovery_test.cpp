// Public address and NAT type discovery against a scripted server, on the
// fake clock: both reply layouts, retries, and each way the tests decide.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdDiscovery/bdDiscoveryPackets.h"
#include "bdDiscovery/bdIPDiscoveryClient.h"
#include "bdDiscovery/bdNATTypeDiscoveryClient.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bdSocket/bdSocket.h"
#include "bd_test_support.h"

namespace {

std::uint64_t g_now = 1;  // microseconds
std::uint64_t fakeCounter() { return g_now; }
std::uint64_t fakeFrequency() { return 1000000; }

struct Datagram {
  bdAddr addr;
  std::vector<unsigned char> bytes;
};

// Records what is sent; hands out scripted datagrams, then would-block.
class ScriptedSocket : public bdSocket {
 public:
  int sendTo(const bdAddr& addr, const void* data, unsigned int length) override {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    sent.push_back({addr, std::vector<unsigned char>(p, p + length)});
    return static_cast<int>(length);
  }
  int receiveFrom(bdAddr& addr, void* data, unsigned int length) override {
    if (incoming.empty()) return BD_NET_WOULD_BLOCK;
    Datagram d = incoming.front();
    incoming.pop_front();
    if (d.bytes.size() > length) return BD_NET_MSG_SIZE;
    addr = d.addr;
    std::copy(d.bytes.begin(), d.bytes.end(), static_cast<unsigned char*>(data));
    return static_cast<int>(d.bytes.size());
  }
  bool close() override { return true; }
  std::vector<Datagram> sent;
  std::deque<Datagram> incoming;
};

std::vector<unsigned char> addrBytes(const bdAddr& a) {
  unsigned char b[6];
  unsigned int end = 0;
  a.serialize(b, sizeof b, 0, end);
  return std::vector<unsigned char>(b, b + 6);
}

// A reply in the packed (2) or padded (1) layout.
std::vector<unsigned char> reply(std::uint8_t type, std::uint16_t version,
                                 const std::vector<bdAddr>& addrs) {
  std::vector<unsigned char> out{type};
  if (version != 2) out.push_back(0xEE);
  out.push_back(static_cast<unsigned char>(version));
  out.push_back(static_cast<unsigned char>(version >> 8));
  for (const bdAddr& a : addrs) {
    auto b = addrBytes(a);
    out.insert(out.end(), b.begin(), b.end());
    if (version != 2) out.insert(out.end(), {0xEE, 0xEE});
  }
  return out;
}

class Discovery : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    g_now = 1;
    bdPlatformTiming::setClock(fakeCounter, fakeFrequency);
  }
  void TearDown() override {
    bdPlatformTiming::setClock(nullptr, nullptr);
    bdtest::CoreTest::TearDown();
  }
  void advance(double seconds) { g_now += static_cast<std::uint64_t>(seconds * 1e6); }

  const bdAddr server{"10.1.0.1:3074"};
  const bdAddr serverOther{"10.1.0.2:3075"};
  const bdAddr mapped{"80.1.2.3:40000"};
};

TEST_F(Discovery, RepliesReadInBothLayoutsAndOtherVersionsAreRefused) {
  for (std::uint16_t version : {1, 2}) {
    auto nat = reply(21, version, {mapped, serverOther});
    EXPECT_EQ(nat.size(), version == 2 ? 15u : 20u);
    bdNATTypeDiscoveryPacketReply r;
    unsigned int end = 0;
    ASSERT_TRUE(r.deserialize(nat.data(), static_cast<unsigned int>(nat.size()), 0, end));
    EXPECT_EQ(end, nat.size());
    EXPECT_EQ(r.getMappedAddress(), mapped);
    EXPECT_EQ(r.getSecondaryAddress(), serverOther);
    auto ip = reply(31, version, {mapped});
    EXPECT_EQ(ip.size(), version == 2 ? 9u : 12u);
    bdIPDiscoveryPacketReply p;
    ASSERT_TRUE(p.deserialize(ip.data(), static_cast<unsigned int>(ip.size()), 0, end));
    EXPECT_EQ(p.getPublicAddress(), mapped);
  }
  auto v3 = reply(21, 3, {mapped, serverOther});
  bdNATTypeDiscoveryPacketReply r;
  unsigned int end = 7;
  EXPECT_FALSE(r.deserialize(v3.data(), static_cast<unsigned int>(v3.size()), 0, end));
  EXPECT_EQ(end, 0u);
  auto cut = reply(21, 2, {mapped, serverOther});
  EXPECT_FALSE(r.deserialize(cut.data(), 14, 0, end));
  auto cutPad = reply(21, 1, {mapped, serverOther});
  EXPECT_FALSE(r.deserialize(cutPad.data(), 19, 0, end));
}

TEST_F(Discovery, PublicAddressComesOnlyFromTheServerAfterAtMostFiveRetries) {
  ScriptedSocket socket;
  bdIPDiscoveryClient client(&socket, server);
  ASSERT_TRUE(client.startDiscovery());
  ASSERT_EQ(socket.sent.size(), 1u);
  EXPECT_EQ(socket.sent[0].bytes, (std::vector<unsigned char>{30, 2, 0}));
  socket.incoming.push_back({serverOther, reply(31, 2, {mapped})});  // not the server
  client.pump();
  EXPECT_FALSE(client.isDone());
  for (int i = 0; i < 300; ++i) {
    advance(0.6);
    client.pump();
  }
  EXPECT_EQ(socket.sent.size(), 6u);
  EXPECT_TRUE(log.saw("IP Discovery failed. Retrying. (5/5)"));
  EXPECT_FALSE(log.saw("(6/5)"));
  EXPECT_FALSE(client.isRunning());

  bdIPDiscoveryClient again(&socket, server);
  again.startDiscovery();
  socket.incoming.push_back({server, reply(31, 1, {mapped})});
  again.pump();
  EXPECT_TRUE(again.isDone());
  EXPECT_EQ(again.getPublicAddress(), mapped);
  EXPECT_TRUE(log.saw("Public IP discovered: 80.1.2.3:40000"));
}

TEST_F(Discovery, NATTestsDecideOpenModerateStrictOrNotOnline) {
  enum Script { kOpen, kModerate, kStrict, kSilentTest3, kOffline };
  struct Case {
    Script script;
    bool succeeded;
    bdNATType type;
  } cases[] = {{kOpen, true, BD_NAT_OPEN},
               {kModerate, true, BD_NAT_MODERATE},
               {kStrict, true, BD_NAT_STRICT},
               {kSilentTest3, true, BD_NAT_STRICT},
               {kOffline, false, BD_NAT_STRICT}};
  for (const Case& c : cases) {
    ScriptedSocket* socket = new ScriptedSocket();
    bdNATTypeDiscoveryClient client(server, socket);
    ASSERT_TRUE(client.startDiscovery());
    EXPECT_EQ(socket->sent[0].bytes, (std::vector<unsigned char>{20, 2, 0, 0}));
    if (c.script != kOffline) {
      socket->incoming.push_back({server, reply(21, 2, {mapped, serverOther})});
      client.pump();
      ASSERT_EQ(socket->sent.size(), 2u);
      EXPECT_EQ(socket->sent[1].bytes[3], 3);  // test 2 flags
      // From the second address but its own port: not the open answer.
      socket->incoming.push_back({serverOther, reply(21, 2, {mapped, serverOther})});
      client.pump();
      EXPECT_TRUE(client.isRunning());
    }
    if (c.script == kOpen) {
      bdAddr otherPort("10.1.0.2:3999");
      socket->incoming.push_back({otherPort, reply(21, 2, {mapped, serverOther})});
      client.pump();
    }
    for (int i = 0; i < 40 && client.isRunning(); ++i) {
      advance(0.6);
      client.pump();
      const bool test3Sent = !socket->sent.empty() && socket->sent.back().bytes[3] == 2;
      if (test3Sent && (c.script == kModerate || c.script == kStrict)) {
        const bdAddr seen = c.script == kModerate ? mapped : bdAddr("80.1.2.3:40001");
        socket->incoming.push_back({server, reply(21, 1, {seen, serverOther})});
      }
    }
    EXPECT_FALSE(client.isRunning());
    EXPECT_EQ(client.succeeded(), c.succeeded) << c.script;
    EXPECT_EQ(client.getNATType(), c.type) << c.script;
    if (c.script == kOffline) {
      EXPECT_EQ(socket->sent.size(), 6u);
    }
  }
  EXPECT_TRUE(log.saw("Test 1 failed. Not online."));
  EXPECT_TRUE(log.saw("Test 3 failed. Strict NAT."));
}

}  // namespace
