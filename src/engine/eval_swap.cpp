// The letter-swap advice (component 3): once a standard game's found moves
// are ranked, decide on the best one whether to play it, pass to keep a rack
// that already forms a full-rack word, or swap letters, and which. The
// decision goes into the robot's result state (and, for a swap, its rack
// text); the term returned is the same number.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/robot_game.h"
#include "engine/eval_components.h"
#include "engine/eval_context.h"
#include "engine/eval_leave_index.h"
#include "engine/lexicon.h"
#include "engine/robot.h"
#include "rules/robot_move.h"
#include "engine/wordlist.h"
#include "rules/bag.h"
#include "rules/board.h"
#include "rules/rules.h"

namespace {

constexpr char kKeepLetters[] = "aerst";
constexpr int32_t kJuniorLowScore = 6;
constexpr int32_t kLowScore = 12;
constexpr int32_t kTrailingScore = 6;
constexpr int32_t kSwapBagMinimum = 7;
constexpr int32_t kWeakPlayerLevel = 5;
// Byte that marks a rack place as given up (the blank's byte).
constexpr char kMarked = kUnassignedBlank;
// From this many blanks (marks, blanks and the place given up) a pass reads
// the words of the rack's length in order instead of walking the graph.
constexpr int32_t kScanBudget = 4;

// A multiset of letters as bits: bit 4L + k when letter index L is there
// more than k times (k < kCountedTimes). Two sets share popcount(a & b)
// letters when neither holds a letter more than kCountedTimes times.
constexpr int kCountedTimes = 4;
struct LetterBits {
  uint64_t low = 0, high = 0;
  bool overflow = false;  // a letter more than kCountedTimes times

  void Add(int letter, int times) {
    if (times > kCountedTimes) overflow = true;
    for (int k = 0; k < std::min(times, kCountedTimes); ++k) {
      const int bit = 4 * letter + k;
      (bit < 64 ? low : high) |= uint64_t{1} << (bit & 63);
    }
  }
  int Shared(const LetterBits& o) const {
    return __builtin_popcountll(low & o.low) + __builtin_popcountll(high & o.high);
  }
};

// Every word of one length, in the graph's order, `length` letters apiece,
// with each word's letters as bits.
struct WordsOfLength {
  std::shared_ptr<const LeaveWordIndex> index;  // of the graph they come from
  int length = 0;
  std::vector<char> letters;
  std::vector<LetterBits> bits;

  void MakeBits() {
    bits.clear();
    const size_t step = static_cast<size_t>(length);
    for (size_t at = 0; step > 0 && at + step <= letters.size(); at += step) {
      int counts[kLetterSlots] = {};
      for (size_t k = 0; k < step; ++k)
        ++counts[LetterIndex(letters[at + k])];
      LetterBits b;
      for (int c = 0; c < kLetterSlots; ++c)
        if (counts[c] > 0) b.Add(c, counts[c]);
      bits.push_back(b);
    }
  }
};

void CollectWordsOfLength(const DawgNodeList& graph, const LeaveWordIndex& lengths, int index,
                          int depth, char* word, int at, std::vector<char>& out) {
  for (const DawgNode* n = graph.Node(index); n; n = graph.Node(++index)) {
    if (lengths.LengthsBelow(index) >> (depth - 1) & 1u) {
      word[at] = static_cast<char>(n->Letter());
      if (depth == 1)
        out.insert(out.end(), word, word + at + 1);
      else
        CollectWordsOfLength(graph, lengths, n->child, depth - 1, word, at + 1, out);
    }
    if (n->IsLast()) break;
  }
}

struct Candidate {
  std::string text;
  float chance = 0.0f;
  float value = 0.0f;
};

// What a candidate's full-rack words add up to.
struct WordSums {
  int words = 0;        // listed, at most a WordList's capacity
  float chance = 0.0f;  // draw chances of their missing letters
  float value = 0.0f;   // letter values of the words whose chance is not 0
};

// The candidates of one pass of the swap search each give up one more place
// of w. Those giving up the same letter are alike; each such group is
// judged as if CountRackWords had listed its words (w with that place
// marked) and each word had then been judged in list order.
struct PassGroup {
  char letter = 0;       // the letter given up
  int index = 0;         // its letter index
  bool lastOne = false;  // no other place of w holds it
  WordSums sums;
};

// One walk serves every group of a pass: the words w forms with one more
// blank, in the graph's order. A word is one of a group's words when the
// blanks it takes from w's letters, plus one when it needs the letter the
// group gives up as many times as w holds it, stay within w's blanks plus
// one; in order, so the float sums come out as the group's own walk would
// make them. The walk ends once every group's list would be full.
class PassWalk {
 public:
  PassWalk(const DawgNodeList& graph, const LeaveWordIndex& lengths, const GameRules& rules,
           const TileBag& bag, const std::string& w, std::vector<PassGroup>& groups)
      : graph_(graph), lengths_(lengths), rules_(rules), bag_(bag), groups_(groups) {
    for (char ch : w) {
      if (ch == kUnassignedBlank)
        ++blanks_;
      else
        ++counts_[LetterIndex(ch)];  // '_' lands on 31, which no letter uses
      inRack_[static_cast<uint8_t>(ch)] = true;
    }
    std::copy(std::begin(counts_), std::end(counts_), held_);
    budget_ = ++blanks_;
    open_ = static_cast<int>(groups_.size());
  }

