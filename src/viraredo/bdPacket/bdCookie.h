#pragma once
// The connection handshake's state, given to the initiator and echoed back:
// four tags signed with a secret that never leaves this process, so only
// its maker can check it.
#include <cstdint>

class bdCookie {
 public:
  static constexpr unsigned int SIZE = 40;
  static constexpr unsigned int HMAC_SIZE = 20;

  bdCookie() : m_localTag(0), m_peerTag(0), m_localTieTag(0), m_peerTieTag(0) {}
  bdCookie(std::uint32_t localTag, std::uint32_t peerTag, std::uint32_t localTieTag,
           std::uint32_t peerTieTag);

  // Bytes written (40); with no buffer only measures. 0 when it does not fit.
  unsigned int serialize(unsigned char* buffer, unsigned int size) const;
  // False, reading nothing, when short or when the signature does not match.
  bool deserialize(const unsigned char* data, unsigned int size, unsigned int& used);

  std::uint32_t getLocalTag() const { return m_localTag; }
  std::uint32_t getPeerTag() const { return m_peerTag; }
  std::uint32_t getLocalTieTag() const { return m_localTieTag; }
  std::uint32_t getPeerTieTag() const { return m_peerTieTag; }

 private:
  std::uint32_t m_localTag;
  std::uint32_t m_peerTag;
  std::uint32_t m_localTieTag;
  std::uint32_t m_peerTieTag;
};
