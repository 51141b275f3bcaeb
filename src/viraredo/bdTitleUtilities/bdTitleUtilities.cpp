#include "bdTitleUtilities/bdTitleUtilities.h"

#include "bdCore/bdLog/bdLog.h"

bool bdTitleUtilities::hasTaskManager() {
  if (m_taskManager != nullptr) return true;
  bdAssertMsg("No Taskmanager");
  return false;
}

bdRemoteTaskRef bdTitleUtilities::verifyString(const char* text, unsigned int length) {
  if (!hasTaskManager() || text == nullptr) return nullptr;
  bdReference<bdBitBuffer> buffer(new bdBitBuffer(0, true));
  buffer->writeUChar8(0);
  buffer->writeString(text, length);
  return startWritten(1, buffer);
}

bdRemoteTaskRef bdTitleUtilities::getAdUnit(bdUnitLayout layout, const char* first,
                                            const char* second, bdScreenType screen,
                                            bdUISection section) {
  if (!hasTaskManager()) return nullptr;
  return startTask(2, 0,
                   bdLobbyArgs()
                       .i16(layout)
                       .str(first != nullptr ? first : "")
                       .str(second != nullptr ? second : "")
                       .i16(screen)
                       .i16(section));
}

bdRemoteTaskRef bdTitleUtilities::trackImpression(unsigned int count,
                                                  const bdUnitTracker* trackers) {
  if (!hasTaskManager()) return nullptr;
  bdReference<bdBitBuffer> buffer(new bdBitBuffer(0, true));
  buffer->writeUChar8(0);
  for (unsigned int i = 0; trackers != nullptr && i < count; ++i)
    trackers[i].write(*buffer);
  return startWritten(3, buffer);
}

bdRemoteTaskRef bdTitleUtilities::getTitleStats() {
  if (!hasTaskManager()) return nullptr;
  return startTask(4, 0);
}

bool bdTitleUtilities::handleTask(const bdRemoteTask* task, bdQueryResult* result) {
  m_lastError = 4;
  return bdLobbyServiceObject::handleTask(task, result);
}
