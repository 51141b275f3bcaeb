#pragma once
// HMAC-SHA-1 over LibTomCrypt; 20-byte results.
#include <tomcrypt.h>

class bdHMacSHA1 {
 public:
  static constexpr unsigned int HMAC_SIZE = 20;

  bdHMacSHA1(const unsigned char* const key, const unsigned int length);
  bool process(const unsigned char* const data, const unsigned int length);
  // length: in, the room; out, the bytes written. Finishes the HMAC.
  bool getData(unsigned char* result, unsigned int& length);

 private:
  hmac_state m_state;
  bool m_ready;
};
