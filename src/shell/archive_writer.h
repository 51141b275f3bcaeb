#pragma once
// Writes resource archives (".idx" + ".dat") in the layout of
// archive_format.h. Used by the pack builder and by tests.
#include <cstdint>
#include <string>
#include <vector>

#include "shell/archive_format.h"

namespace shell {

struct ArchiveItem {
  std::string name;
  uint32_t tag = kTagStored;
  uint32_t unpackedSize = 0;
  std::vector<uint8_t> stored;
};

ArchiveItem MakeStoredItem(const std::string& name, std::vector<uint8_t> bytes);
// Imploded ("PKZP") when that makes it smaller, else stored as is.
ArchiveItem MakeImplodedItem(const std::string& name, const std::vector<uint8_t>& bytes);
// "ADPC": 16-bit mono samples, lossy; the 16 trailing bytes are zero.
ArchiveItem MakeAdpcmItem(const std::string& name, const std::vector<uint8_t>& samples);

// Sorts the items by ResNameCompare and lays out both files. False (with a
// reason) for an empty or too long name (63 characters at most), two names
// equal but for case, or data past 4 GB.
bool BuildArchive(std::vector<ArchiveItem> items, std::vector<uint8_t>* index,
                  std::vector<uint8_t>* data, std::string* error);

struct PackFolderOptions {
  bool implode = false;        // implode every file that gets smaller
  std::string adpcmExtension;  // files ending so (any case) are 16-bit PCM for "ADPC"
};

// One item per file directly in `folder` (sub-folders and names starting
// with '.' are skipped); false with a reason when a file cannot be read.
bool CollectFolderItems(const char* folder, const PackFolderOptions& options,
                        std::vector<ArchiveItem>* items, std::string* error);

// BuildArchive, then writes both files (each replaced safely).
bool WriteArchive(std::vector<ArchiveItem> items, const char* indexPath, const char* dataPath,
                  std::string* error);

}  // namespace shell
