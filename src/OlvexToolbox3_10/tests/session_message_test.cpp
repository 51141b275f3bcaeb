// The session messages and the join ticket on the wire: hand-written byte
// vectors, every message through the receiving decoder, refusals at the
// sender, and malformed input from the network.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Modules/Session/Src/SessionMessage.h"
#include "Modules/Session/Src/SessionMessageDecoder.h"
#include "Modules/Session/Src/Ticket.h"
#include "bdSocket/bdCommonAddr.h"

using namespace OX_Toolbox;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const Blob& b) { return Bytes(b.getData(), b.getData() + b.getSize()); }

const SessionID kSession = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18};

Ticket sampleTicket() {
  Ticket t;
  t.first = String("ab");
  t.key = {1, 2, 3, 4, 5, 6, 7, 8};
  t.extra = 7;
  t.stamp = 0x0102030405060708;
  return t;
}

// Header of a message of `type` from PlayerID(1, 5) in kSession.
Bytes header(std::uint8_t type) {
  return {0x06, type, 0,    0,    0,                                // OX_INT32 type
          0x02, 0x01, 0x08, 0x05, 0, 0, 0,    0,    0,    0,    0,  // sender PlayerID
          0x0C, 0x06, 8,    0,    0, 0, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18};
}

Bytes concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::unique_ptr<SessionMessage> decode(const Bytes& bytes) {
  Blob b(bytes.data(), static_cast<std::uint32_t>(bytes.size()), BLOB_READONLY);
  return decodeSessionMessage(b);
}

Bytes encode(SessionMessage& m) {
  m.setSender(PlayerID(1, 5));
  Blob b;
  EXPECT_TRUE(m.serialize(b));
  return bytesOf(b);
}

PeerAddress addressOf(const char* where) {
  PeerAddress a;
  bdArray<bdAddr> locals;
  locals.pushBack(bdAddr("10.0.0.2:3074"));
  bdCommonAddr common(locals, bdAddr(where), BD_NAT_OPEN);
  common.serialize(a.commonAddr.data(), PeerAddress::kCommonAddrSize);
  a.text = String(std::string(where).substr(0, std::string(where).find(':')).c_str());
  a.port = bdAddr(where).getPort();
  a.key = kSession;
  return a;
}

const Bytes kTicketBytes = {0x03, 'T',  0x03, 'C',  0x03, 'K',  0x03, 'T',      // magic
                            0x03, 1,    0x03, 0,                                // version, flag
                            0x0A, 0x07, 3,    0,    0,    0,    'a',  'b',  0,  // "ab"
                            0x0A, 0x07, 0,    0,    0,    0,                    // ""
                            0x0C, 0x06, 8,    0,    0,    0,    1,    2,    3,
                            4,    5,    6,    7,    8,                              // key
                            0x03, 7,                                                // u8
                            0x08, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};  // i64

}  // namespace

TEST(SessionTicket, WritesAndReadsTheHandWrittenStreamForm) {
  Blob b;
  ASSERT_TRUE(sampleTicket().serialize(b));
  EXPECT_EQ(bytesOf(b), kTicketBytes);

  Blob in(kTicketBytes.data(), static_cast<std::uint32_t>(kTicketBytes.size()), BLOB_READONLY);
  Ticket back;
  EXPECT_TRUE(back.deserialize(in));
  EXPECT_EQ(back, sampleTicket());
  EXPECT_EQ(in.remaining(0), 0u);

  Ticket other = sampleTicket();
  other.stamp += 1;
  EXPECT_NE(other, sampleTicket());
}

TEST(SessionTicket, MalformedTicketsKeepWhatTheChecksProtect) {
  Ticket seed = sampleTicket();
  seed.second = String("kept");

  Bytes wrongMagic = kTicketBytes;
  wrongMagic[7] = 'X';
  Ticket t = seed;
  Blob b1(wrongMagic.data(), static_cast<std::uint32_t>(wrongMagic.size()), BLOB_READONLY);
  EXPECT_FALSE(t.deserialize(b1));
  EXPECT_EQ(t, seed);

  Bytes version2 = kTicketBytes;
  version2[9] = 2;
  Ticket fresh;
  Blob b2(version2.data(), static_cast<std::uint32_t>(version2.size()), BLOB_READONLY);
  EXPECT_FALSE(fresh.deserialize(b2));
  EXPECT_EQ(fresh.version, 2);
  EXPECT_TRUE(fresh.first.isEmpty());
  EXPECT_EQ(b2.remaining(0), kTicketBytes.size() - 12);

  // Cut anywhere after the flag: none of the later fields change.
  for (std::size_t cut = 12; cut < kTicketBytes.size(); ++cut) {
    Ticket u = seed;
    Blob b(kTicketBytes.data(), static_cast<std::uint32_t>(cut), BLOB_READONLY);
    EXPECT_FALSE(u.deserialize(b)) << cut;
    EXPECT_TRUE(u.second == seed.second && u.stamp == seed.stamp && u.key == seed.key) << cut;
  }
}

