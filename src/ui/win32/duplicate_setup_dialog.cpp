// "Duplicate mode properties": the player list (the user on line 0, then
// human or computer partners), the time per move, the blitz, joker and
// eight-letter options and the ranking flag. Every option button writes the
// set-up at once; "Play" fills the player entries from the list.
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

constexpr int kDuplicateTemplate = 16026;
constexpr int kMaxLines = kMaxDuplicatePlayers;
constexpr int kNameEditLimit = 10;

struct DuplicateState {
  HWND dialog = nullptr;
  CGame* game = nullptr;
  bool lineIsComputer[kMaxLines] = {};
  int lastShownLine = 0;
  bool enterCommitted = false;
};
DuplicateState* g_dup = nullptr;

HWND List(DuplicateState* s) { return GetDlgItem(s->dialog, kIdPlayerList); }
int LineCount(DuplicateState* s) {
  return static_cast<int>(SendMessageA(List(s), LB_GETCOUNT, 0, 0));
}
int Selection(DuplicateState* s) {
  return static_cast<int>(SendMessageA(List(s), LB_GETCURSEL, 0, 0));
}
void Select(DuplicateState* s, int line) { SendMessageA(List(s), LB_SETCURSEL, line, 0); }

std::string LineText(DuplicateState* s, int line) {
  const LRESULT length = SendMessageA(List(s), LB_GETTEXTLEN, line, 0);
  if (length == LB_ERR || length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(List(s), LB_GETTEXT, line, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(std::strlen(text.c_str()));
  return text;
}

std::vector<std::string> AllLines(DuplicateState* s) {
  std::vector<std::string> lines;
  for (int i = 0; i < LineCount(s); ++i)
    lines.push_back(LineText(s, i));
  return lines;
}

// Replaces the line's text, or appends a line when it does not exist yet.
void SetLine(DuplicateState* s, int line, const std::string& text) {
  if (line < LineCount(s)) {
    SendMessageA(List(s), LB_DELETESTRING, line, 0);
    SendMessageA(List(s), LB_INSERTSTRING, line, reinterpret_cast<LPARAM>(text.c_str()));
  } else {
    SendMessageA(List(s), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void ShowSelectedPlayerLine(DuplicateState* s) {
  HWND d = s->dialog;
  const int line = Selection(s);
  s->lastShownLine = line;
  SetDlgItemTextA(d, kIdPlayerName, line >= 0 ? LineText(s, line).c_str() : "");
  const bool computer = line > 0 && line < kMaxLines && s->lineIsComputer[line];
  EnableItem(d, kIdLinePersonality, computer);
  EnableItem(d, kIdLineComputer, line > 0);
  SetChecked(d, kIdLineComputer, computer);
  SendDlgItemMessageA(d, kIdPlayerName, EM_SETREADONLY, line <= 0 || computer, 0);
}

void MakeHumanLine(DuplicateState* s, int line) {
  char text[32];
  std::snprintf(text, sizeof text, "Player %d", line + 1);
  SetLine(s, line, text);
  s->lineIsComputer[line] = false;
  Select(s, line);
  ShowSelectedPlayerLine(s);
}

// A computer partner with a personality that no line shows (the line's own
// included). With none left the line becomes a human partner instead.
void MakeComputerLine(DuplicateState* s, int line) {
  if (line <= 0 || line >= kMaxLines) return;
  const std::vector<std::string> names = ListPersonalityNames();
  const int selected = Selection(s);
  const int drawn = DrawFreePersonality(names, AllLines(s));
  if (drawn < 0) {
    MakeHumanLine(s, line);
    Select(s, selected >= 0 ? selected : line);
    ShowSelectedPlayerLine(s);
    return;
  }
  SetLine(s, line, names[drawn]);
  s->lineIsComputer[line] = true;
  Select(s, selected >= 0 ? selected : line);
  ShowSelectedPlayerLine(s);
}

void ToggleComputerLine(DuplicateState* s) {
  const int line = Selection(s);
  if (line <= 0) return;
  if (IsChecked(s->dialog, kIdLineComputer)) {
    EnableItem(s->dialog, kIdLinePersonality, true);
    MakeComputerLine(s, line);
  } else {
    EnableItem(s->dialog, kIdLinePersonality, false);
    MakeHumanLine(s, line);
  }
}

void ChoosePersonalityForLine(DuplicateState* s) {
  const int line = Selection(s);
  PersonalityChooser chooser = GetPersonalityChooser();
  if (line <= 0 || !chooser) return;
  char name[64] = {};
  if (chooser(s->dialog, name, sizeof name) && name[0]) {
    SetLine(s, line, name);
    s->lineIsComputer[line] = true;
    Select(s, line);
  }
  ShowSelectedPlayerLine(s);
}

void RenamePlayerLine(DuplicateState* s) {
  const int line = Selection(s);
  if (line < 0) {
    Select(s, s->lastShownLine);
    return;
  }
  if (line < kMaxLines && s->lineIsComputer[line]) return;
  const std::string typed = ItemText(s->dialog, kIdPlayerName);
  const std::vector<std::string> lines = AllLines(s);
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    if (i != line && SameName(lines[i], typed)) {
      platform::ShowNotice(kNameInUse, "", MB_OK);
      SetDlgItemTextA(s->dialog, kIdPlayerName, lines[line].c_str());
      return;
    }
  }
  if (typed.empty()) {
    SetDlgItemTextA(s->dialog, kIdPlayerName, lines[line].c_str());
    return;
  }
  SetDlgItemTextA(s->dialog, kIdPlayerName, typed.c_str());
  SetLine(s, line, typed);
  Select(s, s->lastShownLine);
  s->lineIsComputer[line] = false;
}

void ChangeDuplicatePlayerCount(DuplicateState* s) {
  GameSetup& setup = s->game->setup;
  const int before = LineCount(s);
  const int count = std::clamp(GetSpinValue(s->dialog, kIdPlayerCount), 1, kMaxLines);
  setup.SetPlayerCount(count);
  for (int line = before; line < count; ++line)
    MakeComputerLine(s, line);
  for (int line = before - 1; line >= count; --line) {
    SendMessageA(List(s), LB_DELETESTRING, line, 0);
    s->lineIsComputer[line] = false;
    const int selected = Selection(s);
    Select(s, selected < 0 || selected >= line ? line - 1 : selected);
  }
  ShowSelectedPlayerLine(s);
}

// --- Time and options ---

void SelectNoLimit(DuplicateState* s) {
  GameSetup& setup = s->game->setup;
  if (setup.clockMode == kClockNone) return;
  PlaySetupSound("SOptSel1.wav");
  setup.clockMode = kClockNone;
  SetSpinValue(s->dialog, kIdMinutes, 0);
  SetSpinValue(s->dialog, kIdSeconds, 0);
  EnableItem(s->dialog, kIdMinutes, false);
  EnableItem(s->dialog, kIdSeconds, false);
}

void SelectPerMove(DuplicateState* s, bool afresh) {
  GameSetup& setup = s->game->setup;
  if (setup.clockMode == kClockPerMove && !afresh) return;
  PlaySetupSound("SOptSel1.wav");
  setup.clockMode = kClockPerMove;
  EnableItem(s->dialog, kIdMinutes, true);
  EnableItem(s->dialog, kIdSeconds, true);
  ShowTimeSpins(s->dialog, kIdMinutes, kIdSeconds, setup.moveTimeMs);
}

void ApplyBlitz(DuplicateState* s, bool keepSpinsOff) {
  GameSetup& setup = s->game->setup;
  HWND d = s->dialog;
  const bool blitz = IsChecked(d, kIdBlitz);
  setup.flags = blitz ? setup.flags | kFlagBlitz : setup.flags & ~kFlagBlitz;
  if (blitz) {
    CheckRadioButton(d, kIdNoTime, kIdTimePerMove, kIdTimePerMove);
    EnableItem(d, kIdNoTime, false);
    setup.moveTimeMs = 60000;
    SelectPerMove(s, true);
    EnableItem(d, kIdMinutes, false);
    EnableItem(d, kIdSeconds, false);
  } else {
    EnableItem(d, kIdNoTime, true);
    const bool spins = !(keepSpinsOff && setup.clockMode == kClockNone);
    EnableItem(d, kIdMinutes, spins);
    EnableItem(d, kIdSeconds, spins);
  }
}

void SetEightLetterOption(DuplicateState* s, int id) {
  int32_t& flags = s->game->setup.flags;
  const bool on = IsChecked(s->dialog, id);
  if (id == kIdNoEightLetters && on) flags &= ~(kFlagSevenOfEight | kFlagEightOfEight);
  if (id == kIdSevenOfEight)
    flags = on ? (flags | kFlagSevenOfEight) & ~kFlagEightOfEight : flags & ~kFlagSevenOfEight;
  if (id == kIdEightOfEight)
    flags = on ? (flags | kFlagEightOfEight) & ~kFlagSevenOfEight : flags & ~kFlagEightOfEight;
}

// --- Play ---

bool NamesAreDistinct(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i)
    for (size_t j = i + 1; j < lines.size(); ++j)
      if (SameName(lines[i], lines[j])) return false;
  return true;
}

void PlayDuplicateGame(DuplicateState* s) {
  PlaySetupSound("SBouOK1.wav");
  const std::vector<std::string> names = ListPersonalityNames();
  for (int line = 1; line < LineCount(s); ++line) {
    if (s->lineIsComputer[line]) continue;
    const std::string text = LineText(s, line);
    for (const std::string& n : names) {
      if (!SameName(n, text)) continue;
      SetLine(s, line, text + "(H)");
      break;
    }
  }
  const std::vector<std::string> lines = AllLines(s);
  if (!NamesAreDistinct(lines)) {
    platform::ShowNotice(kNameInUse, "", MB_OK);
    return;
  }
  GameSetup& setup = s->game->setup;
  ListPersonalityNames();
  setup.SetPlayerCount(static_cast<int>(lines.size()));
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    if (i > 0 && s->lineIsComputer[i])
      SetPersonalityEntry(setup.entries[i], lines[i]);
    else
      SetHumanEntry(setup.entries[i], lines[i].c_str());
  }
  FinishSetupPlay(s->dialog, setup);
}

// --- The dialog ---

void DuplicateSetupInit(HWND d, DuplicateState* s) {
  s->dialog = d;
  GameSetup& setup = s->game->setup;
  std::snprintf(setup.entries[0].name, sizeof setup.entries[0].name, "%.63s",
                shell::GetCurrentUserName());
  shell::CenterWindow(d, static_cast<HWND>(GetSlotWindow(kSlotMainFrame)));
  SetFocus(d);
  CheckRadioButton(d, kIdNoTime, kIdTimePerMove,
                   setup.clockMode == kClockPerMove ? kIdTimePerMove : kIdNoTime);
  InitTimeSpins(d, setup);
  SetChecked(d, kIdJoker, setup.HasFlag(kFlagBlankPerPlayer));
  SetChecked(d, kIdBlitz, setup.HasFlag(kFlagBlitz));
  InitRankingBox(d, kIdDuplicateRanking, setup);
  ApplyBlitz(s, true);
  const int eight = setup.HasFlag(kFlagSevenOfEight)   ? kIdSevenOfEight
                    : setup.HasFlag(kFlagEightOfEight) ? kIdEightOfEight
                                                       : kIdNoEightLetters;
  CheckRadioButton(d, kIdNoEightLetters, kIdEightOfEight, eight);
  const int count = std::clamp(setup.GetPlayerCount(), 1, kMaxLines);
  setup.SetPlayerCount(count);
  SetSpinRange(d, kIdPlayerCount, 1, kMaxLines);
  SetSpinValue(d, kIdPlayerCount, count);
  SendMessageA(List(s), LB_RESETCONTENT, 0, 0);
  SendMessageA(List(s), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(setup.entries[0].name));
  SendDlgItemMessageA(d, kIdPlayerName, EM_LIMITTEXT, kNameEditLimit, 0);
  EnableItem(d, kIdLinePersonality, false);
  EnableItem(d, kIdLineComputer, false);
  InitDefaultPlayerOptions();
  setup.challengeMode = 0;
  for (int line = 1; line < count; ++line)
    MakeComputerLine(s, line);
  Select(s, 0);
  ShowSelectedPlayerLine(s);
}

void OnNameEditNotice(DuplicateState* s, int code) {
  const bool commitOnLeave = code == EN_KILLFOCUS && !s->enterCommitted;
  s->enterCommitted = false;
  if (commitOnLeave) RenamePlayerLine(s);
}

void OnEnter(DuplicateState* s) {
  if (GetFocus() != GetDlgItem(s->dialog, kIdPlayerName)) return;
  s->enterCommitted = true;
  RenamePlayerLine(s);
}

void OnCommand(DuplicateState* s, int id, int code) {
  HWND d = s->dialog;
  GameSetup& setup = s->game->setup;
  if (OnSharedSetupCommand(d, setup, id, code)) return;
  switch (id) {
    case IDOK:
      OnEnter(s);
      return;
    case kIdNoTime:
      SelectNoLimit(s);
      return;
    case kIdTimePerMove:
      SelectPerMove(s, false);
      return;
    case kIdBlitz:
      ApplyBlitz(s, false);
      return;
    case kIdJoker:
      setup.flags = IsChecked(d, kIdJoker) ? setup.flags | kFlagBlankPerPlayer
                                           : setup.flags & ~kFlagBlankPerPlayer;
      return;
    case kIdNoEightLetters:
    case kIdSevenOfEight:
    case kIdEightOfEight:
      SetEightLetterOption(s, id);
      return;
    case kIdDuplicateRanking:
      setup.rankingGame = IsChecked(d, kIdDuplicateRanking) ? 1 : 0;
      return;
    case kIdSetupPlay:
      PlayDuplicateGame(s);
      return;
    case kIdPlayerCount:
      if (code == gui::kNotifySpinChanged) ChangeDuplicatePlayerCount(s);
      return;
    case kIdPlayerList:
      if (code == LBN_SELCHANGE) ShowSelectedPlayerLine(s);
      return;
    case kIdLineComputer:
      ToggleComputerLine(s);
      return;
    case kIdLinePersonality:
      ChoosePersonalityForLine(s);
      return;
    case kIdPlayerName:
      OnNameEditNotice(s, code);
      return;
    default:
      return;
  }
}

INT_PTR CALLBACK DuplicateSetupProc(HWND d, UINT msg, WPARAM wp, LPARAM) {
  DuplicateState* s = g_dup;
  if (!s) return FALSE;
  switch (msg) {
    case WM_INITDIALOG:
      DuplicateSetupInit(d, s);
      return FALSE;
    case WM_KEYUP:
      if (wp == VK_RETURN) OnEnter(s);
      return FALSE;
    case WM_COMMAND:
      if (s->dialog) OnCommand(s, LOWORD(wp), HIWORD(wp));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunDuplicateSetupDialog(HWND owner, CGame* game) {
  if (!game || g_dup) return kNewGameCancel;
  DuplicateState state;
  state.game = game;
  g_dup = &state;
  const INT_PTR result =
      shell::DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDuplicateTemplate), owner,
                           DuplicateSetupProc, 0);
  g_dup = nullptr;
  return result;
}

}  // namespace ui
