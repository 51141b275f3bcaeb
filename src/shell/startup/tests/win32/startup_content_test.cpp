// The start-up pictures and cursors the build draws load through Win32 as
// the program loads them: the busy cursor from its file, the pointers from
// cursor files and the splash pictures as DIB sections of one size.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string BuildPath(const std::string& rel) {
  std::string p = std::string("Z:") + TESS_BUILD_DIR + "/" + rel;
  for (char& c : p)
    c = c == '/' ? '\\' : c;
  return p;
}

TEST(StartupContent, CursorsAndSplashPicturesLoad) {
  for (const char* cursor : {"busy.ani", "resources/cursor3031.cur", "resources/cursor3032.cur",
                             "resources/cursor3033.cur"}) {
    HANDLE h = LoadImageA(nullptr, BuildPath(cursor).c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
    ASSERT_NE(h, nullptr) << cursor;
    DestroyCursor(static_cast<HCURSOR>(h));
  }
  for (const char* splash : {"NORV", "FENWORTH", "SPLASH"}) {
    const std::string path = BuildPath(std::string("resources/") + splash + ".bmp");
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                  LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bmp, nullptr) << splash;
    BITMAP info = {};
    GetObjectA(bmp, sizeof info, &info);
    // One size for all three: the splash window keeps the first one's.
    EXPECT_EQ(info.bmWidth, 400) << splash;
    EXPECT_EQ(info.bmHeight, 280) << splash;
    DeleteObject(bmp);
  }
}

}  // namespace
