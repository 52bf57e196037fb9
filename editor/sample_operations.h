// Raw-sample operations. Sample bytes are freed and replaced under the audio
// lock: the audio thread may be streaming them.
#pragma once

namespace qc {

enum class SliceResult { Sliced, EmptySlot, TooShort, NoFreeSlots };

// Frees every slot that no used pattern's PCM track names (slot 0 counts as
// named once any pattern is in use); reports the count on standard output.
int stripUnusedSamples();
// Copies the two halves of the current sample into the first two free slots
// of 1..255, named 0#name and 1#name; the source stays as it is.
SliceResult sliceSample();
void removeSample();
// False when the current slot holds no sample.
bool toggleSampleLoop();

}  // namespace qc
