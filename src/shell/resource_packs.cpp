#include "shell/resource_packs.h"

#include <cctype>
#include <cstring>
#include <vector>

#include "platform/path.h"
#include "shell/app_context.h"

namespace shell {
namespace {

constexpr int kIndexedSlots = kPaletteSlot;  // slots 0..17 hold archives

struct ResourcePackSlot {
  bool open = false;
  std::unique_ptr<ResArchiveIndex> index;  // slots 0..17
  std::unique_ptr<PackModule> module;      // slot 18
  std::string name;                        // as first given; empty = none
  std::string dataPath;                    // ".dat" (0..17) or the file itself
  std::string indexPath;                   // ".idx" (0..17)
};

struct KnownDataFile {
  const char* name;
  const char* folder;
};

// Data files that may lie in a sub-folder of the program or Data folder:
// the packs, which the build writes into the program's data folder.
const KnownDataFile kKnownDataFiles[] = {
    {"faces.idx", "tessarinData"},         {"faces.dat", "tessarinData"},
    {"Tessarin.idx", "tessarinData"},      {"Tessarin.dat", "tessarinData"},
    {"tooltips.idx", "tessarinData"},      {"tooltips.dat", "tessarinData"},
    {"cgames.idx", "tessarinData"},        {"cgames.dat", "tessarinData"},
    {"library.idx", "tessarinData"},       {"library.dat", "tessarinData"},
    {"quizzes.idx", "tessarinData"},       {"quizzes.dat", "tessarinData"},
    {"hintslist.idx", "tessarinData"},     {"hintslist.dat", "tessarinData"},
    {"hints.idx", "tessarinData"},         {"hints.dat", "tessarinData"},
    {"exerciseslist.idx", "tessarinData"}, {"exerciseslist.dat", "tessarinData"},
    {"exercises.idx", "tessarinData"},     {"exercises.dat", "tessarinData"},
    {"curriculum.idx", "tessarinData"},    {"curriculum.dat", "tessarinData"},
    {"tutorials.idx", "tessarinData"},     {"tutorials.dat", "tessarinData"},
    {"tqaudio.idx", "tessarinData"},       {"tqaudio.dat", "tessarinData"},
};
constexpr int kKnownDataFileCount = int(sizeof(kKnownDataFiles) / sizeof(kKnownDataFiles[0]));

ResourcePackSlot g_slots[kPackSlotCount];
PackModule* g_palettePack = nullptr;
PackModuleFactory g_moduleFactory = nullptr;
bool g_openUnderWay = false;

bool ValidSlot(int slot) { return slot >= 0 && slot < kPackSlotCount; }

bool EqualsIgnoringCase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
    if (!a[i]) return true;
  }
  return true;
}

// A name that stays inside the folder it is joined to: not absolute, no
// drive, no ".." component.
bool StaysInside(const char* name) {
  if (!name || !*name || name[0] == '\\' || name[0] == '/' || std::strchr(name, ':')) {
    return false;
  }
  for (const char* part = name; *part;) {
    const size_t len = std::strcspn(part, "\\/");
    if (len == 2 && part[0] == '.' && part[1] == '.') return false;
    part += len;
    if (*part) ++part;
  }
  return true;
}

// A plain file name: no folder part at all, and not "." or "..".
bool IsPlainFileName(const char* name) {
  return StaysInside(name) && !std::strpbrk(name, "\\/") && std::strcmp(name, ".") != 0;
}

const KnownDataFile* FindKnownFile(const char* name) {
  const size_t len = std::strlen(name);
  for (const KnownDataFile& row : kKnownDataFiles) {
    if (!row.name[0]) break;
    if (EqualsIgnoringCase(row.name, name, len)) return &row;
  }
  return nullptr;
}

std::string Join(const char* folder, const std::string& name) {
  return std::string(folder ? folder : "") + "\\" + name;
}

std::string ResolveSlotDataPath(const ResourcePackSlot& s, int slot, bool retry) {
  return ResolveDataFilePath((slot < kIndexedSlots ? s.name + ".dat" : s.name).c_str(), retry);
}

