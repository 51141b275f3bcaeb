#pragma once
// The script language's names as the toolbox publishes them: its version
// string (the global _VERSION), and the search-path variable with its
// default. Scripts get no loading functions, so nothing searches the path.
namespace OX_Toolbox {

constexpr const char* kScriptVersion = "Oua 5.0.2";
constexpr const char* kScriptPathVariable = "OUA_PATH";
constexpr const char* kScriptDefaultPath = "?;?.oua";

}  // namespace OX_Toolbox
