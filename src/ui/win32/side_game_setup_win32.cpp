#include "ui/win32/side_game_setup_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "game/game.h"
#include "gui/win32/gui_widgets1.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/user_profile.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/computer_players.h"
#include "ui/personality_draw.h"
#include "ui/player_options.h"
#include "ui/side_game_setup_rules.h"
#include "ui/time_limits.h"
#include "ui/win32/main_frame.h"
#include "ui/win32/new_game_tabs_win32.h"
#include "ui/win32/setup_dialogs.h"

namespace ui {
namespace {

constexpr int kAnagramTemplate = 1601;
constexpr int kPuzzleTemplate = 1602;
constexpr int kLines = 4;
constexpr int kNameLimit = 10;
constexpr int kDefaultTurns = 20;
constexpr UINT kStrNoName = 2080;
constexpr UINT kStrPlayerCount = 3100;
constexpr UINT kStrBoardSize = 3102;
constexpr UINT kStrNoAnagram = 3147;
constexpr UINT kStrMoveTimeRaised = 3038;
constexpr UINT kStrForcedLetters = 7143;
constexpr char kNameInUse[] = "Name already in use!\nplease introduce another one.";

struct SetupState {
  CGame* game = nullptr;
  int kind = 0;
  bool countBad = false;
  bool computer[kLines + 1] = {};  // by line, 1-based
};

int NameId(int line) { return kIdSetupFirstName + line - 1; }
int FirstTurnId(int line) { return kIdSetupFirstTurn + line - 1; }

std::string NameOf(HWND dialog, int line) {
  char text[64] = {};
  GetDlgItemTextA(dialog, NameId(line), text, sizeof text);
  return text;
}

int Spin(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, gui::kMsgSpinGetPos, 0, 0));
}
void SetSpin(HWND dialog, int id, int low, int high, int value) {
  SendDlgItemMessageA(dialog, id, gui::kMsgSpinSetRange, static_cast<WPARAM>(-1),
                      MAKELONG(low, high));
  SendDlgItemMessageA(dialog, id, gui::kMsgSpinSetPos, static_cast<WPARAM>(value), 0);
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Notice(UINT id) { platform::ShowNotice(shell::LoadResString(id), "", MB_OK); }

bool IsPersonalityName(const std::string& name) {
  for (const std::string& p : ListPersonalityNames())
    if (SameName(p, name)) return true;
  return false;
}

// A personality no other line of lines 2 to the count shows.
std::string DrawPersonality(HWND dialog, int line, int count) {
  std::vector<std::string> taken;
  for (int other = 2; other <= count; ++other)
    if (other != line) taken.push_back(NameOf(dialog, other));
  const std::vector<std::string> names = ListPersonalityNames();
  const int i = DrawFreePersonality(names, taken);
  return i >= 0 ? names[static_cast<size_t>(i)] : DefaultPlayerName(line);
}

int PlayerCount(const SetupState& s) {
  return std::clamp(s.game->setup.GetPlayerCount(), 1, kLines);
}

// Lines within the count are enabled and follow their kind; the others are
// emptied and disabled, a first turn among them going to the last line kept.
void RefreshLines(HWND dialog, SetupState& s) {
  const int count = PlayerCount(s);
  const bool puzzle = s.kind == kKindConundrum;
  int first = 1;
  for (int line = 1; line <= kLines; ++line)
    if (Checked(dialog, FirstTurnId(line))) first = line;
  for (int line = 2; line <= kLines; ++line) {
    const bool in = line <= count;
    HWND name = GetDlgItem(dialog, NameId(line));
    EnableWindow(name, in);
    EnableWindow(GetDlgItem(dialog, FirstTurnId(line)), in);
    if (puzzle) {
      EnableWindow(GetDlgItem(dialog, kIdSetupHuman + line - 1), in);
      EnableWindow(GetDlgItem(dialog, kIdSetupComputer + line - 1), in);
      EnableWindow(GetDlgItem(dialog, kIdSetupPersonality + line - 1), in && s.computer[line]);
      SendMessageA(name, EM_SETREADONLY, in && s.computer[line], 0);
    }
    if (!in) {
      SetWindowTextA(name, "");
      continue;
    }
    const std::string current = NameOf(dialog, line);
    if (puzzle && s.computer[line]) {
      if (!IsPersonalityName(current))
        SetWindowTextA(name, DrawPersonality(dialog, line, count).c_str());
    } else if (current.empty() || IsPersonalityName(current)) {
      SetWindowTextA(name, DefaultPlayerName(line).c_str());
    }
  }
  const int kept = FirstTurnLineAfterCount(first, count);
  CheckRadioButton(dialog, FirstTurnId(1), FirstTurnId(kLines), FirstTurnId(kept));
}

void CountAnagrams(HWND dialog) {
  char text[32] = {};
  GetDlgItemTextA(dialog, kIdSetupForced, text, sizeof text);
  const std::string forced = NormalizeForcedLetters(text);
  const std::string pattern = AnagramDrawPattern(forced, Spin(dialog, kIdSetupLetters));
  const Lexicon* lexicon = GetLexicon();
  const int n = lexicon && AreForcedLettersValid(forced) && !pattern.empty()
                    ? lexicon->FindAnagrams(pattern.c_str(), static_cast<int>(pattern.size()))
                    : 0;
  SetDlgItemInt(dialog, kIdSetupAnagramCount, static_cast<UINT>(n), FALSE);
}

void ShowTimeLimit(HWND dialog, SetupState& s, bool on) {
  const MinSec t = on ? SplitTimeMs(s.game->setup.moveTimeMs) : MinSec{};
  const MinSec shown = on ? ApplyMoveTimeFloor(t) : t;
  SetSpin(dialog, kIdSetupMinutes, 0, 59, shown.minutes);
  SetSpin(dialog, kIdSetupSeconds, 0, 59, shown.seconds);
  EnableWindow(GetDlgItem(dialog, kIdSetupMinutes), on);
  EnableWindow(GetDlgItem(dialog, kIdSetupSeconds), on);
}

void InitLines(HWND dialog, SetupState& s) {
  GameSetup& setup = s.game->setup;
  const char* user = shell::GetCurrentUserName();
  if (user && *user) std::snprintf(setup.entries[0].name, sizeof setup.entries[0].name, "%s", user);
  for (int line = 1; line <= kLines; ++line) {
    SendDlgItemMessageA(dialog, NameId(line), EM_LIMITTEXT, kNameLimit, 0);
    s.computer[line] = s.kind == kKindConundrum && line > 1;
    if (line <= setup.GetPlayerCount()) {
      const PlayerSetupEntry& e = setup.entries[line - 1];
      if (s.kind == kKindConundrum && line > 1) s.computer[line] = e.playerType != kPlayerHuman;
      SetDlgItemTextA(dialog, NameId(line), e.name);
    }
  }
  if (s.kind == kKindConundrum)
    for (int line = 1; line <= kLines; ++line)
      CheckRadioButton(dialog, kIdSetupHuman + line - 1, kIdSetupComputer + line - 1,
                       (s.computer[line] ? kIdSetupComputer : kIdSetupHuman) + line - 1);
  // The local user's line is always a human.
  for (int id : {kIdSetupHuman, kIdSetupComputer, kIdSetupPersonality})
    ShowWindow(GetDlgItem(dialog, id), SW_HIDE);
  CheckRadioButton(dialog, FirstTurnId(1), FirstTurnId(kLines), FirstTurnId(1));
  RefreshLines(dialog, s);
}

void InitSetup(HWND dialog, SetupState* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  GameSetup& setup = s->game->setup;
  if (setup.GetPlayerCount() < 1) setup.SetPlayerCount(1);
  if (setup.GetPlayerCount() > kLines) setup.SetPlayerCount(kLines);
  SetDlgItemTextA(dialog, 5798, "Players (1-4)");
  SetSpin(dialog, kIdSetupPlayers, 1, kLines, setup.GetPlayerCount());
  const bool anagram = s->kind == kKindAnagram;
  s->game->rackSize = std::clamp<int32_t>(s->game->rackSize, anagram ? 4 : 7, 12);
  SetSpin(dialog, kIdSetupLetters, anagram ? 4 : 7, 12, s->game->rackSize);
  if (setup.maxRounds < 1) setup.maxRounds = kDefaultTurns;
  SetSpin(dialog, kIdSetupTurns, 1, 99, setup.maxRounds);
  if (anagram) {
    SetDlgItemTextA(dialog, kIdSetupForced,
                    NormalizeForcedLetters(s->game->anagramLetters).c_str());
  } else {
    CheckDlgButton(dialog, kIdSetupTimeLimit, setup.clockMode == 2 ? BST_CHECKED : BST_UNCHECKED);
    ShowTimeLimit(dialog, *s, setup.clockMode == 2);
    CheckDlgButton(dialog, kIdSetupForfeit, setup.invalidWordForfeits ? BST_CHECKED : 0);
  }
  InitLines(dialog, *s);
  if (anagram) CountAnagrams(dialog);
  shell::CenterWindow(dialog, GetMainFrameWindow());
}

// The confirmation; true when the dialog may end.
bool Finish(HWND dialog, SetupState& s) {
  GameSetup& setup = s.game->setup;
  const bool anagram = s.kind == kKindAnagram;
  if (s.countBad) return Notice(kStrPlayerCount), false;
  const int letters = Spin(dialog, kIdSetupLetters);
  if (!IsSideGameLettersCount(s.kind, letters)) return Notice(kStrBoardSize), false;
  char text[32] = {};
  GetDlgItemTextA(dialog, kIdSetupForced, text, sizeof text);
  const std::string forced = NormalizeForcedLetters(text);
  if (anagram) {
    if (!AreForcedLettersValid(forced)) return Notice(kStrForcedLetters), false;
    const std::string pattern = AnagramDrawPattern(forced, letters);
    const Lexicon* lexicon = GetLexicon();
    if (!lexicon || lexicon->FindAnagrams(pattern.c_str(), letters) == 0)
      return Notice(kStrNoAnagram), false;
  }
  const int count = PlayerCount(s);
  for (int line = 1; line <= count; ++line) {
    const std::string name = NameOf(dialog, line);
    if (name.empty()) return Notice(kStrNoName), false;
    for (int other = 1; other < line; ++other)
      if (SameName(NameOf(dialog, other), name))
        return platform::ShowNotice(kNameInUse, "", MB_OK), false;
  }
  for (int line = 1; line <= count; ++line) {
    PlayerSetupEntry& e = setup.entries[line - 1];
    const std::string name = NameOf(dialog, line);
    if (s.computer[line])
      SetPersonalityEntry(e, name);
    else
      SetHumanEntry(e, name.c_str());
  }
  s.game->rackSize = letters;
  setup.maxRounds = Spin(dialog, kIdSetupTurns);
  s.game->startPlayerIndex = 0;
  for (int line = 2; line <= count; ++line)
    if (Checked(dialog, FirstTurnId(line))) s.game->startPlayerIndex = line - 1;
  if (const shell::UserProfile* p = shell::GetCurrentUserProfile())
    setup.language = static_cast<int32_t>(p->language);
  if (anagram) {
    std::snprintf(s.game->anagramLetters, sizeof s.game->anagramLetters, "%s", forced.c_str());
    setup.clockMode = 0;
    setup.invalidWordForfeits = 1;
    return true;
  }
  setup.clockMode = 0;
  if (Checked(dialog, kIdSetupTimeLimit)) {
    const MinSec asked{Spin(dialog, kIdSetupMinutes), Spin(dialog, kIdSetupSeconds)};
    const MinSec kept = ApplyMoveTimeFloor(asked);
    if (!(kept == asked)) Notice(kStrMoveTimeRaised);
    setup.clockMode = 2;
    setup.moveTimeMs = JoinTimeMs(kept);
  }
  setup.invalidWordForfeits = Checked(dialog, kIdSetupForfeit) ? 1 : 0;
  return true;
}

void OnPlayerCount(HWND dialog, SetupState& s) {
  const int count = Spin(dialog, kIdSetupPlayers);
  s.countBad = !IsSetupPlayerCount(count, false);
  if (s.countBad) return;
  s.game->setup.SetPlayerCount(count);
  RefreshLines(dialog, s);
}

void OnLineKind(HWND dialog, SetupState& s, int line, bool computer) {
  if (s.computer[line] != computer) shell::GetShellHost().PlaySoundFile("SOptSel1.wav");
  s.computer[line] = computer;
  HWND name = GetDlgItem(dialog, NameId(line));
  if (computer)
    SetWindowTextA(name, DrawPersonality(dialog, line, PlayerCount(s)).c_str());
  else if (NameOf(dialog, line).empty() || IsPersonalityName(NameOf(dialog, line)))
    SetWindowTextA(name, DefaultPlayerName(line).c_str());
  RefreshLines(dialog, s);
}

// The chooser names a computer line's personality.
void OnPersonalityButton(HWND dialog, SetupState& s, int line) {
  if (line > PlayerCount(s) || !s.computer[line]) return;
  shell::GetShellHost().PlaySoundFile("SBouOK1.wav");
  char name[64] = {};
  PersonalityChooser chooser = GetPersonalityChooser();
  if (chooser && chooser(dialog, name, sizeof name) && name[0])
    SetDlgItemTextA(dialog, NameId(line), name);
}

void OnCommand(HWND dialog, SetupState& s, int id, int code) {
  const bool puzzle = s.kind == kKindConundrum;
  if (id == kIdSetupPlayers && code == gui::kNotifySpinChanged) {
    OnPlayerCount(dialog, s);
  } else if (id == kIdSetupLetters && code == gui::kNotifySpinChanged) {
    if (!puzzle) CountAnagrams(dialog);
  } else if (id == kIdSetupForced && code == EN_CHANGE) {
    CountAnagrams(dialog);
  } else if (puzzle && id >= kIdSetupHuman + 1 && id < kIdSetupHuman + kLines) {
    OnLineKind(dialog, s, id - kIdSetupHuman + 1, false);
  } else if (puzzle && id >= kIdSetupComputer + 1 && id < kIdSetupComputer + kLines) {
    OnLineKind(dialog, s, id - kIdSetupComputer + 1, true);
  } else if (puzzle && id > kIdSetupPersonality && id < kIdSetupPersonality + kLines) {
    OnPersonalityButton(dialog, s, id - kIdSetupPersonality + 1);
  } else if (puzzle && id == kIdSetupTimeLimit) {
    const bool on = Checked(dialog, id);
    shell::GetShellHost().PlaySoundFile(on ? "SCasCoh1.wav" : "SCasDec.wav");
    ShowTimeLimit(dialog, s, on);
  } else if (id == kIdSetupForfeit) {
    shell::GetShellHost().PlaySoundFile(Checked(dialog, id) ? "SCasCoh1.wav" : "SCasDec.wav");
  } else if (id == IDOK) {
    shell::GetShellHost().PlaySoundFile("SBouOK1.wav");
    if (Finish(dialog, s)) EndDialog(dialog, 0);
  } else if (id == IDCANCEL) {
    shell::GetShellHost().PlaySoundFile("SBouFer1.wav");
    s.game->setup.kind = -1;
    EndDialog(dialog, kSetupCancelled);
  }
}

INT_PTR CALLBACK GameSetupDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<SetupState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      InitSetup(dialog, reinterpret_cast<SetupState*>(lp));
      return TRUE;
    case WM_COMMAND:
      if (s) OnCommand(dialog, *s, LOWORD(wp), HIWORD(wp));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunGameSetupDialog(HWND owner, CGame* game) {
  if (!game) return kSetupCancelled;
  const int kind = game->Kind();
  if (kind != kKindAnagram && kind != kKindConundrum) return RunTabbedSetupDialog(owner, game);
  SetupState s;
  s.game = game;
  s.kind = kind;
  const int templateId = kind == kKindAnagram ? kAnagramTemplate : kPuzzleTemplate;
  return shell::DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner,
                              GameSetupDlgProc, reinterpret_cast<LPARAM>(&s));
}

}  // namespace ui
