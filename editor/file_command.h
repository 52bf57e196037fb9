// The file commands the key map starts. The host installs the runner that
// shows the dialogs and does the work; until then every command is dismissed.
// A runner is called without the audio lock (a dialog must not hold up the
// sound) and takes it itself while it changes the song.
#pragma once

enum class FileCommand {
  OpenModule,
  LoadInstrument,
  LoadRawSample,
  SaveModule,
  SaveOptimizedSamples,
  SaveInstrument,
  ExportRom,
  ExportNsf,
};

using FileCommandRunner = void (*)(FileCommand);

void setFileCommandRunner(FileCommandRunner runner);
void runFileCommand(FileCommand command);
