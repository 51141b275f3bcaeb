#pragma once
// CGUIListWnd: the toolkit's own list box on the item-view engine.
#include <windows.h>

namespace gui {

extern const char kListWndClassName[];

// Private messages of the list.
constexpr UINT kLbFrameChanged = WM_APP + 0x601;
constexpr UINT kLbGetTarget = WM_APP + 0x6B0;
constexpr UINT kLbGetBarWidth = WM_APP + 0x6B1;
constexpr UINT kLbGetBarWidth2 = WM_APP + 0x6B2;
constexpr UINT kLbAddCapitals = WM_APP + 0x6B3;
constexpr UINT kLbAddCapitals2 = WM_APP + 0x6B4;
constexpr UINT kLbSelectAll = WM_APP + 0x6B5;
constexpr UINT kLbInsertRed = WM_APP + 0x6B6;
// To the owning combo box of a drop list.
constexpr UINT kLbComboNotice = WM_APP + 0x401;
constexpr UINT kLbComboPicked = WM_APP + 0x670;
// The style bit that marks a combo box's drop list.
constexpr DWORD kLbsDropList = 0x4000;
constexpr UINT_PTR kLbAddModeTimer = 131;

// Registers the class; whether RegisterClassA succeeded.
int RegisterCGUIListWnd(HINSTANCE instance);

// The second colour of the two-colour capitals for a text colour.
COLORREF GuiListCapitalsColour(COLORREF text);

}  // namespace gui
