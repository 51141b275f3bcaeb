#pragma once
// The players' results after a duplicate turn, against the mentor's move.
#include <windows.h>

class CGame;

namespace ui {

enum : int { kIdRoundResultsList = 5945, kIdRoundResultsOk = 5946 };

// Runs the table modally over `owner` (the board window when null). In the
// network game's room it closes by itself after 10 seconds.
INT_PTR ShowRoundResults(CGame* game, HWND owner = nullptr);

}  // namespace ui
