// Message bodies, the mail and clan records and their factories, and the
// turning of message-store records into messages: whole round trips, the
// version rule, and bad input refused without a crash.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/MessagingService/Src/Messages/ClanMessages.h"
#include "Modules/MessagingService/Src/Messages/FriendMessages.h"
#include "Modules/MessagingService/Src/Messages/MessageRecords.h"
#include "bdCore/bdCore.h"
#include "bdLobbyCommon/bdLobbyMessage.h"

using namespace OX_Toolbox;

namespace {

class RecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bdCore::init(true);
    SetGlobalRecordList(&list);
  }
  void TearDown() override {
    bdCore::quit();
    list.clear();
    SetGlobalRecordList(nullptr);
  }
  // The record the writer appended, as its payload bytes.
  std::vector<unsigned char> written(bool (*writer)(const AbstractMessage&),
                                     const AbstractMessage& m) {
    list.clear();
    EXPECT_TRUE(writer(m));
    EXPECT_EQ(list.size(), 1u);
    const TaggedRecord* r = list.at(0);
    return std::vector<unsigned char>(r->getPayload(), r->getPayload() + r->getPayloadSize());
  }
  static std::unique_ptr<AbstractMessage> read(const std::vector<unsigned char>& payload,
                                               const char tag[4] = kFriendMessageTag) {
    std::unique_ptr<TaggedRecord> r(
        TaggedRecord::create(tag, payload.data(), static_cast<std::uint32_t>(payload.size())));
    return std::unique_ptr<AbstractMessage>(tag == kFriendMessageTag ? ReadFriendMessageRecord(*r)
                                                                     : ReadClanMessageRecord(*r));
  }
  // A record payload with the given version and class name before a body.
  static std::vector<unsigned char> payload(std::uint16_t version, const char* name,
                                            const AbstractMessage* body) {
    Blob b;
    b.writeUInt16(0, version);
    b.writeString(b.getSize(), String(name));
    if (body) body->serialize(b, 1);
    return std::vector<unsigned char>(b.getData(), b.getData() + b.getSize());
  }

  RecordList list;
};

void fill(AbstractMessage& m) {
  m.setRecipient(PlayerID(CONNECTIONTYPE_ONLINE, 0x1122334455667788ull));
  m.setSender(PlayerID(CONNECTIONTYPE_LAN, 42));
  m.setSubject(String(u"Rematch?"));
  m.setText(String(u"Tuesday, the French lexicon"));
  m.setMessageId(9001);
  m.setTimestamp(-5);
  m.markAsRead();
  m.addRecipient(new PlayerID(CONNECTIONTYPE_ONLINE, 7));
}

TEST_F(RecordTest, MailRoundTripsEveryBodyFieldButTheRecipientsVector) {
  MailMessage full;
  fill(full);
  MailMessage empty;  // empty strings and default ids
  for (const MailMessage* m : {&full, &empty}) {
    const std::unique_ptr<AbstractMessage> back = read(written(WriteFriendMessageRecord, *m));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getType(), &MailMessage::s_type);
    EXPECT_EQ(back->getRecipient(), m->getRecipient());
    EXPECT_EQ(back->getSender(), m->getSender());
    EXPECT_TRUE(back->getSubject() == m->getSubject() ||
                (back->getSubject().isEmpty() && m->getSubject().isEmpty()));
    EXPECT_TRUE(back->getText() == m->getText() ||
                (back->getText().isEmpty() && m->getText().isEmpty()));
    EXPECT_EQ(back->getMessageId(), m->getMessageId());
    EXPECT_EQ(back->getTimestamp(), m->getTimestamp());
    EXPECT_EQ(back->isNew(), m->isNew());
    EXPECT_FALSE(back->hasRecipients());
  }
}

TEST_F(RecordTest, TheBodyHoldsEightValuesWithTheReservedZero) {
  MailMessage m;
  Blob b;
  EXPECT_EQ(m.serialize(b, 1), 0u);
  const std::uint8_t codes[] = {OX_INT8,   OX_INT64, OX_STRING, OX_INT8,  OX_INT64,
                                OX_UINT64, OX_BOOL,  OX_INT64,  OX_INT64, OX_STRING};
  for (std::uint8_t code : codes) {
    ASSERT_GT(b.getSize(), 0u);
    EXPECT_EQ(b.getData()[0], code);
    switch (code) {
      case OX_INT8:
        b.readInt8(0);
        break;
      case OX_INT64:
        EXPECT_EQ(b.readInt64(0), 0);
        break;
      case OX_UINT64:
        b.readUInt64(0);
        break;
      case OX_BOOL:
        EXPECT_TRUE(b.readBool(0));
        break;
      default: {
        String s;
        b.readString(0, s);
      }
    }
  }
  EXPECT_EQ(b.getSize(), 0u);
  Blob other;
  EXPECT_EQ(m.serialize(other, 2), 1u);  // another version writes nothing
  EXPECT_EQ(other.getSize(), 0u);
}

