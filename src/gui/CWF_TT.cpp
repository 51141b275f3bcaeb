#include "gui/CWF_TT.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "gui/gui_memory.h"
#include "gui/raster.h"

namespace gui {

namespace {

CwfDeviceFactory g_factory = CwfOpenScratchDevice;
CwfFontProbe g_probe = CwfFontAccepted;

struct GlyphSlot {
  PackedDIB* bitmap;
  CwfGlyphMetrics metrics;
};

struct FontList {
  CwfFontKey key;
  GlyphSlot* table;  // 256 slots; null: the row is unused
};

FontList g_rows[kCwfCacheRows];
PackedDIB* g_lastGlyph = nullptr;

struct DibFree {
  void operator()(PackedDIB* d) const { GlobalFreePtr(d); }
};
using DibHolder = std::unique_ptr<PackedDIB, DibFree>;

int32_t NegateIntegerWord(int32_t v) {
  uint32_t u = static_cast<uint32_t>(v);
  int16_t whole = static_cast<int16_t>(u >> 16);
  uint16_t neg = static_cast<uint16_t>(-whole);
  return static_cast<int32_t>((static_cast<uint32_t>(neg) << 16) | (u & 0xFFFF));
}

bool KeyEquals(const CwfFontKey& a, const CwfFontKey& b) {
  return a.height == b.height && a.matrix.eM11 == b.matrix.eM11 && a.matrix.eM12 == b.matrix.eM12 &&
         a.matrix.eM21 == b.matrix.eM21 && a.matrix.eM22 == b.matrix.eM22;
}

bool KeyOf(CwfDevice* dev, const CwfMat2& m, CwfFontKey* key) {
  int32_t ascent;
  if (!dev->TextMetrics(&key->height, &ascent)) return false;
  key->matrix = m;
  return true;
}

// Releases the device, then everything else, on every path.
struct Scratch {
  CwfDevice* dev;
  explicit Scratch(CwfDevice* d) : dev(d) {}
  ~Scratch() { delete dev; }
};

}  // namespace

void SetCwfPlatform(CwfDeviceFactory factory, CwfFontProbe probe) {
  g_factory = factory ? factory : CwfOpenScratchDevice;
  g_probe = probe ? probe : CwfFontAccepted;
}

int32_t CwfToFixed(double value) { return static_cast<int32_t>(value * 65536.0); }

int32_t CwfFixedRound(int32_t fixed) { return (fixed >> 16) + ((fixed & 0xFFFF) >= 32768 ? 1 : 0); }

void CwfSetMat2(CwfMat2* m, double x, double y, double a, double b) {
  if (!m) return;
  if (x == 0 || y == 0) x = y = 1;
  m->eM11 = CwfToFixed(x);
  m->eM12 = CwfToFixed(b);
  m->eM21 = CwfToFixed(a);
  m->eM22 = CwfToFixed(-y);
}

void CwfSetMat2Rotation(CwfMat2* m, double degrees) {
  if (!m) return;
  double r = degrees * 0.01745329277777778;
  m->eM11 = CwfToFixed(std::cos(r));
  m->eM12 = CwfToFixed(std::sin(r));
  m->eM21 = CwfToFixed(std::sin(r));
  m->eM22 = CwfToFixed(-std::cos(r));
}

CwfMat2 CwfUprightMat2(const CwfMat2& m) {
  CwfMat2 u = m;
  u.eM22 = NegateIntegerWord(m.eM22);
  return u;
}

PackedDIB* CwfCreateMonoDIB(int32_t width, int32_t height) {
  PackedDIB* d = DIBCreate(width, height, 1);
  if (!d) return nullptr;
  d->biClrUsed = d->biClrImportant = 0;
  RgbQuad* t = DIBColorTable(d);
  t[0] = RgbQuad{0, 0, 0, 0};
  t[1] = RgbQuad{255, 255, 255, 0};
  return d;
}

PackedDIB* CwfLookupGlyph(CwfDevice* dev, uint32_t ch, const CwfMat2& m, CwfGlyphMetrics* out) {
  if (!dev || ch >= 256) return nullptr;
  CwfFontKey key;
  if (!KeyOf(dev, m, &key)) return nullptr;
  for (FontList& row : g_rows) {
    if (!row.table) return nullptr;
    if (!KeyEquals(row.key, key)) continue;
    GlyphSlot& slot = row.table[ch];
    if (!slot.bitmap) return nullptr;
    if (out) *out = slot.metrics;
    g_lastGlyph = slot.bitmap;
    return slot.bitmap;
  }
  return nullptr;
}

void cacheBitmap(CwfDevice* dev, uint32_t ch, const CwfMat2& m, const CwfGlyphMetrics& metrics,
                 PackedDIB* bitmap) {
  if (!dev || !bitmap || ch >= 256) return;
  CwfFontKey key;
  if (!KeyOf(dev, m, &key)) return;
  FontList* list = nullptr;
  for (FontList& row : g_rows) {
    if (!row.table) {
      row.table = static_cast<GlyphSlot*>(GlobalAllocPtr(256 * sizeof(GlyphSlot)));
      if (!row.table) return;  // not cached; the caller still owns the bitmap
      row.key = key;
      list = &row;
      break;
    }
    if (KeyEquals(row.key, key)) {
      list = &row;
      break;
    }
  }
  if (!list) return;  // all rows hold other fonts: a seventh key is not cached
  GlyphSlot& slot = list->table[ch];
  if (slot.bitmap && slot.bitmap != bitmap) GlobalFreePtr(slot.bitmap);
  slot.bitmap = bitmap;
  slot.metrics = metrics;
  g_lastGlyph = bitmap;
}

bool CwfIsCachedBitmap(const PackedDIB* bitmap) {
  if (!bitmap) return false;
  if (bitmap == g_lastGlyph) return true;
  for (const FontList& row : g_rows) {
    if (!row.table) break;
    for (int i = 0; i < 256; ++i)
      if (row.table[i].bitmap == bitmap) return true;
  }
  return false;
}

void CwfFreeGlyphBitmap(PackedDIB* bitmap) {
  if (bitmap && !CwfIsCachedBitmap(bitmap)) GlobalFreePtr(bitmap);
}

void CwfFlushGlyphCache() {
  g_lastGlyph = nullptr;
  for (int r = kCwfCacheRows - 1; r >= 0; --r) {
    FontList& row = g_rows[r];
    if (!row.table) continue;
    for (int i = 0; i < 256; ++i)
      SafeGlobalFreePtr(row.table[i].bitmap);
    GlobalFreePtr(row.table);
    row.table = nullptr;
  }
}

int CwfCachedRowCount() {
  int n = 0;
  for (const FontList& row : g_rows)
    n += row.table != nullptr;
  return n;
}

PackedDIB* CwfGetGlyphBitmap(CwfDevice* dev, uint32_t ch, const CwfMat2& m, CwfGlyphMetrics* out) {
  if (!dev) return nullptr;
  CwfGlyphMetrics metrics{};
  PackedDIB* bitmap = CwfLookupGlyph(dev, ch, m, &metrics);
  if (!bitmap) {
    bitmap = dev->GlyphBitmap(ch, m, &metrics);
    if (bitmap) cacheBitmap(dev, ch, m, metrics, bitmap);
  }
  if (bitmap && out) *out = metrics;
  return bitmap;
}

DibSize CwfGetGlyphMetrics(CwfDevice* dev, uint32_t ch, const CwfMat2& m, CwfGlyphMetrics* out) {
  CwfGlyphMetrics metrics{};
  if (!dev || !dev->GlyphMetrics(ch, CwfUprightMat2(m), &metrics)) return DibSize{0, 0};
  if (out) *out = metrics;
  return DibSize{static_cast<int32_t>(metrics.blackBoxX), static_cast<int32_t>(metrics.blackBoxY)};
}

PackedDIB* CwfRenderGlyphDIB(CwfDevice* dev, uint32_t ch, const PackedDIB* ink, const CwfMat2& m,
                             CwfGlyphMetrics* out) {
  if (!ink || ink->biBitCount != 8) return nullptr;
  CwfGlyphMetrics metrics{};
  PackedDIB* mono = CwfGetGlyphBitmap(dev, ch, m, &metrics);
  if (!mono) return nullptr;
  PackedDIB* glyph = DIBCreate(mono->biWidth, DIBHeight(mono), 8);
  if (glyph) {
    DIBCopyColorTable(glyph, ink);
    // The ink is tiled so that a glyph larger than it is still fully inked.
    DibRect all{0, 0, glyph->biWidth, DIBHeight(glyph)};
    DIBTileToDIB(ink, glyph, all, 0, DIBHeight(ink) - DIBHeight(glyph));
    // Both images are bottom-up and equally high, so memory rows correspond.
    RasterMask1Widened(DIBBits(glyph), DIBBits(mono), glyph->biWidth, DIBHeight(glyph),
                       DIBStride(glyph), DIBStride(mono));
    if (out) *out = metrics;
  }
  CwfFreeGlyphBitmap(mono);
  return glyph;
}

namespace {

struct GlyphWork {
  CwfGlyphMetrics metrics;
  DibHolder dib;
};

// Renders every character's glyph; false when any fails or the text is too
// long for one line.
bool RenderGlyphs(CwfDevice* dev, const char* text, const PackedDIB* ink, const CwfMat2& m,
                  std::vector<GlyphWork>* work) {
  size_t n = std::strlen(text);
  if (n == 0 || n > kCwfMaxLineChars) return false;
  work->resize(n);
  for (size_t i = 0; i < n; ++i) {
    uint32_t ch = static_cast<unsigned char>(text[i]);
    (*work)[i].dib.reset(CwfRenderGlyphDIB(dev, ch, ink, m, &(*work)[i].metrics));
    if (!(*work)[i].dib) return false;
  }
  return true;
}

int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }

}  // namespace

