#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "bdCore/bdCrypto/bdCryptoUtils.h"
#include "bdStreamConnection/bdStreamConnection.h"
#include "bd_test_support.h"
#include "lobby_test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

const unsigned char kKey[24] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};

class Events : public bdConnectionListener {
 public:
  void onConnect(bdReference<bdConnection>) override { ++connects; }
  void onConnectFailed(bdReference<bdConnection>) override { ++failures; }
  void onDisconnect(bdReference<bdConnection>) override { ++disconnects; }
  int connects = 0;
  int failures = 0;
  int disconnects = 0;
};

// A stream connection to a raw peer socket the test reads and writes.
class StreamTest : public bdtest::CoreTest {
 protected:
  void SetUp() override {
    CoreTest::SetUp();
    conn = new bdStreamConnection(new bdCommonAddr(listener.address()));
    conn->registerListener(&events);
    conn->setKey(kKey);
    ASSERT_TRUE(conn->connect());
    peer.reset(listener.accept());
    ASSERT_NE(peer, nullptr);
    for (int i = 0; i < 2000 && conn->getStatus() != bdConnection::BD_CONNECTED; ++i) {
      conn->pump();
      if (conn->getStatus() == bdConnection::BD_CONNECTING) bdPlatformTiming::sleep(1);
    }
    ASSERT_EQ(conn->getStatus(), bdConnection::BD_CONNECTED);
    EXPECT_EQ(events.connects, 1);
  }
  void TearDown() override {
    peer.reset();
    conn = nullptr;
    CoreTest::TearDown();
  }
  // Exactly n bytes from the peer's side (blocking socket).
  Bytes readPeer(unsigned int n) {
    Bytes out(n);
    unsigned int got = 0;
    while (got < n) {
      const int r = peer->receive(out.data() + got, n - got);
      if (r <= 0) break;
      got += static_cast<unsigned int>(r);
    }
    out.resize(got);
    return out;
  }
  void writePeer(const Bytes& bytes) {
    ASSERT_EQ(peer->send(bytes.data(), static_cast<unsigned int>(bytes.size())),
              static_cast<int>(bytes.size()));
  }
  // Polls until a message arrives or the connection ends.
  bdReference<bdMessage> nextMessage() {
    bdReference<bdMessage> m;
    for (int i = 0; i < 2000; ++i) {
      if (conn->getMessageToDispatch(m)) return m;
      if (conn->getStatus() != bdConnection::BD_CONNECTED) break;
      bdPlatformTiming::sleep(1);
    }
    return nullptr;
  }
  bool waitClosed() {
    bdReference<bdMessage> m;
    for (int i = 0; i < 2000 && conn->getStatus() == bdConnection::BD_CONNECTED; ++i) {
      conn->getMessageToDispatch(m);
      bdPlatformTiming::sleep(1);
    }
    return conn->getStatus() == bdConnection::BD_DISCONNECTED;
  }

  // Time stands still unless a test moves it; the connection's timers run on it.
  bdtest::FakeClock clock;
  bdtest::Listener listener;
  Events events;
  bdReference<bdStreamConnection> conn;
  std::unique_ptr<bdStreamSocket> peer;
};

