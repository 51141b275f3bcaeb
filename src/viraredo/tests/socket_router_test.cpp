// The socket router and the connection store over a scripted socket on the
// fake clock: demultiplexing by first byte, the bounded read loop, handle
// states, resolution callbacks, association retirement, and the store's
// create, remove and retirement rules.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <vector>

#include "bdConnectionStore/bdConnectionStore.h"
#include "bdCore/bdCrypto/bdDHKey.h"
#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdDTLS/bdDTLSInit.h"
#include "bdNATTraversal/bdNATTraversalPacket.h"
#include "bdNet/bdLoopbackConnection.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bdSocketRouter/bdSocketRouter.h"
#include "bd_test_support.h"
#include "net_test_support.h"
#include "udp_test_support.h"

namespace {

using bdtest::fakeCounter;
using bdtest::fakeFrequency;
using bdtest::g_now;

// Hands out scripted datagrams or codes, then a fixed code once empty.
class ScriptedSocket : public bdSocket {
 public:
  struct Incoming {
    int code;  // a negative code, or 0 for the datagram below
    bdAddr from;
    std::vector<unsigned char> bytes;
  };
  int receiveFrom(bdAddr& addr, void* data, unsigned int length) override {
    ++reads;
    if (incoming.empty()) return whenEmpty;
    const Incoming in = incoming.front();
    incoming.pop_front();
    if (in.code < 0) return in.code;
    addr = in.from;
    const unsigned int n = static_cast<unsigned int>(in.bytes.size());
    if (n > length) return BD_NET_MSG_SIZE;
    std::memcpy(data, in.bytes.data(), n);
    return static_cast<int>(n);
  }
  int sendTo(const bdAddr& addr, const void* data, unsigned int length) override {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    sent.push_back({addr, std::vector<unsigned char>(p, p + length)});
    return static_cast<int>(length);
  }
  void push(const bdAddr& from, std::vector<unsigned char> bytes) {
    incoming.push_back({0, from, std::move(bytes)});
  }
  std::deque<Incoming> incoming;
  std::vector<bdtest::Datagram> sent;
  int whenEmpty = BD_NET_WOULD_BLOCK;
  unsigned int reads = 0;
};

// This host's own address without me, a peer's as this host sees it with me.
bdReference<bdCommonAddr> commonAddr(const char* local, bdReference<bdCommonAddr> me = nullptr) {
  bdArray<bdAddr> locals;
  locals.pushBack(bdAddr(local));
  if (me.isNull())
    return bdReference<bdCommonAddr>(new bdCommonAddr(locals, bdAddr(), BD_NAT_OPEN));
  return bdReference<bdCommonAddr>(new bdCommonAddr(me, locals, bdAddr(), BD_NAT_OPEN));
}

class SocketRouter : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    g_now = 1000000;
    bdPlatformTiming::setClock(fakeCounter, fakeFrequency);
    crypto.reset(new Crypto());
    crypto->ecc.create();
    crypto->keys.create(id, key);
    crypto->keys.put(id, key);
    self = commonAddr("127.0.0.1:4000");
    peer = commonAddr("127.0.0.1:5000", self);
  }
  void TearDown() override {
    store.reset();
    router.reset();
    crypto.reset();
    self = peer = bdReference<bdCommonAddr>();
    bdPlatformTiming::setClock(nullptr, nullptr);
    bdtest::CoreTest::TearDown();
  }
  void makeRouter() {
    router.reset(new bdSocketRouter(&socket, &crypto->keys, &crypto->ecc, bdArray<bdAddr>(), self));
    socket.sent.clear();
  }
  void makeStore() {
    store.reset(
        new bdConnectionStore(&socket, self, &crypto->keys, &crypto->ecc, bdArray<bdAddr>()));
    socket.sent.clear();
  }
  bdAddrHandleRef handleFor(bdReference<bdCommonAddr> ca) {
    bdAddrHandleRef handle;
    router->getAddressMap().registerAddr(ca, id, handle);
    return handle;
  }
  int receive() {
    unsigned char buffer[1400];
    bdAddrHandleRef handle;
    return router->receiveFrom(handle, buffer, sizeof buffer);
  }
  void advance(double seconds) { g_now += static_cast<std::uint64_t>(seconds * 1e6); }

  // Made and freed inside the core session, whose allocator they use.
  struct Crypto {
    bdSecurityKeyMap keys;
    bdDHKey ecc;
  };
  std::unique_ptr<Crypto> crypto;
  ScriptedSocket socket;
  bdSecurityID id;
  bdSecurityKey key;
  bdReference<bdCommonAddr> self, peer;
  std::unique_ptr<bdSocketRouter> router;
  std::unique_ptr<bdConnectionStore> store;
};

