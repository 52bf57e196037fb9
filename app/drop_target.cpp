#include "app/drop_target.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>

#include "app/module_loading.h"

namespace qc {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// False for a path that would hold a NUL byte.
bool percentDecode(std::string_view text, std::string& out) {
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? hexValue(text[i + 2]) : -1;
    if (low < 0) {
      out += text[i];
      continue;
    }
    if (high == 0 && low == 0) return false;
    out += char(high * 16 + low);
    i += 2;
  }
  return true;
}

bool isLocalHost(std::string_view host) {
  if (host.empty() || host == "localhost") return true;
  char name[HOST_NAME_MAX + 1] = {};
  return gethostname(name, sizeof name - 1) == 0 && host == name;
}

bool localPathOf(std::string_view uri, std::string& path) {
  constexpr std::string_view kScheme = "file:";
  if (uri.size() < kScheme.size() ||
      !std::equal(kScheme.begin(), kScheme.end(), uri.begin(),
                  [](char a, char b) { return a == std::tolower(uint8_t(b)); })) {
    return false;
  }
  uri.remove_prefix(kScheme.size());
  if (uri.starts_with("//")) {
    uri.remove_prefix(2);
    const size_t slash = uri.find('/');
    if (slash == std::string_view::npos || !isLocalHost(uri.substr(0, slash))) return false;
    uri.remove_prefix(slash);
  }
  if (!uri.starts_with('/')) return false;
  return percentDecode(uri, path);
}

}  // namespace

