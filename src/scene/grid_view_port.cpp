#include "scene/grid_view_port.h"

#include <algorithm>
#include <cstring>

#include "scene/board_grids.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"

namespace scene {

namespace {

// A cell's letter as the game reads it: arrows are no tiles.
char GameLetter(const TileCell& c) { return c.letter > kArrowDown ? c.letter : 0; }

int ReadRow(TileGrid* grid, char* out, int capacity) {
  if (!grid || !out || capacity <= 0) return 0;
  const int n = std::min(grid->CellCount(), capacity);
  for (int i = 0; i < n; ++i)
    out[i] = GameLetter(grid->CellByIndex(i));
  return n;
}

}  // namespace

bool GridViewPort::ReadBoardLetters(char out[kBoardSquares]) {
  TileGrid* board = CurrentGrids().board;
  if (!board) return false;
  std::memset(out, 0, kBoardSquares);
  const int rows = std::min(board->Rows(), kMaxBoardSide);
  const int columns = std::min(board->Columns(), kMaxBoardSide);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      out[r * kBoardStride + c] = GameLetter(board->GetCellAt(r, c));
  return true;
}

void GridViewPort::LoadBoardLetters(const char* letters, int, int) {
  if (TileGrid* board = CurrentGrids().board) board->SetBoardLetters(letters);
}

int GridViewPort::ReadRackCells(char* out, int capacity) {
  return ReadRow(CurrentGrids().rack, out, capacity);
}

int GridViewPort::ReadCarrierCells(char* out, int capacity) {
  return ReadRow(CurrentGrids().carrier, out, capacity);
}

void GridViewPort::LoadRackLetters(const char* text, int count) {
  if (TileGrid* rack = CurrentGrids().rack) rack->SetLetters(text, count);
}

void GridViewPort::ClearCarrier() {
  if (auto* carrier = static_cast<TileCarrier*>(CurrentGrids().carrier)) carrier->EndPick();
}

void GridViewPort::EndTileDrag() { ClearCarrier(); }

void GridViewPort::ClearGrids() {
  const SceneGrids& g = CurrentGrids();
  ClearCarrier();
  for (TileGrid* grid : {g.board, g.rack, g.workingArea})
    if (grid) grid->Clear();
}

void GridViewPort::SetSceneButtonMask(uint32_t mask) { scene::SetSceneButtonMask(mask); }

}  // namespace scene
