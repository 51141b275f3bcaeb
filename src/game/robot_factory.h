#pragma once
// Installs the word engine's robot factory for the game's players: every
// player with a robot gets a quickBot2usingDawg set up from its option words.
// Called once at start-up (and by tests that need players with robots).
void InstallPlayerRobotFactory();
