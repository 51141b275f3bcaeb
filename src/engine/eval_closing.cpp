// "Closing board" (component 5): how much a move leaves open at the two ends
// of its word. On the board after the move it walks every extension of the
// word through the lexicon, square by square, using only tiles the mover
// cannot see (the bag and the other racks), and takes the best score such an
// extension would make. A standard game counts that against the move; the
// other kinds count the ways to extend, for it.
#include <algorithm>
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
#include "rules/tile_bonus.h"

namespace {

// The tiles the judged player cannot see: the bag and every other rack.
void UnseenPool(const RobotPlayerView& player, const TileBag& bag, int32_t pool[kLetterSlots]) {
  std::memcpy(pool, bag.counts, sizeof bag.counts);
  for (const RobotPlayerView* other : CurrentEvaluationContext().players) {
    if (!other || other->playerIndex == player.playerIndex) continue;
    for (int i = 0; i < kRackTextSize && other->rack[i]; ++i)
      if (!IsEmptyRackPlace(other->rack[i])) ++pool[LetterIndex(other->rack[i])];
  }
}

// Visits, in list order, the nodes of the sibling list at index whose letter
// index is in `letters` (none for index -1). Most letters pass here, so the
// list is scanned rather than indexed.
template <class Visit>
void ForEachChild(const DawgNodeList& graph, int index, uint32_t letters, Visit visit) {
  if (index < 0) return;
  for (const DawgWalkNode* n = graph.WalkNodes() + index;; ++n) {
    if ((letters >> n->letterIndex) & 1u) visit(n);
    if (n->IsLast()) break;
  }
}

// A node's `below` bits without the node's own word.
constexpr uint32_t kBelowNotHere = 0xFEu;

// The first node of the sibling list at index with the letter, or null.
const DawgWalkNode* ChildWithLetter(const DawgNodeList& graph, int index, int letter) {
  if (index < 0) return nullptr;
  const DawgWalkNode* first = graph.WalkNodes() + index;
  const uint32_t bit = 1u << letter;
  if (!(first->runMask & bit)) return nullptr;
  if (graph.SortedLists()) return first + CountLetterBits(first->runMask & (bit - 1));
  for (const DawgWalkNode* n = first;; ++n)
    if (n->letterIndex == letter) return n;
}

// Whether a letter may go on a square of a move's line as far as the tiles
// across the line allow. The move lays tiles only along its line, so the
// answers hold for every move of a search on the same board: they are kept
// per board, direction, line and square, and asked of the lexicon once.
class CrossMemo {
 public:
  // Forgets everything unless the board and lexicon are those of the answers.
  void UseBoard(const GameBoard& board, const Lexicon& lexicon) {
    const DawgNode* nodes = lexicon.Main().Nodes().data();
    if (lexicon_ == &lexicon && nodes_ == nodes && rules_ == board.rules &&
        std::memcmp(letters_, board.letters, sizeof letters_) == 0)
      return;
    lexicon_ = &lexicon;
    nodes_ = nodes;
    rules_ = board.rules;
    std::memcpy(letters_, board.letters, sizeof letters_);
    std::memset(ready_, 0, sizeof ready_);
  }
  // What is known of one square of a line.
  struct Square {
    int8_t crossed = -1;        // tiles across the line beside it: -1 unknown, 0 or 1
    int8_t verdicts[256] = {};  // by letter byte, when crossed: -1 unknown, 0 or 1
  };
  Square& At(bool across, int line, int i) {
    const int square = (across ? 0 : kBoardSquares) + line * kBoardStride + i;
    Square& sq = squares_[square];
    if (!ready_[square]) {
      sq.crossed = -1;
      std::memset(sq.verdicts, -1, sizeof sq.verdicts);
      ready_[square] = true;
    }
    return sq;
  }

 private:
  const Lexicon* lexicon_ = nullptr;
  const DawgNode* nodes_ = nullptr;
  const GameRules* rules_ = nullptr;
  char letters_[kBoardSquares] = {};
  bool ready_[2 * kBoardSquares] = {};
  Square squares_[2 * kBoardSquares];
};

// An extended word's score as GameBoard::ScoreWord makes it on the board
// after the move, kept up letter by letter along the walk: face value for
// the letters on tiles, premiums under new tiles, the new-tile bonus.
struct WordTally {
  int sum = 0;
  int multiplier = 1;
  int newTiles = 0;

