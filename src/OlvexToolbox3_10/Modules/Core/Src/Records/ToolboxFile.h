#pragma once
// The toolbox's file access: the platform object opens files, each a stdio
// file closed when the object is deleted. The game may hand the core its own
// platform object; the default one opens files on disk.
#include <cstdint>
#include <cstdio>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

namespace OX_Toolbox {

enum FileMode { FILE_MODE_READ = 0, FILE_MODE_WRITE = 1, FILE_MODE_APPEND = 2 };
enum FileKind { FILE_KIND_TEXT = 0, FILE_KIND_BINARY = 1 };

class ToolboxFile : public ToolboxObject {
 public:
  ToolboxFile() = default;
  ToolboxFile(const ToolboxFile&) = delete;
  ToolboxFile& operator=(const ToolboxFile&) = delete;
  virtual ~ToolboxFile();
  virtual bool read(void* buffer, std::uint32_t n);         // exactly n bytes
  virtual bool write(const void* buffer, std::uint32_t n);  // exactly n bytes
  virtual bool seek(std::uint32_t offset);                  // from the start
  virtual std::uint64_t size();

  bool open(const char* path, int mode, int kind);

 private:
  std::FILE* m_file = nullptr;
};

class PlatformInterface : public ToolboxObject {
 public:
  virtual ~PlatformInterface() = default;
  // A new open file the caller deletes, or null.
  virtual ToolboxFile* openFile(const char* path, int mode, int kind) = 0;
};

class DefaultPlatform : public PlatformInterface {
 public:
  ToolboxFile* openFile(const char* path, int mode, int kind) override;
};

}  // namespace OX_Toolbox
