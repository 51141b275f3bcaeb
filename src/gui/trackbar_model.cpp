#include "gui/trackbar_model.h"

#include <algorithm>

namespace gui {

namespace {

void Put(PackedDIB* image, int32_t x, int32_t y, uint32_t colour) {
  uint8_t* p = DIBPixelPtr(image, x, y);
  if (!p) return;
  p[0] = static_cast<uint8_t>(colour >> 16);
  p[1] = static_cast<uint8_t>(colour >> 8);
  p[2] = static_cast<uint8_t>(colour);
}

}  // namespace

TrackbarTicks TrackbarTickLayout(int32_t ticks, int32_t length, bool vertical, int32_t thumbTop) {
  TrackbarTicks t{0, 0};
  if (ticks > 1) t.spacing = (length - 26) / (ticks - 1);
  if (!vertical) t.baseLine = thumbTop + 18;
  return t;
}

bool TrackbarDrawsTicks(int32_t ticks, bool vertical, bool noTicks) {
  return !vertical && !noTicks && ticks > 2;
}

void TrackbarDrawBox(PackedDIB* image, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     uint32_t fill, uint32_t frame) {
  if (!image || image->biBitCount != 24) return;
  int32_t l = std::max(left, 0), t = std::max(top, 0);
  int32_t r = std::min(right, image->biWidth), b = std::min(bottom, DIBHeight(image));
  for (int32_t y = t; y < b; ++y)
    for (int32_t x = l; x < r; ++x) {
      bool edge = x == left || y == top || x == right - 1 || y == bottom - 1;
      Put(image, x, y, edge ? frame : fill);
    }
}

PackedDIB* TrackbarChannelImage(int32_t width, int32_t height, uint32_t fill, uint32_t frame) {
  if (width <= 0 || height <= 0) return nullptr;
  PackedDIB* image = DIBCreate(width, height, 24);
  TrackbarDrawBox(image, 0, 0, width, height, fill, frame);
  return image;
}

void TrackbarDrawTick(PackedDIB* image, int32_t x, int32_t baseLine, uint32_t colour) {
  if (!image || image->biBitCount != 24) return;
  for (int32_t dx = -(kTrackbarTickWidth / 2); dx <= kTrackbarTickWidth / 2; ++dx)
    for (int32_t y = baseLine; y > baseLine - kTrackbarTickHeight; --y)
      Put(image, x + dx, y, colour);
}

}  // namespace gui
