// Round-trip probing: the request and reply datagrams, whose lengths come
// from the network and are checked before anything is copied.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdNATTraversal/bdNATTravClient.h"
#include "bdQoS/bdQoSPackets.h"
#include "bdQoS/bdQoSProbe.h"
#include "bdSocket/bdSocket.h"
#include "bdSocketRouter/bdBandwidthLimiter.h"
#include "bd_test_support.h"
#include "udp_test_support.h"

namespace {

using QoSPackets = bdtest::CoreTest;

TEST_F(QoSPackets, RequestAndReplyRoundTripWithTheirWireLayout) {
  bdQoSRequestPacket request(0x0102030405060708ull, 7, 0xAABBCCDDu);
  unsigned char buffer[bdQoSReplyPacket::MAX_PACKET_SIZE];
  unsigned int end = 0;
  ASSERT_TRUE(request.serialize(buffer, sizeof buffer, 0, end));
  ASSERT_EQ(end, bdQoSRequestPacket::SIZE);
  EXPECT_EQ(buffer[0], 0x28);
  EXPECT_EQ(buffer[1], 0x08);   // timestamp, least significant byte first
  EXPECT_EQ(buffer[9], 7);      // probe id
  EXPECT_EQ(buffer[13], 0xDD);  // security-id prefix
  bdQoSRequestPacket back;
  ASSERT_TRUE(back.deserialize(buffer, end, 0, end));
  EXPECT_EQ(back.getTimestamp(), 0x0102030405060708ull);
  EXPECT_EQ(back.getId(), 7u);
  EXPECT_EQ(back.getSecurityIdPrefix(), 0xAABBCCDDu);

  EXPECT_EQ(bdQoSReplyPacket::getHeaderSize(), 18u);
  EXPECT_EQ(bdQoSReplyPacket::getMaxDataSize(), 1310u);
  bdQoSReplyPacket reply;
  const unsigned char blob[] = {1, 2, 3};
  ASSERT_TRUE(reply.setData(blob, sizeof blob));
  reply.setId(9);
  reply.setTimestamp(42);
  reply.setEnabledFlag(false);
  ASSERT_TRUE(reply.serialize(buffer, sizeof buffer, 0, end));
  ASSERT_EQ(end, 21u);
  EXPECT_EQ(buffer[0], 0x29);
  EXPECT_EQ(buffer[13], 0);  // enabled flag
  EXPECT_EQ(buffer[14], 3);  // data size
  bdQoSReplyPacket copy;
  unsigned int read = 0;
  ASSERT_TRUE(copy.deserialize(buffer, end, 0, read));
  EXPECT_EQ(read, end);
  EXPECT_EQ(copy.getId(), 9u);
  EXPECT_EQ(copy.getTimestamp(), 42u);
  EXPECT_FALSE(copy.getEnabledFlag());
  ASSERT_EQ(copy.getDataSize(), 3u);
  EXPECT_EQ(std::memcmp(copy.getData(), blob, 3), 0);
}

TEST_F(QoSPackets, RefusesOversizeBlobsAndLengthsThatDisagreeWithTheDatagram) {
  bdQoSReplyPacket reply;
  std::vector<unsigned char> big(1311, 0x55);
  EXPECT_FALSE(reply.setData(big.data(), 1311));
  EXPECT_TRUE(log.saw("Attempted to set more data then available."));
  ASSERT_TRUE(reply.setData(big.data(), 1310));
  unsigned char buffer[bdQoSReplyPacket::MAX_PACKET_SIZE];
  unsigned int end = 0;
  ASSERT_TRUE(reply.serialize(buffer, sizeof buffer, 0, end));
  EXPECT_EQ(end, bdQoSReplyPacket::MAX_PACKET_SIZE);
  EXPECT_TRUE(reply.setData(nullptr, 0));  // clears
  EXPECT_EQ(reply.getDataSize(), 0u);

  // A data size field that claims more, or less, than the datagram holds.
  for (unsigned int claimed : {4u, 2u, 0xFFFFFFFFu}) {
    unsigned char packet[21] = {0x29};
    packet[14] = static_cast<unsigned char>(claimed);
    packet[15] = static_cast<unsigned char>(claimed >> 8);
    packet[16] = static_cast<unsigned char>(claimed >> 16);
    packet[17] = static_cast<unsigned char>(claimed >> 24);
    bdQoSReplyPacket bad;
    unsigned int read = 5;
    EXPECT_FALSE(bad.deserialize(packet, sizeof packet, 0, read)) << claimed;
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(bad.getDataSize(), 0u);
  }
  EXPECT_TRUE(log.saw("Received a packet with invalid dataSize!"));
  bdQoSReplyPacket shortHeader;
  unsigned int read = 0;
  EXPECT_FALSE(shortHeader.deserialize(buffer, 17, 0, read));
  bdQoSRequestPacket shortRequest;
  EXPECT_FALSE(shortRequest.deserialize(buffer, 16, 0, read));
}

using bdtest::Datagram;
using bdtest::fakeCounter;
using bdtest::fakeFrequency;
using bdtest::g_now;
using bdtest::RecordingSocket;

class FakeNATTrav : public bdNATTravClient {
 public:
  bool connect(bdReference<bdCommonAddr> target, bdNATTravListener*, bool throttled) override {
    connects.push_back(target);
    EXPECT_TRUE(throttled);
    return true;
  }
  void cancel(bdReference<bdCommonAddr> target) override { cancels.push_back(target); }
  std::vector<bdReference<bdCommonAddr>> connects;
  std::vector<bdReference<bdCommonAddr>> cancels;
};

class RecordingProbeListener : public bdQoSProbeListener {
 public:
  void onQoSProbeSuccess(const bdQoSProbeInfo& info) override {
    latencies.push_back(info.m_latency);
    blobs.emplace_back(info.m_data, info.m_data + info.m_dataSize);
    disabled.push_back(info.m_disabled);
  }
  void onQoSProbeFailed(bdReference<bdCommonAddr> addr) override { failed.push_back(addr); }
  std::vector<float> latencies;
  std::vector<std::vector<unsigned char>> blobs;
  std::vector<bool> disabled;
  std::vector<bdReference<bdCommonAddr>> failed;
};

// A prober and a host, each with its own socket and allowance, on the fake clock.
class QoSProbing : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    g_now = 1;
    bdPlatformTiming::setClock(fakeCounter, fakeFrequency);
    hostId.ab[0] = 0x11;
    hostId.ab[3] = 0x44;
    prober.reset(new bdQoSProbe(&proberSocket, &nat, &proberLimiter));
    host.reset(new bdQoSProbe(&hostSocket, nullptr, &hostLimiter));
    proberLimiter.refill(3276);
    hostLimiter.refill(3276);
  }
  void TearDown() override {
    prober.reset();
    host.reset();
    target = bdReference<bdCommonAddr>();
    // References must go before the core checks for leaks.
    listener.failed.clear();
    nat.connects.clear();
    nat.cancels.clear();
    bdPlatformTiming::setClock(nullptr, nullptr);
    bdtest::CoreTest::TearDown();
  }
  void advance(double seconds) { g_now += static_cast<std::uint64_t>(seconds * 1e6); }
  // Delivers everything each side has sent to the other.
  void exchange() {
    for (const auto& d : proberSocket.sent)
      host->acceptPacket(&hostSocket, proberAddr, d.bytes.data(),
                         static_cast<unsigned int>(d.bytes.size()));
    proberSocket.sent.clear();
    for (const auto& d : hostSocket.sent)
      prober->acceptPacket(&proberSocket, d.to == proberAddr ? hostAddr : d.to, d.bytes.data(),
                           static_cast<unsigned int>(d.bytes.size()));
    hostSocket.sent.clear();
  }
  bdReference<bdCommonAddr> openTarget() {
    bdArray<bdAddr> locals;
    locals.pushBack(hostAddr);
    return bdReference<bdCommonAddr>(new bdCommonAddr(locals, hostAddr, BD_NAT_OPEN));
  }

  bdAddr proberAddr{"10.0.0.1:3074"};
  bdAddr hostAddr{"10.0.0.2:3074"};
  bdSecurityID hostId;
  bdSecurityKey hostKey;
  RecordingSocket proberSocket, hostSocket;
  bdBandwidthLimiter proberLimiter, hostLimiter;
  FakeNATTrav nat;
  std::unique_ptr<bdQoSProbe> prober, host;
  RecordingProbeListener listener;
  bdReference<bdCommonAddr> target;
};

