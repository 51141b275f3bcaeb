#include "shell/startup/win32/app_palette.h"

#include <atomic>
#include <cstring>
#include <vector>

namespace shell {
namespace {

std::atomic<HPALETTE> g_palette{nullptr};

// The resource's colour table when it is a whole 8-bit packed DIB.
const RGBQUAD* PaletteResourceColours(HINSTANCE instance) {
  HRSRC info = FindResourceA(instance, "PAL", MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (!info) return nullptr;
  DWORD size = SizeofResource(instance, info);
  HGLOBAL loaded = LoadResource(instance, info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data || size < sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) return nullptr;
  BITMAPINFOHEADER h;
  std::memcpy(&h, data, sizeof h);
  if (h.biSize < sizeof h || h.biSize > size - 256 * sizeof(RGBQUAD) || h.biBitCount != 8)
    return nullptr;
  return reinterpret_cast<const RGBQUAD*>(static_cast<const uint8_t*>(data) + h.biSize);
}

}  // namespace

bool LoadAppPalette(HINSTANCE instance) {
  if (g_palette.load()) return true;
  std::vector<uint8_t> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
  log->palVersion = 0x300;
  log->palNumEntries = 256;
  HDC screen = GetDC(nullptr);
  GetSystemPaletteEntries(screen, 0, 256, log->palPalEntry);
  ReleaseDC(nullptr, screen);
  const RGBQUAD* colours = PaletteResourceColours(instance);
  for (int i = 10; i < 246; ++i) {
    PALETTEENTRY& e = log->palPalEntry[i];
    e = PALETTEENTRY{0, 0, 0, PC_NOCOLLAPSE};
    if (colours)
      e = PALETTEENTRY{colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, PC_NOCOLLAPSE};
  }
  for (int i : {0, 246})
    for (int k = i; k < i + 10; ++k)
      log->palPalEntry[k].peFlags = 0;
  g_palette.store(CreatePalette(log));
  return colours && g_palette.load();
}

HPALETTE GetAppPalette() { return g_palette.load(); }

void DeleteAppPalette() {
  HPALETTE p = g_palette.exchange(nullptr);
  if (p) DeleteObject(p);
}

}  // namespace shell
