#pragma once
// The duplicate game's entry points beside CGame::StartDuplicateTurn and
// CGame::RunDuplicateTurn (duplicate.cpp).

class CGame;

// Starts the players' phase of the cycle on the common rack: every computer
// and remote player begins, and the first local human; nobody has finished.
// A game read from a file, which keeps no turn phases, plays its cycle again
// from here.
void BeginDuplicatePlay(CGame& game);
