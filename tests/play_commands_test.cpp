// The command-line --trace and --render commands.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <sstream>
#include <string>
#include <vector>

#include "audio_test_support.h"
#include "cli/command_line.h"
#include "song/module_file.h"
#include "tests/cli_runner.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

struct Wav {
  SF_INFO info{};
  Samples samples;
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

// The pitch heard from 0.5 to 1.5 seconds.
double pitch(const Wav& wav) { return frequency(Samples(wav.samples.begin(), wav.samples.begin() + 66150), 22050); }

class PlayCommands : public ::testing::Test {
 protected:
  void SetUp() override { writeProgramStartInstruments(song); }
  std::string writeSong() {
    const std::string path = dir.file("song.qcm");
    writeFile(path, encodeModule(song));
    return path;
  }
  int render(std::vector<std::string> args, std::string* err = nullptr) {
    args.insert(args.begin(), "--render");
    const CliResult r = runCli(args);
    if (err) *err = r.err;
    return r.status;
  }
  Song song;
  TempDir dir;
};

TEST_F(PlayCommands, TracePrintsEveryTickToTheLoopPoint) {
  song.patterns[0].cells[0][0] = Cell{49, 0x01, 0};
  song.patterns[0].cells[4][0].note = 3;
  const CliResult r = runCli({"--trace", writeSong()});
  ASSERT_EQ(r.status, 0) << r.err;
  const auto out = lines(r.out);
  ASSERT_EQ(out.size(), size_t(64 * 6));
  // order row tick, then the twelve captured fields; PAL C-4 is period 198.
  EXPECT_EQ(out[0], "0 0 0 0 198 47 -1 -1 0 -1 -1 0 -1 0 3");
  EXPECT_EQ(out[1], "0 0 1 0 198 47 -1 -1 0 -1 -1 0 -1 0 0");
  EXPECT_EQ(out.back().substr(0, 7), "0 63 5 ");
  EXPECT_EQ(lines(runCli({"--trace", writeSong(), "--ticks", "10"}).out).size(), 10u);
}

TEST_F(PlayCommands, TraceOfASongAtSpeedZeroEndsAtTheCapWithAWarning) {
  song.patterns[0].cells[0][0] = Cell{0, 0xF0, 0};
  const CliResult r = runCli({"--trace", writeSong()});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(lines(r.out).size(), size_t(20 * 60 * 1662607.0 / 33247.5 + 0.5));
  EXPECT_NE(r.err.find("speed 0"), std::string::npos) << r.err;
}

TEST_F(PlayCommands, WritesMono16BitAt44100UntilTheLoopPointAtThePulsePitch) {
  song.patterns[0].cells[0][0] = Cell{49, 0x01, 0};  // C-4: PAL period 198
  ASSERT_EQ(render({writeSong(), dir.file("out.wav")}), 0);
  const Wav wav = readWav(dir.file("out.wav"));
  EXPECT_EQ(wav.info.samplerate, 44100);
  EXPECT_EQ(wav.info.channels, 1);
  EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  // One pattern: 64 rows of 6 frames at 50.007 frames a second.
  EXPECT_NEAR(double(wav.samples.size()), 64 * 6 * 44100 / 50.007, 64);
  EXPECT_NEAR(pitch(wav), 1662607.0 / (16 * 199), 3);
  ASSERT_EQ(render({writeSong(), dir.file("out.wav"), "--seconds", "2"}), 0);
  EXPECT_EQ(readWav(dir.file("out.wav")).samples.size(), 88200u);
}

TEST_F(PlayCommands, NtscTriangleSoundsAnOctaveBelowItsNoteAtTheSameRowTiming) {
  song.ntsc = true;
  song.patterns[0].cells[2][0] = Cell{37, 0x01, 0};  // C-3, 261.6 Hz: NTSC period 427
  ASSERT_EQ(render({writeSong(), dir.file("out.wav")}), 0);
  const Wav wav = readWav(dir.file("out.wav"));
  EXPECT_NEAR(pitch(wav), 1789773.0 / (32 * 428), 2);
  EXPECT_NEAR(double(wav.samples.size()) / 44100, 64 * 6 / 50.007, 0.2);
}

TEST_F(PlayCommands, RejectBadArgumentsMissingModulesAndUnwritableOutput) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--trace"}, {"--trace", writeSong(), "--ticks", "0"},
        {"--trace", writeSong(), "--ticks", "12x"}, {"--render"},
        {"--render", writeSong(), dir.file("out.wav"), "--seconds", "0"},
        {"--render", writeSong(), dir.file("out.wav"), "--seconds", "abc"}})
    EXPECT_EQ(runCli(args).status, 1) << args.back();
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--trace", dir.file("missing.qcm")},
                                               {"--render", dir.file("missing.qcm"), dir.file("out.wav")}}) {
    const CliResult missing = runCli(args);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("missing.qcm"), std::string::npos) << args[0];
  }
  std::string err;
  EXPECT_EQ(render({writeSong(), dir.file("no/such/dir/out.wav")}, &err), 1);
  EXPECT_NE(err.find("cannot write"), std::string::npos) << err;
}

}  // namespace

}  // namespace qc
