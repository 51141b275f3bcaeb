#pragma once
// The toolkit's report list view, the colour text view and the picture
// spinner: their class registrations.
#include <windows.h>

namespace gui {

int RegisterCGUIListViewWnd(HINSTANCE instance);
int RegisterCGUIColorText(HINSTANCE instance);
int UnregisterCGUIColorText(HINSTANCE instance);
int RegisterCC20SpinList(HINSTANCE instance);

}  // namespace gui
