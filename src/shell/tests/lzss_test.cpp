#include "shell/lzss.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace shell {
namespace {

using Bytes = std::vector<uint8_t>;

std::string Decode(const Bytes& in, size_t capacity, bool* ok) {
  std::string out(capacity, '?');
  size_t count = 99;
  *ok = LzssDecodeInto(in.data(), in.size(), reinterpret_cast<uint8_t*>(out.data()), capacity,
                       &count);
  out.resize(count);
  return out;
}

TEST(Lzss, DecodesLiteralsCopiesAndTheEndMarker) {
  struct Case {
    const char* what;
    Bytes stream;
    std::string expected;
  } cases[] = {
      // "abc" lands at window positions 1..3; a copy of 6 from position 1
      // overlaps the bytes it writes.
      {"overlapping copy", {0x07, 'a', 'b', 'c', 0x04, 0x01, 0x00, 0x00}, "abcabcabc"},
      // Position 0 with a non-zero length nibble is a copy (of the zero window).
      {"copy from position 0", {0x02, 0x01, 0x00, 'z', 0x00, 0x00}, std::string(3, '\0') + "z"},
      // Position 0x123, length 17, from the untouched zero window.
      {"high position bits", {0x00, 0x1F, 0x23, 0x00, 0x00}, std::string(17, '\0')},
      {"end of input between tokens", {0x03, 'h', 'i'}, "hi"},
      {"flag byte and nothing more", {0x01}, ""},
      {"second flag byte", {0xFF, '1', '2', '3', '4', '5', '6', '7', '8', 0x01, '9'}, "123456789"},
  };
  for (const Case& c : cases) {
    bool ok = false;
    EXPECT_EQ(Decode(c.stream, 100, &ok), c.expected) << c.what;
    EXPECT_TRUE(ok) << c.what;
  }
}

TEST(Lzss, NeverWritesPastTheBoundAndRefusesCutCopies) {
  const Bytes stream{0x07, 'a', 'b', 'c', 0x04, 0x01, 0x00, 0x00};
  bool ok = true;
  EXPECT_EQ(Decode(stream, 8, &ok), "abc");
  EXPECT_FALSE(ok);
  EXPECT_EQ(Decode({0x01, 'a', 0x04}, 10, &ok), "a");
  EXPECT_FALSE(ok);

  auto block = LzssDecodeAlloc(stream.data(), stream.size(), 9);
  ASSERT_TRUE(block);
  EXPECT_EQ(std::string(block->begin(), block->end()), "abcabcabc");
  EXPECT_FALSE(LzssDecodeAlloc(stream.data(), stream.size(), 2));
}

}  // namespace
}  // namespace shell
