#pragma once
// The toolkit set up with the standard skin the build writes: frames,
// buttons, labels, edits and list views, for the main window's window tests.
#include <windows.h>

#include <cctype>
#include <string>

#include "gui/gui_core.h"
#include "gui/list_view_skin.h"
#include "gui/skin_reader.h"
#include "gui/view_skin.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_win32.h"
#include "screenshot.h"

namespace uitest {

// The scroll-bar group as the program's skin loader fills it: per
// orientation the arrows, the track and the thumb pieces, pressed after
// normal (the vertical track has one look for both states). Without it the
// bars keep the built-in skin's black track.
inline void ReadScrollGroup(const std::string& folder, gui::SkinRegistry* registry,
                            gui::GuiSkin* skin) {
  static const char* const kOrder[] = {
      "v_top_button_up",   "v_top_button_down",  "v_bottom_button_up",  "v_bottom_button_down",
      "v_track_up",        "v_track_up",         "v_thumb_top_up",      "v_thumb_center_up",
      "v_thumb_bottom_up", "v_thumb_top_down",   "v_thumb_center_down", "v_thumb_bottom_down",
      "h_left_button_up",  "h_left_button_down", "h_right_button_up",   "h_right_button_down",
      "h_track_up",        "h_track_down",       "h_thumb_left_up",     "h_thumb_center_up",
      "h_thumb_right_up",  "h_thumb_left_down",  "h_thumb_center_down", "h_thumb_right_down"};
  const std::string ini = folder + "scroll.ini";
  for (size_t i = 0; i < sizeof kOrder / sizeof kOrder[0]; ++i) {
    char name[128] = {};
    GetPrivateProfileStringA("resources", kOrder[i], "", name, sizeof name, ini.c_str());
    for (char* c = name; *c; ++c)
      *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    skin->scroll.imageIds[i] = *name ? registry->IdOf(name) : 0;
  }
  skin->scroll.present = 1;
  skin->scroll.loaded = 0;
}

inline int InitializeStandardSkin(HINSTANCE instance) {
  for (const char* f : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"})
    AddFontResourceExA(tess_test::BuildPath(f).c_str(), FR_PRIVATE, nullptr);
  if (gui::GuiInitialize(instance) != 1) return 0;
  const std::string skinIni = tess_test::BuildPath("Data/Skin/standard_skin.ini");
  gui::GuiFrameSkin frame;
  gui::GuiBuildDefaultFrameSkin(&frame);
  gui::SkinRegistry* registry = nullptr;
  if (!gui::GuiLoadFrameSkinFromFile(skinIni.c_str(), &frame, &registry)) return 0;
  gui::GuiApplyFrameSkin(0, &frame);
  gui::GuiInitDefaultSkin(0);
  gui::GuiSkin* skin = gui::GuiGetSkin();
  skin->imageSource = registry;
  skin->identity = 0;
  gui::GuiReadWidgetSkin(skinIni.c_str(), registry, skin);
  const std::string folder = tess_test::BuildPath("Data/Skin/");
  gui::GuiReadListViewIni((folder + "list_view.ini").c_str(), skin);
  gui::GuiReadHeaderIni((folder + "control_header.ini").c_str(), skin);
  gui::GuiReadListIni((folder + "list_box.ini").c_str(), registry, skin);
  gui::GuiReadTrackbarIni((folder + "track_bar.ini").c_str(), skin);
  ReadScrollGroup(folder, registry, skin);
  gui::GuiApplySkin(0, skin);
  return 1;
}

}  // namespace uitest
