// The premium-square components: "Bonus squares blocked" (13) counts the
// premiums a move covers or makes unusable at its ends; "Closing bonuses
// squares" (1) values the premiums in a band around the move's line that the
// move opens to the next player. A standard game counts them against the
// mover; a duplicate game, where every player gets the same rack, for him.
//
// Both see the move's line through a LineFrame: place i along the line, line
// q across it, the board read and its premiums looked up in their own
// orientation. The last index along either axis is the board's side - 1.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "engine/robot_game.h"
#include "engine/eval_components.h"
#include "engine/eval_context.h"
#include "engine/lexicon.h"
#include "rules/robot_move.h"
#include "rules/bag.h"
#include "rules/board.h"
#include "rules/rules.h"

namespace {

constexpr int kBandHalfWidth = 7;
constexpr int kPairReach = 8;
constexpr float kDoubleWordPairWeight = 12.0f;
constexpr float kTripleWordPairWeight = 16.0f;
constexpr float kDuplicateTripleFactor = 1.5f;
constexpr char kGoodOpeningLetters[] = "AEIRST";
constexpr int32_t kCrowdedBagLow = 78;
constexpr int32_t kCrowdedBagHigh = 87;

// What both components find first: the hooks at the two ends of the word.
struct Hooks {
  char before = 0;  // a letter that may stand in front of the word, 0 none
  char after = 0;   // a letter that may follow it, 0 none
};

std::string WordText(const RobotMove& move) {
  const int n = std::min<int>(move.length, kMoveWordSize - 1);
  int length = 0;
  while (length < n && move.word[length])
    ++length;
  return std::string(move.word, static_cast<size_t>(length));
}

// A hook is asked for only where no tiles wait beyond the square beside the
// word (they would join the extended word). The square beside a found word
// is always free; at the board's edge the lexicon is still asked, and the
// components then leave the missing square out.
Hooks FindHooks(const LineFrame& f, const std::string& word) {
  Hooks h;
  const Lexicon* lexicon = GetLexicon();
  if (!lexicon || word.empty()) return h;
  const int p = f.Line();
  const int a = f.Start();
  const int b = a + static_cast<int>(word.size()) - 1;
  if (b + 1 >= f.Side() || f.Occupied(b + 1, p) || !f.Occupied(b + 2, p))
    h.after = HookLetter(lexicon->Main(), word.c_str());
  if (a - 1 < 0 || f.Occupied(a - 1, p) || !f.Occupied(a - 2, p)) {
    const std::string reversed(word.rbegin(), word.rend());
    h.before = HookLetter(lexicon->Reversed(), reversed.c_str());
  }
  return h;
}

class BonusBlockEvaluator : public RobotEvaluator {
 public:
  float Evaluate(const RobotPlayerView&, const RobotMove& move, const TileBag&,
                 const GameBoard& board) override {
    const EvaluationContext& ctx = CurrentEvaluationContext();
    const LineFrame f(board, move, ctx.Side());
    const std::string word = WordText(move);
    if (word.empty()) return 0.0f;
    const Hooks hooks = FindHooks(f, word);
    const int last = f.Side() - 1;
    const int a = f.Start();
    const int length = static_cast<int>(word.size());
    const int b = a + length - 1;
    const int s = !hooks.before && a > 0 ? a - 1 : a;
    // A word ending one before the edge leaves the edge square out.
    const int e = hooks.after ? b : (a + length < last ? a + length : b);
    float total = 0.0f, ends = 0.0f;
    for (int i = s; i <= e; ++i) {
      if (f.Occupied(i, f.Line())) continue;
      const float w = static_cast<float>(PremiumWeight(f.Premium(i, f.Line())));
      total += w;
      if ((i == s && !hooks.before) || (i == e && !hooks.after)) ends += w;
    }
    if (ctx.kind == kKindDuplicate) return ends == 0.0f ? 0.0f : -ends;
    return total;
  }
  int GetLabelId() const override { return kEvaluatorLabelIds[kEvalBonusBlock]; }
};

// What a square of a line opens across it (its singles and pairs) depends
// on the board, the rules and the square alone: moves of one search that
// cover the same square share it. Forgotten when the board, the premiums or
// the board's side differ.
class SquareMemo {
 public:
  void Use(const GameBoard& board, int side) {
    const GameRules* rules = board.rules;
    if (rules_ == rules && side_ == side && rules &&
        std::memcmp(premiums_, rules->premiumMap, sizeof premiums_) == 0 &&
        std::memcmp(letters_, board.letters, sizeof letters_) == 0)
      return;
    Clear();
    rules_ = rules;
    side_ = side;
    if (rules) std::memcpy(premiums_, rules->premiumMap, sizeof premiums_);
    std::memcpy(letters_, board.letters, sizeof letters_);
  }
  void Clear() {
    rules_ = nullptr;
    std::memset(ready_, 0, sizeof ready_);
  }
  // The value of square a of line `line`, worked out by `make` once.
  template <class Make>
  float Value(bool across, int line, int a, bool tripled, Make make) {
    const size_t at =
        ((static_cast<size_t>(across) * kBoardStride + static_cast<size_t>(line)) * kBoardStride +
         static_cast<size_t>(a)) *
            2 +
        static_cast<size_t>(tripled);
    if (!ready_[at]) {
      values_[at] = make();
      ready_[at] = true;
    }
    return values_[at];
  }

