// The parts of the file layer that both builds share; the OS-specific calls
// are in path_posix.cpp and path_win32.cpp.
#include <algorithm>
#include <cstring>
#include <new>

#include "platform/path.h"
#include "platform/platform_detail.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace platform {
namespace detail {

unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  // Windows-1252: Š Œ Ž at 0x8A/0x8C/0x8E, Ÿ at 0x9F, À..Þ except × at 0xD7.
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);
  if (c == 0x9F) return 0xFF;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  return c;
}

int CompareNoCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int d = FoldCase(static_cast<unsigned char>(a[i])) - FoldCase(static_cast<unsigned char>(b[i]));
    if (d != 0) return d;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

bool EqualsNoCaseAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x != y && !((x ^ y) == 0x20 && ((x | 0x20) >= 'a' && (x | 0x20) <= 'z'))) return false;
  }
  return true;
}

bool WriteFileReplacing(const char* path, const void* data, size_t size, bool sync) {
  // A fixed name beside the target: a leftover from a crash is simply
  // overwritten by the next save.
  std::string tmp = std::string(path) + ".tmp";
  FILE* f = OpenFile(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  ok = std::fflush(f) == 0 && ok;
  if (ok && sync) {
#ifdef _WIN32
    ok = _commit(_fileno(f)) == 0;
#else
    ok = fsync(fileno(f)) == 0;
#endif
  }
  ok = std::fclose(f) == 0 && ok;
  if (ok && RenameReplace(tmp.c_str(), path)) return true;
  RemoveFile(tmp.c_str());
  return false;
}

}  // namespace detail

bool ReadWholeFile(const char* path, std::vector<uint8_t>& out) {
  out.clear();
  const FileInfo info = GetFileInfo(path);
  if (info.exists && !info.regular) return false;
  FILE* f = OpenFile(path, "rb");
  if (!f) return false;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
    out.insert(out.end(), chunk, chunk + n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

ReadStatus ReadFileBounded(const char* path, uint64_t maxBytes, std::vector<uint8_t>& out) {
  out.clear();
  const FileInfo info = GetFileInfo(path);
  if (!info.exists) return ReadStatus::kCannotOpen;
  if (!info.regular) return ReadStatus::kNotAFile;
  if (info.size > maxBytes) return ReadStatus::kTooLarge;
  FILE* f = OpenFile(path, "rb");
  if (!f) return ReadStatus::kCannotOpen;
  ReadStatus status = ReadStatus::kOk;
  try {
    out.resize(static_cast<size_t>(info.size));
    // The file may have changed since it was measured: read what is there
    // now, still never more than the bound.
    const size_t got = std::fread(out.data(), 1, out.size(), f);
    if (std::ferror(f)) {
      status = ReadStatus::kReadError;
    } else if (got < out.size()) {
      out.resize(got);
    } else if (std::fgetc(f) != EOF) {
      status = ReadStatus::kTooLarge;
    }
  } catch (const std::bad_alloc&) {
    status = ReadStatus::kNoMemory;
  }
  std::fclose(f);
  if (status != ReadStatus::kOk) out.clear();
  return status;
}

ReadStatus ReadFileHead(const char* path, size_t n, std::vector<uint8_t>& out) {
  out.clear();
  const FileInfo info = GetFileInfo(path);
  if (!info.exists) return ReadStatus::kCannotOpen;
  if (!info.regular) return ReadStatus::kNotAFile;
  FILE* f = OpenFile(path, "rb");
  if (!f) return ReadStatus::kCannotOpen;
  out.resize(static_cast<size_t>(std::min<uint64_t>(n, info.size)));
  const size_t got = std::fread(out.data(), 1, out.size(), f);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  out.resize(failed ? 0 : got);
  return failed ? ReadStatus::kReadError : ReadStatus::kOk;
}

const char* ReadStatusText(ReadStatus status) {
  switch (status) {
    case ReadStatus::kOk:
      return "ok";
    case ReadStatus::kCannotOpen:
      return "cannot open";
    case ReadStatus::kNotAFile:
      return "not a file";
    case ReadStatus::kTooLarge:
      return "file too large";
    case ReadStatus::kReadError:
      return "read error";
    case ReadStatus::kNoMemory:
      return "no memory";
  }
  return "read error";
}

bool WriteFileAtomic(const char* path, const void* data, size_t size) {
  return detail::WriteFileReplacing(path, data, size, true);
}

std::vector<FindEntry> FindFiles(const char* pattern) {
  std::vector<FindEntry> entries = detail::FindFilesUnsorted(pattern);
  std::sort(entries.begin(), entries.end(), [](const FindEntry& a, const FindEntry& b) {
    int d = detail::CompareNoCase(a.name, b.name);
    return d != 0 ? d < 0 : a.name < b.name;
  });
  return entries;
}

std::string JoinPath(const std::string& a, const std::string& b) { return a + "\\" + b; }

}  // namespace platform
