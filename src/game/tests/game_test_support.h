#pragma once
// Helpers shared by the game layer's tests: move records, a dense fixture
// lexicon and the engine set-up a suite of whole games needs.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/lexicon.h"
#include "game/game.h"
#include "game/robot_factory.h"
#include "engine/robot_job.h"
#include "rules/robot_move.h"
#include "lexicon_fixture.h"
#include "game/player_robot.h"
#include "platform/path.h"

namespace gametest {

inline RobotMove Move(const char* word, int32_t score, uint8_t column, uint8_t row,
                      bool down = false) {
  RobotMove m;
  std::strncpy(m.word, word, kMoveWordSize - 1);
  m.score = score;
  m.column = column;
  m.row = row;
  m.direction = down ? 1 : 0;
  m.length = static_cast<uint8_t>(std::strlen(word));
  return m;
}

// Every string of two and three letters is a word, longer ones are not: any
// placement of two or three letters stands and any four letters are false.
inline std::vector<LexSourceWord> DenseWords() {
  std::vector<LexSourceWord> w;
  for (char a = 'a'; a <= 'z'; ++a)
    for (char b = 'a'; b <= 'z'; ++b) {
      w.push_back({std::string{a, b}, 3, false, {}});
      for (char c = 'a'; c <= 'z'; ++c)
        w.push_back({std::string{a, b, c}, 3, false, {}});
    }
  return w;
}

// Robots for computer players, the worker pool and the dense lexicon loaded
// as the English one; EndEngine undoes it.
inline void StartEngine(const char* fixtureName) {
  InstallPlayerRobotFactory();
  RobotWorkerPool().Start();
  const std::string folder = lexfix::Folder(fixtureName);
  lexfix::WriteLexicon(folder, DenseWords(), kLanguageEnglish, false);
  lexfix::LoadGlobal(folder, kLanguageEnglish);
}

// The same with the program's English lexicon from the build folder; false
// (no lexicon loaded) when the build has not made it.
inline bool StartEngineWithBuiltLexicon() {
  InstallPlayerRobotFactory();
  RobotWorkerPool().Start();
  const std::string main = platform::JoinPath(TESS_BUILD_DIR, Lexicon::MainGraphName(0));
  if (!platform::FileExists(main.c_str())) return false;
  lexfix::LoadGlobal(TESS_BUILD_DIR, kLanguageEnglish);
  return true;
}

inline void EndEngine() {
  DestroyLexicon();
  RobotWorkerPool().Stop();
  SetPlayerRobotFactory(PlayerRobotFactory());
}

// A running standard game of two local humans on the standard rules.
inline std::unique_ptr<CGame> TwoHumanGame() {
  auto game = std::make_unique<CGame>();
  game->setup.kind = kKindStandard;
  PlayerSetupEntry e;
  e.playerType = kPlayerHuman;
  game->setup.AddPlayer(e);
  game->setup.AddPlayer(e);
  game->rules->Setup(0, 7, &game->setup);
  game->CreatePlayers();
  game->state = kStateTurnRunning;
  return game;
}

}  // namespace gametest
