#pragma once
// Makes the game-info objects that LAN discovery replies are read into: the
// application registers its own class once, before any search.
#include "bdCore/bdUtilities/bdSingleton.h"
#include "bdLANDiscovery/bdGameInfo.h"

template <typename T>
class bdCreatorBase {
 public:
  virtual ~bdCreatorBase() = default;
  virtual T* create() const = 0;
};

template <typename T, typename C>
class bdCreator : public bdCreatorBase<T> {
 public:
  T* create() const override { return new C(); }
};

class bdGameInfoFactoryImpl {
 public:
  bdGameInfoFactoryImpl() : m_creator(nullptr) {}
  ~bdGameInfoFactoryImpl();
  bdGameInfoFactoryImpl(const bdGameInfoFactoryImpl&) = delete;
  bdGameInfoFactoryImpl& operator=(const bdGameInfoFactoryImpl&) = delete;

  // Takes ownership; a second class is refused (and freed), the first kept.
  void setClass(bdCreatorBase<bdGameInfo>* const creator);
  // An object of the registered class; without one, a plain bdGameInfo after
  // the failed check, so a reply is never read into nothing.
  bdGameInfo* create() const;

 private:
  bdCreatorBase<bdGameInfo>* m_creator;
};

using bdGameInfoFactory = bdSingleton<bdGameInfoFactoryImpl>;

#define BD_REGISTER_GAME_INFO_CLASS(cls) \
  bdGameInfoFactory::getInstance()->setClass(new bdCreator<bdGameInfo, cls>())
