#pragma once
// The datagrams exchanged with a discovery server: this host writes the packed
// version 2; replies are also read in the padded version 1 layout, where a pad
// byte follows the type and two follow each address.
#include <cstdint>

#include "bdSocket/bdAddr.h"

class bdNATTypeDiscoveryPacket {
 public:
  static constexpr std::uint8_t TYPE = 20;
  // The test flags the server is sent for tests 1, 2 and 3.
  static std::uint8_t flagsForTest(unsigned int test);

  explicit bdNATTypeDiscoveryPacket(std::uint8_t testFlags = 0) : m_testFlags(testFlags) {}
  bool serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                 unsigned int& newOffset) const;

 private:
  std::uint8_t m_testFlags;
};

class bdNATTypeDiscoveryPacketReply {
 public:
  static constexpr std::uint8_t TYPE = 21;

  bool deserialize(const unsigned char* buffer, unsigned int size, unsigned int offset,
                   unsigned int& newOffset);
  std::uint8_t getType() const { return m_type; }
  const bdAddr& getMappedAddress() const { return m_mapped; }
  const bdAddr& getSecondaryAddress() const { return m_secondary; }

 private:
  std::uint8_t m_type = 0;
  bdAddr m_mapped;
  bdAddr m_secondary;
};

class bdIPDiscoveryPacket {
 public:
  static constexpr std::uint8_t TYPE = 30;
  bool serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                 unsigned int& newOffset) const;
};

class bdIPDiscoveryPacketReply {
 public:
  bool deserialize(const unsigned char* buffer, unsigned int size, unsigned int offset,
                   unsigned int& newOffset);
  const bdAddr& getPublicAddress() const { return m_public; }

 private:
  bdAddr m_public;
};