void ClearSlot(ResourcePackSlot& s) {
  if (s.module && s.module.get() == g_palettePack) g_palettePack = nullptr;
  s = ResourcePackSlot();
}

// Loads the index of an archive slot whose paths are resolved; an index
// that cannot be read leaves the slot closed.
bool OpenWithIndex(ResourcePackSlot& s) {
  s.index = ResArchiveLoadIndex(s.indexPath.c_str());
  s.open = s.index != nullptr;
  return s.open;
}

bool OpenArchiveSlot(ResourcePackSlot& s, int slot, bool retry) {
  s.indexPath = ResolveDataFilePath((s.name + ".idx").c_str(), retry);
  if (s.indexPath.empty()) return s.open;
  s.dataPath = ResolveSlotDataPath(s, slot, retry);
  if (s.dataPath.empty() && retry) s.dataPath = ResolveSlotDataPath(s, slot, retry);
  if (!s.dataPath.empty() && OpenWithIndex(s)) return true;
  s.index.reset();
  s.indexPath.clear();
  s.open = false;
  return false;
}

bool OpenPaletteSlot(ResourcePackSlot& s, const char* path) {
  if (!path || !*path || !g_moduleFactory) return false;
  s.name = path;
  s.dataPath = ResolveDataFilePath(path, false);
  s.module = g_moduleFactory(path);
  if (!s.module) {
    ClearSlot(s);
    return false;
  }
  g_palettePack = s.module.get();
  s.open = true;
  return true;
}

bool OpenFileSlot(ResourcePackSlot& s, int slot, const char* name, bool retry) {
  if (!name && slot < kKnownDataFileCount) name = kKnownDataFiles[slot].name;
  if (!name || !*name) return false;
  s.name = name;
  s.dataPath = ResolveSlotDataPath(s, slot, retry);
  if (s.dataPath.empty()) {
    ClearSlot(s);
    return false;
  }
  s.open = true;
  return true;
}

bool ReadLooseFile(const char* name, ResBlock* out) {
  const char* folder = GetProgramFolder();
  if (!folder || !*folder || !IsPlainFileName(name)) return false;
  return platform::ReadWholeFile(Join(folder, name).c_str(), *out);
}

bool NamesBitmap(const char* name) {
  std::string lower(name);
  for (char& c : lower)
    c = char(std::tolower(static_cast<unsigned char>(c)));
  return lower.find(".bmp") != std::string::npos;
}

}  // namespace

void SetPackModuleFactory(PackModuleFactory factory) { g_moduleFactory = factory; }

bool OpenResourcePack(const char* name, int slot, bool retry) {
  if (!ValidSlot(slot) || g_openUnderWay) return false;
  g_openUnderWay = true;
  ResourcePackSlot& s = g_slots[slot];
  bool open = false;
  if (slot < kIndexedSlots) {
    if (s.name.empty() && name) s.name = name;
    open = !s.name.empty() && OpenArchiveSlot(s, slot, retry);
  } else if (slot == kPaletteSlot) {
    ClearSlot(s);
    open = OpenPaletteSlot(s, name);
  } else {
    ClearSlot(s);
    open = OpenFileSlot(s, slot, name, retry);
  }
  g_openUnderWay = false;
  return open;
}

void CloseResourcePack(int slot) {
  if (ValidSlot(slot)) ClearSlot(g_slots[slot]);
}

void CloseAllResourcePacks() {
  for (ResourcePackSlot& s : g_slots)
    ClearSlot(s);
  g_palettePack = nullptr;
}

bool IsResourcePackOpen(int slot) { return ValidSlot(slot) && g_slots[slot].open; }

