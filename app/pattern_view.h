// The pattern view: track headings, the visible rows of the pattern under the
// order cursor, the block selection, the repeat-block bar and the separators.
#pragma once

namespace qc {

void drawPatternView(int blink);

}  // namespace qc
