#pragma once
// The per-class ini files of a skin: one table per widget class lists the
// values its file supplies (bitmap names from "resources", colours from
// "colors", numbers from "dimensions", fonts from "resources") with the
// built-in value each takes when the class has no file. The frames, the menu
// and the status bar are read by the toolkit's own readers; every other
// class is read here and kept in one process-wide set that the window side
// maps onto the toolkit's records.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace shell {

// A palette-relative colour (the system's PALETTERGB): built-in colours
// follow the program palette.
constexpr uint32_t PaletteRgb(uint32_t r, uint32_t g, uint32_t b) {
  return 0x02000000u | r | (g << 8) | (b << 16);
}

// A "colors" value: one holding "RGB" is three decimal numbers (red, green,
// blue) from its start; any other is hexadecimal RRGGBB. The result has red
// in the low byte. False when the text gives no colour (empty, not a
// number, a part above 255, or "RGB" not preceded by three numbers).
bool ParseSkinColour(const char* text, uint32_t* colour);

// "bold" 600, "normal" 400, anything else 0.
int32_t FontStyleWeight(const char* style);

enum class SkinValueKind : uint8_t {
  kBitmap,
  kColour,
  kDimension,
  kFontName,
  kFontSize,
  kFontStyle
};

struct SkinValueSpec {
  SkinValueKind kind;
  const char* key;
  uint32_t fallback;         // resource id, colour or number
  const char* fallbackText;  // font face; null for the other kinds
};

struct SkinClassSpec {
  const char* configKey;  // the key in the skin's "configuration files"
  const SkinValueSpec* values;
  size_t count;
};

// The classes read here, in the order the resource loading reads them.
extern const SkinClassSpec kSkinClassSpecs[];
extern const size_t kSkinClassSpecCount;
const SkinClassSpec* FindSkinClassSpec(const char* configKey);

// One class's values, in its table's order.
struct SkinClassValues {
  const SkinClassSpec* spec = nullptr;
  bool fromFile = false;
  std::string folder;              // the per-class file's folder, with its separator
  std::vector<uint32_t> numbers;   // colours, numbers, font sizes and weights,
                                   // fallback resource ids of bitmaps
  std::vector<std::string> names;  // bitmap base names and font faces ("" when none)
  // "face_mask%d" and "face_mask_alpha%d" from 0 up to the first missing
  // pair (the "global" class only).
  std::vector<std::string> faceMasks, faceMaskAlphas;

  // By key; 0 or "" for a key the class does not have.
  uint32_t Value(const char* key) const;
  const std::string& Name(const char* key) const;
  // <folder>\<name>.bmp for a bitmap named in the file; "" otherwise.
  std::string BitmapPath(const char* key) const;
};

// Reads the class from its per-class file (a missing key takes the file
// format's default: colour 0, number 0, no bitmap; a malformed colour keeps
// the built-in value). Returns false, with every value built in, when the
// path is empty or names no readable file.
bool ReadSkinClass(const SkinClassSpec& spec, const std::string& iniPath, SkinClassValues* out);
// Every value built in.
void FallbackSkinClass(const SkinClassSpec& spec, SkinClassValues* out);

// The process-wide set, refilled on each skin load.
class SkinClassSet {
 public:
  // Reads every class of kSkinClassSpecs from the skin file's
  // "configuration files". "global" is read only when "static" found its
  // file; without it, it takes its built-in values. Returns how many classes
  // found their file.
  int Load(const std::string& skinIni);
  const SkinClassValues* Find(const char* configKey) const;
  void Clear() { classes_.clear(); }

 private:
  std::map<std::string, SkinClassValues> classes_;
};

SkinClassSet& GetSkinClassSet();

}  // namespace shell
