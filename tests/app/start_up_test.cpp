#include <string>

#include "app/main_loop.h"
#include "app/start_up.h"
#include "editor/status_line.h"
#include "screen_fixture.h"
#include "song/module_file.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

class StartUpTest : public ScreenTest {
 protected:
  void TearDown() override {
    shutDownWindow();
    ScreenTest::TearDown();
  }
  static bool start(const std::string& module = "") {
    char* args[] = {const_cast<char*>("quillchanter"), const_cast<char*>(module.c_str()), nullptr};
    return startUp(module.empty() ? 1 : 2, args);
  }
  std::string userBackground() const { return dir.file("user-background.bmp"); }
  TempDir dir;
};

TEST_F(StartUpTest, FreshStartShowsTheEmbeddedSkinAndReady) {
  ASSERT_TRUE(start());
  char* title = nullptr;
  SDL_WM_GetCaption(&title, nullptr);
  EXPECT_STREQ(title, "Quillchanter");
  ASSERT_NE(surfaces.background, nullptr);
  EXPECT_EQ(surfaces.background->w, 736);
  EXPECT_EQ(surfaces.background->h, 592);
  EXPECT_EQ(app.status.text, "Ready.");
}

TEST_F(StartUpTest, UserBackgroundBesideTheProgramReplacesTheSkinUnscaledUnlessUnreadable) {
  writeFile(userBackground(), {'n', 'o', 't', ' ', 'b', 'm', 'p'});
  EXPECT_STREQ(chooseBackground(dir.path()), "Quillchanter");
  ASSERT_NE(surfaces.background, nullptr);
  EXPECT_EQ(surfaces.background->w, 736);
  SDL_FreeSurface(surfaces.background);

  SDL_Surface* bitmap = SDL_CreateRGBSurface(SDL_SWSURFACE, 100, 50, 24, 0, 0, 0, 0);
  SDL_FillRect(bitmap, nullptr, SDL_MapRGB(bitmap->format, 10, 200, 30));
  ASSERT_EQ(SDL_SaveBMP(bitmap, userBackground().c_str()), 0);
  SDL_FreeSurface(bitmap);
  EXPECT_STREQ(chooseBackground(dir.path()), "Qxxxxchanter");
  ASSERT_NE(surfaces.background, nullptr);
  drawBackground();
  EXPECT_EQ(pixel(99, 49), (Rgb{10, 200, 30}));
  EXPECT_EQ(pixel(100, 49), (Rgb{0, 0, 0}));
  EXPECT_EQ(pixel(99, 50), (Rgb{0, 0, 0}));
}

TEST_F(StartUpTest, ModuleNamedOnTheCommandLineIsLoaded) {
  app.song.orderCount = 3;
  ASSERT_TRUE(saveModule(dir.file("song.qcm")));
  ASSERT_TRUE(start(dir.file("song.qcm")));
  EXPECT_EQ(app.status.text, "File succesfully opened!");
  EXPECT_EQ(statusAlpha(fakeTicks), 255);  // it replaced "Ready." at once
  EXPECT_EQ(app.song.orderCount, 3);
}

TEST_F(StartUpTest, QuitEventEndsTheLoop) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  handleEvent(quit);
  EXPECT_FALSE(app.running);
}

}  // namespace

}  // namespace qc
