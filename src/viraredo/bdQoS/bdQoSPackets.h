#pragma once
// The unsecured datagrams of round-trip probing: a timestamped request and
// the reply that echoes it with the host's data blob. Both serialise with
// an explicit offset and leave newOffset = offset on failure.
#include <cstdint>

class bdQoSRequestPacket {
 public:
  static constexpr std::uint8_t TYPE = 0x28;
  static constexpr unsigned int SIZE = 17;

  bdQoSRequestPacket() : m_type(TYPE), m_timestamp(0), m_id(0), m_securityIdPrefix(0) {}
  bdQoSRequestPacket(std::uint64_t timestamp, unsigned int id, std::uint32_t securityIdPrefix)
      : m_type(TYPE), m_timestamp(timestamp), m_id(id), m_securityIdPrefix(securityIdPrefix) {}

  bool serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                 unsigned int& newOffset) const;
  bool deserialize(const unsigned char* buffer, unsigned int size, unsigned int offset,
                   unsigned int& newOffset);

  std::uint64_t getTimestamp() const { return m_timestamp; }
  unsigned int getId() const { return m_id; }
  std::uint32_t getSecurityIdPrefix() const { return m_securityIdPrefix; }

 private:
  std::uint8_t m_type;
  std::uint64_t m_timestamp;
  std::uint32_t m_id;
  std::uint32_t m_securityIdPrefix;
};

class bdQoSReplyPacket {
 public:
  static constexpr std::uint8_t TYPE = 0x29;
  // The largest datagram either side builds.
  static constexpr unsigned int MAX_PACKET_SIZE = 1328;

  bdQoSReplyPacket();
  ~bdQoSReplyPacket();
  bdQoSReplyPacket(const bdQoSReplyPacket&) = delete;
  bdQoSReplyPacket& operator=(const bdQoSReplyPacket&) = delete;

  static unsigned int getHeaderSize();
  static unsigned int getMaxDataSize() { return MAX_PACKET_SIZE - getHeaderSize(); }

  // Size 0 clears the blob; more than getMaxDataSize() bytes is refused.
  bool setData(const unsigned char* data, unsigned int size);
  bool serialize(unsigned char* buffer, unsigned int size, unsigned int offset,
                 unsigned int& newOffset) const;
  // The data size field must equal exactly the bytes left after the header.
  bool deserialize(const unsigned char* buffer, unsigned int size, unsigned int offset,
                   unsigned int& newOffset);

  unsigned int getId() const { return m_id; }
  void setId(unsigned int id) { m_id = id; }
  std::uint64_t getTimestamp() const { return m_timestamp; }
  void setTimestamp(std::uint64_t timestamp) { m_timestamp = timestamp; }
  bool getEnabledFlag() const { return m_enabled != 0; }
  void setEnabledFlag(bool enabled) { m_enabled = enabled ? 1 : 0; }
  const unsigned char* getData() const { return m_data; }
  unsigned int getDataSize() const { return m_dataSize; }
  unsigned int getSize() const { return getHeaderSize() + m_dataSize; }

 private:
  void clearData();

  std::uint8_t m_type;
  std::uint32_t m_id;
  std::uint64_t m_timestamp;
  std::uint8_t m_enabled;
  std::uint32_t m_dataSize;
  unsigned char* m_data;
};
