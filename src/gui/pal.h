#pragma once
// Palettes: conversions between colour tables (blue, green, red) and palette
// entries (red, green, blue, flags). The GDI palette objects themselves are
// made by the Windows side (win32/pal_gdi.h).
#include <cstdint>

#include "gui/utils.h"

namespace gui {

struct PaletteEntry {
  uint8_t red, green, blue, flags;
};

constexpr uint8_t kPcReserved = 1;
constexpr uint8_t kPcNoCollapse = 4;

// 1 for a null pointer, else 0; red and blue exchange places.
int PaletteEntriesToRGBQuads(const PaletteEntry* entries, int count, RgbQuad* quads);
// quads[0..count) into entries[start..], flagged PC_NOCOLLAPSE. 0 when the
// range leaves the 256 entries.
int QuadsToPaletteEntries(PaletteEntry* entries, const RgbQuad* quads, int start, int count);
// Colour-table entries first..last of an 8-bit DIB into quads[first..last]; a
// null DIB shows a notice and gives 0; first above last copies nothing.
int palColorsFromDIB(PackedDIB* dib, RgbQuad* quads, int first, int last);
// Entries first..last of one table into the other; a null table gives 0.
int UpdateColorTable(const RgbQuad* src, RgbQuad* dst, int first, int last);

}  // namespace gui
