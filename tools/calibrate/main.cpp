// calibrate: plays seeded two-player standard games between computer
// personalities on the English lexicon and fits ratings to the results, so
// that the declared ratings can be checked against real strength. Run by
// hand from a release build (it plays thousands of games).
//
//   calibrate --folder DIR [--players LIST] [--versus NAME] [--reach D]
//             [--games N] [--jobs J] [--seed S] [--anchor NAME] [--results FILE]
//   calibrate --from FILE [--anchor NAME]
//
// DIR is the program folder (the lexicon and Data\Personalities). Players
// are the personality files by name (pip, mina, ...), "score" (the pure-score
// player: word score only, the whole lexicon, no swaps), "score+K" (the pure-
// score player with judgement component K at its default weight, K one of
// 1 3 5 6 7 12 13; "score+K@W" with weight W instead, for 1 5 7) and
// "default" (every default setting); LIST defaults to
// every personality by declared rating, then "score". Every pair plays N
// games (default 200; a pair's games 2k and 2k+1 share one bag, seed S + k,
// with the seats exchanged). --versus and --reach narrow the round robin to
// the pairs that include NAME (or one of a comma list) or whose places in LIST are at most D apart
// (either, when both are given). Games are
// shared out over J processes (default 3). --results writes one line per
// game; --from prints the table from such a file without playing. The fit
// holds the anchor (default: the personality of median declared rating, or
// the --versus player at 0) at its declared rating.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/robot_job.h"
#include "engine/robot_settings.h"
#include "game/game.h"
#include "game/player.h"
#include "game/player_turn.h"
#include "game/robot_factory.h"
#include "ladder.h"
#include "platform/binio.h"
#include "platform/crand.h"
#include "platform/path.h"
#include "shell/personality.h"

namespace {

struct Options {
  std::string folder;
  std::vector<std::string> players;
  std::string versus;
  int reach = 0;
  int games = 200;
  int jobs = 3;
  uint32_t seed = 1;
  std::string anchor;
  std::string results;
  std::string from;
};

struct Player {
  std::string id;
  std::string name;
  int declared = 0;
  bool rated = false;  // has a declared rating
  RobotSettings settings;
};

struct Task {
  int pair = 0;
  int game = 0;
};

// One played game: the pair's players as A and B whatever the seats.
struct GameResult {
  int pair = 0;
  int game = 0;
  int scoreA = 0, scoreB = 0;
  int wordsA = 0, wordsB = 0;
};

bool Listed(const std::vector<std::string>& list, const std::string& id) {
  return std::find(list.begin(), list.end(), id) != list.end();
}

int Usage(const std::string& message) {
  std::fprintf(stderr, "calibrate: %s\n", message.c_str());
  std::fprintf(stderr,
               "usage: calibrate --folder DIR [--players a,b,...] [--versus NAME] [--reach D]\n"
               "                 [--games N] [--jobs J] [--seed S] [--anchor NAME]\n"
               "                 [--results FILE]\n"
               "       calibrate --from FILE [--anchor NAME]\n");
  return 2;
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> out;
  std::stringstream s(text);
  std::string item;
  while (std::getline(s, item, ','))
    if (!item.empty()) out.push_back(item);
  return out;
}

bool ParseArgs(int argc, char** argv, Options* o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    const std::string v = argv[i + 1];
    if (a == "--folder")
      o->folder = v;
    else if (a == "--players")
      o->players = SplitList(v);
    else if (a == "--versus")
      o->versus = v;
    else if (a == "--reach")
      o->reach = std::atoi(v.c_str());
    else if (a == "--games")
      o->games = std::atoi(v.c_str());
    else if (a == "--jobs")
      o->jobs = std::atoi(v.c_str());
    else if (a == "--seed")
      o->seed = static_cast<uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
    else if (a == "--anchor")
      o->anchor = v;
    else if (a == "--results")
      o->results = v;
    else if (a == "--from")
      o->from = v;
    else
      return false;
  }
  return argc % 2 == 1 && (!o->folder.empty() || !o->from.empty()) && o->games > 0 && o->jobs > 0;
}

// --- players --------------------------------------------------------------------

