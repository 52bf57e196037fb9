#include "cli/command_line.h"

#include <gtest/gtest.h>

#include "cli/json_text.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "song/optimized_samples.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace {

struct CliResult {
  int status;
  std::string out;
  std::string err;
};

CliResult runCli(std::vector<std::string> args) {
  args.insert(args.begin(), "quillchanter");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int status = runCommandLine(int(argv.size()), argv.data());
  std::string out = testing::internal::GetCapturedStdout();
  return {status, out, testing::internal::GetCapturedStderr()};
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
  TempDir dir;
};

TEST_F(CommandLine, InfoPrintsTheModuleAsOneJsonObject) {
  Song song;
  writeProgramStartInstruments(song);
  song.ntsc = true;
  song.orderCount = 2;
  song.orders[1] = 3;
  song.patterns[1].cells[0][0].note = 1;
  song.instrumentNames[1] = "q\"\\\x01\xC3\xA9\xFF";
  setEnvelope(song.envelopes[2][kVolumeEnvelope], {15, 7}, 1);
  song.samples[0x1a] = RawSample{{1, 2, 3, 4}, true, "kick"};
  writeFile(dir.file("m.qcm"), encodeModule(song));

  const CliResult r = runCli({"--info", dir.file("m.qcm")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string empty = "\"volume\": {\"loop\": 0, \"values\": [0]}, \"note\": {\"loop\": 0, \"values\": [64]}, "
                            "\"duty\": {\"loop\": 0, \"values\": [0]}}";
  std::string expected = "{\"ntsc\": true, \"orderCount\": 2, \"orders\": [0, 3], \"usedPatterns\": 2, \"instruments\": [";
  expected += "{\"slot\": 1, \"name\": \"q\\\"\\\\\\u0001\xC3\xA9\\u00ff\", \"volume\": {\"loop\": 0, \"values\": [15]}, "
              "\"note\": {\"loop\": 0, \"values\": [64]}, \"duty\": {\"loop\": 0, \"values\": [2]}}";
  expected += ", {\"slot\": 2, \"name\": \"\", \"volume\": {\"loop\": 1, \"values\": [15, 7]}, "
              "\"note\": {\"loop\": 0, \"values\": [64]}, \"duty\": {\"loop\": 0, \"values\": [0]}}";
  for (int slot = 3; slot <= 15; ++slot) expected += ", {\"slot\": " + std::to_string(slot) + ", \"name\": \"\", " + empty;
  expected += "], \"samples\": [{\"slot\": 26, \"name\": \"kick\", \"length\": 4, \"loop\": true}]}\n";
  EXPECT_EQ(r.out, expected);
}

TEST_F(CommandLine, JsonStringsEscapeEverythingJsonForbids) {
  EXPECT_EQ(jsonString("a\tb\x7f"), "\"a\\u0009b\\u007f\"");
  EXPECT_EQ(jsonString("\xE2\x82\xAC"), "\"\xE2\x82\xAC\"");            // the euro sign, valid UTF-8
  EXPECT_EQ(jsonString("\xE2\x82"), "\"\\u00e2\\u0082\"");              // cut short
  EXPECT_EQ(jsonString("\xC0\xAF"), "\"\\u00c0\\u00af\"");              // overlong
  EXPECT_EQ(jsonString("\xED\xA0\x80"), "\"\\u00ed\\u00a0\\u0080\"");   // surrogate
}

TEST_F(CommandLine, FailuresNameTheFileAndTheReason) {
  const std::string missing = dir.file("missing.qcm");
  CliResult r = runCli({"--info", missing});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + missing + ": not found\n");
  EXPECT_EQ(r.out, "");

  writeFile(dir.file("text.qcm"), {'h', 'e', 'l', 'l', 'o'});
  r = runCli({"--info", dir.file("text.qcm")});
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("text.qcm") + ": not a module\n");

  FileBytes future = moduleHeader(9, 1, 1, 0);
  writeFile(dir.file("future.qcm"), future);
  r = runCli({"--convert", dir.file("future.qcm"), dir.file("out.qcm")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("future.qcm") + ": unsupported version 9\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.qcm")));

  FileBytes cut = moduleHeader(4, 2, 1, 0, 0);
  addInstrument(cut, "a", {1}, {64}, {0});
  writeFile(dir.file("cut.qcm"), cut);
  r = runCli({"--export-qcs", dir.file("cut.qcm"), "1", dir.file("o.qcs")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("cut.qcm") + ": damaged at instrument 2: name: file ends early\n");
}

TEST_F(CommandLine, WriteFailureIsReported) {
  writeFile(dir.file("m.qcm"), encodeModule(app.song));
  const CliResult r = runCli({"--convert", dir.file("m.qcm"), dir.file("no/such/dir.qcm")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("no/such/dir.qcm") + ": cannot write: No such file or directory\n");
}

TEST_F(CommandLine, ExportQcsTakesDecimalOrHexSlots) {
  Song song;
  song.samples[26] = RawSample{{1, 2, 3}, false, "s"};
  writeFile(dir.file("m.qcm"), encodeModule(song));
  ASSERT_EQ(runCli({"--export-qcs", dir.file("m.qcm"), "0x1a", dir.file("hex.qcs")}).status, 0);
  ASSERT_EQ(runCli({"--export-qcs", dir.file("m.qcm"), "26", dir.file("dec.qcs")}).status, 0);
  EXPECT_EQ(readFile(dir.file("hex.qcs")), encodeOptimizedSamples(song.samples[26]));
  EXPECT_EQ(readFile(dir.file("dec.qcs")), readFile(dir.file("hex.qcs")));

  ASSERT_EQ(runCli({"--export-qcs", dir.file("m.qcm"), "0X1B", dir.file("empty.qcs")}).status, 0);
  EXPECT_EQ(std::filesystem::file_size(dir.file("empty.qcs")), 0u);

  for (const char* bad : {"0", "256", "0x", "1a", "-3", "0x100", ""}) {
    const CliResult r = runCli({"--export-qcs", dir.file("m.qcm"), bad, dir.file("bad.qcs")});
    EXPECT_EQ(r.status, 1) << bad;
    EXPECT_NE(r.err.find("not a sample slot"), std::string::npos) << bad;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("bad.qcs")));
}

TEST_F(CommandLine, WrongArgumentCountsPrintUsage) {
  CliResult r = runCli({"--info"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "usage: quillchanter --info MODULE\n");
  r = runCli({"--convert", "a"});
  EXPECT_EQ(r.err, "usage: quillchanter --convert IN.qcm OUT.qcm\n");
  r = runCli({"--export-qcs", "a", "1"});
  EXPECT_EQ(r.err, "usage: quillchanter --export-qcs MODULE SLOT OUT.qcs\n");
}

}  // namespace
