#pragma once
// Texts of the turn's notices, with their string-table numbers.

constexpr int kStrNoWordFound = 1904;
constexpr char kTextNoWordFound[] = "No word found.";
constexpr int kStrInvalidWord = 1905;  // the word
constexpr char kTextInvalidWord[] =
    "That word is not valid.\n'%s' is not in the Brantwell Official Tessarin(R) dictionary.";
constexpr int kStrPlacementScore = 1936;  // the main word in upper case, the total
constexpr char kTextPlacementScore[] = "%s' scores %d pts.";
constexpr int kStrCannotSwap = 2002;
constexpr char kTextCannotSwap[] = "Unable to swap. There aren't enough letters in the bag!";
constexpr int kStrConfirmPass = 2081;
constexpr char kTextConfirmPass[] = "Do you really want to pass on your turn?";
constexpr int kStrOnlySevenLetters = 3036;
constexpr char kTextOnlySevenLetters[] = "You can only use 7 letters.";
constexpr int kStrIsolatedWord = 3053;
constexpr char kTextIsolatedWord[] = "An isolated word has been found!";
constexpr int kStrIllegalPosition = 3054;
constexpr char kTextIllegalPosition[] =
    "One or more letters are randomly or illegally positioned on the board.";
constexpr int kStrCentreSquare = 3055;
constexpr char kTextCentreSquare[] =
    "One of the letters in the first word played must be on the centre square of the board.";
constexpr int kStrOtherLanguage = 3124;
constexpr char kTextOtherLanguage[] =
    "Unable to carry out this operation\r\nThe data is in a different language to your profile.";
constexpr int kStrFirstWordAcross = 3127;
constexpr char kTextFirstWordAcross[] =
    "In Duplicate mode, the first word must be placed horizontally.";
constexpr int kStrChallengeFailed = 7172;
constexpr char kTextChallengeFailed[] = "All words were valid. Challenging has failed.";
