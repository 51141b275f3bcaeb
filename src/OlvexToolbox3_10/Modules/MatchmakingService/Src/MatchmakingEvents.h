#pragma once
// Events the matchmaking tasks post to the core's event manager.
#include <cstdint>

#include "Modules/Core/Src/Tasks/Object.h"

namespace OX_Toolbox {

// 1: a match started; 0: it ended.
class EventStartStopMatch : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  explicit EventStartStopMatch(std::uint8_t started) : started(started) {}
  std::uint8_t started;
};

}  // namespace OX_Toolbox
