// NAT traversal between two clients through scripted sockets and a stand-in
// introducer, on the fake clock: direct and introduced replies, HMAC checks,
// listeners, and the full retry schedule to failure.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdNATTraversal/bdNATTravClient.h"
#include "bdNATTraversal/bdNATTravListener.h"
#include "bdNATTraversal/bdNATTraversalPacket.h"
#include "bdSocket/bdSocket.h"
#include "bdSocketRouter/bdBandwidthLimiter.h"
#include "bd_test_support.h"
#include "bdSocket/bdPlatformSocket.h"
#include "introducerServer.h"
#include "udp_test_support.h"

namespace {

using bdtest::Datagram;
using bdtest::fakeCounter;
using bdtest::fakeFrequency;
using bdtest::g_now;
using bdtest::RecordingSocket;

class RecordingListener : public bdNATTravListener {
 public:
  void onNATAddrDiscovery(bdReference<bdCommonAddr> target, const bdAddr& addr) override {
    EXPECT_FALSE(target.isNull());
    found.push_back(addr);
  }
  void onNATAddrDiscoveryFailed(bdReference<bdCommonAddr> target) override {
    EXPECT_FALSE(target.isNull());
    ++failures;
  }
  std::vector<bdAddr> found;
  int failures = 0;
};

bdReference<bdCommonAddr> commonAddr(const char* local, const char* publicAddr, bdNATType type) {
  bdArray<bdAddr> locals;
  locals.pushBack(bdAddr(local));
  return bdReference<bdCommonAddr>(new bdCommonAddr(locals, bdAddr(publicAddr), type));
}

bdNATTraversalPacket parse(const Datagram& d) {
  bdNATTraversalPacket p;
  unsigned int end = 0;
  EXPECT_TRUE(p.deserialize(d.bytes.data(), static_cast<unsigned int>(d.bytes.size()), 0, end));
  return p;
}

class NATTraversal : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    g_now = 1;
    bdPlatformTiming::setClock(fakeCounter, fakeFrequency);
    bdArray<bdAddr> introducers;
    introducers.pushBack(introducer);
    aAddr = commonAddr("192.168.1.10:3074", "80.0.0.1:3074", BD_NAT_MODERATE);
    bAddr = commonAddr("192.168.2.20:3074", "90.0.0.2:3074", BD_NAT_MODERATE);
    a.reset(new bdNATTravClient(introducers, &aSocket, &limiter, aAddr));
    b.reset(new bdNATTravClient(introducers, &bSocket, &limiter, bAddr));
    aSocket.take();
    bSocket.take();
    // The target as the requester knows it: the same address, so the same hash.
    target = commonAddr("192.168.2.20:3074", "90.0.0.2:3074", BD_NAT_MODERATE);
  }
  void TearDown() override {
    a.reset();
    b.reset();
    aAddr = bAddr = target = bdReference<bdCommonAddr>();
    bdPlatformTiming::setClock(nullptr, nullptr);
    bdtest::CoreTest::TearDown();
  }
  void advance(double seconds) { g_now += static_cast<std::uint64_t>(seconds * 1e6); }
  static void deliver(bdNATTravClient& to, const bdAddr& from, const Datagram& d) {
    EXPECT_TRUE(
        to.acceptPacket(nullptr, from, d.bytes.data(), static_cast<unsigned int>(d.bytes.size())));
  }

  const bdAddr introducer{"127.0.0.2:3075"};
  RecordingSocket aSocket, bSocket;
  bdBandwidthLimiter limiter;
  bdReference<bdCommonAddr> aAddr, bAddr, target;
  std::unique_ptr<bdNATTravClient> a, b;
  RecordingListener first, second, third;
};

