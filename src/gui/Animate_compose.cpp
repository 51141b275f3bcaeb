// The sprite engine's composition: sprites in depth order with the layer
// functions between them, the redraw of the dirty list, and the wipes.
// A wipe's strips are cut to its area, so a wipe never draws outside it.
#include <algorithm>
#include <cstring>

#include "gui/Animate.h"

namespace gui {
namespace Animate {

namespace {

// The drawing order of the composition under way (the interface thread's).
int g_order[kAnimSprites];
int g_orderCount = 0;

void RunLayers(AnimateEngine* e, Canvas* c, const DibRect& area, int32_t high, int32_t low) {
  for (int i = 0; i < e->layerCount; ++i) {
    const AnimLayer& l = e->layers[i];
    if (l.lower <= high && l.upper >= low)
      CallLayer(area, l.user, c, l.fn, std::min(high, l.upper), std::max(low, l.lower));
  }
}

void DrawSprite(AnimateEngine* e, Canvas* c, const AnimSprite& s, int32_t areaLeft,
                int32_t areaTop) {
  const AnimFrame& f = e->frames[s.frame];
  PackedDIB* image = f.image;
  if (!image || s.width <= 0 || s.height <= 0) return;
  const uint8_t* src = DIBPixelPtr(image, f.x + s.srcX, f.y + s.srcY);
  if (!src) return;
  ptrdiff_t down = image->biHeight < 0 ? static_cast<ptrdiff_t>(DIBStride(image))
                                       : -static_cast<ptrdiff_t>(DIBStride(image));
  int x = areaLeft + s.dstX, y = areaTop + s.dstY;
  if (s.stipple)
    CanvasStippleCopy(c, src, s.width, s.height, down, x, y, 1, s.fill, image->biBitCount);
  else
    CanvasKeyCopy(c, src, s.width, s.height, down, x, y, image->biBitCount);
}

}  // namespace

void CallLayer(const DibRect& a, intptr_t user, Canvas* c, AnimLayerFn fn, int32_t upper,
               int32_t lower) {
  if (fn && c) fn(c->dc, &c->header, c->bits, upper, lower, a.left, a.top, a.right, a.bottom, user);
}

void Compose(AnimateEngine* e, int32_t left, int32_t top, int32_t right, int32_t bottom, Canvas* c,
             int32_t lower, int32_t upper, int32_t xOffset, int32_t yOffset) {
  if (!e || !c) return;
  DibRect area{left, top, right, bottom};
  // Never compose outside the surface.
  DibRect surface{xOffset, yOffset, xOffset + c->width - 1, yOffset + c->height - 1};
  if (!RectIntersect(&area, area, surface)) return;
  g_orderCount = 0;
  for (int i = 0; i < kAnimSprites; ++i) {
    AnimSprite& s = e->sprites[i];
    if (!s.inUse || !s.visible || s.depth < lower || s.depth > upper) continue;
    if (s.frame < 0 || s.frame >= kAnimFrames || !e->frames[s.frame].inUse) continue;
    DibRect in;
    if (!RectIntersect(&in, s.rect, area)) continue;
    s.srcX = in.left - s.rect.left;
    s.srcY = in.top - s.rect.top;
    s.dstX = in.left - area.left;
    s.dstY = in.top - area.top;
    s.width = in.right - in.left + 1;
    s.height = in.bottom - in.top + 1;
    int at = g_orderCount;
    if (e->sortByDepth)
      for (int k = 0; k < g_orderCount; ++k)
        if (e->sprites[g_order[k]].depth < s.depth) {
          at = k;
          break;
        }
    std::memmove(g_order + at + 1, g_order + at, sizeof(int) * (g_orderCount - at));
    g_order[at] = i;
    ++g_orderCount;
  }
  int32_t areaLeft = area.left - xOffset, areaTop = area.top - yOffset;
  DibRect layerArea{areaLeft, areaTop, area.right - xOffset + 1, area.bottom - yOffset + 1};
  int32_t current = upper;
  for (int k = 0; k < g_orderCount; ++k) {
    const AnimSprite& s = e->sprites[g_order[k]];
    RunLayers(e, c, layerArea, current, s.depth);
    current = s.depth;
    DrawSprite(e, c, s, areaLeft, areaTop);
  }
  RunLayers(e, c, layerArea, current, 0);
}

namespace {

int BlitFlags(AnimateEngine* e) { return e->paletteBlit ? 3 : 0; }
const RgbQuad* BlitTable(AnimateEngine* e) {
  return e->paletteBlit ? (e->blitTable ? e->blitTable : e->canvas.colors) : nullptr;
}

}  // namespace

void DrawFocusRects(AnimateEngine* e, void* dc) {
  if (!e) return;
  if (e->showUpdates && e->dirtyCount > 0) {
    for (int i = 0; i < e->focusCount; ++i)
      CanvasDrawFocusRect(dc, &e->focus[i]);
    e->focusCount = 0;
  }
  for (int i = 0; i < e->dirtyCount; ++i) {
    const DibRect& r = e->dirty[i];
    Compose(e, r.left, r.top, r.right, r.bottom, &e->canvas, 0, kAnimFarthest, 0, 0);
    CanvasBlt(dc, &r, &e->canvas, BlitFlags(e), BlitTable(e));
  }
  if (e->showUpdates) {
    e->focusCount = std::min(e->dirtyCount, kAnimFocusRects);
    for (int i = 0; i < e->focusCount; ++i) {
      e->focus[i] = e->dirty[i];
      CanvasDrawFocusRect(dc, &e->focus[i]);
    }
  }
  ClearDirty(e);
}

void RedrawRect(AnimateEngine* e, void* dc, const DibRect* r) {
  if (!e || !r) return;
  Compose(e, r->left, r->top, r->right, r->bottom, &e->canvas, 0, kAnimFarthest, 0, 0);
  CanvasBlt(dc, r, &e->canvas, BlitFlags(e), BlitTable(e));
}

void BltOffset(AnimateEngine* e, void* dc, Canvas* c, const DibRect* r, int32_t xOffset,
               int32_t yOffset) {
  if (!e || !c || !r) return;
  DibRect moved{r->left + xOffset, r->top + yOffset, r->right + xOffset, r->bottom + yOffset};
  CanvasBlt(dc, &moved, c, BlitFlags(e), BlitTable(e));
}

void StretchToDC(AnimateEngine* e, void* dc, Canvas* c, const DibRect* r, int scale) {
  if (!e || !c || !r) return;
  CanvasStretchBlt(dc, r, c, scale, BlitFlags(e), BlitTable(e));
}

int WipeStrips(const DibRect& area, int kind, AnimStripFn fn, void* arg) {
  if (RectIsEmpty(area)) return 0;
  int count = 0;
  auto emit = [&](DibRect strip) {
    if (RectIntersect(&strip, strip, area)) {
      if (fn) fn(strip, arg);
      ++count;
    }
  };
  int32_t l = area.left, t = area.top, r = area.right, b = area.bottom;
  switch (kind) {
    case kWipeDown:
      for (b = t + 5; area.bottom > b; t += 5, b += 5)
        emit({l, t, r, b});
      emit({l, t, r, area.bottom});
      break;
    case kWipeUp:
      for (t = b - 5; area.top < t; t -= 5, b -= 5)
        emit({l, t, r, b});
      emit({l, area.top, r, b});
      break;
    case kWipeRight:
      for (r = l + 5; area.right > r; l += 5, r += 5)
        emit({l, t, r, b});
      emit({l, t, area.right, b});
      break;
    default:
      for (l = r - 5; area.left < l; l -= 5, r -= 5)
        emit({l, t, r, b});
      emit({area.left, t, r, b});
      break;
  }
  return count;
}

namespace {
struct WipeRun {
  AnimateEngine* e;
  void* dc;
};

void WipeStep(const DibRect& s, void* arg) {
  auto* run = static_cast<WipeRun*>(arg);
  AnimateEngine* e = run->e;
  e->wipeStart = CanvasTimeMs();
  Compose(e, s.left, s.top, s.right, s.bottom, &e->canvas, 0, 0, 0, 0);
  CanvasBlt(run->dc, &s, &e->canvas, BlitFlags(e), BlitTable(e));
  while (CanvasTimeMs() - e->wipeStart < 25) {
  }
}
}  // namespace

void Wipe(AnimateEngine* e, void* dc, int kind) {
  if (!e) return;
  if (e->dirtyCount > 0) {
    WipeRun run{e, dc};
    WipeStrips(e->dirty[0], kind, WipeStep, &run);
  }
  ClearDirty(e);
}

int AddLayer(AnimateEngine* e, AnimLayerFn fn, int32_t upper, int32_t lower, intptr_t user) {
  if (!e) return 9;
  if (upper < lower) return 10;
  if (e->layerCount >= kAnimLayers) return 8;
  e->layers[e->layerCount++] = AnimLayer{fn, upper, lower, user};
  return 0;
}

int RemoveLayer(AnimateEngine* e, AnimLayerFn fn, int32_t upper, int32_t lower) {
  if (!e || e->layerCount <= 0) return 9;
  bool removed = false;
  for (int i = 0; i < e->layerCount;) {
    const AnimLayer& l = e->layers[i];
    if (l.fn == fn && l.upper == upper && l.lower == lower) {
      std::memmove(e->layers + i, e->layers + i + 1, sizeof(AnimLayer) * (e->layerCount - i - 1));
      --e->layerCount;
      removed = true;
    } else {
      ++i;
    }
  }
  return removed ? 0 : 9;
}

int ClearLayers(AnimateEngine* e) {
  if (e) e->layerCount = 0;
  return 0;
}

int CallSurfaceHook(AnimateEngine* e, void* dc, const AnimSurfaceHook* hook, intptr_t a,
                    intptr_t b) {
  if (!e || !hook || !hook->fn) return 0;
  AnimSurfaceBlock block{};
  Canvas& c = e->canvas;
  block.width = c.width;
  block.height = c.height;
  block.firstRow = CanvasPixel(&c, 0, 0);
  block.rowStride = CanvasRowStep(&c);
  block.bytesPerPixel = c.header.biBitCount / 8;
  block.dirty = e->dirty;
  block.dirtyCount = e->dirtyCount;
  block.clip = e->clip;
  block.dc = dc;
  block.a = a;
  block.b = b;
  if (hook->flags & 2) {
    block.flags |= 4;
    block.palette = c.palette;
  }
  return hook->fn(&block);
}

}  // namespace Animate
}  // namespace gui
