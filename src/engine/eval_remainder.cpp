// "Remainder quality" (component 7): how good the tiles a move keeps are.
// Away from the end it refills the leave with twelve sample draws from the
// bag and compares, length by length, the words the real leave then makes
// with the words it would make if every kept tile were a blank. Near the end
// of a standard game it weighs the tiles that will stay on the rack instead,
// with a bonus for going out. Terms are cached by leave for one search; the
// word counts come from the lexicon's letter-set index (eval_leave_index.h)
// and are kept by rack.
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "engine/robot_game.h"
#include "engine/eval_components.h"
#include "engine/eval_context.h"
#include "engine/eval_leave_index.h"
#include "engine/lexicon.h"
#include "rules/robot_move.h"
#include "rules/bag.h"
#include "rules/board.h"
#include "rules/rules.h"

namespace {

constexpr int kSampleRows = 12;
constexpr float kOneTwelfth = 0.083333336f;
constexpr int32_t kSmallBag = 14;
constexpr float kGoingOutBonus = 50.0f;
// Counts kept from search to search (a full set is cleared, or for the
// actual racks kept as the older of two).
constexpr size_t kReferencesKept = 16384;
constexpr size_t kActualKept = 16384;

using LengthCounts = std::array<int32_t, kLeaveLengthSlots>;

// Depth-first over the main graph, for counts with letters drawn from a
// pool (the racks alone are counted on the letter-set index). A letter comes
// from the rack's own tile, else from a blank, else (while draws are left)
// from the pool, so each word is reached along one path only and counted
// once.
class WordCounter {
 public:
  WordCounter(const DawgNodeList& graph, const int32_t* letters, const int32_t* pool, int drawMax,
              int maxLength, int32_t* counts)
      : graph_(graph), drawMax_(drawMax), maxLength_(maxLength), counts_(counts) {
    std::memcpy(letters_, letters, sizeof letters_);
    if (pool) std::memcpy(pool_, pool, sizeof pool_);
  }

  void Walk(int index, int depth) {
    for (const DawgNode* n = graph_.Node(index); n; n = graph_.Node(++index)) {
      int32_t* source = Source(n->LetterIndex());
      if (source) {
        --*source;
        const bool drawn = source >= pool_ && source < pool_ + kLetterSlots;
        drawn_ += drawn;
        const int length = depth + 1;
        if (n->EndsWord() && length >= 2 && counts_[length] < kLeaveCountCaps[length])
          ++counts_[length];
        if (length < maxLength_ && LongerOpen(length)) Walk(n->child, length);
        drawn_ -= drawn;
        ++*source;
      }
      if (n->IsLast()) break;
    }
  }

 private:
  int32_t* Source(int letter) {
    if (letters_[letter] > 0) return &letters_[letter];
    if (letters_[kBlankIndex] > 0) return &letters_[kBlankIndex];
    if (drawn_ < drawMax_ && pool_[letter] > 0) return &pool_[letter];
    return nullptr;
  }

  // Some longer length is still below its cap: the walk must go on.
  bool LongerOpen(int length) const {
    for (int l = length + 1; l <= maxLength_; ++l)
      if (counts_[l] < kLeaveCountCaps[l]) return true;
    return false;
  }

  const DawgNodeList& graph_;
  int32_t letters_[kLetterSlots] = {};
  int32_t pool_[kLetterSlots] = {};
  int drawMax_;
  int drawn_ = 0;
  int maxLength_;
  int32_t* counts_;
};

void CountText(const std::string& text, int32_t counts[kLetterSlots]) {
  std::fill(counts, counts + kLetterSlots, 0);
  for (char c : text)
    if (!IsEmptyRackPlace(c)) ++counts[LetterIndex(c)];
}

std::string SortedDescending(std::string text) {
  std::sort(text.begin(), text.end(), std::greater<char>());
  return text;
}

std::string TilesOf(const std::string& rack) {
  std::string tiles;
  for (char c : rack)
    if (!IsEmptyRackPlace(c)) tiles += c;
  return tiles;
}

class RemainderEvaluator : public RobotEvaluator {
 public:
  void Prepare() override {
    leaveCache_.clear();
    std::memset(rowReferenceReady_, 0, sizeof rowReferenceReady_);
    if (const Lexicon* lexicon = GetLexicon()) UseIndexOf(*lexicon, true);
    const EvaluationContext& ctx = CurrentEvaluationContext();
    const int places = ctx.RackSize();
    for (std::string& row : rows_) {
      row.clear();
      if (!ctx.gameBag) continue;
      // Each row draws from a fresh copy: a row never holds a tile the bag
      // does not have, and is shorter when the bag holds fewer tiles.
      TileBag copy;
      copy.CopyFrom(*ctx.gameBag);
      for (int k = 0; k < places; ++k) {
        const char tile = copy.DrawRack(BagPolicy(), kDrawAny, true);
        if (IsEmptyRackPlace(tile)) break;
        row += tile;
      }
      std::sort(row.begin(), row.end());
    }
  }

