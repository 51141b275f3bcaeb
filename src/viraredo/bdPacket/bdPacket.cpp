#include "bdPacket/bdPacket.h"

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"
#include "bdPacket/bdCookieEchoChunk.h"
#include "bdPacket/bdDataChunk.h"
#include "bdPacket/bdInitAckChunk.h"
#include "bdPacket/bdInitChunk.h"
#include "bdPacket/bdSAckChunk.h"

namespace {

const char* const kChannel = "bdConnection/packet";

bdChunk* makeChunk(std::uint8_t type) {
  switch (type) {
    case BD_CT_DATA:
      return new bdDataChunk();
    case BD_CT_INIT:
      return new bdInitChunk();
    case BD_CT_INIT_ACK:
      return new bdInitAckChunk();
    case BD_CT_SACK:
      return new bdSAckChunk();
    case BD_CT_COOKIE_ECHO:
      return new bdCookieEchoChunk();
    case BD_CT_HEARTBEAT:
      return new bdHeartbeatChunk();
    case BD_CT_HEARTBEAT_ACK:
      return new bdHeartbeatAckChunk();
    case BD_CT_SHUTDOWN:
      return new bdShutdownChunk();
    case BD_CT_SHUTDOWN_ACK:
      return new bdShutdownAckChunk();
    case BD_CT_SHUTDOWN_COMPLETE:
      return new bdShutdownCompleteChunk();
    case BD_CT_COOKIE_ACK:
      return new bdCookieAckChunk();
    default:
      return nullptr;
  }
}

}  // namespace

bdPacket::bdPacket() : m_vtag(0), m_maxSize(0), m_accounted(HEADER_SIZE) {}

bdPacket::bdPacket(std::uint32_t vtag, unsigned int maxSize)
    : m_vtag(vtag), m_maxSize(maxSize), m_accounted(HEADER_SIZE) {}

bool bdPacket::appendEncodedInt(unsigned char* buffer, unsigned int size, unsigned int& offset,
                                unsigned short value) {
  if (value > 32767) {
    bdAssertMsg("Integer is too big.");
    return false;
  }
  return bdBytePacker::appendEncodedUInt16(buffer, size, offset, offset, value);
}

bool bdPacket::addChunk(const bdReference<bdChunk>& chunk) {
  if (chunk.isNull()) return false;
  unsigned int size = chunk->getSerializedSize();
  if (chunk->getType() == BD_CT_DATA) size += size < 128 ? 1 : 4;
  // The accounted bytes already include the 6 header bytes, so the limit is
  // the whole packet: counting the header twice would leave the largest
  // messages fitting no packet at all, stuck at the head of their window.
  if (m_accounted + size > m_maxSize) return false;
  if (!m_chunks.addTail(chunk)) return false;
  m_accounted += size;
  return true;
}

bool bdPacket::getNextChunk(bdReference<bdChunk>& chunk) {
  if (m_chunks.isEmpty()) return false;
  chunk = m_chunks.getHead()->m_value;
  m_chunks.remove(m_chunks.getHead());
  return true;
}

unsigned int bdPacket::serialize(unsigned char* buffer, unsigned int size) {
  if (size != m_maxSize) bdAssertMsg("Size different to size specified in constructor!");
  if (buffer == nullptr || size < HEADER_SIZE) return 0;
  unsigned char tail[MAX_TAIL];
  unsigned int tailSize = 0;
  unsigned int at = 2;
  bool ok = bdBytePacker::appendBasicType(buffer, size, at, at, m_vtag);
  bdReference<bdChunk> chunk;
  while (ok && getNextChunk(chunk)) {
    unsigned short unencrypted = 0;
    if (chunk->getType() == BD_CT_DATA) {
      const bdDataChunk* data = static_cast<const bdDataChunk*>(chunk.get());
      const unsigned int n = data->getUnencryptedSize();
      if (n > MAX_TAIL - tailSize) {
        ok = false;
        break;
      }
      if (n > 0) {
        bdBytePacker::appendBuffer(tail, MAX_TAIL, tailSize, tailSize, data->getUnencrypted(), n);
      }
      unencrypted = static_cast<unsigned short>(n);
    }
    ok = appendEncodedInt(buffer, size, at, unencrypted);
    if (!ok) break;
    const unsigned int written = chunk->serialize(buffer + at, size - at);
    ok = written > 0;
    at += written;
  }
  m_chunks.clear();
  m_accounted = HEADER_SIZE;
  if (!ok || tailSize > size - at) {
    bdLogWarn(kChannel, "Packet too big to serialize.");
    return 0;
  }
  unsigned int ignored = 0;
  const std::uint16_t length = static_cast<std::uint16_t>(at - 2);
  if (!bdBytePacker::appendBasicType(buffer, size, 0, ignored, length) ||
      !bdBytePacker::appendBuffer(buffer, size, at, at, tail, tailSize)) {
    bdAssertMsg("Failed to serialize packet!");
    return 0;
  }
  return at;
}

bool bdPacket::deserialize(const unsigned char* data, unsigned int size) {
  if (data == nullptr || size < 7) return false;
  std::uint16_t length = 0;
  unsigned int at = 0;
  bdBytePacker::removeBasicType(data, size, at, at, length);
  // L comes from the wire: the section must hold the tag and fit the datagram.
  if (length < 4 || length > size - 2) {
    bdLogWarn(kChannel, "Incoming packet invalid. Section length out of range.");
    return false;
  }
  const unsigned int sectionEnd = 2u + length;
  const unsigned char* tail = data + sectionEnd;
  const unsigned int tailSize = size - sectionEnd;
  unsigned int tailUsed = 0;
  bdBytePacker::removeBasicType(data, sectionEnd, at, at, m_vtag);
  unsigned int records = 0;
  while (at < sectionEnd && records < MAX_CHUNKS) {
    ++records;
    std::uint16_t unencrypted = 0;
    if (!bdBytePacker::removeEncodedUInt16(data, sectionEnd, at, at, unencrypted)) {
      bdLogWarn(kChannel, "couldn't deserialize chunk.");
      return false;
    }
    if (unencrypted > tailSize - tailUsed) {
      bdLogWarn(kChannel, "Incoming packet invalid. Unenc field too large.");
      return false;
    }
    std::uint8_t type = 0;
    unsigned int peek = at;
    if (!bdBytePacker::removeBasicType(data, sectionEnd, at, peek, type)) {
      bdLogWarn(kChannel, "couldn't deserialize chunk.");
      return false;
    }
    if (type == BD_CT_PAD) {
      at += 1;
      continue;
    }
    if (type == BD_CT_ABORT || type == BD_CT_ERROR) {
      bdLogWarn(kChannel, type == BD_CT_ABORT ? "Not implemented! (BD_CT_ABORT)"
                                              : "Not implemented! (BD_CT_ERROR)");
      return true;
    }
    bdReference<bdChunk> chunk(makeChunk(type));
    if (chunk.isNull()) {
      bdLogWarn(kChannel, "unknown chunk type.");
      return false;
    }
    unsigned int used = 0;
    bool read = false;
    if (unencrypted == 0) {
      read = chunk->deserialize(data + at, sectionEnd - at, used);
    } else if (type == BD_CT_DATA) {
      read = static_cast<bdDataChunk*>(chunk.get())
                 ->deserialize(data + at, sectionEnd - at, used, tail + tailUsed, unencrypted);
      tailUsed += unencrypted;
    }
    if (!read || used == 0 || used > sectionEnd - at) {
      bdLogWarn(kChannel, "couldn't deserialize chunk.");
      return false;
    }
    m_chunks.addTail(chunk);
    at += used;
  }
  return true;
}
