#include "engine/robot.h"

#include <algorithm>
#include <cstring>

#include "engine/lexicon.h"
#include "rules/rules.h"

namespace {
constexpr char kRobotName[] = "quickBot2usingDawg";
}  // namespace

Robot::Robot() { SettingsToOptions(settings_, settingsPlayer_.options); }

Robot::~Robot() { CancelThinking(); }

Robot::Robot(const Robot& o)
    : Thinker(),
      moves_(o.moves_),
      settings_(o.settings_),
      rules_(o.rules_),
      board_(o.board_),
      candidate_(o.candidate_),
      tilesPlaced_(o.tilesPlaced_),
      currentLine_(o.currentLine_),
      currentAnchor_(o.currentAnchor_),
      levelLimit_(o.levelLimit_),
      settingsPlayer_(o.settingsPlayer_) {
  std::memcpy(name_, o.name_, sizeof name_);
  std::memcpy(rackText_, o.rackText_, sizeof rackText_);
  std::memcpy(reportCounters_, o.reportCounters_, sizeof reportCounters_);
  std::memcpy(crossMasks_, o.crossMasks_, sizeof crossMasks_);
  std::memcpy(crossScores_, o.crossScores_, sizeof crossScores_);
  std::memcpy(crossFlags_, o.crossFlags_, sizeof crossFlags_);
  std::memcpy(grid_, o.grid_, sizeof grid_);
  std::memcpy(letterCounts_, o.letterCounts_, sizeof letterCounts_);
}

bool Robot::CreateEvaluators(const RobotSettings* settings) {
  // A copy: the robot may outlive the record it was given.
  if (settings) settings_ = *settings;
  SettingsToOptions(settings_, settingsPlayer_.options);
  for (int index : kEvaluatorCreationOrder) {
    std::unique_ptr<RobotEvaluator>& slot = evaluators_[index];
    switch (EvaluatorRuleFor(settings_, index)) {
      case EvaluatorRule::kCreate:
        if (!slot) slot = MakeEvaluator(index);
        break;
      case EvaluatorRule::kDelete:
        slot.reset();
        break;
      case EvaluatorRule::kKeep:
        break;
    }
  }
  return true;
}

bool Robot::SetGameParams(const GameRules* rules) {
  rules_ = rules;
  return true;
}

const RobotEvaluator* Robot::Evaluator(int index) const {
  return index >= 0 && index < kEvaluatorCount ? evaluators_[index].get() : nullptr;
}

const GameRules& Robot::Rules() const {
  // The word-finder robots get no rules of their own: they follow the game's.
  return rules_ ? *rules_ : GlobalRules();
}

int Robot::BoardSide() const {
  // A side outside 1..15 (no game set up yet) would let words outgrow a slot.
  const int side = Rules().boardSide;
  if (side <= 0 || side > kMaxWordLetters) return kMaxWordLetters;
  return side;
}

void Robot::LoadPosition(const char*, const char*, bool, int) {}

bool Robot::PreparePosition(const char*, const char*, bool, int) { return true; }

bool Robot::Think(RobotMove*, int) { return false; }

void Robot::ReportMoves(char* buffer, size_t size) {
  if (buffer && size) buffer[0] = 0;
}

void Robot::LoadBoard(const char* grid, const char* rack) {
  const GameRules& rules = Rules();
  const int side = std::clamp<int>(rules.boardSide, 0, kMaxBoardSide);
  char letters[kBoardSquares] = {};
  for (int r = 0; r < side && grid; ++r)
    std::memcpy(letters + r * kBoardStride, grid + r * kBoardStride, static_cast<size_t>(side));
  // The board reads rackSize places: a shorter rack text is padded with
  // empty places rather than read past its end.
  char places[kRackTextSize] = {};
  if (rack) {
    size_t n = 0;
    while (n < static_cast<size_t>(kMaxRackPlaces) && rack[n])
      ++n;
    std::memcpy(places, rack, n);
  }
  board_.LoadFromGrid(&rules, letters, places);
  // Without a game view the stand-in player is the one judged: it holds the
  // rack too, so that the leave-based components see the real leave.
  std::memcpy(settingsPlayer_.rack, places, sizeof settingsPlayer_.rack);
  std::memcpy(letterCounts_, board_.rackCounts, sizeof letterCounts_);
  std::memcpy(grid_, board_.letters, sizeof grid_);
  lineFlags_ = nullptr;
}