  float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag& bag,
                 const GameBoard&) override {
    const EvaluationContext& ctx = CurrentEvaluationContext();
    const Lexicon* lexicon = GetLexicon();
    if (!lexicon) return 0.0f;
    places_ = ctx.RackSize();
    int kept = 0;
    const std::string leave = LeaveOf(player, move, places_, &kept);
    const std::string key = SortedDescending(TilesOf(leave));
    const auto hit = leaveCache_.find(key);
    if (hit != leaveCache_.end()) return hit->second;
    UseIndexOf(*lexicon, false);

    const int32_t b = bag.tileCount;
    const int32_t threshold = 7 * ctx.PlayerCount() - 7;
    float term = 0.0f;
    bool cacheable = true;
    if (ctx.kind == kKindDuplicate || b > threshold) {
      term = Sampled(*lexicon, leave, kept);
    } else if (ctx.kind == kKindStandard && JudgedSettings(player).endgameMode != 0 &&
               b < threshold) {
      term = EndGame(*lexicon, player, move, leave, kept, bag);
      // Going out depends on the move's score, not only on the leave.
      cacheable = kept > 0 || b > 0;
    }
    if (b <= kSmallBag) term *= 2.0f;
    if (cacheable) leaveCache_[key] = term;
    return term;
  }
  int GetLabelId() const override { return kEvaluatorLabelIds[kEvalRemainder]; }

 private:
  // The index of the lexicon in use (looked up in full once a search, else
  // only when the lexicon is another); the reference counts go with it.
  void UseIndexOf(const Lexicon& lexicon, bool check) {
    if (index_ && !check && index_->Serves(lexicon)) return;
    std::shared_ptr<const LeaveWordIndex> index = LeaveWordIndex::For(lexicon);
    if (index != index_) {
      referenceCache_.clear();
      actualCounts_.clear();
      olderActualCounts_.clear();
      std::memset(rowReferenceReady_, 0, sizeof rowReferenceReady_);
    }
    index_ = std::move(index);
  }

  void Count(const Lexicon& lexicon, const std::string& rack, const int32_t* pool, int drawMax,
             LengthCounts& out) const {
    out.fill(0);
    int32_t letters[kLetterSlots];
    CountText(rack, letters);
    if (pool && drawMax > 0)
      CountLeaveWords(lexicon, letters, pool, drawMax, places_, out.data());
    else
      index_->Count(letters, std::min(places_, kLeaveLengthSlots - 1), kLeaveCountCaps, out.data());
  }

  // Racks recur within a search (rows that begin alike, leaves that meet
  // the same draw) and from one search to the next; their counts depend only
  // on the lexicon and the rack size, which the key holds.
  // A full set becomes the older one rather than being dropped: the racks
  // of the last searches, likeliest to recur, stay at hand.
  const LengthCounts& Actual(const Lexicon& lexicon, const std::string& rack) {
    if (actualCounts_.size() >= kActualKept) {
      olderActualCounts_.swap(actualCounts_);
      actualCounts_.clear();
    }
    std::string key = rack;
    std::sort(key.begin(), key.end());
    key += static_cast<char>(places_);
    auto it = actualCounts_.find(key);
    if (it == actualCounts_.end()) {
      LengthCounts counts;
      const auto older = olderActualCounts_.find(key);
      if (older != olderActualCounts_.end())
        counts = older->second;
      else
        Count(lexicon, rack, nullptr, 0, counts);
      it = actualCounts_.emplace(std::move(key), counts).first;
    }
    return it->second;
  }

  // Reference racks (blanks and a few drawn letters) recur from search to
  // search; their counts depend only on the lexicon and the rack size, so
  // they are kept while both stay (up to a bound).
  const LengthCounts& Reference(const Lexicon& lexicon, const std::string& rack) {
    if (places_ != referencePlaces_ || referenceCache_.size() >= kReferencesKept) {
      referenceCache_.clear();
      referencePlaces_ = places_;
    }
    const std::string key = SortedDescending(rack);
    auto it = referenceCache_.find(key);
    if (it == referenceCache_.end()) {
      LengthCounts counts;
      Count(lexicon, rack, nullptr, 0, counts);
      it = referenceCache_.emplace(key, counts).first;
    }
    return it->second;
  }

