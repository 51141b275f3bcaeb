#include "gui/anim_button_model.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gui/gui_memory.h"

namespace gui {

namespace {

// Copies the value after "k:" up to a blank or '}' into out.
const char* CopyValue(const char* p, char* out, size_t size) {
  size_t n = 0;
  while (*p && *p != ' ' && *p != '}') {
    if (n + 1 < size) out[n++] = *p;
    ++p;
  }
  out[n] = 0;
  return p;
}

}  // namespace

AnimCaption AnimParseCaption(const char* caption) {
  AnimCaption c;
  const char* p = caption ? std::strchr(caption, '{') : nullptr;
  if (!p) return c;
  long frames = 1, rate = 1;
  char value[kAnimPatternMax];
  while (*p && *p != '}') {
    if (*p == ' ' || *p == '{') {
      ++p;
      continue;
    }
    char key = *p;
    if (p[1] != ':') {  // no value: skip the key's word
      while (*p && *p != ' ' && *p != '}')
        ++p;
      continue;
    }
    p = CopyValue(p + 2, value, sizeof value);
    switch (key) {
      case '#':
        frames = std::atol(value);
        break;
      case 'r':
        rate = std::atol(value);
        break;
      case 'd':
        std::snprintf(c.dataName, sizeof c.dataName, "%s", value);
        break;
      case 'n':
        std::snprintf(c.pattern, sizeof c.pattern, "%s", value);
        break;
      default:
        break;
    }
  }
  c.frames = static_cast<int32_t>(frames < 1                  ? 1
                                  : frames > kAnimCacheFrames ? kAnimCacheFrames
                                                              : frames);
  c.rate = static_cast<int32_t>(rate < 1 ? 1 : rate > 1000 ? 1000 : rate);
  if (!AnimPatternValid(c.pattern)) c.pattern[0] = 0;
  return c;
}

bool AnimPatternValid(const char* pattern) {
  if (!pattern || !*pattern) return false;
  int conversions = 0;
  for (const char* p = pattern; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p == '0' || *p == '-' || *p == '+' || *p == ' ' || *p == '#')
      ++p;
    while (*p >= '0' && *p <= '9')
      ++p;
    if (!(*p == 'd' || *p == 'i' || *p == 'u' || *p == 'x' || *p == 'X')) return false;
    ++conversions;
  }
  return conversions == 1;
}

bool AnimFrameName(const char* pattern, int32_t frame, char* out, size_t size) {
  if (!AnimPatternValid(pattern) || !out || size == 0) return false;
  int n = std::snprintf(out, size, pattern, frame);
  return n > 0 && static_cast<size_t>(n) < size;
}

bool AnimSuffixName(const char* pattern, const char* suffix, char* out, size_t size) {
  if (!pattern || !*pattern || !out || size == 0) return false;
  const char* cut = std::strchr(pattern, '%');
  int keep = cut ? static_cast<int>(cut - pattern) : 0;
  int n = std::snprintf(out, size, "%.*s%s.bmp", keep, pattern, suffix);
  return n > 0 && static_cast<size_t>(n) < size;
}

bool AnimMaskHit(const PackedDIB* mask, int32_t x, int32_t y) {
  if (!mask || x < 0 || y < 0 || x >= DIBWidth(mask) || y >= DIBHeight(mask)) return false;
  int bpp = DIBBytesPerPixel(mask);
  if (bpp < 1) return false;
  const uint8_t* p = DIBBits(mask) + DIBPixelOffsetOf(mask, x, y);
  uint32_t key;
  switch (bpp) {
    case 1:
      return p[0] != 0;
    case 2:
      key = 0x7C1F;
      break;
    case 3:
      key = 0xFF00FF;
      break;
    default:
      key = 0xFFFFFF;
      break;
  }
  uint32_t v = 0;
  for (int i = 0; i < (bpp < 4 ? bpp : 3); ++i)
    v |= static_cast<uint32_t>(p[i]) << (8 * i);
  return v != key;
}

PackedDIB* AnimFrameCache::Get(const char* pattern, int32_t f, AnimFrameLoad load, void* ctx) {
  if (f < 0 || f >= kAnimCacheFrames || !pattern || !*pattern) return nullptr;
  Entry& e = entries_[f];
  if (e.image && std::strcmp(e.pattern, pattern) == 0) return e.image;
  char name[kAnimPatternMax + 16];
  if (!load || !AnimFrameName(pattern, f, name, sizeof name)) return nullptr;
  PackedDIB* image = load(name, ctx);
  if (!image) return nullptr;
  GlobalFreePtr(e.image);
  e.image = image;
  std::snprintf(e.pattern, sizeof e.pattern, "%s", pattern);
  return image;
}

PackedDIB* AnimFrameCache::Put(const char* pattern, int32_t f, PackedDIB* image) {
  if (f < 0 || f >= kAnimCacheFrames || !pattern || !image) {
    GlobalFreePtr(image);
    return nullptr;
  }
  Entry& e = entries_[f];
  if (e.image && std::strcmp(e.pattern, pattern) == 0) {
    if (e.image != image) GlobalFreePtr(image);
    return e.image;
  }
  GlobalFreePtr(e.image);
  e.image = image;
  std::snprintf(e.pattern, sizeof e.pattern, "%s", pattern);
  return image;
}

PackedDIB* AnimFrameCache::Take(const char* pattern, int32_t f) {
  if (f < 0 || f >= kAnimCacheFrames || !pattern) return nullptr;
  Entry& e = entries_[f];
  if (!e.image || std::strcmp(e.pattern, pattern) != 0) return nullptr;
  PackedDIB* image = e.image;
  e.image = nullptr;
  e.pattern[0] = 0;
  return image;
}

void AnimFrameCache::Release(const char* pattern) {
  if (!pattern) return;
  for (Entry& e : entries_)
    if (e.image && std::strcmp(e.pattern, pattern) == 0) {
      GlobalFreePtr(e.image);
      e = Entry{};
    }
}

void AnimFrameCache::Clear() {
  for (Entry& e : entries_) {
    GlobalFreePtr(e.image);
    e = Entry{};
  }
}

int AnimFrameCache::Count() const {
  int n = 0;
  for (const Entry& e : entries_)
    if (e.image) ++n;
  return n;
}

}  // namespace gui
