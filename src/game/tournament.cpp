#include "game/tournament.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>

#include "game/game.h"
#include "game/game_results.h"
#include "game/game_strings.h"
#include "game/player.h"
#include "game/turn_support.h"
#include "shell/app_context.h"
#include "shell/game_stats.h"

namespace {

constexpr uint32_t kStrAgainst = 2205;
constexpr uint32_t kStrUnknown = 2062;
constexpr uint32_t kStrGameSimulation = 1871;
constexpr uint32_t kStrSimulationAgainst = 1872;
constexpr uint32_t kStrWonRankingGame = 1972;
constexpr uint32_t kStrLostRankingGame = 1973;
constexpr uint32_t kStrTiedRankingGame = 1974;

constexpr int32_t kSideFirst = 2;
constexpr int32_t kSideSecond = 1;
constexpr int32_t kMustChange = 256;

std::mt19937& Generator() {
  static std::mt19937 generator(
      static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  return generator;
}
bool RandomBit() { return (Generator()() & 1) != 0; }
int RandomBelow(int n) {
  return n > 0 ? static_cast<int>(Generator()() % static_cast<uint32_t>(n)) : 0;
}

std::string Format(uint32_t id, const char* a, const char* b = "") {
  const std::string format = GameText(id);
  char out[512];
  std::snprintf(out, sizeof out, format.c_str(), a, b);
  return out;
}

const char* ShownName(const TournamentData& t, const TournamentParticipant& p) {
  static std::string unknown;
  if (t.hiddenOpponents && p.isComputer) {
    unknown = GameText(kStrUnknown);
    return unknown.c_str();
  }
  return p.name;
}

bool IsWinOfSecond(int32_t code) {
  return code == kResultSecondWon || code == kResultFirstResigned || code == kResultFirstOnTime;
}
bool IsWinOfFirst(int32_t code) {
  return code == kResultFirstWon || code == kResultSecondResigned || code == kResultSecondOnTime;
}

// The rows of round r (1-based) of the Berger tables for m players (even):
// pairs of (first, second) as the table lists them.
std::vector<std::pair<int, int>> BergerRound(int m, int r) {
  const int n = m - 1;
  const int x = ((r - 1) * (m / 2)) % n + 1;
  std::vector<std::pair<int, int>> boards;
  // Board 1: the last player, second in odd rounds and first in even ones.
  boards.emplace_back(r % 2 ? std::make_pair(x, m) : std::make_pair(m, x));
  for (int k = 2; k <= m / 2; ++k) {
    const int a = (x - 1 + (k - 1)) % n + 1;
    const int b = ((x - 1 - (k - 1)) % n + n) % n + 1;
    boards.emplace_back(a, b);
  }
  return boards;
}

void CountSides(const TournamentData& t, TournamentParticipant& p) {
  int first = 0, second = 0, last = 0;
  for (const TournamentPairing& g : t.pairings) {
    if (g.first == 0 || g.result == kResultNotPlayed) break;
    if (g.first == p.number) {
      ++first;
      last = kSideFirst;
    } else if (g.second == p.number) {
      ++second;
      last = kSideSecond;
    }
  }
  p.sideState = last;
  if (second > first) {
    p.sideState = kSideSecond | (second - first > 1 ? kMustChange : 0);
  } else if (first > second) {
    p.sideState = kSideFirst | (first - second > 2 ? kMustChange : 0);
  }
}

// Whether a and b have met in the current cycle's rounds.
bool MetThisCycle(const TournamentData& t, int a, int b) {
  const int n = t.PlayerCount();
  const int perRound = n / 2;
  const int rounds = n > 1 ? t.currentRound % (n - 1) : 0;
  const int end = std::min<int>(t.gamesPlayed, static_cast<int>(t.pairings.size()));
  for (int i = std::max(0, end - rounds * perRound); i < end; ++i) {
    const TournamentPairing& g = t.pairings[static_cast<size_t>(i)];
    if ((g.first == a && g.second == b) || (g.first == b && g.second == a)) return true;
  }
  return false;
}

// Whether a and b may meet this Swiss round, how well (4, 2, 1, 0; -1 not
// at all), and who is listed first.
int MeetingQuality(const TournamentData& t, const TournamentParticipant& a,
                   const TournamentParticipant& b, bool* aFirst) {
  if (a.number < 1 || b.number < 1 || a.number == b.number) return -1;
  if (a.pairedThisRound || b.pairedThisRound || MetThisCycle(t, a.number, b.number)) return -1;
  const int lastA = a.sideState & 0xFF, lastB = b.sideState & 0xFF;
  const bool mustA = a.sideState & kMustChange, mustB = b.sideState & kMustChange;
  if (lastA != lastB) {
    *aFirst = lastA == kSideSecond;  // who was last second now plays first
    return 4;
  }
  if (mustA && mustB) return -1;
  int quality = 2;
  if (t.currentRound % 2 == 1) quality = lastA != kSideSecond ? 1 : 0;
  if (mustA)
    *aFirst = lastA == kSideSecond;
  else if (mustB)
    *aFirst = lastB != kSideSecond;
  else
    *aFirst = RandomBit();
  return quality;
}

int FreePairingIndex(const TournamentData& t) {
  for (size_t i = 0; i < t.pairings.size(); ++i)
    if (t.pairings[i].first == 0) return static_cast<int>(i);
  return -1;
}

void StorePair(TournamentParticipant& a, TournamentParticipant& b, bool aFirst) {
  a.pairedThisRound = b.pairedThisRound = 1;
  a.opponent = b.number;
  b.opponent = a.number;
  a.listedSecond = aFirst ? 0 : 1;
  b.listedSecond = aFirst ? 1 : 0;
}

// One walk of the standings; false when someone found nobody.
bool WalkStandings(TournamentData& t, std::vector<TournamentParticipant*>& table, bool fromTop) {
  const int n = static_cast<int>(table.size());
  for (int step = 0; step < n; ++step) {
    const int i = fromTop ? step : n - 1 - step;
    TournamentParticipant& p = *table[static_cast<size_t>(i)];
    if (p.pairedThisRound) continue;
    int gs = i, ge = i + 1;
    while (gs > 0 && table[static_cast<size_t>(gs - 1)]->points == p.points)
      --gs;
    while (ge < n && table[static_cast<size_t>(ge)]->points == p.points)
      ++ge;
    const int g = ge - gs, j = i - gs;
    const int start = gs + (j < g / 2 ? j + (g + 1) / 2 : j - (g + 1) / 2);
    bool paired = false;
    for (int d = 0; !paired && d <= n; ++d) {
      const int candidates[2] = {start - d, start + d};
      for (int k = 0; k < (d == 0 ? 1 : 2) && !paired; ++k) {
        const int c = candidates[k];
        if (c < 0 || c >= n || c == i) continue;
        bool aFirst = true;
        TournamentParticipant& q = *table[static_cast<size_t>(c)];
        const int quality = MeetingQuality(t, p, q, &aFirst);
        const bool good = quality == 4 || quality == 2 ||
                          (quality == 1 && (d > 0 || (t.currentRound < 2 && g == 2)));
        if (quality < 0 || !good) continue;
        StorePair(p, q, aFirst);
        paired = true;
      }
    }
    if (!paired) return false;
  }
  return true;
}

}  // namespace

void SeedTournamentRandom(uint32_t seed) { Generator().seed(seed); }

TournamentParticipant* FindParticipant(TournamentData& t, int number, const char* name) {
  if (name) {
    for (TournamentParticipant& p : t.participants)
      if (std::strcmp(p.name, name) == 0) return &p;
    return nullptr;
  }
  if (number < 1 || number > t.PlayerCount()) return nullptr;
  for (TournamentParticipant& p : t.participants)
    if (p.number == number) return &p;
  return nullptr;
}

void SetPairing(TournamentData& t, int first, int second, int index) {
  if (index < 0 || index >= static_cast<int>(t.pairings.size())) return;
  TournamentPairing& g = t.pairings[static_cast<size_t>(index)];
  g.first = static_cast<uint8_t>(first);
  g.second = static_cast<uint8_t>(second);
  if (t.scheduleLines.size() < t.pairings.size()) t.scheduleLines.resize(t.pairings.size());
  const TournamentParticipant* a = FindParticipant(t, first, nullptr);
  const TournamentParticipant* b = FindParticipant(t, second, nullptr);
  std::string line = std::string(a ? ShownName(t, *a) : "") + "\t " + GameText(kStrAgainst) + " " +
                     (b ? ShownName(t, *b) : "");
  if (line.size() > kScheduleLineSize - 1) line.resize(kScheduleLineSize - 1);
  t.scheduleLines[static_cast<size_t>(index)] = line;
}

bool BuildRoundRobinSchedule(TournamentData& t) {
  const int n = t.PlayerCount();
  if (n < 2 || n > kTournamentMaxPlayers) return false;
  const int m = n % 2 ? n + 1 : n;
  const int cycles = std::clamp(t.roundCount, 1, kTournamentMaxRounds);
  std::vector<std::pair<int, int>> games;
  bool flip = RandomBit();
  for (int cycle = 0; cycle < cycles; ++cycle, flip = !flip) {
    for (int r = 1; r < m; ++r)
      for (auto [a, b] : BergerRound(m, r)) {
        if (a > n || b > n) continue;  // the bye
        games.emplace_back(flip ? std::make_pair(a, b) : std::make_pair(b, a));
      }
  }
  t.pairings.assign(games.size(), TournamentPairing());
  t.scheduleLines.assign(games.size(), std::string());
  for (size_t i = 0; i < games.size(); ++i)
    SetPairing(t, games[i].first, games[i].second, static_cast<int>(i));
  t.gameCount = static_cast<int32_t>(games.size());
  return true;
}

bool PairSwissRound(TournamentData& t) {
  const int n = t.PlayerCount();
  if (n < 2 || n > kTournamentMaxPlayers) return false;
  if (t.roundsPaired > t.currentRound) return true;
  const size_t perRound = static_cast<size_t>(n / 2);
  const size_t wanted =
      perRound * static_cast<size_t>(std::clamp(t.roundCount, 1, kTournamentMaxRounds));
  if (t.pairings.size() < wanted) {
    t.pairings.resize(wanted);
    t.scheduleLines.resize(wanted);
    t.gameCount = static_cast<int32_t>(wanted);
  }
  for (TournamentParticipant& p : t.participants)
    p.opponent = p.pairedThisRound = p.listedSecond = 0;

  std::vector<TournamentParticipant*> table;
  if (t.currentRound == 0) {
    for (TournamentParticipant& p : t.participants) {
      p.byeRound = 0;
      table.push_back(&p);
    }
    bool firstHalfFirst = RandomBit();
    for (int i = 0; i < n / 2; ++i, firstHalfFirst = !firstHalfFirst)
      StorePair(*table[static_cast<size_t>(i)], *table[static_cast<size_t>(i + n / 2)],
                firstHalfFirst);
    if (n % 2) table.back()->byeRound = 1, table.back()->pairedThisRound = 1;
  } else {
    RecomputePoints(t, false);
    for (TournamentParticipant& p : t.participants) {
      CountSides(t, p);
      table.push_back(&p);
    }
    std::stable_sort(table.begin(), table.end(),
                     [](const TournamentParticipant* a, const TournamentParticipant* b) {
                       if (a->points != b->points) return a->points > b->points;
                       return a->rating > b->rating;
                     });
    if (n % 2) {
      // The lowest who never had the bye gets it; when all have had it, a
      // second bye goes to the lowest again rather than nobody.
      TournamentParticipant* bye = table.back();
      for (auto it = table.rbegin(); it != table.rend(); ++it)
        if (!(*it)->byeRound) {
          bye = *it;
          break;
        }
      bye->byeRound = t.currentRound + 1;
      bye->pairedThisRound = 1;
    }
    auto clear = [&] {
      for (TournamentParticipant* p : table)
        if (p->byeRound != t.currentRound + 1) p->pairedThisRound = 0, p->opponent = 0;
    };
    bool done = false;
    for (int restart = 0; !done && restart <= 4 * n; ++restart) {
      clear();
      done = WalkStandings(t, table, restart <= 2 * n);
      if (done) break;
      // Swap a record with a neighbour of equal points and try again.
      for (int tries = 0; tries < 100 * n && n > 2; ++tries) {
        const int at = 1 + RandomBelow(n - 2);
        const int other = RandomBit() ? at - 1 : at + 1;
        if (table[static_cast<size_t>(at)]->points == table[static_cast<size_t>(other)]->points) {
          std::swap(table[static_cast<size_t>(at)], table[static_cast<size_t>(other)]);
          break;
        }
      }
    }
    if (!done) {
      // The random fallback: bounded tries per participant; who still finds
      // nobody sits the round out rather than the pairing running for ever.
      clear();
      const int startAt = RandomBelow(n);
      for (int k = 0; k < n; ++k) {
        TournamentParticipant& p = *table[static_cast<size_t>((startAt + k) % n)];
        if (p.pairedThisRound) continue;
        for (int tries = 0; tries < 100 * n; ++tries) {
          TournamentParticipant& q = *table[static_cast<size_t>(RandomBelow(n))];
          bool aFirst = true;
          if (MeetingQuality(t, p, q, &aFirst) < 0) continue;
          StorePair(p, q, aFirst);
          break;
        }
      }
    }
  }
  // In the order the walk met them: the first board first.
  for (TournamentParticipant* p : table) {
    if (!p->opponent || p->opponent < 0) continue;
    TournamentParticipant* q = FindParticipant(t, p->opponent, nullptr);
    const int index = FreePairingIndex(t);
    if (!q || index < 0) break;
    if (p->listedSecond)
      SetPairing(t, q->number, p->number, index);
    else
      SetPairing(t, p->number, q->number, index);
    p->opponent = -q->number;  // stored
    q->opponent = -p->number;
  }
  for (TournamentParticipant& p : t.participants)
    p.opponent = -p.opponent;
  ++t.roundsPaired;
  return true;
}

void RecomputePoints(TournamentData& t, bool withTieBreak) {
  // A duplicate tournament's points are shares of each game (10 / k for k
  // sharing the top score): they are kept as scored, never recounted.
  if (!t.IsDuplicate())
    for (TournamentParticipant& p : t.participants) {
      p.points = (p.draws + 2 * p.wins) * kPointsDraw;
      if (p.byeRound && p.byeRound <= t.currentRound) p.points += kPointsWin;
    }
  (void)withTieBreak;
  SortStandings(t);
}

void SortStandings(TournamentData& t) {
  t.standings = t.participants;
  auto& s = t.standings;
  if (t.IsDuplicate()) {
    std::stable_sort(s.begin(), s.end(), [](const auto& a, const auto& b) {
      if (a.wins != b.wins) return a.wins > b.wins;
      if (a.draws != b.draws) return a.draws > b.draws;
      if (a.losses != b.losses) return a.losses < b.losses;
      return a.totalScore > b.totalScore;
    });
  } else if (t.swiss) {
    std::vector<int32_t> average;
    for (const TournamentParticipant& p : s)
      average.push_back(AverageOpponentRating(t, p));
    std::vector<size_t> order(s.size());
    for (size_t i = 0; i < order.size(); ++i)
      order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      if (s[a].points != s[b].points) return s[a].points > s[b].points;
      if (average[a] != average[b]) return average[a] > average[b];
      return s[a].rating > s[b].rating;
    });
    std::vector<TournamentParticipant> sorted;
    for (size_t i : order)
      sorted.push_back(s[i]);
    s.swap(sorted);
  } else {
    std::stable_sort(s.begin(), s.end(), [](const auto& a, const auto& b) {
      if (a.points != b.points) return a.points > b.points;
      if (a.wins != b.wins) return a.wins > b.wins;
      return a.totalScore > b.totalScore;
    });
  }
}

