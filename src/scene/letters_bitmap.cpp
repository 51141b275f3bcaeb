#include "scene/letters_bitmap.h"

#include <string>

#include "game/ui_port.h"
#include "platform/path.h"
#include "shell/app_context.h"
#include "shell/bitmap_file.h"

namespace scene {

namespace {

// A letters picture is a few dozen kilobytes; anything far larger is not one.
constexpr uint64_t kMaxLettersFile = 4u << 20;

std::vector<uint8_t> g_letters;

}  // namespace

bool LoadLettersBitmap() {
  FreeLettersBitmap();
  const char* skin = shell::GetSkinFolder();
  if (!skin) return false;
  const bool french = GetGameUiPort().CurrentUserLanguage() == 1;
  const std::string path = platform::JoinPath(skin, french ? "letters_fr.bmp" : "letters.bmp");
  std::vector<uint8_t> file;
  if (platform::ReadFileBounded(path.c_str(), kMaxLettersFile, file) != platform::ReadStatus::kOk)
    return false;
  auto dib = shell::BitmapFileToPackedDib(file.data(), file.size());
  if (!dib) return false;
  g_letters = std::move(*dib);
  return true;
}

void FreeLettersBitmap() {
  g_letters.clear();
  g_letters.shrink_to_fit();
}

const std::vector<uint8_t>& GetLettersBitmap() { return g_letters; }

}  // namespace scene
