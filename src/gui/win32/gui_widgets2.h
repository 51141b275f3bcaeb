#pragma once
// The combo box, trackbar, tab strip, stand-alone scroll bar and splitter
// classes: their registration and their private messages.
#include <windows.h>

#include "gui/utils.h"

namespace gui {

// Private messages.
constexpr UINT kMsgComboItemText = 0x8671;   // as CB_GETLBTEXT
constexpr UINT kMsgComboClose = 0x8670;      // closes the drop-down list
constexpr UINT kMsgListOwner = 0x86B0;       // the list box's creation parameter
constexpr UINT kMsgTabPageTexture = 0x8600;  // lParam: a packed DIB or 0 for the skin's
constexpr UINT kMsgTabEnable = 0x8691;       // wParam item, lParam 0 disables
constexpr UINT kMsgScrollRepaint = 0x8610;
constexpr UINT kMsgSplitterMoved = 0x8660;   // lParam: the splitter's new RECT in the parent
constexpr UINT kMsgSplitterLimits = 0x8661;  // lParam: RECT the parent may narrow
constexpr UINT kMsgParentBackground = 0x8605;

// The record of kMsgParentBackground: the child's rectangle in the parent's
// client coordinates and the image the parent draws its background into.
struct GuiBackgroundRequest {
  RECT rect;
  PackedDIB* image;
};

int RegisterCGUIScrollBar(HINSTANCE instance);
int UnregisterCGUIScrollBar();
int RegisterCGUISplitter(HINSTANCE instance);
int UnregisterCGUISplitter();
HWND CreateCGUISplitter(HINSTANCE instance, HWND parent, int id);
int RegisterCGUITrackbar(HINSTANCE instance);
int RegisterCGUITabWnd(HINSTANCE instance);
int RegisterCGUIComboBox(HINSTANCE instance);

}  // namespace gui
