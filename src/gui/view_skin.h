#pragma once
// The list and tree groups of the widget skin: where their words sit, how the
// skin's list_box and tree_view ini files fill them, and the images the two
// families resolve when a skin is installed. GuiSkin keeps 32-bit image ids
// in its groups; the resolved images live beside it, here, borrowed from the
// skin's registry.
#include <cstdint>

#include "gui/gui_skin.h"

namespace gui {

// GuiSkin::list.colors (COLORREF).
enum GuiListColour : int {
  kListBackground = 0,
  kListSelectedBackground = 1,
  kListFocusedBackground = 2,
  kListText = 3,
  kListSelectedText = 4
};
// GuiSkin::list.imageIds: the border pieces in the popup-frame order: top
// start, middle, end, bottom start, middle, end, left, right.
constexpr int kListBorderImages = 8;

// GuiSkin::tree.words.
enum GuiTreeWord : int {
  kTreeCollapsedId = 0,  // the "+" button
  kTreeExpandedId = 1,   // the "-" button
  kTreeButtonFlag = 2,   // nonzero: the buttons are not loaded from the registry
  kTreeSelectedText = 3,
  kTreeSelectedBackground = 4,
  kTreePreButtonDx = 5,
  kTreePostButtonDx = 6,
  kTreeText = 7,
  kTreeLine = 8,
  kTreeBackground = 9
};

struct GuiViewSkinImages {
  PackedDIB* listBorder[kListBorderImages];
  int32_t listBorderCount;
  PackedDIB* treeCollapsed;
  PackedDIB* treeExpanded;
};

// The images of the installed skin (all null before one is installed).
GuiViewSkinImages* GuiGetViewSkinImages();

// Fill the groups from a skin's class ini files; false when the file is
// missing (the group is left alone).
bool GuiReadListIni(const char* iniPath, SkinRegistry* registry, GuiSkin* skin);
bool GuiReadTreeIni(const char* iniPath, SkinRegistry* registry, GuiSkin* skin);

// The families' skin loaders (GuiApplySkin calls them): resolve the ids.
int CGUIListWndApplySkin(SkinRegistry* source, GuiSkin* skin);
int CGUITreeViewApplySkin(SkinRegistry* source, GuiSkin* skin);

// The list border width the list-like widgets inset by: the skin's width
// when it draws edges through its callback, else the list group's.
int32_t GuiListBorderWidth(const GuiSkin* skin);

}  // namespace gui
