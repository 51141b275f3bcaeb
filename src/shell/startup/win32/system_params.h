#pragma once
// The system parameters start-up switches, on SystemParametersInfoA.
#include "shell/startup_logic.h"

namespace shell {

class Win32SystemParams : public SystemParams {
 public:
  uint32_t Get(uint32_t action) override;
  void Set(uint32_t action, uint32_t value, uint32_t winIni) override;
};

}  // namespace shell
