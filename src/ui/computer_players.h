#pragma once
// Filling a new game's players from the personality files: the user plays
// first, every other seat gets a computer personality that no earlier seat
// shows.
#include <string>

class CGame;
struct PlayerSetupEntry;

namespace ui {

constexpr unsigned kMsgMentorReset = 0x8118;

// The computer settings of the personality of that name (case-insensitive,
// the first in list order) into the entry, with the name as it stands.
// False, and the default computer settings, when no personality has that
// name or its file cannot be read. Uses the list as last refreshed.
bool SetPersonalityEntry(PlayerSetupEntry& entry, const std::string& name);

// Seat 0 takes the default human settings (its name as the caller set it);
// seats 1 and up each a personality drawn without repeating an earlier
// seat's name. With no free personality left a seat keeps the default
// computer settings under the name "Player %d". Then the game's language
// becomes the current profile's.
void AssignComputerPersonalities(CGame& game);

}  // namespace ui
