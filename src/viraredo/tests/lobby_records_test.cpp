// Lobby requests, replies, records and push messages against bytes written
// by hand from the wire rules: fields follow bit by bit, least significant
// bit first; a typed field is its 5-bit type code, then its value bits.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bdCore/bdCrypto/bdHashTiger192.h"
#include "bdLobbyCommon/bdAuth.h"
#include "bdLobbyCommon/bdLobbyResults.h"
#include "bdLobbyService/bdLobbyServiceImpl.h"
#include "bdNet/bdLoopbackConnection.h"
#include "bd_test_support.h"
#include "remote_task_test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Packs fields bit by bit, independently of bdBitBuffer.
class Bits {
 public:
  Bits& raw(std::uint64_t value, unsigned int count) {
    for (unsigned int i = 0; i < count; ++i) {
      if (m_count % 8 == 0) m_bytes.push_back(0);
      m_bytes[m_count / 8] |= static_cast<unsigned char>(((value >> i) & 1u) << (m_count % 8));
      ++m_count;
    }
    return *this;
  }
  Bits& typed(unsigned int code, std::uint64_t value, unsigned int count) {
    return raw(code, 5).raw(value, count);
  }
  Bits& u8(unsigned char v) { return typed(3, v, 8); }
  Bits& u32(std::uint32_t v) { return typed(8, v, 32); }
  Bits& u64(std::uint64_t v) { return typed(10, v, 64); }
  Bits& b(bool v) { return typed(1, v ? 1 : 0, 1); }
  Bits& text(const std::string& s) {
    raw(16, 5);
    for (char ch : s)
      raw(static_cast<unsigned char>(ch), 8);
    return raw(0, 8);
  }
  Bits& blob(const Bytes& bytes) {
    raw(19, 5).u32(static_cast<std::uint32_t>(bytes.size()));
    for (unsigned char ch : bytes)
      raw(ch, 8);
    return *this;
  }
  const Bytes& bytes() const { return m_bytes; }
  // A received buffer over these bytes, read from just after the header.
  bdReference<bdBitBuffer> buffer() const {
    return new bdBitBuffer(m_bytes.data(), static_cast<unsigned int>(m_bytes.size()) * 8, true);
  }

 private:
  Bytes m_bytes;
  unsigned int m_count = 0;
};

class LobbyRecordsTest : public bdtest::LoopbackTaskTest {
 protected:
  Bytes sentPayload() {
    bdReference<bdMessage> m;
    if (!loop->getMessageToDispatch(m)) return {};
    const bdBitBuffer& p = *m->getPayload();
    return Bytes(p.getData(), p.getData() + p.getDataSize());
  }
  // Answers the request in slot 0 with the given reply fields.
  void answer(const bdRemoteTaskRef& task, Bits fields) {
    bdReference<bdMessage> reply(new bdMessage(
        1, fields.bytes().data(), static_cast<unsigned int>(fields.bytes().size()), true));
    manager->handleReply(reply);
    ASSERT_EQ(task->getStatus(), bdRemoteTask::BD_DONE);
  }
  // A reply's header for the task: slot 0 and the id its request carried.
  Bits replyTo(const bdRemoteTaskRef& task) {
    return Bits().raw(1, 1).u8(0).u8(static_cast<unsigned char>(task->getTransactionID() - 1));
  }
};

TEST_F(LobbyRecordsTest, RequestsMatchHandWrittenBytes) {
  bdTeams teams(manager.get());
  bdRemoteTaskRef task = teams.startTask(20, 2);
  ASSERT_TRUE(task.notNull());
  // header 1; slot 0; id 0; task 20; index 2; 32-bit zero trailer
  EXPECT_EQ(sentPayload(), (Bytes{0x07, 0xC0, 0x00, 0x18, 0x14, 0x43, 0, 0, 0, 0, 0}));
  task->reset();

  task = teams.startTask(2, 1, bdLobbyArgs().u64(0x0102030405060708ull).str("ab"));
  EXPECT_EQ(sentPayload(), Bits()
                               .raw(1, 1)
                               .u8(0)
                               .u8(1)
                               .u8(2)
                               .u8(1)
                               .u64(0x0102030405060708ull)
                               .text("ab")
                               .raw(0, 32)
                               .bytes());
  task->reset();

  // An optional buffer left out writes nothing; an empty one a Blob of length 0.
  task = teams.startTask(6, 0, bdLobbyArgs().u64(1).u64(2).buffer(nullptr));
  EXPECT_EQ(sentPayload(),
            Bits().raw(1, 1).u8(0).u8(2).u8(6).u8(0).u64(1).u64(2).raw(0, 32).bytes());
  task->reset();
  bdReference<bdByteBuffer> empty(new bdByteBuffer(0));
  task = teams.startTask(6, 0, bdLobbyArgs().u64(1).u64(2).buffer(empty.get()));
  EXPECT_EQ(sentPayload(),
            Bits().raw(1, 1).u8(0).u8(3).u8(6).u8(0).u64(1).u64(2).blob({}).raw(0, 32).bytes());
  task->reset();
}