RobotSettings PureScore() {
  RobotSettings s;
  s.maxWordLevel = 10;
  s.swapAnalysis = s.endgameMode = s.poolLimited = 0;
  s.useJokerTerm = s.useConventionsTerm = s.useBonusBlockTerm = 0;
  s.noteDuplicateJoker = s.noteFirstWordDuplicate = s.noteDuplicateEndgame = 0;
  s.closingBonusWeight = s.closingBoardWeight = s.remainderWeight = 0.0f;
  s.challengeWeight = s.letterSwapWeight = s.difficultyWeight = 0.0f;
  s.situationLevel = 0;
  return s;
}

// The pure-score player with one judgement component switched on as the
// defaults have it. Component 1 is ranked only while the letter-swap weight
// is non-zero, so it brings the swap advice (3) with it.
bool WithComponent(int k, RobotSettings* s) {
  const RobotSettings d;
  switch (k) {
    case 1:
      s->closingBonusWeight = d.closingBonusWeight;
      s->letterSwapWeight = d.letterSwapWeight;
      s->swapAnalysis = d.swapAnalysis;
      return true;
    case 3:
      s->letterSwapWeight = d.letterSwapWeight;
      s->swapAnalysis = d.swapAnalysis;
      return true;
    case 5:
      s->closingBoardWeight = d.closingBoardWeight;
      s->poolLimited = d.poolLimited;
      return true;
    case 6:
      s->useJokerTerm = d.useJokerTerm;
      return true;
    case 7:
      s->remainderWeight = d.remainderWeight;
      s->endgameMode = d.endgameMode;
      return true;
    case 12:
      s->useConventionsTerm = d.useConventionsTerm;
      return true;
    case 13:
      s->useBonusBlockTerm = d.useBonusBlockTerm;
      return true;
    default:
      return false;
  }
}

bool LoadPersonality(const std::string& folder, const std::string& id, Player* p) {
  std::vector<uint8_t> bytes;
  const std::string path =
      platform::JoinPath(platform::JoinPath(folder, "Data\\Personalities"), id + ".QNP");
  shell::PersonalityRecord r;
  if (!platform::ReadWholeFile(path.c_str(), bytes) ||
      !shell::DecodePersonality(bytes.data(), bytes.size(), r))
    return false;
  ByteReader in(r.playerOptions, shell::kPlayerOptionsSize);
  int32_t options[kRobotSettingsWords];
  for (int32_t& word : options)
    word = in.I32();
  p->id = id;
  p->name = r.name;
  p->declared = r.rating;
  p->rated = true;
  p->settings = SettingsFromOptions(options);
  return true;
}

bool MakePlayer(const std::string& folder, const std::string& id, Player* p) {
  p->id = p->name = id;
  if (id == "score") {
    p->settings = PureScore();
    return true;
  }
  if (id == "default") {
    p->settings = RobotSettings();
    return true;
  }
  if (id.rfind("score+", 0) == 0) {
    p->settings = PureScore();
    const int k = std::atoi(id.c_str() + 6);
    if (!WithComponent(k, &p->settings)) return false;
    const size_t at = id.find('@');
    if (at == std::string::npos) return true;
    const float w = static_cast<float>(std::atof(id.c_str() + at + 1));
    if (!(w > 0.0f)) return false;
    float* weight = k == 1   ? &p->settings.closingBonusWeight
                    : k == 5 ? &p->settings.closingBoardWeight
                    : k == 7 ? &p->settings.remainderWeight
                             : nullptr;
    if (weight) *weight = w;
    return weight != nullptr;
  }
  return LoadPersonality(folder, id, p);
}

std::vector<std::string> AllPersonalities(const std::string& folder) {
  std::vector<Player> found;
  const std::string pattern =
      platform::JoinPath(platform::JoinPath(folder, "Data\\Personalities"), "*.QNP");
  for (const platform::FindEntry& e : platform::FindFiles(pattern.c_str())) {
    Player p;
    if (!e.isDirectory && LoadPersonality(folder, e.name.substr(0, e.name.size() - 4), &p))
      found.push_back(p);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const Player& x, const Player& y) { return x.declared < y.declared; });
  std::vector<std::string> ids;
  for (const Player& p : found)
    ids.push_back(p.id);
  ids.push_back("score");
  return ids;
}

// --- games ----------------------------------------------------------------------

