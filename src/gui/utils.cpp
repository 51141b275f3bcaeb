#include "gui/utils.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "platform/path.h"

namespace gui {

namespace {

uint32_t ColorsFor(int bits) {
  switch (bits) {
    case 8:
      return 256;
    case 16:
      return 32768;
    case 24:
      return 16777216;
    default:
      return 0;
  }
}

uint32_t Le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

uint32_t DIBColorTableBytes(int bits) {
  switch (bits) {
    case 1:
      return 8;
    case 4:
      return 64;
    case 8:
      return 1024;
    case 24:
      return 0;
    default:
      return 12;
  }
}

RgbQuad* DIBColorTable(PackedDIB* dib) {
  return reinterpret_cast<RgbQuad*>(reinterpret_cast<uint8_t*>(dib) + sizeof(DibInfoHeader));
}

uint8_t* DIBBits(PackedDIB* dib) {
  return reinterpret_cast<uint8_t*>(dib) + sizeof(DibInfoHeader) +
         DIBColorTableBytes(dib->biBitCount);
}
const uint8_t* DIBBits(const PackedDIB* dib) { return DIBBits(const_cast<PackedDIB*>(dib)); }

PackedDIB* DIBCreate(int32_t width, int32_t height, int bits) {
  if (width < 0 || height < 0 || width > kMaxDibSide || height > kMaxDibSide) return nullptr;
  if (bits != 1 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  uint32_t image = DIBStrideFor(width, bits) * static_cast<uint32_t>(height);
  auto* dib = static_cast<PackedDIB*>(
      GlobalAllocPtr(sizeof(DibInfoHeader) + DIBColorTableBytes(bits) + image));
  if (!dib) return nullptr;
  dib->biSize = 40;
  dib->biWidth = width;
  dib->biHeight = height;
  dib->biPlanes = 1;
  dib->biBitCount = static_cast<uint16_t>(bits);
  dib->biSizeImage = image;
  dib->biClrUsed = dib->biClrImportant = ColorsFor(bits);
  if (bits == 8) DIBSetIdentityColorTable(dib);
  return dib;
}

PackedDIB* DIBDuplicate(PackedDIB* dib) {
  if (!dib) return nullptr;
  if (dib->biSizeImage == 0) dib->biSizeImage = DIBStride(dib) * DIBHeight(dib);
  size_t size = GlobalSizePtr(dib);
  auto* copy = static_cast<PackedDIB*>(GlobalAllocPtr(size));
  if (copy) std::memcpy(copy, dib, size);
  return copy;
}

int DIBGetSize(const PackedDIB* dib, DibSize* out) {
  if (!dib || !out) return 0;
  out->cx = dib->biWidth;
  out->cy = dib->biHeight;
  return 1;
}

void DIBSetIdentityColorTable(PackedDIB* dib) {
  if (!dib || dib->biBitCount != 8) return;
  uint8_t* table = reinterpret_cast<uint8_t*>(DIBColorTable(dib));
  for (int i = 0; i < 256; ++i)
    Put16(table + 2 * i, static_cast<uint16_t>(i));
}

void DIBCopyColorTable(PackedDIB* dst, const PackedDIB* src) {
  if (!dst || !src || dst->biBitCount != 8 || src->biBitCount != 8) return;
  std::memcpy(DIBColorTable(dst), DIBColorTable(const_cast<PackedDIB*>(src)), 1024);
}

uint32_t DIBNumColors(const void* header) {
  if (!header) return 0;
  const uint8_t* h = static_cast<const uint8_t*>(header);
  uint32_t size = Le32(h);
  int bits;
  if (size == 12) {
    bits = Le16(h + 10);
  } else {
    uint32_t used = Le32(h + 32);
    if (used) return used & 0xFFFF;
    bits = Le16(h + 14);
  }
  switch (bits) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

PackedDIB* DIBAddMargins(const PackedDIB* dib, int left, int top, int right, int bottom) {
  if (!dib || dib->biBitCount != 8 || dib->biCompression != kBiRgb) return nullptr;
  if (left < 0 || top < 0 || right < 0 || bottom < 0) return nullptr;
  int32_t w = DIBWidth(dib), h = DIBHeight(dib);
  PackedDIB* out = DIBCreate(w + left + right, h + top + bottom, 8);
  if (!out) return nullptr;
  uint32_t stride = DIBStride(out);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* s = DIBPixelPtr(const_cast<PackedDIB*>(dib), 0, y);
    uint8_t* d = DIBPixelPtr(out, left, y + top);
    std::memcpy(d, s, w);
    // Pad the row to its stride with the last byte written.
    uint8_t* rowStart = d - left;
    uint8_t last = (right > 0) ? 0 : (w > 0 ? s[w - 1] : 0);
    size_t used = static_cast<size_t>(left + w + right);
    std::memset(rowStart + used, last, stride - used);
  }
  return out;
}

size_t DIBPixelOffset(int32_t x, int32_t y, int32_t width, int32_t height, bool topDown,
                      int bytesPerPixel) {
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  size_t stride = DIBStrideFor(width, bytesPerPixel * 8);
  size_t row = topDown ? static_cast<size_t>(y) : static_cast<size_t>(height - y - 1);
  return row * stride + static_cast<size_t>(x) * bytesPerPixel;
}

uint8_t* DIBPixelAddr(uint8_t* bits, int32_t x, int32_t y, int32_t width, int32_t height,
                      bool topDown, int bytesPerPixel) {
  if (!bits || x < 0 || y < 0 || x >= width || y >= height) return nullptr;
  return bits + DIBPixelOffset(x, y, width, height, topDown, bytesPerPixel);
}

uint8_t* DIBPixelPtr(PackedDIB* dib, int32_t x, int32_t y) {
  if (!dib || dib->biBitCount < 8) return nullptr;
  return DIBPixelAddr(DIBBits(dib), x, y, dib->biWidth, DIBHeight(dib), dib->biHeight < 0,
                      DIBBytesPerPixel(dib));
}

size_t DIBPixelOffsetOf(const PackedDIB* dib, int32_t x, int32_t y) {
  if (!dib || dib->biBitCount < 8) return 0;
  return DIBPixelOffset(x, y, dib->biWidth, DIBHeight(dib), dib->biHeight < 0,
                        DIBBytesPerPixel(dib));
}

void DIBFill(PackedDIB* dib, uint32_t value) {
  if (!dib) return;
  int32_t w = DIBWidth(dib), h = DIBHeight(dib);
  uint8_t* bits = DIBBits(dib);
  uint32_t stride = DIBStride(dib);
  switch (dib->biBitCount) {
    case 8:
      std::memset(bits, static_cast<uint8_t>(value), static_cast<size_t>(stride) * h);
      break;
    case 16:
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
          Put16(bits + y * stride + 2 * x, value & 0xFFFF);
      break;
    case 24:
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
          uint8_t* p = bits + y * stride + 3 * x;
          p[0] = static_cast<uint8_t>(value >> 16);
          p[1] = static_cast<uint8_t>(value >> 8);
          p[2] = static_cast<uint8_t>(value);
        }
      break;
    default:
      break;
  }
}

int DIBFillRect8(PackedDIB* dib, const DibRect& rect, uint8_t index) {
  if (!dib || dib->biBitCount != 8) return 0;
  DibRect r = rect;
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  if (r.right > DIBWidth(dib) - 1) r.right = DIBWidth(dib) - 1;
  if (r.bottom > DIBHeight(dib) - 1) r.bottom = DIBHeight(dib) - 1;
  if (r.right < r.left || r.bottom < r.top) return 0;
  for (int32_t y = r.top; y <= r.bottom; ++y)
    std::memset(DIBPixelPtr(dib, r.left, y), index, r.right - r.left + 1);
  return 1;
}

PackedDIB* DIBCenterCopy(const PackedDIB* dib, int32_t width, int32_t height) {
  if (!dib || dib->biBitCount < 8) return nullptr;
  PackedDIB* out = DIBCreate(width, height, dib->biBitCount);
  if (!out) return nullptr;
  DIBCopyColorTable(out, dib);
  int32_t sw = DIBWidth(dib), sh = DIBHeight(dib);
  if (sw <= width && sh <= height) {
    DIBCopyRect(out, dib, (width - sw) / 2, (height - sh) / 2, 0, 0, sw, sh);
  } else {
    // Too large one way: the bottom-left area of the smaller size.
    int32_t w = sw < width ? sw : width, h = sh < height ? sh : height;
    DIBCopyRect(out, dib, 0, height - h, 0, sh - h, w, h);
  }
  return out;
}

PackedDIB* DIBCenterCopy8(const PackedDIB* dib, int32_t width, int32_t height) {
  if (!dib || dib->biBitCount != 8) return nullptr;
  return DIBCenterCopy(dib, width, height);
}

void DIBTileDIB(PackedDIB* dst, const PackedDIB* tile) {
  if (!dst || !tile) return;
  DibRect all{0, 0, DIBWidth(dst), DIBHeight(dst)};
  DIBTileToDIB(tile, dst, all, 0, 0);
}

int DIBTileToDIB(const PackedDIB* tile, PackedDIB* dst, const DibRect& rect, int32_t phaseX,
                 int32_t phaseY) {
  if (!tile || !dst) return 0;
  int32_t tw = DIBWidth(tile), th = DIBHeight(tile);
  if (tw <= 0 || th <= 0) return 0;
  int32_t w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w > DIBWidth(dst)) w = DIBWidth(dst);
  if (h > DIBHeight(dst)) h = DIBHeight(dst);
  auto wrap = [](int64_t v, int32_t n) {
    int32_t r = static_cast<int32_t>(v % n);
    return r < 0 ? r + n : r;
  };
  int32_t startX = wrap(static_cast<int64_t>(rect.left) + wrap(phaseX, tw), tw);
  int32_t startY = wrap(static_cast<int64_t>(rect.top) + wrap(phaseY, th), th);
  for (int32_t y = 0, ty = startY; y < h;) {
    int32_t rows = th - ty < h - y ? th - ty : h - y;
    for (int32_t x = 0, tx = startX; x < w;) {
      int32_t cols = tw - tx < w - x ? tw - tx : w - x;
      DIBCopyRect(dst, tile, x, y, tx, ty, cols, rows);
      x += cols;
      tx = 0;
    }
    y += rows;
    ty = 0;
  }
  return 1;
}

PackedDIB* ReadDIBFromMemory(const uint8_t* data, size_t size) {
  if (!data) return nullptr;
  size_t pos = 0;
  size_t pixelOffset = 0;  // 0: pixels follow the table
  if (size >= 14 && data[0] == 'B' && data[1] == 'M') {
    pixelOffset = Le32(data + 10);
    pos = 14;
  }
  if (size - pos < 40) return nullptr;
  const uint8_t* h = data + pos;
  uint32_t hsize = Le32(h);
  int32_t width = static_cast<int32_t>(Le32(h + 4));
  int32_t height = static_cast<int32_t>(Le32(h + 8));
  int bits = Le16(h + 14);
  uint32_t compression = Le32(h + 16);
  uint32_t used = Le32(h + 32);
  // Only what a packed DIB can hold: uncompressed 8/16/24/32 bits (16 and 32
  // may carry bit masks), sane sides, a header we know.
  if (hsize < 40 || hsize > 124 || size - pos < hsize) return nullptr;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  if (compression != kBiRgb && !(compression == kBiBitfields && (bits == 16 || bits == 32)))
    return nullptr;
  if (height == INT32_MIN) return nullptr;
  int32_t absH = height < 0 ? -height : height;
  if (width <= 0 || absH == 0 || width > kMaxDibSide || absH > kMaxDibSide) return nullptr;
  PackedDIB* dib = DIBCreate(width, absH, bits);
  if (!dib) return nullptr;
  std::memcpy(dib, h, 40);
  dib->biSize = 40;
  dib->biHeight = height;
  // The block's own sizes are authoritative, whatever the file claimed.
  dib->biSizeImage = DIBStride(dib) * absH;
  pos += hsize;
  uint8_t* table = reinterpret_cast<uint8_t*>(DIBColorTable(dib));
  std::memset(table, 0, DIBColorTableBytes(bits));
  if (bits == 8) {
    // A palette only at 8 bits, and no more entries than the file holds.
    uint32_t entries = used == 0 || used > 256 ? 256 : used;
    size_t bytes = entries * 4;
    if (bytes > size - pos) bytes = (size - pos) & ~size_t(3);
    std::memcpy(table, data + pos, bytes);
    pos += bytes;
    dib->biClrUsed = dib->biClrImportant = 256;
  } else if (compression == kBiBitfields) {
    if (size - pos < 12) {
      GlobalFreePtr(dib);
      return nullptr;
    }
    std::memcpy(table, data + pos, 12);
    pos += 12;
  }
  if (pixelOffset) {
    if (pixelOffset < 14 + 40) {
      GlobalFreePtr(dib);
      return nullptr;
    }
    pos = pixelOffset;
  }
  // A short file leaves the rest of the pixels zero.
  size_t avail = pos < size ? size - pos : 0;
  size_t n = avail < dib->biSizeImage ? avail : dib->biSizeImage;
  std::memcpy(DIBBits(dib), data + pos, n);
  return dib;
}

PackedDIB* ReadDIBFile(const char* path) {
  if (!path) return nullptr;
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(path, bytes)) return nullptr;
  return ReadDIBFromMemory(bytes.data(), bytes.size());
}

