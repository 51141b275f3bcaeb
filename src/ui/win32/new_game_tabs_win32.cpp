#include "ui/win32/new_game_tabs_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "game/game.h"
#include "gui/win32/gui_widgets1.h"
#include "platform/crand.h"
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
#include "ui/win32/setup_dialogs.h"
#include "ui/win32/side_game_setup_win32.h"

namespace ui {
namespace {

constexpr int kGeneralTemplate = 144;
constexpr int kClassicPlayersTemplate = 145;
constexpr int kDuplicatePlayersTemplates[2] = {1739, 1740};
constexpr int kIdCountLabel = 5798;
constexpr int kMaxLines = kMaxSetupLines;
constexpr int kLinesPerPage = 8;
constexpr int kClassicLines = 4;
constexpr int kNameLimit = 10;
constexpr int kBestSolutionRoom = 8;
constexpr UINT kStrGeneral = 2100, kStrPlayers = 2103, kStrPlayers1to8 = 2998,
               kStrPlayers9to16 = 2997;
constexpr UINT kStrNoName = 2080, kStrClassicCount = 3100, kStrDuplicateCount = 3101;
constexpr UINT kStrGameTimeRaised = 3037, kStrMoveTimeRaised = 3038;
constexpr char kNameInUse[] = "Name already in use!\nplease introduce another one.";

constexpr int kTypeIds[] = {kIdGeneralStandard, kIdGeneralJoker, kIdGeneralSevenOfEight,
                            kIdGeneralBlitz};
constexpr int kGameSpins[] = {kIdGeneralGameMinutes, kIdGeneralGameSeconds};
constexpr int kMoveSpins[] = {kIdGeneralMoveMinutes, kIdGeneralMoveSeconds};

struct TabbedState {
  HWND dialog = nullptr;
  HWND tabs = nullptr;
  HWND general = nullptr;
  HWND players[2] = {};  // lines 1 to 8 (1 to 4 classic), lines 9 to 16
  std::vector<HWND> tabPages;
  CGame* game = nullptr;
  bool duplicate = false;
  bool countBad = false;
  bool blitz = false;
  int lastType = 0, lastTime = 0, lastFirst = 0;
  bool lastComputer[kMaxLines + 1] = {};
};
TabbedState* g_tabbed = nullptr;

void Play(const char* sound) { shell::GetShellHost().PlaySoundFile(sound); }
void Notice(UINT id) { platform::ShowNotice(shell::LoadResString(id), "", MB_OK); }
bool Checked(HWND page, int id) { return page && IsDlgButtonChecked(page, id) == BST_CHECKED; }
void Check(HWND page, int id, bool on) {
  CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
}
void Enable(HWND page, int id, bool on) { EnableWindow(GetDlgItem(page, id), on); }
void Show(HWND page, int id, bool on) { ShowWindow(GetDlgItem(page, id), on ? SW_SHOW : SW_HIDE); }

int Spin(HWND page, int id) {
  return static_cast<int>(SendDlgItemMessageA(page, id, gui::kMsgSpinGetPos, 0, 0));
}
void SetSpin(HWND page, int id, int value) {
  SendDlgItemMessageA(page, id, gui::kMsgSpinSetPos, static_cast<WPARAM>(value), 0);
}
void RangeSpin(HWND page, int id, int low, int high) {
  SendDlgItemMessageA(page, id, gui::kMsgSpinSetRange, static_cast<WPARAM>(-1),
                      MAKELONG(low, high));
}

// --- Player lines, each on its page ---

HWND PageOf(const TabbedState& s, int line) {
  return line <= kLinesPerPage ? s.players[0] : s.players[1];
}
HWND LineItem(const TabbedState& s, int base, int line) {
  HWND page = PageOf(s, line);
  return page ? GetDlgItem(page, base + line) : nullptr;
}
bool HasLine(const TabbedState& s, int line) {
  return line >= 1 && line <= kMaxLines && LineItem(s, kIdPageLineName, line) != nullptr;
}
bool LineChecked(const TabbedState& s, int base, int line) {
  HWND b = LineItem(s, base, line);
  return b && SendMessageA(b, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void CheckLine(const TabbedState& s, int base, int line, bool on) {
  if (HWND b = LineItem(s, base, line))
    SendMessageA(b, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}
void EnableLine(const TabbedState& s, int base, int line, bool on) {
  if (HWND w = LineItem(s, base, line)) EnableWindow(w, on);
}
std::string NameOf(const TabbedState& s, int line) {
  char text[64] = {};
  if (HWND edit = LineItem(s, kIdPageLineName, line)) GetWindowTextA(edit, text, sizeof text);
  return text;
}
void SetName(const TabbedState& s, int line, const std::string& name) {
  if (HWND edit = LineItem(s, kIdPageLineName, line)) SetWindowTextA(edit, name.c_str());
}
bool IsComputer(const TabbedState& s, int line) {
  return line > 1 && LineChecked(s, kIdPageLineComputer, line);
}
void SetComputer(TabbedState& s, int line, bool computer) {
  CheckLine(s, kIdPageLineHuman, line, !computer);
  CheckLine(s, kIdPageLineComputer, line, computer);
  s.lastComputer[line] = computer;
}
int Count(const TabbedState& s) { return std::clamp(s.game->setup.GetPlayerCount(), 1, kMaxLines); }
std::string PlayerLineName(int line) {
  char text[24];
  std::snprintf(text, sizeof text, "Player %d", line);
  return text;
}

// The personality list's spelling of a name, "" when it is none.
std::string PersonalitySpelling(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& p : names)
    if (!name.empty() && SameName(p, name)) return p;
  return std::string();
}

// A personality no other line 2 to the count holds; "Player %d" when none
// is left.
std::string DrawFor(const TabbedState& s, int line) {
  std::vector<std::string> taken;
  for (int other = 2; other <= Count(s); ++other)
    if (other != line) taken.push_back(NameOf(s, other));
  const std::vector<std::string> names = ListPersonalityNames();
  const int i = DrawFreePersonality(names, taken);
  return i >= 0 ? names[static_cast<size_t>(i)] : PlayerLineName(line);
}

int FirstTurnLine(const TabbedState& s) {
  for (int line = 1; line <= kMaxLines; ++line)
    if (LineChecked(s, kIdPageLineFirstTurn, line)) return line;
  return 0;
}
// One first turn across both pages.
void SetFirstTurn(TabbedState& s, int line) {
  for (int other = 1; other <= kMaxLines; ++other)
    CheckLine(s, kIdPageLineFirstTurn, other, other == line);
  s.lastFirst = line;
}

// A computer line shows its personality read-only; its personality button
// works while its "Random" box is clear. A human line is typed in.
void ApplyLineKind(TabbedState& s, int line) {
  const bool computer = IsComputer(s, line);
  if (HWND edit = LineItem(s, kIdPageLineName, line))
    SendMessageA(edit, EM_SETREADONLY, computer, 0);
  EnableLine(s, kIdPageLineRandom, line, computer);
  EnableLine(s, kIdPageLinePersonalityButton, line,
             computer && !LineChecked(s, kIdPageLineRandom, line));
}

void RefreshPlayerLines(TabbedState& s) {
  const int count = Count(s);
  const std::vector<std::string> names = ListPersonalityNames();
  const bool randomOrder = Checked(s.general, kIdGeneralRandomOrder);
  for (int line = 2; line <= count && line <= kMaxLines; ++line) {
    if (!HasLine(s, line)) continue;
    for (int base : {kIdPageLineName, kIdPageLineHuman, kIdPageLineComputer})
      EnableLine(s, base, line, true);
    EnableLine(s, kIdPageLineFirstTurn, line, !randomOrder);
    const std::string name = NameOf(s, line);
    if (IsComputer(s, line)) {
      if (PersonalitySpelling(names, name).empty()) SetName(s, line, DrawFor(s, line));
    } else if (name.empty() || !PersonalitySpelling(names, name).empty()) {
      SetName(s, line, PlayerLineName(line));
    }
    ApplyLineKind(s, line);
  }
  for (int line = count + 1; line <= kMaxLines; ++line) {
    if (!HasLine(s, line)) continue;
    SetName(s, line, "");
    for (int base : {kIdPageLineName, kIdPageLineHuman, kIdPageLineComputer, kIdPageLineFirstTurn,
                     kIdPageLineRandom, kIdPageLinePersonalityButton})
      EnableLine(s, base, line, false);
    CheckLine(s, kIdPageLineRandom, line, false);
  }
  // A first turn beyond the count goes to the last line within it.
  const int first = FirstTurnLine(s);
  if (first > count || first == 0) SetFirstTurn(s, FirstTurnLineAfterCount(first, count));
}

void InitPlayerLines(TabbedState& s) {
  GameSetup& setup = s.game->setup;
  const char* user = shell::GetCurrentUserName();
  if (user && *user) std::snprintf(setup.entries[0].name, sizeof setup.entries[0].name, "%s", user);
  const std::vector<std::string> names = ListPersonalityNames();
  for (int line = 1; line <= kMaxLines; ++line) {
    if (!HasLine(s, line)) continue;
    SendMessageA(LineItem(s, kIdPageLineName, line), EM_LIMITTEXT, kNameLimit, 0);
    if (HWND hide = LineItem(s, kIdPageLineHide, line)) {
      ShowWindow(hide, SW_HIDE);
      EnableWindow(hide, FALSE);
    }
    if (s.duplicate) ShowWindow(LineItem(s, kIdPageLineFirstTurn, line), SW_HIDE);
    SetComputer(s, line, line > 1);
  }
  // The local user's line is always a human.
  for (int base :
       {kIdPageLineHuman, kIdPageLineComputer, kIdPageLinePersonalityButton, kIdPageLineRandom})
    ShowWindow(LineItem(s, base, 1), SW_HIDE);
  SetName(s, 1, setup.entries[0].name);
  for (int line = 2; line <= Count(s); ++line) {
    if (!HasLine(s, line)) continue;
    const std::string stored = setup.entries[line - 1].name;
    const std::string spelled = PersonalitySpelling(names, stored);
    SetName(s, line, spelled.empty() ? stored : spelled);
  }
  SetFirstTurn(s, 1);
  RefreshPlayerLines(s);
}

void OnLineCommand(TabbedState& s, int id) {
  const int count = Count(s);
  for (int line = 1; line <= kMaxLines; ++line) {
    const bool inCount = line >= 2 && line <= count;
    if (id == kIdPageLineHuman + line || id == kIdPageLineComputer + line) {
      const bool computer = id == kIdPageLineComputer + line;
      if (computer != s.lastComputer[line]) Play("SOptSel1.wav");
      s.lastComputer[line] = computer;
      const std::vector<std::string> names = ListPersonalityNames();
      const std::string name = NameOf(s, line);
      const std::string spelled = PersonalitySpelling(names, name);
      if (computer)
        SetName(s, line, spelled.empty() ? DrawFor(s, line) : spelled);
      else if (line == 1)
        SetName(s, line, s.game->setup.entries[0].name);
      else if (name.empty() || !spelled.empty())
        SetName(s, line, PlayerLineName(line));
    } else if (id == kIdPageLinePersonalityButton + line && inCount) {
      Play("SBouOK1.wav");
      char chosen[64] = {};
      PersonalityChooser chooser = GetPersonalityChooser();
      if (chooser && chooser(PageOf(s, line), chosen, sizeof chosen) && chosen[0])
        SetName(s, line, chosen);
    } else if (id == kIdPageLineRandom + line && inCount) {
      Play(LineChecked(s, kIdPageLineRandom, line) ? "SCasCoh1.wav" : "SCasDec.wav");
    } else if (id == kIdPageLineFirstTurn + line) {
      if (line != s.lastFirst) Play("SOptSel1.wav");
      SetFirstTurn(s, line);
    }
  }
  for (int line = 2; line <= count; ++line)
    if (HasLine(s, line)) ApplyLineKind(s, line);
}

// --- The "General" page ---

void ShowTimes(HWND page, int gameMinutes, int moveMinutes) {
  SetSpin(page, kIdGeneralGameMinutes, gameMinutes);
  SetSpin(page, kIdGeneralGameSeconds, 0);
  SetSpin(page, kIdGeneralMoveMinutes, moveMinutes);
  SetSpin(page, kIdGeneralMoveSeconds, 0);
}

// The spins of the checked time radio are enabled, the others not.
void EnableTimeSpins(HWND page, bool perGame, bool perMove) {
  for (int id : kGameSpins)
    Enable(page, id, perGame);
  for (int id : kMoveSpins)
    Enable(page, id, perMove);
}

void SelectTiming(TabbedState& s, int mode) {
  HWND page = s.general;
  s.game->setup.clockMode = mode;
  Check(page, kIdGeneralPerGame, mode == 1);
  Check(page, kIdGeneralPerMove, mode == 2);
  EnableTimeSpins(page, mode == 1, mode == 2);
  s.lastTime = mode == 1 ? kIdGeneralPerGame : kIdGeneralPerMove;
}

void InitGeneralPageTimes(TabbedState& s) {
  HWND page = s.general;
  GameSetup& setup = s.game->setup;
  s.blitz = false;
  for (int id :
       {kIdGeneralGameMinutes, kIdGeneralGameSeconds, kIdGeneralMoveMinutes, kIdGeneralMoveSeconds})
    RangeSpin(page, id, 0, 59);
  for (int id : kTypeIds)
    Check(page, id, id == kIdGeneralStandard);
  ShowTimes(page, 25, 3);
  Check(page, kIdGeneralTimeLimit, true);
  Enable(page, kIdGeneralPerGame, !s.duplicate);
  Enable(page, kIdGeneralPerMove, true);
  SelectTiming(s, s.duplicate ? 2 : 1);
  if (s.duplicate) {
    Show(page, kIdGeneralVisibleRacks, false);
    Show(page, kIdGeneralRandomOrder, false);
  }
  Check(page, kIdGeneralForfeit, setup.invalidWordForfeits != 0);
  // "Scoring blanks" is not offered.
  Show(page, kIdGeneralScoringBlanks, false);
  Enable(page, kIdGeneralScoringBlanks, false);
  s.lastType = kIdGeneralStandard;
}

// The kind of game: one flag bit each, the blitz flag for "Blitz"; any
// other choice clears what an earlier one set.
void OnGameType(TabbedState& s, int id) {
  HWND page = s.general;
  GameSetup& setup = s.game->setup;
  setup.flags &= ~(kFlagBlankPerPlayer | kFlagBlitz | kFlagSevenOfEight | kFlagEightOfEight);
  if (id == kIdGeneralBlitz) {
    s.blitz = true;
    setup.flags |= kFlagBlitz;
    SetSpin(page, kIdGeneralMoveMinutes, 1);
    SetSpin(page, kIdGeneralMoveSeconds, 0);
    SetSpin(page, kIdGeneralGameMinutes, 0);
    SetSpin(page, kIdGeneralGameSeconds, 0);
    for (int off : {kIdGeneralTimeLimit, kIdGeneralPerGame, kIdGeneralPerMove})
      Enable(page, off, false);
    EnableTimeSpins(page, false, false);
    return;
  }
  s.blitz = false;
  if (id == kIdGeneralJoker) setup.flags |= kFlagBlankPerPlayer;
  if (id == kIdGeneralSevenOfEight) setup.flags |= kFlagSevenOfEight;
  ShowTimes(page, 25, 3);
  Enable(page, kIdGeneralTimeLimit, true);
  if (!Checked(page, kIdGeneralTimeLimit)) return;
  Enable(page, kIdGeneralPerGame, !s.duplicate);
  Enable(page, kIdGeneralPerMove, true);
  EnableTimeSpins(page, Checked(page, kIdGeneralPerGame), Checked(page, kIdGeneralPerMove));
}

void OnTimeLimit(TabbedState& s) {
  HWND page = s.general;
  if (Checked(page, kIdGeneralTimeLimit)) {
    Enable(page, kIdGeneralPerGame, !s.duplicate);
    Enable(page, kIdGeneralPerMove, true);
    SelectTiming(s, s.game->setup.clockMode == 1 && !s.duplicate ? 1 : 2);
  } else {
    s.game->setup.clockMode = 0;
    Enable(page, kIdGeneralPerGame, false);
    Enable(page, kIdGeneralPerMove, false);
    EnableTimeSpins(page, false, false);
  }
}

void OnGeneralCommand(TabbedState& s, int id) {
  HWND page = s.general;
  const bool isType = std::find(std::begin(kTypeIds), std::end(kTypeIds), id) != std::end(kTypeIds);
  if (isType || id == kIdGeneralPerGame || id == kIdGeneralPerMove) {
    int& last = isType ? s.lastType : s.lastTime;
    if (id != last) Play("SOptSel1.wav");
    last = id;
  }
  for (int box : {kIdGeneralTimeLimit, kIdGeneralRandomOrder, kIdGeneralVisibleRacks,
                  kIdGeneralScoringBlanks, kIdGeneralForfeit})
    if (id == box) Play(Checked(page, id) ? "SCasCoh1.wav" : "SCasDec.wav");
  if (isType) {
    OnGameType(s, id);
  } else if (id == kIdGeneralTimeLimit) {
    OnTimeLimit(s);
  } else if (id == kIdGeneralPerGame) {
    SelectTiming(s, 1);
  } else if (id == kIdGeneralPerMove) {
    SelectTiming(s, 2);
  } else if (id == kIdGeneralRandomOrder) {
    const bool random = Checked(page, id);
    for (int line = 1; line <= Count(s); ++line)
      EnableLine(s, kIdPageLineFirstTurn, line, !random);
  }
}

// --- Confirmation ---

bool CheckNames(const TabbedState& s) {
  const int count = Count(s);
  for (int line = 1; line <= count; ++line) {
    const std::string name = NameOf(s, line);
    if (name.empty()) return Notice(kStrNoName), false;
    for (int other = 1; other < line; ++other)
      if (SameName(NameOf(s, other), name))
        return platform::ShowNotice(kNameInUse, "", MB_OK), false;
  }
  return true;
}

void ReadTimes(TabbedState& s) {
  HWND page = s.general;
  GameSetup& setup = s.game->setup;
  if (s.blitz) {
    setup.moveTimeMs = 60000;
    setup.clockMode = 2;
    return;
  }
  if (!Checked(page, kIdGeneralTimeLimit)) {
    setup.clockMode = 0;
    return;
  }
  if (Checked(page, kIdGeneralPerGame) && setup.kind == kKindStandard) {
    MinSec t{Spin(page, kIdGeneralGameMinutes), Spin(page, kIdGeneralGameSeconds)};
    if (t.minutes < kMinGameMinutes) {
      Notice(kStrGameTimeRaised);
      t = MinSec{kMinGameMinutes, 0};
    }
    setup.clockMode = 1;
    setup.gameTimeMs = JoinTimeMs(t);
  } else if (Checked(page, kIdGeneralPerMove)) {
    const MinSec asked{Spin(page, kIdGeneralMoveMinutes), Spin(page, kIdGeneralMoveSeconds)};
    const MinSec kept = ApplyMoveTimeFloor(asked);
    if (!(kept == asked)) Notice(kStrMoveTimeRaised);
    setup.clockMode = 2;
    setup.moveTimeMs = JoinTimeMs(kept);
  }
}

bool FinishGameSetup(TabbedState& s) {
  GameSetup& setup = s.game->setup;
  if (s.countBad) return Notice(s.duplicate ? kStrDuplicateCount : kStrClassicCount), false;
  const int count = Count(s);
  // A computer line with "Random" checked gets its personality now.
  for (int line = 2; line <= count; ++line)
    if (IsComputer(s, line) && LineChecked(s, kIdPageLineRandom, line))
      SetName(s, line, DrawFor(s, line));
  if (!CheckNames(s)) return false;
  ListPersonalityNames();
  for (int line = 1; line <= count; ++line) {
    PlayerSetupEntry& e = setup.entries[line - 1];
    const std::string name = NameOf(s, line);
    if (IsComputer(s, line))
      SetPersonalityEntry(e, name);
    else
      SetHumanEntry(e, name.c_str());
  }
  ReadTimes(s);
  int first = 0;
  if (Checked(s.general, kIdGeneralRandomOrder)) {
    first = platform::Random() % count;
  } else {
    for (int line = 2; line <= count && first == 0; ++line)
      if (LineChecked(s, kIdPageLineFirstTurn, line)) first = line - 1;
  }
  s.game->startPlayerIndex = first;
  setup.invalidWordForfeits = Checked(s.general, kIdGeneralForfeit) ? 1 : 0;
  if (const shell::UserProfile* p = shell::GetCurrentUserProfile())
    setup.language = static_cast<int32_t>(p->language);
  return true;
}

void OnPlayerCount(TabbedState& s) {
  const int count = Spin(s.dialog, kIdSetupPlayers);
  s.countBad = !IsSetupPlayerCount(count, s.duplicate) || count < 2;
  if (s.countBad) return;
  s.game->setup.SetPlayerCount(count);
  RefreshPlayerLines(s);
}

// --- Pages ---

INT_PTR CALLBACK GeneralPageProc(HWND, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && g_tabbed && g_tabbed->general && HIWORD(wp) == BN_CLICKED)
    OnGeneralCommand(*g_tabbed, LOWORD(wp));
  return FALSE;
}

INT_PTR CALLBACK PlayerPageProc(HWND, UINT msg, WPARAM wp, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && g_tabbed && HIWORD(wp) == BN_CLICKED)
    OnLineCommand(*g_tabbed, LOWORD(wp));
  return FALSE;
}

HWND AddPage(TabbedState& s, int templateId, UINT title, DLGPROC proc) {
  std::string text = shell::LoadResString(title);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = &text[0];
  SendMessageA(s.tabs, TCM_INSERTITEMA, s.tabPages.size(), reinterpret_cast<LPARAM>(&item));
  HWND page =
      CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), s.tabs, proc, 0);
  SetWindowLongPtrA(page, GWLP_ID, templateId);
  s.tabPages.push_back(page);
  return page;
}

