#include "shell/game_stats.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "shell/app_context.h"
#include "shell/fixed_text.h"
#include "shell/shell_constants.h"
#include "shell/shell_host.h"
#include "shell/shell_utils.h"
#include "shell/user_profile.h"

namespace shell {
namespace {

void StampNow(char* date, size_t size) { CopyFixedText(date, size, GetDateTimeString()); }

void CheckBestRating(GameStatsRecord& s) {
  if (s.rating > s.bestRating) {
    s.bestRating = s.rating;
    StampNow(s.bestRatingDate, sizeof s.bestRatingDate);
  }
}

// Mean over n + 1 values where `old` is the mean of the first n; a mean still
// at 0 takes the new value itself.
float RunningMean(float old, float value, int n) {
  if (old == 0.0f) return value;
  return static_cast<float>((static_cast<double>(n) * old + value) / (n + 1));
}

// Positions of the players ordered by final score, highest first (ties keep
// index order).
std::vector<int> ScoreOrder(const FinishedGame& g) {
  std::vector<int> order(g.players.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&g](int a, int b) {
    return g.players[static_cast<size_t>(a)].finalScore >
           g.players[static_cast<size_t>(b)].finalScore;
  });
  return order;
}

int PositionOf(const std::vector<int>& order, int player) {
  auto it = std::find(order.begin(), order.end(), player);
  return it == order.end() ? 0 : static_cast<int>(it - order.begin());
}

int32_t TwoPlayerRating(float expected, double s, int32_t own) {
  return static_cast<int32_t>(std::trunc((s - expected) * kRatingFactor + own));
}

// Three or four players: a rise by place and by the rating of the player
// who should have been at that place; no such game lowers a rating.
int32_t MultiPlayerRating(const FinishedGame& g) {
  int n = static_cast<int>(g.players.size());
  int p = PositionOf(ScoreOrder(g), g.localPlayer);
  std::vector<int32_t> ratings;
  for (const FinishedPlayer& pl : g.players)
    ratings.push_back(pl.rating);
  std::stable_sort(ratings.begin(), ratings.end(), std::greater<int32_t>());
  int32_t t = ratings[static_cast<size_t>(p)];
  int32_t r = g.players[static_cast<size_t>(g.localPlayer)].rating;
  int32_t adjustment = t > r ? 2 * (t - r) / 3 : (r - t) / 3;
  static const int32_t kBonus[] = {10, 5, 2, 1};
  return r + (n - p) + adjustment + kBonus[p];
}

void UpdateStandardRating(GameStatsRecord& s, const FinishedGame& g, double score) {
  size_t n = g.players.size();
  if (n == 2)
    s.rating = TwoPlayerRating(s.expectedScore, score,
                               g.players[static_cast<size_t>(g.localPlayer)].rating);
  else if (n == 3 || n == 4)
    s.rating = MultiPlayerRating(g);
  else
    return;
  CheckBestRating(s);
}

void UpdateDuplicateRating(GameStatsRecord& s, const FinishedGame& g) {
  int n = static_cast<int>(g.players.size());
  if (n >= 2) {
    int p = PositionOf(ScoreOrder(g), g.localPlayer);
    double gain = 1.2 * n - 1.5 * p;
    if (gain > 0) s.rating = static_cast<int32_t>(std::ceil(s.rating + gain));
  }
  CheckBestRating(s);
}

int ResultOf(const FinishedGame& g) {
  int best = g.localPlayer;
  for (size_t i = 0; i < g.players.size(); ++i)
    if (static_cast<int>(i) != g.localPlayer &&
        g.players[i].finalScore >= g.players[static_cast<size_t>(best)].finalScore)
      best = static_cast<int>(i);
  if (best == g.localPlayer) return kGameWon;
  int32_t own = g.players[static_cast<size_t>(g.localPlayer)].finalScore;
  return own == g.players[static_cast<size_t>(best)].finalScore ? kGameDrawn : kGameLost;
}

void CountResult(GameStatsRecord& s, int result) {
  if (result == kGameWon)
    ++s.wins;
  else if (result == kGameDrawn)
    ++s.draws;
  else if (result == kGameLost)
    ++s.defeats;
}

void UpdateBestWord(GameStatsRecord& s, int32_t score, const std::string& word) {
  if (score > 0 && static_cast<uint32_t>(score) > s.bestWordScore) {
    s.bestWordScore = static_cast<uint32_t>(score);
    CopyFixedText(s.bestWord, sizeof s.bestWord, word);
    StampNow(s.bestWordDate, sizeof s.bestWordDate);
  }
}

float PerLetter(int32_t score, int32_t letters) {
  return letters ? static_cast<float>(score) / static_cast<float>(letters) : 0.0f;
}

float DuplicatePercent(int32_t score, int32_t top) {
  return top ? static_cast<float>(score) / static_cast<float>(top) * 100.0f : 0.0f;
}

void UpdateDuplicatePercent(GameStatsRecord& s, float percent, int n) {
  if (percent > s.bestDuplicatePercent) {
    s.bestDuplicatePercent = percent;
    StampNow(s.bestDuplicateDate, sizeof s.bestDuplicateDate);
  }
  s.averageDuplicatePercent = RunningMean(s.averageDuplicatePercent, percent, n);
}

void UpdateEvaluationAverages(GameStatsRecord& s, const FinishedPlayer& p, int n) {
  float* avg[kEvalTermCount] = {&s.avgBonusSquaresBlocked, &s.avgClosingBonusSquares,
                                &s.avgClosingBoard,        &s.avgRemainderQuality,
                                &s.avgWordScore,           &s.avgGeneralNote};
  bool first = s.avgWordScore == 0.0f;
  for (int i = 0; i < kEvalTermCount; ++i)
    *avg[i] =
        first ? p.evaluation[i]
              : static_cast<float>((static_cast<double>(n) * *avg[i] + p.evaluation[i]) / (n + 1));
}

int BlockOfTournament(const TournamentFacts& t) {
  return t.kind == 0 ? kStatsTournament : t.kind == 1 ? kStatsTournamentDup : -1;
}

// The 0-based place of the participant among the human entries of the
// standings, 0 when absent.
int StandingPosition(const TournamentFacts& t, const std::string& name) {
  for (size_t i = 0; i < t.standings.size(); ++i)
    if (!t.standings[i].isComputer && t.standings[i].name == name) return static_cast<int>(i);
  return 0;
}

int32_t TournamentK(int n) {
  if (n < 8) return 10;
  if (n <= 16) return 20;
  if (n <= 32) return 50;
  if (n <= 64) return 100;
  return 150;
}

}  // namespace