  WordTally Face(int value) const {
    WordTally t = *this;
    t.sum += value;
    return t;
  }
  WordTally Laid(int value, int32_t premium) const {
    WordTally t = *this;
    switch (premium) {
      case kPremiumDoubleLetter:
        value *= 2;
        break;
      case kPremiumTripleLetter:
        value *= 3;
        break;
      case kPremiumDoubleWord:
        t.multiplier *= 2;
        break;
      case kPremiumTripleWord:
        t.multiplier *= 3;
        break;
      default:
        break;
    }
    t.sum += value;
    ++t.newTiles;
    return t;
  }
  // A record holds no longer word: it scored 0.
  float Score(size_t letters) const {
    if (letters >= static_cast<size_t>(kMoveWordSize)) return 0.0f;
    return static_cast<float>(sum * multiplier + MoveTileBonus(newTiles));
  }
};

// One evaluation: the board after the move seen along the move's line.
class ExtensionWalk {
 public:
  ExtensionWalk(const Lexicon& lexicon, const GameBoard& after, const RobotMove& move,
                const EvaluationContext& ctx, bool poolLimited, int32_t pool[kLetterSlots],
                CrossMemo& cross)
      : lexicon_(lexicon),
        cross_(cross),
        rules_(*after.rules),
        board_(after),
        frame_(after, move, ctx.Side()),
        move_(move),
        countOnly_(ctx.kind == kKindDuplicate),
        poolLimited_(poolLimited),
        pool_(pool) {}

  // Best extension after the word's last letter (main graph) or before its
  // first (reversed graph, the word read backwards).
  float FromEnd(const std::string& word, bool backwards) {
    const DawgNodeList& graph = backwards ? lexicon_.Reversed() : lexicon_.Main();
    std::string text = backwards ? std::string(word.rbegin(), word.rend()) : word;
    const DawgNode* found = graph.WalkToNode(text.c_str(), false);
    if (!found) return 0.0f;
    const DawgWalkNode* node = graph.WalkNodes() + (found - graph.Nodes().data());
    const int step = backwards ? -1 : 1;
    const int square =
        backwards ? frame_.Start() - 1 : frame_.Start() + static_cast<int>(word.size());
    // The word's own letters, on their squares (the move's tiles are laid).
    WordTally tally;
    for (size_t k = 0; k < word.size(); ++k)
      tally = Placed(tally, word[k], frame_.Start() + static_cast<int>(k));
    poolMask_ = 0;
    for (int l = 0; l < kLetterSlots; ++l)
      if (pool_[l] > 0) poolMask_ |= 1u << l;
    wordLength_ = static_cast<int>(text.size());
    if (!countOnly_) {
      // The squares where an extension can stop: free, with no tile after.
      ends_ = 0;
      const int p = frame_.Line();
      for (int at = 0, i = square; frame_.Inside(i, p); ++at, i += step)
        if (!frame_.Occupied(i, p) && !frame_.Occupied(i + step, p)) ends_ |= 1u << at;
      if (!EndsAhead(node->below & kBelowNotHere, -1)) return 0.0f;
    }
    return Walk(graph, wordLength_, node, square, step, tally);
  }

 private:
  // Walks stop at both edges of the board.
  float Walk(const DawgNodeList& graph, int length, const DawgWalkNode* node, int i, int step,
             const WordTally& tally) {
    const int p = frame_.Line();
    if (!frame_.Inside(i, p)) return 0.0f;
    const char tile = frame_.At(i, p);
    if (!IsEmptySquare(tile)) {
      const DawgWalkNode* next = ChildWithLetter(graph, node->child, LetterIndex(tile));
      if (!next) return 0.0f;
      return Walk(graph, length + 1, next, i + step, step, Placed(tally, tile, i));
    }
    float best = 0.0f;
    const bool scored = OnScoredBoard(i);
    const int32_t premium = scored ? rules_.Premium(frame_.Row(i, p), frame_.Column(i, p)) : 0;
    CrossMemo::Square& square = cross_.At(move_.direction == 0, p, i);
    if (square.crossed < 0) square.crossed = Crossed(i) ? 1 : 0;
    const bool endsHere = !frame_.Occupied(i + step, p);
    ForEachChild(graph, node->child, poolLimited_ ? poolMask_ : ~0u, [&](const DawgWalkNode* n) {
      const int letter = n->letterIndex;
      if (!CrossAllows(square, i, n->letter)) return;
      if (poolLimited_ && --pool_[letter] == 0) poolMask_ &= ~(1u << letter);
      if (countOnly_) {
        best += 1.0f;
      } else {
        const int value = rules_.LetterValue(static_cast<char>(n->letter));
        const WordTally laid = scored ? tally.Laid(value, premium) : tally.Face(value);
        // Off the board nothing can follow: the word stands as it is.
        if (n->EndsWord() && endsHere)
          best = std::max(best, laid.Score(static_cast<size_t>(length) + 1));
        if (EndsAhead(n->below & kBelowNotHere, length - wordLength_))
          best = std::max(best, Walk(graph, length + 1, n, i + step, step, laid));
      }
      if (poolLimited_ && pool_[letter]++ == 0) poolMask_ |= 1u << letter;
    });
    return best;
  }

