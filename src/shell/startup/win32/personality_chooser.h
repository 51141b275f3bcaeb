#pragma once
// The personality chooser ("SELECT_PERSONALITY"): four cards side by side
// over the filtered personality list, a scroll bar moving the row, and a
// panel with the filter switches and the selected personality's info.
#include <windows.h>

namespace shell {

// 1 when a personality was chosen: its file name without the extension goes
// into outName (at most size - 1 characters). The mode values are kept for
// the window; the callers so far pass 0.
int SelectPersonalityDialog(HWND owner, char* outName, int size, int mode1 = 0, int mode2 = 0,
                            int mode3 = 0, int maxRating = 0);

// The set-ups' chooser (ui::SetPersonalityChooser): the chosen personality's
// name as the set-ups write it, first letter kept and the rest lower-cased.
bool ChoosePersonalityForSetup(HWND owner, char* name, int size);

}  // namespace shell
