// Natively there is no font rasteriser: no scratch device, every font accepted.
#include "gui/CWF_TT.h"

namespace gui {
CwfDevice* CwfOpenScratchDevice(int32_t, int32_t) { return nullptr; }
bool CwfFontAccepted(const char*, int32_t, int32_t, int32_t) { return true; }
PackedDIB* CwfRenderTextGDI(const char*, const char*, int32_t, int32_t, const PackedDIB*,
                            const CwfMat2*, CwfTextMetrics*) {
  return nullptr;
}
PackedDIB* CwfRenderTextGDIFlood(const char*, const char*, int32_t, int32_t, const PackedDIB*,
                                 const CwfMat2*, CwfTextMetrics*, uint8_t, uint8_t, uint8_t) {
  return nullptr;
}
}  // namespace gui
