#include "shell/bitmap_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/archive_format.h"

namespace shell {
namespace {

using Bytes = std::vector<uint8_t>;

// A bitmap file: 14-byte file header, a 40-byte info header, `table` bytes
// of colour table, then `bits` pixel bytes; fields as given.
Bytes InfoBitmap(unsigned bpp, uint32_t used, size_t table, size_t bits, uint32_t compression = 0) {
  Bytes f(54 + table + bits, 0);
  f[0] = 'B', f[1] = 'M';
  WriteU32(f.data() + 2, uint32_t(f.size()));
  WriteU32(f.data() + 10, uint32_t(54 + table));
  WriteU32(f.data() + 14, 40);
  WriteU32(f.data() + 18, 3);
  WriteU32(f.data() + 22, 2);
  WriteU16(f.data() + 26, 1);
  WriteU16(f.data() + 28, bpp);
  WriteU32(f.data() + 30, compression);
  WriteU32(f.data() + 46, used);
  for (size_t i = 54; i < f.size(); ++i)
    f[i] = uint8_t(i * 3);
  return f;
}

Bytes CoreBitmap(unsigned bpp, size_t bits) {
  const size_t table = bpp <= 8 ? 3u << bpp : 0;
  Bytes f(26 + table + bits, 0);
  f[0] = 'B', f[1] = 'M';
  WriteU32(f.data() + 2, uint32_t(f.size()));
  WriteU32(f.data() + 10, uint32_t(26 + table));
  WriteU32(f.data() + 14, 12);
  WriteU16(f.data() + 18, 5);
  WriteU16(f.data() + 20, 4);
  WriteU16(f.data() + 22, 1);
  WriteU16(f.data() + 24, bpp);
  for (size_t i = 26; i < f.size(); ++i)
    f[i] = uint8_t(i);
  return f;
}

std::optional<Bytes> Convert(const Bytes& f) { return BitmapFileToPackedDib(f.data(), f.size()); }

TEST(BitmapFileToPackedDib, KeepsHeaderTableAndBits) {
  struct Case {
    const char* what;
    Bytes file;
    size_t table;  // colour-table bytes expected in the result
  } cases[] = {
      {"8 bits as is", InfoBitmap(8, 0, 1024, 12), 1024},
      {"4 bits, 16 colours", InfoBitmap(4, 0, 64, 8), 64},
      {"4 bits, 3 colours used", InfoBitmap(4, 3, 12, 8), 12},
      {"1 bit", InfoBitmap(1, 0, 8, 8), 8},
      {"24 bits, no table", InfoBitmap(24, 0, 0, 24), 0},
      {"16 bits with masks", InfoBitmap(16, 0, 12, 16, 3), 12},
      {"32 bits plain, no masks", InfoBitmap(32, 0, 0, 24), 0},
  };
  for (const Case& c : cases) {
    auto dib = Convert(c.file);
    ASSERT_TRUE(dib) << c.what;
    EXPECT_EQ(*dib, Bytes(c.file.begin() + 14, c.file.end())) << c.what;
    EXPECT_EQ(dib->size(), 40 + c.table + (c.file.size() - 54 - c.table)) << c.what;
  }
}

TEST(BitmapFileToPackedDib, WidensACoreHeader) {
  const Bytes file = CoreBitmap(4, 8);
  auto dib = Convert(file);
  ASSERT_TRUE(dib);
  ASSERT_EQ(dib->size(), 40u + 64 + 8);
  EXPECT_EQ(ReadU32(dib->data()), 40u);
  EXPECT_EQ(ReadU32(dib->data() + 4), 5u);
  EXPECT_EQ(ReadU32(dib->data() + 8), 4u);
  EXPECT_EQ(ReadU16(dib->data() + 12), 1u);
  EXPECT_EQ(ReadU16(dib->data() + 14), 4u);
  for (int i = 16; i < 40; ++i)
    EXPECT_EQ((*dib)[size_t(i)], 0) << i;
  // Palette entry 1: file bytes 29..31, then a zero.
  EXPECT_EQ(Bytes(dib->begin() + 44, dib->begin() + 48), (Bytes{29, 30, 31, 0}));
  EXPECT_EQ(Bytes(dib->end() - 8, dib->end()), Bytes(file.end() - 8, file.end()));
  EXPECT_EQ(Convert(CoreBitmap(24, 12))->size(), 40u + 12);
}

TEST(BitmapFileToPackedDib, RefusesWhatDoesNotFit) {
  auto with = [](Bytes f, size_t at, uint32_t v, bool wide = true) {
    wide ? WriteU32(f.data() + at, v) : WriteU16(f.data() + at, v);
    return f;
  };
  const Bytes b4 = InfoBitmap(4, 0, 64, 8);
  const Bytes core4 = CoreBitmap(4, 0);
  struct Case {
    const char* what;
    Bytes file;
  } cases[] = {
      {"not BM", with(b4, 0, 0x4D41, false)},
      {"too short", Bytes(b4.begin(), b4.begin() + 20)},
      {"8-bit core header", CoreBitmap(8, 4)},
      {"108-byte header", with(b4, 14, 108)},
      {"15 bits per pixel", with(b4, 28, 15, false)},
      {"more colours used than bits allow", with(b4, 46, 17)},
      {"table past the end", InfoBitmap(4, 0, 20, 0)},
      {"bits offset past file size", with(b4, 10, 200)},
      {"file size past the image", with(b4, 2, 500)},
      {"core palette past the end", Bytes(core4.begin(), core4.end() - 1)},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(Convert(c.file)) << c.what;
}

}  // namespace
}  // namespace shell
