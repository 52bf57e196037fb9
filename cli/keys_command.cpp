#include "cli/keys_command.h"

#include <cstdio>

#include "editor/key_reference.h"

namespace qc {

int runKeys(int argc, char**) {
  if (argc != 1) {
    std::fprintf(stderr, "usage: quillchanter --keys\n");
    return 1;
  }
  std::fputs(keyReferenceText().c_str(), stdout);
  return 0;
}

}  // namespace qc
