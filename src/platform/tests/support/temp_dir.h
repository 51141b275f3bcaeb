#pragma once
// A fresh folder under the system temp folder, removed with its contents when
// the object goes away. Works in both builds (under Wine it is a C:\ path).
#include <string>

namespace testsupport {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, in the OS's own spelling.
  const std::string& path() const { return path_; }
  // The folder joined with `name` by the OS's separator.
  std::string operator/(const std::string& name) const;

 private:
  std::string path_;
};

// Writes bytes to a file, replacing it; false on failure.
bool WriteBytes(const std::string& path, const std::string& bytes);
// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& path);
// A file of `size` bytes that takes no room (a sparse file), for the readers
// that must refuse a planted huge file before reading it; false on failure.
bool MakeHugeFile(const std::string& path, unsigned long long size);

}  // namespace testsupport
