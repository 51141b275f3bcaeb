#include "shell/shell_utils.h"

#include <cstdio>
#include <cstring>

#include "platform/clock.h"
#include "platform/guid.h"

namespace shell {

bool NewGuid(uint8_t* guid) {
  if (!guid) return false;
  platform::Guid g = platform::CreateGuid();
  if (g.IsNull()) return false;
  // The in-memory layout of a Win32 GUID: three little-endian words, then
  // the eight bytes as they are.
  for (int i = 0; i < 4; ++i)
    guid[i] = static_cast<uint8_t>(g.data1 >> (8 * i));
  guid[4] = static_cast<uint8_t>(g.data2);
  guid[5] = static_cast<uint8_t>(g.data2 >> 8);
  guid[6] = static_cast<uint8_t>(g.data3);
  guid[7] = static_cast<uint8_t>(g.data3 >> 8);
  std::memcpy(guid + 8, g.data4, 8);
  return true;
}

bool IsSameGuid(const uint8_t* a, const uint8_t* b) {
  static const uint8_t zero[kGuidSize] = {};
  if (!a || !b || std::memcmp(a, zero, kGuidSize) == 0 || std::memcmp(b, zero, kGuidSize) == 0)
    return false;
  return std::memcmp(a, b, kGuidSize) == 0;
}

const char* GetDateTimeString() {
  static char text[32];
  platform::LocalDateTime t = platform::GetLocalDateTime();
  std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", t.month, t.day, t.year % 100,
                t.hour, t.minute, t.second);
  return text;
}

std::string StripBracedText(const std::string& source, bool* removed) {
  std::string out;
  int depth = 0;
  bool any = false;
  for (char c : source) {
    if (c == '{') {
      ++depth;
      any = true;
    } else if (c == '}' && depth > 0) {
      --depth;
    } else if (depth == 0) {
      out += c;
    }
  }
  if (removed) *removed = any;
  return out;
}

int StripBracedText(const char* source, char* target, size_t targetSize) {
  if (!source || !target || targetSize == 0) return 0;
  bool removed = false;
  std::string out = StripBracedText(std::string(source), &removed);
  size_t n = out.size() < targetSize ? out.size() : targetSize - 1;
  std::memcpy(target, out.data(), n);
  target[n] = '\0';
  return removed ? 1 : 0;
}

}  // namespace shell
