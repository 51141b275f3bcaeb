// Tagged peer messages between machines of one session: delivery to the sink
// of their tag in the order sent, local delivery that never reaches the
// network, the envelope's layout and checksum, the peer table learnt from
// senders and the outcome of route requests.
#include <gtest/gtest.h>

#include <vector>

#include "Modules/Core/Src/Digest/Md5Digest.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "peer_loopback.h"

using namespace OX_Toolbox;
using namespace peer_test;

namespace {

constexpr std::uint32_t kGame = PeerTag("GAME");
constexpr std::uint32_t kChat = PeerTag("CHAT");

Blob blobOf(const Bytes& bytes) {
  Blob b;
  b.setData(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  return b;
}

Bytes pattern(std::size_t n, std::uint8_t seed) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i)
    b[i] = static_cast<std::uint8_t>(seed + i * 7);
  return b;
}

class PeerMessengerTest : public ::testing::Test {
 protected:
  PeerMessengerTest() : a(board, 1), b(board, 2) {
    a.players.slots[0] = alice;
    b.players.slots[0] = bob;
    b.players.slots[2] = bea;
    a.messenger.registerPeer(bob, b.connections->self());
    a.messenger.registerPeer(bea, b.connections->self());
    a.connections->routes.insert(2);
    b.connections->routes.insert(1);
    b.messenger.addSink(&bGame);
    b.messenger.addSink(&bChat);
  }
  ERRORID send(Machine& from, const PlayerID& to, std::uint32_t tag, const Bytes& bytes) {
    from.messenger.SendMessageToPlayer(to, tag, blobOf(bytes));
    return LastResult().get();
  }

  const PlayerID alice{CONNECTIONTYPE_LAN, 0x1111};
  const PlayerID bob{CONNECTIONTYPE_LAN, 0x2222};
  const PlayerID bea{CONNECTIONTYPE_LAN, 0x3333};
  Switchboard board;
  Machine a, b;
  RecordingSink bGame{kGame}, bChat{kChat};
};

TEST(PeerTagTest, FourCharactersReadBigEndian) { EXPECT_EQ(PeerTag("MMDS"), 0x4D4D4453u); }

TEST_F(PeerMessengerTest, MessagesReachTheSinkOfTheirTagInTheOrderSent) {
  const Bytes first = pattern(553, 1), second = {9}, third = pattern(40, 3), chat = {'h', 'i'};
  ASSERT_EQ(send(a, bob, kGame, first), ERRORID_SUCCEEDED);
  ASSERT_EQ(send(a, bob, kChat, chat), ERRORID_SUCCEEDED);
  ASSERT_EQ(send(a, bea, kGame, second), ERRORID_SUCCEEDED);
  ASSERT_EQ(send(a, bob, kGame, third), ERRORID_SUCCEEDED);
  EXPECT_TRUE(bGame.got.empty()) << "nothing is delivered before the pump";
  b.messenger.pump();
  const std::vector<std::pair<int, Bytes>> game = {{0, first}, {2, second}, {0, third}};
  EXPECT_EQ(bGame.got, game);
  EXPECT_EQ(bChat.got, (std::vector<std::pair<int, Bytes>>{{0, chat}}));
  EXPECT_EQ(b.connections->attaches, 1);
}

TEST_F(PeerMessengerTest, TheFirstSinkOfATagTakesTheMessageAndRemovedSinksHearNothing) {
  RecordingSink second(kGame);
  b.messenger.addSink(&second);
  send(a, bob, kGame, {1});
  b.messenger.pump();
  b.messenger.removeSink(&bGame);
  send(a, bob, kGame, {2});
  b.messenger.pump();
  EXPECT_EQ(bGame.got, (std::vector<std::pair<int, Bytes>>{{0, {1}}}));
  EXPECT_EQ(second.got, (std::vector<std::pair<int, Bytes>>{{0, {2}}}));
}

