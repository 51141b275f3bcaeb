#include "ui/win32/game_ui_port_win32.h"

#include "game/ui_port.h"
#include "platform/ini.h"
#include "shell/app_context.h"
#include "shell/user_profile.h"
#include "ui/game_settings.h"
#include "ui/room_port.h"
#include "ui/window_slots.h"
#include "ui/win32/draw_panel_win32.h"
#include "ui/win32/players_panel_win32.h"
#include "ui/win32/results_win32.h"
#include "ui/win32/round_results_dialog.h"
#include "ui/win32/window_slots_win32.h"

namespace ui {
namespace {

class WindowGameUiPort : public GameUiPort {
 public:
  // The game's "frame window" is the mentor (slot 8): it looks at the
  // position again after every turn change.
  void PostFrameMessage(uint32_t message) override {
    if (HWND mentor = static_cast<HWND>(GetSlotWindow(kSlotMentor)))
      PostMessageA(mentor, message, 0, 0);
  }
  void BroadcastGameChanged(CGame* game, uintptr_t what) override {
    BroadcastToSlotWindows(kMsgGameChanged, what, reinterpret_cast<intptr_t>(game), 0);
  }
  void RefreshPlayerPanels() override { ui::RefreshPlayerPanels(); }
  void RedrawGameInfoStrip() override { ui::RedrawGameInfoStrip(); }
  // The counts are worked out again, not only repainted.
  void RefreshRemainderWindow() override { ui::RefreshRemainderWindow(); }
  void ShowRoundResults(CGame& game) override { ui::ShowRoundResults(&game); }
  void PrepareCrossagramGrid(CGame& game) override {
    GetRoomCommandPort().PrepareCrossagramGrid(game);
  }
  int32_t CurrentUserLanguage() override {
    const shell::UserProfile* user = shell::GetCurrentUserProfile();
    return user ? static_cast<int32_t>(user->language) : 0;
  }
  // The options in force (the dialog's choice before it is saved too).
  int32_t RackSortingSetting() override { return GetOptionsSettings().rackSorting; }
  void DebugOutput(const char* text) override {
    if (text) OutputDebugStringA(text);
  }
};

WindowGameUiPort g_port;

}  // namespace

void InstallGameWindowPorts() {
  InstallWindowSlotPort();
  SetGameUiPort(&g_port);
}

void UninstallGameWindowPorts() { SetGameUiPort(nullptr); }

}  // namespace ui