bool ReadPackEntryByName(const char* name, int slot, ResBlock* outData, uint32_t* outTag,
                         uint32_t* outStoredSize, uint32_t* outUnpackedSize) {
  if (!name || !outData) return false;
  ResBlock loose;
  if (ReadLooseFile(name, &loose)) {
    if (outTag) *outTag = kTagStored;
    if (outStoredSize) *outStoredSize = uint32_t(loose.size());
    if (outUnpackedSize) *outUnpackedSize = uint32_t(loose.size());
    *outData = std::move(loose);
    return true;
  }
  if (!ValidSlot(slot)) return false;
  const ResourcePackSlot& s = g_slots[slot];
  if (!s.open || !s.index) return false;
  ResArchiveEntry entry;
  auto read = NamesBitmap(name) ? ResArchiveLoadBitmap : ResArchiveRead;
  auto block = read(s.indexPath.c_str(), s.dataPath.c_str(), name, s.index.get(), &entry);
  if (!block) return false;
  if (outTag) *outTag = entry.tag;
  if (outStoredSize) *outStoredSize = entry.storedSize;
  if (outUnpackedSize) *outUnpackedSize = entry.unpackedSize;
  *outData = std::move(*block);
  return true;
}

bool ReadPackEntryByIndex(int n, int slot, ResBlock* outData, const ResArchiveEntry** outEntry) {
  if (!outData || !ValidSlot(slot)) return false;
  ResourcePackSlot& s = g_slots[slot];
  if (!s.open || !s.index || n < 0 || size_t(n) >= s.index->entries.size()) return false;
  const ResArchiveEntry& entry = s.index->entries[size_t(n)];
  ResArchiveEntry copy;
  auto block =
      ResArchiveRead(s.indexPath.c_str(), s.dataPath.c_str(), entry.name, s.index.get(), &copy);
  if (!block) {
    // The data file may have moved since the slot opened.
    s.dataPath = ResolveSlotDataPath(s, slot, false);
    return false;
  }
  *outData = std::move(*block);
  if (outEntry) *outEntry = &entry;
  return true;
}

bool FindPackEntry(const char* name, int slot, uint32_t* outTag, uint32_t* outStoredSize,
                   uint32_t* outUnpackedSize) {
  if (!name || !ValidSlot(slot)) return false;
  const ResourcePackSlot& s = g_slots[slot];
  if (!s.open || !s.index) return false;
  ResArchiveEntry entry;
  if (!ResArchiveFindEntry(s.indexPath.c_str(), s.dataPath.c_str(), name, s.index.get(), &entry)) {
    return false;
  }
  if (outTag) *outTag = entry.tag;
  if (outStoredSize) *outStoredSize = entry.storedSize;
  if (outUnpackedSize) *outUnpackedSize = entry.unpackedSize;
  return true;
}

bool FindPackFileFallback(const char* name, int slot, void** outBitmap) {
  if (slot == kFirstFileSlot || !name || !*name || !outBitmap) return false;
  PackModule* module = GetPackModule(kPaletteSlot);
  void* bitmap = module ? module->FindBitmap(name) : nullptr;
  if (!bitmap) return false;
  *outBitmap = bitmap;
  return true;
}

PackModule* GetPackModule(int slot) {
  return IsResourcePackOpen(slot) ? g_slots[slot].module.get() : nullptr;
}

PackModule* GetPalettePack() { return g_palettePack; }

std::string ResolveDataFilePath(const char* name, bool /*retry*/) {
  if (!StaysInside(name)) return std::string();
  const char* program = GetProgramFolder();
  if (!program || !*program) return std::string();
  std::vector<std::string> candidates;
  const KnownDataFile* row = FindKnownFile(name);
  if (row && row->folder[0]) {
    candidates.push_back(Join(program, Join(row->folder, name)));
    candidates.push_back(Join(GetDataFolder(), Join(row->folder, name)));
  } else {
    candidates.push_back(Join(program, name));
  }
  for (const std::string& path : candidates) {
    if (platform::FileExists(path.c_str())) return path;
  }
  return std::string();
}

bool ResolvePackDataFile(int slot, bool retry) {
  if (!ValidSlot(slot)) return false;
  ResourcePackSlot& s = g_slots[slot];
  if (s.open && !s.dataPath.empty()) return true;
  if (s.name.empty()) return false;
  s.dataPath = ResolveSlotDataPath(s, slot, retry);
  if (s.dataPath.empty()) return false;
  if (slot < kIndexedSlots && !s.index) {
    if (s.indexPath.empty()) s.indexPath = ResolveDataFilePath((s.name + ".idx").c_str(), retry);
    return OpenWithIndex(s);
  }
  s.open = true;
  return true;
}

}  // namespace shell
