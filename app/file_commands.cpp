#include "app/file_commands.h"

#include <cstdio>

#include "app/draw_screen.h"
#include "app/file_dialog.h"
#include "app/file_filters.h"
#include "app/module_loading.h"
#include "editor/status_line.h"
#include "editor/undo_history.h"
#include "export/audio_export.h"
#include "export/nsf_export.h"
#include "export/rom_export.h"
#include "samples/raw_sample_import.h"
#include "song/app_state.h"
#include "song/instrument_file.h"
#include "song/module_file.h"
#include "song/optimized_samples.h"
#include "song/shell_services.h"

namespace qc {

namespace {

struct CommandDialog {
  const char* title;
  bool save;
  FileFilter filter;
};

CommandDialog dialogFor(FileCommand command) {
  switch (command) {
    case FileCommand::OpenModule: return {"Open module", false, kModuleFilter};
    case FileCommand::LoadInstrument: return {"Load instrument", false, kInstrumentFilter};
    case FileCommand::LoadRawSample: return {"Load raw sample", false, kRecordingFilter};
    case FileCommand::SaveModule: return {"Save module", true, kModuleFilter};
    case FileCommand::SaveOptimizedSamples: return {"Save optimized samples", true, kOptimizedSamplesFilter};
    case FileCommand::SaveInstrument: return {"Save instrument", true, kInstrumentFilter};
    case FileCommand::ExportRom: return {"Export iNES ROM", true, kRomFilter};
    case FileCommand::ExportNsf: return {"Export NSF", true, kNsfFilter};
    case FileCommand::ExportAudio: return {"Export audio", true, kAudioFilter};
  }
  return {"", false, kModuleFilter};
}

// Loading over an instrument or a sample slot can be taken back with undo.
template <typename Load>
bool undoableLoad(void (*record)(int), int slot, Load load) {
  beginUndoStep();
  record(slot);
  const bool loaded = load();
  AudioLock lock;
  endUndoStep();
  return loaded;
}

void report(bool ok, const char* success, const char* failure) { setStatus(ok ? success : failure); }

constexpr const char* kSaved = "File succesfully saved!";
constexpr const char* kNotSaved = "Couldn't save file!";
constexpr const char* kNotOpened = "Couldn't open file!";

void printLine(const std::string& line) { std::printf("%s\n", line.c_str()); }

bool exportNsfOrNsfe(const std::string& path) {
  return matchesPattern(path, "*.nsfe") ? exportNsfe(app.song, path, printLine) : exportNsf(app.song, path, printLine);
}

// The export plays the song on a player of its own while the live one plays
// on; the window is redrawn with the progress when it takes a while.
bool exportSongAudio(const std::string& path) {
  constexpr uint32_t kQuietMs = 500;
  constexpr uint32_t kRedrawMs = 100;
  const AudioExportOptions options{.loops = kEditorExportLoops, .fadeSeconds = kExportFadeSeconds};
  const uint32_t start = shell.ticks();
  uint32_t drawn = start;
  const ExportProgress progress = [&](double done) {
    const uint32_t now = shell.ticks();
    if (now - start < kQuietMs || now - drawn < kRedrawMs) return;
    drawn = now;
    updateStatus("Rendering audio: " + std::to_string(int(done * 100)) + "%");
    drawScreen();
    presentScreen();
  };
  return exportAudio(app.song, path, options, planAudioExport(app.song, options), progress);
}

}  // namespace

void performFileCommand(FileCommand command, const std::string& path) {
  switch (command) {
    case FileCommand::OpenModule: openModuleWithStatus(path); break;
    case FileCommand::LoadInstrument:
      report(undoableLoad(recordInstrumentChange, app.editor.currentInstrument, [&] { return loadInstrument(path); }),
             "Instrument succesfully loaded!", kNotOpened);
      break;
    case FileCommand::LoadRawSample:
      report(undoableLoad(recordSampleChange, app.editor.currentSample, [&] { return importRawSample(path); }),
             "Raw sample succesfully opened!", kNotOpened);
      break;
    case FileCommand::SaveModule: {
      const bool saved = saveModule(path);
      if (saved) markSongSaved();
      report(saved, kSaved, kNotSaved);
      break;
    }
    case FileCommand::SaveOptimizedSamples: report(saveOptimizedSamples(path), kSaved, kNotSaved); break;
    case FileCommand::SaveInstrument: report(saveInstrument(path), kSaved, kNotSaved); break;
    case FileCommand::ExportRom: report(exportRom(path), kSaved, kNotSaved); break;
    case FileCommand::ExportNsf: report(exportNsfOrNsfe(path), kSaved, kNotSaved); break;
    case FileCommand::ExportAudio: report(exportSongAudio(path), kSaved, kNotSaved); break;
  }
}

void startFileCommand(FileCommand command) {
  const CommandDialog dialog = dialogFor(command);
  FileDialogDone done = [command](const std::optional<std::string>& path) {
    if (path) {
      performFileCommand(command, *path);
    } else {
      setStatus("File selection canceled.");
    }
  };
  if (dialog.save) {
    saveFileDialog(dialog.title, dialog.filter, std::move(done));
  } else {
    openFileDialog(dialog.title, dialog.filter, std::move(done));
  }
}

}  // namespace qc
