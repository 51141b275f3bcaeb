// LAN game discovery over real loopback UDP: a game announced and found, the
// exact datagrams, every cut-short packet refused, and the search's life on
// the fake clock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "bdCore/bdThread/bdPlatformTiming.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdLANDiscovery/bdDiscoveryClient.h"
#include "bdLANDiscovery/bdDiscoveryServer.h"
#include "bdLANDiscovery/bdGameInfoFactory.h"
#include "bdSocket/bdPlatformSocket.h"
#include "bd_test_support.h"
#include "udp_test_support.h"

namespace {

using bdtest::g_now;
constexpr std::uint32_t kTitle = 4242;

// An application's own game info: one more field after the base ones.
class RoomGameInfo : public bdGameInfo {
 public:
  void serialize(bdBitBuffer& buffer) const override {
    bdGameInfo::serialize(buffer);
    buffer.writeUInt32(players);
  }
  bool deserialize(bdReference<bdCommonAddr> local, bdBitBuffer& buffer) override {
    std::uint32_t n = 0;
    if (!bdGameInfo::deserialize(local, buffer) || !buffer.readUInt32(n)) return false;
    players = n;
    return true;
  }
  std::uint32_t players = 0;
};

class RecordingListener : public bdDiscoveryListener {
 public:
  void onDiscoveryReply(bdReference<bdGameInfo> info) override { found.push_back(info); }
  void onDiscoveryEnd() override { ++ends; }
  void onDiscoveryRequest() override { ++requests; }
  std::vector<bdReference<bdGameInfo>> found;
  int ends = 0;
  int requests = 0;
};

// A plain UDP socket on loopback standing in for the other end.
class RawPeer {
 public:
  RawPeer() {
    EXPECT_TRUE(socket.create(false));
    EXPECT_EQ(socket.bind(bdAddr("127.0.0.1:0")), BD_NET_SUCCESS);
    bdInetAddr a;
    unsigned short port = 0;
    bdPlatformSocket::getSocketName(socket.getHandle(), a, port);
    addr = bdAddr(bdInetAddr::getLoopback(), port);
  }
  // Waits up to two seconds of real time for one datagram.
  std::vector<unsigned char> receive(bdAddr* from = nullptr) {
    unsigned char buffer[2048];
    for (int i = 0; i < 2000; ++i) {
      bdAddr sender;
      const int got = socket.receiveFrom(sender, buffer, sizeof buffer);
      if (got >= 0) {
        if (from != nullptr) *from = sender;
        return std::vector<unsigned char>(buffer, buffer + got);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return {};
  }
  void send(const bdAddr& to, const std::vector<unsigned char>& bytes) {
    ASSERT_EQ(socket.sendTo(to, bytes.data(), static_cast<unsigned int>(bytes.size())),
              static_cast<int>(bytes.size()));
  }
  bdSocket socket;
  bdAddr addr;
};

std::vector<unsigned char> request(const unsigned char* nonce, std::uint32_t title) {
  bdBitBuffer b(bdLANDiscoveryPacket::REQUEST_BITS, false);
  bdLANDiscoveryPacket::writeRequest(b, nonce, title);
  return std::vector<unsigned char>(b.getData(), b.getData() + bdLANDiscoveryPacket::byteSize(b));
}

// Bit n of the datagram, as the bit buffer lays it out.
unsigned int bitsAt(const std::vector<unsigned char>& d, unsigned int first, unsigned int count) {
  unsigned int v = 0;
  for (unsigned int i = 0; i < count; ++i) {
    const unsigned int n = first + i;
    v |= static_cast<unsigned int>((d[n / 8] >> (n % 8)) & 1u) << i;
  }
  return v;
}

class LANDiscovery : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    bdtest::CoreTest::SetUp();
    BD_REGISTER_GAME_INFO_CLASS(RoomGameInfo);
    bdArray<bdAddr> locals;
    locals.pushBack(bdAddr("192.168.1.20:3074"));
    hostAddr = new bdCommonAddr(locals, bdAddr("81.2.3.4:3074"), BD_NAT_MODERATE);
    for (unsigned char i = 0; i < 8; ++i)
      id.ab[i] = static_cast<unsigned char>(0xA0 + i);
    for (unsigned char i = 0; i < 16; ++i)
      key.ab[i] = static_cast<unsigned char>(0x30 + i);
    auto* room = new RoomGameInfo();
    room->setTitleID(kTitle);
    room->setSecID(id);
    room->setSecKey(key);
    room->setHostAddr(hostAddr);
    room->players = 3;
    hosted = room;
  }
  void TearDown() override {
    bdPlatformTiming::setClock(nullptr, nullptr);
    hosted = nullptr;
    hostAddr = nullptr;
    bdtest::CoreTest::TearDown();
  }
  void useFakeClock() {
    g_now = 1;
    bdPlatformTiming::setClock(bdtest::fakeCounter, bdtest::fakeFrequency);
  }
  // The nonce of a request the client sent to peer, and where it came from.
  std::vector<unsigned char> captureRequest(RawPeer& peer, bdDiscoveryClient& client,
                                            bdAddr& clientAddr) {
    EXPECT_TRUE(client.discover(kTitle, 5.0f, bdInetAddr::getLoopback(), peer.addr.getPort()));
    auto req = peer.receive(&clientAddr);
    EXPECT_EQ(req.size(), 14u);
    std::vector<unsigned char> nonce(8);
    for (unsigned int i = 0; i < 8 && req.size() == 14; ++i)
      nonce[i] = static_cast<unsigned char>(bitsAt(req, 9 + 8 * i, 8));
    return nonce;
  }

