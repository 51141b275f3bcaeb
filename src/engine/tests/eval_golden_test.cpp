// Whole self-play games of two computer players, compared turn by turn with
// recorded results: every found move's terms after the think pass, the move
// chosen, the swap advice, and how far the random generator has moved; then
// every component's raw term for every found move, judged directly for a
// standard and a duplicate game with both players seated. The components'
// caches and walks are free to change how they compute, never what.
//
// One game runs on a generated fixture lexicon (always), one on the built
// English lexicon (when the build folder holds it). TESS_RECORD_GOLDEN=1
// rewrites the recorded files in the source tree instead of comparing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/eval_components.h"
#include "engine/eval_context.h"
#include "engine/lexicon.h"
#include "engine/robot.h"
#include "rules/bag.h"
#include "rules/board.h"
#include "rules/game_setup.h"
#include "engine/robot_game.h"
#include "rules/rules.h"
#include "lexicon_fixture.h"
#include "platform/crand.h"
#include "platform/path.h"

namespace {

constexpr int kMaxTurns = 40;
// The swap advice searches per call; judging it on the best moves is enough.
constexpr int kAdviceMoves = 12;

// A small generator of our own: the same sequence on every platform.
class Lcg {
 public:
  explicit Lcg(uint64_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(state_ >> 33);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

 private:
  uint64_t state_;
};

// Words of 2..8 letters drawn with English letter frequencies: enough words
// of each length that the leave counts reach their caps, and full-rack words
// for the swap advice. Levels 1..12, so that the level limit clears some.
std::vector<LexSourceWord> FixtureWords() {
  static const char kLetters[] =
      "eeeeeeeeeeeeaaaaaaaaaiiiiiiiiioooooooonnnnnnrrrrrrttttttllllssssuuuuddddgggbbccmmppffhhvv"
      "wwyykjxqz";
  const int perLength[] = {0, 0, 120, 700, 1500, 2000, 2000, 2000, 1000};
  Lcg lcg(20240601);
  std::set<std::string> seen;
  std::vector<LexSourceWord> words;
  for (int length = 2; length <= 8; ++length)
    for (int k = 0; k < perLength[length]; ++k) {
      std::string w;
      for (int i = 0; i < length; ++i)
        w += kLetters[lcg.Below(static_cast<int>(sizeof kLetters) - 1)];
      if (seen.insert(w).second) words.push_back({w, 1 + lcg.Below(12), false, {}});
    }
  return words;
}

uint64_t Fnv(uint64_t h, const void* data, size_t size) {
  const auto* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < size; ++i) {
    h ^= p[i];
    h *= 1099511628211ULL;
  }
  return h;
}
constexpr uint64_t kFnvStart = 14695981039346656037ULL;

uint64_t HashFloat(uint64_t h, float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return Fnv(h, &bits, sizeof bits);
}

uint64_t HashMove(uint64_t h, const RobotMove& m) {
  char word[kMoveWordSize] = {};
  for (int i = 0; i < kMoveWordSize - 1 && m.word[i]; ++i)
    word[i] = m.word[i];
  h = Fnv(h, word, sizeof word);
  const int32_t place[5] = {m.row, m.column, m.direction, m.length, m.score};
  h = Fnv(h, place, sizeof place);
  for (float t : m.terms)
    h = HashFloat(h, t);
  h = HashFloat(h, m.termSum);
  return HashFloat(h, m.rankValue);
}

std::string Hex(uint64_t v) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
  return text;
}

std::string Describe(const RobotMove& m) {
  char text[64];
  std::snprintf(text, sizeof text, "%s@%d,%d%c=%d", m.word[0] ? m.word : "-", m.row, m.column,
                m.direction ? 'd' : 'a', m.score);
  return text;
}

void FillBag(TileBag& bag, const std::string& tiles) {
  std::memset(bag.counts, 0, sizeof bag.counts);
  bag.tileCount = 0;
  bag.firstLetter = -1;
  for (char c : tiles) {
    ++bag.counts[LetterIndex(c)];
    bag.drawOrder[bag.tileCount++] = LetterIndex(c);
  }
  for (int i = 0; i < kLetterSlots && bag.firstLetter < 0; ++i)
    if (bag.counts[i] > 0) bag.firstLetter = static_cast<int8_t>(i);
}

