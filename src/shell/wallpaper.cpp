#include "shell/wallpaper.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/ini.h"
#include "shell/settings.h"

namespace shell {
namespace {

void CopyPath(char* out, const std::string& text) {
  std::snprintf(out, kWallpaperPathSize, "%s", text.c_str());
}

// One hexadecimal number at *p, skipping leading blanks; false when none.
bool ReadHex(const char*& p, uint32_t* out) {
  while (*p == ' ' || *p == '\t')
    ++p;
  char* end = nullptr;
  unsigned long v = std::strtoul(p, &end, 16);
  if (end == p) return false;
  *out = static_cast<uint32_t>(v);
  p = end;
  return true;
}

// MulDiv: the product over the divisor, halves rounded away from zero.
int32_t MulDivRound(int32_t a, int32_t b, int32_t c) {
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t half = (c < 0 ? -c : c) / 2;
  bool negative = (product < 0) != (c < 0);
  int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

const char* DefaultRoomTile(int roomId) {
  switch (roomId) {
    case 0:
    case 19:
      return "tile.bmp";
    case 1:
    case 2:
      return "Standard.bmp";
    case 3:
      return "Tile_TrainingMenu.bmp";
    case 4:
      return "Tile_ReseauMenu.bmp";
    case 17:
      return "Tile_EncyclopediaMenu.bmp";
    default:
      return nullptr;
  }
}

bool RoomHasWallpaperChoice(int roomId) {
  return roomId == 0 || roomId == 3 || roomId == 4 || roomId == 17;
}

bool ParseGradientColours(const char* text, uint32_t* colour1, uint32_t* colour2) {
  if (!text || !colour1 || !colour2) return false;
  const char* p = text;
  uint32_t a = 0, b = 0;
  if (!ReadHex(p, &a) || !ReadHex(p, &b)) return false;
  *colour1 = a;
  *colour2 = b;
  return true;
}

bool LoadBackgroundSettings(const char* tileName, const char* wallpaperIni,
                            const char* wallpaperFolder, ScreenBackground* bg) {
  if (!bg) return false;
  const char* tile = tileName ? tileName : DefaultRoomTile(bg->roomId);
  const char* section = GetRoomName(bg->roomId);
  const char* ini = wallpaperIni ? wallpaperIni : "";
  const char* folder = wallpaperFolder ? wallpaperFolder : "";
  bool haveSection = section && *section && *ini;
  std::string gradient = haveSection ? platform::IniGet(section, "gradient", "0 0", ini) : "0 0";
  bg->colour1 = bg->colour2 = 0;
  ParseGradientColours(gradient.c_str(), &bg->colour1, &bg->colour2);
  std::string path = tile ? tile : "";
  if (RoomHasWallpaperChoice(bg->roomId)) {
    std::string fallback = tile ? std::string(folder) + "\\" + tile : "";
    std::string type = "bitmap";
    if (haveSection) {
      path = platform::IniGet(section, "WallpaperFile", fallback.c_str(), ini, kWallpaperPathSize);
      type = platform::IniGet(section, "WallpaperType", "bitmap", ini);
    } else {
      path = fallback;
    }
    bg->bitmapMode = type == "bitmap";
  }
  if (bg->bitmapMode && !path.empty() && path.find('\\') == std::string::npos)
    path = std::string(folder) + "\\" + path;
  CopyPath(bg->path, path);
  return !bg->bitmapMode || !path.empty();
}

uint32_t GradientColour(uint32_t colour1, uint32_t colour2, int32_t i, int32_t n) {
  if (n < 1) return colour1;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int32_t a = static_cast<int32_t>((colour1 >> shift) & 0xFF);
    int32_t b = static_cast<int32_t>((colour2 >> shift) & 0xFF);
    int32_t v = a + MulDivRound(i, b - a, n);
    v = v < 0 ? 0 : v > 255 ? 255 : v;
    out |= static_cast<uint32_t>(v) << shift;
  }
  return out;
}

}  // namespace shell
