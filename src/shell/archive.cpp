#include "shell/archive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/message_sink.h"
#include "platform/path.h"
#include "shell/adpcm.h"
#include "shell/bitmap_file.h"
#include "shell/dcl.h"

namespace shell {
namespace {

constexpr uint32_t kBoxOk = 0x00;
constexpr uint32_t kBoxExclamation = 0x30;

// The format's best case is a 518-byte repetition in about three bytes, so
// no honest entry expands further than this; it only caps the reservation.
constexpr uint64_t kMaxExplodeRatio = 256;

struct MethodRow {
  uint32_t tag;
  const char* name;
};

const MethodRow kMethods[] = {
    {kTagStored, ""},     {kTagLzss, "LZSS"},          {kTagImploded, "PKZip"},
    {kTagAdpcm, "ADPCM"}, {kTagImaAdpcm, "IMA ADPCM"}, {kTagMp3, "MP3"},
    {kTagQtpv, "QT-PV"},
};

bool IsEmpty(const char* s) { return !s || !*s; }

int FindIn(const ResArchiveEntry* entries, int count, const char* name) {
  if (count <= 0) return -1;
  if (ResNameCompare(name, entries[0].name) == 0) return 0;
  if (ResNameCompare(name, entries[count - 1].name) == 0) return count - 1;
  if (count < 4) {
    for (int i = 1; i < count - 1; ++i) {
      if (ResNameCompare(name, entries[i].name) == 0) return i;
    }
    return -1;
  }
  const int mid = count / 2;
  const int order = ResNameCompare(name, entries[mid].name);
  if (order == 0) return mid;
  if (order < 0) return FindIn(entries, mid, name);
  // With an odd count the last entry lies outside both halves; it was
  // checked above.
  const int found = FindIn(entries + mid, mid, name);
  return found < 0 ? -1 : mid + found;
}

// The index given, or one loaded into `temp` from indexPath.
const ResArchiveIndex* IndexFor(const char* indexPath, const ResArchiveIndex* index,
                                std::unique_ptr<ResArchiveIndex>& temp) {
  if (index) return index;
  temp = ResArchiveLoadIndex(indexPath);
  return temp.get();
}

const ResArchiveEntry* Lookup(const ResArchiveIndex& index, const char* name) {
  const int i = ResArchiveFind(index.entries.data(), int(index.entries.size()), name);
  if (i < 0 || ResNameCompare(index.entries[size_t(i)].name, name) != 0) return nullptr;
  return &index.entries[size_t(i)];
}

// Size of an open file, or -1.
long FileSize(FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return -1;
  return std::ftell(f);
}

struct ExplodeIo {
  const uint8_t* stored;
  size_t remaining;
  ResBlock* out;
  size_t limit;
  bool overflow = false;
};

unsigned ReadStoredBytes(uint8_t* buffer, unsigned* size, void* param) {
  auto* io = static_cast<ExplodeIo*>(param);
  // Past the stated size the rest is damage: starve the decoder so it stops.
  if (io->overflow) return 0;
  const unsigned n = unsigned(std::min<size_t>(*size, io->remaining));
  if (n) std::memcpy(buffer, io->stored, n);
  io->stored += n;
  io->remaining -= n;
  return n;
}

void WriteExploded(uint8_t* buffer, unsigned* size, void* param) {
  auto* io = static_cast<ExplodeIo*>(param);
  const size_t room = io->limit - io->out->size();
  const size_t n = std::min<size_t>(*size, room);
  io->out->insert(io->out->end(), buffer, buffer + n);
  if (n < *size) io->overflow = true;
}

struct ImplodeIo {
  const uint8_t* input;
  size_t remaining;
  ResBlock* out;
};

unsigned ReadPlain(uint8_t* buffer, unsigned* size, void* param) {
  auto* io = static_cast<ImplodeIo*>(param);
  const unsigned n = unsigned(std::min<size_t>(*size, io->remaining));
  if (n) std::memcpy(buffer, io->input, n);
  io->input += n;
  io->remaining -= n;
  return n;
}

void WriteImploded(uint8_t* buffer, unsigned* size, void* param) {
  auto* io = static_cast<ImplodeIo*>(param);
  io->out->insert(io->out->end(), buffer, buffer + *size);
}

void ReportExplode(int result) {
  static const char* const kTexts[] = {"Explode size mismatch", "Explode invalid Dictionary size",
                                       "Explode invalid Mode", "Explode bad data", "Explode abort"};
  platform::ShowNotice(kTexts[result], result == kDclOk ? "Oops" : "Uh-Oh!", kBoxOk);
}

// Decodes a stored block by its method tag; nullopt when decoding fails.
std::optional<ResBlock> Decode(const ResArchiveEntry& entry, ResBlock stored) {
  if (entry.tag == kTagAdpcm) {
    ResBlock out = AdpcmDecodeEntry(stored.data(), stored.size(), entry.unpackedSize);
    if (out.size() != entry.unpackedSize) return std::nullopt;
    return out;
  }
  if (entry.tag == kTagImploded) {
    ResBlock out;
    const int r = ExplodeEntry(stored.data(), stored.size(), entry.unpackedSize, &out);
    if (r == kExplodeEntryNoWorkArea) {
      platform::ShowNotice("Memory Allocation Error: Unable to allocate required memory.",
                           "Decompression Error", kBoxExclamation);
    }
    if (r != kExplodeEntryOk) return std::nullopt;
    return out;
  }
  return stored;
}

}  // namespace

std::unique_ptr<ResArchiveIndex> ResArchiveParseIndex(const uint8_t* data, size_t size) {
  if (!data || size < kArchiveHeaderSize) return nullptr;
  if (ReadU32(data) != kArchiveHeaderSize) return nullptr;
  const uint64_t count = ReadU32(data + kArchiveCountOffset);
  if (count > (size - kArchiveHeaderSize) / kArchiveEntrySize) return nullptr;
  // Look-ups index the directory with an int.
  if (count > uint64_t(INT32_MAX)) return nullptr;
  auto index = std::make_unique<ResArchiveIndex>();
  index->entries.resize(size_t(count));
  const uint8_t* p = data + kArchiveHeaderSize;
  for (ResArchiveEntry& e : index->entries) {
    if (!ParseArchiveEntry(p, &e)) return nullptr;
    p += kArchiveEntrySize;
  }
  return index;
}

std::unique_ptr<ResArchiveIndex> ResArchiveLoadIndex(const char* indexPath) {
  if (IsEmpty(indexPath)) return nullptr;
  std::vector<uint8_t> bytes;
  if (platform::ReadFileBounded(indexPath, kMaxArchiveIndexSize, bytes) !=
      platform::ReadStatus::kOk)
    return nullptr;
  return ResArchiveParseIndex(bytes.data(), bytes.size());
}

int ResArchiveFind(const ResArchiveEntry* entries, int count, const char* name) {
  if (!entries || !name) return -1;
  return FindIn(entries, count, name);
}

bool ResArchiveFindEntry(const char* indexPath, const char* dataPath, const char* name,
                         const ResArchiveIndex* index, ResArchiveEntry* outEntry) {
  if ((!indexPath && !index) || IsEmpty(dataPath) || !name) return false;
  std::unique_ptr<ResArchiveIndex> temp;
  const ResArchiveIndex* dir = IndexFor(indexPath, index, temp);
  if (!dir) return false;
  const ResArchiveEntry* e = Lookup(*dir, name);
  if (!e) return false;
  if (outEntry) *outEntry = *e;
  return true;
}

std::optional<ResBlock> ResArchiveReadStored(const char* dataPath, const ResArchiveEntry& entry) {
  FILE* f = platform::OpenFile(dataPath, "rb");
  if (!f) return std::nullopt;
  const long size = FileSize(f);
  bool whole = size >= 0 && entry.offset <= uint64_t(size) &&
               entry.storedSize <= uint64_t(size) - entry.offset;
  ResBlock block;
  if (whole) {
    block.resize(entry.storedSize);
    whole = std::fseek(f, long(entry.offset), SEEK_SET) == 0 &&
            std::fread(block.data(), 1, block.size(), f) == block.size();
  }
  std::fclose(f);
  if (!whole) {
    platform::ShowNotice("Data read - incorrect size!", "Error", kBoxOk);
    return std::nullopt;
  }
  return block;
}

std::optional<ResBlock> ResArchiveRead(const char* indexPath, const char* dataPath,
                                       const char* name, const ResArchiveIndex* index,
                                       ResArchiveEntry* outEntry) {
  if ((!indexPath && !index) || IsEmpty(dataPath) || !name || !outEntry) return std::nullopt;
  std::unique_ptr<ResArchiveIndex> temp;
  const ResArchiveIndex* dir = IndexFor(indexPath, index, temp);
  if (!dir) return std::nullopt;
  const ResArchiveEntry* e = Lookup(*dir, name);
  if (!e) return std::nullopt;
  auto stored = ResArchiveReadStored(dataPath, *e);
  if (!stored) return std::nullopt;
  auto block = Decode(*e, std::move(*stored));
  if (!block) return std::nullopt;
  *outEntry = *e;
  outEntry->offset = 0;
  return block;
}

std::optional<ResBlock> ResArchiveLoadBitmap(const char* indexPath, const char* dataPath,
                                             const char* name, const ResArchiveIndex* index,
                                             ResArchiveEntry* outEntry) {
  auto block = ResArchiveRead(indexPath, dataPath, name, index, outEntry);
  if (!block || block->size() < 2 || (*block)[0] != 'B' || (*block)[1] != 'M') return block;
  return BitmapFileToPackedDib(block->data(), block->size());
}

const char* ResArchiveMethodName(uint32_t tag) {
  for (const MethodRow& row : kMethods) {
    if (row.tag == tag) return row.name;
  }
  return "";
}

const char* ResArchiveMethodNameByIndex(int index) {
  constexpr int kCount = int(sizeof(kMethods) / sizeof(kMethods[0]));
  return index >= 0 && index < kCount ? kMethods[index].name : "";
}

int ExplodeEntry(const uint8_t* stored, size_t storedSize, uint32_t unpackedSize,
                 ResBlock* outBlock) {
  std::unique_ptr<ExplodeWork> work(new (std::nothrow) ExplodeWork);
  if (!work) return kExplodeEntryNoWorkArea;
  outBlock->clear();
  outBlock->reserve(size_t(std::min<uint64_t>(unpackedSize, storedSize * kMaxExplodeRatio)));
  ExplodeIo io{stored, storedSize, outBlock, unpackedSize};
  const int result = Explode(ReadStoredBytes, WriteExploded, work.get(), &io);
  // Output past the stated size starves the decoder, so an overflow shows
  // as a mismatch rather than as the abort it causes.
  const bool mismatch = io.overflow || (result == kDclOk && outBlock->size() != unpackedSize);
  if (mismatch || result != kDclOk) {
    ReportExplode(mismatch ? kDclOk : result);
    return kExplodeEntryFailed;
  }
  return kExplodeEntryOk;
}

int ImplodeBuffer(const uint8_t* input, size_t size, ResBlock* outBlock) {
  std::unique_ptr<ImplodeWork> work(new (std::nothrow) ImplodeWork);
  if (!work) {
    platform::ShowNotice("Allocation Error 3.", "Error", kBoxExclamation);
    return 1;
  }
  const unsigned dict = size < 2048 ? 1024 : size < 4096 ? 2048 : 4096;
  outBlock->clear();
  ImplodeIo io{input, size, outBlock};
  Implode(ReadPlain, WriteImploded, work.get(), &io, kDclBinary, dict);
  return 0;
}

}  // namespace shell
