// "Create a new profile" (dialog 147): name, age, sex, level and ranking,
// about text, and whether to use the profile at once. Refusals leave the
// dialog open and write nothing.
#include <cstring>
#include <memory>

#include "shell/res_strings.h"
#include "shell/startup/profile_rules.h"
#include "shell/startup/win32/profile_dialog_support.h"
#include "shell/startup/win32/profile_manager.h"
#include "shell/user_profile.h"
#include "shell/window/dialog_support.h"

namespace shell {
namespace {

constexpr int kTemplate = 147;
constexpr int kName = 1164, kAbout = 981, kRanking = 722;
constexpr int kMale = 4046, kFemale = 4045, kEnglish = 1044, kFrench = 1061;
constexpr int kEnterAtOnce = 359, kCreate = 372;
constexpr int kNameLimit = 10, kAboutLimit = 512, kNameRead = 128;
constexpr int kStartAge = 25;
constexpr uint32_t kStartLevel = 2;

struct NewProfileState {
  std::string created;
  bool enter = false;
};

NewProfileState* StateOf(HWND dialog) {
  return reinterpret_cast<NewProfileState*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void SetRanking(HWND dialog, int32_t ranking) {
  SetDlgItemInt(dialog, kRanking, static_cast<UINT>(ranking), TRUE);
}

void OnInit(HWND dialog, NewProfileState* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  SendDlgItemMessageA(dialog, kName, EM_LIMITTEXT, kNameLimit, 0);
  SendDlgItemMessageA(dialog, kAbout, EM_LIMITTEXT, kAboutLimit, 0);
  SetRanking(dialog, LevelRanking(kStartLevel));
  CheckButton(dialog, kEnterAtOnce, true);
  SetAge(dialog, kStartAge);
  CheckLevel(dialog, kStartLevel);
  CheckButton(dialog, kMale, true);
  CheckButton(dialog, kEnglish, true);
  CentreProfileDialog(dialog);
}

// The first refusal of the typed profile as a notice; true when none.
bool Accepted(HWND dialog, const std::string& name, int32_t ranking) {
  const uint32_t refusal = CheckNewProfile(name, GetAge(dialog), ranking, BuildUserList());
  if (refusal) ProfileNotice(refusal, kProfileWarning);
  return refusal == 0;
}

void OnCreate(HWND dialog) {
  PlayProfileSound("SBouOK1.wav");
  const std::string name = NormalizeProfileName(ControlText(dialog, kName, kNameRead).c_str());
  BOOL numeric = FALSE;
  const int32_t ranking = static_cast<int32_t>(GetDlgItemInt(dialog, kRanking, &numeric, TRUE));
  if (!Accepted(dialog, name, numeric ? ranking : 0)) return;
  const std::string about = ControlText(dialog, kAbout, kAboutLimit);
  const uint32_t sex = IsButtonChecked(dialog, kFemale) ? 1 : 0;
  // New profiles start in English whatever the language buttons say; the
  // language is chosen in "Edit profile".
  if (!CreateUserProfile(name.c_str(), name.c_str(), about.c_str(), 0, 0, "", ranking,
                         static_cast<uint32_t>(GetAge(dialog)), sex, CheckedLevel(dialog), false))
    return;
  NewProfileState* state = StateOf(dialog);
  state->created = name;
  state->enter = IsButtonChecked(dialog, kEnterAtOnce);
  EndDialog(dialog, 1);
}

void OnCommand(HWND dialog, int id, int code) {
  if (LevelOfButton(id) >= 0 && code == BN_CLICKED) {
    PlayProfileSound("SOptSel1.wav");
    CheckLevel(dialog, static_cast<uint32_t>(LevelOfButton(id)));
    SetRanking(dialog, LevelRanking(static_cast<uint32_t>(LevelOfButton(id))));
    return;
  }
  switch (id) {
    case kMale:
    case kFemale:
    case kEnglish:
    case kFrench:
      if (code == BN_CLICKED) PlayProfileSound("SOptSel1.wav");
      break;
    case kEnterAtOnce:
      if (code == BN_CLICKED)
        PlayProfileSound(IsButtonChecked(dialog, kEnterAtOnce) ? "SCasCoh1.wav" : "SCasDec.wav");
      break;
    case kCreate:
      OnCreate(dialog);
      break;
    case IDCANCEL:
      PlayProfileSound("SBouFer1.wav");
      EndDialog(dialog, 0);
      break;
    default:
      break;
  }
}

}  // namespace

bool RunNewProfileDialog(HWND owner, std::string* created, bool* enter) {
  if (CountUsers() >= kMaxProfiles) {
    ProfileNotice(kStrTooManyProfiles, kProfileWarning);
    return false;
  }
  NewProfileState state;
  const INT_PTR result = DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTemplate),
                                       owner, ProfileDialogProc<NewProfileState, OnInit, OnCommand>,
                                       reinterpret_cast<LPARAM>(&state));
  if (result <= 0) return false;
  if (created) *created = state.created;
  if (enter) *enter = state.enter;
  return true;
}

}  // namespace shell