void ShowSelectedPage(TabbedState& s) {
  const size_t tab = static_cast<size_t>(SendMessageA(s.tabs, TCM_GETCURSEL, 0, 0));
  for (size_t i = 0; i < s.tabPages.size(); ++i)
    ShowWindow(s.tabPages[i], i == tab ? SW_SHOW : SW_HIDE);
}

void CreateSetupPages(TabbedState& s) {
  s.general = AddPage(s, kGeneralTemplate, kStrGeneral, GeneralPageProc);
  if (s.duplicate) {
    s.players[0] = AddPage(s, kDuplicatePlayersTemplates[0], kStrPlayers1to8, PlayerPageProc);
    s.players[1] = AddPage(s, kDuplicatePlayersTemplates[1], kStrPlayers9to16, PlayerPageProc);
  } else {
    s.players[0] = AddPage(s, kClassicPlayersTemplate, kStrPlayers, PlayerPageProc);
  }
  RECT display;
  GetClientRect(s.tabs, &display);
  SendMessageA(s.tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  for (HWND page : s.tabPages)
    MoveWindow(page, display.left, display.top, display.right - display.left,
               display.bottom - display.top, FALSE);
  SendMessageA(s.tabs, TCM_SETCURSEL, 0, 0);
  ShowSelectedPage(s);
  BringWindowToTop(s.general);
}

void OnInitDialog(HWND dialog, TabbedState* s) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
  s->dialog = dialog;
  g_tabbed = s;
  GameSetup& setup = s->game->setup;
  // The best-solution room and a crossagram are set up as a standard game.
  if (setup.kind == kKindCrossagram ||
      shell::GetShellHost().GetCurrentRoomId() == kBestSolutionRoom)
    setup.kind = kKindStandard;
  s->duplicate = setup.kind == kKindDuplicate;
  SetDlgItemTextA(dialog, kIdCountLabel, s->duplicate ? "Players (2-16)" : "Players (2-4)");
  setup.SetPlayerCount(2);
  RangeSpin(dialog, kIdSetupPlayers, 1, kMaxLines);
  SetSpin(dialog, kIdSetupPlayers, 2);
  InitDefaultPlayerOptions();
  s->tabs = GetDlgItem(dialog, kIdSetupTabs);
  CreateSetupPages(*s);
  InitGeneralPageTimes(*s);
  InitPlayerLines(*s);
  shell::CenterWindow(dialog, GetMainFrameWindow());
  SetFocus(GetDlgItem(dialog, IDOK));
}

