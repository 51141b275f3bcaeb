#include "shell/startup/win32/profile_dialog_support.h"

#include <vector>

#include "gui/win32/gui_widgets1.h"
#include "platform/message_sink.h"
#include "shell/res_strings.h"
#include "shell/shell_constants.h"
#include "shell/shell_host.h"
#include "shell/window/win_utils.h"
#include "ui/win32/main_frame.h"

namespace shell {
namespace {

constexpr int kAgeSpin = 4047;

}  // namespace

void PlayProfileSound(const char* name) { GetShellHost().PlaySoundFile(name); }

int ProfileNotice(uint32_t textId, uint32_t flags, const char* arg) {
  // The name goes in by hand: a table text is never used as a format.
  std::string text = LoadResString(textId);
  const size_t at = text.find("%s");
  if (arg && at != std::string::npos) text.replace(at, 2, arg);
  if (text.size() > 511) text.resize(511);
  return platform::ShowNotice(text.c_str(), LoadResStringSecondary(kStrProductTitle), flags);
}

bool IsButtonChecked(HWND dialog, int id) {
  return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckButton(HWND dialog, int id, bool on) {
  SendDlgItemMessageA(dialog, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string ControlText(HWND dialog, int id, int limit) {
  std::vector<char> text(static_cast<size_t>(limit) + 1, '\0');
  GetDlgItemTextA(dialog, id, text.data(), limit + 1);
  return text.data();
}

int LevelOfButton(int id) {
  for (int level = 0; level < kLevelButtonCount; ++level)
    if (kLevelButtonIds[level] == id) return level;
  return -1;
}

uint32_t CheckedLevel(HWND dialog) {
  for (int level = kLevelButtonCount - 1; level >= 0; --level)
    if (IsButtonChecked(dialog, kLevelButtonIds[level])) return static_cast<uint32_t>(level);
  return 0;
}

void CheckLevel(HWND dialog, uint32_t level) {
  for (int l = 0; l < kLevelButtonCount; ++l)
    CheckButton(dialog, kLevelButtonIds[l], static_cast<uint32_t>(l) == level);
}

void CentreProfileDialog(HWND dialog) {
  HWND main = ui::GetMainFrameWindow();
  CenterWindow(dialog, main && IsWindow(main) ? main : GetWindow(dialog, GW_OWNER));
}

int GetAge(HWND dialog) {
  return static_cast<int>(SendDlgItemMessageA(dialog, kAgeSpin, gui::kMsgSpinGetPos, 0, 0));
}

void SetAge(HWND dialog, int age) {
  SendDlgItemMessageA(dialog, kAgeSpin, gui::kMsgSpinSetPos, static_cast<WPARAM>(age), 0);
}

}  // namespace shell
