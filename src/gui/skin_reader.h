#pragma once
// Fills the frame skin's groups from a skin's per-class ini files: bitmap
// names from "resources" (found in the skin registry and kept as its ids),
// colours from "colors" and numbers from "dimensions". The application's
// resource loading calls these; missing keys keep the group's defaults.
#include <cstdint>
#include <string>

#include "gui/gui_skin.h"

namespace gui {

// "RGB" values are three decimal numbers (red, green, blue); anything else
// is hexadecimal RRGGBB. The result is a COLORREF (red in the low byte);
// `def` when the text holds no colour.
uint32_t GuiParseSkinColour(const char* text, uint32_t def);

// Each returns false when the file is missing (the group is left alone). The
// frame reader keeps the caption font's point size in captionHeight and makes
// the caption font.
bool GuiReadFrameIni(const char* iniPath, SkinRegistry* registry, GuiFrameGroup* group);
bool GuiReadMenuIni(const char* iniPath, SkinRegistry* registry, GuiMenuGroup* group);
bool GuiReadStatusIni(const char* iniPath, SkinRegistry* registry, GuiStatusGroup* group);

// The skin's "configuration files" entry for a key, as a path beside the
// skin file; empty when the key is missing or names "none.ini".
std::string GuiSkinConfigPath(const char* skinIni, const char* key);

// Builds a frame skin from a skin file: the registry from "GUIResources",
// then the thick, thin, dialog and tooltip frames, the menu and the status
// bar. The registry is returned to the caller, who keeps it for as long as
// the skin is installed. False without a usable registry.
bool GuiLoadFrameSkinFromFile(const char* skinIni, GuiFrameSkin* skin, SkinRegistry** registry);

}  // namespace gui
