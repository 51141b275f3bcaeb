// The index reader must refuse or accept any bytes without faults; an
// accepted index must find only names that equal the one asked, and must
// survive being written back and read again unchanged.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shell/archive.h"
#include "shell/archive_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto index = shell::ResArchiveParseIndex(data, size);
  if (!index) return 0;
  const auto& entries = index->entries;
  const int count = int(entries.size());
  for (const shell::ResArchiveEntry& e : entries) {
    if (!std::memchr(e.name, 0, sizeof(e.name))) std::abort();
    const int found = shell::ResArchiveFind(entries.data(), count, e.name);
    if (found >= count ||
        (found >= 0 && shell::ResNameCompare(entries[size_t(found)].name, e.name) != 0)) {
      std::abort();
    }
  }
  if (shell::ResArchiveFind(entries.data(), count, "") >= count) std::abort();

  std::vector<uint8_t> bytes(shell::kArchiveHeaderSize + shell::kArchiveEntrySize * entries.size());
  shell::WriteU32(bytes.data(), shell::kArchiveHeaderSize);
  shell::WriteU32(bytes.data() + shell::kArchiveCountOffset, uint32_t(count));
  for (size_t i = 0; i < entries.size(); ++i) {
    shell::SerializeArchiveEntry(
        entries[i], bytes.data() + shell::kArchiveHeaderSize + i * shell::kArchiveEntrySize);
  }
  auto again = shell::ResArchiveParseIndex(bytes.data(), bytes.size());
  if (!again || again->entries.size() != entries.size()) std::abort();
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto &a = entries[i], &b = again->entries[i];
    if (std::strcmp(a.name, b.name) != 0 || a.tag != b.tag || a.offset != b.offset ||
        a.unpackedSize != b.unpackedSize || a.storedSize != b.storedSize) {
      std::abort();
    }
  }
  return 0;
}
