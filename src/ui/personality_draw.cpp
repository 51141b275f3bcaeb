#include "ui/personality_draw.h"

#include "platform/crand.h"
#include "shell/personality.h"
#include "ui/player_options.h"

namespace ui {
namespace {

bool IsTaken(const std::string& name, const std::vector<std::string>& taken) {
  for (const std::string& t : taken)
    if (SameName(name, t)) return true;
  return false;
}

}  // namespace

int DrawFreePersonality(const std::vector<std::string>& personalities,
                        const std::vector<std::string>& taken, const std::function<int()>& random) {
  const int count = static_cast<int>(personalities.size());
  int firstFree = -1;
  for (int i = 0; i < count && firstFree < 0; ++i)
    if (!IsTaken(personalities[i], taken)) firstFree = i;
  if (firstFree < 0) return -1;
  for (int draw = 0; draw < kMaxRandomDraws; ++draw) {
    const int value = random ? random() : platform::Random();
    const int index = (value < 0 ? -(value + 1) : value) % count;
    if (!IsTaken(personalities[index], taken)) return index;
  }
  return firstFree;
}

std::vector<std::string> ListPersonalityNames() {
  shell::ListPersonalityFiles();
  std::vector<std::string> names;
  for (const shell::PersonalityEntry& e : shell::GetPersonalityList())
    names.push_back(e.name);
  return names;
}

}  // namespace ui