TEST_F(StreamTest, PlainFrameGoesOutAsLengthFlagTypePayload) {
  const unsigned char payload[10] = {0x80, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  ASSERT_TRUE(conn->send(new bdMessage(7, payload, 10, true), false));
  const Bytes expected = {0x0C, 0x00, 0x00, 0x07, 0x80, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(readPeer(14), expected);
}

TEST_F(StreamTest, EncryptedFramesCarryRisingSeedsAndDecryptWithTheKey) {
  const unsigned char payload[3] = {0xAB, 0xCD, 0xEF};
  for (unsigned int seed = 0; seed < 2; ++seed) {
    ASSERT_TRUE(conn->send(new bdMessage(9, payload, 3, true), true));
    const Bytes frame = readPeer(15);
    ASSERT_EQ(frame.size(), 15u);
    EXPECT_EQ(frame[0], 13);  // L = C + 5 with C = 8
    EXPECT_EQ(frame[1], 0);
    EXPECT_EQ(frame[2], 1);
    EXPECT_EQ(frame[3] | frame[4] << 8 | frame[5] << 16 | frame[6] << 24, static_cast<int>(seed));
    unsigned char iv[24];
    unsigned char plain[8];
    ASSERT_TRUE(bdCryptoUtils::calculateInitialVector(seed, iv));
    ASSERT_TRUE(bdCryptoUtils::decrypt(kKey, iv, frame.data() + 7, plain, 8));
    const unsigned char head[8] = {0xEF, 0xBE, 0xAD, 0xDE, 9, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(std::memcmp(plain, head, 8), 0);
  }
  EXPECT_EQ(conn->getSeed(), 2u);
}

TEST_F(StreamTest, KeepAlivesAreSkippedAndSplitFramesArriveWhole) {
  writePeer({0x00, 0x00, 0x05, 0x00, 0x00, 0x21});
  bdReference<bdMessage> m;
  for (int i = 0; i < 50; ++i) {
    EXPECT_FALSE(conn->getMessageToDispatch(m));
    bdPlatformTiming::sleep(1);
  }
  writePeer({0x80, 0x11, 0x22});
  m = nextMessage();
  ASSERT_TRUE(m.notNull());
  EXPECT_EQ(m->getType(), 0x21);
  ASSERT_TRUE(m->hasPayload());
  EXPECT_EQ(m->getPayload()->getDataSize(), 3u);
}

// What the peer sends back arrives, including an encrypted frame built by a
// second connection's encoder.
TEST_F(StreamTest, EncryptedFramesFromThePeerAreRead) {
  unsigned char frame[64];
  const unsigned char payload[5] = {0x80, 1, 2, 3, 4};
  const unsigned int size =
      bdStreamFrame::encode(frame, sizeof frame, 2, payload, 5, true, kKey, 77);
  ASSERT_EQ(size, 2u + 5 + 16);
  writePeer(Bytes(frame, frame + size));
  bdReference<bdMessage> m = nextMessage();
  ASSERT_TRUE(m.notNull());
  EXPECT_EQ(m->getType(), 2);
  // The payload keeps the block filler after its 5 bytes.
  EXPECT_EQ(m->getPayload()->getDataSize(), 16u - 5);
  EXPECT_EQ(std::memcmp(m->getPayload()->getData(), payload, 5), 0);
}

TEST_F(StreamTest, SendRefusesWhatNoReceiverCouldAccept) {
  std::vector<unsigned char> big(0xFFF4, 0x80);
  EXPECT_FALSE(conn->send(new bdMessage(1, big.data(), 0xFFF4, true), false));
  EXPECT_TRUE(log.saw("Message too big."));
  EXPECT_EQ(conn->getQueuedBytes(), 0u);
  EXPECT_EQ(conn->getStatus(), bdConnection::BD_CONNECTED);
}

TEST_F(StreamTest, PeerClosingEndsTheConnectionWithOneDisconnect) {
  peer.reset();
  EXPECT_TRUE(waitClosed());
  EXPECT_EQ(events.disconnects, 1);
  EXPECT_FALSE(conn->send(new bdMessage(1, true), false));
}

// Frames no sender may produce close the connection; nothing is read past them.
class HostileFrames : public StreamTest, public ::testing::WithParamInterface<Bytes> {};

TEST_P(HostileFrames, CloseTheConnection) {
  writePeer(GetParam());
  EXPECT_TRUE(waitClosed());
  EXPECT_EQ(events.disconnects, 1);
}

INSTANTIATE_TEST_SUITE_P(Stream, HostileFrames,
                         ::testing::Values(
                             // plain frame shorter than its flag and type
                             Bytes{0x01, 0x00, 0x00},
                             // encrypted frame too short for a block
                             Bytes{0x07, 0x00, 0x01, 0, 0, 0, 0, 1, 2},
                             // ciphertext not whole blocks
                             Bytes{0x0E, 0x00, 0x01, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                             // longer than any frame
                             Bytes{0xFF, 0xFF, 0x00, 0x01},
                             // right size, wrong key: the magic does not decrypt
                             Bytes{0x0D, 0x00, 0x01, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}));

TEST_F(StreamTest, KeepAliveAfterFortySecondsAndTimeOutAfterEighty) {
  clock.advance(41.0);
  conn->pump();
  EXPECT_EQ(readPeer(2), (Bytes{0, 0}));
  clock.advance(40.0);
  conn->pump();
  EXPECT_EQ(conn->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_TRUE(log.saw("Connection timed out\n"));
  EXPECT_EQ(events.disconnects, 1);
}

using StreamConnectTest = bdtest::CoreTest;

TEST_F(StreamConnectTest, RefusedConnectReportsConnectFailed) {
  unsigned short closedPort = 0;
  {
    bdtest::Listener gone;
    closedPort = gone.port;
  }
  Events events;
  bdReference<bdStreamConnection> conn(
      new bdStreamConnection(new bdCommonAddr(bdAddr(bdInetAddr::getLoopback(), closedPort))));
  conn->registerListener(&events);
  conn->connect();
  for (int i = 0; i < 2000 && conn->getStatus() == bdConnection::BD_CONNECTING; ++i) {
    conn->pump();
    bdPlatformTiming::sleep(1);
  }
  EXPECT_EQ(conn->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_EQ(events.failures, 1);
  EXPECT_EQ(events.connects, 0);
}

// The caller's smaller blocks bound the frames in both directions.
TEST_F(StreamConnectTest, CallerBlocksBoundWhatIsSentAndReceived) {
  bdtest::Listener listener;
  unsigned char sendBlock[64];
  unsigned char receiveBlock[64];
  Events events;
  bdReference<bdStreamConnection> conn(
      new bdStreamConnection(new bdCommonAddr(listener.address()), sendBlock, receiveBlock, 64));
  conn->registerListener(&events);
  ASSERT_TRUE(conn->connect());
  std::unique_ptr<bdStreamSocket> peer(listener.accept());
  for (int i = 0; i < 2000 && conn->getStatus() == bdConnection::BD_CONNECTING; ++i) {
    conn->pump();
    bdPlatformTiming::sleep(1);
  }
  ASSERT_EQ(conn->getStatus(), bdConnection::BD_CONNECTED);
  unsigned char payload[70] = {0x80};
  EXPECT_FALSE(conn->send(new bdMessage(1, payload, 61, true), false));
  EXPECT_TRUE(conn->send(new bdMessage(1, payload, 60, true), false));
  const unsigned char tooLong[4] = {0x3F, 0x00, 0x00, 0x01};  // L = 63: 65 bytes in all
  ASSERT_EQ(peer->send(tooLong, 4), 4);
  bdReference<bdMessage> m;
  for (int i = 0; i < 2000 && conn->getStatus() == bdConnection::BD_CONNECTED; ++i) {
    conn->getMessageToDispatch(m);
    bdPlatformTiming::sleep(1);
  }
  EXPECT_EQ(conn->getStatus(), bdConnection::BD_DISCONNECTED);
  EXPECT_EQ(events.disconnects, 1);
}

}  // namespace
