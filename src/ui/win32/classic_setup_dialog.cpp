// "Classic mode properties": two to four players (the user first, the
// others human or computer), the first player, the time control, the
// challenge rule, turn forfeit and the ranking flag. Every button writes the
// set-up at once; "Play" fills the player entries from the name fields.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/personality.h"
#include "shell/res_strings.h"
#include "shell/user_profile.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/computer_players.h"
#include "ui/game_settings.h"
#include "ui/personality_draw.h"
#include "ui/player_options.h"
#include "ui/win32/new_game_dialog.h"
#include "ui/win32/setup_controls.h"
#include "ui/win32/setup_dialog_common.h"
#include "ui/win32/setup_dialogs.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr int kClassicTemplate = 16025;
constexpr int kLines = kMaxClassicPlayers;
// The computer settings of this set-up rate word 3 higher than the others.
constexpr float kClassicComputerWord3 = 200.0f;

PersonalityChooser g_chooser = nullptr;

struct ClassicState {
  HWND dialog = nullptr;
  CGame* game = nullptr;
};
ClassicState* g_classic = nullptr;

// Line i (0 to 3) of the players: its name edit, and for lines 1 to 3 its
// computer and personality buttons.
int NameEdit(int line) { return kIdFirstNameEdit + line; }
int ComputerBox(int line) { return kIdFirstComputer + line - 1; }
int PersonalityButton(int line) { return kIdFirstPersonality + line - 1; }
bool IsComputerLine(HWND d, int line) { return line > 0 && IsChecked(d, ComputerBox(line)); }

void NameLine(HWND d, int line, const std::string& name, bool readOnly) {
  SetDlgItemTextA(d, NameEdit(line), name.c_str());
  SendDlgItemMessageA(d, NameEdit(line), EM_SETREADONLY, readOnly, 0);
}

void NamePlayerLine(HWND d, int line) {
  char text[32];
  std::snprintf(text, sizeof text, "Player %d", line + 1);
  NameLine(d, line, text, false);
}

// A personality no other line shows; with none left the line stays human.
void GiveRandomPersonality(HWND d, int line) {
  const std::vector<std::string> names = ListPersonalityNames();
  std::vector<std::string> taken;
  for (int i = 0; i < kLines; ++i)
    if (i != line) taken.push_back(ItemText(d, NameEdit(i)));
  const int drawn = DrawFreePersonality(names, taken);
  shell::FreePersonalityList();
  if (drawn < 0) {
    SetChecked(d, ComputerBox(line), false);
    EnableItem(d, PersonalityButton(line), false);
    NamePlayerLine(d, line);
    return;
  }
  NameLine(d, line, names[drawn], true);
}

void ApplyChallengeRule(ClassicState* s) {
  HWND d = s->dialog;
  const int count = s->game->setup.GetPlayerCount();
  bool anyComputer = false;
  for (int line = 1; line < count; ++line)
    anyComputer = anyComputer || IsComputerLine(d, line);
  EnableItem(d, kIdAllowChallenge, !anyComputer);
  if (anyComputer && IsChecked(d, kIdAllowChallenge)) {
    SetChecked(d, kIdAllowChallenge, false);
    s->game->setup.challengeMode = 0;
    for (int id : {kIdDoubleChallenge, kIdSingleChallenge, kIdModifiedChallenge})
      EnableItem(d, id, false);
    EnableItem(d, kIdForfeit, true);
  }
}

void SetLineComputer(ClassicState* s, int line, bool computer) {
  HWND d = s->dialog;
  SetChecked(d, ComputerBox(line), computer);
  EnableItem(d, PersonalityButton(line), computer);
  if (computer)
    GiveRandomPersonality(d, line);
  else
    NamePlayerLine(d, line);
}

void ShowPlayerLines(ClassicState* s, int previousCount) {
  HWND d = s->dialog;
  const int count = s->game->setup.GetPlayerCount();
  for (int line = 1; line < kLines; ++line) {
    const bool within = line < count;
    EnableItem(d, NameEdit(line), within);
    EnableItem(d, ComputerBox(line), within);
    EnableItem(d, kIdFirstStarter + line, within);
    if (within && line >= previousCount) SetLineComputer(s, line, true);
    if (!within) {
      SetChecked(d, ComputerBox(line), false);
      EnableItem(d, PersonalityButton(line), false);
      NamePlayerLine(d, line);
    }
  }
  ApplyChallengeRule(s);
}