  // With few blanks the walk reaches few words; with many it would visit
  // most of the graph, and reading the words of the length in order is
  // quicker (same words, same order).
  void Run(int length, const WordsOfLength* wordsOfLength) {
    char word[kWordTextSize] = {};
    if (open_ <= 0) return;
    if (wordsOfLength && budget_ >= kScanBudget)
      Scan(*wordsOfLength, length);
    else
      Walk(0, length, word, 0, nullptr);
  }

 private:
  // False once every group is full.
  bool Walk(int index, int depth, char* word, int length, const DawgNode* node) {
    if (depth == 0) {
      if (node && node->EndsWord()) Judge(word, budget_ - blanks_);
      return open_ > 0;
    }
    if (index < 0) return true;
    for (const DawgNode* n = graph_.Node(index); n; n = graph_.Node(++index)) {
      int32_t* counter = counts_[n->LetterIndex()] > 0 ? &counts_[n->LetterIndex()]
                                                       : (blanks_ > 0 ? &blanks_ : nullptr);
      if (counter && (lengths_.LengthsBelow(index) >> (depth - 1) & 1u)) {
        --*counter;
        word[length] = static_cast<char>(n->Letter());
        const bool more = Walk(n->child, depth - 1, word, length + 1, n);
        word[length] = 0;
        ++*counter;
        if (!more) return false;
      }
      if (n->IsLast()) break;
    }
    return true;
  }

  void Scan(const WordsOfLength& words, int length) {
    const std::vector<char>& letters = words.letters;
    LetterBits held;
    for (int c = 0; c < kLetterSlots; ++c)
      if (held_[c] > 0) held.Add(c, held_[c]);
    char word[kWordTextSize] = {};
    const size_t step = static_cast<size_t>(length);
    for (size_t at = 0, n = 0; at + step <= letters.size() && open_ > 0; at += step, ++n) {
      // The walk's choice: a letter of w while one is left, else a blank;
      // so a word takes a blank for each letter it does not share with w.
      const LetterBits& bits = words.bits[n];
      const int taken =
          bits.overflow ? Taken(&letters[at], step) : static_cast<int>(step) - bits.Shared(held);
      if (taken > budget_) continue;
      std::copy(letters.begin() + static_cast<std::ptrdiff_t>(at),
                letters.begin() + static_cast<std::ptrdiff_t>(at + step), word);
      Judge(word, taken);
    }
  }

  // The blanks a word takes, counted letter by letter.
  int Taken(const char* letters, size_t step) {
    int taken = 0;
    int spent[kWordTextSize];
    int spentCount = 0;
    for (size_t k = 0; k < step; ++k) {
      const int letter = LetterIndex(letters[k]);
      if (counts_[letter] > 0) {
        --counts_[letter];
        spent[spentCount++] = letter;
      } else {
        ++taken;
      }
    }
    while (spentCount > 0)
      ++counts_[spent[--spentCount]];
    return taken;
  }