uint8_t* DIBToFileImage(const PackedDIB* dib, size_t* size) {
  if (!dib || !size) return nullptr;
  uint32_t table = DIBColorTableBytes(dib->biBitCount);
  uint32_t image = DIBStride(dib) * DIBHeight(dib);
  size_t total = 14 + 40 + table + image;
  auto* out = static_cast<uint8_t*>(GlobalAllocPtr(total));
  if (!out) return nullptr;
  out[0] = 'B';
  out[1] = 'M';
  Put32(out + 2, static_cast<uint32_t>(total));
  Put32(out + 10, 14 + 40 + table);
  std::memcpy(out + 14, dib, 40);
  Put32(out + 14 + 20, image);
  std::memcpy(out + 54, reinterpret_cast<const uint8_t*>(dib) + 40, table + image);
  *size = total;
  return out;
}

namespace {
constexpr size_t kFileChunk = 32768;
}  // namespace

size_t ReadFileChunked(size_t size, void* buffer, std::FILE* file) {
  if (!buffer || !file) return 0;
  auto* p = static_cast<uint8_t*>(buffer);
  for (size_t done = 0; done < size;) {
    const size_t n = std::min(kFileChunk, size - done);
    if (std::fread(p + done, 1, n, file) != n) return 0;
    done += n;
  }
  return size;
}

size_t WriteFileChunked(size_t size, const void* buffer, std::FILE* file) {
  if (!buffer || !file) return 0;
  const auto* p = static_cast<const uint8_t*>(buffer);
  for (size_t done = 0; done < size;) {
    const size_t n = std::min(kFileChunk, size - done);
    if (std::fwrite(p + done, 1, n, file) != n) return 0;
    done += n;
  }
  return size;
}

}  // namespace gui
