#include "Modules/Core/Src/Types/String.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "Modules/Core/Src/Digest/Md5Digest.h"

namespace OX_Toolbox {

namespace {

struct PoolSlot {
  char16_t chars[String::kPoolSlotChars];
  bool used;
};
PoolSlot g_pool[String::kPoolSlots];

bool fromPool(const char16_t* p) {
  const auto* base = reinterpret_cast<const char*>(g_pool);
  const auto* at = reinterpret_cast<const char*>(p);
  return at >= base && at < base + sizeof g_pool;
}

char16_t* takeSlot() {
  for (auto& slot : g_pool) {
    if (!slot.used) {
      slot.used = true;
      return slot.chars;
    }
  }
  return nullptr;
}

void giveSlot(char16_t* p) {
  for (auto& slot : g_pool) {
    if (slot.chars == p) slot.used = false;
  }
}

const char16_t kEmpty[1] = {0};

int clampLength(int n) { return n > String::kMaxLength ? String::kMaxLength : n; }

int narrowLength(const char* text) {
  int n = 0;
  while (text && n < String::kCountLimit && text[n])
    ++n;
  return n;
}

char16_t lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

// Encoded size of one character; surrogates have none and are dropped.
int utf8Size(char16_t c) {
  if (c < 0x80) return 1;
  if (c < 0x800) return 2;
  if (c < 0xD800 || c >= 0xE000) return 3;
  return 0;
}

}  // namespace

String::String(const char16_t* text) { assignWide(text); }
String::String(const char* narrow) { assignNarrow(narrow); }
String::String(const String& other) { assign(other); }
String& String::operator=(const String& other) {
  if (this != &other) assign(other);
  return *this;
}
String::~String() { release(); }

void String::release() {
  if (m_buffer) {
    if (fromPool(m_buffer)) {
      giveSlot(m_buffer);
    } else {
      ToolboxFree(m_buffer);
    }
  }
  m_buffer = nullptr;
  m_capacity = 0;
}

int String::wideLength(const char16_t* text) {
  int n = 0;
  while (text && n < kCountLimit && text[n])
    ++n;
  return n;
}

int String::poolSlotsInUse() {
  int n = 0;
  for (const auto& slot : g_pool)
    n += slot.used ? 1 : 0;
  return n;
}

bool String::reserve(int n, bool discardOld) {
  if (n < 0) n = 0;
  if (n > kMaxLength) n = kMaxLength;
  if (m_buffer && m_capacity >= n) {
    if (discardOld) m_buffer[0] = 0;
    return true;
  }
  char16_t* fresh = nullptr;
  int capacity = 0;
  if (n < kPoolSlotChars) {
    fresh = takeSlot();
    capacity = kPoolSlotChars - 1;
  }
  if (!fresh) {
    // An exhausted pool falls back to the allocator.
    fresh = static_cast<char16_t*>(ToolboxAlloc((static_cast<std::size_t>(n) + 1) * 2));
    capacity = n;
    if (!fresh) return false;
  }
  fresh[0] = 0;
  if (!discardOld && m_buffer) {
    const int keep = clampLength(wideLength(m_buffer));
    std::memcpy(fresh, m_buffer, static_cast<std::size_t>(keep) * 2);
    fresh[keep] = 0;
  }
  release();
  m_buffer = fresh;
  m_capacity = capacity;
  return true;
}

void String::setText(const char16_t* text, int n) {
  n = clampLength(n);
  if (!reserve(n, true)) return;
  if (n) std::memmove(m_buffer, text, static_cast<std::size_t>(n) * 2);
  m_buffer[n] = 0;
}

void String::assign(const String& other) {
  if (!other.m_buffer) {
    clear();
    return;
  }
  // Copy first: other may be this string's own text.
  char16_t tmp[kMaxLength + 1];
  const int n = clampLength(wideLength(other.m_buffer));
  std::memcpy(tmp, other.m_buffer, static_cast<std::size_t>(n) * 2);
  setText(tmp, n);
}

void String::assignWide(const char16_t* text) {
  if (!text) {
    clear();
    return;
  }
  char16_t tmp[kMaxLength + 1];
  const int n = clampLength(wideLength(text));
  std::memcpy(tmp, text, static_cast<std::size_t>(n) * 2);
  setText(tmp, n);
}

void String::assignNarrow(const char* text) {
  if (!text) {
    clear();
    return;
  }
  char16_t tmp[kMaxLength + 1];
  const int n = clampLength(narrowLength(text));
  for (int i = 0; i < n; ++i)
    tmp[i] = static_cast<unsigned char>(text[i]);
  setText(tmp, n);
}

void String::assignUtf8(const char* text) {
  std::size_t n = 0;
  while (text && text[n])
    ++n;
  assignUtf8(text, n);
}

void String::assignUtf8(const char* bytes, std::size_t n) {
  char16_t tmp[kMaxLength + 1];
  int out = 0;
  const auto* in = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t i = 0;
  while (in && i < n && in[i] && out < kMaxLength) {
    const unsigned char lead = in[i];
    std::size_t len = 0;
    std::uint32_t cp = 0;
    if (lead < 0x80) {
      len = 1;
      cp = lead;
    } else if (lead >= 0xC0 && lead <= 0xDF) {
      len = 2;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      len = 3;
      cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF7) {
      len = 4;
      cp = lead & 0x07;
    } else {
      ++i;  // begins no sequence
      continue;
    }
    if (len > n - i) break;  // a sequence cut short by the end of the data
    for (std::size_t k = 1; k < len; ++k)
      cp = (cp << 6) | (in[i + k] & 0x3F);
    tmp[out++] = static_cast<char16_t>(cp & 0xFFFF);
    i += len;
  }
  setText(tmp, out);
}

const char16_t* String::c_wstr() const { return m_buffer ? m_buffer : kEmpty; }
int String::length() const { return m_buffer ? wideLength(m_buffer) : 0; }

void String::clear() {
  if (m_buffer) m_buffer[0] = 0;
}

void String::truncate(int n) {
  if (m_buffer && n >= 0 && n < length()) m_buffer[n] = 0;
}

const char16_t* String::find(const char16_t* needle) const {
  const int hay = length();
  const int len = wideLength(needle);
  if (!m_buffer || !needle || len >= kCountLimit || len > hay) return nullptr;
  for (int i = 0; i + len <= hay; ++i) {
    if (std::memcmp(m_buffer + i, needle, static_cast<std::size_t>(len) * 2) == 0) {
      return m_buffer + i;
    }
  }
  return nullptr;
}

void String::append(const String& other) {
  String copy(other);
  appendWide(copy.c_wstr());
}

void String::appendWide(const char16_t* text) {
  const int have = length();
  const int add = wideLength(text);
  const int total = clampLength(have + add);
  if (!reserve(total, false)) return;
  if (total > have) std::memcpy(m_buffer + have, text, static_cast<std::size_t>(total - have) * 2);
  m_buffer[total] = 0;
}

void String::appendNarrow(const char* text) {
  String wide(text);
  appendWide(wide.c_wstr());
}

bool String::equals(const String& other) const {
  if (!m_buffer) return false;
  return equalsWide(other.c_wstr());
}

bool String::equalsWide(const char16_t* text) const {
  if (!m_buffer || !text) return false;
  const int n = length();
  return n == wideLength(text) && std::memcmp(m_buffer, text, static_cast<std::size_t>(n) * 2) == 0;
}

bool String::equalsNarrow(const char* text) const {
  if (!m_buffer || !text) return false;
  String wide(text);
  return equalsWide(wide.c_wstr());
}

bool String::compare(const String& other, bool ignoreCase) const {
  if (!m_buffer) return false;
  if (!ignoreCase) return equals(other);
  const int n = length();
  if (n != other.length()) return false;
  const char16_t* b = other.c_wstr();
  for (int i = 0; i < n; ++i) {
    if (lower(m_buffer[i]) != lower(b[i])) return false;
  }
  return true;
}

void String::toLower() {
  const int n = length();
  for (int i = 0; i < n; ++i)
    m_buffer[i] = lower(m_buffer[i]);
}

std::int64_t String::toInt64() const {
  const char16_t* p = c_wstr();
  bool negative = false;
  if (*p == u'-') {
    negative = true;
    ++p;
  }
  std::uint64_t v = 0;
  for (; *p >= u'0' && *p <= u'9'; ++p)
    v = v * 10 + static_cast<std::uint64_t>(*p - u'0');
  // Overflow wraps silently, as callers expect.
  return static_cast<std::int64_t>(negative ? 0 - v : v);
}

std::uint64_t String::toUInt64() const {
  std::uint64_t v = 0;
  for (const char16_t* p = c_wstr(); *p >= u'0' && *p <= u'9'; ++p) {
    v = v * 10 + static_cast<std::uint64_t>(*p - u'0');
  }
  return v;
}

char* String::toNarrowCopy() const {
  const int n = length();
  char* out = static_cast<char*>(ToolboxAlloc(static_cast<std::size_t>(n) + 1));
  if (!out) return nullptr;
  for (int i = 0; i < n; ++i)
    out[i] = static_cast<char>(m_buffer[i] & 0xFF);
  out[n] = 0;
  return out;
}

std::size_t String::utf8Length() const {
  std::size_t total = 0;
  const int n = length();
  for (int i = 0; i < n; ++i)
    total += static_cast<std::size_t>(utf8Size(m_buffer[i]));
  return total;
}

char* String::toUtf8(std::size_t* lengthOut) const {
  const std::size_t total = utf8Length();
  auto* out = static_cast<unsigned char*>(ToolboxAlloc(total + 1));
  if (!out) {
    if (lengthOut) *lengthOut = 0;
    return nullptr;
  }
  std::size_t at = 0;
  const int n = length();
  for (int i = 0; i < n; ++i) {
    const char16_t c = m_buffer[i];
    switch (utf8Size(c)) {
      case 1:
        out[at++] = static_cast<unsigned char>(c);
        break;
      case 2:
        out[at++] = static_cast<unsigned char>(0xC0 | (c >> 6));
        out[at++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        break;
      case 3:
        out[at++] = static_cast<unsigned char>(0xE0 | (c >> 12));
        out[at++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        out[at++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        break;
      default:
        break;
    }
  }
  out[at] = 0;
  if (lengthOut) *lengthOut = at;
  return reinterpret_cast<char*>(out);
}

void String::format(const char* fmt, ...) {
  char buffer[800];
  va_list args;
  va_start(args, fmt);
  const int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  if (n < 0) buffer[0] = 0;
  assignNarrow(buffer);
}

void String::fromInt32(std::int32_t v) { format("%" PRId32, v); }
void String::fromUInt32(std::uint32_t v) { format("%" PRIu32, v); }
void String::fromInt64(std::int64_t v) { format("%" PRId64, v); }
void String::fromUInt64(std::uint64_t v) { format("%" PRIu64, v); }

std::uint64_t String::md5Hash64() const {
  const int n = length();
  if (n == 0) return 0;
  unsigned char bytes[2 * kMaxLength];
  for (int i = 0; i < n; ++i) {
    bytes[2 * i] = static_cast<unsigned char>(m_buffer[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<unsigned char>(m_buffer[i] >> 8);
  }
  unsigned char digest[16];
  Md5Digest::compute(bytes, static_cast<std::size_t>(n) * 2, digest);
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i)
    v = (v << 8) | digest[i];
  return v;
}

NarrowString::NarrowString(const String& text) {
  m_narrow = text.toNarrowCopy();
  const int n = text.length();
  m_wide = static_cast<char16_t*>(ToolboxAlloc((static_cast<std::size_t>(n) + 1) * 2));
  if (m_wide) {
    std::memcpy(m_wide, text.c_wstr(), static_cast<std::size_t>(n) * 2);
    m_wide[n] = 0;
  }
}

NarrowString::~NarrowString() {
  ToolboxFree(m_narrow);
  ToolboxFree(m_wide);
}

}  // namespace OX_Toolbox
