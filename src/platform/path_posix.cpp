// Native file layer: the program's Windows-style paths ("Data\\Users\\Bob.ini")
// are mapped onto a case-sensitive file system by matching each component
// case-insensitively against the directory listing.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/path.h"
#include "platform/platform_detail.h"

namespace platform {
namespace {

bool PathExists(const std::string& p) {
  struct stat st;
  return lstat(p.c_str(), &st) == 0;
}

// The name in `dir` that equals `name` ignoring case; the byte-wise smallest
// when several differ only in case, so the choice is stable.
bool FindNoCase(const std::string& dir, const std::string& name, std::string& found) {
  DIR* d = opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  bool any = false;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (detail::EqualsNoCase(n, name) && (!any || n < found)) {
      found = n;
      any = true;
    }
  }
  closedir(d);
  return any;
}

std::string Append(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// FindFirstFile masks: '*' matches any run, '?' one character, letters
// ignore case.
bool WildMatch(const char* p, const char* s) {
  const char* starP = nullptr;
  const char* starS = nullptr;
  while (*s) {
    if (*p == '*') {
      starP = ++p;
      starS = s;
    } else if (*p == '?' || (*p && detail::FoldCase(static_cast<unsigned char>(*p)) ==
                                       detail::FoldCase(static_cast<unsigned char>(*s)))) {
      ++p;
      ++s;
    } else if (starP) {
      p = starP;
      s = ++starS;
    } else {
      return false;
    }
  }
  // Once the name is used up, trailing '.' and '*' match nothing: "README.*"
  // finds "README" and "*.*" every name, as in Win32.
  while (*p == '*' || *p == '.')
    ++p;
  return *p == '\0';
}

bool StatPath(const char* path, struct stat& st) {
  return stat(NativePath(path).c_str(), &st) == 0;
}

}  // namespace

std::string NativePath(const char* path) {
  std::string in = path ? path : "";
  for (char& c : in)
    if (c == '\\') c = '/';
  std::string out = !in.empty() && in[0] == '/' ? "/" : "";
  bool resolving = true;  // stays true while every component so far exists
  size_t pos = 0;
  while (pos < in.size()) {
    size_t end = in.find('/', pos);
    if (end == std::string::npos) end = in.size();
    std::string comp = in.substr(pos, end - pos);
    pos = end + 1;
    if (comp.empty()) continue;
    if (resolving && comp != "." && comp != ".." && !PathExists(Append(out, comp))) {
      std::string found;
      if (FindNoCase(out, comp, found))
        comp = found;
      else
        resolving = false;
    }
    out = Append(out, comp);
  }
  if (!in.empty() && in.back() == '/' && !out.empty() && out.back() != '/') out += '/';
  return out;
}

FILE* OpenFile(const char* path, const char* mode) {
  return std::fopen(NativePath(path).c_str(), mode);
}

bool FileExists(const char* path) {
  struct stat st;
  return StatPath(path, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const char* path) {
  struct stat st;
  return StatPath(path, st) && S_ISDIR(st.st_mode);
}

FileInfo GetFileInfo(const char* path) {
  FileInfo info;
  struct stat st;
  if (!StatPath(path, st)) return info;
  info.exists = true;
  info.regular = S_ISREG(st.st_mode);
  info.size = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
  return info;
}

bool MakeDirectory(const char* path) {
  if (mkdir(NativePath(path).c_str(), 0777) == 0) return true;
  return errno == EEXIST && DirectoryExists(path);
}

bool RemoveFile(const char* path) { return unlink(NativePath(path).c_str()) == 0; }

bool MakeWritable(const char* path) {
  const std::string p = NativePath(path);
  struct stat st;
  if (stat(p.c_str(), &st) != 0) return false;
  return (st.st_mode & S_IWUSR) || chmod(p.c_str(), st.st_mode | S_IWUSR) == 0;
}

bool RenameReplace(const char* from, const char* to) {
  return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

namespace detail {

std::vector<FindEntry> FindFilesUnsorted(const char* pattern) {
  std::vector<FindEntry> out;
  std::string p = pattern ? pattern : "";
  size_t cut = p.find_last_of("/\\");
  std::string dir = cut == std::string::npos ? "" : p.substr(0, cut + 1);
  std::string mask = cut == std::string::npos ? p : p.substr(cut + 1);
  if (mask.empty()) return out;
  std::string nativeDir = dir.empty() ? "." : NativePath(dir.c_str());
  DIR* d = opendir(nativeDir.c_str());
  if (!d) return out;
  while (dirent* e = readdir(d)) {
    if (!WildMatch(mask.c_str(), e->d_name)) continue;
    FindEntry entry;
    entry.name = e->d_name;
    struct stat st;
    if (stat(Append(nativeDir, entry.name).c_str(), &st) == 0) {
      entry.isDirectory = S_ISDIR(st.st_mode);
      entry.size = entry.isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
    }
    out.push_back(std::move(entry));
  }
  closedir(d);
  return out;
}

}  // namespace detail
}  // namespace platform
