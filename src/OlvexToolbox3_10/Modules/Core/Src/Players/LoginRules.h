#pragma once
// The rules a login name and a password must follow, and the remembered
// login of the local players' cache file.
#include "Modules/Core/Src/Result/ErrorId.h"

namespace OX_Toolbox {

class LocalPlayer;
class String;

// 6 to 20 characters, a letter first, then letters, digits, '-', '.', '_'.
// Sets the last result and returns it.
ERRORID ValidateLogin(const char16_t* text);
// 6 to 16 letters and digits, at least one letter, not holding the login.
// Sets the last result and returns it.
ERRORID ValidatePassword(const char16_t* login, const char16_t* password);

// Makes the player the remembered login: the core's slot and the "LGNC"
// record of the cache file (configuration string 1), other records kept.
ERRORID SaveLocalPlayerToCache(const LocalPlayer& player);

}  // namespace OX_Toolbox
