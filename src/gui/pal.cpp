#include "gui/pal.h"

#include "platform/message_sink.h"

namespace gui {

namespace {
bool ValidRange(int first, int last) { return first >= 0 && last <= 255; }
}  // namespace

int PaletteEntriesToRGBQuads(const PaletteEntry* entries, int count, RgbQuad* quads) {
  if (!entries || !quads) return 1;
  for (int i = 0; i < count; ++i)
    quads[i] = RgbQuad{entries[i].blue, entries[i].green, entries[i].red, 0};
  return 0;
}

int QuadsToPaletteEntries(PaletteEntry* entries, const RgbQuad* quads, int start, int count) {
  if (!entries || !quads || start < 0 || count < 0 || start + count > 256) return 0;
  for (int i = 0; i < count; ++i)
    entries[start + i] = PaletteEntry{quads[i].red, quads[i].green, quads[i].blue, kPcNoCollapse};
  return 1;
}

int palColorsFromDIB(PackedDIB* dib, RgbQuad* quads, int first, int last) {
  if (!dib) {
    platform::ShowNotice("NULL pDIB in palColorsFromDIB", ".\\pal", 0);
    return 0;
  }
  if (!quads || dib->biBitCount != 8 || !ValidRange(first, last)) return 0;
  const RgbQuad* table = DIBColorTable(dib);
  for (int i = first; i <= last; ++i)
    quads[i] = table[i];
  return 1;
}

int UpdateColorTable(const RgbQuad* src, RgbQuad* dst, int first, int last) {
  if (!src || !dst) {
    platform::ShowNotice("NULL param to UpdateColorTable", "utils", 0);
    return 0;
  }
  if (!ValidRange(first, last)) return 0;
  for (int i = first; i <= last; ++i)
    dst[i] = src[i];
  return 1;
}

}  // namespace gui
