#include "Modules/NetworkService/Src/SdkMemory.h"

#include "Modules/Core/Src/Memory/ToolboxAlloc.h"
#include "bdCore/bdMemory/bdMemory.h"

namespace OX_Toolbox {

void routeSdkMemoryToToolbox() {
  bdMemory::setAllocateHook(&ToolboxAlloc);
  bdMemory::setDeallocateHook(&ToolboxFree);
  bdMemory::setReallocateHook(&ToolboxRealloc);
  bdMemory::setAlignedAllocateHook(&ToolboxAlignedAlloc);
  bdMemory::setAlignedDeallocateHook(&ToolboxAlignedFree);
  bdMemory::setAlignedReallocateHook(&ToolboxAlignedRealloc);
}

}  // namespace OX_Toolbox
