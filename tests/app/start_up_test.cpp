#include <string>

#include "app/main_loop.h"
#include "app/skin.h"
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
  SDL_Surface* skin = loadEmbeddedSkin();
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->format->BitsPerPixel, 24);
  SDL_FreeSurface(skin);
  ASSERT_TRUE(start());
  char* title = nullptr;
  SDL_WM_GetCaption(&title, nullptr);
  EXPECT_STREQ(title, "Quillchanter");
  ASSERT_NE(surfaces.background, nullptr);
  EXPECT_EQ(surfaces.background->w, 736);
  EXPECT_EQ(surfaces.background->h, 592);
  EXPECT_EQ(app.status.text, "Ready.");
  EXPECT_EQ(app.song.envelopes[1][kVolumeEnvelope].values[0], 15);
}

TEST_F(StartUpTest, UserBackgroundBesideTheProgramReplacesTheSkinUnscaled) {
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

TEST_F(StartUpTest, UnreadableUserBackgroundFallsBackToTheSkin) {
  writeFile(userBackground(), {'n', 'o', 't', ' ', 'b', 'm', 'p'});
  EXPECT_STREQ(chooseBackground(dir.path()), "Quillchanter");
  ASSERT_NE(surfaces.background, nullptr);
  EXPECT_EQ(surfaces.background->w, 736);
}

TEST_F(StartUpTest, ModuleNamedOnTheCommandLineIsLoaded) {
  app.song.orderCount = 3;
  app.song.orders[2] = 7;
  app.song.instrumentNames[2] = "Bass";
  app.song.ntsc = true;
  ASSERT_TRUE(saveModule(dir.file("song.qcm")));
  const Bytes saved = encodeModule(app.song);
  ASSERT_TRUE(start(dir.file("song.qcm")));
  EXPECT_EQ(app.status.text, "File succesfully opened!");
  EXPECT_EQ(statusAlpha(fakeTicks), 255);  // it replaced "Ready." at once
  EXPECT_EQ(encodeModule(app.song), saved);
}

TEST_F(StartUpTest, ModuleThatCannotBeOpenedIsReportedAndLeavesTheSong) {
  const std::string text = "QuillchanterTun? not really";
  writeFile(dir.file("notes.txt"), Bytes(text.begin(), text.end()));
  for (const std::string& path : {std::string("/nonexistent/song.qcm"), dir.file("notes.txt")}) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(start(path));
    EXPECT_EQ(app.status.text, "Couldn't open file!");
    EXPECT_EQ(statusAlpha(fakeTicks), 255);
    EXPECT_EQ(app.song.orderCount, 1);
    shutDownWindow();
  }
}

TEST_F(StartUpTest, QuitEventEndsTheLoopAndKeysCarryTheirCharacter) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  handleEvent(quit);
  EXPECT_FALSE(app.running);
  SDL_keysym keysym{};
  keysym.sym = SDLK_a;
  keysym.mod = KMOD_LSHIFT;
  keysym.unicode = 'A';
  const KeyEvent key = keyEventFrom(keysym);
  EXPECT_EQ(key.sym, SDLK_a);
  EXPECT_EQ(key.mod, KMOD_LSHIFT);
  EXPECT_EQ(key.unicode, 'A');
}

}  // namespace

}  // namespace qc