TEST_F(RecordTest, VersionZeroReadsNoBodyAndLaterVersionsReadAsOne) {
  MailMessage m;
  fill(m);
  const std::unique_ptr<AbstractMessage> zero = read(payload(0, "MailMessage", nullptr));
  ASSERT_NE(zero, nullptr);
  EXPECT_EQ(zero->getMessageId(), 0u);
  EXPECT_TRUE(zero->isNew());
  const std::unique_ptr<AbstractMessage> five = read(payload(5, "MailMessage", &m));
  ASSERT_NE(five, nullptr);
  EXPECT_EQ(five->getMessageId(), 9001u);
}

TEST_F(RecordTest, BadPayloadsYieldNoMessage) {
  MailMessage m;
  fill(m);
  const std::vector<unsigned char> good = payload(1, "MailMessage", &m);
  // Every cut short of the whole record breaks the head or the body.
  for (std::size_t n = 0; n < good.size(); ++n) {
    const std::vector<unsigned char> cut(good.begin(), good.begin() + static_cast<long>(n));
    EXPECT_EQ(read(cut), nullptr) << n;
  }
  struct Case {
    const char* what;
    std::vector<unsigned char> bytes;
  } cases[] = {
      {"unknown class", payload(1, "NoSuchMessage", &m)},
      {"clan class in a friend record", payload(1, "ClanMemberMailMessage", &m)},
      {"version of the wrong type", {OX_UINT32, 1, 0, 0, 0}},
      {"nothing", {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(read(c.bytes), nullptr) << c.what;
  // A string whose length field claims more than the record holds.
  std::vector<unsigned char> lying = payload(1, "MailMessage", nullptr);
  lying.insert(lying.end(), {OX_INT8, 2, OX_INT64, 1, 0, 0, 0, 0, 0, 0, 0, OX_STRING, 1, 2});
  EXPECT_EQ(read(lying), nullptr);
}

TEST_F(RecordTest, ClanFactoryKnowsItsSixClassesExactly) {
  const char* names[] = {"ClanMemberMailMessage",
                         "ClanAdminMailMessage",
                         "ClanBroadcastTransferOwnershipMessage",
                         "ClanBroadcastDemoteMemberMessage",
                         "ClanBroadcastPromoteMemberMessage",
                         "ClanBroadcastKickMemberMessage"};
  for (const char* name : names) {
    std::unique_ptr<AbstractMessage> m(CreateClanMessage(name));
    ASSERT_NE(m, nullptr) << name;
    EXPECT_STREQ(m->getType()->name, name);
  }
  EXPECT_EQ(CreateClanMessage("clanmembermailmessage"), nullptr);
  EXPECT_EQ(CreateClanMessage(nullptr), nullptr);
  EXPECT_EQ(CreateMailMessage(nullptr), nullptr);
  EXPECT_EQ(CreateMailMessage("ClanMemberMailMessage"), nullptr);
}

TEST_F(RecordTest, ClanBroadcastsCarryTargetAndRank) {
  ClanBroadcastPromoteMemberMessage promote;
  fill(promote);
  promote.setTarget(PlayerID(CONNECTIONTYPE_ONLINE, 77));
  promote.setRank(2);
  const std::unique_ptr<AbstractMessage> back =
      read(written(WriteClanMessageRecord, promote), kClanMessageTag);
  ASSERT_NE(back, nullptr);
  auto* p = static_cast<ClanBroadcastPromoteMemberMessage*>(back.get());
  EXPECT_EQ(p->getTarget(), PlayerID(CONNECTIONTYPE_ONLINE, 77));
  EXPECT_EQ(p->getRank(), 2);
  // Without its rank the body is short.
  std::vector<unsigned char> bytes = written(WriteClanMessageRecord, promote);
  bytes.resize(bytes.size() - 2);
  EXPECT_EQ(read(bytes, kClanMessageTag), nullptr);
}

// Store records built as the lobby client delivers them.
bdReference<bdLobbyMessage> storeRecord(unsigned int type, std::uint64_t to, std::uint64_t id) {
  bdLobbyMessage* m;
  if (type == 5) {
    m = new bdLobbyUserSecureDataMessage(type);
  } else if (type == 8) {
    m = new bdLobbyUserBufferMessage(type);
  } else {
    m = new bdLobbyUserMessage(type);
  }
  m->m_id1 = to;
  m->m_id2 = id;
  m->m_value = 1234;
  auto* user = static_cast<bdLobbyUserMessage*>(m);
  user->m_user.m_id = 55;
  std::snprintf(user->m_user.m_name, sizeof user->m_user.m_name, "%s", "bob");
  return bdReference<bdLobbyMessage>(m);
}

TEST_F(RecordTest, StoreTypeCodesPickTheClassAndFlag) {
  struct Case {
    unsigned int code;
    const ClassTypeInfo* type;
    int flag;  // -1: no flag
  } cases[] = {
      {1, &FriendshipProposalMessage::s_type, -1},
      {2, &FriendshipProposalResponseMessage::s_type, 1},
      {3, &FriendshipProposalResponseMessage::s_type, 0},
      {4, &FriendshipRevokeMessage::s_type, -1},
      {6, &SessionInviteResponseMessage::s_type, 1},
      {7, &SessionInviteResponseMessage::s_type, 0},
      {9, &FriendPresenceMessage::s_type, 1},
      {10, &FriendPresenceMessage::s_type, 0},
      {35, &FriendPresenceMessage::s_type, 1},
      {11, &FriendBlockMessage::s_type, 1},
      {12, &FriendBlockMessage::s_type, 0},
      {34, &FriendshipWithdrawProposalMessage::s_type, -1},
      {36, &FriendProfileUpdateMessage::s_type, -1},
      {5, &SessionInviteMessage::s_type, -1},
  };
  for (const Case& c : cases) {
    String name;
    bool isNew = false;
    std::unique_ptr<AbstractMessage> m(
        MessageFromStoreRecord(*storeRecord(c.code, 3, 700 + c.code), name, isNew));
    ASSERT_NE(m, nullptr) << c.code;
    EXPECT_EQ(m->getType(), c.type) << c.code;
    if (c.flag >= 0) {
      EXPECT_EQ(static_cast<FlagMessage*>(m.get())->getFlag(), c.flag) << c.code;
    }
    EXPECT_EQ(m->getRecipient(), PlayerID(CONNECTIONTYPE_ONLINE, 3));
    EXPECT_EQ(m->getSender(), PlayerID(CONNECTIONTYPE_ONLINE, 55));
    EXPECT_EQ(m->getMessageId(), 700 + c.code);
    EXPECT_EQ(m->getTimestamp(), 1234);
    EXPECT_TRUE(name.equalsNarrow("bob"));
    EXPECT_TRUE(isNew);
  }
  for (unsigned int code : {0u, 13u, 19u, 29u, 37u}) {
    String name;
    bool isNew = false;
    EXPECT_EQ(MessageFromStoreRecord(*storeRecord(code, 3, 1), name, isNew), nullptr) << code;
  }
}

TEST_F(RecordTest, AMailRecordComesBackFromTheStoreAttachment) {
  MailMessage m;
  fill(m);
  ASSERT_TRUE(WriteFriendMessageRecord(m));
  std::uint32_t length = 0;
  unsigned char* bytes = list.serialize(length);
  bdReference<bdLobbyMessage> record = storeRecord(8, 3, 12);
  static_cast<bdLobbyUserBufferMessage*>(record.get())->m_payload = new bdByteBuffer(length);
  static_cast<bdLobbyUserBufferMessage*>(record.get())->m_payload->write(bytes, length);
  ToolboxFree(bytes);
  String name;
  bool isNew = false;
  std::unique_ptr<AbstractMessage> back(MessageFromStoreRecord(*record, name, isNew));
  ASSERT_NE(back, nullptr);
  EXPECT_TRUE(back->getText().equalsWide(u"Tuesday, the French lexicon"));
  EXPECT_EQ(back->getMessageId(), 12u);  // the store's id wins over the body's
  // Without an attachment there is no mail.
  EXPECT_EQ(MessageFromStoreRecord(*storeRecord(8, 3, 13), name, isNew), nullptr);
}

}  // namespace
