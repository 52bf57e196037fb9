// A panel drawn over the editor in the skin's style, with a heading bar on
// its first line: the file chooser and the help.
#pragma once

namespace qc {

void drawPanel(int x, int y, int width, int height);

}  // namespace qc
