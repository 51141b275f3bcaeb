#pragma once
// Elliptic-curve Diffie-Hellman key pair on the library's 28-byte curve
// (ECC-224). Public keys travel as 100 bytes, zero-filled after the export.
#include <tomcrypt.h>

class bdDHKey {
 public:
  static constexpr unsigned int KEY_SIZE = 28;
  static constexpr unsigned int EXPORTED_SIZE = 100;
  static constexpr unsigned int SECRET_SIZE = 28;

  bdDHKey();
  ~bdDHKey();
  bdDHKey(const bdDHKey&) = delete;
  bdDHKey& operator=(const bdDHKey&) = delete;

  bool create();
  // length: in, the room (at least 100); out, 100.
  bool exportKey(unsigned char* out, unsigned int& length);
  bool importKey(const unsigned char* const in, unsigned int length);
  // The 28-byte shared secret of this private key and the peer's public key.
  bool generateSecret(bdDHKey& peer, unsigned char secret[]);
  bool hasKey() const { return m_keyPresent; }

 private:
  void freeKey();

  bool m_keyPresent;
  ecc_key m_key;
};
