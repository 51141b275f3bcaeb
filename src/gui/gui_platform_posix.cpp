// Native stand-ins for the window system's process id and fonts.
#include <unistd.h>

#include "gui/gui_core.h"

namespace gui {
uint32_t GuiCurrentProcessId() { return static_cast<uint32_t>(getpid()); }
GuiHandle GuiCreateFontPt(const char*, int32_t, int32_t, int32_t, int32_t) { return nullptr; }
void GuiDeleteFontHandle(GuiHandle) {}
}  // namespace gui
