#include <vector>

#include "game/game.h"
#include "game/session_registry.h"
#include "rules/letters.h"
#include "scene/board_grids.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/scene_pick.h"

namespace scene {

namespace {

constexpr float kPickHeight = 5.0f;
constexpr float kRefusedHeight = 10.0f;
constexpr float kHoverAbove = 5.0f;

// The world point under a window point on the plane at this height (towards
// the viewer).
bool PlanePoint(int x, int y, float height, Vec3& out) {
  BoardCamera* camera = GetBoardCamera();
  if (!camera) return false;
  const Ray ray = camera->ScreenRay(x, y);
  const float planeZ = -height;
  if (ray.direction.z == 0) return false;
  const float t = (planeZ - ray.origin.z) / ray.direction.z;
  out = Add(ray.origin, Scale(ray.direction, t));
  return true;
}

float FrameHeight(MeshFrame* frame) { return frame ? -frame->World().m[3][2] : 0.0f; }

}  // namespace

void SendTileHome(const TileCell& record) {
  TileGrid* home = record.originGrid;
  if (home && home->TileCount() < home->CellCount() && home->Receive(record, record.originPosition))
    return;
  CGame* game = GetCurrentGame();
  if (!game) return;
  char letter = IsBlankLetter(record.letter) ? kUnassignedBlankCell : record.letter;
  game->bag.ReturnLetters(game->BagRules(), &letter, 1);
}

TileCarrier::TileCarrier(MeshFrame* parent, int capacity, float cellSpacing)
    : TileGrid(1, capacity, 0), capacity_(capacity) {
  cellSpacing_ = cellSpacing;
  ownFrame_ = new MeshFrame("Dragging Object");
  if (parent) parent->AttachChild(ownFrame_);
  BindFrame(ownFrame_);
  LayoutCells(1, capacity);
}

TileCarrier::~TileCarrier() {
  Clear();
  frame_ = nullptr;
  delete ownFrame_;
}

void TileCarrier::LayoutCells(int rows, int columns) {
  Resize(rows, columns);
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c) {
      TileCell& cell = GetCellAt(r, c);
      cell.x = -static_cast<float>(c) * cellSpacing_;
      cell.y = -static_cast<float>(r) * cellSpacing_;
      cell.z = 0;
      if (cell.tileObject) cell.tileObject->SetPosition({cell.x, cell.y, cell.z});
    }
}

// While compacting, an empty cell facing a fixed square of the target
// stays empty, so the carried run keeps a gap for it.
bool TileCarrier::IsFixedCell(uint16_t position) {
  if (!compacting_ || !target_ || !InGrid(position)) return false;
  if (GetCell(position).letter) return false;
  const int i = direction_ == kAcross ? CellColumn(position) : CellRow(position);
  if (i == 0) return true;
  if (targetPosition_ == kNoCell) return false;
  const int r = CellRow(targetPosition_) + (direction_ == kDown ? i : 0);
  const int c = CellColumn(targetPosition_) + (direction_ == kAcross ? i : 0);
  return target_->Contains(r, c) && target_->IsFixedCell(CellCode(r, c));
}

// Closes the gaps of the carried run towards its start; cell 0 and the
// cells facing fixed squares of the target stay empty.
void TileCarrier::CompactCarried() {
  compacting_ = true;
  const int n = CellCount();
  auto at = [&](int i) { return direction_ == kAcross ? CellCode(0, i) : CellCode(i, 0); };
  for (bool moved = true; moved;) {
    moved = false;
    for (int i = 1; i < n; ++i) {
      if (!GetCell(at(i)).letter) continue;
      bool freeBefore = false;
      for (int j = 0; j < i && !freeBefore; ++j)
        freeBefore = IsCellFree(at(j));
      if (freeBefore && ShiftTiles(at(i), direction_, -1, true, true)) moved = true;
    }
  }
  compacting_ = false;
}

