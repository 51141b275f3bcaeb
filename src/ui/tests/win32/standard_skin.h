#pragma once
// The toolkit set up with the standard skin the build writes: frames,
// buttons, labels, edits and list views, for the main window's window tests.
#include <windows.h>

#include <string>

#include "gui/gui_core.h"
#include "gui/list_view_skin.h"
#include "gui/skin_reader.h"
#include "gui/view_skin.h"
#include "gui/widget_skin_reader.h"
#include "gui/win32/gui_win32.h"
#include "screenshot.h"

namespace uitest {

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
  gui::GuiApplySkin(0, skin);
  return 1;
}

}  // namespace uitest
