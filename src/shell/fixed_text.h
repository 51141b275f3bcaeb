#pragma once
// Fixed-size text fields: the records keep their texts in char arrays of a
// set size, copied and read so that they always end with a NUL inside it.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/binio.h"

namespace shell {

// Copies as much of src as fits in size - 1 bytes and terminates.
inline void CopyFixedText(char* dst, size_t size, const std::string& src) {
  if (!size) return;
  size_t n = std::min(src.size(), size - 1);
  std::memcpy(dst, src.data(), n);
  dst[n] = '\0';
}

// Reads an n-byte text field; the last byte is forced to NUL so a field
// without one cannot run into its neighbour.
inline void ReadFixedText(ByteReader& r, char* dst, size_t n) {
  r.Bytes(dst, n);
  if (n) dst[n - 1] = '\0';
}

}  // namespace shell
