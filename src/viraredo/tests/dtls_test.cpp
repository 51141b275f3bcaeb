#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "bdAddressMap/bdAddressMap.h"
#include "bdCore/bdCrypto/bdDHKey.h"
#include "bdCore/bdCrypto/bdHMacSHA1.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdDTLS/bdDTLSAssociation.h"
#include "bdDTLS/bdDTLSCookieAck.h"
#include "bdDTLS/bdDTLSCookieEcho.h"
#include "bdDTLS/bdDTLSData.h"
#include "bdDTLS/bdDTLSError.h"
#include "bdDTLS/bdDTLSInit.h"
#include "bdDTLS/bdDTLSInitAck.h"
#include "bdSocket/bdSecurity/bdSecurityKeyMap.h"
#include "bdSocket/bdSocket.h"
#include "bd_test_support.h"
#include "udp_test_support.h"

namespace {

using bdtest::CoreTest;

using bdtest::Datagram;
using bdtest::fakeCounter;
using bdtest::fakeFrequency;
using bdtest::g_now;
using bdtest::RecordingSocket;

const unsigned char kKey[24] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

std::vector<unsigned char> payload(const std::string& secret, const std::string& clear) {
  std::vector<unsigned char> p(2 + secret.size() + clear.size());
  p[0] = static_cast<unsigned char>(secret.size());
  p[1] = 0;
  std::memcpy(p.data() + 2, secret.data(), secret.size());
  std::memcpy(p.data() + 2 + secret.size(), clear.data(), clear.size());
  return p;
}

unsigned int measure(const bdDTLSHeader& packet) {
  unsigned int end = 0;
  EXPECT_TRUE(packet.serialize(nullptr, bdDTLSHeader::MEASURE_SIZE, 0, end));
  return end;
}

TEST_F(CoreTest, HandshakePacketsHaveTheirWireSizes) {
  const unsigned char key[100] = {};
  const unsigned char ca[25] = {};
  const bdDTLSInitAck ack(1, 2, 3, 3, 4, 0, 0, bdAddr("10.0.0.1:3074"));
  EXPECT_EQ(bdDTLSHeader::getSerializedSize(), 6u);
  EXPECT_EQ(measure(bdDTLSInit(7)), 8u);
  EXPECT_EQ(measure(ack), 30u);
  EXPECT_EQ(measure(bdDTLSCookieEcho(5, ack, ca, bdSecurityID(), key)), 169u);
  EXPECT_EQ(measure(bdDTLSCookieAck(5, key)), 106u);
  EXPECT_EQ(measure(bdDTLSError(5, 0)), 7u);

  // Every packet reads back what it wrote, and refuses to read one byte less.
  unsigned char buffer[200];
  unsigned int end = 0;
  ASSERT_TRUE(bdDTLSCookieEcho(5, ack, ca, bdSecurityID(), key).serialize(buffer, 200, 0, end));
  bdDTLSCookieEcho echo;
  unsigned int read = 0;
  EXPECT_FALSE(echo.deserialize(buffer, end - 1, 0, read));
  EXPECT_EQ(read, 0u);
  ASSERT_TRUE(echo.deserialize(buffer, end, 0, read));
  EXPECT_EQ(read, 169u);
  EXPECT_EQ(echo.getInitAck().getPeerTag(), 4);
  EXPECT_EQ(echo.getInitAck().getPeerAddr(), bdAddr("10.0.0.1:3074"));

  ASSERT_TRUE(bdDTLSError(5, 0).serialize(buffer, 200, 0, end));
  bdDTLSError error;
  EXPECT_EQ(error.getType(), 1u);
  EXPECT_FALSE(error.deserialize(buffer, 6, 0, read));
  EXPECT_EQ(error.getType(), 255u);
}

TEST_F(CoreTest, InitAckSignatureCoversTagsTimeAndAddress) {
  const unsigned char secret[16] = {9};
  bdDTLSInitAck ack(1, 1000, 3, 3, 4, 5, 6, bdAddr("10.0.0.1:3074"));
  bdHMacSHA1 signer(secret, 16);
  ack.sign(signer);
  unsigned char buffer[30];
  unsigned int end = 0;
  ASSERT_TRUE(ack.serialize(buffer, sizeof buffer, 0, end));
  // Header bytes are not covered; every byte from the timestamp on is.
  for (unsigned int i = 0; i < 30; ++i) {
    unsigned char altered[30];
    std::memcpy(altered, buffer, 30);
    altered[i] ^= 0x10;
    bdDTLSInitAck back;
    ASSERT_TRUE(back.deserialize(altered, 30, 0, end));
    bdHMacSHA1 checker(secret, 16);
    EXPECT_EQ(back.verify(checker), i < 6) << "byte " << i;
  }
}

TEST_F(CoreTest, DataPacketsEncryptPadAndAuthenticate) {
  unsigned char wire[1328];
  unsigned char out[1328];
  unsigned int end = 0;
  unsigned int length = 0;
  // L = 0 and no tail: header, HMAC and L only.
  std::vector<unsigned char> empty = payload("", "");
  bdDTLSData zero(9, 0);
  ASSERT_TRUE(zero.serialize(wire, sizeof wire, 0, end, bdSequenceNumber(0), kKey, empty.data(),
                             static_cast<unsigned int>(empty.size())));
  EXPECT_EQ(end, 16u);
  std::vector<unsigned char> one = payload("x", "");
  bdDTLSData single(9, 0);
  ASSERT_TRUE(single.serialize(wire, sizeof wire, 0, end, bdSequenceNumber(0), kKey, one.data(),
                               static_cast<unsigned int>(one.size())));
  EXPECT_EQ(end, 24u);

  const std::vector<unsigned char> p = payload("the secret part", "clear tail");
  bdDTLSData data(9, 70000 & 0xFFFF);
  ASSERT_TRUE(data.serialize(wire, sizeof wire, 0, end, bdSequenceNumber(70000), kKey, p.data(),
                             static_cast<unsigned int>(p.size())));
  const unsigned int size = end;
  EXPECT_EQ(size, 16u + 16u + 10u);
  EXPECT_EQ(std::memcmp(wire + 32, "clear tail", 10), 0);
  const std::string text(reinterpret_cast<const char*>(wire), size);
  EXPECT_EQ(text.find("secret"), std::string::npos);

  bdDTLSData back;
  ASSERT_TRUE(
      back.deserialize(wire, size, 0, end, bdSequenceNumber(69990), kKey, out, sizeof out, length));
  ASSERT_EQ(length, p.size());
  EXPECT_EQ(std::memcmp(out, p.data(), p.size()), 0);
  EXPECT_EQ(back.getFullSeqNum(), 70000);

  // Any flipped bit but those of L and the HMAC's own bytes' counterpart fails the HMAC.
  for (unsigned int i = 0; i < size; ++i) {
    if (i == 14 || i == 15) continue;
    unsigned char altered[64];
    std::memcpy(altered, wire, size);
    altered[i] ^= 0x01;
    bdDTLSData bad;
    log.messages.clear();
    EXPECT_FALSE(bad.deserialize(altered, size, 0, end, bdSequenceNumber(69990), kKey, out,
                                 sizeof out, length))
        << "byte " << i;
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(log.saw("HMAC invalid")) << "byte " << i;
  }

  // Lengths from the wire are checked before use.
  bdDTLSData bad;
  EXPECT_FALSE(
      bad.deserialize(wire, 20, 0, end, bdSequenceNumber(0), kKey, out, sizeof out, length));
  EXPECT_TRUE(log.saw("Truncated packet."));
  EXPECT_FALSE(bad.deserialize(wire, size, 0, end, bdSequenceNumber(0), kKey, out, 20, length));
  EXPECT_TRUE(log.saw("Insufficient space in the destination buffer."));
  unsigned char liar[64];
  std::memcpy(liar, wire, size);
  liar[14] = 0xFF;
  liar[15] = 0xFF;
  EXPECT_FALSE(
      bad.deserialize(liar, size, 0, end, bdSequenceNumber(0), kKey, out, sizeof out, length));
  std::vector<unsigned char> shortPayload = payload("abc", "");
  shortPayload[0] = 200;
  EXPECT_FALSE(data.serialize(wire, sizeof wire, 0, end, bdSequenceNumber(0), kKey,
                              shortPayload.data(), static_cast<unsigned int>(shortPayload.size())));
  EXPECT_EQ(end, 0u);
  EXPECT_TRUE(log.saw("Packet format is invalid."));
}

// One host: socket, keys, address map and own common address.
struct Host {
  explicit Host(const char* address) : self(address) {
    ecc.create();
    bdArray<bdAddr> locals;
    locals.pushBack(self);
    local = bdReference<bdCommonAddr>(new bdCommonAddr(locals, self, BD_NAT_OPEN));
  }
  // The initiator's side: the peer already known and resolved, as the router leaves it.
  std::unique_ptr<bdDTLSAssociation> initiatorFor(const Host& peer, const bdSecurityID& id) {
    bdAddrHandleRef handle;
    addrMap.registerAddr(bdReference<bdCommonAddr>(new bdCommonAddr(peer.self)), id, handle);
    handle->m_realAddr = peer.self;
    handle->m_status = bdAddrHandle::BD_ADDR_RESOLVED;
    return std::unique_ptr<bdDTLSAssociation>(
        new bdDTLSAssociation(&socket, &keys, &ecc, &addrMap, local, peer.self, handle));
  }
  std::unique_ptr<bdDTLSAssociation> responderFor(const Host& peer) {
    return std::unique_ptr<bdDTLSAssociation>(
        new bdDTLSAssociation(&socket, &keys, &ecc, &addrMap, local, peer.self, bdAddrHandleRef()));
  }
  bdAddr self;
  RecordingSocket socket;
  bdSecurityKeyMap keys;
  bdDHKey ecc;
  bdAddressMapImpl addrMap;
  bdReference<bdCommonAddr> local;
};

class AssociationTest : public CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    g_now = 1000000;
    bdPlatformTiming::setClock(&fakeCounter, &fakeFrequency);
    keys.create(id, key);
    hostA = newHost("127.0.0.1:3074");
    hostB = newHost("127.0.0.2:3074");
  }
  std::unique_ptr<Host> newHost(const char* address) {
    std::unique_ptr<Host> host(new Host(address));
    host->keys.put(id, key);
    return host;
  }
  void TearDown() override {
    alice.reset();
    bob.reset();
    hostA.reset();
    hostB.reset();
    bdPlatformTiming::setClock(nullptr, nullptr);
    CoreTest::TearDown();
  }
  // Delivers every datagram in flight, in turn, until both sides are quiet.
  int deliver(bool dropAll = false) {
    int packets = 0;
    while (!hostA->socket.sent.empty() || !hostB->socket.sent.empty()) {
      for (Host* from : {hostA.get(), hostB.get()}) {
        Host& to = from == hostA.get() ? *hostB : *hostA;
        bdDTLSAssociation* target = from == hostA.get() ? bob.get() : alice.get();
        while (!from->socket.sent.empty()) {
          Datagram d = from->socket.sent.front();
          from->socket.sent.pop_front();
          ++packets;
          if (dropAll || target == nullptr) continue;
          EXPECT_EQ(d.to, to.self);
          bdAddrHandleRef handle;
          target->receiveFrom(from->self, d.bytes.data(), static_cast<unsigned int>(d.bytes.size()),
                              handle, out, sizeof out);
        }
      }
    }
    return packets;
  }
  int exchange(bdDTLSAssociation& from, Host& fromHost, bdDTLSAssociation& to, Host& toHost,
               const std::vector<unsigned char>& p) {
    EXPECT_GT(from.sendTo(toHost.self, p.data(), static_cast<unsigned int>(p.size())), 0);
    EXPECT_EQ(fromHost.socket.sent.size(), 1u);
    Datagram d = fromHost.socket.sent.front();
    fromHost.socket.sent.pop_front();
    bdAddrHandleRef handle;
    const int n =
        to.receiveFrom(fromHost.self, d.bytes.data(), static_cast<unsigned int>(d.bytes.size()),
                       handle, out, sizeof out);
    if (n > 0) {
      EXPECT_TRUE(handle.notNull());
      EXPECT_EQ(std::vector<unsigned char>(out, out + n), p);
    }
    replay = d;
    return n;
  }
  void expectEstablishedWithOneKey() {
    ASSERT_EQ(alice->getStatus(), BD_SOCKET_CONNECTED);
    ASSERT_EQ(bob->getStatus(), BD_SOCKET_CONNECTED);
    ASSERT_TRUE(alice->hasSharedKey());
    ASSERT_TRUE(bob->hasSharedKey());
    EXPECT_EQ(std::memcmp(alice->getSharedKey(), bob->getSharedKey(), 24), 0);
    EXPECT_EQ(alice->getPeerTag(), bob->getLocalTag());
    EXPECT_EQ(bob->getPeerTag(), alice->getLocalTag());
    const std::vector<unsigned char> hello = payload("hello", "tail");
    EXPECT_EQ(exchange(*alice, *hostA, *bob, *hostB, hello), 11);
    EXPECT_EQ(exchange(*bob, *hostB, *alice, *hostA, payload("back", "")), 6);
  }

  bdSecurityKeyMap keys;
  bdSecurityID id;
  bdSecurityKey key;
  std::unique_ptr<Host> hostA;
  std::unique_ptr<Host> hostB;
  std::unique_ptr<bdDTLSAssociation> alice;
  std::unique_ptr<bdDTLSAssociation> bob;
  unsigned char out[1328];
  Datagram replay;
};

