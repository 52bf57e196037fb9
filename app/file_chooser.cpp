#include "app/file_chooser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>

#include "editor/key_codes.h"

namespace qc {

namespace fs = std::filesystem;

namespace {

std::string lowered(std::string text) {
  for (char& c : text) c = char(std::tolower(uint8_t(c)));
  return text;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
  const std::string la = lowered(a), lb = lowered(b);
  return la != lb ? la < lb : a < b;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b)); });
}

bool isDirectory(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

bool pathExists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

// Absolute, without "." or ".." parts or a trailing slash.
fs::path normalFolder(const fs::path& folder) {
  std::error_code error;
  fs::path path = fs::absolute(folder, error).lexically_normal();
  if (!path.has_filename() && path != path.root_path()) path = path.parent_path();
  return path;
}

// Entries that cannot be examined (a dangling link) are listed as files.
bool readFolder(const fs::path& folder, std::vector<ChooserEntry>& listing) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return false;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) return false;
    std::error_code ignored;
    listing.push_back({it->path().filename().string(), it->is_directory(ignored)});
  }
  return true;
}

std::string_view activePattern(const FileChooser& chooser) {
  const auto& types = chooser.filter.types;
  return types.empty() ? std::string_view("*.*") : types[size_t(chooser.typeIndex) % types.size()].pattern;
}

void keepSelectionVisible(FileChooser& chooser) {
  const int count = int(chooser.entries.size());
  chooser.selected = std::clamp(chooser.selected, 0, std::max(0, count - 1));
  if (chooser.selected < chooser.top) chooser.top = chooser.selected;
  if (chooser.selected >= chooser.top + kChooserRows) chooser.top = chooser.selected - kChooserRows + 1;
  chooser.top = std::clamp(chooser.top, 0, std::max(0, count - kChooserRows));
}

void selectName(FileChooser& chooser, std::string_view name) {
  const auto it = std::find_if(chooser.entries.begin(), chooser.entries.end(),
                               [&](const ChooserEntry& e) { return e.name == name; });
  if (it != chooser.entries.end()) chooser.selected = int(it - chooser.entries.begin());
  keepSelectionVisible(chooser);
}

void goUp(FileChooser& chooser) {
  const fs::path from = chooser.folder;
  if (from == from.root_path()) return;
  if (showFolder(chooser, from.parent_path())) selectName(chooser, from.filename().string());
}

// A typed path: absolute, from the home folder with "~", else in the folder shown.
fs::path resolveTyped(const FileChooser& chooser, const std::string& typed) {
  if (typed == "~" || typed.starts_with("~/")) {
    const char* home = std::getenv("HOME");
    if (home) return (fs::path(home) / typed.substr(typed.size() > 1 ? 2 : 1)).lexically_normal();
  }
  return (chooser.folder / typed).lexically_normal();
}

// A pipe or device would hold up the program on opening: only files are read.
ChooserOutcome choose(FileChooser& chooser, const fs::path& path) {
  std::error_code error;
  if (chooser.mode == ChooserMode::Open && !fs::is_regular_file(path, error)) {
    chooser.notice = "Not a file that can be opened";
    return ChooserOutcome::StillOpen;
  }
  chooser.chosen = path;
  return ChooserOutcome::Chosen;
}

ChooserOutcome takeSelection(FileChooser& chooser) {
  if (chooser.entries.empty()) return ChooserOutcome::StillOpen;
  const ChooserEntry& entry = chooser.entries[size_t(chooser.selected)];
  if (entry.name == "..") {
    goUp(chooser);
  } else if (entry.folder) {
    if (!showFolder(chooser, chooser.folder / entry.name)) chooser.notice = "Cannot open that folder";
  } else {
    return choose(chooser, chooser.folder / entry.name);
  }
  return ChooserOutcome::StillOpen;
}

ChooserOutcome takeTypedName(FileChooser& chooser) {
  const fs::path typed = resolveTyped(chooser, chooser.typedName);
  if (isDirectory(typed)) {
    if (showFolder(chooser, typed)) {
      chooser.typedName.clear();
    } else {
      chooser.notice = "Cannot open that folder";
    }
    return ChooserOutcome::StillOpen;
  }
  if (chooser.typedName.ends_with('/')) {
    chooser.notice = "No such folder";
    return ChooserOutcome::StillOpen;
  }
  const fs::path extended = withDefaultExtension(typed.string(), chooser.filter.defaultExtension);
  if (chooser.mode == ChooserMode::Save) return choose(chooser, extended);
  if (pathExists(typed)) return choose(chooser, typed);
  if (pathExists(extended)) return choose(chooser, extended);
  const bool jumped = !chooser.entries.empty() &&
                      startsWithIgnoringCase(chooser.entries[size_t(chooser.selected)].name, chooser.typedName);
  if (jumped) return takeSelection(chooser);
  chooser.notice = "No such file";
  return ChooserOutcome::StillOpen;
}

