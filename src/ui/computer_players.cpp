#include "ui/computer_players.h"

#include <cstdio>
#include <vector>

#include "game/game.h"
#include "shell/app_context.h"
#include "shell/personality.h"
#include "shell/user_profile.h"
#include "ui/personality_draw.h"
#include "ui/player_options.h"

namespace ui {

bool SetPersonalityEntry(PlayerSetupEntry& entry, const std::string& name) {
  for (const shell::PersonalityEntry& p : shell::GetPersonalityList()) {
    if (!SameName(p.name, name)) continue;
    shell::PersonalityRecord record;
    if (!shell::ReadPersonalityFile(p.fileName.c_str(), record)) break;
    SetComputerEntry(entry, name.c_str(), OptionsOfPersonality(record));
    return true;
  }
  SetComputerEntry(entry, name.c_str(), ComputerPlayerOptions());
  return false;
}

void AssignComputerPersonalities(CGame& game) {
  GameSetup& setup = game.setup;
  const std::vector<std::string> personalities = ListPersonalityNames();
  std::vector<std::string> taken;
  const int count = setup.GetPlayerCount();
  for (int i = 0; i < count; ++i) {
    PlayerSetupEntry& entry = setup.entries[i];
    if (i == 0) {
      SetHumanEntry(entry, entry.name);
    } else {
      const int drawn = DrawFreePersonality(personalities, taken);
      if (drawn >= 0) {
        SetPersonalityEntry(entry, personalities[drawn]);
      } else {
        char name[32];
        std::snprintf(name, sizeof name, "Player %d", i + 1);
        SetComputerEntry(entry, name, ComputerPlayerOptions());
      }
    }
    taken.push_back(entry.name);
  }
  shell::FreePersonalityList();
  if (const shell::UserProfile* profile = shell::GetCurrentUserProfile())
    setup.language = static_cast<int32_t>(profile->language);
}

}  // namespace ui