  // taken: the letters of the word w lacks, stood for by blanks.
  void Judge(const char* word, int taken) {
    int uses[kLetterSlots] = {};
    char missing[kWordTextSize] = {};  // the letters w holds nowhere, in order
    int m = 0;
    for (const char* c = word; *c; ++c) {
      ++uses[LetterIndex(*c)];
      if (!inRack_[static_cast<uint8_t>(*c)]) missing[m++] = *c;
    }
    // The same for every group that keeps its letter somewhere in w.
    float common = -1.0f;
    float value = -1.0f;
    for (PassGroup& g : groups_) {
      if (g.sums.words >= WordList::kCapacity) continue;
      if (taken + (uses[g.index] >= held_[g.index] ? 1 : 0) > budget_) continue;
      if (++g.sums.words == WordList::kCapacity) --open_;
      float p;
      if (g.lastOne && std::strchr(word, g.letter)) {
        char own[kWordTextSize] = {};
        int k = 0;
        for (const char* c = word; *c; ++c)
          if (!inRack_[static_cast<uint8_t>(*c)] || *c == g.letter) own[k++] = *c;
        p = LetterDrawChance(own, bag_);
      } else {
        if (common < 0.0f) common = LetterDrawChance(missing, bag_);
        p = common;
      }
      if (p == 0.0f) continue;
      if (value < 0.0f) value = static_cast<float>(TextValue(rules_, word));
      g.sums.chance += p;
      g.sums.value += value;
    }
  }

  const DawgNodeList& graph_;
  const LeaveWordIndex& lengths_;  // skips branches with no word of the length
  const GameRules& rules_;
  const TileBag& bag_;
  std::vector<PassGroup>& groups_;
  bool inRack_[256] = {};  // by character: present among w's places
  int32_t counts_[kLetterSlots] = {};
  int32_t held_[kLetterSlots] = {};  // w's letters
  int32_t blanks_ = 0;
  int32_t budget_ = 0;  // w's blanks and the place given up
  int open_ = 0;
};

class LetterSwapEvaluator : public RobotEvaluator {
 public:
  float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag& bag,
                 const GameBoard&) override {
    ctx_ = &CurrentEvaluationContext();
    rules_ = &ctx_->Rules();
    places_ = ctx_->RackSize();
    rack_.assign(places_, kEmptyRackPlace);
    for (int i = 0; i < places_ && player.rack[i]; ++i)
      rack_[i] = player.rack[i];
    const bool hasWord = move.word[0] != 0;

    if (ctx_->roundCount == 0 && hasWord) return kAdvicePlay;
    if (bag.tileCount < kSwapBagMinimum) return hasWord ? kAdvicePlay : kAdvicePass;
    if (hasWord && move.score > kTrailingScore && Trailing(player)) return kAdvicePlay;

    const RobotSettings s = JudgedSettings(player);
    const int32_t lowScore = IsJuniorMode() ? kJuniorLowScore : kLowScore;
    const Lexicon* lexicon = GetLexicon();
    const int fullRackWords = lexicon ? lexicon->FindAnagrams(rack_.c_str(), places_) : 0;
    // A negative level means no limit: only a set limit of 5 or less is weak.
    if (s.maxWordLevel >= 0 && s.maxWordLevel <= kWeakPlayerLevel)
      return hasWord ? Answer(kAdvicePlay) : DefaultSwap();
    if (move.score > lowScore || s.swapAnalysis == 0) return FallBack(hasWord);
    if (fullRackWords >= 1) return Answer(kAdvicePass);
    if (!lexicon) return FallBack(hasWord);
    return Search(*lexicon, s, bag, hasWord);
  }
  int GetLabelId() const override { return kEvaluatorLabelIds[kEvalLetterSwap]; }

 private:
  bool Trailing(const RobotPlayerView& player) const {
    for (const RobotPlayerView* other : ctx_->players)
      if (other && other->playerIndex != player.playerIndex && other->score > player.score)
        return true;
    return false;
  }

  float Answer(int32_t advice) const {
    if (ctx_->robot) ctx_->robot->SetResultState(advice);
    return static_cast<float>(advice);
  }

  float Swap(const std::string& letters) const {
    if (ctx_->robot) {
      ctx_->robot->SetRack(letters.c_str());
      ctx_->robot->SetResultState(kAdviceSwap);
    }
    return static_cast<float>(kAdviceSwap);
  }