TEST_F(QoSProbing, MeasuresTheRoundTripAndHandsOverTheHostsBlob) {
  const unsigned char blob[] = {'g', 'a', 'm', 'e'};
  ASSERT_TRUE(host->listen(hostId, blob, sizeof blob));
  target = openTarget();
  ASSERT_TRUE(prober->probe(target, hostId, hostKey, &listener));
  prober->pump();
  ASSERT_EQ(proberSocket.sent.size(), 1u);
  EXPECT_EQ(proberSocket.sent[0].to, hostAddr);
  EXPECT_EQ(proberSocket.sent[0].bytes.size(), bdQoSRequestPacket::SIZE);
  EXPECT_EQ(proberLimiter.getAllowance(), 3276 - 17 - 28);
  advance(0.05);
  exchange();
  ASSERT_EQ(listener.latencies.size(), 1u);
  EXPECT_NEAR(listener.latencies[0], 0.05, 1e-6);
  EXPECT_EQ(listener.blobs[0], std::vector<unsigned char>(blob, blob + 4));
  EXPECT_FALSE(listener.disabled[0]);
  EXPECT_EQ(prober->getPendingProbeCount(), 0u);
  EXPECT_EQ(hostLimiter.getAllowance(), 3276 - 22 - 28);

  // A disabled listener still answers, flagged; a stopped one does not.
  host->disableListener();
  prober->probe(target, hostId, hostKey, &listener);
  prober->pump();
  exchange();
  ASSERT_EQ(listener.disabled.size(), 2u);
  EXPECT_TRUE(listener.disabled[1]);
  host->stopListening();
  prober->probe(target, hostId, hostKey, &listener);
  prober->pump();
  exchange();
  EXPECT_EQ(listener.latencies.size(), 2u);
}

