// The profile manager (dialog 146): the list of profiles with the details
// of the selected one, and the buttons that enter, create, edit, inspect or
// delete a profile. The current profile can be neither edited nor deleted.
#include "shell/startup/win32/profile_manager.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/message_sink.h"
#include "shell/app_context.h"
#include "shell/main_loop_state.h"
#include "shell/res_strings.h"
#include "shell/settings.h"
#include "shell/shell_constants.h"
#include "shell/startup/profile_rules.h"
#include "shell/startup/resource_sets.h"
#include "shell/startup/win32/app_cursors.h"
#include "shell/startup/win32/profile_dialog_support.h"
#include "shell/startup/win32/profile_window.h"
#include "shell/theme.h"
#include "shell/user_profile.h"
#include "shell/window/dialog_support.h"
#include "scene/win32/lobby_room.h"
#include "ui/win32/main_frame.h"

namespace shell {
namespace {

constexpr int kTemplate = 146;
constexpr int kList = 371, kEnter = 377, kNew = 364, kEdit = 664, kDelete = 370;
constexpr int kStatistics = 380, kLater = 362, kUnused = 480;
constexpr int kAge = 5897, kSex = 5898, kLanguage = 5899;
constexpr uint32_t kStrMale = 2447, kStrFemale = 2446;

HWND DefaultTarget() {
  HWND lobby = scene::GetLobbyDialog();
  return lobby ? lobby : ui::GetMainFrameWindow();
}
DefaultProfileTarget g_defaultTarget = DefaultTarget;

struct ManagerState {
  std::vector<std::string> names;
  bool wantDefault = false;  // "Create later" without a current profile
};

ManagerState* StateOf(HWND dialog) {
  return reinterpret_cast<ManagerState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

HWND List(HWND dialog) { return GetDlgItem(dialog, kList); }

// The selected profile's name, or "" when nothing is selected.
std::string SelectedName(HWND dialog) {
  const ManagerState* s = StateOf(dialog);
  const LRESULT i = SendMessageA(List(dialog), LB_GETCURSEL, 0, 0);
  if (i < 0 || static_cast<size_t>(i) >= s->names.size()) return std::string();
  return s->names[static_cast<size_t>(i)];
}

bool IsCurrentProfile(const std::string& name) {
  return !name.empty() && name == GetCurrentUserName();
}

void FillList(HWND dialog) {
  ManagerState* s = StateOf(dialog);
  s->names = BuildUserList();
  HWND list = List(dialog);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& n : s->names)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(n.c_str()));
}

// Selects the entry equal to `name` (exactly); false when there is none.
bool SelectName(HWND dialog, const std::string& name) {
  const std::vector<std::string>& names = StateOf(dialog)->names;
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) {
      SendMessageA(List(dialog), LB_SETCURSEL, i, 0);
      return true;
    }
  return false;
}

void SelectIndex(HWND dialog, size_t index) {
  const size_t count = StateOf(dialog)->names.size();
  if (count) SendMessageA(List(dialog), LB_SETCURSEL, index < count ? index : count - 1, 0);
}

void ShowDetails(HWND dialog) {
  const std::string name = SelectedName(dialog);
  for (int id : {kEnter, kDelete, kStatistics, kEdit})
    EnableWindow(GetDlgItem(dialog, id), !name.empty());
  UserProfile p;
  if (name.empty() || ReadUserProfile(name.c_str(), p) == kProfileReadFailed) {
    for (int id : {kAge, kSex, kLanguage})
      SetDlgItemTextA(dialog, id, "");
    return;
  }
  SetDlgItemInt(dialog, kAge, p.age, FALSE);
  SetDlgItemTextA(dialog, kSex, LoadResString(p.sex == 1 ? kStrFemale : kStrMale));
  SetDlgItemTextA(dialog, kLanguage,
                  p.language == 1 ? "Fran\xe7"
                                    "ais"
                                  : "English");
}

void OnInit(HWND dialog, ManagerState* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  FillList(dialog);
  const SettingsRecord* settings = GetSettingsRecord();
  const std::string current = GetCurrentUserName();
  const std::string wanted = !current.empty() ? current : settings ? settings->lastUser : "";
  if (wanted.empty() || !SelectName(dialog, wanted)) SelectIndex(dialog, 0);
  ShowDetails(dialog);
  ShowWindow(GetDlgItem(dialog, kUnused), SW_HIDE);
  ShowWindow(GetDlgItem(dialog, kLater), SW_SHOW);
  CentreProfileDialog(dialog);
}

bool IsCurrentTheme(const char* theme) {
  const char* path = GetCurrentThemePath();
  const char* slash = std::strrchr(path, '\\');
  return lstrcmpiA(slash ? slash + 1 : path, theme) == 0;
}

// The entered profile's theme, skin and ambiance take over; the skin is
// reloaded only when the theme changes.
void ApplyUserTheme(const char* name) {
  char theme[kThemeBufferSize] = {}, skin[kThemeBufferSize] = {};
  GetUserThemeFile(theme, name);
  if (!IsCurrentTheme(theme)) {
    ResolveSkinFile(skin, theme);
    ApplySkinByName(skin, 1);
  }
  if (SettingsRecord* s = GetSettingsRecord())
    std::snprintf(s->theme, sizeof s->theme, "%s", theme);
}

