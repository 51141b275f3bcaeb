// Any bytes: decoding must stay in bounds, and a decoded record must encode
// to an image that decodes to the same record.
#include <cstring>

#include "rules/robot_move.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RobotMove m;
  if (!DecodeRobotMove(data, size, m)) return 0;
  uint8_t image[kRobotMoveImageSize];
  EncodeRobotMove(m, image);
  RobotMove again;
  if (!DecodeRobotMove(image, sizeof image, again)) __builtin_trap();
  uint8_t second[kRobotMoveImageSize];
  EncodeRobotMove(again, second);
  if (std::memcmp(image, second, sizeof image) != 0) __builtin_trap();
  // Only the word's forced terminator may differ from the input.
  for (size_t i = 0; i < kRobotMoveImageSize; ++i)
    if (i != kMoveWordSize - 1 && image[i] != data[i]) __builtin_trap();
  return 0;
}
