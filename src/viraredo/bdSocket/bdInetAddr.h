#pragma once
// An IPv4 address. The stored value keeps the address bytes in network order
// in memory order: a.b.c.d is a | b << 8 | c << 16 | d << 24.
#include <cstdint>

class bdInetAddr {
 public:
  static constexpr std::uint32_t INVALID_ADDRESS = 0xFF00FF00u;
  static constexpr unsigned int SERIALIZED_SIZE = 4;

  bdInetAddr() : m_addr(INVALID_ADDRESS) {}
  explicit bdInetAddr(const std::uint32_t addr) : m_addr(addr) {}
  // Dotted text a.b.c.d; anything else gives the invalid address.
  explicit bdInetAddr(const char* text);
  bdInetAddr(const bdInetAddr& other) = default;
  bdInetAddr& operator=(const bdInetAddr& other) = default;
  ~bdInetAddr();

  static bdInetAddr fromBytes(unsigned char a, unsigned char b, unsigned char c, unsigned char d);
  static bdInetAddr getLoopback() { return fromBytes(127, 0, 0, 1); }
  static bdInetAddr getBroadcast() { return fromBytes(255, 255, 255, 255); }
  static bdInetAddr getAny() { return fromBytes(0, 0, 0, 0); }
  // Strict dotted text; false (address unchanged) for anything else.
  static bool parse(const char* text, bdInetAddr& addr);

  bool isValid() const { return m_addr != INVALID_ADDRESS; }
  bool isLoopback() const { return m_addr == getLoopback().m_addr; }
  bool isBroadcast() const { return m_addr == getBroadcast().m_addr; }
  std::uint32_t getInAddr() const { return m_addr; }
  unsigned char getByte(unsigned int index) const {
    return static_cast<unsigned char>(m_addr >> (8 * index));
  }

  bool operator==(const bdInetAddr& o) const { return m_addr == o.m_addr; }
  bool operator!=(const bdInetAddr& o) const { return m_addr != o.m_addr; }
  bool operator<(const bdInetAddr& o) const { return m_addr < o.m_addr; }

  // Dotted text cut to the buffer; 0 (empty text) for an invalid address.
  unsigned int toString(char* buffer, unsigned int size) const;
  bool serialize(unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset) const;
  bool deserialize(const unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset);

 private:
  std::uint32_t m_addr;
};