TEST(SessionMessages, HandWrittenVectors) {
  HeartbeatMessage heartbeat(kSession, {PlayerID(2, 0x1122)});
  EXPECT_EQ(encode(heartbeat),
            concat(header(2), {0x02, 1, 0x02, 2, 0x08, 0x22, 0x11, 0, 0, 0, 0, 0, 0}));

  // No local player in the session: a zero count and nothing after it.
  HeartbeatMessage empty(kSession, {});
  EXPECT_EQ(encode(empty), concat(header(2), {0x02, 0}));

  // Attributes count with an OX_INT32.
  SessionAttributesMessage attributes(kSession, {{3, String("x")}});
  EXPECT_EQ(encode(attributes), concat(header(14), {0x06, 1, 0, 0, 0, 0x06, 3, 0, 0, 0, 0x0A, 0x07,
                                                    2, 0, 0, 0, 'x', 0}));

  AskForTicketsMessage ask(kSession, 2, 1);
  EXPECT_EQ(encode(ask), concat(header(8), {0x07, 2, 0, 0, 0, 0x07, 1, 0, 0, 0}));

  TicketsMessage tickets(kSession, 0, {sampleTicket()});
  EXPECT_EQ(encode(tickets), concat(concat(header(9), {0x07, 0, 0, 0, 0, 0x02, 1}), kTicketBytes));

  SessionNoticeMessage started(SESSION_MSG_MATCH_STARTED, kSession);
  EXPECT_EQ(encode(started), header(16));

  // The same bytes come back as the same message.
  auto m = decode(concat(header(2), {0x02, 1, 0x02, 2, 0x08, 0x22, 0x11, 0, 0, 0, 0, 0, 0}));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->getType(), SESSION_MSG_HEARTBEAT);
  EXPECT_EQ(m->getSender(), PlayerID(1, 5));
  EXPECT_EQ(m->getSessionId(), kSession);
  EXPECT_EQ(static_cast<HeartbeatMessage&>(*m).players, std::vector<PlayerID>{PlayerID(2, 0x1122)});
}

TEST(SessionMessages, EveryMessageComesBackThroughTheDecoder) {
  const std::vector<PlayerID> players = {PlayerID(2, 7), PlayerID(2, 9)};
  const std::vector<String> logins = {String("ann"), String("bob")};
  const std::vector<PeerAddress> addresses = {addressOf("1.2.3.4:3074"),
                                              addressOf("5.6.7.8:28960")};

  {
    EnterSessionMessage sent(kSession, players, logins, {sampleTicket(), Ticket()}, addresses[0]);
    auto got = decode(encode(sent));
    ASSERT_NE(got, nullptr);
    auto& m = static_cast<EnterSessionMessage&>(*got);
    EXPECT_EQ(m.players, players);
    EXPECT_EQ(m.logins, logins);
    EXPECT_EQ(m.tickets, (std::vector<Ticket>{sampleTicket(), Ticket()}));
    EXPECT_EQ(m.ownAddress, addresses[0]);
  }
  {
    SessionStateMessage sent(kSession, true, false, players, logins, addresses, {3, -1});
    auto got = decode(encode(sent));
    ASSERT_NE(got, nullptr);
    auto& m = static_cast<SessionStateMessage&>(*got);
    EXPECT_TRUE(m.accepted);
    EXPECT_FALSE(m.matchStarted);
    EXPECT_EQ(m.players, players);
    EXPECT_EQ(m.addresses, addresses);
    EXPECT_EQ(m.statuses, (std::vector<std::int32_t>{3, -1}));
  }
  {
    PlayersJoinedMessage sent(kSession, players, logins, addresses);
    auto got = decode(encode(sent));
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(static_cast<PlayersJoinedMessage&>(*got).addresses, addresses);
  }
  {
    PlayerFlagsMessage sent(SESSION_MSG_PLAYER_FLAGS_OTHER, kSession, true, players);
    auto got = decode(encode(sent));
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->getType(), SESSION_MSG_PLAYER_FLAGS_OTHER);
    EXPECT_EQ(static_cast<PlayerFlagsMessage&>(*got).players, players);
  }
  {
    PlayerStatusMessage sent(SESSION_MSG_PLAYER_STATUS_TO_HOST, kSession, players[1], 4);
    auto got = decode(encode(sent));
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->getType(), SESSION_MSG_PLAYER_STATUS_TO_HOST);
    EXPECT_EQ(static_cast<PlayerStatusMessage&>(*got).player, players[1]);
    EXPECT_EQ(static_cast<PlayerStatusMessage&>(*got).status, 4);
  }
  for (std::int32_t code : {5, 7}) {
    PlayersLeftMessage sent(kSession, players, code);
    auto got = decode(encode(sent));
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->getType(), code);
    EXPECT_EQ(static_cast<PlayersLeftMessage&>(*got).players, players);
  }
}

