// Files dropped on the editor, and the program itself in a window on a private
// X server, dragged to by a file manager and played by xdotool as a person would.
#include "app/drop_target.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "app/module_loading.h"
#include "app/screen_layout.h"
#include "screen_fixture.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/temp_dir.h"

// Last: Xlib's macros (None, Bool) would clash with the test framework's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace qc {

namespace {

// An X server of our own on a free display, or none if Xvfb cannot start.
class PrivateXServer {
 public:
  PrivateXServer() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      const int devNull = open("/dev/null", O_WRONLY);
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
      const std::string fd = std::to_string(fds[1]);
      // -noreset: a server reset would announce the display again, into a closed pipe.
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-screen", "0", "800x600x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // The number and its newline come in two writes; the pipe stays open till both are in.
    std::string announced;
    pollfd ready{fds[0], POLLIN, 0};
    char chunk[16];
    while (pid_ > 0 && announced.find('\n') == std::string::npos && poll(&ready, 1, 5000) == 1) {
      const ssize_t got = read(fds[0], chunk, sizeof chunk);
      if (got <= 0) break;
      announced.append(chunk, size_t(got));
    }
    const size_t end = announced.find('\n');
    if (end != std::string::npos) display_ = announced.substr(0, end).insert(0, 1, ':');
    close(fds[0]);
  }
  ~PrivateXServer() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

TEST(DroppedUriList, FileUrisBecomeDecodedLocalPaths) {
  EXPECT_EQ(pathsFromUriList("file:///home/me/My%20Songs/t%C3%A9st.qcm\r\n"
                             "# a comment\r\n"
                             "file://localhost/tmp/a.qcm\r\n"
                             "http://example.com/b.qcm\r\n"
                             "file://elsewhere.example/c.qcm\r\n"
                             "file:/tmp/short%form.qcm\n"
                             "FILE:///tmp/upper.qcm"),
            (std::vector<std::string>{"/home/me/My Songs/t\xC3\xA9st.qcm", "/tmp/a.qcm", "/tmp/short%form.qcm",
                                      "/tmp/upper.qcm"}));
  EXPECT_TRUE(pathsFromUriList("file:///tmp/nul%00byte.qcm\r\nfile:relative.qcm").empty());
  EXPECT_TRUE(pathsFromUriList("").empty());
}

class DroppedFilesTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    app.song.orderCount = 4;
    writeFile(dir.file("my song.qcm"), encodeModule(app.song));
    writeFile(dir.file("readme.txt"), {'h', 'i'});
    resetToProgramStart();
  }
};

TEST_F(DroppedFilesTest, OnlyTheFirstFileOpensAsAModuleWhateverItsName) {
  const std::string song = dir.file("my song.qcm"), text = dir.file("readme.txt");
  const struct {
    std::vector<std::string> dropped;
    const char* status;
    int orderCount;
  } cases[] = {{{song, text, song}, "File succesfully opened!", 4},
               {{text, song}, "Couldn't open file!", 1},
               {{}, "Couldn't open file!", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dropped.size());
    resetToProgramStart();
    app.status.text.clear();
    handleDroppedFiles(c.dropped);
    EXPECT_EQ(app.status.text, c.status);
    EXPECT_EQ(app.song.orderCount, c.orderCount);
  }
}

using namespace std::chrono_literals;

template <typename Done>
bool waitFor(Done done) {
  for (int i = 0; i < 200; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(25ms);
  }
  return false;
}

