// The ".usr" file codec: every field written and read explicitly in the
// file's order. No magic, version or checksum exists in the format, so the
// reader accepts only a buffer whose size matches its opponent count exactly.
#include <cstring>

#include "shell/fixed_text.h"
#include "shell/user_profile.h"

namespace shell {
namespace {

void EncodeStats(ByteWriter& w, const GameStatsRecord& s) {
  w.F32(s.expectedScore);
  w.I32(s.rating);
  w.I32(s.bestRating);
  w.Bytes(s.bestRatingDate, sizeof s.bestRatingDate);
  w.I32(s.bestScore);
  w.Bytes(s.bestScoreDate, sizeof s.bestScoreDate);
  w.F32(s.averageScore);
  w.Bytes(s.bestWord, sizeof s.bestWord);
  w.U32(s.bestWordScore);
  w.Bytes(s.bestWordDate, sizeof s.bestWordDate);
  w.I32(s.letterCount);
  w.F32(s.averagePerLetter);
  for (int32_t v : {s.challengeCount, s.challengeWon, s.challengeLost, s.wins, s.draws, s.defeats,
                    s.games, s.unused284, s.allTilesMoveCount, s.mostWordsInMove})
    w.I32(v);
  w.F32(s.bestDuplicatePercent);
  w.Bytes(s.bestDuplicateDate, sizeof s.bestDuplicateDate);
  for (float v : {s.averageDuplicatePercent, s.avgBonusSquaresBlocked, s.avgClosingBonusSquares,
                  s.avgClosingBoard, s.avgRemainderQuality, s.avgWordScore, s.avgGeneralNote})
    w.F32(v);
}

void DecodeStats(ByteReader& r, GameStatsRecord& s) {
  s.expectedScore = r.F32();
  s.rating = r.I32();
  s.bestRating = r.I32();
  ReadFixedText(r, s.bestRatingDate, sizeof s.bestRatingDate);
  s.bestScore = r.I32();
  ReadFixedText(r, s.bestScoreDate, sizeof s.bestScoreDate);
  s.averageScore = r.F32();
  ReadFixedText(r, s.bestWord, sizeof s.bestWord);
  s.bestWordScore = r.U32();
  ReadFixedText(r, s.bestWordDate, sizeof s.bestWordDate);
  s.letterCount = r.I32();
  s.averagePerLetter = r.F32();
  for (int32_t* v : {&s.challengeCount, &s.challengeWon, &s.challengeLost, &s.wins, &s.draws,
                     &s.defeats, &s.games, &s.unused284, &s.allTilesMoveCount, &s.mostWordsInMove})
    *v = r.I32();
  s.bestDuplicatePercent = r.F32();
  ReadFixedText(r, s.bestDuplicateDate, sizeof s.bestDuplicateDate);
  for (float* v : {&s.averageDuplicatePercent, &s.avgBonusSquaresBlocked, &s.avgClosingBonusSquares,
                   &s.avgClosingBoard, &s.avgRemainderQuality, &s.avgWordScore, &s.avgGeneralNote})
    *v = r.F32();
}

}  // namespace

bool GameStatsRecord::operator==(const GameStatsRecord& o) const {
  std::vector<uint8_t> a, b;
  ByteWriter wa(a), wb(b);
  EncodeStats(wa, *this);
  EncodeStats(wb, o);
  return a == b;
}

bool OpponentRecord::operator==(const OpponentRecord& o) const {
  return std::memcmp(name, o.name, sizeof name) == 0 && wonAgainst == o.wonAgainst &&
         lostAgainst == o.lostAgainst && drawnAgainst == o.drawnAgainst;
}

bool UserProfile::SameFileContent(const UserProfile& o) const {
  return EncodeUserProfile(*this) == EncodeUserProfile(o);
}

std::vector<uint8_t> EncodeUserProfile(const UserProfile& p) {
  std::vector<uint8_t> out;
  out.reserve(kProfileFixedSize + kOpponentRecordSize * p.opponents.size());
  ByteWriter w(out);
  w.Bytes(p.name, sizeof p.name);
  w.Bytes(p.displayName, sizeof p.displayName);
  w.Bytes(p.about, sizeof p.about);
  w.U32(p.language);
  w.U32(p.age);
  w.U32(p.sex);
  w.U32(p.level);
  w.U32(p.reservedFlag);
  w.Bytes(p.reserved2400, sizeof p.reserved2400);
  for (const GameStatsRecord& s : p.stats)
    EncodeStats(w, s);
  for (const UserProfile::Pair& e : p.pairTable) {
    w.U32(e.a);
    w.U32(e.b);
  }
  w.Bytes(p.reserved16, sizeof p.reserved16);
  w.U32(static_cast<uint32_t>(p.opponents.size()));
  for (const OpponentRecord& o : p.opponents) {
    w.Bytes(o.name, sizeof o.name);
    w.U32(o.wonAgainst);
    w.U32(o.lostAgainst);
    w.U32(o.drawnAgainst);
  }
  return out;
}

bool DecodeUserProfile(const uint8_t* data, size_t size, UserProfile& profile) {
  if (!data || size < kProfileFixedSize) return false;
  UserProfile p;
  ByteReader r(data, size);
  ReadFixedText(r, p.name, sizeof p.name);
  ReadFixedText(r, p.displayName, sizeof p.displayName);
  ReadFixedText(r, p.about, sizeof p.about);
  p.language = r.U32();
  p.age = r.U32();
  p.sex = r.U32();
  p.level = r.U32();
  p.reservedFlag = r.U32();
  r.Bytes(p.reserved2400, sizeof p.reserved2400);
  for (GameStatsRecord& s : p.stats)
    DecodeStats(r, s);
  for (UserProfile::Pair& e : p.pairTable) {
    e.a = r.U32();
    e.b = r.U32();
  }
  r.Bytes(p.reserved16, sizeof p.reserved16);
  uint32_t count = r.U32();
  // The count must account for every remaining byte: a truncated file or a
  // corrupted count is refused rather than read short or over-allocated.
  if (!r.ok() || r.remaining() % kOpponentRecordSize != 0 ||
      r.remaining() / kOpponentRecordSize != count)
    return false;
  p.opponents.resize(count);
  for (OpponentRecord& o : p.opponents) {
    ReadFixedText(r, o.name, sizeof o.name);
    o.wonAgainst = r.U32();
    o.lostAgainst = r.U32();
    o.drawnAgainst = r.U32();
  }
  if (!r.ok()) return false;
  std::memcpy(p.profilePath, profile.profilePath, sizeof p.profilePath);
  profile = std::move(p);
  return true;
}

}  // namespace shell
