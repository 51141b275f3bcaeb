// Any settings text: the values applied to a crossagram game must leave a
// rack that fits the board and tile counts that fit the bag, and the bag
// must fill and drain from them.
#include <cstdint>

#include "rules/bag.h"
#include "game/crossagram_settings.h"
#include "game/game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CGame* game = new CGame();
  game->setup.kind = kKindCrossagram;
  game->rules->Setup(0, 7, &game->setup);
  CrossagramSettings s = ParseCrossagramSettings(reinterpret_cast<const char*>(data), size);
  ApplyCrossagramSettings(s, *game);
  const GameRules& r = *game->rules;
  if (r.rackSize < 0 || r.rackSize > kMaxBoardSide || r.totalTiles > kBagCapacity) __builtin_trap();
  game->setup.kind = kKindStandard;  // fill from these counts without the file
  game->bag.Fill(game->BagRules());
  int drawn = 0;
  while (game->bag.DrawRack(game->BagRules(), kDrawAny, true) != kEmptyRackPlace)
    ++drawn;
  if (drawn != r.totalTiles) __builtin_trap();
  return 0;
}
