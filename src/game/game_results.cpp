#include "game/game_results.h"

#include <algorithm>

#include "game/game.h"
#include "game/net_port.h"
#include "game/player.h"
#include "shell/app_context.h"
#include "shell/user_profile.h"

namespace {

shell::FinishedGameKind KindOf(int32_t kind) {
  if (kind == kKindStandard) return shell::FinishedGameKind::kStandard;
  if (kind == kKindDuplicate) return shell::FinishedGameKind::kDuplicate;
  return shell::FinishedGameKind::kOther;
}

// The local player: the network's own seat in a network game, else the
// first local human.
int LocalPlayerOf(const CGame& game) {
  if (IsNetworkGame())
    return std::clamp<int32_t>(GetGameNetPort().LocalPlayerIndex(), 0,
                               std::max(game.PlayerCount() - 1, 0));
  for (int i = 0; i < game.PlayerCount(); ++i)
    if (const GamePlayer* p = game.Player(i); p && p->Type() == kPlayerHuman) return i;
  return 0;
}

shell::FinishedPlayer FinishedPlayerOf(const GamePlayer& p) {
  shell::FinishedPlayer f;
  f.rating = p.rating;
  f.finalScore = p.score;
  f.isComputer = p.Type() == kPlayerComputer;
  const PlayerMoveStats& standard = p.stats[kStandardStats];
  const PlayerMoveStats& duplicate = p.stats[kDuplicateStats];
  if (standard.bestMove.word[0]) {
    f.bestMoveScore = standard.bestMove.score;
    f.bestMoveWord = standard.bestMove.word;
  }
  if (duplicate.bestMove.word[0]) {
    f.dupBestMoveScore = duplicate.bestMove.score;
    f.dupBestMoveWord = duplicate.bestMove.word;
  }
  f.lettersPlaced = standard.lettersPlaced;
  f.dupLettersPlaced = duplicate.lettersPlaced;
  f.sevenTileMoves = standard.allTilesMoves;
  f.dupSevenTileMoves = duplicate.allTilesMoves;
  f.mostWordsInMove = standard.mostWordsInMove;
  f.challengesWon = p.challengesWon;
  f.challengesLost = p.challengesLost;
  f.invalidWordsPlayed = p.invalidWordsPlayed;
  // The statistics block keeps averages per cycle of turns.
  const int cycles = std::max(p.cyclesPlayed, 1);
  for (int t = 0; t < kStatsTermCount && t < shell::kEvalTermCount; ++t)
    f.evaluation[t] = standard.termSums[t] / static_cast<float>(cycles);
  return f;
}

}  // namespace

shell::FinishedGame MakeFinishedGame(const CGame& game) {
  shell::FinishedGame g;
  g.kind = KindOf(game.Kind());
  g.rated = game.setup.rankingGame != 0;
  g.noStatistics = game.setup.noStatistics != 0;
  const int32_t mode = GetGameNetPort().GetNetworkMode();
  g.lobbyMode = mode == kNetworkInternet ? 2 : mode == kNetworkLan ? 1 : 0;
  g.localPlayer = LocalPlayerOf(game);
  if (game.Kind() == kKindDuplicate && game.referencePlayer)
    g.topScore = game.referencePlayer->score;
  for (int i = 0; i < game.PlayerCount(); ++i) {
    const GamePlayer* p = game.Player(i);
    g.players.push_back(p ? FinishedPlayerOf(*p) : shell::FinishedPlayer());
  }
  return g;
}

void ProfileResultPort::StoreExpectedScore(float expected, bool internet) {
  if (shell::UserProfile* profile = shell::GetCurrentUserProfile())
    profile->stats[internet ? shell::kStatsOnline2 : shell::kStatsClassic2].expectedScore =
        expected;
}

void ProfileResultPort::RecordGameStatistics(CGame& game) {
  shell::CountFinishedGame(MakeFinishedGame(game));
}

void InstallProfileResultPort() {
  static ProfileResultPort port;
  SetGameResultPort(&port);
}
