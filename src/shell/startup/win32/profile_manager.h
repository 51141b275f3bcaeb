#pragma once
// The profile manager (where the player picks, creates, edits, inspects or
// deletes profiles) and its "Create a new profile" and "Edit profile"
// dialogs.
#include <windows.h>

#include <string>

namespace shell {

// Results of the profile manager.
constexpr INT_PTR kProfileEntered = 1;  // a profile was made current
constexpr INT_PTR kProfileLater = 362;  // "Create later" or closed
constexpr UINT kMsgDefaultProfileRequest = 1000;

// Runs the manager modally over `owner`.
INT_PTR ShowUserManagementDialog(HWND owner);
// True when the Users folder holds at least one profile.
bool ProfilesExist();

// "Create a new profile". True when a profile was created; then `created`
// holds its name and `enter` whether the player asked to use it at once.
bool RunNewProfileDialog(HWND owner, std::string* created = nullptr, bool* enter = nullptr);
// "Edit profile" for a profile that is not the current one; 1 after OK.
INT_PTR RunEditProfileDialog(HWND owner, const char* name);

// Where "Create later" asks for the Default profile when no profile is
// current (by default the lobby's dialog, else the main window); the
// window is sent kMsgDefaultProfileRequest once the manager has closed.
using DefaultProfileTarget = HWND (*)();
void SetDefaultProfileTarget(DefaultProfileTarget target);

}  // namespace shell
