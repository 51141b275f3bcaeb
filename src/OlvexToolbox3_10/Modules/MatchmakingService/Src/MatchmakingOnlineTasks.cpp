#include "Modules/MatchmakingService/Src/MatchmakingOnlineTasks.h"

#include <functional>

#include "Modules/MatchmakingService/Src/MatchmakingConfig.h"
#include "Modules/MatchmakingService/Src/MatchmakingTasks.h"

namespace OX_Toolbox {

namespace {

// Starting and ending a match need nothing of the server. The other online
// flows are not built yet: each of those operations still queues a task,
// which ends at once with FUNCTIONALITY_NOT_SUPPORTED and tells its
// listener, so no caller waits for an outcome that would never come.
class TaskRezovovozOnlineNotSupported : public TaskAtomic {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
  using Report = std::function<void(std::uint32_t, ERRORID)>;
  explicit TaskRezovovozOnlineNotSupported(Report report) : m_report(std::move(report)) {}
  void onStart() override { setResult(ERRORID_FUNCTIONALITY_NOT_SUPPORTED); }
  void onRemoved(ERRORID result) override {
    if (m_report) m_report(getId(), result);
  }

 private:
  Report m_report;
};

const ClassTypeInfo TaskRezovovozOnlineNotSupported::s_type = {"TaskRezovovozOnlineNotSupported",
                                                               &TaskAtomic::s_type};

using Event = void (MatchmakingServiceListener::*)(std::uint32_t, ERRORID);

Task* Refused(MatchmakingServiceListener* listener, Event event) {
  if (!listener) return new TaskRezovovozOnlineNotSupported(nullptr);
  return new TaskRezovovozOnlineNotSupported(
      [listener, event](std::uint32_t id, ERRORID r) { (listener->*event)(id, r); });
}

}  // namespace

Task* MakeOnlineHostSession(MatchmakingServiceListener* listener, std::uint8_t) {
  return Refused(listener, &MatchmakingServiceListener::onHostSession);
}
Task* MakeOnlineUpdateSession(MatchmakingServiceListener* listener) {
  return Refused(listener, &MatchmakingServiceListener::onUpdateSession);
}
Task* MakeOnlineSearchSessions(MatchmakingServiceListener* listener, const MatchmakingQuery*) {
  if (!listener) return new TaskRezovovozOnlineNotSupported(nullptr);
  return new TaskRezovovozOnlineNotSupported([listener](std::uint32_t id, ERRORID r) {
    static const std::vector<SessionInfo*> kNone;
    MatchmakingConfig* config = MatchmakingConfig::instance();
    listener->onSearchSessions(id, r, config ? config->searchResults() : kNone);
  });
}
Task* MakeOnlineJoinSession(MatchmakingServiceListener* listener, std::uint8_t,
                            const std::vector<PlayerID>&, const SessionID&, bool) {
  return Refused(listener, &MatchmakingServiceListener::onJoinSession);
}
Task* MakeOnlineDeleteSession(MatchmakingServiceListener* listener) {
  return Refused(listener, &MatchmakingServiceListener::onDeleteSession);
}
Task* MakeOnlineStartMatch(MatchmakingServiceListener* listener) {
  return new TaskRezovovozOnlineStartMatch(listener);
}
Task* MakeOnlineEndMatch(MatchmakingServiceListener* listener) {
  return new TaskRezovovozOnlineEndMatch(listener);
}
Task* MakeOnlineAddPlayerToSession(MatchmakingServiceListener*, const std::vector<PlayerID>&) {
  return new TaskRezovovozOnlineNotSupported(nullptr);
}
Task* MakeOnlineRemovePlayerFromSession(MatchmakingServiceListener*, const std::vector<PlayerID>&) {
  return new TaskRezovovozOnlineNotSupported(nullptr);
}

}  // namespace OX_Toolbox
