#include "gui/skin_registry.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "gui/gui_memory.h"
#include "platform/path.h"

namespace gui {

namespace {
SkinHandleLoader g_loadHandle = LoadSkinBitmapHandle;
SkinHandleDeleter g_deleteHandle = DeleteSkinBitmapHandle;

void Release(const SkinRegistry::Image& image) {
  if (!image.ptr) return;
  if (image.isHandle)
    g_deleteHandle(image.ptr);
  else
    GlobalFreePtr(image.ptr);
}

// Splits the text into whitespace-separated tokens, each cut to the limit.
std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> out;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
      ++i;
    if (i >= text.size()) break;
    size_t start = i;
    while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
      ++i;
    out.push_back(text.substr(start, std::min(i - start, kSkinTokenMax)));
  }
  return out;
}
}  // namespace

void SetSkinHandleFunctions(SkinHandleLoader load, SkinHandleDeleter del) {
  g_loadHandle = load ? load : LoadSkinBitmapHandle;
  g_deleteHandle = del ? del : DeleteSkinBitmapHandle;
}

SkinRegistry::~SkinRegistry() {
  for (const Image& image : owned_)
    Release(image);
}

bool SkinRegistry::Load(const char* path) {
  std::vector<uint8_t> bytes;
  if (!path || !platform::ReadWholeFile(path, bytes)) return false;
  std::string p(path);
  size_t slash = p.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
  LoadText(std::string(bytes.begin(), bytes.end()), folder);
  return true;
}

void SkinRegistry::LoadText(const std::string& text, const std::string& folder) {
  std::vector<std::string> tokens = Tokens(text);
  // A partial triple at the end is ignored.
  for (size_t i = 0; i + 3 <= tokens.size(); i += 3)
    Add(tokens[i], folder + tokens[i + 1],
        static_cast<uint32_t>(std::strtoul(tokens[i + 2].c_str(), nullptr, 10)));
  loaded_ = true;
}

void SkinRegistry::Add(const std::string& name, const std::string& path, uint32_t id) {
  bool nameTaken = byName_.count(name) != 0;
  bool idTaken = id == 0 || byId_.count(id) != 0;
  if (nameTaken && idTaken) return;  // nothing would keep the image: do not load it
  Image image;
  image.isHandle = !name.empty() && name[0] == '!';
  image.ptr = image.isHandle ? g_loadHandle(path.c_str()) : ReadDIBFile(path.c_str());
  owned_.push_back(image);
  if (id != 0 && !idOfName_.count(name)) idOfName_[name] = id;
  if (!idTaken) byId_[id] = image;
  if (!nameTaken) byName_[name] = image;
}

const SkinRegistry::Image* SkinRegistry::FindName(const std::string& exactName) const {
  auto it = byName_.find(exactName);
  return it == byName_.end() ? nullptr : &it->second;
}

const SkinRegistry::Image* SkinRegistry::FindId(uint32_t id) const {
  auto it = byId_.find(id);
  return it == byId_.end() ? nullptr : &it->second;
}

uint32_t SkinRegistry::IdOf(const std::string& exactName) const {
  auto it = idOfName_.find(exactName);
  return it == idOfName_.end() ? 0 : it->second;
}

SkinRegistry* SkinRegistryCreate(const char* path) {
  auto* registry = new (std::nothrow) SkinRegistry;
  if (!registry) return nullptr;
  if (!registry->Load(path)) {
    delete registry;
    return nullptr;
  }
  return registry;
}

void SkinRegistryDestroy(SkinRegistry* registry) { delete registry; }

void* SkinRegistryFind(const SkinRegistry* registry, const char* name) {
  if (!registry || !name) return nullptr;
  std::string upper(name);
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const SkinRegistry::Image* image = registry->FindName(upper);
  return image ? image->ptr : nullptr;
}

void* SkinRegistryFindId(const SkinRegistry* registry, uint32_t id) {
  const SkinRegistry::Image* image = registry ? registry->FindId(id) : nullptr;
  return image ? image->ptr : nullptr;
}

PackedDIB* SkinRegistryFindDIB(const SkinRegistry* registry, const char* name) {
  if (name && name[0] == '!') return nullptr;
  return static_cast<PackedDIB*>(SkinRegistryFind(registry, name));
}

PackedDIB* SkinRegistryFindIdDIB(const SkinRegistry* registry, uint32_t id) {
  const SkinRegistry::Image* image = registry ? registry->FindId(id) : nullptr;
  return image && !image->isHandle ? static_cast<PackedDIB*>(image->ptr) : nullptr;
}

void GuiFreeBitmapSet(void* record) {
  if (!record) return;
  void** words = static_cast<void**>(record);
  SafeGlobalFreePtr(words[7]);
  GlobalFreePtr(record);
}

}  // namespace gui
