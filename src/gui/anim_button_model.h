#pragma once
// The animated button's data side: its caption markup, its image names, the
// mask test and the process-wide frame cache. Portable; the window side
// (win32/anim_button.cpp) locks the cache and loads through the installed
// archive functions.
#include <cstdint>

#include "gui/utils.h"

namespace gui {

constexpr int kAnimCacheFrames = 40;
constexpr int kAnimPatternMax = 64;

struct AnimCaption {
  int32_t frames = 1;  // 1..kAnimCacheFrames
  int32_t rate = 1;    // frames per second, 1..1000
  char dataName[64] = {};
  char pattern[kAnimPatternMax] = {};  // a printf pattern with one integer
};

// Reads "{... d:name n:pattern #:count r:rate}" from the first '{'. Counts
// outside 1..40, a rate below 1 and patterns that are not exactly one integer
// conversion are brought back into bounds (count and rate) or emptied
// (pattern), so a caption can neither overrun the cache nor divide by zero.
AnimCaption AnimParseCaption(const char* caption);
// True for a pattern with exactly one integer conversion (%d, %i, %u, %x, with
// flags and width) and no other conversion ("%%" is allowed).
bool AnimPatternValid(const char* pattern);
// The name of frame f ("Conundrum%02d.bmp", 7 -> "Conundrum07.bmp"); false
// when the pattern is invalid or the name does not fit.
bool AnimFrameName(const char* pattern, int32_t frame, char* out, size_t size);
// The pattern cut at its first '%' (whole when it has none) plus the suffix
// and ".bmp": ("Conundrum%02d.bmp", "_off") -> "Conundrum_off.bmp".
bool AnimSuffixName(const char* pattern, const char* suffix, char* out, size_t size);

// True when (x, y) lies on an opaque pixel of the mask: inside it and not of
// its depth's key colour (index 0, 0x7C1F, 0xFF00FF, 0xFFFFFF by depth).
bool AnimMaskHit(const PackedDIB* mask, int32_t x, int32_t y);

// Shared frames, entry f holding frame f of one pattern. Entries are keyed by
// the whole pattern text, so two patterns never share a frame. The cache
// owns the images it holds and frees each exactly once.
using AnimFrameLoad = PackedDIB* (*)(const char* name, void* context);
class AnimFrameCache {
 public:
  ~AnimFrameCache() { Clear(); }
  // Frame f of the pattern: the cached one, else loaded (and cached). Null
  // for f outside the cache or when the load fails.
  PackedDIB* Get(const char* pattern, int32_t f, AnimFrameLoad load, void* context);
  // Hands an image the caller owns to entry f (an animating button's current
  // frame). When the entry already holds this pattern's frame the handed
  // image is freed and the cached one kept; a frame of another pattern there
  // is freed. Returns the image now in the entry.
  PackedDIB* Put(const char* pattern, int32_t f, PackedDIB* image);
  // Takes entry f's image back for the caller to own (null when the entry
  // holds another pattern's frame or nothing).
  PackedDIB* Take(const char* pattern, int32_t f);
  // Frees every frame of the pattern (a button of it is destroyed).
  void Release(const char* pattern);
  void Clear();
  int Count() const;

 private:
  struct Entry {
    char pattern[kAnimPatternMax] = {};
    PackedDIB* image = nullptr;
  };
  Entry entries_[kAnimCacheFrames];
};

}  // namespace gui
