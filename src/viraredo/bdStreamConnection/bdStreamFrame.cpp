#include "bdStreamConnection/bdStreamFrame.h"

#include <cstring>

#include "bdCore/bdCrypto/bdCryptoUtils.h"

namespace {
void put16(unsigned char* p, unsigned int v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
void put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::uint32_t get32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
unsigned int cipherSize(unsigned int payloadSize) {
  const unsigned int plain = payloadSize + 5;
  return (plain + bdStreamFrame::BLOCK_SIZE - 1) / bdStreamFrame::BLOCK_SIZE *
         bdStreamFrame::BLOCK_SIZE;
}
}  // namespace

unsigned int bdStreamFrame::frameSize(unsigned int payloadSize, bool encrypt) {
  if (payloadSize > MAX_LENGTH) return 0;
  const unsigned int length = encrypt ? cipherSize(payloadSize) + 5 : payloadSize + 2;
  return length > MAX_LENGTH ? 0 : length + HEADER_SIZE;
}

unsigned int bdStreamFrame::encode(unsigned char* out, unsigned int room, unsigned char type,
                                   const unsigned char* payload, unsigned int payloadSize,
                                   bool encrypt, const unsigned char* key, std::uint32_t seed) {
  const unsigned int size = frameSize(payloadSize, encrypt);
  if (size == 0 || size > room || (payloadSize > 0 && payload == nullptr)) return 0;
  put16(out, size - HEADER_SIZE);
  if (!encrypt) {
    out[2] = 0;
    out[3] = type;
    if (payloadSize > 0) std::memmove(out + 4, payload, payloadSize);
    return size;
  }
  out[2] = 1;
  put32(out + 3, seed);
  unsigned char* plain = out + 7;
  const unsigned int c = cipherSize(payloadSize);
  // The payload may already sit where it belongs; move it before the magic goes in.
  if (payloadSize > 0) std::memmove(plain + 5, payload, payloadSize);
  put32(plain, MAGIC);
  plain[4] = type;
  std::memset(plain + 5 + payloadSize, 0, c - 5 - payloadSize);
  unsigned char iv[bdCryptoUtils::IV_SIZE];
  if (key == nullptr || !bdCryptoUtils::calculateInitialVector(seed, iv) ||
      !bdCryptoUtils::encrypt(key, iv, plain, plain, c)) {
    return 0;
  }
  return size;
}

bdStreamFrame::Result bdStreamFrame::decode(unsigned char* data, unsigned int size,
                                            unsigned int maxLength, const unsigned char* key,
                                            Decoded& out) {
  out = Decoded{0, 0, nullptr, 0};
  if (size < HEADER_SIZE) return NEED_MORE;
  const unsigned int length = static_cast<unsigned int>(data[0]) | data[1] << 8;
  if (length == 0) {
    out.consumed = HEADER_SIZE;
    return KEEP_ALIVE;
  }
  if (length > MAX_LENGTH || length > maxLength) return BAD_FRAME;
  // The flag byte alone tells the kind, so a frame too short for it is bad at once.
  if (size >= 3) {
    const bool encrypted = data[2] == 1;
    if (!encrypted && length < 2) return BAD_FRAME;
    if (encrypted && (length < 5 + BLOCK_SIZE || (length - 5) % BLOCK_SIZE != 0)) return BAD_FRAME;
  }
  if (size < length + HEADER_SIZE) return NEED_MORE;
  out.consumed = length + HEADER_SIZE;
  if (data[2] != 1) {
    out.type = data[3];
    out.payload = data + 4;
    out.payloadSize = length - 2;
    return MESSAGE;
  }
  const unsigned int c = length - 5;
  unsigned char iv[bdCryptoUtils::IV_SIZE];
  unsigned char* cipher = data + 7;
  if (key == nullptr || !bdCryptoUtils::calculateInitialVector(get32(data + 3), iv) ||
      !bdCryptoUtils::decrypt(key, iv, cipher, cipher, c)) {
    return BAD_MAGIC;
  }
  if (get32(cipher) != MAGIC) return BAD_MAGIC;
  out.type = cipher[4];
  out.payload = cipher + 5;
  out.payloadSize = c - 5;
  return MESSAGE;
}
