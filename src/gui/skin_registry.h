#pragma once
// SkinRegistry: the images of a skin, loaded from its description file and
// found by name or by number. The registry owns every image; skin records
// and widgets only borrow them for as long as the registry lives.
//
// Description file: whitespace-separated triples "name file id" (the file
// relative to the description's folder). A name starting with '!' is loaded
// as a bitmap handle by the system; any other as a packed DIB. Id 0 puts an
// image in the name map only. The first image of a name or id wins.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gui/utils.h"

namespace gui {

class SkinRegistry {
 public:
  struct Image {
    void* ptr = nullptr;  // PackedDIB* or a bitmap handle; null when the load failed
    bool isHandle = false;
  };

  SkinRegistry() = default;
  virtual ~SkinRegistry();
  SkinRegistry(const SkinRegistry&) = delete;
  SkinRegistry& operator=(const SkinRegistry&) = delete;

  // Loads the description; false when it cannot be opened.
  bool Load(const char* path);
  // Parses description text; images are loaded from `folder` (which ends in
  // a separator or is empty).
  void LoadText(const std::string& text, const std::string& folder);

  const Image* FindName(const std::string& exactName) const;
  const Image* FindId(uint32_t id) const;
  // The first id entered under an exact name; 0 when none.
  uint32_t IdOf(const std::string& exactName) const;
  bool loaded() const { return loaded_; }
  size_t nameCount() const { return byName_.size(); }

 private:
  void Add(const std::string& name, const std::string& path, uint32_t id);

  std::vector<Image> owned_;  // every image loaded, released once
  std::map<std::string, Image> byName_;
  std::map<uint32_t, Image> byId_;
  std::map<std::string, uint32_t> idOfName_;
  bool loaded_ = false;
};

// Longest name or file name token read from a description; longer tokens are
// cut to this length.
constexpr size_t kSkinTokenMax = 259;

SkinRegistry* SkinRegistryCreate(const char* path);
void SkinRegistryDestroy(SkinRegistry* registry);
// The image of a name (upper-cased before the lookup) or an id; null when
// missing. The DIB forms answer null for bitmap-handle images.
void* SkinRegistryFind(const SkinRegistry* registry, const char* name);
void* SkinRegistryFindId(const SkinRegistry* registry, uint32_t id);
PackedDIB* SkinRegistryFindDIB(const SkinRegistry* registry, const char* name);
PackedDIB* SkinRegistryFindIdDIB(const SkinRegistry* registry, uint32_t id);

// How '!' images are loaded and released: the system's bitmap loader on
// Windows, nothing natively. Tests may install their own pair.
using SkinHandleLoader = void* (*)(const char* path);
using SkinHandleDeleter = void (*)(void* handle);
void SetSkinHandleFunctions(SkinHandleLoader load, SkinHandleDeleter del);
void* LoadSkinBitmapHandle(const char* path);  // platform default
void DeleteSkinBitmapHandle(void* handle);     // platform default

// Frees the buffer held in the last word of an eight-word image-set record,
// then the record.
void GuiFreeBitmapSet(void* record);

}  // namespace gui
