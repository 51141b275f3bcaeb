#include "scene/texture_cache.h"

#include <cctype>

namespace scene {

namespace {

struct CrcTable {
  uint32_t v[256];
  CrcTable() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      v[i] = c;
    }
  }
};

std::unique_ptr<TextureCache> g_cache;

}  // namespace

// The shift copies the sign bit into the top bits (an arithmetic shift of
// the value read as signed); kept so keys match those of existing folders.
uint32_t TextureKey(const std::string& path) {
  static const CrcTable table;
  uint32_t value = 0xFFFFFFFFu;
  for (char ch : path) {
    unsigned char b = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(ch)));
    if (b == '\\') b = '/';
    const uint32_t shifted = (value >> 8) | ((value & 0x80000000u) ? 0xFF000000u : 0);
    value = table.v[(value ^ b) & 0xFF] ^ shifted;
  }
  return value;
}

bool TextureCache::SetFolder(const std::string& folder) {
  if (folder.size() >= kMaxTextureFolder) return false;
  folder_ = folder;
  return true;
}

std::shared_ptr<void> TextureCache::Get(const std::string& name) {
  const bool bare = name.find_first_of("\\/") == std::string::npos;
  const std::string path = bare ? folder_ + "\\" + name : name;
  const uint32_t key = TextureKey(path);
  auto it = map_.find(key);
  if (it != map_.end()) return it->second;
  std::shared_ptr<void> texture = loader_ ? loader_(path) : nullptr;
  if (texture) map_[key] = texture;
  return texture;
}

bool TextureCache::Remove(const std::shared_ptr<void>& texture) {
  for (auto it = map_.begin(); it != map_.end(); ++it)
    if (it->second == texture) {
      map_.erase(it);
      return true;
    }
  return false;
}

void CreateTextureCache(TextureLoader loader) { g_cache = std::make_unique<TextureCache>(loader); }
void DestroyTextureCache() { g_cache.reset(); }
TextureCache* GetTextureCache() { return g_cache.get(); }

}  // namespace scene
