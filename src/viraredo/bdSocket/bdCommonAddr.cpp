#include "bdSocket/bdCommonAddr.h"

#include <cstring>

#include "bdCore/bdCrypto/bdHashTiger192.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBitBuffer.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

const char* bdNATTypeToString(bdNATType type) {
  switch (type) {
    case BD_NAT_OPEN:
      return "BD_NAT_OPEN";
    case BD_NAT_MODERATE:
      return "BD_NAT_MODERATE";
    case BD_NAT_STRICT:
      return "BD_NAT_STRICT";
  }
  return "**UNKNOWN**";
}

bdCommonAddr::bdCommonAddr()
    : m_localAddrs(), m_publicAddr(), m_hash(0), m_isLoopback(false), m_natType(BD_NAT_OPEN) {
  calculateHash();
}

bdCommonAddr::bdCommonAddr(const bdArray<bdAddr>& locals, const bdAddr& publicAddr,
                           bdNATType natType)
    : m_localAddrs(), m_publicAddr(publicAddr), m_hash(0), m_isLoopback(true), m_natType(natType) {
  setLocals(locals);
  calculateHash();
}

bdCommonAddr::bdCommonAddr(bdReference<bdCommonAddr> me, const bdArray<bdAddr>& locals,
                           const bdAddr& publicAddr, bdNATType natType)
    : m_localAddrs(), m_publicAddr(publicAddr), m_hash(0), m_isLoopback(false), m_natType(natType) {
  setLocals(locals);
  calculateHash();
  m_isLoopback = me.notNull() && *me == *this;
}

bdCommonAddr::bdCommonAddr(const bdAddr& addr)
    : m_localAddrs(1), m_publicAddr(), m_hash(0), m_isLoopback(false), m_natType(BD_NAT_OPEN) {
  bdAssert(addr.isValid(), "Address not valid!");
  m_localAddrs.pushBack(addr);
  calculateHash();
}

// The wire holds three local slots; more are not kept.
void bdCommonAddr::setLocals(const bdArray<bdAddr>& locals) {
  bdAssert(locals.getSize() > 0, "Too few local addresses!");
  bdAssert(locals.getSize() <= MAX_LOCAL_ADDRS, "Too many local addresses!");
  for (unsigned int i = 0; i < locals.getSize() && i < MAX_LOCAL_ADDRS; ++i) {
    m_localAddrs.pushBack(locals[i]);
  }
}

bdAddr bdCommonAddr::representative() const {
  if (m_publicAddr.isValid()) return m_publicAddr;
  return m_localAddrs.isEmpty() ? bdAddr() : m_localAddrs[0];
}

void bdCommonAddr::calculateHash() {
  unsigned char bytes[6];
  unsigned int end = 0;
  unsigned char digest[bdHashTiger192::HASH_SIZE];
  unsigned int digestLength = sizeof digest;
  bdHashTiger192 tiger;
  if (!representative().serialize(bytes, sizeof bytes, 0, end) ||
      !tiger.hash(bytes, end, digest, digestLength)) {
    bdAssertMsg("Failed to calculate hash.");
    m_hash = 0;
    return;
  }
  m_hash = static_cast<unsigned int>(digest[0]) | static_cast<unsigned int>(digest[1]) << 8 |
           static_cast<unsigned int>(digest[2]) << 16 | static_cast<unsigned int>(digest[3]) << 24;
}

bool bdCommonAddr::operator==(const bdCommonAddr& other) const {
  if (m_hash != other.m_hash) return false;
  return representative() == other.representative();
}

bool bdCommonAddr::serialize(unsigned char* buffer, unsigned int bufferSize) const {
  unsigned int at = 0;
  bool ok = true;
  for (unsigned int i = 0; i < MAX_LOCAL_ADDRS; ++i) {
    const bdAddr slot = i < m_localAddrs.getSize() ? m_localAddrs[i] : bdAddr();
    ok = ok && slot.serialize(buffer, bufferSize, at, at);
  }
  ok = ok && m_publicAddr.serialize(buffer, bufferSize, at, at);
  ok = ok && bdBytePacker::appendBasicType<std::uint8_t>(buffer, bufferSize, at, at, m_natType);
  if (!ok || at != SERIALIZED_SIZE) {
    bdAssertMsg("bdCommonAddr::serialize, wrong size.");
    return false;
  }
  return true;
}

void bdCommonAddr::serialize(bdBitBuffer& buffer) const {
  unsigned char bytes[SERIALIZED_SIZE];
  if (serialize(bytes, sizeof bytes)) buffer.writeBits(bytes, SERIALIZED_BITS);
}

bool bdCommonAddr::deserialize(bdReference<bdCommonAddr> me, const unsigned char* buffer,
                               unsigned int bufferSize) {
  if (buffer == nullptr || bufferSize < SERIALIZED_SIZE) return false;
  bdArray<bdAddr> locals(MAX_LOCAL_ADDRS);
  unsigned int at = 0;
  for (unsigned int i = 0; i < MAX_LOCAL_ADDRS; ++i) {
    bdAddr slot;
    slot.deserialize(buffer, bufferSize, at, at);
    if (slot.isValid()) locals.pushBack(slot);
  }
  bdAddr publicAddr;
  publicAddr.deserialize(buffer, bufferSize, at, at);
  std::uint8_t natType = 0;
  bdBytePacker::removeBasicType(buffer, bufferSize, at, at, natType);
  m_localAddrs = locals;
  m_publicAddr = publicAddr;
  m_natType = static_cast<bdNATType>(natType);
  calculateHash();
  m_isLoopback = me.notNull() && *me == *this;
  return true;
}

bool bdCommonAddr::deserialize(bdReference<bdCommonAddr> me, bdBitBuffer& buffer) {
  unsigned char bytes[SERIALIZED_SIZE];
  if (!buffer.readBits(bytes, SERIALIZED_BITS)) return false;
  return deserialize(me, bytes, sizeof bytes);
}
