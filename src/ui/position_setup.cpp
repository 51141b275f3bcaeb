#include "ui/position_setup.h"

#include <cctype>
#include <cstring>

#include "engine/lexicon.h"
#include "rules/board.h"
#include "shell/res_strings.h"

namespace ui {
namespace {

constexpr int kFullRack = 7;  // the check wants seven tiles, whatever the rack size
constexpr uint32_t kStrRackIncomplete = 3195;
constexpr uint32_t kStrNotValidPosition = 2044;
constexpr uint32_t kStrWordsNotValid = 2045;
constexpr uint32_t kStrPositionsNotValid = 2046;

bool IsTile(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

int LetterSlot(char c) {
  return std::isupper(static_cast<unsigned char>(c)) ? kBlankIndex : (c & (kLetterSlots - 1));
}

struct Grid {
  const char* cells;
  int side;
  char At(int row, int column) const {
    if (row < 0 || column < 0 || row >= side || column >= side) return 0;
    return cells[row * kBoardStride + column];
  }
};

// The run of letters through (row, column) along the direction.
RobotMove RunThrough(const Grid& g, int row, int column, bool down) {
  const int dr = down ? 1 : 0, dc = down ? 0 : 1;
  int r = row, c = column;
  while (IsTile(g.At(r - dr, c - dc)))
    r -= dr, c -= dc;
  RobotMove m;
  m.column = static_cast<uint8_t>(c);
  m.row = static_cast<uint8_t>(r);
  m.direction = down ? 1 : 0;
  int n = 0;
  for (; IsTile(g.At(r, c)) && n < kMoveWordSize - 1; r += dr, c += dc)
    m.word[n++] = g.At(r, c);
  m.length = static_cast<uint8_t>(n);
  return m;
}

std::string Upper(const char* text) {
  std::string s;
  for (const char* c = text; *c; ++c)
    s += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  return s;
}

void AppendList(std::string& message, const std::vector<std::string>& entries) {
  for (size_t i = 0; i < entries.size(); ++i)
    message += entries[i] + (i + 1 == entries.size() ? "." : ",");
}

}  // namespace

int LetterBitmapId(int letterIndex, int language) {
  if (language == 0) {
    switch (letterIndex) {
      case 11:
        return 3867;
      case 13:
        return 3868;
      case 17:
        return 3869;
      case 23:
        return 3870;
      case 24:
        return 3871;
      case 25:
        return 3872;
      default:
        break;
    }
  }
  return 3840 + letterIndex;
}

RemainingTiles ComputeRemainingTiles(const char* board, int side, const char* rack, int rackSize,
                                     const int32_t tileCounts[kLetterSlots]) {
  RemainingTiles t;
  for (int row = 0; board && row < side && row < kMaxBoardSide; ++row)
    for (int column = 0; column < side && column < kMaxBoardSide; ++column)
      if (const char c = board[row * kBoardStride + column]; IsTile(c)) ++t.board[LetterSlot(c)];
  for (int i = 0; rack && i < rackSize && rack[i]; ++i)
    if (rack[i] != kEmptyRackPlace) ++t.rack[rack[i] == kUnassignedBlank ? 0 : LetterSlot(rack[i])];
  for (int i = 0; i < kLetterSlots; ++i) {
    t.remaining[i] = tileCounts[i] - t.board[i] - t.rack[i];
    t.total += t.remaining[i];
  }
  return t;
}

uint32_t RemainingColour(int remaining, int count) {
  const double r = count > 0 ? static_cast<double>(remaining) / count : 0.0;
  const int green = static_cast<int>(127 * r + 1);
  const int blue = static_cast<int>(127 * (1 - r) + 1);
  return 1u | (static_cast<uint32_t>(green & 255) << 8) | (static_cast<uint32_t>(blue & 255) << 16);
}

uint32_t ExtractNewWords(const char* grid, const char* gameBoard, int side,
                         std::vector<RobotMove>* words) {
  const Grid g{grid, side};
  const Grid old{gameBoard, side};
  uint32_t across = 0, down = 0;
  auto isNew = [&](int r, int c) { return IsTile(g.At(r, c)) && g.At(r, c) != old.At(r, c); };
  for (int pass = 0; pass < 2; ++pass) {
    const bool isDown = pass == 1;
    for (int line = 0; line < side; ++line)
      for (int along = 0; along < side; ++along) {
        const int r = isDown ? along : line, c = isDown ? line : along;
        if (!isNew(r, c)) continue;
        if (!IsTile(g.At(r - 1, c)) && !IsTile(g.At(r + 1, c)) && !IsTile(g.At(r, c - 1)) &&
            !IsTile(g.At(r, c + 1))) {
          RobotMove single = RunThrough(g, r, c, false);
          words->push_back(single);
          return static_cast<uint32_t>(words->size()) | (across << 16) | (down << 24);
        }
        RobotMove m = RunThrough(g, r, c, isDown);
        if (m.length < 2) continue;
        (isDown ? down : across) += 1;
        // The run is one word however many new letters it holds.
        const int end = (isDown ? m.row : m.column) + m.length;
        for (int k = along + 1; k < end; ++k)
          if (isNew(isDown ? k : line, isDown ? line : k)) (isDown ? down : across) += 1;
        if (words->size() < kMaxSetupWords) words->push_back(m);
        along = end - 1;
      }
  }
  return static_cast<uint32_t>(words->size()) | ((across & 255) << 16) | ((down & 255) << 24);
}

std::string FormatSetupPosition(const RobotMove& word, int language) {
  const std::string column = std::to_string(word.column + 1);
  const std::string row = std::to_string(word.row + 1);
  if (language == 1)
    return word.IsDown() ? column + static_cast<char>('A' + word.row)
                         : static_cast<char>('A' + word.row) + column;
  return static_cast<char>('A' + word.column) + row + (word.IsDown() ? "d" : "a");
}

SetupCheck CheckSetupPosition(const SetupFacts& f, const Lexicon& lexicon) {
  SetupCheck check;
  if (!(f.rackTiles == kFullRack || (f.rackTiles > 0 && f.bagTiles <= 0))) {
    check.verdict = SetupVerdict::kRackIncomplete;
    check.message = shell::LoadResString(kStrRackIncomplete);
    return check;
  }
  const Grid g{f.grid, f.side};
  const Grid old{f.gameBoard, f.side};
  std::vector<uint16_t> connected(static_cast<size_t>(kBoardSquares), 0);
  auto at = [&](int r, int c) -> uint16_t& { return connected[r * kBoardStride + c]; };
  const int centre = f.side / 2;
  bool anyTile = false, noCentre = false;
  for (int r = 0; r < f.side; ++r)
    for (int c = 0; c < f.side; ++c)
      anyTile = anyTile || IsTile(g.At(r, c));
  if (!anyTile || IsTile(g.At(centre, centre)))
    at(centre, centre) = 1;
  else
    noCentre = true;

  std::vector<RobotMove> words;
  ExtractNewWords(f.grid, f.gameBoard, f.side, &words);
  for (int r = 0; r < f.side; ++r)
    for (int c = 0; c < f.side; ++c)
      if (IsTile(old.At(r, c))) at(r, c) = 1;

  auto squares = [](const RobotMove& w, int k) {
    return std::pair<int, int>{w.row + (w.IsDown() ? k : 0), w.column + (w.IsDown() ? 0 : k)};
  };
  if (!noCentre) {
    std::vector<bool> done(words.size(), false);
    for (bool changed = true; changed;) {
      changed = false;
      for (size_t i = 0; i < words.size(); ++i) {
        if (done[i]) continue;
        bool touches = false;
        for (int k = 0; k < words[i].length; ++k) {
          const auto [r, c] = squares(words[i], k);
          touches = touches || at(r, c) != 0;
        }
        if (!touches) continue;
        for (int k = 0; k < words[i].length; ++k) {
          const auto [r, c] = squares(words[i], k);
          at(r, c) = 1;
        }
        done[i] = true;
        changed = true;
      }
    }
  }
  for (const RobotMove& w : words) {
    const std::string entry = " [" + FormatSetupPosition(w, f.language) + "] " + Upper(w.word);
    if (!lexicon.IsWord(w.word))
      check.notValid.push_back(entry);
    else if (noCentre || !at(w.row, w.column))
      check.notJoined.push_back(entry);
  }
  if (check.notValid.empty() && check.notJoined.empty()) return check;
  check.verdict = SetupVerdict::kFaultyWords;
  check.message = shell::LoadResString(kStrNotValidPosition);
  if (!check.notValid.empty()) {
    check.message += shell::LoadResString(kStrWordsNotValid);
    AppendList(check.message, check.notValid);
  }
  if (!check.notJoined.empty()) {
    check.message += shell::LoadResString(kStrPositionsNotValid);
    AppendList(check.message, check.notJoined);
  }
  return check;
}

}  // namespace ui
