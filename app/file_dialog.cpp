#include "app/file_dialog.h"

#include <system_error>

namespace qc {

namespace fs = std::filesystem;

namespace {

struct Dialog {
  std::optional<FileChooser> chooser;
  FileDialogDone done;
  bool answered = false;
  std::optional<std::string> answer;
  fs::path lastFolder;
};

Dialog dialog;

fs::path startFolder() {
  std::error_code error;
  if (!dialog.lastFolder.empty() && fs::is_directory(dialog.lastFolder, error)) return dialog.lastFolder;
  const fs::path working = fs::current_path(error);
  return error ? fs::path("/") : working;
}

void openDialog(ChooserMode mode, std::string title, const FileFilter& filter, FileDialogDone done) {
  // Only reachable with nothing open, since keys go to an open chooser.
  if (dialog.chooser || dialog.answered) return;
  dialog.chooser = makeChooser(mode, std::move(title), filter, startFolder());
  dialog.done = std::move(done);
}

void settle(ChooserOutcome outcome) {
  if (outcome == ChooserOutcome::StillOpen) return;
  if (outcome == ChooserOutcome::Chosen) {
    dialog.answer = dialog.chooser->chosen.string();
    dialog.lastFolder = dialog.chooser->chosen.parent_path();
  } else {
    dialog.answer.reset();
  }
  dialog.chooser.reset();
  dialog.answered = true;
}

}  // namespace

void openFileDialog(std::string title, const FileFilter& filter, FileDialogDone done) {
  openDialog(ChooserMode::Open, std::move(title), filter, std::move(done));
}

void saveFileDialog(std::string title, const FileFilter& filter, FileDialogDone done) {
  openDialog(ChooserMode::Save, std::move(title), filter, std::move(done));
}

const FileChooser* activeFileChooser() { return dialog.chooser ? &*dialog.chooser : nullptr; }

bool fileDialogOpen() { return dialog.chooser.has_value() || dialog.answered; }

bool fileDialogAnswered() { return dialog.answered; }

void fileDialogKey(const KeyEvent& key) {
  if (dialog.chooser) settle(chooserKey(*dialog.chooser, key));
}

void fileDialogClick(int index, bool twice) {
  if (dialog.chooser) settle(chooserClick(*dialog.chooser, index, twice));
}

void fileDialogScroll(int entries) {
  if (dialog.chooser) chooserScroll(*dialog.chooser, entries);
}

void finishFileDialog() {
  if (!dialog.answered) return;
  const FileDialogDone done = std::move(dialog.done);
  const std::optional<std::string> answer = std::move(dialog.answer);
  dialog.done = nullptr;
  dialog.answer.reset();
  dialog.answered = false;
  if (done) done(answer);
}

void resetFileDialogs() { dialog = Dialog{}; }

}  // namespace qc
