#include "ui/win32/setup_dialog_common.h"

#include <cstdint>
#include <cstring>

#include "game/game.h"
#include "shell/app_context.h"
#include "shell/personality.h"
#include "shell/res_strings.h"
#include "shell/user_profile.h"
#include "ui/computer_players.h"
#include "ui/game_settings.h"
#include "ui/win32/new_game_dialog.h"
#include "ui/win32/setup_controls.h"
#include "ui/win32/setup_dialogs.h"
#include "ui/window_slots.h"

namespace ui {

void InitTimeSpins(HWND d, const GameSetup& setup) {
  SetSpinRange(d, kIdMinutes, 0, 59);
  SetSpinRange(d, kIdSeconds, 0, 59);
  if (setup.clockMode != kClockNone) {
    ShowTimeSpins(d, kIdMinutes, kIdSeconds,
                  setup.clockMode == kClockPerGame ? setup.gameTimeMs : setup.moveTimeMs);
  } else {
    EnableItem(d, kIdMinutes, false);
    EnableItem(d, kIdSeconds, false);
  }
}

void InitRankingBox(HWND d, int rankingId, GameSetup& setup) {
  if (std::strcmp(shell::GetCurrentUserName(), shell::LoadResString(7144)) == 0) {
    SetChecked(d, rankingId, false);
    EnableItem(d, rankingId, false);
    setup.rankingGame = 0;
  } else {
    SetChecked(d, rankingId, setup.rankingGame == 1);
  }
}

bool OnSharedSetupCommand(HWND d, GameSetup& setup, int id, int code) {
  switch (id) {
    case IDCANCEL:
      PlaySetupSound("SBouFer1.wav");
      EndDialog(d, kNewGameCancel);
      return true;
    case kIdMinutes:
    case kIdSeconds:
      if (code == gui::kNotifySpinChanged)
        OnTimeSpinChanged(d, kIdMinutes, kIdSeconds, id == kIdMinutes, setup.clockMode,
                          &setup.gameTimeMs, &setup.moveTimeMs);
      return true;
    default:
      return false;
  }
}

void FinishSetupPlay(HWND d, GameSetup& setup) {
  shell::FreePersonalityList();
  if (const shell::UserProfile* profile = shell::GetCurrentUserProfile())
    setup.language = static_cast<int32_t>(profile->language);
  if (HWND mentor = static_cast<HWND>(GetSlotWindow(kSlotMentor)))
    PostMessageA(mentor, kMsgMentorReset, 0, 0);
  HWND owner = GetWindow(d, GW_OWNER);
  EndDialog(d, 0);
  if (owner) PostMessageA(owner, WM_COMMAND, IDOK, 0);
}

}  // namespace ui