void OnPlayerCount(ClassicState* s) {
  GameSetup& setup = s->game->setup;
  const int before = setup.GetPlayerCount();
  setup.SetPlayerCount(
      std::clamp(GetSpinValue(s->dialog, kIdPlayerCount), kMinClassicPlayers, kMaxClassicPlayers));
  if (s->game->startPlayerIndex >= setup.GetPlayerCount()) {
    s->game->startPlayerIndex = 0;
    CheckRadioButton(s->dialog, kIdFirstStarter, kIdFirstStarter + 3, kIdFirstStarter);
  }
  ShowPlayerLines(s, before);
}

void SelectTiming(ClassicState* s, int32_t mode) {
  HWND d = s->dialog;
  GameSetup& setup = s->game->setup;
  if (setup.clockMode != mode) PlaySetupSound("SOptSel1.wav");
  setup.clockMode = mode;
  EnableItem(d, kIdMinutes, mode != kClockNone);
  EnableItem(d, kIdSeconds, mode != kClockNone);
  if (mode == kClockNone) {
    SetSpinValue(d, kIdMinutes, 0);
    SetSpinValue(d, kIdSeconds, 0);
  } else {
    ShowTimeSpins(d, kIdMinutes, kIdSeconds,
                  mode == kClockPerGame ? setup.gameTimeMs : setup.moveTimeMs);
  }
}

void OnAllowChallenge(ClassicState* s) {
  HWND d = s->dialog;
  GameSetup& setup = s->game->setup;
  const bool on = IsChecked(d, kIdAllowChallenge);
  for (int id : {kIdDoubleChallenge, kIdSingleChallenge, kIdModifiedChallenge})
    EnableItem(d, id, on);
  if (on) {
    setup.challengeMode = IsChecked(d, kIdSingleChallenge)     ? 2
                          : IsChecked(d, kIdModifiedChallenge) ? 3
                                                               : 1;
    if (setup.challengeMode == 1)
      CheckRadioButton(d, kIdDoubleChallenge, kIdModifiedChallenge, kIdDoubleChallenge);
    SetChecked(d, kIdForfeit, false);
    setup.invalidWordForfeits = 0;
    EnableItem(d, kIdForfeit, false);
  } else {
    setup.challengeMode = 0;
    EnableItem(d, kIdForfeit, true);
  }
}

// "Play": humans named like a personality get "(H)"; repeated or empty names
// keep the dialog open.
void PlayClassicGame(ClassicState* s) {
  PlaySetupSound("SBouOK1.wav");
  HWND d = s->dialog;
  GameSetup& setup = s->game->setup;
  const int count = setup.GetPlayerCount();
  const std::vector<std::string> personalities = ListPersonalityNames();
  for (int line = 0; line < count; ++line) {
    if (IsComputerLine(d, line)) continue;
    const std::string name = ItemText(d, NameEdit(line));
    for (const std::string& p : personalities)
      if (SameName(p, name)) {
        SetDlgItemTextA(d, NameEdit(line), (name + "(H)").c_str());
        break;
      }
  }
  std::vector<std::string> names;
  for (int line = 0; line < count; ++line)
    names.push_back(ItemText(d, NameEdit(line)));
  for (size_t i = 0; i < names.size(); ++i)
    for (size_t j = i + 1; j < names.size(); ++j)
      if (SameName(names[i], names[j])) {
        platform::ShowNotice(kNameInUse, "", MB_OK);
        shell::FreePersonalityList();
        return;
      }
  for (int line = 0; line < count; ++line) {
    if (names[line].empty()) {
      platform::ShowNotice(shell::LoadResString(2080), "", MB_OK);
      shell::FreePersonalityList();
      return;
    }
    PlayerSetupEntry& entry = setup.entries[line];
    if (!IsComputerLine(d, line))
      SetHumanEntry(entry, names[line].c_str());
    else if (!SetPersonalityEntry(entry, names[line]))
      SetComputerEntry(entry, names[line].c_str(), DefaultComputerOptions(kClassicComputerWord3));
  }
  FinishSetupPlay(d, setup);
}

