#pragma once
// Events the session layer posts to the toolbox's event manager.
#include <cstdint>

#include "Modules/Core/Src/Tasks/Object.h"
#include "Modules/Core/Src/Types/PlayerID.h"

namespace OX_Toolbox {

// Code 0 joined, 1 left, 2 timed out, 3 the host closed the session.
class EventPlayerJoinLeaveSession : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  EventPlayerJoinLeaveSession(const PlayerID& player, std::int32_t code)
      : player(player), code(code) {}
  PlayerID player;
  std::int32_t code;
};

class EventHostJoinSession : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  // 1: this machine hosts or joined a session and its tickets are out.
  explicit EventHostJoinSession(std::int32_t flag = 1) : flag(flag) {}
  std::int32_t flag;
};

class EventUpdateSession : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
};

}  // namespace OX_Toolbox
