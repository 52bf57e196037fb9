// Runs a song's cartridge image in the test console, and the editor's own
// player as the cartridge's reference.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "song/song.h"
#include "tests/vrc6_machine.h"

struct ApuRegisterWrite {
  uint16_t address;
  uint8_t value;
  bool operator==(const ApuRegisterWrite&) const = default;
};
using FrameWrites = std::vector<ApuRegisterWrite>;

enum class VideoStandard { kPal, kNtsc };

// The console reset with the song's image inserted.
std::unique_ptr<Vrc6Machine> bootCartridge(const Song& song, VideoStandard standard, bool timerWired = true);

// Runs the console until the player has played `count` frames; returns
// each frame's writes to $4000-$4017 but $4011 (the sample stream's).
std::vector<FrameWrites> cartridgeFrames(Vrc6Machine& machine, int count);

// The same from the editor's player, with the cartridge's row timing, its
// start at speed 6 and tempo 125 and its period table for the standard.
std::vector<FrameWrites> referenceFrames(const Song& song, VideoStandard standard, int count);

// "order 3 row 12 tick 2" of the reference's frame `frame`, for messages.
std::string referencePosition(const Song& song, VideoStandard standard, int frame);

// Name-table row `row` as text: a font tile as its character (tile + 94),
// the empty tile 0 as '.', any other tile (the logo) as '#'.
std::string screenRow(const Vrc6Machine& machine, int row);
