// Playback state shared by the transport (main thread) and the player
// (audio thread, or the song compiler while it holds the audio lock).
#pragma once

#include <array>
#include <cstdint>

#include "song/song.h"

struct ChannelState {
  int32_t period = 0;
  int32_t lastPeriod = -1;  // -1 forces a full period write
  std::array<int32_t, kEnvelopeKinds> envPos{};
  int32_t volume = 0;
  uint8_t note = 0;
  uint8_t effect = 0;
  uint8_t instrument = 0;
  uint8_t param = 0;  // digits swapped, as in the cell
  int32_t noteIndex = 0;
  int32_t envVolume = 0;
  int32_t envNote = 0;
  int32_t envDuty = 0;
  int32_t periodOffset = 0;
  int32_t portaSpeed = 0;
  int32_t slideUp = 0;
  int32_t slideDown = 0;
  int32_t vibratoSpeed = 0;
  int32_t vibratoDepth = 0;
  int32_t vibratoPos = 0;
  int32_t tremoloOffset = 0;
  int32_t arpStep = 0;
  int32_t noteDelay = 0;
  int32_t dutyOverride = -1;
};

// The register values of one tick; -1 = the field has no value.
enum ExportField {
  kCapPulse1High, kCapPulse1Low, kCapPulse1DutyVolume,
  kCapPulse2High, kCapPulse2Low, kCapPulse2DutyVolume,
  kCapTriangleHigh, kCapTriangleLow, kCapTriangleOn,
  kCapNoiseModePeriod, kCapNoiseVolume,
  kCapSample,
  kExportFields
};
struct ExportCapture {
  std::array<int32_t, kExportFields> field;
  ExportCapture() { field.fill(-1); }
};

inline constexpr int kPeriodTableSize = 97;
inline constexpr int kRowThresholdPal = 32000;
inline constexpr int kRowThresholdNtsc = 34448;
inline constexpr int kCartRowThresholdNtsc = 38400;

// How the sequencer turns speed and tempo into row advances.
enum class RowTiming : uint8_t {
  // The increment is ceil(tempo * 256 / speed) in double precision; every
  // pattern change drops the remainder; thresholds 32000 PAL, 34448 NTSC.
  kEditor,
  // The cartridge player's: floor(tempo * 256 / speed) as 16-bit integer
  // division; the remainder survives every row advance; thresholds 32000
  // PAL, 38400 NTSC.
  kCartridge,
};

struct PlayerState {
  bool playing = false;
  bool sequencerRunning = false;
  bool playPatternOnly = false;
  int32_t playOrder = 0;
  int32_t playRow = 0;
  int32_t playTick = 0;
  int32_t returnRow = -1;
  bool silenceRequest = false;
  bool clockChanged = false;
  bool apuResetRequest = false;

  int32_t speed = 6;
  int32_t tempo = 125;
  int32_t tempoAccumulator = 0;
  int32_t pendingOrderJump = -1;
  int32_t pendingBreakRow = -1;
  bool clickActive = false;
  int32_t clickStep = -1;
  int32_t clickPeriod = -1;
  int32_t lastClickRow = -1;
  bool exportMode = false;
  RowTiming rowTiming = RowTiming::kEditor;

  std::array<int32_t, kPeriodTableSize> periodTable{};
  std::array<int32_t, 64> vibratoWave{};
  std::array<int32_t, 256> vibratoTable{};
  std::array<ChannelState, kToneChannels> channels{};

  int32_t pcmSample = 0;
  double pcmPosition = 0.0;
  bool sampleLoopPending = false;

  ExportCapture capture;
};
