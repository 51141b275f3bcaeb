// Window, text, bitmap and printer helpers. Differences from the routines
// they follow: offsets and sizes taken from blocks (printer names, packed
// DIBs) are checked against the block before use.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "gui/gui_memory.h"
#include "shell/file_utils.h"
#include "shell/window/win_utils.h"

namespace shell {
namespace {

RECT RectOf(HWND w, bool client) {
  RECT r{};
  if (client) {
    GetClientRect(w, &r);
    ClientRectToScreen(w, &r);
  } else {
    GetWindowRect(w, &r);
  }
  return r;
}

size_t ColourTableBytes(const BITMAPINFOHEADER& h) {
  size_t colours = h.biClrUsed ? h.biClrUsed : (h.biBitCount <= 8 ? (1u << h.biBitCount) : 0);
  if (h.biCompression == BI_BITFIELDS) colours = 3;
  return colours * sizeof(RGBQUAD);
}

}  // namespace

LONG_PTR SetWindowSlot(HWND window, int index, LONG_PTR value) {
  return SetWindowLongPtrA(window, index * static_cast<int>(sizeof(LONG_PTR)), value);
}

LONG_PTR GetWindowSlot(HWND window, int index) {
  return GetWindowLongPtrA(window, index * static_cast<int>(sizeof(LONG_PTR)));
}

void CenterWindow(HWND window, HWND over) {
  if (!window) return;
  if (!over) over = GetParent(window);
  RECT me;
  GetWindowRect(window, &me);
  int w = me.right - me.left, h = me.bottom - me.top;
  bool child = over && (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) && GetParent(window) == over;
  RECT area;
  if (over) {
    area = RectOf(over, child);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  int x = area.left + ((area.right - area.left) - w) / 2;
  int y = area.top + ((area.bottom - area.top) - h) / 2;
  if (child) {
    POINT p = {x, y};
    ScreenToClient(over, &p);
    x = p.x;
    y = p.y;
  }
  if (x < 0) x = 1;
  if (y < 0) y = 1;
  MoveWindow(window, x, y, w, h, TRUE);
}

void CenterWindowOnScreen(HWND window, HWND over) {
  if (!window) return;
  RECT me, area;
  GetWindowRect(window, &me);
  if (over)
    GetWindowRect(over, &area);
  else
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  int w = me.right - me.left, h = me.bottom - me.top;
  int x = area.left + ((area.right - area.left) - w) / 2;
  int y = area.top + ((area.bottom - area.top) - h) / 2;
  HDC dc = GetDC(window);
  int sw = dc ? GetDeviceCaps(dc, HORZRES) : GetSystemMetrics(SM_CXSCREEN);
  int sh = dc ? GetDeviceCaps(dc, VERTRES) : GetSystemMetrics(SM_CYSCREEN);
  if (dc) ReleaseDC(window, dc);
  x = std::max(0, std::min(x, sw - w));
  y = std::max(0, std::min(y, sh - h));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

int FitDialogItemToText(HWND dialog, int itemId) {
  HWND item = GetDlgItem(dialog, itemId);
  if (!item) return 0;
  int len = GetWindowTextLengthA(item);
  std::vector<char> text(static_cast<size_t>(len) + 1);
  GetWindowTextA(item, text.data(), len + 1);
  RECT r;
  GetWindowRect(item, &r);
  ScreenRectToClient(dialog, &r);
  RECT calc = {0, 0, r.right - r.left, 0};
  HDC dc = GetDC(item);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(item, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  DrawTextA(dc, text.data(), -1, &calc, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
  if (old) SelectObject(dc, old);
  ReleaseDC(item, dc);
  int grow = (calc.bottom - calc.top) - (r.bottom - r.top);
  if (grow <= 0) return 0;
  SetWindowPos(item, nullptr, 0, 0, r.right - r.left, calc.bottom - calc.top,
               SWP_NOMOVE | SWP_NOZORDER);
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c == item) continue;
    RECT cr;
    GetWindowRect(c, &cr);
    ScreenRectToClient(dialog, &cr);
    SetWindowPos(c, nullptr, cr.left, cr.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
  RECT dr;
  GetWindowRect(dialog, &dr);
  SetWindowPos(dialog, nullptr, 0, 0, dr.right - dr.left, dr.bottom - dr.top + grow,
               SWP_NOMOVE | SWP_NOZORDER);
  return grow;
}

void InitFileDialogRecord(OPENFILENAMEA* record, HWND owner, char* fileBuffer) {
  if (!record) return;
  std::memset(record, 0, sizeof *record);
  record->lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // 88 bytes on 32-bit
  record->hwndOwner = owner;
  record->lpstrFile = fileBuffer;
  record->nMaxFile = MAX_PATH;
}

void FrameOrFillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!dc || !rect || !brush) return;
  LOGBRUSH lb{};
  GetObjectA(brush, sizeof lb, &lb);
  if (lb.lbStyle != BS_HOLLOW) {
    FillRect(dc, rect, brush);
    return;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, lb.lbColor);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void KeepRectInWorkArea(RECT* rect) {
  RECT work;
  if (!rect || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return;
  if (rect->left >= work.left && rect->top >= work.top && rect->right <= work.right &&
      rect->bottom <= work.bottom)
    return;
  OffsetRect(rect, work.left - rect->left, work.top - rect->top);
}

void ClientRectToScreen(HWND window, RECT* rect) {
  if (!rect) return;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void ScreenRectToClient(HWND window, RECT* rect) {
  if (!rect) return;
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(rect), 2);
}

int ScrollListBoxToItem(HWND list, int item) {
  if (!list) return -1;
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  RECT c;
  GetClientRect(list, &c);
  int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  int newTop = TopIndexForItem(count, top, item, c.bottom - c.top, itemHeight);
  if (newTop < 0) return -1;
  if (newTop == top) return top;
  return SendMessageA(list, LB_SETTOPINDEX, static_cast<WPARAM>(newTop), 0) == LB_ERR ? -1 : top;
}

bool IsWindowOrAncestorIconic(HWND window) {
  for (HWND w = window; w; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
    if (IsIconic(w)) return true;
  return false;
}

namespace {
BOOL CALLBACK RedrawIfSameInstance(HWND w, LPARAM instance) {
  if (GetWindowLongPtrA(w, GWLP_HINSTANCE) == instance) RedrawWindow(w, nullptr, nullptr, 0x487);
  return TRUE;
}
}  // namespace

void RedrawAllInstanceWindows(HWND window) {
  if (!window) return;
  EnumWindows(RedrawIfSameInstance, GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

SIZE MeasureText(HWND window, const char* text, HFONT font) {
  SIZE size{};
  if (!text) return size;
  HDC dc = GetDC(window);
  if (!dc) return size;
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  if (old) SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size;
}

int FitTextLength(HWND window, const char* text, HFONT font, int width) {
  if (!text) return 0;
  HDC dc = GetDC(window);
  if (!dc) return static_cast<int>(std::strlen(text));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  size_t n = FitTextLength(text, width, [dc](const char* t, size_t len) {
    SIZE s{};
    GetTextExtentPoint32A(dc, t, static_cast<int>(len), &s);
    return static_cast<int>(s.cx);
  });
  if (old) SelectObject(dc, old);
  ReleaseDC(window, dc);
  return static_cast<int>(n);
}

HBITMAP RotateBitmap90(HDC dc, HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
    return nullptr;
  const int w = bm.bmWidth, h = bm.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> src(static_cast<size_t>(w) * h), dst(src.size());
  HDC use = dc ? dc : GetDC(nullptr);
  bool ok = GetDIBits(use, bitmap, 0, static_cast<UINT>(h), src.data(), &bi, DIB_RGB_COLORS) == h;
  // The source's own format: a bitmap compatible with a memory DC would be
  // monochrome.
  HBITMAP out = ok ? CreateBitmap(h, w, bm.bmPlanes, bm.bmBitsPixel, nullptr) : nullptr;
  if (out) {
    // Source (x, y) goes to (y, width - 1 - x): the result is h wide, w high.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        dst[static_cast<size_t>(w - 1 - x) * h + y] = src[static_cast<size_t>(y) * w + x];
    bi.bmiHeader.biWidth = h;
    bi.bmiHeader.biHeight = -w;
    if (SetDIBits(use, out, 0, static_cast<UINT>(w), dst.data(), &bi, DIB_RGB_COLORS) != w) {
      DeleteObject(out);
      out = nullptr;
    }
  }
  if (!dc) ReleaseDC(nullptr, use);
  return out;
}

void* CaptureWindowDib(HBITMAP bitmap, int bits, HPALETTE palette) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm)) return nullptr;
  BITMAPINFOHEADER h{};
  h.biSize = sizeof h;
  h.biWidth = bm.bmWidth;
  h.biHeight = bm.bmHeight;
  h.biPlanes = 1;
  h.biBitCount = static_cast<WORD>(bits ? bits : bm.bmPlanes * bm.bmBitsPixel);
  h.biCompression = BI_RGB;
  HDC dc = GetDC(nullptr);
  HPALETTE old = palette ? SelectPalette(dc, palette, FALSE) : nullptr;
  if (palette) RealizePalette(dc);
  // First pass: the image size; second: the bits and colour table.
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
  std::memcpy(info.data(), &h, sizeof h);
  auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
  void* dib = nullptr;
  if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), nullptr, bi, DIB_RGB_COLORS)) {
    BITMAPINFOHEADER& got = bi->bmiHeader;
    if (got.biSizeImage == 0)
      got.biSizeImage = static_cast<DWORD>(((got.biWidth * got.biBitCount + 31) / 32) * 4 *
                                           std::abs(got.biHeight));
    size_t table = ColourTableBytes(got);
    size_t total = got.biSize + table + got.biSizeImage;
    dib = gui::GlobalAllocPtr(total);
    if (dib) {
      std::memcpy(dib, &got, got.biSize);
      auto* out = static_cast<uint8_t*>(dib);
      if (!GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), out + got.biSize + table,
                     reinterpret_cast<BITMAPINFO*>(out), DIB_RGB_COLORS)) {
        gui::GlobalFreePtr(dib);
        dib = nullptr;
      }
    }
  }
  if (old) SelectPalette(dc, old, FALSE);
  ReleaseDC(nullptr, dc);
  return dib;
}

