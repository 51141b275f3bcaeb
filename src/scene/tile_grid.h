#pragma once
// A rectangle of tile cells bound to one frame of the board scene: the
// board, a rack, the working area or the tile carrier. Each occupied cell
// owns a clone of a letter-tile template attached under the grid's frame, so
// moving a letter moves a tile on screen. The virtual operations let each
// kind of grid decide what it accepts, how tiles are picked and placed.
//
// Cell letters: 0 empty, 1 and 2 the keyboard cursor's arrows, 'a'..'z' a
// tile, 'A'..'Z' a blank showing a letter, '`' an unassigned blank, '{' and
// '[' crossagram squares (given letter, to fill).
//
// A tile is never lost: a placement refuses (rather than overwrites) a cell
// whose tile cannot be pushed aside, and the callers send a refused tile
// back where it came from.
#include <cstdint>
#include <list>
#include <string>

#include "scene/mesh_frame.h"

namespace scene {

constexpr uint16_t kNoCell = 0xFFFF;
constexpr int kAcross = 0;
constexpr int kDown = 1;
constexpr int kMaxSetAside = 20;
constexpr char kArrowAcross = 1;
constexpr char kArrowDown = 2;
constexpr char kUnassignedBlankCell = '`';
constexpr char kGivenSquare = '{';
constexpr char kSquareToFill = '[';

inline uint16_t CellCode(int row, int column) { return static_cast<uint16_t>(row * 256 + column); }
inline int CellRow(uint16_t position) { return position >> 8; }
inline int CellColumn(uint16_t position) { return position & 0xFF; }

class TileGrid;

// A cell, and the record in which picked tiles travel.
struct TileCell {
  char letter = 0;
  uint32_t spriteImage = 0;
  uint32_t spriteId = 0;
  int32_t typingMark = 0;
  MeshFrame* tileObject = nullptr;
  float x = 0, y = 0, z = 0;
  int32_t screenX = 0, screenY = 0;
  uint16_t position = 0;
  TileGrid* originGrid = nullptr;
  uint16_t originPosition = 0;
};

struct TileAnimation {
  MeshFrame* object = nullptr;
  Vec3 start, end;
  float timeLeft = 0;
};

constexpr float kSlideSeconds = 0.2f;

class TileGrid {
 public:
  TileGrid(int rows, int columns, int shifting);
  // Frees the tile objects (the scene must still exist) and the cells.
  virtual ~TileGrid();
  TileGrid(const TileGrid&) = delete;
  TileGrid& operator=(const TileGrid&) = delete;

  // --- The kinds' operations (base behaviour here) ---
  virtual bool PlaceTile(char letter, uint16_t position, bool force);
  virtual bool PickTiles(uint16_t position, int direction, bool run, TileCell* out, int* count,
                         int limit);
  virtual void PrepareDrop(int x, int y, int direction, const TileCell* records, int count);
  // Places the records with a letter; each record placed has its letter
  // cleared, so what is left is what the grid refused.
  virtual void PlaceTiles(uint16_t position, int direction, TileCell* records, int count);
  virtual bool QueryCell(uint16_t position, int* direction);
  virtual bool CanAccept(uint16_t position, int direction, TileGrid* source,
                         const TileCell* records, int count);
  virtual bool CanAcceptByShifting(uint16_t position, int direction, TileGrid* source,
                                   const TileCell* records, int count);
  virtual float DropHeight() { return 0.0f; }
  virtual float CarryHeight() { return 0.0f; }
  virtual void LayoutCells(int rows, int columns);
  virtual bool IsFixedCell(uint16_t position);

  // --- Binding ---
  bool BindFrame(MeshFrame* frame);  // null refused
  MeshFrame* Frame() const { return frame_; }
  void SetNotifyWindow(void* window) { notifyWindow_ = window; }
  void* NotifyWindow() const { return notifyWindow_; }