PackedDIB* CwfRenderTextToDIB(CwfDevice* dev, const char* text, const PackedDIB* ink,
                              const CwfMat2* m, CwfTextMetrics* out) {
  if (!dev || !text || !*text || !ink || !m || !out) return nullptr;
  int32_t tmHeight, tmAscent;
  if (!dev->TextMetrics(&tmHeight, &tmAscent)) return nullptr;
  std::vector<GlyphWork> work;
  if (!RenderGlyphs(dev, text, ink, *m, &work)) return nullptr;
  int32_t W = 0, H = tmHeight;
  for (const GlyphWork& g : work) {
    W += Max(g.metrics.cellIncX, static_cast<int32_t>(g.metrics.blackBoxX));
    H = Max(H, static_cast<int32_t>(g.metrics.blackBoxY));
  }
  PackedDIB* line = DIBCreate(W, H, 8);
  if (!line) return nullptr;
  DIBCopyColorTable(line, ink);
  int32_t pen = 0;
  for (size_t i = 0; i < work.size(); ++i) {
    const GlyphWork& g = work[i];
    if (i > 0) pen += work[i - 1].metrics.cellIncX;
    // Keyed, so that an overlapping glyph's empty pixels keep its neighbour.
    DIBCopyRectClipped(line, g.dib.get(), pen + Max(g.metrics.originX, 0),
                       tmAscent - g.metrics.originY, 0, 0, g.dib->biWidth, DIBHeight(g.dib.get()),
                       true, kKey8);
  }
  *out = CwfTextMetrics{static_cast<uint32_t>(W),
                        static_cast<uint32_t>(H),
                        work[0].metrics.originX,
                        work[0].metrics.originY,
                        static_cast<int16_t>(W + work.back().metrics.cellIncX),
                        0};
  return line;
}

