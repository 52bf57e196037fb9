#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/file_commands.h"
#include "app/file_dialog.h"
#include "app/module_loading.h"
#include "editor/live_player.h"
#include "editor/key_codes.h"
#include "editor/key_handler.h"
#include "editor/undo_history.h"
#include "screen_fixture.h"
#include "song/app_state.h"
#include "song/instrument_file.h"
#include "song/module_file.h"
#include "tests/cli_runner.h"
#include "tests/recording_files.h"
#include "tests/temp_dir.h"

namespace qc {

namespace {

namespace fs = std::filesystem;

// Drives the file commands through the real file dialog, key by key, in the
// fixture's fresh working folder.
class FileCommandTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    setFileCommandRunner(startFileCommand);
  }
  void TearDown() override {
    setFileCommandRunner(nullptr);
    ScreenTest::TearDown();
  }
  static void dialogKey(int32_t sym, uint16_t unicode = 0) { fileDialogKey(KeyEvent{sym, 0, unicode}); }
  // Types the name, presses Return and lets the command finish as the main loop would.
  static void answer(const std::string& name) {
    for (const char c : name) dialogKey(c, uint16_t(uint8_t(c)));
    dialogKey(kKeyReturn);
    finishFileDialog();
  }
  static void cancel() {
    dialogKey(kKeyEscape);
    finishFileDialog();
  }
  static void run(FileCommand command, const std::string& name) {
    runFileCommand(command);
    answer(name);
  }
};

void markSong() {
  app.song.orderCount = 3;
  app.song.patterns[2].cells[0][5].note = 40;
  app.song.instrumentNames[1] = "Lead";
}

TEST_F(FileCommandTest, EveryDialogOpensOrSavesAndEscapeInItChangesNothing) {
  app.editor.currentSample = 2;
  markSong();
  const Bytes before = encodeModule(app.song);
  for (int command = 0; command <= int(FileCommand::ExportAudio); ++command) {  // the three loads come first
    app.status.text.clear();
    runFileCommand(FileCommand(command));
    ASSERT_NE(activeFileChooser(), nullptr);
    EXPECT_EQ(activeFileChooser()->mode,
              command <= int(FileCommand::LoadRawSample) ? ChooserMode::Open : ChooserMode::Save);
    cancel();
    EXPECT_EQ(app.status.text, "File selection canceled.");
    EXPECT_EQ(activeFileChooser(), nullptr);
  }
  EXPECT_EQ(encodeModule(app.song), before);
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

// Each save command writes its kind of file, with its type's extension when the name has none.
TEST_F(FileCommandTest, SaveCommandsWriteTheirFilesAndReportTheOutcome) {
  app.editor.currentSample = 1;
  app.song.samples[1] = RawSample{{70, 70}, false, "short"};
  app.song.patterns[0].cells[0][0] = Cell{37, 0x01, 0};
  const struct {
    FileCommand command;
    const char *typed, *file, *head;
  } cases[] = {{FileCommand::SaveInstrument, "song", "song.qci", "QuillchanterInst"},
               {FileCommand::SaveOptimizedSamples, "song", "song.qcs", ""},
               {FileCommand::ExportRom, "song", "song.nes", "NES\x1A"},
               {FileCommand::ExportNsf, "song", "song.nsf", "NESM"},
               {FileCommand::ExportNsf, "song.nsfe", "song.nsfe", "NSFE"},
               {FileCommand::ExportAudio, "song", "song.wav", "RIFF"},
               {FileCommand::SaveModule, "song", "song.qcm", "QuillchanterTune"}};
  beginUndoStep();
  recordOrderListChange();
  markSong();
  endUndoStep();
  writeFile(dir.file("song.qcm"), {'o', 'l', 'd'});  // saved over without a question
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    run(c.command, c.typed);
    EXPECT_EQ(app.status.text, "File succesfully saved!");
    EXPECT_EQ(unsavedChanges(), c.command != FileCommand::SaveModule) << "only saving the module saves the song";
    const Bytes written = readFile(dir.file(c.file));
    const std::string head(c.head);
    ASSERT_GE(written.size(), head.size());
    EXPECT_EQ(std::string(written.begin(), written.begin() + std::ptrdiff_t(head.size())), head);
    performFileCommand(c.command, dir.file("missing/") + c.file);
    EXPECT_EQ(app.status.text, "Couldn't save file!");
  }
  EXPECT_EQ(readFile(dir.file("song.qcs")).size(), 16384u);
}

TEST_F(FileCommandTest, SavedModuleOpensAgainFromTheFolderItWasSavedIn) {
  fs::create_directories(dir.file("songs"));
  markSong();
  run(FileCommand::SaveModule, "songs/tune");
  const Bytes saved = encodeModule(app.song);
  resetToProgramStart();
  app.player.playing = true;
  runFileCommand(FileCommand::OpenModule);
  EXPECT_EQ(activeFileChooser()->title, "Open module");
  EXPECT_EQ(activeFileChooser()->folder, fs::path(dir.file("songs")));
  answer("tune");
  EXPECT_EQ(app.status.text, "File succesfully opened!");
  EXPECT_EQ(encodeModule(app.song), saved);
  EXPECT_FALSE(app.player.playing);
}

