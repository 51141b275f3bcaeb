#include "gui/list_view_skin.h"

#include <string>

#include "gui/skin_reader.h"
#include "platform/ini.h"
#include "platform/path.h"

namespace gui {

namespace {

bool ReadColours(const char* iniPath, const char* const* keys, int count, uint32_t* out) {
  if (!iniPath || !platform::FileExists(iniPath)) return false;
  for (int i = 0; i < count; ++i) {
    std::string v = platform::IniGet("colors", keys[i], "", iniPath, 260);
    if (!v.empty()) out[i] = GuiParseSkinColour(v.c_str(), out[i]);
  }
  return true;
}

}  // namespace

bool GuiReadListViewIni(const char* iniPath, GuiSkin* skin) {
  static const char* const kKeys[] = {"background_color",
                                      "selected_background_color",
                                      "focused_background_color",
                                      "text_color",
                                      "selected_text_color",
                                      "disabled_text_color",
                                      "selected_disabled_text_color",
                                      "selected_disabled_background_color"};
  return skin && ReadColours(iniPath, kKeys, 8, &skin->listViewColors[kLvBackground]);
}

bool GuiReadHeaderIni(const char* iniPath, GuiSkin* skin) {
  static const char* const kKeys[] = {"header_btnface_color",    "header_btnhighlight_color",
                                      "header_btnshadow_color",  "header_btndarkshadow_color",
                                      "header_background_color", "header_text_color"};
  return skin && ReadColours(iniPath, kKeys, 6, &skin->listViewColors[kHeaderFace]);
}

bool GuiReadTrackbarIni(const char* iniPath, GuiSkin* skin) {
  static const char* const kKeys[] = {"trackbar_ticks_color",       "trackbar_thumb_color",
                                      "trackbar_background_color",  "trackbar_channel_color",
                                      "trackbar_thumb_bordercolor", "trackbar_channel_bordercolor"};
  if (!skin) return false;
  auto& t = skin->trackbar;
  uint32_t colours[6] = {t.ticks, t.thumb, t.background, t.channel, t.thumbFrame, t.channelFrame};
  if (!ReadColours(iniPath, kKeys, 6, colours)) return false;
  t = {colours[0], colours[1], colours[2], colours[3], colours[4], colours[5]};
  return true;
}

}  // namespace gui
