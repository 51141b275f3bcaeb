#pragma once
// A test discovery server. It listens on its primary address; a NAT type
// request is answered, as its test flags ask, from the primary socket (0),
// from the other address on another port (3), or from the primary address on
// another port (2); the reply names the sender as seen and the second address
// (the other address's first socket). A public address request is answered
// from the primary socket. Switches imitate the NATs a host may sit behind.
#include <cstdint>
#include <functional>

#include "bdSocket/bdAddr.h"
#include "bdSocket/bdSocket.h"

class DiscoveryServer {
 public:
  // Binds four sockets on free ports; false when any bind fails.
  bool start(const bdInetAddr& primary, const bdInetAddr& secondary);
  // Answers every waiting request; returns how many.
  unsigned int pump();

  const bdAddr& getAddr() const { return m_addrs[PRIMARY]; }
  const bdAddr& getSecondAddr() const { return m_addrs[SECOND]; }

  // A NAT that filters by address: test 2 gets no answer.
  void setDropTest2(bool drop) { m_dropTest2 = drop; }
  // A NAT that maps each destination apart: test 3 sees another port.
  void setSymmetric(bool symmetric) { m_symmetric = symmetric; }
  // Replies in the packed (2) or the padded (1) layout.
  void setReplyVersion(std::uint16_t version) { m_version = version; }
  unsigned int getRequestCount(unsigned int test) const { return m_requests[test]; }
  // Takes the datagrams on the primary socket that are no discovery request,
  // so another service (an introducer) can share the address.
  using PassOn = std::function<void(bdSocket& socket, const bdAddr& from, const unsigned char* data,
                                    unsigned int size)>;
  void setPassOn(PassOn passOn) { m_passOn = std::move(passOn); }

 private:
  enum Socket { PRIMARY, SECOND, CHANGED_BOTH, CHANGED_PORT, SOCKET_COUNT };
  static constexpr std::uint8_t NAT_REQUEST = 20;
  static constexpr std::uint8_t NAT_REPLY = 21;
  static constexpr std::uint8_t IP_REQUEST = 30;
  static constexpr std::uint8_t IP_REPLY = 31;

  unsigned int reply(Socket from, const bdAddr& to, std::uint8_t type, const bdAddr* addrs,
                     unsigned int count);

  bdSocket m_sockets[SOCKET_COUNT];
  bdAddr m_addrs[SOCKET_COUNT];
  bool m_dropTest2 = false;
  bool m_symmetric = false;
  std::uint16_t m_version = 2;
  PassOn m_passOn;
  // Index 0: public address requests; 1 to 3: the NAT tests.
  unsigned int m_requests[4] = {0, 0, 0, 0};
};
