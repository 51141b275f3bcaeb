#include "game/move_history.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

#include "rules/board.h"

struct HistoryNode {
  HistoryNode* parent = nullptr;  // the root for a first-level entry; null once freed
  HistoryNode* next = nullptr;    // next variation at the same point
  HistoryNode* child = nullptr;   // the continuation
  std::unique_ptr<HistoryRecord> record;
};

struct MoveHistory::Pool {
  HistoryNode nodes[kHistoryPoolNodes];
  int used = 0;
};

// ---------------------------------------------------------------------------
// Records

HistoryRecord::HistoryRecord() : move(EmptyMove()) {
  std::memset(reserved412, 0, sizeof reserved412);
  std::memset(racks, 0, sizeof racks);
  std::memset(reserved5112, 0, sizeof reserved5112);
  for (int32_t& s : scores)
    s = 0;
  turnElapsedMs = timeLeftMs = 0;
  std::memset(reserved5924, 0, sizeof reserved5924);
  entryKind = kEntryMove;
  std::memset(reserved5929, 0, sizeof reserved5929);
  std::memset(reserved5936, 0, sizeof reserved5936);
}

RobotMove HistoryRecord::EmptyMove() {
  static const uint8_t zeros[kRobotMoveImageSize] = {};
  RobotMove m;
  DecodeRobotMove(zeros, sizeof zeros, m);
  return m;
}

bool HistoryRecord::SameMove(const HistoryRecord& o) const {
  return std::strncmp(move.word, o.move.word, kMoveWordSize) == 0 && move.score == o.move.score &&
         move.column == o.move.column && move.row == o.move.row && move.length == o.move.length &&
         move.direction == o.move.direction;
}

bool WriteHistoryRecord(ByteWriter& out, const HistoryRecord& r) {
  WriteRobotMove(out, r.move);
  out.Bytes(r.reserved412, sizeof r.reserved412);
  for (const auto& rack : r.racks)
    out.Bytes(rack, sizeof rack);
  out.Bytes(r.reserved5112, sizeof r.reserved5112);
  for (int32_t s : r.scores)
    out.I32(s);
  out.I32(r.turnElapsedMs);
  out.I32(r.timeLeftMs);
  out.Bytes(r.reserved5924, sizeof r.reserved5924);
  out.U8(r.entryKind);
  out.Bytes(r.reserved5929, sizeof r.reserved5929);
  out.U32(0);  // the comment pointer means nothing in a file
  out.Bytes(r.reserved5936, sizeof r.reserved5936);
  return out.ok();
}

bool ReadHistoryRecord(ByteReader& in, HistoryRecord& record) {
  if (!in.ok() || in.remaining() < kHistoryRecordImageSize) {
    in.Skip(kHistoryRecordImageSize);  // marks the reader failed
    return false;
  }
  HistoryRecord& r = record;
  ReadRobotMove(in, r.move);
  in.Bytes(r.reserved412, sizeof r.reserved412);
  for (auto& rack : r.racks)
    in.Bytes(rack, sizeof rack);
  in.Bytes(r.reserved5112, sizeof r.reserved5112);
  for (int32_t& s : r.scores)
    s = in.I32();
  r.turnElapsedMs = in.I32();
  r.timeLeftMs = in.I32();
  in.Bytes(r.reserved5924, sizeof r.reserved5924);
  r.entryKind = in.U8();
  in.Bytes(r.reserved5929, sizeof r.reserved5929);
  in.Skip(4);  // comment pointer
  in.Bytes(r.reserved5936, sizeof r.reserved5936);
  return in.ok();
}

// ---------------------------------------------------------------------------
// The tree

MoveHistory::MoveHistory() : root_(std::make_unique<HistoryNode>()) {}

MoveHistory::~MoveHistory() = default;  // the pools own every node and record

HistoryNode* MoveHistory::NewNode() {
  if (pools_.empty() || pools_.back()->used == kHistoryPoolNodes)
    pools_.push_back(std::make_unique<Pool>());
  Pool& pool = *pools_.back();
  return &pool.nodes[pool.used++];
}

HistoryNode* MoveHistory::FirstChildOf(const HistoryNode* node) const {
  return node ? node->child : root_->child;
}

