#include "bdSocket/bdAddr.h"

#include <cstdio>
#include <cstring>

#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"
#include "bdCore/bdUtilities/bdCString.h"

namespace {
constexpr unsigned int kMaxAddressText = 15;

// Strict decimal port; false for empty text, other characters or values past 65535.
bool parsePort(const char* text, unsigned short& port) {
  unsigned int value = 0;
  if (*text == 0) return false;
  for (const char* p = text; *p != 0; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + static_cast<unsigned int>(*p - '0');
    if (value > 0xFFFF) return false;
  }
  port = static_cast<unsigned short>(value);
  return true;
}
}  // namespace

bdAddr::bdAddr(const char* text) : m_address(), m_port(0) { set(text); }

void bdAddr::set(const bdInetAddr& address, unsigned short port) {
  m_address = address;
  m_port = port;
}

void bdAddr::set(const char* socketAddress) {
  if (socketAddress == nullptr) {
    bdAssertMsg("bdAddr::set(const bdNChar8 *socketAddress) \nInvalid socket address \n ");
    return;
  }
  const char* colon = std::strchr(socketAddress, ':');
  m_port = 0;
  if (colon == nullptr) {
    m_address = bdInetAddr(socketAddress);
    return;
  }
  char address[kMaxAddressText + 1];
  const std::size_t length = static_cast<std::size_t>(colon - socketAddress);
  const std::size_t kept = length < kMaxAddressText ? length : kMaxAddressText;
  std::memcpy(address, socketAddress, kept);
  address[kept] = 0;
  m_address = length <= kMaxAddressText ? bdInetAddr(address) : bdInetAddr();
  if (!parsePort(colon + 1, m_port)) {
    bdAssertMsg("bdAddr::set, invalid port.");
    m_port = 0;
  }
}

bool bdAddr::serialize(unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                       unsigned int& newOffset) const {
  newOffset = offset;
  unsigned int at = offset;
  if (!m_address.serialize(buffer, bufferSize, at, at) ||
      !bdBytePacker::appendBasicType<std::uint16_t>(buffer, bufferSize, at, at, m_port)) {
    return false;
  }
  newOffset = at;
  return true;
}

bool bdAddr::deserialize(const unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                         unsigned int& newOffset) {
  newOffset = offset;
  unsigned int at = offset;
  bdInetAddr address;
  std::uint16_t port = 0;
  if (!address.deserialize(buffer, bufferSize, at, at) ||
      !bdBytePacker::removeBasicType(buffer, bufferSize, at, at, port)) {
    return false;
  }
  m_address = address;
  m_port = port;
  newOffset = at;
  return true;
}

// Measured once by a dry run.
unsigned int bdAddr::getSerializedSize() {
  static const unsigned int size = [] {
    unsigned int end = 0;
    if (!bdAddr().serialize(nullptr, MAX_DATAGRAM_SIZE, 0, end)) {
      bdAssertMsg("Failed to get serialized size.");
    }
    bdAssert(end < MAX_DATAGRAM_SIZE, "Size is larger than a biggest datagram.");
    return end;
  }();
  return size;
}

unsigned int bdAddr::getHash() const {
  unsigned char bytes[6];
  unsigned int end = 0;
  if (!serialize(bytes, sizeof bytes, 0, end)) {
    bdAssertMsg("Failed to serialize.");
    return 0;
  }
  unsigned int h = 0;
  for (unsigned int i = 0; i < end; ++i) {
    h = h * 31u + static_cast<unsigned int>(static_cast<signed char>(bytes[i]));
  }
  return h;
}

unsigned int bdAddr::toString(char* buffer, unsigned int size) const {
  if (buffer == nullptr || size == 0) return 0;
  char address[16];
  m_address.toString(address, sizeof address);
  char text[24];
  std::snprintf(text, sizeof text, "%s:%u", address, static_cast<unsigned int>(m_port));
  bdStrlcpy(buffer, text, size);
  return bdStrlen(buffer);
}