bool WriteDibToFile(const char* path, const void* dib) {
  if (!path || !dib) return false;
  const auto* h = static_cast<const BITMAPINFOHEADER*>(dib);
  if (h->biSize < sizeof(BITMAPINFOHEADER)) return false;
  size_t table = ColourTableBytes(*h);
  size_t image = h->biSizeImage
                     ? h->biSizeImage
                     : static_cast<size_t>(((h->biWidth * h->biBitCount + 31) / 32) * 4) *
                           static_cast<size_t>(std::abs(h->biHeight));
  size_t dibSize = h->biSize + table + image;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;  // "BM"
  fh.bfSize = static_cast<DWORD>(sizeof fh + dibSize);
  fh.bfOffBits = static_cast<DWORD>(sizeof fh + h->biSize + table);
  HANDLE f =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = WriteFile(f, &fh, sizeof fh, &n, nullptr) && n == sizeof fh &&
            WriteFile(f, dib, static_cast<DWORD>(dibSize), &n, nullptr) && n == dibSize;
  CloseHandle(f);
  return ok;
}

BOOL CALLBACK PrintAbortProc(HDC, int) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return TRUE;
}

bool InstallPrintAbortProc(HDC dc) { return dc && SetAbortProc(dc, PrintAbortProc) > 0; }

