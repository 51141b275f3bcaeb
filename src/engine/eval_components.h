#pragma once
// The fourteen evaluation components (see robot_evaluator.h for the table)
// and the helpers of the letter-swap advice and the leave counting that
// other code and tests call directly.
#include <cstdint>
#include <memory>

#include "engine/robot_evaluator.h"

class Lexicon;
class TileBag;
class WordList;

// String-table ids of the components' labels, by component index.
constexpr int kEvaluatorLabelIds[kEvaluatorCount] = {3157, 3150, 3154, 3148, 3149, 3153, 3158,
                                                     3155, 3159, 3152, 3151, 3160, 3163, 3164};

// Makers by source file; MakeEvaluator picks among them.
std::unique_ptr<RobotEvaluator> MakeScoreComponent(int index);    // 0, 2, 4, 6, 8-12
std::unique_ptr<RobotEvaluator> MakePremiumComponent(int index);  // 1, 13
std::unique_ptr<RobotEvaluator> MakeClosingBoardComponent();      // 5
std::unique_ptr<RobotEvaluator> MakeRemainderComponent();         // 7
std::unique_ptr<RobotEvaluator> MakeLetterSwapComponent();        // 3

// --- letter-swap advice --------------------------------------------------------
// The advice the letter-swap component writes into the robot's result state.
enum SwapAdvice : int32_t { kAdvicePass = 1, kAdvicePlay = 2, kAdviceSwap = 3 };

// How likely the bag is to give these letters, in percent: 100 x n! x the
// product of count/tileCount over the letters in order, each drawn letter
// taken from a private copy of the counts. 100 for no letters, 0 when the bag
// lacks one of them or is empty.
float LetterDrawChance(const char* letters, const TileBag& bag);
// out = the characters of text equal to no character of set (NUL-terminated;
// out holds at least strlen(text) + 1 bytes).
void LettersNotIn(const char* text, const char* set, char* out);
// Words of exactly `length` letters the rack text forms ('`' a blank standing
// for any letter); each is handed to the list. Returns the number found.
int CountRackWords(const Lexicon& lexicon, const char* rack, int length, WordList* list);

// --- remainder counting ----------------------------------------------------------
constexpr int kLeaveLengthSlots = 20;
// Words counted per length stop here (0: length not counted).
constexpr int32_t kLeaveCountCaps[kLeaveLengthSlots] = {
    0, 0, 75, 571, 2000, 2000, 2000, 2000, 2000, 2000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
// Distinct words of 2..maxLength letters made from the letter counts (index
// 0 blanks standing for any letter) plus at most `drawMax` letters taken from
// the pool counts (null: none), capped per length. counts[L] receives the
// number of words of L letters.
void CountLeaveWords(const Lexicon& lexicon, const int32_t letters[32], const int32_t* pool,
                     int drawMax, int maxLength, int32_t counts[kLeaveLengthSlots]);
