#include "song/app_state.h"

AppState app;

void resetToProgramStart() {
  app = AppState{};
  writeProgramStartInstruments(app.song);
}
