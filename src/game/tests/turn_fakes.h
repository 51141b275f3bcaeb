#pragma once
// Stand-ins for what the turn asks of the board view, the dialogs, the
// history and profile, the network and the clock. Each installs itself on
// construction and restores what was there on destruction.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/game_clock.h"
#include "game/move_history.h"
#include "game/player_message.h"
#include "game/turn_ports.h"
#include "game_fakes.h"

namespace turnfakes {

// The board view: plain letter grids, the masks shown, dialog answers.
class FakeBoardView : public BoardViewPort {
 public:
  FakeBoardView() : previous_(SetBoardViewPort(this)) {}
  ~FakeBoardView() override { SetBoardViewPort(previous_); }

  bool ReadBoardLetters(char out[kBoardSquares]) override {
    std::memcpy(out, board, kBoardSquares);
    return true;
  }
  void LoadBoardLetters(const char* letters, int rows, int columns) override {
    std::memset(board, 0, sizeof board);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < columns; ++c)
        board[r * kBoardStride + c] = letters[r * kBoardStride + c];
    ++boardLoads;
  }
  int ReadRackCells(char* out, int capacity) override {
    const int n = std::min<int>(capacity, static_cast<int>(rack.size()));
    std::memcpy(out, rack.data(), static_cast<size_t>(n));
    return n;
  }
  int ReadCarrierCells(char* out, int capacity) override {
    const int n = std::min<int>(capacity, static_cast<int>(carrier.size()));
    std::memcpy(out, carrier.data(), static_cast<size_t>(n));
    return n;
  }
  void LoadRackLetters(const char* text, int count) override {
    rack.assign(text, text + count);
    for (char& c : rack)
      if (c == 0) c = '_';
  }
  void ClearCarrier() override { carrier.clear(); }
  void EndTileDrag() override { ++dragsEnded; }
  void ReleaseBoardButton() override { ++buttonsReleased; }
  void SetSceneButtonMask(uint32_t mask) override { lastMask = mask; }
  bool RunChallengeDialog(const std::vector<RobotMove>& words,
                          std::vector<RobotMove>& chosen) override {
    ++challengeDialogs;
    if (!challengeAnswer) return false;
    for (size_t i = 0; i < words.size(); ++i)
      if (challengePick.empty() ||
          std::find(challengePick.begin(), challengePick.end(), i) != challengePick.end())
        chosen.push_back(words[i]);
    return !chosen.empty();
  }
  void OpenExchangeDialog(CGame&) override { ++exchangeDialogs; }
  void CloseExchangeDialog() override { ++exchangeDialogsClosed; }
  void CloseMessageBox() override { ++messageBoxesClosed; }
  bool ExerciseMatchesProfile() override { return exerciseMatches; }

  // Lays a word on the view's board from the rack grid (each letter taken
  // from its rack cell; a capital letter takes the blank).
  void Lay(int row, int column, const char* word, bool down = false) {
    for (int i = 0; word[i]; ++i) {
      const int r = down ? row + i : row, c = down ? column : column + i;
      char& cell = board[r * kBoardStride + c];
      if (cell) continue;  // a letter already played
      cell = word[i];
      const char tile = IsBlankLetter(word[i]) ? '`' : word[i];
      const size_t at = rack.find(tile);
      if (at != std::string::npos) rack[at] = '_';
    }
  }

  char board[kBoardSquares] = {};
  std::string rack;
  std::string carrier;
  uint32_t lastMask = 0xFFFFFFFFu;
  int boardLoads = 0;
  int dragsEnded = 0;
  int buttonsReleased = 0;
  int challengeDialogs = 0;
  bool challengeAnswer = true;
  std::vector<size_t> challengePick;  // empty: every word
  int exchangeDialogs = 0;
  int exchangeDialogsClosed = 0;
  int messageBoxesClosed = 0;
  bool exerciseMatches = true;

 private:
  BoardViewPort* previous_;
};

