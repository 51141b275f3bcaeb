#include "bdLANDiscovery/bdLANDiscoveryPacket.h"

#include "bdCore/bdUtilities/bdBitBuffer.h"

void bdLANDiscoveryPacket::writeRequest(bdBitBuffer& buffer, const unsigned char* nonce,
                                        std::uint32_t titleID) {
  buffer.writeUChar8(REQUEST_TYPE);
  buffer.writeBits(nonce, NONCE_SIZE * 8);
  buffer.writeUInt32(titleID);
}

void bdLANDiscoveryPacket::writeReplyHead(bdBitBuffer& buffer, const unsigned char* nonce) {
  buffer.writeUChar8(REPLY_TYPE);
  buffer.writeBits(nonce, NONCE_SIZE * 8);
}

// Both packets are untyped: a typed buffer is not one of ours.
bool bdLANDiscoveryPacket::readType(bdBitBuffer& buffer, unsigned char& type) {
  return !buffer.isTyped() && buffer.readUChar8(type);
}

bool bdLANDiscoveryPacket::readNonce(bdBitBuffer& buffer, unsigned char* nonce) {
  return buffer.readBits(nonce, NONCE_SIZE * 8);
}

bool bdLANDiscoveryPacket::readRequest(const unsigned char* data, unsigned int size,
                                       unsigned char* nonce, std::uint32_t& titleID) {
  if (data == nullptr || size <= IGNORED_SIZE) return false;
  bdBitBuffer buffer(data, size * 8, true);
  unsigned char type = 0;
  return readType(buffer, type) && type == REQUEST_TYPE && readNonce(buffer, nonce) &&
         buffer.readUInt32(titleID);
}

unsigned int bdLANDiscoveryPacket::byteSize(const bdBitBuffer& buffer) {
  return (buffer.getNumBitsWritten() + 7) / 8;
}
