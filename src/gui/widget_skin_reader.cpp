#include "gui/widget_skin_reader.h"

#include <cctype>
#include <cstdio>
#include <string>

#include "gui/skin_reader.h"
#include "platform/ini.h"
#include "platform/path.h"

namespace gui {

namespace {

std::string Get(const char* file, const char* section, const char* key) {
  return platform::IniGet(section, key, "", file, 260);
}

void Image(const char* file, SkinRegistry* reg, const char* key, uint32_t* id) {
  std::string name = Get(file, "resources", key);
  if (name.empty() || !reg) return;
  for (char& c : name)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (uint32_t v = reg->IdOf(name)) *id = v;
}

void Colour(const char* file, const char* key, uint32_t* out) {
  std::string v = Get(file, "colors", key);
  if (!v.empty()) *out = GuiParseSkinColour(v.c_str(), *out);
}

void Number(const char* file, const char* key, int32_t* out) {
  *out = platform::IniGetInt("dimensions", key, *out, file);
}

bool Usable(const char* file, const GuiSkin* skin) {
  return file && skin && platform::FileExists(file);
}

const char* const kStates[4] = {"up", "down", "disabled", "focus"};

}  // namespace

bool GuiReadButtonIni(const char* file, SkinRegistry* reg, GuiSkin* skin) {
  if (!Usable(file, skin)) return false;
  auto& b = skin->button;
  const char* const marks[5] = {"up", "down", "up_disabled", "down_disabled", "hitmask"};
  for (int i = 0; i < 5; ++i) {
    Image(file, reg, ("check_" + std::string(marks[i])).c_str(), &b.imageIds[kBtCheck + i]);
    Image(file, reg, ("radio_" + std::string(marks[i])).c_str(), &b.imageIds[kBtRadio + i]);
  }
  for (int i = 0; i < 4; ++i) {
    std::string st = kStates[i];
    Image(file, reg, ("button_left_" + st).c_str(), &b.imageIds[kBtLeft + i]);
    Image(file, reg, ("button_center_" + st).c_str(), &b.imageIds[kBtMiddle + i]);
    Image(file, reg, ("button_right_" + st).c_str(), &b.imageIds[kBtRight + i]);
    Image(file, reg, ("text_texture_" + st).c_str(), &b.imageIds[kBtTextFill + i]);
    Number(file, ("text_offset_x_" + st).c_str(), &b.textOffsetX[i]);
    Number(file, ("text_offset_y_" + st).c_str(), &b.textOffsetY[i]);
  }
  const char* const trio[3] = {"up", "down", "disabled"};
  for (int i = 0; i < 3; ++i) {
    std::string st = trio[i];
    Colour(file, ("text_color_" + st).c_str(), &b.textColors[i]);
    Colour(file, ("chkbox_text_color_" + st).c_str(), &b.checkColors[i]);
    Colour(file, ("radio_text_color_" + st).c_str(), &b.radioColors[i]);
  }
  Colour(file, "group_text_color_up", &b.groupTextColor);
  Colour(file, "group_border_color", &b.extraColor);
  Colour(file, "text_shadow_color", &b.shadowColor);
  for (int i = 0; i < 6; ++i)
    Number(file, ("bitmap_key_offset_" + std::to_string(i)).c_str(), &b.keyOffset[i]);
  Number(file, "plain_text_colors", &b.words[kBtwPlainText]);
  Number(file, "font_slot", &b.words[kBtwFontSlot]);
  Number(file, "font_size", &b.words[kBtwPoints]);
  Number(file, "focus_image", &b.words[kBtwFocusImage]);
  std::string face = Get(file, "resources", "font_name");
  if (!face.empty()) std::snprintf(b.face, sizeof b.face, "%s", face.c_str());
  return true;
}

bool GuiReadStaticIni(const char* file, SkinRegistry* reg, GuiSkin* skin) {
  if (!Usable(file, skin)) return false;
  auto& l = skin->label;
  Colour(file, "text_color", &l.text);
  Colour(file, "text_highlite_color", &l.hover);
  Colour(file, "alt_text_color", &l.alternative);
  Colour(file, "text_highlite_off_color", &l.highlightOff);
  Colour(file, "disabled_text_color", &l.disabled);
  Image(file, reg, "background", &l.backgroundId);
  return true;
}

bool GuiReadEditIni(const char* file, SkinRegistry* reg, GuiSkin* skin) {
  if (!Usable(file, skin)) return false;
  const char* const colours[5] = {"background_color", "selected_background_color",
                                  "focused_background_color", "disabled_background_color",
                                  "text_color"};
  for (int i = 0; i < 5; ++i)
    Colour(file, colours[i], &skin->editColors[i]);
  Colour(file, "top_left_border_color", &skin->editListColors[0]);
  Colour(file, "bottom_right_border_color", &skin->editListColors[1]);
  const char* const borders[8] = {
      "border_top_left",    "border_top_center",    "border_top_right",    "border_right",
      "border_bottom_left", "border_bottom_center", "border_bottom_right", "border_left"};
  for (int i = 0; i < 8; ++i)
    Image(file, reg, borders[i], &skin->editConfig.imageIds[kEcBorder + i]);
  Number(file, "border_width", &skin->borderWidth);
  return true;
}

bool GuiReadSpinEditIni(const char* file, SkinRegistry* reg, GuiSkin* skin) {
  if (!Usable(file, skin)) return false;
  uint32_t* ids = skin->editConfig.imageIds;
  // The arrows are bitmap buttons: their control ids are the registry keys
  // of their normal images, the pushed image at the key offset after it.
  Image(file, reg, "spin_top_up", &ids[kEcUpButtonId]);
  Image(file, reg, "spin_bottom_up", &ids[kEcDownButtonId]);
  ids[kEcArrowKey] = ids[kEcUpButtonId];
  int32_t editId = static_cast<int32_t>(ids[kEcEditId]);
  Number(file, "edit_id", &editId);
  ids[kEcEditId] = static_cast<uint32_t>(editId);
  return true;
}

int GuiReadWidgetSkin(const char* skinIni, SkinRegistry* reg, GuiSkin* skin) {
  struct {
    const char* key;
    bool (*read)(const char*, SkinRegistry*, GuiSkin*);
  } classes[] = {{"button", GuiReadButtonIni},
                 {"static", GuiReadStaticIni},
                 {"edit", GuiReadEditIni},
                 {"spin_edit", GuiReadSpinEditIni}};
  int found = 0;
  for (auto& c : classes) {
    std::string path = GuiSkinConfigPath(skinIni, c.key);
    if (!path.empty() && c.read(path.c_str(), reg, skin)) ++found;
  }
  return found;
}

}  // namespace gui