TEST_F(QoSProbing, IgnoresMalformedAndForeignRequests) {
  ASSERT_TRUE(host->listen(hostId, nullptr, 0));
  bdSecurityID stranger;
  unsigned char buffer[32] = {};
  unsigned int size = 0;
  bdQoSRequestPacket(5, 1, 0x44000011u).serialize(buffer, sizeof buffer, 0, size);
  // One byte short, one byte over: not answered, not consumed.
  EXPECT_FALSE(host->acceptPacket(&hostSocket, proberAddr, buffer, 16));
  EXPECT_FALSE(host->acceptPacket(&hostSocket, proberAddr, buffer, 18));
  bdQoSRequestPacket(5, 1, 0x01010101u).serialize(buffer, sizeof buffer, 0, size);
  EXPECT_TRUE(host->acceptPacket(&hostSocket, proberAddr, buffer, size));
  EXPECT_TRUE(log.saw("Received a packet with invalid security ID. Dropping."));
  EXPECT_TRUE(hostSocket.sent.empty());
  const unsigned char notOurs[] = {0x27, 0};
  const unsigned char unusedType[] = {0x30, 0};
  EXPECT_FALSE(host->acceptPacket(&hostSocket, proberAddr, notOurs, 2));
  EXPECT_FALSE(host->acceptPacket(&hostSocket, proberAddr, unusedType, 2));
  EXPECT_TRUE(log.saw("Got packet with invalid type."));
  // The right request with no allowance left gets no reply either.
  bdQoSRequestPacket(5, 1, 0x44000011u).serialize(buffer, sizeof buffer, 0, size);
  hostLimiter.consume(3276);
  EXPECT_TRUE(host->acceptPacket(&hostSocket, proberAddr, buffer, size));
  EXPECT_TRUE(hostSocket.sent.empty());
  (void)stranger;
}