  // Whether a word below a node `at` squares past the walk's first ends
  // where an extension can stop (bit k of `below`: k letters below the
  // node); a branch that ends none there scores nothing.
  bool EndsAhead(uint32_t below, int at) const {
    const uint32_t from = at >= 0 ? ends_ >> at : ends_ << -at;  // bit k: square at + k
    if (below & from & ((1u << DawgWalkNode::kBelowFar) - 1u)) return true;
    return (below >> DawgWalkNode::kBelowFar & 1u) && (from >> DawgWalkNode::kBelowFar) != 0;
  }

  // The letter may go on (i, line) when it makes a word with the tiles
  // across the line, or when there are none.
  bool CrossAllows(CrossMemo::Square& square, int i, uint8_t letter) const {
    if (!square.crossed) return true;
    int8_t& verdict = square.verdicts[letter];
    if (verdict < 0) verdict = AskCross(i, letter) ? 1 : 0;
    return verdict != 0;
  }

  // ScoreWord gives premiums and counts new tiles only on squares of its
  // board's side; elsewhere a letter earns its face value.
  bool OnScoredBoard(int i) const {
    const int side = board_.Side();
    return frame_.Row(i, frame_.Line()) < side && frame_.Column(i, frame_.Line()) < side;
  }
  WordTally Placed(const WordTally& tally, char letter, int i) const {
    const int value = rules_.LetterValue(letter);
    const int p = frame_.Line();
    if (!OnScoredBoard(i) || !IsEmptySquare(board_.At(frame_.Row(i, p), frame_.Column(i, p))))
      return tally.Face(value);
    return tally.Laid(value, rules_.Premium(frame_.Row(i, p), frame_.Column(i, p)));
  }

  bool Crossed(int i) const {
    return frame_.Occupied(i, frame_.Line() - 1) || frame_.Occupied(i, frame_.Line() + 1);
  }

  bool AskCross(int i, uint8_t letter) const {
    const int p = frame_.Line();
    int first = p, last = p;
    while (frame_.Occupied(i, first - 1))
      --first;
    while (frame_.Occupied(i, last + 1))
      ++last;
    if (first == p && last == p) return true;
    std::string cross;
    for (int q = first; q <= last; ++q)
      cross += q == p ? static_cast<char>(letter) : static_cast<char>(frame_.At(i, q) | 0x20);
    return lexicon_.IsWord(cross.c_str());
  }

  const Lexicon& lexicon_;
  CrossMemo& cross_;
  const GameRules& rules_;
  const GameBoard& board_;
  LineFrame frame_;
  const RobotMove& move_;
  bool countOnly_;
  bool poolLimited_;
  int32_t* pool_;
  uint32_t poolMask_ = 0;  // letters the pool still holds
  int wordLength_ = 0;     // letters of the word being extended
  uint32_t ends_ = 0;      // bit k: an extension may stop k squares past the first
};

class ClosingBoardEvaluator : public RobotEvaluator {
 public:
  float Evaluate(const RobotPlayerView& player, const RobotMove& move, const TileBag& bag,
                 const GameBoard& board) override {
    const EvaluationContext& ctx = CurrentEvaluationContext();
    const Lexicon* lexicon = GetLexicon();
    float c = 0.0f;
    if (lexicon && move.word[0]) {
      // The walk reads the letters, the rules and the premiums only: a board
      // kept for the purpose takes those, not a whole copy.
      GameBoard& after = *after_;
      after.rules = board.rules;
      std::memcpy(after.letters, board.letters, sizeof after.letters);
      LayMove(after, move, ctx.Side());
      int32_t pool[kLetterSlots];
      UnseenPool(player, bag, pool);
      cross_->UseBoard(board, *lexicon);
      ExtensionWalk walk(*lexicon, after, move, ctx, JudgedSettings(player).poolLimited == 1, pool,
                         *cross_);
      size_t n = 0;
      while (n + 1 < kMoveWordSize && move.word[n])
        ++n;
      const std::string word(move.word, n);
      c = std::max(walk.FromEnd(word, false), walk.FromEnd(word, true));
    }
    if (ctx.kind == kKindStandard) return c == 0.0f ? -1.0f : -c;
    return c == 0.0f ? 1.0f : c;
  }
  int GetLabelId() const override { return kEvaluatorLabelIds[kEvalClosingBoard]; }

 private:
  std::unique_ptr<CrossMemo> cross_ = std::make_unique<CrossMemo>();
  std::unique_ptr<GameBoard> after_ = std::make_unique<GameBoard>();

  // The move's letters on the copy, as the game lays them (blanks upper case).
  static void LayMove(GameBoard& board, const RobotMove& move, int side) {
    int r = move.row, c = move.column;
    for (int k = 0; k < move.length && k < kMoveWordSize && move.word[k]; ++k) {
      if (r >= side || c >= side) break;
      board.letters[r * kBoardStride + c] = move.word[k];
      (move.direction ? r : c) += 1;
    }
  }
};

}  // namespace

std::unique_ptr<RobotEvaluator> MakeClosingBoardComponent() {
  return std::make_unique<ClosingBoardEvaluator>();
}
