// The player the musician hears: app.player playing app.song into
// app.engine, steered by the editor. The audio device calls fillLiveAudio;
// everything else goes through the operations here, on the main thread,
// each under the audio lock.
#pragma once

#include <cstdint>
#include <optional>

#include "song/song.h"

namespace qc {

// A fresh live player over app.song, following the cursor.
void resetLivePlayer();
// The engine for the song's standard, the player reset: start-up.
void initLivePlayback();
// The audio device's callback: the editor's options, then fillAudio.
void fillLiveAudio(int16_t* destination, int count);

// Transport, from the editor's order cursor and cursor row.
void playSong();
void playFromCursor();
void stopPlayback();
void resetPlayer();
bool isPlaying();
struct PlayingRow {
  int32_t order;
  int32_t row;
};
// Where playback is, or nothing while stopped.
std::optional<PlayingRow> playingRow();

// The song's standard changed: the audio thread sets the clock again.
void requestClockChange();
// A module replaces the song: playback stops before, and the player starts
// over at the top with a new song's speed and tempo after.
void haltForLoad();
void rewindForNewSong();

// The editor's note preview on a tone channel.
void previewNote(int channel, const Cell& cell);
// Releases the preview on the cursor track.
void silenceCursorChannel();

}  // namespace qc
