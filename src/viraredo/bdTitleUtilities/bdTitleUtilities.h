#pragma once
// Title utilities, with their own parameter lists. Its reply reader leaves
// 4 as the last error when a reply is cut off before its error code.
#include "bdLobbyCommon/bdLobbyRecords.h"
#include "bdLobbyService/bdLobbyServiceObject.h"

enum bdUnitLayout : std::int16_t {};
enum bdScreenType : std::int16_t {};
enum bdUISection : std::int16_t {};

class bdTitleUtilities : public bdLobbyServiceObject {
 public:
  explicit bdTitleUtilities(bdRemoteTaskManager* taskManager)
      : bdLobbyServiceObject(BD_TITLE_UTILITIES_SERVICE, taskManager) {}

  bdRemoteTaskRef verifyString(const char* text, unsigned int length);
  bdRemoteTaskRef getAdUnit(bdUnitLayout layout, const char* first, const char* second,
                            bdScreenType screen, bdUISection section);
  bdRemoteTaskRef trackImpression(unsigned int count, const bdUnitTracker* trackers);
  bdRemoteTaskRef getTitleStats();
  bool handleTask(const bdRemoteTask* task, bdQueryResult* result) override;

 private:
  bool hasTaskManager();
};