// A file that is no module is not opened and leaves no undo step.
TEST_F(FileCommandTest, OpeningOverAnEditedSongIsOneUndoableStep) {
  writeFile(dir.file("other.qcm"), encodeModule(Song{}));
  writeFile(dir.file("notes.qcm"), {'h', 'i', '\n'});
  beginUndoStep();
  recordOrderListChange();
  app.song.orderCount = 2;
  endUndoStep();
  markSong();
  app.song.samples[4] = RawSample{{10, 20, 30}, true, "kick.wav"};
  app.song.ntsc = true;
  const Bytes edited = encodeModule(app.song);
  const auto key = [](int32_t sym) { handleKeyDown(KeyEvent{sym, kModLCtrl, 0}); };

  run(FileCommand::OpenModule, "notes.qcm");
  EXPECT_EQ(app.status.text, "Couldn't open file!");
  EXPECT_FALSE(loadModuleFromPath(dir.file("missing.qcm")));
  EXPECT_EQ(encodeModule(app.song), edited);
  run(FileCommand::OpenModule, "other.qcm");
  const Bytes opened = encodeModule(app.song);
  EXPECT_NE(opened, edited);
  EXPECT_FALSE(unsavedChanges());
  key('z');
  EXPECT_EQ(app.status.text, "Undo");
  EXPECT_EQ(encodeModule(app.song), edited);
  EXPECT_TRUE(unsavedChanges());
  key('y');
  EXPECT_EQ(encodeModule(app.song), opened);
  key('z');
  key('z');
  EXPECT_EQ(app.song.orderCount, 1) << "the edit before the open is still undoable";
  EXPECT_EQ(app.song.samples[4].data, (std::vector<uint8_t>{10, 20, 30}));
}

TEST_F(FileCommandTest, InstrumentsAndRecordingsLoadIntoTheCurrentSlotAsOneUndoableStep) {
  app.song.instrumentNames[1] = "Bell";
  writeFile(dir.file("bell.qci"), encodeInstrument(app.song, 1));
  app.editor.currentInstrument = 4;
  run(FileCommand::LoadInstrument, "bell");
  EXPECT_EQ(app.status.text, "Instrument succesfully loaded!");
  EXPECT_EQ(app.song.instrumentNames[4], "Bell");
  ASSERT_TRUE(undo());
  EXPECT_EQ(app.song.instrumentNames[4], "");

  writeFile(dir.file("bad.qci"), {'n', 'o'});
  run(FileCommand::LoadInstrument, "bad.qci");
  EXPECT_EQ(app.status.text, "Couldn't open file!");

  ASSERT_TRUE(writeRecording(dir.file("kick.wav"), kFloatWav, 7801, 1, {0.5, -0.5}));
  app.editor.currentSample = 9;
  app.song.samples[9] = RawSample{{1, 2}, true, "old"};
  run(FileCommand::LoadRawSample, "kick");
  EXPECT_EQ(app.status.text, "Raw sample succesfully opened!");
  EXPECT_EQ(app.song.samples[9].data, (std::vector<uint8_t>{95, 32}));
  EXPECT_EQ(app.song.samples[9].name, "kick.wav");
  ASSERT_TRUE(undo());
  EXPECT_EQ(app.song.samples[9].name, "old");
  EXPECT_EQ(app.song.samples[9].data, (std::vector<uint8_t>{1, 2}));

  writeFile(dir.file("noise.wav"), {1, 2, 3});
  run(FileCommand::LoadRawSample, "noise.wav");
  EXPECT_EQ(app.status.text, "Couldn't open file!");
  EXPECT_EQ(app.song.samples[9].name, "old");
}

TEST_F(FileCommandTest, AudioExportWritesWhatTheCommandLineDoesWhileTheSongPlaysOn) {
  app.song.patterns[0].cells[0][0] = Cell{37, 0x01, 0};
  ASSERT_TRUE(saveModule(dir.file("song.qcm")));
  playSong();
  const std::optional<PlayingRow> playing = playingRow();
  run(FileCommand::ExportAudio, "song.flac");
  EXPECT_EQ(app.status.text, "File succesfully saved!");
  EXPECT_EQ(playingRow().has_value(), playing.has_value());
  ASSERT_EQ(runCli({"--render", dir.file("song.qcm"), dir.file("cli.flac"), "--loops", "2", "--fade", "5"}).status, 0);
  const std::vector<int16_t> saved = readRecording(dir.file("song.flac"));
  EXPECT_GT(saved.size(), size_t(5 * 44100));
  EXPECT_EQ(saved, readRecording(dir.file("cli.flac")));
}

// Root writes anywhere: the save runs in a child that gives root up.
TEST_F(FileCommandTest, SaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
  fs::create_directories(dir.file("locked"));
  writeFile(dir.file("locked/song.qcm"), {'o', 'l', 'd'});
  chmod(dir.file("locked/song.qcm").c_str(), 0644);
  chmod(dir.file("locked").c_str(), 0555);
  chmod(dir.path().c_str(), 0755);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    run(FileCommand::SaveModule, "locked/song");
    _exit(app.status.text == "Couldn't save file!" ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must report failure";
  EXPECT_EQ(readFile(dir.file("locked/song.qcm")), (std::vector<uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(dir.entries("locked"), 1);
}

}  // namespace

}  // namespace qc
