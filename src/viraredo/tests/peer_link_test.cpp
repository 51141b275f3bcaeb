// Two peers over secured associations, packets and windows, on a link that
// loses, duplicates and reorders datagrams, all on the fake clock.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bdAddressMap/bdAddressMap.h"
#include "bdCore/bdCrypto/bdDHKey.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdDTLS/bdDTLSAssociation.h"
#include "bdPacket/bdDataChunk.h"
#include "bdPacket/bdPacket.h"
#include "bdPacket/bdSAckChunk.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bdSocket/bdSecurity/bdSecurityKeyMap.h"
#include "bdSocket/bdSocket.h"
#include "bdSocketRouter/bdBandwidthLimiter.h"
#include "bdWindow/bdReliableReceiveWindow.h"
#include "bdWindow/bdReliableSendWindow.h"
#include "bd_test_support.h"

namespace {

using bdtest::CoreTest;

std::uint64_t g_now = 0;  // microseconds
std::uint64_t fakeCounter() { return g_now; }
std::uint64_t fakeFrequency() { return 1000000; }

TEST(BandwidthLimiter, SendsWhilePositiveAndRefillsOnlyWhenDrawnOn) {
  bdBandwidthLimiter limiter;
  EXPECT_FALSE(limiter.canSend(1));
  limiter.refill(1000);
  EXPECT_EQ(limiter.getAllowance(), 1000);
  limiter.refill(1000);  // positive and not drawn on: nothing
  EXPECT_EQ(limiter.getAllowance(), 1000);
  limiter.consume(999);
  EXPECT_TRUE(limiter.canSend(5000));  // an allowance of 1 lets any datagram go
  limiter.consume(5000 + bdBandwidthLimiter::DATAGRAM_OVERHEAD);
  EXPECT_FALSE(limiter.canSend(1));
  limiter.refill(1000);
  EXPECT_EQ(limiter.getAllowance(), 1 - 5028 + 1000);
  bdBandwidthLimiter full;
  full.refill(100);
  full.consume(1);
  full.refill(100);
  full.consume(1);
  full.refill(100);  // 298: twice the amount or more receives nothing
  EXPECT_EQ(full.getAllowance(), 298);
}

// Keeps what is sent for the link to deliver.
class QueueSocket : public bdSocket {
 public:
  int sendTo(const bdAddr&, const void* data, unsigned int length) override {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    sent.emplace_back(p, p + length);
    return static_cast<int>(length);
  }
  std::deque<std::vector<unsigned char>> sent;
};

struct Peer {
  Peer(const char* address, const bdSecurityID& id, const bdSecurityKey& key) : self(address) {
    ecc.create();
    keys.put(id, key);
    bdArray<bdAddr> locals;
    locals.pushBack(self);
    local = bdReference<bdCommonAddr>(new bdCommonAddr(locals, self, BD_NAT_OPEN));
  }
  void associate(const Peer& peer, const bdSecurityID& id, bool initiator) {
    bdAddrHandleRef handle;
    if (initiator) {
      addrMap.registerAddr(bdReference<bdCommonAddr>(new bdCommonAddr(peer.self)), id, handle);
      handle->m_realAddr = peer.self;
      handle->m_status = bdAddrHandle::BD_ADDR_RESOLVED;
    }
    dtls.reset(new bdDTLSAssociation(&socket, &keys, &ecc, &addrMap, local, peer.self, handle));
    peerAddr = peer.self;
  }
  // One packet with the pending SACK and whatever the send window lets go.
  void flush() {
    bdPacket packet(0, 1328);
    rx.getDataToSend(packet);
    tx.getDataToSend(packet);
    if (packet.isEmpty()) return;
    unsigned char bytes[1328];
    const unsigned int n = packet.serialize(bytes, sizeof bytes);
    ASSERT_GT(n, 0u);
    ASSERT_GT(dtls->sendTo(peerAddr, bytes, n), 0);
  }
  void receive(const bdAddr& from, const std::vector<unsigned char>& datagram) {
    unsigned char out[1400];
    bdAddrHandleRef handle;
    const int n = dtls->receiveFrom(
        from, datagram.data(), static_cast<unsigned int>(datagram.size()), handle, out, sizeof out);
    if (n <= 0) return;
    bdPacket packet;
    ASSERT_TRUE(packet.deserialize(out, static_cast<unsigned int>(n)));
    bdReference<bdChunk> chunk;
    while (packet.getNextChunk(chunk)) {
      if (chunk->getType() == BD_CT_DATA) {
        rx.add(bdReference<bdDataChunk>(static_cast<bdDataChunk*>(chunk.get())));
      } else if (chunk->getType() == BD_CT_SACK) {
        float rtt = 0;
        EXPECT_TRUE(
            tx.handleAck(bdReference<bdSAckChunk>(static_cast<bdSAckChunk*>(chunk.get())), rtt));
      }
    }
    for (bdReference<bdDataChunk> d = rx.getNextToRead(); d.notNull(); d = rx.getNextToRead()) {
      bdReference<bdBitBuffer> p = d->getMessage()->getPayload();
      delivered.emplace_back(reinterpret_cast<const char*>(p->getData()), p->getDataSize());
    }
  }

