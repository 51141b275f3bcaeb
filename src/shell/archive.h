#pragma once
// Resource archive reader: finds an entry of an ".idx"/".dat" pair by name,
// reads its stored bytes and decodes them by method tag. Every call opens,
// reads and closes its files; blocks handed out belong to the caller.
//
// Everything read from the files is checked: a damaged index is refused
// whole, and an entry whose bytes lie outside the data file, whose decoding
// fails or whose decoded size differs from its unpacked size reads as
// nullopt, never as data.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "shell/archive_format.h"

namespace shell {

using ResBlock = std::vector<uint8_t>;

struct ResArchiveIndex {
  uint32_t headerSize = kArchiveHeaderSize;
  std::vector<ResArchiveEntry> entries;
};

// Parses an index file's bytes; null unless the header size is 32, the file
// holds all N entries and every name is NUL-terminated.
std::unique_ptr<ResArchiveIndex> ResArchiveParseIndex(const uint8_t* data, size_t size);
// Null for a null or empty path, an unreadable file or a damaged index.
std::unique_ptr<ResArchiveIndex> ResArchiveLoadIndex(const char* indexPath);

// Index of the entry named `name` (ResNameCompare), or -1. Halves the sorted
// directory, checking the first and last entry of each part directly.
int ResArchiveFind(const ResArchiveEntry* entries, int count, const char* name);

// Finds `name` in `index`, or in the index loaded from indexPath when index
// is null; copies the entry to outEntry when given.
bool ResArchiveFindEntry(const char* indexPath, const char* dataPath, const char* name,
                         const ResArchiveIndex* index, ResArchiveEntry* outEntry);

// Reads and decodes an entry; outEntry (required) receives a copy of the
// entry with its offset set to 0. Reports failures that the user should see
// through platform::ShowNotice, as the program always has.
std::optional<ResBlock> ResArchiveRead(const char* indexPath, const char* dataPath,
                                       const char* name, const ResArchiveIndex* index,
                                       ResArchiveEntry* outEntry);

// ResArchiveRead; a block starting with "BM" comes back as a packed DIB
// (nullopt when it cannot be converted), anything else as read.
std::optional<ResBlock> ResArchiveLoadBitmap(const char* indexPath, const char* dataPath,
                                             const char* name, const ResArchiveIndex* index,
                                             ResArchiveEntry* outEntry);

// The entry's stored bytes; nullopt (after the "incorrect size" notice) when
// they do not lie wholly inside the data file.
std::optional<ResBlock> ResArchiveReadStored(const char* dataPath, const ResArchiveEntry& entry);

// Display names of the method tags; "" for anything else.
const char* ResArchiveMethodName(uint32_t tag);
const char* ResArchiveMethodNameByIndex(int index);

enum ExplodeEntryResult : int {
  kExplodeEntryOk = 0,
  kExplodeEntryNoWorkArea = 1,
  kExplodeEntryFailed = 2,  // decoding error or size mismatch, already reported
};

// Explodes a "PKZP" entry into *outBlock, which never grows past
// unpackedSize bytes.
int ExplodeEntry(const uint8_t* stored, size_t storedSize, uint32_t unpackedSize,
                 ResBlock* outBlock);

// Implodes with binary literals; the dictionary is 1024 bytes below 2048
// bytes of input, 2048 below 4096, else 4096. 0 on success, 1 when the work
// area cannot be had.
int ImplodeBuffer(const uint8_t* input, size_t size, ResBlock* outBlock);

}  // namespace shell
