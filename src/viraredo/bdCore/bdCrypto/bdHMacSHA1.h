#pragma once
// HMAC-SHA-1 over LibTomCrypt's SHA-1; 20-byte results.
#include <tomcrypt.h>

// A key made ready once: its inner and outer pads hashed. Many HMACs under
// one key then start from these states instead of hashing the pads again.
class bdHMacSHA1Key {
 public:
  bdHMacSHA1Key();
  bdHMacSHA1Key(const unsigned char* const key, const unsigned int length);
  bool set(const unsigned char* const key, const unsigned int length);
  bool isSet() const { return m_set; }

 private:
  friend class bdHMacSHA1;
  hash_state m_inner;
  hash_state m_outer;
  bool m_set;
};

class bdHMacSHA1 {
 public:
  static constexpr unsigned int HMAC_SIZE = 20;

  bdHMacSHA1(const unsigned char* const key, const unsigned int length);
  explicit bdHMacSHA1(const bdHMacSHA1Key& key);
  bool process(const unsigned char* const data, const unsigned int length);
  // length: in, the room; out, the bytes written (the HMAC truncated to
  // the room). Finishes the HMAC.
  bool getData(unsigned char* result, unsigned int& length);

 private:
  hash_state m_inner;
  hash_state m_outer;
  bool m_ready;
};
