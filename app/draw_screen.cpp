#include "app/draw_screen.h"

#include <algorithm>

#include "app/file_chooser_view.h"
#include "app/file_dialog.h"
#include "app/help_overlay.h"
#include "app/instrument_view.h"
#include "app/order_list_view.h"
#include "app/palette.h"
#include "app/pattern_view.h"
#include "app/screen_layout.h"
#include "app/surfaces.h"
#include "editor/status_line.h"
#include "song/app_state.h"
#include "song/shell_services.h"

namespace {

constexpr int kStandardX = 685;
constexpr int kStandardY = 100;

void drawCursorBoxes(int blink) {
  const EditorState& ed = app.editor;
  const auto colour = [&](int panel) { return ed.focus == panel ? Rgb{uint8_t(blink), 0, 0} : kIdleCursor; };

  const int column = ed.cursorColumn == 0 ? 0 : ed.cursorColumn == 1 ? 32 : (ed.cursorColumn + 4) * kGlyphWidth;
  drawBox((kTrackColumns * ed.cursorChannel + 3) * kGlyphWidth + column,
          kGlyphHeight * (ed.cursorRow - firstVisibleRow(ed.cursorRow) + 1), ed.cursorColumn == 0 ? 24 : 8,
          kGlyphHeight, colour(kFocusPattern), kCursorAlpha);

  const int firstOrder = firstVisibleOrder(app.song.orderCount, ed.orderCursor);
  drawBox(kOrderListX, kGlyphHeight * (ed.orderCursor - firstOrder + kOrderFirstLine), 48, kGlyphHeight,
          colour(kFocusOrderList), kCursorAlpha);

  if (ed.currentInstrument > 0 && ed.currentInstrument < kInstrumentSlots) {
    const int k = std::clamp(ed.selectedEnvelope, 0, kEnvelopeKinds - 1);
    const int cursor = ed.envelopeCursor[k];
    const int first = firstVisibleStep(envelopeLength(app.song.envelopes[ed.currentInstrument][k]), cursor);
    constexpr int kWidths[kEnvelopeKinds] = {16, 32, 8};
    drawBox(kGlyphWidth * (5 * (cursor - first) + 58), kGlyphHeight * (2 * k + 31), kWidths[k], kGlyphHeight,
            colour(kFocusEnvelope), kCursorAlpha);
  }

  drawBox(kInstrumentX, kGlyphHeight * (ed.currentInstrument + kInstrumentFirstLine), 280, kGlyphHeight,
          colour(kFocusInstrumentList), kCursorAlpha);
}

void drawEditModeFrame() {
  drawHLine(0, 0, kScreenWidth - 1, kEditFrameRed);
  drawHLine(kScreenHeight - 1, 0, kScreenWidth - 1, kEditFrameRed);
  drawVLine(0, 0, kScreenHeight - 1, kEditFrameRed);
  drawVLine(kScreenWidth - 1, 0, kScreenHeight - 1, kEditFrameRed);
}

}  // namespace

void drawScreen() {
  const uint32_t now = shell.ticks();
  const int blink = blinkLevel(now);
  drawBackground();
  drawPatternView(blink);
  drawCursorBoxes(blink);
  drawOrderList();
  drawInstrumentEditor();
  drawInstrumentList();
  drawNameCursor(now);
  if (const int alpha = statusAlpha(now); alpha > 0) drawText(app.status.text, 0, kStatusY, kGreen, alpha);
  if (app.editor.editMode) drawEditModeFrame();
  drawText(app.song.ntsc ? "NTSC" : " PAL", kStandardX, kStandardY, kGreen);
  if (const FileChooser* chooser = activeFileChooser()) drawFileChooser(*chooser, now);
  if (helpOverlay().open) drawHelpOverlay();
}

void presentScreen() { SDL_Flip(surfaces.screen); }
