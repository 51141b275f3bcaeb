#pragma once
// Texts of the move history and the saved-game file, with their
// string-table numbers. Texts are Windows-1252 ("\xAE" is the registered
// sign).

// Replaying an imported entry.
constexpr int kStrPlayerPassed = 3050;
constexpr char kTextPlayerPassed[] = "The player has passed.";
constexpr int kStrPlayerSwapped = 3051;
constexpr char kTextPlayerSwapped[] =
    "The player has swapped his letters '%s' and passed his turn.";

// Saving and opening.
constexpr int kStrReplace = 2122;
constexpr char kTextReplace[] = "Replace";
constexpr int kStrCannotCreateFile = 2124;
constexpr char kTextCannotCreateFile[] = "Unable to create the file";
constexpr int kStrCannotWriteFile = 2125;
constexpr char kTextCannotWriteFile[] = "Unable to write to the file";
constexpr int kStrFileDamaged = 2128;
constexpr char kTextFileDamaged[] = "The file is damaged or is not a TESSARIN\xAE file.";
constexpr int kStrWritingToFile = 2130;
constexpr char kTextWritingToFile[] = "Writing to file";
constexpr int kStrLoadNoMemory = 2131;
constexpr char kTextLoadNoMemory[] = "Memory allocation failed during file loading";
constexpr int kStrSaveComplete = 3057;
constexpr char kTextSaveComplete[] = "Save complete.";
constexpr int kStrOtherProfile = 3058;
constexpr char kTextOtherProfile[] =
    "Load failed.\nThe profile of the game that you are trying to load is different to the profile "
    "you logged on with.";
constexpr int kStrOtherLanguage = 3041;
constexpr char kTextOtherLanguage[] =
    "Load failed.\nThe language of the game that you are trying to load is different to your "
    "profile.";
constexpr int kStrNotValidFile = 5000;
constexpr char kTextNotValidFile[] =
    "The file you are trying to load is not valid.\nYou will now be brought back to the main menu.";

// The kind's word in a proposed file name.
constexpr int kStrClassic = 2334;
constexpr char kTextClassic[] = "Classic";
constexpr int kStrDuplicate = 1861;
constexpr char kTextDuplicate[] = "Duplicate";
constexpr int kStrCrossagrams = 1874;
constexpr char kTextCrossagrams[] = "Crossagrams";