 private:
  static constexpr size_t kSlots = 2 * kBoardSquares * 2;
  const GameRules* rules_ = nullptr;
  int side_ = 0;
  uint8_t premiums_[sizeof(GameRules::premiumMap)] = {};
  char letters_[kBoardSquares] = {};
  bool ready_[kSlots] = {};
  float values_[kSlots] = {};
};

// The band value of one move: for each square it covers, the best premium it
// opens across its line, in pairs of word premiums, or along the lines beside
// it; then the best over its squares.
class BandValue {
 public:
  BandValue(const LineFrame& f, const std::string& word, int start, bool duplicate,
            bool goodOpening, bool across, SquareMemo& memo)
      : f_(f),
        word_(word),
        start_(start),
        duplicate_(duplicate),
        goodOpening_(goodOpening),
        across_(across),
        memo_(memo) {
    const int p = f.Line();
    lo_ = std::max(p - kBandHalfWidth, 0);
    hi_ = std::min(p + kBandHalfWidth, f.Side() - 1);
  }

  float Best() const {
    float best = 0.0f;
    const int length = static_cast<int>(word_.size());
    for (int k = 0; k < length; ++k) {
      const int a = start_ + k;
      if (!f_.Inside(a, f_.Line()) || f_.Occupied(a, f_.Line())) continue;
      best = std::max(best, SquareValue(a, k));
    }
    return std::trunc(best);
  }

 private:
  float TripleFactor() const { return duplicate_ && goodOpening_ ? kDuplicateTripleFactor : 1.0f; }

  // Tiles on the squares of band row a from q to the line, both included.
  int TilesBetween(int a, int q) const {
    const int p = f_.Line();
    int n = 0;
    for (int x = std::min(q, p); x <= std::max(q, p); ++x)
      if (f_.Occupied(a, x)) ++n;
    return n;
  }

  // The covered square and the tiles joined to it across the line.
  int CrossLength(int a) const {
    int n = 1;
    for (int x = f_.Line() - 1; f_.Occupied(a, x); --x)
      ++n;
    for (int x = f_.Line() + 1; f_.Occupied(a, x); ++x)
      ++n;
    return n;
  }

  float Singles(int a) const {
    const int p = f_.Line();
    float best = 0.0f;
    for (int q = lo_; q <= hi_; ++q) {
      if (q == p || f_.Occupied(a, q)) continue;
      const int32_t code = f_.Premium(a, q);
      const int w = PremiumWeight(code);
      if (w == 0) continue;
      int c = TilesBetween(a, q);
      if (c == 0) c = CrossLength(a);
      c = std::max(c + f_.BlockTiles(a, q), 1);
      float v = static_cast<float>(kPairReach - std::abs(q - p)) / static_cast<float>(c) *
                static_cast<float>(w);
      if (code == kPremiumTripleWord) v *= TripleFactor();
      best = std::max(best, v);
    }
    return best;
  }

  // Two word premiums of one kind close together in band row a.
  float Pairs(int a, int32_t code, float weight) const {
    const int p = f_.Line();
    float best = 0.0f;
    int held = -1;
    for (int q = lo_; q <= hi_; ++q) {
      if (q == p || f_.Occupied(a, q) || f_.Premium(a, q) != code) continue;
      if (held >= 0 && q - held <= kPairReach) {
        int c2 = f_.BlockTiles(a, held) + f_.BlockTiles(a, q);
        for (int x = held + 2; x <= q - 2; ++x)
          if (f_.Occupied(a, x)) ++c2;
        c2 = std::max(c2, 1);
        const int nearer = std::min(std::abs(held - p), std::abs(q - p));
        float v = weight * static_cast<float>(kPairReach - nearer) / static_cast<float>(c2);
        if (code == kPremiumTripleWord) v *= TripleFactor();
        best = std::max(best, v);
        held = -1;
      } else {
        held = q;
      }
    }
    return best;
  }

  // The letter the (extended) move lays at place k, as a lower-case letter.
  char LetterAt(int k) const { return static_cast<char>(word_[static_cast<size_t>(k)] | 0x20); }

  // The cross word through (a, line) with the move's letter in it.
  std::string CrossWord(int a, int k) const {
    int first = f_.Line();
    while (f_.Occupied(a, first - 1))
      --first;
    std::string text;
    for (int x = first; x == f_.Line() || f_.Occupied(a, x); ++x)
      text += x == f_.Line() ? LetterAt(k) : static_cast<char>(f_.At(a, x) | 0x20);
    return text;
  }