std::vector<TileCell> TileCarrier::Records() {
  std::vector<TileCell> out(static_cast<size_t>(nextIndex_));
  for (int i = 0; i < nextIndex_; ++i)
    out[static_cast<size_t>(i)] = CellByIndex(i);
  return out;
}

void TileCarrier::PlaceFrameAt(int x, int y, float height) {
  Vec3 world;
  MeshFrame* parent = ownFrame_->Parent();
  if (!PlanePoint(x, y, height, world)) return;
  const Vec3 local = parent ? TransformByInverse(world, parent->World()) : world;
  ownFrame_->SetPosition(local);
  height_ = height;
}

void TileCarrier::BeginCarry(TileGrid* source, int x, int y, TileCell* records, int count) {
  GridHost& host = GetGridHost();
  host.CaptureMouse(notifyWindow_);
  if (count > 1) host.SetCursor(3);
  source_ = target_ = source;
  targetPosition_ = source ? source->PositionAtPoint(x, y) : kNoCell;
  startX_ = lastX_ = x, startY_ = lastY_ = y;
  for (int i = 0; i < count && nextIndex_ < CellCount(); ++i) {
    TileCell& cell = CellByIndex(nextIndex_++);
    cell.letter = records[i].letter;
    cell.originGrid = records[i].originGrid;
    cell.originPosition = records[i].originPosition;
    cell.typingMark = records[i].typingMark;
    cell.tileObject = records[i].tileObject;
    records[i].tileObject = nullptr;
    if (cell.letter) {
      ++tileCount_, ++carriedCount_;
      CountIn(cell.letter);
    }
    if (cell.tileObject) {
      ownFrame_->AttachChild(cell.tileObject);
      cell.tileObject->SetPosition({cell.x, cell.y, cell.z});
    }
  }
  const bool back =
      source && source->CanAccept(targetPosition_, direction_, source, records, count);
  PlaceFrameAt(x, y, back ? kPickHeight : kRefusedHeight);
  draggedFrame_ = ownFrame_;
  state_ = kCarrying;
  MoveTo(x, y);
}

void TileCarrier::BeginFrameDrag(MeshFrame* frame, int x, int y) {
  GetGridHost().CaptureMouse(notifyWindow_);
  startX_ = lastX_ = x, startY_ = lastY_ = y;
  draggedFrame_ = frame;
  Vec3 at;
  if (frame && PlanePoint(x, y, FrameHeight(frame), at))
    grabOffset_ = Sub(TranslationOf(frame->World()), at);
  state_ = kDraggingFrame;
}

void TileCarrier::MoveTo(int x, int y) {
  if (state_ == kIdle) return;
  const int oldX = lastX_, oldY = lastY_;
  lastX_ = x, lastY_ = y;
  GridHost& host = GetGridHost();
  if (state_ == kDraggingFrame) {
    Vec3 a, b;
    const float h = FrameHeight(draggedFrame_);
    if (!draggedFrame_ || !PlanePoint(oldX, oldY, h, a) || !PlanePoint(x, y, h, b)) return;
    Vec3 delta = Sub(b, a);
    ClampMoveToView(draggedFrame_, delta);
    Mat4 world = draggedFrame_->World();
    SetTranslation(world, Add(TranslationOf(world), delta));
    if (!draggedFrame_->SetWorld(world)) draggedFrame_->SetLocal(world);
    return;
  }
  std::vector<TileCell> records = Records();
  const int count = static_cast<int>(records.size());
  float height = CurrentGrids().workingArea ? CurrentGrids().workingArea->CarryHeight() : 0.0f;
  height += kHoverAbove;
  target_ = GridAtPoint(x, y);
  targetPosition_ = target_ ? target_->PositionAtPoint(x, y) : kNoCell;
  if (target_ && targetPosition_ != kNoCell &&
      target_->CanAccept(targetPosition_, direction_, source_, records.data(), count)) {
    target_->PrepareDrop(x, y, direction_, records.data(), count);
    height = FrameHeight(target_->Frame()) + target_->DropHeight();
    host.SetCursor(carriedCount_ > 1 ? 3 : 1);
  } else if (target_ && targetPosition_ != kNoCell &&
             target_->CanAcceptByShifting(targetPosition_, direction_, source_, records.data(),
                                          count)) {
    compacting_ = true;
    for (int i = 1; i < CellCount(); ++i)
      if (IsFixedCell(direction_ == kAcross ? CellCode(0, i) : CellCode(i, 0)))
        ShiftTiles(direction_ == kAcross ? CellCode(0, i) : CellCode(i, 0), direction_, 1, true,
                   true);
    compacting_ = false;
    height = target_->DropHeight();
  } else {
    target_ = nullptr;
    targetPosition_ = kNoCell;
    host.SetCursor(2);
  }
  CompactCarried();
  // A move that would take a carried tile out of the view is refused.
  Vec3 from, to;
  if (!PlanePoint(oldX, oldY, height, from) || !PlanePoint(x, y, height, to)) return;
  Vec3 delta = Sub(to, from);
  for (int i = 0; i < CellCount(); ++i) {
    MeshFrame* object = CellByIndex(i).tileObject;
    if (!object) continue;
    Vec3 d = delta;
    if (ClampMoveToView(object, d) != 0) {
      lastX_ = oldX, lastY_ = oldY;
      return;
    }
  }
  PlaceFrameAt(x, y, height);
}