class SelfPlay {
 public:
  SelfPlay() {
    GameSetup setup;
    setup.kind = kKindStandard;
    rules_.Setup(0, 7, &setup);
    for (int p = 0; p < 2; ++p) {
      players_[p].playerIndex = p;
      SettingsToOptions(settings_[p], players_[p].options);
      robots_[p].SetGameParams(&rules_);
      robots_[p].CreateEvaluators(&settings_[p]);
    }
    for (int i = 0; i < kLetterSlots; ++i)
      tiles_.append(static_cast<size_t>(std::max(0, rules_.tileCounts[i])), TileForIndex(i));
    Lcg lcg(7);
    for (size_t i = tiles_.size(); i > 1; --i)
      std::swap(tiles_[i - 1], tiles_[static_cast<size_t>(lcg.Below(static_cast<int>(i)))]);
  }

  // Plays the game to its end; one line per record.
  std::vector<std::string> Play() {
    std::vector<std::string> lines;
    int passes = 0;
    for (int turn = 0; turn < kMaxTurns && passes < 2; ++turn) {
      const int p = turn % 2;
      std::string& rack = racks_[p];
      while (rack.size() < 7 && !tiles_.empty()) {
        rack += tiles_.back();
        tiles_.pop_back();
      }
      if (rack.empty()) break;
      std::memset(players_[p].rack, 0, sizeof players_[p].rack);
      std::memcpy(players_[p].rack, rack.data(), rack.size());
      FillBag(bag_, tiles_);
      const RobotMove chosen = Think(turn, p, lines);
      JudgeDirectly(turn, p, kKindStandard, lines);
      JudgeDirectly(turn, p, kKindDuplicate, lines);
      if (!chosen.word[0]) {
        ++passes;
        continue;
      }
      passes = 0;
      players_[p].score += chosen.score;
      Lay(chosen, rack);
    }
    return lines;
  }

 private:
  RobotMove Think(int turn, int p, std::vector<std::string>& lines) {
    quickBot2usingDawg& robot = robots_[p];
    RobotGameView view;
    view.kind = kKindStandard;
    view.roundCount = turn / 2;
    view.bag = &bag_;
    view.hasCurrent = true;
    view.current = players_[p];
    robot.SetGameView(view);
    robot.BeginSearch();
    platform::SeedRandom(static_cast<uint32_t>(1000 + turn));
    robot.PreparePosition(grid_, players_[p].rack, false, 0);
    robot.Think(nullptr, 0);
    uint64_t h = kFnvStart;
    for (int i = 0; i < robot.GetMoveCount(); ++i)
      h = HashMove(h, *robot.GetMoveSlot(i));
    const RobotMove best = robot.GetMoveCount() > 0 ? *robot.GetMoveSlot(0) : RobotMove();
    std::ostringstream line;
    line << "think " << turn << " bag " << bag_.tileCount << " state " << robot.GetResultState()
         << " rack '" << robot.GetRack() << "' moves " << robot.GetMoveCount() << " " << Hex(h)
         << " best " << Describe(best) << " next " << platform::Random();
    lines.push_back(line.str());
    return best;
  }

