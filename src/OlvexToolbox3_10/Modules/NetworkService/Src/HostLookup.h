#pragma once
// A host name looked up without blocking the caller: dotted text is taken at
// once, any other name is resolved on a thread of its own, which the lookup
// leaves behind when it is dropped before the answer came.
#include <memory>
#include <string>

#include "bdSocket/bdInetAddr.h"

namespace OX_Toolbox {

class HostLookup {
 public:
  enum Status { PENDING, FOUND, FAILED };

  explicit HostLookup(const std::string& host);
  ~HostLookup();
  HostLookup(const HostLookup&) = delete;
  HostLookup& operator=(const HostLookup&) = delete;

  // The first address once FOUND.
  Status poll(bdInetAddr& address);

 private:
  struct Shared;
  std::shared_ptr<Shared> m_shared;
};

}  // namespace OX_Toolbox
