#pragma once
// The rules a login name and a password must follow.
#include "Modules/Core/Src/Result/ErrorId.h"

namespace OX_Toolbox {

class String;

// 6 to 20 characters, a letter first, then letters, digits, '-', '.', '_'.
// Sets the last result and returns it.
ERRORID ValidateLogin(const char16_t* text);
// 6 to 16 letters and digits, at least one letter, not holding the login.
// Sets the last result and returns it.
ERRORID ValidatePassword(const char16_t* login, const char16_t* password);

}  // namespace OX_Toolbox
