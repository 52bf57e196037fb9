#include <cstring>

#include "app/editor_program.h"
#include "app/screenshot.h"
#include "cli/command_line.h"


int main(int argc, char** argv) {
  using namespace qc;
  if (argc > 1 && std::strcmp(argv[1], kScreenshotCommand) == 0) return runScreenshot(argc, argv);
  if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) return runCommandLine(argc, argv);
  return runEditor(argc, argv);
}