std::vector<unsigned char> initPacket() {
  unsigned char buffer[64];
  unsigned int length = 0;
  EXPECT_TRUE(bdDTLSInit(0x1234).serialize(buffer, sizeof buffer, 0, length));
  return std::vector<unsigned char>(buffer, buffer + length);
}

std::vector<unsigned char> natDirectRequest(unsigned int identifier) {
  bdNATTraversalPacket packet(bdNATTraversalPacket::INTRO_DIRECT_REQUEST, identifier,
                              bdAddr("127.0.0.1:5000"), bdAddr("127.0.0.1:4000"));
  const unsigned char hmac[10] = {};
  packet.setHMAC(hmac, sizeof hmac);
  unsigned char buffer[64];
  unsigned int length = 0;
  EXPECT_TRUE(packet.serialize(buffer, sizeof buffer, 0, length));
  return std::vector<unsigned char>(buffer, buffer + length);
}

TEST_F(SocketRouter, DemultiplexesByFirstByte) {
  struct Case {
    const char* what;
    std::vector<unsigned char> datagram;
    int answerType;  // first byte of the one answer, or -1 for none
  };
  const Case cases[] = {
      {"an INIT opens no association but is answered", initPacket(), 2},
      {"first byte 8 is the association's, which drops it", {8, 0, 0, 0, 0, 0, 0, 0}, -1},
      {"first byte 9 goes to the interceptors, none takes it", {9, 0, 0, 0, 0, 0, 0, 0}, -1},
      {"a NAT request for this host is answered", natDirectRequest(self->getHash()), 12},
  };
  makeRouter();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    socket.sent.clear();
    socket.push(bdAddr("127.0.0.1:5000"), c.datagram);
    // Everything is consumed; an empty socket reads as would-block, never 0.
    EXPECT_EQ(receive(), BD_NET_WOULD_BLOCK);
    EXPECT_EQ(router->getAssociationCount(), 0u);
    if (c.answerType < 0) {
      EXPECT_TRUE(socket.sent.empty());
    } else {
      ASSERT_EQ(socket.sent.size(), 1u);
      EXPECT_EQ(socket.sent[0].bytes[0], c.answerType);
      EXPECT_EQ(socket.sent[0].to, bdAddr("127.0.0.1:5000"));
    }
  }
}

TEST_F(SocketRouter, ReadLoopSkipsResetsAndGivesUpOnALastingError) {
  makeRouter();
  socket.incoming.push_back({BD_NET_CONNECTION_RESET, bdAddr(), {}});
  socket.incoming.push_back({BD_NET_MSG_SIZE, bdAddr(), {}});
  EXPECT_EQ(receive(), BD_NET_MSG_SIZE);
  EXPECT_TRUE(log.saw("Connection reset packet received. Ignoring."));
  socket.reads = 0;
  socket.whenEmpty = BD_NET_ERROR;
  EXPECT_EQ(receive(), BD_NET_ERROR);
  EXPECT_EQ(socket.reads, bdSocketRouter::MAX_FAILED_READS);
  EXPECT_TRUE(log.saw("Unknown error code: -1."));
}

