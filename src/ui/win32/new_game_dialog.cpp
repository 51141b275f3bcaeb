#include "ui/win32/new_game_dialog.h"

#include "game/game.h"
#include "shell/app_context.h"
#include "shell/shell_host.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/computer_players.h"
#include "ui/game_settings.h"
#include "ui/player_options.h"
#include "ui/win32/setup_dialogs.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr int kNewGameTemplate = 16021;
constexpr int32_t kSideRuleFlags =
    kFlagBlankPerPlayer | kFlagBlitz | kFlagSevenOfEight | kFlagEightOfEight;

struct NewGameState {
  CGame* game = nullptr;
  bool settingsRun = false;  // a set-up dialog filled the players
};

void Play(const char* sound) { shell::GetShellHost().PlaySoundFile(sound); }

void OnInit(HWND dialog, NewGameState* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  CheckRadioButton(dialog, kIdClassicMode, kIdDuplicateMode,
                   s->game->setup.kind == kKindStandard ? kIdClassicMode : kIdDuplicateMode);
  shell::CenterWindow(dialog, static_cast<HWND>(GetSlotWindow(kSlotMainFrame)));
  SetFocus(dialog);
}

void OnClassic(NewGameState* s) {
  GameSetup& setup = s->game->setup;
  if (setup.kind != kKindStandard) Play("SOptSel1.wav");
  setup.kind = kKindStandard;
  setup.flags &= ~kSideRuleFlags;
}

void OnDuplicate(NewGameState* s) {
  GameSetup& setup = s->game->setup;
  if (setup.kind != kKindDuplicate) Play("SOptSel1.wav");
  setup.kind = kKindDuplicate;
  setup.challengeMode = 0;
  setup.invalidWordForfeits = 0;
}

void OnSettings(HWND dialog, NewGameState* s) {
  Play("SBouFer1.wav");
  GameSetup& setup = s->game->setup;
  const PlayerCounters& counters = GetPlayerCounters();
  if (setup.kind != kKindStandard && setup.kind != kKindDuplicate) return;
  setup.SetPlayerCount(setup.kind == kKindStandard ? counters.classic : counters.duplicate);
  s->settingsRun = true;
  const INT_PTR result = setup.kind == kKindStandard ? RunClassicSetupDialog(dialog, s->game)
                                                     : RunDuplicateSetupDialog(dialog, s->game);
  if (result == kNewGameCancel) s->settingsRun = false;
}

// The players of a game set up without the set-up dialog: the user against
// computer personalities, as many seats as last time.
void FillDefaultPlayers(CGame* game) {
  GameSetup& setup = game->setup;
  const PlayerCounters& counters = GetPlayerCounters();
  setup.SetPlayerCount(setup.kind == kKindStandard ? counters.classic : counters.duplicate);
  SetHumanEntry(setup.entries[0], shell::GetCurrentUserName());
  InitDefaultPlayerOptions();
  AssignComputerPersonalities(*game);
  if (HWND mentor = static_cast<HWND>(GetSlotWindow(kSlotMentor)))
    PostMessageA(mentor, kMsgMentorReset, 0, 0);
}

void OnOk(HWND dialog, NewGameState* s) {
  Play("SBouOK1.wav");
  const int32_t kind = s->game->setup.kind;
  if (kind == kKindStandard || kind == kKindDuplicate) {
    if (RoomLayoutRecord* room = GetRoomLayoutRecord(shell::GetShellHost().GetCurrentRoomId()))
      room->slots[kSlotPlayers].showInRoom = 1;
    if (!s->settingsRun) FillDefaultPlayers(s->game);
  }
  EndDialog(dialog, kNewGameOk);
  SaveGameSettings(s->game->setup);
}

void OnCancel(HWND dialog, NewGameState* s) {
  Play("SBouFer1.wav");
  EndDialog(dialog, kNewGameCancel);
  s->game->setup.kind = kKindNone;
}

INT_PTR CALLBACK NewGameDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<NewGameState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      OnInit(dialog, reinterpret_cast<NewGameState*>(lp));
      return FALSE;
    case WM_COMMAND:
      if (!s) return FALSE;
      switch (LOWORD(wp)) {
        case kIdClassicMode:
          OnClassic(s);
          return TRUE;
        case kIdDuplicateMode:
          OnDuplicate(s);
          return TRUE;
        case kIdNewGameSettings:
          OnSettings(dialog, s);
          return TRUE;
        case IDOK:
          OnOk(dialog, s);
          return TRUE;
        case IDCANCEL:
          OnCancel(dialog, s);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

int RunNewGameDialog(HWND owner, CGame* game) {
  if (!game) return kNewGameCancel;
  NewGameState state;
  state.game = game;
  LoadGameSettings(game->setup);
  const INT_PTR result =
      shell::DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kNewGameTemplate), owner,
                           NewGameDlgProc, reinterpret_cast<LPARAM>(&state));
  return result == kNewGameOk ? kNewGameOk : kNewGameCancel;
}

}  // namespace ui
