#pragma once
// DATA: an application datagram, its first part encrypted (3DES-CBC with an
// IV derived from the sequence number) and header plus ciphertext plus tail
// authenticated by a truncated HMAC-SHA1 under the association key.
//
// Payload form, in and out: u16 L, L bytes to encrypt, then the bytes that
// travel in clear.
#include "bdCore/bdCrypto/bdCypher3Des.h"
#include "bdCore/bdCrypto/bdHMacSHA1.h"
#include "bdDTLS/bdDTLSHeader.h"

class bdSequenceNumber;

// An association key made ready for DATA packets: its 3DES schedule and
// HMAC pads are computed once per key, not once per packet.
class bdDTLSDataKey {
 public:
  static constexpr unsigned int SIZE = 24;

  bdDTLSDataKey();
  explicit bdDTLSDataKey(const unsigned char key[]);
  bdDTLSDataKey(const bdDTLSDataKey&) = delete;
  bdDTLSDataKey& operator=(const bdDTLSDataKey&) = delete;
  ~bdDTLSDataKey();
  void set(const unsigned char key[]);

 private:
  friend class bdDTLSData;
  unsigned char m_key[SIZE];
  bdCypher3Des m_cipher;
  bdHMacSHA1Key m_hmac;
};

class bdDTLSData : public bdDTLSHeader {
 public:
  static constexpr unsigned int HMAC_SIZE = 8;
  static constexpr unsigned int KEY_SIZE = bdDTLSDataKey::SIZE;
  // Header, HMAC and L.
  static constexpr unsigned int OVERHEAD = 16;

  bdDTLSData();
  bdDTLSData(std::uint16_t vtag, std::uint16_t seqNum);

  bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset) const override;
  bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset) override;

  bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset, const bdSequenceNumber& sequence,
                 const unsigned char key[], const unsigned char* data, unsigned int dataSize);
  bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset, const bdSequenceNumber& reference,
                   const unsigned char key[], unsigned char* out, unsigned int outSize,
                   unsigned int& outLength);

  // The same with the key made ready once.
  bool serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                 unsigned int& newOffset, const bdSequenceNumber& sequence, bdDTLSDataKey& key,
                 const unsigned char* data, unsigned int dataSize);
  bool deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                   unsigned int& newOffset, const bdSequenceNumber& reference, bdDTLSDataKey& key,
                   unsigned char* out, unsigned int outSize, unsigned int& outLength);

  // The 32-bit sequence number rebuilt by the last successful read.
  int getFullSeqNum() const { return m_fullSeqNum; }

 private:
  unsigned char m_hmac[HMAC_SIZE];
  int m_fullSeqNum;
};