// Finds an equal child of `parent` or inserts a copy of the record; either
// way the node ends up as the continuation.
HistoryNode* MoveHistory::Insert(HistoryNode* parent, const HistoryRecord& record) {
  HistoryNode** link = &parent->child;
  for (; *link; link = &(*link)->next) {
    HistoryNode* found = *link;
    if (!found->record->SameMove(record)) continue;
    *link = found->next;
    found->next = parent->child;
    parent->child = found;
    return found;
  }
  HistoryNode* node = NewNode();
  node->record = std::make_unique<HistoryRecord>(record);
  node->parent = parent;
  node->next = parent->child;
  parent->child = node;
  return node;
}

HistoryRecord* MoveHistory::AddMove(const HistoryRecord& record) {
  cursor_ = Insert(cursor_ ? cursor_ : root_.get(), record);
  ++index_;
  return cursor_->record.get();
}

HistoryRecord* MoveHistory::AddVariation(const HistoryRecord& record) {
  if (!cursor_) return nullptr;
  cursor_ = Insert(cursor_->parent, record);
  return cursor_->record.get();
}

HistoryNode* MoveHistory::AppendChild(HistoryNode* parent, HistoryRecord record) {
  if (!parent) parent = root_.get();
  HistoryNode** link = &parent->child;
  while (*link)
    link = &(*link)->next;
  HistoryNode* node = NewNode();
  node->record = std::make_unique<HistoryRecord>(std::move(record));
  node->parent = parent;
  *link = node;
  return node;
}

// Frees the records of the node and of everything after it (not of its
// variations, which are the node's siblings).
void MoveHistory::FreeSubtree(HistoryNode* node) {
  std::vector<HistoryNode*> pending{node};
  while (!pending.empty()) {
    HistoryNode* n = pending.back();
    pending.pop_back();
    if (n->child) pending.push_back(n->child);
    if (n != node && n->next) pending.push_back(n->next);
    n->record.reset();
    n->parent = n->next = n->child = nullptr;
  }
}

int32_t MoveHistory::TakeBack() {
  if (!cursor_) return kHistoryNoCursor;
  HistoryNode* node = cursor_;
  HistoryNode* parent = node->parent;
  HistoryNode** link = &parent->child;
  while (*link && *link != node)
    link = &(*link)->next;
  if (!*link) return kHistoryUnlinked;
  *link = node->next;
  FreeSubtree(node);
  cursor_ = parent == root_.get() ? nullptr : parent;
  --index_;
  return kHistoryOk;
}

void MoveHistory::Clear() {
  while (HistoryNode* first = root_->child) {
    root_->child = first->next;
    FreeSubtree(first);
  }
  cursor_ = nullptr;
  index_ = 0;
}

HistoryRecord* MoveHistory::First() {
  cursor_ = root_->child;
  index_ = cursor_ ? 1 : 0;
  return cursor_ ? cursor_->record.get() : nullptr;
}

HistoryRecord* MoveHistory::GoToLast() {
  HistoryNode* node = cursor_;
  if (!node) {
    node = root_->child;
    if (!node) return nullptr;
    index_ = 1;
  }
  for (; node->child; node = node->child)
    ++index_;
  cursor_ = node;
  return node->record.get();
}

HistoryRecord* MoveHistory::Last() const {
  const HistoryNode* node = root_->child;
  if (!node) return nullptr;
  while (node->child)
    node = node->child;
  return node->record.get();
}

HistoryRecord* MoveHistory::GetCurrentData() const {
  return cursor_ ? cursor_->record.get() : nullptr;
}

HistoryRecord* MoveHistory::GoToIndex(int32_t n) {
  if (n < 0) return nullptr;
  HistoryNode* node = nullptr;
  for (int32_t i = 0; i < n; ++i) {
    node = FirstChildOf(node);
    if (!node) return nullptr;
  }
  cursor_ = node;
  index_ = n;
  return node ? node->record.get() : nullptr;
}

HistoryRecord* MoveHistory::RecordAt(int32_t n) const {
  if (n <= 0) return nullptr;
  const HistoryNode* node = nullptr;
  for (int32_t i = 0; i < n; ++i) {
    node = FirstChildOf(node);
    if (!node) return nullptr;
  }
  return node->record.get();
}

int32_t MoveHistory::Count() const {
  int32_t n = 0;
  for (const HistoryNode* node = root_->child; node; node = node->child)
    ++n;
  return n;
}

HistoryRecord* MoveHistory::Next() {
  HistoryNode* next = FirstChildOf(cursor_);
  if (!next) return nullptr;
  cursor_ = next;
  ++index_;
  return next->record.get();
}

