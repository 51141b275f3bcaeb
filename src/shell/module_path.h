#pragma once
// The full path of the running program's executable, as GetModuleFileNameA
// gives it ("C:\Games\Tessarin\tessarin.exe"); natively the path of the
// executable with backslashes, so the folder rules are the same.
#include <string>

namespace shell {

// Empty when the path cannot be found.
std::string GetProgramFilePath();

}  // namespace shell
