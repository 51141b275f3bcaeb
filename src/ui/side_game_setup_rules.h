#pragma once
// The checks and conversions of the game set-up dialogs (new game, anagram
// and puzzle): player counts, the one-row board's letters count, the
// anagram's forced letters and draw pattern and the first-turn choice when
// lines are taken away (the time limits are time_limits.h's).
#include <cstdint>
#include <string>

namespace ui {

constexpr int kMaxSetupLines = 16;
constexpr int kMaxForcedLetters = 15;

// Whether the player spin's count can stand: 1 to 4, 1 to 16 in duplicate.
bool IsSetupPlayerCount(int count, bool duplicate);
// Anagram 3 to 12, puzzle 7 to 12 letters; other kinds have no one-row board.
bool IsSideGameLettersCount(int32_t kind, int count);
// The forced letters as the game keeps them: lower case, at most 15.
std::string NormalizeForcedLetters(const char* text);
// True when every forced letter is 'a'..'z' (an empty text is allowed).
bool AreForcedLettersValid(const std::string& letters);
// The word engine's draw: the forced letters (at most `count` of them) then
// the wildcard '`' up to `count` letters.
std::string AnagramDrawPattern(const std::string& forced, int count);

// The first-turn line (1-based) after the count drops to `count`: a line
// beyond the count hands the turn to the last line within it.
int FirstTurnLineAfterCount(int checkedLine, int count);

// "Player%d" with the line number.
std::string DefaultPlayerName(int line);

}  // namespace ui
