// The font side of the text renderers on GDI: a scratch memory DC with a
// selected font, glyph outlines, and the DrawTextA and smooth renderers.
#include <windows.h>

#include <cstring>
#include <vector>

#include "gui/CWF_TT.h"
#include "gui/gui_memory.h"
#include "gui/raster.h"
#include "gui/win32/gui_win32.h"

namespace gui {

namespace {

MAT2 ToMat2(const CwfMat2& m) {
  MAT2 r;
  std::memcpy(&r.eM11, &m.eM11, 4);
  std::memcpy(&r.eM12, &m.eM12, 4);
  std::memcpy(&r.eM21, &m.eM21, 4);
  std::memcpy(&r.eM22, &m.eM22, 4);
  return r;
}

class GdiDevice : public CwfDevice {
 public:
  GdiDevice() : dc_(CreateCompatibleDC(nullptr)) {}
  ~GdiDevice() override {
    if (dc_) {
      if (old_) SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
    if (font_) DeleteObject(font_);
  }
  bool ok() const { return dc_ != nullptr; }

  bool TextMetrics(int32_t* height, int32_t* ascent) override {
    TEXTMETRICA tm;
    if (!GetTextMetricsA(dc_, &tm)) return false;
    *height = tm.tmHeight;
    *ascent = tm.tmAscent;
    return true;
  }

  bool GlyphMetrics(uint32_t ch, const CwfMat2& upright, CwfGlyphMetrics* out) override {
    GLYPHMETRICS gm{};
    MAT2 m = ToMat2(upright);
    if (GetGlyphOutlineA(dc_, ch, GGO_METRICS, &gm, 0, nullptr, &m) == GDI_ERROR) return false;
    *out = Convert(gm);
    return true;
  }

  // The glyph is asked for upright (rows top first) and stored bottom row
  // first, the row order of the bottom-up DIB.
  PackedDIB* GlyphBitmap(uint32_t ch, const CwfMat2& stored, CwfGlyphMetrics* out) override {
    GLYPHMETRICS gm{};
    MAT2 m = ToMat2(CwfUprightMat2(stored));
    DWORD size = GetGlyphOutlineA(dc_, ch, GGO_BITMAP, &gm, 0, nullptr, &m);
    if (size == GDI_ERROR) {
      // A blank glyph (a space) may have no bitmap at all: it is an empty
      // box with its advance, or the text around it could not be drawn.
      if (GetGlyphOutlineA(dc_, ch, GGO_METRICS, &gm, 0, nullptr, &m) == GDI_ERROR) return nullptr;
      size = 0;
    }
    if (size == 0) gm.gmBlackBoxX = gm.gmBlackBoxX ? gm.gmBlackBoxX : 1;
    if (size == 0) gm.gmBlackBoxY = gm.gmBlackBoxY ? gm.gmBlackBoxY : 1;
    PackedDIB* mono = CwfCreateMonoDIB(gm.gmBlackBoxX, gm.gmBlackBoxY);
    if (!mono) return nullptr;
    uint32_t stride = DIBStride(mono), rows = gm.gmBlackBoxY;
    if (size > 0) {
      if (size > stride * rows) {  // more than the box holds: refuse
        GlobalFreePtr(mono);
        return nullptr;
      }
      std::vector<uint8_t> buf(size);
      GLYPHMETRICS again{};
      if (GetGlyphOutlineA(dc_, ch, GGO_BITMAP, &again, size, buf.data(), &m) != size) {
        GlobalFreePtr(mono);
        return nullptr;
      }
      for (uint32_t r = 0; r < rows && (r + 1) * stride <= size; ++r)
        std::memcpy(DIBBits(mono) + (rows - 1 - r) * stride, buf.data() + r * stride, stride);
    }
    *out = Convert(gm);
    return mono;
  }

  bool SelectFont(const char* face, int32_t width, int32_t height, int32_t weight) override {
    HFONT font = CreateFontA(height, width, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                             face && *face ? face : "Courier New");
    if (!font) return false;
    HGDIOBJ previous = SelectObject(dc_, font);
    if (!old_) old_ = previous;
    if (font_) DeleteObject(font_);
    font_ = font;
    return true;
  }

 private:
  static CwfGlyphMetrics Convert(const GLYPHMETRICS& gm) {
    return CwfGlyphMetrics{gm.gmBlackBoxX,       gm.gmBlackBoxY, gm.gmptGlyphOrigin.x,
                           gm.gmptGlyphOrigin.y, gm.gmCellIncX,  gm.gmCellIncY};
  }
  HDC dc_;
  HFONT font_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

CwfDevice* CwfOpenScratchDevice(int32_t, int32_t) {
  auto* dev = new GdiDevice;
  if (!dev->ok()) {
    delete dev;
    return nullptr;
  }
  return dev;
}

bool CwfFontAccepted(const char* face, int32_t width, int32_t height, int32_t weight) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfWeight = weight;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lstrcpynA(lf.lfFaceName, face ? face : "Courier New", LF_FACESIZE);
  HFONT font = CreateFontIndirectA(&lf);
  if (!font) return false;
  DeleteObject(font);
  return true;
}

SIZE GuiGetTextExtent(HDC dc, const char* text) {
  SIZE size{0, 0};
  if (!dc || !text || !GetTextExtentPoint32A(dc, text, lstrlenA(text), &size)) return SIZE{0, 0};
  return size;
}

namespace {

// A top-down DIB section of the result's size in a memory DC that borrows
// the caller's font for the drawing; rows move between it and the result.
class TextSection {
 public:
  TextSection(HDC dc, const BITMAPINFO* info, UINT usage) : dc_(dc), mem_(CreateCompatibleDC(dc)) {
    if (mem_) section_ = CreateDIBSection(mem_, info, usage, &bits_, nullptr, 0);
    if (!section_ || !bits_) return;
    oldBitmap_ = SelectObject(mem_, section_);
    font_ = SelectObject(dc_, GetStockObject(DEFAULT_GUI_FONT));
    oldFont_ = SelectObject(mem_, font_);
    SetBkMode(mem_, TRANSPARENT);
  }
  ~TextSection() {
    if (oldFont_) SelectObject(mem_, oldFont_);
    if (font_) SelectObject(dc_, font_);
    if (oldBitmap_) SelectObject(mem_, oldBitmap_);
    if (mem_) DeleteDC(mem_);
    if (section_) DeleteObject(section_);
  }
  bool Ok() const { return oldBitmap_ != nullptr; }
  HDC Dc() const { return mem_; }
  void Load(PackedDIB* from) { Move(from, true); }
  void Store(PackedDIB* to) {
    GdiFlush();
    Move(to, false);
  }

