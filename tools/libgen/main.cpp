// libgen <program folder> <output folder> [games]
//
// Plays whole standard games between two computer players of different
// strengths on the program's English lexicon (from <program folder>) and
// writes each as a classic-games record (<output folder>/game_NN.txt). The
// seeds are fixed, so the records are the same on every build.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/lexicon.h"
#include "engine/robot.h"
#include "engine/robot_job.h"
#include "engine/robot_settings.h"
#include "game/game.h"
#include "game/library_record.h"
#include "game/robot_factory.h"
#include "platform/crand.h"
#include "platform/path.h"
#include "platform/sync.h"

namespace {

// Opponents from a learner to the full lexicon.
RobotSettings Strength(int level) {
  RobotSettings s;
  static const int kWordLevels[] = {3, 5, 7, -1};
  s.maxWordLevel = kWordLevels[level % 4];
  return s;
}

const char* kNames[] = {"Pip", "Mina", "Theo", "Greta"};

bool PlayGame(int index, std::string* record) {
  platform::SeedRandom(static_cast<uint32_t>(1000 + index));
  CGame* game = CreateGame();
  if (!game) return false;
  game->setup.kind = kKindStandard;
  game->setup.language = 0;
  for (int p = 0; p < 2; ++p) {
    PlayerSetupEntry e;
    e.playerType = kPlayerComputer;
    const int level = (index + p * 2) % 4;
    std::snprintf(e.name, sizeof e.name, "%s", kNames[level]);
    SettingsToOptions(Strength(level), e.options);
    game->setup.AddPlayer(e);
  }
  game->StartNewGame();
  int32_t state = game->state;
  for (int frame = 0; frame < 2000000 && state != kStateOver; ++frame) {
    state = game->Update();
    if (GamePlayer* p = game->currentPlayer; p && p->GetRobot() && p->GetRobot()->IsThinking())
      platform::SleepMs(1);
  }
  const bool over = state == kStateOver;
  if (over) {
    const std::string name =
        std::string(game->Player(0)->entry.name) + " against " + game->Player(1)->entry.name;
    *record = FormatLibraryRecord(*game, name, "1-" + std::to_string(index + 1) + "-2026");
  }
  game->StopGame();
  DeleteGame(game);
  return over;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: libgen <program folder> <output folder> [games]\n");
    return 2;
  }
  const int games = argc > 3 ? std::atoi(argv[3]) : 8;
  Lexicon* lexicon = CreateLexicon(kLanguageEnglish);
  lexicon->SetProgramFolder(argv[1]);
  if (!lexicon->Load(kLanguageEnglish, 0)) {
    std::fprintf(stderr, "libgen: no English lexicon in %s\n", argv[1]);
    return 1;
  }
  InstallPlayerRobotFactory();
  RobotWorkerPool().Start();
  platform::MakeDirectory(argv[2]);
  int written = 0;
  for (int i = 0; i < games; ++i) {
    std::string record;
    if (!PlayGame(i, &record)) continue;
    char file[32];
    std::snprintf(file, sizeof file, "game_%02d.txt", i + 1);
    std::ofstream out(platform::NativePath(platform::JoinPath(argv[2], file).c_str()),
                      std::ios::binary);
    out << record;
    written += out.good() ? 1 : 0;
  }
  RobotWorkerPool().Stop();
  DestroyLexicon();
  std::printf("libgen: %d records\n", written);
  return written == games ? 0 : 1;
}
