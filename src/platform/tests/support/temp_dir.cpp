#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/guid.h"

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir() {
  std::string name = platform::GuidToString(platform::CreateGuid());
  fs::path p = fs::temp_directory_path() / ("tess_" + name.substr(1, 8) + name.substr(25, 12));
  fs::create_directories(p);
  path_ = p.string();
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::operator/(const std::string& name) const {
  return (fs::path(path_) / name).string();
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool MakeHugeFile(const std::string& path, unsigned long long size) {
  if (!WriteBytes(path, "")) return false;
  std::error_code error;
  std::filesystem::resize_file(path, size, error);
  return !error;
}

}  // namespace testsupport
