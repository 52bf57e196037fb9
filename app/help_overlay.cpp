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

namespace {

// The panel covers lines 0..35 on columns 1..90; the status line stays in view.
constexpr int kLeft = kGlyphWidth;
constexpr int kColumns = kScreenColumns - 2;
constexpr int kLines = kScreenLines - 1;
constexpr int kTextColumn = 2;
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

std::vector<ReferenceLine> shownLines() { return referenceLines(help.first); }

// First line of each page; a heading never ends a page.
std::vector<size_t> pageStarts(const std::vector<ReferenceLine>& lines) {
  std::vector<size_t> starts{0};
  size_t used = 0;
  for (size_t i = 0; i < lines.size(); ++i, ++used) {
    const bool full = used == size_t(kLinesPerPage) || (used == size_t(kLinesPerPage - 1) && lines[i].heading);
    if (full) {
      starts.push_back(i);
      used = 0;
    }
  }
  return starts;
}

int lineY(int line) { return line * kGlyphHeight; }
int columnX(int column) { return column * kGlyphWidth; }

void drawHeading(int pages) {
  drawText("Keys and settings", columnX(kTextColumn), 0, kGreen);
  const std::string paging = "Page " + std::to_string(help.page + 1) + "/" + std::to_string(pages) +
                             "   Page Up/Down: more   Escape: close";
  drawText(paging, columnX(kScreenColumns - 2 - int(paging.size())), 0, kLightBlue);
}

}  // namespace

const HelpOverlay& helpOverlay() { return help; }

void closeHelpOverlay() { help = HelpOverlay{}; }

int helpPageCount() { return int(pageStarts(shownLines()).size()); }

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
  const std::vector<ReferenceLine> lines = shownLines();
  const std::vector<size_t> starts = pageStarts(lines);
  const int page = std::clamp(help.page, 0, int(starts.size()) - 1);
  drawPanel(kLeft, 0, kColumns * kGlyphWidth, kLines * kGlyphHeight);
  drawHeading(int(starts.size()));

  const int textColumns = kColumns - 2 * (kTextColumn - 1);
  int line = kSummaryLine;
  for (const std::string& text : stateSummaryLines())
    drawText(fitText(text, textColumns), columnX(kTextColumn), lineY(line++), kWhite);
  drawHLine(lineY(kFirstReferenceLine) - kGlyphHeight / 2, kLeft, kLeft + kColumns * kGlyphWidth - 1, kPanelBorder);

  const int actionColumn = kTextColumn + 1 + keyColumnWidth() + 2;
  const size_t end = size_t(page) + 1 < starts.size() ? starts[size_t(page) + 1] : lines.size();
  line = kFirstReferenceLine;
  for (size_t i = starts[size_t(page)]; i < end; ++i, ++line) {
    const ReferenceLine& l = lines[i];
    if (l.heading) {
      drawText(l.key, columnX(kTextColumn), lineY(line), kGreen);
    } else {
      drawText(l.key, columnX(kTextColumn + 1), lineY(line), kWhite);
      drawText(fitText(l.action, kScreenColumns - 1 - actionColumn), columnX(actionColumn), lineY(line), kLightBlue);
    }
  }
}