TEST_F(LobbyRecordsTest, NamedRequestsWriteTheirSpecialForms) {
  bdMatchMaking mm(manager.get());
  bdRemoteTaskRef task = mm.startTask(3, nullptr, 1);
  EXPECT_EQ(sentPayload(), Bits().raw(1, 1).u8(0).u8(0).u8(1).u8(3).raw(0, 32).bytes());
  task->reset();
  const bdMatchMakingQuery query(-1, 5);
  task = mm.startTask5(1, &query);
  EXPECT_EQ(sentPayload(), Bits()
                               .raw(1, 1)
                               .u8(0)
                               .u8(1)
                               .u8(5)
                               .u8(1)
                               .typed(7, 0xFFFFFFFFu, 32)
                               .typed(7, 5, 32)
                               .raw(0, 16)  // two raw zero bytes after a record
                               .raw(0, 32)
                               .bytes());
  task->reset();

  bdStats stats(manager.get());
  task = stats.writeMultipleStats(1, 9, bdStats::BD_STATS_ADD, nullptr, 0);
  EXPECT_EQ(sentPayload(), Bits()
                               .raw(1, 1)
                               .u8(0)
                               .u8(2)
                               .u8(7)
                               .u8(1)
                               .u8(1)
                               .typed(7, 9, 32)
                               .typed(7, 0, 32)
                               .raw(0, 32)
                               .bytes());
  task->reset();
  bdStatsInfo a(11), b(12), c(13);
  a.setValue(-2);
  b.setValue(3);
  c.setValue(4);
  bdStatsInfo* rows[] = {&a, &b, &c};
  task = stats.writeMultipleStats(0, 9, bdStats::BD_STATS_REPLACE, rows, 3);
  Bits expected;
  expected.raw(1, 1).u8(0).u8(3).u8(7).u8(0).u8(0).typed(7, 9, 32).typed(7, 3, 32).typed(7, 2, 32);
  for (bdStatsInfo* r : rows)
    expected.u64(r->getEntityID()).typed(9, static_cast<std::uint64_t>(r->getValue()), 64);
  EXPECT_EQ(sentPayload(), expected.raw(0, 32).bytes());
  task->reset();

  bdTitleUtilities title(manager.get());
  task = title.trackImpression(0, nullptr);
  EXPECT_EQ(sentPayload(), Bits().raw(1, 1).u8(0).u8(4).u8(3).u8(0).raw(0, 32).bytes());
  task->reset();
}

