#pragma once
// "Challenge": the player picks which words of the previous move to contest.
#include <windows.h>

#include <vector>

#include "rules/robot_move.h"

namespace ui {

enum : int { kIdChallengeText = 1235, kIdChallengeOk = 1236, kIdChallengeCancel = 1179 };
// The first word's check button; the others follow.
constexpr int kIdFirstChallengeWord = 1240;
constexpr int kMaxChallengeWords = 32;

// Clears `chosen`, runs the dialog modally and, when it ends with
// "Challenge", copies the checked words into `chosen`. Returns 1 then, 0 on
// "Cancel" (or without words).
int RunChallengeDialog(HWND owner, const std::vector<RobotMove>& words,
                       std::vector<RobotMove>& chosen);

}  // namespace ui
