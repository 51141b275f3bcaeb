#include "shell/startup/personality_cards.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/binio.h"

namespace shell {

namespace {
constexpr int32_t kMaxDibSide = 4096;
}

std::string PersonalityCardTitle(const std::string& name, int32_t rating) {
  std::string upper = name;
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  char rated[24];
  std::snprintf(rated, sizeof rated, "(%d)", static_cast<int>(rating));
  return upper + rated;
}

std::string PersonalityCallerName(const std::string& name) {
  std::string out = name;
  for (size_t i = 1; i < out.size(); ++i)
    out[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[i])));
  return out;
}

std::string PersonalityFileStem(const std::string& fileName) {
  return fileName.substr(0, fileName.find('.'));
}

int ClampFirstCard(int first, int visible) {
  return std::max(0, std::min(first, visible - kPersonalityCards));
}

bool ReadPackedDibLayout(const uint8_t* data, size_t size, PackedDibLayout& out) {
  if (!data) return false;
  ByteReader r(data, size);
  const uint32_t headerSize = r.U32();
  const int32_t width = r.I32(), height = r.I32();
  const uint16_t planes = r.U16(), bits = r.U16();
  const uint32_t compression = r.U32();
  r.Skip(12);  // image size, resolutions
  const uint32_t used = r.U32();
  if (!r.ok()) return false;
  if (headerSize < 40 || headerSize > size || planes != 1 || compression != 0) return false;
  if (width <= 0 || width > kMaxDibSide || height == 0 || height > kMaxDibSide ||
      height < -kMaxDibSide)
    return false;
  if (bits != 8 && bits != 24 && bits != 32) return false;
  uint64_t colours = bits == 8 ? (used ? used : 256u) : 0;
  if (colours > 256) return false;
  const uint64_t offset = headerSize + colours * 4;
  const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  const uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
  if (offset + stride * rows > size) return false;
  out.width = width;
  out.height = height;
  out.bitCount = bits;
  out.bitsOffset = static_cast<size_t>(offset);
  return true;
}

}  // namespace shell