 private:
  void Move(PackedDIB* dib, bool toSection) {
    const uint32_t stride = DIBStride(dib);
    for (int y = 0; y < DIBHeight(dib); ++y) {
      uint8_t* row = static_cast<uint8_t*>(bits_) + static_cast<size_t>(y) * stride;
      if (toSection)
        std::memcpy(row, DIBPixelPtr(dib, 0, y), stride);
      else
        std::memcpy(DIBPixelPtr(dib, 0, y), row, stride);
    }
  }
  HDC dc_;
  HDC mem_;
  HBITMAP section_ = nullptr;
  void* bits_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr, font_ = nullptr, oldFont_ = nullptr;
};

// A colour that is a palette index of the DIB section itself.
constexpr COLORREF DibIndex(uint8_t n) { return 0x10FF0000u | n; }

}  // namespace

PackedDIB* GuiRenderTextDIB(HDC dc, const char* text, const PackedDIB* templ, COLORREF colour,
                            COLORREF shadow, int prefix) {
  if (!dc || !text || !*text || !templ) return nullptr;
  RECT calc{0, 0, 0, 0};
  DrawTextA(dc, text, -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_CENTER);
  int w = calc.right + 2, h = calc.bottom + 2;
  if (calc.right <= 0 || calc.bottom <= 0 || w > templ->biWidth || h > DIBHeight(templ))
    return nullptr;
  PackedDIB* result = DIBCreate(w, h, 24);
  if (!result) return nullptr;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  TextSection t(dc, &bi, DIB_RGB_COLORS);
  if (!t.Ok()) {
    GlobalFreePtr(result);
    return nullptr;
  }
  HBRUSH key = CreateSolidBrush(RGB(255, 0, 255));
  RECT all{0, 0, w, h};
  FillRect(t.Dc(), &all, key);
  DeleteObject(key);
  UINT flags = DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX);
  if (shadow != static_cast<COLORREF>(-1)) {
    RECT sh{1, 1, w, h};
    SetTextColor(t.Dc(), shadow);
    DrawTextA(t.Dc(), text, -1, &sh, flags);
  }
  RECT r{0, 0, w - 1, h - 1};
  SetTextColor(t.Dc(), colour);
  DrawTextA(t.Dc(), text, -1, &r, flags);
  t.Store(result);
  return result;
}

PackedDIB* GuiRenderTextDIBFlood(HDC dc, const char* text, const PackedDIB* templ, int prefix,
                                 uint8_t textIndex, uint8_t floodIndex, uint8_t backgroundIndex) {
  if (!dc || !text || !*text || !templ || templ->biBitCount != 8) return nullptr;
  RECT calc{0, 0, 0, 0};
  DrawTextA(dc, text, -1, &calc, DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
  const int w = calc.right, h = calc.bottom;
  if (w <= 0 || h <= 0 || w > templ->biWidth || h > DIBHeight(templ)) return nullptr;
  PackedDIB* result = DIBCreate(w, h, 8);
  if (!result) return nullptr;
  DIBCopyColorTable(result, templ);
  DIBFill(result, backgroundIndex);
  // A section of palette indices: DIBINDEX colours write the indices as they are.
  struct {
    BITMAPINFOHEADER header;
    WORD indices[256];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = w;
  info.header.biHeight = -h;
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  for (int i = 0; i < 256; ++i)
    info.indices[i] = static_cast<WORD>(i);
  TextSection t(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_PAL_COLORS);
  if (!t.Ok()) {
    GlobalFreePtr(result);
    return nullptr;
  }
  t.Load(result);
  SetTextColor(t.Dc(), DibIndex(textIndex));
  RECT all{0, 0, w, h};
  DrawTextA(t.Dc(), text, -1, &all, DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
  HBRUSH flood = CreateSolidBrush(DibIndex(floodIndex));
  HGDIOBJ oldBrush = SelectObject(t.Dc(), flood);
  ExtFloodFill(t.Dc(), 0, 0, DibIndex(backgroundIndex), FLOODFILLSURFACE);
  SelectObject(t.Dc(), oldBrush);
  DeleteObject(flood);
  t.Store(result);
  return result;
}

namespace {

// A memory DC with the face selected, for the system text routine.
struct TextDc {
  TextDc(const char* face, int32_t width, int32_t height) : dc(CreateCompatibleDC(nullptr)) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfWeight = FW_NORMAL;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lstrcpynA(lf.lfFaceName, face && *face ? face : "Courier New", LF_FACESIZE);
    font = CreateFontIndirectA(&lf);
    if (dc && font) old = SelectObject(dc, font);
  }
  ~TextDc() {
    if (dc && old) SelectObject(dc, old);
    if (font) DeleteObject(font);
    if (dc) DeleteDC(dc);
  }
  HDC dc;
  HFONT font = nullptr;
  HGDIOBJ old = nullptr;
};

void FillMetrics(const PackedDIB* d, CwfTextMetrics* out) {
  if (!d || !out) return;
  *out = CwfTextMetrics{static_cast<uint32_t>(d->biWidth),
                        static_cast<uint32_t>(DIBHeight(d)),
                        0,
                        0,
                        static_cast<int16_t>(d->biWidth),
                        0};
}

}  // namespace

PackedDIB* CwfRenderTextGDI(const char* text, const char* face, int32_t width, int32_t height,
                            const PackedDIB* templ, const CwfMat2*, CwfTextMetrics* out) {
  TextDc t(face, width, height);
  if (!t.dc || !t.font) return nullptr;
  PackedDIB* d = GuiRenderTextDIB(t.dc, text, templ, RGB(0, 0, 0), static_cast<COLORREF>(-1), 0);
  FillMetrics(d, out);
  return d;
}

PackedDIB* CwfRenderTextGDIFlood(const char* text, const char* face, int32_t width, int32_t height,
                                 const PackedDIB* templ, const CwfMat2*, CwfTextMetrics* out,
                                 uint8_t textIndex, uint8_t floodIndex, uint8_t backgroundIndex) {
  TextDc t(face, width, height);
  if (!t.dc || !t.font) return nullptr;
  PackedDIB* d =
      GuiRenderTextDIBFlood(t.dc, text, templ, 0, textIndex, floodIndex, backgroundIndex);
  FillMetrics(d, out);
  return d;
}

HFONT GuiCreateSmoothFont(const char* face, int points, int weight, bool italic) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, weight, italic, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                     VARIABLE_PITCH, face);
}

SIZE GuiMeasureSmoothText(HFONT font, const char* text) {
  SIZE size{0, 0};
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc || !text) return size;
  HGDIOBJ old =
      SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

// Blends each glyph's 65-level coverage (GGO_GRAY8_BITMAP) into the image.
void GuiDrawSmoothText(PackedDIB* target, HFONT font, const char* text, int x, int y,
                       COLORREF colour) {
  if (!target || target->biBitCount != 24 || !text) return;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return;
  HGDIOBJ old =
      SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  const int cr = GetRValue(colour), cg = GetGValue(colour), cb = GetBValue(colour);
  int pen = x;
  std::vector<uint8_t> buf;
  for (const char* p = text; *p; ++p) {
    UINT ch = static_cast<unsigned char>(*p);
    GLYPHMETRICS gm{};
    DWORD size = GetGlyphOutlineA(dc, ch, GGO_GRAY8_BITMAP, &gm, 0, nullptr, &identity);
    if (size != GDI_ERROR && size > 0) {
      buf.resize(size);
      if (GetGlyphOutlineA(dc, ch, GGO_GRAY8_BITMAP, &gm, size, buf.data(), &identity) == size) {
        uint32_t stride = (gm.gmBlackBoxX + 3) & ~3u;
        int left = pen + gm.gmptGlyphOrigin.x, top = y + tm.tmAscent - gm.gmptGlyphOrigin.y;
        for (uint32_t r = 0; r < gm.gmBlackBoxY && (r + 1) * stride <= size; ++r)
          for (uint32_t c = 0; c < gm.gmBlackBoxX; ++c) {
            int a = buf[r * stride + c];
            if (!a) continue;
            uint8_t* px =
                DIBPixelPtr(target, left + static_cast<int>(c), top + static_cast<int>(r));
            if (!px) continue;
            px[0] = static_cast<uint8_t>((px[0] * (64 - a) + cb * a) / 64);
            px[1] = static_cast<uint8_t>((px[1] * (64 - a) + cg * a) / 64);
            px[2] = static_cast<uint8_t>((px[2] * (64 - a) + cr * a) / 64);
          }
      }
    }
    if (size != GDI_ERROR) pen += gm.gmCellIncX;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
}

}  // namespace gui
