#pragma once
// PackedDIB: the toolkit's image, one zero-filled memory block laid out as a
// Windows DIB in memory: a 40-byte info header, the colour table, then the
// pixel rows. Coordinates count x from the left and y from the top whatever
// the row order in memory. Blocks come from GlobalAllocPtr and are freed with
// GlobalFreePtr.
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace gui {

// The in-memory info header (the layout GDI expects; no pointers).
struct DibInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;  // > 0 rows bottom-up, < 0 top-down
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
static_assert(sizeof(DibInfoHeader) == 40, "info header is 40 bytes");

using PackedDIB = DibInfoHeader;

struct RgbQuad {
  uint8_t blue, green, red, reserved;
};

struct DibSize {
  int32_t cx, cy;
};

// Sides larger than this are refused, so that sizes never overflow.
constexpr int32_t kMaxDibSide = 16384;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

// Row length in bytes, padded to 4 bytes.
inline uint32_t DIBStrideFor(int32_t width, int bits) {
  return ((static_cast<uint32_t>(width) * bits + 31) / 32) * 4;
}
// Bytes of the colour table: 1024 at 8 bits, 8 at 1 bit, 64 at 4 bits, 0 at
// 24 bits and 12 (bit masks) otherwise.
uint32_t DIBColorTableBytes(int bits);
inline int32_t DIBWidth(const PackedDIB* d) { return d->biWidth; }
inline int32_t DIBHeight(const PackedDIB* d) {
  return d->biHeight < 0 ? -d->biHeight : d->biHeight;
}
// The same of an image that may be missing (0 then): skin images are optional.
inline int32_t DIBWidthOf(const PackedDIB* d) { return d ? DIBWidth(d) : 0; }
inline int32_t DIBHeightOf(const PackedDIB* d) { return d ? DIBHeight(d) : 0; }
inline uint32_t DIBStride(const PackedDIB* d) { return DIBStrideFor(d->biWidth, d->biBitCount); }
inline int DIBBytesPerPixel(const PackedDIB* d) { return d->biBitCount / 8; }
RgbQuad* DIBColorTable(PackedDIB* dib);
uint8_t* DIBBits(PackedDIB* dib);
const uint8_t* DIBBits(const PackedDIB* dib);

// Creation and properties.
PackedDIB* DIBCreate(int32_t width, int32_t height, int bits);
PackedDIB* DIBDuplicate(PackedDIB* dib);
int DIBGetSize(const PackedDIB* dib, DibSize* out);
void DIBSetIdentityColorTable(PackedDIB* dib);
void DIBCopyColorTable(PackedDIB* dst, const PackedDIB* src);
// Colours of a 12-byte core header or a 40-byte info header.
uint32_t DIBNumColors(const void* header);
PackedDIB* DIBAddMargins(const PackedDIB* dib, int left, int top, int right, int bottom);

// Pixel addressing; null (or 0) outside [0, width) x [0, height).
uint8_t* DIBPixelAddr(uint8_t* bits, int32_t x, int32_t y, int32_t width, int32_t height,
                      bool topDown, int bytesPerPixel);
size_t DIBPixelOffset(int32_t x, int32_t y, int32_t width, int32_t height, bool topDown,
                      int bytesPerPixel);
uint8_t* DIBPixelPtr(PackedDIB* dib, int32_t x, int32_t y);
size_t DIBPixelOffsetOf(const PackedDIB* dib, int32_t x, int32_t y);

// Fills. 16 bits: the low word; 24 bits: a COLORREF 0x00BBGGRR.
void DIBFill(PackedDIB* dib, uint32_t value);
struct DibRect {
  int32_t left, top, right, bottom;
};
// Inclusive rectangle, clipped to the image; 1 when something was filled.
int DIBFillRect8(PackedDIB* dib, const DibRect& rect, uint8_t index);

// Copies between packed DIBs.
PackedDIB* DIBCenterCopy(const PackedDIB* dib, int32_t width, int32_t height);
PackedDIB* DIBCenterCopy8(const PackedDIB* dib, int32_t width, int32_t height);
void DIBTileDIB(PackedDIB* dst, const PackedDIB* tile);
int DIBTileToDIB(const PackedDIB* tile, PackedDIB* dst, const DibRect& rect, int32_t phaseX,
                 int32_t phaseY);

// Bitmap files. Every header field is checked against the data before it is
// used; null for anything that is not a bitmap we can hold.
PackedDIB* ReadDIBFromMemory(const uint8_t* data, size_t size);
PackedDIB* ReadDIBFile(const char* path);
// The .bmp file image of a DIB (file header, info header, table, pixels), in
// a new block; *size gets its length.
uint8_t* DIBToFileImage(const PackedDIB* dib, size_t* size);

// Moves `size` bytes in pieces of 32768 bytes: the size when everything
// moved, 0 as soon as a piece moves fewer bytes.
size_t ReadFileChunked(size_t size, void* buffer, std::FILE* file);
size_t WriteFileChunked(size_t size, const void* buffer, std::FILE* file);

}  // namespace gui