TEST(SessionMessages, AReceivedAddressTakesTextAndPortFromItsCommonAddress) {
  PeerAddress sent = addressOf("9.8.7.6:1234");
  sent.text = String("0.0.0.0");
  sent.port = 1;
  Blob b;
  ASSERT_TRUE(sent.serialize(b));
  PeerAddress got;
  ASSERT_TRUE(got.deserialize(b));
  EXPECT_TRUE(got.text == String("9.8.7.6"));
  EXPECT_EQ(got.port, 1234);

  // No common address: the streamed text and port stand.
  PeerAddress bare;
  bare.text = String("4.4.4.4");
  bare.port = 77;
  Blob c;
  ASSERT_TRUE(bare.serialize(c));
  PeerAddress back;
  ASSERT_TRUE(back.deserialize(c));
  EXPECT_EQ(back, bare);
}

TEST(SessionMessages, ListsTheCountCannotCarryAreRefusedAtTheSender) {
  std::vector<PlayerID> full(kMaxSessionListEntries, PlayerID(2, 1));
  std::vector<PlayerID> over(kMaxSessionListEntries + 1, PlayerID(2, 1));
  Blob b;
  EXPECT_TRUE(HeartbeatMessage(kSession, full).serialize(b));
  auto back = decode(bytesOf(b));
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(static_cast<HeartbeatMessage&>(*back).players.size(), kMaxSessionListEntries);

  Blob refused;
  ASSERT_TRUE(refused.writeInt8(0, 9));
  const Bytes before = bytesOf(refused);
  EXPECT_FALSE(HeartbeatMessage(kSession, over).serialize(refused));
  EXPECT_FALSE(
      PlayerFlagsMessage(SESSION_MSG_PLAYER_FLAGS, kSession, true, over).serialize(refused));
  EXPECT_FALSE(TicketsMessage(kSession, 0, std::vector<Ticket>(128)).serialize(refused));
  // Parallel lists that do not line up.
  EXPECT_FALSE(
      PlayersJoinedMessage(kSession, {PlayerID(2, 1)}, {}, {PeerAddress()}).serialize(refused));
  EXPECT_EQ(bytesOf(refused), before);
}

TEST(SessionMessages, MalformedInputFromTheNetworkIsDropped) {
  // Codes without a message.
  for (std::uint8_t code : {1, 10, 12, 20, 0xFF})
    EXPECT_EQ(decode(header(code)), nullptr) << +code;

  // Every cut of a full message.
  SessionStateMessage state(kSession, true, true, {PlayerID(2, 7)}, {String("ann")},
                            {addressOf("1.2.3.4:3074")}, {1});
  const Bytes whole = encode(state);
  ASSERT_NE(decode(whole), nullptr);
  for (std::size_t cut = 0; cut < whole.size(); ++cut)
    EXPECT_EQ(decode(Bytes(whole.begin(), whole.begin() + cut)), nullptr) << cut;

  // A wrong type code inside the body.
  Bytes retyped = whole;
  retyped[header(4).size()] = 0x07;
  EXPECT_EQ(decode(retyped), nullptr);

  // A session id that is not 8 bytes.
  Bytes shortId = header(16);
  shortId[18] = 7;
  EXPECT_EQ(decode(shortId), nullptr);

  // A text longer than any String.
  Bytes longText =
      concat(header(14), {0x06, 1, 0, 0, 0, 0x06, 3, 0, 0, 0, 0x0A, 0x07, 0x20, 3, 0, 0});
  longText.resize(longText.size() + 0x320, 'a');
  EXPECT_EQ(decode(longText), nullptr);

  // An attribute count far beyond the bytes that follow.
  EXPECT_EQ(decode(concat(header(14), {0x06, 0xFF, 0xFF, 0xFF, 0x7F})), nullptr);

  // A negative player count reads as an empty list.
  auto negative = decode(concat(header(2), {0x02, 0x80}));
  ASSERT_NE(negative, nullptr);
  EXPECT_TRUE(static_cast<HeartbeatMessage&>(*negative).players.empty());
}
