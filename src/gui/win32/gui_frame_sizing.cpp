// The sizing border of a skinned frame, switched from outside (the panels'
// size lock); the frame reads its flags at each layout.
#include "gui/win32/gui_frame.h"
#include "gui/win32/gui_frame_internal.h"

namespace gui {

bool GuiFrameSetSizingBorder(HWND window, bool sizable) {
  GuiFrameState* s = GuiFrameStateOf(window);
  if (!s) return false;
  const uint32_t flags = sizable ? (s->frameFlags | kFfThick) : (s->frameFlags & ~kFfThick);
  if (flags == s->frameFlags) return false;
  s->frameFlags = flags;
  return true;
}

}  // namespace gui