PackedDIB* CwfRenderTextColumn(CwfDevice* dev, const char* text, const PackedDIB* ink,
                               const CwfMat2* m, CwfTextMetrics* out) {
  if (!dev || !text || !*text || !ink || !m || !out) return nullptr;
  std::vector<GlyphWork> work;
  if (!RenderGlyphs(dev, text, ink, *m, &work)) return nullptr;
  int32_t W = 0, H = 0;
  for (const GlyphWork& g : work) {
    W = Max(W, static_cast<int32_t>(g.metrics.blackBoxX));
    H += Max(g.metrics.cellIncY, static_cast<int32_t>(g.metrics.blackBoxY));
  }
  PackedDIB* column = DIBCreate(W, H, 8);
  if (!column) return nullptr;
  DIBCopyColorTable(column, ink);
  int32_t pen = 0;
  for (size_t i = 0; i < work.size(); ++i) {
    // The pen steps by the room the previous glyph took, as the height counts it.
    if (i > 0)
      pen += Max(work[i - 1].metrics.cellIncY, static_cast<int32_t>(work[i - 1].metrics.blackBoxY));
    DIBCopyRectClipped(column, work[i].dib.get(), 0, pen, 0, 0, work[i].dib->biWidth,
                       DIBHeight(work[i].dib.get()), true, kKey8);
  }
  *out = CwfTextMetrics{static_cast<uint32_t>(W), 0, work[0].metrics.originX,
                        work[0].metrics.originY,  0, work.back().metrics.cellIncY};
  return column;
}

