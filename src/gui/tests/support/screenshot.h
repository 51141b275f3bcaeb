// Screenshots and pixel checks for the window tests of every library (Windows
// builds only): capture a window or a screen rectangle into RGB pixels, save
// them as <build>/screenshots/<name>.png, and compare key pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tess_test {

// Pixels top row first, three bytes (R, G, B) each.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  bool empty() const { return width <= 0 || height <= 0; }
  // The pixel at (x, y) as a COLORREF; CLR_INVALID outside the image.
  COLORREF At(int x, int y) const;
  // The part inside r (clipped to the image).
  Image Crop(const RECT& r) const;
};

// A Windows path ("Z:\...") for a path relative to the build folder.
std::string BuildPath(const std::string& relative);

// What the screen shows in r (screen coordinates): menus, owned popups and
// overlapping windows included. Needs the windows to be shown and painted.
Image CaptureScreen(const RECT& r);
// A whole window (non-client area included) as the screen shows it.
Image CaptureWindow(HWND window);
// A window's client area as the screen shows it.
Image CaptureClient(HWND window);
// A window painted off screen through WM_PRINT (PrintWindow): works for
// covered windows, but only shows what the window's own painting draws.
Image PrintWindowImage(HWND window);

// Writes <build>/screenshots/<name>.png (the folder is made if needed).
// Returns the path written, or "" on failure.
std::string SaveScreenshot(const Image& image, const std::string& name);

// One expected pixel: (x, y) in the image, the colour, and how far each
// channel may be off.
struct PixelCheck {
  int x;
  int y;
  COLORREF colour;
  int tolerance;
};

// True when every channel of a and b differs by at most tolerance.
bool ColourNear(COLORREF a, COLORREF b, int tolerance);
// One line per check that fails ("(x,y) is #rrggbb, want #rrggbb"); empty when
// all hold. Use as EXPECT_EQ(ComparePixels(img, checks), "").
std::string ComparePixels(const Image& image, const std::vector<PixelCheck>& checks);
// How many pixels inside r satisfy pred (for "some ink here" checks).
template <typename Pred>
int CountPixels(const Image& image, const RECT& r, Pred pred) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      COLORREF c = image.At(x, y);
      if (c != CLR_INVALID && pred(c)) ++n;
    }
  return n;
}

// Runs the message loop of this thread for ms milliseconds.
void PumpMessages(int ms);

}  // namespace tess_test
