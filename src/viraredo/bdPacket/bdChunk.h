#pragma once
// One typed record of a connection packet. Every chunk starts with type,
// flags and a 16-bit length; the chunks here carry nothing more.
#include <cstdint>

#include "bdCore/bdContainers/bdReference.h"

enum bdChunkTypes : std::uint32_t {
  BD_CT_INVALID = 0,
  BD_CT_PAD = 1,
  BD_CT_DATA = 2,
  BD_CT_INIT = 3,
  BD_CT_INIT_ACK = 4,
  BD_CT_SACK = 5,
  BD_CT_HEARTBEAT = 6,
  BD_CT_HEARTBEAT_ACK = 7,
  BD_CT_ABORT = 8,
  BD_CT_SHUTDOWN = 9,
  BD_CT_SHUTDOWN_ACK = 10,
  BD_CT_SHUTDOWN_COMPLETE = 11,
  BD_CT_ERROR = 12,
  BD_CT_COOKIE_ECHO = 13,
  BD_CT_COOKIE_ACK = 14,
};

class bdChunk : public bdReferencable {
 public:
  static constexpr unsigned int HEADER_SIZE = 4;

  explicit bdChunk(bdChunkTypes type, std::uint8_t flags = 0) : m_type(type), m_flags(flags) {}
  ~bdChunk() override = default;

  virtual bdChunkTypes getType() const { return m_type; }
  // Bytes written; 0 when the buffer is too small.
  virtual unsigned int serialize(unsigned char* buffer, unsigned int size) const;
  virtual bool deserialize(const unsigned char* data, unsigned int size, unsigned int& used);
  virtual unsigned int getSerializedSize() const { return HEADER_SIZE; }
  std::uint8_t getFlags() const { return m_flags; }

 protected:
  unsigned int serializeHeader(unsigned char* buffer, unsigned int size,
                               std::uint16_t length) const;
  bool deserializeHeader(const unsigned char* data, unsigned int size, std::uint16_t& length);

  bdChunkTypes m_type;
  std::uint8_t m_flags;
};

class bdHeartbeatChunk : public bdChunk {
 public:
  explicit bdHeartbeatChunk(std::uint8_t flags = 0) : bdChunk(BD_CT_HEARTBEAT, flags) {}
};
class bdHeartbeatAckChunk : public bdChunk {
 public:
  explicit bdHeartbeatAckChunk(std::uint8_t flags = 0) : bdChunk(BD_CT_HEARTBEAT_ACK, flags) {}
};
class bdShutdownChunk : public bdChunk {
 public:
  explicit bdShutdownChunk(std::uint8_t flags = 0) : bdChunk(BD_CT_SHUTDOWN, flags) {}
};
class bdShutdownAckChunk : public bdChunk {
 public:
  explicit bdShutdownAckChunk(std::uint8_t flags = 0) : bdChunk(BD_CT_SHUTDOWN_ACK, flags) {}
};
class bdShutdownCompleteChunk : public bdChunk {
 public:
  explicit bdShutdownCompleteChunk(std::uint8_t flags = 0)
      : bdChunk(BD_CT_SHUTDOWN_COMPLETE, flags) {}
};
class bdCookieAckChunk : public bdChunk {
 public:
  explicit bdCookieAckChunk(std::uint8_t flags = 0) : bdChunk(BD_CT_COOKIE_ACK, flags) {}
};