  // Everything but the keep letters; the whole rack when nothing is left.
  float DefaultSwap() const {
    char out[kRackTextSize] = {};
    LettersNotIn(rack_.c_str(), kKeepLetters, out);
    return Swap(out[0] ? out : rack_);
  }

  float CandidateSwap(const std::string& text) const {
    std::vector<char> out(text.size() + 1);
    LettersNotIn(text.c_str(), kKeepLetters, out.data());
    return Swap(out[0] ? std::string(out.data()) : text);
  }

  float FallBack(bool hasWord) const { return hasWord ? Answer(kAdvicePlay) : DefaultSwap(); }

  bool CancelAsked() const {
    return ctx_->robot && ctx_->robot->ThinkingState() == ThreadJob::kCancelAsked;
  }

  // The candidate made by giving up place i of w on top of the set s: how
  // likely the bag gives the letters missing for a full-rack word, and what
  // those words are worth (summed by JudgePass).
  Candidate Assess(std::string& w, size_t i, const std::string& s) {
    Candidate c;
    const char letter = w[i];
    const WordSums& sums = sums_.at(KeyWithout(w, i));
    if (sums.words > 0) {
      c.chance = sums.chance / static_cast<float>(sums.words);
      c.value = sums.value / static_cast<float>(sums.words) * c.chance;
    }
    c.text = s + letter;
    return c;
  }

  // w's letters with place i given up: the sums depend on nothing else
  // (for one bag).
  static std::string KeyWithout(std::string w, size_t i) {
    w[i] = kMarked;
    std::sort(w.begin(), w.end());
    return w;
  }

  // Sums the full-rack words of every candidate of this pass not judged yet.
  void JudgePass(const Lexicon& lexicon, const std::string& w, const TileBag& bag) {
    std::vector<PassGroup> groups;
    std::vector<std::string> keys;
    for (size_t i = 0; i < w.size(); ++i) {
      if (w[i] == kEmptyRackPlace || w[i] == kMarked) continue;
      std::string key = KeyWithout(w, i);
      if (sums_.count(key) || std::find(keys.begin(), keys.end(), key) != keys.end()) continue;
      PassGroup g;
      g.letter = w[i];
      g.index = LetterIndex(w[i]);
      g.lastOne = std::count(w.begin(), w.end(), w[i]) == 1;
      groups.push_back(g);
      keys.push_back(std::move(key));
    }
    if (groups.empty()) return;
    // CountRackWords lists nothing for such lengths.
    if (places_ > 0 && places_ <= kMaxWordLetters) {
      if (!lengths_) lengths_ = LeaveWordIndex::For(lexicon);
      if (words_.index != lengths_ || words_.length != places_) {
        words_.index = lengths_;
        words_.length = places_;
        words_.letters.clear();
        char word[kWordTextSize] = {};
        CollectWordsOfLength(lexicon.Main(), *lengths_, 0, places_, word, 0, words_.letters);
        words_.MakeBits();
      }
      PassWalk(lexicon.Main(), *lengths_, *rules_, bag, w, groups).Run(places_, &words_);
    }
    for (size_t k = 0; k < groups.size(); ++k)
      sums_.emplace(std::move(keys[k]), groups[k].sums);
  }