TEST_F(LobbyRecordsTest, RepliesAreReadIntoTheirResults) {
  bdTeams teams(manager.get());
  bdRemoteTaskRef task = teams.startTask(1, 0, bdLobbyArgs().str("x"));
  answer(task, replyTo(task).u32(0).u8(1).u64(0x1122334455667788ull));
  bdCreateTeamResult team;
  ASSERT_TRUE(teams.handleTask(task.get(), &team));
  EXPECT_EQ(team.m_teamID, 0x1122334455667788ull);
  EXPECT_EQ(team.getNumResults(), 1u);
  task->reset();

  // list with count 0
  task = teams.startTask(20, 0);
  answer(task, replyTo(task).u32(0).u8(20).u32(0));
  bdTeamsResultA none;
  EXPECT_TRUE(teams.handleTask(task.get(), &none));
  EXPECT_EQ(none.getNumResults(), 0u);
  task->reset();

  // an error code is stored and no record is read
  task = teams.startTask(20, 0);
  answer(task, replyTo(task).u32(17));
  EXPECT_FALSE(teams.handleTask(task.get(), &none));
  EXPECT_EQ(teams.getLastError(), 17u);
  task->reset();

  // three friends announced, the second cut short
  bdFriends friends(manager.get());
  task = friends.startTask(5, 0);
  answer(task, replyTo(task).u32(0).u8(5).u32(3).u64(1).text("amy").b(true).u64(2).text("bo"));
  bdFriendsResultA list;
  EXPECT_FALSE(friends.handleTask(task.get(), &list));
  EXPECT_EQ(list.getNumResults(), 1u);
  EXPECT_STREQ(list.getEntry(0).m_name, "amy");
  task->reset();

  // two records where one is expected: the failed check, then the first is read
  bdMatchMaking mm(manager.get());
  task = mm.startTask(3, nullptr, 1);
  const Bytes id = {1, 2, 3, 4, 5, 6, 7, 8};
  const Bytes key(16, 0xEE);
  answer(task, replyTo(task).u32(0).u8(1).u32(2).blob(id).blob(key));
  bdSessionCreateResult session;
  EXPECT_TRUE(mm.handleTask(task.get(), &session));
  EXPECT_TRUE(log.saw("Only expecting 1 or 0 results."));
  EXPECT_EQ(session.getNumResults(), 1u);
  EXPECT_EQ(std::memcmp(session.m_sessionID.ab, id.data(), 8), 0);
  task->reset();

  // an operation id the statistics service does not know
  bdStats stats(manager.get());
  task = stats.startTask(2, 0, bdLobbyArgs().i32(1).u64(2));
  answer(task, replyTo(task).u32(0).u8(12));
  EXPECT_TRUE(stats.handleTask(task.get(), nullptr));
  EXPECT_TRUE(log.saw("returned operations opID doesn't match existing opIDs"));
  task->reset();

  // title utilities: a reply cut before its error code leaves 4
  bdTitleUtilities title(manager.get());
  task = title.getTitleStats();
  answer(task, replyTo(task));
  bdStatsResultB stat;
  EXPECT_FALSE(title.handleTask(task.get(), &stat));
  EXPECT_EQ(title.getLastError(), 4u);
  task->reset();
}

TEST_F(LobbyRecordsTest, ChannelChatRecordsCutLongNamesAndStopAtTheFirstBadOne) {
  const std::string longName(200, 'n');
  Bits reply;
  reply.raw(1, 1);
  reply.u64(1).text(longName).u8(7).u32(8).u32(9);
  reply.u64(2).text("b").u8(1).u32(2).u32(3);
  reply.u64(3).text("c").u8(1).u32(2);
  bdChannelChatResult result;
  EXPECT_TRUE(result.handleResult(0, reply.buffer()));
  EXPECT_FALSE(result.handleResult(3, reply.buffer()));
  ASSERT_EQ(result.getNumResults(), 2u);
  EXPECT_EQ(std::strlen(result.getEntry(0).m_name), 127u);
  EXPECT_EQ(result.getEntry(0).m_value2, 9u);
  EXPECT_EQ(result.getEntry(1).m_userID, 2u);
}

TEST_F(LobbyRecordsTest, MatchMakingInfoKeepsItsAddressWhenTheBlobHasTheWrongSize) {
  bdMatchMakingInfo info;
  const Bytes shortAddr(24, 0);
  Bits record;
  record.raw(1, 1)
      .blob(shortAddr)
      .blob(Bytes(8, 3))
      .blob(Bytes(16, 4))
      .typed(7, 1, 32)
      .typed(7, 2, 32)
      .typed(7, 0x1FF, 32)
      .typed(7, 4, 32);
  bdReference<bdCommonAddr> before = info.getHostAddr();
  EXPECT_TRUE(info.deserialize(record.buffer()));
  EXPECT_TRUE(log.saw("addr returned length != BD_COMMON_ADDR_SERIALIZED_SIZE, "));
  EXPECT_EQ(info.getHostAddr().get(), before.get());
  EXPECT_EQ(info.m_values[2], 0xFF);
}