TEST_F(NATTraversal, DirectRequestIsAnsweredByTheTargetAndVerifiedByItsHMAC) {
  ASSERT_TRUE(a->connect(target, &first, false));
  ASSERT_TRUE(a->connect(target, &second, false));
  EXPECT_FALSE(a->connect(target, &third, false));
  EXPECT_TRUE(log.saw("Third connect request to 90.0.0.2:3074. Ignoring."));
  auto requests = aSocket.take();
  ASSERT_EQ(requests.size(), 2u);  // the local address, then the public one
  EXPECT_EQ(requests[0].to, bdAddr("192.168.2.20:3074"));
  EXPECT_EQ(requests[1].to, bdAddr("90.0.0.2:3074"));
  EXPECT_EQ(requests[0].bytes.size(), 29u);
  EXPECT_EQ(parse(requests[0]).getType(), 13);
  EXPECT_EQ(parse(requests[0]).getFirstAddr(), bdAddr("192.168.1.10:3074"));

  // A host at the same address that is not the target stays silent.
  bdArray<bdAddr> none;
  bdNATTravClient stranger(none, &bSocket, &limiter,
                           commonAddr("192.168.2.20:3074", "90.0.0.3:1", BD_NAT_OPEN));
  bSocket.take();
  deliver(stranger, bdAddr("80.0.0.1:3074"), requests[1]);
  EXPECT_TRUE(bSocket.sent.empty());
  EXPECT_TRUE(log.saw("ignored request from 80.0.0.1:3074"));

  const bdAddr seenFrom("80.0.0.1:5555");
  deliver(*b, seenFrom, requests[1]);
  auto replies = bSocket.take();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].to, seenFrom);
  EXPECT_EQ(parse(replies[0]).getType(), 12);

  // One flipped HMAC byte: discarded, the search goes on.
  Datagram forged = replies[0];
  forged.bytes[5] ^= 1;
  deliver(*a, bdAddr("90.0.0.2:3074"), forged);
  EXPECT_TRUE(log.saw("Packet was tampered with, discarding."));
  EXPECT_EQ(a->getPendingCount(), 1u);

  deliver(*a, bdAddr("90.0.0.2:4000"), replies[0]);
  ASSERT_EQ(first.found.size(), 1u);
  EXPECT_EQ(first.found[0], bdAddr("90.0.0.2:4000"));  // where the reply came from
  ASSERT_EQ(second.found.size(), 1u);
  EXPECT_TRUE(third.found.empty());
  EXPECT_EQ(a->getPendingCount(), 0u);
  deliver(*a, bdAddr("90.0.0.2:4000"), replies[0]);  // late duplicate
  EXPECT_EQ(first.found.size(), 1u);
  EXPECT_TRUE(log.saw("Failed to find identifier in callback table."));
}

TEST_F(NATTraversal, IntroducedRequestIsForwardedAndAnsweredToTheRequestersPublicAddress) {
  ASSERT_TRUE(a->connect(target, &first, false));
  aSocket.take();
  for (int i = 0; i < 4; ++i) {
    advance(1.0);
    a->pump();
  }
  auto sent = aSocket.take();
  ASSERT_EQ(sent.size(), 7u);  // three more direct rounds, then the introducer
  EXPECT_EQ(sent.back().to, introducer);
  bdNATTraversalPacket request = parse(sent.back());
  EXPECT_EQ(request.getType(), 10);
  EXPECT_EQ(request.getFirstAddr(), bdAddr("80.0.0.1:3074"));
  EXPECT_EQ(request.getSecondAddr(), bdAddr("90.0.0.2:3074"));
  // The introducer forwards it unchanged but for the type.
  Datagram forwarded = sent.back();
  forwarded.bytes[0] = 11;
  deliver(*b, introducer, forwarded);
  auto replies = bSocket.take();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(replies[0].to, bdAddr("80.0.0.1:3074"));
  deliver(*a, bdAddr("90.0.0.2:61000"), replies[0]);
  ASSERT_EQ(first.found.size(), 1u);
  EXPECT_EQ(first.found[0], bdAddr("90.0.0.2:61000"));
}

TEST_F(NATTraversal, UnansweredSearchRunsEveryStageThenFailsOnce) {
  ASSERT_TRUE(a->connect(target, &first, false));
  ASSERT_TRUE(a->connect(target, &second, false));
  std::vector<Datagram> all = aSocket.take();
  for (int i = 0; i < 40 && a->getPendingCount() > 0; ++i) {
    advance(0.95);
    a->pump();
    for (auto& d : aSocket.take())
      all.push_back(d);
  }
  unsigned int direct = 0, introduced = 0;
  for (const auto& d : all) {
    if (d.to == introducer)
      ++introduced;
    else
      ++direct;
  }
  EXPECT_EQ(direct, 16u);  // 4 rounds in stage 1 and 4 in stage 3, two addresses each
  EXPECT_EQ(introduced, 3u);
  EXPECT_EQ(first.failures, 1);
  EXPECT_EQ(second.failures, 1);
  EXPECT_TRUE(log.saw("NAT traversal failed. (Stage 3 failed)"));

  // A target without a public address ends after stage 1.
  bdReference<bdCommonAddr> local(new bdCommonAddr(bdAddr("192.168.2.30:3074")));
  ASSERT_TRUE(a->connect(local, &third, false));
  for (int i = 0; i < 6; ++i) {
    advance(0.95);
    a->pump();
  }
  EXPECT_EQ(third.failures, 1);
  EXPECT_TRUE(log.saw("Address lookup failed."));
}

TEST_F(NATTraversal, ThrottledSearchesWaitForTheAllowanceAndGiveUpWhenStarved) {
  ASSERT_TRUE(a->connect(target, &first, true));
  EXPECT_TRUE(aSocket.sent.empty());  // no allowance yet
  limiter.refill(1000);
  advance(1.0);
  a->pump();
  EXPECT_EQ(aSocket.take().size(), 2u);
  EXPECT_EQ(limiter.getAllowance(), 1000 - 2 * (29 + 28));
  limiter.consume(10000);
  advance(25.0);
  a->pump();
  EXPECT_EQ(first.failures, 1);
  EXPECT_EQ(a->getPendingCount(), 0u);
  a->cancel(target);  // nothing left: harmless
}

