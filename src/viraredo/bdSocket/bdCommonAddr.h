#pragma once
// Everything needed to reach a peer from anywhere: up to three local
// addresses, the public address and the NAT type. 25 bytes on the wire.
#include <cstdint>

#include "bdCore/bdContainers/bdArray.h"
#include "bdCore/bdContainers/bdReference.h"
#include "bdSocket/bdAddr.h"

class bdBitBuffer;

enum bdNATType : std::uint8_t {
  BD_NAT_OPEN = 1,
  BD_NAT_MODERATE = 2,
  BD_NAT_STRICT = 3,
};

const char* bdNATTypeToString(bdNATType type);

class bdCommonAddr : public bdReferencable {
 public:
  static constexpr unsigned int MAX_LOCAL_ADDRS = 3;
  static constexpr unsigned int SERIALIZED_SIZE = 25;
  static constexpr unsigned int SERIALIZED_BITS = SERIALIZED_SIZE * 8;

  bdCommonAddr();
  // This host's own common address (the loopback flag is set).
  bdCommonAddr(const bdArray<bdAddr>& locals, const bdAddr& publicAddr, bdNATType natType);
  // A peer's; loopback when equal to me, this host's own.
  bdCommonAddr(bdReference<bdCommonAddr> me, const bdArray<bdAddr>& locals,
               const bdAddr& publicAddr, bdNATType natType);
  explicit bdCommonAddr(const bdAddr& addr);
  ~bdCommonAddr() override = default;

  bool serialize(unsigned char* buffer, unsigned int bufferSize) const;
  void serialize(bdBitBuffer& buffer) const;
  // False, with this address unchanged, when fewer than 25 bytes are given.
  bool deserialize(bdReference<bdCommonAddr> me, const unsigned char* buffer,
                   unsigned int bufferSize);
  bool deserialize(bdReference<bdCommonAddr> me, bdBitBuffer& buffer);

  const bdAddr& getLocalAddr(unsigned int index) const { return m_localAddrs[index]; }
  const bdArray<bdAddr>& getLocalAddrs() const { return m_localAddrs; }
  const bdAddr& getPublicAddr() const { return m_publicAddr; }
  bdNATType getNATType() const { return m_natType; }
  bool isLoopback() const { return m_isLoopback; }
  unsigned int getHash() const { return m_hash; }

  // Equal hashes and equal representative addresses (public when valid, else first local).
  bool operator==(const bdCommonAddr& other) const;
  bool operator!=(const bdCommonAddr& other) const { return m_hash != other.m_hash; }
  bool operator<(const bdCommonAddr& other) const { return m_hash < other.m_hash; }

 private:
  void setLocals(const bdArray<bdAddr>& locals);
  bdAddr representative() const;
  void calculateHash();

  bdArray<bdAddr> m_localAddrs;
  bdAddr m_publicAddr;
  unsigned int m_hash;
  bool m_isLoopback;
  bdNATType m_natType;
};

// Text about a common address for logs and diagnostics.
class bdCommonAddrInfo {
 public:
  static unsigned int getInfo(bdReference<bdCommonAddr> addr, char* buffer, unsigned int size);
  static unsigned int getBriefInfo(bdReference<bdCommonAddr> addr, char* buffer, unsigned int size);
};
