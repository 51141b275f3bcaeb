#pragma once
// The toolbox's wide text: 16-bit characters, at most 798 of them. Short
// texts (under 64 characters) take a slot of a process-wide pool instead of
// the allocator; the pool is unguarded, like everything the toolbox touches
// outside the online lock's holder.
#include <cstddef>
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

namespace OX_Toolbox {

class String : public ToolboxObject {
 public:
  static constexpr int kMaxLength = 798;
  static constexpr int kCountLimit = 799;  // every length routine stops here
  static constexpr int kPoolSlots = 64;
  static constexpr int kPoolSlotChars = 64;

  String() = default;
  String(const char16_t* text);  // NOLINT: wide literals convert
  explicit String(const char* narrow);
  String(const String& other);
  String& operator=(const String& other);
  ~String();

  void assign(const String& other);
  void assignWide(const char16_t* text);
  void assignNarrow(const char* text);  // each byte widened
  // Decodes n bytes of UTF-8 (stopping at a NUL); one character per sequence.
  void assignUtf8(const char* bytes, std::size_t n);
  void assignUtf8(const char* text);

  const char16_t* c_wstr() const;
  int length() const;
  bool isEmpty() const { return length() == 0; }
  int capacity() const { return m_capacity; }
  void clear();
  void truncate(int n);
  // Makes room for n characters; discardOld drops the current text.
  bool reserve(int n, bool discardOld);

  const char16_t* find(const char16_t* needle) const;
  void append(const String& other);
  void appendWide(const char16_t* text);
  void appendNarrow(const char* text);

  bool equals(const String& other) const;
  bool equalsWide(const char16_t* text) const;
  bool equalsNarrow(const char* text) const;
  bool compare(const String& other, bool ignoreCase) const;
  bool operator==(const String& other) const { return equals(other); }
  void toLower();  // A-Z only

  std::int64_t toInt64() const;
  std::uint64_t toUInt64() const;
  // New narrow text (low byte of each character); the caller frees it with
  // ToolboxFree.
  char* toNarrowCopy() const;
  // New UTF-8 text, NUL-terminated; *length (if given) excludes the NUL.
  char* toUtf8(std::size_t* length) const;
  std::size_t utf8Length() const;

  void format(const char* fmt, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  void fromInt32(std::int32_t v);
  void fromUInt32(std::uint32_t v);
  void fromInt64(std::int64_t v);
  void fromUInt64(std::uint64_t v);

  // First 8 bytes of the MD5 digest of the characters (2 bytes each, least
  // significant first) as a little-endian number; 0 when empty.
  std::uint64_t md5Hash64() const;

  static int wideLength(const char16_t* text);
  static int poolSlotsInUse();

 private:
  void release();
  void setText(const char16_t* text, int n);

  char16_t* m_buffer = nullptr;
  int m_capacity = 0;
};

// A narrow and a wide copy of a String, both owned, for C and Lua interfaces.
class NarrowString : public ToolboxObject {
 public:
  explicit NarrowString(const String& text);
  ~NarrowString();
  NarrowString(const NarrowString&) = delete;
  NarrowString& operator=(const NarrowString&) = delete;
  const char* narrow() const { return m_narrow ? m_narrow : ""; }
  const char16_t* wide() const { return m_wide; }

 private:
  char* m_narrow = nullptr;
  char16_t* m_wide = nullptr;
};

}  // namespace OX_Toolbox
