#pragma once
// The game as its robots see it: a view made afresh before each search.
#include "engine/robot_game.h"

class CGame;
class GamePlayer;
class Robot;

// What the evaluation reads of a player.
RobotPlayerView MakeRobotPlayerView(const GamePlayer& player);

// The view of the game for `robot`: kind, flags, round, bag, the players,
// the current player, the reference player and the last player `robot`
// drives. The side-game limits (anagram length, crossagram word length) are
// the caller's to add.
RobotGameView MakeRobotGameView(const CGame& game, const Robot* robot = nullptr);
