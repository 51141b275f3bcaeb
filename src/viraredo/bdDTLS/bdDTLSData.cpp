#include "bdDTLS/bdDTLSData.h"

#include <cstring>

#include "bdCore/bdContainers/bdSequenceNumber.h"
#include "bdCore/bdCrypto/bdCypher3Des.h"
#include "bdCore/bdCrypto/bdHMacSHA1.h"
#include "bdCore/bdCrypto/bdHashTiger192.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdBytePacker.h"

namespace {

const char* const kChannel = "bdSocket/dtls";

unsigned int roundUp8(unsigned int n) { return (n + 7u) & ~7u; }

bool makeIV(const bdSequenceNumber& seq, unsigned char (&iv)[bdHashTiger192::HASH_SIZE]) {
  unsigned char bytes[4];
  unsigned int at = 0;
  const std::uint32_t value = static_cast<std::uint32_t>(seq.getValue());
  if (!bdBytePacker::appendBasicType(bytes, sizeof bytes, 0, at, value)) {
    bdLogWarn(kChannel, "Failed to save seqnum");
    return false;
  }
  unsigned int length = sizeof iv;
  bdHashTiger192 hash;
  if (!hash.hash(bytes, sizeof bytes, iv, length) || length != bdHashTiger192::HASH_SIZE) {
    bdAssertMsg("BUG: Hash produced unexpected amount of data.");
    return false;
  }
  return true;
}

// The first 8 bytes of HMAC-SHA1 over the header and the bytes after L.
bool computeHmac(const bdHMacSHA1Key& key, const unsigned char* header, const unsigned char* body,
                 unsigned int bodySize, unsigned char (&out)[bdDTLSData::HMAC_SIZE]) {
  bdHMacSHA1 hmac(key);
  unsigned char full[bdHMacSHA1::HMAC_SIZE];
  unsigned int length = sizeof full;
  if (!hmac.process(header, 6) || !hmac.process(body, bodySize) || !hmac.getData(full, length)) {
    bdLogWarn(kChannel, "Failed to get HMAC!");
    return false;
  }
  if (length < bdDTLSData::HMAC_SIZE) {
    bdAssertMsg("Hmac produced unexpected amount of data.");
    return false;
  }
  std::memcpy(out, full, bdDTLSData::HMAC_SIZE);
  return true;
}

}  // namespace

bdDTLSDataKey::bdDTLSDataKey() : m_key(), m_cipher(), m_hmac() {}

bdDTLSDataKey::bdDTLSDataKey(const unsigned char key[]) : bdDTLSDataKey() { set(key); }

bdDTLSDataKey::~bdDTLSDataKey() { std::memset(m_key, 0, sizeof m_key); }

void bdDTLSDataKey::set(const unsigned char key[]) {
  std::memcpy(m_key, key, SIZE);
  m_hmac.set(m_key, SIZE);
}

bdDTLSData::bdDTLSData() : bdDTLSHeader(BD_DTLS_DATA, 0, 0), m_hmac(), m_fullSeqNum(-1) {}

bdDTLSData::bdDTLSData(std::uint16_t vtag, std::uint16_t seqNum)
    : bdDTLSHeader(BD_DTLS_DATA, vtag, seqNum), m_hmac(), m_fullSeqNum(-1) {}

bool bdDTLSData::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                           unsigned int& newOffset) const {
  unsigned int at = offset;
  const bool ok = bdDTLSHeader::serialize(buffer, bufferSize, at, at) &&
                  bdBytePacker::appendBuffer(static_cast<unsigned char*>(buffer), bufferSize, at,
                                             at, m_hmac, HMAC_SIZE);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSData::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                             unsigned int& newOffset) {
  unsigned int at = offset;
  const bool ok = bdDTLSHeader::deserialize(buffer, bufferSize, at, at) &&
                  bdBytePacker::removeBuffer(static_cast<const unsigned char*>(buffer), bufferSize,
                                             at, at, m_hmac, HMAC_SIZE);
  newOffset = ok ? at : offset;
  return ok;
}

bool bdDTLSData::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                           unsigned int& newOffset, const bdSequenceNumber& sequence,
                           const unsigned char key[], const unsigned char* data,
                           unsigned int dataSize) {
  bdDTLSDataKey ready(key);
  return serialize(buffer, bufferSize, offset, newOffset, sequence, ready, data, dataSize);
}

