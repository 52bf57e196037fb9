// The file chooser drawn over the editor, in the panel style of the skin.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/file_chooser.h"
#include "app/screen_layout.h"

namespace qc {

// Screen line of the first entry; entries follow one a line.
inline constexpr int kChooserFirstEntryLine = 5;

void drawFileChooser(const FileChooser& chooser, uint32_t ticks);
// The place on screen of the entry drawn `row` lines below the first.
ScreenRect chooserEntryRect(int row);
// The row of the list under the pointer, none outside it.
std::optional<int> chooserRowAt(int x, int y);

// The text as the 8-bit font can show it in at most `columns` characters:
// each non-ASCII character becomes '?', and a long text keeps its end
// behind "..." when `keepEnd` is set, else its start before "...".
std::string fitText(std::string_view text, int columns, bool keepEnd = false);

}  // namespace qc