TEST_F(QoSProbing, RetriesFourTimesThenFailsAndIgnoresSpoofedReplies) {
  ASSERT_TRUE(host->listen(hostId, nullptr, 0));
  target = openTarget();
  prober->probe(target, hostId, hostKey, &listener);
  prober->pump();
  ASSERT_EQ(proberSocket.sent.size(), 1u);
  // The host's reply arrives from elsewhere: the probe stays and is retried.
  host->acceptPacket(&hostSocket, proberAddr, proberSocket.sent[0].bytes.data(), 17);
  const auto& reply = hostSocket.sent.at(0).bytes;
  prober->acceptPacket(&proberSocket, bdAddr("10.0.0.9:3074"), reply.data(),
                       static_cast<unsigned int>(reply.size()));
  EXPECT_TRUE(log.saw("Received probe reply with spoofed id?"));
  EXPECT_EQ(prober->getPendingProbeCount(), 1u);
  advance(0.5);
  prober->pump();  // too soon to resend
  EXPECT_EQ(proberSocket.sent.size(), 1u);
  for (int i = 0; i < 3; ++i) {
    advance(0.95);
    prober->pump();
  }
  EXPECT_EQ(proberSocket.sent.size(), 4u);
  EXPECT_TRUE(listener.failed.empty());
  advance(0.95);
  prober->pump();
  ASSERT_EQ(listener.failed.size(), 1u);
  EXPECT_TRUE(listener.failed[0] == target);
  EXPECT_EQ(prober->getPendingProbeCount(), 0u);
}

TEST_F(QoSProbing, HoldsRequestsWhileTheAllowanceIsSpentAndResumesAfterRefills) {
  target = openTarget();
  proberLimiter.consume(3276);
  prober->probe(target, hostId, hostKey, &listener);
  prober->pump();
  EXPECT_TRUE(proberSocket.sent.empty());
  advance(0.25);
  prober->pump();  // refilled by 16384 bytes/s over 0.2 s
  EXPECT_EQ(proberSocket.sent.size(), 1u);
  EXPECT_EQ(proberLimiter.getAllowance(), 3276 - 45);
}

TEST_F(QoSProbing, WaitsForNATTraversalAndReleasesEveryProbeOfTheAddress) {
  ASSERT_TRUE(host->listen(hostId, nullptr, 0));
  bdArray<bdAddr> locals;
  locals.pushBack(hostAddr);
  target = bdReference<bdCommonAddr>(new bdCommonAddr(locals, hostAddr, BD_NAT_STRICT));
  prober->probe(target, hostId, hostKey, &listener);
  prober->probe(target, hostId, hostKey, &listener);
  EXPECT_TRUE(log.saw("Got multiple probes for the same address."));
  EXPECT_EQ(nat.connects.size(), 2u);
  prober->pump();
  EXPECT_TRUE(proberSocket.sent.empty());
  prober->onNATAddrDiscovery(target, hostAddr);
  prober->pump();
  EXPECT_EQ(proberSocket.sent.size(), 2u);
  exchange();
  EXPECT_EQ(listener.latencies.size(), 2u);

  prober->onNATAddrDiscoveryFailed(target);
  EXPECT_TRUE(log.saw("Received NAT Traversal failure for unrecognized address."));
  prober->probe(target, hostId, hostKey, &listener);
  prober->onNATAddrDiscoveryFailed(target);
  ASSERT_EQ(listener.failed.size(), 1u);
  prober->probe(target, hostId, hostKey, &listener);
  prober->cancelProbes();
  ASSERT_EQ(nat.cancels.size(), 1u);
  EXPECT_TRUE(nat.cancels[0] == target);
  EXPECT_EQ(listener.failed.size(), 1u);  // cancelling tells no one
}

}  // namespace