int32_t AverageOpponentRating(const TournamentData& t, const TournamentParticipant& p) {
  if (p.gamesPlayed <= 0) return 0;
  int64_t sum = 0;
  const int end = std::min<int>(t.gamesPlayed, static_cast<int>(t.pairings.size()));
  for (int i = 0; i < end; ++i) {
    const TournamentPairing& g = t.pairings[static_cast<size_t>(i)];
    const int other = g.first == p.number ? g.second : g.second == p.number ? g.first : 0;
    for (const TournamentParticipant& q : t.participants)
      if (other && q.number == other) sum += q.rating;
  }
  return static_cast<int32_t>(sum / p.gamesPlayed);
}

int32_t SettleTwoPlayerScores(TournamentData& t, CGame& game) {
  if (t.currentPairing < 0 || t.currentPairing >= static_cast<int>(t.pairings.size()))
    return kResultNone;
  const TournamentPairing& g = t.pairings[static_cast<size_t>(t.currentPairing)];
  TournamentParticipant* first = FindParticipant(t, g.first, nullptr);
  TournamentParticipant* second = FindParticipant(t, g.second, nullptr);
  GamePlayer* p0 = game.Player(0);
  GamePlayer* p1 = game.Player(1);
  if (!first || !second || !p0 || !p1) return kResultNone;
  int32_t code = game.tournamentMode;
  if (code == kResultFirstResigned) {
    p0->score = 0;
    second->totalScore += std::max(p1->score, 0);
    code = kResultSecondWon;
  } else if (code == kResultSecondResigned) {
    p1->score = 0;
    first->totalScore += std::max(p0->score, 0);
    code = kResultFirstWon;
  } else {
    first->totalScore += p0->score;
    second->totalScore += p1->score;
    code = p0->score > p1->score   ? kResultFirstWon
           : p1->score > p0->score ? kResultSecondWon
                                   : kResultDraw;
  }
  game.tournamentMode = code;
  return code;
}

