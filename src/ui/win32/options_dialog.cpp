#include "ui/win32/options_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/game.h"
#include "game/session_registry.h"
#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/sound.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/game_settings.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr int kOptionsTemplate = 1748;
enum Page { kGamePage, kGraphicsPage, kAudioPage, kPageCount };
constexpr int kPageTemplates[kPageCount] = {1749, 1750, 1751};
constexpr int kPageTitles[kPageCount] = {2099, 2102, 2107};

constexpr int kThemeIds[] = {kIdThemeAutomatic, kIdThemeStandard, kIdThemeParadisiacal,
                             kIdThemeDesertica, kIdThemeOriental, kIdThemeAntarctica};
constexpr int kBoardIds[] = {kIdBoardStandard, kIdBoardWhite, kIdBoardDeluxe};
constexpr int kSortIds[] = {kIdSortRandom, kIdSortAlphabetical, kIdSortConsonants, kIdSortVowels};

// The panel check boxes, the slot each one shows and its change bit.
struct PanelBox {
  int id;
  int slot;
  uint32_t bit;
};
constexpr PanelBox kPanelBoxes[] = {
    {kIdShowScores, kSlotPlayers, kChangedScoresPanel},
    {kIdShowRemainder, kSlotRemainingTiles, kChangedRemainderPanel},
    {kIdShowMentor, kSlotMentor, kChangedMentorPanel},
    {kIdShowDictionary, kSlotDictionary, kChangedDictionaryPanel},
    {kIdShowComments, kSlotUserComments, kChangedCommentsPanel},
    {kIdShowMoveList, kSlotMoveList, kChangedMoveListPanel},
};
// Rooms whose board model cannot be changed.
bool FixedBoardRoom(int room) { return room == 5 || room == 7 || room == 9; }

struct OptionsState {
  HWND dialog = nullptr;
  HWND tabs = nullptr;
  HWND pages[kPageCount] = {};
  std::vector<int> tabPages;  // the page of each tab
  bool updatingEdit = false;
  int lastTheme = -1, lastBoard = -1, lastSort = -1;
};
OptionsState* g_state = nullptr;
ThemeChangeHook g_themeHook = nullptr;

void Play(const char* sound) { shell::GetShellHost().PlaySoundFile(sound); }
bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
void Check(HWND page, int id, bool on) {
  CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
}
RoomLayoutRecord* CurrentRoom() {
  return GetRoomLayoutRecord(shell::GetShellHost().GetCurrentRoomId());
}

template <size_t N>
int CheckedIndex(HWND page, const int (&ids)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (Checked(page, ids[i])) return static_cast<int>(i);
  return -1;
}
template <size_t N>
void CheckIndex(HWND page, const int (&ids)[N], int index) {
  for (size_t i = 0; i < N; ++i)
    Check(page, ids[i], static_cast<int>(i) == index);
}
template <size_t N>
int IndexOf(const int (&ids)[N], int id) {
  for (size_t i = 0; i < N; ++i)
    if (ids[i] == id) return static_cast<int>(i);
  return -1;
}

// --- The Game page ---

void InitGamePage(HWND page) {
  const OptionsSettings& o = GetOptionsSettings();
  Check(page, kIdLoseTurn, o.loseTurn != 0);
  CheckIndex(page, kSortIds, o.rackSorting);
  g_state->lastSort = o.rackSorting;
}

void OnGamePageCommand(HWND, int id) {
  const int sort = IndexOf(kSortIds, id);
  if (sort < 0) return;
  if (sort != g_state->lastSort) Play("SOptSel1.wav");
  g_state->lastSort = sort;
}

// --- The Graphics page ---

void InitGraphicsPage(HWND page) {
  const OptionsSettings& o = GetOptionsSettings();
  CheckIndex(page, kThemeIds, o.skin);
  CheckIndex(page, kBoardIds, o.board);
  g_state->lastTheme = o.skin;
  g_state->lastBoard = o.board;
  const int room = shell::GetShellHost().GetCurrentRoomId();
  for (int id : kBoardIds)
    EnableWindow(GetDlgItem(page, id), !FixedBoardRoom(room));
  if (!o.juniorMode) EnableWindow(GetDlgItem(page, kIdJuniorMode), GetCurrentGame() == nullptr);
  const RoomLayoutRecord* layout = CurrentRoom();
  for (const PanelBox& b : kPanelBoxes) {
    HWND box = GetDlgItem(page, b.id);
    ShowWindow(box, SW_HIDE);
    EnableWindow(box, layout && layout->slots[b.slot].inLayout);
    Check(page, b.id, layout && layout->slots[b.slot].showInRoom);
  }
  ShowWindow(GetDlgItem(page, kIdShowTime), SW_HIDE);
  Check(page, kIdShowTime, o.timerVisible != 0);
  EnableWindow(GetDlgItem(page, kIdLockWindows), TRUE);
  Check(page, kIdLockWindows, o.lockedWindows != 0);
  Check(page, kIdJuniorMode, o.juniorMode != 0);
}

