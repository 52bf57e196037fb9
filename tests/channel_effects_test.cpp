#include <string>
#include <vector>

#include "player_test_support.h"

namespace qc {

namespace {

class ChannelEffects : public PlayerTest {
 public:
  using Probe = int32_t (ChannelEffects::*)() const;
  int32_t pulseVolume() const { return captured(kCapPulse1DutyVolume) & 0x0F; }
  int32_t pulseDutyVolume() const { return captured(kCapPulse1DutyVolume); }
  int32_t pulsePeriod() const { return capturedPeriod(0); }
  int32_t noise() const { return captured(kCapNoiseModePeriod); }
  int32_t offset() const { return player.channels[0].periodOffset; }
  int32_t vibratoPos() const { return player.channels[0].vibratoPos; }
  // What `probe` reads after the next frame and then every `stride` frames.
  std::vector<int32_t> trace(size_t count, Probe probe, int stride = 1) {
    std::vector<int32_t> values;
    for (size_t i = 0; i < count; ++i) {
      frames(i == 0 ? 1 : stride);
      values.push_back((this->*probe)());
    }
    return values;
  }
};

struct Put {
  int track, row, note, instrument = 0, effect = 0;
  std::string param = "00";
};

TEST_F(ChannelEffects, EffectsAndEnvelopesShapeEachFrame) {
  buildPeriodTable(player);
  const int32_t p = tablePeriod(49), to = tablePeriod(53);
  ASSERT_EQ(p - to, 41);
  struct Case {
    const char* name;
    std::vector<Put> cells;
    void (*prepare)(Song&) = nullptr;
    int skip = 0, stride = 1;
    Probe probe = &ChannelEffects::pulsePeriod;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {.name = "arpeggio cycles base, first digit, second digit", .cells = {{0, 0, 49, 1, 0x0, "37"}},
       .expected = {p, tablePeriod(52), tablePeriod(56), p, tablePeriod(52), tablePeriod(56)}},
      {.name = "portamento moves from the second tick, keeps its speed without a parameter",
       .cells = {{0, 0, 49, 1, 0x1, "02"}, {0, 1, 0, 0, 0x1, "00"}, {0, 2, 0, 0, 0x2, "10"}},
       .expected = {p, p - 2, p - 4, p - 6, p - 8, p - 10, p - 10, p - 12, p - 14, p - 16, p - 18, p - 20,
                    p - 20, p - 4, p + 12}},
      {.name = "vibrato follows the sine and its offset outlives the row",
       .cells = {{0, 0, 49, 1, 0x4, "48"}, {0, 2, 49, 1}},
       .expected = {p, p, p + 6, p + 11, p + 14, p + 15, p + 15, p + 15, p + 15, p + 15, p + 15, p + 15, p}},
      {.name = "note delay triggers on the given tick", .cells = {{0, 0, 49, 1}, {0, 1, 53, 1, 0xE, "D2"}},
       .skip = 6, .expected = {p, p, tablePeriod(53), tablePeriod(53)}},
      {.name = "note envelope shifts or fixes the note", .cells = {{0, 0, 49, 1}},
       .prepare = [](Song& song) { setEnvelope(song.envelopes[1][kNoteEnvelope], {64, 76, 0x80 | 25}); },
       .expected = {p, tablePeriod(61), tablePeriod(25)}},
      {.name = "fine pitch moves the tone period",
       .cells = {{0, 0, 49, 1}, {0, 1, 0, 0, 0xE, "13"}, {0, 2, 0, 0, 0xE, "24"}}, .stride = 6,
       .expected = {p, p - 3, p + 1}},
      {.name = "fine pitch moves the noise note by one",
       .cells = {{3, 0, 1, 1}, {3, 1, 0, 0, 0xE, "10"}, {3, 2, 0, 0, 0xE, "20"}, {3, 3, 0, 0, 0xE, "20"}},
       .stride = 6, .probe = &ChannelEffects::noise, .expected = {14, 13, 14, 15}},
      {.name = "volume envelope plays one value a frame, then repeats from the loop", .cells = {{0, 0, 49, 1}},
       .prepare = [](Song& song) { setEnvelope(song.envelopes[1][kVolumeEnvelope], {15, 12, 9, 6}, 2); },
       .probe = &ChannelEffects::pulseVolume, .expected = {15, 12, 9, 6, 9, 6, 9}},
      {.name = "tremolo offsets the volume by a quarter of the amplitude", .cells = {{0, 0, 49, 1, 0x7, "CF"}},
       .probe = &ChannelEffects::pulseVolume, .expected = {15, 15, 15, 15, 13, 8}},
      {.name = "volume slide starts on the second tick, keeps its rate, stops at 0",
       .cells = {{0, 0, 49, 1, 0xA, "02"}, {0, 1, 0, 0, 0xA, "00"}}, .probe = &ChannelEffects::pulseVolume,
       .expected = {15, 13, 11, 9, 7, 5, 5, 3, 1, 0, 0}},
      {.name = "fine volume steps once and remembers its value",
       .cells = {{0, 0, 49, 1, 0xC, "08"}, {0, 1, 0, 0, 0xE, "A3"}, {0, 2, 0, 0, 0xE, "A0"}, {0, 3, 0, 0, 0xE, "B5"}},
       .skip = 11, .stride = 6, .probe = &ChannelEffects::pulseVolume, .expected = {11, 14, 9}},
      {.name = "volume and duty: a note in the cell keeps the volume, the duty holds until the next note",
       .cells = {{0, 0, 49, 1, 0xC, "05"}, {0, 1, 0, 0, 0xC, "35"}, {0, 3, 49, 1}},
       .prepare = [](Song& song) { setEnvelope(song.envelopes[1][kDutyEnvelope], {1}); }, .stride = 6,
       .probe = &ChannelEffects::pulseDutyVolume, .expected = {0x15, 0x25, 0x25, 0x1F}},
      {.name = "portamento keeps growing past the clamped period", .cells = {{0, 0, 13, 1, 0x2, "FF"}, {1, 0, 0, 0, 0xF, "00"}},
       .skip = 39, .probe = &ChannelEffects::offset, .expected = {39 * 255}},
      {.name = "while the written period stops at 2047", .cells = {{0, 0, 13, 1, 0x2, "FF"}, {1, 0, 0, 0, 0xF, "00"}},
       .skip = 39, .expected = {2047}},
      {.name = "tone portamento slides a new note in from the old pitch and stops at it",
       .cells = {{0, 0, 49, 1, 0xC, "0A"}, {0, 1, 53, 1, 0x3, "08"}, {0, 2, 0, 0, 0x3, "00"}}, .skip = 6,
       .expected = {p, p - 8, p - 16, p - 24, p - 32, p - 40, p - 40, to, to}},
      {.name = "effect 5 slides the volume",
       .cells = {{0, 0, 49, 1, 0xC, "0A"}, {0, 1, 53, 1, 0x3, "02"}, {0, 2, 0, 0, 0x5, "20"}}, .skip = 12,
       .probe = &ChannelEffects::pulseVolume, .expected = {10, 12, 14}},
      {.name = "effect 5 goes on with the tone portamento",
       .cells = {{0, 0, 49, 1, 0xC, "0A"}, {0, 1, 53, 1, 0x3, "02"}, {0, 2, 0, 0, 0x5, "20"}},
       .skip = 12, .probe = &ChannelEffects::offset, .expected = {31, 29, 27}},
      {.name = "effect 6 slides the volume",
       .cells = {{0, 0, 49, 1, 0x4, "48"}, {0, 1, 0, 0, 0x6, "01"}}, .skip = 8, .probe = &ChannelEffects::pulseVolume,
       .expected = {13}},
      {.name = "effect 6 goes on with the vibrato", .cells = {{0, 0, 49, 1, 0x4, "48"}, {0, 1, 0, 0, 0x6, "01"}},
       .skip = 8,
       .probe = &ChannelEffects::vibratoPos, .expected = {(20 + 2 * 4) & 63}},
      {.name = "vibrato turns negative in the second half of its cycle", .cells = {{0, 0, 49, 1, 0x4, "CF"}},
       .skip = 4, .probe = &ChannelEffects::offset, .expected = {-11}},
      {.name = "noise notes sixteen apart share a period, the mode comes from the duty envelope",
       .cells = {{3, 0, 1, 1}, {3, 1, 17, 1}, {3, 2, 33, 2}, {3, 3, 16, 2}},
       .prepare = [](Song& song) {
         setEnvelope(song.envelopes[2][kVolumeEnvelope], {15});
         setEnvelope(song.envelopes[2][kDutyEnvelope], {3});
       },
       .stride = 6, .probe = &ChannelEffects::noise, .expected = {14, 14, 0x10 | 14, 0x10 | 15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    song = Song{};
    writeProgramStartInstruments(song);
    if (c.prepare) c.prepare(song);
    for (const Put& cell : c.cells) put(cell.track, cell.row, cell.note, cell.instrument, cell.effect, cell.param);
    startSong(player);
    frames(c.skip);
    EXPECT_EQ(trace(c.expected.size(), c.probe, c.stride), c.expected);
  }
}

// A note-off with an instrument restarts at note 0, alone it silences; an
// instrument alone restarts the envelopes at the same pitch.
TEST_F(ChannelEffects, NoteOffAndInstrumentWithoutANote) {
  setEnvelope(song.envelopes[2][kVolumeEnvelope], {15, 10, 5});
  setEnvelope(song.envelopes[2][kDutyEnvelope], {2});
  put(0, 0, 49, 1);
  put(0, 1, kNoteOff, 1);
  put(1, 0, 49, 1);
  put(1, 1, kNoteOff, 0);
  put(0, 2, 49, 2, 0xC, "08");
  put(0, 3, 0, 2);
  playSongFor(7);
  EXPECT_EQ(channel(0).note, 0);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x2F);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(0));
  EXPECT_EQ(captured(kCapPulse2DutyVolume), 0x20);
  EXPECT_EQ(captured(kCapPulse2High), -1);
  EXPECT_EQ(captured(kCapPulse2Low), -1);
  frames(11);
  EXPECT_EQ(pulseVolume(), 8 * 5 / 15);
  frames(1);
  EXPECT_EQ(captured(kCapPulse1DutyVolume), 0x2F);
  EXPECT_EQ(capturedPeriod(0), tablePeriod(49));
}

}  // namespace

}  // namespace qc
