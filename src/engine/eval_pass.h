#pragma once
// The evaluation context of a robot's pass (see eval_context.h): kind, round
// and bag from the robot's game view, the players of the current player's
// game (the current player alone when it belongs to no game), the robot's
// rules, and the robot itself for the letter-swap advice.
#include "engine/eval_context.h"

class Robot;

EvaluationContext MakeEvaluationContext(Robot& robot);