DibSize CwfMeasureText(CwfDevice* dev, const char* text, const CwfMat2* m, CwfTextMetrics* out) {
  if (!dev || !text || !*text || !m) return DibSize{0, 0};
  int32_t tmHeight, tmAscent;
  if (!dev->TextMetrics(&tmHeight, &tmAscent)) return DibSize{0, 0};
  int32_t W = 0, H = tmHeight;
  CwfGlyphMetrics first{}, last{};
  size_t n = std::strlen(text);
  for (size_t i = 0; i < n; ++i) {
    CwfGlyphMetrics g{};
    DibSize box = CwfGetGlyphMetrics(dev, static_cast<unsigned char>(text[i]), *m, &g);
    if (box.cx == 0 && box.cy == 0) return DibSize{0, 0};
    if (i == 0) first = g;
    last = g;
    W += Max(g.cellIncX, static_cast<int32_t>(g.blackBoxX));
    H = Max(H, static_cast<int32_t>(g.blackBoxY));
  }
  if (out)
    *out = CwfTextMetrics{static_cast<uint32_t>(W),
                          static_cast<uint32_t>(H),
                          first.originX,
                          first.originY,
                          static_cast<int16_t>(W + last.cellIncX),
                          0};
  return DibSize{W, H};
}

PackedDIB* CwfRenderTextFitted(const char* text, const DibRect& target, const char* face,
                               const PackedDIB* ink, const CwfMat2* m, CwfTextMetrics* out) {
  if (!text || !*text || !ink || !m || !out) return nullptr;
  const int32_t rectW = target.right - target.left, rectH = target.bottom - target.top;
  int32_t W = rectW, H = rectH;
  Scratch scratch(g_factory(W, H));
  if (!scratch.dev) return nullptr;
  const int32_t len = static_cast<int32_t>(std::strlen(text));
  bool grown = false;
  for (;;) {
    int32_t fontHeight = H - H / 6 - 1;
    if (fontHeight < 1 || W < 1) return nullptr;  // nothing fits: stop shrinking
    if (!scratch.dev->SelectFont(face, 0, fontHeight, 700)) return nullptr;
    CwfTextMetrics measured{};
    DibSize size = CwfMeasureText(scratch.dev, text, m, &measured);
    if (size.cx > W || size.cy > H) {
      --W;
      --H;
      continue;
    }
    // Try one unit larger once, unless the text already fills the width.
    if (len + size.cx + 2 >= W || grown) break;
    ++W;
    ++H;
    grown = true;
  }
  PackedDIB* line = CwfRenderTextToDIB(scratch.dev, text, ink, m, out);
  if (!line) return nullptr;
  if (line->biWidth == rectW || DIBHeight(line) == rectH) return line;
  PackedDIB* centred = DIBCenterCopy(line, rectW, rectH);
  GlobalFreePtr(line);
  return centred;
}

int CwfBreakLines(const char* text, const int32_t* widths, int count, int32_t limit, CwfLine* lines,
                  int maxLines) {
  auto isSeparator = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
  int n = 0, start = 0;
  while (start < count && n < maxLines) {
    int32_t sum = 0;
    int i = start, lastSep = -1;
    while (i < count) {
      if (i > start && isSeparator(text[i])) lastSep = i;
      sum += widths[i];
      if (sum >= limit) break;
      ++i;
    }
    if (i >= count) {  // the text ends within the limit
      lines[n++] = CwfLine{start, count};
      break;
    }
    if (lastSep > start && limit >= 1) {
      lines[n++] = CwfLine{start, lastSep};
      start = lastSep + 1;  // the separator at the break is dropped
    } else {
      // No separator: break before the character that crossed the limit, but
      // never leave a line empty.
      int end = i > start ? i : start + 1;
      lines[n++] = CwfLine{start, end};
      start = end;
    }
  }
  return n;
}