  bdAddr self;
  bdAddr peerAddr;
  QueueSocket socket;
  bdSecurityKeyMap keys;
  bdDHKey ecc;
  bdAddressMapImpl addrMap;
  bdReference<bdCommonAddr> local;
  std::unique_ptr<bdDTLSAssociation> dtls;
  bdReliableSendWindow tx;
  bdReliableReceiveWindow rx;
  std::vector<std::string> delivered;
};

struct LinkFaults {
  int lossPercent;
  int duplicatePercent;
  int reorderPercent;
};

class PeerLinkTest : public CoreTest, public ::testing::WithParamInterface<LinkFaults> {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    g_now = 1000000;
    bdPlatformTiming::setClock(&fakeCounter, &fakeFrequency);
    bdSecurityKeyMap maker;
    maker.create(id, key);
    a.reset(new Peer("127.0.0.1:3074", id, key));
    b.reset(new Peer("127.0.0.2:3074", id, key));
  }
  void TearDown() override {
    a.reset();
    b.reset();
    bdPlatformTiming::setClock(nullptr, nullptr);
    CoreTest::TearDown();
  }
  // Moves every datagram in flight through the faulty link.
  void carry(Peer& from, Peer& to, const LinkFaults& faults) {
    std::vector<std::vector<unsigned char>> arriving;
    while (!from.socket.sent.empty()) {
      std::vector<unsigned char> d = from.socket.sent.front();
      from.socket.sent.pop_front();
      if (roll() < faults.lossPercent) continue;
      if (roll() < faults.duplicatePercent) arriving.push_back(d);
      arriving.push_back(d);
    }
    for (size_t i = 0; i + 1 < arriving.size(); ++i) {
      if (roll() < faults.reorderPercent) std::swap(arriving[i], arriving[i + 1]);
    }
    for (const auto& d : arriving)
      to.receive(from.self, d);
  }
  int roll() { return static_cast<int>(random() % 100); }

  std::mt19937 random{12345};
  bdSecurityID id;
  bdSecurityKey key;
  std::unique_ptr<Peer> a;
  std::unique_ptr<Peer> b;
};

TEST_P(PeerLinkTest, EveryReliableMessageArrivesOnceAndInOrder) {
  const LinkFaults faults = GetParam();
  a->associate(*b, id, true);
  b->associate(*a, id, false);
  a->dtls->connect();
  // The handshake retries on its own timers through the same faulty link.
  for (int tick = 0; tick < 200 && (a->dtls->getStatus() != BD_SOCKET_CONNECTED ||
                                    b->dtls->getStatus() != BD_SOCKET_CONNECTED);
       ++tick) {
    carry(*a, *b, faults);
    carry(*b, *a, faults);
    g_now += 100000;
    a->dtls->pump();
    b->dtls->pump();
  }
  ASSERT_EQ(a->dtls->getStatus(), BD_SOCKET_CONNECTED);
  ASSERT_EQ(b->dtls->getStatus(), BD_SOCKET_CONNECTED);

  const int total = 1500;
  int queuedA = 0;
  int queuedB = 0;
  auto message = [](char side, int i) { return std::string(1, side) + std::to_string(i); };
  int tick = 0;
  for (; tick < 100000; ++tick) {
    while (queuedA < total) {
      const std::string m = message('a', queuedA);
      bdReference<bdMessage> msg(new bdMessage(9, reinterpret_cast<const unsigned char*>(m.data()),
                                               static_cast<unsigned int>(m.size()), true));
      if (!a->tx.add(bdReference<bdDataChunk>(new bdDataChunk(msg, 0)))) break;
      ++queuedA;
    }
    while (queuedB < total) {
      const std::string m = message('b', queuedB) + std::string(300, '.');
      bdReference<bdMessage> msg(new bdMessage(9, reinterpret_cast<const unsigned char*>(m.data()),
                                               static_cast<unsigned int>(m.size()), true));
      if (!b->tx.add(bdReference<bdDataChunk>(new bdDataChunk(msg, 0)))) break;
      ++queuedB;
    }
    a->flush();
    b->flush();
    carry(*a, *b, faults);
    carry(*b, *a, faults);
    if (queuedA == total && queuedB == total && a->tx.isAllAcked() && b->tx.isAllAcked()) break;
    g_now += 10000;
  }
  // The faults did bite: what was lost came back by a resend.
  if (faults.lossPercent > 0) {
    EXPECT_TRUE(log.saw("sent retransmit"));
  }
  ASSERT_EQ(b->delivered.size(), static_cast<size_t>(total)) << "ticks " << tick;
  ASSERT_EQ(a->delivered.size(), static_cast<size_t>(total)) << "ticks " << tick;
  for (int i = 0; i < total; ++i) {
    ASSERT_EQ(b->delivered[i], message('a', i));
    ASSERT_EQ(a->delivered[i], message('b', i) + std::string(300, '.'));
  }
}