namespace {

// A ranking game's result for each local human of the game, once each. The
// game's kind is left as it is.
void AnnounceRankingResult(CGame& game, int32_t code) {
  for (int h = 0; h < 2; ++h) {
    GamePlayer* human = game.Player(h);
    GamePlayer* other = game.Player(1 - h);
    if (!human || !other || human->Type() != kPlayerHuman) continue;
    if (game.Kind() != kKindStandard && game.Kind() != kKindDuplicate) return;
    const bool zeroWon = IsWinOfFirst(code);
    const bool oneWon = IsWinOfSecond(code);
    uint32_t id = kStrTiedRankingGame;
    if ((h == 0 && zeroWon) || (h == 1 && oneWon)) id = kStrWonRankingGame;
    if ((h == 0 && oneWon) || (h == 1 && zeroWon)) id = kStrLostRankingGame;
    turns::ShowGameNotice(Format(id, human->entry.name, other->entry.name).c_str());
  }
}

// The human participant takes its best move and statistics from the game's
// player, and the game is counted in the user's profile.
void RecordHumanStatistics(TournamentData& t, CGame& game, const GamePlayer& player,
                           TournamentParticipant& participant, int result) {
  const PlayerMoveStats& stats = player.stats[t.IsDuplicate() ? kDuplicateStats : kStandardStats];
  if (stats.bestMove.word[0] && stats.bestMove.score > participant.bestMove.score)
    participant.bestMove = stats.bestMove;
  for (int i = 0; i < kTournamentStatistics && i < kStatsTermCount; ++i)
    participant.statistics[i] += stats.termSums[i];
  shell::UserProfile* profile = shell::GetCurrentUserProfile();
  if (!profile) return;
  shell::TournamentFacts facts;
  facts.kind = t.IsDuplicate() ? 1 : 0;
  facts.playerCount = t.PlayerCount();
  facts.gamesPlayed = t.gamesPlayed;
  for (const TournamentParticipant& p : t.standings)
    facts.standings.push_back({p.name, p.rating, p.isComputer != 0});
  shell::TournamentParticipantFacts who;
  who.name = participant.name;
  who.rating = participant.rating;
  who.gamesPlayed = participant.gamesPlayed;
  const shell::FinishedGame finished = MakeFinishedGame(game);
  const int index =
      std::clamp(player.playerIndex, 0, static_cast<int>(finished.players.size()) - 1);
  if (finished.players.empty()) return;
  const int32_t top = game.referencePlayer ? game.referencePlayer->score : 0;
  shell::RecordTournamentGameStatistics(
      *profile, facts, finished.players[static_cast<size_t>(index)], top, result, who);
}

void ScoreDuplicateGame(TournamentData& t, CGame& game) {
  const int n = t.PlayerCount();
  int32_t best = INT32_MIN;
  for (int i = 0; i < n; ++i)
    if (const GamePlayer* p = game.Player(i)) best = std::max(best, p->score);
  int sharing = 0;
  for (int i = 0; i < n; ++i)
    if (const GamePlayer* p = game.Player(i); p && p->score == best) ++sharing;
  const bool abandoned = game.tournamentMode == kResultAbandoned;
  for (int i = 0; i < n; ++i) {
    const GamePlayer* p = game.Player(i);
    TournamentParticipant* q = FindParticipant(t, 0, p ? p->entry.name : "");
    if (!p || !q) continue;
    q->totalScore += p->score;
    ++q->gamesPlayed;
    if (abandoned) {
      if (!q->isComputer) {
        ++q->losses;
      } else {
        if (n == 2)
          ++q->wins;
        else
          ++q->draws;
        q->points += n > 1 ? kPointsWin / (n - 1) : kPointsWin;
      }
    } else if (p->score == best && sharing == 1) {
      ++q->wins;
      q->points += kPointsWin;
    } else if (p->score == best) {
      ++q->draws;
      q->points += kPointsWin / sharing;
    } else {
      ++q->losses;
    }
  }
  ++t.currentRound;
}

}  // namespace