PackedDIB* CwfRenderTextWrapped(const char* text, const char* face, int32_t width, int32_t height,
                                const PackedDIB* ink, const CwfMat2* m, CwfTextMetrics* out,
                                int32_t limit) {
  if (!text || !ink || !m || !out) return nullptr;
  std::string copy(text);
  int count = static_cast<int>(copy.size());
  if (count < 1 || count > kCwfMaxWrappedChars) return nullptr;
  Scratch scratch(g_factory(width, height));
  if (!scratch.dev || !scratch.dev->SelectFont(face, width, height, 400)) return nullptr;
  std::vector<int32_t> widths(count);
  for (int i = 0; i < count; ++i)
    widths[i] =
        CwfGetGlyphMetrics(scratch.dev, static_cast<unsigned char>(copy[i]), *m, nullptr).cx;
  std::vector<CwfLine> breaks(count);
  int lineCount = CwfBreakLines(copy.c_str(), widths.data(), count, limit, breaks.data(), count);
  std::vector<DibHolder> lines;
  int32_t widest = 0, tallest = 0;
  for (int k = 0; k < lineCount; ++k) {
    std::string piece = copy.substr(breaks[k].start, breaks[k].end - breaks[k].start);
    CwfTextMetrics lm{};
    DibHolder line(CwfRenderTextToDIB(scratch.dev, piece.c_str(), ink, m, &lm));
    if (!line) return nullptr;
    widest = Max(widest, line->biWidth);
    tallest = Max(tallest, DIBHeight(line.get()));
    lines.push_back(std::move(line));
  }
  PackedDIB* result = DIBCreate(widest, tallest * lineCount, 8);
  if (!result) return nullptr;
  DIBCopyColorTable(result, ink);
  for (int k = 0; k < lineCount; ++k) {
    const PackedDIB* line = lines[k].get();
    int32_t top = k * tallest + (tallest - DIBHeight(line));
    DIBCopyRect(result, line, 0, top, 0, 0, line->biWidth, DIBHeight(line));
  }
  *out = CwfTextMetrics{static_cast<uint32_t>(widest),
                        static_cast<uint32_t>(tallest * lineCount),
                        0,
                        0,
                        static_cast<int16_t>(widest),
                        0};
  return result;
}

PackedDIB* CwfRenderTextShadowed(const char* text, const char* face, int32_t width, int32_t height,
                                 const PackedDIB* ink, const CwfMat2* m, CwfTextMetrics* out,
                                 int32_t depth, uint8_t shadowIndex) {
  // Without depth there is no shadow: the plain system rendering.
  if (depth <= 0) return CwfRenderTextGDI(text, face, width, height, ink, m, out);
  if (!text || !ink || !m || !out) return nullptr;
  Scratch scratch(g_factory(width, height));
  if (!scratch.dev || !scratch.dev->SelectFont(face, width, height, 400)) return nullptr;
  DibHolder shadowInk(DIBCreate(ink->biWidth, DIBHeight(ink), 8));
  if (!shadowInk) return nullptr;
  DIBCopyColorTable(shadowInk.get(), ink);
  DIBFill(shadowInk.get(), shadowIndex);
  CwfTextMetrics sm{};
  DibHolder shadow(CwfRenderTextToDIB(scratch.dev, text, shadowInk.get(), m, &sm));
  DibHolder face1(CwfRenderTextToDIB(scratch.dev, text, ink, m, out));
  if (!shadow || !face1) return nullptr;
  int32_t sw = shadow->biWidth, sh = DIBHeight(shadow.get());
  PackedDIB* result = DIBCreate(depth + sw + 1, sh + depth + 1, 8);
  if (!result) return nullptr;
  DIBCopyColorTable(result, ink);
  for (int32_t i = 0; i < depth; ++i)
    DIBCopyRectClipped(result, shadow.get(), depth - i, depth - i + 1, 0, 0, sw, sh, true, kKey8);
  DIBCopyRectClipped(result, face1.get(), 0, 1, 0, 0, face1->biWidth, DIBHeight(face1.get()), true,
                     kKey8);
  return result;
}

CwfTextStyle* CwfTextStyleCreate() {
  auto* s = static_cast<CwfTextStyle*>(GlobalAllocPtr(sizeof(CwfTextStyle)));
  if (!s) return nullptr;
  s->size = 128;
  s->flags = kCwfStyleOwned;
  CwfSetMat2(&s->matrix, 1, 1, 0, 0);
  std::strcpy(s->face, "Courier New");
  s->width = 9;
  s->height = 10;
  if (g_probe(s->face, s->width, s->height, 400)) s->weight = 400;
  s->ink = DIBCreate(64, 64, 8);
  if (s->ink) DIBFill(s->ink, 70);
  s->background = 70;
  return s;
}

int CwfTextStyleFree(CwfTextStyle* style) {
  if (!style || !(style->flags & kCwfStyleOwned)) return 0;
  SafeGlobalFreePtr(style->ink);
  GlobalFreePtr(style);
  return 1;
}

