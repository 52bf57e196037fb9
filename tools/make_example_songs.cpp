// Writes the bundled example songs beside examples/demo.qcm. Each is small
// and plays a part of the player the demo does not, so that `--verify` over
// all of them holds every effect and every path of both exports' players
// against the editor.
// usage: make_example_songs DIR
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "song/module_file.h"
#include "song/safe_file.h"
#include "tools/shown_param.h"

namespace qc {

namespace {

constexpr int kFixedNote = 0x80;
enum Track { kPulse1, kPulse2, kTriangle, kNoise, kSampleTrack };

// A cell as typed, the parameter as shown on screen ("1A").
void put(Song& song, int pattern, int track, int row, int note, int instrument = 0, int effect = 0,
         const char* shown = "00") {
  Cell& c = song.patterns[pattern].cells[track][row];
  c.note = uint8_t(note);
  c.setInstrument(instrument);
  c.setEffect(effect);
  c.param = storedParam(shown);
}

// Envelopes with loops, a fixed note and duty changes on instruments 1 to 4.
void effectInstruments(Song& song) {
  writeProgramStartInstruments(song);
  setEnvelope(song.envelopes[1][kVolumeEnvelope], {15, 13, 11, 9, 7}, 3);
  setEnvelope(song.envelopes[1][kNoteEnvelope], {64, 64, 76, 64}, 0);
  setEnvelope(song.envelopes[1][kDutyEnvelope], {2, 2, 1}, 2);
  setEnvelope(song.envelopes[2][kVolumeEnvelope], {15}, 0);
  setEnvelope(song.envelopes[2][kNoteEnvelope], {kFixedNote | 30, 64}, 1);
  setEnvelope(song.envelopes[2][kDutyEnvelope], {0, 1}, 0);
  setEnvelope(song.envelopes[3][kVolumeEnvelope], {12, 10, 8, 6, 4, 2, 0}, 6);
  setEnvelope(song.envelopes[3][kNoteEnvelope], {64}, 0);
  setEnvelope(song.envelopes[3][kDutyEnvelope], {1}, 0);
  setEnvelope(song.envelopes[4][kVolumeEnvelope], {15, 14}, 0);
  setEnvelope(song.envelopes[4][kNoteEnvelope], {64, 65, 63}, 0);
  setEnvelope(song.envelopes[4][kDutyEnvelope], {3, 0}, 0);
  // The cartridge's font has no '_' or '|': it shows them as other tiles.
  song.instrumentNames[1] = "lead_1|x";
  song.instrumentNames[2] = "Fixed";
}

// effects.qcm: every effect on the four tone tracks, one after another;
// note off and instrument-only cells, delayed notes, the ends of the note
// range, speed and tempo changes, a break and a jump on one row, a break
// past the last order, and a slide long enough to saturate the cartridge's
// 16-bit period offset.
Song effectsSong() {
  Song s;
  effectInstruments(s);
  s.orderCount = 4;
  s.orders = {0, 1, 2, 1};

  // Pattern 0, pulse 1: the effects one after another.
  put(s, 0, kPulse1, 0, 49, 1, 0x0, "37");
  put(s, 0, kPulse1, 4, 0, 0, 0x0, "47");
  put(s, 0, kPulse1, 8, 50, 1, 0x1, "10");
  put(s, 0, kPulse1, 12, 0, 0, 0x1, "00");
  put(s, 0, kPulse1, 16, 0, 0, 0x2, "20");
  put(s, 0, kPulse1, 20, 61, 0, 0x3, "04");
  put(s, 0, kPulse1, 24, 0, 0, 0x3, "00");
  put(s, 0, kPulse1, 28, 0, 0, 0x4, "46");
  put(s, 0, kPulse1, 32, 55, 0, 0x5, "12");
  put(s, 0, kPulse1, 36, 0, 0, 0x6, "21");
  put(s, 0, kPulse1, 40, 0, 0, 0x7, "38");
  put(s, 0, kPulse1, 44, 0, 0, 0xA, "02");
  put(s, 0, kPulse1, 48, 0, 0, 0xA, "10");
  put(s, 0, kPulse1, 52, 49, 1, 0xC, "35");
  put(s, 0, kPulse1, 56, 0, 0, 0xC, "05");
  put(s, 0, kPulse1, 58, kNoteOff);
  put(s, 0, kPulse1, 60, 0, 4);
  put(s, 0, kPulse1, 62, kNoteOff, 1);
  // Pulse 2: extended effects, delays, the ends of the note range, a long slide.
  put(s, 0, kPulse2, 0, 37, 4);
  put(s, 0, kPulse2, 2, 0, 0, 0xE, "A3");
  put(s, 0, kPulse2, 6, 0, 0, 0xE, "B5");
  put(s, 0, kPulse2, 10, 0, 0, 0xE, "12");
  put(s, 0, kPulse2, 14, 0, 0, 0xE, "23");
  put(s, 0, kPulse2, 18, 40, 1, 0xE, "D3");
  put(s, 0, kPulse2, 22, 44, 0, 0xE, "D0");
  put(s, 0, kPulse2, 26, 96, 1);
  put(s, 0, kPulse2, 28, 120, 1, 0x8, "12");
  put(s, 0, kPulse2, 30, 1, 1, 0x9, "34");
  for (int row = 34; row < kRows; ++row) put(s, 0, kPulse2, row, 0, 0, 0x1, "FF");
  // Triangle: the volume threshold at 8, vibrato, a sweep of high bytes.
  put(s, 0, kTriangle, 0, 25, 1, 0xC, "08");
  put(s, 0, kTriangle, 8, 0, 0, 0xC, "07");
  put(s, 0, kTriangle, 12, 30, 4, 0x4, "8F");
  put(s, 0, kTriangle, 24, 13, 1, 0x2, "08");
  put(s, 0, kTriangle, 40, kNoteOff);
  // Noise: fixed notes, modes, fine pitch moving the note itself.
  put(s, 0, kNoise, 0, 1, 2);
  put(s, 0, kNoise, 4, 17, 3);
  put(s, 0, kNoise, 8, 0, 0, 0xE, "11");
  put(s, 0, kNoise, 12, 0, 0, 0xE, "21");
  put(s, 0, kNoise, 16, 0, 0, 0xE, "21");
  put(s, 0, kNoise, 20, 200, 3, 0xA, "01");
  put(s, 0, kNoise, 30, kNoteOff, 2);

  // Pattern 1: the saturated slide comes back by tone portamento; speed and
  // tempo change; a break past the last order position.
  for (int row = 0; row < 30; ++row) put(s, 1, kPulse2, row, 0, 0, 0x3, row == 0 ? "FF" : "00");
  put(s, 1, kPulse1, 0, 60, 4, 0x6, "01");
  put(s, 1, kPulse1, 4, 0, 0, 0x4, "F8");
  put(s, 1, kPulse1, 10, 61, 1, 0x7, "FF");
  put(s, 1, kPulse1, 20, 62, 1, 0xE, "D2");
  put(s, 1, kNoise, 0, 0, 0, 0xF, "03");
  put(s, 1, kNoise, 16, 0, 0, 0xF, "96");
  put(s, 1, kNoise, 32, 0, 0, 0xF, "06");
  put(s, 1, kNoise, 33, 0, 0, 0xF, "7D");
  put(s, 1, kTriangle, 2, 49, 4);
  put(s, 1, kTriangle, 40, 0, 0, 0xD, "12");

  // Pattern 2, entered at row 21 by pattern 1's break: a raw sample, then a
  // break and a jump on one row: the break first, the jump at the next row
  // advance.
  put(s, 2, kPulse1, 21, 73, 1, 0x0, "C4");
  put(s, 2, kPulse1, 30, 0, 0, 0xD, "05");
  put(s, 2, kPulse2, 30, 0, 0, 0xB, "03");
  put(s, 2, kNoise, 23, 33, 2);
  put(s, 2, kSampleTrack, 21, 1);
  s.samples[1] = RawSample{{64, 70, 80, 90}, false, "blip"};
  return s;
}

// order-wrap.qcm, NTSC: orders that run off the end of the last pattern, a
// jump past the order list, a break past row 63, and arpeggios held across
// pattern changes.
Song orderWrapSong() {
  Song s;
  effectInstruments(s);
  s.ntsc = true;
  s.orderCount = 4;
  s.orders = {0, 1, 2, 0};
  put(s, 0, kPulse1, 0, 49, 1, 0x0, "47");
  put(s, 0, kPulse2, 0, 53, 4, 0x4, "23");
  put(s, 0, kTriangle, 0, 37, 1, 0x0, "C0");
  put(s, 0, kNoise, 0, 5, 3, 0x0, "21");
  put(s, 0, kNoise, 63, 0, 0, 0xF, "01");
  put(s, 1, kPulse1, 0, 0, 0, 0x0, "47");
  put(s, 1, kPulse1, 5, 0, 0, 0xF, "06");
  put(s, 1, kPulse2, 10, 0, 0, 0xB, "40");
  put(s, 2, kPulse2, 3, 0, 0, 0xD, "99");
  return s;
}

std::vector<uint8_t> ramp(size_t length, int step) {
  std::vector<uint8_t> data(length);
  for (size_t i = 0; i < length; i++) data[i] = uint8_t((i * size_t(step)) % 128);
  return data;
}

// samples-pal.qcm and samples-ntsc.qcm: three orders, the last jumping back
// to the second, over raw samples that play to their end, loop, restart,
// stop at an empty slot and end within a frame; with envelopes, effects,
// tempo and speed changes and note-offs on the tone tracks.
Song samplesSong(bool ntsc) {
  Song s;
  writeProgramStartInstruments(s);
  s.ntsc = ntsc;
  s.orderCount = 3;
  s.orders = {0, 1, 2};
  setEnvelope(s.envelopes[2][kVolumeEnvelope], {15, 13, 11, 9, 7, 5}, 5);
  setEnvelope(s.envelopes[2][kNoteEnvelope], {64, 67, 71}, 0);
  setEnvelope(s.envelopes[2][kDutyEnvelope], {0, 1, 2, 3}, 0);
  s.samples[1] = RawSample{ramp(2000, 3), false, "long ramp"};
  s.samples[2] = RawSample{ramp(300, 7), true, "looping ramp"};
  s.samples[4] = RawSample{ramp(90, 1), false, "short ramp"};

  put(s, 0, kPulse1, 0, 49, 1, 0xF, "03");
  put(s, 0, kPulse1, 8, 53, 1, 4, "46");
  put(s, 0, kPulse1, 16, kNoteOff);
  put(s, 0, kPulse1, 20, 56, 2);
  put(s, 0, kPulse1, 31, 0, 0, 0xD, "00");
  put(s, 0, kPulse2, 0, 37, 2, 0, "37");
  put(s, 0, kPulse2, 12, 0, 0, 0xC, "35");
  put(s, 0, kTriangle, 0, 25, 1);
  put(s, 0, kTriangle, 16, 30, 1, 3, "08");
  put(s, 0, kNoise, 0, 10, 1);
  put(s, 0, kNoise, 4, 20, 1);
  put(s, 0, kNoise, 24, kNoteOff);
  put(s, 0, kSampleTrack, 0, 1);
  put(s, 0, kSampleTrack, 12, 2);
  put(s, 0, kSampleTrack, 13, 2);
  put(s, 0, kSampleTrack, 20, 3);
  put(s, 0, kSampleTrack, 26, 4);

  put(s, 1, kPulse1, 0, 40, 1, 1, "02");
  put(s, 1, kPulse1, 4, 0, 0, 0xF, "A0");
  put(s, 1, kPulse1, 8, 0, 0, 2, "03");
  put(s, 1, kPulse1, 16, 60, 1, 0xA, "02");
  put(s, 1, kPulse1, 20, 0, 0, 0xF, "05");
  put(s, 1, kPulse2, 0, 50, 1, 7, "48");
  put(s, 1, kPulse2, 31, 0, 0, 0xD, "00");
  put(s, 1, kTriangle, 0, 36, 2);
  put(s, 1, kNoise, 0, 5, 2);
  put(s, 1, kNoise, 10, 0, 0, 0xE, "11");
  put(s, 1, kSampleTrack, 2, 2);
  put(s, 1, kSampleTrack, 24, 1);

  put(s, 2, kPulse1, 0, 45, 2);
  put(s, 2, kPulse1, 4, 47, 1, 0xE, "D2");
  put(s, 2, kTriangle, 8, kNoteOff);
  put(s, 2, kPulse1, 15, 0, 0, 0xB, "01");
  return s;
}

}  // namespace

}  // namespace qc

int main(int argc, char** argv) {
  using namespace qc;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_example_songs DIR\n");
    return 1;
  }
  const std::pair<const char*, Song> songs[] = {
      {"effects.qcm", effectsSong()},
      {"order-wrap.qcm", orderWrapSong()},
      {"samples-pal.qcm", samplesSong(false)},
      {"samples-ntsc.qcm", samplesSong(true)},
  };
  for (const auto& [name, song] : songs) {
    const std::string path = std::string(argv[1]) + "/" + name;
    if (!writeFileSafely(path, encodeModule(song))) {
      std::fprintf(stderr, "make_example_songs: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
