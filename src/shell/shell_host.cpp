#include "shell/shell_host.h"

#include <cstring>
#include <string>

#include "platform/path.h"
#include "shell/sound.h"

namespace shell {
namespace {
ShellHost g_defaultHost;
ShellHost* g_host = nullptr;
}  // namespace

void ShellHost::SetBusyCursor(bool) {}
void ShellHost::PlaySoundFile(const char* name) {
  // The sound layer itself, silent until it is started.
  if (!name) return;
  const std::wstring wide(name, name + std::strlen(name));
  shell::PlaySoundFile(wide.c_str(), 0);
}
void ShellHost::GetDesktopSize(int* width, int* height) {
  if (width) *width = 1024;
  if (height) *height = 768;
}
int ShellHost::GetCurrentRoomId() { return 1; }
void ShellHost::SetCurrentLayoutIndex(int) {}
void ShellHost::CloseProfileGames() {}
void ShellHost::LoadOptionsSettings() {}
int ShellHost::LoadPageLayout(const char* path) {
  return path && platform::FileExists(path) ? 0 : -1;
}
void ShellHost::SetGlobalTextBuffer(const char*) {}
void ShellHost::ProfileSelected(const UserProfile&) {}

ShellHost* SetShellHost(ShellHost* host) {
  ShellHost* previous = g_host;
  g_host = host;
  return previous;
}

ShellHost& GetShellHost() { return g_host ? *g_host : g_defaultHost; }

}  // namespace shell
