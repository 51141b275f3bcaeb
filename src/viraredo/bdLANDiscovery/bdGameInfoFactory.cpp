#include "bdLANDiscovery/bdGameInfoFactory.h"

#include "bdCore/bdLog/bdLog.h"

bdGameInfoFactoryImpl::~bdGameInfoFactoryImpl() {
  delete m_creator;
  m_creator = nullptr;
}

void bdGameInfoFactoryImpl::setClass(bdCreatorBase<bdGameInfo>* const creator) {
  if (m_creator != nullptr) {
    bdLogWarn("gameInfoFactory",
              "Game info class already set ,BD_REGISTER_GAME_INFO_CLASS should only be called "
              "once otherwise memory is leaked.");
    if (creator != m_creator) delete creator;
    return;
  }
  m_creator = creator;
}

bdGameInfo* bdGameInfoFactoryImpl::create() const {
  if (m_creator == nullptr) {
    bdAssertMsg(
        "bdGameInfoFactoryImpl::create, must set a game info class with "
        "BD_REGISTER_GAME_INFO_CLASS before calling create.");
    return new bdGameInfo();
  }
  return m_creator->create();
}
