#include "introducerServer.h"

#include "bdNATTraversal/bdNATTraversalPacket.h"
#include "bdSocket/bdPlatformSocket.h"

bool IntroducerServer::start(const bdAddr& addr) {
  if (!m_socket.create(false) || m_socket.bind(addr) != BD_NET_SUCCESS) return false;
  bdInetAddr address;
  unsigned short port = 0;
  if (!bdPlatformSocket::getSocketName(m_socket.getHandle(), address, port)) return false;
  m_addr = bdAddr(addr.getAddress(), port);
  return true;
}

unsigned int IntroducerServer::pump() {
  unsigned int forwarded = 0;
  for (;;) {
    unsigned char buffer[bdAddr::MAX_DATAGRAM_SIZE];
    bdAddr from;
    const int got = m_socket.receiveFrom(from, buffer, sizeof buffer);
    if (got == BD_NET_WOULD_BLOCK) break;
    // A refused or oversized datagram spoils only itself; any other error
    // would come back on every call, so the pump stops rather than spin.
    if (got == BD_NET_CONNECTION_RESET || got == BD_NET_MSG_SIZE) continue;
    if (got < 0) break;
    if (handle(m_socket, from, buffer, static_cast<unsigned int>(got))) ++forwarded;
  }
  return forwarded;
}

bool IntroducerServer::handle(bdSocket& socket, const bdAddr&, const unsigned char* data,
                              unsigned int size) {
  bdNATTraversalPacket packet;
  unsigned int end = 0;
  if (!packet.deserialize(data, size, 0, end)) return false;
  if (packet.getType() == bdNATTraversalPacket::INTRO_KEEP_ALIVE) {
    ++m_keepAlives;
    return false;
  }
  if (packet.getType() != bdNATTraversalPacket::INTRO_NAT_REQUEST ||
      !packet.getSecondAddr().isValid())
    return false;
  packet.setType(bdNATTraversalPacket::INTRO_FORWARDED);
  unsigned char buffer[bdAddr::MAX_DATAGRAM_SIZE];
  unsigned int out = 0;
  return packet.serialize(buffer, sizeof buffer, 0, out) &&
         socket.sendTo(packet.getSecondAddr(), buffer, out) == static_cast<int>(out);
}
