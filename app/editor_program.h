// The editor window: start-up, main loop and shutdown.
#pragma once

int runEditor(int argc, char** argv);
