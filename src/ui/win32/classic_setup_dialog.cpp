#include "ui/win32/new_game_dialog.h"
#include "ui/win32/setup_dialogs.h"

namespace ui {

INT_PTR RunClassicSetupDialog(HWND, CGame*) { return kNewGameCancel; }

}  // namespace ui
