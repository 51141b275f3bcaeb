#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>
#include <vector>

#include "Modules/NetworkService/Src/Platform/Win32/PlatformInit.h"
#include "bdCore/bdLog/bdLog.h"

namespace OX_Toolbox {

namespace {
const char* const kChannel = "bdExampleCommon/init";
}

int bdExamplePlatformInit::init(std::vector<bdInetAddr>& localAddresses) {
  ifaddrs* list = nullptr;
  unsigned int adapters = 0;
  unsigned int taken = 0;
  if (getifaddrs(&list) != 0) {
    bdLogError(kChannel, "Unable to get adapter info!");
  } else {
    for (ifaddrs* a = list; a; a = a->ifa_next) {
      // Loopback is the fallback below, as on a machine whose adapters list none.
      if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || (a->ifa_flags & IFF_LOOPBACK))
        continue;
      unsigned char bytes[4];
      std::memcpy(bytes, &reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr, 4);
      const bdInetAddr address = bdInetAddr::fromBytes(bytes[0], bytes[1], bytes[2], bytes[3]);
      if (address == bdInetAddr::getAny()) {
        bdLogInfo(kChannel, "Adapter %u: skipping (invalid address)", adapters);
      } else {
        char text[22];
        address.toString(text, sizeof text);
        bdLogInfo(kChannel, "Adapter %u: %s", adapters, text);
        localAddresses.push_back(address);
        ++taken;
      }
      ++adapters;
    }
    freeifaddrs(list);
  }
  bdLogInfo(kChannel, "using %u valid network adapter(s) out of %u total.", taken, adapters);
  if (taken == 0) {
    bdLogInfo(kChannel, "No valid network adapters. Using loopback as local address.");
    localAddresses.push_back(bdInetAddr::getLoopback());
  }
  return 0;
}

void bdExamplePlatformInit::shutdown() {}

}  // namespace OX_Toolbox
