#include "shell/startup/win32/startup_hooks.h"

#include <optional>
#include <string>

#include "gui/utils.h"
#include "gui/win32/gui_widgets1.h"
#include "shell/archive.h"
#include "shell/sound.h"
#include "shell/startup/msgbox.h"
#include "shell/startup/resource_sets.h"
#include "ui/win32/main_frame.h"

namespace shell {
namespace {

// Theme file names are single-byte text; the sound layer takes wide names.
void PlayThemeAmbiance(const char* name) {
  if (!name || !*name) return;
  std::wstring wide;
  for (const char* c = name; *c; ++c)
    wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
  PlayAmbianceFile(wide.c_str(), -1);
}

void* LoadArchiveIndex(const char* indexPath) { return ResArchiveLoadIndex(indexPath).release(); }

void FreeArchiveIndex(void* index) { delete static_cast<ResArchiveIndex*>(index); }

// The entry's bytes become a bitmap only when they hold a whole one.
gui::PackedDIB* LoadArchiveBitmap(const char* indexPath, const char* dataPath, const char* name,
                                  void* index) {
  ResArchiveEntry entry{};
  std::optional<ResBlock> block =
      ResArchiveRead(indexPath, dataPath, name, static_cast<const ResArchiveIndex*>(index), &entry);
  if (!block || block->empty()) return nullptr;
  return gui::ReadDIBFromMemory(block->data(), block->size());
}

}  // namespace

void InstallAnimButtonArchive() {
  gui::AnimButtonSetArchiveFunctions(LoadArchiveIndex, LoadArchiveBitmap, FreeArchiveIndex);
}

void InstallStartupHooks() {
  SetInterfaceSwitch(ui::EnableUserInterface);
  SetAmbiancePlayer(PlayThemeAmbiance);
  InstallAnimButtonArchive();
}

}  // namespace shell