bool RecordGameResult(TournamentData& t, CGame& game) {
  if (t.IsDuplicate()) {
    ScoreDuplicateGame(t, game);
    for (int i = 0; i < game.PlayerCount(); ++i) {
      const GamePlayer* p = game.Player(i);
      if (!p || p->Type() != kPlayerHuman) continue;
      for (TournamentParticipant& q : t.participants)
        if (!q.isComputer) {
          RecordHumanStatistics(t, game, *p, q, shell::kGameNoResult);
          break;
        }
      break;
    }
    t.gameRunning = 0;
    SortStandings(t);
    return true;
  }
  if (t.currentPairing < 0 || t.currentPairing >= static_cast<int>(t.pairings.size())) return false;
  TournamentPairing& g = t.pairings[static_cast<size_t>(t.currentPairing)];
  TournamentParticipant* first = FindParticipant(t, g.first, nullptr);
  TournamentParticipant* second = FindParticipant(t, g.second, nullptr);
  if (!first || !second) return false;
  const int32_t code = game.tournamentMode;
  g.result = code;
  ++t.gamesPlayed;
  if (IsWinOfSecond(code)) {
    ++second->wins, ++first->losses;
  } else if (IsWinOfFirst(code)) {
    ++first->wins, ++second->losses;
  } else if (code == kResultDraw) {
    ++first->draws, ++second->draws;
  }
  ++first->gamesPlayed;
  ++second->gamesPlayed;
  RecomputePoints(t, false);
  if (t.IsRanking()) {
    AnnounceRankingResult(game, code);
    for (int h = 0; h < 2; ++h) {
      const GamePlayer* p = game.Player(h);
      if (!p || p->Type() != kPlayerHuman) continue;
      TournamentParticipant& q = h == 0 ? *first : *second;
      const bool won = h == 0 ? IsWinOfFirst(code) : IsWinOfSecond(code);
      const bool lost = h == 0 ? IsWinOfSecond(code) : IsWinOfFirst(code);
      RecordHumanStatistics(t, game, *p, q,
                            won    ? shell::kGameWon
                            : lost ? shell::kGameLost
                                   : shell::kGameDrawn);
      break;
    }
  }
  SortStandings(t);
  return true;
}

