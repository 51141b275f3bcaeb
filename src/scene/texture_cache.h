#pragma once
// The scene's one texture cache: each texture file is read once, keyed by
// the CRC-32 of its path upper-cased with forward slashes, so names that
// differ only in case or slash direction share one texture. The window side
// installs the loader that creates device textures.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace scene {

constexpr size_t kMaxTextureFolder = 1024;

// The key of a texture path (no final inversion of the CRC).
uint32_t TextureKey(const std::string& path);

// Creates the texture of a file; null when it cannot be read.
using TextureLoader = std::shared_ptr<void> (*)(const std::string& path);

class TextureCache {
 public:
  explicit TextureCache(TextureLoader loader) : loader_(loader) {}

  // Longer folders are refused (the old one stays).
  bool SetFolder(const std::string& folder);
  const std::string& Folder() const { return folder_; }
  // A bare name is taken in the folder; answers the cached or newly loaded
  // texture, or null (a failed load is not cached).
  std::shared_ptr<void> Get(const std::string& name);
  // Drops the cache's reference; false when it is not cached.
  bool Remove(const std::shared_ptr<void>& texture);
  void ReleaseAll() { map_.clear(); }
  size_t Size() const { return map_.size(); }

 private:
  TextureLoader loader_;
  std::string folder_;
  std::unordered_map<uint32_t, std::shared_ptr<void>> map_;
};

// The process-wide cache of the board scene (null before creation).
void CreateTextureCache(TextureLoader loader);
void DestroyTextureCache();
TextureCache* GetTextureCache();

}  // namespace scene