void TileCarrier::DropAt(int x, int y) {
  TileGrid* grid = state_ == kCarrying ? GridAtPoint(x, y) : nullptr;
  const uint16_t p = grid ? grid->PositionAtPoint(x, y) : kNoCell;
  std::vector<TileCell> records = Records();
  const int count = static_cast<int>(records.size());
  if (!grid || p == kNoCell || !grid->CanAccept(p, direction_, source_, records.data(), count)) {
    EndPick();
    return;
  }
  grid->FinishAnimations();
  for (TileCell& r : records)
    r.tileObject = nullptr;  // the target builds its own
  grid->PlaceTiles(p, direction_, records.data(), count);
  // Whatever the target refused after all goes home.
  for (int i = 0; i < count; ++i)
    if (records[i].letter) SendTileHome(records[i]);
  Clear();
  Reset();
}

void TileCarrier::EndPick() {
  if (state_ == kCarrying) {
    std::vector<TileCell> records = Records();
    const int count = static_cast<int>(records.size());
    Clear();
    for (int i = 0; i < count; ++i) {
      records[i].tileObject = nullptr;
      if (records[i].letter) SendTileHome(records[i]);
    }
    if (GetGridHost().RoomId() == kBestSolutionRoom) GetGridHost().RedrawSlot(9);
  }
  Reset();
}

void TileCarrier::Reset() {
  carriedCount_ = 0;
  nextIndex_ = 0;
  state_ = kIdle;
  target_ = nullptr;
  targetPosition_ = kNoCell;
  draggedFrame_ = nullptr;
  ownFrame_->ResetLocal();
  GetGridHost().SetCursor(1);
  GetGridHost().ReleaseMouse();
}

void TileCarrier::ToggleDirection() {
  std::swap(rows_, columns_);
  direction_ = 1 - direction_;
  if (target_) target_->FinishAnimations();
  FinishAnimations();
  LayoutCells(rows_, columns_);
  if (carriedCount_ > 0) MoveTo(lastX_, lastY_);
}

void TileCarrier::SetDirection(int direction) {
  if (direction != direction_) ToggleDirection();
}

TileGrid* TileCarrier::GridAtPoint(int x, int y) {
  BoardCamera* camera = GetBoardCamera();
  if (!camera) return nullptr;
  const SceneGrids& g = CurrentGrids();
  for (TileGrid* grid : {g.workingArea, g.rack, g.board}) {
    Vec3 hit;
    if (grid && grid->Frame() && grid->Frame()->visible &&
        HitPointOnFrame(*camera, grid->Frame(), x, y, hit))
      return grid;
  }
  return nullptr;
}

}  // namespace scene
