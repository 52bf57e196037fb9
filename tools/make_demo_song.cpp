// Writes the bundled demo song, examples/demo.qcm: "Quill in A minor".
// usage: make_demo_song OUT.qcm
//
// Eight bars of intro, a verse and its answer over Am F C G, a chorus over
// F G Em Am, a half-time breakdown that breaks out early, a speeding-up
// build, the verse and chorus again, and an outro that jumps back to the
// verse. Drums are a synthesised kick and snare on the raw-sample track,
// layered with noise hats and a noise snare.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "song/app_state.h"
#include "song/module_file.h"
#include "tools/shown_param.h"

namespace qc {

namespace {

enum Track { kLead = 0, kHarmony = 1, kBass = 2, kDrums = 3, kSamples = 4 };

enum Instrument {
  kLeadInstrument = 1,
  kBassInstrument = 2,
  kStabInstrument = 3,
  kClosedHat = 4,
  kOpenHat = 5,
  kNoiseSnare = 6,
  kNoiseTom = 7,
  kPadInstrument = 8,
  kLongBass = 9,
  kEchoInstrument = 10,
};

enum Sample { kKick = 1, kSnare = 2 };

enum PatternNumber { kIntro, kVerse, kVerseAnswer, kChorus, kChorusAnswer, kBreakdown, kBuild, kOutro };

// "A-3", "C#4", "OFF" -> note number (1 = C-0).
uint8_t noteNumber(const std::string& name) {
  if (name == "OFF") return kNoteOff;
  static const char* const kNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
  for (int s = 0; s < 12; ++s)
    if (name.compare(0, 2, kNames[s]) == 0) return uint8_t(1 + s + 12 * (name[2] - '0'));
  std::fprintf(stderr, "make_demo_song: bad note %s\n", name.c_str());
  return 0;
}

uint8_t transpose(uint8_t note, int semitones) { return uint8_t(note + semitones); }

Cell& at(int pattern, int track, int row) { return app.song.patterns[pattern].cells[track][row]; }

// Sets the effect with its parameter as shown on screen ("37": digits 3 and 7).
void effect(int pattern, int track, int row, int command, const char* shown) {
  Cell& c = at(pattern, track, row);
  c.setEffect(command);
  c.param = storedParam(shown);
}

void note(int pattern, int track, int row, uint8_t number, int instrument) {
  Cell& c = at(pattern, track, row);
  c.note = number;
  c.setInstrument(instrument);
}

void note(int pattern, int track, int row, const char* name, int instrument) {
  note(pattern, track, row, noteNumber(name), instrument);
}

void sample(int pattern, int row, int slot) { at(pattern, kSamples, row).note = uint8_t(slot); }

struct Chord {
  const char* root;  // octave 3 for the stabs; the bass plays it two octaves down
  const char* arpeggio;  // the chord's third and fifth above the root
};

const Chord kAm = {"A-2", "37"};
const Chord kF = {"F-2", "47"};
const Chord kC = {"C-3", "47"};
const Chord kG = {"G-2", "47"};
const Chord kEm = {"E-2", "37"};
const Chord kE = {"E-2", "47"};
const Chord kDm = {"D-3", "37"};

// Syncopated stabs, arpeggiated through the whole bar.
void stabBar(int pattern, int bar, const Chord& chord) {
  const int base = bar * 16;
  for (int row : {0, 3, 6, 10, 12}) note(pattern, kHarmony, base + row, transpose(noteNumber(chord.root), 12), kStabInstrument);
  for (int row = 0; row < 16; ++row) effect(pattern, kHarmony, base + row, 0x0, chord.arpeggio);
}

// Eighths on the triangle: root, root, octave, root, root, octave, root, fifth.
void bassBar(int pattern, int bar, const Chord& chord) {
  const uint8_t root = transpose(noteNumber(chord.root), -12);
  const int steps[8] = {0, 0, 12, 0, 0, 12, 0, 7};
  for (int i = 0; i < 8; ++i) note(pattern, kBass, bar * 16 + 2 * i, transpose(root, steps[i]), kBassInstrument);
}

void drumBar(int pattern, int bar, bool fill = false) {
  const int base = bar * 16;
  sample(pattern, base + 0, kKick);
  sample(pattern, base + 4, kSnare);
  sample(pattern, base + 8, kKick);
  sample(pattern, base + 10, kKick);
  sample(pattern, base + 12, kSnare);
  for (int row : {2, 6, 10}) note(pattern, kDrums, base + row, "C-1", kClosedHat);
  note(pattern, kDrums, base + 14, "C-1", fill ? kNoiseTom : kOpenHat);
  for (int row : {4, 12}) note(pattern, kDrums, base + row, "C-1", kNoiseSnare);
  if (fill) {
    for (int row : {13, 14, 15}) sample(pattern, base + row, kSnare);
    note(pattern, kDrums, base + 15, "C-1", kNoiseTom);
    effect(pattern, kDrums, base + 15, 0xE, "21");  // a lower tom hit
  }
}

struct Step {
  int row;
  const char* note;
};

void melody(int pattern, std::initializer_list<Step> steps, int instrument = kLeadInstrument) {
  for (const Step& s : steps) note(pattern, kLead, s.row, s.note, instrument);
}

void writeIntro() {
  const Chord chords[4] = {kAm, kF, kC, kG};
  for (int bar = 0; bar < 4; ++bar) {
    stabBar(kIntro, bar, chords[bar]);
    for (int row : {2, 6, 10, 14}) note(kIntro, kDrums, bar * 16 + row, "C-1", kClosedHat);
    if (bar >= 2) {
      bassBar(kIntro, bar, chords[bar]);
      sample(kIntro, bar * 16, kKick);
      sample(kIntro, bar * 16 + 8, kKick);
    }
  }
  effect(kIntro, kDrums, 0, 0xF, "06");
  effect(kIntro, kBass, 0, 0xF, "7D");  // tempo 125
  // A rising lead pickup into the verse.
  melody(kIntro, {{56, "E-3"}, {58, "G-3"}, {60, "A-3"}, {62, "B-3"}});
  effect(kIntro, kLead, 56, 0xC, "28");
}

void writeVerse(int pattern, bool answer) {
  const Chord chords[4] = {kAm, kF, kC, kG};
  for (int bar = 0; bar < 4; ++bar) {
    stabBar(pattern, bar, chords[bar]);
    bassBar(pattern, bar, chords[bar]);
    drumBar(pattern, bar, answer && bar == 3);
  }
  effect(pattern, kDrums, 0, 0xF, "06");  // back from the build's speed 5
  if (!answer) {
    melody(pattern, {{0, "C-4"}, {6, "A-3"}, {8, "E-4"}, {12, "D-4"}, {14, "C-4"},
                     {16, "A-3"}, {24, "G-3"}, {26, "A-3"}, {28, "C-4"},
                     {32, "G-3"}, {38, "E-3"}, {40, "G-3"}, {44, "C-4"}, {46, "D-4"},
                     {48, "B-3"}, {56, "A-3"}, {58, "G-3"}, {62, "OFF"}});
    effect(pattern, kLead, 0, 0x3, "06");  // scoop up from the pickup
    effect(pattern, kLead, 18, 0x4, "62");
    effect(pattern, kLead, 50, 0x4, "63");
  } else {
    melody(pattern, {{0, "C-4"}, {6, "A-3"}, {8, "E-4"}, {12, "G-4"}, {14, "E-4"},
                     {16, "F-4"}, {24, "E-4"}, {26, "D-4"}, {28, "C-4"},
                     {32, "E-4"}, {40, "D-4"}, {44, "C-4"}, {46, "B-3"},
                     {48, "D-4"}, {56, "B-3"}, {60, "G-3"}});
    effect(pattern, kLead, 12, 0x3, "0C");  // slide E up to G
    effect(pattern, kLead, 18, 0x4, "53");
    effect(pattern, kLead, 34, 0x4, "53");
    effect(pattern, kLead, 50, 0x6, "01");  // vibrato while it fades
    for (int row = 51; row < 54; ++row) effect(pattern, kLead, row, 0x6, "00");
    effect(pattern, kLead, 60, 0x2, "01");
  }
}

void writeChorus(int pattern, bool answer) {
  const Chord first[4] = {kF, kG, kEm, kAm};
  const Chord second[4] = {kF, kG, kE, kAm};
  for (int bar = 0; bar < 4; ++bar) {
    const Chord& chord = answer ? second[bar] : first[bar];
    stabBar(pattern, bar, chord);
    bassBar(pattern, bar, chord);
    drumBar(pattern, bar, answer && bar == 3);
  }
  if (!answer) {
    melody(pattern, {{0, "A-4"}, {4, "G-4"}, {6, "F-4"}, {8, "A-4"}, {12, "C-5"}, {14, "A-4"},
                     {16, "B-4"}, {24, "A-4"}, {26, "G-4"}, {28, "D-4"},
                     {32, "G-4"}, {40, "B-4"}, {44, "G-4"}, {46, "E-4"},
                     {48, "A-4"}});
    effect(pattern, kLead, 18, 0x4, "64");
    effect(pattern, kLead, 34, 0x4, "54");
    effect(pattern, kLead, 50, 0x4, "64");
    effect(pattern, kLead, 56, 0xA, "01");
    for (int row = 57; row < 64; ++row) effect(pattern, kLead, row, 0xA, "00");
  } else {
    melody(pattern, {{0, "C-5"}, {4, "A-4"}, {8, "F-4"}, {10, "A-4"}, {12, "C-5"}, {14, "D-5"},
                     {16, "D-5"}, {22, "C-5"}, {24, "B-4"}, {28, "G-4"},
                     {32, "G#4"}, {40, "B-4"}, {44, "D-5"},
                     {48, "C-5"}, {50, "B-4"}, {52, "A-4"}});
    effect(pattern, kLead, 18, 0x4, "64");
    effect(pattern, kLead, 34, 0x4, "64");
    effect(pattern, kLead, 44, 0x5, "00");
    effect(pattern, kLead, 52, 0x3, "04");  // the last note glides down from B
    effect(pattern, kLead, 54, 0x4, "74");
    effect(pattern, kLead, 58, 0xA, "01");
    for (int row = 59; row < 64; ++row) effect(pattern, kLead, row, 0xA, "00");
  }
  // Pulse 2 doubles the lead's long notes a beat late, quietly.
  for (int row : {16, 32, 48}) {
    note(pattern, kHarmony, row + 4, at(pattern, kLead, row).note, kEchoInstrument);
    effect(pattern, kHarmony, row + 4, 0xE, "D3");
  }
}

// Half time over Am Dm F E, broken off after two bars.
void writeBreakdown() {
  const Chord chords[2] = {kAm, kDm};
  for (int bar = 0; bar < 2; ++bar) {
    const int base = bar * 16;
    const uint8_t root = transpose(noteNumber(chords[bar].root), -12);
    note(kBreakdown, kBass, base, root, kLongBass);
    note(kBreakdown, kBass, base + 12, transpose(root, 7), kBassInstrument);
    note(kBreakdown, kLead, base, transpose(noteNumber(chords[bar].root), 12), kPadInstrument);
    effect(kBreakdown, kLead, base, 0x7, "48");
    for (int row = 1; row < 16; ++row) effect(kBreakdown, kLead, base + row, 0x7, "00");
    note(kBreakdown, kHarmony, base, transpose(noteNumber(chords[bar].root), 19), kPadInstrument);
    effect(kBreakdown, kHarmony, base + 1, 0xE, "12");  // detuned against pulse 1
    effect(kBreakdown, kHarmony, base + 8, 0xE, "B3");
    effect(kBreakdown, kHarmony, base + 12, 0xE, "B2");
    sample(kBreakdown, base, kKick);
    sample(kBreakdown, base + 8, kSnare);
    for (int row : {4, 12}) note(kBreakdown, kDrums, base + row, "C-1", kClosedHat);
  }
  effect(kBreakdown, kBass, 31, 0xD, "00");
}

// Two bars over E with a snare roll, running a little faster.
void writeBuild() {
  effect(kBuild, kDrums, 0, 0xF, "05");
  note(kBuild, kBass, 0, "E-1", kLongBass);
  effect(kBuild, kBass, 24, 0x2, "01");
  for (int row = 25; row < 32; ++row) effect(kBuild, kBass, row, 0x2, "00");
  note(kBuild, kLead, 0, "E-3", kLeadInstrument);
  effect(kBuild, kLead, 0, 0xC, "33");
  for (int row = 2; row < 24; row += 2) effect(kBuild, kLead, row, 0xE, "A1");  // a slow crescendo
  effect(kBuild, kLead, 24, 0x1, "01");
  for (int row = 25; row < 32; ++row) effect(kBuild, kLead, row, 0x1, "00");
  for (int row = 0; row < 32; row += row < 16 ? 4 : (row < 24 ? 2 : 1)) {
    sample(kBuild, row, kSnare);
    note(kBuild, kDrums, row, transpose(noteNumber("C-1"), row / 2), kNoiseTom);
  }
  effect(kBuild, kDrums, 31, 0xD, "00");
}

void writeOutro() {
  const Chord chords[4] = {kAm, kF, kG, kAm};
  for (int bar = 0; bar < 3; ++bar) {
    stabBar(kOutro, bar, chords[bar]);
    bassBar(kOutro, bar, chords[bar]);
    drumBar(kOutro, bar, bar == 2);
  }
  effect(kOutro, kDrums, 0, 0xF, "06");
  melody(kOutro, {{0, "E-4"}, {4, "D-4"}, {6, "C-4"}, {8, "B-3"}, {12, "C-4"},
                  {16, "A-3"}, {24, "C-4"}, {28, "D-4"},
                  {32, "B-3"}, {36, "D-4"}, {40, "G-4"}, {44, "F#4"}, {46, "D-4"},
                  {48, "A-3"}});
  effect(kOutro, kLead, 18, 0x4, "53");
  // The last note: vibrato, fading a step every other row.
  effect(kOutro, kLead, 48, 0x4, "64");
  for (int row = 49; row < 64; ++row) effect(kOutro, kLead, row, row % 2 ? 0x4 : 0xE, row % 2 ? "00" : "B1");
  note(kOutro, kHarmony, 48, "E-4", kPadInstrument);
  note(kOutro, kBass, 48, "A-1", kLongBass);
  sample(kOutro, 48, kKick);
  effect(kOutro, kHarmony, 56, 0xA, "01");
  for (int row = 57; row < 64; ++row) effect(kOutro, kHarmony, row, 0xA, "00");
  effect(kOutro, kDrums, 63, 0xB, "01");  // back to the verse, past the intro
}

void writeInstruments() {
  Song& s = app.song;
  auto set = [&](int slot, const char* name, std::initializer_list<int32_t> volume, int volumeLoop,
                 std::initializer_list<int32_t> notes, int noteLoop, std::initializer_list<int32_t> duty,
                 int dutyLoop) {
    s.instrumentNames[slot] = name;
    setEnvelope(s.envelopes[slot][kVolumeEnvelope], volume, volumeLoop);
    setEnvelope(s.envelopes[slot][kNoteEnvelope], notes, noteLoop);
    setEnvelope(s.envelopes[slot][kDutyEnvelope], duty, dutyLoop);
  };
  constexpr int32_t kFixed = 0x80;
  // An octave chirp on the attack, then a slow 25%/50% duty wobble.
  set(kLeadInstrument, "Lead", {15, 14, 13, 12, 12, 11, 11, 10}, 7, {76, 64}, 1,
      {2, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 1}, 0);
  set(kBassInstrument, "Bass pluck", {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 0}, 10, {64}, 0, {0}, 0);
  set(kStabInstrument, "Chord stab", {13, 12, 10, 9, 8, 7, 6, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0}, 16, {64}, 0,
      {1}, 0);
  set(kClosedHat, "Closed hat", {10, 7, 4, 2, 0}, 4, {kFixed | 15, kFixed | 14}, 1, {0}, 0);
  set(kOpenHat, "Open hat", {9, 8, 7, 6, 5, 4, 3, 3, 2, 2, 1, 1, 0}, 12, {kFixed | 13}, 0, {0}, 0);
  set(kNoiseSnare, "Noise snare", {14, 12, 10, 8, 6, 4, 3, 2, 1, 0}, 9, {kFixed | 9, kFixed | 8, kFixed | 7},
      2, {0}, 0);
  set(kNoiseTom, "Metal tom", {12, 9, 6, 3, 0}, 4, {64, 63, 62, 61}, 3, {1, 1, 0}, 2);
  set(kPadInstrument, "Pad", {3, 5, 7, 8, 9, 9, 9, 8}, 7, {64}, 0, {2, 2, 2, 2, 1, 1, 1, 1}, 0);
  set(kLongBass, "Bass hold", {15}, 0, {64}, 0, {0}, 0);
  set(kEchoInstrument, "Echo", {8, 7, 6, 6, 5, 5, 4}, 6, {64}, 0, {2}, 0);
}

// Raw samples are 7-bit DAC levels around 64, streamed at about 7800 a second.
constexpr double kSampleRate = 7800.0;

uint8_t dacLevel(double x) { return uint8_t(std::lround(std::fmin(127.0, std::fmax(1.0, 64.0 + 63.0 * x)))); }

std::vector<uint8_t> synthesiseKick() {
  std::vector<uint8_t> data;
  double phase = 0.0;
  const int length = int(0.16 * kSampleRate);
  for (int i = 0; i < length; ++i) {
    const double t = i / kSampleRate;
    const double frequency = 48.0 + 140.0 * std::exp(-t / 0.025);  // the drop gives the thump
    phase += 2.0 * M_PI * frequency / kSampleRate;
    data.push_back(dacLevel(std::exp(-t / 0.07) * std::sin(phase)));
  }
  return data;
}

std::vector<uint8_t> synthesiseSnare() {
  std::vector<uint8_t> data;
  uint32_t noise = 0x2545F491u;  // fixed seed: the file is reproducible
  const int length = int(0.18 * kSampleRate);
  for (int i = 0; i < length; ++i) {
    const double t = i / kSampleRate;
    noise = noise * 1664525u + 1013904223u;
    const double white = (noise >> 8) / double(1 << 24) * 2.0 - 1.0;
    const double body = 0.55 * std::exp(-t / 0.03) * std::sin(2.0 * M_PI * 185.0 * t);
    data.push_back(dacLevel(body + 0.6 * std::exp(-t / 0.045) * white));
  }
  return data;
}

void writeSamples() {
  RawSample& kick = app.song.samples[kKick];
  kick.data = synthesiseKick();
  kick.name = "kick";
  RawSample& snare = app.song.samples[kSnare];
  snare.data = synthesiseSnare();
  snare.name = "snare";
}

}  // namespace

}  // namespace qc

int main(int argc, char** argv) {
  using namespace qc;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_song OUT.qcm\n");
    return 1;
  }
  resetToProgramStart();
  writeInstruments();
  writeSamples();
  writeIntro();
  writeVerse(kVerse, false);
  writeVerse(kVerseAnswer, true);
  writeChorus(kChorus, false);
  writeChorus(kChorusAnswer, true);
  writeBreakdown();
  writeBuild();
  writeOutro();
  const int orders[] = {kIntro, kVerse, kVerseAnswer, kChorus, kChorusAnswer, kBreakdown, kBuild,
                        kVerse, kVerseAnswer, kChorus, kChorusAnswer, kOutro};
  app.song.orderCount = int32_t(std::size(orders));
  for (int i = 0; i < app.song.orderCount; ++i) app.song.orders[i] = orders[i];

  if (!saveModule(argv[1])) {
    std::fprintf(stderr, "make_demo_song: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
