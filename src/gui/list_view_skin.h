#pragma once
// The list view's words of the widget skin: GuiSkin::listViewColors holds
// the eight colours of the skin's list_view ini file and then the six of its
// control_header ini file, each in its file's key order.
#include <cstdint>

#include "gui/gui_skin.h"

namespace gui {

enum GuiListViewColour : int {
  kLvBackground = 0,
  kLvSelectedBackground = 1,
  kLvFocusedBackground = 2,
  kLvText = 3,
  kLvSelectedText = 4,
  kLvDropText = 5,                // disabled_text_color: a drop-highlighted row
  kLvDropSelectedText = 6,        // selected_disabled_text_color
  kLvDropSelectedBackground = 7,  // selected_disabled_background_color
  kHeaderFace = 8,
  kHeaderLight = 9,
  kHeaderShadow = 10,
  kHeaderDark = 11,
  kHeaderBackground = 12,
  kHeaderText = 13,
  kListViewColourCount = 14
};

// Fill the words from the two ini files; false when a file is missing (its
// words are left alone).
bool GuiReadListViewIni(const char* iniPath, GuiSkin* skin);
bool GuiReadHeaderIni(const char* iniPath, GuiSkin* skin);
// The track bar's six colours (GuiSkin::trackbar, in its field order) from
// the skin's track_bar ini file; false when it is missing.
bool GuiReadTrackbarIni(const char* iniPath, GuiSkin* skin);

}  // namespace gui
