#pragma once
// The skinned trackbar's drawing on packed DIBs: the tick layout, the
// channel image, the thumb and the ticks. The window side feeds it the
// rectangles the system trackbar reports. Rectangles here are exclusive.
#include <cstdint>

#include "gui/utils.h"

namespace gui {

constexpr uint32_t kTrackbarTickColour = 0xF7DB4F;  // COLORREF
constexpr int kTrackbarTickWidth = 3, kTrackbarTickHeight = 30;

struct TrackbarTicks {
  int32_t baseLine;  // the y the tick lines go up from
  int32_t spacing;   // pixels between ticks
};

// With n ticks along a control of `length` pixels: spacing (length - 26) /
// (n - 1) when n > 1, else 0; a horizontal control's base line lies 18 below
// the thumb's top.
TrackbarTicks TrackbarTickLayout(int32_t ticks, int32_t length, bool vertical, int32_t thumbTop);
// Whether ticks are drawn: horizontal, not TBS_NOTICKS, more than two.
bool TrackbarDrawsTicks(int32_t ticks, bool vertical, bool noTicks);
// A 24-bit image of the size, filled and framed with a one-pixel line;
// null for an empty size.
PackedDIB* TrackbarChannelImage(int32_t width, int32_t height, uint32_t fill, uint32_t frame);
// Fills and outlines a rectangle of a 24-bit image (clipped to it).
void TrackbarDrawBox(PackedDIB* image, int32_t left, int32_t top, int32_t right, int32_t bottom,
                     uint32_t fill, uint32_t frame);
// A tick line centred on x from the base line up, clipped to the image.
void TrackbarDrawTick(PackedDIB* image, int32_t x, int32_t baseLine,
                      uint32_t colour = kTrackbarTickColour);

}  // namespace gui
