// The sprite engine's state: images, frames, sprites and the dirty list.
// Composition, redraw and wipes are in Animate_compose.cpp.
//
// Differences from the engine this follows: a full dirty list merges a new
// rectangle into the entry it grows least instead of dropping it, so no
// area stays stale; frames must lie inside their image, so composition
// never reads past it.
#include "gui/Animate.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "gui/gui_memory.h"

namespace gui {
namespace Animate {

namespace {

int32_t g_mergeSlack = 3000;

bool SpriteOk(AnimateEngine* e, int sprite) {
  return e && sprite >= 0 && sprite < kAnimSprites && e->sprites[sprite].inUse;
}

bool FrameOk(AnimateEngine* e, int frame) {
  return e && frame >= 0 && frame < kAnimFrames && e->frames[frame].inUse;
}

bool SlotOk(AnimateEngine* e, int slot) {
  return e && slot >= 0 && slot < kAnimImages && slot < std::max(e->imageCount, 0) &&
         e->images[slot];
}

bool InsideImage(const PackedDIB* image, int32_t x, int32_t y, int32_t w, int32_t h) {
  return image && x >= 0 && y >= 0 && w >= 0 && h >= 0 &&
         static_cast<int64_t>(x) + w <= image->biWidth &&
         static_cast<int64_t>(y) + h <= DIBHeight(image);
}

int64_t Area(const DibRect& r) {
  return (static_cast<int64_t>(r.bottom) - r.top) * (static_cast<int64_t>(r.right) - r.left);
}

}  // namespace

// --- Engine ---

AnimateEngine* Create(void* window) {
  auto* e = static_cast<AnimateEngine*>(GlobalAllocPtr(sizeof(AnimateEngine)));
  if (!e) return nullptr;
  e->mode = 1;
  e->window = window;
  e->sortByDepth = 1;
  e->frames = static_cast<AnimFrame*>(GlobalAllocPtr(sizeof(AnimFrame) * kAnimFrames));
  e->sprites = static_cast<AnimSprite*>(GlobalAllocPtr(sizeof(AnimSprite) * kAnimSprites));
  if (!e->frames || !e->sprites) {
    if (!e->sprites) std::fprintf(stderr, "Allocate SpriteArray FAILED!\n");
    GlobalFreePtr(e->frames);
    GlobalFreePtr(e->sprites);
    GlobalFreePtr(e);
    return nullptr;
  }
  return e;
}

void Destroy(AnimateEngine* e) {
  if (!e) return;
  CanvasDestroy(&e->canvas);
  GlobalFreePtr(e->sprites);
  GlobalFreePtr(e->frames);
  GlobalFreePtr(e);
}

int SetSize(AnimateEngine* e, int32_t width, int32_t height) {
  if (!e) return 1;
  ClearDirty(e);
  e->clip = {0, 0, width - 1, height - 1};
  return CanvasSetSize(e->mode, &e->canvas, width, height) ? 1 : 0;
}

int SetPalette(AnimateEngine* e, const RgbQuad* quads, int count) {
  if (!e || !quads) return 0;
  count = std::max(0, std::min(count, 256));
  for (int i = 0; i < count; ++i) {
    e->canvas.colors[i] = quads[i];
    e->canvas.colors16[i] = static_cast<uint16_t>(
        ((quads[i].red & 0xF8) << 7) | ((quads[i].green & 0xF8) << 2) | (quads[i].blue >> 3));
  }
  return 0;
}

int GetVersion() { return 800; }

void GetVersionString(char* buffer, size_t size) {
  if (buffer && size) std::snprintf(buffer, size, "%d.%02d.%02d", 8, 0, 1);
}

int SetShowUpdates(AnimateEngine* e, int value) { return e ? (e->showUpdates = value) : 0; }
int SetPaletteBlit(AnimateEngine* e, int value) { return e ? (e->paletteBlit = value) : 0; }
int SetSortByDepth(AnimateEngine* e, int value) { return e ? (e->sortByDepth = value) : 0; }
void SetMergeSlack(int32_t value) { g_mergeSlack = value; }
int32_t GetMergeSlack() { return g_mergeSlack; }

// --- Images ---

int FindFreeImageSlot(AnimateEngine* e) {
  if (!e) return -1;
  for (int i = 0; i < kAnimImages; ++i)
    if (!e->images[i]) return i;
  return -1;
}

int AllocImageSlot(AnimateEngine* e) {
  if (!e || e->imageCount >= kAnimImages) return -1;
  int slot = FindFreeImageSlot(e);
  if (slot >= 0) ++e->imageCount;
  return slot;
}

int AddImage(AnimateEngine* e, PackedDIB* dib) {
  int slot = AllocImageSlot(e);
  if (slot >= 0) e->images[slot] = dib;
  return slot;
}

int LoadImageFile(AnimateEngine* e, const char* path) {
  PackedDIB* dib = ReadDIBFile(path);
  if (!dib) return -1;
  int slot = AddImage(e, dib);
  if (slot < 0) GlobalFreePtr(dib);
  return slot;
}

int SetImage(AnimateEngine* e, int slot, PackedDIB* dib) {
  if (slot < 0) return slot;
  if (!e || slot >= kAnimImages) return -1;
  e->images[slot] = dib;
  return slot;
}

int RemoveImage(AnimateEngine* e, int slot) {
  if (!e || slot < 0 || slot >= kAnimImages) return -1;
  if (e->images[slot] && e->imageCount > 0) --e->imageCount;
  e->images[slot] = nullptr;
  return 0;
}

int FreeImage(AnimateEngine* e, int slot) {
  if (!e || slot < 0 || slot >= kAnimImages) return -1;
  PackedDIB* dib = e->images[slot];
  RemoveImage(e, slot);
  GlobalFreePtr(dib);
  return 0;
}

// --- Frames ---

int FindFreeFrame(AnimateEngine* e) {
  if (!e) return -1;
  for (int i = 0; i < kAnimFrames; ++i)
    if (!e->frames[i].inUse) return i;
  return -1;
}

int AllocFrame(AnimateEngine* e) {
  if (!e || e->frameCount >= kAnimFrames) return -1;
  int f = FindFreeFrame(e);
  if (f < 0) return -1;
  e->frames[f] = AnimFrame{1, 0, 0, 0, 0, nullptr};
  ++e->frameCount;
  return f;
}

int DefineFrame(AnimateEngine* e, int slot, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (!SlotOk(e, slot) || !InsideImage(e->images[slot], x, y, width, height)) return -1;
  int f = AllocFrame(e);
  if (f >= 0) e->frames[f] = AnimFrame{1, x, y, width, height, e->images[slot]};
  return f;
}

int DefineFrameFromImage(AnimateEngine* e, PackedDIB* dib) {
  int f = AllocFrame(e);
  if (f >= 0 && dib) e->frames[f] = AnimFrame{1, 0, 0, dib->biWidth, DIBHeight(dib), dib};
  return f;
}

int RedefineFrame(AnimateEngine* e, int slot, int frame, int32_t x, int32_t y, int32_t width,
                  int32_t height) {
  if (!FrameOk(e, frame) || !SlotOk(e, slot)) return -1;
  if (!InsideImage(e->images[slot], x, y, width, height)) return -1;
  e->frames[frame] = AnimFrame{1, x, y, width, height, e->images[slot]};
  return frame;
}

int FreeFrame(AnimateEngine* e, int frame) {
  if (!e || frame < 0 || frame >= kAnimFrames || e->frameCount <= 0) return -2;
  if (!e->frames[frame].inUse) return -1;
  e->frames[frame] = AnimFrame{};
  --e->frameCount;
  return 0;
}

PackedDIB* GetFrameImage(AnimateEngine* e, int frame) {
  return FrameOk(e, frame) ? e->frames[frame].image : nullptr;
}

int GetFrameSize(AnimateEngine* e, int frame, int32_t* width, int32_t* height) {
  if (!FrameOk(e, frame)) return 0;
  if (width) *width = e->frames[frame].width;
  if (height) *height = e->frames[frame].height;
  return 1;
}

// --- Sprites ---

int FindFreeSprite(AnimateEngine* e) {
  if (!e) return -1;
  for (int i = 0; i < kAnimSprites; ++i)
    if (!e->sprites[i].inUse) return i;
  return -1;
}

int AllocSprite(AnimateEngine* e) {
  if (!e || e->spriteCount >= kAnimSprites) return -1;
  int i = FindFreeSprite(e);
  if (i < 0) return -1;
  AnimSprite& s = e->sprites[i];
  s = AnimSprite{};
  s.inUse = 1;
  s.step = -1;
  s.frame = -1;
  RectSetEmpty(&s.rect);
  RectSetEmpty(&s.prevRect);
  ++e->spriteCount;
  return i;
}

int FreeSprite(AnimateEngine* e, int sprite) {
  if (!e || sprite < 0 || sprite >= kAnimSprites || e->spriteCount <= 0) return -2;
  if (!e->sprites[sprite].inUse) return -1;
  e->sprites[sprite] = AnimSprite{};
  --e->spriteCount;
  return 0;
}

int SetSpriteFrame(AnimateEngine* e, int sprite, int frame) {
  if (!SpriteOk(e, sprite) || !FrameOk(e, frame)) return 0;
  AnimSprite& s = e->sprites[sprite];
  s.frame = frame;
  s.stipple = 0;
  s.fill = 0;
  s.step = -1;
  return 1;
}

void ComputeSpriteRect(AnimateEngine* e, AnimSprite* s, int anchor) {
  int32_t w = 0, h = 0;
  if (FrameOk(e, s->frame)) {
    w = e->frames[s->frame].width;
    h = e->frames[s->frame].height;
  }
  int32_t left = s->x, top = s->y;
  if (anchor == 0) {
    left = s->x - w / 2;
    top = s->y - h / 2;
  } else if (anchor == 1) {
    left = s->x - w / 2;
    top = s->y - (h - w / 4);
  }
  s->rect = {left, top, left + w - 1, top + h - 1};
}

namespace {
void Invalidate(AnimateEngine* e, DibRect r) { InvalidateRect(e, &r); }
}  // namespace

int MoveSprite(AnimateEngine* e, int sprite, int32_t x, int32_t y, int32_t depth, int anchor) {
  if (!SpriteOk(e, sprite)) return 0;
  AnimSprite& s = e->sprites[sprite];
  s.x = x;
  s.y = y;
  s.depth = depth;
  if (s.visible) {
    s.prevRect = s.rect;
    ComputeSpriteRect(e, &s, anchor);
    DibRect both;
    if (RectIntersect(&both, s.rect, s.prevRect)) {
      RectUnion(&both, s.rect, s.prevRect);
      Invalidate(e, both);
    } else {
      Invalidate(e, s.prevRect);
      Invalidate(e, s.rect);
    }
  } else {
    ComputeSpriteRect(e, &s, anchor);
    s.visible = 1;
    Invalidate(e, s.rect);
  }
  return 1;
}

int PlaceSprite(AnimateEngine* e, int sprite, int32_t x, int32_t y, int32_t depth, int anchor) {
  if (!SpriteOk(e, sprite)) return 0;
  AnimSprite& s = e->sprites[sprite];
  s.x = x;
  s.y = y;
  s.depth = depth;
  ComputeSpriteRect(e, &s, anchor);
  return 1;
}

int HideSprite(AnimateEngine* e, int sprite) {
  if (!SpriteOk(e, sprite) || !e->sprites[sprite].visible) return 0;
  e->sprites[sprite].visible = 0;
  Invalidate(e, e->sprites[sprite].rect);
  return 1;
}

int ShowSprite(AnimateEngine* e, int sprite) {
  if (!SpriteOk(e, sprite) || e->sprites[sprite].visible) return 0;
  e->sprites[sprite].visible = 1;
  Invalidate(e, e->sprites[sprite].rect);
  return 1;
}

int SetSpriteVisible(AnimateEngine* e, int sprite, int visible) {
  if (!SpriteOk(e, sprite)) return 0;
  e->sprites[sprite].visible = visible ? 1 : 0;
  return 1;
}

int IsSpriteVisible(AnimateEngine* e, int sprite) {
  return SpriteOk(e, sprite) && e->sprites[sprite].visible ? 1 : 0;
}

int SetSpriteStipple(AnimateEngine* e, int sprite, int flag, uint8_t fill) {
  if (!SpriteOk(e, sprite)) return 0;
  e->sprites[sprite].stipple = flag ? 1 : 0;
  e->sprites[sprite].fill = fill;
  return 1;
}

int ClearSpriteStipple(AnimateEngine* e, int sprite) { return SetSpriteStipple(e, sprite, 0, 0); }

int GetSpritePosition(AnimateEngine* e, int sprite, int32_t* x, int32_t* y, int32_t* depth) {
  if (!SpriteOk(e, sprite)) return 0;
  if (x) *x = e->sprites[sprite].x;
  if (y) *y = e->sprites[sprite].y;
  if (depth) *depth = e->sprites[sprite].depth;
  return 1;
}

int GetSpriteRect(AnimateEngine* e, DibRect* out, int sprite) {
  if (!SpriteOk(e, sprite) || !out) return 0;
  *out = e->sprites[sprite].rect;
  return 1;
}

int GetSpriteCount(AnimateEngine* e) { return e ? e->spriteCount : 0; }

int HitTest(AnimateEngine* e, int32_t x, int32_t y, int* sprite) {
  int best = -1;
  if (e) {
    for (int i = 0; i < kAnimSprites; ++i) {
      const AnimSprite& s = e->sprites[i];
      if (!s.inUse || !s.visible || !FrameOk(e, s.frame)) continue;
      if (x < s.rect.left || x >= s.rect.right || y < s.rect.top || y >= s.rect.bottom) continue;
      if (s.depth >= kAnimNoPick) continue;
      const AnimFrame& f = e->frames[s.frame];
      if (!f.image) continue;
      const uint8_t* p = DIBPixelPtr(f.image, f.x + x - s.rect.left, f.y + y - s.rect.top);
      if (!p) continue;
      uint32_t value = 0;
      for (int k = 0; k < std::min(DIBBytesPerPixel(f.image), 3); ++k)
        value |= static_cast<uint32_t>(p[k]) << (8 * k);
      // 24-bit keys are COLORREFs (red low); pixels are stored blue first.
      if (f.image->biBitCount >= 24)
        value = ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
      if (value == CanvasKeyFor(f.image->biBitCount)) continue;
      if (best < 0 || s.depth < e->sprites[best].depth) best = i;
    }
  }
  if (sprite) *sprite = best;
  return best >= 0 ? 1 : 0;
}

// --- Dirty list ---

bool RectIsEmpty(const DibRect& r) { return r.left > r.right || r.top > r.bottom; }
void RectSetEmpty(DibRect* r) { *r = {0, 0, -1, -1}; }

bool RectIntersect(DibRect* out, const DibRect& a, const DibRect& b) {
  DibRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
  if (out) *out = r;
  return !RectIsEmpty(r);
}

void RectUnion(DibRect* out, const DibRect& a, const DibRect& b) {
  *out = {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

int RectCompact(DibRect* rects, int count) {
  for (int i = 0; i < count;) {
    if (RectIsEmpty(rects[i])) {
      rects[i] = rects[--count];
    } else {
      ++i;
    }
  }
  return count;
}

void RectToExclusive(DibRect* r) {
  ++r->right;
  ++r->bottom;
}
void RectToInclusive(DibRect* r) {
  --r->right;
  --r->bottom;
}

bool RectsMergeable(const DibRect& a, const DibRect& b) {
  DibRect u;
  RectUnion(&u, a, b);
  int64_t A = Area(a), B = Area(b), U = Area(u);
  if (g_mergeSlack >= 0) return U < A + B + g_mergeSlack;
  return static_cast<double>(U) < 1.2 * static_cast<double>(A + B);
}

void AddDirtyRect(AnimateEngine* e, const DibRect& r) {
  if (!e) return;
  for (int i = 0; i < e->dirtyCount; ++i) {
    if (RectsMergeable(e->dirty[i], r)) {
      RectUnion(&e->dirty[i], e->dirty[i], r);
      return;
    }
  }
  if (e->dirtyCount < kAnimDirty) {
    e->dirty[e->dirtyCount++] = r;
    return;
  }
  // Full: grow the entry that grows least, so the area is still redrawn.
  int best = 0;
  int64_t bestGrowth = INT64_MAX;
  for (int i = 0; i < e->dirtyCount; ++i) {
    DibRect u;
    RectUnion(&u, e->dirty[i], r);
    int64_t growth = Area(u) - Area(e->dirty[i]);
    if (growth < bestGrowth) {
      bestGrowth = growth;
      best = i;
    }
  }
  RectUnion(&e->dirty[best], e->dirty[best], r);
}

int InvalidateRect(AnimateEngine* e, DibRect* r) {
  if (!e || !r) return 0;
  RectIntersect(r, *r, e->clip);
  if (RectIsEmpty(*r)) return 0;
  AddDirtyRect(e, *r);
  return 1;
}

void ClearDirty(AnimateEngine* e) {
  if (!e) return;
  std::memset(e->dirty, 0, sizeof e->dirty);
  e->dirtyCount = 0;
}

void ClampRectIntoClip(AnimateEngine* e, DibRect* r) {
  if (!e || !r) return;
  if (r->left < 0) {
    r->right -= r->left;
    r->left = 0;
  }
  if (r->top < 0) {
    r->bottom -= r->top;
    r->top = 0;
  }
  if (r->right > e->clip.right) {
    r->left -= r->right - e->clip.right;
    r->right = e->clip.right;
  }
  if (r->bottom > e->clip.bottom) {
    r->top -= r->bottom - e->clip.bottom;
    r->bottom = e->clip.bottom;
  }
}

}  // namespace Animate
}  // namespace gui
