#pragma once
// A test introducer on its own UDP socket: a request to introduce (type 10)
// is forwarded, marked as forwarded (type 11), to the target's address that it
// names; keep-alives are counted; anything else is dropped.
#include "bdSocket/bdAddr.h"
#include "bdSocket/bdSocket.h"

class IntroducerServer {
 public:
  // Binds to addr (port 0 picks a free one); false when that fails.
  bool start(const bdAddr& addr);
  // Handles every datagram waiting; returns how many were forwarded.
  unsigned int pump();
  // One datagram that arrived on socket (this server's or one it shares,
  // such as a discovery server's); true when it was forwarded.
  bool handle(bdSocket& socket, const bdAddr& from, const unsigned char* data, unsigned int size);
  const bdAddr& getAddr() const { return m_addr; }
  unsigned int getKeepAlives() const { return m_keepAlives; }

 private:
  bdSocket m_socket;
  bdAddr m_addr;
  unsigned int m_keepAlives = 0;
};
