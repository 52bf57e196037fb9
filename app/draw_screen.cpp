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

namespace qc {

namespace {

constexpr int kStandardX = 685;
constexpr int kStandardY = 100;

void drawCursorBoxes(int blink) {
  const EditorState& ed = app.editor;
  const auto colour = [&](int panel) { return ed.focus == panel ? Rgb{uint8_t(blink), 0, 0} : kIdleCursor; };

  const auto box = [](const ScreenRect& r, Rgb c) { drawBox(r.x, r.y, r.width, r.height, c, kCursorAlpha); };
  box(patternFieldRect(ed.cursorChannel, ed.cursorColumn, ed.cursorRow - firstVisibleRow(ed.cursorRow)),
      colour(kFocusPattern));
  box(orderEntryRect(ed.orderCursor - firstVisibleOrder(app.song.orderCount, ed.orderCursor)),
      colour(kFocusOrderList));
  if (ed.currentInstrument > 0 && ed.currentInstrument < kInstrumentSlots) {
    const int k = std::clamp(ed.selectedEnvelope, 0, kEnvelopeKinds - 1);
    const int cursor = ed.envelopeCursor[k];
    const int first = firstVisibleStep(envelopeLength(app.song.envelopes[ed.currentInstrument][k]), cursor);
    box(envelopeStepRect(k, cursor - first), colour(kFocusEnvelope));
  }
  box(instrumentEntryRect(ed.currentInstrument), colour(kFocusInstrumentList));
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

}  // namespace qc
