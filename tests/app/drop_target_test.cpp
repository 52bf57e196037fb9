#include "app/drop_target.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "app/main_loop.h"
#include "app/module_loading.h"
#include "app/surfaces.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "private_x_server.h"
#include "tests/temp_dir.h"

// Last: Xlib's macros (None, Bool) would clash with the test framework's names.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace qc {

namespace {

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

class DroppedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    app.song.orderCount = 4;
    writeFile(dir.file("song.qcm"), encodeModule(app.song));
    writeFile(dir.file("readme.txt"), {'h', 'i'});
    resetToProgramStart();
  }
  TempDir dir;
};

TEST_F(DroppedFilesTest, OnlyTheFirstFileOpensAsAModuleWhateverItsName) {
  const std::string song = dir.file("song.qcm"), text = dir.file("readme.txt");
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

  // Drags the list over the target and drops it, pumping the target's SDL
  // events in between; true once the target has answered XdndFinished.
  bool drop(Window target, const std::string& uriList) {
    target_ = target;
    list_ = uriList;
    statusSeen_ = finishedSeen_ = dropSent_ = false;
    XSetSelectionOwner(display_, selection_, window_, CurrentTime);
    send(atom("XdndEnter"), long(5) << 24, long(uriList_), 0, 0);
    send(atom("XdndPosition"), 0, (100L << 16) | 100, CurrentTime, long(atom("XdndActionCopy")));
    for (int pass = 0; pass < 300 && !finishedSeen_; ++pass) {
      SDL_Event event;
      while (SDL_PollEvent(&event)) handleEvent(event);
      while (XPending(display_)) answer();
      if (statusSeen_ && !dropSent_) {
        send(atom("XdndDrop"), 0, CurrentTime, 0, 0);
        dropSent_ = true;
      }
      SDL_Delay(5);
    }
    return finishedSeen_;
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

// The editor's window under X11 in a child process (this one's SDL runs
// the dummy driver), with a drag source beside it. Exit code 0 is success.
int dropInWindow(const std::string& display, const TempDir& dir) {
  setenv("DISPLAY", display.c_str(), 1);
  setenv("SDL_VIDEODRIVER", "x11", 1);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 10;
  surfaces.screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, 0);
  if (!surfaces.screen) return 11;
  enableDropTarget();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWMInfo(&info) != 1) return 12;
  const Window target = info.info.x11.wmwindow;

  DragSource source(display);
  if (!source.ready()) return 13;
  if (source.awareVersion(target) != 5) return 14;

  resetToProgramStart();
  std::string uri = "file://";
  for (const char c : dir.file("my song.qcm")) uri += c == ' ' ? std::string("%20") : std::string(1, c);
  if (!source.drop(target, uri + "\r\nfile://" + dir.file("readme.txt") + "\r\n")) return 20;
  if (!source.accepted || !source.finishedAccepted) return 21;
  if (app.status.text != "File succesfully opened!" || app.song.orderCount != 4) return 22;

  if (!source.drop(target, "http://example.com/song.qcm\r\n")) return 40;
  if (source.finishedAccepted || app.status.text != "Couldn't open file!") return 41;
  return 0;
}

TEST_F(DroppedFilesTest, ModuleDraggedFromAFileManagerOpensThroughXdnd) {
  writeFile(dir.file("my song.qcm"), readFile(dir.file("song.qcm")));
  PrivateXServer server;
  if (server.display().empty()) GTEST_SKIP() << "no X server (Xvfb) to drop on";
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(dropInWindow(server.display(), dir));
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "see the return codes of dropInWindow";
}

}  // namespace

}  // namespace qc
