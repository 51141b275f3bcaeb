#pragma once
// Helpers shared by the turn's source files (turns.cpp, decide.cpp,
// challenge.cpp, move_submit.cpp, player_turn.cpp).
#include <cstdint>
#include <string>

class CGame;
class GamePlayer;
struct RobotMove;
struct PlayerAction;
struct PlayerDataMessage;

namespace turns {

// The program's message box with the game's caption; returns the button.
int ShowGameNotice(const char* text, uint32_t flags = 0);
// The standard game's rack refill: every empty place drawn from the bag,
// rackCount lowered for each the bag could not fill; the dealt copy kept.
void DrawStandardRack(CGame& game, GamePlayer& player);
// Loads the game's letters into the view's board grid.
void LoadViewBoard(CGame& game);
// Loads a player's rack into the view's rack grid.
void LoadViewRack(CGame& game, const GamePlayer& player);
// True when the lexicon holds the word (leading NULs skipped).
bool IsLexiconWord(const char* word);
// A turn message of this player's decision (type, turnIndex, request, and
// its clock when clocks run).
PlayerDataMessage PrepareTurnMessage(const CGame& game, const GamePlayer& player);
// Sends it to the other players.
void SendTurnMessage(const PlayerDataMessage& message);
// Whether this machine sends messages for the player's decisions: a network
// game and a player that is not remote.
bool SendsMessagesFor(const GamePlayer& player);
// Runs the pending board action once (it is cleared first, so a handler
// may store the next one).
void RunPendingAction(CGame& game);
// The letters a move takes from the rack, square by square: a letter on an
// empty square, a blank as '`'. Kept in the move's first record.
std::string UsedLetters(const CGame& game, RobotMove& first);
// Every used letter is on the rack (as many times as it is used).
bool RackHolds(const GamePlayer& p, const std::string& used);
// "That word is not valid..." with the word.
void ShowInvalidWord(const char* word);
// The start of every turn step: runs the pending board action, then ends the
// game (state over, null) when everyone is out of time or nobody is to move;
// otherwise returns the player to move.
GamePlayer* StartTurnStep(CGame& game);
// Per-game clocks and no player with time left.
bool EveryoneOutOfTime(const CGame& game);

// A challenge within the running turn (challenge.cpp); `message` is the
// challenger's turn message when this machine sends one.
void ResolveChallenge(CGame& game, GamePlayer& challenger, const PlayerAction& action,
                      PlayerDataMessage* message);
// Takes the player's last move back: score, board, bag, rack; in the
// running turn also its history entry.
void TakeBackMove(CGame& game, GamePlayer& player, bool runningTurn);

// Debugger output through the window port.
void Debug(const char* format, ...);

}  // namespace turns
