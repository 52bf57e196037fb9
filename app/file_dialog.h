// The file dialogs: one file chooser at a time, shown over the editor while
// the main loop goes on running, drawing and playing. Opening one only sets
// it up; while it is open the main loop hands it the keys, and once it has
// closed the main loop calls finishFileDialog (outside the audio lock),
// which passes the chosen path, or nothing for a cancel, to the caller.
//
// A dialog starts in the folder of the last file chosen in this run, at
// first the working directory. Saving over an existing file is not
// questioned.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/file_chooser.h"
#include "app/file_filters.h"
#include "editor/key_handler.h"

namespace qc {

using FileDialogDone = std::function<void(const std::optional<std::string>& path)>;

void openFileDialog(std::string title, const FileFilter& filter, FileDialogDone done);
void saveFileDialog(std::string title, const FileFilter& filter, FileDialogDone done);

// The chooser on screen; null when none is.
const FileChooser* activeFileChooser();
// True from opening until finishFileDialog has handed the answer on.
bool fileDialogOpen();
// True once the chooser has closed and its answer waits for finishFileDialog.
bool fileDialogAnswered();
void fileDialogKey(const KeyEvent& key);
// The mouse on the open chooser: see chooserClick and chooserScroll.
void fileDialogClick(int index, bool twice);
void fileDialogScroll(int entries);
void finishFileDialog();

// Back to the working directory, no dialog open (program start, tests).
void resetFileDialogs();

}  // namespace qc
