#include "Modules/NetworkService/Src/HostLookup.h"

#include <mutex>
#include <thread>

#include "bdSocket/bdPlatformSocket.h"

namespace OX_Toolbox {

struct HostLookup::Shared {
  std::mutex mutex;
  Status status = PENDING;
  bdInetAddr address;
};

HostLookup::HostLookup(const std::string& host) : m_shared(std::make_shared<Shared>()) {
  bdInetAddr dotted;
  if (host.empty()) {
    m_shared->status = FAILED;
  } else if (bdInetAddr::parse(host.c_str(), dotted)) {
    m_shared->address = dotted;
    m_shared->status = FOUND;
  } else {
    std::shared_ptr<Shared> shared = m_shared;
    try {
      std::thread([shared, host] {
        bdInetAddr found;
        const bool ok = bdPlatformSocket::getHostByName(host.c_str(), &found, 1) > 0;
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->address = found;
        shared->status = ok && found.isValid() ? FOUND : FAILED;
      }).detach();
    } catch (...) {
      m_shared->status = FAILED;
    }
  }
}

HostLookup::~HostLookup() = default;

HostLookup::Status HostLookup::poll(bdInetAddr& address) {
  std::lock_guard<std::mutex> lock(m_shared->mutex);
  if (m_shared->status == FOUND) address = m_shared->address;
  return m_shared->status;
}

}  // namespace OX_Toolbox