  bdSecurityID id;
  bdSecurityKey key;
  bdReference<bdCommonAddr> hostAddr;
  bdReference<bdGameInfo> hosted;
};

TEST_F(LANDiscovery, AGameAnnouncedOnLoopbackIsFoundWithEveryField) {
  bdDiscoveryServer server;
  RecordingListener serverHeard;
  server.registerListener(&serverHeard);
  ASSERT_TRUE(server.start(hosted, bdInetAddr::getLoopback(), 0));
  ASSERT_NE(server.getPort(), 0);

  bdDiscoveryClient client;
  client.setLocalCommonAddr(hostAddr);  // searching from the hosting machine itself
  RecordingListener heard;
  client.registerListener(&heard);
  ASSERT_TRUE(client.discover(kTitle, 5.0f, bdInetAddr::getLoopback(), server.getPort()));
  EXPECT_EQ(client.getStatus(), bdDiscoveryClient::BD_RUNNING);
  for (int i = 0; i < 2000 && heard.found.empty(); ++i) {
    server.update();
    client.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(heard.found.size(), 1u);
  EXPECT_EQ(serverHeard.requests, 1);
  auto* found = static_cast<RoomGameInfo*>(heard.found[0].get());
  EXPECT_EQ(found->getTitleID(), kTitle);
  EXPECT_EQ(found->getSecID(), id);
  EXPECT_EQ(found->getSecKey(), key);
  EXPECT_EQ(found->players, 3u);
  ASSERT_TRUE(found->getHostAddr().notNull());
  EXPECT_EQ(*found->getHostAddr(), *hostAddr);
  EXPECT_EQ(found->getHostAddr()->getPublicAddr(), bdAddr("81.2.3.4:3074"));
  EXPECT_EQ(found->getHostAddr()->getNATType(), BD_NAT_MODERATE);
  EXPECT_TRUE(found->getHostAddr()->isLoopback());
  EXPECT_EQ(heard.ends, 0);
}

TEST_F(LANDiscovery, RequestAndReplyAreTheDocumentedBits) {
  bdDiscoveryClient client;
  RawPeer fakeServer;
  bdAddr clientAddr;
  const auto nonce = captureRequest(fakeServer, client, clientAddr);

  // 63 bytes of base fields, then the application's 32 bits.
  bdDiscoveryServer server;
  ASSERT_TRUE(server.start(hosted, bdInetAddr::getLoopback(), 0));
  RawPeer requester;
  requester.send(bdAddr(bdInetAddr::getLoopback(), server.getPort()),
                 request(nonce.data(), kTitle));
  std::vector<unsigned char> reply;
  for (int i = 0; i < 2000 && server.getStatus() == bdDiscoveryServer::BD_RUNNING; ++i) {
    server.update();
    bdAddr from;
    unsigned char b[2048];
    const int got = requester.socket.receiveFrom(from, b, sizeof b);
    if (got > 0) {
      reply.assign(b, b + got);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(reply.size(), 67u);
  EXPECT_EQ(bitsAt(reply, 0, 1), 0u);
  EXPECT_EQ(bitsAt(reply, 1, 8), 27u);
  for (unsigned int i = 0; i < 8; ++i)
    EXPECT_EQ(bitsAt(reply, 9 + 8 * i, 8), nonce[i]);
  EXPECT_EQ(bitsAt(reply, 73, 32), kTitle);
  EXPECT_EQ(bitsAt(reply, 105, 8), 0xA0u);
  EXPECT_EQ(bitsAt(reply, 169, 8), 0x30u);
  unsigned char host[25];
  ASSERT_TRUE(hostAddr->serialize(host, sizeof host));
  for (unsigned int i = 0; i < 25; ++i)
    EXPECT_EQ(bitsAt(reply, 297 + 8 * i, 8), host[i]) << i;
  EXPECT_EQ(bitsAt(reply, 497, 32), 3u);

  // The reply read by the client: every shorter cut is refused, the whole one found.
  RecordingListener heard;
  client.registerListener(&heard);
  for (unsigned int size = 0; size < reply.size(); ++size)
    client.handleDatagram(fakeServer.addr, reply.data(), size);
  EXPECT_TRUE(heard.found.empty());
  client.handleDatagram(fakeServer.addr, reply.data(), static_cast<unsigned int>(reply.size()));
  ASSERT_EQ(heard.found.size(), 1u);
  EXPECT_EQ(heard.found[0]->getTitleID(), kTitle);
}

TEST_F(LANDiscovery, RequestsCutShortOrForAnotherTitleGetNoReply) {
  bdDiscoveryServer server;
  RecordingListener serverHeard;
  server.registerListener(&serverHeard);
  ASSERT_TRUE(server.start(hosted, bdInetAddr::getLoopback(), 0));
  const bdAddr serverAddr(bdInetAddr::getLoopback(), server.getPort());
  RawPeer requester;
  const unsigned char nonce[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const auto good = request(nonce, kTitle);
  ASSERT_EQ(good.size(), 14u);
  std::vector<std::vector<unsigned char>> refused;
  for (std::size_t size = 1; size < good.size(); ++size)
    refused.emplace_back(good.begin(), good.begin() + static_cast<long>(size));
  refused.push_back(request(nonce, kTitle + 1));
  auto wrongType = good;
  wrongType[0] = static_cast<unsigned char>(wrongType[0] ^ 0x02);  // type 26 becomes 27
  refused.push_back(wrongType);
  auto typed = good;
  typed[0] |= 1;  // header bit: a typed buffer
  refused.push_back(typed);
  for (const auto& datagram : refused)
    requester.send(serverAddr, datagram);
  requester.send(serverAddr, good);
  // Datagrams on loopback arrive in order: only the last one is answered.
  for (int i = 0; i < 2000 && serverHeard.requests == 0; ++i) {
    server.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(serverHeard.requests, 1);
  EXPECT_EQ(requester.receive().size(), 67u);  // the application's class adds 32 bits
  server.close();
  EXPECT_EQ(server.getStatus(), bdDiscoveryServer::BD_NOT_INITIALIZED);
  server.update();
  EXPECT_TRUE(log.saw("Not initialized."));
}

TEST_F(LANDiscovery, OnlyRepliesToTheCurrentSearchAreHeard) {
  bdDiscoveryClient client;
  RecordingListener heard;
  client.registerListener(&heard);
  RawPeer fakeServer;
  bdAddr clientAddr;
  const auto oldNonce = captureRequest(fakeServer, client, clientAddr);
  auto reply = [&](const std::vector<unsigned char>& nonce, unsigned char type) {
    bdBitBuffer b(512, false);
    b.writeUChar8(type);
    b.writeBits(nonce.data(), 64);
    hosted->serialize(b);
    return std::vector<unsigned char>(b.getData(), b.getData() + bdLANDiscoveryPacket::byteSize(b));
  };
  client.handleDatagram(fakeServer.addr, reply(oldNonce, 27).data(), 67);
  ASSERT_EQ(heard.found.size(), 1u);
  EXPECT_FALSE(heard.found[0]->getHostAddr()->isLoopback());  // no local address was given

  // A second search while one runs is refused and sends nothing.
  EXPECT_FALSE(client.discover(kTitle, 5.0f, bdInetAddr::getLoopback(), fakeServer.addr.getPort()));
  EXPECT_TRUE(log.saw("LAN discovery already running"));

  useFakeClock();
  RecordingListener later;
  bdDiscoveryClient next;
  next.registerListener(&later);
  const auto newNonce = captureRequest(fakeServer, next, clientAddr);
  ASSERT_NE(newNonce, oldNonce);
  // An old search's reply, and a request in place of a reply, are not games.
  fakeServer.send(clientAddr, reply(oldNonce, 27));
  fakeServer.send(clientAddr, reply(newNonce, 26));
  fakeServer.send(clientAddr, reply(newNonce, 27));
  for (int i = 0; i < 2000 && later.found.empty(); ++i) {
    next.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(later.found.size(), 1u);
  EXPECT_TRUE(log.saw("Reply is not relevant to client"));
  EXPECT_TRUE(log.saw("Received message is not a discovery reply"));
}

TEST_F(LANDiscovery, ASearchEndsOnTheFirstUpdateAfterItsTime) {
  useFakeClock();
  RawPeer fakeServer;
  bdDiscoveryClient client;
  RecordingListener heard;
  client.registerListener(&heard);
  ASSERT_TRUE(client.discover(kTitle, 0.5f, bdInetAddr::getLoopback(), fakeServer.addr.getPort()));
  g_now += 500000;
  client.update();
  EXPECT_EQ(heard.ends, 0);
  EXPECT_EQ(client.getStatus(), bdDiscoveryClient::BD_RUNNING);
  g_now += 1;
  client.update();
  EXPECT_EQ(heard.ends, 1);
  EXPECT_EQ(client.getStatus(), bdDiscoveryClient::BD_IDLE);
  client.update();
  EXPECT_EQ(heard.ends, 1);
  EXPECT_TRUE(log.saw("Called while client was not running"));
  // A new search may start once the last one is over.
  EXPECT_TRUE(client.discover(kTitle, 0.5f, bdInetAddr::getLoopback(), fakeServer.addr.getPort()));
  client.unregisterListener(&heard);
  g_now += 600000;
  client.update();
  EXPECT_EQ(heard.ends, 1);
}

TEST_F(LANDiscovery, AHostedGameWithoutAnAddressSendsNoGame) {
  bdDiscoveryServer server;
  ASSERT_TRUE(server.start(new bdGameInfo(kTitle, id, key, nullptr), bdInetAddr::getLoopback(), 0));
  RawPeer requester;
  const unsigned char nonce[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  requester.send(bdAddr(bdInetAddr::getLoopback(), server.getPort()), request(nonce, kTitle));
  std::vector<unsigned char> reply;
  for (int i = 0; i < 2000 && reply.empty(); ++i) {
    server.update();
    unsigned char b[2048];
    bdAddr from;
    const int got = requester.socket.receiveFrom(from, b, sizeof b);
    if (got > 0) reply.assign(b, b + got);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // Only the type and the nonce: too short for any client to read as a game.
  EXPECT_EQ(reply.size(), 10u);
  EXPECT_TRUE(log.saw("Serialized failed as data is uninitialized."));
}

TEST_F(LANDiscovery, TheFactoryKeepsItsFirstClass) {
  BD_REGISTER_GAME_INFO_CLASS(bdGameInfo);
  EXPECT_TRUE(log.saw("Game info class already set"));
  bdReference<bdGameInfo> made(bdGameInfoFactory::getInstance()->create());
  EXPECT_NE(dynamic_cast<RoomGameInfo*>(made.get()), nullptr);
  EXPECT_EQ(made->getTitleID(), bdGameInfo::UNSET_TITLE_ID);
  EXPECT_TRUE(log.saw("This object appears to be uninitialized."));
}

TEST(LANDiscoveryFactory, WithoutAClassAPlainGameInfoIsMade) {
  bdCore::init(true);
  {
    bdReference<bdGameInfo> made(bdGameInfoFactory::getInstance()->create());
    ASSERT_TRUE(made.notNull());
    EXPECT_EQ(dynamic_cast<RoomGameInfo*>(made.get()), nullptr);
  }
  bdCore::quit();
}

}  // namespace