bool bdDTLSData::serialize(void* buffer, unsigned int bufferSize, unsigned int offset,
                           unsigned int& newOffset, const bdSequenceNumber& sequence,
                           bdDTLSDataKey& key, const unsigned char* data, unsigned int dataSize) {
  newOffset = offset;
  unsigned char* out = static_cast<unsigned char*>(buffer);
  std::uint16_t length = 0;
  unsigned int ignored = 0;
  if (!bdBytePacker::removeBasicType(data, dataSize, 0, ignored, length)) {
    bdAssertMsg("Packet format is invalid.");
    return false;
  }
  if (length + 2u > dataSize) {
    bdLogWarn(kChannel, "Packet format is invalid.");
    return false;
  }
  const unsigned int r = roundUp8(length);
  const unsigned int t = dataSize - 2u - length;
  if (out == nullptr || offset > bufferSize || bufferSize - offset < OVERHEAD + r + t) {
    bdLogWarn(kChannel, "Insufficient space in the destination buffer.");
    return false;
  }
  unsigned int at = offset;
  if (!serialize(buffer, bufferSize, at, at) ||
      !bdBytePacker::appendBasicType(out, bufferSize, at, at, length)) {
    return false;
  }
  const bdSequenceNumber full(sequence, m_seqNum, 16);
  unsigned char iv[bdHashTiger192::HASH_SIZE];
  if (!makeIV(full, iv)) return false;

  unsigned char* cipher = out + at;
  std::memcpy(cipher, data + 2, length);
  std::memset(cipher + length, 0x01, r - length);
  std::memcpy(cipher + r, data + 2 + length, t);
  if (r > 0 && !key.m_cipher.encrypt(key.m_key, KEY_SIZE, iv, cipher, cipher, r)) {
    bdAssertMsg("Encrypted into unexpected space.");
    return false;
  }
  if (!computeHmac(key.m_hmac, out + offset, cipher, r + t, m_hmac)) return false;
  unsigned int headerEnd = 0;
  if (!serialize(buffer, bufferSize, offset, headerEnd)) return false;
  newOffset = at + r + t;
  return true;
}

bool bdDTLSData::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                             unsigned int& newOffset, const bdSequenceNumber& reference,
                             const unsigned char key[], unsigned char* out, unsigned int outSize,
                             unsigned int& outLength) {
  bdDTLSDataKey ready(key);
  return deserialize(buffer, bufferSize, offset, newOffset, reference, ready, out, outSize,
                     outLength);
}

bool bdDTLSData::deserialize(const void* buffer, unsigned int bufferSize, unsigned int offset,
                             unsigned int& newOffset, const bdSequenceNumber& reference,
                             bdDTLSDataKey& key, unsigned char* out, unsigned int outSize,
                             unsigned int& outLength) {
  newOffset = offset;
  outLength = 0;
  const unsigned char* in = static_cast<const unsigned char*>(buffer);
  unsigned int at = offset;
  std::uint16_t length = 0;
  if (!deserialize(buffer, bufferSize, at, at) ||
      !bdBytePacker::removeBasicType(in, bufferSize, at, at, length)) {
    bdLogWarn(kChannel, "Failed to deserialize header.");
    return false;
  }
  const unsigned int rest = bufferSize - at;
  const unsigned int r = roundUp8(length);
  if (rest < r) {
    bdLogWarn(kChannel, "Truncated packet.");
    return false;
  }
  const unsigned int t = rest - r;
  if (out == nullptr || outSize < 2u + length + t + 8u) {
    bdLogWarn(kChannel, "Insufficient space in the destination buffer.");
    return false;
  }
  const bdSequenceNumber full(reference, m_seqNum, 16);
  unsigned char iv[bdHashTiger192::HASH_SIZE];
  if (!makeIV(full, iv)) return false;
  unsigned char expected[HMAC_SIZE];
  if (!computeHmac(key.m_hmac, in + offset, in + at, r + t, expected)) return false;
  if (std::memcmp(expected, m_hmac, HMAC_SIZE) != 0) {
    bdLogWarn(kChannel, "HMAC invalid");
    return false;
  }
  // The padded block goes to the output first; the tail then overwrites the padding.
  if (r > 0 && !key.m_cipher.decrypt(key.m_key, KEY_SIZE, iv, in + at, out + 2, r)) {
    bdLogWarn(kChannel, "Decryption failed.");
    return false;
  }
  std::memcpy(out + 2 + length, in + at + r, t);
  unsigned int ignored = 0;
  if (!bdBytePacker::appendBasicType(out, outSize, 0, ignored, length)) {
    bdLogWarn(kChannel, "Decryption failed.");
    return false;
  }
  m_fullSeqNum = full.getValue();
  outLength = 2u + length + t;
  newOffset = bufferSize;
  return true;
}
