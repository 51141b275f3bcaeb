#pragma once
// The record files' digest and scrambler, offered together as one codec: the
// digest provider gives the MD5 (RFC 1321) of a payload, the scrambler XORs a
// payload with a 16-byte key (each key byte covers two data bytes, starting
// over every 32 bytes). MD5 itself comes from the crypto library the SDK
// already links.
#include <cstddef>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

namespace OX_Toolbox {

constexpr std::size_t kDigestSize = 16;

class DigestProvider : public ToolboxObject {
 public:
  virtual void digest(unsigned char out[kDigestSize], const void* data, std::size_t length) = 0;
  virtual ~DigestProvider() = default;
};

class Md5Digest : public DigestProvider {
 public:
  void digest(unsigned char out[kDigestSize], const void* data, std::size_t length) override {
    compute(data, length, out);
  }
  static void compute(const void* data, std::size_t length, unsigned char out[kDigestSize]);
};

// Scrambling and unscrambling are the same operation.
void XorWithKey32(const unsigned char key[kDigestSize], void* data, std::size_t length);

class Scrambler : public ToolboxObject {
 public:
  virtual void scramble(const unsigned char key[kDigestSize], void* data, std::size_t length) = 0;
  virtual void unscramble(const unsigned char key[kDigestSize], void* data, std::size_t length) = 0;
  virtual ~Scrambler() = default;
};

class XorScrambler : public Scrambler {
 public:
  void scramble(const unsigned char key[kDigestSize], void* data, std::size_t length) override {
    XorWithKey32(key, data, length);
  }
  void unscramble(const unsigned char key[kDigestSize], void* data, std::size_t length) override {
    XorWithKey32(key, data, length);
  }
};

struct RecordFileCodec {
  DigestProvider* digest;
  Scrambler* scrambler;
};

// The codec the toolbox uses: MD5 and the XOR scrambler.
RecordFileCodec DefaultRecordFileCodec();

}  // namespace OX_Toolbox
