#include "app/file_chooser_view.h"

#include "app/palette.h"
#include "app/panel.h"
#include "app/screen_layout.h"
#include "app/surfaces.h"

namespace qc {

namespace {

// The panel's place on the character grid: columns 4..87, lines 2..32.
constexpr int kLeft = 4 * kGlyphWidth;
constexpr int kTop = 2 * kGlyphHeight;
constexpr int kColumns = 84;
constexpr int kLines = 31;
constexpr int kWidth = kColumns * kGlyphWidth;
constexpr int kHeight = kLines * kGlyphHeight;
constexpr int kTextX = kLeft + kGlyphWidth;
constexpr int kTextColumns = kColumns - 2;

constexpr Rgb kNoticeYellow{234, 198, 0};

int lineY(int line) { return line * kGlyphHeight; }

void drawLabelled(int line, std::string_view label, std::string_view value, bool keepEnd = false) {
  drawText(label, kTextX, lineY(line), kLightBlue);
  const int columns = kTextColumns - int(label.size());
  drawText(fitText(value, columns, keepEnd), kTextX + int(label.size()) * kGlyphWidth, lineY(line), kWhite);
}

void drawEntries(const FileChooser& chooser, uint32_t ticks) {
  if (chooser.entries.empty()) {
    drawText("(no files of this type)", kTextX + 2 * kGlyphWidth, lineY(kChooserFirstEntryLine), kLightBlue);
    return;
  }
  for (int row = 0; row < kChooserRows; ++row) {
    const int index = chooser.top + row;
    if (index >= int(chooser.entries.size())) break;
    const ChooserEntry& entry = chooser.entries[size_t(index)];
    const ScreenRect box = chooserEntryRect(row);
    const int y = box.y;
    if (index == chooser.selected)
      drawBox(box.x, y, box.width, box.height, Rgb{uint8_t(blinkLevel(ticks)), 0, 0}, kCursorAlpha);
    if (entry.name == "..") {
      drawText("../  (up one folder)", kTextX, y, kLightBlue);
    } else {
      drawText(fitText(entry.folder ? entry.name + "/" : entry.name, kTextColumns), kTextX, y,
               entry.folder ? kLightBlue : kWhite);
    }
  }
  const int count = int(chooser.entries.size());
  if (chooser.top > 0) drawText("^", kLeft + kWidth - 2 * kGlyphWidth, lineY(kChooserFirstEntryLine), kGreen);
  if (chooser.top + kChooserRows < count) {
    drawText("v", kLeft + kWidth - 2 * kGlyphWidth, lineY(kChooserFirstEntryLine + kChooserRows - 1), kGreen);
  }
}

void drawNameField(const FileChooser& chooser, int line, uint32_t ticks) {
  constexpr std::string_view kLabel = "File name: ";
  const std::string shown = fitText(chooser.typedName, kTextColumns - int(kLabel.size()) - 1, true);
  drawLabelled(line, kLabel, shown);
  if (ticks % 400 < 200) {
    const int x = kTextX + int(kLabel.size() + shown.size()) * kGlyphWidth;
    drawHLine(lineY(line + 1) - 2, x, x + kGlyphWidth, kWhite);
  }
}

}  // namespace

ScreenRect chooserEntryRect(int row) {
  return {kLeft + 2, lineY(kChooserFirstEntryLine + row), kWidth - 4, kGlyphHeight};
}

std::optional<int> chooserRowAt(int x, int y) {
  for (int row = 0; row < kChooserRows; ++row)
    if (chooserEntryRect(row).contains(x, y)) return row;
  return std::nullopt;
}

std::string fitText(std::string_view text, int columns, bool keepEnd) {
  std::string shown;
  for (const char c : text) {
    const uint8_t byte = uint8_t(c);
    if ((byte & 0xC0) == 0x80) continue;  // the rest of a UTF-8 character
    shown += byte < 0x20 || byte >= 0x80 ? '?' : c;
  }
  if (columns <= 0) return "";
  if (int(shown.size()) <= columns) return shown;
  if (columns <= 3) return shown.substr(0, size_t(columns));
  const size_t kept = size_t(columns - 3);
  return keepEnd ? "..." + shown.substr(shown.size() - kept) : shown.substr(0, kept) + "...";
}

void drawFileChooser(const FileChooser& chooser, uint32_t ticks) {
  drawPanel(kLeft, kTop, kWidth, kHeight);
  drawText(fitText(chooser.title, kTextColumns - 12), kLeft + 4, kTop, kGreen);
  if (!chooser.entries.empty()) {
    const std::string position = std::to_string(chooser.selected + 1) + "/" + std::to_string(chooser.entries.size());
    drawText(position, kLeft + kWidth - kGlyphWidth * (int(position.size()) + 1), kTop, kLightBlue);
  }
  drawLabelled(3, "Folder: ", chooser.folder.string(), true);
  drawHLine(lineY(kChooserFirstEntryLine) - 4, kLeft, kLeft + kWidth - 1, kPanelBorder);
  drawEntries(chooser, ticks);

  const int fieldLine = kChooserFirstEntryLine + kChooserRows + 1;
  drawHLine(lineY(fieldLine) - 4, kLeft, kLeft + kWidth - 1, kPanelBorder);
  drawNameField(chooser, fieldLine, ticks);
  const auto& types = chooser.filter.types;
  if (!types.empty()) {
    const std::string_view label = types[size_t(chooser.typeIndex) % types.size()].label;
    drawLabelled(fieldLine + 1, "File type: ", types.size() > 1 ? std::string(label) + "  (Tab: next type)" : std::string(label));
  }
  if (!chooser.notice.empty()) drawText(fitText(chooser.notice, kTextColumns), kTextX, lineY(fieldLine + 2), kNoticeYellow);
  const std::string_view help = chooser.mode == ChooserMode::Save
                                    ? "Return: save   Backspace: up a folder   Esc: cancel"
                                    : "Return: open   Backspace: up a folder   Esc: cancel";
  drawText(help, kTextX, lineY(fieldLine + 3), kRowNumberGrey);
}

}  // namespace qc
