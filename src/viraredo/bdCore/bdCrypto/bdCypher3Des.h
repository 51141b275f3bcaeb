#pragma once
// 3DES in CBC mode over LibTomCrypt. Lengths are multiples of the 8-byte
// block; nothing is added to the data. The key schedule of the last key is
// kept: a connection encrypts every packet under one key, and scheduling it
// again cost as much as encrypting a small packet.
#include <tomcrypt.h>

class bdCypher3Des {
 public:
  static constexpr unsigned int BLOCK_SIZE = 8;
  static constexpr unsigned int MAX_KEY_SIZE = 24;

  bdCypher3Des();
  bdCypher3Des(const bdCypher3Des&) = delete;
  bdCypher3Des& operator=(const bdCypher3Des&) = delete;
  ~bdCypher3Des();

  bool encrypt(const unsigned char* key, const unsigned int keyLength, const unsigned char* iv,
               const unsigned char* in, unsigned char* out, const unsigned int length);
  bool decrypt(const unsigned char* key, const unsigned int keyLength, const unsigned char* iv,
               const unsigned char* in, unsigned char* out, const unsigned int length);

 private:
  bool schedule(const unsigned char* key, unsigned int keyLength);
  bool run(bool encrypting, const unsigned char* key, unsigned int keyLength,
           const unsigned char* iv, const unsigned char* in, unsigned char* out,
           unsigned int length);

  int m_cipher;
  bool m_scheduled;
  unsigned int m_keyLength;
  unsigned char m_key[MAX_KEY_SIZE];
  symmetric_CBC m_cbc;
};
