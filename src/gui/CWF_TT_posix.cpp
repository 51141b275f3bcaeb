// Natively there is no font rasteriser: no scratch device, every font accepted.
#include "gui/CWF_TT.h"

namespace gui {
CwfDevice* CwfOpenScratchDevice(int32_t, int32_t) { return nullptr; }
bool CwfFontAccepted(const char*, int32_t, int32_t, int32_t) { return true; }
}  // namespace gui
