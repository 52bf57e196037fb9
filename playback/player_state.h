// A player's state: its song, options and output, the transport, the
// sequencer, the four tone channels and the raw-sample stream.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "song/song.h"

namespace qc {

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
// What a new song starts with, and what the song compiler starts from.
inline constexpr int32_t kStartSpeed = 6;
inline constexpr int32_t kStartTempo = 125;

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

// What the player is asked to do besides playing the song.
struct PlayerOptions {
  bool repeatBlock = false;  // loop the rows between the two marks, in one order
  int32_t repeatStartRow = 0;
  int32_t repeatEndRow = kRows - 1;
  uint32_t channelMask = 31;  // bit c set = track c audible
  bool metronome = false;
  RowTiming rowTiming = RowTiming::kEditor;
  bool capture = false;  // fill ExportCapture every tick
};

// Told the play position at every row advance (the editor's cursor follow).
using RowObserver = std::function<void(int32_t order, int32_t row)>;

struct Engine;

// A player: the sequencer and channel update state of one playback of a
// song. It writes its registers into its engine; without one it writes
// nothing and only captures (the song compiler, traces).
struct Player {
  Player(const Song& song, Engine* engine, PlayerOptions options = {})
      : song(&song), engine(engine), options(options) {}

  const Song* song;
  Engine* engine;
  PlayerOptions options;
  RowObserver onRowAdvance;

  bool playing = false;
  bool sequencerRunning = false;
  bool playPatternOnly = false;
  int32_t playOrder = 0;
  int32_t playRow = 0;
  int32_t playTick = 0;
  int32_t returnRow = -1;
  bool silenceRequest = false;
  bool clockChanged = false;
  bool channelMaskChanged = true;  // the first sub-step enables the channels
  bool apuResetRequest = false;

  int32_t speed = kStartSpeed;
  int32_t tempo = kStartTempo;
  int32_t tempoAccumulator = 0;
  int32_t pendingOrderJump = -1;
  int32_t pendingBreakRow = -1;
  bool clickActive = false;
  int32_t clickStep = -1;
  int32_t clickPeriod = -1;
  int32_t lastClickRow = -1;

  std::array<int32_t, kPeriodTableSize> periodTable{};
  std::array<int32_t, 64> vibratoWave{};
  std::array<int32_t, 256> vibratoTable{};
  std::array<ChannelState, kToneChannels> channels{};

  int32_t pcmSample = 0;
  double pcmPosition = 0.0;
  bool sampleLoopPending = false;

  ExportCapture capture;
};

}  // namespace qc
