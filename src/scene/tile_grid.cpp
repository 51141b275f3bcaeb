#include "scene/tile_grid.h"

#include <algorithm>
#include <cmath>

#include "game/game.h"
#include "game/session_registry.h"
#include "rules/letters.h"
#include "rules/rules.h"
#include "scene/board_scene.h"
#include "scene/grid_host.h"
#include "scene/scene_pick.h"

namespace scene {

int CurrentGameKind() {
  const CGame* game = GetCurrentGame();
  return game ? game->Kind() : kKindNone;
}

TileGrid::TileGrid(int rows, int columns, int shifting)
    : rows_(std::max(rows, 1)), columns_(std::max(columns, 1)), shifting_(shifting) {
  cells_ = new TileCell[static_cast<size_t>(rows_ * columns_)]();
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c) {
      TileCell& cell = GetCellAt(r, c);
      cell.position = cell.originPosition = CellCode(r, c);
      cell.originGrid = this;
    }
}

TileGrid::~TileGrid() {
  animations_.clear();
  for (int i = 0; i < CellCount(); ++i)
    FreeTileObject(cells_[i]);
  ClearSetAside();
  delete[] cells_;
}

// The same number of cells (the carrier turning between a row and a
// column) keeps the tiles; another size starts empty.
void TileGrid::Resize(int rows, int columns) {
  if (rows * columns != CellCount()) {
    Clear();
    delete[] cells_;
    cells_ = new TileCell[static_cast<size_t>(rows * columns)]();
    for (int i = 0; i < rows * columns; ++i)
      cells_[i].originGrid = this;
  }
  rows_ = rows, columns_ = columns;
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c) {
      TileCell& cell = GetCellAt(r, c);
      if (cell.originGrid == this && cell.originPosition == cell.position)
        cell.originPosition = CellCode(r, c);
      cell.position = CellCode(r, c);
    }
}

bool TileGrid::BindFrame(MeshFrame* frame) {
  if (!frame) return false;
  frame_ = frame;
  return true;
}

// --- Counting ----------------------------------------------------------

void TileGrid::CountIn(char letter) {
  const int code = static_cast<unsigned char>(letter);
  if (IsBlankLetter(letter))
    ++letterCounts_[0];
  else if (code >= 96 && code < 128)
    ++letterCounts_[code - 96];
}

void TileGrid::CountOut(char letter) {
  if (IsBlankLetter(letter)) letter = kUnassignedBlankCell;
  const int code = static_cast<unsigned char>(letter);
  if (code >= 96 && code < 128 && letterCounts_[code - 96] > 0) --letterCounts_[code - 96];
}

int TileGrid::DecrementLetterCount(int index) {
  int32_t& n = letterCounts_[index & 31];
  if (n > 0) --n;
  return n;
}

int TileGrid::GetLetterCountTotal() const {
  int total = 0;
  for (int32_t n : letterCounts_)
    total += n;
  return total;
}

// --- Tile objects ------------------------------------------------------

void TileGrid::FreeTileObject(TileCell& cell) {
  ReleaseAnimation(cell.tileObject);
  delete cell.tileObject;  // detaches itself from the grid's frame
  cell.tileObject = nullptr;
}

void TileGrid::BuildTileObject(TileCell& cell) {
  FreeTileObject(cell);
  if (!frame_) return;
  const char c = cell.letter;
  MeshFrame* templ = nullptr;
  if (IsTileLetter(c)) {
    const bool fromBoard = cell.originGrid && cell.originGrid == CurrentGrids().board;
    templ = GetLetterTemplate(fromBoard ? kTemplateBoard : kTemplateRack, c);
  } else if (IsBlankLetter(c)) {
    templ = GetLetterTemplate(kTemplateBlank, c);
  } else if (c == kUnassignedBlankCell) {
    templ = GetSceneFrame(kFrameBlank);
  } else if (c == kGivenSquare) {
    templ = GetSceneFrame(kFrameGivenSquare);
  } else if (c == kSquareToFill) {
    templ = GetSceneFrame(kFrameEmptySquare);
  } else if (c == kArrowAcross) {
    templ = GetSceneFrame(kFrameArrowAcross);
  } else if (c == kArrowDown) {
    templ = GetSceneFrame(kFrameArrowDown);
  }
  if (!templ) return;
  MeshFrame* object = templ->Clone();
  object->visible = true;
  frame_->AttachChild(object);
  object->SetPosition({cell.x, cell.y, cell.z});
  cell.tileObject = object;
}

