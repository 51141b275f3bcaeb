#include "bdLobbyCommon/bdAuth.h"

#include <cstring>
#include <type_traits>

#include "bdCore/bdCrypto/bdHashTiger192.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

void bdAuthUtility::getUserKey(const char* name, char key[24]) {
  bdHashTiger192 tiger;
  unsigned int length = bdHashTiger192::HASH_SIZE;
  const unsigned int size = name != nullptr ? static_cast<unsigned int>(std::strlen(name)) : 0;
  const bool ok = tiger.hash(reinterpret_cast<const unsigned char*>(name != nullptr ? name : ""),
                             size, reinterpret_cast<unsigned char*>(key), length);
  bdAssert(ok, "bdAuthUtility::getUserKey: hash failed");
}

std::uint64_t bdAuthUtility::getUserID(const char* name) {
  bdHashTiger192 tiger;
  unsigned char digest[bdHashTiger192::HASH_SIZE];
  unsigned int length = sizeof digest;
  const unsigned int size = name != nullptr ? static_cast<unsigned int>(std::strlen(name)) : 0;
  if (!tiger.hash(reinterpret_cast<const unsigned char*>(name != nullptr ? name : ""), size, digest,
                  length)) {
    bdAssertMsg("bdAuthUtility::getUserID: hash failed");
    return 0;
  }
  std::uint64_t id = 0;
  unsigned int offset = 0;
  if (!bdBytePacker::removeBasicType(digest, length, 0, offset, id)) return 0;
  return id;
}

unsigned int bdAuthMessage::getSize() const {
  unsigned int count = 0;
  const Field* fields = layout(count);
  unsigned int size = 0;
  for (unsigned int i = 0; i < count; ++i) {
    static const unsigned int widths[] = {4, 8, 64, 24};
    size += widths[fields[i]];
  }
  return size;
}

namespace {
// Writing and reading walk the same field layout; only the packer call differs.
// A field is either a number (packed little-endian) or a fixed byte block.
template <typename Message, typename Step>
bool walkFields(const bdAuthMessage::Field* fields, unsigned int count, Message& message,
                Step step) {
  unsigned int u32 = 0;
  unsigned int u64 = 0;
  bool ok = true;
  for (unsigned int i = 0; i < count && ok; ++i) {
    switch (fields[i]) {
      case bdAuthMessage::U32:
        ok = step(message.m_u32[u32++]);
        break;
      case bdAuthMessage::U64:
        ok = step(message.m_u64[u64++]);
        break;
      case bdAuthMessage::BLOCK64:
        ok = step(message.m_block);
        break;
      case bdAuthMessage::KEY24:
        ok = step(message.m_key);
        break;
    }
  }
  return ok;
}

template <typename T>
constexpr bool isBlock() {
  return std::is_array<std::remove_reference_t<T>>::value;
}
}  // namespace

bool bdAuthMessage::serialize(unsigned char* buffer, unsigned int size) const {
  if (buffer == nullptr) return false;
  std::memset(buffer, 0, size);
  unsigned int count = 0;
  const Field* fields = layout(count);
  unsigned int offset = 0;
  const bool ok = walkFields(fields, count, *this, [&](const auto& value) {
    if constexpr (isBlock<decltype(value)>()) {
      return bdBytePacker::appendBuffer(buffer, size, offset, offset, value, sizeof value);
    } else {
      return bdBytePacker::appendBasicType(buffer, size, offset, offset, value);
    }
  });
  bdAssert(ok, "bdAuthMessage::serialize: field does not fit");
  return ok;
}

bool bdAuthMessage::deserialize(const unsigned char* buffer, unsigned int size) {
  if (buffer == nullptr) return false;
  unsigned int count = 0;
  const Field* fields = layout(count);
  unsigned int offset = 0;
  const bool ok = walkFields(fields, count, *this, [&](auto& value) {
    if constexpr (isBlock<decltype(value)>()) {
      return bdBytePacker::removeBuffer(buffer, size, offset, offset, value, sizeof value);
    } else {
      return bdBytePacker::removeBasicType(buffer, size, offset, offset, value);
    }
  });
  bdAssert(ok, "bdAuthMessage::deserialize: field does not fit");
  return ok;
}

bdAuthTicket::bdAuthTicket()
    : m_magic(0), m_ticketType(0), m_value1(0), m_value2(0), m_value3(0), m_id1(0), m_id2(0) {
  std::memset(m_block, 0, sizeof m_block);
  std::memset(m_key, 0, sizeof m_key);
}

void bdAuthTicket::serialize(void* out) const {
  unsigned char* b = static_cast<unsigned char*>(out);
  unsigned int o = 0;
  bdBytePacker::appendBasicType(b, SIZE, o, o, m_magic);
  bdBytePacker::appendBasicType(b, SIZE, o, o, m_ticketType);
  bdBytePacker::appendBasicType(b, SIZE, o, o, m_value1);
  bdBytePacker::appendBasicType(b, SIZE, o, o, m_value2);
  bdBytePacker::appendBasicType(b, SIZE, o, o, m_value3);
  bdBytePacker::appendBasicType(b, SIZE, o, o, m_id1);
  bdBytePacker::appendBasicType(b, SIZE, o, o, m_id2);
  bdBytePacker::appendBuffer(b, SIZE, o, o, m_block, sizeof m_block);
  bdBytePacker::appendBuffer(b, SIZE, o, o, m_key, sizeof m_key);
}

void bdAuthTicket::deserialize(const void* in) {
  const unsigned char* b = static_cast<const unsigned char*>(in);
  unsigned int o = 0;
  bdBytePacker::removeBasicType(b, SIZE, o, o, m_magic);
  bdBytePacker::removeBasicType(b, SIZE, o, o, m_ticketType);
  bdBytePacker::removeBasicType(b, SIZE, o, o, m_value1);
  bdBytePacker::removeBasicType(b, SIZE, o, o, m_value2);
  bdBytePacker::removeBasicType(b, SIZE, o, o, m_value3);
  bdBytePacker::removeBasicType(b, SIZE, o, o, m_id1);
  bdBytePacker::removeBasicType(b, SIZE, o, o, m_id2);
  bdBytePacker::removeBuffer(b, SIZE, o, o, m_block, sizeof m_block);
  bdBytePacker::removeBuffer(b, SIZE, o, o, m_key, sizeof m_key);
}
