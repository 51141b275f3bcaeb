#include "Modules/Core/Src/Tasks/Events.h"

#include <algorithm>

namespace OX_Toolbox {

const ClassTypeInfo Object::s_type = {"Object", nullptr};
const ClassTypeInfo Event::s_type = {"Event", &Object::s_type};
const ClassTypeInfo EventLoginLogout::s_type = {"EventLoginLogout", &Event::s_type};
const ClassTypeInfo EventAllPlayersLoggedOut::s_type = {"EventAllPlayersLoggedOut", &Event::s_type};
const ClassTypeInfo EventLobbyConnectionLost::s_type = {"EventLobbyConnectionLost", &Event::s_type};

EventManager::~EventManager() {
  for (Event* e : m_events)
    delete e;
}

void EventManager::queueEvent(Event* event) {
  if (event) m_events.push_back(event);
}

void EventManager::addListener(ToolboxMessageSink* listener) {
  if (listener) m_listeners.push_back(listener);
}

void EventManager::removeListener(ToolboxMessageSink* listener) {
  auto it = std::find(m_listeners.begin(), m_listeners.end(), listener);
  if (it != m_listeners.end()) m_listeners.erase(it);
}

void EventManager::processQueued() {
  // Indexes, not iterators: listeners may queue events or remove themselves.
  for (std::size_t i = 0; i < m_events.size(); ++i) {
    Event* event = m_events[i];
    for (std::size_t k = 0; k < m_listeners.size(); ++k) {
      if (m_listeners[k]->onMessage(event)) break;
    }
    delete event;
    m_events[i] = nullptr;
  }
  m_events.clear();
}

ListenerRegistry::~ListenerRegistry() {
  for (ToolboxListener* l : m_owned)
    delete l;
}

bool ListenerRegistry::contains(const ToolboxListener* listener) const {
  return std::find(m_owned.begin(), m_owned.end(), listener) != m_owned.end();
}

void ListenerRegistry::add(ToolboxListener* listener) {
  if (listener && !contains(listener)) m_owned.push_back(listener);
}

void ListenerRegistry::remove(ToolboxListener* listener) {
  auto it = std::find(m_owned.begin(), m_owned.end(), listener);
  if (it == m_owned.end()) return;
  m_owned.erase(it);
  m_numbered.erase(std::remove_if(m_numbered.begin(), m_numbered.end(),
                                  [&](const Numbered& n) { return n.listener == listener; }),
                   m_numbered.end());
  delete listener;
}

std::uint32_t ListenerRegistry::registerNumbered(ToolboxListener* listener) {
  static std::uint32_t s_counter = 0;
  for (const Numbered& n : m_numbered) {
    if (n.listener == listener) return n.number;
  }
  m_numbered.push_back({listener, ++s_counter});
  return m_numbered.back().number;
}

}  // namespace OX_Toolbox