int CwfTextStyleSetFont(CwfTextStyle* style, const char* face, int32_t width, int32_t height,
                        int32_t weight, int32_t underline, int32_t italic, int32_t strikeOut) {
  if (!style) return 0;
  const char* f = face && *face ? face : "Courier New";
  if (height == -1) height = 12;
  if (width == -1) width = 11;
  if (weight == -1) weight = 400;
  if (!g_probe(f, width, height, weight)) return 0;
  std::strncpy(style->face, f, sizeof style->face - 1);
  style->face[sizeof style->face - 1] = 0;
  style->width = width;
  style->height = height;
  style->weight = weight;
  style->underline = underline ? 1 : 0;
  style->italic = italic ? 1 : 0;
  style->strikeOut = strikeOut ? 1 : 0;
  return 1;
}

int CwfTextStyleSetBackground(CwfTextStyle* style, int32_t index) {
  if (!style || index < 0 || index > 255) return 0;
  style->background = index;
  if (style->ink) DIBFill(style->ink, static_cast<uint32_t>(index));
  return 1;
}

int CwfTextStyleSetBitmapSize(CwfTextStyle* style, int32_t width, int32_t height, int32_t index) {
  if (!style || width > 1024 || height > 1024) return 0;
  if (height == 0 || height == -1)
    height = 64;
  else if (height < 0)
    height = -height;
  if (width == 0 || width == -1)
    width = 64;
  else if (width < 0)
    width = 2 * height;
  if (width > 1024 || height > 1024) return 0;
  PackedDIB* ink = DIBCreate(width, height, 8);
  if (!ink) return 0;
  SafeGlobalFreePtr(style->ink);
  style->ink = ink;
  if (index != -1) CwfTextStyleSetBackground(style, index);
  return 1;
}

int CwfTextStyleSetTransform(CwfTextStyle* style, double x, double y, double a, double b) {
  if (!style) return 0;
  CwfSetMat2(&style->matrix, x, y, a, b);
  return 1;
}

PackedDIB* CwfTextStyleRenderFitted(CwfTextStyle* s, const char* text) {
  if (!s) return nullptr;
  PackedDIB* d = CwfRenderTextFitted(text, s->rect, s->face, s->ink, &s->matrix, &s->metrics);
  CwfFlushGlyphCache();
  return d;
}

PackedDIB* CwfTextStyleRenderWrapped(CwfTextStyle* s, const char* text, int32_t limit) {
  if (!s) return nullptr;
  PackedDIB* d = CwfRenderTextWrapped(text, s->face, s->width, s->height, s->ink, &s->matrix,
                                      &s->metrics, limit);
  CwfFlushGlyphCache();
  return d;
}

PackedDIB* CwfTextStyleRenderShadowed(CwfTextStyle* s, const char* text, uint8_t shadowIndex,
                                      int32_t depth) {
  if (!s) return nullptr;
  PackedDIB* d = CwfRenderTextShadowed(text, s->face, s->width, s->height, s->ink, &s->matrix,
                                       &s->metrics, depth, shadowIndex);
  CwfFlushGlyphCache();
  return d;
}

PackedDIB* CwfRenderTextVertical(const char* text, const char* face, int32_t width, int32_t height,
                                 const PackedDIB* ink, const CwfMat2* m, CwfTextMetrics* out) {
  Scratch scratch(g_factory(width, height));
  if (!scratch.dev || !scratch.dev->SelectFont(face, width, height, 400)) return nullptr;
  return CwfRenderTextColumn(scratch.dev, text, ink, m, out);
}

PackedDIB* CwfTextStyleRenderVertical(CwfTextStyle* s, const char* text) {
  if (!s) return nullptr;
  PackedDIB* d =
      CwfRenderTextVertical(text, s->face, s->width, s->height, s->ink, &s->matrix, &s->metrics);
  CwfFlushGlyphCache();
  return d;
}

PackedDIB* CwfTextStyleRenderGDI(CwfTextStyle* s, const char* text) {
  if (!s) return nullptr;
  PackedDIB* d =
      CwfRenderTextGDI(text, s->face, s->width, s->height, s->ink, &s->matrix, &s->metrics);
  CwfFlushGlyphCache();
  return d;
}

PackedDIB* CwfTextStyleRenderGDIFlood(CwfTextStyle* s, const char* text, uint8_t textIndex,
                                      uint8_t floodIndex, uint8_t backgroundIndex) {
  if (!s) return nullptr;
  PackedDIB* d = CwfRenderTextGDIFlood(text, s->face, s->width, s->height, s->ink, &s->matrix,
                                       &s->metrics, textIndex, floodIndex, backgroundIndex);
  CwfFlushGlyphCache();
  return d;
}

}  // namespace gui
