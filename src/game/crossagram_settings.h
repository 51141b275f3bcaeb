#pragma once
// The crossagram game's settings file: two player options, the rack size and
// the tile counts, read when a crossagram game fills its bag.
#include <cstddef>
#include <cstdint>

#include "rules/letters.h"

class CGame;

constexpr char kCrossagramSettingsFile[] = "tessarinData\\Crossagrams.ini";
// Rack size a crossagram game starts from when its settings file names none.
constexpr int32_t kCrossagramDefaultRack = 10;

// Values read from the crossagram settings text: two player options, the
// rack size and the tile counts in letter order.
struct CrossagramSettings {
  int valueCount = 0;
  int64_t values[3 + kLetterSlots] = {};
};

// Scans the text: each '=' starts a value made of the digits up to the next
// ';' or '#'; the scan ends where a '#' closes a value.
CrossagramSettings ParseCrossagramSettings(const char* text, size_t size);
// Applies the values to the game: the first two to the third option of the
// first two players, the third to the rules' rack size, then the tile
// counts; each clamped to what the rack, the board and the bag can hold.
void ApplyCrossagramSettings(const CrossagramSettings& settings, CGame& game);
// The default rack size, then the settings file of the program folder when
// there is one.
void LoadCrossagramSettings(CGame& game);
