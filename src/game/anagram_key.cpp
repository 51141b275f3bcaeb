#include "game/anagram_key.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

namespace {

std::array<uint32_t, 256> MakeTable() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k)
      c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[i] = c;
  }
  return t;
}

}  // namespace

uint32_t AnagramKey(const char* word, int length) {
  static const std::array<uint32_t, 256> table = MakeTable();
  unsigned char sorted[15] = {};
  const int n = std::clamp(length, 0, 15);
  const size_t have = word ? strnlen(word, static_cast<size_t>(n)) : 0;
  std::memcpy(sorted, word, have);
  std::sort(sorted, sorted + n, std::greater<unsigned char>());
  uint32_t reg = 0xFFFFFFFFu;
  for (int i = 0; i < n; ++i) {
    // The shift copies the sign bit: the register is a signed word.
    const uint32_t shifted = (reg >> 8) | ((reg & 0x80000000u) ? 0xFF000000u : 0u);
    reg = shifted ^ table[(reg ^ sorted[i]) & 0xFF];
  }
  return reg;
}
