// Arbitrary bytes as an ini file: every look-up stays inside its buffer and
// returns a terminated result below the size, and a value written is read
// back unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/ini.h"

namespace {

std::string FuzzFile() {
  static const std::string path = "/tmp/tess_ini_fuzz_" + std::to_string(getpid()) + ".ini";
  return path;
}

void Check(const char* section, const char* key, const char* file) {
  for (uint32_t size : {1u, 2u, 3u, 7u, 64u}) {
    char buf[72];
    std::memset(buf, '#', sizeof buf);
    uint32_t n = platform::IniGetString(section, key, "def", buf, size, file);
    if (n >= size || buf[n] != '\0') std::abort();
    for (size_t i = size; i < sizeof buf; ++i)
      if (buf[i] != '#') std::abort();
  }
  platform::IniGetInt(section, key, 7, file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string file = FuzzFile();
  FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  // Names taken from the input itself reach its sections and keys.
  std::string a(reinterpret_cast<const char*>(data), size < 8 ? size : 8);
  a = a.c_str();
  for (const char* section : {static_cast<const char*>(nullptr), "", "a", a.c_str()})
    for (const char* key : {static_cast<const char*>(nullptr), "", "k", a.c_str()})
      if (section) Check(section, key, file.c_str());
  Check(nullptr, nullptr, file.c_str());

  if (platform::IniWriteString("Fuzz Section", "Fuzz Key", "value 1", file.c_str())) {
    char buf[16];
    platform::IniGetString("fuzz section", "FUZZ KEY", "", buf, sizeof buf, file.c_str());
    if (std::strcmp(buf, "value 1") != 0) std::abort();
  }
  std::remove(file.c_str());
  return 0;
}
