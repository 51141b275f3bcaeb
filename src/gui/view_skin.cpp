#include "gui/view_skin.h"

#include <cctype>
#include <string>

#include "gui/skin_reader.h"
#include "platform/ini.h"
#include "platform/path.h"

namespace gui {

namespace {

GuiViewSkinImages g_images{};

bool Exists(const char* path) { return path && platform::FileExists(path); }

uint32_t IdOf(const char* file, SkinRegistry* registry, const char* key) {
  std::string name = platform::IniGet("resources", key, "", file, 260);
  if (name.empty() || !registry) return 0;
  for (char& c : name)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return registry->IdOf(name);
}

void Colour(const char* file, const char* key, uint32_t* out) {
  std::string v = platform::IniGet("colors", key, "", file, 260);
  if (!v.empty()) *out = GuiParseSkinColour(v.c_str(), *out);
}

PackedDIB* Resolve(SkinRegistry* source, uint32_t id, bool identity) {
  PackedDIB* dib = id ? SkinRegistryFindIdDIB(source, id) : nullptr;
  if (dib && identity) DIBSetIdentityColorTable(dib);
  return dib;
}

}  // namespace

GuiViewSkinImages* GuiGetViewSkinImages() { return &g_images; }

bool GuiReadListIni(const char* iniPath, SkinRegistry* registry, GuiSkin* skin) {
  if (!skin || !Exists(iniPath)) return false;
  static const char* const kColours[] = {"background_color", "selected_background_color",
                                         "focused_background_color", "text_color",
                                         "selected_text_color"};
  for (int i = 0; i < 5; ++i)
    Colour(iniPath, kColours[i], &skin->list.colors[i]);
  static const char* const kBorder[kListBorderImages] = {
      "border_top_left", "border_top",          "border_top_right", "border_bottom_left",
      "border_bottom",   "border_bottom_right", "border_left",      "border_right"};
  for (int i = 0; i < kListBorderImages; ++i) {
    uint32_t id = IdOf(iniPath, registry, kBorder[i]);
    if (id) skin->list.imageIds[i] = id;
  }
  skin->list.fallbackBorder =
      platform::IniGetInt("dimensions", "border_width", skin->list.fallbackBorder, iniPath);
  return true;
}

bool GuiReadTreeIni(const char* iniPath, SkinRegistry* registry, GuiSkin* skin) {
  if (!skin || !Exists(iniPath)) return false;
  uint32_t* w = skin->tree.words;
  if (uint32_t id = IdOf(iniPath, registry, "tree_plus")) w[kTreeCollapsedId] = id;
  if (uint32_t id = IdOf(iniPath, registry, "tree_minus")) w[kTreeExpandedId] = id;
  w[kTreePreButtonDx] = static_cast<uint32_t>(platform::IniGetInt(
      "dimensions", "tree_prebutton_dx", static_cast<int>(w[kTreePreButtonDx]), iniPath));
  w[kTreePostButtonDx] = static_cast<uint32_t>(platform::IniGetInt(
      "dimensions", "tree_postbutton_dx", static_cast<int>(w[kTreePostButtonDx]), iniPath));
  Colour(iniPath, "tree_text_color", &w[kTreeText]);
  Colour(iniPath, "tree_line_color", &w[kTreeLine]);
  Colour(iniPath, "tree_background_color", &w[kTreeBackground]);
  // The tree selects in the list's colours unless its own file names others.
  w[kTreeSelectedText] = skin->list.colors[kListSelectedText];
  w[kTreeSelectedBackground] = skin->list.colors[kListSelectedBackground];
  Colour(iniPath, "tree_selected_text_color", &w[kTreeSelectedText]);
  Colour(iniPath, "tree_selected_background_color", &w[kTreeSelectedBackground]);
  return true;
}

int CGUIListWndApplySkin(SkinRegistry* source, GuiSkin* skin) {
  if (!skin) return 0;
  int count = 0;
  for (int i = 0; i < kListBorderImages; ++i) {
    g_images.listBorder[i] = Resolve(source, skin->list.imageIds[i], skin->identity != 0);
    if (g_images.listBorder[i]) ++count;
  }
  g_images.listBorderCount = count ? count : 1;
  return 1;
}

int CGUITreeViewApplySkin(SkinRegistry* source, GuiSkin* skin) {
  if (!skin) return 0;
  if (!skin->tree.words[kTreeButtonFlag]) {
    bool identity = skin->identity != 0;
    g_images.treeCollapsed = Resolve(source, skin->tree.words[kTreeCollapsedId], identity);
    g_images.treeExpanded = Resolve(source, skin->tree.words[kTreeExpandedId], identity);
  }
  return 1;
}

int32_t GuiListBorderWidth(const GuiSkin* skin) {
  if (!skin) return 0;
  return skin->edgeProc ? skin->borderWidth : skin->list.fallbackBorder;
}

}  // namespace gui