// --- Placing and taking ------------------------------------------------

bool TileGrid::PlaceTile(char letter, uint16_t position, bool force) {
  if (!InGrid(position)) return false;
  TileCell& cell = GetCell(position);
  const int kind = CurrentGameKind();
  if (kind == kKindCrossagram && cell.letter == kSquareToFill) TakeTile(position);
  const bool isArrow = letter == kArrowAcross || letter == kArrowDown;
  if (cell.letter != 0 && !force && !(shifting_ && !isArrow)) return false;
  if (cell.letter == kArrowAcross || cell.letter == kArrowDown) {
    TakeTile(position);
  } else if (cell.letter != 0 && !IsFixedCell(position) && shifting_) {
    ShiftTiles(position, kAcross, -1, false, false);
  }
  // A tile that could not be pushed aside is never overwritten.
  if (cell.letter != 0) return false;

  const SceneGrids& grids = CurrentGrids();
  if ((this == grids.board || this == grids.workingArea) && letter == kUnassignedBlankCell) {
    letter = GetGridHost().ChooseBlankLetter(letter, notifyWindow_);
  } else if (this == grids.rack && IsBlankLetter(letter)) {
    letter = kUnassignedBlankCell;
  }
  cell.letter = letter;
  cell.position = position;
  const int arrow = GetGridHost().CursorArrow();
  if (arrow) cell.typingMark = arrow - 1;
  ++tileCount_;
  BuildTileObject(cell);
  CountIn(letter);
  return true;
}

bool TileGrid::PlaceTileAtPoint(char letter, int x, int y) {
  const uint16_t p = PointToCell(x, y);
  return p != kNoCell && PlaceTile(letter, p, false);
}

bool TileGrid::PlaceRecord(const TileCell& record, uint16_t position) {
  TileGrid* board = CurrentGrids().board;
  const bool fromBoard = board && record.originGrid == board;
  // A board tile goes back only to its own square (or stays where it is).
  if (fromBoard && this == board) {
    if (!InGrid(position)) return false;
    if (GetCell(position).letter == record.letter) return true;
    if (position != record.originPosition || GetCell(position).letter != 0) return false;
    if (!PlaceTile(record.letter, position, true)) return false;
    GetCell(position).originGrid = board;
    BuildTileObject(GetCell(position));
    return true;
  }
  if (fromBoard && this != CurrentGrids().workingArea) return false;
  if (!PlaceTile(record.letter, position, fromBoard)) return false;
  TileCell& cell = GetCell(position);
  const bool rebuild = cell.originGrid != record.originGrid;
  cell.originGrid = record.originGrid;
  cell.originPosition = record.originPosition;
  const int arrow = GetGridHost().CursorArrow();
  cell.typingMark = arrow ? arrow - 1 : record.typingMark;
  if (rebuild && cell.tileObject) BuildTileObject(cell);  // the template set follows the origin
  return true;
}

bool TileGrid::Receive(const TileCell& record, uint16_t position) {
  uint16_t placed = position;
  if (!PlaceRecord(record, position)) {
    placed = kNoCell;
    for (int c = 0; c < columns_ && placed == kNoCell; ++c)
      if (GetCellAt(0, c).letter == 0) placed = CellCode(0, c);
    if (placed == kNoCell || !PlaceRecord(record, placed)) return false;
  }
  TileCell& cell = GetCell(placed);
  cell.originGrid = this;
  cell.originPosition = position;
  return true;
}

void TileGrid::TakeTile(uint16_t position) {
  if (!InGrid(position)) return;
  TileCell& cell = GetCell(position);
  if (CurrentGameKind() == kKindCrossagram && cell.letter == kGivenSquare) return;
  FreeTileObject(cell);
  if (cell.letter == 0) return;  // nothing to count out
  CountOut(cell.letter);
  cell.letter = 0;
  --tileCount_;
}

