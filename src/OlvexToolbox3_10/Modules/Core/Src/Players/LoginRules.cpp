#include "Modules/Core/Src/Players/LoginRules.h"

#include "Modules/Core/Src/Result/ToolboxResult.h"

namespace OX_Toolbox {

namespace {

bool isLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int lengthOf(const char16_t* text, int stopAfter) {
  int n = 0;
  while (text[n] && n <= stopAfter)
    ++n;
  return n;
}

ERRORID report(ERRORID result) {
  LastResult().set(result);
  return result;
}

bool contains(const char16_t* text, const char16_t* needle) {
  if (!*needle) return true;
  for (const char16_t* t = text; *t; ++t) {
    const char16_t* a = t;
    const char16_t* b = needle;
    while (*a && *b && *a == *b) {
      ++a;
      ++b;
    }
    if (!*b) return true;
  }
  return false;
}

}  // namespace

ERRORID ValidateLogin(const char16_t* text) {
  if (!text) return report(ERRORID_WRONG_LOGIN_SIZE);
  const int n = lengthOf(text, 20);
  if (n < 6 || n > 20) return report(ERRORID_WRONG_LOGIN_SIZE);
  if (!isLetter(text[0])) return report(ERRORID_WRONG_LOGIN_FORMAT_DOES_NOT_START_WITH_LETTER);
  for (int i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (!isLetter(c) && !isDigit(c) && c != u'-' && c != u'.' && c != u'_')
      return report(ERRORID_WRONG_LOGIN_FORMAT_CONTAINS_NOT_ALLOWED_CHARACTER);
  }
  return report(ERRORID_SUCCEEDED);
}

ERRORID ValidatePassword(const char16_t* login, const char16_t* password) {
  if (!password) return report(ERRORID_WRONG_PASSWORD_SIZE);
  const int n = lengthOf(password, 16);
  if (n < 6 || n > 16) return report(ERRORID_WRONG_PASSWORD_SIZE);
  bool letter = false;
  for (int i = 0; i < n; ++i) {
    if (!isLetter(password[i]) && !isDigit(password[i]))
      return report(ERRORID_WRONG_PASSWORD_CONTAINS_NOT_ALLOWED_CHARACTER);
    letter = letter || isLetter(password[i]);
  }
  if (!letter) return report(ERRORID_WRONG_PASSWORD_CONTAINS_NOT_ATLEAST_ONE_NUMBER_AND_LETTER);
  if (login && contains(password, login))
    return report(ERRORID_WRONG_PASSWORD_CONTAINS_THE_USERNAME);
  return report(ERRORID_SUCCEEDED);
}

}  // namespace OX_Toolbox