TEST_F(PeerMessengerTest, AMessageToAPlayerOfThisMachineIsDeliveredAtOnceWithoutTheNetwork) {
  b.players.slots[1] = PlayerID(CONNECTIONTYPE_ONLINE, 77);
  const Bytes body = pattern(553, 5);
  b.messenger.SendMessageToPlayer(b.players.slots[1], kGame, blobOf(body));
  EXPECT_EQ(LastResult().get(), ERRORID_SUCCEEDED);
  EXPECT_EQ(bGame.got, (std::vector<std::pair<int, Bytes>>{{1, body}}));
  EXPECT_EQ(b.connections->sends, 0);
  EXPECT_TRUE(a.connections->inbox.empty());
}

TEST_F(PeerMessengerTest, SendingFailsWithoutAnAddressOrARoute) {
  EXPECT_EQ(send(a, PlayerID(CONNECTIONTYPE_LAN, 0x9999), kGame, {1}), ERRORID_FAILED);
  EXPECT_EQ(a.connections->sends, 0) << "an unknown player costs no send";
  a.connections->routes.clear();
  EXPECT_EQ(send(a, bob, kGame, {1}), ERRORID_FAILED);
  b.messenger.pump();
  EXPECT_TRUE(bGame.got.empty());
}

TEST_F(PeerMessengerTest, TheEnvelopeCarriesItsChecksumVersionSendersRecipientAndTag) {
  a.players.slots[3] = PlayerID(CONNECTIONTYPE_LAN, 0x0405);
  a.players.slots[1] = PlayerID(CONNECTIONTYPE_ONLINE, 0x99);  // not of the recipient's type
  Blob envelope;
  ASSERT_TRUE(a.messenger.buildEnvelope(bob, kGame, blobOf({0xAA, 0xBB}), envelope));
  const Bytes body = {0x07, 0x00, 0x01, 0x03, 0x00,                    // OX_UINT32 version
                      0x02, 0x02,                                      // OX_INT8 two senders
                      0x02, 0x01, 0x08, 0x05, 0x04, 0, 0, 0, 0, 0, 0,  // slot 3 first
                      0x02, 0x01, 0x08, 0x11, 0x11, 0, 0, 0, 0, 0, 0,  // then slot 0
                      0x02, 0x01, 0x08, 0x22, 0x22, 0, 0, 0, 0, 0, 0,  // recipient
                      0x07, 0x45, 0x4D, 0x41, 0x47,                    // OX_UINT32 "GAME"
                      0xAA, 0xBB};                                     // the message, raw
  const Bytes got(envelope.getData(), envelope.getData() + envelope.getSize());
  ASSERT_EQ(got.size(), 9 + body.size());
  EXPECT_EQ(Bytes(got.begin() + 9, got.end()), body);
  unsigned char digest[kDigestSize];
  Md5Digest::compute(body.data(), body.size(), digest);
  EXPECT_EQ(got[0], OX_UINT64);
  EXPECT_EQ(Bytes(got.begin() + 1, got.begin() + 9), Bytes(digest, digest + 8));
}

TEST_F(PeerMessengerTest, ACorruptedOrForeignEnvelopeIsDropped) {
  Blob good;
  ASSERT_TRUE(a.messenger.buildEnvelope(bob, kGame, blobOf({1, 2, 3}), good));
  const Bytes clean(good.getData(), good.getData() + good.getSize());
  // Rebuilds the checksum, so only the change itself can make it fail.
  auto resealed = [](Bytes bytes) {
    unsigned char digest[kDigestSize];
    Md5Digest::compute(bytes.data() + 9, bytes.size() - 9, digest);
    std::copy(digest, digest + 8, bytes.begin() + 1);
    return bytes;
  };
  Bytes versionChanged = clean, countNegative = clean, countPastEnd = clean;
  versionChanged[12] = 0x04;
  countNegative[15] = 0x80;
  countPastEnd[15] = 0x7F;
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"checksum byte",
       [&] {
         Bytes x = clean;
         x[4] ^= 1;
         return x;
       }()},
      {"message byte",
       [&] {
         Bytes x = clean;
         x.back() ^= 1;
         return x;
       }()},
      {"tag byte",
       [&] {
         Bytes x = clean;
         x[x.size() - 5] ^= 1;
         return x;
       }()},
      {"cut short", Bytes(clean.begin(), clean.begin() + 20)},
      {"empty", Bytes()},
      {"another version", resealed(versionChanged)},
      {"negative sender count", resealed(countNegative)},
      {"sender count past the end", resealed(countPastEnd)},
  };
  for (const Case& c : cases) {
    b.connections->inbox.emplace_back(a.connections->self(), c.bytes);
    b.messenger.pump();
    EXPECT_TRUE(bGame.got.empty()) << c.what;
  }
  b.connections->inbox.emplace_back(a.connections->self(), clean);
  b.messenger.pump();
  EXPECT_EQ(bGame.got.size(), 1u) << "the untouched envelope still passes";
}

