#pragma once
// Stepping a game's move-history cursor, with or without replaying the
// board to it, and the move list's text of an entry.
#include <cstdint>
#include <string>

class CGame;
struct RobotMove;

namespace ui {

// The entry's move after the step; null when there is no game or no entry
// that way (the cursor then stays).
const RobotMove* StepForward(CGame* game, bool replay);
const RobotMove* StepBack(CGame* game, bool replay);
// 0 after a step with replay, -1 when there was nowhere to go.
int StepForwardAndReplay(CGame* game);
int StepBackAndReplay(CGame* game);
// Steps to entry n (1 the game's start); 1, also when the history ends
// before n; 0 without a game.
int GoToMove(CGame* game, int32_t n);
// "%d- " and the move's text, "-------------------" for the start; the
// cursor stays. Empty for n < 1 or past the history.
std::string FormatHistoryEntry(CGame* game, int32_t n);

}  // namespace ui