  // Every component on every move the pass kept, for a game of `kind` in
  // which both players sit; the swap advice on the best moves only.
  void JudgeDirectly(int turn, int p, int32_t kind, std::vector<std::string>& lines) {
    const quickBot2usingDawg& robot = robots_[p];
    EvaluationContext ctx;
    ctx.kind = kind;
    ctx.roundCount = turn / 2;
    ctx.gameBag = &bag_;
    ctx.players = {&players_[0], &players_[1]};
    ctx.rules = &rules_;
    ctx.robot = &adviser_;
    const EvaluationScope scope(ctx);
    GameBoard board(&rules_);
    board.LoadFromGridAndCounts(&rules_, grid_, robot.Board().rackCounts);
    std::ostringstream line;
    line << "terms " << turn << " kind " << kind;
    for (int index = 0; index < kEvaluatorCount; ++index) {
      std::unique_ptr<RobotEvaluator> e = MakeEvaluator(index);
      if (!e) continue;
      platform::SeedRandom(static_cast<uint32_t>(2000 + turn));
      e->Prepare();
      const int count = index == kEvalLetterSwap ? std::min(kAdviceMoves, robot.GetMoveCount())
                                                 : robot.GetMoveCount();
      uint64_t h = kFnvStart;
      for (int i = 0; i < count; ++i) {
        TileBag bag;
        bag.CopyFrom(bag_);
        adviser_.SetResultState(kResultPlay);
        adviser_.SetRack("");
        h = HashFloat(h, e->Evaluate(players_[p], *robot.Moves().GetMoveSlot(i), bag, board));
        if (index == kEvalLetterSwap) {  // the advice as the robot receives it
          const int32_t state = adviser_.GetResultState();
          h = Fnv(h, &state, sizeof state);
          h = Fnv(h, adviser_.GetRack(), std::strlen(adviser_.GetRack()));
        }
      }
      const int next = platform::Random();  // the component's draws, if any
      h = Fnv(h, &next, sizeof next);
      line << " " << index << ":" << Hex(h).substr(0, 8);
    }
    lines.push_back(line.str());
  }

  void Lay(const RobotMove& m, std::string& rack) {
    for (int i = 0; i < m.length; ++i) {
      const int r = m.row + (m.direction ? i : 0);
      const int c = m.column + (m.direction ? 0 : i);
      char& square = grid_[r * kBoardStride + c];
      if (square) continue;
      square = m.word[i];
      const char tile = IsBlankLetter(m.word[i]) ? kUnassignedBlank : m.word[i];
      const size_t at = rack.find(tile);
      if (at != std::string::npos) rack.erase(at, 1);
    }
  }

  GameRules rules_;
  RobotSettings settings_[2];
  RobotPlayerView players_[2];
  quickBot2usingDawg robots_[2];
  quickBot2usingDawg adviser_;  // takes the swap advice of the direct judging
  std::string racks_[2];
  std::string tiles_;  // the bag, drawn from the back
  TileBag bag_;
  char grid_[kBoardSquares] = {};
};

std::string GoldenPath(const char* name) { return std::string(TESS_TEST_DATA) + "/" + name; }

void CompareWithRecord(const std::vector<std::string>& lines, const char* name) {
  const std::string path = GoldenPath(name);
  if (std::getenv("TESS_RECORD_GOLDEN")) {
    std::ofstream out(path, std::ios::binary);
    for (const std::string& l : lines)
      out << l << "\n";
    GTEST_SKIP() << "recorded " << lines.size() << " lines into " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << path;
  std::vector<std::string> expected;
  for (std::string l; std::getline(in, l);)
    if (!l.empty()) expected.push_back(l);
  ASSERT_FALSE(expected.empty());
  for (size_t i = 0; i < std::min(lines.size(), expected.size()); ++i)
    ASSERT_EQ(lines[i], expected[i]) << "record " << i;  // the first difference is enough
  EXPECT_EQ(lines.size(), expected.size());
}

class EvalGoldenTest : public ::testing::Test {
 protected:
  void TearDown() override { DestroyLexicon(); }
};

TEST_F(EvalGoldenTest, FixtureLexiconGame) {
  const std::string folder = lexfix::Folder("eval-golden");
  lexfix::WriteLexicon(folder, FixtureWords(), kLanguageEnglish, false);
  lexfix::LoadGlobal(folder, kLanguageEnglish);
  SelfPlay game;
  CompareWithRecord(game.Play(), "eval_golden_fixture.txt");
}

TEST_F(EvalGoldenTest, EnglishLexiconGame) {
  if (!platform::FileExists(
          platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(kLanguageEnglish)).c_str()))
    GTEST_SKIP() << "the English lexicon is not built in this build folder";
  lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageEnglish);
  SelfPlay game;
  CompareWithRecord(game.Play(), "eval_golden_english.txt");
}

}  // namespace
