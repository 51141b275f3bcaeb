#include "game/program_folder.h"

namespace {
std::string& Folder() {
  static std::string folder;
  return folder;
}
}  // namespace

void SetGameProgramFolder(const std::string& folder) { Folder() = folder; }

const std::string& GameProgramFolder() { return Folder(); }

std::string GameProgramPath(const char* relative) {
  if (Folder().empty()) return relative;
  // Joined with a backslash as every program path is; the platform layer
  // accepts it in both builds.
  std::string path = Folder();
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  return path + relative;
}