TEST_F(PeerMessengerTest, SendersAreLearntEvenWhenNoSinkTakesTheMessage) {
  ASSERT_EQ(b.messenger.findPeer(alice), nullptr);
  send(a, bob, PeerTag("NONE"), {1});
  b.messenger.pump();
  ASSERT_NE(b.messenger.findPeer(alice), nullptr);
  EXPECT_EQ(*b.messenger.findPeer(alice), a.connections->self());
  // The machine can answer now.
  RecordingSink aGame(kGame);
  a.messenger.addSink(&aGame);
  EXPECT_EQ(send(b, alice, kGame, {5}), ERRORID_SUCCEEDED);
  a.messenger.pump();
  EXPECT_EQ(aGame.got, (std::vector<std::pair<int, Bytes>>{{0, {5}}}));
}

TEST_F(PeerMessengerTest, AMessageForAPlayerNotOnThisMachineIsDropped) {
  a.messenger.registerPeer(alice, b.connections->self());  // a wrong address, say
  send(a, alice, kGame, {1});
  b.messenger.pump();
  EXPECT_TRUE(bGame.got.empty());
}

TEST_F(PeerMessengerTest, ThePeerTableKeepsOneAddressPerPlayer) {
  PeerMessenger m(&b.players);
  m.registerPeer(alice, machineAddress(1));
  m.registerPeer(bob, machineAddress(2));
  m.registerPeer(alice, machineAddress(1));
  m.registerPeer(alice, machineAddress(3));
  ASSERT_EQ(m.peers().size(), 2u);
  EXPECT_EQ(m.peers()[0].id, bob);
  EXPECT_EQ(m.peers()[1].address, machineAddress(3));
}

class RecordingRouteListener : public PeerRouteListener {
 public:
  void onRouteResult(std::uint32_t id, ERRORID result) override { got.emplace_back(id, result); }
  std::vector<std::pair<std::uint32_t, ERRORID>> got;
};

TEST_F(PeerMessengerTest, RouteOutcomesReachTheirListenerFromALaterPump) {
  RecordingRouteListener listener, gone;
  a.connections->routes.clear();
  const PlayerID carl(CONNECTIONTYPE_LAN, 0x4444);
  const std::uint32_t open =
      a.messenger.openRouteTo(&listener, PeerRecord{carl, machineAddress(2)});
  const std::uint32_t unknown = a.messenger.closeRouteTo(&listener, PlayerID(1, 0x5555));
  const std::uint32_t forgotten = a.messenger.closeRouteTo(&gone, bob);
  a.connections->held.insert(open);
  a.messenger.detach(&gone);
  EXPECT_TRUE(listener.got.empty());
  EXPECT_NE(a.messenger.findPeer(carl), nullptr);
  EXPECT_EQ(a.messenger.findPeer(bob), nullptr);
  a.messenger.pump();
  EXPECT_EQ(listener.got,
            (std::vector<std::pair<std::uint32_t, ERRORID>>{{unknown, ERRORID_SUCCEEDED}}));
  a.connections->held.clear();
  a.messenger.pump();
  EXPECT_EQ(listener.got.back(), std::make_pair(open, ERRORID_SUCCEEDED));
  EXPECT_TRUE(gone.got.empty());
  EXPECT_NE(open, forgotten);
  const std::uint32_t all = a.messenger.closeAllRoutes(&listener);
  EXPECT_TRUE(a.messenger.peers().empty());
  a.messenger.pump();
  EXPECT_EQ(listener.got.back(), std::make_pair(all, ERRORID_SUCCEEDED));
}

}  // namespace
