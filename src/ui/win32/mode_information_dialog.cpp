#include "ui/win32/mode_information_dialog.h"

#include <string>

#include "platform/ini.h"
#include "shell/app_context.h"
#include "shell/res_strings.h"
#include "shell/shell_host.h"
#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"

namespace ui {
namespace {

constexpr UINT kStrSolvePositionInfo = 3063;
constexpr char kSettingsSection[] = "settings";

struct ModeInformationState {
  UINT textId = 0;
  bool noMore = false;
};

bool BoxChecked(HWND dialog) {
  return IsDlgButtonChecked(dialog, kIdModeInformationNoMore) == BST_CHECKED;
}

void OnInitDialog(HWND dialog, const ModeInformationState* s) {
  // The string table writes "\n"; the edit breaks lines only at "\r\n".
  std::string text;
  for (const char* c = shell::LoadResString(s->textId); c && *c; ++c) {
    if (*c == '\n') text += '\r';
    text += *c;
  }
  SetDlgItemTextA(dialog, kIdModeInformationText, text.c_str());
  CheckDlgButton(dialog, kIdModeInformationNoMore, s->noMore ? BST_CHECKED : BST_UNCHECKED);
  shell::CenterWindow(dialog, GetParent(dialog));
  SetFocus(GetDlgItem(dialog, IDOK));
}

void OnCommand(HWND dialog, int id) {
  switch (id) {
    case kIdModeInformationNoMore:
      shell::GetShellHost().PlaySoundFile(BoxChecked(dialog) ? "SCasCoh1.wav" : "SCasDec.wav");
      break;
    case IDOK:
      shell::GetShellHost().PlaySoundFile("SBouOK1.wav");
      EndDialog(dialog, BoxChecked(dialog) ? 1 : 0);
      break;
    case IDCANCEL:  // Escape closes it like OK, keeping the box
      EndDialog(dialog, BoxChecked(dialog) ? 1 : 0);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK ModeInformationDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInitDialog(dialog, reinterpret_cast<const ModeInformationState*>(lp));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wp));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool RunModeInformationDialog(HWND owner, UINT textId, bool noMore) {
  ModeInformationState s;
  s.textId = textId;
  s.noMore = noMore;
  const INT_PTR r =
      shell::DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kModeInformationTemplate),
                           owner, ModeInformationDlgProc, reinterpret_cast<LPARAM>(&s));
  return r == 1;
}

void ShowSolvePositionInfo(HWND owner) {
  const char* ini = shell::GetSettingsIniPath();
  const bool before = platform::IniGetInt(kSettingsSection, kSolvePositionInfoKey, 0, ini) != 0;
  const bool after = RunModeInformationDialog(owner, kStrSolvePositionInfo, before);
  platform::IniWriteString(kSettingsSection, kSolvePositionInfoKey, after ? "1" : "0", ini);
}

}  // namespace ui
