#pragma once
// The parts the classic and duplicate set-up dialogs share: the time spins
// and ranking box as the dialog opens, the commands both answer alike, and
// the end of "Play" once the player entries are written.
#include <windows.h>

struct GameSetup;

namespace ui {

constexpr char kNameInUse[] = "Name already in use!\nplease introduce another one.";

// The spins show the time of the set-up's clock mode; without a clock they
// are disabled.
void InitTimeSpins(HWND dialog, const GameSetup& setup);

// The guest user may not play ranking games: the box is cleared and
// disabled, and the set-up's flag with it.
void InitRankingBox(HWND dialog, int rankingId, GameSetup& setup);

// "Cancel" and the time spins; answers whether the command was one of them.
bool OnSharedSetupCommand(HWND dialog, GameSetup& setup, int id, int code);

// Frees the personality list, takes the user's language, resets the mentor
// and ends the dialog, telling its owner the game may start.
void FinishSetupPlay(HWND dialog, GameSetup& setup);

}  // namespace ui
