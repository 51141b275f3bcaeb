#pragma once
// RobotSettings: a computer player's 13 option words, which switch and weight
// the robot's evaluation components and bound the words it may play. The
// game keeps them as the 13 32-bit option words of a player's set-up entry;
// the byte layout of those words is the one below (little-endian).
#include <cstdint>

constexpr int kRobotSettingsWords = 13;
constexpr int kRobotSettingsBytes = kRobotSettingsWords * 4;  // 52

struct RobotSettings {
  uint8_t optionByte = 0;              // 0: belongs to the game's player options
  uint8_t swapAnalysis = 1;            // 1
  uint8_t endgameMode = 1;             // 2
  uint8_t poolLimited = 1;             // 3
  uint8_t useJokerTerm = 1;            // 4
  uint8_t useConventionsTerm = 1;      // 5
  uint8_t useBonusBlockTerm = 1;       // 6
  uint8_t judgeByReferencePlayer = 1;  // 7
  int32_t maxWordLevel = 10;           // 8: highest word level played; negative: no limit
  float wordScoreWeight = 200.0f;      // 12
  uint8_t difficultyMode = 0;          // 16
  uint8_t noteDuplicateJoker = 1;      // 17
  uint8_t noteFirstWordDuplicate = 1;  // 18
  uint8_t noteDuplicateEndgame = 1;    // 19
  float closingBonusWeight = 70.0f;    // 20
  float closingBoardWeight = 100.0f;   // 24
  float remainderWeight = 100.0f;      // 28
  float challengeWeight = 80.0f;       // 32
  float letterSwapWeight = 100.0f;     // 36
  float minScorePercent = 100.0f;      // 40
  float difficultyWeight = 0.0f;       // 44
  int32_t situationLevel = 10;         // 48
};

// What a robot accepts of each setting. The option words come from saved
// games and other files, so reading them holds every value to these bounds
// (a NaN weight takes its default): whatever the bytes, a pass stays finite.
// The switch bytes need no bound: each of their values has a meaning.
constexpr int32_t kNoWordLevelLimit = -1;     // any negative level: no limit
constexpr int32_t kMaxWordLevelSetting = 15;  // a word's level is 4 bits
constexpr float kMaxRobotWeight = 1.0e6f;     // weights and factors: 0 .. this
constexpr float kMaxPercentSetting = 100.0f;  // percent limits: 0 .. this

// Writes the defaults.
void InitRobotSettings(RobotSettings* settings);

// The settings held in a player's 13 option words, each held to its bounds
// above; and back (unchanged).
RobotSettings SettingsFromOptions(const int32_t options[kRobotSettingsWords]);
void SettingsToOptions(const RobotSettings& settings, int32_t options[kRobotSettingsWords]);

// True when a word of this lexicon level may be played under the limit.
inline bool WordLevelAllowed(int level, int32_t maxWordLevel) {
  return maxWordLevel < 0 || level <= maxWordLevel;
}
