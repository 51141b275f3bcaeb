#include "game/tournament_file.h"

#include <algorithm>
#include <cstring>

#include "game/game.h"
#include "game/game_strings.h"
#include "game/saved_game.h"
#include "platform/binio.h"
#include "platform/ini.h"
#include "platform/message_sink.h"
#include "platform/path.h"

namespace {

constexpr uint32_t kStrCannotOpenFile = 2123;
constexpr uint32_t kStrInvalidFormat = 2127;
constexpr uint32_t kStrOtherUser = 3069;
constexpr uint32_t kStrOtherLanguageTournament = 3042;
constexpr size_t kPathField = 128;
constexpr uint8_t kHeaderByte = 26;
constexpr int32_t kStateNextGame = 1;
// A tournament file never holds more: the block, 255 participants, 256
// rounds of pairings and lines, and a saved game.
constexpr size_t kMaxTournamentFile =
    kTournamentHeaderSize + kTournamentBlockSize + 255 * kTournamentParticipantSize +
    65536 * (kTournamentPairingSize + kScheduleLineSize) + kSavedGameMaxFile;

void WriteText(ByteWriter& out, const char* text, size_t size) {
  const size_t n = strnlen(text, size - 1);
  out.Bytes(text, n);
  out.Zeros(size - n);
}

void ReadText(ByteReader& in, char* field, size_t size) {
  in.Bytes(field, size);
  field[size - 1] = 0;
}

void WriteBlock(ByteWriter& out, const TournamentData& t, int32_t state, int32_t running) {
  out.I32(state);
  WriteText(out, t.title, sizeof t.title);
  WriteText(out, t.description, sizeof t.description);
  for (int32_t v : {t.gameCount, t.gamesPlayed, t.roundCount, t.currentRound, t.roundsPaired,
                    t.swiss, t.hiddenOpponents, t.autoPlay, t.started, running, t.adjournedFlag})
    out.I32(v);
  out.Zeros(4);  // reserved (336)
  out.I32(t.gamePending);
  out.Zeros(16);  // the four array pointers, meaningless in a file
  WriteGameSetup(out, t.setup);
  out.I32(t.currentPairing);
  WriteText(out, t.filePath, sizeof t.filePath);
  WriteText(out, t.fileFolder, sizeof t.fileFolder);
}

bool ReadBlock(ByteReader& in, TournamentData& t) {
  t.state = in.I32();
  ReadText(in, t.title, sizeof t.title);
  ReadText(in, t.description, sizeof t.description);
  for (int32_t* v :
       {&t.gameCount, &t.gamesPlayed, &t.roundCount, &t.currentRound, &t.roundsPaired, &t.swiss,
        &t.hiddenOpponents, &t.autoPlay, &t.started, &t.gameRunning, &t.adjournedFlag})
    *v = in.I32();
  in.Skip(4);
  t.gamePending = in.I32();
  in.Skip(16);
  if (!ReadGameSetup(in, t.setup)) return false;
  t.currentPairing = in.I32();
  ReadText(in, t.filePath, sizeof t.filePath);
  ReadText(in, t.fileFolder, sizeof t.fileFolder);
  return in.ok();
}

void WriteParticipant(ByteWriter& out, const TournamentParticipant& p) {
  out.Bytes(p.personality, sizeof p.personality);
  for (int32_t v : {p.number, p.wins, p.losses, p.draws, p.gamesPlayed, p.points, p.totalScore})
    out.I32(v);
  uint8_t move[kRobotMoveImageSize];
  EncodeRobotMove(p.bestMove, move);
  out.Bytes(move, sizeof move);
  for (float f : p.statistics)
    out.F32(f);
  out.Zeros(4);
  WriteText(out, p.name, sizeof p.name);
  out.I32(p.isComputer);
  out.Zeros(52);
  for (int32_t v :
       {p.rating, p.byeRound, p.pairedThisRound, p.opponent, p.listedSecond, p.sideState})
    out.I32(v);
}

bool ReadParticipant(ByteReader& in, TournamentParticipant& p) {
  in.Bytes(p.personality, sizeof p.personality);
  for (int32_t* v :
       {&p.number, &p.wins, &p.losses, &p.draws, &p.gamesPlayed, &p.points, &p.totalScore})
    *v = in.I32();
  uint8_t move[kRobotMoveImageSize];
  if (!in.Bytes(move, sizeof move) || !DecodeRobotMove(move, sizeof move, p.bestMove)) return false;
  for (float& f : p.statistics)
    f = in.F32();
  in.Skip(4);
  ReadText(in, p.name, sizeof p.name);
  p.isComputer = in.I32();
  in.Skip(52);
  for (int32_t* v :
       {&p.rating, &p.byeRound, &p.pairedThisRound, &p.opponent, &p.listedSecond, &p.sideState})
    *v = in.I32();
  return in.ok();
}

void ShowFileNotice(uint32_t id, const char* path) {
  platform::ShowNotice((GameText(id) + " " + path).c_str(), kGameMessageCaption, 0);
}

bool SameNoCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::tolower(static_cast<unsigned char>(*a)) !=
        std::tolower(static_cast<unsigned char>(*b)))
      return false;
  return *a == *b;
}

}  // namespace

