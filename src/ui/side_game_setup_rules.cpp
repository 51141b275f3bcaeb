#include "ui/side_game_setup_rules.h"

#include <algorithm>
#include <cstring>

#include "rules/game_kind.h"

namespace ui {

bool IsSetupPlayerCount(int count, bool duplicate) {
  return count >= 1 && count <= (duplicate ? kMaxSetupLines : 4);
}

bool IsSideGameLettersCount(int32_t kind, int count) {
  if (kind == kKindAnagram) return count >= 3 && count <= 12;
  if (kind == kKindConundrum) return count >= 7 && count <= 12;
  return false;
}

std::string NormalizeForcedLetters(const char* text) {
  std::string out;
  if (!text) return out;
  for (const char* p = text; *p && out.size() < kMaxForcedLetters; ++p)
    out += (*p >= 'A' && *p <= 'Z') ? static_cast<char>(*p - 'A' + 'a') : *p;
  return out;
}

bool AreForcedLettersValid(const std::string& letters) {
  return std::all_of(letters.begin(), letters.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

std::string AnagramDrawPattern(const std::string& forced, int count) {
  if (count <= 0) return {};
  std::string pattern = forced.substr(0, static_cast<size_t>(count));
  pattern.resize(static_cast<size_t>(count), '`');
  return pattern;
}

int FirstTurnLineAfterCount(int checkedLine, int count) {
  if (count < 1) return 1;
  if (checkedLine < 1) return 1;
  return std::min(checkedLine, count);
}

std::string DefaultPlayerName(int line) { return "Player" + std::to_string(line); }

}  // namespace ui