TEST_F(AssociationTest, HandshakeAgreesOneKeyAndCarriesDataBothWays) {
  alice = hostA->initiatorFor(*hostB, id);
  bob = hostB->responderFor(*hostA);
  EXPECT_EQ(alice->sendTo(hostB->self, "x", 1), -1);
  alice->connect();
  EXPECT_EQ(alice->getStatus(), BD_SOCKET_PENDING);
  EXPECT_EQ(deliver(), 4);
  expectEstablishedWithOneKey();
  EXPECT_TRUE(log.saw("DTLS established."));

  // A replayed datagram is refused; one 32 or more behind the newest too.
  bdAddrHandleRef handle;
  EXPECT_EQ(
      alice->receiveFrom(hostB->self, replay.bytes.data(),
                         static_cast<unsigned int>(replay.bytes.size()), handle, out, sizeof out),
      -2);
  EXPECT_TRUE(log.saw("invalid seq num."));
  const std::vector<unsigned char> big(1304, 0);
  EXPECT_EQ(alice->sendTo(hostB->self, big.data(), 1304), BD_NET_MSG_SIZE);
}

TEST_F(AssociationTest, SimultaneousConnectLeavesBothSidesWithTheKey) {
  alice = hostA->initiatorFor(*hostB, id);
  bob = hostB->initiatorFor(*hostA, id);
  alice->connect();
  bob->connect();
  deliver();
  expectEstablishedWithOneKey();
}