void TileGrid::TakeTileGuarded(uint16_t position) {
  if (position == 0 && CurrentGameKind() == kKindCrossagram &&
      IsPlacedLetter(GetCellAt(0, 0).letter))
    return;
  TakeTile(position);
}

void TileGrid::TakeTileAtPoint(int x, int y) {
  const uint16_t p = PointToCell(x, y);
  if (p != kNoCell) TakeTile(p);
}

void TileGrid::ClearCell(uint16_t position) {
  if (!InGrid(position)) return;
  TakeTile(position);
  TileCell& cell = GetCell(position);
  cell.originGrid = this;
  cell.originPosition = cell.position;
}

void TileGrid::PutTileAt(char letter, int index) {
  if (index < 0 || index >= CellCount()) return;
  TileCell& cell = cells_[index];
  cell.letter = letter;
  BuildTileObject(cell);
}

void TileGrid::SetLetters(const char* text, int length) {
  Clear();
  const int n = std::min(length, CellCount());
  for (int i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == kEmptyRackPlace || c == 0) continue;
    TileCell& cell = cells_[i];
    cell.letter = c;
    ++tileCount_;
    if (frame_ && frame_->visible) BuildTileObject(cell);
    CountIn(c);
  }
}

void TileGrid::SetBoardLetters(const char* letters) {
  Clear();
  const int rows = std::min(rows_, kMaxBoardSide), columns = std::min(columns_, kMaxBoardSide);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) {
      const char l = letters[r * kBoardStride + c];
      if (l == 0 || l == kEmptyRackPlace) continue;
      TileCell& cell = GetCellAt(r, c);
      cell.letter = l;
      ++tileCount_;
      if (frame_ && frame_->visible) BuildTileObject(cell);
      CountIn(l);
    }
}

void TileGrid::Clear() {
  FinishAnimations();
  std::fill(std::begin(letterCounts_), std::end(letterCounts_), 0);
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c) {
      TileCell& cell = GetCellAt(r, c);
      FreeTileObject(cell);
      cell.letter = 0;
      cell.position = cell.originPosition = CellCode(r, c);
      cell.originGrid = this;
    }
  tileCount_ = 0;
}

// Only the first rack-size entries are used.
bool TileGrid::SetAside(TileCell& record) {
  const int limit = std::clamp(GlobalRules().rackSize, 1, kMaxSetAside);
  for (int i = 0; i < limit; ++i) {
    TileCell& slot = setAside_[i];
    if (slot.letter != 0) continue;
    slot = record;
    if (slot.tileObject && slot.tileObject->Parent())
      slot.tileObject->Parent()->DetachChild(slot.tileObject);
    record.tileObject = nullptr;
    record.letter = 0;
    ++setAsideCount_;
    return true;
  }
  return false;
}

// A tile whose square is taken meanwhile goes to the first empty cell of
// row 0; one that finds no room stays set aside.
void TileGrid::RestoreSetAside(char letter) {
  for (TileCell& slot : setAside_) {
    if (slot.letter == 0 || (letter && slot.letter != letter)) continue;
    bool placed = PlaceTile(slot.letter, slot.position, false);
    for (int c = 0; !placed && c < columns_; ++c)
      if (GetCellAt(0, c).letter == 0) placed = PlaceTile(slot.letter, CellCode(0, c), false);
    if (!placed) continue;
    delete slot.tileObject;
    slot = TileCell{};
    --setAsideCount_;
    if (letter) return;
  }
}

void TileGrid::ClearSetAside() {
  for (TileCell& slot : setAside_) {
    delete slot.tileObject;
    slot = TileCell{};
  }
  setAsideCount_ = 0;
}

void TileGrid::DetachAllTileObjects() {
  for (int i = 0; i < CellCount(); ++i)
    FreeTileObject(cells_[i]);
}

// --- Queries -----------------------------------------------------------

uint16_t TileGrid::FindLetter(char letter) const {
  for (int c = 0; c < columns_; ++c)
    for (int r = 0; r < rows_; ++r)
      if (cells_[r * columns_ + c].letter == letter) return CellCode(r, c);
  return kNoCell;
}

