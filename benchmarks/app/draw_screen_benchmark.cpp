#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/draw_screen.h"
#include "app/start_up.h"
#include "app/surfaces.h"
#include "editor/live_player.h"
#include "editor/status_line.h"
#include "song/app_state.h"

namespace qc {

namespace {

// Every field of every row filled, every panel and marker on screen.
void fillEverything() {
  resetToProgramStart();
  for (int c = 0; c < kChannels; ++c)
    for (int r = 0; r < kRows; ++r) {
      Cell& cell = app.song.patterns[0].cells[c][r];
      cell.note = uint8_t(1 + (r * 7 + c) % 120);
      cell.setInstrument(1 + r % 15);
      cell.setEffect(1 + (r + c) % 15);
      cell.param = uint8_t(r * 3 + c);
    }
  app.song.orderCount = 40;
  for (int i = 1; i < kInstrumentSlots; ++i) {
    app.song.instrumentNames[i] = "Instrument with a long name " + std::to_string(i);
    for (auto& envelope : app.song.envelopes[i]) setEnvelope(envelope, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 4);
  }
  app.editor.orderCursor = 20;
  app.editor.cursorRow = 31;
  playFromCursor();  // the play row one below the cursor
  app.editor.cursorRow = 30;
  app.editor.envelopeCursor = {6, 6, 6};
  app.editor.naming = true;
  app.editor.editMode = true;
  app.editor.selectionEndRow = 40;
  app.editor.selectionEndChannel = 4;
  setStatus("File succesfully opened!");
}

void BM_DrawScreen(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  SDL_Init(SDL_INIT_VIDEO);
  char* args[] = {const_cast<char*>("quillchanter"), nullptr};
  startUp(1, args);  // the embedded skin, as the editor shows it
  fillEverything();
  for (auto _ : state) {
    drawScreen();
    benchmark::ClobberMemory();
  }
  shutDownWindow();
  SDL_Quit();
}
BENCHMARK(BM_DrawScreen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

}  // namespace qc