void OnGraphicsPageCommand(HWND page, int id) {
  const int theme = IndexOf(kThemeIds, id), board = IndexOf(kBoardIds, id);
  if (theme >= 0) {
    if (theme != g_state->lastTheme) Play("SOptSel1.wav");
    g_state->lastTheme = theme;
    return;
  }
  if (board >= 0) {
    if (board != g_state->lastBoard) Play("SOptSel1.wav");
    g_state->lastBoard = board;
    return;
  }
  if (id == kIdJuniorMode && GetCurrentGame()) {
    // Junior mode cannot change during a game: the click is undone.
    Check(page, id, !Checked(page, id));
    return;
  }
  const DWORD type = GetWindowLongA(GetDlgItem(page, id), GWL_STYLE) & BS_TYPEMASK;
  if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)
    Play(Checked(page, id) ? "SCasCoh1.wav" : "SCasDec.wav");
}

// --- The Audio page ---

void SetVolumeOf(int control, int value) {
  if (control == kIdMusicTrack || control == kIdMusicEdit)
    shell::SetMusicAndAmbianceVolume(value);
  else
    shell::SetEffectsVolume(value);
}

void ShowNumber(HWND page, int edit, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  g_state->updatingEdit = true;
  SetDlgItemTextA(page, edit, text);
  SendDlgItemMessageA(page, edit, EM_SETMODIFY, TRUE, 0);
  g_state->updatingEdit = false;
}

int TrackPos(HWND page, int track) {
  return static_cast<int>(SendDlgItemMessageA(page, track, TBM_GETPOS, 0, 0));
}

void InitAudioPage(HWND page) {
  const OptionsSettings& o = GetOptionsSettings();
  const int volumes[] = {o.musicVolume, o.soundVolume};
  const int tracks[] = {kIdMusicTrack, kIdSoundTrack}, edits[] = {kIdMusicEdit, kIdSoundEdit};
  for (int i = 0; i < 2; ++i) {
    SendDlgItemMessageA(page, tracks[i], TBM_SETRANGE, TRUE, MAKELONG(0, 100));
    SendDlgItemMessageA(page, tracks[i], TBM_SETLINESIZE, 0, 1);
    SendDlgItemMessageA(page, tracks[i], TBM_SETPAGESIZE, 0, 1);
    SendDlgItemMessageA(page, tracks[i], TBM_SETPOS, TRUE, volumes[i]);
    ShowNumber(page, edits[i], volumes[i]);
  }
  if (GetCurrentGame()) SetDlgItemTextA(page, kIdAmbientLabel, "Ambiance");
}

// A typed volume: the number (truncated) held to 0..100, the edit corrected
// when it was outside, applied at once.
void OnVolumeTyped(HWND page, int edit) {
  if (g_state->updatingEdit) return;
  char text[16] = {};
  GetDlgItemTextA(page, edit, text, sizeof text);
  const double typed = std::strtod(text, nullptr);
  const int value = static_cast<int>(std::clamp(typed, 0.0, 100.0));
  if (typed < 0 || typed > 100) ShowNumber(page, edit, value);
  SetVolumeOf(edit, value);
  const int track = edit == kIdMusicEdit ? kIdMusicTrack : kIdSoundTrack;
  SendDlgItemMessageA(page, track, TBM_SETPOS, TRUE, value);
}

void OnVolumeScrolled(HWND page, HWND track, int code) {
  const int id = GetDlgCtrlID(track);
  if (id != kIdMusicTrack && id != kIdSoundTrack) return;
  const int value = std::clamp(TrackPos(page, id), 0, 100);
  SetVolumeOf(id, value);
  if (code == SB_PAGEUP || code == SB_PAGEDOWN || code == SB_THUMBPOSITION) Play("SBouOK1.wav");
  if (code == SB_ENDSCROLL) return;
  ShowNumber(page, id == kIdMusicTrack ? kIdMusicEdit : kIdSoundEdit, value);
}

INT_PTR CALLBACK PageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  if (!g_state) return FALSE;
  const int which = static_cast<int>(GetWindowLongPtrA(page, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(page, DWLP_USER, lp);
      if (lp == kGamePage) InitGamePage(page);
      if (lp == kGraphicsPage) InitGraphicsPage(page);
      if (lp == kAudioPage) InitAudioPage(page);
      return FALSE;
    case WM_COMMAND:
      if (which == kGamePage && HIWORD(wp) == BN_CLICKED) OnGamePageCommand(page, LOWORD(wp));
      if (which == kGraphicsPage && HIWORD(wp) == BN_CLICKED)
        OnGraphicsPageCommand(page, LOWORD(wp));
      if (which == kAudioPage && (HIWORD(wp) == EN_UPDATE || HIWORD(wp) == EN_CHANGE) &&
          (LOWORD(wp) == kIdMusicEdit || LOWORD(wp) == kIdSoundEdit))
        OnVolumeTyped(page, LOWORD(wp));
      return TRUE;
    case WM_HSCROLL:
      if (which == kAudioPage) OnVolumeScrolled(page, reinterpret_cast<HWND>(lp), LOWORD(wp));
      return TRUE;
    default:
      return FALSE;
  }
}

