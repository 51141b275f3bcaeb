#include "bdLobbyCommon/bdLobbyResults.h"

#include "bdCore/bdLog/bdLog.h"

bool bdZeroOrOneResult::handleResult(const unsigned int count, bdReference<bdBitBuffer> buffer) {
  m_numResults = 0;
  if (count > 1) bdAssertMsg("Only expecting 1 or 0 results.");
  if (count == 0) return true;
  if (buffer.isNull() || !readRecord(*buffer)) return false;
  m_numResults = 1;
  return true;
}

bool bdSessionCreateResult::readRecord(bdBitBuffer& b) {
  unsigned int idLength = bdSecurityID::SIZE;
  unsigned int keyLength = bdSecurityKey::SIZE;
  return b.readBlob(m_sessionID.ab, idLength) && b.readBlob(m_sessionKey.ab, keyLength);
}

bool bdFriendsEntryA::read(bdBitBuffer& b) {
  return b.readUInt64(m_id) && b.readString(m_name, sizeof m_name) && b.readBool(m_flag);
}

bool bdFriendsEntryB::read(bdBitBuffer& b) {
  return b.readUInt64(m_id) && b.readString(m_name, sizeof m_name) && b.readUChar8(m_value);
}

bool bdFriendsEntryC::read(bdBitBuffer& b) {
  return b.readUInt64(m_id) && b.readString(m_name, sizeof m_name);
}

bool bdTeamsEntryB::read(bdBitBuffer& b) {
  return b.readUInt64(m_id) && b.readString(m_name, sizeof m_name) && b.readBool(m_flag) &&
         b.readUChar8(m_value);
}

bool bdTeamsEntryC::read(bdBitBuffer& b) {
  return b.readUInt64(m_id1) && b.readUInt64(m_id2) && b.readString(m_name1, sizeof m_name1) &&
         b.readString(m_name2, sizeof m_name2);
}

bool bdChannelChatRecord::read(bdBitBuffer& b) {
  return b.readUInt64(m_userID) && b.readString(m_name, sizeof m_name) &&
         b.readUChar8(m_byteValue) && b.readUInt32(m_value1) && b.readUInt32(m_value2);
}