TEST_F(LobbyRecordsTest, PushMessagesDecodeByTypeAndTheStoreKeepsItsRules) {
  bdMessaging mail;
  auto push = [&](const Bits& fields) {
    const Bytes& bytes = fields.bytes();
    return mail.addMessage(
        new bdMessage(2, bytes.data(), static_cast<unsigned int>(bytes.size()), true));
  };
  // type 29: exactly the four base fields
  EXPECT_TRUE(push(Bits().raw(1, 1).u32(29).u64(5).u64(6).u32(7).b(true)));
  bdReference<bdLobbyMessage> m = mail.getMessage(0);
  EXPECT_EQ(m->m_type, 29u);
  EXPECT_EQ(m->m_id1, 5u);
  EXPECT_TRUE(m->m_flag);
  // unknown ids store nothing
  EXPECT_FALSE(push(Bits().raw(1, 1).u32(40)));
  EXPECT_FALSE(push(Bits().raw(1, 1).u32(0)));
  EXPECT_TRUE(log.saw("No creator registered for object type."));
  EXPECT_EQ(mail.getMessageCount(), 1u);
  // a repeated non-zero message id is refused; two with id 0 are kept
  EXPECT_TRUE(push(Bits().raw(1, 1).u32(29).u64(1).u64(6).u32(0).b(false)));
  EXPECT_TRUE(push(Bits().raw(1, 1).u32(29).u64(1).u64(0).u32(0).b(false)));
  EXPECT_TRUE(push(Bits().raw(1, 1).u32(29).u64(2).u64(0).u32(0).b(false)));
  EXPECT_EQ(mail.getMessageCount(), 3u);
  // type 1: size 0 has no block; a Blob longer than its size fails but is kept
  Bits user = Bits().raw(1, 1).u32(1).u64(0).u64(0).u32(0).b(false).u64(9).text("u");
  Bits empty = user;
  EXPECT_TRUE(push(empty.typed(6, 0, 16)));
  auto* data = dynamic_cast<bdLobbyUserDataMessage*>(mail.getMessage(3).get());
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->m_data.m_data, nullptr);
  Bits liar = user;
  EXPECT_FALSE(push(liar.typed(6, 10, 16).blob(Bytes(12, 1))));
  EXPECT_EQ(mail.getMessageCount(), 5u);
  // type 8: a 1024-byte payload is the most
  Bits buffer = Bits().raw(1, 1).u32(8).u64(0).u64(0).u32(0).b(false).u64(9).text("u");
  Bits most = buffer;
  EXPECT_TRUE(push(most.blob(Bytes(1024, 2))));
  auto* withPayload = dynamic_cast<bdLobbyUserBufferMessage*>(mail.getMessage(5).get());
  ASSERT_NE(withPayload, nullptr);
  EXPECT_EQ(withPayload->m_payload->getSize(), 1024u);
  EXPECT_FALSE(push(buffer.blob(Bytes(1025, 2))));
  // type 5: an oversized security id fails the message
  EXPECT_FALSE(push(
      Bits().raw(1, 1).u32(5).u64(0).u64(0).u32(0).b(false).u64(9).text("u").blob(Bytes(9, 1))));
  // a second store finds every type taken; the first registrations stay
  {
    bdMessaging other;
    EXPECT_TRUE(log.saw("Creator already registered for object type 39."));
  }
  EXPECT_TRUE(push(Bits().raw(1, 1).u32(29).u64(3).u64(0).u32(0).b(false)));
  // removal moves the last message into the gap
  const unsigned int count = mail.getMessageCount();
  bdReference<bdLobbyMessage> last = mail.getMessage(count - 1);
  mail.removeMessage(0);
  EXPECT_EQ(mail.getMessage(0).get(), last.get());
  mail.removeMessage(100);
  EXPECT_EQ(mail.getMessageCount(), count - 1);
}

