// The window system's process id and fonts by point size.
#include <windows.h>

#include "gui/gui_core.h"

namespace gui {
uint32_t GuiCurrentProcessId() { return GetCurrentProcessId(); }

GuiHandle GuiCreateFontPt(const char* face, int32_t points, int32_t weight, int32_t charset,
                          int32_t italic) {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, weight, italic ? TRUE : FALSE, FALSE, FALSE,
                     static_cast<BYTE>(charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     PROOF_QUALITY, VARIABLE_PITCH, face);
}

void GuiDeleteFontHandle(GuiHandle font) {
  if (font) DeleteObject(static_cast<HGDIOBJ>(font));
}
}  // namespace gui
