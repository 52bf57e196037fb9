#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace {

int render(std::vector<std::string> args, std::string* err = nullptr) {
  args.insert(args.begin(), {"quillchanter", "--render"});
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int status = runCommandLine(int(argv.size()), argv.data());
  testing::internal::GetCapturedStdout();
  const std::string captured = testing::internal::GetCapturedStderr();
  if (err) *err = captured;
  return status;
}

struct Wav {
  SF_INFO info{};
  std::vector<int16_t> samples;
};

Wav readWav(const std::string& path) {
  Wav wav;
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &wav.info);
  if (!file) return wav;
  wav.samples.resize(size_t(wav.info.frames));
  sf_read_short(file, wav.samples.data(), wav.info.frames);
  sf_close(file);
  return wav;
}

// Rising zero crossings per second over [from, to) seconds.
double frequency(const Wav& wav, double from, double to) {
  const size_t begin = size_t(from * 44100), end = size_t(to * 44100);
  double mean = 0;
  for (size_t i = begin; i < end; ++i) mean += wav.samples[i];
  mean /= double(end - begin);
  int crossings = 0;
  for (size_t i = begin + 1; i < end; ++i)
    if (wav.samples[i - 1] < mean && wav.samples[i] >= mean) ++crossings;
  return crossings / (to - from);
}

class RenderCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    resetToProgramStart();
    writeProgramStartInstruments(song);
  }
  std::string writeSong() {
    const std::string path = dir.file("song.qcm");
    writeFile(path, encodeModule(song));
    return path;
  }
  Song song;
  TempDir dir;
};

TEST_F(RenderCommand, WritesMono16BitAt44100UntilTheLoopPoint) {
  song.patterns[0].cells[0][0] = Cell{49, 0x01, 0};
  ASSERT_EQ(render({writeSong(), dir.file("out.wav")}), 0);
  const Wav wav = readWav(dir.file("out.wav"));
  EXPECT_EQ(wav.info.samplerate, 44100);
  EXPECT_EQ(wav.info.channels, 1);
  EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  // One pattern: 64 rows of 6 frames at 50.007 frames a second.
  EXPECT_NEAR(double(wav.samples.size()), 64 * 6 * 44100 / 50.007, 64);
}

TEST_F(RenderCommand, PulseNoteSoundsAtItsPeriodsPitch) {
  song.patterns[0].cells[0][0] = Cell{49, 0x01, 0};  // C-4: PAL period 198
  ASSERT_EQ(render({writeSong(), dir.file("out.wav"), "--seconds", "2"}), 0);
  const Wav wav = readWav(dir.file("out.wav"));
  ASSERT_EQ(wav.samples.size(), 88200u);
  EXPECT_NEAR(frequency(wav, 0.5, 1.5), 1662607.0 / (16 * 199), 3);
}

TEST_F(RenderCommand, NtscTriangleSoundsAnOctaveBelowItsNoteAtTheSameRowTiming) {
  song.ntsc = true;
  song.patterns[0].cells[2][0] = Cell{37, 0x01, 0};  // C-3, 261.6 Hz: NTSC period 427
  ASSERT_EQ(render({writeSong(), dir.file("out.wav")}), 0);
  const Wav wav = readWav(dir.file("out.wav"));
  EXPECT_NEAR(frequency(wav, 0.5, 1.5), 1789773.0 / (32 * 428), 2);
  EXPECT_NEAR(double(wav.samples.size()) / 44100, 64 * 6 / 50.007, 0.2);
}

TEST_F(RenderCommand, RejectsBadArgumentsAndReportsUnwritableOutput) {
  EXPECT_EQ(render({}), 1);
  EXPECT_EQ(render({writeSong(), dir.file("out.wav"), "--seconds", "0"}), 1);
  EXPECT_EQ(render({writeSong(), dir.file("out.wav"), "--seconds", "abc"}), 1);
  EXPECT_EQ(render({dir.file("missing.qcm"), dir.file("out.wav")}), 1);
  std::string err;
  EXPECT_EQ(render({writeSong(), dir.file("no/such/dir/out.wav")}, &err), 1);
  EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
}

}  // namespace