float ExpectedScore(int32_t ownRating, int32_t opponentRating) {
  return static_cast<float>(1.0 / (std::pow(10.0, (opponentRating - ownRating) * 0.0025) + 1.0));
}

int StatsBlockFor(const FinishedGame& g) {
  bool online = g.lobbyMode == 2;
  if (g.kind == FinishedGameKind::kDuplicate)
    return online ? kStatsOnlineDuplicate : kStatsDuplicate;
  if (g.kind != FinishedGameKind::kStandard) return -1;
  if (g.players.size() == 2) return online ? kStatsOnline2 : kStatsClassic2;
  return online ? kStatsOnlineMulti : kStatsClassicMulti;
}

bool ShouldCountGame(const FinishedGame& g) {
  if (g.noStatistics || g.localPlayer < 0 || static_cast<size_t>(g.localPlayer) >= g.players.size())
    return false;
  if (g.kind == FinishedGameKind::kDuplicate) return true;
  if (g.kind != FinishedGameKind::kStandard || g.players.size() < 2) return false;
  return std::any_of(g.players.begin(), g.players.end(),
                     [](const FinishedPlayer& p) { return !p.isComputer; });
}

// Best score and its date, the average score, the best word and the letters
// placed; returns the letters the player placed.
static int32_t UpdateScoreRecords(GameStatsRecord& s, const FinishedPlayer& p, bool duplicate,
                                  int n) {
  if (p.finalScore > s.bestScore) {
    s.bestScore = p.finalScore;
    StampNow(s.bestScoreDate, sizeof s.bestScoreDate);
  }
  s.averageScore = RunningMean(s.averageScore, static_cast<float>(p.finalScore), n);
  if (duplicate)
    UpdateBestWord(s, p.dupBestMoveScore, p.dupBestMoveWord);
  else
    UpdateBestWord(s, p.bestMoveScore, p.bestMoveWord);
  const int32_t letters = duplicate ? p.dupLettersPlaced : p.lettersPlaced;
  s.letterCount += letters;
  return letters;
}

GameStatsOutcome RecordGameStatistics(UserProfile& profile, const FinishedGame& g) {
  GameStatsOutcome out;
  int block = StatsBlockFor(g);
  if (block < 0 || g.localPlayer < 0 || static_cast<size_t>(g.localPlayer) >= g.players.size())
    return out;
  const bool duplicate = g.kind == FinishedGameKind::kDuplicate;
  const FinishedPlayer& p = g.players[static_cast<size_t>(g.localPlayer)];
  if (g.rated && g.players.size() == 2) {
    const FinishedPlayer& opp = g.players[g.localPlayer == 0 ? 1 : 0];
    profile.stats[g.lobbyMode == 2 ? kStatsOnline2 : kStatsClassic2].expectedScore =
        ExpectedScore(p.rating, opp.rating);
  }
  GameStatsRecord& s = profile.stats[block];
  const int n = s.games;
  const int32_t letters = UpdateScoreRecords(s, p, duplicate, n);
  s.averagePerLetter = RunningMean(s.averagePerLetter, PerLetter(p.finalScore, letters), n);
  if (!duplicate) {
    s.challengeWon += p.challengesWon;
    s.challengeLost += p.challengesLost;
    s.challengeCount = s.challengeWon + s.challengeLost;
  } else if (g.rated) {
    UpdateDuplicateRating(s, g);
  }
  ++s.games;
  out.result = ResultOf(g);
  CountResult(s, out.result);
  if (!duplicate && g.rated)
    UpdateStandardRating(s, g, out.result == kGameWon ? 1.0 : out.result == kGameDrawn ? 0.5 : 0.0);
  if (out.result == kGameWon)
    GetShellHost().PlaySoundFile(kSoundGameWon);
  else if (out.result == kGameLost)
    GetShellHost().PlaySoundFile(kSoundGameLost);
  if (duplicate) {
    s.allTilesMoveCount += p.dupSevenTileMoves;
    out.duplicatePercent = DuplicatePercent(p.finalScore, g.topScore);
    UpdateDuplicatePercent(s, out.duplicatePercent, n);
  } else {
    s.allTilesMoveCount += p.sevenTileMoves;
    s.mostWordsInMove = std::max(s.mostWordsInMove, p.mostWordsInMove);
    if (!g.excludedFromEvaluation) UpdateEvaluationAverages(s, p, n);
  }
  out.counted = true;
  out.block = block;
  return out;
}

