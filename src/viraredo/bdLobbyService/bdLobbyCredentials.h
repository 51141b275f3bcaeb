#pragma once
// What the host's authentication step hands the lobby: two values, the
// 128-byte ticket and the 24-byte session key the lobby stream is encrypted with.
#include <cstdint>
#include <cstring>

#include "bdCore/bdContainers/bdReferencable.h"

class bdLobbyCredentials : public bdReferencable {
 public:
  bdLobbyCredentials() : m_value1(0), m_value2(0) {
    std::memset(m_ticket, 0, sizeof m_ticket);
    std::memset(m_sessionKey, 0, sizeof m_sessionKey);
  }
  std::uint32_t m_value1;
  std::uint32_t m_value2;
  unsigned char m_ticket[128];
  unsigned char m_sessionKey[24];
};
