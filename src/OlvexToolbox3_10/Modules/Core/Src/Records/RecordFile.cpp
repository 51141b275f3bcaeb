#include "Modules/Core/Src/Records/RecordFile.h"

#include "Modules/Core/Src/Records/ToolboxFile.h"
#include "Modules/Core/Src/Result/ToolboxResult.h"
#include "Modules/Core/Src/ToolboxCore.h"

namespace OX_Toolbox {

namespace {

constexpr std::uint32_t kHeader = kDigestSize + 4;

ERRORID finish(ERRORID result) {
  LastResult().set(result);
  return result;
}

}  // namespace

PlatformInterface* ToolboxPlatform() {
  static DefaultPlatform fallback;
  ToolboxCore* core = ToolboxCore::instance();
  if (core && core->getPlatform()) return core->getPlatform();
  return &fallback;
}

ERRORID WriteRecordFile(const RecordFileCodec& codec, unsigned char* payload, std::uint32_t n,
                        const char* path) {
  ToolboxFile* file = ToolboxPlatform()->openFile(path, FILE_MODE_WRITE, FILE_KIND_BINARY);
  if (!file) return finish(ERRORID_CANT_OPEN_FILE_WRITE);
  unsigned char digest[kDigestSize];
  codec.digest->digest(digest, payload, n);
  bool ok = true;
  for (std::size_t i = 0; i < kDigestSize; ++i)
    ok = ok && file->write(digest + i, 1);
  const unsigned char length[4] = {
      static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
      static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
  ok = ok && file->write(length, 4);
  codec.scrambler->scramble(digest, payload, n);
  ok = ok && (n == 0 || file->write(payload, n));
  delete file;
  return finish(ok ? ERRORID_SUCCEEDED : ERRORID_CANT_WRITE_FILE);
}

ERRORID ReadRecordFile(const RecordFileCodec& codec, unsigned char** payload, std::uint32_t* n,
                       const char* path) {
  ToolboxFree(*payload);
  *payload = nullptr;
  *n = 0;
  ToolboxFile* file = ToolboxPlatform()->openFile(path, FILE_MODE_READ, FILE_KIND_BINARY);
  if (!file) return finish(ERRORID_CANT_OPEN_FILE_READ);
  unsigned char header[kHeader];
  if (!file->read(header, kHeader)) {
    delete file;
    return finish(ERRORID_CANT_READ_FILE);
  }
  const std::uint32_t length =
      static_cast<std::uint32_t>(header[16]) | static_cast<std::uint32_t>(header[17]) << 8 |
      static_cast<std::uint32_t>(header[18]) << 16 | static_cast<std::uint32_t>(header[19]) << 24;
  // The stated length is trusted only once the file's own size agrees.
  if (file->size() != static_cast<std::uint64_t>(length) + kHeader) {
    delete file;
    return finish(ERRORID_BAD_SIZE);
  }
  auto* buffer = static_cast<unsigned char*>(ToolboxAlloc(length ? length : 1));
  if (!buffer) {
    delete file;
    return finish(ERRORID_NOT_ENOUGH_RAM);
  }
  const bool read = length == 0 || file->read(buffer, length);
  delete file;
  if (!read) {
    ToolboxFree(buffer);
    return finish(ERRORID_CANT_READ_FILE);
  }
  codec.scrambler->unscramble(header, buffer, length);
  unsigned char digest[kDigestSize];
  codec.digest->digest(digest, buffer, length);
  for (std::size_t i = 0; i < kDigestSize; ++i) {
    if (digest[i] != header[i]) {
      ToolboxFree(buffer);
      return finish(ERRORID_BAD_SIGNATURE);
    }
  }
  *payload = buffer;
  *n = length;
  return finish(ERRORID_SUCCEEDED);
}

}  // namespace OX_Toolbox