TEST_F(SocketRouter, StatusFollowsTheHandleState) {
  struct Case {
    bdAddrHandle::bdAddrHandleStatus state;
    bdSocketStatus status;
    const char* logged;
  };
  const Case cases[] = {
      {bdAddrHandle::BD_ADDR_NOT_RESOLVED, BD_SOCKET_PENDING, nullptr},
      {bdAddrHandle::BD_ADDR_ERROR, BD_SOCKET_LOST, "Address handle error. Socket lost."},
      {bdAddrHandle::BD_ADDR_RESOLVED, BD_SOCKET_LOST, "Invalid state!"},
      {bdAddrHandle::BD_ADDR_UNREGISTERED, BD_SOCKET_LOST,
       "Address handle unresolved. Socket lost."},
  };
  makeRouter();
  bdAddrHandleRef handle = handleFor(peer);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    handle->m_status = c.state;
    EXPECT_EQ(router->getStatus(handle), c.status);
    if (c.logged != nullptr) {
      EXPECT_TRUE(log.saw(c.logged));
    }
    // Nothing can be sent without an association.
    EXPECT_EQ(router->sendTo(handle, "x", 1), -1);
  }
  EXPECT_TRUE(log.saw("Not established! Call connect() first."));
}

TEST_F(SocketRouter, ResolutionRunsOnceAndAFailureMarksTheHandle) {
  makeRouter();
  bdAddrHandleRef handle = handleFor(peer);
  ASSERT_TRUE(router->connect(handle));
  EXPECT_FALSE(socket.sent.empty());  // the direct NAT traversal requests
  // Asking again while the search runs joins it: no second listener, so no
  // second outcome and no refusal on a third ask.
  EXPECT_TRUE(router->connect(handle));
  EXPECT_TRUE(router->connect(handle));
  EXPECT_EQ(router->getPendingResolutionCount(), 1u);
  EXPECT_EQ(router->getNATTravClient()->getPendingCount(), 1u);
  for (int i = 0; i < 60 && router->getPendingResolutionCount() > 0; ++i) {
    advance(1.0);
    router->pump();
  }
  EXPECT_EQ(router->getPendingResolutionCount(), 0u);
  EXPECT_EQ(handle->m_status, bdAddrHandle::BD_ADDR_ERROR);
  EXPECT_EQ(router->getStatus(handle), BD_SOCKET_LOST);
  EXPECT_FALSE(log.saw("address lookup failed."));
  // A resolved handle needs nothing more.
  handle->m_status = bdAddrHandle::BD_ADDR_RESOLVED;
  socket.sent.clear();
  EXPECT_TRUE(router->connect(handle));
  EXPECT_TRUE(socket.sent.empty());
  EXPECT_TRUE(log.saw("Address already resolved. Nothing to do."));
}

TEST_F(SocketRouter, AFoundAddressOpensAnAssociationThatIsRetiredWhenItCloses) {
  makeRouter();
  bdAddrHandleRef handle = handleFor(peer);
  ASSERT_TRUE(router->connect(handle));
  socket.sent.clear();
  const bdAddr found("127.0.0.1:5000");
  router->onNATAddrDiscovery(peer, found);
  EXPECT_EQ(handle->m_status, bdAddrHandle::BD_ADDR_RESOLVED);
  EXPECT_EQ(handle->m_realAddr, found);
  EXPECT_EQ(router->getAssociationCount(), 1u);
  ASSERT_EQ(socket.sent.size(), 1u);
  EXPECT_EQ(socket.sent[0].bytes[0], 1);  // INIT
  EXPECT_EQ(router->getStatus(handle), BD_SOCKET_PENDING);
  // A late second outcome for the same search finds nothing pending.
  router->onNATAddrDiscovery(peer, found);
  EXPECT_TRUE(log.saw("address lookup failed."));
  EXPECT_EQ(router->getAssociationCount(), 1u);

  // Unanswered, the handshake gives up and the next pump retires it.
  for (int i = 0; i < 20 && router->getAssociationCount() > 0; ++i) {
    advance(1.1);
    router->pump();
  }
  EXPECT_EQ(router->getAssociationCount(), 0u);
  EXPECT_EQ(handle->m_status, bdAddrHandle::BD_ADDR_UNREGISTERED);
  EXPECT_TRUE(log.saw("removed dtls connection to 127.0.0.1:5000"));
}

