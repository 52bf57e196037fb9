// Audio export: loops, fade and length, the files it writes and what a
// failed or killed render leaves behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <numeric>
#include <thread>

#include "export/audio_export.h"
#include "export/song_compiler.h"
#include "playback/song_length.h"
#include "song/module_file.h"
#include "tests/audio_test_support.h"
#include "tests/cli_runner.h"
#include "tests/example_songs.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

const std::string kDemo = QC_EXAMPLES_DIR "/demo.qcm";

Samples readSound(const std::string& path, SF_INFO& info) {
  info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return {};
  Samples samples(size_t(info.frames));
  sf_read_short(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

double rms(const Samples& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / double(to - from));
}

TEST(AudioExport, EachLoopAddsTheCompilersLoopAndTheFadeEndsInSilence) {
  const Song song = exampleSong("demo.qcm");
  SongStreams streams;
  ASSERT_TRUE(compileSong(song, streams));
  const int64_t loopTicks = passTicks(streams, streams.loopPoint);
  int64_t length[3];
  for (int loops = 0; loops < 3; ++loops) length[loops] = planAudioExport(song, {.loops = loops}).samples;
  EXPECT_NEAR(double(length[1] - length[0]), double(samplesForTicks(loopTicks, false, 44100)), 1);
  EXPECT_NEAR(double(length[2] - length[1]), double(length[1] - length[0]), 1);

  TempDir dir;
  const CliResult r = runCli({"--render", kDemo, dir.file("x.flac"), "--loops", "2", "--fade", "5"});
  ASSERT_EQ(r.status, 0) << r.err;
  SF_INFO info;
  const Samples flac = readSound(dir.file("x.flac"), info);
  EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  ASSERT_EQ(int64_t(flac.size()), length[2] + 5 * 44100);
  EXPECT_EQ(flac.back(), 0);
  const size_t fade = size_t(length[2]);
  EXPECT_LT(rms(flac, flac.size() - 4410, flac.size()), rms(flac, fade, fade + 44100) / 5);
}

// One note held: PAL pulse C-4 (period 198), and NTSC triangle C-3 (period
// 427), which sounds an octave below the pulse at its period.
TEST(AudioExport, RateSizeTypeAndLengthComeFromTheOptionsAndTheNameAndTheChipPlaysAtTheFilesRate) {
  TempDir dir;
  Song pulse, triangle;
  writeProgramStartInstruments(pulse);
  writeProgramStartInstruments(triangle);
  pulse.patterns[0].cells[0][0] = Cell{49, 0x01, 0};
  triangle.patterns[0].cells[2][0] = Cell{37, 0x01, 0};
  triangle.ntsc = true;
  writeFile(dir.file("pulse.qcm"), encodeModule(pulse));
  writeFile(dir.file("triangle.qcm"), encodeModule(triangle));
  const double toTheLoop = 64 * 6 / 50.007;  // one pattern at speed 6, in seconds; NTSC rows are close to PAL's
  const double pulseHz = 1662607.0 / (16 * 199), triangleHz = 1789773.0 / (32 * 428);
  struct Case {
    std::vector<std::string> args;  // module, output, options
    int format;
    int rate;
    double seconds, slack;
    double hz;
  };
  for (const Case& c :
       {Case{{"pulse.qcm", "a.wav"}, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, toTheLoop, 0.0015, pulseHz},
        Case{{"triangle.qcm", "b.wav"}, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, toTheLoop, 0.2, triangleHz},
        Case{{"pulse.qcm", "a.WAV", "--seconds", "2", "--rate", "48000", "--bits", "24"},
             SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 2, 0, pulseHz},
        Case{{"pulse.qcm", "a.ogg", "--seconds", "2"}, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 2, 0, pulseHz}}) {
    std::vector<std::string> args = {"--render", dir.file(c.args[0]), dir.file(c.args[1])};
    args.insert(args.end(), c.args.begin() + 2, c.args.end());
    ASSERT_EQ(runCli(args).status, 0) << c.args[1];
    SF_INFO info;
    const Samples sound = readSound(dir.file(c.args[1]), info);
    EXPECT_EQ(info.format, c.format) << c.args[1];
    EXPECT_EQ(info.channels, 1);
    EXPECT_NEAR(double(info.frames), c.seconds * c.rate, c.slack * c.rate) << c.args[1];
    EXPECT_NEAR(frequency(sound) * c.rate / 44100, c.hz, 2) << c.args[1];
  }
}

TEST(AudioExport, BadOptionsGetOneLineAndNoFile) {
  TempDir dir;
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"--loops", "-1"}, {"--loops", "1.5"}, {"--rate", "22050"}, {"--bits", "8"},
        {"--fade", "x"}, {"--seconds", "0"}, {"--seconds", "abc"}, {"--seconds", "2", "--loops", "2"},
        {"--seconds", "2", "--fade", "3"}, {"--loops"}, {"--wobble"}}) {
    std::vector<std::string> args = {"--render", kDemo, dir.file("out.wav")};
    args.insert(args.end(), options.begin(), options.end());
    const CliResult r = runCli(args);
    EXPECT_EQ(r.status, 1) << options[0];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_EQ(runCli({"--render", kDemo, dir.file("out.mp3")}).status, 1);
  EXPECT_EQ(runCli({"--render", kDemo, dir.file("out.ogg"), "--bits", "24"}).status, 1);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// Each track plays alone in a section of its own: rows 13 t to 13 t + 10.
TEST(AudioExport, EachStemSoundsOnlyWhereItsTrackPlays) {
  Song song;
  writeProgramStartInstruments(song);
  const uint8_t notes[kChannels] = {49, 49, 37, 49, 1};  // track 4: sample slot 1
  for (int track = 0; track < kChannels; ++track) {
    song.patterns[0].cells[track][13 * track] = Cell{notes[track], uint8_t(track == kPcmTrack ? 0 : 1), 0};
    song.patterns[0].cells[track][13 * track + 10].note = uint8_t(track == kPcmTrack ? 0 : kNoteOff);
  }
  for (int i = 0; i < 6000; ++i) song.samples[1].data.push_back(uint8_t(i & 8 ? 100 : 20));
  TempDir dir;
  const AudioExportOptions options{.stems = true};
  ASSERT_TRUE(exportAudio(song, dir.file("x.wav"), options, planAudioExport(song, options)));
  const std::vector<std::string> paths = audioExportPaths(dir.file("x.wav"), true);
  ASSERT_EQ(paths.size(), size_t(kChannels));
  EXPECT_EQ(paths[2], dir.file("x-triangle.wav"));
  const size_t rowSamples = 6 * 882;
  for (int stem = 0; stem < kChannels; ++stem) {
    SF_INFO info;
    const Samples sound = readSound(paths[size_t(stem)], info);
    for (int section = 0; section < kChannels; ++section) {
      const double level = rms(sound, (13 * section + 1) * rowSamples, (13 * section + 6) * rowSamples);
      if (section == stem)
        EXPECT_GT(level, 500) << paths[size_t(stem)];
      else
        EXPECT_LT(level, 5) << paths[size_t(stem)] << " in section " << section;
    }
  }
}

// A full disk, as a file size limit, makes the write fail part way; a kill
// stops it anywhere.
TEST(AudioExport, AFailedOrKilledRenderLeavesTheOldFileOrTheNewOneAndNothingElse) {
  TempDir dir;
  const std::string path = dir.file("song.wav");
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  const Song song = exampleSong("demo.qcm");
  const AudioExportOptions options{.loops = 0, .seconds = 120};
  const AudioExportPlan plan = planAudioExport(song, options);
  const auto onlyTheTarget = [&] { return dir.entries() == 1; };
  writeFile(path, old);
  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  const sighandler_t handler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100'000;
  setrlimit(RLIMIT_FSIZE, &small);
  const bool written = exportAudio(song, path, options, plan);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, handler);
  EXPECT_FALSE(written);
  EXPECT_EQ(readFile(path), old);
  EXPECT_TRUE(onlyTheTarget());

  ASSERT_TRUE(exportAudio(song, path, options, plan));
  const std::vector<uint8_t> complete = readFile(path);
  int killedEarly = 0;
  for (int round = 0; round < 12; ++round) {
    writeFile(path, old);
    const pid_t child = fork();
    if (child == 0) _exit(exportAudio(song, path, options, plan) ? 0 : 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(25 * round));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::vector<uint8_t> now = readFile(path);
    killedEarly += now.size() == 3;
    EXPECT_TRUE(now == complete || now == old) << "round " << round;
    EXPECT_TRUE(onlyTheTarget()) << "round " << round;
  }
  EXPECT_GT(killedEarly, 0);
}

}  // namespace

}  // namespace qc
