#pragma once
// The four kinds of tile grid of a game room: the board (tiles of earlier
// moves fixed, the move in hand picked alone or as a run and pushed aside),
// the rack and the working area (single rows that make room by shifting;
// the rack keeps the player's rack text in its order), and the carrier that
// holds the tiles being dragged.
#include <vector>

#include "scene/tile_grid.h"

namespace scene {

class BoardGrid : public TileGrid {
 public:
  BoardGrid(int rows, int columns) : TileGrid(rows, columns, 1) {}

  bool PickTiles(uint16_t position, int direction, bool run, TileCell* out, int* count,
                 int limit) override;
  void PrepareDrop(int x, int y, int direction, const TileCell* records, int count) override;
  void PlaceTiles(uint16_t position, int direction, TileCell* records, int count) override;
  bool QueryCell(uint16_t position, int* direction) override;
  bool CanAccept(uint16_t position, int direction, TileGrid* source, const TileCell* records,
                 int count) override;
  bool CanAcceptByShifting(uint16_t position, int direction, TileGrid* source,
                           const TileCell* records, int count) override;
  float DropHeight() override { return 1.0f; }
  float CarryHeight() override { return 15.0f; }
  bool IsFixedCell(uint16_t position) override;

 private:
  bool Movable(uint16_t position);
  uint16_t Step(uint16_t position, int direction, int n) const;
};

class RowGrid : public TileGrid {
 public:
  RowGrid(int rows, int columns, bool isRack) : TileGrid(rows, columns, 1), isRack_(isRack) {}

  bool PickTiles(uint16_t position, int direction, bool run, TileCell* out, int* count,
                 int limit) override;
  void PrepareDrop(int x, int y, int direction, const TileCell* records, int count) override;
  void PlaceTiles(uint16_t position, int direction, TileCell* records, int count) override;
  bool QueryCell(uint16_t position, int* direction) override;
  bool CanAccept(uint16_t position, int direction, TileGrid* source, const TileCell* records,
                 int count) override;

 protected:
  bool isRack_;
};

class RackGrid : public RowGrid {
 public:
  RackGrid(int rows, int columns) : RowGrid(rows, columns, true) {}
  void PlaceTiles(uint16_t position, int direction, TileCell* records, int count) override;
  float DropHeight() override { return 15.0f; }
  float CarryHeight() override { return 18.0f; }
  // The current player's rack text in the rack's order; letters of the old
  // text that are not on the rack fill its empty places.
  void SyncRackText();
};

class WorkingAreaGrid : public RowGrid {
 public:
  WorkingAreaGrid(int rows, int columns) : RowGrid(rows, columns, false) {}
  float DropHeight() override { return 10.0f; }
  float CarryHeight() override { return 15.0f; }
};

// Sends a travelling tile home: to its origin grid when that grid has room,
// else (a blank losing its letter) into the current game's bag.
void SendTileHome(const TileCell& record);

class TileCarrier : public TileGrid {
 public:
  enum State : int { kIdle = 0, kDraggingFrame = 1, kCarrying = 2 };

  // A 1 x capacity grid under a new frame "Dragging Object" of the parent.
  TileCarrier(MeshFrame* parent, int capacity, float cellSpacing);
  ~TileCarrier() override;

  void LayoutCells(int rows, int columns) override;
  bool IsFixedCell(uint16_t position) override;

  void BeginCarry(TileGrid* source, int x, int y, TileCell* records, int count);
  void BeginFrameDrag(MeshFrame* frame, int x, int y);
  void MoveTo(int x, int y);
  void DropAt(int x, int y);
  void EndPick();
  void ToggleDirection();
  void SetDirection(int direction);
  void CompactCarried();
  TileGrid* GridAtPoint(int x, int y);

  int State() const { return state_; }
  int Direction() const { return direction_; }
  int CarriedCount() const { return carriedCount_; }
  TileGrid* Target() const { return target_; }
  uint16_t TargetPosition() const { return targetPosition_; }
  MeshFrame* OwnFrame() const { return ownFrame_; }

 private:
  std::vector<TileCell> Records();
  void PlaceFrameAt(int x, int y, float height);
  void Reset();

  int direction_ = kAcross;
  int carriedCount_ = 0;
  int nextIndex_ = 0;
  int state_ = kIdle;
  int lastX_ = 0, lastY_ = 0, startX_ = 0, startY_ = 0;
  TileGrid* source_ = nullptr;
  int capacity_;
  MeshFrame* draggedFrame_ = nullptr;
  bool compacting_ = false;
  TileGrid* target_ = nullptr;
  uint16_t targetPosition_ = kNoCell;
  Vec3 grabOffset_;
  float height_ = 0;
  MeshFrame* ownFrame_ = nullptr;
};

}  // namespace scene
