// The editor program itself in a window on a private X server, played by
// xdotool as a person would with the mouse and the keyboard.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "app/screen_layout.h"
#include "private_x_server.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/temp_dir.h"

// Last: Xlib's macros would clash with the test framework's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qc {

namespace {

using namespace std::chrono_literals;

constexpr unsigned long kWhiteRgb = 0xFFFFFF;
constexpr unsigned long kRedRgb = 0xFF0000;

std::string centre(const ScreenRect& r) {
  return std::to_string(r.x + r.width / 2) + " " + std::to_string(r.y + r.height / 2);
}

// A command's first line of output, empty when it fails.
std::string firstLine(const std::string& command) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return "";
  char line[256] = "";
  const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  std::string text = read ? line : "";
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

template <typename Done>
bool waitFor(Done done) {
  for (int i = 0; i < 200; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(25ms);
  }
  return false;
}

class EditorWindow {
 public:
  EditorWindow(const std::string& display, const std::string& folder) : display_(display) {
    pid_ = fork();
    if (pid_ == 0) {
      if (chdir(folder.c_str()) != 0) _exit(126);
      setenv("DISPLAY", display.c_str(), 1);
      setenv("SDL_VIDEODRIVER", "x11", 1);
      setenv("SDL_AUDIODRIVER", "dummy", 1);
      execl(QC_PROGRAM, QC_PROGRAM, static_cast<char*>(nullptr));
      _exit(127);
    }
    waitFor([&] { return !(window_ = xdotool("search --onlyvisible --name chanter")).empty(); });
  }
  ~EditorWindow() {
    if (pid_ > 0) kill(pid_, SIGKILL);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  bool shown() const { return !window_.empty(); }
  // True when some pixel of the box has the colour (0xRRGGBB).
  bool shows(const ScreenRect& r, unsigned long colour) const {
    Display* x = XOpenDisplay(display_.c_str());
    if (!x) return false;
    bool found = false;
    if (XImage* image = XGetImage(x, std::stoul(window_), r.x, r.y, unsigned(r.width), unsigned(r.height), AllPlanes,
                                  ZPixmap)) {
      for (int py = 0; py < r.height && !found; ++py)
        for (int px = 0; px < r.width && !found; ++px) found = (XGetPixel(image, px, py) & 0xFFFFFF) == colour;
      XDestroyImage(image);
    }
    XCloseDisplay(x);
    return found;
  }
  // xdotool's commands, chained; "@" stands for the window.
  std::string xdotool(std::string commands) const {
    for (size_t at; (at = commands.find('@')) != std::string::npos;) commands.replace(at, 1, window_);
    return firstLine("DISPLAY=" + display_ + " xdotool " + commands + " 2>/dev/null");
  }

 private:
  std::string display_;
  std::string window_;
  pid_t pid_ = -1;
};

TEST(MouseInTheWindow, NotesGoWhereThePointerPutsThemAndTheSavedModuleHasThem) {
  PrivateXServer server;
  if (server.display().empty()) GTEST_SKIP() << "no X server (Xvfb)";
  TempDir dir;
  EditorWindow editor(server.display(), dir.path());
  ASSERT_TRUE(editor.shown()) << "the editor's window did not appear";
  // Keys sent before the first frame can be lost on the way in under Xvfb.
  ASSERT_TRUE(waitFor([&] { return editor.shows(headingRect(1), kWhiteRgb); })) << "nothing drawn";
  editor.xdotool("mousemove --window @ 100 100 key Escape");
  ASSERT_TRUE(waitFor([&] { return editor.shows(ScreenRect{0, 100, 1, 1}, kRedRgb); })) << "no edit mode frame";

  const auto at = [](int track, int row) { return " mousemove --window @ " + centre(patternFieldRect(track, 0, row)); };
  editor.xdotool(at(1, 2) + " click 1 key q" + at(2, 4) + " click 1 key w" +
                 at(1, 2) + " mousedown 1" + at(2, 3) + at(2, 4) + " mouseup 1 key ctrl+c" +
                 " click --repeat 20 --delay 1 5 key ctrl+v" +  // 20 rows down: pasted at row 22
                 " mousemove --window @ " + centre(headingRect(3)) + " click 1");
  EXPECT_TRUE(waitFor([&] { return editor.shows(headingRect(3), kRedRgb); })) << "a muted track's heading is red";
  editor.xdotool("key alt+s type mouse");
  editor.xdotool("key Return");

  const std::string saved = dir.file("mouse.qcm");
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(saved); })) << "nothing saved";
  ASSERT_TRUE(loadModuleFile(saved));
  const auto note = [](int track, int row) { return app.song.patterns[0].cells[track][row].note; };
  EXPECT_EQ(note(1, 2), 37);
  EXPECT_EQ(note(2, 4), 39);
  EXPECT_EQ(note(1, 22), 37);
  EXPECT_EQ(note(2, 24), 39);
  int notes = 0;
  for (const auto& track : app.song.patterns[0].cells)
    for (const Cell& cell : track) notes += cell.note != 0;
  EXPECT_EQ(notes, 4);
}

}  // namespace

}  // namespace qc