int Robot::CountRackLetters(const char* rack) {
  std::memset(letterCounts_, 0, sizeof letterCounts_);
  int empty = 0;
  for (int i = 0; rack && i < kMaxRackPlaces && rack[i]; ++i) {
    if (rack[i] == kEmptyRackPlace)
      ++empty;
    else
      ++letterCounts_[LetterIndex(rack[i])];  // '`' & 31 is the blank's 0
  }
  return empty;
}

bool Robot::HasNoLetters() const {
  return std::all_of(std::begin(letterCounts_), std::end(letterCounts_),
                     [](int32_t n) { return n == 0; });
}

int Robot::SetRack(const char* text) {
  size_t n = 0;
  while (text && n < static_cast<size_t>(kMaxRackPlaces) && text[n])
    ++n;
  if (n) std::memcpy(rackText_, text, n);
  rackText_[n] = 0;
  return static_cast<int>(n);
}

bool Robot::StartThinking(const char* grid, const char* rack) {
  if (!thinking_.HasJob()) PreparePosition(grid, rack, false, 0);
  return thinking_.StartThinking(*this);
}

void Robot::ThinkInBackground(const CancelToken& cancel) {
  moves_.ClearMoveSlots();
  cancel_ = &cancel;
  Think(nullptr, 0);
  cancel_ = nullptr;
}

RobotMove* Robot::SortedBestMove(bool byScore) {
  moves_.SortMovesByScore(byScore);
  return moves_.GetBestMove();
}

RobotMove* Robot::SortedFirstMove(MoveSortKey key) {
  moves_.SortMovesByKey(key);
  return moves_.GetMoveSlot(0);
}

void Robot::ResetTermRanges() {
  std::fill(std::begin(termMax_), std::end(termMax_), 0.0f);
  std::fill(std::begin(termMin_), std::end(termMin_), 0.0f);
  termsScaled_ = false;
  searchRanked_ = false;
}

void Robot::BeginSearch() {
  ClearMoveSlots();
  ResetTermRanges();
}

bool Robot::IsWord(const char* word) const {
  const Lexicon* lexicon = GetLexicon();
  return lexicon && lexicon->IsWord(word);
}

// --- quickBot2usingDawg --------------------------------------------------------

quickBot2usingDawg::quickBot2usingDawg() { std::memcpy(name_, kRobotName, sizeof kRobotName); }

quickBot2usingDawg::quickBot2usingDawg(const quickBot2usingDawg& other) : Robot(other) {}

// The worker may be inside this robot's Think: stop it before anything goes.
quickBot2usingDawg::~quickBot2usingDawg() { CancelThinking(); }

void quickBot2usingDawg::LoadPosition(const char* grid, const char* rack, bool keepRack, int) {
  LoadBoard(grid, rack);
  if (keepRack) {
    rackText_[0] = 0;
    return;
  }
  const int places = std::clamp<int>(Rules().rackSize, 0, kMaxRackPlaces);
  int n = 0;
  for (int i = 0; rack && i < places && rack[i]; ++i)
    rackText_[n++] = rack[i];
  rackText_[n] = 0;
}

bool quickBot2usingDawg::PreparePosition(const char* grid, const char* rack, bool keepRack, int) {
  // Anagram and conundrum searches start from an empty row, whatever the
  // game's board still shows.
  static const char kEmptyGrid[kBoardSquares] = {};
  LoadBoard(IsSingleRowKind(GameView().kind) ? kEmptyGrid : grid, rack);
  if (keepRack) {
    rackText_[0] = 0;
    return true;
  }
  const int places = std::clamp<int>(Rules().rackSize, 0, kMaxRackPlaces);
  int n = 0;
  for (int i = 0; rack && i < places && rack[i]; ++i)
    if (rack[i] != kEmptyRackPlace) rackText_[n++] = rack[i];
  rackText_[n] = 0;
  return true;
}
