#include "shell/startup/palette_pack.h"

#include <memory>

#include "gui/skin_registry.h"
#include "shell/resource_packs.h"

namespace shell {
namespace {

class SkinPackModule : public PackModule {
 public:
  bool Load(const char* path) { return registry_.Load(path); }
  void* FindBitmap(const char* name) override { return gui::SkinRegistryFind(&registry_, name); }

 private:
  gui::SkinRegistry registry_;
};

std::unique_ptr<PackModule> MakeSkinPack(const char* path) {
  auto module = std::make_unique<SkinPackModule>();
  if (!path || !*path || !module->Load(path)) return nullptr;
  return module;
}

}  // namespace

void InstallPalettePackFactory() { SetPackModuleFactory(MakeSkinPack); }

}  // namespace shell
