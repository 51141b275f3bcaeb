#include "shell/archive_format.h"

namespace shell {
namespace {

inline unsigned Fold(unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }

}  // namespace

int ResNameCompare(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned ca = Fold(static_cast<unsigned char>(*a));
    const unsigned cb = Fold(static_cast<unsigned char>(*b));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

bool ParseArchiveEntry(const uint8_t* bytes, ResArchiveEntry* out) {
  if (!std::memchr(bytes, 0, kArchiveNameSize)) return false;
  std::memcpy(out->name, bytes, kArchiveNameSize);
  out->tag = ReadU32(bytes + 64);
  out->offset = ReadU32(bytes + 68);
  out->unpackedSize = ReadU32(bytes + 72);
  out->storedSize = ReadU32(bytes + 76);
  return true;
}

void SerializeArchiveEntry(const ResArchiveEntry& entry, uint8_t* bytes) {
  std::memset(bytes, 0, kArchiveEntrySize);
  std::memcpy(bytes, entry.name, strnlen(entry.name, kArchiveNameSize - 1));
  WriteU32(bytes + 64, entry.tag);
  WriteU32(bytes + 68, entry.offset);
  WriteU32(bytes + 72, entry.unpackedSize);
  WriteU32(bytes + 76, entry.storedSize);
}

}  // namespace shell
