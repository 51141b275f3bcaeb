// packbuild [--implode] [--adpcm EXT] <folder> <output base>
//
// Writes <output base>.idx and <output base>.dat holding every file directly
// in <folder>, named by its file name and sorted as the program's reader
// searches. --implode stores each file imploded when that makes it smaller;
// --adpcm EXT encodes files ending in EXT (16-bit mono PCM) as IMA ADPCM.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "shell/archive_writer.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: packbuild [--implode] [--adpcm EXT] <folder> <output base>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  shell::PackFolderOptions options;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--implode") == 0) {
      options.implode = true;
    } else if (std::strcmp(argv[i], "--adpcm") == 0 && i + 1 < argc) {
      options.adpcmExtension = argv[++i];
    } else if (argv[i][0] == '-') {
      return Usage();
    } else {
      args.push_back(argv[i]);
    }
  }
  if (args.size() != 2) return Usage();

  std::vector<shell::ArchiveItem> items;
  std::string error;
  const std::string idx = args[1] + ".idx";
  const std::string dat = args[1] + ".dat";
  if (!shell::CollectFolderItems(args[0].c_str(), options, &items, &error) ||
      !shell::WriteArchive(std::move(items), idx.c_str(), dat.c_str(), &error)) {
    std::fprintf(stderr, "packbuild: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
