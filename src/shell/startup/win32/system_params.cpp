#include "shell/startup/win32/system_params.h"

#include <windows.h>

namespace shell {

uint32_t Win32SystemParams::Get(uint32_t action) {
  // Every value asked for is a BOOL or a UINT.
  UINT value = 0;
  if (!SystemParametersInfoA(action, 0, &value, 0)) return 0;
  return value;
}

void Win32SystemParams::Set(uint32_t action, uint32_t value, uint32_t winIni) {
  // The smoothing type travels as the pointer argument itself; the others
  // as the first argument.
  if (action == kSpiSetFontSmoothingType)
    SystemParametersInfoA(action, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(value)),
                          winIni);
  else
    SystemParametersInfoA(action, value, nullptr, winIni);
}

}  // namespace shell
