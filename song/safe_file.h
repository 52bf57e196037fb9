// Writing a file without ever destroying the previous one.
//
// The bytes go to a new file beside the target, nameless until it is complete
// where the file system allows (so a killed writer leaves nothing), else a
// named temporary; every write, the flush, the sync to disk and the close are
// checked, and only then is the temporary renamed over the target. Any
// failure removes the temporary, leaves the old file exactly as it was and
// returns false, with errno telling why. A target that exists but is no
// regular file (a FIFO, a device, a folder) is refused: errno EEXIST, or
// EISDIR for a folder. Temporaries of earlier saves of the same target whose
// process is gone are removed, and the folder is synced after the rename.
// Every writer in the program saves through here: build the whole file in
// memory and call the first form, or stream it from a callback with the
// second.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>

namespace qc {

bool writeFileSafely(const std::string& path, std::span<const uint8_t> bytes);

// The callback writes the file's contents to the open stream and returns
// false if it could not; short writes it does not check are caught anyway,
// since the stream's error flag is tested before the rename.
bool writeFileSafely(const std::string& path, const std::function<bool(std::FILE*)>& writeContents);

}  // namespace qc
