// The three envelopes of a channel's instrument and the arpeggio that rides
// on the note they give.
#pragma once

#include "playback/player_state.h"

namespace qc {

// Steps the Volume, Note and Duty/Mode envelopes one frame and recomputes
// the channel's noteIndex.
void stepEnvelopes(Player& player, int channel);
// Base note, +first digit, +second digit, again; works on noteIndex, which
// stepEnvelopes recomputes every frame, so it does not accumulate.
void stepArpeggio(ChannelState& channel);

}  // namespace qc
