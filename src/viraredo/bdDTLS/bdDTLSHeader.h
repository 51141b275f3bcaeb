#pragma once
// The 6-byte header that starts every secured-association datagram: type,
// version, the receiver's verification tag and a DATA sequence number's low
// 16 bits. Every packet reads and writes at an explicit offset and leaves
// newOffset at offset on failure; a null buffer only measures.
#include <cstdint>

enum bdDTLSPacketTypes : std::uint8_t {
  BD_DTLS_INIT = 1,
  BD_DTLS_INIT_ACK = 2,
  BD_DTLS_COOKIE_ECHO = 3,
  BD_DTLS_COOKIE_ACK = 4,
  BD_DTLS_ERROR = 5,
  BD_DTLS_DATA = 6,
};

class bdDTLSHeader {
 public:
  static constexpr std::uint8_t VERSION = 2;
  static constexpr unsigned int MEASURE_SIZE = 65535;

  bdDTLSHeader() : m_type(0), m_version(VERSION), m_vtag(0), m_seqNum(0) {}
  bdDTLSHeader(std::uint8_t type, std::uint16_t vtag, std::uint16_t seqNum)
      : m_type(type), m_version(VERSION), m_vtag(vtag), m_seqNum(seqNum) {}
  virtual ~bdDTLSHeader() = default;

  virtual bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                         unsigned int& newOffset) const;
  virtual bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                           unsigned int& newOffset);

  std::uint8_t getType() const { return m_type; }
  std::uint16_t getVtag() const { return m_vtag; }
  std::uint16_t getSeqNum() const { return m_seqNum; }
  static unsigned int getSerializedSize();

 protected:
  std::uint8_t m_type;
  std::uint8_t m_version;
  std::uint16_t m_vtag;
  std::uint16_t m_seqNum;
};
