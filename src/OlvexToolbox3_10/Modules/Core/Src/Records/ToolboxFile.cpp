#include "Modules/Core/Src/Records/ToolboxFile.h"

#include <new>

namespace OX_Toolbox {

ToolboxFile::~ToolboxFile() {
  if (m_file) std::fclose(m_file);
}

bool ToolboxFile::open(const char* path, int mode, int kind) {
  if (!path || m_file) return false;
  static const char* const kModes[3][2] = {{"rt", "rb"}, {"wt", "wb"}, {"at", "ab"}};
  if (mode < 0 || mode > 2 || kind < 0 || kind > 1) return false;
  const char* letters = kModes[mode][kind];
#if !defined(_WIN32)
  // Only the Windows runtime knows 't'; elsewhere text and binary are one.
  static const char* const kPosix[3] = {"r", "w", "a"};
  letters = kPosix[mode];
#endif
  m_file = std::fopen(path, letters);
  return m_file != nullptr;
}

bool ToolboxFile::read(void* buffer, std::uint32_t n) {
  return m_file && std::fread(buffer, 1, n, m_file) == n;
}

bool ToolboxFile::write(const void* buffer, std::uint32_t n) {
  return m_file && std::fwrite(buffer, 1, n, m_file) == n;
}

bool ToolboxFile::seek(std::uint32_t offset) {
  return m_file && std::fseek(m_file, static_cast<long>(offset), SEEK_SET) == 0;
}

std::uint64_t ToolboxFile::size() {
  if (!m_file) return 0;
  const long here = std::ftell(m_file);
  if (here < 0 || std::fseek(m_file, 0, SEEK_END) != 0) return 0;
  const long end = std::ftell(m_file);
  std::fseek(m_file, here, SEEK_SET);
  return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

ToolboxFile* DefaultPlatform::openFile(const char* path, int mode, int kind) {
  auto* file = new (std::nothrow) ToolboxFile();
  if (!file) return nullptr;
  if (!file->open(path, mode, kind)) {
    delete file;
    return nullptr;
  }
  return file;
}

}  // namespace OX_Toolbox