TEST_F(AssociationTest, PeerRestartTakesANewKeyAndTags) {
  alice = hostA->initiatorFor(*hostB, id);
  bob = hostB->responderFor(*hostA);
  alice->connect();
  deliver();
  const std::uint16_t oldTag = bob->getLocalTag();
  // Alice's host restarts: a new association with new tags and a new key pair.
  alice.reset();
  hostA = newHost("127.0.0.1:3074");
  alice = hostA->initiatorFor(*hostB, id);
  alice->connect();
  deliver();
  EXPECT_TRUE(log.saw("handling cookie echo (A)"));
  EXPECT_NE(bob->getLocalTag(), oldTag);
  expectEstablishedWithOneKey();
}

TEST_F(AssociationTest, UnansweredHandshakeGivesUpAfterSixTries) {
  alice = hostA->initiatorFor(*hostB, id);
  alice->connect();
  int inits = 1;
  for (int second = 0; second < 10; ++second) {
    g_now += 1100000;
    alice->pump();
  }
  inits += static_cast<int>(hostA->socket.sent.size()) - 1;
  EXPECT_EQ(hostA->socket.sent.size(), 6u);
  EXPECT_EQ(inits, 6);
  EXPECT_EQ(alice->getStatus(), BD_SOCKET_LOST);
  EXPECT_TRUE(log.saw("sending init: too many retries, closing"));
}