// --- The dialog ---

void ShowOptionsPage(OptionsState* s, int tab) {
  for (HWND page : s->pages)
    if (page) ShowWindow(page, SW_HIDE);
  if (tab < 0 || tab >= static_cast<int>(s->tabPages.size())) return;
  const int which = s->tabPages[tab];
  HWND page = s->pages[which];
  if (which == kAudioPage) {
    ShowNumber(page, kIdMusicEdit, TrackPos(page, kIdMusicTrack));
    ShowNumber(page, kIdSoundEdit, TrackPos(page, kIdSoundTrack));
  }
  ShowWindow(page, SW_SHOW);
}

void BuildOptionsTabs(OptionsState* s) {
  bool offered[kPageCount];
  offered[kGamePage] = false;  // the rules are chosen in the set-ups
  const CGame* game = GetCurrentGame();
  offered[kGraphicsPage] = !game || game->Kind() != kKindQuiz;
  offered[kAudioPage] = true;
  RECT display;
  GetClientRect(s->tabs, &display);
  for (int p = 0; p < kPageCount; ++p) {
    if (!offered[p]) continue;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    char title[64];
    std::snprintf(title, sizeof title, "%s", shell::LoadResString(kPageTitles[p]));
    item.pszText = title;
    SendMessageA(s->tabs, TCM_INSERTITEMA, s->tabPages.size(), reinterpret_cast<LPARAM>(&item));
    s->tabPages.push_back(p);
  }
  SendMessageA(s->tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  for (int p : s->tabPages) {
    s->pages[p] = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kPageTemplates[p]),
                                     s->tabs, PageProc, p);
    SetWindowPos(s->pages[p], HWND_TOP, display.left, display.top, display.right - display.left,
                 display.bottom - display.top, SWP_NOACTIVATE);
  }
  SendMessageA(s->tabs, TCM_SETCURSEL, 0, 0);
  ShowOptionsPage(s, 0);
}

void DestroyPages(OptionsState* s) {
  for (HWND& page : s->pages) {
    if (page) DestroyWindow(page);
    page = nullptr;
  }
}

uint32_t ApplyGraphicsPage(HWND page, OptionsSettings& o) {
  uint32_t mask = 0;
  const int theme = std::max(CheckedIndex(page, kThemeIds), 0);
  const int board = std::max(CheckedIndex(page, kBoardIds), 0);
  if (theme != o.skin) mask |= kChangedTheme;
  if (board != o.board) mask |= kChangedBoard;
  o.skin = theme;
  o.board = board;
  const bool withGame = GetCurrentGame() != nullptr;
  if (RoomLayoutRecord* layout = CurrentRoom()) {
    for (const PanelBox& b : kPanelBoxes) {
      SlotPlacement& slot = layout->slots[b.slot];
      const int shown = Checked(page, b.id) ? 1 : 0;
      if (shown != (slot.showInRoom ? 1 : 0) && (b.bit != kChangedScoresPanel || withGame))
        mask |= b.bit;
      slot.visible = slot.showInRoom = shown;
    }
  }
  const uint8_t locked = Checked(page, kIdLockWindows), junior = Checked(page, kIdJuniorMode);
  if (locked != o.lockedWindows) mask |= kChangedLockedWindows;
  if (junior != o.juniorMode) mask |= kChangedJuniorMode;
  o.lockedWindows = locked;
  o.juniorMode = junior;
  return mask;
}

uint32_t ApplyGamePage(HWND page, OptionsSettings& o) {
  o.loseTurn = Checked(page, kIdLoseTurn);
  const int sort = std::max(CheckedIndex(page, kSortIds), 0);
  const uint32_t mask = sort != o.rackSorting ? kChangedRackSorting : 0;
  o.rackSorting = sort;
  return mask;
}

uint32_t ApplyAudioPage(HWND page, OptionsSettings& o) {
  const int music = TrackPos(page, kIdMusicTrack), sound = TrackPos(page, kIdSoundTrack);
  const uint32_t mask = music != o.musicVolume || sound != o.soundVolume ? kChangedVolume : 0;
  o.musicVolume = music;
  o.soundVolume = sound;
  return mask;
}

