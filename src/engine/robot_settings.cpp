#include "engine/robot_settings.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/binio.h"

namespace {

float Bounded(float value, float high, float fallback) {
  if (std::isnan(value)) return fallback;
  return std::clamp(value, 0.0f, high);
}

// Levels, weights and percent limits within what the components can use; a
// NaN or an infinity would make every ranking value NaN, and a limit above
// 100 percent would refuse every move.
void Bound(RobotSettings& s) {
  const RobotSettings d;
  s.maxWordLevel = std::clamp(s.maxWordLevel, kNoWordLevelLimit, kMaxWordLevelSetting);
  s.situationLevel = std::clamp(s.situationLevel, 0, kMaxWordLevelSetting);
  for (auto [field, fallback] : {std::pair{&s.wordScoreWeight, d.wordScoreWeight},
                                 {&s.closingBonusWeight, d.closingBonusWeight},
                                 {&s.closingBoardWeight, d.closingBoardWeight},
                                 {&s.remainderWeight, d.remainderWeight},
                                 {&s.letterSwapWeight, d.letterSwapWeight}})
    *field = Bounded(*field, kMaxRobotWeight, fallback);
  for (auto [field, fallback] : {std::pair{&s.challengeWeight, d.challengeWeight},
                                 {&s.minScorePercent, d.minScorePercent},
                                 {&s.difficultyWeight, d.difficultyWeight}})
    *field = Bounded(*field, kMaxPercentSetting, fallback);
}

}  // namespace

void InitRobotSettings(RobotSettings* settings) {
  if (settings) *settings = RobotSettings();
}

RobotSettings SettingsFromOptions(const int32_t options[kRobotSettingsWords]) {
  uint8_t bytes[kRobotSettingsBytes];
  ByteWriter w(bytes, sizeof bytes);
  for (int i = 0; i < kRobotSettingsWords; ++i)
    w.I32(options[i]);

  ByteReader r(bytes, sizeof bytes);
  RobotSettings s;
  s.optionByte = r.U8();
  s.swapAnalysis = r.U8();
  s.endgameMode = r.U8();
  s.poolLimited = r.U8();
  s.useJokerTerm = r.U8();
  s.useConventionsTerm = r.U8();
  s.useBonusBlockTerm = r.U8();
  s.judgeByReferencePlayer = r.U8();
  s.maxWordLevel = r.I32();
  s.wordScoreWeight = r.F32();
  s.difficultyMode = r.U8();
  s.noteDuplicateJoker = r.U8();
  s.noteFirstWordDuplicate = r.U8();
  s.noteDuplicateEndgame = r.U8();
  s.closingBonusWeight = r.F32();
  s.closingBoardWeight = r.F32();
  s.remainderWeight = r.F32();
  s.challengeWeight = r.F32();
  s.letterSwapWeight = r.F32();
  s.minScorePercent = r.F32();
  s.difficultyWeight = r.F32();
  s.situationLevel = r.I32();
  Bound(s);
  return s;
}

void SettingsToOptions(const RobotSettings& s, int32_t options[kRobotSettingsWords]) {
  uint8_t bytes[kRobotSettingsBytes];
  ByteWriter w(bytes, sizeof bytes);
  w.U8(s.optionByte);
  w.U8(s.swapAnalysis);
  w.U8(s.endgameMode);
  w.U8(s.poolLimited);
  w.U8(s.useJokerTerm);
  w.U8(s.useConventionsTerm);
  w.U8(s.useBonusBlockTerm);
  w.U8(s.judgeByReferencePlayer);
  w.I32(s.maxWordLevel);
  w.F32(s.wordScoreWeight);
  w.U8(s.difficultyMode);
  w.U8(s.noteDuplicateJoker);
  w.U8(s.noteFirstWordDuplicate);
  w.U8(s.noteDuplicateEndgame);
  w.F32(s.closingBonusWeight);
  w.F32(s.closingBoardWeight);
  w.F32(s.remainderWeight);
  w.F32(s.challengeWeight);
  w.F32(s.letterSwapWeight);
  w.F32(s.minScorePercent);
  w.F32(s.difficultyWeight);
  w.I32(s.situationLevel);
  ByteReader r(bytes, sizeof bytes);
  for (int i = 0; i < kRobotSettingsWords; ++i)
    options[i] = r.I32();
}
