#include "Modules/Core/Src/Result/ToolboxResult.h"

namespace OX_Toolbox {

ToolboxResult& LastResult() {
  static ToolboxResult result;
  return result;
}

}  // namespace OX_Toolbox
