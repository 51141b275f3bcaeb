#include "ui/win32/challenge_dialog.h"

#include <algorithm>
#include <string>

#include "shell/window/dialog_support.h"
#include "shell/window/win_utils.h"
#include "ui/win32/setup_controls.h"
#include "ui/window_slots.h"

namespace ui {
namespace {

constexpr int kChallengeTemplate = 3801;
constexpr DWORD kWordButtonStyle = 0x50000203;  // visible tab-stop auto check box

struct ChallengeState {
  const std::vector<RobotMove>* words = nullptr;
  std::vector<RobotMove>* chosen = nullptr;
  int count = 0;
};

RECT ItemRect(HWND dialog, int id) {
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, id), &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// One check button per word below the text; the buttons and the dialog move
// down by the height the words take.
void LayOutWords(HWND dialog, ChallengeState* s) {
  const RECT text = ItemRect(dialog, kIdChallengeText);
  RECT unit{0, 0, 4, 14};
  MapDialogRect(dialog, &unit);
  const int line = unit.bottom, left = text.left + unit.right * 4;
  const int width = text.right - left;
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  for (int i = 0; i < s->count; ++i) {
    HWND box =
        CreateWindowExA(0, "CGUIBMPButton", (*s->words)[i].word, kWordButtonStyle, left,
                        text.bottom + 4 + i * line, width, line - 2, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdFirstChallengeWord + i)),
                        GetModuleHandleA(nullptr), nullptr);
    if (font) SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  const int grow = s->count * line;
  for (int id : {kIdChallengeOk, kIdChallengeCancel}) {
    const RECT r = ItemRect(dialog, id);
    SetWindowPos(GetDlgItem(dialog, id), nullptr, r.left, r.top + grow, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  }
  RECT w;
  GetWindowRect(dialog, &w);
  SetWindowPos(dialog, nullptr, 0, 0, w.right - w.left, w.bottom - w.top + grow,
               SWP_NOMOVE | SWP_NOZORDER);
}

void Collect(HWND dialog, ChallengeState* s) {
  for (int i = 0; i < s->count; ++i)
    if (IsChecked(dialog, kIdFirstChallengeWord + i)) s->chosen->push_back((*s->words)[i]);
}

INT_PTR CALLBACK ChallengeDlgProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<ChallengeState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lp);
      LayOutWords(dialog, reinterpret_cast<ChallengeState*>(lp));
      shell::CenterWindow(dialog, static_cast<HWND>(GetSlotWindow(kSlotMainFrame)));
      return TRUE;
    case WM_COMMAND:
      if (!s) return FALSE;
      if (LOWORD(wp) == kIdChallengeOk) {
        PlaySetupSound("SBouOK1.wav");
        Collect(dialog, s);
        EndDialog(dialog, 1);
      } else if (LOWORD(wp) == kIdChallengeCancel || LOWORD(wp) == IDCANCEL) {
        PlaySetupSound("SBouFer1.wav");
        EndDialog(dialog, 0);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int RunChallengeDialog(HWND owner, const std::vector<RobotMove>& words,
                       std::vector<RobotMove>& chosen) {
  chosen.clear();
  if (words.empty()) return 0;
  ChallengeState state;
  state.words = &words;
  state.chosen = &chosen;
  state.count = std::min(static_cast<int>(words.size()), kMaxChallengeWords);
  const INT_PTR result =
      shell::DoModalDialog(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kChallengeTemplate), owner,
                           ChallengeDlgProc, reinterpret_cast<LPARAM>(&state));
  if (result != 1) chosen.clear();
  return result == 1 ? 1 : 0;
}

}  // namespace ui
