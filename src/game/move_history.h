#pragma once
// MoveHistory: the tree of a game's history records, one per move, pass or
// exchange. A point of the game has its continuation as first child and the
// alternatives played there as the child's next siblings (variations); the
// main line follows first children from the root. A cursor marks the entry
// the game stands at (null = before the first entry, index 0).
//
// Nodes come from pools of kHistoryPoolNodes and go back only when the whole
// history is destroyed; taking an entry back frees its records and unlinks
// its nodes. Every walk of the tree is iterative, so a deep or wide tree (a
// long game, a damaged file) cannot exhaust the stack.
//
// A history record's file image is kHistoryRecordImageSize bytes. Its
// comment lives outside that image (the image's comment pointer is written
// as zero); saved games carry it after the image.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "rules/robot_move.h"
#include "platform/binio.h"
#include "rules/game_setup.h"
#include "platform/sync.h"

constexpr size_t kHistoryRecordImageSize = 5956;
constexpr int kHistoryRackSlotSize = 23;  // per player; 21 bytes used
constexpr int kHistoryPoolNodes = 4096;

// Entries of imported games say what the turn was.
enum HistoryEntryKind : uint8_t {
  kEntryMove = 0,
  kEntryExchange = 1,
  kEntryPass = 2,
};

// Results of MoveHistory::TakeBack and the index of a missing history.
enum HistoryResult : int32_t {
  kHistoryOk = 0,
  kHistoryNoCursor = -1,
  kHistoryMissing = -3,
  kHistoryUnlinked = -4,
};

struct HistoryRecord {
  // Field order follows the file image; the comment gives the image offset.
  RobotMove move;                                 // 0: all zero for a pass or lost turn
  uint8_t reserved412[100];                       // 412: kept as read
  char racks[kMaxPlayers][kHistoryRackSlotSize];  // 512: each player's rack after the move
  uint8_t reserved5112[4];                        // 5112: kept as read
  int32_t scores[kMaxPlayers];                    // 5116: each player's score after it
  int32_t turnElapsedMs;                          // 5916: time the move took
  int32_t timeLeftMs;                             // 5920: the mover's clock
  uint8_t reserved5924[4];                        // 5924: kept as read
  uint8_t entryKind;                              // 5928: HistoryEntryKind
  uint8_t reserved5929[3];                        // 5929: kept as read
  // 5932: the comment pointer (zero in every image)
  uint8_t reserved5936[20];  // 5936: kept as read
  std::string comment;       // not part of the image

  // Zero-filled (the move as well), no comment.
  HistoryRecord();
  // The move record with every byte zero, as a pass or lost turn stores it.
  static RobotMove EmptyMove();
  bool HasMove() const { return move.word[0] != 0; }
  // Equal for finding an existing variation: same word, move total, column,
  // row, length and direction.
  bool SameMove(const HistoryRecord& other) const;
};

bool WriteHistoryRecord(ByteWriter& out, const HistoryRecord& record);
// False (and `record` untouched) when fewer than kHistoryRecordImageSize
// bytes remain. The comment is left as it was.
bool ReadHistoryRecord(ByteReader& in, HistoryRecord& record);

// One place of the tree (opaque outside the history).
struct HistoryNode;

class MoveHistory {
 public:
  // callback(context, record, next record on its line or null, first
  // variation or null); returning 0 stops the walk.
  using WalkCallback = int (*)(void* context, const HistoryRecord& record,
                               const HistoryRecord* next, const HistoryRecord* variation);

  MoveHistory();
  ~MoveHistory();
  MoveHistory(const MoveHistory&) = delete;
  MoveHistory& operator=(const MoveHistory&) = delete;

  // Adds the record after the cursor: an equal child already there becomes
  // the continuation, otherwise a copy becomes it and the old continuation
  // its variation. The cursor moves onto it. Returns the stored record.
  HistoryRecord* AddMove(const HistoryRecord& record);
  // The same as an alternative to the entry under the cursor (at the
  // cursor's parent); null without a cursor.
  HistoryRecord* AddVariation(const HistoryRecord& record);
  // Removes the entry under the cursor with everything after it; the cursor
  // goes to its parent. A HistoryResult.
  int32_t TakeBack();
  // Removes every entry; the cursor is before the first.
  void Clear();

  HistoryRecord* First();
  // The cursor along continuations to the end of its line.
  HistoryRecord* GoToLast();
  // The last record of the main line; the cursor stays.
  HistoryRecord* Last() const;
  HistoryRecord* GetCurrentData() const;
  int32_t GetIndex() const { return index_; }
  // n continuation steps from the root (0: before the first entry). Null,
  // the cursor unchanged, when the main line is shorter or n is negative.
  HistoryRecord* GoToIndex(int32_t n);
  HistoryRecord* RecordAt(int32_t n) const;
  // Entries on the main line.
  int32_t Count() const;
  HistoryRecord* Next();
  HistoryRecord* PeekNext() const;
  // To the parent; null once before the first entry.
  HistoryRecord* Previous();
  HistoryRecord* PeekPrevious() const;
  // The entry's first variation takes its place on its line and the entry
  // goes to the end of the variations; the cursor moves to the promoted
  // entry. Null when the cursor's entry has no variation.
  HistoryRecord* PromoteVariation();
  // Depth first from the cursor (or the first entry): each entry, then its
  // continuation's subtree, then its variations. Under the lock. False when
  // the callback stopped it.
  bool Walk(WalkCallback callback, void* context) const;
  // The same over the whole tree, from the first entry, wherever the cursor
  // is.
  bool WalkAll(WalkCallback callback, void* context) const;
  // Copies of the main line's records, under the lock.
  std::vector<HistoryRecord> ExportMainLine() const;

  // The records from the first entry down to `record` (inclusive), or
  // nothing when the record is not in this history.
  std::vector<const HistoryRecord*> PathTo(const HistoryRecord* record) const;
  // Puts the cursor on the entry holding `record`; false (the cursor
  // unchanged) when it is not in this history.
  bool Select(const HistoryRecord* record);
  // True when the entry under the cursor has no continuation (also before
  // the first entry of an empty history).
  bool AtEndOfLine() const { return PeekNext() == nullptr; }

  // Rebuilding a stored tree: appends the record as the last child of
  // `parent` (null = the root), merging nothing and leaving the cursor.
  HistoryNode* AppendChild(HistoryNode* parent, HistoryRecord record);

 private:
  HistoryNode* NewNode();
  HistoryNode* FirstChildOf(const HistoryNode* node) const;
  HistoryNode* Insert(HistoryNode* parent, const HistoryRecord& record);
  HistoryNode* Find(const HistoryRecord* record) const;
  bool WalkFrom(const HistoryNode* start, WalkCallback callback, void* context) const;
  void FreeSubtree(HistoryNode* node);

  struct Pool;
  std::vector<std::unique_ptr<Pool>> pools_;
  std::unique_ptr<HistoryNode> root_;  // the header: parent of the first-level entries
  HistoryNode* cursor_ = nullptr;
  int32_t index_ = 0;
  mutable platform::CriticalSection lock_;
};

// Lays a move's letters on the empty squares of a board grid (row stride
// kBoardStride), staying within the board; tiles already there stay. Replay
// lays moves with it: unlike placing a move in play it touches no bag.
void LayMoveLetters(char* grid, const RobotMove& move);

// The forms that tolerate a missing history.
int32_t HistoryIndex(const MoveHistory* history);
int32_t HistoryCount(const MoveHistory* history);
int32_t HistoryTakeBack(MoveHistory* history);
