#include "gui/gui_scrollbars.h"

namespace gui {

// Natively there is no window system: states made without a test host only
// keep their values.
GuiScrollHost* GuiScrollPlatformHost() { return nullptr; }

}  // namespace gui
