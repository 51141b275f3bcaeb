#pragma once
// Texts of the game layer's notices, with their string-table numbers.

// Caption of the program's message box (string 1852).
constexpr char kGameMessageCaption[] = "TESSARIN\xAE";

constexpr int kStrNoJokersLeft = 1938;
constexpr char kTextNoJokersLeft[] = "There are no jokers left in the bag.";
constexpr int kStrNoMoreLetter = 1939;
constexpr char kTextNoMoreLetter[] = "No more '%c' in the bag.";  // the letter