bool GetDevNamesText(HGLOBAL names, char* out, size_t outSize) {
  if (!names || !out || outSize == 0) return false;
  out[0] = '\0';
  SIZE_T size = GlobalSize(names);
  const auto* p = static_cast<const uint8_t*>(GlobalLock(names));
  if (!p) return false;
  bool ok = false;
  if (size >= 4) {
    uint16_t offset = static_cast<uint16_t>(p[2] | (p[3] << 8));
    if (offset < size) {
      // The text must end inside the block.
      size_t n = strnlen(reinterpret_cast<const char*>(p + offset), size - offset);
      if (n < size - offset) {
        n = std::min(n, outSize - 1);
        std::memcpy(out, p + offset, n);
        out[n] = '\0';
        ok = true;
      }
    }
  }
  GlobalUnlock(names);
  return ok;
}

namespace {
template <typename Fn>
bool WithDevMode(HGLOBAL devMode, Fn fn) {
  if (!devMode || GlobalSize(devMode) < sizeof(DEVMODEA)) return false;
  auto* dm = static_cast<DEVMODEA*>(GlobalLock(devMode));
  if (!dm) return false;
  fn(dm);
  GlobalUnlock(devMode);
  return true;
}
}  // namespace

bool SetPrintOrientation(HGLOBAL devMode, int value) {
  if (value != 1 && value != 2) return false;
  return WithDevMode(devMode, [&](DEVMODEA* dm) {
    dm->dmOrientation = static_cast<short>(value);
    dm->dmFields |= DM_ORIENTATION;
  });
}

bool SetPrintColor(HGLOBAL devMode, int value) {
  if (value != 1 && value != 2) return false;
  return WithDevMode(devMode, [&](DEVMODEA* dm) {
    dm->dmColor = static_cast<short>(value);
    dm->dmFields |= DM_COLOR;
  });
}

bool SetPrintQuality(HGLOBAL devMode, int value) {
  if (value < -4 || value > -1) return false;
  return WithDevMode(devMode, [&](DEVMODEA* dm) {
    dm->dmPrintQuality = static_cast<short>(value);
    dm->dmFields |= DM_PRINTQUALITY;
  });
}

}  // namespace shell
