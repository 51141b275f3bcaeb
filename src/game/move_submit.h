#pragma once
// A local human's move from the board view: the words its new tiles form,
// and the handlers the board's buttons store as the pending board action
// (PendingBoardAction). Each handler takes the game and returns true when
// the action went through; a refusal shows its notice and leaves the tiles,
// the game and the player as they were.
#include <cstdint>

#include "rules/robot_move.h"
#include "game/game.h"
#include "rules/layouts.h"

// Refusals of ExtractPlayedWords.
enum PlacementResult : int {
  kPlacementNoWord = 0,
  kPlacementScattered = -1,   // not in one unbroken line
  kPlacementScattered2 = -2,  // treated as -1
  kPlacementIsolated = -3,
  kPlacementOffCentre = -4,
  kPlacementFirstNotAcross = -5,  // duplicate game's first move placed down
};

// The records ExtractPlayedWords fills for a submission / an evaluation.
constexpr int kSubmitRecords = 16;
constexpr int kEvaluateRecords = 10;

// The words the view's new tiles form against the game grid (both
// kBoardSquares letters of row stride 15; in the view a byte below 'A' is
// empty). Record 0 is the main word, then one record per cross word of two
// letters or more, each with its text, column, row, direction and length.
// Returns the number of records (>= 1, at most `capacity`) or a
// PlacementResult.
int ExtractPlayedWords(const char* view, const char* grid, const GameRules& rules, int32_t kind,
                       RobotMove* out, int capacity);

// Scores the records on the game's board (premiums only under new tiles);
// the first record's score becomes the whole move's total, which is
// returned.
int32_t ScorePlayedWords(const GameBoard& board, RobotMove* words, int n);

bool SubmitHumanMove(CGame* game);
bool PassTurn(CGame* game);
bool EvaluatePlacement(CGame* game);
bool OpenExchangeDialog(CGame* game);
bool RefreshBoardView(CGame* game);
bool ShuffleRack(CGame* game);
bool SortRack(CGame* game);
// The challenge button (challenge.cpp).
bool RequestChallenge(CGame* game);

// What the exchange dialog asks: the viewing player swaps these letters and
// its request becomes an exchange. False when the bag refuses, and in a
// duplicate game, whose racks are copies of the common rack.
bool RequestExchange(CGame* game, const char* letters);
// The exchange dialog has closed; the button may open it again.
void ExchangeDialogClosed();
bool ExchangeDialogOpen();
// The next PassTurn asks no confirmation (the flag is used once).
void SkipNextPassConfirmation();

// A remote player's decision arrived: the local human's drag, view,
// message box, exchange dialog and pressed button are put back.
void CloseHumanTurnUi(CGame* game);
// Empties the game's letter grid and the view's board grid.
void ClearBoardAndView(CGame* game);

// The pending board action of a scene button (one SceneButton bit); null
// for a bit without a handler.
PendingUiAction BoardButtonAction(uint32_t button);
