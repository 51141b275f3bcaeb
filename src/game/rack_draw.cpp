// CGame::DrawPlayerRack: a player's new letters by game kind. Every draw is
// bounded: when no rack can satisfy the kind's rule the rack is left empty
// and the draw says so, instead of trying for ever.
#include <algorithm>
#include <cstring>

#include "engine/robot.h"
#include "game/anagram_key.h"
#include "game/game.h"
#include "game/robot_view.h"
#include "game/turn_support.h"
#include "game/ui_port.h"
#include "platform/crand.h"

namespace {

// Racks a conundrum draw tries before it gives up: a bag from which no
// rack of the required length makes a word.
constexpr int kConundrumAttempts = 200;

// One search of the robot over the player's rack on the game's board, on
// this thread; returns the moves found.
int SearchRack(CGame& game, GamePlayer& player, Robot& robot) {
  RobotGameView view = MakeRobotGameView(game, &robot);
  view.hasCurrent = true;
  view.current = MakeRobotPlayerView(player);
  view.anagramLength = game.requiredWordLength;
  robot.SetGameView(view);
  robot.BeginSearch();
  robot.PreparePosition(game.board.letters, player.rack, false, 0);
  robot.ClearMoveSlots();
  robot.Think(nullptr, 0);
  return robot.GetMoveCount();
}

// The duplicate game's common rack, drawn onto what the last top move left,
// until a rack admits a move or as many racks were tried as the bag held
// tiles after the draw. False leaves the rack empty (its tiles back in the
// bag): the game is over.
bool DrawCommonRack(CGame& game, GamePlayer& reference) {
  Robot* robot = reference.GetRobot();
  const int places = reference.RackPlaces();
  for (int attempts = 1;; ++attempts) {
    int32_t count = 0;
    game.FillRack(reference.rack, &count, &reference);
    reference.rack[places] = 0;
    reference.rackCount = count;
    if (count == 0 || !robot) {
      // Too few tiles, or no vowel or no other letter: the game ends. The
      // tiles go back so that none is lost.
      reference.ReturnRackToBag();
      reference.rackCount = 0;
      return false;
    }
    const int bound = game.bag.tileCount;
    if (SearchRack(game, reference, *robot) > 0) {
      GetGameUiPort().RefreshRemainderWindow();
      return true;
    }
    turns::Debug("Rack %s is not a valid rack\n", reference.rack);
    reference.ReturnRackToBag();
    reference.rackCount = 0;
    if (attempts >= bound) {
      GetGameUiPort().RefreshRemainderWindow();
      return false;
    }
  }
}

// The next group of the anagram game's word map: one of its words,
// shuffled, on the rack; every word of the group in the solutions.
bool DrawAnagramGroup(CGame& game, GamePlayer& player) {
  const int places = player.RackPlaces();
  std::memset(player.rack, kEmptyRackPlace, static_cast<size_t>(places));
  player.rackCount = 0;
  game.anagramSolutions.clear();
  game.anagramSolutions.shrink_to_fit();
  if (game.anagramWords.empty()) return false;
  uint32_t r = 0;
  for (int i = 0; i < 4; ++i)
    r |= static_cast<uint32_t>(platform::Random() & 0xFF) << (8 * i);
  auto chosen = game.anagramWords.begin();
  std::advance(chosen, static_cast<long>(r % game.anagramWords.size()));
  const uint32_t key = chosen->first;
  const std::string word = chosen->second;
  std::memset(player.rack, 0, kRackTextSize);
  std::memset(player.rack, kEmptyRackPlace, static_cast<size_t>(places));
  std::memcpy(player.rack, word.data(), std::min<size_t>(word.size(), kMaxRackPlaces));
  player.rackCount = places;
  player.ArrangeRack(kRackRandom);
  auto [first, last] = game.anagramWords.equal_range(key);
  for (auto it = first; it != last; ++it) {
    RobotMove m;
    std::strncpy(m.word, it->second.c_str(), sizeof m.word - 1);
    m.length = static_cast<uint8_t>(game.requiredWordLength);
    game.anagramSolutions.push_back(m);
  }
  game.anagramWords.erase(first, last);
  return true;
}

// A conundrum rack (each place an independent pick among the bag's tiles,
// none taken) and its best word from the first square.
bool DrawConundrum(CGame& game, GamePlayer& player) {
  const int places = player.RackPlaces();
  Robot* robot = player.GetRobot();
  for (int attempt = 0; robot && game.bag.tileCount > 0 && attempt < kConundrumAttempts;
       ++attempt) {
    std::memset(player.rack, 0, kRackTextSize);
    player.rackCount = places;
    for (int i = 0; i < places; ++i) {
      player.rack[i] = game.bag.DrawRack(game.BagRules(), kDrawAny, false);
      if (IsEmptyRackPlace(player.rack[i])) --player.rackCount;
    }
    turns::Debug("Conumdrum search with Rack '%s'\n", player.rack);
    if (SearchRack(game, player, *robot) == 0) continue;
    const RobotMove* best = robot->SortedFirstMove(MoveSortKey::kScore);
    if (!best || !best->word[0]) continue;
    game.conundrumSolution = *best;
    turns::Debug("Word found : %s\n", best->word);
    return true;
  }
  std::memset(player.rack, kEmptyRackPlace, static_cast<size_t>(places));
  player.rackCount = 0;
  game.conundrumSolution = RobotMove();
  return false;
}

}  // namespace

bool CGame::DrawPlayerRack(GamePlayer& player) {
  bool drawn = true;
  switch (Kind()) {
    case kKindStandard:
      turns::DrawStandardRack(*this, player);
      return true;  // it keeps the dealt copy itself
    case kKindDuplicate:
      drawn = DrawCommonRack(*this, player);
      if (!drawn) return false;
      break;
    case kKindAnagram:
      requiredWordLength = rules->rackSize;
      drawn = DrawAnagramGroup(*this, player);
      break;
    case kKindConundrum:
      requiredWordLength = rules->rackSize;
      drawn = DrawConundrum(*this, player);
      break;
    default:
      break;
  }
  std::memcpy(player.rackAsDealt, player.rack,
              static_cast<size_t>(std::min(player.RackPlaces() + 1, kRackTextSize)));
  return drawn;
}