TEST_F(NATTraversal, ClaimsOnlyItsOwnTypesOfTheCurrentVersionAndCancelsSilently) {
  bdNATTraversalPacket other(15, 1, bdAddr(), bdAddr());
  unsigned char buffer[64];
  unsigned int size = 0;
  ASSERT_TRUE(other.serialize(buffer, sizeof buffer, 0, size));
  EXPECT_TRUE(a->acceptPacket(nullptr, introducer, buffer, size));
  buffer[1] = 1;  // version 1
  EXPECT_FALSE(a->acceptPacket(nullptr, introducer, buffer, size));
  buffer[1] = 2;
  buffer[0] = 20;
  EXPECT_FALSE(a->acceptPacket(nullptr, introducer, buffer, size));
  EXPECT_FALSE(a->acceptPacket(nullptr, introducer, buffer, size - 1));
  EXPECT_TRUE(aSocket.sent.empty());

  ASSERT_TRUE(a->connect(target, &first, false));
  a->cancel(target);
  advance(30.0);
  a->pump();
  EXPECT_EQ(first.failures, 0);
  // Keep-alives go to every introducer every 15 seconds, unthrottled.
  auto sent = aSocket.take();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(parse(sent.back()).getType(), 14);
  EXPECT_EQ(sent.back().to, introducer);
}

// Waits (boundedly) for a datagram of the given type on a real socket,
// dropping others, and hands it to the client.
bool deliverType(bdSocket& socket, bdNATTravClient& client, std::uint8_t type,
                 IntroducerServer* introducer = nullptr) {
  for (int i = 0; i < 2000; ++i) {
    if (introducer != nullptr) introducer->pump();
    unsigned char buffer[bdAddr::MAX_DATAGRAM_SIZE];
    bdAddr from;
    const int got = socket.receiveFrom(from, buffer, sizeof buffer);
    if (got == BD_NET_WOULD_BLOCK) {
      bdPlatformTiming::sleep(1);
      continue;
    }
    if (got > 0 && buffer[0] == type)
      return client.acceptPacket(&socket, from, buffer, static_cast<unsigned int>(got));
  }
  return false;
}

unsigned short boundPort(bdSocket& socket) {
  bdInetAddr address;
  unsigned short port = 0;
  bdPlatformSocket::getSocketName(socket.getHandle(), address, port);
  return port;
}

TEST_F(NATTraversal, PeersFindEachOtherThroughTheTestIntroducerOnLoopback) {
  IntroducerServer server;
  ASSERT_TRUE(server.start(bdAddr("127.0.0.2:0")));
  bdSocket sa, sb;
  ASSERT_TRUE(sa.create(false));
  ASSERT_TRUE(sb.create(false));
  ASSERT_EQ(sa.bind(bdAddr("127.0.0.1:0")), BD_NET_SUCCESS);
  ASSERT_EQ(sb.bind(bdAddr("127.0.0.1:0")), BD_NET_SUCCESS);
  const bdAddr pa(bdInetAddr::getLoopback(), boundPort(sa));
  const bdAddr pb(bdInetAddr::getLoopback(), boundPort(sb));
  bdArray<bdAddr> introducers;
  introducers.pushBack(server.getAddr());
  bdArray<bdAddr> aLocals, bLocals;
  aLocals.pushBack(pa);
  bLocals.pushBack(pb);
  bdReference<bdCommonAddr> self(new bdCommonAddr(aLocals, pa, BD_NAT_STRICT));
  bdReference<bdCommonAddr> peer(new bdCommonAddr(bLocals, pb, BD_NAT_STRICT));
  bdReference<bdCommonAddr> peerSeen(new bdCommonAddr(bLocals, pb, BD_NAT_STRICT));
  {
    bdNATTravClient requester(introducers, &sa, &limiter, self);
    bdNATTravClient answerer(introducers, &sb, &limiter, peer);
    ASSERT_TRUE(requester.connect(peerSeen, &first, false));
    // The direct requests never reach the answerer's client, as behind a strict NAT.
    for (int i = 0; i < 4; ++i) {
      advance(1.0);
      requester.pump();
    }
    ASSERT_TRUE(deliverType(sb, answerer, bdNATTraversalPacket::INTRO_FORWARDED, &server));
    ASSERT_TRUE(deliverType(sa, requester, bdNATTraversalPacket::INTRO_REPLY));
    ASSERT_EQ(first.found.size(), 1u);
    EXPECT_EQ(first.found[0], pb);
    EXPECT_EQ(server.getKeepAlives(), 2u);
  }
  self = peer = peerSeen = bdReference<bdCommonAddr>();
}

}  // namespace
