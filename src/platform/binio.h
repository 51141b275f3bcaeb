#pragma once
// Little-endian byte readers and writers for the program's binary files and
// records (move records, saved games, profiles...). Fields are written one by
// one in file order, never by copying a struct. Floats travel as IEEE-754
// binary32 bit patterns.
//
// Both classes work on a bounded span and never step past it: a read past the
// end yields zeros and marks the reader failed, a write past the end is
// dropped and marks the writer failed. Check ok() once after a group of
// fields.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

static_assert(std::numeric_limits<float>::is_iec559, "floats must be IEEE-754 binary32");
static_assert(sizeof(float) == 4, "floats must be 4 bytes");

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}
  explicit ByteReader(const std::vector<uint8_t>& bytes) : ByteReader(bytes.data(), bytes.size()) {}

  bool ok() const { return ok_; }
  size_t position() const { return pos_; }
  size_t remaining() const { return size_ - pos_; }

  // Copies n bytes (zeros on overrun).
  bool Bytes(void* out, size_t n) {
    if (!Take(n)) {
      if (n) std::memset(out, 0, n);
      return false;
    }
    if (n) std::memcpy(out, data_ + pos_ - n, n);
    return true;
  }
  bool Skip(size_t n) { return Take(n); }

  uint8_t U8() { return static_cast<uint8_t>(Unsigned(1)); }
  int8_t I8() { return static_cast<int8_t>(U8()); }
  uint16_t U16() { return static_cast<uint16_t>(Unsigned(2)); }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32() { return static_cast<uint32_t>(Unsigned(4)); }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  uint64_t U64() { return Unsigned(8); }
  float F32() {
    uint32_t bits = U32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

 private:
  bool Take(size_t n) {
    if (!ok_ || n > size_ - pos_) {
      ok_ = false;
      return false;
    }
    pos_ += n;
    return true;
  }
  uint64_t Unsigned(size_t n) {
    if (!Take(n)) return 0;
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i)
      v |= static_cast<uint64_t>(data_[pos_ - n + i]) << (8 * i);
    return v;
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  // Writes into a fixed span of `capacity` bytes.
  ByteWriter(uint8_t* data, size_t capacity) : data_(data), capacity_(data ? capacity : 0) {}
  // Appends to a growing buffer.
  explicit ByteWriter(std::vector<uint8_t>& out) : grow_(&out), start_(out.size()) {}

  bool ok() const { return ok_; }
  size_t position() const { return grow_ ? grow_->size() - start_ : pos_; }

  void Bytes(const void* src, size_t n) {
    uint8_t* dst = Room(n);
    if (dst && n) std::memcpy(dst, src, n);
  }
  void Zeros(size_t n) {
    uint8_t* dst = Room(n);
    if (dst && n) std::memset(dst, 0, n);
  }
  void U8(uint8_t v) { Unsigned(v, 1); }
  void I8(int8_t v) { U8(static_cast<uint8_t>(v)); }
  void U16(uint16_t v) { Unsigned(v, 2); }
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U32(uint32_t v) { Unsigned(v, 4); }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void U64(uint64_t v) { Unsigned(v, 8); }
  void F32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    U32(bits);
  }

 private:
  uint8_t* Room(size_t n) {
    if (!ok_) return nullptr;
    if (grow_) {
      grow_->resize(grow_->size() + n);
      return grow_->data() + grow_->size() - n;
    }
    if (n > capacity_ - pos_) {
      ok_ = false;
      return nullptr;
    }
    pos_ += n;
    return data_ + pos_ - n;
  }
  void Unsigned(uint64_t v, size_t n) {
    uint8_t* dst = Room(n);
    if (!dst) return;
    for (size_t i = 0; i < n; ++i)
      dst[i] = static_cast<uint8_t>(v >> (8 * i));
  }

  uint8_t* data_ = nullptr;
  size_t capacity_ = 0;
  size_t pos_ = 0;
  std::vector<uint8_t>* grow_ = nullptr;
  size_t start_ = 0;
  bool ok_ = true;
};
