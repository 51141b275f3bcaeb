// The saved-game file: writer, bounded reader and type detection.
#include "game/saved_game.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "platform/binio.h"
#include "game/duplicate.h"
#include "game/game.h"
#include "game/game_info.h"
#include "game/game_strings.h"
#include "game/move_history.h"
#include "game/ui_port.h"
#include "platform/message_sink.h"
#include "platform/path.h"

namespace {

// ---------------------------------------------------------------------------
// Writing

void WriteGuid(ByteWriter& out, const platform::Guid& g) {
  out.U32(g.data1);
  out.U16(g.data2);
  out.U16(g.data3);
  out.Bytes(g.data4, sizeof g.data4);
}

void WriteEntry(ByteWriter& out, const PlayerSetupEntry& e) {
  out.Bytes(e.name, sizeof e.name);
  out.I32(e.playerType);
  for (int32_t o : e.options)
    out.I32(o);
  out.I32(e.extra);
}

void WriteSetup(ByteWriter& out, const GameSetup& s) {
  out.I32(s.kind);
  out.I32(s.flags);
  out.I32(s.clockMode);
  out.U8(s.noStatistics);
  out.U8(s.invalidWordForfeits);
  out.Zeros(2);
  out.I32(s.challengeMode);
  out.Zeros(2);
  out.U8(s.rankingGame);
  out.Zeros(1);
  out.I32(s.language);
  out.I32(s.gameTimeMs);
  out.I32(s.moveTimeMs);
  out.I32(s.maxRounds);
  out.I32(s.playerCount);
  for (const PlayerSetupEntry& e : s.entries)
    WriteEntry(out, e);
}

// A fixed text field written as its text and a NUL (at most size - 1 bytes).
void WriteText(ByteWriter& out, const char* field, size_t size) {
  const size_t n = strnlen(field, size - 1);
  out.Bytes(field, n);
  out.U8(0);
}

void WriteRackText(ByteWriter& out, const char (&rack)[kRackTextSize]) {
  out.Bytes(rack, kRackTextSize - 1);
  out.U8(static_cast<uint8_t>(rack[kRackTextSize - 1]));
}

// The part shared by the players' records and the reference player's, from
// the entry copy to the option words.
void WriteEntryAndNames(ByteWriter& out, const GamePlayer& p) {
  WriteEntry(out, p.entry);
  WriteRackText(out, p.rackAsDealt);
  WriteText(out, p.entry.name, sizeof p.entry.name);
  WriteText(out, p.displayName, sizeof p.displayName);
  for (int32_t o : p.entry.options)
    out.I32(o);
}

void WritePlayer(ByteWriter& out, const GamePlayer& p) {
  out.U32(kBlockMarker);
  out.I32(p.playerIndex);
  out.I32(p.score);
  WriteRackText(out, p.rack);
  out.U8(p.secondTurnByte);
  out.I32(p.perTurnField);
  out.I32(p.newGameCounters[0]);
  out.I32(p.timeLeftMs);
  out.I32(p.entry.playerType);
  WriteEntryAndNames(out, p);
  WriteRobotMove(out, p.secondMove);
  // A move forms far fewer words than a file may hold; never more are
  // written than a reader takes back.
  const size_t words = std::min<size_t>(p.moveWords.size(), kMaxStoredMoveWords);
  out.I32(static_cast<int32_t>(words));
  for (size_t i = 0; i < words; ++i)
    WriteRobotMove(out, p.moveWords[i]);
}

void WriteReferencePlayer(ByteWriter& out, const GamePlayer& p) {
  out.I32(p.playerIndex);
  out.I32(p.score);
  out.I32(p.rackCount);
  WriteRackText(out, p.rack);
  out.U8(p.secondTurnByte);
  out.I32(p.perTurnField);
  out.I32(p.timeLeftMs);
  out.I32(p.entry.playerType);
  WriteEntryAndNames(out, p);
}

struct HistoryWriter {
  ByteWriter* out;
};

int WriteHistoryNode(void* context, const HistoryRecord& r, const HistoryRecord* next,
                     const HistoryRecord* variation) {
  ByteWriter& out = *static_cast<HistoryWriter*>(context)->out;
  out.U32(kBlockMarker);
  WriteHistoryRecord(out, r);
  out.U32(static_cast<uint32_t>(r.comment.size()));
  out.Bytes(r.comment.data(), r.comment.size());
  out.U32(kBlockMarker);
  out.I32((next ? 1 : 0) | (variation ? 2 : 0));
  return out.ok() ? 1 : 0;
}

void WriteGameBlock(ByteWriter& out, const CGame& g) {
  out.Bytes(kSavedGameMagic, kMagicSize);
  out.U8(kSavedGameFormatByte);
  out.I32(g.setup.kind);
  out.I32(g.setup.playerCount);
  out.U32(kBlockMarker);
  WriteGuid(out, g.guid);
  out.U32(kBlockMarker);
  out.I32(g.savedValue);
  out.U32(kBlockMarker);
  EncodeGameInfo(g.info, out);
  out.U32(kBlockMarker);
  out.I32(g.startPlayerIndex);
  out.I32(g.turnIndex);
  out.I32(g.previousRound);
  out.I32(g.rackSize);
  for (int32_t v : g.variables)
    out.I32(v);
  int32_t viewing = -1;
  for (int i = 0; i < kMaxPlayers; ++i)
    if (g.viewingPlayer && g.players[i].get() == g.viewingPlayer) viewing = i;
  out.I32(viewing);
  out.U32(kBlockMarker);
  out.I32(g.duplicatePhase);
  out.I32(g.prepareIndex);
  out.I32(g.roundCount);
  out.I32(g.state);
  out.I32(g.savedState);
  out.I32(g.gameElapsedMs);
  out.I32(g.turnElapsedMs);
  WriteSetup(out, g.setup);
  out.U32(kBlockMarker);
  out.I32(g.consecutivePasses);
  out.I32(g.scorelessTurns);
  out.I32(g.bag.tileCount);
  for (int32_t d : g.bag.drawOrder)
    out.I32(d);
  for (int32_t c : g.bag.counts)
    out.I32(c);
  out.I8(g.bag.firstLetter);
  WriteRobotMove(out, g.workMove);
  out.U32(kBlockMarker);
}

// ---------------------------------------------------------------------------
// Reading. Each step returns false on the first field that is missing or
// out of its range.

bool InRange(int64_t v, int64_t lo, int64_t hi) { return v >= lo && v <= hi; }

void ReadGuid(ByteReader& in, platform::Guid& g) {
  g.data1 = in.U32();
  g.data2 = in.U16();
  g.data3 = in.U16();
  in.Bytes(g.data4, sizeof g.data4);
}

bool ReadEntry(ByteReader& in, PlayerSetupEntry& e) {
  in.Bytes(e.name, sizeof e.name);
  e.name[sizeof e.name - 1] = 0;
  e.playerType = in.I32();
  for (int32_t& o : e.options)
    o = in.I32();
  e.extra = in.I32();
  return in.ok();
}

bool ReadSetup(ByteReader& in, GameSetup& s) {
  s.kind = in.I32();
  s.flags = in.I32();
  s.clockMode = in.I32();
  s.noStatistics = in.U8();
  s.invalidWordForfeits = in.U8();
  in.Skip(2);
  s.challengeMode = in.I32();
  in.Skip(2);
  s.rankingGame = in.U8();
  in.Skip(1);
  s.language = in.I32();
  s.gameTimeMs = in.I32();
  s.moveTimeMs = in.I32();
  s.maxRounds = in.I32();
  s.playerCount = in.I32();
  for (PlayerSetupEntry& e : s.entries)
    ReadEntry(in, e);
  if (!in.ok()) return false;
  if (!InRange(s.kind, kKindNone, kKindQuiz) || !InRange(s.clockMode, 0, 2) ||
      !InRange(s.challengeMode, 0, 3) || !InRange(s.language, 0, 3) ||
      !InRange(s.playerCount, 0, kMaxPlayers))
    return false;
  for (int i = 0; i < s.playerCount; ++i)
    if (!InRange(s.entries[i].playerType, kPlayerNone, kPlayerRemote)) return false;
  return true;
}

// A NUL-terminated text of the file into a field of `size` bytes (longer
// texts are cut). False when the file ends before the NUL.
bool ReadText(ByteReader& in, char* field, size_t size) {
  std::memset(field, 0, size);
  for (size_t n = 0;; ++n) {
    const uint8_t c = in.U8();
    if (!in.ok()) return false;
    if (c == 0) return true;
    if (n < size - 1) field[n] = static_cast<char>(c);
  }
}

void ReadRackText(ByteReader& in, char (&rack)[kRackTextSize]) {
  in.Bytes(rack, kRackTextSize);
  rack[kRackTextSize - 1] = 0;  // the text always ends within its field
}

int32_t RackTileCount(const char* rack, int places) {
  int32_t n = 0;
  for (int i = 0; i < places && i < kMaxRackPlaces; ++i)
    if (!IsEmptyRackPlace(rack[i])) ++n;
  return n;
}

bool ReadEntryAndNames(ByteReader& in, GamePlayer& p) {
  if (!ReadEntry(in, p.entry) || !InRange(p.entry.playerType, kPlayerNone, kPlayerRemote))
    return false;
  ReadRackText(in, p.rackAsDealt);
  if (!ReadText(in, p.entry.name, sizeof p.entry.name)) return false;
  if (!ReadText(in, p.displayName, sizeof p.displayName)) return false;
  int32_t options[kPlayerOptionCount];
  for (int32_t& o : options)
    o = in.I32();
  if (!in.ok()) return false;
  p.Setup(options);
  return true;
}

// Smallest player record: fixed fields, two empty names, no words.
constexpr size_t kMinPlayerRecord = 665;

bool ReadPlayer(ByteReader& in, GamePlayer& p, int index, int rackPlaces) {
  in.Skip(4);  // marker
  if (in.I32() != index) return false;
  p.score = in.I32();
  ReadRackText(in, p.rack);
  p.secondTurnByte = in.U8();
  p.perTurnField = in.I32();
  p.newGameCounters[0] = in.I32();
  p.timeLeftMs = in.I32();
  const int32_t type = in.I32();
  if (!in.ok() || !InRange(type, kPlayerNone, kPlayerRemote)) return false;
  if (!ReadEntryAndNames(in, p)) return false;
  if (!ReadRobotMove(in, p.secondMove)) return false;
  const int32_t words = in.I32();
  if (!in.ok() || !InRange(words, 0, kMaxStoredMoveWords)) return false;
  if (static_cast<size_t>(words) * kRobotMoveImageSize > in.remaining()) return false;
  std::vector<RobotMove> moves(static_cast<size_t>(words));
  for (RobotMove& m : moves)
    ReadRobotMove(in, m);
  p.SetPlayedWords(moves.data(), words);
  // The file keeps no tile count: it is counted again so that the turn code
  // does not take a full rack for an empty one.
  p.rackCount = RackTileCount(p.rack, rackPlaces);
  return in.ok();
}

bool ReadReferencePlayer(ByteReader& in, GamePlayer& p, int rackPlaces) {
  p.playerIndex = in.I32();
  p.score = in.I32();
  in.I32();  // its tile count, counted again below
  ReadRackText(in, p.rack);
  p.secondTurnByte = in.U8();
  p.perTurnField = in.I32();
  p.timeLeftMs = in.I32();
  const int32_t type = in.I32();
  if (!in.ok() || !InRange(p.playerIndex, 0, kMaxPlayers - 1) ||
      !InRange(type, kPlayerNone, kPlayerRemote))
    return false;
  if (!ReadEntryAndNames(in, p)) return false;
  p.rackCount = RackTileCount(p.rack, rackPlaces);
  return true;
}

// The bag's invariant: tileCount tiles, each a letter index, counted in
// `counts`.
bool ReadBag(ByteReader& in, TileBag& bag) {
  bag.tileCount = in.I32();
  for (int32_t& d : bag.drawOrder)
    d = in.I32();
  for (int32_t& c : bag.counts)
    c = in.I32();
  bag.firstLetter = in.I8();
  if (!in.ok() || !InRange(bag.tileCount, 0, kBagCapacity) ||
      !InRange(bag.firstLetter, -1, kLetterSlots - 1))
    return false;
  int32_t seen[kLetterSlots] = {};
  for (int i = 0; i < bag.tileCount; ++i) {
    if (!InRange(bag.drawOrder[i], 0, kLetterSlots - 1)) return false;
    ++seen[bag.drawOrder[i]];
  }
  for (int i = 0; i < kLetterSlots; ++i)
    if (seen[i] != bag.counts[i]) return false;
  return true;
}

// Smallest history node: markers, record, comment length, link word.
constexpr size_t kMinHistoryNode = 4 + kHistoryRecordImageSize + 4 + 4 + 4;

// Rebuilds the tree stored in pre-order (continuation first, then the
// variation); an explicit stack keeps any shape off the call stack.
bool ReadHistory(ByteReader& in, MoveHistory& history) {
  history.Clear();
  // A game without entries: only the trailer follows.
  if (in.remaining() < kMinHistoryNode) return true;
  std::vector<HistoryNode*> parents{nullptr};
  while (!parents.empty()) {
    HistoryNode* parent = parents.back();
    parents.pop_back();
    in.Skip(4);  // marker
    HistoryRecord r;
    if (!ReadHistoryRecord(in, r)) return false;
    const uint32_t length = in.U32();
    if (!in.ok() || length > in.remaining()) return false;
    r.comment.assign(length, '\0');
    in.Bytes(&r.comment[0], length);
    in.Skip(4);  // marker
    const int32_t link = in.I32();
    if (!in.ok() || !InRange(link, 0, 3)) return false;
    HistoryNode* node = history.AppendChild(parent, std::move(r));
    if (link & 2) parents.push_back(parent);  // the variation follows the subtree
    if (link & 1) parents.push_back(node);
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------

bool EncodeSavedGame(const CGame& game, std::vector<uint8_t>& out) {
  std::vector<uint8_t> image;
  ByteWriter w(image);
  WriteGameBlock(w, game);
  for (int i = 0; i < game.setup.GetPlayerCount(); ++i) {
    // A seat without a player is written as a fresh one so that the count
    // of records always matches the set-up.
    const GamePlayer* p = game.Player(i);
    GamePlayer stand_in;
    stand_in.playerIndex = i;
    WritePlayer(w, p ? *p : stand_in);
  }
  if (game.setup.kind == kKindDuplicate) {
    const GamePlayer stand_in;
    WriteReferencePlayer(w, game.referencePlayer ? *game.referencePlayer : stand_in);
  }
  w.I32(HistoryIndex(game.history.get()));
  w.U32(kBlockMarker);
  HistoryWriter context{&w};
  if (game.history) game.history->WalkAll(WriteHistoryNode, &context);
  if (!w.ok() || image.size() > kSavedGameMaxImage) return false;
  ByteWriter tail(image);
  tail.U32(kSavedGameTrailer);
  out.insert(out.end(), image.begin(), image.end());
  return true;
}

int32_t WriteSavedGame(const char* path, const CGame& game) {
  std::vector<uint8_t> bytes;
  if (!EncodeSavedGame(game, bytes)) return kStrCannotWriteFile;
  if (!platform::WriteFileAtomic(path, bytes.data(), bytes.size())) return kStrCannotCreateFile;
  return 0;
}

namespace {

bool ReadHeaderAndGameBlock(ByteReader& in, CGame& g, int32_t* viewing) {
  char magic[kMagicSize];
  in.Bytes(magic, kMagicSize);
  if (!in.ok() || std::memcmp(magic, kSavedGameMagic, kMagicSize) != 0) return false;
  in.Skip(1);  // format byte
  const int32_t kind = in.I32();
  const int32_t count = in.I32();
  in.Skip(4);
  ReadGuid(in, g.guid);
  in.Skip(4);
  g.savedValue = in.I32();
  in.Skip(4);
  if (!DecodeGameInfo(in, g.info)) return false;
  in.Skip(4);
  g.startPlayerIndex = in.I32();
  g.turnIndex = in.I32();
  g.previousRound = in.I32();
  g.rackSize = in.I32();
  for (int32_t& v : g.variables)
    v = in.I32();
  *viewing = in.I32();
  in.Skip(4);
  g.duplicatePhase = in.I32();
  g.prepareIndex = in.I32();
  g.roundCount = in.I32();
  g.state = in.I32();
  g.savedState = in.I32();
  g.gameElapsedMs = in.I32();
  g.turnElapsedMs = in.I32();
  if (!ReadSetup(in, g.setup)) return false;
  in.Skip(4);
  g.consecutivePasses = in.I32();
  g.scorelessTurns = in.I32();
  if (!ReadBag(in, g.bag) || !ReadRobotMove(in, g.workMove)) return false;
  in.Skip(4);
  if (!in.ok()) return false;

  // The header repeats the set-up's kind and count; every index names a
  // seat of the game.
  const int32_t n = g.setup.playerCount;
  const int32_t lastSeat = n > 0 ? n - 1 : 0;
  auto isState = [](int32_t s) {
    return s == kStateOver || s == kStateTurnStart || s == kStateTurnRunning || s == kStatePaused ||
           s == kStateLastChallenge || s == kStateNoGame;
  };
  return kind == g.setup.kind && count == n && InRange(g.startPlayerIndex, 0, lastSeat) &&
         InRange(g.turnIndex, 0, lastSeat) && InRange(g.prepareIndex, 0, lastSeat) &&
         InRange(*viewing, -1, n - 1) && InRange(g.rackSize, 1, kMaxRackPlaces) &&
         InRange(g.duplicatePhase, 0, 2) && isState(g.state) && isState(g.savedState);
}

bool ReadPlayers(ByteReader& in, CGame& g) {
  const int n = g.setup.playerCount;
  // Every record is at least this long: a count the bytes cannot hold is
  // refused before any player (and robot) is made.
  if (static_cast<size_t>(n) * kMinPlayerRecord > in.remaining()) return false;
  g.CreatePlayers();
  const int places = g.rules ? g.rules->rackSize : g.rackSize;
  for (int i = 0; i < n; ++i) {
    GamePlayer* p = g.Player(i);
    if (!p || !ReadPlayer(in, *p, i, places)) return false;
  }
  if (g.setup.kind != kKindDuplicate) return true;
  auto reference = std::make_unique<GamePlayer>();
  reference->AttachGame(&g);
  if (!ReadReferencePlayer(in, *reference, places)) return false;
  g.referencePlayer = std::move(reference);
  return true;
}

// Lays the moves from the first entry down to the cursor on the board.
void LayBoardFromHistory(CGame& g) {
  g.ClearBoardLetters();
  for (const HistoryRecord* r : g.history->PathTo(g.history->GetCurrentData())) {
    if (!r->HasMove()) continue;
    LayMoveLetters(g.board.letters, r->move);
    g.lastMove = r->move;
  }
}

// The file keeps no turn phases: a turn that was running when the game was
// saved begins again (a duplicate game plays its cycle again on the same
// rack, against the same top move); without this the game would wait for
// a player that is in no phase.
void ResumeRunningTurn(CGame& g) {
  const bool running = g.state == kStateTurnRunning ||
                       (g.state == kStatePaused && g.savedState == kStateTurnRunning);
  if (!running) return;
  if (g.Kind() == kKindDuplicate) {
    if (g.referencePlayer && g.duplicatePhase != 0) BeginDuplicatePlay(g);
  } else if (g.currentPlayer) {
    g.currentPlayer->turnPhase = kPhaseBegin;
  }
}

}  // namespace

int32_t ParseSavedGame(CGame& game, const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  int32_t viewing = -1;
  if (!ReadHeaderAndGameBlock(in, game, &viewing)) return kSavedGameDamaged;
  if (game.rules) game.rules->Setup(game.setup.language, game.rackSize, &game.setup);
  if (!ReadPlayers(in, game)) return kSavedGameDamaged;

  const int32_t index = in.I32();
  in.Skip(4);
  if (!in.ok() || index < 0) return kSavedGameDamaged;
  if (!game.history) game.history = std::make_unique<MoveHistory>();
  // The writer ends every file with the trailer: a file cut anywhere is
  // refused, even where the tree would look complete.
  if (!ReadHistory(in, *game.history) || in.U32() != kSavedGameTrailer || !in.ok())
    return kSavedGameDamaged;

  game.viewingPlayer = viewing >= 0 ? game.Player(viewing) : nullptr;
  game.lastTick = kNoTick;
  game.history->GoToIndex(std::min(index, game.history->Count()));
  LayBoardFromHistory(game);
  ResumeRunningTurn(game);
  return index;
}

// ---------------------------------------------------------------------------
// Files

namespace {

// "%s %s." or "%s \"%s\"." with the table's text and the file name.
void ShowFileMessage(uint32_t id, const char* path, bool quoted) {
  std::string text = GameText(id);
  text += quoted ? " \"" : " ";
  text += path;
  text += quoted ? "\"." : ".";
  platform::ShowNotice(text.c_str(), kGameMessageCaption, 0);
}

}  // namespace

bool ReadFileBounded(const char* path, size_t limit, std::vector<uint8_t>& out, bool* tooLarge) {
  if (tooLarge) *tooLarge = false;
  out.clear();
  FILE* f = platform::OpenFile(path, "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok && static_cast<unsigned long>(size) > limit) {
    if (tooLarge) *tooLarge = true;
    ok = false;
  }
  if (ok) {
    out.resize(static_cast<size_t>(size));
    ok = std::fread(out.data(), 1, out.size(), f) == out.size();
  }
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

bool LoadSavedGameFile(const char* path, CGame& game) {
  if (!platform::FileExists(path)) {
    GetGameUiPort().PostFrameMessage(kMsgViewsChanged);
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(path, kSavedGameMaxFile, bytes)) {
    ShowFileMessage(kStrFileDamaged, path, false);
    return false;
  }
  if (ParseSavedGame(game, bytes.data(), bytes.size()) < 0) {
    ShowFileMessage(kStrFileDamaged, path, true);
    return false;
  }
  return true;
}

int32_t DetectSavedFileType(const uint8_t* data, size_t size) {
  if (!data || size < 10) return kFileUnknown;
  const std::pair<const char*, int32_t> types[] = {{kSavedGameMagic, kFileSavedGame},
                                                   {kCrossagramMagic, kFileCrossagram},
                                                   {kTournamentMagic, kFileTournament},
                                                   {kAdjournedMagic, kFileAdjourned}};
  for (const auto& t : types)
    if (std::memcmp(data, t.first, kMagicSize) == 0) return t.second;
  return kFileUnknown;
}

int32_t DetectSavedFileType(const char* path) {
  FILE* f = platform::OpenFile(path, "rb");
  if (!f) {
    GetGameUiPort().PostFrameMessage(kMsgViewsChanged);
    return kFileUnknown;
  }
  uint8_t head[10];
  const size_t n = std::fread(head, 1, sizeof head, f);
  std::fclose(f);
  return DetectSavedFileType(head, n);
}

int32_t ReadSavedGameHeader(const char* path) {
  std::vector<uint8_t> bytes;
  bool tooLarge = false;
  if (!ReadFileBounded(path, kSavedGameMaxFile, bytes, &tooLarge) || bytes.size() < 14) {
    ShowFileMessage(kStrFileDamaged, path, false);
    return kKindNone;
  }
  ByteReader in(bytes);
  in.Skip(10);
  return in.I32();
}

void WriteGameSetup(ByteWriter& out, const GameSetup& setup) { WriteSetup(out, setup); }

bool ReadGameSetup(ByteReader& in, GameSetup& setup) { return ReadSetup(in, setup); }
