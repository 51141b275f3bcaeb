#pragma once
// The classic and duplicate set-up dialogs ("Classic mode properties" and
// "Duplicate mode properties"). Each writes its field of the game's set-up
// at once; "Play" adds the players and ends with 0, "Cancel" ends with 4096
// and undoes nothing.
#include <windows.h>

class CGame;

namespace ui {

// The personality chooser the set-ups open ("Personality"): the shell
// installs it. It answers whether a personality was chosen and writes its
// name. Without one the button does nothing.
using PersonalityChooser = bool (*)(HWND owner, char* name, int size);
void SetPersonalityChooser(PersonalityChooser chooser);
PersonalityChooser GetPersonalityChooser();

INT_PTR RunClassicSetupDialog(HWND owner, CGame* game);
INT_PTR RunDuplicateSetupDialog(HWND owner, CGame* game);

// Control ids of the two set-ups.
enum : int {
  kIdSetupPlay = 5874,
  kIdPlayerCount = 1780,
  kIdFirstNameEdit = 1627,  // classic: players 1 to 4, 1627 to 1630
  kIdFirstComputer = 5847,  // classic: players 2 to 4
  kIdFirstPersonality = 1676,
  kIdFirstStarter = 5853,  // classic: players 1 to 4
  kIdNoTime = 5860,
  kIdTimePerGame = 5861,
  kIdTimePerMove = 5862,
  kIdMinutes = 5858,
  kIdSeconds = 5859,
  kIdForfeit = 5844,
  kIdAllowChallenge = 5881,
  kIdDoubleChallenge = 5957,
  kIdSingleChallenge = 5958,
  kIdModifiedChallenge = 5959,
  kIdClassicRanking = 5850,
  // duplicate
  kIdPlayerList = 5873,
  kIdPlayerName = 5872,
  kIdLineComputer = 5871,
  kIdLinePersonality = 5870,
  kIdNoEightLetters = 5865,
  kIdSevenOfEight = 5866,
  kIdEightOfEight = 5867,
  kIdBlitz = 5868,
  kIdJoker = 5869,
  kIdDuplicateRanking = 5934,
};

}  // namespace ui