bool EncodeTournamentFile(const TournamentData& t, bool adjourned, CGame* game,
                          std::vector<uint8_t>& out) {
  ByteWriter w(out);
  WriteText(w, adjourned ? kAdjournedMagic : kTournamentMagic, kMagicSize);
  WriteText(w, t.filePath, kPathField);
  w.U8(kHeaderByte);
  w.U8(kTournamentFormatByte);
  w.I32(t.currentPairing);
  // A regular file starts with the next game step when loaded.
  WriteBlock(w, t, adjourned ? t.state : kStateNextGame, adjourned ? t.gameRunning : 0);
  for (const TournamentParticipant& p : t.participants)
    WriteParticipant(w, p);
  const size_t count = static_cast<size_t>(std::max(t.gameCount, 0));
  if (!t.IsDuplicate())
    for (size_t i = 0; i < count; ++i) {
      const TournamentPairing g = i < t.pairings.size() ? t.pairings[i] : TournamentPairing();
      const bool running =
          !adjourned && game && t.gameRunning && static_cast<int>(i) == t.currentPairing;
      w.U8(g.first);
      w.U8(g.second);
      w.Zeros(2);
      w.I32(running ? kResultNone : g.result);
    }
  for (size_t i = 0; i < count; ++i)
    WriteText(w, i < t.scheduleLines.size() ? t.scheduleLines[i].c_str() : "", kScheduleLineSize);
  if (!w.ok()) return false;
  if (game && (adjourned || t.gameRunning)) {
    game->tournamentMode = kResultAdjourned;
    if (!EncodeSavedGame(*game, out)) return false;
  }
  return true;
}

TournamentLoadResult DecodeTournamentFile(const uint8_t* data, size_t size, TournamentData& t,
                                          const char* userName, int32_t userLanguage, CGame* game) {
  TournamentLoadResult result;
  result.message = kStrFileDamaged;
  if (!data || size < kTournamentHeaderSize + kTournamentBlockSize) return result;
  ByteReader in(data, size);
  char magic[kMagicSize];
  ReadText(in, magic, sizeof magic);
  if (std::strcmp(magic, kTournamentMagic) != 0 && std::strcmp(magic, kAdjournedMagic) != 0)
    return result;
  char path[kPathField];
  ReadText(in, path, sizeof path);
  in.U8();
  if (in.U8() != kTournamentFormatByte) {
    result.message = kStrInvalidFormat;
    return result;
  }
  const int32_t currentPairing = in.I32();
  TournamentData fresh;
  if (!ReadBlock(in, fresh)) return result;
  fresh.currentPairing = currentPairing;
  const int n = fresh.setup.playerCount;
  // Fields of fewer than two cannot be a tournament; numbers are one byte.
  if (n < 2 || n > kTournamentMaxPlayers || fresh.gameCount < 0 ||
      in.remaining() / kTournamentParticipantSize < static_cast<size_t>(n))
    return result;
  fresh.participants.resize(static_cast<size_t>(n));
  for (TournamentParticipant& p : fresh.participants)
    if (!ReadParticipant(in, p)) return result;
  const size_t count = static_cast<size_t>(fresh.gameCount);
  const size_t perGame =
      kScheduleLineSize + (fresh.setup.kind == kKindDuplicate ? 0 : kTournamentPairingSize);
  if (in.remaining() / perGame < count) return result;
  if (fresh.setup.kind != kKindDuplicate) {
    fresh.pairings.resize(count);
    for (TournamentPairing& g : fresh.pairings) {
      g.first = in.U8();
      g.second = in.U8();
      in.Skip(2);
      g.result = in.I32();
      if (g.first > n || g.second > n) return result;
    }
  }
  fresh.scheduleLines.resize(count);
  for (std::string& line : fresh.scheduleLines) {
    char text[kScheduleLineSize];
    ReadText(in, text, sizeof text);
    line = text;
  }
  if (!in.ok() || fresh.currentPairing < 0 ||
      (count > 0 && static_cast<size_t>(fresh.currentPairing) >= count) || fresh.gamesPlayed < 0 ||
      static_cast<size_t>(fresh.gamesPlayed) > count)
    return result;
  for (const TournamentParticipant& p : fresh.participants)
    if (!p.isComputer && (!userName || !SameNoCase(p.name, userName))) {
      result.message = kStrOtherUser;
      return result;
    }
  if (fresh.setup.language != userLanguage) {
    result.message = kStrOtherLanguageTournament;
    return result;
  }
  fresh.gamePending = 0;
  if (in.remaining() > 0 && game) {
    const uint8_t* body = data + (size - in.remaining());
    if (ParseSavedGame(*game, body, in.remaining()) < 0) return result;
    game->tournamentMode = kResultNone;
    fresh.gamePending = 1;
    result.hasGame = true;
  }
  std::memcpy(fresh.filePath, path, sizeof path);
  fresh.started = 1;
  SortStandings(fresh);
  t = std::move(fresh);
  result.message = 0;
  return result;
}

