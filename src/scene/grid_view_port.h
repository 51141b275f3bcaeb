#pragma once
// The game's view of the board view's grids: it reads the move from the
// board grid and the rack, and refills them, through the current screen's
// grids. Dialogs and windows stay with the board window, which derives
// from this port.
#include "game/turn_ports.h"

namespace scene {

class GridViewPort : public BoardViewPort {
 public:
  bool ReadBoardLetters(char out[kBoardSquares]) override;
  void LoadBoardLetters(const char* letters, int rows, int columns) override;
  int ReadRackCells(char* out, int capacity) override;
  int ReadCarrierCells(char* out, int capacity) override;
  void LoadRackLetters(const char* text, int count) override;
  void ClearCarrier() override;
  void EndTileDrag() override;
  void ClearGrids() override;
  void SetSceneButtonMask(uint32_t mask) override;
};

}  // namespace scene
