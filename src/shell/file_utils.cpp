#include "shell/file_utils.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/path.h"

namespace shell {
namespace {

const char* const kReservedNames[] = {"CON",  "PRN",  "AUX",  "CLOCK$", "NUL",  "COM1",
                                      "COM2", "COM3", "COM4", "COM5",   "COM6", "COM7",
                                      "COM8", "COM9", "LPT1", "LPT2",   "LPT3", "LPT4",
                                      "LPT5", "LPT6", "LPT7", "LPT8",   "LPT9"};

constexpr char kBadNameChars[] = "\\/:*?\"<>|";

// The folder part of a pattern, with its trailing backslash (or empty).
std::string FolderOf(const char* pattern) {
  std::string p(pattern);
  size_t cut = p.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : p.substr(0, cut + 1);
}

}  // namespace

bool IsReservedDeviceName(const char* name) {
  if (!name) return false;
  std::string base(name);
  base = base.substr(0, base.find('.'));
  for (char& c : base)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const char* r : kReservedNames)
    if (base == r) return true;
  return false;
}

bool IsValidFileName(const char* name) {
  if (!name) return false;
  if (std::strpbrk(name, kBadNameChars)) return false;
  return !IsReservedDeviceName(name);
}

std::vector<std::vector<uint8_t>> LoadMatchingFiles(const char* pattern, size_t size) {
  std::vector<std::vector<uint8_t>> out;
  if (!pattern) return out;
  std::string folder = FolderOf(pattern);
  for (const platform::FindEntry& e : platform::FindFiles(pattern)) {
    if (e.isDirectory) continue;
    std::vector<uint8_t> bytes;
    if (!platform::ReadWholeFile((folder + e.name).c_str(), bytes)) continue;
    if (bytes.size() > size) bytes.resize(size);
    bytes.push_back(0);
    out.push_back(std::move(bytes));
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return std::strcmp(reinterpret_cast<const char*>(a.data()),
                       reinterpret_cast<const char*>(b.data())) < 0;
  });
  return out;
}

std::string FindFileByHeader(const char* pattern, const void* header, size_t size) {
  if (!pattern || !header) return std::string();
  std::string folder = FolderOf(pattern);
  for (const platform::FindEntry& e : platform::FindFiles(pattern)) {
    if (e.isDirectory) continue;
    std::string path = folder + e.name;
    std::vector<uint8_t> bytes;
    if (platform::ReadWholeFile(path.c_str(), bytes) && bytes.size() >= size &&
        std::memcmp(bytes.data(), header, size) == 0)
      return path;
  }
  return std::string();
}

int PageOfIndex(int index, int pageSize, int offset) {
  if (index < 0 || offset < 0 || pageSize <= 0 || offset >= pageSize) return 0;
  return (index + offset) / pageSize;
}

size_t FitTextLength(const char* text, int width, const TextMeasure& measure) {
  if (!text) return 0;
  size_t len = std::strlen(text);
  for (size_t n = 1; n <= len; ++n)
    if (measure(text, n) > width) return n;
  return len;
}

int TopIndexForItem(int itemCount, int topIndex, int item, int clientHeight, int itemHeight) {
  if (item < 0 || item >= itemCount) return -1;
  if (item < topIndex) return item;
  int rows = itemHeight > 0 ? clientHeight / itemHeight : 1;
  if (rows < 1) rows = 1;
  if (item >= topIndex + rows) return item - rows + 1;
  return topIndex;
}

bool CopyWholeFile(const char* from, const char* to) {
  std::vector<uint8_t> bytes;
  if (!platform::ReadWholeFile(from, bytes)) return false;
  return platform::WriteFileAtomic(to, bytes.data(), bytes.size());
}

bool RemovePath(const char* path) {
  std::error_code ec;
  return std::filesystem::remove(std::filesystem::path(platform::NativePath(path)), ec) && !ec;
}

bool FormatPath(std::string& out, size_t limit, const char* format, ...) {
  char buf[1024];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buf, sizeof buf, format, args);
  va_end(args);
  if (n < 0 || static_cast<size_t>(n) >= limit || static_cast<size_t>(n) >= sizeof buf)
    return false;
  out.assign(buf, static_cast<size_t>(n));
  return true;
}

}  // namespace shell
