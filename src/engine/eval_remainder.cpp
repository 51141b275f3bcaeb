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
#include <vector>

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
using LengthCounts = std::array<int32_t, kLeaveLengthSlots>;

constexpr bool CapsFitSixteenBits() {
  for (int32_t cap : kLeaveCountCaps)
    if (cap < 0 || cap > 0xFFFF) return false;
  return true;
}
static_assert(CapsFitSixteenBits(), "kept counts are 16-bit");

// A rack's letter counts as a key: the letter indexes of its tiles in
// ascending order, five bits each (the first twelve in `low`, the rest in
// `high`), then the number of tiles and the rack size.
struct RackKey {
  uint64_t low = 0;
  uint64_t high = 0;
  bool operator==(const RackKey& o) const { return low == o.low && high == o.high; }
};

// False for a rack of more tiles than a rack has places.
bool KeyOf(const int32_t letters[kLetterSlots], int places, RackKey* key) {
  RackKey k;
  int tiles = 0;
  for (int c = 0; c < kLetterSlots; ++c)
    for (int32_t n = 0; n < letters[c]; ++n, ++tiles) {
      if (tiles >= kMaxRackPlaces) return false;
      const uint64_t bits = static_cast<uint64_t>(c);
      if (tiles < 12)
        k.low |= bits << (5 * tiles);
      else
        k.high |= bits << (5 * (tiles - 12));
    }
  k.high |= static_cast<uint64_t>(tiles) << 40 | static_cast<uint64_t>(places & 0xFF) << 48;
  *key = k;
  return true;
}

// Word counts by rack, kept from search to search: racks recur (rows that
// begin alike, leaves that meet the same draw, the next turn's bag), and a
// rack's counts depend only on the lexicon and the rack size, which the key
// holds. Each key has two places side by side; the older of their racks
// gives way to a new one.
class CountCache {
 public:
  void Clear() { slots_.clear(); }
  bool Find(const RackKey& key, LengthCounts& out) const {
    if (slots_.empty()) return false;
    const size_t place = Place(key);
    const Slot* slot = &slots_[place];
    if (!(slot->key == key)) {
      slot = &slots_[place ^ 1];
      if (!(slot->key == key)) return false;
    }
    std::copy(std::begin(slot->counts), std::end(slot->counts), out.begin());
    return true;
  }
  void Put(const RackKey& key, const LengthCounts& counts) {
    if (slots_.empty()) slots_.resize(kSlots);
    const size_t place = Place(key);
    // The newest rack takes the first place of its pair; the one it finds
    // there moves to the second, whose rack, the older, goes.
    if (slots_[place].key.high != 0 && !(slots_[place].key == key))
      slots_[place ^ 1] = slots_[place];
    Slot& slot = slots_[place];
    slot.key = key;
    for (size_t l = 0; l < counts.size(); ++l)
      slot.counts[l] = static_cast<uint16_t>(counts[l]);  // within the caps
  }

