#pragma once
// The core's own events, the event manager and its sink interface, and the
// registry that owns listener objects handed to the core.
#include <cstdint>

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "Modules/Core/Src/Tasks/Object.h"

namespace OX_Toolbox {

class EventLoginLogout : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  EventLoginLogout(std::uint8_t slot, std::uint8_t login, std::int32_t value)
      : slotIndex(slot), loginFlag(login), value(value) {}
  std::uint8_t slotIndex;
  std::uint8_t loginFlag;
  std::int32_t value;
};

class EventAllPlayersLoggedOut : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
};

class EventLobbyConnectionLost : public Event {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
};

class ToolboxMessageSink {
 public:
  virtual bool onMessage(Event* event) = 0;  // true: handled

 protected:
  ~ToolboxMessageSink() = default;
};

class EventManager : public ToolboxObject {
 public:
  virtual ~EventManager();
  virtual void queueEvent(Event* event);  // takes ownership; null ignored
  virtual void addListener(ToolboxMessageSink* listener);
  virtual void removeListener(ToolboxMessageSink* listener);

  // Hands every queued event (and those queued meanwhile) to the listeners
  // in registration order until one handles it, then deletes it.
  void processQueued();
  std::size_t queuedCount() const { return m_events.size(); }

 private:
  ToolboxVector<Event*> m_events;
  ToolboxVector<ToolboxMessageSink*> m_listeners;
};

// Base of the listener objects the core owns on the game's behalf.
class ToolboxListener : public ToolboxObject {
 public:
  virtual ~ToolboxListener() = default;
};

class ListenerRegistry : public ToolboxObject {
 public:
  ~ListenerRegistry();
  void add(ToolboxListener* listener);     // appended unless present; owned
  void remove(ToolboxListener* listener);  // deleted when present
  bool contains(const ToolboxListener* listener) const;
  // Pairs a listener with the next number of a process-wide counter (the
  // first is 1); a listener already numbered keeps its number.
  std::uint32_t registerNumbered(ToolboxListener* listener);

 private:
  struct Numbered {
    ToolboxListener* listener;
    std::uint32_t number;
  };
  ToolboxVector<ToolboxListener*> m_owned;
  ToolboxVector<Numbered> m_numbered;
};

}  // namespace OX_Toolbox
