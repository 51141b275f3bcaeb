#pragma once
// The sprite engine: a window's animated scene as sprites that each show a
// frame (a rectangle of an image) at a position and a depth (0 nearest,
// 32767 farthest). Every change adds the rectangles it touches to a dirty
// list; a redraw composes only those into the engine's canvas, sprites from
// far to near with the layer functions between them, and copies them to the
// window. Rectangles are inclusive.
#include <cstdint>

#include "gui/Canvas.h"
#include "gui/utils.h"

namespace gui {

constexpr int kAnimSprites = 512;
constexpr int kAnimFrames = 256;
constexpr int kAnimImages = 16;
constexpr int kAnimDirty = 256;
constexpr int kAnimFocusRects = 20;
constexpr int kAnimLayers = 50;
constexpr int32_t kAnimFarthest = 32767;
constexpr int32_t kAnimNoPick = 32000;  // hit tests never pick depths from here on

struct AnimFrame {
  uint32_t inUse;
  int32_t x, y, width, height;  // within the image, y from the top
  PackedDIB* image;
};

struct AnimSprite {
  int32_t x, y;
  int32_t depth;
  int32_t step;
  uint32_t visible, inUse, stipple;
  int32_t srcX, width, srcY, height, dstX, dstY;  // of the last composition
  DibRect rect, prevRect;
  int32_t frame;
  uint8_t fill;
};

// Draws a depth slice of an area into the canvas: (memory DC, header, bits,
// upper, lower, left, top, right, bottom (right and bottom exclusive), user).
using AnimLayerFn = void (*)(void* dc, const DibInfoHeader* header, uint8_t* bits, int32_t upper,
                             int32_t lower, int32_t left, int32_t top, int32_t right,
                             int32_t bottom, intptr_t user);

struct AnimLayer {
  AnimLayerFn fn;
  int32_t upper, lower;
  intptr_t user;
};

struct AnimateEngine {
  void* window;
  AnimSprite* sprites;
  int32_t spriteCount;
  int32_t sortByDepth;
  AnimFrame* frames;
  int32_t frameCount;
  DibRect dirty[kAnimDirty];
  int32_t dirtyCount;
  PackedDIB* images[kAnimImages];
  int32_t imageCount;
  Canvas canvas;
  DibRect clip;
  int32_t showUpdates, paletteBlit;
  DibRect focus[kAnimFocusRects];
  int32_t focusCount;
  uint32_t wipeStart;
  AnimLayer layers[kAnimLayers];
  int32_t layerCount;
  int32_t mode;
  const RgbQuad* blitTable;
};

// Surface hook (CallSurfaceHook).
struct AnimSurfaceBlock {
  uint32_t flags;
  int32_t width, height;
  uint8_t* firstRow;
  ptrdiff_t rowStride;  // negative for a bottom-up surface
  int32_t bytesPerPixel;
  const DibRect* dirty;
  int32_t dirtyCount;
  DibRect clip;
  void* dc;
  void* palette;
  intptr_t a, b;
};
struct AnimSurfaceHook {
  uint32_t flags;  // 2: pass the palette
  int (*fn)(AnimSurfaceBlock* block);
};

namespace Animate {

AnimateEngine* Create(void* window);
void Destroy(AnimateEngine* e);
int SetSize(AnimateEngine* e, int32_t width, int32_t height);
int SetPalette(AnimateEngine* e, const RgbQuad* quads, int count);
int GetVersion();
void GetVersionString(char* buffer, size_t size);
int SetShowUpdates(AnimateEngine* e, int value);
int SetPaletteBlit(AnimateEngine* e, int value);
int SetSortByDepth(AnimateEngine* e, int value);
void SetMergeSlack(int32_t value);
int32_t GetMergeSlack();

// Images.
int AllocImageSlot(AnimateEngine* e);
int AddImage(AnimateEngine* e, PackedDIB* dib);
int LoadImageFile(AnimateEngine* e, const char* path);
int SetImage(AnimateEngine* e, int slot, PackedDIB* dib);
int RemoveImage(AnimateEngine* e, int slot);
int FreeImage(AnimateEngine* e, int slot);
int FindFreeImageSlot(AnimateEngine* e);

// Frames. A frame must lie inside its image.
int AllocFrame(AnimateEngine* e);
int DefineFrame(AnimateEngine* e, int slot, int32_t x, int32_t y, int32_t width, int32_t height);
int DefineFrameFromImage(AnimateEngine* e, PackedDIB* dib);
int RedefineFrame(AnimateEngine* e, int slot, int frame, int32_t x, int32_t y, int32_t width,
                  int32_t height);
int FreeFrame(AnimateEngine* e, int frame);
int FindFreeFrame(AnimateEngine* e);
PackedDIB* GetFrameImage(AnimateEngine* e, int frame);
int GetFrameSize(AnimateEngine* e, int frame, int32_t* width, int32_t* height);

// Sprites.
int AllocSprite(AnimateEngine* e);
int FreeSprite(AnimateEngine* e, int sprite);
int SetSpriteFrame(AnimateEngine* e, int sprite, int frame);
void ComputeSpriteRect(AnimateEngine* e, AnimSprite* s, int anchor);
int MoveSprite(AnimateEngine* e, int sprite, int32_t x, int32_t y, int32_t depth, int anchor);
int PlaceSprite(AnimateEngine* e, int sprite, int32_t x, int32_t y, int32_t depth, int anchor);
int HideSprite(AnimateEngine* e, int sprite);
int ShowSprite(AnimateEngine* e, int sprite);
int SetSpriteVisible(AnimateEngine* e, int sprite, int visible);
int IsSpriteVisible(AnimateEngine* e, int sprite);
int SetSpriteStipple(AnimateEngine* e, int sprite, int flag, uint8_t fill);
int ClearSpriteStipple(AnimateEngine* e, int sprite);
int GetSpritePosition(AnimateEngine* e, int sprite, int32_t* x, int32_t* y, int32_t* depth);
int GetSpriteRect(AnimateEngine* e, DibRect* out, int sprite);
int GetSpriteCount(AnimateEngine* e);
int FindFreeSprite(AnimateEngine* e);
int HitTest(AnimateEngine* e, int32_t x, int32_t y, int* sprite);

// Dirty list and rectangles.
int InvalidateRect(AnimateEngine* e, DibRect* rect);
void AddDirtyRect(AnimateEngine* e, const DibRect& rect);
bool RectsMergeable(const DibRect& a, const DibRect& b);
void ClearDirty(AnimateEngine* e);
void ClampRectIntoClip(AnimateEngine* e, DibRect* rect);
bool RectIntersect(DibRect* out, const DibRect& a, const DibRect& b);
void RectUnion(DibRect* out, const DibRect& a, const DibRect& b);
bool RectIsEmpty(const DibRect& r);
int RectCompact(DibRect* rects, int count);
void RectToExclusive(DibRect* r);
void RectToInclusive(DibRect* r);
void RectSetEmpty(DibRect* r);

// Composition and redraw.
void Compose(AnimateEngine* e, int32_t left, int32_t top, int32_t right, int32_t bottom,
             Canvas* canvas, int32_t lower, int32_t upper, int32_t xOffset, int32_t yOffset);
void DrawFocusRects(AnimateEngine* e, void* dc);
void RedrawRect(AnimateEngine* e, void* dc, const DibRect* rect);
void BltOffset(AnimateEngine* e, void* dc, Canvas* canvas, const DibRect* rect, int32_t xOffset,
               int32_t yOffset);
void StretchToDC(AnimateEngine* e, void* dc, Canvas* canvas, const DibRect* rect, int scale);
// The strips a wipe of a kind reveals over an area, in order, each cut to
// the area; the visitor gets each one. The number of strips.
using AnimStripFn = void (*)(const DibRect& strip, void* arg);
int WipeStrips(const DibRect& area, int kind, AnimStripFn fn, void* arg);
void Wipe(AnimateEngine* e, void* dc, int kind);
int AddLayer(AnimateEngine* e, AnimLayerFn fn, int32_t upper, int32_t lower, intptr_t user);
int RemoveLayer(AnimateEngine* e, AnimLayerFn fn, int32_t upper, int32_t lower);
int ClearLayers(AnimateEngine* e);
void CallLayer(const DibRect& exclusiveArea, intptr_t user, Canvas* canvas, AnimLayerFn fn,
               int32_t upper, int32_t lower);
int CallSurfaceHook(AnimateEngine* e, void* dc, const AnimSurfaceHook* hook, intptr_t a,
                    intptr_t b);

}  // namespace Animate

constexpr int kWipeDown = 2, kWipeUp = 3, kWipeRight = 4, kWipeLeft = 5;

}  // namespace gui
