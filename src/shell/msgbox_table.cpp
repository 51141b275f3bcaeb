#include "shell/msgbox_table.h"

namespace shell {
namespace {

constexpr int kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7;

// Indexed by flags & 15; sets 6 to 14 show the single OK of set 0.
const MsgBoxLayout kOkOnly = {1, {{kMsgBoxButton1, 0, kOk}}, kOk, false};
const MsgBoxLayout kLayouts[16] = {
    kOkOnly,
    {2, {{kMsgBoxButton1, 0, kOk}, {kMsgBoxButton2, 0, kCancel}}, kCancel, true},
    {3,
     {{kMsgBoxButton3, 1855, kAbort},
      {kMsgBoxButton1, 1856, kRetry},
      {kMsgBoxButton2, 1857, kIgnore}},
     kIgnore,
     false},
    {3,
     {{kMsgBoxButton3, 1853, kYes}, {kMsgBoxButton1, 1854, kNo}, {kMsgBoxButton2, 0, kCancel}},
     kCancel,
     true},
    {2, {{kMsgBoxButton3, 1853, kYes}, {kMsgBoxButton1, 1854, kNo}}, kNo, false},
    {2, {{kMsgBoxButton1, 1856, kRetry}, {kMsgBoxButton2, 0, kCancel}}, kCancel, true},
    kOkOnly,
    kOkOnly,
    kOkOnly,
    kOkOnly,
    kOkOnly,
    kOkOnly,
    kOkOnly,
    kOkOnly,
    kOkOnly,
    {1, {{kMsgBoxButton2, 0, kCancel}}, kCancel, false},
};

}  // namespace

const MsgBoxLayout& GetMsgBoxLayout(uint32_t flags) { return kLayouts[flags & 15]; }

int MsgBoxCommandResult(uint32_t flags, int controlId) {
  const MsgBoxLayout& l = GetMsgBoxLayout(flags);
  for (int i = 0; i < l.count; ++i)
    if (l.buttons[i].controlId == controlId) return l.buttons[i].result;
  return 0;
}

int MsgBoxCloseResult(uint32_t flags, uintptr_t wParam) {
  const MsgBoxLayout& l = GetMsgBoxLayout(flags);
  if (wParam == static_cast<uintptr_t>(kMsgBoxDismissClose)) return l.dismissResult;
  return l.closeAnswers ? kCancel : 0;
}

const char* MsgBoxCommandSound(int controlId) {
  switch (controlId) {
    case 1:
    case 6:
      return "SBouOK1.wav";
    case 2:
    case 7:
    case 162:
      return "SBouFer1.wav";
    default:
      return nullptr;
  }
}

void MsgBoxButtonPositions(int clientWidth, int count, const int* widths, int* lefts) {
  if (count <= 0 || !widths || !lefts) return;
  if (count > 3) count = 3;
  int used = 0;
  for (int i = 0; i < count; ++i)
    used += widths[i];
  if (count == 1) {
    lefts[0] = (clientWidth - widths[0]) / 2;
    return;
  }
  // Button i's left edge sits at (i + 1) / (count + 1) of the free width
  // plus the widths of the buttons before it.
  int free = clientWidth - used;
  int before = 0;
  for (int i = 0; i < count; ++i) {
    lefts[i] = free * (i + 1) / (count + 1) + before;
    before += widths[i];
  }
}

int MsgBoxAutoAnswer(uint32_t flags) { return GetMsgBoxLayout(flags).buttons[0].result; }

int ClampAutoAnswerDelay(int value) {
  if (value <= 0) return 0;
  return value > 60000 ? 60000 : value;
}

}  // namespace shell
