// A player of the test's own over a song of its own, playing into an engine
// that records every register write.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "playback/player.h"
#include "tests/song_cells.h"

namespace qc {

struct RegisterWrite {
  uint32_t address;
  uint8_t value;
  bool operator==(const RegisterWrite&) const = default;
};
using Writes = std::vector<RegisterWrite>;

class PlayerTest : public ::testing::Test {
 protected:
  PlayerTest() {
    writeProgramStartInstruments(song);
    engine.writeObserver = [this](uint32_t address, uint8_t value, int32_t) { writes.push_back({address, value}); };
    player.options.capture = true;
  }

  void put(int track, int row, int note, int instrument = 0, int effect = 0, const std::string& param = "00",
           int pattern = 0) {
    putCell(song, pattern, track, row, note, instrument, effect, param);
  }
  void playSong(int order = 0) { qc::playSong(player, order); }
  void playSongFor(int frameCount) {
    playSong();
    frames(frameCount);
  }
  void frames(int count) {
    for (int i = 0; i < count; ++i) playerFrame(player);
  }
  void subSteps(int count) {
    for (int i = 0; i < count; ++i) {
      playerSubStep(player);
      endSubStep(engine);
    }
  }
  // Frames as the audio loop runs them: the frame routine, then 312 sub-steps.
  void audioFrames(int count) {
    for (int i = 0; i < count; ++i) {
      playerFrame(player);
      subSteps(kSubStepsPerFrame);
    }
  }
  // The writes of the next frame, or of the next sub-step, alone.
  Writes frameWrites() {
    writes.clear();
    playerFrame(player);
    return writes;
  }
  Writes subStepWrites() {
    writes.clear();
    subSteps(1);
    return writes;
  }

  ChannelState& channel(int ch) { return player.channels[ch]; }
  int32_t captured(int field) const { return player.capture.field[field]; }
  int32_t capturedPeriod(int ch) const {
    return captured(kCapPulse1High + 3 * ch) << 8 | captured(kCapPulse1Low + 3 * ch);
  }
  int32_t tablePeriod(int note) const { return player.periodTable[note]; }

  Song song;
  Engine engine{false};
  Player player{song, &engine};
  Writes writes;
};

}  // namespace qc
