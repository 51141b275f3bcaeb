#pragma once
// Fills the widget skin's button, label, edit and spin groups from a skin's
// per-class ini files ("button", "static", "edit", "spin_edit" keys of its
// "configuration files"). Bitmaps become registry ids; missing keys keep the
// record's values.
#include "gui/gui_skin.h"

namespace gui {

bool GuiReadButtonIni(const char* iniPath, SkinRegistry* registry, GuiSkin* skin);
bool GuiReadStaticIni(const char* iniPath, SkinRegistry* registry, GuiSkin* skin);
bool GuiReadEditIni(const char* iniPath, SkinRegistry* registry, GuiSkin* skin);
bool GuiReadSpinEditIni(const char* iniPath, SkinRegistry* registry, GuiSkin* skin);
// All four from a skin file; the number of class files found.
int GuiReadWidgetSkin(const char* skinIni, SkinRegistry* registry, GuiSkin* skin);

// The edit-configuration words the spin field reads.
enum GuiEditConfigWord : int {
  kEcBorder = 0,  // 8 border pieces: top-left, top, top-right, right, bottom-left,
                  // bottom, bottom-right, left
  kEcUpButtonId = 8,
  kEcDownButtonId = 9,
  kEcEditId = 10,
  kEcArrowKey = 11
};
// The edit colours: background, selected, focused and disabled background, text.
enum GuiEditColour : int { kEdBackground = 0, kEdDisabledBackground = 3, kEdText = 4 };

}  // namespace gui
