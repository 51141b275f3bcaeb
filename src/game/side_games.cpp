// The training kinds' turns: the anagram game (find every word the rack's
// letters make), the conundrum (the best word of a random rack, laid from
// the first square of a one-row board) and the exercise (find a solution
// move of a prepared position). Each is a phase machine over the current
// player's turnPhase, like the standard turn.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "game/anagram_key.h"
#include "game/game.h"
#include "game/game_strings.h"
#include "game/move_text.h"
#include "game/turn_ports.h"
#include "game/turn_support.h"
#include "game/ui_port.h"

namespace {

// The message texts are built here, so a long word or move text can never
// run past a buffer.
std::string Format(uint32_t id, const std::string& argument) {
  const std::string format = GameText(id);
  const int n = std::snprintf(nullptr, 0, format.c_str(), argument.c_str());
  if (n <= 0) return format;
  std::string out(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(&out[0], out.size(), format.c_str(), argument.c_str());
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string WordOf(const RobotMove& move) {
  return std::string(move.word, strnlen(move.word, sizeof move.word));
}

std::string MoveText(const CGame& game, const RobotMove& move) {
  std::string text;
  FormatMoveText(move, text, game.setup.language, &game, kMoveTextAll);
  return text;
}

// For a local human: the board window takes the focus and a pick starts at
// the first square.
void FocusAndPick(const GamePlayer& p) {
  if (p.Type() == kPlayerHuman) GetBoardViewPort().FocusAndPickFirstSquare();
}

void ClearBoard(CGame& game) { game.ClearBoardLetters(); }

void ReloadBoardGrid(CGame& game) { turns::LoadViewBoard(game); }

// The first record of the move played becomes the player's last move.
void KeepLastMove(GamePlayer& p, bool condition) {
  if (condition && !p.moveWords.empty()) p.lastMoveRecord = p.moveWords.front();
}

bool Decided(CGame& game, GamePlayer& p, PlayerAction& action) {
  if (!p.DecideAction(game, action)) return false;
  p.hasActed = 1;
  return true;
}

// The lexicon holds the word.
bool IsWord(const RobotMove& move) { return turns::IsLexiconWord(move.word); }

}  // namespace

void CGame::StartAnagramTurn() {
  const int length = std::clamp<int32_t>(requiredWordLength, 0, kMaxSideGameWordLength);
  // The letter set, then blanks standing for any letter up to the length.
  char pattern[kMaxSideGameWordLength + 1] = {};
  const size_t letters = strnlen(anagramLetters, sizeof anagramLetters);
  for (int i = 0; i < length; ++i)
    pattern[i] = static_cast<size_t>(i) < letters ? anagramLetters[i] : kUnassignedBlank;
  anagramWords.clear();
  const Lexicon* lexicon = GetLexicon();
  const int n =
      lexicon && length >= kMinSideGameWordLength ? lexicon->FindAnagrams(pattern, length) : 0;
  if (n > 0) {
    std::vector<char[kWordTextSize]> words(static_cast<size_t>(n));
    const int found = lexicon->FindAnagramsWithPattern(pattern, length, words.data(), n);
    for (int i = 0; i < std::min(found, n); ++i) {
      const std::string word(words[static_cast<size_t>(i)],
                             strnlen(words[static_cast<size_t>(i)], kWordTextSize));
      anagramWords.emplace(AnagramKey(word.c_str(), length), word);
    }
  }
  BeginRunningTurn();
}

void CGame::RunAnagramTurn() {
  GamePlayer* p = turns::StartTurnStep(*this);
  if (!p) return;
  switch (p->turnPhase) {
    case kPhaseBegin:
      DrawPlayerRack(*p);
      p->BeginTurn(*this);
      p->turnPhase = kPhaseDeciding;
      if (history) {
        history->First();
        history->TakeBack();
      }
      GetGameUiPort().BroadcastGameChanged(nullptr, 0);
      RecordMove(nullptr);
      GetGameUiPort().RedrawGameInfoStrip();
      FocusAndPick(*p);
      break;
    case kPhaseDeciding: {
      PlayerAction action;
      if (!Decided(*this, *p, action)) break;
      if (action.code == kActionPlay) {
        RobotMove move = action.move;
        const std::string word = WordOf(move);
        if (move.length != rules->rackSize) {
          turns::ShowGameNotice((word + ".\n" + GameText(kStrWrongLength)).c_str());
          ClearBoard(*this);
          p->RetryTurn(*this);
          break;
        }
        if (!IsWord(move)) {
          turns::ShowInvalidWord(move.word);
          ClearBoard(*this);
          p->RetryTurn(*this);
          FocusAndPick(*p);
          break;
        }
        auto found = std::find_if(anagramSolutions.begin(), anagramSolutions.end(),
                                  [&](const RobotMove& s) { return WordOf(s) == word; });
        if (found != anagramSolutions.end()) {
          anagramSolutions.erase(found);
          p->score += move.score;  // as the move submission scored it
          ApplyMove(move);
          RecordMove(&move);
        }
        consecutivePasses = scorelessTurns = 0;
        if (!anagramSolutions.empty()) {
          ClearBoard(*this);
          p->RetryTurn(*this);
          p->turnPhase = kPhaseDeciding;
          GetGameUiPort().RedrawGameInfoStrip();
          FocusAndPick(*p);
        } else {
          p->turnPhase = kPhaseOver;
          ClearBoard(*this);
          ReloadBoardGrid(*this);
        }
      } else if (action.code == kActionPass) {
        RecordMove(nullptr);
        p->ReturnRackToBag();
        p->turnPhase = kPhaseOver;
      } else if (action.code == kActionTurnLost) {
        if (p->request == kRequestForfeit) turns::ShowInvalidWord(action.move.word);
        p->RetryTurn(*this);
        FocusAndPick(*p);
      }
      break;
    }
    case kPhaseOver: {
      KeepLastMove(*p, p->request == kRequestPlay);
      std::string message;
      if (anagramSolutions.empty()) {
        message = GameText(kStrAllAnagramsFound);
      } else {
        message = GameText(kStrOtherSolutions);
        for (const RobotMove& s : anagramSolutions)
          message += WordOf(s) + "\n";
      }
      turns::ShowGameNotice(message.c_str());
      p->EndTurn(*this);
      if (anagramWords.empty()) {
        turns::ShowGameNotice(GameText(kStrNoMoreAnagrams).c_str());
        state = kStateOver;
      } else {
        AdvanceTurn();
      }
      break;
    }
    default:
      break;
  }
}

void CGame::RunConundrumTurn() {
  GamePlayer* p = turns::StartTurnStep(*this);
  if (!p) return;
  switch (p->turnPhase) {
    case kPhaseBegin:
      if (!DrawPlayerRack(*p)) {
        // No rack of this bag makes a word of the required length.
        turns::ShowGameNotice(GameText(kStrNoWordFound).c_str());
        state = kStateOver;
        break;
      }
      p->BeginTurn(*this);
      p->turnPhase = kPhaseDeciding;
      FocusAndPick(*p);
      break;
    case kPhaseDeciding: {
      PlayerAction action;
      if (!Decided(*this, *p, action)) break;
      if (action.code == kActionPlay) {
        RobotMove move = action.move;
        const bool word = IsWord(move);
        if (!word) {
          turns::ShowInvalidWord(move.word);
          if (!p->moveWords.empty()) p->moveWords.front().score = 0;
        } else {
          p->score += move.score;  // as the move submission scored it
          GamePlayer::ComputeNewLetters(move, board.letters);
          p->RemoveFromRack(move.placedLetters);
          ApplyMove(move);
          RecordMove(&move);
          consecutivePasses = scorelessTurns = 0;
        }
        bool showSolution = false;
        if ((word && move.column != 0) || move.row != 0) {
          turns::ShowGameNotice(GameText(kStrFirstSquare).c_str());
          ClearBoard(*this);
          p->RetryTurn(*this);
        } else if (!word) {
          if (setup.invalidWordForfeits) {
            showSolution = true;
          } else {
            ClearBoard(*this);
            p->RetryTurn(*this);
          }
        } else if (WordOf(move) == WordOf(conundrumSolution) ||
                   move.score >= conundrumSolution.score) {
          p->turnPhase = kPhaseOver;
        } else {
          showSolution = true;
        }
        if (showSolution) {
          turns::ShowGameNotice(
              Format(kStrBestSolution, MoveText(*this, conundrumSolution)).c_str());
          ClearBoard(*this);
          ReloadBoardGrid(*this);
          p->turnPhase = kPhaseOver;
        }
      } else if (action.code == kActionPass) {
        RecordMove(nullptr);
        p->ReturnRackToBag();
        DrawPlayerRack(*p);
        p->turnPhase = kPhaseOver;
      } else if (action.code == kActionTurnLost) {
        RecordMove(nullptr);
        p->ClearPlayedWords();
        p->turnPhase = kPhaseOver;
        turns::ShowGameNotice(Format(kStrLosesTurn, p->entry.name).c_str());
      }
      break;
    }
    case kPhaseOver:
      KeepLastMove(*p, p->lastAction == kLastPlayed);
      p->EndTurn(*this);
      AdvanceTurn();
      break;
    default:
      break;
  }
}

void CGame::RunExerciseTurn() {
  GamePlayer* p = turns::StartTurnStep(*this);
  if (!p) return;
  switch (p->turnPhase) {
    case kPhaseBegin:
      if (Robot* robot = p->GetRobot(); robot && robot->IsThinking()) robot->CancelThinking();
      p->BeginTurn(*this);
      p->turnPhase = kPhaseDeciding;
      break;
    case kPhaseDeciding: {
      PlayerAction action;
      if (!Decided(*this, *p, action)) break;
      const int count = std::clamp<int32_t>(exerciseSolutionCount, 0, kMaxExerciseSolutions);
      if (action.code == kActionPlay) {
        const RobotMove& move = action.move;
        if (!IsWord(move)) {
          turns::ShowInvalidWord(move.word);
          p->RetryTurn(*this);
          break;
        }
        const bool solved =
            std::any_of(exerciseSolutions, exerciseSolutions + count, [&](const RobotMove& s) {
              return WordOf(s) == WordOf(move) && s.column == move.column && s.row == move.row;
            });
        if (solved) {
          turns::ShowGameNotice(Format(kStrIsASolution, MoveText(*this, move)).c_str());
          p->turnPhase = kPhaseOver;
        } else {
          turns::ShowGameNotice(Format(kStrNotTheSolution, MoveText(*this, move)).c_str());
          p->RetryTurn(*this);
        }
      } else if (action.code == kActionPass) {
        const std::string first = count > 0 ? MoveText(*this, exerciseSolutions[0]) : std::string();
        turns::ShowGameNotice(Format(kStrTheSolution, first).c_str());
        p->turnPhase = kPhaseOver;
      }
      break;
    }
    case kPhaseOver:
      KeepLastMove(*p, p->request == kRequestPlay);
      p->EndTurn(*this);
      p->turnPhase = kPhaseIdle;
      GetBoardViewPort().ClearGrids();
      state = kStatePaused;
      break;
    default:
      break;
  }
}
