#pragma once
// The saved-game file ("TSB_v_01"): one little-endian image of a game in
// progress (header, game block, set-up, bag, players, the duplicate
// reference player, the move-history tree) followed by the 32-bit value 4.
// Tournament files embed the same bytes after their own blocks.
//
// Writing goes through a growing buffer and a temporary file renamed over
// the old one, so a failed save leaves the previous file whole. Reading
// checks every count, index and length against the bytes present and the
// format's limits before anything is made from it; a file that fails is
// refused. The file holds no board grid: a loaded game's board is laid again
// from its history, up to the entry the game stood at.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/game_strings.h"
#include "platform/binio.h"
#include "rules/game_setup.h"

class CGame;

constexpr char kSavedGameMagic[] = "TSB_v_01";
constexpr char kCrossagramMagic[] = "CRA_v_01";
constexpr char kTournamentMagic[] = "TST_v_01";
constexpr char kAdjournedMagic[] = "ADT_v_01";
constexpr size_t kMagicSize = 9;  // the magic with its NUL
constexpr uint8_t kSavedGameFormatByte = 24;
// Separates the blocks; readers skip it without comparing.
constexpr uint32_t kBlockMarker = 0xDEADBEEF;
// The writer's work buffer: no image is larger.
constexpr size_t kSavedGameMaxImage = 6291456;
constexpr uint32_t kSavedGameTrailer = 4;  // written after the image
constexpr size_t kSavedGameMaxFile = kSavedGameMaxImage + 4;
// Records of a player's current move that a file may hold.
constexpr int kMaxStoredMoveWords = 32;

// Fixed sizes of the layout.
constexpr size_t kSavedGameSetupSize = 24844;
constexpr size_t kSavedGamePlayersOffset = 28219;

// A file's type by its magic.
enum SavedFileType : int32_t {
  kFileSavedGame = 2,
  kFileTournament = 5,
  kFileCrossagram = 17,
  kFileAdjourned = 18,
  kFileUnknown = 19,
};

// ParseSavedGame's answer for a file it refuses.
constexpr int32_t kSavedGameDamaged = -1;

// The 24844-byte set-up record as saved games and tournament files hold it;
// the reader checks every kind, mode and count it reads.
void WriteGameSetup(ByteWriter& out, const GameSetup& setup);
bool ReadGameSetup(ByteReader& in, GameSetup& setup);

// Appends the file's bytes (image and trailer). False, with `out` as it
// was, when the image would pass kSavedGameMaxImage.
bool EncodeSavedGame(const CGame& game, std::vector<uint8_t>& out);
// Writes the file: 0, or the string-table number of the failure
// (kStrCannotCreateFile, kStrCannotWriteFile).
int32_t WriteSavedGame(const char* path, const CGame& game);

// Fills a new game (made by CreateGame, not yet started) from the bytes of a
// file. Returns the history index stored with it (>= 0), or
// kSavedGameDamaged; a refused game is only fit for deleting. On success the
// rules are set up for the game, its players exist once, the history cursor
// stands where it stood when saved (held within the main line), the board
// holds the moves up to there, the clocks restart on the next update and a
// turn that was running begins again (the file keeps no turn phases).
int32_t ParseSavedGame(CGame& game, const uint8_t* data, size_t size);
// Reads and parses the file; shows the damaged-file or memory message and
// returns false on failure (silently when the file does not exist).
bool LoadSavedGameFile(const char* path, CGame& game);

int32_t DetectSavedFileType(const uint8_t* data, size_t size);
int32_t DetectSavedFileType(const char* path);
// The set-up kind stored at offset 10, or kKindNone (with the damaged-file
// message) when the file cannot be read or is too short.
int32_t ReadSavedGameHeader(const char* path);

// Reads at most `limit` bytes of a file whole; false when it cannot be
// opened or read, or is larger (`tooLarge` then set).
bool ReadFileBounded(const char* path, size_t limit, std::vector<uint8_t>& out,
                     bool* tooLarge = nullptr);

// ---------------------------------------------------------------------------
// Save-as and open, as the menus call them. What they need of the window
// side (the program's file dialog, the current room and user, the
// crossagram files of the crossagram screen, the way back to the main menu)
// comes through this port; tests install a fake. Without one every dialog
// is cancelled and no crossagram file can be read or written.

// Rooms the front-ends tell apart.
constexpr int32_t kRoomLobby = 0;
constexpr int32_t kRoomStandardGame = 1;
constexpr int32_t kRoomCrossagram = 7;

class SavedGamePort {
 public:
  virtual ~SavedGamePort() = default;
  virtual int32_t CurrentRoom() { return kRoomLobby; }
  virtual std::string CurrentUserName() { return {}; }
  virtual int32_t CurrentUserLanguage() { return 0; }
  // The program's file dialog for a SavedFileType; `name` holds the
  // proposed name and receives the chosen path. False when cancelled.
  virtual bool AskFileName(bool save, int32_t type, std::string& name) {
    (void)save;
    (void)type;
    (void)name;
    return false;
  }
  // "Writing to file ..." while the file is written.
  virtual void ShowProgress(const std::string& text) { (void)text; }
  virtual void ReturnToMainMenu() {}
  // The crossagram screen's files: 0 or a string-table number; true when
  // the game was read (players, language and name set up).
  virtual int32_t WriteCrossagramFile(const char* path, CGame& game) {
    (void)path;
    (void)game;
    return kStrCannotCreateFile;
  }
  virtual bool ReadCrossagramFile(const char* path, CGame& game) {
    (void)path;
    (void)game;
    return false;
  }
};

// Installs the port (not owned); returns the previous one. Null restores
// the default.
SavedGamePort* SetSavedGamePort(SavedGamePort* port);
SavedGamePort& GetSavedGamePort();

// Saves the game: to `path` without asking, or to a file the user picks
// (asking before replacing one). Reports the outcome; true on success.
bool SaveGameAs(const char* path, CGame& game);
// Opens a saved file of a type the current room accepts into a new game.
// The game is kept only when its first player is the current user and its
// language the user's; otherwise, and on any failure, the user is told, the
// new game is deleted and null is returned. The caller registers the game.
CGame* OpenSavedGame(const char* path);
// OpenSavedGame, then registers the game under `id`; null (nothing
// registered, the game deleted) when either step fails.
CGame* OpenAndRegisterSavedGame(const char* path, int32_t id);
