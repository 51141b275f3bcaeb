#pragma once
// A bounded queue of {extra, key, item} entries, as a stack or as a ring.
// The ring keeps one entry free and never uses its last index, so a ring of
// capacity 500 holds at most 498 entries; a push beyond that is refused.
#include <cstdint>
#include <vector>

namespace online {

class ItemQueue {
 public:
  enum Mode : int32_t { kStack = 0, kRing = 1 };
  enum Result : int32_t { kEmpty = 0, kRefused = 1, kStored = 3 };

  struct Entry {
    uintptr_t extra = 0;
    uintptr_t key = 0;
    void* item = nullptr;
  };

  // capacity at least 2.
  ItemQueue(int32_t capacity, Mode mode);

  Result Push(uintptr_t key, void* item, uintptr_t extra = 0);
  // kEmpty (and out untouched) when nothing is queued.
  Result Pop(Entry* out);
  bool IsEmpty() const;
  int32_t Count() const;

 private:
  int32_t Advance(int32_t index) const;

  Mode mode_;
  int32_t last_;
  int32_t write_ = 0;
  int32_t read_ = 0;
  std::vector<Entry> entries_;
};

}  // namespace online