void OnCommand(TabbedState& s, int id, int code) {
  if (id == kIdSetupPlayers && code == gui::kNotifySpinChanged) {
    OnPlayerCount(s);
  } else if (id == IDOK) {
    Play("SBouOK1.wav");
    if (FinishGameSetup(s)) EndDialog(s.dialog, 0);
  } else if (id == IDCANCEL) {
    Play("SBouFer1.wav");
    EndDialog(s.dialog, kSetupCancelled);
  }
}

INT_PTR CALLBACK TabbedSetupDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<TabbedState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, reinterpret_cast<TabbedState*>(lp));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      if (s) OnCommand(*s, LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_NOTIFY: {
      const auto* nm = reinterpret_cast<const NMHDR*>(lp);
      if (s && nm->idFrom == kIdSetupTabs && nm->code == TCN_SELCHANGE) ShowSelectedPage(*s);
      return TRUE;
    }
    case WM_DESTROY:
      if (s)
        for (HWND page : s->tabPages)
          DestroyWindow(page);
      g_tabbed = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

INT_PTR RunTabbedSetupDialog(HWND owner, CGame* game) {
  if (!game) return kSetupCancelled;
  TabbedState s;
  s.game = game;
  return shell::DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTabbedSetupTemplate),
                              owner, TabbedSetupDlgProc, reinterpret_cast<LPARAM>(&s));
}

}  // namespace ui
