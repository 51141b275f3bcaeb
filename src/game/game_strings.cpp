#include "game/game_strings.h"

#include "shell/res_strings.h"

std::string GameText(uint32_t id) {
  const char* text = shell::FindResString(id);
  return text ? std::string(text) : std::string();
}