std::vector<std::string> pathsFromUriList(std::string_view uriList) {
  std::vector<std::string> paths;
  while (!uriList.empty()) {
    const size_t end = std::min(uriList.find('\n'), uriList.size());
    std::string_view line = uriList.substr(0, end);
    uriList.remove_prefix(std::min(end + 1, uriList.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    std::string path;
    if (!line.starts_with('#') && localPathOf(line, path)) paths.push_back(std::move(path));
  }
  return paths;
}

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

constexpr long kXdndVersion = 5;

struct DropTarget {
  Display* display = nullptr;
  Window window = 0;
  void (*lock)() = nullptr;
  void (*unlock)() = nullptr;
  Atom aware, enter, position, status, leave, drop, finished, selection, actionCopy, typeList, uriList, property;
  Window source = 0;
  long version = 0;
  bool offersUris = false;
};

DropTarget target;

class DisplayLock {
 public:
  DisplayLock() {
    if (target.lock) target.lock();
  }
  ~DisplayLock() {
    if (target.unlock) target.unlock();
  }
  DisplayLock(const DisplayLock&) = delete;
  DisplayLock& operator=(const DisplayLock&) = delete;
};

void internAtoms() {
  Display* d = target.display;
  target.aware = XInternAtom(d, "XdndAware", False);
  target.enter = XInternAtom(d, "XdndEnter", False);
  target.position = XInternAtom(d, "XdndPosition", False);
  target.status = XInternAtom(d, "XdndStatus", False);
  target.leave = XInternAtom(d, "XdndLeave", False);
  target.drop = XInternAtom(d, "XdndDrop", False);
  target.finished = XInternAtom(d, "XdndFinished", False);
  target.selection = XInternAtom(d, "XdndSelection", False);
  target.actionCopy = XInternAtom(d, "XdndActionCopy", False);
  target.typeList = XInternAtom(d, "XdndTypeList", False);
  target.uriList = XInternAtom(d, "text/uri-list", False);
  target.property = XInternAtom(d, "QUILLCHANTER_DROP", False);
}

void sendToSource(Atom type, long l1, long l2, long l3, long l4) {
  XEvent reply{};
  reply.xclient.type = ClientMessage;
  reply.xclient.display = target.display;
  reply.xclient.window = target.source;
  reply.xclient.message_type = type;
  reply.xclient.format = 32;
  reply.xclient.data.l[0] = long(target.window);
  reply.xclient.data.l[1] = l1;
  reply.xclient.data.l[2] = l2;
  reply.xclient.data.l[3] = l3;
  reply.xclient.data.l[4] = l4;
  XSendEvent(target.display, target.source, False, NoEventMask, &reply);
  XFlush(target.display);
}

// More than three types sit in the source's XdndTypeList property.
bool sourceOffersUris(const XClientMessageEvent& enter) {
  if ((enter.data.l[1] & 1) == 0) {
    return std::any_of(enter.data.l + 2, enter.data.l + 5, [](long type) { return Atom(type) == target.uriList; });
  }
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(target.display, target.source, target.typeList, 0, LONG_MAX / 4, False, XA_ATOM,
                         &actualType, &format, &count, &remaining, &data) == Success &&
      actualType == XA_ATOM && format == 32 && data) {
    const Atom* types = reinterpret_cast<const Atom*>(data);
    found = std::find(types, types + count, target.uriList) != types + count;
  }
  if (data) XFree(data);
  return found;
}

void finishDrop(bool accepted) {
  sendToSource(target.finished, accepted ? 1 : 0, accepted ? long(target.actionCopy) : long(None), 0, 0);
  target.source = 0;
  target.offersUris = false;
}

void clientMessage(const XClientMessageEvent& message) {
  if (message.message_type == target.enter) {
    target.source = Window(message.data.l[0]);
    target.version = (message.data.l[1] >> 24) & 0xFF;
    target.offersUris = sourceOffersUris(message);
  } else if (message.message_type == target.position) {
    target.source = Window(message.data.l[0]);
    // An empty rectangle: every move is reported.
    sendToSource(target.status, target.offersUris ? 1 : 0, 0, 0,
                 target.offersUris ? long(target.actionCopy) : long(None));
  } else if (message.message_type == target.leave) {
    target.source = 0;
    target.offersUris = false;
  } else if (message.message_type == target.drop) {
    target.source = Window(message.data.l[0]);
    if (!target.offersUris) {
      finishDrop(false);
      return;
    }
    const Time time = target.version >= 1 ? Time(message.data.l[2]) : CurrentTime;
    XConvertSelection(target.display, target.selection, target.uriList, target.property, target.window, time);
    XFlush(target.display);
  }
}

// The selection's contents, converted by the source into our property.
std::string takeDroppedList(const XSelectionEvent& event) {
  std::string list;
  if (event.property == None) return list;
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(target.display, target.window, event.property, 0, LONG_MAX / 4, True, AnyPropertyType,
                         &actualType, &format, &count, &remaining, &data) == Success &&
      format == 8 && data) {
    list.assign(reinterpret_cast<const char*>(data), count);
  }
  if (data) XFree(data);
  return list;
}

}  // namespace

void enableDropTarget() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11) return;
  target = DropTarget{};
  target.display = info.info.x11.display;
  target.window = info.info.x11.wmwindow;
  target.lock = info.info.x11.lock_func;
  target.unlock = info.info.x11.unlock_func;
  {
    DisplayLock lock;
    internAtoms();
    const long version = kXdndVersion;
    XChangeProperty(target.display, target.window, target.aware, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&version), 1);
    XFlush(target.display);
  }
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

void handleWindowSystemEvent(const SDL_SysWMmsg& message) {
  if (!target.display || message.subsystem != SDL_SYSWM_X11) return;
  const XEvent& event = message.event.xevent;
  if (event.type == ClientMessage) {
    DisplayLock lock;
    clientMessage(event.xclient);
  } else if (event.type == SelectionNotify) {
    std::vector<std::string> paths;
    {
      DisplayLock lock;
      if (event.xselection.requestor != target.window || event.xselection.selection != target.selection ||
          target.source == 0) {
        return;
      }
      paths = pathsFromUriList(takeDroppedList(event.xselection));
      finishDrop(!paths.empty());
    }
    handleDroppedFiles(paths);
  }
}

#else

void enableDropTarget() {}
void handleWindowSystemEvent(const SDL_SysWMmsg&) {}

#endif

}  // namespace qc