  float SideColumn(int a, int k, int column) const {
    const int length = static_cast<int>(word_.size());
    float best = 0.0f;
    auto walk = [&](int from, int to) {
      for (int s = from; s <= to; ++s) {
        if (f_.Occupied(s, column)) continue;
        const int w = PremiumWeight(f_.Premium(s, column));
        if (w == 0) continue;
        int c = 1 + f_.BlockTiles(s, column);
        for (int x = std::min(s, a); x <= std::max(s, a); ++x)
          if (f_.Occupied(x, column)) ++c;
        const float v = static_cast<float>(kBandHalfWidth - std::abs(s - a)) /
                        static_cast<float>(c) * static_cast<float>(w);
        best = std::max(best, v);
      }
    };
    if (k <= 1) walk(std::max(a - kBandHalfWidth, 0), a);
    if (k >= length - 2) walk(a, std::min(a + kBandHalfWidth, f_.Side() - 1));
    return duplicate_ ? best : best / 2.0f;
  }

  float SideColumns(int a, int k) const {
    const Lexicon* lexicon = GetLexicon();
    if (!lexicon) return 0.0f;
    const int p = f_.Line();
    const std::string cross = CrossWord(a, k);
    float best = 0.0f;
    if (!f_.Occupied(a, p - 1) && p - 1 > 0 && HookLetter(lexicon->Main(), cross.c_str()))
      best = std::max(best, SideColumn(a, k, p - 1));
    const std::string reversed(cross.rbegin(), cross.rend());
    if (!f_.Occupied(a, p + 1) && p + 1 < f_.Side() - 1 &&
        HookLetter(lexicon->Reversed(), reversed.c_str()))
      best = std::max(best, SideColumn(a, k, p + 1));
    return best;
  }

  float SquareValue(int a, int k) const {
    const float v = memo_.Value(across_, f_.Line(), a, TripleFactor() != 1.0f, [&] {
      float across = Singles(a);
      across = std::max(across, Pairs(a, kPremiumDoubleWord, kDoubleWordPairWeight));
      return std::max(across, Pairs(a, kPremiumTripleWord, kTripleWordPairWeight));
    });
    return std::max(v, SideColumns(a, k));
  }

  const LineFrame& f_;
  const std::string& word_;
  int start_;
  bool duplicate_;
  bool goodOpening_;
  bool across_;
  SquareMemo& memo_;
  int lo_ = 0;
  int hi_ = 0;
};

class ClosingBonusEvaluator : public RobotEvaluator {
 public:
  float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag& bag,
                 const GameBoard& board) override {
    const EvaluationContext& ctx = CurrentEvaluationContext();
    if (ctx.kind != kKindStandard && ctx.kind != kKindDuplicate) return 0.0f;
    const LineFrame f(board, move, ctx.Side());
    const std::string word = WordText(move);
    float x = 0.0f;
    if (!word.empty()) {
      // The move as the next player may extend it: hook letters added where
      // the board has room for them.
      const Hooks hooks = FindHooks(f, word);
      std::string extended = word;
      int start = f.Start();
      if (hooks.before && start > 0) {
        extended.insert(extended.begin(), hooks.before);
        --start;
      }
      if (hooks.after && start + static_cast<int>(extended.size()) < f.Side() - 1)
        extended.push_back(hooks.after);
      const bool goodOpening = std::strchr(kGoodOpeningLetters, word[0] & ~0x20) != nullptr;
      memo_->Use(board, ctx.Side());
      x = BandValue(f, extended, start, ctx.kind == kKindDuplicate, goodOpening,
                    move.direction == 0, *memo_)
              .Best();
    }
    if (x != 0.0f) x = x * JudgedSettings(player).closingBonusWeight * 0.01f;
    if (bag.tileCount >= kCrowdedBagLow && bag.tileCount <= kCrowdedBagHigh) x = x * 50.0f * 0.01f;
    if (ctx.kind == kKindDuplicate) return x == 0.0f ? 1.0f : x;
    return x == 0.0f ? -1.0f : -x;
  }
  int GetLabelId() const override { return kEvaluatorLabelIds[kEvalClosingBonus]; }
  void Prepare() override { memo_->Clear(); }

 private:
  std::unique_ptr<SquareMemo> memo_ = std::make_unique<SquareMemo>();
};

}  // namespace

std::unique_ptr<RobotEvaluator> MakePremiumComponent(int index) {
  switch (index) {
    case kEvalClosingBonus:
      return std::make_unique<ClosingBonusEvaluator>();
    case kEvalBonusBlock:
      return std::make_unique<BonusBlockEvaluator>();
    default:
      return nullptr;
  }
}
