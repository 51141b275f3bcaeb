#include "bdLANDiscovery/bdGameInfo.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"

namespace {
const char* const kChannel = "discovery/gameinfo";
const char* const kUninitialized = "This object appears to be uninitialized.";
}  // namespace

bdGameInfo::bdGameInfo() : m_titleID(UNSET_TITLE_ID), m_secID(), m_secKey(), m_hostAddr() {}

bdGameInfo::bdGameInfo(std::uint32_t titleID, const bdSecurityID& id, const bdSecurityKey& key,
                       bdReference<bdCommonAddr> hostAddr)
    : m_titleID(titleID), m_secID(id), m_secKey(key), m_hostAddr(hostAddr) {}

std::uint32_t bdGameInfo::getTitleID() const {
  if (m_titleID == UNSET_TITLE_ID) bdLogWarn(kChannel, "%s", kUninitialized);
  return m_titleID;
}

bdReference<bdCommonAddr> bdGameInfo::getHostAddr() const {
  if (m_hostAddr.isNull()) bdLogWarn(kChannel, "%s", kUninitialized);
  return m_hostAddr;
}

void bdGameInfo::serialize(bdBitBuffer& buffer) const {
  if (m_titleID == UNSET_TITLE_ID) bdLogWarn(kChannel, "%s", kUninitialized);
  if (m_hostAddr.isNull()) {
    bdLogError(kChannel, "Serialized failed as data is uninitialized.");
    return;
  }
  buffer.writeUInt32(m_titleID);
  m_secID.serialize(buffer);
  m_secKey.serialize(buffer);
  m_hostAddr->serialize(buffer);
}

bool bdGameInfo::deserialize(bdReference<bdCommonAddr> local, bdBitBuffer& buffer) {
  std::uint32_t titleID = 0;
  bdSecurityID id;
  bdSecurityKey key;
  bdReference<bdCommonAddr> host(new bdCommonAddr());
  const bool ok = host.notNull() && buffer.readUInt32(titleID) && id.deserialize(buffer) &&
                  key.deserialize(buffer) && host->deserialize(local, buffer);
  if (!ok) {
    bdLogError(kChannel, "Deserialization failed");
    return false;
  }
  m_titleID = titleID;
  m_secID = id;
  m_secKey = key;
  m_hostAddr = host;
  return true;
}
