#include "editor/channel_mask.h"

#include "song/app_state.h"

namespace qc {

namespace {

constexpr uint32_t kAllAudible = (1u << kChannels) - 1;

bool isTrack(int track) { return track >= 0 && track < kChannels; }

}  // namespace

void toggleMute(int track) {
  if (!isTrack(track)) return;
  app.editor.channelMask ^= 1u << track;
  app.editor.channelMaskChanged = true;
}

void soloTrack(int track) {
  if (!isTrack(track)) return;
  EditorState& e = app.editor;
  const uint32_t only = 1u << track;
  e.channelMask = e.channelMask == only ? kAllAudible : only;
  e.channelMaskChanged = true;
}

}  // namespace qc
