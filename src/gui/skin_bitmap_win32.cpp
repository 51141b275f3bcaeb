// '!' skin images are DIB sections loaded by the system.
#include <windows.h>

#include "gui/skin_registry.h"

namespace gui {
void* LoadSkinBitmapHandle(const char* path) {
  return LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0,
                    LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
}
void DeleteSkinBitmapHandle(void* handle) {
  if (handle) DeleteObject(static_cast<HGDIOBJ>(handle));
}
}  // namespace gui