void ClassicSetupInit(HWND d, ClassicState* s) {
  s->dialog = d;
  GameSetup& setup = s->game->setup;
  shell::CenterWindow(d, static_cast<HWND>(GetSlotWindow(kSlotMainFrame)));
  const int32_t mode = setup.clockMode;
  const int timeButton = mode == kClockPerGame   ? kIdTimePerGame
                         : mode == kClockPerMove ? kIdTimePerMove
                                                 : kIdNoTime;
  CheckRadioButton(d, kIdNoTime, kIdTimePerMove, timeButton);
  if (timeButton == kIdNoTime) setup.clockMode = kClockNone;
  InitTimeSpins(d, setup);
  InitRankingBox(d, kIdClassicRanking, setup);
  setup.SetPlayerCount(std::clamp(setup.GetPlayerCount(), kMinClassicPlayers, kMaxClassicPlayers));
  SetSpinRange(d, kIdPlayerCount, kMinClassicPlayers, kMaxClassicPlayers);
  SetSpinValue(d, kIdPlayerCount, setup.GetPlayerCount());
  s->game->startPlayerIndex = 0;
  CheckRadioButton(d, kIdFirstStarter, kIdFirstStarter + 3, kIdFirstStarter);
  NameLine(d, 0, shell::GetCurrentUserName(), true);
  setup.flags &= ~(kFlagSevenOfEight | kFlagEightOfEight);
  for (int line = 1; line < kLines; ++line)
    NamePlayerLine(d, line);
  ShowPlayerLines(s, 1);
  SetChecked(d, kIdAllowChallenge,
             setup.challengeMode != 0 && IsWindowEnabled(GetDlgItem(d, kIdAllowChallenge)));
  const int rule = setup.challengeMode == 2   ? kIdSingleChallenge
                   : setup.challengeMode == 3 ? kIdModifiedChallenge
                                              : kIdDoubleChallenge;
  CheckRadioButton(d, kIdDoubleChallenge, kIdModifiedChallenge, rule);
  OnAllowChallenge(s);
  SetChecked(d, kIdForfeit, setup.invalidWordForfeits != 0);
}

void OnCommand(ClassicState* s, int id, int code) {
  HWND d = s->dialog;
  GameSetup& setup = s->game->setup;
  if (OnSharedSetupCommand(d, setup, id, code)) return;
  if (id >= kIdFirstComputer && id < kIdFirstComputer + kLines - 1) {
    const int line = id - kIdFirstComputer + 1;
    SetLineComputer(s, line, IsChecked(d, id));
    ApplyChallengeRule(s);
    return;
  }
  if (id >= kIdFirstPersonality && id < kIdFirstPersonality + kLines - 1) {
    char name[64] = {};
    if (g_chooser && g_chooser(d, name, sizeof name) && name[0])
      NameLine(d, id - kIdFirstPersonality + 1, name, true);
    return;
  }
  if (id >= kIdFirstStarter && id < kIdFirstStarter + kLines) {
    s->game->startPlayerIndex = id - kIdFirstStarter;
    return;
  }
  switch (id) {
    case kIdPlayerCount:
      if (code == gui::kNotifySpinChanged) OnPlayerCount(s);
      return;
    case kIdNoTime:
      SelectTiming(s, kClockNone);
      return;
    case kIdTimePerGame:
      SelectTiming(s, kClockPerGame);
      return;
    case kIdTimePerMove:
      SelectTiming(s, kClockPerMove);
      return;
    case kIdAllowChallenge:
      OnAllowChallenge(s);
      return;
    case kIdDoubleChallenge:
      setup.challengeMode = 1;
      return;
    case kIdSingleChallenge:
      setup.challengeMode = 2;
      return;
    case kIdModifiedChallenge:
      setup.challengeMode = 3;
      return;
    case kIdForfeit:
      setup.invalidWordForfeits = IsChecked(d, kIdForfeit) ? 1 : 0;
      return;
    case kIdClassicRanking:
      setup.rankingGame = IsChecked(d, kIdClassicRanking) ? 1 : 0;
      return;
    case kIdSetupPlay:
      PlayClassicGame(s);
      return;
    default:
      return;
  }
}

INT_PTR CALLBACK ClassicSetupProc(HWND d, UINT msg, WPARAM wp, LPARAM) {
  ClassicState* s = g_classic;
  if (!s) return FALSE;
  switch (msg) {
    case WM_INITDIALOG:
      ClassicSetupInit(d, s);
      return FALSE;
    case WM_COMMAND:
      if (s->dialog) OnCommand(s, LOWORD(wp), HIWORD(wp));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void SetPersonalityChooser(PersonalityChooser chooser) { g_chooser = chooser; }
PersonalityChooser GetPersonalityChooser() { return g_chooser; }

INT_PTR RunClassicSetupDialog(HWND owner, CGame* game) {
  if (!game || g_classic) return kNewGameCancel;
  ClassicState state;
  state.game = game;
  g_classic = &state;
  InitDefaultPlayerOptions();
  const INT_PTR result = shell::DoModalDialog(
      GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kClassicTemplate), owner, ClassicSetupProc, 0);
  g_classic = nullptr;
  return result;
}

}  // namespace ui
