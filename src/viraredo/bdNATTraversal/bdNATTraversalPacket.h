#pragma once
// The 29-byte NAT traversal datagram: type, version, a 10-byte HMAC that only
// the requester can make, the target's identifier and two addresses.
#include <cstdint>

#include "bdSocket/bdAddr.h"

class bdNATTraversalPacket {
 public:
  enum Type : std::uint8_t {
    INTRO_NAT_REQUEST = 10,  // requester to introducer
    INTRO_FORWARDED = 11,    // introducer to target
    INTRO_REPLY = 12,        // target to requester
    INTRO_DIRECT_REQUEST = 13,
    INTRO_KEEP_ALIVE = 14,
  };
  static constexpr std::uint16_t VERSION = 2;
  static constexpr unsigned int HMAC_SIZE = 10;

  bdNATTraversalPacket();
  bdNATTraversalPacket(std::uint8_t type, unsigned int identifier, const bdAddr& first,
                       const bdAddr& second);

  bool serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                 unsigned int& newOffset) const;
  // Refuses versions below 2.
  bool deserialize(const unsigned char* buffer, unsigned int size, unsigned int offset,
                   unsigned int& newOffset);

  std::uint8_t getType() const { return m_type; }
  void setType(std::uint8_t type) { m_type = type; }
  unsigned int getIdentifier() const { return m_identifier; }
  const unsigned char* getHMAC() const { return m_hmac; }
  void setHMAC(const unsigned char* hmac, const unsigned int length);
  const bdAddr& getFirstAddr() const { return m_first; }
  const bdAddr& getSecondAddr() const { return m_second; }
  static unsigned int getSize();

 private:
  std::uint8_t m_type;
  std::uint16_t m_version;
  unsigned char m_hmac[HMAC_SIZE];
  std::uint32_t m_identifier;
  bdAddr m_first;
  bdAddr m_second;
};
