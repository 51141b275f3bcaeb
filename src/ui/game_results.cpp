#include "ui/game_results.h"

#include <algorithm>
#include <cstdio>

#include "shell/res_strings.h"

namespace ui {
namespace {

enum : uint32_t {
  kStrSameScore = 1876,
  kStrDuplicate = 1861,
  kStrChampionship = 1986,
  kStrSwiss = 1987,
  kStrRanked = 1988,
  kStrNonRanking = 1989,
  kStrGame = 2099,
  kStrAnagram = 3065,
  kStrPuzzle = 3066,
  kStrSolutionsLeft = 3131,
  kStrHasWon = 7049,
  kStrRound = 7173,
};

// "%s" of a remark is the player's name; anything else in it is kept as
// written, so a stray directive never reads past the arguments.
std::string WithName(uint32_t id, const std::string& name) {
  std::string text = shell::LoadResString(id);
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, name);
  return text;
}

std::string Printf(const char* format, int32_t a, int32_t b) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b);
  return buffer;
}

uint32_t ClassicRemark(int rank, int count, int32_t score) {
  if (rank == 1) return score >= 400 ? 7008 : score >= 350 ? 7009 : score >= 300 ? 7010 : 7011;
  if (rank >= count) return 7015;
  if (rank == 2) return score >= 200 ? 7012 : 7013;
  return rank == 3 ? 7014 : 7015;
}

uint32_t DuplicateRemark(int32_t score, int32_t reference) {
  // Without a reference score (nothing was scorable) the player did all
  // there was to do; dividing would give infinity or NaN.
  const double share = reference > 0 ? 100.0 * score / reference : 100.0;
  const struct {
    double from;
    uint32_t id;
  } bands[] = {{100, 7016}, {90, 7017}, {80, 7018}, {60, 7019}, {50, 7020}, {30, 7021}, {10, 7022}};
  for (const auto& band : bands)
    if (share >= band.from) return band.id;
  return 7023;
}

}  // namespace

void RankPlayers(std::vector<RankedPlayer>* players) {
  std::stable_sort(players->begin(), players->end(),
                   [](const RankedPlayer& a, const RankedPlayer& b) { return a.score > b.score; });
}

EndOfGameRemark MakeEndOfGameRemark(int kind, const std::vector<RankedPlayer>& ranked,
                                    int32_t referenceScore) {
  EndOfGameRemark r;
  if (ranked.empty()) return r;
  if (kind == 2 || kind == 3) {
    r.stringId = kStrHasWon;
    r.text = WithName(r.stringId, ranked.front().name);
    return r;
  }
  auto best = std::find_if(ranked.begin(), ranked.end(), [](auto& p) { return p.human; });
  if (best == ranked.end()) return r;
  const bool tie = std::any_of(best + 1, ranked.end(), [&](const RankedPlayer& p) {
    return p.human && p.score == best->score;
  });
  if (tie)
    r.stringId = kStrSameScore;
  else if (kind == 0)
    r.stringId = ClassicRemark(static_cast<int>(best - ranked.begin()) + 1,
                               static_cast<int>(ranked.size()), best->score);
  else if (kind == 1)
    r.stringId = DuplicateRemark(best->score, referenceScore);
  if (r.stringId) r.text = WithName(r.stringId, best->name);
  return r;
}

GameInfoTexts MakeGameInfoTexts(const GameInfoFacts& f) {
  GameInfoTexts t;
  t.heading = "Turn ";
  if (f.kind == 2 || f.kind == 3)
    t.heading +=
        f.turnCount != -1 ? Printf("%d/%d", f.turn + 1, f.turnCount) : Printf("%d", f.turn + 1, 0);
  const bool inTournament = f.tournamentRoom && f.tournament;
  if (f.tournamentRoom) {
    t.heading.clear();
    if (f.tournament && f.kind == 1)
      t.heading = std::string(shell::LoadResString(kStrRound)) +
                  Printf(" %d/%d", f.roundIndex + 1, f.roundCount);
    else if (f.tournament && f.kind == 0)
      t.heading = std::string(shell::LoadResString(kStrGame)) +
                  Printf(" %d/%d", f.gameIndex + 1, f.roundCount);
  }
  t.title = t.heading;
  if (f.kind == 2) {
    t.line = shell::LoadResString(kStrSolutionsLeft);
    const size_t at = t.line.find("%d");
    if (at != std::string::npos) t.line.replace(at, 2, std::to_string(f.solutionsLeft));
    t.title = shell::LoadResString(kStrAnagram);
  } else if (f.kind == 3) {
    t.title = shell::LoadResString(kStrPuzzle);
  } else if (inTournament && f.kind == 1) {
    t.line = shell::LoadResString(kStrDuplicate);
    t.title = shell::LoadResString(kStrChampionship);
  } else if (inTournament && f.kind == 0) {
    t.line = shell::LoadResString(f.ranked ? kStrRanked : kStrNonRanking);
    t.title = shell::LoadResString(f.tournamentKind == 0 ? kStrChampionship : kStrSwiss);
  }
  return t;
}

}  // namespace ui
