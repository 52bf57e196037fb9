// Files dropped on the window from a file manager. On X11 the window takes
// the receiving side of the XDND protocol (version 5) through SDL's
// window-system events and hands the dropped paths to handleDroppedFiles;
// under any other window system it is simply no drop target.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct SDL_SysWMmsg;

namespace qc {

// After the video mode is set: marks the window XdndAware and turns on
// SDL's window-system events.
void enableDropTarget();
// One window-system event from the main loop.
void handleWindowSystemEvent(const SDL_SysWMmsg& message);

// The local paths named by a text/uri-list: "file:" URIs with %XX escapes
// decoded, in order; comments, other schemes and remote hosts are left out.
std::vector<std::string> pathsFromUriList(std::string_view uriList);

}  // namespace qc
