#include "game/crossagram_settings.h"

#include <algorithm>
#include <vector>

#include "game/game.h"
#include "game/program_folder.h"
#include "platform/path.h"
#include "rules/bag.h"
#include "rules/rules.h"

namespace {

// Digits beyond this add nothing: no value the file sets can be larger.
constexpr int64_t kSettingCeiling = 1000000000;

}  // namespace

CrossagramSettings ParseCrossagramSettings(const char* text, size_t size) {
  CrossagramSettings s;
  size_t i = 0;
  while (i < size && s.valueCount < static_cast<int>(std::size(s.values))) {
    if (text[i++] != '=') continue;
    int64_t value = 0;
    while (i < size && text[i] != ';' && text[i] != '#') {
      if (text[i] >= '0' && text[i] <= '9')
        value = std::min(value * 10 + (text[i] - '0'), kSettingCeiling);
      ++i;
    }
    s.values[s.valueCount++] = value;
    if (i < size && text[i] == '#') break;
  }
  return s;
}

void ApplyCrossagramSettings(const CrossagramSettings& s, CGame& game) {
  for (int p = 0; p < 2 && p < s.valueCount; ++p)
    if (GamePlayer* player = game.Player(p))
      player->entry.options[2] = static_cast<int32_t>(s.values[p]);
  GameRules& rules = *game.rules;
  if (s.valueCount > 2)
    rules.rackSize = static_cast<int32_t>(std::clamp<int64_t>(s.values[2], 1, kMaxBoardSide));
  for (int i = 0; i + 3 < s.valueCount && i < kLetterSlots; ++i)
    rules.tileCounts[i] = static_cast<int32_t>(std::min<int64_t>(s.values[i + 3], kBagCapacity));
  // Together the counts must fit the bag's draw places.
  int32_t room = kBagCapacity;
  for (int32_t& c : rules.tileCounts) {
    c = std::clamp(c, 0, room);
    room -= c;
  }
  rules.RecountTiles();
}

void LoadCrossagramSettings(CGame& game) {
  game.rules->rackSize = kCrossagramDefaultRack;
  std::vector<uint8_t> text;
  if (platform::ReadWholeFile(GameProgramPath(kCrossagramSettingsFile).c_str(), text))
    ApplyCrossagramSettings(
        ParseCrossagramSettings(reinterpret_cast<const char*>(text.data()), text.size()), game);
}
