#include "bdCore/bdContainers/bdString.h"

#include <cstdint>
#include <cstring>

#include "bdCore/bdMemory/bdMemory.h"

struct bdString::Rep {
  std::uint32_t m_refCount;
  std::uint32_t m_length;
  std::uint32_t m_capacity;
};

namespace {
constexpr unsigned int kCapacityStep = 64;

unsigned int textLength(const char* text) {
  return text == nullptr ? 0 : static_cast<unsigned int>(std::strlen(text));
}
}  // namespace

bdString::Rep* bdString::emptyRep() {
  static struct {
    Rep rep;
    char zero;
  } s_empty = {{0, 0, kCapacityStep}, 0};
  return &s_empty.rep;
}

char* bdString::chars() const { return reinterpret_cast<char*>(m_rep + 1); }

// The shared empty representation is not counted: strings on any thread may use it.
void bdString::acquire(Rep* rep) {
  if (rep != emptyRep()) ++rep->m_refCount;
}

void bdString::release(Rep* rep) {
  if (rep == emptyRep()) return;
  if (--rep->m_refCount == 0) bdMemory::deallocate(rep);
}

// A new representation holding a then b; the empty one when both are empty or
// memory ran out.
bdString::Rep* bdString::makeRep(const char* a, unsigned int lengthA, const char* b,
                                 unsigned int lengthB) {
  const std::uint64_t length = static_cast<std::uint64_t>(lengthA) + lengthB;
  if (length == 0 || length >= UINT32_MAX - kCapacityStep) return emptyRep();
  const std::uint32_t capacity =
      static_cast<std::uint32_t>((length + 1 + kCapacityStep - 1) / kCapacityStep * kCapacityStep);
  Rep* rep = static_cast<Rep*>(bdMemory::allocate(sizeof(Rep) + capacity));
  if (rep == nullptr) return emptyRep();
  rep->m_refCount = 1;
  rep->m_length = static_cast<std::uint32_t>(length);
  rep->m_capacity = capacity;
  char* out = reinterpret_cast<char*>(rep + 1);
  if (lengthA > 0) std::memcpy(out, a, lengthA);
  if (lengthB > 0) std::memcpy(out + lengthA, b, lengthB);
  out[length] = 0;
  return rep;
}

bdString::bdString() : m_rep(emptyRep()) {}

bdString::bdString(const char* text) : m_rep(makeRep(text, textLength(text), nullptr, 0)) {}

bdString::bdString(const bdString& other) : m_rep(other.m_rep) { acquire(m_rep); }

bdString::~bdString() { release(m_rep); }

bdString& bdString::operator=(const bdString& other) {
  if (other.m_rep == m_rep) return *this;
  Rep* old = m_rep;
  m_rep = other.m_rep;
  acquire(m_rep);
  release(old);
  return *this;
}

bdString& bdString::operator=(const char* text) {
  const unsigned int length = textLength(text);
  if (m_rep != emptyRep() && m_rep->m_refCount < 2 &&
      static_cast<std::uint64_t>(length) + 1 <= m_rep->m_capacity) {
    std::memmove(chars(), text, length);  // text may point into this string
    chars()[length] = 0;
    m_rep->m_length = length;
    return *this;
  }
  Rep* fresh = makeRep(text, length, nullptr, 0);
  release(m_rep);
  m_rep = fresh;
  return *this;
}

bool bdString::appendInPlace(const char* text, unsigned int length) {
  if (m_rep == emptyRep() || m_rep->m_refCount >= 2) return false;
  const std::uint64_t total = static_cast<std::uint64_t>(m_rep->m_length) + length;
  if (total + 1 > m_rep->m_capacity) return false;
  std::memmove(chars() + m_rep->m_length, text, length);
  m_rep->m_length = static_cast<std::uint32_t>(total);
  chars()[total] = 0;
  return true;
}

void bdString::append(const char* text, unsigned int length) {
  if (length == 0 || appendInPlace(text, length)) return;
  Rep* fresh = makeRep(chars(), m_rep->m_length, text, length);
  release(m_rep);
  m_rep = fresh;
}

bdString& bdString::operator+=(const bdString& other) {
  const bdString keep(other);  // appending a string to itself
  append(keep.getBuffer(), keep.getLength());
  return *this;
}

bdString& bdString::operator+=(const char* text) {
  append(text, textLength(text));
  return *this;
}

bdString& bdString::operator+=(char c) {
  append(&c, 1);
  return *this;
}

bdString bdString::operator+(const bdString& other) const {
  return bdString(makeRep(chars(), getLength(), other.chars(), other.getLength()));
}

bdString bdString::operator+(const char* text) const {
  return bdString(makeRep(chars(), getLength(), text, textLength(text)));
}

bool bdString::operator==(const bdString& other) const {
  return m_rep == other.m_rep || std::strcmp(getBuffer(), other.getBuffer()) == 0;
}

bool bdString::operator==(const char* text) const {
  return std::strcmp(getBuffer(), text == nullptr ? "" : text) == 0;
}

bdString bdString::substr(unsigned int start, unsigned int end) const {
  const unsigned int limit = end < getLength() ? end : getLength();
  if (start >= limit) return bdString();
  return bdString(makeRep(chars() + start, limit - start, nullptr, 0));
}

bool bdString::find(char c, unsigned int& index) const {
  const char* found = static_cast<const char*>(std::memchr(chars(), c, getLength()));
  if (found == nullptr) return false;
  index = static_cast<unsigned int>(found - chars());
  return true;
}

const char* bdString::getBuffer() const { return chars(); }
unsigned int bdString::getLength() const { return m_rep->m_length; }
unsigned int bdString::getCapacity() const { return m_rep->m_capacity; }
bool bdString::isCapacityEnough(unsigned int n) const {
  return static_cast<std::uint64_t>(n) + 1 <= m_rep->m_capacity;
}
unsigned int bdString::getRefCount() const { return m_rep->m_refCount; }
