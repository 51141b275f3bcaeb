#pragma once
// 3DES in CBC mode over LibTomCrypt. Lengths are multiples of the 8-byte
// block; nothing is added to the data.

class bdCypher3Des {
 public:
  static constexpr unsigned int BLOCK_SIZE = 8;

  bdCypher3Des();
  bool encrypt(const unsigned char* key, const unsigned int keyLength, const unsigned char* iv,
               const unsigned char* in, unsigned char* out, const unsigned int length);
  bool decrypt(const unsigned char* key, const unsigned int keyLength, const unsigned char* iv,
               const unsigned char* in, unsigned char* out, const unsigned int length);

 private:
  int m_cipher;
};
