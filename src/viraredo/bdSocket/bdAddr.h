#pragma once
// An IPv4 address and a UDP port; 6 bytes on the wire (address in network
// order, port least significant byte first).
#include "bdSocket/bdInetAddr.h"

class bdAddr {
 public:
  static constexpr unsigned int MAX_DATAGRAM_SIZE = 1328;

  bdAddr() : m_address(), m_port(0) {}
  bdAddr(const bdInetAddr& address, unsigned short port) : m_address(address), m_port(port) {}
  // "a.b.c.d" or "a.b.c.d:port".
  explicit bdAddr(const char* text);

  void set(const bdInetAddr& address, unsigned short port);
  void set(const char* socketAddress);
  void setPort(unsigned short port) { m_port = port; }
  unsigned short getPort() const { return m_port; }
  const bdInetAddr& getAddress() const { return m_address; }
  bool isValid() const { return m_address.isValid(); }

  bool operator==(const bdAddr& o) const { return m_port == o.m_port && m_address == o.m_address; }
  bool operator!=(const bdAddr& o) const { return !(*this == o); }
  bool operator<(const bdAddr& o) const { return getHash() < o.getHash(); }

  // On failure newOffset stays at offset and false is returned.
  bool serialize(unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset) const;
  bool deserialize(const unsigned char* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset);
  static unsigned int getSerializedSize();
  unsigned int getHash() const;
  // "a.b.c.d:port" (":port" for an invalid address), cut to the buffer.
  unsigned int toString(char* buffer, unsigned int size) const;

 private:
  bdInetAddr m_address;
  unsigned short m_port;
};