// The window port, also noting each history entry with the player who
// was to move when it was made.
class TurnUiPort : public gamefakes::RecordingUiPort {
 public:
  struct Entry {
    int player = -1;
    bool hasMove = false;
    RobotMove move;
  };

  void BroadcastGameChanged(CGame* game, uintptr_t what) override {
    RecordingUiPort::BroadcastGameChanged(game, what);
    if (what != kGameChangedMoveAdded || !game) return;
    const HistoryRecord* r = game->GetCurrentHistoryEntry();
    Entry e;
    e.player = game->currentPlayer ? game->currentPlayer->playerIndex : -1;
    e.hasMove = r && r->HasMove();
    if (e.hasMove) e.move = r->move;
    entries.push_back(e);
  }

  // Sum of the move totals entered for a player.
  int32_t MoveScores(int player) const {
    int32_t sum = 0;
    for (const Entry& e : entries)
      if (e.hasMove && e.player == player) sum += e.move.score;
    return sum;
  }
  int Moves() const {
    return static_cast<int>(
        std::count_if(entries.begin(), entries.end(), [](const Entry& e) { return e.hasMove; }));
  }

  std::vector<Entry> entries;
};

// The profile's side of the end of a game.
class RecordingResultPort : public GameResultPort {
 public:
  RecordingResultPort() : previous_(SetGameResultPort(this)) {}
  ~RecordingResultPort() override { SetGameResultPort(previous_); }

  void StoreExpectedScore(float e, bool internet) override {
    expected.push_back(e);
    internetExpected.push_back(internet);
  }
  void RecordGameStatistics(CGame&) override { ++statistics; }

  std::vector<float> expected;
  std::vector<bool> internetExpected;
  int statistics = 0;

 private:
  GameResultPort* previous_;
};

// The network: messages queued per player slot, messages sent.
class MessageNetPort : public gamefakes::FakeNetPort {
 public:
  int32_t LocalPlayerIndex() override { return localIndex; }
  void SendGameMessage(const uint8_t* data, size_t size) override {
    sent.emplace_back(data, data + size);
  }
  size_t TakeReceivedMessage(int32_t player, uint8_t* out, size_t capacity) override {
    auto& queue = incoming[player];
    if (queue.empty()) return 0;
    std::vector<uint8_t> bytes = queue.front();
    queue.pop_front();
    // The slot keeps the message: its rack is what the player's refill reads.
    PlayerDataMessage m;
    if (DecodePlayerMessage(bytes.data(), bytes.size(), m))
      racks[player] = {std::string(m.rack, strnlen(m.rack, 20)), m.rackCount};
    const size_t n = std::min(capacity, bytes.size());
    std::memcpy(out, bytes.data(), n);
    return n;
  }

  void Queue(int player, const PlayerDataMessage& m) {
    std::vector<uint8_t> bytes(kPlayerMessageSize);
    EncodePlayerMessage(m, bytes.data());
    incoming[player].push_back(bytes);
  }
  void QueueBytes(int player, std::vector<uint8_t> bytes) {
    incoming[player].push_back(std::move(bytes));
  }
  PlayerDataMessage Sent(size_t i) const {
    PlayerDataMessage m;
    DecodePlayerMessage(sent.at(i).data(), sent.at(i).size(), m);
    return m;
  }

  int32_t localIndex = 0;
  std::vector<std::vector<uint8_t>> sent;
  std::map<int, std::deque<std::vector<uint8_t>>> incoming;
};

// The game's tick, moved by hand.
class FakeClock {
 public:
  FakeClock() : previous_(SetGameTickSource(&Tick)) { Now() = 1000; }
  ~FakeClock() { SetGameTickSource(previous_); }
  void Advance(uint32_t ms) { Now() += ms; }

 private:
  static uint32_t& Now() {
    static uint32_t now = 0;
    return now;
  }
  static uint32_t Tick() { return Now(); }
  GameTickSource previous_;
};

}  // namespace turnfakes
