#pragma once
// The tournament file ("TST_v_01") and the adjourned tournament ("ADT_v_01"):
// a header, the 25728-byte tournament block, the participants, the pairings
// (classic tournaments only), the schedule lines and, when a game was in
// progress, its saved-game body. Every count and index read is checked
// against the bytes present and the format's limits; writes go to a
// temporary file renamed over the old one. Also the test script ini.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/tournament.h"

class CGame;

constexpr size_t kTournamentBlockSize = 25728;
constexpr size_t kTournamentParticipantSize = 1880;
constexpr size_t kTournamentPairingSize = 8;
constexpr size_t kTournamentHeaderSize = 143;  // magic, path, version bytes, pairing index
constexpr uint8_t kTournamentFormatByte = 9;
constexpr int kAdjournedNameTries = 999;

// The file's bytes. With a game, its saved-game body follows (its
// tournament-mode word first set to "stopped and saved").
bool EncodeTournamentFile(const TournamentData& t, bool adjourned, CGame* game,
                          std::vector<uint8_t>& out);
// What the reader found wrong, by string-table number (0: loaded).
struct TournamentLoadResult {
  uint32_t message = 0;
  bool hasGame = false;  // a game body followed and was parsed into the game
};
// Parses a file's bytes into `t` (left unchanged on failure). userName and
// userLanguage are the logged-on user's: every human participant must be
// that user, the tournament in the user's language. A game body is parsed
// into `game` when given (a fresh CreateGame()).
TournamentLoadResult DecodeTournamentFile(const uint8_t* data, size_t size, TournamentData& t,
                                          const char* userName, int32_t userLanguage, CGame* game);

// Writes the regular file at t.filePath, or the adjourned file (a free
// " (n).ADT" name in `folder`); false, with its message shown, on failure.
bool SaveTournamentFile(TournamentData& t, bool adjourned, CGame* game,
                        const std::string& folder = std::string());
// The adjourned file's name: the tournament file's name with ADT, or the
// first free " (2).ADT", " (3).ADT"... in `folder`.
std::string AdjournedFileName(const std::string& tournamentPath, const std::string& folder);
// Reads the file; shows its message and returns false on failure.
bool LoadTournamentFile(const char* path, TournamentData& t, const char* userName,
                        int32_t userLanguage, CGame* game, bool* hasGame = nullptr);
// Loads an adjourned file and deletes it, only once it has loaded.
bool LoadAdjournedTournament(const char* path, TournamentData& t, const char* userName,
                             int32_t userLanguage, CGame* game);

// The test script (an ini): every pairing appended as a game section.
void WriteTournamentScript(const TournamentData& t, const char* path);
// The index of the next scripted game without a result, -1 when all have one
// (their message is returned in *done).
int ReadTournamentScript(const char* path, std::string* done);
