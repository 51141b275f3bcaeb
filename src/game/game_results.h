#pragma once
// A finished game in the current user's profile: the facts the shell's
// statistics read, taken from the game object, and the result port that
// counts them and writes the profile.
#include "game/turn_ports.h"
#include "shell/game_stats.h"

class CGame;

// The facts of a finished game for the profile: its kind and flags, the
// local player, and per player the score, rating and the counters of its
// statistics (the evaluation terms averaged over the cycles it played).
shell::FinishedGame MakeFinishedGame(const CGame& game);

// Counts finished games in the current user's profile and writes it.
class ProfileResultPort : public GameResultPort {
 public:
  void StoreExpectedScore(float expected, bool internet) override;
  void RecordGameStatistics(CGame& game) override;
};

// Installs the one profile result port (the program does at start-up).
void InstallProfileResultPort();