void ApplyOptionsDialog(OptionsState* s) {
  shell::GetShellHost().SetBusyCursor(true);
  OptionsSettings& o = GetOptionsSettings();
  uint32_t mask = 0;
  if (s->pages[kGraphicsPage]) mask |= ApplyGraphicsPage(s->pages[kGraphicsPage], o);
  if (s->pages[kGamePage]) mask |= ApplyGamePage(s->pages[kGamePage], o);
  if (s->pages[kAudioPage]) mask |= ApplyAudioPage(s->pages[kAudioPage], o);
  DestroyPages(s);
  shell::GetShellHost().SetBusyCursor(false);
  EndDialog(s->dialog, static_cast<INT_PTR>(mask));
}

void CancelOptionsDialog(OptionsState* s) {
  Play("SBouFer1.wav");
  DestroyPages(s);
  shell::SetMusicAndAmbianceVolume(GetOptionsSettings().musicVolume);
  shell::SetEffectsVolume(GetOptionsSettings().soundVolume);
  EndDialog(s->dialog, 0);
}

void RestoreDefaultOptions(OptionsState* s) {
  if (platform::ShowNotice(shell::LoadResString(2106), "", MB_YESNO) == IDNO) return;
  if (HWND page = s->pages[kGamePage]) {
    Check(page, kIdLoseTurn, false);
    CheckIndex(page, kSortIds, 0);
  }
  if (HWND page = s->pages[kGraphicsPage]) {
    CheckIndex(page, kThemeIds, 1);
    CheckIndex(page, kBoardIds, 0);
    for (int id : {kIdShowScores, kIdShowTime, kIdShowMentor, kIdShowComments, kIdShowMoveList})
      Check(page, id, true);
    for (int id : {kIdShowRemainder, kIdShowDictionary})
      Check(page, id, false);
  }
  if (HWND page = s->pages[kAudioPage]) {
    for (int track : {kIdMusicTrack, kIdSoundTrack})
      SendDlgItemMessageA(page, track, TBM_SETPOS, TRUE, 100);
    ShowNumber(page, kIdMusicEdit, 100);
    ShowNumber(page, kIdSoundEdit, 100);
    shell::SetMusicAndAmbianceVolume(100);
    shell::SetEffectsVolume(100);
  }
}

void OnInit(HWND dialog, OptionsState* s) {
  s->dialog = dialog;
  s->tabs = GetDlgItem(dialog, kIdOptionsTabs);
  BuildOptionsTabs(s);
  shell::CenterWindow(dialog, static_cast<HWND>(GetSlotWindow(kSlotMainFrame)));
  SetFocus(dialog);
}

INT_PTR CALLBACK OptionsDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  OptionsState* s = g_state;
  if (!s) return FALSE;
  switch (msg) {
    case WM_INITDIALOG:
      OnInit(dialog, s);
      return FALSE;
    case WM_NOTIFY: {
      const auto* nm = reinterpret_cast<const NMHDR*>(lp);
      if (nm->idFrom == kIdOptionsTabs && nm->code == TCN_SELCHANGE) {
        Play("SMenCli1.wav");
        SetFocus(dialog);
        ShowOptionsPage(s, static_cast<int>(SendMessageA(s->tabs, TCM_GETCURSEL, 0, 0)));
      }
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          Play("SBouOK1.wav");
          ApplyOptionsDialog(s);
          return TRUE;
        case IDCANCEL:
          CancelOptionsDialog(s);
          return TRUE;
        case kIdOptionsDefaults:
          Play("SBouOK1.wav");
          RestoreDefaultOptions(s);
          return TRUE;
        default:
          return FALSE;
      }
    case WM_DESTROY:
      s->tabs = nullptr;
      for (HWND& page : s->pages)
        page = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void SetThemeChangeHook(ThemeChangeHook hook) { g_themeHook = hook; }

bool SaveOptionsChanges(int mask) {
  if (mask == 0) return false;
  if ((mask & kChangedTheme) && g_themeHook) g_themeHook(GetOptionsSettings().skin);
  if (std::strcmp(shell::GetCurrentUserName(), shell::LoadResString(7144)) == 0) return false;
  if (platform::ShowNotice(shell::LoadResString(3077), "", MB_YESNO) != IDYES) return false;
  SaveOptionsSettings();
  return true;
}

HWND GetOptionsPage(int templateId) {
  if (!g_state) return nullptr;
  for (int p = 0; p < kPageCount; ++p)
    if (kPageTemplates[p] == templateId) return g_state->pages[p];
  return nullptr;
}

int RunOptionsDialog(HWND owner) {
  OptionsState state;
  OptionsState* outer = g_state;
  g_state = &state;
  const INT_PTR result = shell::DoModalDialog(
      GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kOptionsTemplate), owner, OptionsDlgProc, 0);
  g_state = outer;
  return result > 0 ? static_cast<int>(result) : 0;
}

}  // namespace ui
