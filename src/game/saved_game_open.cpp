// Save-as and open: the prompts, the checks on the room, profile and
// language, and the messages around the saved-game file.
#include <cctype>
#include <memory>
#include <string>

#include "game/game.h"
#include "game/game_info.h"
#include "game/game_strings.h"
#include "game/saved_game.h"
#include "game/session_registry.h"
#include "game/ui_port.h"
#include "platform/message_sink.h"
#include "platform/path.h"

namespace {

// Message box flags: buttons and icons.
constexpr uint32_t kBoxYesNo = 4;
constexpr uint32_t kIconStop = 0x10;
constexpr uint32_t kIconQuestion = 0x20;

SavedGamePort g_defaultPort;
SavedGamePort* g_port = &g_defaultPort;

int Notice(const std::string& text, uint32_t flags = 0) {
  return platform::ShowNotice(text.c_str(), kGameMessageCaption, flags);
}

// The text of a string-table number the file code answered with.
std::string ResultText(int32_t id) { return GameText(static_cast<uint32_t>(id)); }

// "<kind's word> <today>", as the save dialog proposes it.
std::string ProposedName(int32_t kind) {
  std::string word;
  if (kind == kKindStandard) word = GameText(kStrClassic);
  if (kind == kKindDuplicate) word = GameText(kStrDuplicate);
  if (kind == kKindCrossagram) word = GameText(kStrCrossagrams);
  char date[32];
  FormatDateText(date, sizeof date);
  return word + " " + date;
}

// Asks for a file to save into until the user picks a new one or agrees to
// replace an old one; false when cancelled.
bool ChooseSaveFile(int32_t type, int32_t kind, std::string& path) {
  SavedGamePort& port = GetSavedGamePort();
  std::string name = ProposedName(kind);
  for (;;) {
    std::string chosen = name;
    if (!port.AskFileName(true, type, chosen)) return false;
    if (!platform::FileExists(chosen.c_str())) {
      path = chosen;
      return true;
    }
    const std::string question = GameText(kStrReplace) + "\"" + chosen + "\"?";
    if (Notice(question, kBoxYesNo | kIconQuestion) == platform::kResultYes) {
      path = chosen;
      return true;
    }
    name = chosen;
  }
}

bool RoomAccepts(int32_t room, int32_t type) {
  if (room == kRoomLobby)
    return type == kFileSavedGame || type == kFileCrossagram || type == kFileTournament;
  if (room == kRoomCrossagram) return type == kFileCrossagram;
  return type == kFileSavedGame;
}

// Windows compares user names without regard to case.
bool SameName(const char* a, const std::string& b) {
  size_t i = 0;
  for (; a[i] && i < b.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return a[i] == 0 && i == b.size();
}

// Reads the file into the new game by its type; false on any failure.
bool LoadByType(const char* path, int32_t type, CGame& game) {
  const int32_t kind = ReadSavedGameHeader(path);
  if (type == kFileSavedGame)
    return (kind == kKindStandard || kind == kKindDuplicate) && LoadSavedGameFile(path, game);
  if (type == kFileCrossagram)
    return kind == kKindCrossagram && GetSavedGamePort().ReadCrossagramFile(path, game);
  return false;
}

}  // namespace

SavedGamePort* SetSavedGamePort(SavedGamePort* port) {
  SavedGamePort* previous = g_port == &g_defaultPort ? nullptr : g_port;
  g_port = port ? port : &g_defaultPort;
  return previous;
}

SavedGamePort& GetSavedGamePort() { return *g_port; }

bool SaveGameAs(const char* path, CGame& game) {
  SavedGamePort& port = GetSavedGamePort();
  int32_t type = kFileSavedGame;
  std::string file;
  if (path) {
    file = path;
  } else {
    if (port.CurrentRoom() == kRoomCrossagram) type = kFileCrossagram;
    if (!ChooseSaveFile(type, game.Kind(), file)) return false;
  }
  port.ShowProgress(GameText(kStrWritingToFile) + " " + file + "...");
  const int32_t result = type == kFileSavedGame ? WriteSavedGame(file.c_str(), game)
                                                : port.WriteCrossagramFile(file.c_str(), game);
  if (result != 0) {
    Notice(ResultText(result) + " " + file + ".");
    return false;
  }
  Notice(GameText(kStrSaveComplete));
  return true;
}

CGame* OpenSavedGame(const char* path) {
  SavedGamePort& port = GetSavedGamePort();
  const int32_t room = port.CurrentRoom();
  const int32_t expected = room == kRoomCrossagram ? kFileCrossagram : kFileSavedGame;
  std::string file = path ? path : "";
  if (!path && !port.AskFileName(false, expected, file)) return nullptr;

  const int32_t type = DetectSavedFileType(file.c_str());
  if (!RoomAccepts(room, type)) {
    Notice(GameText(kStrNotValidFile), kIconStop);
    if (room != kRoomLobby) port.ReturnToMainMenu();
    return nullptr;
  }

  std::unique_ptr<CGame> game(CreateGame());
  if (!game || !LoadByType(file.c_str(), type, *game)) return nullptr;
  const GameSetup& s = game->setup;
  if (s.GetPlayerCount() < 1 || !SameName(s.entries[0].name, port.CurrentUserName())) {
    Notice(GameText(kStrOtherProfile));
    return nullptr;
  }
  if (s.language != port.CurrentUserLanguage()) {
    Notice(GameText(kStrLoadOtherLanguage));
    return nullptr;
  }
  return game.release();
}

CGame* OpenAndRegisterSavedGame(const char* path, int32_t id) {
  std::unique_ptr<CGame> game(OpenSavedGame(path));
  if (!game || RegisterGame(game.get(), id) != kRegistered) return nullptr;
  return game.release();
}