TEST_F(LobbyRecordsTest, AuthMessagesAndTicketKeepTheirLayouts) {
  unsigned char digest[24];
  unsigned int length = sizeof digest;
  bdHashTiger192 tiger;
  ASSERT_TRUE(tiger.hash(reinterpret_cast<const unsigned char*>(""), 0, digest, length));
  char key[24];
  bdAuthUtility::getUserKey("", key);
  EXPECT_EQ(std::memcmp(key, digest, 24), 0);
  std::uint64_t id = 0;
  for (int i = 7; i >= 0; --i)
    id = id << 8 | digest[i];
  EXPECT_EQ(bdAuthUtility::getUserID(""), id);

  bdAuthDeleteAccountCypherText del;
  del.m_u32[0] = 0xA1B2C3D4u;
  unsigned char out[16];
  std::memset(out, 0x55, sizeof out);
  ASSERT_TRUE(del.serialize(out, sizeof out));
  EXPECT_EQ(del.getSize(), 4u);
  EXPECT_EQ(Bytes(out, out + 16),
            (Bytes{0xD4, 0xC3, 0xB2, 0xA1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  bdAuthCreateAccountCypherText create;
  EXPECT_EQ(create.getSize(), 92u);
  unsigned char tooSmall[50];
  EXPECT_FALSE(create.serialize(tooSmall, sizeof tooSmall));
  create.m_u32[0] = 0x01020304u;
  create.m_block[0] = 0x77;
  create.m_key[23] = 0x88;
  unsigned char packed[92];
  ASSERT_TRUE(create.serialize(packed, sizeof packed));
  EXPECT_EQ(Bytes(packed, packed + 5), (Bytes{4, 3, 2, 1, 0x77}));
  EXPECT_EQ(packed[91], 0x88);
  bdAuthCreateAccountCypherText readBack;
  ASSERT_TRUE(readBack.deserialize(packed, sizeof packed));
  EXPECT_EQ(readBack.m_u32[0], create.m_u32[0]);
  EXPECT_EQ(std::memcmp(readBack.m_block, create.m_block, sizeof create.m_block), 0);
  EXPECT_EQ(std::memcmp(readBack.m_key, create.m_key, sizeof create.m_key), 0);
  bdAuthMigrateAccountCypherText migrate;
  EXPECT_FALSE(migrate.deserialize(packed, 15));  // two u32 and a u64 need 16 bytes

  bdAuthTicket ticket;
  ticket.m_magic = bdAuthTicket::MAGIC;
  ticket.m_ticketType = 3;
  ticket.m_value1 = 0x01020304u;
  ticket.m_id1 = 0x1112131415161718ull;
  ticket.m_key[0] = 0x99;
  unsigned char block[128];
  std::memset(block, 0xCC, sizeof block);
  ticket.serialize(block);
  EXPECT_EQ(Bytes(block, block + 9), (Bytes{0xDE, 0xAD, 0xBD, 0xEF, 3, 4, 3, 2, 1}));
  EXPECT_EQ(block[17], 0x18);
  EXPECT_EQ(block[97], 0x99);
  EXPECT_EQ(block[121], 0xCC);  // the last 7 bytes are not written
  bdAuthTicket back;
  back.deserialize(block);
  EXPECT_TRUE(back.isValid());
  EXPECT_EQ(back.m_id1, ticket.m_id1);
}

TEST(LobbyCatalogue, EveryServiceIsCatalogued) {
  unsigned int count = 0;
  const bdLobbyTaskSpec* tasks = bdLobbyCatalogue::getTasks(count);
  unsigned int perService[13] = {};
  for (unsigned int i = 0; i < count; ++i)
    ++perService[tasks[i].m_service];
  const unsigned int expected[13] = {0, 0, 0, 27, 9, 6, 4, 0, 7, 18, 7, 6, 4};
  for (unsigned int s = 0; s < 13; ++s)
    EXPECT_EQ(perService[s], expected[s]) << "service " << s;
  EXPECT_EQ(bdLobbyCatalogue::find(9, 11), nullptr);
  EXPECT_EQ(bdLobbyCatalogue::find(10, 6), nullptr);
  EXPECT_EQ(bdLobbyCatalogue::getReplyKind(8, 200), bdReplyKind::ONE);
  EXPECT_EQ(bdLobbyCatalogue::getReplyKind(3, 25), bdReplyKind::NONE);
}

}  // namespace

namespace {

TEST(LobbyRecords, StatsInfoNamesKeepSixtyThreeCharacters) {
  bdStatsInfo row(5);
  const std::string name(100, 'q');
  EXPECT_EQ(row.setName(name.c_str()), 63u);
  char out[10];
  EXPECT_EQ(row.getName(out, sizeof out), 63u);
  EXPECT_STREQ(out, "qqqqqqqqq");
  EXPECT_EQ(row.getName(nullptr, 0), 63u);
  row.setValue(9);
  EXPECT_EQ(row.getValue(), 9);
  EXPECT_EQ(row.getNumColumns(), 1u);
}

}  // namespace