// Plays one game to its end with `first` in seat 0.
void PlayGame(const Player& first, const Player& second, uint32_t seed, int scores[2],
              int words[2]) {
  platform::SeedRandom(seed);
  CGame game;
  game.setup.kind = kKindStandard;
  game.setup.language = kLanguageEnglish;
  for (const Player* p : {&first, &second}) {
    PlayerSetupEntry e;
    std::snprintf(e.name, sizeof e.name, "%s", p->id.c_str());
    e.playerType = kPlayerComputer;
    SettingsToOptions(p->settings, e.options);
    game.setup.AddPlayer(e);
  }
  game.StartNewGame();
  words[0] = words[1] = 0;
  const GamePlayer* counted = nullptr;
  while (game.Update() != kStateOver) {
    GamePlayer* p = game.currentPlayer;
    const bool over = p && p->turnPhase == kPhaseOver;
    if (over && p != counted && p->lastAction == kLastPlayed) ++words[p == game.Player(0) ? 0 : 1];
    counted = over ? p : nullptr;
    // The robot thinks on the worker; the frame loop need not spin.
    if (p && p->GetRobot() && p->GetRobot()->IsThinking())
      std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  scores[0] = game.Player(0)->score;
  scores[1] = game.Player(1)->score;
}

std::string ResultLine(const GameResult& r) {
  char line[96];
  std::snprintf(line, sizeof line, "%d %d %d %d %d %d", r.pair, r.game, r.scoreA, r.scoreB,
                r.wordsA, r.wordsB);
  return line;
}

bool ParseResult(const std::string& line, GameResult* r) {
  return std::sscanf(line.c_str(), "%d %d %d %d %d %d", &r->pair, &r->game, &r->scoreA, &r->scoreB,
                     &r->wordsA, &r->wordsB) == 6;
}

// Plays every task with index % jobs == job, one result line each.
int RunShare(const Options& o, const std::vector<Player>& players,
             const std::vector<std::pair<int, int>>& pairs, const std::vector<Task>& tasks, int job,
             const std::string& out) {
  Lexicon* lexicon = CreateLexicon(kLanguageEnglish);
  lexicon->SetProgramFolder(o.folder);
  if (!lexicon->Load(kLanguageEnglish, 0)) {
    std::fprintf(stderr, "calibrate: cannot load the English lexicon from %s\n", o.folder.c_str());
    return 1;
  }
  InstallPlayerRobotFactory();
  RobotWorkerPool().Start();
  std::FILE* f = std::fopen(out.c_str(), "w");
  if (!f) return 1;
  int done = 0;
  const auto start = std::chrono::steady_clock::now();
  for (size_t t = static_cast<size_t>(job); t < tasks.size(); t += static_cast<size_t>(o.jobs)) {
    const Task& task = tasks[t];
    const Player& a = players[static_cast<size_t>(pairs[static_cast<size_t>(task.pair)].first)];
    const Player& b = players[static_cast<size_t>(pairs[static_cast<size_t>(task.pair)].second)];
    const bool aFirst = task.game % 2 == 0;
    int scores[2], words[2];
    PlayGame(aFirst ? a : b, aFirst ? b : a, o.seed + static_cast<uint32_t>(task.game / 2), scores,
             words);
    GameResult r;
    r.pair = task.pair;
    r.game = task.game;
    r.scoreA = scores[aFirst ? 0 : 1];
    r.scoreB = scores[aFirst ? 1 : 0];
    r.wordsA = words[aFirst ? 0 : 1];
    r.wordsB = words[aFirst ? 1 : 0];
    std::fprintf(f, "%s\n", ResultLine(r).c_str());
    std::fflush(f);
    if (++done % 100 == 0 && job == 0) {
      const double s =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::fprintf(stderr, "calibrate: %zu of %zu games, %.2f s a game per process\n",
                   static_cast<size_t>(done) * static_cast<size_t>(o.jobs), tasks.size(), s / done);
    }
  }
  RobotWorkerPool().Stop();
  DestroyLexicon();
  return std::fclose(f) == 0 ? 0 : 1;
}

// --- the table ------------------------------------------------------------------

struct Tally {
  double wins = 0.0;
  int games = 0;
  double points = 0.0;
  double words = 0.0;
};

void PrintTable(const std::vector<Player>& players, const std::vector<std::pair<int, int>>& pairs,
                const std::vector<GameResult>& results, const std::string& anchorId,
                const std::string& versus) {
  const size_t n = players.size();
  std::vector<ladder::PairResult> pairResults(pairs.size());
  std::vector<Tally> tally(n);
  for (size_t k = 0; k < pairs.size(); ++k) {
    pairResults[k].a = pairs[k].first;
    pairResults[k].b = pairs[k].second;
  }
  for (const GameResult& r : results) {
    ladder::PairResult& pr = pairResults[static_cast<size_t>(r.pair)];
    const double winA = r.scoreA > r.scoreB ? 1.0 : r.scoreA == r.scoreB ? 0.5 : 0.0;
    pr.winsA += winA;
    ++pr.games;
    Tally& ta = tally[static_cast<size_t>(pr.a)];
    Tally& tb = tally[static_cast<size_t>(pr.b)];
    ta.wins += winA;
    tb.wins += 1.0 - winA;
    ++ta.games;
    ++tb.games;
    ta.points += r.scoreA;
    tb.points += r.scoreB;
    ta.words += r.wordsA;
    tb.words += r.wordsB;
  }

  // The anchor: as asked, else the --versus player at 0, else the rated
  // player of median declared rating.
  std::vector<size_t> order(n);
  for (size_t i = 0; i < n; ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
    if (players[x].rated != players[y].rated) return players[x].rated;
    return players[x].declared < players[y].declared;
  });
  int anchor = -1;
  for (size_t i = 0; i < n; ++i)
    if (players[i].id == (anchorId.empty() ? versus : anchorId)) anchor = static_cast<int>(i);
  if (anchor < 0) {
    std::vector<size_t> rated;
    for (size_t i : order)
      if (players[i].rated) rated.push_back(i);
    anchor = static_cast<int>(rated.empty() ? 0 : rated[(rated.size() - 1) / 2]);
  }
  const Player& held = players[static_cast<size_t>(anchor)];
  const double anchorRating = held.rated ? held.declared : 0.0;
  const ladder::Fit fit =
      ladder::FitRatings(static_cast<int>(n), pairResults, anchor, anchorRating);

  // Each player against the pure-score player, when that pair was played.
  int score = -1;
  for (size_t i = 0; i < n; ++i)
    if (players[i].id == "score") score = static_cast<int>(i);
  const auto versusScore = [&](size_t i, double* wins, int* games) {
    *wins = 0.0;
    *games = 0;
    for (const ladder::PairResult& pr : pairResults) {
      if (pr.a == static_cast<int>(i) && pr.b == score) {
        *wins += pr.winsA;
        *games += pr.games;
      } else if (pr.b == static_cast<int>(i) && pr.a == score) {
        *wins += pr.games - pr.winsA;
        *games += pr.games;
      }
    }
  };

  std::printf("%zu games; fitted ratings held at %s = %.0f; intervals are 95%%\n\n", results.size(),
              held.id.c_str(), anchorRating);
  std::printf("%-14s %8s %7s %6s %6s %6s %13s %7s %13s %7s %7s\n", "player", "declared", "fitted",
              "+-", "games", "win%", "interval", "vsScore", "interval", "pts/g", "words/g");
  for (size_t i : order) {
    const Tally& t = tally[i];
    double low, high, sw, slow, shigh;
    int sg;
    ladder::WinInterval(t.wins, t.games, &low, &high);
    versusScore(i, &sw, &sg);
    ladder::WinInterval(sw, sg, &slow, &shigh);
    char declared[16] = "-", vs[16] = "-", vsInterval[32] = "";
    if (players[i].rated) std::snprintf(declared, sizeof declared, "%d", players[i].declared);
    if (sg > 0) {
      std::snprintf(vs, sizeof vs, "%.1f", 100.0 * sw / sg);
      std::snprintf(vsInterval, sizeof vsInterval, "[%.1f,%.1f]", slow, shigh);
    }
    const double g = t.games > 0 ? t.games : 1;
    std::printf("%-14s %8s %7.0f %6.0f %6d %6.1f  [%4.1f,%4.1f] %7s %13s %7.1f %7.1f\n",
                players[i].id.c_str(), declared, fit.rating[i], fit.halfWidth[i], t.games,
                t.games ? 100.0 * t.wins / t.games : 0.0, low, high, vs, vsInterval, t.points / g,
                t.words / g);
  }

  // Neighbours in declared order: the upper one's share of their games.
  std::printf("\n%-14s %-14s %6s %6s %13s %7s\n", "lower", "upper", "games", "upper%", "interval",
              "gap");
  for (size_t k = 1; k < order.size(); ++k) {
    const size_t lo = order[k - 1], up = order[k];
    for (const ladder::PairResult& pr : pairResults) {
      const bool direct = pr.a == static_cast<int>(up) && pr.b == static_cast<int>(lo);
      const bool reverse = pr.a == static_cast<int>(lo) && pr.b == static_cast<int>(up);
      if ((!direct && !reverse) || pr.games == 0) continue;
      const double w = direct ? pr.winsA : pr.games - pr.winsA;
      double low, high;
      ladder::WinInterval(w, pr.games, &low, &high);
      std::printf("%-14s %-14s %6d %6.1f  [%4.1f,%4.1f] %7.0f\n", players[lo].id.c_str(),
                  players[up].id.c_str(), pr.games, 100.0 * w / pr.games, low, high,
                  fit.rating[up] - fit.rating[lo]);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, &o)) return Usage("bad arguments");

  std::vector<GameResult> results;
  std::vector<std::string> ids = o.players;
  std::string folder = o.folder;
  if (!o.from.empty()) {
    // "# folder DIR", "# players a,b,...", "# versus NAME", then result lines.
    std::ifstream in(o.from);
    if (!in) return Usage("cannot read " + o.from);
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("# folder ", 0) == 0) folder = line.substr(9);
      if (line.rfind("# players ", 0) == 0) ids = SplitList(line.substr(10));
      if (line.rfind("# versus ", 0) == 0) o.versus = line.substr(9);
      if (line.rfind("# reach ", 0) == 0) o.reach = std::atoi(line.c_str() + 8);
      GameResult r;
      if (!line.empty() && line[0] != '#' && ParseResult(line, &r)) results.push_back(r);
    }
  }
  if (ids.empty()) ids = AllPersonalities(folder);

  std::vector<Player> players(ids.size());
  for (size_t i = 0; i < ids.size(); ++i)
    if (!MakePlayer(folder, ids[i], &players[i])) return Usage("unknown player " + ids[i]);
  const std::vector<std::string> versus = SplitList(o.versus);
  std::vector<std::pair<int, int>> pairs;
  for (size_t a = 0; a < players.size(); ++a)
    for (size_t b = a + 1; b < players.size(); ++b)
      if ((o.versus.empty() && o.reach <= 0) || Listed(versus, players[a].id) ||
          Listed(versus, players[b].id) || static_cast<int>(b - a) <= o.reach)
        pairs.emplace_back(static_cast<int>(a), static_cast<int>(b));
  if (pairs.empty()) return Usage("no pair to play");

  if (o.from.empty()) {
    std::vector<Task> tasks;
    for (int g = 0; g < o.games; ++g)
      for (size_t p = 0; p < pairs.size(); ++p)
        tasks.push_back({static_cast<int>(p), g});
    const std::string base = o.results.empty() ? "calibrate-results" : o.results;
    std::vector<pid_t> children;
    for (int job = 0; job < o.jobs; ++job) {
      const pid_t pid = fork();
      if (pid < 0) return Usage("cannot start a process");
      if (pid == 0)
        _exit(RunShare(o, players, pairs, tasks, job, base + ".part" + std::to_string(job)));
      children.push_back(pid);
    }
    bool ok = true;
    for (pid_t pid : children) {
      int status = 0;
      ok = waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0 && ok;
    }
    if (!ok) return Usage("a game process failed");
    for (int job = 0; job < o.jobs; ++job) {
      const std::string part = base + ".part" + std::to_string(job);
      std::ifstream in(part);
      std::string line;
      while (std::getline(in, line)) {
        GameResult r;
        if (ParseResult(line, &r)) results.push_back(r);
      }
      platform::RemoveFile(part.c_str());
    }
    if (!o.results.empty()) {
      std::ofstream out(o.results);
      out << "# folder " << folder << "\n# players ";
      for (size_t i = 0; i < ids.size(); ++i)
        out << (i ? "," : "") << ids[i];
      out << "\n";
      if (!o.versus.empty()) out << "# versus " << o.versus << "\n";
      if (o.reach > 0) out << "# reach " << o.reach << "\n";
      out << "# pair game scoreA scoreB wordsA wordsB (seed " << o.seed << ")\n";
      for (const GameResult& r : results)
        out << ResultLine(r) << "\n";
    }
  }
  for (const GameResult& r : results)
    if (r.pair < 0 || static_cast<size_t>(r.pair) >= pairs.size())
      return Usage("a result names no pair of these players");
  PrintTable(players, pairs, results, o.anchor, versus.empty() ? std::string() : versus[0]);
  return 0;
}
