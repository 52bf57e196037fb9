#include <cstring>

#include "app/editor_program.h"
#include "cli/command_line.h"

int main(int argc, char** argv) {
  if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) return runCommandLine(argc, argv);
  return runEditor(argc, argv);
}
