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
    bdNATTraversalPacket packet;
    unsigned int end = 0;
    if (!packet.deserialize(buffer, static_cast<unsigned int>(got), 0, end)) continue;
    if (packet.getType() == bdNATTraversalPacket::INTRO_KEEP_ALIVE) {
      ++m_keepAlives;
    } else if (packet.getType() == bdNATTraversalPacket::INTRO_NAT_REQUEST &&
               packet.getSecondAddr().isValid()) {
      packet.setType(bdNATTraversalPacket::INTRO_FORWARDED);
      unsigned int size = 0;
      if (packet.serialize(buffer, sizeof buffer, 0, size) &&
          m_socket.sendTo(packet.getSecondAddr(), buffer, size) == static_cast<int>(size))
        ++forwarded;
    }
  }
  return forwarded;
}