void Enter(HWND dialog, const std::string& name) {
  HWND main = ui::GetMainFrameWindow();
  SetAppCursor(main, kCursorBusy);
  const bool selected = SelectUser(name.c_str());
  if (selected) ApplyUserTheme(name.c_str());
  SetAppCursor(main, kCursorPointer);
  EndDialog(dialog, kProfileEntered);
}

void OnEnter(HWND dialog) {
  const std::string name = SelectedName(dialog);
  if (name.empty()) return;
  PlayProfileSound("SBouOK1.wav");
  Enter(dialog, name);
}

void OnEdit(HWND dialog) {
  const std::string name = SelectedName(dialog);
  if (name.empty()) return;
  PlayProfileSound("SBouOK1.wav");
  if (IsCurrentProfile(name)) {
    ProfileNotice(kStrCannotEditCurrent, kProfileWarning);
    return;
  }
  RunEditProfileDialog(dialog, name.c_str());
  ShowDetails(dialog);
}

void OnDelete(HWND dialog) {
  const std::string name = SelectedName(dialog);
  if (name.empty()) return;
  PlayProfileSound("SBouOK1.wav");
  if (IsCurrentProfile(name)) {
    ProfileNotice(kStrCannotRemoveCurrent, kProfileWarning);
    return;
  }
  if (ProfileNotice(kStrConfirmDeleteUser, kProfileQuestion, name.c_str()) != platform::kResultYes)
    return;
  if (HasSavedGames(name.c_str()) &&
      ProfileNotice(kStrConfirmSavedGames, kProfileQuestion) != platform::kResultYes)
    return;
  const LRESULT index = SendMessageA(List(dialog), LB_GETCURSEL, 0, 0);
  DeleteProfileFiles(name.c_str());
  // The settings ini goes back to the program's only when no profile is
  // current: a current profile keeps its own.
  if (!GetCurrentUserName()[0]) SetSettingsIniPath(kProgramIniName, false);
  FillList(dialog);
  SelectIndex(dialog, index > 0 ? static_cast<size_t>(index) : 0);
  InvalidateRect(List(dialog), nullptr, TRUE);
  ShowDetails(dialog);
}

void OnNew(HWND dialog) {
  PlayProfileSound("SBouOK1.wav");
  std::string created;
  bool enter = false;
  if (!RunNewProfileDialog(dialog, &created, &enter)) return;
  FillList(dialog);
  SelectName(dialog, created);
  ShowDetails(dialog);
  if (enter) Enter(dialog, created);
}

void OnStatistics(HWND dialog) {
  const std::string name = SelectedName(dialog);
  if (name.empty()) return;
  PlayProfileSound("SBouOK1.wav");
  ShowProfileWindow(dialog, GetModuleHandleA(nullptr), name.c_str());
}

void OnLater(HWND dialog) {
  PlayProfileSound("SBouFer1.wav");
  StateOf(dialog)->wantDefault = !GetCurrentUserName()[0];
  EndDialog(dialog, kProfileLater);
}

void OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case kList:
      if (code == LBN_SELCHANGE) ShowDetails(dialog);
      if (code == LBN_DBLCLK) OnEnter(dialog);
      break;
    case kEnter:
      OnEnter(dialog);
      break;
    case kNew:
      OnNew(dialog);
      break;
    case kEdit:
      OnEdit(dialog);
      break;
    case kDelete:
      OnDelete(dialog);
      break;
    case kStatistics:
      OnStatistics(dialog);
      break;
    // Closing the manager is "Create later": the player is never left
    // without a profile.
    case kLater:
    case IDCANCEL:
      OnLater(dialog);
      break;
    default:
      break;
  }
}

}  // namespace

INT_PTR ShowUserManagementDialog(HWND owner) {
  // The main loop's modeless dialog is switched off while the manager runs.
  HWND modeless = static_cast<HWND>(SetModelessDialog(nullptr));
  SetModelessDialog(modeless);
  const bool disable =
      modeless && modeless != owner && IsWindow(modeless) && IsWindowEnabled(modeless);
  if (disable) EnableWindow(modeless, FALSE);
  ManagerState state;
  const INT_PTR result = DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTemplate),
                                       owner, ProfileDialogProc<ManagerState, OnInit, OnCommand>,
                                       reinterpret_cast<LPARAM>(&state));
  if (disable && IsWindow(modeless)) EnableWindow(modeless, TRUE);
  // Sent once the manager has gone, where a posted request would arrive: a
  // posted message below WM_USER is not delivered on every system.
  if (state.wantDefault)
    if (HWND target = g_defaultTarget()) SendMessageA(target, kMsgDefaultProfileRequest, 0, 0);
  return result;
}

bool ProfilesExist() { return !BuildUserList().empty(); }

void SetDefaultProfileTarget(DefaultProfileTarget target) {
  g_defaultTarget = target ? target : DefaultTarget;
}

}  // namespace shell
