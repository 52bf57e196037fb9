#include "cli/command_line.h"

#include <gtest/gtest.h>

#include "cli/json_text.h"
#include "song/app_state.h"
#include "song/module_file.h"
#include "song/optimized_samples.h"
#include "tests/cli_runner.h"
#include "tests/module_bytes.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override { resetToProgramStart(); }
  TempDir dir;
};

TEST_F(CommandLine, InfoPrintsTheModuleAsOneJsonObject) {
  Song& song = app.song;
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

TEST_F(CommandLine, FailuresNameTheFileAndTheReasonAndWriteNothing) {
  FileBytes cut = moduleHeader(4, 2, 1, 0, 0);
  addInstrument(cut, "a", {1}, {64}, {0});
  writeFile(dir.file("text.qcm"), {'h', 'e', 'l', 'l', 'o'});
  writeFile(dir.file("future.qcm"), moduleHeader(9, 1, 1, 0));
  writeFile(dir.file("cut.qcm"), cut);
  writeFile(dir.file("m.qcm"), encodeModule(app.song));
  const std::string out = dir.file("out");
  const struct {
    std::vector<std::string> args;
    std::string culprit, reason;
  } cases[] = {
      {{"--info", dir.file("missing.qcm")}, dir.file("missing.qcm"), "not found"},
      {{"--info", dir.path()}, dir.path(), "is a folder, not a file"},
      {{"--info", dir.file("text.qcm")}, dir.file("text.qcm"), "not a module"},
      {{"--convert", dir.file("future.qcm"), out}, dir.file("future.qcm"), "unsupported version 9"},
      {{"--export-qcs", dir.file("cut.qcm"), "1", out}, dir.file("cut.qcm"),
       "damaged at instrument 2: name: file ends early"},
      {{"--convert", dir.file("m.qcm"), dir.file("no/such/dir.qcm")}, dir.file("no/such/dir.qcm"),
       "cannot write: No such file or directory"},
  };
  for (const auto& c : cases) {
    const CliResult r = runCli(c.args);
    EXPECT_EQ(r.status, 1) << c.args[1];
    EXPECT_EQ(r.err, "quillchanter: " + c.culprit + ": " + c.reason + "\n");
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(std::filesystem::exists(out));
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
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--info"}, "usage: quillchanter --info MODULE\n"},
      {{"--convert", "a"}, "usage: quillchanter --convert IN.qcm OUT.qcm\n"},
      {{"--export-qcs", "a", "1"}, "usage: quillchanter --export-qcs MODULE SLOT OUT.qcs\n"},
  };
  for (const auto& [args, usage] : cases) {
    const CliResult r = runCli(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_EQ(r.err, usage);
  }
}

TEST_F(CommandLine, ConvertWritesOldVersionsAsVersionFourAndLeavesVersionFourAsItIs) {
  FileBytes f = moduleHeader(0, 1, 1, 1);
  addInstrument(f, "v0", {15}, {0}, {0});
  add(f, {0});
  addPattern(f, 4, 0, 0, 13, 0x01, 0);
  writeFile(dir.file("old.qcm"), f);
  ASSERT_EQ(runCli({"--convert", dir.file("old.qcm"), dir.file("new.qcm")}).status, 0);
  ASSERT_TRUE(loadModuleImage(f));
  const Bytes converted = readFile(dir.file("new.qcm"));
  EXPECT_EQ(converted, encodeModule(app.song));
  ASSERT_EQ(runCli({"--convert", dir.file("new.qcm"), dir.file("again.qcm")}).status, 0);
  EXPECT_EQ(readFile(dir.file("again.qcm")), converted);
}

// Which songs cannot be exported is the exporter's test, and what the file holds the console render's; the
// command prints its report or names the module.
TEST_F(CommandLine, ExportNsfPrintsTheExportersReportOrNamesTheModuleItCannotExport) {
  ASSERT_TRUE(saveModule(dir.file("song.qcm")));
  CliResult r = runCli({"--export-nsf", dir.file("song.qcm"), dir.file("song.nsf")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("loop point = 0"), std::string::npos) << r.out;

  app.song.patterns[0].cells[0][0] = Cell{0, 0xF0, 0};  // speed 0: the first row never ends
  ASSERT_TRUE(saveModule(dir.file("stuck.qcm")));
  r = runCli({"--export-nsf", dir.file("stuck.qcm"), dir.file("stuck.nsf")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "quillchanter: " + dir.file("stuck.qcm") +
                       ": cannot export as NSF: the song breaks a limit of the format or never reaches its loop point\n");
}

}  // namespace

}  // namespace qc
