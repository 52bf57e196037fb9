// The song: order list, patterns, instruments and raw samples.
// Every dimension is fixed; only sample bytes and names are owned heap data.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qc {

inline constexpr int kChannels = 5;  // 0 Pulse 1, 1 Pulse 2, 2 Triangle, 3 Noise, 4 PCM
inline constexpr int kToneChannels = 4;
inline constexpr int kPcmTrack = 4;
inline constexpr int kRows = 64;
inline constexpr int kPatterns = 32;
inline constexpr int kMaxOrders = 64;
inline constexpr int kInstrumentSlots = 16;  // slot 0 = no instrument
inline constexpr int kSampleSlots = 256;     // slot 0 = no sample
inline constexpr int kEnvelopeSlots = 85;    // loop position + 84 value slots
inline constexpr int kEnvelopeValueSlots = kEnvelopeSlots - 1;
inline constexpr int kEnvelopeEnd = 256;     // sentinel behind the last value
inline constexpr int kMaxEnvelopeLength = 83;
inline constexpr int kMaxNameLength = 30;
inline constexpr int kNoteOff = 255;
inline constexpr int kMaxNote = 120;

enum EnvelopeKind { kVolumeEnvelope = 0, kNoteEnvelope = 1, kDutyEnvelope = 2, kEnvelopeKinds = 3 };

inline constexpr const char* kChannelNames[kChannels] = {"Pulse 1", "Pulse 2", "Triangle", "Noise", "PCM"};

// Three bytes, stored exactly as in the module file. The parameter's two
// digits are swapped: the digit typed first is the low nibble.
struct Cell {
  uint8_t note = 0;              // 0 empty, 1..120 note, 255 off; track 4: sample slot
  uint8_t instrumentEffect = 0;  // bits 0..3 instrument, bits 4..7 effect
  uint8_t param = 0;

  int instrument() const { return instrumentEffect & 0x0F; }
  int effect() const { return instrumentEffect >> 4; }
  void setInstrument(int i) { instrumentEffect = uint8_t((instrumentEffect & 0xF0) | (i & 0x0F)); }
  void setEffect(int e) { instrumentEffect = uint8_t((instrumentEffect & 0x0F) | ((e & 0x0F) << 4)); }
  // The parameter as the number it reads on screen (first digit high).
  int paramValue() const { return ((param & 0x0F) << 4) | (param >> 4); }
  bool empty() const { return note == 0 && instrumentEffect == 0 && param == 0; }
  bool operator==(const Cell&) const = default;
};
static_assert(sizeof(Cell) == 3);

// Track-major: track 0 rows 0..63, then track 1, ...; 960 bytes.
struct Pattern {
  Cell cells[kChannels][kRows];
};
static_assert(sizeof(Pattern) == 960);

struct Envelope {
  int32_t loop = 0;
  int32_t values[kEnvelopeValueSlots] = {kEnvelopeEnd};
};
static_assert(sizeof(Envelope) == kEnvelopeSlots * 4);

// The longest raw sample: 2 MiB of levels (4 min 28 s). A VRC6 cartridge's
// 128 PRG banks of 16 KB hold no more, so no export could carry a longer one.
inline constexpr size_t kMaxSampleLength = size_t(2) << 20;

struct RawSample {
  std::vector<uint8_t> data;  // 7-bit DAC levels; empty = the slot holds no sample
  bool loop = false;
  std::string name;

  bool holdsData() const { return !data.empty(); }
  uint32_t length() const { return uint32_t(data.size()); }
};

struct Song {
  int32_t orderCount = 1;
  std::array<int32_t, kMaxOrders> orders{};
  std::array<Pattern, kPatterns> patterns{};
  std::array<std::string, kInstrumentSlots> instrumentNames;
  Envelope envelopes[kInstrumentSlots][kEnvelopeKinds];
  std::array<RawSample, kSampleSlots> samples;
  bool ntsc = false;
};

// One more than the last pattern with any nonzero byte; 0 for an empty song.
int usedPatternCount(const Song& song);
// Values before the sentinel; -1 when none of the 84 value slots holds it.
int envelopeLength(const Envelope& envelope);
// Sets the envelope to the given values (at most 84) followed by the sentinel.
void setEnvelope(Envelope& envelope, std::initializer_list<int32_t> values, int32_t loop = 0);
// The instruments of a freshly started program.
void writeProgramStartInstruments(Song& song);

}  // namespace qc
