#include "cli/command_line.h"

#include <cstdio>
#include <cstring>

#include "cli/console_render_command.h"
#include "cli/convert_command.h"
#include "cli/export_nes_command.h"
#include "cli/export_nsf_command.h"
#include "cli/export_qcs_command.h"
#include "cli/info_command.h"
#include "cli/keys_command.h"
#include "cli/render_command.h"
#include "cli/trace_command.h"
#include "cli/verify_command.h"

namespace qc {

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(int argc, char** argv);  // argv[0] is the command name
};

int printHelp(int, char**);

int printVersion(int, char**) {
  std::printf("quillchanter %s\n", QC_VERSION);
  return 0;
}

const Command kCommands[] = {
    {"--help", "--help                      print this list", printHelp},
    {"--version", "--version                   print the version", printVersion},
    {"--keys", "--keys                      print every key of the editor and what it does", runKeys},
    {"--info", "--info MODULE               print the module's contents as JSON", runInfo},
    {"--convert", "--convert IN.qcm OUT.qcm     rewrite any module version as version 4", runConvert},
    {"--export-qcs", "--export-qcs MODULE SLOT OUT.qcs  write sample SLOT (decimal or 0x hex) as sample banks",
     runExportQcs},
    {"--export-nes", "--export-nes MODULE OUT.nes  write the song as a VRC6 cartridge image with its player",
     runExportNes},
    {"--render",
     "--render MODULE OUT.(wav|flac|ogg) [--loops N] [--fade S] [--seconds S] [--rate R] [--bits B] [--stems]\n"
     "       quillchanter --render FILE.nsf|FILE.nes OUT.wav [--seconds S]\n"
     "                              play the song, or an export on the console, into an audio file",
     runRenderFile},
    {"--trace", "--trace MODULE [--ticks N]   print the register values of every tick, to the loop point",
     runTrace},
    {"--export-nsf", "--export-nsf MODULE OUT.nsf  compile the song into an NSF file", runExportNsf},
    {"--export-nsfe", "--export-nsfe MODULE OUT.nsfe  the NSF as NSFe, with the song's length and a fade",
     runExportNsfe},
    {"--verify", "--verify MODULE              play both exports on the emulated console against the editor", runVerify},
};

int printHelp(int, char**) {
  std::printf("usage: quillchanter [MODULE]           open MODULE in the editor\n");
  for (const Command& c : kCommands) std::printf("       quillchanter %s\n", c.usage);
  return 0;
}

}  // namespace

int runCommandLine(int argc, char** argv) {
  for (const Command& c : kCommands)
    if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 1, argv + 1);
  std::fprintf(stderr, "quillchanter: unknown command %s (try --help)\n", argv[1]);
  return 1;
}

}  // namespace qc
