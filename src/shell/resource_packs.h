#pragma once
// Resource packs: resource archives kept open in 24 numbered slots, each
// slot reserved for one kind of content, read by entry name or directory
// index. A loose file of the same name in the program folder takes
// precedence over a packed entry. Slot 18 holds the palette pack's skin
// registry; slots 19..23 hold plain data files. Main thread only.
#include <cstdint>
#include <memory>
#include <string>

#include "shell/archive.h"

namespace shell {

constexpr int kPackSlotCount = 24;
constexpr int kPaletteSlot = 18;
constexpr int kFirstFileSlot = 19;

// Slots and the pack names their callers give.
enum PackSlot : int {
  kPackFaces = 1,             // "faces"
  kPackProduct = 2,           // "Tessarin"
  kPackTooltips = 3,          // "tooltips"
  kPackCommentedGames = 5,    // "cgames"
  kPackLibrary = 6,           // "library"
  kPackQuizzes = 7,           // "quizzes"
  kPackHintsList = 8,         // "hintslist"
  kPackHints = 9,             // "hints"
  kPackExercisesList = 10,    // "exerciseslist"
  kPackExercises = 11,        // "exercises"
  kPackCurriculum = 12,       // "curriculum"
  kPackTutorials = 13,        // "tutorials"
  kPackCurriculumAudio = 14,  // "tqaudio"
};

// The palette pack's skin registry lives in the GUI toolkit, which installs
// a factory for it; without one slot 18 does not open.
class PackModule {
 public:
  virtual ~PackModule() = default;
  // The bitmap registered under name, or null.
  virtual void* FindBitmap(const char* name) = 0;
};
using PackModuleFactory = std::unique_ptr<PackModule> (*)(const char* path);
void SetPackModuleFactory(PackModuleFactory factory);

// Opens a slot: 0..17 an indexed pack by name (".idx"/".dat" found by
// ResolveDataFilePath), 18 the palette pack (name is its path), 19..23 a
// plain data file (a null name takes the known-files row of that number).
// Returns whether the slot is open afterwards; false for a slot outside
// 0..23 or during another open. A slot keeps the name it was first given
// until it is closed.
bool OpenResourcePack(const char* name, int slot, bool retry);
void CloseResourcePack(int slot);
void CloseAllResourcePacks();  // at shut-down
bool IsResourcePackOpen(int slot);

// The loose file <program folder>\name when name is a plain file name and
// the file reads whole (tag "0000"), else the slot's entry; names holding
// ".bmp" in any case come back as packed DIBs. The block holds exactly the
// data's bytes (no terminator is added to text). Out-arguments may be null.
bool ReadPackEntryByName(const char* name, int slot, ResBlock* outData, uint32_t* outTag,
                         uint32_t* outStoredSize, uint32_t* outUnpackedSize);
// Directory entry n of an open indexed slot; outEntry (if given) points into
// the slot's index and stays valid while the slot stays open. A failed read
// looks for the slot's data file again.
bool ReadPackEntryByIndex(int n, int slot, ResBlock* outData, const ResArchiveEntry** outEntry);
// Fills the given out-arguments from the entry without reading it; leaves
// them untouched when it is missing.
bool FindPackEntry(const char* name, int slot, uint32_t* outTag, uint32_t* outStoredSize,
                   uint32_t* outUnpackedSize);
// A bitmap of the palette pack's skin registry (slot 18 open); false for
// slot 19, an empty name or a name not found.
bool FindPackFileFallback(const char* name, int slot, void** outBitmap);
// The slot's skin registry when it is open, else null (slot 18 only).
PackModule* GetPackModule(int slot);
PackModule* GetPalettePack();

// The full path of an existing data file: a known file lying in a
// sub-folder is looked for under the program folder, then under the Data
// folder; any other name directly in the program folder. "" when none
// exists, the name is empty, or it is absolute or climbs out with "..".
std::string ResolveDataFilePath(const char* name, bool retry);
// Resolves the slot's data file afresh (name + ".dat" for 0..17, the name
// itself otherwise) and opens the slot when found; an open slot that has
// its data path is left as it is.
bool ResolvePackDataFile(int slot, bool retry);

}  // namespace shell