void jumpToTyped(FileChooser& chooser) {
  if (chooser.typedName.find('/') != std::string::npos) return;
  for (size_t i = 0; i < chooser.entries.size(); ++i) {
    if (chooser.entries[i].name != ".." && startsWithIgnoringCase(chooser.entries[i].name, chooser.typedName)) {
      chooser.selected = int(i);
      keepSelectionVisible(chooser);
      return;
    }
  }
}

void appendUtf8(std::string& text, uint16_t c) {
  if (c < 0x80) {
    text += char(c);
  } else if (c < 0x800) {
    text += char(0xC0 | (c >> 6));
    text += char(0x80 | (c & 0x3F));
  } else {
    text += char(0xE0 | (c >> 12));
    text += char(0x80 | ((c >> 6) & 0x3F));
    text += char(0x80 | (c & 0x3F));
  }
}

void eraseLastCharacter(std::string& text) {
  while (!text.empty() && (uint8_t(text.back()) & 0xC0) == 0x80) text.pop_back();
  if (!text.empty()) text.pop_back();
}

void nextType(FileChooser& chooser) {
  const int count = int(chooser.filter.types.size());
  if (count < 2) return;
  const std::string keep = chooser.entries.empty() ? "" : chooser.entries[size_t(chooser.selected)].name;
  chooser.typeIndex = (chooser.typeIndex + 1) % count;
  showFolder(chooser, chooser.folder);
  selectName(chooser, keep);
}

}  // namespace

std::vector<ChooserEntry> arrangeEntries(std::vector<ChooserEntry> listing, std::string_view pattern, bool atRoot) {
  std::erase_if(listing, [&](const ChooserEntry& e) {
    return e.name.empty() || e.name.starts_with('.') || (!e.folder && !matchesPattern(e.name, pattern));
  });
  std::sort(listing.begin(), listing.end(), [](const ChooserEntry& a, const ChooserEntry& b) {
    if (a.folder != b.folder) return a.folder;
    return lessIgnoringCase(a.name, b.name);
  });
  if (!atRoot) listing.insert(listing.begin(), ChooserEntry{"..", true});
  return listing;
}

bool showFolder(FileChooser& chooser, const fs::path& folder) {
  std::vector<ChooserEntry> listing;
  const fs::path absolute = normalFolder(folder);
  if (!readFolder(absolute, listing)) return false;
  chooser.folder = absolute;
  chooser.entries = arrangeEntries(std::move(listing), activePattern(chooser), absolute == absolute.root_path());
  chooser.selected = 0;
  chooser.top = 0;
  return true;
}

FileChooser makeChooser(ChooserMode mode, std::string title, const FileFilter& filter, const fs::path& folder) {
  FileChooser chooser;
  chooser.mode = mode;
  chooser.title = std::move(title);
  chooser.filter = filter;
  if (!showFolder(chooser, folder)) {
    chooser.folder = normalFolder(folder);
    chooser.notice = "Cannot read this folder";
  }
  return chooser;
}

ChooserOutcome chooserKey(FileChooser& chooser, const KeyEvent& key) {
  chooser.notice.clear();
  const int last = int(chooser.entries.size()) - 1;
  switch (key.sym) {
    case kKeyEscape: return ChooserOutcome::Canceled;
    case kKeyReturn:
    case kKeyPadEnter: return chooser.typedName.empty() ? takeSelection(chooser) : takeTypedName(chooser);
    case kKeyUp: chooser.selected -= 1; break;
    case kKeyDown: chooser.selected += 1; break;
    case kKeyPageUp: chooser.selected -= kChooserRows - 1; break;
    case kKeyPageDown: chooser.selected += kChooserRows - 1; break;
    case kKeyHome: chooser.selected = 0; break;
    case kKeyEnd: chooser.selected = last; break;
    case kKeyTab: nextType(chooser); break;
    case kKeyBackspace:
      if (chooser.typedName.empty()) {
        goUp(chooser);
      } else {
        eraseLastCharacter(chooser.typedName);
      }
      break;
    default:
      if (key.unicode >= 0x20 && key.unicode != 0x7F && (key.mod & (kModCtrl | kModAlt)) == 0) {
        appendUtf8(chooser.typedName, key.unicode);
        jumpToTyped(chooser);
      }
      break;
  }
  keepSelectionVisible(chooser);
  return ChooserOutcome::StillOpen;
}

ChooserOutcome chooserClick(FileChooser& chooser, int index, bool twice) {
  if (index < 0 || index >= int(chooser.entries.size())) return ChooserOutcome::StillOpen;
  chooser.notice.clear();
  chooser.typedName.clear();
  chooser.selected = index;
  keepSelectionVisible(chooser);
  return twice ? takeSelection(chooser) : ChooserOutcome::StillOpen;
}

void chooserScroll(FileChooser& chooser, int entries) {
  const int count = int(chooser.entries.size());
  chooser.top = std::clamp(chooser.top + entries, 0, std::max(0, count - kChooserRows));
}

std::string withDefaultExtension(const std::string& name, std::string_view extension) {
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  if (dot != std::string::npos && dot > start) return name;
  return name + "." + std::string(extension);
}

}  // namespace qc