bool TileGrid::FindFirstEmptyCell(const TileCell& record) {
  for (int c = 0; c < columns_; ++c)
    if (GetCellAt(0, c).letter == 0) return PlaceRecord(record, CellCode(0, c));
  return false;
}

bool TileGrid::IsCellFree(uint16_t position) {
  if (!InGrid(position)) return false;
  const char l = GetCell(position).letter;
  return (l == 0 || l == kArrowAcross) && !IsFixedCell(position);
}

bool TileGrid::IsFreeOnGameBoard(const TileCell& record) const {
  if (CurrentGameKind() == kKindCrossagram) return true;
  const CGame* game = GetCurrentGame();
  const int r = CellRow(record.position), c = CellColumn(record.position);
  if (!game || r >= kMaxBoardSide || c >= kMaxBoardSide) return true;
  return game->board.letters[r * kBoardStride + c] == 0;
}

uint16_t TileGrid::PointToCell(int x, int y, float* fx, float* fy) {
  BoardCamera* camera = GetBoardCamera();
  Vec3 hit, a, b;
  if (!frame_ || !camera || !HitPointOnFrame(*camera, frame_, x, y, hit)) return kNoCell;
  if (!frame_->WorldBox(a, b) || a.x == b.x || a.y == b.y) return kNoCell;
  const float cf = (hit.x - b.x) * static_cast<float>(columns_) / (a.x - b.x);
  const float rf = (hit.y - b.y) * static_cast<float>(rows_) / (a.y - b.y);
  const int c = static_cast<int>(std::floor(cf)), r = static_cast<int>(std::floor(rf));
  if (fx) *fx = cf - static_cast<float>(c);
  if (fy) *fy = rf - static_cast<float>(r);
  return Contains(r, c) ? CellCode(r, c) : kNoCell;
}

TileCell* TileGrid::CellAtPoint(int x, int y) {
  const uint16_t p = PointToCell(x, y);
  return p == kNoCell ? nullptr : &GetCell(p);
}

namespace {

uint16_t Along(uint16_t position, int direction, int i) {
  return direction == kAcross ? CellCode(CellRow(position), i) : CellCode(i, CellColumn(position));
}

}  // namespace

uint16_t TileGrid::FindFreeCell(uint16_t position, int direction, int preferredSide,
                                bool forceSide) {
  if (!InGrid(position)) return kNoCell;
  const int at = direction == kAcross ? CellColumn(position) : CellRow(position);
  const int n = direction == kAcross ? columns_ : rows_;
  int start = -1, end = -1;
  for (int i = at; i >= 0 && start < 0; --i)
    if (IsCellFree(Along(position, direction, i))) start = i;
  for (int i = at; i < n && end < 0; ++i)
    if (IsCellFree(Along(position, direction, i))) end = i;
  if (start < 0 && end < 0) return kNoCell;
  if (start < 0) return Along(position, direction, end);
  if (end < 0) return Along(position, direction, start);
  int pick;
  if (forceSide || at - start == end - at)
    pick = preferredSide == 1 ? end : start;
  else
    pick = end - at <= at - start ? end : start;
  return Along(position, direction, pick);
}

bool TileGrid::ShiftTiles(uint16_t position, int direction, int preferredSide, bool forceSide,
                          bool animate) {
  const uint16_t free = FindFreeCell(position, direction, preferredSide, forceSide);
  if (free == kNoCell) return false;
  if (free == position) return true;
  const int at = direction == kAcross ? CellColumn(position) : CellRow(position);
  int cur = direction == kAcross ? CellColumn(free) : CellRow(free);
  const int step = cur > at ? -1 : 1;
  if (GetCell(free).letter != 0) TakeTile(free);  // an arrow gives way
  while (cur != at) {
    int next = cur + step;
    while (next != at && IsFixedCell(Along(position, direction, next)))
      next += step;
    if (next == at && IsFixedCell(position)) break;
    TileCell& to = GetCell(Along(position, direction, cur));
    TileCell& from = GetCell(Along(position, direction, next));
    to.letter = from.letter;
    to.spriteImage = from.spriteImage;
    to.spriteId = from.spriteId;
    to.typingMark = from.typingMark;
    to.tileObject = from.tileObject;
    to.originGrid = from.originGrid;
    to.originPosition = from.originPosition;
    from.letter = 0;
    from.tileObject = nullptr;
    if (to.tileObject) StartSlide(to.tileObject, {to.x, to.y, to.z}, animate);
    cur = next;
  }
  return true;
}

