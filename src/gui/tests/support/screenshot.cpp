#include "screenshot.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace tess_test {

COLORREF Image::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
  return RGB(p[0], p[1], p[2]);
}

Image Image::Crop(const RECT& r) const {
  Image out;
  int left = std::max<long>(0, r.left), top = std::max<long>(0, r.top);
  int right = std::min<long>(width, r.right), bottom = std::min<long>(height, r.bottom);
  if (right <= left || bottom <= top) return out;
  out.width = right - left;
  out.height = bottom - top;
  out.rgb.reserve(static_cast<size_t>(out.width) * out.height * 3);
  for (int y = top; y < bottom; ++y) {
    const uint8_t* row = &rgb[(static_cast<size_t>(y) * width + left) * 3];
    out.rgb.insert(out.rgb.end(), row, row + static_cast<size_t>(out.width) * 3);
  }
  return out;
}

std::string BuildPath(const std::string& relative) {
  std::string p = std::string("Z:") + TESS_BUILD_DIR + "/" + relative;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

namespace {

// A top-down 24-bit DIB section selected into a memory DC; the source is
// copied into it by fill, then read out as RGB.
template <typename Fill>
Image Grab(int w, int h, Fill fill) {
  Image img;
  if (w <= 0 || h <= 0) return img;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section && bits) {
    HGDIOBJ old = SelectObject(mem, section);
    fill(mem);
    GdiFlush();
    img.width = w;
    img.height = h;
    img.rgb.resize(static_cast<size_t>(w) * h * 3);
    size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint8_t* p = static_cast<uint8_t*>(bits) + y * stride + x * 3;
        uint8_t* q = &img.rgb[(static_cast<size_t>(y) * w + x) * 3];
        q[0] = p[2];
        q[1] = p[1];
        q[2] = p[0];
      }
    SelectObject(mem, old);
    DeleteObject(section);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return img;
}

void WriteToFile(void* context, void* data, int size) {
  FILE* f = static_cast<FILE*>(context);
  if (std::fwrite(data, 1, static_cast<size_t>(size), f) != static_cast<size_t>(size))
    std::fprintf(stderr, "screenshot: short write\n");
}

}  // namespace

Image CaptureScreen(const RECT& r) {
  return Grab(r.right - r.left, r.bottom - r.top, [&](HDC mem) {
    HDC screen = GetDC(nullptr);
    BitBlt(mem, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
}

Image CaptureWindow(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return Image{};
  return CaptureScreen(r);
}

Image CaptureClient(HWND window) {
  RECT r{};
  if (!GetClientRect(window, &r)) return Image{};
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&r, origin.x, origin.y);
  return CaptureScreen(r);
}

Image PrintWindowImage(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return Image{};
  return Grab(r.right - r.left, r.bottom - r.top, [&](HDC mem) { PrintWindow(window, mem, 0); });
}

std::string SaveScreenshot(const Image& image, const std::string& name) {
  if (image.empty()) return "";
  CreateDirectoryA(BuildPath("screenshots").c_str(), nullptr);
  std::string path = BuildPath("screenshots/" + name + ".png");
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return "";
  int ok = stbi_write_png_to_func(WriteToFile, f, image.width, image.height, 3, image.rgb.data(),
                                  image.width * 3);
  bool closed = std::fclose(f) == 0;
  return ok && closed ? path : "";
}

bool ColourNear(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string ComparePixels(const Image& image, const std::vector<PixelCheck>& checks) {
  std::string out;
  char line[96];
  for (const PixelCheck& c : checks) {
    COLORREF got = image.At(c.x, c.y);
    if (got != CLR_INVALID && ColourNear(got, c.colour, c.tolerance)) continue;
    if (got == CLR_INVALID)
      std::snprintf(line, sizeof line, "(%d,%d) is outside the %dx%d image\n", c.x, c.y,
                    image.width, image.height);
    else
      std::snprintf(line, sizeof line, "(%d,%d) is #%02x%02x%02x, want #%02x%02x%02x\n", c.x, c.y,
                    GetRValue(got), GetGValue(got), GetBValue(got), GetRValue(c.colour),
                    GetGValue(c.colour), GetBValue(c.colour));
    out += line;
  }
  return out;
}

void PumpMessages(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (static_cast<int>(GetTickCount() - end) < 0);
}

}  // namespace tess_test
