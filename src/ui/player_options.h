#pragma once
// The 13-word play settings of a set-up's player entry: the defaults of a
// human and of a computer player, and those a personality record carries.
#include <cstdint>
#include <string>
#include <vector>

#include "rules/game_setup.h"
#include "shell/personality.h"

namespace ui {

struct PlayerOptions {
  int32_t words[kPlayerOptionCount] = {};
};

// Human: byte 0 (the human flag) 1, word 2 (the dictionary level) 10.
PlayerOptions DefaultHumanOptions();
// Computer: bytes 0..4 = 0, 1, 0, 1, 1, word 2 = 10, words 5, 6, 7, 9, 10
// = 100.0f and word 3 = `word3` (100.0f for the new game and duplicate
// set-ups, 200.0f for the classic one).
PlayerOptions DefaultComputerOptions(float word3 = 100.0f);
// The little-endian option words of a personality record.
PlayerOptions OptionsOfPersonality(const shell::PersonalityRecord& record);

// The process-wide defaults InitDefaultPlayerOptions makes afresh.
void InitDefaultPlayerOptions();
const PlayerOptions& HumanPlayerOptions();
const PlayerOptions& ComputerPlayerOptions();

// Fills a set-up entry: its name (cut to 63 characters), kind and settings.
void SetHumanEntry(PlayerSetupEntry& entry, const char* name);
void SetComputerEntry(PlayerSetupEntry& entry, const char* name, const PlayerOptions& options);

// Case-insensitive (ASCII) name comparison, as every set-up compares names.
bool SameName(const std::string& a, const std::string& b);

}  // namespace ui
