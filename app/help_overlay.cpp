#include "app/help_overlay.h"

#include <algorithm>

#include "app/file_chooser_view.h"
#include "app/file_dialog.h"
#include "app/palette.h"
#include "app/panel.h"
#include "app/surfaces.h"
#include "editor/key_codes.h"
#include "editor/key_reference.h"
#include "editor/state_summary.h"
#include "song/app_state.h"

namespace qc {

namespace {

// The panel covers lines 0..35; the status line stays in view.
constexpr int kLines = kScreenLines - 1;
constexpr int kTextColumn = 1;
constexpr int kSummaryLine = 1;
constexpr int kFirstReferenceLine = 6;
constexpr int kLinesPerPage = kLines - kFirstReferenceLine - 1;

HelpOverlay help;

bool typingText() {
  return fileDialogOpen() || (app.editor.focus == kFocusInstrumentList && app.editor.naming);
}

bool opensHelp(const KeyEvent& key, bool typing) {
  if (key.unicode == '?') return !typing;
  return key.sym == kKeyF1 && hasShift(key.mod) && !hasAlt(key.mod);
}

using Page = std::vector<ReferenceLine>;

// A heading never ends a page, and a page that starts inside a context
// repeats its heading.
std::vector<Page> helpPages() {
  std::vector<Page> pages(1);
  std::string context;
  for (const ReferenceLine& line : referenceLines(help.first)) {
    if (line.heading) context = line.key;
    const size_t used = pages.back().size();
    if (used == size_t(kLinesPerPage) || (line.heading && used == size_t(kLinesPerPage - 1))) {
      pages.emplace_back();
      if (!line.heading) pages.back().push_back({context + " (continued)", "", true});
    }
    pages.back().push_back(line);
  }
  return pages;
}

int lineY(int line) { return line * kGlyphHeight; }
int columnX(int column) { return column * kGlyphWidth; }

void drawHeading(int pages) {
  drawText("Keys and settings", columnX(kTextColumn), 0, kGreen);
  const std::string paging = "Page " + std::to_string(help.page + 1) + "/" + std::to_string(pages) +
                             "   Page Up/Down: more   Escape: close";
  drawText(paging, columnX(kScreenColumns - 1 - int(paging.size())), 0, kLightBlue);
}

}  // namespace

const HelpOverlay& helpOverlay() { return help; }

void closeHelpOverlay() { help = HelpOverlay{}; }

int helpPageCount() { return int(helpPages().size()); }

bool helpOverlayKey(const KeyEvent& key) {
  if (!help.open) {
    if (!opensHelp(key, typingText())) return false;
    help.open = true;
    help.page = 0;
    help.first = fileDialogOpen() ? KeyContext::FileChooser : focusedContext(app.editor);
    return true;
  }
  if (opensHelp(key, false) || key.sym == kKeyEscape) {
    help.open = false;
  } else if (key.sym == kKeyPageUp) {
    help.page = std::max(help.page - 1, 0);
  } else if (key.sym == kKeyPageDown) {
    help.page = std::min(help.page + 1, helpPageCount() - 1);
  }
  return true;
}

void drawHelpOverlay() {
  const std::vector<Page> pages = helpPages();
  drawPanel(0, 0, kScreenWidth, kLines * kGlyphHeight);
  drawHeading(int(pages.size()));

  const int textColumns = kScreenColumns - 2 * kTextColumn;
  int line = kSummaryLine;
  for (const std::string& text : stateSummaryLines())
    drawText(fitText(text, textColumns), columnX(kTextColumn), lineY(line++), kWhite);
  drawHLine(lineY(kFirstReferenceLine) - kGlyphHeight / 2, 0, kScreenWidth - 1, kPanelBorder);

  const int actionColumn = kTextColumn + 1 + keyColumnWidth() + 2;
  line = kFirstReferenceLine;
  for (const ReferenceLine& l : pages[size_t(std::clamp(help.page, 0, int(pages.size()) - 1))]) {
    if (l.heading) {
      drawText(l.key, columnX(kTextColumn), lineY(line), kGreen);
    } else {
      drawText(l.key, columnX(kTextColumn + 1), lineY(line), kWhite);
      drawText(fitText(l.action, kScreenColumns - kTextColumn - actionColumn), columnX(actionColumn), lineY(line),
               kLightBlue);
    }
    ++line;
  }
}

}  // namespace qc
