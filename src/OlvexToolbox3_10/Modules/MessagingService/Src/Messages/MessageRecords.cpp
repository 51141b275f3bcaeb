#include "Modules/MessagingService/Src/Messages/MessageRecords.h"

#include <cstring>

#include "Modules/Core/Src/Records/RecordList.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/MessagingService/Src/Messages/ClanMessages.h"
#include "Modules/MessagingService/Src/Messages/FriendMessages.h"
#include "bdLobbyCommon/bdLobbyMessage.h"

namespace OX_Toolbox {

namespace {

constexpr std::uint16_t kRecordVersion = 1;

bool writeRecord(const char tag[4], const AbstractMessage& message) {
  RecordList* list = GlobalRecordList();
  if (!list) return false;
  Blob payload;
  payload.writeUInt16(0, kRecordVersion);
  payload.writeString(payload.getSize(), String(message.getType()->name));
  message.serialize(payload, 1);
  TaggedRecord* record = TaggedRecord::create(tag, payload.getData(), payload.getSize());
  if (!record) return false;
  list->add(record);
  return true;
}

AbstractMessage* readRecord(const TaggedRecord& record, AbstractMessage* (*factory)(const char*)) {
  Blob blob(record.getPayload(), record.getPayloadSize(), BLOB_READONLY);
  std::uint16_t version = 0;
  String className(u"");
  const BlobField head[] = {{OX_UINT16, &version, nullptr, 0}, {OX_STRING, &className, nullptr, 0}};
  if (!blob.readFields(head, 2)) return nullptr;
  char* narrow = className.toNarrowCopy();
  AbstractMessage* message = factory(narrow);
  ToolboxFree(narrow);
  if (!message) return nullptr;
  // A later version is read as far as this one knows it.
  const std::uint32_t last = version < 1 ? version : 1;
  for (std::uint32_t v = 1; v <= last; ++v)
    message->deserialize(blob, v);
  if (message->readFailed()) {
    delete message;
    return nullptr;
  }
  return message;
}

const char* senderNameOf(const bdLobbyMessage& record) {
  if (const auto* user = dynamic_cast<const bdLobbyUserMessage*>(&record))
    return user->m_user.m_name;
  return "";
}

std::uint64_t senderIdOf(const bdLobbyMessage& record) {
  if (const auto* user = dynamic_cast<const bdLobbyUserMessage*>(&record)) return user->m_user.m_id;
  return 0;
}

AbstractMessage* inviteFrom(const bdLobbyMessage& record) {
  const auto* secure = dynamic_cast<const bdLobbyUserSecureDataMessage*>(&record);
  if (!secure) return nullptr;
  auto* invite = new SessionInviteMessage();
  // The attachment is the ticket's stream form; a ticket that does not read
  // whole leaves the invitation without one.
  if (secure->m_data.m_data && secure->m_data.m_size > 0) {
    Blob blob;
    blob.insertBytes(0, secure->m_data.m_data, secure->m_data.m_size);
    Ticket ticket;
    if (ticket.deserialize(blob)) invite->setTicket(ticket);
  }
  SessionID key{};
  std::memcpy(key.data(), secure->m_securityID.ab, key.size());
  invite->setSessionKey(key);
  return invite;
}

AbstractMessage* mailFrom(const bdLobbyMessage& record) {
  const auto* buffered = dynamic_cast<const bdLobbyUserBufferMessage*>(&record);
  RecordList* list = GlobalRecordList();
  if (!buffered || buffered->m_payload.isNull() || !list) return nullptr;
  list->clear();
  list->deserialize(buffered->m_payload->getData(), buffered->m_payload->getSize());
  const TaggedRecord* mail = list->findByTag(kFriendMessageTag);
  AbstractMessage* message = mail ? ReadFriendMessageRecord(*mail) : nullptr;
  list->clear();
  return message;
}

template <typename T>
AbstractMessage* flagged(std::uint8_t flag) {
  auto* m = new T();
  m->setFlag(flag);
  return m;
}

}  // namespace

AbstractMessage* CreateMailMessage(const char* className) {
  if (className && std::strcmp(className, MailMessage::s_type.name) == 0) return new MailMessage();
  return nullptr;
}

AbstractMessage* CreateClanMessage(const char* className) {
  if (!className) return nullptr;
  auto is = [className](const ClassTypeInfo& t) { return std::strcmp(className, t.name) == 0; };
  if (is(ClanBroadcastKickMemberMessage::s_type)) return new ClanBroadcastKickMemberMessage();
  if (is(ClanBroadcastPromoteMemberMessage::s_type)) return new ClanBroadcastPromoteMemberMessage();
  if (is(ClanBroadcastDemoteMemberMessage::s_type)) return new ClanBroadcastDemoteMemberMessage();
  if (is(ClanBroadcastTransferOwnershipMessage::s_type))
    return new ClanBroadcastTransferOwnershipMessage();
  if (is(ClanAdminMailMessage::s_type)) return new ClanAdminMailMessage();
  if (is(ClanMemberMailMessage::s_type)) return new ClanMemberMailMessage();
  return nullptr;
}

bool WriteFriendMessageRecord(const AbstractMessage& message) {
  return writeRecord(kFriendMessageTag, message);
}
bool WriteClanMessageRecord(const AbstractMessage& message) {
  return writeRecord(kClanMessageTag, message);
}

AbstractMessage* ReadFriendMessageRecord(const TaggedRecord& record) {
  return readRecord(record, CreateMailMessage);
}
AbstractMessage* ReadClanMessageRecord(const TaggedRecord& record) {
  return readRecord(record, CreateClanMessage);
}

AbstractMessage* MessageFromStoreRecord(const bdLobbyMessage& record, String& senderName,
                                        bool& isNew) {
  AbstractMessage* message = nullptr;
  switch (record.m_type) {
    case 1:
      message = new FriendshipProposalMessage();
      break;
    case 2:
    case 3:
      message = flagged<FriendshipProposalResponseMessage>(record.m_type == 2);
      break;
    case 4:
      message = new FriendshipRevokeMessage();
      break;
    case 5:
      message = inviteFrom(record);
      break;
    case 6:
    case 7:
      message = flagged<SessionInviteResponseMessage>(record.m_type == 6);
      break;
    case 8:
      message = mailFrom(record);
      break;
    case 9:
    case 10:
    case 35:
      message = flagged<FriendPresenceMessage>(record.m_type != 10);
      break;
    case 11:
    case 12:
      message = flagged<FriendBlockMessage>(record.m_type == 11);
      break;
    case 34:
      message = new FriendshipWithdrawProposalMessage();
      break;
    case 36:
      message = new FriendProfileUpdateMessage();
      break;
    default:
      return nullptr;
  }
  if (!message) return nullptr;
  // The store record: id1 the addressee, id2 the message id, the value its
  // time, the flag set once read.
  message->setRecipient(PlayerID(CONNECTIONTYPE_ONLINE, record.m_id1));
  message->setSender(PlayerID(CONNECTIONTYPE_ONLINE, senderIdOf(record)));
  message->setTimestamp(static_cast<std::int64_t>(record.m_value));
  message->setMessageId(record.m_id2);
  senderName.assignNarrow(senderNameOf(record));
  isNew = !record.m_flag;
  return message;
}

}  // namespace OX_Toolbox
