// Runs the typed-stream readers over arbitrary bytes in both modes: no read
// may step outside the data, a refused read consumes nothing, and every value
// read is written and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Types/Blob.h"
#include "Modules/Core/Src/Types/FlexibleValue.h"
#include "Modules/Core/Src/Types/PlayerID.h"
#include "Modules/Core/Src/Types/String.h"

using namespace OX_Toolbox;

#define FUZZ_CHECK(condition)       \
  do {                              \
    if (!(condition)) std::abort(); \
  } while (0)

namespace {

// Surrogates have no UTF-8 form: they are dropped on the way out.
std::u16string withoutSurrogates(const String& s) {
  std::u16string kept;
  for (const char16_t* p = s.c_wstr(); *p; ++p) {
    if (*p < 0xD800 || *p >= 0xE000) kept += *p;
  }
  return kept;
}

bool sameText(const String& back, const String& original) {
  const std::u16string kept = withoutSurrogates(original);
  return back.length() == static_cast<int>(kept.size()) &&
         (kept.empty() || back.equalsWide(kept.c_str()));
}

template <typename T, typename Read, typename Write>
void number(Blob& b, Read read, Write write) {
  const std::uint32_t before = b.remaining(0);
  const T v = (b.*read)(0);
  if (b.remaining(0) == before) return;  // refused: nothing consumed
  FUZZ_CHECK(before - b.remaining(0) == 1 + sizeof(T));
  Blob out;
  FUZZ_CHECK((out.*write)(0, v));
  const T back = (out.*read)(0);
  FUZZ_CHECK(std::memcmp(&back, &v, sizeof(T)) == 0);
  FUZZ_CHECK(out.getSize() == 0);
}

void walk(Blob& b, const std::uint8_t* ops, std::size_t nops) {
  for (std::size_t i = 0; i < 256 && b.remaining(0) > 0; ++i) {
    const std::uint32_t before = b.remaining(0);
    switch (ops[i % nops] % 10) {
      case 0:
        number<std::int8_t>(b, &Blob::readInt8, &Blob::writeInt8);
        break;
      case 1:
        number<std::uint16_t>(b, &Blob::readUInt16, &Blob::writeUInt16);
        break;
      case 2:
        number<std::int32_t>(b, &Blob::readInt32, &Blob::writeInt32);
        break;
      case 3:
        number<std::uint64_t>(b, &Blob::readUInt64, &Blob::writeUInt64);
        break;
      case 4:
        number<double>(b, &Blob::readFloat64, &Blob::writeFloat64);
        break;
      case 5: {
        String s;
        if (b.readString(0, s)) {
          Blob out;
          FUZZ_CHECK(out.writeString(0, s));
          String back;
          FUZZ_CHECK(out.readString(0, back));
          FUZZ_CHECK(sameText(back, s));
        }
        break;
      }
      case 6: {
        std::uint32_t n = 0;
        unsigned char* bytes = b.readBinaryBlock(0, n);
        FUZZ_CHECK(n <= before);
        if (bytes && !b.isReadOnly()) ToolboxFree(bytes);
        break;
      }
      case 7: {
        FlexibleValue v;
        if (v.readFromBlob(b)) {
          Blob out;
          FUZZ_CHECK(v.writeToBlob(out, 0));
          FlexibleValue back;
          FUZZ_CHECK(back.readFromBlob(out));
          // NaN payloads compare unequal to themselves.
          const bool nan =
              (v.getKind() == FlexibleValue::FLOAT_32 || v.getKind() == FlexibleValue::FLOAT_64) &&
              v.getAsFloat64() != v.getAsFloat64();
          if (v.getKind() == FlexibleValue::STRING) {
            FUZZ_CHECK(back.getKind() == FlexibleValue::STRING);
            FUZZ_CHECK(sameText(*back.getString(), *v.getString()));
          } else {
            FUZZ_CHECK(nan || back == v);
          }
        }
        break;
      }
      case 8: {
        PlayerID id;
        id.deserialize(b);
        break;
      }
      default: {
        std::int32_t i32 = 0;
        String s;
        const BlobField fields[] = {{OX_INT32, &i32, nullptr, 0}, {OX_STRING, &s, nullptr, 0}};
        b.readFields(fields, 2);
        break;
      }
    }
    FUZZ_CHECK(b.remaining(0) <= before);
    if (b.remaining(0) == before) {
      b.takeTypeCode(0);  // skip a byte to make progress
      if (b.remaining(0) == before) break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || size > 65536) return 0;
  // The first byte picks the operations; the rest is the stream.
  const std::uint8_t* ops = data;
  const std::size_t nops = 1 + data[0] % 16 < size ? 1 + data[0] % 16 : 1;
  const auto* stream = data + nops;
  const auto n = static_cast<std::uint32_t>(size - nops);
  Blob readOnly(stream, n, BLOB_READONLY);
  walk(readOnly, ops, nops);
  FUZZ_CHECK(readOnly.getCursor() <= n);
  Blob writable(stream, n, BLOB_EXTRACT_AND_WRITE_ENABLED);
  walk(writable, ops, nops);
  FUZZ_CHECK(writable.getSize() <= n);
  return 0;
}
