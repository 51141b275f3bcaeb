#pragma once
// The program folder as the game layer sees it: data files the game reads
// directly ("tessarinData\Crossagrams.ini") are found under it. The shell
// sets it once at start-up, before any game starts; empty means the current
// folder.
#include <string>

void SetGameProgramFolder(const std::string& folder);
const std::string& GameProgramFolder();
// The program folder joined with a relative path (backslash-separated).
std::string GameProgramPath(const char* relative);
