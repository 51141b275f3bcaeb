#pragma once
// The application palette: the system colours at both ends and the colour
// table of the "PAL" resource (a packed 8-bit DIB) in entries 10-245.
#include <windows.h>

namespace shell {

// Keeps the palette; false when the resource is missing or not an 8-bit
// DIB with a full colour table (the palette then holds the system colours
// and black in the middle).
bool LoadAppPalette(HINSTANCE instance);
HPALETTE GetAppPalette();
void DeleteAppPalette();

}  // namespace shell
