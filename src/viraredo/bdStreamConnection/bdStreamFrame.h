#pragma once
// The stream's frame format, shared by the connection and any peer that
// speaks it. A frame is a 16-bit length L (the bytes after it), a flag byte
// (1 encrypted), then either the type byte and the payload, or a 32-bit IV
// seed and 3DES-CBC ciphertext of {0xDEADBEEF, type, payload, filler} padded
// to whole 8-byte blocks. L = 0 is a keep-alive.
//
// Every length read from the stream is checked before use: a frame that is
// too short for its kind, whose ciphertext is not whole blocks, or that is
// longer than the reader can hold is reported as bad, never read.
#include <cstdint>

class bdStreamFrame {
 public:
  static constexpr unsigned int HEADER_SIZE = 2;
  static constexpr unsigned int MAX_LENGTH = 0xFFF5;  // the largest L accepted
  static constexpr unsigned int BLOCK_SIZE = 8;
  static constexpr unsigned int KEY_SIZE = 24;
  static constexpr std::uint32_t MAGIC = 0xDEADBEEFu;
  // Bytes an encrypted frame adds before its payload: flag, seed, magic, type.
  static constexpr unsigned int ENCRYPTED_OVERHEAD = 1 + 4 + 4 + 1;

  // Frame size (length field included) for a payload; 0 when L would pass MAX_LENGTH.
  static unsigned int frameSize(unsigned int payloadSize, bool encrypt);

  // Writes one frame into out (room bytes). Returns its size, 0 when it does
  // not fit or cannot be framed, or when encryption fails.
  static unsigned int encode(unsigned char* out, unsigned int room, unsigned char type,
                             const unsigned char* payload, unsigned int payloadSize, bool encrypt,
                             const unsigned char* key, std::uint32_t seed);

  enum Result {
    NEED_MORE,   // not a whole frame yet
    KEEP_ALIVE,  // a 2-byte empty frame: consumed
    MESSAGE,     // type and payload filled in; consumed bytes
    BAD_FRAME,   // a length or layout that no sender may produce
    BAD_MAGIC,   // decrypted, but not with our key
  };
  struct Decoded {
    unsigned int consumed;
    unsigned char type;
    const unsigned char* payload;  // inside data, valid until data changes
    unsigned int payloadSize;
  };
  // Decodes the frame at the start of data (size bytes available), decrypting
  // in place. maxLength bounds L further (the reader's buffer).
  static Result decode(unsigned char* data, unsigned int size, unsigned int maxLength,
                       const unsigned char* key, Decoded& out);
};
