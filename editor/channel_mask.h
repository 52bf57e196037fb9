// Muting and soloing a track (Ctrl+M and Ctrl+S on the cursor's track).
#pragma once

namespace qc {

void toggleMute(int track);
// Only this track audible; on a track already alone, all of them again.
void soloTrack(int track);

}  // namespace qc
