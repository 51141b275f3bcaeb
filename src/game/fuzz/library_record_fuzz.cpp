// The classic-games record parser on any text: the MOVES parser (both
// modes), the title and a whole load into a game. Invariant: a record the
// loader accepts gives a paused game whose history holds every parsed move.
#include <cstdint>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/library_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (bool duplicate : {false, true}) {
    std::vector<HistoryRecord> moves;
    if (ParseGameMoves(text.c_str(), duplicate, true, 0, moves) == 0 &&
        (moves.empty() || moves.size() > static_cast<size_t>(kLibraryMaxMoves)))
      __builtin_trap();
  }
  std::string title;
  BuildRecordTitle(text, &title);
  CGame* game = CreateGame();
  if (LoadLibraryGame(*game, text, 0) == 0 &&
      (game->state != kStatePaused || game->history->Count() < 1))
    __builtin_trap();
  DeleteGame(game);
  return 0;
}