  float Sampled(const Lexicon& lexicon, const std::string& leave, int kept) {
    if (kept == 0) return static_cast<float>(places_ - 1);
    const size_t refill = static_cast<size_t>(places_ - kept);
    const std::string tiles = TilesOf(leave);
    if (places_ != rowReferencePlaces_) {
      std::memset(rowReferenceReady_, 0, sizeof rowReferenceReady_);
      rowReferencePlaces_ = places_;
    }
    float sum = 0.0f;
    for (int k = 0; k < kSampleRows; ++k) {
      const std::string& row = rows_[k];
      const std::string drawn = row.substr(0, std::min(refill, row.size()));
      const std::string actual = tiles + drawn;
      const LengthCounts& a = Actual(lexicon, actual);
      // The reference rack of a row depends only on how many tiles are kept
      // (as blanks): every leave of that size in a search shares it.
      LengthCounts& r = rowReferences_[k][kept];
      if (!rowReferenceReady_[k][kept]) {
        r = Reference(lexicon, std::string(static_cast<size_t>(kept), kUnassignedBlank) + drawn);
        rowReferenceReady_[k][kept] = true;
      }
      for (int l = 2; l <= places_ && l < kLeaveLengthSlots; ++l) {
        if (r[l] > 0)
          sum += a[l] > r[l] ? 1.0f : static_cast<float>(a[l]) / static_cast<float>(r[l]);
        else if (a[l] == 0 && l >= kept)
          sum += 1.0f;
      }
    }
    return sum * kOneTwelfth;
  }

  float EndGame(const Lexicon& lexicon, const RobotPlayerView& player, const RobotMove& move,
                const std::string& leave, int kept, const TileBag& bag) const {
    const GameRules& rules = CurrentEvaluationContext().Rules();
    const int refill = places_ - kept;
    if (bag.tileCount > 0) {
      if (bag.tileCount - refill > 0) {
        if (kept == 0) return 1.0f;
        LengthCounts counts;
        Count(lexicon, leave, bag.counts, refill, counts);
        float sum = 0.0f;
        for (int l = 2; l <= places_ && l < kLeaveLengthSlots; ++l)
          if (kLeaveCountCaps[l] > 0)
            sum += static_cast<float>(counts[l]) / static_cast<float>(kLeaveCountCaps[l]);
        return sum;
      }
      // The refill empties the bag: what the rack will then hold counts
      // against the player.
      TileBag copy;
      copy.CopyFrom(bag);
      std::string rack = TilesOf(leave);
      for (int k = 0; k < refill; ++k) {
        const char tile = copy.DrawRack(BagPolicy(), kDrawAny, true);
        if (IsEmptyRackPlace(tile)) break;
        rack += tile;
      }
      return -2.0f * static_cast<float>(TextValue(rules, rack.c_str()));
    }
    if (kept > 0) return -2.0f * static_cast<float>(TextValue(rules, TilesOf(leave).c_str()));
    return GoingOut(player, move, rules);
  }

  static float GoingOut(const RobotPlayerView& player, const RobotMove& move,
                        const GameRules& rules) {
    float best = 0.0f;
    bool overtaken = false;
    for (const RobotPlayerView* other : CurrentEvaluationContext().players) {
      if (!other || other->playerIndex == player.playerIndex) continue;
      best = std::max(best, 2.0f * static_cast<float>(TextValue(rules, other->rack)));
      if (other->score > player.score + move.score) overtaken = true;
    }
    return overtaken ? best : best + kGoingOutBonus;
  }

  std::string rows_[kSampleRows];
  std::map<std::string, float> leaveCache_;
  std::unordered_map<std::string, LengthCounts> referenceCache_;
  // The reference counts of each sample row by tiles kept, for one search.
  LengthCounts rowReferences_[kSampleRows][kMaxRackPlaces + 1];
  bool rowReferenceReady_[kSampleRows][kMaxRackPlaces + 1] = {};
  int rowReferencePlaces_ = 0;                                  // the rack size of rowReferences_
  std::unordered_map<std::string, LengthCounts> actualCounts_;  // by sorted rack and size
  std::unordered_map<std::string, LengthCounts> olderActualCounts_;  // the set filled before
  int referencePlaces_ = 0;                      // the rack size of the reference counts
  std::shared_ptr<const LeaveWordIndex> index_;  // of the lexicon in use
  int places_ = 7;
};

}  // namespace

void CountLeaveWords(const Lexicon& lexicon, const int32_t letters[kLetterSlots],
                     const int32_t* pool, int drawMax, int maxLength,
                     int32_t counts[kLeaveLengthSlots]) {
  std::fill(counts, counts + kLeaveLengthSlots, 0);
  maxLength = std::min(maxLength, kLeaveLengthSlots - 1);
  if (maxLength < 2) return;
  if (pool && drawMax > 0)
    WordCounter(lexicon.Main(), letters, pool, drawMax, maxLength, counts).Walk(0, 0);
  else
    LeaveWordIndex::For(lexicon)->Count(letters, maxLength, kLeaveCountCaps, counts);
}

std::unique_ptr<RobotEvaluator> MakeRemainderComponent() {
  return std::make_unique<RemainderEvaluator>();
}
