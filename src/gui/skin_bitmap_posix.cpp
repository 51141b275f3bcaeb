// Natively there are no system bitmap handles: '!' images stay empty.
#include "gui/skin_registry.h"

namespace gui {
void* LoadSkinBitmapHandle(const char*) { return nullptr; }
void DeleteSkinBitmapHandle(void*) {}
}  // namespace gui
