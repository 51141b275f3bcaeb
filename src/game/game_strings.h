#pragma once
// String-table numbers of the game layer's texts. The texts themselves live
// in the program's string table (src/shell/strings/strings.txt).
#include <cstdint>
#include <string>

// Caption of the program's message box (string 1852).
constexpr char kGameMessageCaption[] = "TESSARIN\xAE";

constexpr uint32_t kStrNoJokersLeft = 1938;
constexpr uint32_t kStrNoMoreLetter = 1939;
constexpr uint32_t kStrNoWordFound = 1904;
constexpr uint32_t kStrInvalidWord = 1905;     // the word
constexpr uint32_t kStrPlacementScore = 1936;  // the main word in upper case, the total
constexpr uint32_t kStrCannotSwap = 2002;
constexpr uint32_t kStrConfirmPass = 2081;
constexpr uint32_t kStrOnlySevenLetters = 3036;
constexpr uint32_t kStrIsolatedWord = 3053;
constexpr uint32_t kStrIllegalPosition = 3054;
constexpr uint32_t kStrCentreSquare = 3055;
constexpr uint32_t kStrOtherLanguage = 3124;
constexpr uint32_t kStrFirstWordAcross = 3127;
constexpr uint32_t kStrChallengeFailed = 7172;
constexpr uint32_t kStrPlayerPassed = 3050;
constexpr uint32_t kStrPlayerSwapped = 3051;
constexpr uint32_t kStrReplace = 2122;
constexpr uint32_t kStrCannotCreateFile = 2124;
constexpr uint32_t kStrCannotWriteFile = 2125;
constexpr uint32_t kStrFileDamaged = 2128;
constexpr uint32_t kStrWritingToFile = 2130;
constexpr uint32_t kStrLoadNoMemory = 2131;
constexpr uint32_t kStrSaveComplete = 3057;
constexpr uint32_t kStrOtherProfile = 3058;
constexpr uint32_t kStrLoadOtherLanguage = 3041;
constexpr uint32_t kStrNotValidFile = 5000;
constexpr uint32_t kStrClassic = 2334;
constexpr uint32_t kStrDuplicate = 1861;
constexpr uint32_t kStrCrossagrams = 1874;
constexpr uint32_t kStrProgramTitle = 1929;  // the program's title line
// The side games' messages.
constexpr uint32_t kStrWrongLength = 1906;
constexpr uint32_t kStrLosesTurn = 1907;       // the player's name
constexpr uint32_t kStrOtherSolutions = 3132;  // followed by the words left
constexpr uint32_t kStrAllAnagramsFound = 3133;
constexpr uint32_t kStrNoMoreAnagrams = 7170;
constexpr uint32_t kStrBestSolution = 3193;  // the solution's move text
constexpr uint32_t kStrFirstSquare = 3196;
constexpr uint32_t kStrTheSolution = 3165;     // the first solution's move text
constexpr uint32_t kStrNotTheSolution = 3166;  // the move's text
constexpr uint32_t kStrIsASolution = 3167;     // the move's text

// The table's text for `id`; empty when the table has none.
std::string GameText(uint32_t id);
