#pragma once
// The classic-games library's records: sectioned texts (NAME, DATE, MODE,
// LANGUAGE, PLAYER, MOVES) whose MOVES section lists the numbered moves,
// parsed into history records and loaded into a paused game for replay.
// Every count and index is bounded by the record array.
#include <cstdint>
#include <string>
#include <vector>

#include "game/move_history.h"

class CGame;

constexpr int kLibraryMaxMoves = 40;
constexpr size_t kLibraryMaxComment = 1023;  // "1 kbytes"
constexpr int kLibraryMaxRack = 22;
constexpr int kLibraryMaxWord = 15;

// Parser results (0 success).
enum LibraryError : int32_t {
  kLibTextTooBig = -86,
  kLibTokenTooLong = -87,
  kLibBadRow = -88,
  kLibBadColumn = -89,
  kLibMissingDot = -90,
  kLibMissingEnd = -91,
  kLibBadDirection = -92,
  kLibEndInExchange = -93,
  kLibMissingScore = -94,
  kLibEndBeforeMove = -95,
  kLibMissingWord = -96,
  kLibMissingPosition = -97,
  kLibMissingRack = -98,
  kLibMissingNumber = -99,
  kLibDuplicateMove = -100,
};

// The text of a parser result ("" for codes without one).
const char* LibraryErrorText(int32_t code);

// A position token: "h8" / "8h" meaning by the tile set (0 or 1) as the
// library writes it; an optional third letter 'a' or 'd' (the report's
// across/down mark) is checked and ignored. 0, or a LibraryError.
int32_t ParsePositionToken(const char* token, int tileSet, uint8_t* first, uint8_t* second,
                           uint8_t* direction);

// Parses a MOVES body into records: classic records carry two lines per
// number (one per player in turn), duplicate ones one. withRacks: each move
// line starts with the rack. 0 or a LibraryError.
int32_t ParseGameMoves(const char* body, bool duplicate, bool withRacks, int tileSet,
                       std::vector<HistoryRecord>& moves);

// The list title of a record: its NAME, DATE and MODE bodies, each followed
// by two blanks. False when a section is missing its end.
bool BuildRecordTitle(const std::string& record, std::string* title);

// Writes a finished classic game as a record in the library's grammar:
// NAME, DATE, MODE, LANGUAGE, PLAYER and the MOVES of its history's main
// line (at most kLibraryMaxMoves), with racks, scores and running totals.
std::string FormatLibraryRecord(const CGame& game, const std::string& name,
                                const std::string& date);

// Loads a record into a game made by CreateGame: kind, language, players,
// the moves as its history; the game is started and paused at the first
// move. 0, or the string-table number / LibraryError of the failure
// (3003 unknown mode, 3094 another language); the message is shown.
int32_t LoadLibraryGame(CGame& game, const std::string& record, int32_t userLanguage);