  // --- Placing and taking ---
  bool PlaceTilePlain(char letter, uint16_t position) { return PlaceTile(letter, position, false); }
  bool PlaceTileAtPoint(char letter, int x, int y);
  bool PlaceRecord(const TileCell& record, uint16_t position);
  // PlaceRecord there, else in the first empty cell of row 0.
  bool Receive(const TileCell& record, uint16_t position);
  void TakeTile(uint16_t position);
  void TakeTileGuarded(uint16_t position);
  void TakeTileAtPoint(int x, int y);
  void ClearCell(uint16_t position);
  void ClearCellOf(const TileCell& record) { ClearCell(record.position); }
  void PutTileAt(char letter, int index);
  // Rebuilds the grid from a text ('_' an empty place); only the letters
  // written count as tiles.
  void SetLetters(const char* text, int length);
  // The board's letters, row stride 15 (the game's letter grid).
  void SetBoardLetters(const char* letters);
  void Clear();
  bool SetAside(TileCell& record);
  void RestoreSetAside(char letter = 0);
  void ClearSetAside();
  void DetachAllTileObjects();

  // --- Queries ---
  TileCell& GetCell(uint16_t position) { return cells_[Index(position)]; }
  TileCell& GetCellAt(int row, int column) { return cells_[row * columns_ + column]; }
  TileCell& CellByIndex(int index) { return cells_[index]; }
  uint16_t FindLetter(char letter) const;
  bool FindFirstEmptyCell(const TileCell& record);
  bool IsCellFree(uint16_t position);
  bool IsFreeOnGameBoard(const TileCell& record) const;
  int GetLetterCount(int index) const { return letterCounts_[index & 31]; }
  int DecrementLetterCount(int index);
  int GetLetterCountTotal() const;
  // The cell under a window point, kNoCell outside or without a frame.
  uint16_t PointToCell(int x, int y, float* fx = nullptr, float* fy = nullptr);
  uint16_t PositionAtPoint(int x, int y) { return PointToCell(x, y); }
  TileCell* CellAtPoint(int x, int y);
  uint16_t FindFreeCell(uint16_t position, int direction, int preferredSide, bool forceSide);
  bool ShiftTiles(uint16_t position, int direction, int preferredSide, bool forceSide,
                  bool animate);
  void Animate(float dt);
  void FinishAnimations();
  // The letters, '_' for an empty cell.
  std::string Dump() const;

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  int CellCount() const { return rows_ * columns_; }
  int TileCount() const { return tileCount_; }
  float CellSpacing() const { return cellSpacing_; }
  bool Contains(int row, int column) const {
    return row >= 0 && row < rows_ && column >= 0 && column < columns_;
  }
  size_t AnimationCount() const { return animations_.size(); }

 protected:
  int Index(uint16_t position) const { return CellRow(position) * columns_ + CellColumn(position); }
  bool InGrid(uint16_t position) const {
    return position != kNoCell && Contains(CellRow(position), CellColumn(position));
  }
  // Rebuilds the cell's tile object for its letter at its centre.
  void BuildTileObject(TileCell& cell);
  void FreeTileObject(TileCell& cell);
  void CountIn(char letter);
  void CountOut(char letter);
  void StartSlide(MeshFrame* object, const Vec3& to, bool animate);
  // The cell's tile into a record (its object, detached, goes with it);
  // the cell is then emptied and counted out.
  void TakeOut(uint16_t position, TileCell& record);
  void ReleaseAnimation(const MeshFrame* object);
  void Resize(int rows, int columns);

  std::list<TileAnimation> animations_;
  TileCell* cells_ = nullptr;
  int rows_, columns_;
  int shifting_;
  void* notifyWindow_ = nullptr;
  int tileCount_ = 0;
  float cellSpacing_ = 0;
  MeshFrame* frame_ = nullptr;
  TileCell setAside_[kMaxSetAside];
  int setAsideCount_ = 0;
  int32_t letterCounts_[32] = {};
};

// The game kind of the current game, -1 without one.
int CurrentGameKind();

}  // namespace scene
