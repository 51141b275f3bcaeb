#include "shell/archive_writer.h"

#include <algorithm>

#include "platform/path.h"
#include "shell/adpcm.h"
#include "shell/archive.h"

namespace shell {

ArchiveItem MakeStoredItem(const std::string& name, std::vector<uint8_t> bytes) {
  ArchiveItem item;
  item.name = name;
  item.unpackedSize = uint32_t(bytes.size());
  item.stored = std::move(bytes);
  return item;
}

ArchiveItem MakeImplodedItem(const std::string& name, const std::vector<uint8_t>& bytes) {
  ResBlock packed;
  // An empty stream cannot be exploded (the first read must give 5 bytes).
  if (!bytes.empty() && ImplodeBuffer(bytes.data(), bytes.size(), &packed) == 0 &&
      packed.size() < bytes.size()) {
    ArchiveItem item;
    item.name = name;
    item.tag = kTagImploded;
    item.unpackedSize = uint32_t(bytes.size());
    item.stored = std::move(packed);
    return item;
  }
  return MakeStoredItem(name, bytes);
}

ArchiveItem MakeAdpcmItem(const std::string& name, const std::vector<uint8_t>& samples) {
  ArchiveItem item;
  item.name = name;
  item.tag = kTagAdpcm;
  item.unpackedSize = uint32_t(samples.size() & ~size_t(1));
  item.stored = AdpcmEncodeBuffer(samples.data(), samples.size());
  item.stored.resize(item.stored.size() + kAdpcmTrailerSize, 0);
  return item;
}

bool BuildArchive(std::vector<ArchiveItem> items, std::vector<uint8_t>* index,
                  std::vector<uint8_t>* data, std::string* error) {
  std::stable_sort(items.begin(), items.end(), [](const ArchiveItem& a, const ArchiveItem& b) {
    return ResNameCompare(a.name.c_str(), b.name.c_str()) < 0;
  });
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string& name = items[i].name;
    if (name.empty() || name.size() >= kArchiveNameSize || name.find('\0') != std::string::npos) {
      *error = "bad entry name \"" + name + "\" (1 to 63 characters)";
      return false;
    }
    if (i && ResNameCompare(items[i - 1].name.c_str(), name.c_str()) == 0) {
      *error = "two entries named \"" + name + "\"";
      return false;
    }
  }
  index->assign(kArchiveHeaderSize + kArchiveEntrySize * items.size(), 0);
  WriteU32(index->data(), kArchiveHeaderSize);
  WriteU32(index->data() + kArchiveCountOffset, uint32_t(items.size()));
  data->clear();
  uint8_t* slot = index->data() + kArchiveHeaderSize;
  for (const ArchiveItem& item : items) {
    if (data->size() + item.stored.size() > UINT32_MAX) {
      *error = "data file would pass 4 GB";
      return false;
    }
    ResArchiveEntry e{};
    item.name.copy(e.name, kArchiveNameSize - 1);
    e.tag = item.tag;
    e.offset = uint32_t(data->size());
    e.unpackedSize = item.unpackedSize;
    e.storedSize = uint32_t(item.stored.size());
    SerializeArchiveEntry(e, slot);
    slot += kArchiveEntrySize;
    data->insert(data->end(), item.stored.begin(), item.stored.end());
  }
  return true;
}

namespace {

bool EndsWithNoCase(const std::string& s, const std::string& end) {
  if (end.empty() || end.size() > s.size()) return false;
  const std::string tail = s.substr(s.size() - end.size());
  return ResNameCompare(tail.c_str(), end.c_str()) == 0;
}

}  // namespace

bool CollectFolderItems(const char* folder, const PackFolderOptions& options,
                        std::vector<ArchiveItem>* items, std::string* error) {
  for (const platform::FindEntry& f :
       platform::FindFiles(platform::JoinPath(folder, "*").c_str())) {
    if (f.isDirectory || f.name.empty() || f.name[0] == '.') continue;
    std::vector<uint8_t> bytes;
    const std::string path = platform::JoinPath(folder, f.name);
    if (!platform::ReadWholeFile(path.c_str(), bytes)) {
      *error = "cannot read " + path;
      return false;
    }
    if (EndsWithNoCase(f.name, options.adpcmExtension)) {
      items->push_back(MakeAdpcmItem(f.name, bytes));
    } else if (options.implode) {
      items->push_back(MakeImplodedItem(f.name, bytes));
    } else {
      items->push_back(MakeStoredItem(f.name, std::move(bytes)));
    }
  }
  return true;
}

bool WriteArchive(std::vector<ArchiveItem> items, const char* indexPath, const char* dataPath,
                  std::string* error) {
  std::vector<uint8_t> index, data;
  if (!BuildArchive(std::move(items), &index, &data, error)) return false;
  if (!platform::WriteFileAtomic(dataPath, data.data(), data.size()) ||
      !platform::WriteFileAtomic(indexPath, index.data(), index.size())) {
    *error = "cannot write the archive files";
    return false;
  }
  return true;
}

}  // namespace shell