bool CountFinishedGame(const FinishedGame& game, GameStatsOutcome* outcome) {
  UserProfile* current = GetCurrentUserProfile();
  if (!current || !current->name[0] || !ShouldCountGame(game)) return true;  // nothing to save
  GameStatsOutcome o = RecordGameStatistics(*current, game);
  if (outcome) *outcome = o;
  return WriteUserProfile(current);
}

void RecordTournamentGameStatistics(UserProfile& profile, const TournamentFacts& t,
                                    const FinishedPlayer& p, int32_t topScore, int result,
                                    const TournamentParticipantFacts& participant,
                                    float* duplicatePercent) {
  int block = BlockOfTournament(t);
  if (!t.noStatistics || block < 0) return;
  const bool duplicate = block == kStatsTournamentDup;
  GameStatsRecord& s = profile.stats[block];
  // Running means weigh by the participant's games in this tournament.
  const int n = participant.gamesPlayed;
  const int32_t letters = UpdateScoreRecords(s, p, duplicate, n);
  float a = PerLetter(p.finalScore, letters);
  if (a != 0.0f) s.averagePerLetter = RunningMean(s.averagePerLetter, a, n);
  if (!duplicate) {
    s.challengeCount += p.invalidWordsPlayed;
    s.challengeWon += p.challengesWon;
    s.challengeLost += p.challengesLost;
  }
  // The block keeps its own totals over every tournament game.
  ++s.games;
  CountResult(s, result);
  if (duplicate) {
    s.allTilesMoveCount += p.dupSevenTileMoves;
    float percent = DuplicatePercent(p.finalScore, topScore);
    if (duplicatePercent) *duplicatePercent = percent;
    UpdateDuplicatePercent(s, percent, n);
  } else {
    s.allTilesMoveCount += p.sevenTileMoves;
    s.mostWordsInMove = std::max(s.mostWordsInMove, p.mostWordsInMove);
    UpdateEvaluationAverages(s, p, n);
  }
}

void UpdateTournamentRating(UserProfile& profile, const TournamentFacts& t,
                            const TournamentParticipantFacts& participant) {
  GameStatsRecord& s = profile.stats[kStatsTournament];
  const int n = t.playerCount;
  const int32_t k = TournamentK(n);
  const int p = StandingPosition(t, participant.name);
  std::vector<int32_t> ratings;
  for (const TournamentStanding& e : t.standings)
    ratings.push_back(e.rating);
  std::sort(ratings.begin(), ratings.end(), std::greater<int32_t>());
  const int32_t r = participant.rating;
  const int32_t top = static_cast<size_t>(p) < ratings.size() ? ratings[static_cast<size_t>(p)] : r;
  // Integer division truncates toward zero, which lowers a rating when the
  // place was below the player's standing.
  const int32_t adjustment = top >= r ? 2 * (top - r) / 3 : (top - r) / 3;
  static const int32_t kBonusDivisor[] = {1, 2, 5, 10};
  const int32_t bonus = p < 4 ? k / kBonusDivisor[p] : 0;
  s.rating = r + (n - p) + adjustment + bonus;
  CheckBestRating(s);
}

void UpdateDuplicateTournamentRating(UserProfile& profile, const TournamentFacts& t,
                                     const TournamentParticipantFacts& participant) {
  GameStatsRecord& s = profile.stats[kStatsTournamentDup];
  const int n = t.playerCount;
  if (n >= 2) {
    const int p = StandingPosition(t, participant.name);
    const double f = (t.gamesPlayed + 5) * 0.25;
    const float a = static_cast<float>(0.8 * n * f);
    const double gain = static_cast<double>(a) - f * p;
    if (gain > 0) s.rating = static_cast<int32_t>(std::ceil(s.rating + gain));
  }
  CheckBestRating(s);
}

}  // namespace shell