TEST_F(SocketRouter, RemovingASecurityKeyDropsItsAssociations) {
  makeRouter();
  bdAddrHandleRef handle = handleFor(peer);
  router->connect(handle);
  router->onNATAddrDiscovery(peer, bdAddr("127.0.0.1:5000"));
  ASSERT_EQ(router->getAssociationCount(), 1u);
  // Until its handshake completes an association carries the default id.
  const bdSecurityID unset;
  crypto->keys.put(unset, key);
  crypto->keys.remove(unset);
  EXPECT_EQ(router->getAssociationCount(), 0u);
  EXPECT_EQ(handle->m_status, bdAddrHandle::BD_ADDR_UNREGISTERED);
  // Gone, the router hears nothing more from the key map.
  router.reset();
  crypto->keys.put(unset, key);
  crypto->keys.clear();
}

TEST_F(SocketRouter, StoreKeepsOneConnectionPerPeer) {
  makeStore();
  bdtest::RecordingListener listener;
  store->registerListener(&listener);
  bdReference<bdConnection> first = store->create(peer, id);
  ASSERT_TRUE(first.notNull());
  EXPECT_EQ(store->getPendingResolutionCount(), 1u);
  bdReference<bdConnection> again = store->create(commonAddr("127.0.0.1:5000", self), id);
  EXPECT_EQ(again.get(), first.get());
  EXPECT_TRUE(log.saw("a connection already exists to host."));
  EXPECT_EQ(store->getConnectionCount(), 1u);
  EXPECT_EQ(first->getListenerCount(), 1u);

  // This host's own address: a loopback connection and no route.
  bdReference<bdConnection> own = store->create(self, id);
  EXPECT_NE(dynamic_cast<bdLoopbackConnection*>(own.get()), nullptr);
  EXPECT_EQ(store->getPendingResolutionCount(), 1u);
  EXPECT_EQ(store->getConnectionCount(), 2u);

  store->remove(own);
  EXPECT_EQ(store->getConnectionCount(), 1u);
  store->remove(own);
  EXPECT_TRUE(log.saw("failed to remove connection from store, connection not present."));
  EXPECT_EQ(store->getConnectionCount(), 1u);
}

TEST_F(SocketRouter, StoreRetiresAConnectionWhoseRouteFailed) {
  makeStore();
  bdtest::RecordingListener listener;
  store->registerListener(&listener);
  bdReference<bdConnection> connection = store->create(peer, id);
  ASSERT_TRUE(connection->connect());
  bdAddrHandleRef handle = connection->getAddrHandle();
  for (int i = 0; i < 60 && store->getConnectionCount() > 0; ++i) {
    advance(1.0);
    store->flushAll();
  }
  EXPECT_EQ(store->getConnectionCount(), 0u);
  EXPECT_TRUE(log.saw("Socket router reports socket lost."));
  EXPECT_EQ(listener.events, std::vector<std::string>{"connect failed"});
  EXPECT_EQ(handle->m_status, bdAddrHandle::BD_ADDR_UNREGISTERED);
  EXPECT_EQ(connection->getStatus(), bdConnection::BD_DISCONNECTED);
}

TEST_F(SocketRouter, StoreAnswersAStrangersInitWithoutKeepingAnything) {
  makeStore();
  socket.push(bdAddr("127.0.0.1:5000"), initPacket());
  bdReference<bdConnection> out;
  EXPECT_FALSE(store->receiveFrom(out));
  EXPECT_TRUE(out.isNull());
  EXPECT_EQ(store->getConnectionCount(), 0u);
  EXPECT_EQ(store->getAssociationCount(), 0u);
  ASSERT_EQ(socket.sent.size(), 1u);
  EXPECT_EQ(socket.sent[0].bytes[0], 2);  // INIT-ACK
}

}  // namespace
