#pragma once
// Fills the toolkit's two records from the current skin (portable): the
// frame skin through the toolkit's frame, menu and status-bar readers, the
// widget skin from the shell's per-class values. Every class without a file
// takes built-in values, so a reload never leaves a group half filled.
#include <string>

#include "gui/gui_skin.h"
#include "shell/skin_classes.h"

namespace shell {

// Which readers found their file (one bit per group, kFrameBit...).
enum FrameSkinBits : unsigned {
  kThickBit = 1,
  kThinBit = 2,
  kDialogBit = 4,
  kTooltipBit = 8,
  kMenuBit = 16,
  kStatusBit = 32,
  kAppFrameBit = 64,
};

// Built-in values of a frame group, the menu and the status bar.
void FallbackFrameGroup(gui::GuiFrameGroup* group);
void FallbackMenuGroup(gui::GuiMenuGroup* menu);
void FallbackStatusGroup(gui::GuiStatusGroup* status);

// Reads the thick, thin, dialog and tooltip frames, the menu and the status
// bar of skinIni into the record, each followed by its fallback when its
// file is missing. The record keeps its registry, palette and font.
unsigned FillFrameSkin(const std::string& skinIni, gui::SkinRegistry* registry,
                       gui::GuiFrameSkin* skin);
// The main frame's own "app_frame" group (the thick frame's fallback when
// missing); true when its file was found.
bool ReadAppFrameGroup(const std::string& skinIni, gui::SkinRegistry* registry,
                       gui::GuiFrameGroup* group);
// The lobby's status bar ("status_bar_lobby"), true when found; the record
// is left alone otherwise.
bool ReadLobbyStatusGroup(const std::string& skinIni, gui::SkinRegistry* registry,
                          gui::GuiStatusGroup* status);

// Seeds the widget skin (registry, program folder, palette) and maps the
// per-class values onto its groups: button, scroll bar, edit, list box, list
// view, tree view, tab and combo box. The header, track-bar and splitter
// colours and the classes the toolkit has no group for stay in the shell's
// SkinClassSet, where the screens read them.
void FillControlSkin(const SkinClassSet& classes, gui::SkinRegistry* registry,
                     const char* programFolder, gui::GuiHandle palette, gui::GuiSkin* skin);

}  // namespace shell