std::string ResultText(const TournamentData& t, const TournamentPairing& pairing) {
  const TournamentParticipant* first = nullptr;
  const TournamentParticipant* second = nullptr;
  for (const TournamentParticipant& p : t.participants) {
    if (p.number == pairing.first) first = &p;
    if (p.number == pairing.second) second = &p;
  }
  const char* a = first ? ShownName(t, *first) : "";
  const std::string aName = a;
  const char* b = second ? ShownName(t, *second) : "";
  switch (pairing.result) {
    case kResultNotPlayed:
      return GameText(2068);
    case kResultUnfinished:
    case kResultAdjourned:
      return GameText(2056);
    case kResultSecondWon:
      return Format(3020, b);
    case kResultFirstWon:
      return Format(3021, aName.c_str());
    case kResultDraw:
      return GameText(2049);
    case kResultFirstResigned:
      return Format(2052, aName.c_str());
    case kResultSecondResigned:
      return Format(2053, b);
    case kResultFirstOnTime:
      return Format(2054, aName.c_str());
    case kResultSecondOnTime:
      return Format(2055, b);
    case kResultPaused:
      return GameText(2051);
    case kResultDisconnected:
      return GameText(2050);
    default:
      return std::string();
  }
}

std::string SimulateComputerGame(TournamentData& t, CGame& game) {
  auto base = [](int32_t rating) {
    if (rating >= 1600) return 400;
    if (rating >= 1500) return 350;
    if (rating >= 1400) return 300;
    if (rating >= 1300) return 250;
    if (rating >= 1200) return 200;
    if (rating >= 1000) return 150;
    if (rating >= 800) return 100;
    return 50;
  };
  std::string names;
  for (int i = 0; i < 2; ++i) {
    GamePlayer* p = game.Player(i);
    if (!p) continue;
    const TournamentParticipant* q = FindParticipant(t, 0, p->entry.name);
    p->score = base(q ? q->rating : p->rating) + RandomBelow(32768) * 100 / 32767;
    if (i == 1) names += " " + GameText(kStrSimulationAgainst) + " ";
    names += p->entry.name;
  }
  game.state = kStateOver;
  game.endSettled = 1;
  char line[256];
  std::snprintf(line, sizeof line, "%s %d/%d\n", GameText(kStrGameSimulation).c_str(),
                t.gamesPlayed + 1, t.gameCount);
  return line + names;
}

void ResetPairingResults(TournamentData& t) {
  for (TournamentPairing& g : t.pairings)
    g.result = kResultNotPlayed;
}