std::string AdjournedFileName(const std::string& tournamentPath, const std::string& folder) {
  std::string base = tournamentPath;
  const size_t slash = base.find_last_of("\\/");
  if (!folder.empty())
    base = platform::JoinPath(folder, base.substr(slash == std::string::npos ? 0 : slash + 1));
  const size_t dot = base.find_last_of('.');
  const size_t lastSlash = base.find_last_of("\\/");
  if (dot != std::string::npos && (lastSlash == std::string::npos || dot > lastSlash))
    base.resize(dot);
  std::string name = base + ".ADT";
  for (int n = 2; platform::FileExists(name.c_str()) && n <= kAdjournedNameTries; ++n)
    name = base + " (" + std::to_string(n) + ").ADT";
  return name;
}

bool SaveTournamentFile(TournamentData& t, bool adjourned, CGame* game, const std::string& folder) {
  const std::string path = adjourned ? AdjournedFileName(t.filePath, folder) : t.filePath;
  std::vector<uint8_t> bytes;
  if (path.empty() || !EncodeTournamentFile(t, adjourned, game, bytes) ||
      !platform::WriteFileAtomic(path.c_str(), bytes.data(), bytes.size())) {
    ShowFileNotice(kStrCannotCreateFile, path.c_str());
    return false;
  }
  if (adjourned) t.adjournedFlag = 1;
  return true;
}

bool LoadTournamentFile(const char* path, TournamentData& t, const char* userName,
                        int32_t userLanguage, CGame* game, bool* hasGame) {
  std::vector<uint8_t> bytes;
  const platform::ReadStatus read = platform::ReadFileBounded(path, kMaxTournamentFile, bytes);
  if (read != platform::ReadStatus::kOk) {
    ShowFileNotice(read == platform::ReadStatus::kCannotOpen ? kStrCannotOpenFile : kStrFileDamaged,
                   path);
    return false;
  }
  const TournamentLoadResult r =
      DecodeTournamentFile(bytes.data(), bytes.size(), t, userName, userLanguage, game);
  if (hasGame) *hasGame = r.hasGame;
  if (r.message == 0) return true;
  if (r.message == kStrOtherUser || r.message == kStrOtherLanguageTournament)
    platform::ShowNotice(GameText(r.message).c_str(), kGameMessageCaption, 0);
  else
    ShowFileNotice(r.message, path);
  return false;
}

bool LoadAdjournedTournament(const char* path, TournamentData& t, const char* userName,
                             int32_t userLanguage, CGame* game) {
  if (DetectSavedFileType(path) != kFileAdjourned) return false;
  if (!LoadTournamentFile(path, t, userName, userLanguage, game)) return false;
  platform::RemoveFile(path);
  return true;
}

void WriteTournamentScript(const TournamentData& t, const char* path) {
  platform::IniWriteString("Script", "Type", "1", path);
  platform::IniWriteString("Script", "TimeMode", std::to_string(t.setup.clockMode).c_str(), path);
  platform::IniWriteString("Script", "GameBaseTime", std::to_string(t.setup.gameTimeMs).c_str(),
                           path);
  platform::IniWriteString("Script", "TurnTime", std::to_string(t.setup.moveTimeMs).c_str(), path);
  int section = 0;
  while (platform::IniGet(("Game" + std::to_string(section)).c_str(), "White", "X", path) != "X")
    ++section;
  TournamentData copy = t;
  for (const TournamentPairing& g : t.pairings) {
    const TournamentParticipant* a = FindParticipant(copy, g.first, nullptr);
    const TournamentParticipant* b = FindParticipant(copy, g.second, nullptr);
    const std::string name = "Game" + std::to_string(section++);
    platform::IniWriteString(name.c_str(), "White", a ? a->name : "", path);
    platform::IniWriteString(name.c_str(), "Black", b ? b->name : "", path);
  }
  platform::IniWriteString("Script", "NumGames", std::to_string(section).c_str(), path);
}

int ReadTournamentScript(const char* path, std::string* done) {
  const int type = std::atoi(platform::IniGet("Script", "Type", "-1", path).c_str());
  const int games =
      std::clamp(std::atoi(platform::IniGet("Script", "NumGames", "0", path).c_str()), 0, 65536);
  if (type != 0 && type != 1) return -1;
  const int first = type == 1 ? 0 : 1;
  for (int i = first; i < first + games; ++i)
    if (std::atoi(
            platform::IniGet(("Game" + std::to_string(i)).c_str(), "Result", "0", path).c_str()) ==
        0)
      return i;
  if (done)
    *done = type == 1 ? "All autotest games have been completed"
                      : "All test games have been completed.\r\nThanks for playing!";
  return -1;
}
