#pragma once
// What the turn code asks of the board view, the game dialogs and the
// user's profile. The window side installs its implementations (the board
// view's grids and 3D buttons, the challenge and exchange dialogs), the
// shell the profile's; tests install recording fakes. With none installed
// there is no view (the view reads as empty), dialogs are cancelled and
// nothing is recorded in a profile.
#include <cstdint>
#include <vector>

#include "rules/robot_move.h"
#include "rules/layouts.h"

class CGame;

// Bits of the scene's button mask.
enum SceneButton : uint32_t {
  kButtonPlay = 0x01,
  kButtonPass = 0x02,
  kButtonEvaluate = 0x04,
  kButtonExchange = 0x08,
  kButtonCancel = 0x10,
  kButtonShuffle = 0x20,
  kButtonSort = 0x40,
  kButtonChallenge = 0x80,
  kButtonHint = 0x100,
  kButtonSubmit = 0x200,
};

class BoardViewPort {
 public:
  virtual ~BoardViewPort() = default;

  // --- The board view's grids: one letter per cell; a byte below 'A' is an
  // empty cell, 'a'..'z' a tile, 'A'..'Z' a blank showing that letter, '`'
  // an undecided blank (racks).
  // The board grid's letters (kBoardSquares, row stride 15). False when
  // there is no view.
  virtual bool ReadBoardLetters(char out[kBoardSquares]) {
    (void)out;
    return false;
  }
  // Loads rows x columns letters (row stride 15) into the board grid.
  virtual void LoadBoardLetters(const char* letters, int rows, int columns) {
    (void)letters;
    (void)rows;
    (void)columns;
  }
  // The rack grid's / carrier grid's cells; returns how many were copied.
  virtual int ReadRackCells(char* out, int capacity) {
    (void)out;
    (void)capacity;
    return 0;
  }
  virtual int ReadCarrierCells(char* out, int capacity) {
    (void)out;
    (void)capacity;
    return 0;
  }
  // Fills `count` rack cells from the text ('_' or NUL empty).
  virtual void LoadRackLetters(const char* text, int count) {
    (void)text;
    (void)count;
  }
  // Updates the 3D tiles of the occupied rack cells.
  virtual void RefreshRackTiles() {}
  virtual void ClearCarrier() {}
  // Drops a tile being dragged back where it came from.
  virtual void EndTileDrag() {}
  virtual void ReleaseBoardButton() {}
  // The board window takes the keyboard focus and a tile pick starts at the
  // first square (the side games' words are laid from there).
  virtual void FocusAndPickFirstSquare() {}
  // Empties the board, rack and carrier grids.
  virtual void ClearGrids() {}
  // Shows the scene buttons of the mask (SceneButton bits), hides the rest.
  virtual void SetSceneButtonMask(uint32_t mask) { (void)mask; }
  virtual void RedrawBoardWindow() {}

  // --- Dialogs ---
  // The modal "Challenge" dialog over the previous player's words: true
  // when words were chosen, copied into `chosen`.
  virtual bool RunChallengeDialog(const std::vector<RobotMove>& words,
                                  std::vector<RobotMove>& chosen) {
    (void)words;
    (void)chosen;
    return false;
  }
  // The modeless "Letters to swap" dialog; it asks the exchange through
  // RequestExchange and calls ExchangeDialogClosed when it closes.
  virtual void OpenExchangeDialog(CGame& game) { (void)game; }
  virtual void CloseExchangeDialog() {}
  // Closes a program message box that is open.
  virtual void CloseMessageBox() {}
  // False while the exercise loaded is in another language than the
  // user's profile.
  virtual bool ExerciseMatchesProfile() { return true; }
};

// The user's profile at the end of a game (the shell installs it).
class GameResultPort {
 public:
  virtual ~GameResultPort() = default;

  // A rated two-player game ends: the local player's expected result, kept
  // in the profile (its Internet field when `internet`).
  virtual void StoreExpectedScore(float expected, bool internet) {
    (void)expected;
    (void)internet;
  }
  // A finished game with a local human: counted in the current profile's
  // statistics, then the profile is written.
  virtual void RecordGameStatistics(CGame& game) { (void)game; }
};

// Install (not owned); each returns the previous one, null for the default.
BoardViewPort* SetBoardViewPort(BoardViewPort* port);
BoardViewPort& GetBoardViewPort();
GameResultPort* SetGameResultPort(GameResultPort* port);
GameResultPort& GetGameResultPort();
