#include "tests/cart_songs.h"

#include "song/app_state.h"

namespace qc {

namespace {

constexpr int kFixedNote = 0x80;
enum Track { kPulse1, kPulse2, kTriangle, kNoise, kSampleTrack };

void instruments(Song& song) {
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
  song.instrumentNames[1] = "lead_1|x";
  song.instrumentNames[2] = "Fixed";
}

std::vector<uint8_t> ramp(size_t length, int step) {
  std::vector<uint8_t> data(length);
  for (size_t i = 0; i < length; i++) data[i] = uint8_t((i * size_t(step)) % 128);
  return data;
}

}  // namespace

Song effectsSong() {
  Song s;
  instruments(s);
  s.orderCount = 4;
  s.orders = {0, 1, 2, 1};

  // Pattern 0, pulse 1: the effects one after another.
  putCell(s, 0, kPulse1, 0, 49, 1, 0x0, "37");
  putCell(s, 0, kPulse1, 4, 0, 0, 0x0, "47");
  putCell(s, 0, kPulse1, 8, 50, 1, 0x1, "10");
  putCell(s, 0, kPulse1, 12, 0, 0, 0x1, "00");
  putCell(s, 0, kPulse1, 16, 0, 0, 0x2, "20");
  putCell(s, 0, kPulse1, 20, 61, 0, 0x3, "04");
  putCell(s, 0, kPulse1, 24, 0, 0, 0x3, "00");
  putCell(s, 0, kPulse1, 28, 0, 0, 0x4, "46");
  putCell(s, 0, kPulse1, 32, 55, 0, 0x5, "12");
  putCell(s, 0, kPulse1, 36, 0, 0, 0x6, "21");
  putCell(s, 0, kPulse1, 40, 0, 0, 0x7, "38");
  putCell(s, 0, kPulse1, 44, 0, 0, 0xA, "02");
  putCell(s, 0, kPulse1, 48, 0, 0, 0xA, "10");
  putCell(s, 0, kPulse1, 52, 49, 1, 0xC, "35");
  putCell(s, 0, kPulse1, 56, 0, 0, 0xC, "05");
  putCell(s, 0, kPulse1, 58, 255);
  putCell(s, 0, kPulse1, 60, 0, 4);
  putCell(s, 0, kPulse1, 62, 255, 1);
  // Pulse 2: extended effects, delays, the ends of the note range, a long slide.
  putCell(s, 0, kPulse2, 0, 37, 4);
  putCell(s, 0, kPulse2, 2, 0, 0, 0xE, "A3");
  putCell(s, 0, kPulse2, 6, 0, 0, 0xE, "B5");
  putCell(s, 0, kPulse2, 10, 0, 0, 0xE, "12");
  putCell(s, 0, kPulse2, 14, 0, 0, 0xE, "23");
  putCell(s, 0, kPulse2, 18, 40, 1, 0xE, "D3");
  putCell(s, 0, kPulse2, 22, 44, 0, 0xE, "D0");
  putCell(s, 0, kPulse2, 26, 96, 1);
  putCell(s, 0, kPulse2, 28, 120, 1, 0x8, "12");
  putCell(s, 0, kPulse2, 30, 1, 1, 0x9, "34");
  for (int row = 34; row < kRows; ++row) putCell(s, 0, kPulse2, row, 0, 0, 0x1, "FF");
  // Triangle: the volume threshold at 8, vibrato, a sweep of high bytes.
  putCell(s, 0, kTriangle, 0, 25, 1, 0xC, "08");
  putCell(s, 0, kTriangle, 8, 0, 0, 0xC, "07");
  putCell(s, 0, kTriangle, 12, 30, 4, 0x4, "8F");
  putCell(s, 0, kTriangle, 24, 13, 1, 0x2, "08");
  putCell(s, 0, kTriangle, 40, 255);
  // Noise: fixed notes, modes, fine pitch moving the note itself.
  putCell(s, 0, kNoise, 0, 1, 2);
  putCell(s, 0, kNoise, 4, 17, 3);
  putCell(s, 0, kNoise, 8, 0, 0, 0xE, "11");
  putCell(s, 0, kNoise, 12, 0, 0, 0xE, "21");
  putCell(s, 0, kNoise, 16, 0, 0, 0xE, "21");
  putCell(s, 0, kNoise, 20, 200, 3, 0xA, "01");
  putCell(s, 0, kNoise, 30, 255, 2);

  // Pattern 1: the saturated slide comes back by tone portamento; speed and
  // tempo change; a break past the last order position.
  for (int row = 0; row < 30; ++row) putCell(s, 1, kPulse2, row, 0, 0, 0x3, row == 0 ? "FF" : "00");
  putCell(s, 1, kPulse1, 0, 60, 4, 0x6, "01");
  putCell(s, 1, kPulse1, 4, 0, 0, 0x4, "F8");
  putCell(s, 1, kPulse1, 10, 61, 1, 0x7, "FF");
  putCell(s, 1, kPulse1, 20, 62, 1, 0xE, "D2");
  putCell(s, 1, kNoise, 0, 0, 0, 0xF, "03");
  putCell(s, 1, kNoise, 16, 0, 0, 0xF, "96");
  putCell(s, 1, kNoise, 32, 0, 0, 0xF, "06");
  putCell(s, 1, kNoise, 33, 0, 0, 0xF, "7D");
  putCell(s, 1, kTriangle, 2, 49, 4);
  putCell(s, 1, kTriangle, 40, 0, 0, 0xD, "12");

  // Pattern 2: a break and a jump on one row: the break first, the jump at
  // the next row advance.
  putCell(s, 2, kPulse1, 0, 73, 1, 0x0, "C4");
  putCell(s, 2, kPulse1, 30, 0, 0, 0xD, "05");
  putCell(s, 2, kPulse2, 30, 0, 0, 0xB, "03");
  putCell(s, 2, kNoise, 2, 33, 2);
  putCell(s, 2, kSampleTrack, 0, 1);
  s.samples[1] = RawSample{{64, 70, 80, 90}, false, "blip"};
  return s;
}

Song wrappingSong() {
  Song s;
  instruments(s);
  s.ntsc = true;  // the console decides the standard, not the song
  s.orderCount = 4;
  s.orders = {0, 1, 2, 0};
  putCell(s, 0, kPulse1, 0, 49, 1, 0x0, "47");
  putCell(s, 0, kPulse2, 0, 53, 4, 0x4, "23");
  putCell(s, 0, kTriangle, 0, 37, 1, 0x0, "C0");
  putCell(s, 0, kNoise, 0, 5, 3, 0x0, "21");
  putCell(s, 0, kNoise, 63, 0, 0, 0xF, "01");
  putCell(s, 1, kPulse1, 0, 0, 0, 0x0, "47");
  putCell(s, 1, kPulse1, 5, 0, 0, 0xF, "06");
  putCell(s, 1, kPulse2, 10, 0, 0, 0xB, "40");
  putCell(s, 2, kPulse2, 3, 0, 0, 0xD, "99");
  return s;
}

Song samplesSong(bool ntsc) {
  Song s;
  writeProgramStartInstruments(s);
  s.ntsc = ntsc;
  s.orderCount = 3;
  s.orders[0] = 0;
  s.orders[1] = 1;
  s.orders[2] = 2;
  setEnvelope(s.envelopes[2][kVolumeEnvelope], {15, 13, 11, 9, 7, 5}, 5);
  setEnvelope(s.envelopes[2][kNoteEnvelope], {64, 67, 71}, 0);
  setEnvelope(s.envelopes[2][kDutyEnvelope], {0, 1, 2, 3}, 0);
  s.samples[1].data = ramp(2000, 3);
  s.samples[2].data = ramp(300, 7);
  s.samples[2].loop = true;
  s.samples[4].data = ramp(90, 1);

  putCell(s, 0, 0, 0, 49, 1, 0xF, "03");
  putCell(s, 0, 0, 8, 53, 1, 4, "46");
  putCell(s, 0, 0, 16, kNoteOff);
  putCell(s, 0, 0, 20, 56, 2);
  putCell(s, 0, 0, 31, 0, 0, 0xD, "00");
  putCell(s, 0, 1, 0, 37, 2, 0, "37");
  putCell(s, 0, 1, 12, 0, 0, 0xC, "35");
  putCell(s, 0, 2, 0, 25, 1);
  putCell(s, 0, 2, 16, 30, 1, 3, "08");
  putCell(s, 0, 3, 0, 10, 1);
  putCell(s, 0, 3, 4, 20, 1);
  putCell(s, 0, 3, 24, kNoteOff);
  putCell(s, 0, 4, 0, 1);
  putCell(s, 0, 4, 12, 2);
  putCell(s, 0, 4, 13, 2);
  putCell(s, 0, 4, 20, 3);
  putCell(s, 0, 4, 26, 4);

  putCell(s, 1, 0, 0, 40, 1, 1, "02");
  putCell(s, 1, 0, 4, 0, 0, 0xF, "A0");
  putCell(s, 1, 0, 8, 0, 0, 2, "03");
  putCell(s, 1, 0, 16, 60, 1, 0xA, "02");
  putCell(s, 1, 0, 20, 0, 0, 0xF, "05");
  putCell(s, 1, 1, 0, 50, 1, 7, "48");
  putCell(s, 1, 1, 31, 0, 0, 0xD, "00");
  putCell(s, 1, 2, 0, 36, 2);
  putCell(s, 1, 3, 0, 5, 2);
  putCell(s, 1, 3, 10, 0, 0, 0xE, "11");
  putCell(s, 1, 4, 2, 2);
  putCell(s, 1, 4, 24, 1);

  putCell(s, 2, 0, 0, 45, 2);
  putCell(s, 2, 0, 4, 47, 1, 0xE, "D2");
  putCell(s, 2, 2, 8, kNoteOff);
  putCell(s, 2, 0, 15, 0, 0, 0xB, "01");
  return s;
}

}  // namespace qc
