#pragma once
// CGUITreeViewWnd: the toolkit's own tree control on the item-view engine and
// the tree store.
#include <windows.h>

namespace gui {

extern const char kTreeViewClassName[];

constexpr UINT kTvFrameChanged = WM_APP + 0x601;
constexpr UINT kTvSetNotify = WM_APP + 0x604;

// Registers the class; whether RegisterClassA succeeded.
int RegisterCGUITreeViewWnd(HINSTANCE instance);

}  // namespace gui