void TileGrid::ReleaseAnimation(const MeshFrame* object) {
  for (auto it = animations_.begin(); it != animations_.end();)
    it = it->object == object ? animations_.erase(it) : std::next(it);
}

void TileGrid::TakeOut(uint16_t position, TileCell& record) {
  TileCell& cell = GetCell(position);
  record = cell;
  if (MeshFrame* object = cell.tileObject) {
    ReleaseAnimation(object);
    if (object->Parent()) object->Parent()->DetachChild(object);
    cell.tileObject = nullptr;
  }
  TakeTile(position);
}

void TileGrid::StartSlide(MeshFrame* object, const Vec3& to, bool animate) {
  ReleaseAnimation(object);
  if (!animate) {
    object->SetPosition(to);
    return;
  }
  animations_.push_back({object, TranslationOf(object->Local()), to, kSlideSeconds});
}

// Ease-out over 0.2 s: start + (end - start) x (1 - 25 r'^2).
void TileGrid::Animate(float dt) {
  for (auto it = animations_.begin(); it != animations_.end();) {
    if (it->timeLeft > dt) {
      it->timeLeft -= dt;
      const float t = 1.0f - 25.0f * it->timeLeft * it->timeLeft;
      it->object->SetPosition(Add(it->start, Scale(Sub(it->end, it->start), t)));
      ++it;
    } else {
      it->object->SetPosition(it->end);
      it = animations_.erase(it);
    }
  }
}

void TileGrid::FinishAnimations() {
  for (TileAnimation& a : animations_)
    a.object->SetPosition(a.end);
  animations_.clear();
}

void TileGrid::LayoutCells(int rows, int columns) {
  if (!frame_) return;
  SceneMesh* mesh = frame_->FirstMesh();
  if (!mesh) return;
  if (rows != rows_ || columns != columns_) Resize(rows, columns);
  const Vec3 a = mesh->boxMin, b = mesh->boxMax;
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c) {
      TileCell& cell = GetCellAt(r, c);
      cell.x = b.x + (a.x - b.x) * (static_cast<float>(c) + 0.5f) / static_cast<float>(columns_);
      cell.y = a.y +
               (b.y - a.y) * (static_cast<float>(rows_ - 1 - r) + 0.5f) / static_cast<float>(rows_);
      cell.z = a.z + 0.17f;
      if (cell.tileObject) cell.tileObject->SetPosition({cell.x, cell.y, cell.z});
    }
  if (CellCount() > 1) {
    const Mat4& w = frame_->World();
    cellSpacing_ = Distance(TransformCoord({cells_[0].x, cells_[0].y, cells_[0].z}, w),
                            TransformCoord({cells_[1].x, cells_[1].y, cells_[1].z}, w));
  }
}

// --- Base behaviour of the kinds' operations ----------------------------

bool TileGrid::PickTiles(uint16_t, int, bool, TileCell*, int* count, int) {
  if (count) *count = 0;
  return false;
}
void TileGrid::PrepareDrop(int, int, int, const TileCell*, int) {}
void TileGrid::PlaceTiles(uint16_t, int, TileCell*, int) {}
bool TileGrid::QueryCell(uint16_t, int* direction) {
  if (direction) *direction = 0;
  return true;
}
bool TileGrid::CanAccept(uint16_t, int, TileGrid*, const TileCell*, int) { return true; }
bool TileGrid::CanAcceptByShifting(uint16_t, int, TileGrid*, const TileCell*, int) { return false; }
bool TileGrid::IsFixedCell(uint16_t) { return false; }

std::string TileGrid::Dump() const {
  std::string s;
  for (int i = 0; i < CellCount(); ++i)
    s += cells_[i].letter ? cells_[i].letter : '_';
  return s;
}

}  // namespace scene
