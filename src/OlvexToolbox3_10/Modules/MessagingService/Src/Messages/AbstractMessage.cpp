#include "Modules/MessagingService/Src/Messages/AbstractMessage.h"

#include "Modules/Core/Src/Types/Blob.h"

namespace OX_Toolbox {

const ClassTypeInfo Message::s_type = {"Message", &Object::s_type};
const ClassTypeInfo AbstractMessage::s_type = {"AbstractMessage", &Message::s_type};

AbstractMessage::~AbstractMessage() {
  for (PlayerID* p : m_recipients)
    delete p;
}

void AbstractMessage::addRecipient(PlayerID* player) {
  if (player) m_recipients.push_back(player);
}

void AbstractMessage::removeRecipient(std::size_t index) {
  if (index >= m_recipients.size()) return;
  delete m_recipients[index];
  m_recipients.erase(m_recipients.begin() + static_cast<std::ptrdiff_t>(index));
}

bool WritePlayerID(Blob& blob, const PlayerID& player) {
  return player.serialize(blob, blob.getSize());
}

bool ReadPlayerID(Blob& blob, PlayerID& player) {
  std::int8_t type = 0;
  std::int64_t id = 0;
  const BlobField fields[] = {{OX_INT8, &type, nullptr, 0}, {OX_INT64, &id, nullptr, 0}};
  if (!blob.readFields(fields, 2)) return false;
  player = PlayerID(type, static_cast<std::uint64_t>(id));
  return true;
}

std::uint32_t AbstractMessage::serialize(Blob& blob, std::uint32_t version) const {
  if (version == 1) {
    WritePlayerID(blob, m_recipient);
    blob.writeString(blob.getSize(), m_subject);
    WritePlayerID(blob, m_sender);
    blob.writeUInt64(blob.getSize(), m_messageId);
    blob.writeBool(blob.getSize(), m_isNew);
    blob.writeInt64(blob.getSize(), m_timestamp);
    blob.writeInt64(blob.getSize(), 0);  // reserved
    blob.writeString(blob.getSize(), m_text);
  }
  return version - 1;
}

std::uint32_t AbstractMessage::deserialize(Blob& blob, std::uint32_t version) {
  if (version != 1 || m_readFailed) return version - 1;
  // Everything is read before anything is kept: a body that breaks off
  // changes nothing.
  PlayerID recipient;
  PlayerID sender;
  String subject(u"");
  String text(u"");
  std::uint64_t id = 0;
  bool isNew = false;
  std::int64_t timestamp = 0;
  std::int64_t reserved = 0;
  bool ok = ReadPlayerID(blob, recipient);
  const BlobField middle[] = {{OX_STRING, &subject, nullptr, 0}};
  ok = ok && blob.readFields(middle, 1) && ReadPlayerID(blob, sender);
  const BlobField rest[] = {{OX_UINT64, &id, nullptr, 0},
                            {OX_BOOL, &isNew, nullptr, 0},
                            {OX_INT64, &timestamp, nullptr, 0},
                            {OX_INT64, &reserved, nullptr, 0},
                            {OX_STRING, &text, nullptr, 0}};
  ok = ok && blob.readFields(rest, 5);
  if (!ok) {
    setReadFailed();
    return version - 1;
  }
  m_recipient = recipient;
  m_subject = subject;
  m_sender = sender;
  m_messageId = id;
  m_isNew = isNew;
  m_timestamp = timestamp;
  m_text = text;
  return version - 1;
}

}  // namespace OX_Toolbox
