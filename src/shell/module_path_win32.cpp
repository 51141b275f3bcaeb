#include "shell/module_path.h"

#include <windows.h>

namespace shell {

std::string GetProgramFilePath() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  // A path that filled the buffer was cut by the system: refuse it.
  if (n == 0 || n >= sizeof buf) return std::string();
  return std::string(buf, n);
}

}  // namespace shell
