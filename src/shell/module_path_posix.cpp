#include "shell/module_path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace shell {

std::string GetProgramFilePath() {
  std::error_code ec;
  std::string p = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec) return std::string();
  std::replace(p.begin(), p.end(), '/', '\\');
  return p;
}

}  // namespace shell
