#pragma once
// The two LAN discovery datagrams, untyped bit buffers sent as whole bytes:
// a request (header bit, type 26, 8-byte nonce, 32-bit title id) and a reply
// (header bit, type 27, the echoed nonce, then the host's game info).
#include <cstdint>

class bdBitBuffer;

class bdLANDiscoveryPacket {
 public:
  static constexpr unsigned short PORT = 50000;
  static constexpr unsigned char REQUEST_TYPE = 26;
  static constexpr unsigned char REPLY_TYPE = 27;
  static constexpr unsigned int NONCE_SIZE = 8;
  // Datagrams of this many bytes or fewer are ignored at both ends.
  static constexpr unsigned int IGNORED_SIZE = 11;
  static constexpr unsigned int REQUEST_BITS = 1 + 8 + 64 + 32;

  static void writeRequest(bdBitBuffer& buffer, const unsigned char* nonce, std::uint32_t titleID);
  static void writeReplyHead(bdBitBuffer& buffer, const unsigned char* nonce);
  // The message type after the header bit; false when it cannot be read.
  static bool readType(bdBitBuffer& buffer, unsigned char& type);
  static bool readNonce(bdBitBuffer& buffer, unsigned char* nonce);
  // A whole request datagram: false unless it is longer than IGNORED_SIZE, of
  // the request type, and holds a nonce and a title id.
  static bool readRequest(const unsigned char* data, unsigned int size, unsigned char* nonce,
                          std::uint32_t& titleID);
  // The bytes a buffer's written bits fill.
  static unsigned int byteSize(const bdBitBuffer& buffer);
};
