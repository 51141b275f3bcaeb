#include "online/item_queue.h"

namespace online {

ItemQueue::ItemQueue(int32_t capacity, Mode mode)
    : mode_(mode), last_((capacity < 2 ? 2 : capacity) - 1), entries_(last_ + 1) {}

int32_t ItemQueue::Advance(int32_t index) const { return index + 1 >= last_ ? 0 : index + 1; }

ItemQueue::Result ItemQueue::Push(uintptr_t key, void* item, uintptr_t extra) {
  if (mode_ == kStack) {
    if (write_ > last_) return kRefused;
    entries_[write_++] = Entry{extra, key, item};
    return kStored;
  }
  const int32_t next = Advance(write_);
  if (next == read_) return kRefused;
  entries_[write_] = Entry{extra, key, item};
  write_ = next;
  return kStored;
}

ItemQueue::Result ItemQueue::Pop(Entry* out) {
  if (mode_ == kStack) {
    if (write_ == 0) return kEmpty;
    *out = entries_[--write_];
    return kStored;
  }
  if (read_ == write_) return kEmpty;
  *out = entries_[read_];
  read_ = Advance(read_);
  return kStored;
}

bool ItemQueue::IsEmpty() const { return mode_ == kStack ? write_ == 0 : read_ == write_; }

int32_t ItemQueue::Count() const {
  if (mode_ == kStack) return write_;
  return write_ >= read_ ? write_ - read_ : write_ + last_ - read_;
}

}  // namespace online
