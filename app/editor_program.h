// The editor window: start-up, main loop and shutdown.
#pragma once

namespace qc {

int runEditor(int argc, char** argv);

}  // namespace qc
