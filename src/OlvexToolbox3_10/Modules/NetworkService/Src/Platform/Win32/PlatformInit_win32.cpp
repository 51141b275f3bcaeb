#include <winsock2.h>
#include <iphlpapi.h>

#include <vector>

#include "Modules/NetworkService/Src/Platform/Win32/PlatformInit.h"
#include "bdCore/bdLog/bdLog.h"

namespace OX_Toolbox {

namespace {
const char* const kChannel = "bdExampleCommon/init";
}

int bdExamplePlatformInit::init(std::vector<bdInetAddr>& localAddresses) {
  WSADATA data;
  const int started = WSAStartup(MAKEWORD(2, 2), &data);
  if (started != 0) bdLogError(kChannel, "Failed to start winsock!");

  std::vector<unsigned char> buffer(640);
  ULONG size = static_cast<ULONG>(buffer.size());
  DWORD r = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  if (r == ERROR_BUFFER_OVERFLOW) {
    buffer.assign(size, 0);
    r = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
  }
  unsigned int adapters = 0;
  unsigned int taken = 0;
  if (r != ERROR_SUCCESS) {
    bdLogError(kChannel, "Unable to get adapter info!");
  } else {
    for (auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); a; a = a->Next) {
      bdLogInfo(kChannel, "Adapter %u: %s", adapters, a->Description);
      bdLogInfo(kChannel, "Adapter %u: default gw: %s", adapters, a->GatewayList.IpAddress.String);
      for (IP_ADDR_STRING* ip = &a->IpAddressList; ip; ip = ip->Next) {
        bdInetAddr address;
        if (!bdInetAddr::parse(ip->IpAddress.String, address) || address == bdInetAddr::getAny()) {
          bdLogInfo(kChannel, "Adapter %u: skipping (invalid address)", adapters);
          continue;
        }
        bdLogInfo(kChannel, "Adapter %u: %s", adapters, ip->IpAddress.String);
        localAddresses.push_back(address);
        ++taken;
      }
      ++adapters;
    }
  }
  bdLogInfo(kChannel, "using %u valid network adapter(s) out of %u total.", taken, adapters);
  if (taken == 0) {
    bdLogInfo(kChannel, "No valid network adapters. Using loopback as local address.");
    localAddresses.push_back(bdInetAddr::getLoopback());
  }
  return started;
}

void bdExamplePlatformInit::shutdown() { WSACleanup(); }

}  // namespace OX_Toolbox