// The same association pair over real UDP sockets on loopback.
struct UdpPeer {
  UdpPeer(const bdSecurityID& id, const bdSecurityKey& key) {
    ecc.create();
    keys.put(id, key);
    socket.create(false);
    bdInetAddr ignored;
    unsigned short port = 0;
    if (socket.bind(bdAddr(bdInetAddr::getLoopback(), 0)) == BD_NET_SUCCESS) {
      bdPlatformSocket::getSocketName(socket.getHandle(), ignored, port);
    }
    self = bdAddr(bdInetAddr::getLoopback(), port);
    bdArray<bdAddr> locals;
    locals.pushBack(self);
    local = bdReference<bdCommonAddr>(new bdCommonAddr(locals, self, BD_NAT_OPEN));
  }
  // Reads what is waiting; returns the application payloads.
  std::vector<std::string> poll() {
    std::vector<std::string> got;
    unsigned char buffer[1400];
    unsigned char out[1400];
    bdAddr from;
    for (int n = socket.receiveFrom(from, buffer, sizeof buffer); n > 0;
         n = socket.receiveFrom(from, buffer, sizeof buffer)) {
      if (dtls == nullptr) {
        dtls.reset(
            new bdDTLSAssociation(&socket, &keys, &ecc, &addrMap, local, from, bdAddrHandleRef()));
      }
      bdAddrHandleRef handle;
      const int m =
          dtls->receiveFrom(from, buffer, static_cast<unsigned int>(n), handle, out, sizeof out);
      if (m > 2) got.emplace_back(reinterpret_cast<const char*>(out) + 2, m - 2);
    }
    return got;
  }
  bdSocket socket;
  bdAddr self;
  bdSecurityKeyMap keys;
  bdDHKey ecc;
  bdAddressMapImpl addrMap;
  bdReference<bdCommonAddr> local;
  std::unique_ptr<bdDTLSAssociation> dtls;
};

TEST_F(CoreTest, PeersAssociateAndExchangeOverLoopbackUdp) {
  bdSecurityKeyMap maker;
  bdSecurityID id;
  bdSecurityKey key;
  maker.create(id, key);
  UdpPeer a(id, key);
  UdpPeer b(id, key);
  ASSERT_NE(a.self.getPort(), 0);
  ASSERT_NE(b.self.getPort(), 0);
  bdAddrHandleRef handle;
  a.addrMap.registerAddr(bdReference<bdCommonAddr>(new bdCommonAddr(b.self)), id, handle);
  handle->m_realAddr = b.self;
  handle->m_status = bdAddrHandle::BD_ADDR_RESOLVED;
  a.dtls.reset(
      new bdDTLSAssociation(&a.socket, &a.keys, &a.ecc, &a.addrMap, a.local, b.self, handle));
  a.dtls->connect();
  for (int i = 0; i < 2000 && (a.dtls->getStatus() != BD_SOCKET_CONNECTED || b.dtls == nullptr ||
                               b.dtls->getStatus() != BD_SOCKET_CONNECTED);
       ++i) {
    a.poll();
    b.poll();
    bdPlatformTiming::sleep(1);
  }
  ASSERT_EQ(a.dtls->getStatus(), BD_SOCKET_CONNECTED);
  ASSERT_TRUE(b.dtls != nullptr);
  ASSERT_EQ(b.dtls->getStatus(), BD_SOCKET_CONNECTED);

  // u16 length of the part to encrypt, that part, then the clear part.
  const std::string there("\x05\x00hello tail", 12);
  const std::string back("\x04\x00pong", 6);
  ASSERT_GT(a.dtls->sendTo(b.self, there.data(), static_cast<unsigned int>(there.size())), 0);
  ASSERT_GT(b.dtls->sendTo(a.self, back.data(), static_cast<unsigned int>(back.size())), 0);
  std::vector<std::string> atA;
  std::vector<std::string> atB;
  for (int i = 0; i < 2000 && (atA.empty() || atB.empty()); ++i) {
    for (const auto& m : a.poll())
      atA.push_back(m);
    for (const auto& m : b.poll())
      atB.push_back(m);
    bdPlatformTiming::sleep(1);
  }
  EXPECT_EQ(atB, std::vector<std::string>{"hello tail"});
  EXPECT_EQ(atA, std::vector<std::string>{"pong"});
  a.dtls.reset();
  b.dtls.reset();
}

INSTANTIATE_TEST_SUITE_P(Faults, PeerLinkTest,
                         ::testing::Values(LinkFaults{0, 0, 0}, LinkFaults{10, 0, 0},
                                           LinkFaults{10, 10, 20}));

}  // namespace
