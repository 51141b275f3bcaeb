#include "Modules/Session/Src/WireRead.h"

#include <cstring>

namespace OX_Toolbox {
namespace wire {

namespace {

template <typename T>
bool field(Blob& b, std::uint8_t type, T& v) {
  T got{};
  const BlobField f{type, &got, nullptr, 0};
  if (!b.readFields(&f, 1)) return false;
  v = got;
  return true;
}

const unsigned char* front(const Blob& b) {
  return b.getData() + (b.isReadOnly() ? b.getCursor() : 0);
}

std::uint32_t lengthAt(const unsigned char* p) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) {
    const int shift = 8 * (g_blobByteOrder ? i : 3 - i);
    v |= static_cast<std::uint32_t>(p[i]) << shift;
  }
  return v;
}

}  // namespace

bool read(Blob& b, std::int8_t& v) { return field(b, OX_INT8, v); }
bool read(Blob& b, std::uint8_t& v) { return field(b, OX_UINT8, v); }
bool read(Blob& b, std::uint16_t& v) { return field(b, OX_UINT16, v); }
bool read(Blob& b, std::int32_t& v) { return field(b, OX_INT32, v); }
bool read(Blob& b, std::uint32_t& v) { return field(b, OX_UINT32, v); }
bool read(Blob& b, std::int64_t& v) { return field(b, OX_INT64, v); }
bool read(Blob& b, std::uint64_t& v) { return field(b, OX_UINT64, v); }
bool read(Blob& b, bool& v) { return field(b, OX_BOOL, v); }

bool read(Blob& b, String& v) {
  // The stream reader skips the length check for texts too long for a
  // String and leaves their bytes behind; a message must not go on from
  // there, so the layout is checked here first.
  if (b.remaining(0) < 6) return false;
  const unsigned char* p = front(b);
  if (p[0] != OX_STRING || p[1] != OX_UINT32) return false;
  const std::uint32_t length = lengthAt(p + 2);
  if (length >= static_cast<std::uint32_t>(String::kMaxLength) + 2 || length > b.remaining(0) - 6)
    return false;
  String got;
  const BlobField f{OX_STRING, &got, nullptr, 0};
  if (!b.readFields(&f, 1)) return false;
  v.assign(got);
  return true;
}

bool read(Blob& b, PlayerID& v) {
  std::int8_t type = 0;
  std::int64_t id = 0;
  if (!read(b, type) || !read(b, id)) return false;
  v = PlayerID(type, static_cast<std::uint64_t>(id));
  return true;
}

bool readBlock(Blob& b, std::uint8_t* out, std::uint32_t n, bool exact) {
  unsigned char* bytes = nullptr;
  std::uint32_t size = 0;
  const BlobField f{OX_BINARYBLOCK, &bytes, &size, 0};
  if (!b.readFields(&f, 1)) return false;
  const bool ok = exact ? size == n : size >= n;
  if (ok && n) std::memcpy(out, bytes, n);
  if (bytes && !b.isReadOnly()) ToolboxFree(bytes);
  return ok;
}

}  // namespace wire
}  // namespace OX_Toolbox
