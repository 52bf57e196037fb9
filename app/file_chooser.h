// The file chooser's model: the folder being shown, its entries under the
// active file type, the selection and the name the user types. Keys come in
// as editor key events; nothing here draws. Only entering a folder touches
// the file system (to list it).
//
// Keys: arrows, Page Up/Down, Home/End move; Return enters a folder or takes
// the file; Backspace deletes a typed character, or with nothing typed goes
// up a folder; Tab switches to the next file type; Escape cancels. Typing
// jumps to the first entry starting with the typed text, and Return then
// takes the typed name (a path relative to the folder, absolute, or from ~)
// in preference to the selection. A typed name without an extension gets the
// filter's default one; when opening, only if the name as typed is not there.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_filters.h"
#include "editor/key_handler.h"

namespace qc {

inline constexpr int kChooserRows = 22;  // entries visible at once

enum class ChooserMode { Open, Save };
enum class ChooserOutcome { StillOpen, Chosen, Canceled };

struct ChooserEntry {
  std::string name;
  bool folder = false;
  bool operator==(const ChooserEntry&) const = default;
};

struct FileChooser {
  ChooserMode mode = ChooserMode::Open;
  std::string title;
  FileFilter filter;
  int typeIndex = 0;
  std::filesystem::path folder;        // absolute
  std::vector<ChooserEntry> entries;   // "..", folders, then files of the active type
  int selected = 0;
  int top = 0;                         // first entry shown
  std::string typedName;
  std::string notice;                  // why the last Return did nothing, until the next key
  std::filesystem::path chosen;        // the answer, once the outcome is Chosen
};

// Sorts a folder's listing for display: ".." first (unless at the root),
// folders, then the files that match the pattern, each group by name without
// regard to case. Hidden entries (a leading '.') are left out.
std::vector<ChooserEntry> arrangeEntries(std::vector<ChooserEntry> listing, std::string_view pattern, bool atRoot);

// A chooser showing the folder; false, with an empty list, if it cannot be read.
bool showFolder(FileChooser& chooser, const std::filesystem::path& folder);
FileChooser makeChooser(ChooserMode mode, std::string title, const FileFilter& filter,
                        const std::filesystem::path& folder);

ChooserOutcome chooserKey(FileChooser& chooser, const KeyEvent& key);
// A click makes an entry the selection, dropping any typed name; a double
// click then takes it as Return does. Entries past the list are ignored.
ChooserOutcome chooserClick(FileChooser& chooser, int index, bool twice);
// The wheel moves the list by whole entries and leaves the selection.
void chooserScroll(FileChooser& chooser, int entries);

// "name" + "." + extension, unless the name's last part already has one.
std::string withDefaultExtension(const std::string& name, std::string_view extension);

}  // namespace qc