// A file manager's side of XDND, on a connection of its own.
class DragSource {
 public:
  explicit DragSource(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (!display_) return;
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 10, 10, 0, 0, 0);
    selection_ = atom("XdndSelection");
    uriList_ = atom("text/uri-list");
  }
  ~DragSource() { if (display_) XCloseDisplay(display_); }
  bool ready() const { return display_ != nullptr; }

  long awareVersion(Window target) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    long version = -1;
    if (XGetWindowProperty(display_, target, atom("XdndAware"), 0, 1, False, XA_ATOM, &type, &format, &count,
                           &remaining, &data) == Success && data && count == 1)
      version = long(*reinterpret_cast<Atom*>(data));
    if (data) XFree(data);
    return version;
  }

  // Drags the list over the target and drops it; true once the target has
  // answered XdndFinished.
  bool drop(Window target, const std::string& uriList) {
    target_ = target;
    list_ = uriList;
    statusSeen_ = finishedSeen_ = dropSent_ = false;
    XSetSelectionOwner(display_, selection_, window_, CurrentTime);
    send(atom("XdndEnter"), long(5) << 24, long(uriList_), 0, 0);
    send(atom("XdndPosition"), 0, (100L << 16) | 100, CurrentTime, long(atom("XdndActionCopy")));
    return waitFor([&] {
      while (XPending(display_)) answer();
      if (statusSeen_ && !dropSent_) {
        send(atom("XdndDrop"), 0, CurrentTime, 0, 0);
        dropSent_ = true;
      }
      return finishedSeen_;
    });
  }
  bool accepted = false;
  bool finishedAccepted = false;

 private:
  Atom atom(const char* name) { return XInternAtom(display_, name, False); }

  void send(Atom type, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target_;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    const long data[5] = {long(window_), l1, l2, l3, l4};
    std::copy(data, data + 5, event.xclient.data.l);
    XSendEvent(display_, target_, False, NoEventMask, &event);
    XFlush(display_);
  }

  void answer() {
    XEvent event;
    XNextEvent(display_, &event);
    const bool yes = event.type == ClientMessage && (event.xclient.data.l[1] & 1) != 0;
    if (event.type == ClientMessage && event.xclient.message_type == atom("XdndStatus")) {
      statusSeen_ = true;
      accepted = yes;
    } else if (event.type == ClientMessage && event.xclient.message_type == atom("XdndFinished")) {
      finishedSeen_ = true;
      finishedAccepted = yes;
    } else if (event.type == SelectionRequest) {
      const XSelectionRequestEvent& request = event.xselectionrequest;
      XEvent reply{};
      reply.xselection = {SelectionNotify, 0, False, nullptr, request.requestor, request.selection,
                          request.target, None, request.time};
      if (request.target == uriList_) {
        XChangeProperty(display_, request.requestor, request.property, uriList_, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(list_.data()), int(list_.size()));
        reply.xselection.property = request.property;
      }
      XSendEvent(display_, request.requestor, False, NoEventMask, &reply);
      XFlush(display_);
    }
  }

  Display* display_ = nullptr;
  Window window_ = 0, target_ = 0;
  Atom selection_ = None, uriList_ = None;
  std::string list_;
  bool statusSeen_ = false, finishedSeen_ = false, dropSent_ = false;
};

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
  Window id() const { return std::stoul(window_); }
  // True when some pixel of the box has the colour (0xRRGGBB).
  bool shows(const ScreenRect& r, unsigned long colour) const {
    Display* x = XOpenDisplay(display_.c_str());
    if (!x) return false;
    bool found = false;
    if (XImage* image = XGetImage(x, id(), r.x, r.y, unsigned(r.width), unsigned(r.height), AllPlanes,
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

// A module dragged from a file manager, then notes put in with the mouse and
// the keys, as a person would: the module saved from the window has both.
TEST_F(DroppedFilesTest, TheRealWindowOpensADraggedModuleAndTakesNotesWhereThePointerPutsThem) {
  PrivateXServer server;
  if (server.display().empty()) GTEST_SKIP() << "no X server (Xvfb)";
  EditorWindow editor(server.display(), dir.path());
  ASSERT_TRUE(editor.shown()) << "the editor's window did not appear";
  // Keys sent before the first frame can be lost on the way in under Xvfb.
  ASSERT_TRUE(waitFor([&] { return editor.shows(headingRect(1), kWhiteRgb); })) << "nothing drawn";

  DragSource source(server.display());
  ASSERT_TRUE(source.ready());
  EXPECT_EQ(source.awareVersion(editor.id()), 5);
  const std::string uris = "file://" + dir.path() + "/my%20song.qcm\r\nfile://" + dir.file("readme.txt") + "\r\n";
  ASSERT_TRUE(source.drop(editor.id(), uris));
  EXPECT_TRUE(source.accepted && source.finishedAccepted);
  ASSERT_TRUE(source.drop(editor.id(), "http://example.com/song.qcm\r\n"));
  EXPECT_FALSE(source.finishedAccepted);

  editor.xdotool("mousemove --window @ 100 100 key Escape");
  ASSERT_TRUE(waitFor([&] { return editor.shows(ScreenRect{0, 100, 1, 1}, kRedRgb); })) << "no edit mode frame";

  const auto at = [](int track, int row) { return " mousemove --window @ " + centre(patternFieldRect(track, 0, row)); };
  editor.xdotool(at(1, 2) + " click 1 key q" + at(2, 4) + " click 1 key w" +
                 at(1, 2) + " mousedown 1" + at(2, 3) + at(2, 4) + " mouseup 1 key ctrl+c" +
                 " click --repeat 20 --delay 1 5 key ctrl+v");  // 20 rows down: pasted at row 22
  editor.xdotool("key alt+s type mouse");
  editor.xdotool("key Return");

  const std::string saved = dir.file("mouse.qcm");
  ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(saved); })) << "nothing saved";
  ASSERT_TRUE(loadModuleFile(saved));
  EXPECT_EQ(app.song.orderCount, 4) << "the dropped module was not opened";
  std::string notes;  // every note of the pattern, as track.row:note
  for (int track = 0; track < kChannels; ++track)
    for (int row = 0; row < kRows; ++row)
      if (const int note = app.song.patterns[0].cells[track][row].note)
        notes += std::to_string(track) + "." + std::to_string(row) + ":" + std::to_string(note) + " ";
  EXPECT_EQ(notes, "1.2:37 1.22:37 2.4:39 2.24:39 ");
}

}  // namespace

}  // namespace qc
