#pragma once
// The program message box's decisions, apart from its window: which
// buttons each button set shows and what they answer, what closing the box
// answers, where the buttons go, and the answer of the test switch.
#include <cstdint>

namespace shell {

// Control ids of the message box template.
constexpr int kMsgBoxText = 163;
constexpr int kMsgBoxButton1 = 1;        // "&OK"
constexpr int kMsgBoxButton2 = 2;        // "&Cancel"
constexpr int kMsgBoxButton3 = 162;      // "&Retry"
constexpr int kMsgBoxTimeout = 57;       // the answer of a box that timed out
constexpr int kMsgBoxDismissClose = 19;  // WM_CLOSE's wParam: close with the dismiss answer

struct MsgBoxButton {
  int controlId;
  uint32_t stringId;  // 0: the template's own label
  int result;
};

struct MsgBoxLayout {
  int count;                // 1 to 3, left to right
  MsgBoxButton buttons[3];  // left to right
  int dismissResult;
  bool closeAnswers;  // an ordinary WM_CLOSE closes the box (with Cancel)
};

// The layout of flags & 15 (sets 6 to 14 are set 0).
const MsgBoxLayout& GetMsgBoxLayout(uint32_t flags);
// The answer of a button command, 0 for a control the set does not show.
int MsgBoxCommandResult(uint32_t flags, int controlId);
// The answer of WM_CLOSE: the dismiss answer for wParam 19, Cancel for sets
// that close, else 0 (the box stays).
int MsgBoxCloseResult(uint32_t flags, uintptr_t wParam);
// The click sound of a command: "SBouOK1.wav" for 1 and 6, "SBouFer1.wav"
// for 2, 7 and 162, null for others.
const char* MsgBoxCommandSound(int controlId);

// Left edges of `count` buttons of the given widths in a client area: one
// centred; two at one third and two thirds, three at one quarter, one half
// and three quarters of the width left free by the buttons.
void MsgBoxButtonPositions(int clientWidth, int count, const int* widths, int* lefts);

// The test switch for unattended runs (program ini, section "debug"):
// with "AutoTest" non-zero every box answers itself with its first button,
// as the start-up's notice sink does, after "AutoAnswerMs" milliseconds
// (default 200, at most a minute).
constexpr char kDebugSection[] = "debug";
constexpr char kAutoTestKey[] = "AutoTest";
constexpr char kAutoAnswerDelayKey[] = "AutoAnswerMs";
constexpr int kDefaultAutoAnswerMs = 200;
// The first (leftmost) button's answer.
int MsgBoxAutoAnswer(uint32_t flags);
int ClampAutoAnswerDelay(int value);

}  // namespace shell
