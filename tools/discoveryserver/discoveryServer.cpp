#include "discoveryServer.h"

#include "bdSocket/bdPlatformSocket.h"

bool DiscoveryServer::start(const bdInetAddr& primary, const bdInetAddr& secondary) {
  const bdInetAddr addresses[SOCKET_COUNT] = {primary, secondary, secondary, primary};
  for (unsigned int i = 0; i < SOCKET_COUNT; ++i) {
    if (!m_sockets[i].create(false) || m_sockets[i].bind(bdAddr(addresses[i], 0)) != BD_NET_SUCCESS)
      return false;
    bdInetAddr bound;
    unsigned short port = 0;
    if (!bdPlatformSocket::getSocketName(m_sockets[i].getHandle(), bound, port)) return false;
    m_addrs[i] = bdAddr(addresses[i], port);
  }
  return true;
}

unsigned int DiscoveryServer::pump() {
  unsigned int answered = 0;
  for (;;) {
    unsigned char in[bdAddr::MAX_DATAGRAM_SIZE];
    bdAddr from;
    const int got = m_sockets[PRIMARY].receiveFrom(from, in, sizeof in);
    if (got == BD_NET_WOULD_BLOCK) break;
    if (got == BD_NET_CONNECTION_RESET || got == BD_NET_MSG_SIZE) continue;
    if (got < 0) break;
    // Requests: type, 16-bit version 2, and for NAT tests one flags byte.
    const bool request = got >= 3 && in[1] == 2 && in[2] == 0;
    if (request && in[0] == IP_REQUEST && got == 3) {
      ++m_requests[0];
      answered += reply(PRIMARY, from, IP_REPLY, &from, 1);
    } else if (request && in[0] == NAT_REQUEST && got == 4) {
      const std::uint8_t flags = in[3];
      const unsigned int test = flags == 0 ? 1 : flags == 3 ? 2 : flags == 2 ? 3 : 0;
      if (test == 0) continue;
      ++m_requests[test];
      if (test == 2 && m_dropTest2) continue;
      bdAddr seen = from;
      if (test == 3 && m_symmetric) seen.setPort(static_cast<unsigned short>(from.getPort() + 1));
      const bdAddr addrs[2] = {seen, m_addrs[SECOND]};
      const Socket socket = test == 1 ? PRIMARY : test == 2 ? CHANGED_BOTH : CHANGED_PORT;
      answered += reply(socket, from, NAT_REPLY, addrs, 2);
    } else if (m_passOn) {
      m_passOn(m_sockets[PRIMARY], from, in, static_cast<unsigned int>(got));
    }
  }
  return answered;
}

unsigned int DiscoveryServer::reply(Socket from, const bdAddr& to, std::uint8_t type,
                                    const bdAddr* addrs, unsigned int count) {
  unsigned char out[32];
  unsigned int size = 0;
  const bool padded = m_version != 2;
  out[size++] = type;
  if (padded) out[size++] = 0;
  out[size++] = static_cast<unsigned char>(m_version);
  out[size++] = static_cast<unsigned char>(m_version >> 8);
  for (unsigned int i = 0; i < count; ++i) {
    addrs[i].serialize(out, sizeof out, size, size);
    if (padded) {
      out[size++] = 0;
      out[size++] = 0;
    }
  }
  return m_sockets[from].sendTo(to, out, size) == static_cast<int>(size) ? 1u : 0u;
}
