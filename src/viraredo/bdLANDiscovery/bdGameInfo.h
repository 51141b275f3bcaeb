#pragma once
// What a LAN host advertises: its title, the security id and key of its
// secured associations, and its common address. Applications may derive their
// own class, adding fields after these, and register it with the factory.
#include <cstdint>

#include "bdCore/bdContainers/bdReferencable.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdSocket/bdCommonAddr.h"
#include "bdSocket/bdSecurity/bdSecurityID.h"

class bdBitBuffer;

class bdGameInfo : public bdReferencable {
 public:
  // The title id of an object that was never filled.
  static constexpr std::uint32_t UNSET_TITLE_ID = 666;

  bdGameInfo();
  bdGameInfo(std::uint32_t titleID, const bdSecurityID& id, const bdSecurityKey& key,
             bdReference<bdCommonAddr> hostAddr);
  ~bdGameInfo() override = default;

  virtual void serialize(bdBitBuffer& buffer) const;
  // Reads every field or changes none; the host is rebuilt against this
  // host's own common address (local), so our own game reads as loopback.
  virtual bool deserialize(bdReference<bdCommonAddr> local, bdBitBuffer& buffer);

  std::uint32_t getTitleID() const;
  const bdSecurityID& getSecID() const { return m_secID; }
  const bdSecurityKey& getSecKey() const { return m_secKey; }
  bdReference<bdCommonAddr> getHostAddr() const;
  void setTitleID(std::uint32_t titleID) { m_titleID = titleID; }
  void setSecID(const bdSecurityID& id) { m_secID = id; }
  void setSecKey(const bdSecurityKey& key) { m_secKey = key; }
  void setHostAddr(bdReference<bdCommonAddr> hostAddr) { m_hostAddr = hostAddr; }

 private:
  std::uint32_t m_titleID;
  bdSecurityID m_secID;
  bdSecurityKey m_secKey;
  bdReference<bdCommonAddr> m_hostAddr;
};