TEST_F(AssociationTest, UnknownSecurityIdIsRefusedAndClosesTheInitiator) {
  bdSecurityID other;
  bdSecurityKey otherKey;
  keys.create(other, otherKey);
  hostA->keys.put(other, otherKey);
  alice = hostA->initiatorFor(*hostB, other);
  bob = hostB->responderFor(*hostA);
  alice->connect();
  deliver();
  EXPECT_TRUE(log.saw("secID not in keymap."));
  EXPECT_TRUE(log.saw("Received bad_security_id error reset"));
  EXPECT_EQ(alice->getStatus(), BD_SOCKET_LOST);
  EXPECT_EQ(bob->getStatus(), BD_SOCKET_LOST);
}

TEST_F(AssociationTest, StaleOrForeignCookiesAreIgnored) {
  alice = hostA->initiatorFor(*hostB, id);
  bob = hostB->responderFor(*hostA);
  alice->connect();
  // INIT to Bob, INIT-ACK back to Alice; hold Alice's COOKIE-ECHO.
  for (int i = 0; i < 2; ++i) {
    Host& from = i == 0 ? *hostA : *hostB;
    bdDTLSAssociation& to = i == 0 ? *bob : *alice;
    Datagram d = from.socket.sent.front();
    from.socket.sent.pop_front();
    bdAddrHandleRef handle;
    to.receiveFrom(from.self, d.bytes.data(), static_cast<unsigned int>(d.bytes.size()), handle,
                   out, sizeof out);
  }
  ASSERT_EQ(hostA->socket.sent.size(), 1u);
  Datagram echo = hostA->socket.sent.front();
  hostA->socket.sent.clear();
  bdAddrHandleRef handle;
  // From another address it is refused.
  bob->receiveFrom(bdAddr("127.0.0.3:3074"), echo.bytes.data(),
                   static_cast<unsigned int>(echo.bytes.size()), handle, out, sizeof out);
  EXPECT_TRUE(log.saw("Wrong peer address"));
  // A tag changed inside the cookie breaks its signature.
  Datagram forged = echo;
  forged.bytes[6 + 14] ^= 1;
  bob->receiveFrom(hostA->self, forged.bytes.data(), static_cast<unsigned int>(forged.bytes.size()),
                   handle, out, sizeof out);
  EXPECT_TRUE(log.saw("HMac Verification failed."));
  // A minute later it has expired.
  g_now += 60000000;
  bob->receiveFrom(hostA->self, echo.bytes.data(), static_cast<unsigned int>(echo.bytes.size()),
                   handle, out, sizeof out);
  EXPECT_TRUE(log.saw("Cookie expired."));
  EXPECT_EQ(bob->getStatus(), BD_SOCKET_LOST);
  EXPECT_TRUE(hostB->socket.sent.empty());
}

}  // namespace
