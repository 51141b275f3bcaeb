#include "shell/bitmap_file.h"

#include "shell/archive_format.h"

namespace shell {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kBitFields = 3;  // compression: three colour masks follow the header

bool Fits(size_t size, uint64_t offset, uint64_t count) {
  return offset <= size && count <= size - offset;
}

void Append(std::vector<uint8_t>& out, const uint8_t* p, size_t n) {
  out.insert(out.end(), p, p + n);
}

// Colour-table bytes behind a 40-byte header: palettes exist only up to 8
// bits per pixel; 16 and 32 bits carry three masks with bit-field compression.
std::optional<size_t> InfoColourTableSize(const uint8_t* image) {
  const unsigned bits = ReadU16(image + 28);
  const uint32_t compression = ReadU32(image + 30);
  const uint32_t used = ReadU32(image + 46);
  switch (bits) {
    case 1:
    case 2:
    case 4:
      if (used > (1u << bits)) return std::nullopt;
      return size_t(4) * (used ? used : 1u << bits);
    case 16:
    case 32:
      return compression == kBitFields ? 12 : 0;
    case 24:
      return 0;
    default:
      return std::nullopt;
  }
}

bool AppendBits(std::vector<uint8_t>& out, const uint8_t* image, size_t size) {
  const uint32_t fileSize = ReadU32(image + 2);
  const uint32_t bitsOffset = ReadU32(image + 10);
  if (fileSize < bitsOffset || !Fits(size, bitsOffset, fileSize - bitsOffset)) return false;
  Append(out, image + bitsOffset, fileSize - bitsOffset);
  return true;
}

std::optional<std::vector<uint8_t>> FromInfoHeader(const uint8_t* image, size_t size) {
  const auto table = InfoColourTableSize(image);
  if (!table || !Fits(size, kFileHeaderSize + kInfoHeaderSize, *table)) return std::nullopt;
  std::vector<uint8_t> out;
  Append(out, image + kFileHeaderSize, kInfoHeaderSize + *table);
  if (!AppendBits(out, image, size)) return std::nullopt;
  return out;
}

std::optional<std::vector<uint8_t>> FromCoreHeader(const uint8_t* image, size_t size) {
  const size_t core = kFileHeaderSize;
  const unsigned bits = ReadU16(image + core + 10);
  if (bits != 1 && bits != 2 && bits != 4 && bits != 24) return std::nullopt;
  const size_t colours = bits <= 8 ? size_t(1) << bits : 0;
  if (!Fits(size, core + kCoreHeaderSize, 3 * colours)) return std::nullopt;
  std::vector<uint8_t> out(kInfoHeaderSize, 0);
  WriteU32(out.data(), kInfoHeaderSize);
  WriteU32(out.data() + 4, ReadU16(image + core + 4));   // width
  WriteU32(out.data() + 8, ReadU16(image + core + 6));   // height
  WriteU16(out.data() + 12, ReadU16(image + core + 8));  // planes
  WriteU16(out.data() + 14, bits);
  const uint8_t* rgb = image + core + kCoreHeaderSize;
  for (size_t i = 0; i < colours; ++i, rgb += 3) {
    const uint8_t quad[4] = {rgb[0], rgb[1], rgb[2], 0};
    Append(out, quad, 4);
  }
  if (!AppendBits(out, image, size)) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::vector<uint8_t>> BitmapFileToPackedDib(const uint8_t* image, size_t size) {
  if (size < kFileHeaderSize + kCoreHeaderSize || ReadU16(image) != 0x4D42) return std::nullopt;
  const uint32_t headerSize = ReadU32(image + kFileHeaderSize);
  if (headerSize == kCoreHeaderSize) {
    // An 8-bit core bitmap is refused like any 8-bit one without an info header.
    if (ReadU16(image + kFileHeaderSize + 10) == 8) return std::nullopt;
    return FromCoreHeader(image, size);
  }
  if (headerSize != kInfoHeaderSize || size < kFileHeaderSize + kInfoHeaderSize) {
    return std::nullopt;
  }
  if (ReadU16(image + 28) == 8) {
    return std::vector<uint8_t>(image + kFileHeaderSize, image + size);
  }
  return FromInfoHeader(image, size);
}

}  // namespace shell
