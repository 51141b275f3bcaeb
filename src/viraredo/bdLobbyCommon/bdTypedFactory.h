#pragma once
// A process-wide map from a type id to the creator of that id's class. The
// factory owns its creators and is destroyed with the SDK's singletons.
#include "bdCore/bdContainers/bdHashMap.h"
#include "bdCore/bdLog/bdLog.h"
#include "bdCore/bdUtilities/bdSingleton.h"

template <typename T>
class bdTypedCreatorBase {
 public:
  virtual ~bdTypedCreatorBase() = default;
  virtual T* create(unsigned int type) const = 0;
  virtual unsigned int getObjectSize() const = 0;
};

template <typename T, typename C>
class bdTypedCreator : public bdTypedCreatorBase<T> {
 public:
  T* create(unsigned int type) const override { return new C(type); }
  unsigned int getObjectSize() const override { return sizeof(C); }
};

// Type ids hash by their four bytes, lowest address first: ((b0*31+b1)*31+b2)*31+b3.
class bdTypeIdHashingClass {
 public:
  static unsigned int getHash(unsigned int id) {
    unsigned int h = 0;
    for (int i = 0; i < 4; ++i)
      h = h * 31u + ((id >> (8 * i)) & 0xFFu);
    return h;
  }
};

template <typename T>
class bdTypedFactory {
 public:
  bdTypedFactory() : m_creators(4, 0.75f) {}
  ~bdTypedFactory() {
    for (auto it = m_creators.getIterator(); it != nullptr; it = m_creators.next(it))
      delete m_creators.getValue(it);
    m_creators.clear();
  }
  static bdTypedFactory* getInstance() { return bdSingleton<bdTypedFactory<T>>::getInstance(); }

  // The factory owns the creator once this returns true.
  bool registerClass(unsigned int type, bdTypedCreatorBase<T>* creator) {
    if (m_creators.contains(type)) {
      bdLogWarn("bdCore/bdFactory", "Creator already registered for object type %u.", type);
      return false;
    }
    if (!m_creators.put(type, creator)) {
      bdLogWarn("bdCore/bdFactory", "Unable to register creator already type %u.", type);
      return false;
    }
    return true;
  }
  T* create(unsigned int type) const {
    bdTypedCreatorBase<T>* creator = nullptr;
    if (!m_creators.get(type, creator) || creator == nullptr) {
      bdLogWarn("bdCore/bdTypedFactory", "No creator registered for object type.");
      return nullptr;
    }
    return creator->create(type);
  }

 private:
  bdHashMap<unsigned int, bdTypedCreatorBase<T>*, bdTypeIdHashingClass> m_creators;
};
