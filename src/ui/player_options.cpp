#include "ui/player_options.h"

#include <cctype>
#include <cstring>

#include "game/player.h"

namespace ui {
namespace {

int32_t FloatWord(float value) {
  int32_t word;
  std::memcpy(&word, &value, sizeof word);
  return word;
}

PlayerOptions g_human = DefaultHumanOptions();
PlayerOptions g_computer = DefaultComputerOptions();

void CopyName(PlayerSetupEntry& entry, const char* name) {
  char copy[sizeof entry.name] = {};
  std::strncpy(copy, name ? name : "", sizeof copy - 1);  // the name may be the entry's own
  std::memcpy(entry.name, copy, sizeof copy);
}

}  // namespace

PlayerOptions DefaultHumanOptions() {
  PlayerOptions o;
  o.words[0] = 1;
  o.words[2] = 10;
  return o;
}

PlayerOptions DefaultComputerOptions(float word3) {
  PlayerOptions o;
  const uint8_t head[8] = {0, 1, 0, 1, 1, 0, 0, 0};
  std::memcpy(&o.words[0], head, sizeof head);
  o.words[2] = 10;
  o.words[3] = FloatWord(word3);
  for (int i : {5, 6, 7, 9, 10})
    o.words[i] = FloatWord(100.0f);
  return o;
}

PlayerOptions OptionsOfPersonality(const shell::PersonalityRecord& record) {
  PlayerOptions o;
  for (int i = 0; i < kPlayerOptionCount; ++i) {
    const uint8_t* b = record.playerOptions + i * 4;
    o.words[i] =
        static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
  }
  return o;
}

void InitDefaultPlayerOptions() {
  g_human = DefaultHumanOptions();
  g_computer = DefaultComputerOptions();
}

const PlayerOptions& HumanPlayerOptions() { return g_human; }
const PlayerOptions& ComputerPlayerOptions() { return g_computer; }

void SetHumanEntry(PlayerSetupEntry& entry, const char* name) {
  CopyName(entry, name);
  entry.playerType = kPlayerHuman;
  std::memcpy(entry.options, g_human.words, sizeof entry.options);
}

void SetComputerEntry(PlayerSetupEntry& entry, const char* name, const PlayerOptions& options) {
  CopyName(entry, name);
  entry.playerType = kPlayerComputer;
  std::memcpy(entry.options, options.words, sizeof entry.options);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace ui
