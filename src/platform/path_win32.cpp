// Win32 file layer: paths are passed to the ANSI API unchanged (it already
// accepts backslashes and ignores case).
#include <windows.h>

#include <cstdio>

#include "platform/path.h"
#include "platform/platform_detail.h"

namespace platform {

std::string NativePath(const char* path) { return path ? path : ""; }

FILE* OpenFile(const char* path, const char* mode) { return std::fopen(path, mode); }

bool FileExists(const char* path) {
  DWORD a = GetFileAttributesA(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const char* path) {
  DWORD a = GetFileAttributesA(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

FileInfo GetFileInfo(const char* path) {
  FileInfo info;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return info;
  info.exists = true;
  info.regular = !(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
  info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return info;
}

bool MakeDirectory(const char* path) {
  if (CreateDirectoryA(path, nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS && DirectoryExists(path);
}

bool RemoveFile(const char* path) { return DeleteFileA(path) != 0; }

bool MakeWritable(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return !(attributes & FILE_ATTRIBUTE_READONLY) ||
         SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY) != 0;
}

bool RenameReplace(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
}

namespace detail {

std::vector<FindEntry> FindFilesUnsorted(const char* pattern) {
  std::vector<FindEntry> out;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(pattern, &fd);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    FindEntry e;
    e.name = fd.cFileName;
    e.isDirectory = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    e.size = e.isDirectory ? 0 : (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    out.push_back(std::move(e));
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return out;
}

}  // namespace detail
}  // namespace platform
