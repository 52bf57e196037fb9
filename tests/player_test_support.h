// Drives the player frame by frame and records the register writes it makes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "playback/audio_output.h"
#include "playback/channel_update.h"
#include "playback/player.h"
#include "song/app_state.h"
#include "tests/song_cells.h"

struct RegisterWrite {
  uint32_t address;
  uint8_t value;
  bool operator==(const RegisterWrite&) const = default;
};

inline std::vector<RegisterWrite> recordedWrites;

class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    recordedWrites.clear();
    setRegisterWriteObserver([](uint32_t address, uint8_t value, int32_t) {
      recordedWrites.push_back({address, value});
    });
  }
  void TearDown() override { setRegisterWriteObserver(nullptr); }

  static Cell& cell(int track, int row, int pattern = 0) { return app.song.patterns[pattern].cells[track][row]; }

  static void put(int track, int row, int note, int instrument = 0, int effect = 0,
                  const std::string& param = "00", int pattern = 0) {
    putCell(app.song, pattern, track, row, note, instrument, effect, param);
  }

  static void frames(int count) {
    for (int i = 0; i < count; ++i) playerFrame();
  }

  // One frame as the audio loop runs it: the frame routine, then 312 sub-steps.
  static void audioFrames(int count) {
    for (int i = 0; i < count; ++i) {
      playerFrame();
      for (int s = 0; s < kSubStepsPerFrame; ++s) {
        playerSubStep();
        endSubStep();
      }
    }
  }

  static ChannelState& channel(int ch) { return app.player.channels[ch]; }
  static int32_t captured(int field) { return app.player.capture.field[field]; }
  static int32_t capturedPeriod(int ch) {
    return captured(kCapPulse1High + 3 * ch) << 8 | captured(kCapPulse1Low + 3 * ch);
  }
  static int32_t tablePeriod(int note) { return app.player.periodTable[note]; }
};
