// Win32 private-profile files: the real API (ANSI entry points; the plain
// names are windows.h macros).
#include <windows.h>

#include "platform/ini.h"

namespace platform {

uint32_t IniGetString(const char* section, const char* key, const char* def, char* out,
                      uint32_t size, const char* file) {
  return GetPrivateProfileStringA(section, key, def, out, size, file);
}

int IniGetInt(const char* section, const char* key, int def, const char* file) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, def, file));
}

bool IniWriteString(const char* section, const char* key, const char* value, const char* file) {
  return WritePrivateProfileStringA(section, key, value, file) != 0;
}

}  // namespace platform
