// quillchanter --screenshot OUT.bmp [MODULE]: one frame of the editor, as it
// looks a second after start-up, rendered without a window and saved as BMP.
#pragma once

namespace qc {

inline constexpr const char* kScreenshotCommand = "--screenshot";

int runScreenshot(int argc, char** argv);

}  // namespace qc
