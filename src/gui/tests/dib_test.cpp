// Packed DIBs, their files and the palette conversions.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gui/gui_memory.h"
#include "gui/pal.h"
#include "gui/utils.h"
#include "recording_sink.h"

namespace gui {
namespace {

struct DibDeleter {
  void operator()(PackedDIB* d) const { GlobalFreePtr(d); }
};
using DibPtr = std::unique_ptr<PackedDIB, DibDeleter>;

TEST(FileChunks, MoveEveryPieceOrNothing) {
  std::vector<uint8_t> data(100000);
  for (size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<uint8_t>(i * 7);
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(WriteFileChunked(data.size(), data.data(), f), data.size());
  std::rewind(f);
  std::vector<uint8_t> back(data.size());
  EXPECT_EQ(ReadFileChunked(back.size(), back.data(), f), back.size());
  EXPECT_EQ(back, data);
  // Past the end a piece comes short: nothing counts as moved.
  std::rewind(f);
  std::vector<uint8_t> more(data.size() + 10);
  EXPECT_EQ(ReadFileChunked(more.size(), more.data(), f), 0u);
  EXPECT_EQ(ReadFileChunked(10, nullptr, f), 0u);
  std::fclose(f);
}

TEST(PackedDib, CreateLaysOutHeaderTableAndRows) {
  struct Case {
    int bits;
    uint32_t table, stride, colours;
  } cases[] = {{8, 1024, 8, 256}, {16, 12, 12, 32768}, {24, 0, 16, 16777216}};
  for (const Case& c : cases) {
    DibPtr d(DIBCreate(5, 3, c.bits));
    ASSERT_TRUE(d) << c.bits;
    EXPECT_EQ(d->biSize, 40u);
    EXPECT_EQ(d->biPlanes, 1);
    EXPECT_EQ(DIBColorTableBytes(c.bits), c.table);
    EXPECT_EQ(DIBStride(d.get()), c.stride);
    EXPECT_EQ(d->biSizeImage, c.stride * 3);
    EXPECT_EQ(d->biClrUsed, c.colours);
    EXPECT_EQ(GlobalSizePtr(d.get()) >= 40 + c.table + c.stride * 3, true);
  }
  DibPtr d8(DIBCreate(2, 2, 8));
  const uint8_t* t = reinterpret_cast<const uint8_t*>(DIBColorTable(d8.get()));
  EXPECT_EQ(t[2 * 200], 200);  // identity indices
  EXPECT_EQ(t[2 * 200 + 1], 0);
  EXPECT_EQ(DIBCreate(-1, 2, 8), nullptr);
  EXPECT_EQ(DIBCreate(kMaxDibSide + 1, 2, 8), nullptr);
  EXPECT_EQ(DIBCreate(2, 2, 7), nullptr);
}

TEST(PackedDib, PixelAddressingCountsFromTheTop) {
  DibPtr d(DIBCreate(4, 3, 24));
  uint8_t* bits = DIBBits(d.get());
  EXPECT_EQ(DIBPixelPtr(d.get(), 0, 0), bits + 2 * 12);  // bottom-up: top row is last
  EXPECT_EQ(DIBPixelPtr(d.get(), 1, 2), bits + 3);
  EXPECT_EQ(DIBPixelPtr(d.get(), 4, 0), nullptr);
  EXPECT_EQ(DIBPixelPtr(d.get(), 0, 3), nullptr);
  EXPECT_EQ(DIBPixelPtr(d.get(), -1, 0), nullptr);
  d->biHeight = -3;  // top-down: y 0 is the first row in memory
  EXPECT_EQ(DIBPixelPtr(d.get(), 0, 0), bits);
  EXPECT_EQ(DIBPixelOffset(2, 1, 4, 3, true, 3), 12u + 6u);
}

TEST(PackedDib, FillsByDepth) {
  DibPtr d24(DIBCreate(3, 2, 24));
  DIBFill(d24.get(), 0x00112233);  // COLORREF: red 0x33
  const uint8_t* p = DIBPixelPtr(d24.get(), 2, 1);
  EXPECT_EQ(p[0], 0x11);
  EXPECT_EQ(p[2], 0x33);
  DibPtr d16(DIBCreate(3, 2, 16));
  DIBFill(d16.get(), 0x17C1F);
  p = DIBPixelPtr(d16.get(), 1, 1);
  EXPECT_EQ(p[0] | (p[1] << 8), 0x7C1F);
  DibPtr d8(DIBCreate(6, 4, 8));
  EXPECT_EQ(DIBFillRect8(d8.get(), DibRect{4, 2, 10, 10}, 9), 1);  // clipped
  EXPECT_EQ(*DIBPixelPtr(d8.get(), 5, 3), 9);
  EXPECT_EQ(*DIBPixelPtr(d8.get(), 3, 3), 0);
  EXPECT_EQ(DIBFillRect8(d8.get(), DibRect{7, 0, 9, 1}, 9), 0);  // nothing left
}

TEST(PackedDib, CenterCopyAndTiling) {
  DibPtr src(DIBCreate(2, 2, 8));
  DIBFill(src.get(), 5);
  DibPtr c(DIBCenterCopy(src.get(), 6, 4));
  ASSERT_TRUE(c);
  EXPECT_EQ(*DIBPixelPtr(c.get(), 2, 1), 5);
  EXPECT_EQ(*DIBPixelPtr(c.get(), 3, 2), 5);
  EXPECT_EQ(*DIBPixelPtr(c.get(), 1, 1), 0);
  DibPtr big(DIBCreate(8, 8, 8));
  *DIBPixelPtr(big.get(), 0, 7) = 7;  // bottom-left survives a crop
  DibPtr crop(DIBCenterCopy8(big.get(), 3, 3));
  EXPECT_EQ(*DIBPixelPtr(crop.get(), 0, 2), 7);
  DibPtr d24(DIBCreate(2, 2, 24));
  EXPECT_EQ(DIBCenterCopy8(d24.get(), 3, 3), nullptr);

  DibPtr tile(DIBCreate(2, 1, 8));
  *DIBPixelPtr(tile.get(), 0, 0) = 1;
  *DIBPixelPtr(tile.get(), 1, 0) = 2;
  DibPtr dst(DIBCreate(5, 2, 8));
  EXPECT_EQ(DIBTileToDIB(tile.get(), dst.get(), DibRect{1, 0, 6, 2}, -2, 0), 1);
  const uint8_t expect[] = {2, 1, 2, 1, 2};  // starts in the tile at x (1 + 0) mod 2
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(*DIBPixelPtr(dst.get(), x, 1), expect[x]) << x;
  DibPtr empty(DIBCreate(0, 0, 8));
  EXPECT_EQ(DIBTileToDIB(empty.get(), dst.get(), DibRect{0, 0, 5, 2}, 0, 0), 0);
}

TEST(PackedDib, AddMarginsPadsWithIndexZero) {
  DibPtr src(DIBCreate(2, 1, 8));
  DIBFill(src.get(), 3);
  DibPtr m(DIBAddMargins(src.get(), 1, 1, 0, 2));
  ASSERT_TRUE(m);
  EXPECT_EQ(DIBWidth(m.get()), 3);
  EXPECT_EQ(DIBHeight(m.get()), 4);
  EXPECT_EQ(*DIBPixelPtr(m.get(), 0, 1), 0);
  EXPECT_EQ(*DIBPixelPtr(m.get(), 2, 1), 3);
  EXPECT_EQ(DIBPixelPtr(m.get(), 2, 1)[1], 3);  // row padding repeats the last byte
  DibPtr d24(DIBCreate(2, 2, 24));
  EXPECT_EQ(DIBAddMargins(d24.get(), 1, 1, 1, 1), nullptr);
}

// A .bmp file image: optional file header, info header, table, pixels.
std::vector<uint8_t> Bmp(int w, int h, int bits, uint32_t used, bool fileHeader,
                         uint32_t tableEntries, uint32_t pixelGap = 0) {
  std::vector<uint8_t> out;
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i)
      out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  uint32_t stride = ((w * bits + 31) / 32) * 4;
  uint32_t offset = 14 + 40 + tableEntries * 4 + pixelGap;
  if (fileHeader) {
    out.push_back('B');
    out.push_back('M');
    put32(offset + stride * h);
    put32(0);
    put32(offset);
  }
  put32(40);
  put32(w);
  put32(h);
  out.push_back(1);
  out.push_back(0);
  out.push_back(static_cast<uint8_t>(bits));
  out.push_back(0);
  put32(0);
  put32(0);
  put32(0);
  put32(0);
  put32(used);
  put32(0);
  for (uint32_t i = 0; i < tableEntries; ++i)
    put32(0x00010203 * (i + 1));
  for (uint32_t i = 0; i < pixelGap; ++i)
    out.push_back(0xEE);
  for (uint32_t i = 0; i < stride * h; ++i)
    out.push_back(static_cast<uint8_t>(i + 1));
  return out;
}

TEST(PackedDibFile, ReadsWithAndWithoutFileHeader) {
  std::vector<uint8_t> f = Bmp(3, 2, 24, 0, true, 0);
  DibPtr a(ReadDIBFromMemory(f.data(), f.size()));
  ASSERT_TRUE(a);
  EXPECT_EQ(DIBBits(a.get())[0], 1);
  EXPECT_EQ(a->biSizeImage, 24u);
  std::vector<uint8_t> bare = Bmp(3, 2, 24, 0, false, 0);
  DibPtr b(ReadDIBFromMemory(bare.data(), bare.size()));
  ASSERT_TRUE(b);
  EXPECT_EQ(std::memcmp(DIBBits(a.get()), DIBBits(b.get()), 24), 0);
}

TEST(PackedDibFile, ShortPaletteUsesThePixelOffset) {
  std::vector<uint8_t> f = Bmp(4, 1, 8, 2, true, 2, 3);  // two colours and a gap
  DibPtr d(ReadDIBFromMemory(f.data(), f.size()));
  ASSERT_TRUE(d);
  EXPECT_EQ(DIBBits(d.get())[0], 1);
  EXPECT_EQ(DIBColorTable(d.get())[1].blue, 0x06);
  EXPECT_EQ(DIBColorTable(d.get())[2].blue, 0);  // entries past the file's are zero
  EXPECT_EQ(d->biClrUsed, 256u);
}

TEST(PackedDibFile, RefusesHeadersThatDoNotFitTheBlock) {
  std::vector<uint8_t> good = Bmp(4, 2, 8, 0, true, 256);
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  } cases[] = {
      {"width zero", 14 + 4, 0},  {"huge width", 14 + 4, 0x7FFFFFFF},
      {"height zero", 14 + 8, 0}, {"min height", 14 + 8, 0x80000000},
      {"4 bits", 14 + 14, 4},     {"RLE", 14 + 16, 1},
      {"small header", 14, 12},   {"offset into header", 10, 20},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> f = good;
    for (int i = 0; i < 4 && c.at + i < f.size(); ++i)
      f[c.at + i] = static_cast<uint8_t>(c.value >> (8 * i));
    if (c.at == 14 + 14) f[14 + 15] = 0;
    PackedDIB* d = ReadDIBFromMemory(f.data(), f.size());
    EXPECT_EQ(d, nullptr) << c.what;
    GlobalFreePtr(d);
  }
  EXPECT_EQ(ReadDIBFromMemory(good.data(), 30), nullptr);  // truncated header
}

TEST(PackedDibFile, TruncatedPixelsAndLyingSizeImageStayInsideTheBlock) {
  std::vector<uint8_t> f = Bmp(8, 8, 8, 0, true, 256);
  f[14 + 20] = 0xFF;  // biSizeImage claims far more than the rows
  f[14 + 21] = 0xFF;
  f.resize(f.size() - 40);
  DibPtr d(ReadDIBFromMemory(f.data(), f.size()));
  ASSERT_TRUE(d);
  EXPECT_EQ(d->biSizeImage, 64u);
  EXPECT_EQ(DIBBits(d.get())[63], 0);  // missing rows are zero
}

TEST(PackedDibFile, FileImageRoundTrip) {
  DibPtr d(DIBCreate(3, 3, 16));
  DIBFill(d.get(), 0x1234);
  size_t size = 0;
  uint8_t* image = DIBToFileImage(d.get(), &size);
  ASSERT_NE(image, nullptr);
  DibPtr back(ReadDIBFromMemory(image, size));
  GlobalFreePtr(image);
  ASSERT_TRUE(back);
  EXPECT_EQ(std::memcmp(DIBBits(back.get()), DIBBits(d.get()), d->biSizeImage), 0);
}

TEST(Palette, ConversionsSwapRedAndBlue) {
  RgbQuad quads[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  PaletteEntry entries[256] = {};
  EXPECT_EQ(QuadsToPaletteEntries(entries, quads, 10, 2), 1);
  EXPECT_EQ(entries[10].red, 3);
  EXPECT_EQ(entries[11].blue, 4);
  EXPECT_EQ(entries[11].flags, kPcNoCollapse);
  EXPECT_EQ(QuadsToPaletteEntries(entries, quads, 255, 2), 0);
  RgbQuad back[2];
  EXPECT_EQ(PaletteEntriesToRGBQuads(entries + 10, 2, back), 0);
  EXPECT_EQ(back[1].red, 6);
  EXPECT_EQ(back[1].reserved, 0);
  EXPECT_EQ(PaletteEntriesToRGBQuads(nullptr, 2, back), 1);
}

TEST(Palette, TableCopiesReportNullArguments) {
  testsupport::RecordingSink sink;
  RgbQuad out[256] = {};
  EXPECT_EQ(palColorsFromDIB(nullptr, out, 0, 1), 0);
  EXPECT_EQ(UpdateColorTable(nullptr, out, 0, 1), 0);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, "NULL pDIB in palColorsFromDIB");
  EXPECT_EQ(sink.messages[0].caption, ".\\pal");
  EXPECT_EQ(sink.messages[1].caption, "utils");
  DibPtr d(DIBCreate(1, 1, 8));
  DIBColorTable(d.get())[7] = RgbQuad{9, 8, 7, 0};
  EXPECT_EQ(palColorsFromDIB(d.get(), out, 7, 7), 1);
  EXPECT_EQ(out[7].red, 7);
  EXPECT_EQ(palColorsFromDIB(d.get(), out, 8, 7), 1);  // first above last: nothing
  EXPECT_EQ(palColorsFromDIB(d.get(), out, 0, 256), 0);
}

}  // namespace
}  // namespace gui
