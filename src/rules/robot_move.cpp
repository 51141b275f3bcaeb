#include "rules/robot_move.h"

#include <cstring>

void RobotMove::Reset() {
  std::memset(word, 0, sizeof word);
  std::memset(placedLetters, 0, sizeof placedLetters);
  std::memset(pad41, 0, sizeof pad41);
  for (int i = 0; i < kLetterSlots; ++i)
    playedCounts[i] = leaveCounts[i] = 0;
  for (float& t : terms)
    t = 0.0f;
  termSum = 0.0f;
  reserved360 = 0;
  reserved364 = 0;
  column = row = direction = length = 0;
  std::memset(pad369, 0, sizeof pad369);
  wordScore = score = 0;
  evalValue = 0.0f;
  reportRL = reportRB = 0;
  reportBL = 0.0f;
  reportOP = 0;
  reserved400 = 0;
  ownerIndex = -1;
  rankValue = 0.0f;
}

void RobotMove::Clear() {
  Reset();
  rankValue = kRejectedRank;
}

void RobotMove::SetPosition(const MovePosition& p) {
  column = p.column;
  row = p.row;
  direction = p.direction;
  length = p.length;
}

int RobotMove::TilesPlayed() const {
  int n = 0;
  for (int32_t c : playedCounts)
    n += c;
  return n;
}

bool WriteRobotMove(ByteWriter& out, const RobotMove& m) {
  out.Bytes(m.word, sizeof m.word);
  out.Bytes(m.placedLetters, sizeof m.placedLetters);
  out.Bytes(m.pad41, sizeof m.pad41);
  for (int32_t c : m.playedCounts)
    out.I32(c);
  for (int32_t c : m.leaveCounts)
    out.I32(c);
  for (float t : m.terms)
    out.F32(t);
  out.F32(m.termSum);
  out.I32(m.reserved360);
  out.U8(m.reserved364);
  out.U8(m.column);
  out.U8(m.row);
  out.U8(m.direction);
  out.U8(m.length);
  out.Bytes(m.pad369, sizeof m.pad369);
  out.I32(m.wordScore);
  out.I32(m.score);
  out.F32(m.evalValue);
  out.I32(m.reportRL);
  out.I32(m.reportRB);
  out.F32(m.reportBL);
  out.I32(m.reportOP);
  out.I32(m.reserved400);
  out.I32(m.ownerIndex);
  out.F32(m.rankValue);
  return out.ok();
}

bool ReadRobotMove(ByteReader& in, RobotMove& move) {
  if (!in.ok() || in.remaining() < kRobotMoveImageSize) {
    in.Skip(kRobotMoveImageSize);  // marks the reader failed
    return false;
  }
  RobotMove m;
  in.Bytes(m.word, sizeof m.word);
  in.Bytes(m.placedLetters, sizeof m.placedLetters);
  in.Bytes(m.pad41, sizeof m.pad41);
  for (int32_t& c : m.playedCounts)
    c = in.I32();
  for (int32_t& c : m.leaveCounts)
    c = in.I32();
  for (float& t : m.terms)
    t = in.F32();
  m.termSum = in.F32();
  m.reserved360 = in.I32();
  m.reserved364 = in.U8();
  m.column = in.U8();
  m.row = in.U8();
  m.direction = in.U8();
  m.length = in.U8();
  in.Bytes(m.pad369, sizeof m.pad369);
  m.wordScore = in.I32();
  m.score = in.I32();
  m.evalValue = in.F32();
  m.reportRL = in.I32();
  m.reportRB = in.I32();
  m.reportBL = in.F32();
  m.reportOP = in.I32();
  m.reserved400 = in.I32();
  m.ownerIndex = in.I32();
  m.rankValue = in.F32();
  if (!in.ok()) return false;
  // Every reader treats the word as text: a field without its NUL (never
  // written by us) is cut to fit.
  m.word[kMoveWordSize - 1] = 0;
  move = m;
  return true;
}

void EncodeRobotMove(const RobotMove& move, uint8_t out[kRobotMoveImageSize]) {
  ByteWriter w(out, kRobotMoveImageSize);
  WriteRobotMove(w, move);
}

bool DecodeRobotMove(const uint8_t* data, size_t size, RobotMove& move) {
  ByteReader r(data, size);
  return ReadRobotMove(r, move);
}
