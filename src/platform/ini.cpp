// Conveniences over the private-profile calls, shared by both builds.
#include <vector>

#include "platform/ini.h"

namespace platform {
namespace {

// Splits a NUL-separated list of `len` characters, skipping empty names.
std::vector<std::string> SplitList(const char* buf, uint32_t len) {
  std::vector<std::string> out;
  uint32_t start = 0;
  for (uint32_t i = 0; i <= len; ++i) {
    if (i == len || buf[i] == '\0') {
      if (i > start) out.emplace_back(buf + start, i - start);
      start = i + 1;
    }
  }
  return out;
}

// Grows the buffer until the list is not cut (a cut list returns size - 2).
std::vector<std::string> ReadList(const char* section, const char* file) {
  for (uint32_t size = 4096; size <= (64u << 20); size *= 4) {
    std::vector<char> buf(size);
    uint32_t n = IniGetString(section, nullptr, "", buf.data(), size, file);
    if (n < size - 2) return SplitList(buf.data(), n);
  }
  return {};
}

}  // namespace

std::string IniGet(const char* section, const char* key, const char* def, const char* file,
                   uint32_t maxLen) {
  if (maxLen == 0) return std::string();
  std::vector<char> buf(maxLen);
  uint32_t n = IniGetString(section, key, def, buf.data(), maxLen, file);
  return std::string(buf.data(), n);
}

std::vector<std::string> IniSections(const char* file) { return ReadList(nullptr, file); }

std::vector<std::string> IniKeys(const char* section, const char* file) {
  return ReadList(section, file);
}

}  // namespace platform
