// The file commands the key map starts. The host installs the runner that
// shows the dialogs and does the work; until then every command is dismissed.
// A runner is called after the key press has ended and takes the audio lock
// itself while it changes the song; a file it loads over an instrument or a
// sample slot is its own undo step.
#pragma once

namespace qc {

enum class FileCommand {
  OpenModule,
  LoadInstrument,
  LoadRawSample,
  SaveModule,
  SaveOptimizedSamples,
  SaveInstrument,
  ExportRom,
  ExportNsf,
  ExportAudio,
};

using FileCommandRunner = void (*)(FileCommand);

void setFileCommandRunner(FileCommandRunner runner);
void runFileCommand(FileCommand command);

}  // namespace qc
