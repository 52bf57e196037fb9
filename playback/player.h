// Everything a user of a player needs: the Player value and its operations.
//
//   Engine engine(song.ntsc);            // chips, buffer, sub-step clock
//   Player player(song, &engine);        // or nullptr: capture only
//   startSong(player);
//   fillAudio(engine, &player, samples, count);   // or playerFrame per tick
#pragma once

#include "playback/audio_output.h"
#include "playback/channel_update.h"
#include "playback/clock_rates.h"
#include "playback/engine.h"
#include "playback/player_state.h"
#include "playback/player_tables.h"
#include "playback/register_output.h"
#include "playback/sequencer.h"
#include "playback/sub_step.h"

