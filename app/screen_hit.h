// What lies under the pointer: the boxes of screen_layout read backwards,
// with the gaps between fields given to the field before them.
#pragma once

#include <optional>

namespace qc {

struct PatternPoint {
  int track = 0;
  int column = 0;
  int line = 0;  // 0 is the first pattern row on screen
  bool operator==(const PatternPoint&) const = default;
};

struct EnvelopePoint {
  int kind = 0;
  std::optional<int> shown;  // the step's place among those on screen; none on the label
  bool operator==(const EnvelopePoint&) const = default;
};

enum class Panel { None, Pattern, OrderList, InstrumentList, InstrumentEditor };

// The panel under the pointer, by the character cells each one owns.
Panel panelAt(int x, int y);
std::optional<int> headingAt(int x, int y);
std::optional<PatternPoint> patternFieldAt(int x, int y);
// The track under or nearest to x, for a drag that leaves the pattern view.
int trackAtX(int x);
std::optional<int> orderEntryAt(int x, int y);
std::optional<int> instrumentEntryAt(int x, int y);
std::optional<EnvelopePoint> envelopeAt(int x, int y);

}  // namespace qc
