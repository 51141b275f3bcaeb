// "Edit profile" (dialog 3772) for a profile that is not the current one:
// age, sex, language, level and about text. Nothing is written unless
// something changed and the player confirms.
#include <cstring>

#include "platform/message_sink.h"
#include "shell/fixed_text.h"
#include "shell/startup/profile_rules.h"
#include "shell/startup/win32/profile_dialog_support.h"
#include "shell/startup/win32/profile_manager.h"
#include "shell/user_profile.h"
#include "shell/window/dialog_support.h"

namespace shell {
namespace {

constexpr int kTemplate = 3772;
constexpr int kName = 1164, kAbout = 981, kRanking = 722;
constexpr int kMale = 5953, kFemale = 5952, kEnglish = 1044, kFrench = 1061;
constexpr int kOk = 5774;
constexpr int kAboutLimit = 512;

struct EditState {
  std::string name;
};

const std::string& NameOf(HWND dialog) {
  return reinterpret_cast<EditState*>(GetWindowLongPtrA(dialog, DWLP_USER))->name;
}

void OnInit(HWND dialog, EditState* state) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
  UserProfile profile;
  ReadUserProfile(state->name.c_str(), profile);
  SetDlgItemTextA(dialog, kName, state->name.c_str());
  SetAge(dialog, static_cast<int>(profile.age));
  CheckButton(dialog, profile.sex == 1 ? kFemale : kMale, true);
  CheckButton(dialog, profile.language == 1 ? kFrench : kEnglish, true);
  SendDlgItemMessageA(dialog, kAbout, EM_LIMITTEXT, kAboutLimit, 0);
  SetDlgItemTextA(dialog, kAbout, profile.about);
  CheckLevel(dialog, profile.level < kLevelButtonCount ? profile.level : 0);
  SetDlgItemInt(dialog, kRanking, static_cast<UINT>(profile.stats[kStatsTournament].rating), TRUE);
  CentreProfileDialog(dialog);
}

// The dialog's choices over the profile; true when any field changed.
bool ApplyChoices(HWND dialog, UserProfile& p) {
  const UserProfile before = p;
  // Only a new level resets the ranking to its preset: a ranking earned in
  // tournaments survives an edit of the other fields.
  const uint32_t level = CheckedLevel(dialog);
  if (level != p.level) {
    p.stats[kStatsTournament].rating = LevelRanking(level);
    p.level = level;
  }
  p.sex = IsButtonChecked(dialog, kFemale) ? 1 : 0;
  p.language = IsButtonChecked(dialog, kFrench) ? 1 : 0;
  p.age = static_cast<uint32_t>(GetAge(dialog));
  CopyFixedText(p.about, sizeof p.about, ControlText(dialog, kAbout, kAboutLimit).c_str());
  return !p.SameFileContent(before);
}

void OnOk(HWND dialog) {
  PlayProfileSound("SBouOK1.wav");
  UserProfile profile;
  // A profile that cannot be read back is not written over with defaults.
  if (ReadUserProfile(NameOf(dialog).c_str(), profile) == kProfileReadFailed) {
    EndDialog(dialog, 0);
    return;
  }
  if (!IsValidAge(GetAge(dialog))) {
    ProfileNotice(kStrAgeRange, kProfileWarning);
    return;
  }
  if (ApplyChoices(dialog, profile) &&
      ProfileNotice(kStrSaveChanges, kProfileQuestion) == platform::kResultYes)
    WriteUserProfile(&profile);
  EndDialog(dialog, 1);
}

void OnCommand(HWND dialog, int id, int code) {
  if (LevelOfButton(id) >= 0 && code == BN_CLICKED) {
    PlayProfileSound("SOptSel1.wav");
    CheckLevel(dialog, static_cast<uint32_t>(LevelOfButton(id)));
    SetDlgItemInt(dialog, kRanking, static_cast<UINT>(LevelRanking(CheckedLevel(dialog))), TRUE);
    return;
  }
  switch (id) {
    case kMale:
    case kFemale:
    case kEnglish:
    case kFrench:
      if (code == BN_CLICKED) PlayProfileSound("SOptSel1.wav");
      break;
    case kOk:
      OnOk(dialog);
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

INT_PTR RunEditProfileDialog(HWND owner, const char* name) {
  if (!name || !*name) return 0;
  EditState state{name};
  return DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kTemplate), owner,
                       ProfileDialogProc<EditState, OnInit, OnCommand>,
                       reinterpret_cast<LPARAM>(&state));
}

}  // namespace shell
