#include "gui/skin_reader.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "gui/gui_core.h"
#include "platform/ini.h"
#include "platform/path.h"

namespace gui {

namespace {

std::string Get(const char* file, const char* section, const char* key) {
  return platform::IniGet(section, key, "", file, 260);
}

uint32_t IdOf(SkinRegistry* registry, const std::string& name) {
  if (name.empty() || !registry) return 0;
  std::string upper = name;
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return registry->IdOf(upper);
}

void Image(const char* file, SkinRegistry* reg, const char* key, uint32_t* id) {
  uint32_t v = IdOf(reg, Get(file, "resources", key));
  if (v) *id = v;
}

void Colour(const char* file, const char* key, uint32_t* out) {
  std::string v = Get(file, "colors", key);
  if (!v.empty()) *out = GuiParseSkinColour(v.c_str(), *out);
}

void Number(const char* file, const char* key, int32_t* out) {
  *out = platform::IniGetInt("dimensions", key, *out, file);
}

int32_t Weight(const std::string& style) {
  if (style == "bold") return 600;
  if (style == "normal") return 400;
  return 0;
}

std::string FolderOf(const char* path) {
  std::string p(path);
  size_t slash = p.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
}

}  // namespace

uint32_t GuiParseSkinColour(const char* text, uint32_t def) {
  if (!text || !*text) return def;
  if (std::strstr(text, "RGB")) {
    unsigned r, g, b;
    if (std::sscanf(text, "%u %u %u", &r, &g, &b) != 3 || r > 255 || g > 255 || b > 255) return def;
    return r | (g << 8) | (b << 16);
  }
  char* end = nullptr;
  unsigned long v = std::strtoul(text, &end, 16);
  if (end == text || v > 0xFFFFFF) return def;
  return static_cast<uint32_t>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
}

bool GuiReadFrameIni(const char* file, SkinRegistry* reg, GuiFrameGroup* g) {
  if (!file || !g || !platform::FileExists(file)) return false;
  struct {
    const char* key;
    int index;
  } images[] = {
      {"sysmenu_up", kFrIcon},
      {"sysmenu_down", kFrIcon + 1},
      {"minimize_up", kFrMinimize},
      {"minimize_down", kFrMinimize + 1},
      {"maximize_up", kFrMaximize},
      {"maximize_down", kFrMaximize + 1},
      {"close_up", kFrClose},
      {"close_down", kFrClose + 1},
      {"restore_up", kFrRestore},
      {"restore_down", kFrRestore + 1},
      {"speaker_up", kFrCollapseExpanded},
      {"speaker_down", kFrCollapseExpanded + 1},
      {"speaker1_up", kFrCollapseCollapsed},
      {"speaker1_down", kFrCollapseCollapsed + 1},
      {"caption_left_frame", kFrCaption},
      {"caption_center_frame", kFrCaption + 1},
      {"caption_right_frame", kFrCaption + 2},
      {"left_top_frame", kFrLeft},
      {"left_center_frame", kFrLeft + 1},
      {"left_bottom_frame", kFrLeft + 2},
      {"right_top_frame", kFrRight},
      {"right_center_frame", kFrRight + 1},
      {"right_bottom_frame", kFrRight + 2},
      {"top_left_frame", kFrTop},
      {"top_center_frame", kFrTop + 1},
      {"top_right_frame", kFrTop + 2},
      {"bottom_left_frame", kFrBottom},
      {"bottom_center_frame", kFrBottom + 1},
      {"bottom_right_frame", kFrBottom + 2},
      {"top_left_corner", kFrCornerTL},
      {"top_right_corner", kFrCornerTR},
      {"bottom_left_corner", kFrCornerBL},
      {"bottom_right_corner", kFrCornerBR},
      {"background", kFrBackground},
  };
  for (auto& im : images)
    Image(file, reg, im.key, &g->imageIds[im.index]);
  // One look for both states unless the skin gives an inactive one.
  for (int base : {kFrLeft, kFrRight, kFrTop, kFrBottom, kFrCaption})
    for (int i = 0; i < 3; ++i)
      g->imageIds[base + 3 + i] = g->imageIds[base + i];
  for (int c : {kFrCornerTL, kFrCornerTR, kFrCornerBL, kFrCornerBR})
    g->imageIds[c + 1] = g->imageIds[c];
  g->imageIds[kFrIcon + 1] = g->imageIds[kFrIcon];
  Image(file, reg, "caption_left_frame_inactive", &g->imageIds[kFrCaption + 3]);
  Image(file, reg, "caption_center_frame_inactive", &g->imageIds[kFrCaption + 4]);
  Image(file, reg, "caption_right_frame_inactive", &g->imageIds[kFrCaption + 5]);
  Colour(file, "active_caption_text_color", &g->captionColor[0]);
  Colour(file, "inactive_caption_text_color", &g->captionColor[1]);
  Number(file, "center_caption", &g->captionCentred);
  Number(file, "close_button_offset_x", &g->closeOffset[0]);
  Number(file, "close_button_offset_y", &g->closeOffset[1]);
  Number(file, "min_button_offset_x", &g->minOffset[0]);
  Number(file, "min_button_offset_y", &g->minOffset[1]);
  Number(file, "max_button_offset_x", &g->maxOffset[0]);
  Number(file, "max_button_offset_y", &g->maxOffset[1]);
  Number(file, "shrink_button_offset_x", &g->collapseOffset[0]);
  Number(file, "shrink_button_offset_y", &g->collapseOffset[1]);
  Number(file, "caption_offset_x", &g->captionTextOffset[0]);
  Number(file, "caption_offset_y", &g->captionTextOffset[1]);
  Number(file, "minimized_window_size", &g->collapsedWidth);
  std::string face = Get(file, "resources", "caption_font_name");
  if (!face.empty()) std::snprintf(g->captionFace, sizeof g->captionFace, "%s", face.c_str());
  g->captionHeight = platform::IniGetInt("resources", "caption_font_size", 10, file);
  int32_t weight = Weight(Get(file, "resources", "caption_font_style"));
  if (!g->captionFont && g->captionFace[0])
    g->captionFont = GuiCreateFontPt(g->captionFace, g->captionHeight, weight ? weight : 400, 0, 0);
  if (!g->captionTextMode) g->captionTextMode = kCaptionText;
  g->present = 1;
  g->imageSource = reg;
  return true;
}

bool GuiReadMenuIni(const char* file, SkinRegistry* reg, GuiMenuGroup* g) {
  if (!file || !g || !platform::FileExists(file)) return false;
  struct {
    const char* key;
    int index;
  } images[] = {
      {"menu_bar_left", kMnBarLeft},
      {"menu_bar_center", kMnBarCenter},
      {"menu_bar_right", kMnBarRight},
      {"menubar_item_left_up", kMnItemUp},
      {"menubar_item_center_up", kMnItemUp + 1},
      {"menubar_item_right_up", kMnItemUp + 2},
      {"menubar_item_left_down", kMnItemDown},
      {"menubar_item_center_down", kMnItemDown + 1},
      {"menubar_item_right_down", kMnItemDown + 2},
      {"menu_border_top_left", kMnFrameTopLeft},
      {"menu_border_top_center", kMnFrameTop},
      {"menu_border_top_right", kMnFrameTopRight},
      {"menu_border_right", kMnFrameRight},
      {"menu_border_bottom_left", kMnFrameBottomLeft},
      {"menu_border_bottom_center", kMnFrameBottom},
      {"menu_border_bottom_right", kMnFrameBottomRight},
      {"menu_border_left", kMnFrameLeft},
      {"menu_separator_left", kMnSeparator},
      {"menu_separator_center", kMnSeparator + 1},
      {"menu_separator_right", kMnSeparator + 2},
      {"menu_item_check_up", kMnCheck},
      {"menu_item_check_down", kMnCheckHot},
      {"menu_item_popup_up", kMnArrow},
      {"menu_item_popup_down", kMnArrowHot},
  };
  for (auto& im : images)
    Image(file, reg, im.key, &g->imageIds[im.index]);
  std::string face = Get(file, "resources", "popupmenu_font_name");
  if (face.empty()) face = Get(file, "resources", "menu_font_name");
  if (!face.empty()) std::snprintf(g->face, sizeof g->face, "%s", face.c_str());
  g->points =
      platform::IniGetInt("resources", "popupmenu_font_size", g->points ? g->points : 10, file);
  int32_t w = Weight(Get(file, "resources", "popupmenu_font_style"));
  if (w) g->weight = w;
  Number(file, "menubar_item_inset_x_active", &g->marginX);
  Number(file, "menubar_item_inset_y_active", &g->marginY);
  Colour(file, "menu_text_color_up", &g->textColor);
  Colour(file, "menu_text_color_down", &g->textColorHot);
  Colour(file, "menu_grayed_color_up", &g->grayedColor);
  Colour(file, "menu_grayed_color_down", &g->grayedColorHot);
  Colour(file, "menu_background_color_up", &g->background);
  Colour(file, "menu_background_color_down", &g->highlight);
  Colour(file, "menubar_text_color_active", &g->barTextColor[0]);
  Colour(file, "menubar_text_color_inactive", &g->barTextColor[1]);
  g->style = kMenuRenderedItems;
  g->present = 1;
  return true;
}

bool GuiReadStatusIni(const char* file, SkinRegistry* reg, GuiStatusGroup* g) {
  if (!file || !g || !platform::FileExists(file)) return false;
  uint32_t id = IdOf(reg, Get(file, "resources", "statusbar_divider"));
  if (id) g->separatorId = id;
  std::string face = Get(file, "resources", "statusbar_font_name");
  if (!face.empty()) std::snprintf(g->face, sizeof g->face, "%s", face.c_str());
  g->points =
      platform::IniGetInt("resources", "statusbar_font_size", g->points ? g->points : 10, file);
  Colour(file, "statusbar_progress_color", &g->progressColor);
  Colour(file, "statusbar_text_color", &g->textColor);
  g->present = 1;
  return true;
}

std::string GuiSkinConfigPath(const char* skinIni, const char* key) {
  std::string name = platform::IniGet("configuration files", key, "none.ini", skinIni, 260);
  if (name.empty()) return {};
  std::string lower = name;
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "none.ini") return {};
  return FolderOf(skinIni) + name;
}

bool GuiLoadFrameSkinFromFile(const char* skinIni, GuiFrameSkin* skin, SkinRegistry** registry) {
  if (!skinIni || !skin || !registry) return false;
  std::string resources = GuiSkinConfigPath(skinIni, "GUIResources");
  SkinRegistry* reg = resources.empty() ? nullptr : SkinRegistryCreate(resources.c_str());
  if (!reg || reg->nameCount() == 0) {
    SkinRegistryDestroy(reg);
    return false;
  }
  skin->imageSource = reg;
  const char* kinds[kFrameKindCount] = {"thick_frame", "thin_frame", "dialog_frame", nullptr,
                                        "tooltip_frame"};
  for (int k = 0; k < kFrameKindCount; ++k) {
    if (!kinds[k]) continue;
    std::string path = GuiSkinConfigPath(skinIni, kinds[k]);
    GuiReadFrameIni(path.c_str(), reg, &skin->groups[k]);
  }
  GuiReadMenuIni(GuiSkinConfigPath(skinIni, "menu").c_str(), reg, &skin->menu);
  GuiReadStatusIni(GuiSkinConfigPath(skinIni, "status_bar").c_str(), reg, &skin->status);
  *registry = reg;
  return true;
}

}  // namespace gui
