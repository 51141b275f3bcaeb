#include "shell/startup/sound_engine.h"

#include <windows.h>

#include "shell/app_context.h"

namespace shell {

bool IsRunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool InitSound(SoundEngine engine, const std::string& folder) {
  std::string where = folder;
  if (where.empty()) {
    const char* f = GetSoundFolder();
    where = f ? f : "Data\\Sound";
  }
  if (engine == SoundEngine::kAuto) {
    engine = IsRunningUnderWine() ? SoundEngine::kWaveOut : SoundEngine::kDirectMusic;
  }
  return InitSound(
      engine == SoundEngine::kWaveOut ? CreateWaveOutBackend() : CreateDirectMusicBackend(), where);
}

bool InitSound() { return InitSound(SoundEngine::kAuto, std::string()); }

}  // namespace shell
