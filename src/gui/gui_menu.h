#pragma once
// The toolkit's own menus: items held in memory, loaded from a menu resource
// or built item by item. The Windows side draws them on a frame's menu bar and
// in popup windows (win32/gui_menu_win32.cpp).
#include <cstddef>
#include <cstdint>

#include "gui/utils.h"

namespace gui {

// Item flags.
constexpr uint32_t kMenuGrayed = 0x1;
constexpr uint32_t kMenuDisabled = 0x2;
constexpr uint32_t kMenuColoured = 0x4;
constexpr uint32_t kMenuChecked = 0x8;
constexpr uint32_t kMenuPopup = 0x10;
constexpr uint32_t kMenuEnd = 0x80;  // last item of a level in a menu resource
constexpr uint32_t kMenuOwnerDraw = 0x100;
constexpr uint32_t kMenuByPosition = 0x400;
constexpr uint32_t kMenuSeparator = 0x800;
constexpr uint32_t kMenuHighlighted = 0x100000;
constexpr size_t kMenuTextMax = 128;

struct GuiMenuItem {
  char text[kMenuTextMax];  // '&' marks the mnemonic, "&&" is a literal '&'
  char mnemonic;            // lower-cased; 0 for none
  PackedDIB* images[2];     // owned by the item
  DibRect rect;             // in its popup or bar
  uint32_t id;
  uint32_t flags;
  int32_t subCount;  // a popup item's submenu
  struct GuiMenuItem* subItems;
};

struct GuiMenu {
  int32_t count;
  GuiMenuItem* items;
  int32_t selected;  // -1 none
  int32_t barOpen;   // the bar item whose popup is open, -1 none
  uintptr_t popupWords[2];
  int32_t view;  // 1: shares its items with another menu (GuiGetSubMenu)
};

// Parses a standard menu resource (header, then items of flags, id and a
// 16-bit text). Null for a malformed or truncated resource.
GuiMenu* GuiParseMenuResource(const uint8_t* data, size_t size);
GuiMenu* GuiCreateMenu();
// Appends an item; a popup item (0x10) takes over the submenu's items, which
// leaves that menu empty. 0 for a null menu or text.
int GuiAppendMenu(GuiMenu* menu, uint32_t flags, uintptr_t idOrSubmenu, const char* text);
int32_t GuiEnableMenuItem(GuiMenu* menu, uint32_t idOrPosition, uint32_t flags);
int GuiDestroyMenu(GuiMenu* menu);
// A view of a popup item's submenu sharing its items; null for a non-popup
// item or a bad position.
GuiMenu* GuiGetSubMenu(GuiMenu* menu, int32_t position);
// The mnemonic of a text: the character after the first single '&'.
char GuiMenuMnemonic(const char* text);
// Index of the item whose mnemonic is `key` (any case); -1 when none.
int32_t GuiFindMnemonic(const GuiMenu* menu, char key);
// The next or previous selectable position, wrapping, skipping separators;
// from -1 down starts at the end. -1 when none.
int32_t GuiMenuStep(const GuiMenu* menu, int32_t from, int direction);

}  // namespace gui
