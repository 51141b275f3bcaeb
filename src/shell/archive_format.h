#pragma once
// Resource archive layout: an index file (".idx") naming the entries and a
// data file (".dat") holding their bytes. Little-endian throughout.
//
// Index: 32-byte header (u32 header size = 32 at 0, u32 entry count at 20,
// the rest unused), then one 80-byte entry per name, sorted by
// ResNameCompare:
//   0  name, 64 bytes, NUL-terminated ASCII
//   64 method tag, four ASCII characters in file order
//   68 u32 offset of the stored bytes in the data file
//   72 u32 unpacked size
//   76 u32 stored size
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace shell {

constexpr uint32_t kArchiveHeaderSize = 32;
constexpr uint32_t kArchiveCountOffset = 20;
constexpr uint32_t kArchiveEntrySize = 80;
// Entries an index may hold: far beyond any pack, small enough that a planted
// huge index is refused before it is read.
constexpr uint32_t kMaxArchiveEntries = uint32_t{1} << 20;
constexpr uint64_t kMaxArchiveIndexSize =
    kArchiveHeaderSize + uint64_t{kArchiveEntrySize} * kMaxArchiveEntries;
constexpr size_t kArchiveNameSize = 64;

// A tag as the u32 of its four characters read little-endian.
constexpr uint32_t MakeTag(const char (&t)[5]) {
  return uint32_t(uint8_t(t[0])) | uint32_t(uint8_t(t[1])) << 8 | uint32_t(uint8_t(t[2])) << 16 |
         uint32_t(uint8_t(t[3])) << 24;
}

constexpr uint32_t kTagStored = MakeTag("0000");
constexpr uint32_t kTagLzss = MakeTag("LZSS");
constexpr uint32_t kTagImploded = MakeTag("PKZP");
constexpr uint32_t kTagAdpcm = MakeTag("ADPC");
constexpr uint32_t kTagImaAdpcm = MakeTag("IMAP");
constexpr uint32_t kTagMp3 = MakeTag("MP3 ");
constexpr uint32_t kTagQtpv = MakeTag("QTPV");

struct ResArchiveEntry {
  char name[kArchiveNameSize];  // always NUL-terminated once parsed
  uint32_t tag;
  uint32_t offset;
  uint32_t unpackedSize;
  uint32_t storedSize;
};

inline uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void WriteU16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void WriteU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = uint8_t(v >> (8 * i));
}

// The archives' name order: case-insensitive (letters of Windows-1252
// compared as lower case), then by byte value. Builder and reader must
// agree on it.
int ResNameCompare(const char* a, const char* b);

// Parses one 80-byte entry; false when its name has no terminating NUL.
bool ParseArchiveEntry(const uint8_t* bytes, ResArchiveEntry* out);
void SerializeArchiveEntry(const ResArchiveEntry& entry, uint8_t* bytes);

}  // namespace shell
