#include "bdPacket/bdCookie.h"

#include <cstring>

#include "bdCore/bdCrypto/bdHMacSHA1.h"
#include "bdCore/bdCrypto/bdRandom.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

namespace {

const unsigned char* cookieSecret() {
  static unsigned char secret[20];
  static bool filled = false;
  if (!filled) filled = bdRandom::getInstance()->getRandomBytes(secret, sizeof secret);
  return secret;
}

bool sign(const unsigned char* fields, unsigned char (&out)[bdCookie::HMAC_SIZE]) {
  bdHMacSHA1 hmac(cookieSecret(), 20);
  unsigned int length = sizeof out;
  return hmac.process(fields, bdCookie::SIZE - bdCookie::HMAC_SIZE) && hmac.getData(out, length) &&
         length == sizeof out;
}

}  // namespace

bdCookie::bdCookie(std::uint32_t localTag, std::uint32_t peerTag, std::uint32_t localTieTag,
                   std::uint32_t peerTieTag)
    : m_localTag(localTag),
      m_peerTag(peerTag),
      m_localTieTag(localTieTag),
      m_peerTieTag(peerTieTag) {
  cookieSecret();
}

unsigned int bdCookie::serialize(unsigned char* buffer, unsigned int size) const {
  if (buffer == nullptr) return SIZE;
  if (size < SIZE) return 0;
  unsigned int at = HMAC_SIZE;
  bdBytePacker::appendBasicType(buffer, size, at, at, std::uint32_t{0});
  bdBytePacker::appendBasicType(buffer, size, at, at, m_localTag);
  bdBytePacker::appendBasicType(buffer, size, at, at, m_peerTag);
  // The wire has the peer tie-tag before the local one.
  bdBytePacker::appendBasicType(buffer, size, at, at, m_peerTieTag);
  bdBytePacker::appendBasicType(buffer, size, at, at, m_localTieTag);
  unsigned char mac[HMAC_SIZE];
  if (!sign(buffer + HMAC_SIZE, mac)) return 0;
  std::memcpy(buffer, mac, HMAC_SIZE);
  return SIZE;
}

bool bdCookie::deserialize(const unsigned char* data, unsigned int size, unsigned int& used) {
  used = 0;
  if (data == nullptr || size < SIZE) return false;
  unsigned char mac[HMAC_SIZE];
  if (!sign(data + HMAC_SIZE, mac) || std::memcmp(mac, data, HMAC_SIZE) != 0) {
    bdLogWarn("bdConnection/packet", "cookie failed HMac test.");
    return false;
  }
  unsigned int at = HMAC_SIZE + 4;
  bdBytePacker::removeBasicType(data, size, at, at, m_localTag);
  bdBytePacker::removeBasicType(data, size, at, at, m_peerTag);
  bdBytePacker::removeBasicType(data, size, at, at, m_peerTieTag);
  bdBytePacker::removeBasicType(data, size, at, at, m_localTieTag);
  used = SIZE;
  return true;
}
