#pragma once
// The game info strip (slot 18), the end-of-game "Results" dialog and a
// player's statistics dialog. Their texts come from game_results.h and
// player_statistics.h; these windows only lay them out.
#include <windows.h>

class CGame;
class GamePlayer;

namespace ui {

// -1 without an owner or instance, else 0 (also when creation fails).
int CreateGameInfoStrip(HWND owner, HINSTANCE instance);
void RedrawGameInfoStrip();
// Runs "Results" modally over the board window (or `owner` when given).
INT_PTR ShowFinalRanking(CGame* game, HWND owner = nullptr);
INT_PTR ShowPlayerStatistics(const GamePlayer* player, HWND owner = nullptr);

// Control ids of the two dialogs.
enum : int {
  kIdRemark = 5919,
  kIdRanking = 5914,
  kIdResultsOk = 5915,
  kIdStats = 5916,
  kIdStatsList = 5923,
  kIdStatsOk = 5922,
};

}  // namespace ui
