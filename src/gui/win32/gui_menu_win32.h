#pragma once
// The toolkit's menus on a frame's menu bar and in popup windows of the
// class "CGUIMenuPopup".
#include <windows.h>

#include "gui/gui_menu.h"
#include "gui/utils.h"

namespace gui {

struct GuiMenuBar {
  HWND owner;
  HWND openPopup;
  POINT origin;      // of the bar in the frame's window coordinates
  POINT openCursor;  // where the cursor was when the popup opened
  GuiMenu* menu;
  int disabled;
  int hot;       // hovered item, -1 none
  int ownsMenu;  // 1: the frame loaded the menu and destroys it with the bar
};

int GuiMenuInit(HINSTANCE instance);
void GuiMenuShutdown();
int RegisterCGUIMenuPopup(HINSTANCE instance);
GuiMenu* GuiLoadMenu(HINSTANCE instance, const char* name);
GuiMenu* GuiGetMenu(HWND frame);
int GuiEnableMenuBar(HWND frame, int enable);
GuiMenu* GuiSetMenu(HWND frame, GuiMenu* menu);
// Opens a popup for the menu at the anchor (screen coordinates). Kind 0 or 1
// for a popup from the menu bar or the application, else the parent popup.
HWND GuiTrackPopupMenu(GuiMenu* menu, const RECT* anchor, HWND owner, LPARAM kind);
void GuiCloseMenuChain(HWND popup);

// The frame's side of the menu bar.
GuiMenuBar* GuiMenuBarCreate(HWND owner, GuiMenu* menu);
void GuiMenuBarDestroy(GuiMenuBar* bar);
int GuiMenuBarHeight();
void GuiMenuBarLayout(GuiMenuBar* bar, const RECT& barRect);
void GuiMenuBarPaint(GuiMenuBar* bar, PackedDIB* canvas, const RECT& barRect, bool active);
int GuiMenuBarItemAt(GuiMenuBar* bar, POINT windowPoint);
void GuiMenuBarMouse(GuiMenuBar* bar, UINT message, POINT windowPoint);
// Alt with a mnemonic on the frame; true when it opened an item.
bool GuiMenuBarMnemonic(GuiMenuBar* bar, char key);
void GuiMenuBarOpenItem(GuiMenuBar* bar, int item);

}  // namespace gui
