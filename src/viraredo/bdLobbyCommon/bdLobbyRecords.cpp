#include "bdLobbyCommon/bdLobbyRecords.h"

#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdMemory/bdMemory.h"

bool bdStatsInfo::deserialize(bdReference<bdBitBuffer> buffer) {
  const bool ok = buffer.notNull() && buffer->readUInt64(m_entityID) &&
                  buffer->readInt64(m_value) && buffer->readUInt64(m_secondValue) &&
                  buffer->readString(m_name, sizeof m_name);
  if (!ok) bdLogError("statsInfo", "Deserialization failed");
  return ok;
}

unsigned int bdStatsInfo::setName(const char* name) {
  unsigned int n = 0;
  while (name != nullptr && name[n] != 0 && n < sizeof m_name - 1) {
    m_name[n] = name[n];
    ++n;
  }
  m_name[n] = 0;
  return n;
}

unsigned int bdStatsInfo::getName(char* buffer, unsigned int size) const {
  const unsigned int length = static_cast<unsigned int>(std::strlen(m_name));
  if (buffer == nullptr || size == 0) return length;
  const unsigned int n = length < size - 1 ? length : size - 1;
  std::memcpy(buffer, m_name, n);
  buffer[n] = 0;
  return length;
}

bdMatchMakingInfo::bdMatchMakingInfo() : m_host(new bdCommonAddr()), m_values{0, 0, 0, 0} {}

bdMatchMakingInfo::bdMatchMakingInfo(bdReference<bdCommonAddr> host, unsigned char a,
                                     unsigned char b, unsigned char c, unsigned char d)
    : m_host(host), m_values{a, c, b, d} {}

void bdMatchMakingInfo::serialize(bdBitBuffer& buffer) const {
  unsigned char addr[bdCommonAddr::SERIALIZED_SIZE] = {};
  if (m_host.notNull()) m_host->serialize(addr, sizeof addr);
  buffer.writeBlob(addr, sizeof addr);
  buffer.writeBlob(m_sessionID.ab, bdSecurityID::SIZE);
  buffer.writeBlob(m_sessionKey.ab, bdSecurityKey::SIZE);
  for (unsigned char v : m_values)
    buffer.writeInt32(v);
}

bool bdMatchMakingInfo::deserialize(bdReference<bdBitBuffer> buffer) {
  unsigned char addr[bdCommonAddr::SERIALIZED_SIZE];
  unsigned int length = sizeof addr;
  bool ok = buffer.notNull() && buffer->readBlob(addr, length);
  if (ok && length == sizeof addr) {
    bdReference<bdCommonAddr> host(new bdCommonAddr());
    ok = host.notNull() && host->deserialize(bdReference<bdCommonAddr>(), addr, length);
    if (ok) m_host = host;
  } else if (ok) {
    bdLogError("lobby/matchmakinginfo", "addr returned length != BD_COMMON_ADDR_SERIALIZED_SIZE, ");
    bdLogInfo("lobby/matchmakinginfo",
              "Above error most likely caused by addr being from different version of "
              "VirAredo...");
  }
  unsigned int idLength = bdSecurityID::SIZE;
  unsigned int keyLength = bdSecurityKey::SIZE;
  ok = ok && buffer->readBlob(m_sessionID.ab, idLength) &&
       buffer->readBlob(m_sessionKey.ab, keyLength);
  for (unsigned char& v : m_values) {
    std::int32_t wide = 0;
    ok = ok && buffer->readInt32(wide);
    if (ok) v = static_cast<unsigned char>(wide);
  }
  if (!ok) bdLogError("lobby/matchmakinginfo", "Deserialization failed");
  return ok;
}

bool bdFileInfo::read(bdBitBuffer& b) {
  bool flag1 = false;
  bool flag2 = false;
  const bool ok = b.readUInt64(m_fileID) && b.readUInt32(m_value1) && b.readUInt32(m_value2) &&
                  b.readBool(flag1) && b.readBool(flag2) && b.readUInt64(m_ownerID) &&
                  b.readString(m_fileName, sizeof m_fileName);
  if (ok) {
    m_flag1 = flag1 ? 1 : 0;
    m_flag2 = flag2 ? 1 : 0;
  }
  return ok;
}

bdFileData::bdFileData(unsigned int size) : m_data(nullptr), m_ownsData(false) {
  if (size == 0) return;
  m_data = static_cast<unsigned char*>(bdMemory::allocate(size));
  if (m_data == nullptr) return;
  m_fileSize = size;
  m_ownsData = true;
}

bdFileData::~bdFileData() {
  if (m_ownsData) bdMemory::deallocate(m_data);
}

bool bdFileData::read(bdBitBuffer& b) {
  if (!bdFileInfo::read(b)) return false;
  unsigned int length = m_data != nullptr ? m_fileSize : 0;
  unsigned char none = 0;
  return b.readBlob(m_data != nullptr ? m_data : &none, length);
}

void bdFileData::setData(const void* data, unsigned int size) {
  if (m_data == nullptr || data == nullptr) return;
  std::memcpy(m_data, data, size < m_fileSize ? size : m_fileSize);
}
