#include "shell/archive_format.h"

namespace shell {
namespace {

// Lower case in Windows-1252, the program's code page, so that accented
// names match in any case too: A-Z, Š Œ Ž (0x8A 0x8C 0x8E), Ÿ (0x9F) and
// À..Þ except × (0xD7).
inline unsigned Fold(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20u;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 0x10u;
  if (c == 0x9F) return 0xFF;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20u;
  return c;
}

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