 private:
  static constexpr size_t kSlots = size_t{1} << 15;
  struct Slot {
    RackKey key;  // high 0: empty (a key holds the rack size)
    uint16_t counts[kLeaveLengthSlots] = {};
  };
  static size_t Place(const RackKey& key) {
    const uint64_t h = (key.low * 0x9E3779B97F4A7C15ULL) ^ (key.high * 0xC2B2AE3D27D4EB4FULL);
    return static_cast<size_t>(h >> 49) & (kSlots - 1);
  }
  std::vector<Slot> slots_;
};

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
      term = Sampled(leave, kept);
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
      counts_.Clear();
      blankCounts_.Clear();
      referenceCounts_.Clear();
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

  // The counts of a row's reference rack given by its letters (Count's, kept
  // by rack). Those racks are mostly blanks, the dearest to count, and the
  // same few recur from search to search: they have a cache of their own.
  void Kept(const int32_t letters[kLetterSlots], LengthCounts& out) {
    RackKey key;
    const bool keyed = KeyOf(letters, places_, &key);
    if (keyed && referenceCounts_.Find(key, out)) return;
    CountLetters(letters, out);
    if (keyed) referenceCounts_.Put(key, out);
  }

  // Racks with a blank cost many times more to count than those without, and
  // there are far fewer of them: they keep a cache of their own, so the many
  // cheap blank-free racks never push them out.
  CountCache& CacheFor(const int32_t letters[kLetterSlots]) {
    return letters[kBlankIndex] > 0 ? blankCounts_ : counts_;
  }

  void CountLetters(const int32_t letters[kLetterSlots], LengthCounts& out) const {
    out.fill(0);
    index_->Count(letters, std::min(places_, kLeaveLengthSlots - 1), kLeaveCountCaps, out.data());
  }

  // The counts of every sample row's rack (the leave's tiles and the row's
  // first tiles): the racks not kept yet that hold no blank are counted in
  // one walk.
  void RowCounts(const int32_t own[kLetterSlots], size_t refill, LengthCounts actual[kSampleRows]) {
    int32_t letters[kSampleRows][kLetterSlots];
    RackKey keys[kSampleRows];
    bool keyed[kSampleRows];
    int batch[kSampleRows];  // rows to count together
    int batched = 0;
    int sameAs[kSampleRows];  // an earlier row of the same rack, or -1
    for (int k = 0; k < kSampleRows; ++k) {
      std::copy(own, own + kLetterSlots, letters[k]);
      const std::string& row = rows_[k];
      const size_t drawn = std::min(refill, row.size());
      for (size_t t = 0; t < drawn; ++t)
        if (!IsEmptyRackPlace(row[t])) ++letters[k][LetterIndex(row[t])];
      keyed[k] = KeyOf(letters[k], places_, &keys[k]);
      sameAs[k] = -1;
      for (int e = 0; e < k && keyed[k]; ++e)
        if (keyed[e] && keys[e] == keys[k]) {
          sameAs[k] = e;
          break;
        }
      if (sameAs[k] >= 0) continue;
      if (keyed[k] && CacheFor(letters[k]).Find(keys[k], actual[k])) continue;
      if (letters[k][kBlankIndex] > 0 || !keyed[k]) {
        CountLetters(letters[k], actual[k]);
        if (keyed[k]) CacheFor(letters[k]).Put(keys[k], actual[k]);
        continue;
      }
      batch[batched++] = k;
    }
    if (batched > 0) {
      int32_t batchLetters[kSampleRows][kLetterSlots];
      int32_t* out[kSampleRows];
      for (int b = 0; b < batched; ++b) {
        std::copy(letters[batch[b]], letters[batch[b]] + kLetterSlots, batchLetters[b]);
        actual[batch[b]].fill(0);
        out[b] = actual[batch[b]].data();
      }
      index_->CountBlankFree(batchLetters, batched, std::min(places_, kLeaveLengthSlots - 1),
                             kLeaveCountCaps, out);
      for (int b = 0; b < batched; ++b)
        counts_.Put(keys[batch[b]], actual[batch[b]]);
    }
    for (int k = 0; k < kSampleRows; ++k)
      if (sameAs[k] >= 0) actual[k] = actual[sameAs[k]];
  }

  float Sampled(const std::string& leave, int kept) {
    if (kept == 0) return static_cast<float>(places_ - 1);
    const size_t refill = static_cast<size_t>(places_ - kept);
    if (places_ != rowReferencePlaces_) {
      std::memset(rowReferenceReady_, 0, sizeof rowReferenceReady_);
      rowReferencePlaces_ = places_;
    }
    int32_t own[kLetterSlots];
    CountText(leave, own);
    LengthCounts actual[kSampleRows];
    RowCounts(own, refill, actual);
    float sum = 0.0f;
    for (int k = 0; k < kSampleRows; ++k) {
      const std::string& row = rows_[k];
      const LengthCounts& a = actual[k];
      // The reference rack of a row depends only on how many tiles are kept
      // (as blanks): every leave of that size in a search shares it.
      LengthCounts& r = rowReferences_[k][kept];
      if (!rowReferenceReady_[k][kept]) {
        int32_t letters[kLetterSlots];
        CountText(std::string(static_cast<size_t>(kept), kUnassignedBlank) +
                      row.substr(0, std::min(refill, row.size())),
                  letters);
        Kept(letters, r);
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
  // The reference counts of each sample row by tiles kept, for one search.
  LengthCounts rowReferences_[kSampleRows][kMaxRackPlaces + 1];
  bool rowReferenceReady_[kSampleRows][kMaxRackPlaces + 1] = {};
  int rowReferencePlaces_ = 0;                   // the rack size of rowReferences_
  CountCache counts_;                            // by rack, from search to search
  CountCache blankCounts_;                       // the same for racks holding a blank
  CountCache referenceCounts_;                   // the same for the rows' reference racks
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
