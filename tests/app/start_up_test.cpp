#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/main_loop.h"
#include "app/skin.h"
#include "app/start_up.h"
#include "editor/status_line.h"
#include "song/module_file.h"
#include "screen_fixture.h"

namespace {

class StartUpTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    directory = std::filesystem::temp_directory_path() /
                ("qc-skin-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(directory);
  }
  void TearDown() override {
    std::filesystem::remove_all(directory);
    shutDownWindow();
    ScreenTest::TearDown();
  }
  std::filesystem::path userBackground() const { return directory / "user-background.bmp"; }
  std::filesystem::path directory;
  static bool start(const char* module = nullptr) {
    char* args[] = {const_cast<char*>("quillchanter"), const_cast<char*>(module), nullptr};
    return startUp(module ? 2 : 1, args);
  }
  static std::string caption() {
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    return title ? title : "";
  }
};

TEST_F(StartUpTest, EmbeddedSkinIsA736By592Bitmap) {
  SDL_Surface* skin = loadEmbeddedSkin();
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->w, 736);
  EXPECT_EQ(skin->h, 592);
  EXPECT_EQ(skin->format->BitsPerPixel, 24);
  SDL_FreeSurface(skin);
}

TEST_F(StartUpTest, FreshStartShowsTheSkinAndReady) {
  ASSERT_TRUE(start());
  EXPECT_EQ(caption(), "Quillchanter");
  ASSERT_NE(surfaces.background, nullptr);
  EXPECT_EQ(surfaces.background->w, 736);
  EXPECT_EQ(app.status.text, "Ready.");
  EXPECT_EQ(app.song.envelopes[1][kVolumeEnvelope].values[0], 15);
}

TEST_F(StartUpTest, UserBackgroundBesideTheProgramReplacesTheSkinUnscaled) {
  SDL_Surface* bitmap = SDL_CreateRGBSurface(SDL_SWSURFACE, 100, 50, 24, 0, 0, 0, 0);
  SDL_FillRect(bitmap, nullptr, SDL_MapRGB(bitmap->format, 10, 200, 30));
  ASSERT_EQ(SDL_SaveBMP(bitmap, userBackground().c_str()), 0);
  SDL_FreeSurface(bitmap);
  EXPECT_STREQ(chooseBackground(directory), "Qxxxxchanter");
  ASSERT_NE(surfaces.background, nullptr);
  drawBackground();
  EXPECT_EQ(pixel(99, 49), (Rgb{10, 200, 30}));
  EXPECT_EQ(pixel(100, 49), (Rgb{0, 0, 0}));
  EXPECT_EQ(pixel(99, 50), (Rgb{0, 0, 0}));
}

TEST_F(StartUpTest, UnreadableUserBackgroundFallsBackToTheSkin) {
  std::FILE* f = std::fopen(userBackground().c_str(), "wb");
  std::fputs("not a bitmap", f);
  std::fclose(f);
  EXPECT_STREQ(chooseBackground(directory), "Quillchanter");
  ASSERT_NE(surfaces.background, nullptr);
  EXPECT_EQ(surfaces.background->w, 736);
}

TEST_F(StartUpTest, ModuleThatCannotBeOpenedIsReported) {
  ASSERT_TRUE(start("/nonexistent/song.qcm"));
  EXPECT_EQ(app.status.text, "Couldn't open file!");
  EXPECT_EQ(statusAlpha(fakeTicks), 255);  // it replaced "Ready." at once
}

TEST_F(StartUpTest, ModuleNamedOnTheCommandLineIsLoaded) {
  app.song.orderCount = 3;
  app.song.orders[2] = 7;
  app.song.instrumentNames[2] = "Bass";
  app.song.ntsc = true;
  const std::filesystem::path module = directory / "song.qcm";
  ASSERT_TRUE(saveModule(module.string()));
  ASSERT_TRUE(start(module.c_str()));
  EXPECT_EQ(app.status.text, "File succesfully opened!");
  EXPECT_EQ(statusAlpha(fakeTicks), 255);
  EXPECT_EQ(app.song.orderCount, 3);
  EXPECT_EQ(app.song.orders[2], 7);
  EXPECT_EQ(app.song.instrumentNames[2], "Bass");
  EXPECT_TRUE(app.song.ntsc);
}

TEST_F(StartUpTest, FileThatIsNotAModuleIsReportedAndLeavesTheSong) {
  const std::filesystem::path text = directory / "notes.txt";
  std::FILE* f = std::fopen(text.c_str(), "wb");
  std::fputs("QuillchanterTun? not really", f);
  std::fclose(f);
  ASSERT_TRUE(start(text.c_str()));
  EXPECT_EQ(app.status.text, "Couldn't open file!");
  EXPECT_EQ(app.song.orderCount, 1);
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