HistoryRecord* MoveHistory::PeekNext() const {
  HistoryNode* next = FirstChildOf(cursor_);
  return next ? next->record.get() : nullptr;
}

HistoryRecord* MoveHistory::Previous() {
  if (!cursor_) return nullptr;
  HistoryNode* parent = cursor_->parent;
  cursor_ = parent == root_.get() ? nullptr : parent;
  --index_;
  return cursor_ ? cursor_->record.get() : nullptr;
}

HistoryRecord* MoveHistory::PeekPrevious() const {
  if (!cursor_ || cursor_->parent == root_.get()) return nullptr;
  return cursor_->parent->record.get();
}

HistoryRecord* MoveHistory::PromoteVariation() {
  if (!cursor_ || !cursor_->next) return nullptr;
  HistoryNode* entry = cursor_;
  HistoryNode* promoted = entry->next;
  HistoryNode** link = &entry->parent->child;
  while (*link != entry)
    link = &(*link)->next;
  *link = promoted;
  HistoryNode* last = promoted;
  while (last->next)
    last = last->next;
  last->next = entry;
  entry->next = nullptr;
  cursor_ = promoted;
  return promoted->record.get();
}

bool MoveHistory::WalkFrom(const HistoryNode* start, WalkCallback callback, void* context) const {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  std::vector<const HistoryNode*> pending;
  if (start) pending.push_back(start);
  while (!pending.empty()) {
    const HistoryNode* n = pending.back();
    pending.pop_back();
    const HistoryRecord* next = n->child ? n->child->record.get() : nullptr;
    const HistoryRecord* variation = n->next ? n->next->record.get() : nullptr;
    if (callback(context, *n->record, next, variation) == 0) return false;
    if (n->next) pending.push_back(n->next);  // after the continuation's subtree
    if (n->child) pending.push_back(n->child);
  }
  return true;
}

bool MoveHistory::Walk(WalkCallback callback, void* context) const {
  return WalkFrom(cursor_ ? cursor_ : root_->child, callback, context);
}

bool MoveHistory::WalkAll(WalkCallback callback, void* context) const {
  return WalkFrom(root_->child, callback, context);
}

HistoryNode* MoveHistory::Find(const HistoryRecord* record) const {
  if (!record) return nullptr;
  std::vector<HistoryNode*> pending;
  if (root_->child) pending.push_back(root_->child);
  while (!pending.empty()) {
    HistoryNode* n = pending.back();
    pending.pop_back();
    if (n->record.get() == record) return n;
    if (n->next) pending.push_back(n->next);
    if (n->child) pending.push_back(n->child);
  }
  return nullptr;
}

std::vector<const HistoryRecord*> MoveHistory::PathTo(const HistoryRecord* record) const {
  std::vector<const HistoryRecord*> path;
  for (const HistoryNode* n = Find(record); n && n != root_.get(); n = n->parent)
    path.push_back(n->record.get());
  return {path.rbegin(), path.rend()};
}

bool MoveHistory::Select(const HistoryRecord* record) {
  HistoryNode* node = Find(record);
  if (!node) return false;
  int32_t depth = 0;
  for (const HistoryNode* n = node; n != root_.get(); n = n->parent)
    ++depth;
  cursor_ = node;
  index_ = depth;
  return true;
}

std::vector<HistoryRecord> MoveHistory::ExportMainLine() const {
  std::lock_guard<platform::CriticalSection> hold(lock_);
  std::vector<HistoryRecord> out;
  for (const HistoryNode* node = root_->child; node; node = node->child)
    out.push_back(*node->record);
  return out;
}

void LayMoveLetters(char* grid, const RobotMove& move) {
  const int n = std::min<int>(move.length, kMoveWordSize);
  int r = move.row, c = move.column;
  for (int i = 0; i < n && r < kMaxBoardSide && c < kMaxBoardSide && move.word[i]; ++i) {
    char& square = grid[r * kBoardStride + c];
    if (IsEmptySquare(square)) square = move.word[i];
    if (move.direction)
      ++r;
    else
      ++c;
  }
}

int32_t HistoryIndex(const MoveHistory* history) {
  return history ? history->GetIndex() : kHistoryMissing;
}

int32_t HistoryCount(const MoveHistory* history) {
  return history ? history->Count() : kHistoryMissing;
}

int32_t HistoryTakeBack(MoveHistory* history) {
  return history ? history->TakeBack() : kHistoryMissing;
}