  // Grows the swap set s one letter a pass (the most valuable on offer) until
  // a candidate's expected value clears the player's threshold.
  float Search(const Lexicon& lexicon, const RobotSettings& settings, const TileBag& bag,
               bool hasWord) {
    std::string s;
    std::string w = rack_;
    size_t marked = 0;
    sums_.clear();  // they hold for this bag
    lengths_ = nullptr;
    while (static_cast<int>(s.size()) < places_) {
      if (CancelAsked()) return kAdvicePlay;
      // Mark the letters of s added since the last pass.
      for (; marked < s.size(); ++marked) {
        const size_t at = w.find(s[marked]);
        if (at != std::string::npos) w[at] = kMarked;
      }
      if (std::all_of(w.begin(), w.end(), [](char c) { return c == kMarked; }))
        return kAdviceSwap;  // nothing left to give up: advice unchanged
      JudgePass(lexicon, w, bag);
      std::vector<Candidate> candidates;
      for (size_t i = 0; i < w.size(); ++i)
        if (w[i] != kEmptyRackPlace && w[i] != kMarked) candidates.push_back(Assess(w, i, s));
      float best = 0.0f;
      const size_t before = s.size();
      for (size_t k = candidates.size(); k-- > 0;) {
        const float letters = static_cast<float>(TextValue(*rules_, candidates[k].text.c_str()));
        if (letters > best) {
          best = letters;
          s = candidates[k].text;
        }
        if (candidates[k].value < settings.letterSwapWeight)
          candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(k));
      }
      if (candidates.size() == 1) return CandidateSwap(candidates[0].text);
      if (candidates.size() >= 2) {
        for (const Candidate& c : candidates)
          best = std::max(best, c.value);
        for (const Candidate& c : candidates)
          if (c.value == best) return CandidateSwap(c.text);
      }
      // A pass that could not grow the set would repeat itself for ever.
      if (s.size() == before) break;
    }
    return FallBack(hasWord);
  }

  const EvaluationContext* ctx_ = nullptr;
  const GameRules* rules_ = nullptr;
  int places_ = 7;
  std::string rack_;
  std::map<std::string, WordSums> sums_;           // by w's letters, for one evaluation
  std::shared_ptr<const LeaveWordIndex> lengths_;  // looked up once a search
  WordsOfLength words_;                            // kept while the graph stays
};

// Depth-first over the main graph for words of exactly `depth` more letters.
void RackWalk(const Lexicon& lexicon, int index, int depth, int32_t counts[kLetterSlots],
              int32_t* blanks, std::string& word, const DawgNode* node, WordList* list,
              int* found) {
  const DawgNodeList& graph = lexicon.Main();
  if (depth == 0) {
    if (node && node->EndsWord()) {
      lexicon.CollectWord(list, word.c_str(), node);
      ++*found;
    }
    return;
  }
  if (index < 0) return;
  for (const DawgNode* n = graph.Node(index); n; n = graph.Node(++index)) {
    int32_t* counter =
        counts[n->LetterIndex()] > 0 ? &counts[n->LetterIndex()] : (*blanks > 0 ? blanks : nullptr);
    if (counter) {
      --*counter;
      word.push_back(static_cast<char>(n->Letter()));
      RackWalk(lexicon, n->child, depth - 1, counts, blanks, word, n, list, found);
      word.pop_back();
      ++*counter;
    }
    if (n->IsLast()) break;
  }
}

}  // namespace

float LetterDrawChance(const char* letters, const TileBag& bag) {
  const size_t n = std::strlen(letters);
  if (n == 0) return 100.0f;
  if (bag.tileCount <= 0) return 0.0f;
  // The bag's counts as the draws so far leave them, kept only for the
  // letters drawn (a text names few of them).
  int8_t slot[kLetterSlots];
  std::memset(slot, -1, sizeof slot);
  int32_t left[kLetterSlots];
  int used = 0;
  float p = 1.0f;
  float factorial = 1.0f;
  for (size_t i = 0; i < n; ++i) {
    const int letter = LetterIndex(letters[i]);
    if (slot[letter] < 0) {
      slot[letter] = static_cast<int8_t>(used);
      left[used++] = bag.counts[letter];
    }
    int32_t& k = left[slot[letter]];
    p = p * static_cast<float>(std::max(k, 0)) / static_cast<float>(bag.tileCount);
    if (k > 0) --k;
    factorial *= static_cast<float>(i + 1);
  }
  return 100.0f * factorial * p;
}

void LettersNotIn(const char* text, const char* set, char* out) {
  for (; *text; ++text)
    if (!std::strchr(set, *text)) *out++ = *text;
  *out = 0;
}

int CountRackWords(const Lexicon& lexicon, const char* rack, int length, WordList* list) {
  if (length <= 0 || length > kMaxWordLetters) return 0;
  int32_t counts[kLetterSlots] = {};
  int32_t blanks = 0;
  for (const char* c = rack; *c; ++c) {
    if (*c == kUnassignedBlank)
      ++blanks;
    else
      ++counts[LetterIndex(*c)];  // '_' lands on 31, which no letter uses
  }
  std::string word;
  int found = 0;
  RackWalk(lexicon, 0, length, counts, &blanks, word, nullptr, list, &found);
  return found;
}

std::unique_ptr<RobotEvaluator> MakeLetterSwapComponent() {
  return std::make_unique<LetterSwapEvaluator>();
}
