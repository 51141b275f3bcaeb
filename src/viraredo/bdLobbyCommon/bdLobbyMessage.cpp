#include "bdLobbyCommon/bdLobbyMessage.h"

#include <cstring>

#include "bdCore/bdMemory/bdMemory.h"

namespace {
constexpr unsigned int kPayloadCapacity = 1024;

void clearUser(bdLobbyUser& user) {
  user.m_id = 0;
  std::memset(user.m_name, 0, sizeof user.m_name);
}

bool readUser(bdBitBuffer& b, bdLobbyUser& user) {
  return b.readUInt64(user.m_id) && b.readString(user.m_name, sizeof user.m_name);
}

bool readSecurityID(bdBitBuffer& b, bdSecurityID& id) {
  unsigned int length = bdSecurityID::SIZE;
  return b.readBlob(id.ab, length);
}

bool readPayload(bdBitBuffer& b, bdReference<bdByteBuffer>& payload) {
  unsigned char block[kPayloadCapacity];
  unsigned int length = kPayloadCapacity;
  if (!b.readBlob(block, length)) return false;
  bdReference<bdByteBuffer> made(new bdByteBuffer(length));
  if (made.isNull() || (length > 0 && !made->write(block, length))) return false;
  payload = made;
  return true;
}
}  // namespace

bdLobbyDataBlock::~bdLobbyDataBlock() { bdMemory::deallocate(m_data); }

bool bdLobbyDataBlock::read(bdBitBuffer& b) {
  if (!b.readUInt16(m_size)) return false;
  if (m_size == 0) return true;
  bdMemory::deallocate(m_data);
  m_data = static_cast<unsigned char*>(bdMemory::allocate(m_size));
  if (m_data == nullptr) return false;
  unsigned int length = m_size;
  return b.readBlob(m_data, length);
}

bdLobbyMessage::bdLobbyMessage(unsigned int type)
    : m_type(type), m_id1(0), m_id2(0), m_value(0), m_flag(false) {}

bool bdLobbyMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  if (buffer.isNull()) return false;
  return buffer->readUInt64(m_id1) && buffer->readUInt64(m_id2) && buffer->readUInt32(m_value) &&
         buffer->readBool(m_flag);
}

bdLobbyUserMessage::bdLobbyUserMessage(unsigned int type) : bdLobbyMessage(type) {
  clearUser(m_user);
}

bool bdLobbyUserMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyMessage::deserialize(buffer) && readUser(*buffer, m_user);
}

bool bdLobbyUserDataMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyUserMessage::deserialize(buffer) && m_data.read(*buffer);
}

bool bdLobbyUserSecureDataMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyUserMessage::deserialize(buffer) && readSecurityID(*buffer, m_securityID) &&
         m_data.read(*buffer);
}

bool bdLobbyUserBufferMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyUserMessage::deserialize(buffer) && readPayload(*buffer, m_payload);
}

bdLobbyUserPairMessage::bdLobbyUserPairMessage(unsigned int type) : bdLobbyMessage(type) {
  clearUser(m_first);
  clearUser(m_second);
}

bool bdLobbyUserPairMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyMessage::deserialize(buffer) && readUser(*buffer, m_first) &&
         readUser(*buffer, m_second);
}

bool bdLobbyUserPairDataMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyUserPairMessage::deserialize(buffer) && m_data.read(*buffer);
}

bool bdLobbyUserPairSecureDataMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyUserPairMessage::deserialize(buffer) && readSecurityID(*buffer, m_securityID) &&
         m_data.read(*buffer);
}

bool bdLobbyUserPairBufferMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyUserPairMessage::deserialize(buffer) && readPayload(*buffer, m_payload);
}

bdLobbyGroupMessage::bdLobbyGroupMessage(unsigned int type) : bdLobbyMessage(type), m_groupID(0) {
  clearUser(m_user);
  std::memset(m_groupName, 0, sizeof m_groupName);
}

bool bdLobbyGroupMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyMessage::deserialize(buffer) && readUser(*buffer, m_user) &&
         buffer->readUInt64(m_groupID) && buffer->readString(m_groupName, sizeof m_groupName);
}

bool bdLobbyGroupBufferMessage::deserialize(bdReference<bdBitBuffer> buffer) {
  return bdLobbyGroupMessage::deserialize(buffer) && readPayload(*buffer, m_payload);
}
