#pragma once
// Files and paths. The program joins paths with backslashes ("%s\\%s") and
// spells names in mixed case; natively each component is looked up
// case-insensitively and backslashes are folder separators, so the same
// strings work in both builds.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// The path as the OS wants it: on Windows unchanged; natively with '/'
// separators and every existing component matched case-insensitively
// (components that do not exist yet are kept as written).
std::string NativePath(const char* path);

// fopen through NativePath.
FILE* OpenFile(const char* path, const char* mode);
bool FileExists(const char* path);
bool DirectoryExists(const char* path);
bool MakeDirectory(const char* path);  // one level; true if it exists afterwards
bool RemoveFile(const char* path);
// Clears a read-only mark (the owner write bit natively); true when the
// file is writable afterwards.
bool MakeWritable(const char* path);
// Replaces `to` with `from` in one step (MoveFileEx with REPLACE_EXISTING).
bool RenameReplace(const char* from, const char* to);
// Reads a whole regular file; false when it is no regular file, or cannot be
// opened or read.
bool ReadWholeFile(const char* path, std::vector<uint8_t>& out);

enum class ReadStatus { kOk, kCannotOpen, kNotAFile, kTooLarge, kReadError, kNoMemory };
// Reads a whole regular file of at most maxBytes bytes. The kind and size of
// the file are checked before a byte is read, so a directory, a device or a
// huge planted file is refused at once.
ReadStatus ReadFileBounded(const char* path, uint64_t maxBytes, std::vector<uint8_t>& out);
// Reads the first n bytes of a regular file (fewer when it is shorter).
ReadStatus ReadFileHead(const char* path, size_t n, std::vector<uint8_t>& out);
// "not a file", "file too large", ... for messages.
const char* ReadStatusText(ReadStatus status);

struct FileInfo {
  bool exists = false;
  bool regular = false;  // a plain file: no directory, device or pipe
  uint64_t size = 0;
};
FileInfo GetFileInfo(const char* path);
// Writes a whole file safely: a temporary file beside it, then a rename, so
// the previous file survives any failure.
bool WriteFileAtomic(const char* path, const void* data, size_t size);

struct FindEntry {
  std::string name;  // as stored on disk
  bool isDirectory = false;
  uint64_t size = 0;
};

// FindFirstFile/FindNextFile semantics: the last component of `pattern` may
// hold '*' and '?', matched case-insensitively ("*.*" matches every name, "*"
// too); "." and ".." are listed for directories as Win32 does. Sorted by name
// case-insensitively so both builds list in the same order.
std::vector<FindEntry> FindFiles(const char* pattern);

// Joins with a backslash, as the program does.
std::string JoinPath(const std::string& a, const std::string& b);

}  // namespace platform
